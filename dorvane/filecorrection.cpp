#include "dorvane/filecorrection.h"

#include <condition_variable>
#include <mutex>
#include <optional>
#include <set>

#include "dorvane/ByteSearch.h"
#include "dorvane/CorrectionsIdle.h"
#include "dorvane/DebugDLL.h"
#include "dorvane/DestinationFolder.h"
#include "engine/PassFolders.h"
#include "framework/core/fileutils.h"
#include "framework/core/littleendian.h"
#include "framework/core/streams.h"
#include "framework/core/thread.h"
#include "imaging/ExifData.h"

namespace {

// ---- bookkeeping of running threads ----

std::mutex gRunningLock;
std::condition_variable gRunningChanged;
int gRunning = 0;

void ChangeRunning(int delta) {
  {
    std::lock_guard guard(gRunningLock);
    static const KernelHandle idle(CreateEventA(nullptr, TRUE, TRUE, CorrectionsIdleEventName().c_str()));
    gRunning += delta;
    if (gRunning == 0)
      SetEvent(idle.get());
    else
      ResetEvent(idle.get());
  }
  gRunningChanged.notify_all();
}

// ---- helpers ----

TBytes ReadAll(TStream& stream) {
  // The repairs hold the whole file; one beyond what a single read can take is refused.
  if (stream.Size() > INT32_MAX) throw EReadError("Stream read error");
  TBytes data(static_cast<size_t>(stream.Size()));
  stream.SetPosition(0);
  if (!data.empty()) stream.ReadBuffer(data.data(), static_cast<int>(data.size()));
  return data;
}

TBytes LoadFile(const String& FileName) {
  TFileStream file(FileName, fmOpenRead | fmShareDenyWrite);
  return ReadAll(file);
}

// Cuts the file at `cut` in place: the bytes before it are never rewritten.
void CutFile(TFileStream& file, int64_t cut) {
  if (cut < file.Size()) file.SetSize(cut);
}

void LogOutcome(bool succeeded, const String& FileName, DWORD started) {
  if (succeeded) {
    WriteDLLInfoLog("Corrected " + Trim(FileName) + " in " + IntToStr(int64_t{GetTickCount() - started}) + "ms");
  } else {
    WriteDLLInfoLog("Incomplete data in " + Trim(FileName));
  }
}

// The name itself when free, else "_2", "_3", ... before the dot.
String FreeName(const String& folder, const String& name) {
  if (!FileExists(folder + name)) return folder + name;
  const String extension = ExtractFileExt(name);
  const String stem = name.substr(0, name.size() - extension.size());
  for (int n = 2;; ++n) {
    const String candidate = folder + stem + "_" + IntToStr(n) + extension;
    if (!FileExists(candidate)) return candidate;
  }
}

String TextOf(const TBytes& data, size_t from, size_t to) {
  return String(data.begin() + from, data.begin() + to);
}

// ---- the threads ----

class TCorrectionThread : public TThread {
 public:
  explicit TCorrectionThread(String FileName) : TThread(true), fileName_(std::move(FileName)) {
    ChangeRunning(1);
  }
  ~TCorrectionThread() override { ChangeRunning(-1); }

 protected:
  void Execute() override {
    FreeOnTerminate = true;
    try {
      Work(fileName_);
    } catch (...) {
      // The work functions log their own failures; nothing may leave the thread.
    }
  }
  virtual void Work(const String& FileName) = 0;

