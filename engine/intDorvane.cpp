#include "engine/intDorvane.h"

#include <exception>
#include <string>

#include "engine/Debug.h"

namespace intDorvane {

intptr_t LibraryHandle = -1;
TCorrectFile CorrectFile = nullptr;
TCreateThumbnail CreateThumbnail = nullptr;
FARPROC LoadFile = nullptr;
FARPROC GetLanguageString = nullptr;
TTurnDebug TurnDebugOn = nullptr;
TTurnDebug TurnDebugOff = nullptr;
TSetDestinationDIR SetDestinationDIR = nullptr;
TDissectJPEG DissectJPEG = nullptr;
TGetResourceImage GetResourceImage = nullptr;

}  // namespace intDorvane

namespace {

template <typename Function>
void Bind(HMODULE library, const char* name, Function& slot) {
  slot = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

void Unbind() {
  using namespace intDorvane;
  CorrectFile = nullptr;
  CreateThumbnail = nullptr;
  LoadFile = nullptr;
  GetLanguageString = nullptr;
  TurnDebugOn = nullptr;
  TurnDebugOff = nullptr;
  SetDestinationDIR = nullptr;
  DissectJPEG = nullptr;
  GetResourceImage = nullptr;
}

// The first entry point that the program calls and the library lacks, or null.
const char* MissingEntryPoint() {
  using namespace intDorvane;
  if (!SetDestinationDIR) return "SetDestinationDIR";
  if (!TurnDebugOn) return "TurnDebugOn";
  if (!CorrectFile) return "CorrectFile";
  if (!DissectJPEG) return "DissectJPEG";
  if (!CreateThumbnail) return "CreateThumbnail";
  return nullptr;
}

}  // namespace

bool LoadDorvaneLibrary(const char* FileName) {
  using namespace intDorvane;
  LibraryHandle = -1;
  try {
    HMODULE library = LoadLibraryA(FileName);
    if (!library) return false;
    Bind(library, "CorrectFile", CorrectFile);
    Bind(library, "CreateThumbnail", CreateThumbnail);
    Bind(library, "LoadFile", LoadFile);
    Bind(library, "GetLanguageString", GetLanguageString);
    Bind(library, "TurnDebugOn", TurnDebugOn);
    Bind(library, "TurnDebugOff", TurnDebugOff);
    Bind(library, "SetDestinationDIR", SetDestinationDIR);
    Bind(library, "DissectJPEG", DissectJPEG);
    Bind(library, "GetResourceImage", GetResourceImage);
    // A library without an entry point the program calls is as good as none.
    if (const char* missing = MissingEntryPoint()) {
      WriteErrorLog(std::string("Could not Initialise Library DORVANE.DLL : missing entry point ") +
                    missing);
      Unbind();
      FreeLibrary(library);
      return false;
    }
    LibraryHandle = reinterpret_cast<intptr_t>(library);
    return true;
  } catch (const std::exception& e) {
    WriteErrorLog(std::string("Could not Initialise Library DORVANE.DLL : ") + e.what());
    Unbind();
    return false;
  }
}
