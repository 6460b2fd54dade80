// scan_drive DRIVE: OUTDIR [--types EXT,EXT,...] [--pass prescan|scan|both] [--no-correction]
//   or scan_drive DRIVE: --backup FILE.KV3 | --restore FILE.KV3 | --erase
// Runs the recovery passes of the engine on a drive, prints one line per engine event and
// last "files=N read_errors=M write_errors=K". For tests and benchmarks; not part of the product.
#include <windows.h>

#include <cstdio>
#include <set>
#include <string>

#include "dorvane/CorrectionsIdle.h"
#include "engine/FileTypes.h"
#include "engine/ScanEngine.h"
#include "engine/intDorvane.h"
#include "framework/core/sysutils.h"

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: scan_drive DRIVE: OUTDIR [--types EXT,EXT,...] [--pass prescan|scan|both] [--no-correction]\n");
  std::fprintf(stderr, "       scan_drive DRIVE: --backup FILE.KV3 | --restore FILE.KV3 | --erase\n");
  return 2;
}

std::set<String> SplitList(const String& list) {
  std::set<String> items;
  size_t start = 0;
  while (start <= list.size()) {
    const size_t comma = std::min(list.find(',', start), list.size());
    String item = UpperCase(Trim(list.substr(start, comma - start)));
    if (!item.empty() && item[0] == '.') item.erase(0, 1);
    if (!item.empty()) items.insert(item);
    start = comma + 1;
  }
  return items;
}

// --backup FILE.KV3, --restore FILE.KV3 or --erase, alone on the drive: prints the events
// and last "ok" or "failed code=N".
int RunCardOperation(const String& drive, const String& option, const String& file) {
  auto engine = TScanEngine::Make(TSEPlatform::OfSystem());
  int32_t code = 0;
  engine->OnProgress = [](TObject*, int32_t position) { std::printf("progress %ld\n", long(position)); };
  engine->OnReadError = [](int32_t sector, int32_t kind) {
    std::printf("read_error %ld %ld\n", long(sector), long(kind));
  };
  engine->OnWriteError = [](int32_t sector, int32_t kind) {
    std::printf("write_error %ld %ld\n", long(sector), long(kind));
  };
  engine->OnError = [&](int32_t errorCode, const String& text) {
    code = errorCode;
    std::printf("error %ld %s\n", long(errorCode), text.c_str());
  };
  engine->OnRestoreSectorCount = [](int32_t count) { std::printf("restore_sector_count %ld\n", long(count)); };
  engine->OnFinished = [](uint8_t finished) { std::printf("finished %d\n", int(finished)); };
  bool ok = false;
  if (option == "--backup") {
    engine->CurrentDrive = engine->FindDriveInformation(drive[0]);
    const size_t slash = file.find_last_of("\\/");
    const String folder = slash == String::npos ? String(".\\") : file.substr(0, slash + 1);
    String name = file.substr(slash == String::npos ? 0 : slash + 1);
    if (name.size() > 4 && UpperCase(name.substr(name.size() - 4)) == ".KV3") name.resize(name.size() - 4);
    ok = engine->BackupCard(name, folder);
  } else if (option == "--restore") {
    ok = engine->RestoreCard(file, drive);
  } else {
    ok = engine->SecureErase(drive[0]);
  }
  if (code == 0) code = static_cast<int32_t>(engine->TakeLastError());
  if (ok)
    std::printf("ok\n");
  else
    std::printf("failed code=%ld\n", long(code));
  return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  // One line per transfer: unbuffered, as the runtime leaves output to a device such as
  // /dev/null under Wine, the printing costs as much as the pass. Flushed at exit.
  static char outputBuffer[1 << 16];
  std::setvbuf(stdout, outputBuffer, _IOFBF, sizeof outputBuffer);
  if (argc < 3) return Usage();
  const String drive = argv[1];
  if (drive.size() != 2 || drive[1] != ':' || !std::isalpha(static_cast<unsigned char>(drive[0]))) return Usage();
  const String first = argv[2];
  if (first == "--erase" && argc == 3) return RunCardOperation(drive, first, "");
  if ((first == "--backup" || first == "--restore") && argc == 4) return RunCardOperation(drive, first, argv[3]);
  const String outdir = argv[2];
  String pass = "both";
  bool correct = true;  // off: the carver alone, without the correction library's work
  std::set<String> types;
  for (int i = 3; i < argc; ++i) {
    const String option = argv[i];
    if (option == "--types" && i + 1 < argc)
      types = SplitList(argv[++i]);
    else if (option == "--pass" && i + 1 < argc)
      pass = argv[++i];
    else if (option == "--no-correction")
      correct = false;
    else
      return Usage();
  }
  if (pass != "prescan" && pass != "scan" && pass != "both") return Usage();

  if (correct && !LoadDorvaneLibrary()) std::fprintf(stderr, "note: Dorvane.dll not loaded; carved files stay uncorrected\n");
  auto engine = TScanEngine::Make(TSEPlatform::OfSystem());
  engine->Initialize();
  if (!types.empty()) {
    for (int i = 0; i < engine->SupportedFileTypes.Count(); ++i) {
      auto* type = static_cast<TSESupportedFileType*>(engine->SupportedFileTypes.Items(i));
      type->Selected = types.count(UpperCase(type->Extension)) > 0;
    }
  }
  engine->SetDestinationFolder(outdir);

  uint32_t readErrors = 0;
  engine->OnProgress = [](TObject*, int32_t position) { std::printf("progress %ld\n", long(position)); };
  engine->OnReadError = [&](int32_t sector, int32_t kind) {
    ++readErrors;
    std::printf("read_error %ld %ld\n", long(sector), long(kind));
  };
  // A recovered file that could not be saved.
  uint32_t writeErrors = 0;
  engine->OnWriteError = [&](int32_t sector, int32_t kind) {
    ++writeErrors;
    std::printf("write_error %ld %ld\n", long(sector), long(kind));
  };
  engine->OnError = [](int32_t code, const String& text) { std::printf("error %ld %s\n", long(code), text.c_str()); };
  engine->OnFATFileCount = [](int32_t count) { std::printf("fat_file_count %ld\n", long(count)); };
  engine->OnFATFileSaved = [](const String& name) { std::printf("fat_file_saved %s\n", name.c_str()); };
  engine->OnRAWFileSaved = [](const String& path) { std::printf("raw_file_saved %s\n", path.c_str()); };
  engine->OnFinished = [](uint8_t code) { std::printf("finished %d\n", int(code)); };

  if (!engine->FindDriveInformation(drive[0])) {
    std::fprintf(stderr, "drive %s not found\n", drive.c_str());
    return 1;
  }
  if (pass != "scan") engine->PreScan(drive[0]);
  if (pass != "prescan") engine->ScanDrive(drive[0]);
  // The library repairs the carved files on threads of its own; the counts and the files
  // are final once none runs.
  if (!WaitForIdleCorrections(600000)) std::fprintf(stderr, "the library's corrections still run\n");
  std::printf("files=%lu read_errors=%lu write_errors=%lu\n", static_cast<unsigned long>(engine->CountRecoveredFiles()),
              static_cast<unsigned long>(readErrors), static_cast<unsigned long>(writeErrors));
  return 0;
}
