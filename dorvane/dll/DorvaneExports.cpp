// The library's exported entry points; Dorvane.def gives their names and ordinals.
// Each one catches everything: no exception may leave the library.
#include <windows.h>

#include <cstdint>
#include <exception>
#include <string>

#include "dorvane/DebugDLL.h"
#include "dorvane/DestinationFolder.h"
#include "engine/Debug.h"

class TBitmap;

namespace {

// Runs an entry point's work; a failure is logged (while the switch is on) and
// answered with the entry point's failure value.
template <typename Result, typename Body>
Result Guarded(const char* entry, Result failure, Body body) noexcept {
  try {
    return body();
  } catch (const std::exception& e) {
    try {
      WriteDLLErrorLog(std::string(entry) + " : " + e.what());
    } catch (...) {
    }
  } catch (...) {
    try {
      WriteDLLErrorLog(std::string(entry) + " : unknown exception");
    } catch (...) {
    }
  }
  return failure;
}

std::string Copied(const char* text) { return text ? std::string(text) : std::string(); }

}  // namespace

extern "C" {

BOOL __stdcall GetResourceImage(int32_t /*Index*/, TBitmap* /*Bitmap*/) {
  return Guarded<BOOL>("GetResourceImage", FALSE, [] { return FALSE; });
}

BOOL __stdcall DissectJPEG(const char* /*FileName*/) {
  return Guarded<BOOL>("DissectJPEG", FALSE, [] { return FALSE; });
}

void __stdcall SetDestinationDIR(const char* Folder) {
  Guarded<int>("SetDestinationDIR", 0, [Folder] {
    SetDLLDestinationFolder(Copied(Folder));
    return 0;
  });
}

void __stdcall TurnDebugOff() { DLLDebugMode = false; }

void __stdcall TurnDebugOn() { DLLDebugMode = true; }

// Kept with the register convention of its callers; it has no effect.
#if defined(__i386__)
void __attribute__((regparm(1))) GetLangString(int32_t /*Index*/) {}
#else
void GetLangString(int32_t /*Index*/) {}
#endif

BOOL __stdcall CreateThumbnail(const char* /*FileName*/, int16_t /*Kind*/, int32_t /*Width*/,
                               int32_t /*Height*/, TBitmap* /*Bitmap*/) {
  return Guarded<BOOL>("CreateThumbnail", FALSE, [] { return FALSE; });
}

int32_t __stdcall CorrectFile(const char* /*FileName*/) {
  return Guarded<int32_t>("CorrectFile", 0, [] { return 0; });
}

BOOL WINAPI DllMain(HINSTANCE /*Instance*/, DWORD Reason, LPVOID /*Reserved*/) {
  // Only the log folder is made here; everything touching GDI or other modules waits
  // for its first use.
  if (Reason == DLL_PROCESS_ATTACH) {
    try {
      StartLogs();
    } catch (...) {
    }
  }
  return TRUE;
}

}  // extern "C"
