#include "engine/Debug.h"

#include <windows.h>

#include <cstdio>
#include <mutex>

#include "framework/core/datetime.h"

bool DebugMode = false;

namespace {

// One lock for every log of this module, so that lines from two threads never collide.
std::mutex& LogLock() {
  static std::mutex lock;
  return lock;
}

bool WriteAll(HANDLE file, const std::string& data) {
  DWORD written = 0;
  return WriteFile(file, data.data(), static_cast<DWORD>(data.size()), &written, nullptr) &&
         written == data.size();
}

}  // namespace

std::string LogFolder() {
  char path[MAX_PATH] = {};
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string exe(path, n);
  return exe.substr(0, exe.find_last_of("\\:") + 1) + "Logs\\";
}

void StartLogs() {
  // Create every missing parent first.
  const std::string folder = LogFolder();
  for (size_t pos = folder.find('\\', 3); pos != std::string::npos;
       pos = folder.find('\\', pos + 1))
    CreateDirectoryA(folder.substr(0, pos).c_str(), nullptr);
}

std::string LogFileName(const std::string& prefix) {
  int year, month, day;
  DecodeDate(Now(), year, month, day);
  char date[32];
  std::snprintf(date, sizeof date, "%2.2d%2.2d%2.2d", day, month, year);
  return LogFolder() + prefix + date + ".TXT";
}

void AppendLogLine(const std::string& prefix, const std::string& text) {
  // The clock is read again for the file name: a line stamped just before midnight
  // may land in the new day's file.
  const std::string stamp = FormatDateTime("dd/mm/yy, hh:mm:ss", Now());
  const std::string path = LogFileName(prefix);

  std::lock_guard guard(LogLock());
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  const bool existed = GetLastError() == ERROR_ALREADY_EXISTS;
  std::string data;
  if (!existed) data = "File Created : " + path + "\r\n";
  data += stamp + " " + text + "\r\n";
  if (SetFilePointer(file, 0, nullptr, FILE_END) != INVALID_SET_FILE_POINTER) WriteAll(file, data);
  CloseHandle(file);
}

void WriteErrorLog(const std::string& text) { AppendLogLine("Errors", text); }

void WriteInfoLog(const std::string& text) {
  if (DebugMode) AppendLogLine("Info", text);
}

std::string BoolToYesNo(bool value) { return value ? "Yes" : "No"; }
