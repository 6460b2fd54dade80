// The library's exported entry points. Each one catches everything: no exception
// may leave the library.
#include <windows.h>

#include <cstdint>

class TBitmap;

namespace {

template <typename Result, typename Body>
Result Guarded(Result failure, Body body) noexcept {
  try {
    return body();
  } catch (...) {
    return failure;
  }
}

}  // namespace

extern "C" {

__declspec(dllexport) BOOL __stdcall GetResourceImage(int32_t /*Index*/, TBitmap* /*Bitmap*/) {
  return Guarded<BOOL>(FALSE, [] { return FALSE; });
}

__declspec(dllexport) BOOL __stdcall DissectJPEG(const char* /*FileName*/) {
  return Guarded<BOOL>(FALSE, [] { return FALSE; });
}

__declspec(dllexport) void __stdcall SetDestinationDIR(const char* /*Folder*/) {}

__declspec(dllexport) void __stdcall TurnDebugOff() {}

__declspec(dllexport) void __stdcall TurnDebugOn() {}

// Kept with the register convention of its callers; it has no effect.
#if defined(__i386__)
__declspec(dllexport) void __attribute__((regparm(1))) GetLangString(int32_t /*Index*/) {}
#else
__declspec(dllexport) void GetLangString(int32_t /*Index*/) {}
#endif

__declspec(dllexport) BOOL __stdcall CreateThumbnail(const char* /*FileName*/, int16_t /*Kind*/,
                                                     int32_t /*Width*/, int32_t /*Height*/,
                                                     TBitmap* /*Bitmap*/) {
  return Guarded<BOOL>(FALSE, [] { return FALSE; });
}

__declspec(dllexport) int32_t __stdcall CorrectFile(const char* /*FileName*/) {
  return Guarded<int32_t>(0, [] { return 0; });
}

}  // extern "C"
