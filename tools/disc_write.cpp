// disc_write.exe DRIVEFOLDER LABEL FILE...
// Burns FILE... as one session onto the stand-in writer's disc in DRIVEFOLDER (a
// blank one is put there when none is), each under "Korvalo\" and its own name, the
// way the burning dialog lays them out. Prints every event and `blocks=N` last.
#include <windows.h>

#include <cinttypes>
#include <cstdio>

#include "framework/core/fileutils.h"
#include "framework/core/inifiles.h"
#include "framework/core/sysutils.h"
#include "framework/core/widetext.h"
#include "outside/DiscWriterX.h"

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
  // The event's size is 32 bits and a disc file may reach 4 GiB - 1: the size printed
  // is the source file's own.
  writer.OnISOItemAdded = [](TObject*, const std::wstring&, const std::wstring&, const std::wstring& name,
                             const std::wstring& source, bool dir, TDateTime, int) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    const int64_t size = !dir && GetFileAttributesExW(source.c_str(), GetFileExInfoStandard, &data)
                             ? static_cast<int64_t>(data.nFileSizeHigh) << 32 | data.nFileSizeLow
                             : 0;
    std::printf("added %s%s %" PRId64 "\n", WideToAnsi(name).c_str(), dir ? "\\" : "", size);
  };

  writer.SetVolumeIdentifier(AnsiToWide(argv[2]));
  for (int i = 3; i < argc; ++i)
    if (!writer.AddFile(AnsiToWide("Korvalo\\" + ExtractFileName(argv[i])), AnsiToWide(argv[i])))
      std::printf("refused %s: %s\n", argv[i], WideToAnsi(writer.GetExtendedError()).c_str());
  int blocks = writer.GetImageBlocks();
  if (!writer.StartWrite()) {
    std::printf("start refused: %s\nblocks=%d\n", WideToAnsi(writer.GetExtendedError()).c_str(), blocks);
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