 private:
  String fileName_;
};

class TCorrectJPEG : public TCorrectionThread {
  using TCorrectionThread::TCorrectionThread;
  void Work(const String& FileName) override { CorrectJPEG(FileName); }
};

class TCorrectX3F : public TCorrectionThread {
  using TCorrectionThread::TCorrectionThread;
  void Work(const String& FileName) override { CorrectX3F(FileName); }
};

class TCorrectCRW : public TCorrectionThread {
  using TCorrectionThread::TCorrectionThread;
  void Work(const String& FileName) override { CorrectCRW(FileName, [](DWORD ms) { Sleep(ms); }); }
};

class TCorrectTIF_NEF_PEF : public TCorrectionThread {
  using TCorrectionThread::TCorrectionThread;
  void Work(const String& FileName) override { CorrectTIF_NEF_PEF(FileName); }
};

template <class T>
void StartThread(const String& FileName) {
  auto* thread = new T(FileName);
  try {
    thread->Start();
  } catch (...) {
    delete thread;
    throw;
  }
}

struct TCorrection {
  const char* Extension;
  void (*Start)(const String&);
};

const TCorrection kCorrections[] = {
    {".JPEG", StartThread<TCorrectJPEG>}, {".JPG", StartThread<TCorrectJPEG>},
    {".J2E", StartThread<TCorrectJPEG>},  {".X3F", StartThread<TCorrectX3F>},
    {".CRW", StartThread<TCorrectCRW>},   {".TIF", StartThread<TCorrectTIF_NEF_PEF>},
    {".TIFF", StartThread<TCorrectTIF_NEF_PEF>},
};

// ---- CRW thumbnail search ----

// The metadata readers are used by one thread at a time.
std::mutex gMetadataLock;

bool IsThumbnailJPEG(const String& fileName) {
  std::lock_guard guard(gMetadataLock);
  TimgData reader(255);
  // A file without metadata, or one gone since the listing, is simply no match.
  reader.ReadMetadata(fileName);
  if (!reader.HasExifSegment() || !reader.ExifObj()) return false;
  std::optional<int> width, height;
  String interop;
  for (const TTagEntry& tag : reader.ExifObj()->Tags()) {
    if (tag.Group != 0) continue;
    const String name = UpperCase(tag.Name);
    int value = 0;
    if (name == "EXIFIMAGEWIDTH" && TryStrToInt(Trim(tag.Data), value)) width = value;
    if (name == "EXIFIMAGELENGTH" && TryStrToInt(Trim(tag.Data), value)) height = value;
    if (name == "INTEROPERABILITYINDEX") interop = UpperCase(Trim(tag.Data));
  }
  return interop == "THM" && width == 160 && height == 120;
}

// The carved JPEG that is this raw file's thumbnail, or empty after about 14 seconds.
String FindThumbnail(const String& folder, const std::function<void(DWORD)>& Wait) {
  std::set<String> seen;
  Wait(2000);
  for (int pass = 0; pass < 6; ++pass) {
    TSearchRec rec;
    if (FindFirst(folder + "*.jpg", faAnyFile, rec) == 0) {
      struct TCloser {
        TSearchRec& Rec;
        ~TCloser() { FindClose(Rec); }
      } closer{rec};
      do {
        if (rec.Name == "." || rec.Name == ".." || (rec.Attr & faDirectory)) continue;
        if (!seen.insert(rec.Name).second) continue;
        if (IsThumbnailJPEG(folder + rec.Name)) return rec.Name;
      } while (FindNext(rec) == 0);
    }
    Wait(2000);
  }
  return {};
}

}  // namespace

int RunningCorrections() {
  std::lock_guard guard(gRunningLock);
  return gRunning;
}

bool WaitForCorrections(DWORD timeoutMs) {
  std::unique_lock guard(gRunningLock);
  return gRunningChanged.wait_for(guard, std::chrono::milliseconds(timeoutMs), [] { return gRunning == 0; });
}

int32_t CorrectFile(const String& FileName) {
  if (FileName.empty()) return 0;
  const String extension = UpperCase(ExtractFileExt(FileName));
  if (extension.empty()) return 0;
  for (const TCorrection& correction : kCorrections) {
    if (extension != correction.Extension) continue;
    try {
      correction.Start(FileName);
    } catch (const std::exception& e) {
      WriteDLLErrorLog("Could not start the correction of " + FileName + " : " + e.what());
      return 0;
    }
    return 1;
  }
  WriteDLLInfoLog("No file correction for : " + extension + " file type");
  return 0;
}

bool CorrectJPEG(const String& FileName) {
  const DWORD started = GetTickCount();
  bool succeeded = false;
  try {
    TFileStream file(FileName, fmOpenReadWrite | fmShareDenyWrite);
    const TBytes data = ReadAll(file);
    if (const auto end = FindLast(data, kEndOfImage, data.size())) {
      CutFile(file, static_cast<int64_t>(*end + 2));
      succeeded = true;
    }
  } catch (const Exception& e) {
    WriteDLLErrorLog("Exception on Correct JPG (" + FileName + ") : " + e.Message);
  }
  LogOutcome(succeeded, FileName, started);
  return succeeded;
}

bool CorrectX3F(const String& FileName) {
  const DWORD started = GetTickCount();
  bool succeeded = false;
  try {
    TFileStream file(FileName, fmOpenReadWrite | fmShareDenyWrite);
    const TBytes data = ReadAll(file);
    if (const auto p = FindLast(data, "SECd", data.size())) {
      if (*p + 12 > data.size()) throw EReadError("Stream read error");
      const uint8_t* count = data.data() + *p + 8;
      const int32_t entries = static_cast<int32_t>(LoadLE32(count));
      const int64_t cut = static_cast<int64_t>(*p) + 16 + 12 * int64_t{std::max(entries, 0)};
      if (cut > static_cast<int64_t>(data.size())) throw Exception("The section directory ends beyond the file");
      CutFile(file, cut);
      succeeded = true;
    }
  } catch (const Exception& e) {
    WriteDLLErrorLog("Exception on Correct X3F : " + e.Message);
  }
  LogOutcome(succeeded, FileName, started);
  return succeeded;
}

