// The library's exported entry points; Dorvane.def gives their names and ordinals.
// Each one catches everything: no exception may leave the library.
#include <windows.h>

#include <cstdint>
#include <exception>
#include <mutex>
#include <string>

#include "dorvane/DebugDLL.h"
#include "dorvane/DestinationFolder.h"
#include "dorvane/DissectJPEG.h"
#include "dorvane/Thumbnail.h"
#include "dorvane/filecorrection.h"
#include "engine/Debug.h"
#include "imaging/GIFImage.h"

namespace {

// The picture formats of other modules register on the first call into the library,
// never from DllMain.
void StartLibrary() {
  static std::once_flag started;
  std::call_once(started, [] { RegisterGIFImage(); });
}

// Runs an entry point's work; a failure is logged (while the switch is on) and
// answered with the entry point's failure value.
template <typename Result, typename Body>
Result Guarded(const char* entry, Result failure, Body body) noexcept {
  try {
    StartLibrary();
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

BOOL __stdcall GetResourceImage(int32_t Index, TBitmap* Bitmap) {
  return Guarded<BOOL>("GetResourceImage", FALSE, [=] {
    return Bitmap && GetResourceImage(static_cast<int>(Index), *Bitmap) ? TRUE : FALSE;
  });
}

BOOL __stdcall DissectJPEG(const char* FileName) {
  return Guarded<BOOL>("DissectJPEG", FALSE, [=] { return DissectJPEG(Copied(FileName)) ? TRUE : FALSE; });
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

BOOL __stdcall CreateThumbnail(const char* FileName, int16_t Kind, int32_t Width, int32_t Height,
                               TBitmap* Bitmap) {
  return Guarded<BOOL>("CreateThumbnail", FALSE, [=] {
    return Bitmap && CreateThumbnail(Copied(FileName), Kind, Width, Height, *Bitmap) ? TRUE : FALSE;
  });
}

// A thread that cannot be started is logged and answered 0 rather than passed on.
int32_t __stdcall CorrectFile(const char* FileName) {
  return Guarded<int32_t>("CorrectFile", 0, [=] { return CorrectFile(Copied(FileName)); });
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
