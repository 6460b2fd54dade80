#include "dorvane/DebugDLL.h"

#include "engine/Debug.h"

std::atomic<bool> DLLDebugMode{false};

void WriteDLLErrorLog(const std::string& Text) {
  if (DLLDebugMode) AppendLogLine("eDLL", Text);
}

void WriteDLLInfoLog(const std::string& Text) {
  if (DLLDebugMode) AppendLogLine("iDLL", Text);
}
