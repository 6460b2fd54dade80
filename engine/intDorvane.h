// The binding of the correction and thumbnail library: the program loads "Dorvane.dll" by
// name when the engine is created and takes its entry points by name.
#pragma once

#include <windows.h>

#include <cstdint>

class TBitmap;

namespace intDorvane {

using TCorrectFile = int32_t(__stdcall*)(const char* FileName);
using TCreateThumbnail = BOOL(__stdcall*)(const char* FileName, int16_t Kind, int32_t Width,
                                          int32_t Height, TBitmap* Bitmap);
using TTurnDebug = void(__stdcall*)();
using TSetDestinationDIR = void(__stdcall*)(const char* Folder);
using TDissectJPEG = BOOL(__stdcall*)(const char* FileName);
using TGetResourceImage = BOOL(__stdcall*)(int32_t Index, TBitmap* Bitmap);

// -1 until the library is bound, the module afterwards.
extern intptr_t LibraryHandle;

// Null until bound. LoadFile and GetLanguageString are asked for but the library has
// neither; nothing calls them.
extern TCorrectFile CorrectFile;
extern TCreateThumbnail CreateThumbnail;
extern FARPROC LoadFile;
extern FARPROC GetLanguageString;
extern TTurnDebug TurnDebugOn;
extern TTurnDebug TurnDebugOff;
extern TSetDestinationDIR SetDestinationDIR;
extern TDissectJPEG DissectJPEG;
extern TGetResourceImage GetResourceImage;

}  // namespace intDorvane

// Loads the library and binds its entry points. False when it does not load or lacks
// an entry point the program calls; the library is then not kept.
bool LoadDorvaneLibrary(const char* FileName = "Dorvane.dll");
