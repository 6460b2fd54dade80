// Packs a skin (its ini text and the BMP files it names) into the stored-skin stream
// that the program carries as a resource.
//   skin_pack.exe SKIN.INI OUT
#include <cstdio>
#include <vector>

#include "framework/core/streams.h"
#include "skin/data/ksSkinData.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: skin_pack SKIN.INI OUT\n");
    return 2;
  }
  try {
    TksCompressedStoredSkin stored(nullptr);
    stored.LoadFromIniFile(argv[1]);
    if (stored.IsEmpty()) {
      std::fprintf(stderr, "skin_pack: %s is not a complete skin\n", argv[1]);
      return 1;
    }
    // What the program could not load is no skin to carry: loading it raises why.
    TksSkinData loaded(nullptr);
    loaded.FormWindows = [] { return std::vector<HWND>{}; };
    loaded.SetCompressedStoredSkin(&stored);
    TFileStream out(argv[2], fmCreate);
    stored.WriteData(out);
    std::printf("%s: %lld bytes\n", argv[2], static_cast<long long>(out.Size()));
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "skin_pack: %s\n", e.what());
    return 1;
  }
}
