// disc_write.exe DRIVEFOLDER LABEL FILE...
// Burns FILE... as one session onto the stand-in writer's disc in DRIVEFOLDER (a
// blank one is put there when none is), each under "Korvalo\" and its own name, the
// way the burning dialog lays them out. Prints every event and `blocks=N` last.
#include <windows.h>

#include <cstdio>

#include "framework/core/fileutils.h"
#include "framework/core/inifiles.h"
#include "framework/core/sysutils.h"
#include "outside/DiscWriterX.h"

namespace {

std::wstring Widen(const String& s) {
  int n = MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), out.data(), n);
  return out;
}

String Narrow(const std::wstring& s) {
  int n = WideCharToMultiByte(CP_ACP, 0, s.data(), static_cast<int>(s.size()), nullptr, 0, nullptr, nullptr);
  String out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, s.data(), static_cast<int>(s.size()), out.data(), n, nullptr, nullptr);
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: disc_write DRIVEFOLDER LABEL FILE...\n");
    return 2;
  }
  String folder = ExpandFileName(argv[1]);
  ForceDirectories(folder);
  String config = IncludeTrailingBackslash(folder) + "disc_write.ini";
  {
    TIniFile ini(config);
    ini.WriteString("Writer0", "Folder", folder);
    ini.WriteString("Writer0", "Text1", "Stand-in");
    ini.WriteInteger("Writer0", "MaxSpeed", 48);
    if (!FileExists(IncludeTrailingBackslash(folder) + "disc.ini"))
      TIniFile(IncludeTrailingBackslash(folder) + "disc.ini").WriteInteger("Disc", "Blocks", 333000);
  }
  TDiscWriterX::SetConfigurationFile(config);
  TDiscWriterX writer(nullptr);
  bool done = false;
  int result = 0;
  writer.OnWriteError = [&](TObject*, int writeError, int deviceError) {
    std::printf("write error %d/%d\n", writeError, deviceError);
    done = true;
    result = 1;
  };
  writer.OnWritingComplete = [&](TObject*) {
    std::printf("writing complete\n");
    done = true;
  };
  writer.OnWritingCancelled = [&](TObject*) {
    done = true;
    result = 1;
  };
  writer.OnISOItemAdded = [](TObject*, const std::wstring&, const std::wstring&, const std::wstring& name,
                             const std::wstring&, bool dir, TDateTime, int size) {
    std::printf("added %s%s %d\n", Narrow(name).c_str(), dir ? "\\" : "", size);
  };

  writer.SetVolumeIdentifier(Widen(argv[2]));
  for (int i = 3; i < argc; ++i)
    if (!writer.AddFile(Widen("Korvalo\\" + ExtractFileName(argv[i])), Widen(argv[i])))
      std::printf("refused %s\n", argv[i]);
  int blocks = writer.GetImageBlocks();
  if (!writer.StartWrite()) {
    std::printf("start refused\nblocks=%d\n", blocks);
    return 1;
  }
  while (!done) {
    MSG msg;
    if (GetMessageA(&msg, nullptr, 0, 0) <= 0) break;
    DispatchMessageA(&msg);
  }
  std::printf("sessions=%d\nblocks=%d\n", writer.GetSessionCount(), blocks);
  std::fflush(stdout);
  return result;
}
