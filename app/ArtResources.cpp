#include "app/ArtResources.h"

#include <windows.h>

#include "engine/Debug.h"
#include "framework/core/graphic.h"
#include "framework/core/jpeg.h"
#include "framework/core/streams.h"

void LoadJpegResource(TPicture* picture, const char* name) {
  try {
    TResourceStream stream(GetModuleHandleA(nullptr), name, RT_RCDATA);
    TJPEGImage jpeg;
    jpeg.LoadFromStream(stream);
    picture->SetGraphic(&jpeg);
  } catch (const Exception& e) {
    WriteErrorLog(std::string("Cannot load picture ") + name + " : " + e.what());
  }
}