bool CorrectCRW(const String& FileName, const std::function<void(DWORD)>& Wait) {
  const DWORD started = GetTickCount();
  bool succeeded = false;
  // A mark not found is no failure of the thread: the outcome line alone says so.
  const auto notFound = [&] {
    LogOutcome(false, FileName, started);
    return false;
  };
  try {
    const TBytes data = LoadFile(FileName);
    if (data.empty()) return notFound();
    const size_t last = data.size() - 1;
    const auto p = FindLast(data, ".CRW", last);
    const auto endMarker = p ? FindLast(data, kEndOfImage, last, *p) : std::nullopt;
    if (!endMarker) return notFound();
    const size_t e = *endMarker + 2;

    String innerName;
    if (const auto crw = FindFirst(data, ".CRW", e, last)) {
      const size_t w = *crw + 3;
      for (size_t i = w; i-- > 0;) {
        if (data[i] == 0) {
          innerName = Trim(TextOf(data, i + 1, w + 1));
          break;
        }
      }
    }

    const auto thm = FindFirst(data, ".THM", e, last);
    if (!thm) return notFound();
    const size_t m = *thm + 3;
    size_t c = 0;
    for (size_t i = m + 1; i-- > 0;) {
      if (data[i] == 'C') {
        c = i;
        break;
      }
    }
    const String thumbnailName = Trim(TextOf(data, c, m + 1));
    const size_t t = m + 1;

    int64_t rawOffset = 0;
    for (size_t i = t; i + 8 <= last; ++i) {
      if (MatchesAt(data, "CMOS RAW", i, last)) {
        rawOffset = 94;
        break;
      }
      if (MatchesAt(data, "CCD imag", i, last)) {
        rawOffset = 104;
        break;
      }
    }
    std::optional<size_t> j;
    for (size_t i = t; i + 10 < data.size(); ++i) {
      if (data[i] == 'H' && data[i + 10] == 'h') {
        j = i;
        break;
      }
    }
    if (!j) return notFound();
    const int64_t cut = static_cast<int64_t>(*j) + rawOffset;
    if (cut > static_cast<int64_t>(data.size())) throw Exception("The raw data end beyond the file");

    if (!innerName.empty()) {
      if (!IsNameInFolder(innerName)) throw Exception("Refused inner name \"" + innerName + "\"");
      const String folder = ExtractFilePath(FileName);
      if (SameText(folder + innerName, FileName)) {
        // The file already carries its own name: cut it where it is.
        TFileStream file(FileName, fmOpenReadWrite | fmShareDenyWrite);
        CutFile(file, cut);
      } else {
        const String target = FreeName(folder, innerName);
        {
          TFileStream out(target, fmCreate);
          out.WriteBuffer(data.data(), static_cast<int>(cut));
        }
        // The cut copy is written: an input that cannot go (another thread may hold
        // it) stays beside it, and the thumbnail is still named.
        DeleteFile(FileName);
      }
    }

    if (!IsNameInFolder(thumbnailName)) throw Exception("Refused thumbnail name \"" + thumbnailName + "\"");
    const String folder = DLLDestinationFolder() + kDezoDoziFolder;
    const String found = FindThumbnail(folder, Wait);
    if (!found.empty()) {
      if (!RenameFile(folder + found, FreeName(folder, thumbnailName)))
        throw Exception("Cannot rename " + folder + found);
      succeeded = true;
    }
    LogOutcome(succeeded, FileName, started);
  } catch (const Exception& e) {
    LogOutcome(false, FileName, started);
    WriteDLLInfoLog("Unable to correct CRW file " + FileName + " : " + e.Message);
  }
  return succeeded;
}

bool CorrectTIF_NEF_PEF(const String& FileName) {
  try {
    const TBytes data = LoadFile(FileName);
    const auto nikon = FindFirst(data, "NIKON CORP", 0, data.size());
    const auto pentax = FindFirst(data, "PENTAX Corp", 0, data.size());
    String type = "TIF";
    if (nikon && (!pentax || *nikon < *pentax)) type = "NEF";
    else if (pentax) type = "PEF";
    if (!RenameFile(FileName, FileName + "." + type))
      throw Exception("Cannot rename to " + FileName + "." + type + " : " + SysErrorMessage(GetLastError()));
    return true;
  } catch (const Exception& e) {
    WriteDLLInfoLog("Unable to correct TIFF file " + FileName + " : " + e.Message);
    return false;
  }
}
