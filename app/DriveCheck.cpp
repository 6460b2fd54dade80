#include "app/DriveCheck.h"

#include <cctype>

namespace {
bool HasDrive(const std::string& path) {
  return path.size() >= 2 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':';
}
}  // namespace

bool FolderOnDrive(const std::string& folder, const std::string& rootPath) {
  if (!HasDrive(folder) || !HasDrive(rootPath)) return false;
  return std::toupper(static_cast<unsigned char>(folder[0])) ==
         std::toupper(static_cast<unsigned char>(rootPath[0]));
}
