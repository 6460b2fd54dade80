#include "dorvane/DestinationFolder.h"

#include <mutex>

namespace {

std::mutex gLock;
std::string gFolder;

}  // namespace

void SetDLLDestinationFolder(const std::string& Folder) {
  std::lock_guard guard(gLock);
  gFolder = Folder;
}

std::string DLLDestinationFolder() {
  std::lock_guard guard(gLock);
  return gFolder;
}
