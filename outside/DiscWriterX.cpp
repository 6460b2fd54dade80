#include "outside/DiscWriterX.h"

#include <windows.h>

#include <algorithm>
#include <climits>

#include "framework/core/fileutils.h"
#include "framework/core/handles.h"
#include "framework/core/inifiles.h"
#include "framework/core/sysutils.h"
#include "framework/core/widetext.h"
#include "framework/core/thread.h"

namespace {

constexpr UINT kEventsWaiting = WM_APP + 1;
constexpr int kChunkBlocks = 64;
constexpr int64_t kDefaultCapacity = 333000;  // 650 MB
constexpr int kBlocksPerSpeedUnit = 75;
// The device error whose text is the extended error.
constexpr int kExtendedDeviceError = 1051;

String& ConfigurationPath() {
  static String path;
  return path;
}

int ClampToInt(int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, INT_MIN, INT_MAX)); }

int64_t FileBytes(const String& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
  return (static_cast<int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

String SessionName(const String& folder, size_t number) {
  return IncludeTrailingBackslash(folder) + "session" + IntToStr(number) + ".iso";
}

bool WriteAll(HANDLE file, const uint8_t* data, size_t bytes) {
  DWORD written = 0;
  return WriteFile(file, data, static_cast<DWORD>(bytes), &written, nullptr) && written == bytes;
}

}  // namespace

std::vector<TDiscWriterConfig> ReadDiscWriterConfig(const String& fileName) {
  std::vector<TDiscWriterConfig> writers;
  if (!FileExists(fileName)) return writers;
  TIniFile ini(ExpandFileName(fileName));
  String base = ExtractFilePath(ExpandFileName(fileName));
  for (int i = 0;; ++i) {
    String section = "Writer" + IntToStr(i);
    if (!ini.SectionExists(section)) break;
    TDiscWriterConfig w;
    w.Folder = ini.ReadString(section, "Folder", "");
    if (w.Folder.size() < 2 || (w.Folder[1] != ':' && w.Folder[0] != '\\')) w.Folder = base + w.Folder;
    w.Text1 = ini.ReadString(section, "Text1", "");
    w.Text2 = ini.ReadString(section, "Text2", "");
    w.Text3 = ini.ReadString(section, "Text3", "");
    w.MaxSpeed = ini.ReadInteger(section, "MaxSpeed", 0);
    w.BurnProof = ini.ReadBool(section, "BurnProof", false);
    w.CanErase = ini.ReadBool(section, "CanErase", false);
    w.Realtime = ini.ReadBool(section, "Realtime", false);
    w.RefuseStart = ini.ReadBool(section, "RefuseStart", false);
    w.FailAfterBlocks = ini.ReadInteger(section, "FailAfterBlocks", -1);
    w.FailWith = ini.ReadInteger(section, "FailWith", 1005);
    w.FailErase = ini.ReadBool(section, "FailErase", false);
    w.InsertBlankAfterEject = ini.ReadBool(section, "InsertBlankAfterEject", false);
    writers.push_back(w);
  }
  return writers;
}

String TDiscWriterX::ConfigurationFile() {
  return ConfigurationPath().empty() ? ExtractFilePath(ParamStr(0)) + "DiscWriterX.ini" : ConfigurationPath();
}

void TDiscWriterX::SetConfigurationFile(const String& fileName) { ConfigurationPath() = fileName; }

struct TDiscWriterX::TWriteJob {
  std::vector<uint8_t> Header;
  std::vector<TIsoExtent> Extents;
  int64_t Blocks = 0;
  int64_t FreeBlocks = 0;
  short Track = 1;
  String SessionPath;
  String DiscFile;
  bool TestWrite = false;
  bool CacheDataTrack = false;
  bool CloseSession = true;
  bool CloseDisc = false;
  int FailAfterBlocks = -1;
  int FailWith = 0;
  int BlocksPerSecond = 0;  // 0: as fast as possible
};

TDiscWriterX::TDiscWriterX(TComponent* AOwner) : TWinControl(AOwner) {
  SetVisible(false);
  writers_ = ReadDiscWriterConfig(ConfigurationFile());
  if (!writers_.empty()) selected_ = 0;
  MakeEventWindow();
  image_.OnItemAdded = [this](const TIsoItem& item) {
    String parent = ExtractFilePath(item.DiscPath);
    std::wstring itemPath = AnsiToWide(item.DiscPath), name = AnsiToWide(ExtractFileName(item.DiscPath));
    std::wstring parentPath = AnsiToWide(parent), source = AnsiToWide(item.SourcePath);
    bool dir = item.IsDirectory;
    int size = ClampToInt(item.Size);
    TDateTime date = dir ? Now() : FileDateTime(item.SourcePath);
    Raise([=, this] {
      if (OnISOItemAdded) OnISOItemAdded(this, parentPath, itemPath, name, source, dir, date, size);
    });
  };
}

TDiscWriterX::~TDiscWriterX() {
  abort_ = true;
  {
    std::lock_guard<std::mutex> lock(eventsLock_);
    stopping_ = true;
  }
  handled_.notify_all();
  JoinWorker();
  DeallocateHWnd(eventWindow_);
}

void TDiscWriterX::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.Style &= ~static_cast<DWORD>(WS_VISIBLE);
}

const TDiscWriterConfig* TDiscWriterX::Writer() const {
  return selected_ >= 0 && selected_ < static_cast<int>(writers_.size()) ? &writers_[static_cast<size_t>(selected_)]
                                                                         : nullptr;
}

String TDiscWriterX::DiscFile() const {
  return Writer() ? IncludeTrailingBackslash(Writer()->Folder) + "disc.ini" : String();
}

std::vector<TDiscWriterX::TSession> TDiscWriterX::Sessions() const {
  std::vector<TSession> sessions;
  if (!IsDriveReady()) return sessions;
  for (size_t n = 1;; ++n) {
    String name = SessionName(Writer()->Folder, n);
    if (FileExists(name)) {
      sessions.push_back({name, (FileBytes(name) + kIsoBlockSize - 1) / kIsoBlockSize, true});
    } else if (FileExists(name + ".part")) {
      sessions.push_back({name + ".part", (FileBytes(name + ".part") + kIsoBlockSize - 1) / kIsoBlockSize, false});
    } else {
      break;
    }
  }
  return sessions;
}

int64_t TDiscWriterX::Capacity() const {
  if (!IsDriveReady()) return 0;
  TIniFile disc(DiscFile());
  return std::max<int64_t>(0, StrToInt64Def(disc.ReadString("Disc", "Blocks", ""), kDefaultCapacity));
}

void TDiscWriterX::Raise(std::function<void()> event, bool waitForHandler) {
  bool onGuiThread = GetCurrentThreadId() == MainThreadID;
  uint64_t number;
  {
    std::lock_guard<std::mutex> lock(eventsLock_);
    events_.push_back(std::move(event));
    number = ++raised_;
  }
  if (onGuiThread && !delivering_) {
    Deliver();
    return;
  }
  PostMessageA(eventWindow_, kEventsWaiting, 0, 0);
  // The worker goes on only once the handler has run, so what a handler does (abort,
  // take the disc out) acts on the very next block, as on a real drive.
  if (!onGuiThread && waitForHandler) {
    std::unique_lock<std::mutex> lock(eventsLock_);
    handled_.wait(lock, [&] { return delivered_ >= number || stopping_; });
  }
}

// One event at a time: a handler that pumps messages gets the next one only after it
// has returned, because the wake-up finds the queue being delivered.
void TDiscWriterX::Deliver() {
  if (delivering_) return;
  delivering_ = true;
  struct TDelivered {
    TDiscWriterX* self;
    ~TDelivered() {
      {
        std::lock_guard<std::mutex> lock(self->eventsLock_);
        ++self->delivered_;
      }
      self->handled_.notify_all();
    }
  };
  try {
    for (;;) {
      std::function<void()> event;
      {
        std::lock_guard<std::mutex> lock(eventsLock_);
        if (events_.empty()) break;
        event = std::move(events_.front());
        events_.pop_front();
      }
      TDelivered delivered{this};
      event();
    }
  } catch (...) {
    delivering_ = false;
    throw;
  }
  delivering_ = false;
}

// The worker's events reach the GUI thread through this window; posted to no
// window they would land in the worker's own queue and the job would wait for ever.
bool TDiscWriterX::MakeEventWindow() {
  if (!eventWindow_) eventWindow_ = AllocateHWnd([this](TMessage& m) { EventWindowProc(m); });
  if (eventWindow_) return true;
  const DWORD code = GetLastError();
  extendedError_ = AnsiToWide("The writer's event window could not be made" +
                              (code ? ": " + SysErrorMessage(code) : String(".")));
  return false;
}

void TDiscWriterX::EventWindowProc(TMessage& Message) {
  if (Message.Msg == kEventsWaiting) {
    Deliver();
    return;
  }
  Message.Result = DefWindowProcA(eventWindow_, Message.Msg, Message.WParam, Message.LParam);
}

void TDiscWriterX::JoinWorker() {
  if (worker_.joinable()) worker_.join();
}

// The last event of a job comes after the worker is done with the disc, so its
// handler may eject, close or start again.
void TDiscWriterX::Finish(std::function<void()> lastEvent) {
  running_ = false;
  Raise(std::move(lastEvent), false);
}

std::wstring TDiscWriterX::GetVersion() const { return L"3.0 stand-in"; }

std::wstring TDiscWriterX::GetExtendedError() const { return extendedError_; }

std::wstring TDiscWriterX::GetDeviceText1(short Index) const {
  return Index >= 0 && Index < GetDeviceCount() ? AnsiToWide(writers_[static_cast<size_t>(Index)].Text1) : L"";
}

std::wstring TDiscWriterX::GetDeviceText2(short Index) const {
  return Index >= 0 && Index < GetDeviceCount() ? AnsiToWide(writers_[static_cast<size_t>(Index)].Text2) : L"";
}

std::wstring TDiscWriterX::GetDeviceText3(short Index) const {
  return Index >= 0 && Index < GetDeviceCount() ? AnsiToWide(writers_[static_cast<size_t>(Index)].Text3) : L"";
}

bool TDiscWriterX::SelectDevice(short Index) {
  if (running_ || Index < 0 || Index >= GetDeviceCount()) return false;
  selected_ = Index;
  return true;
}

bool TDiscWriterX::IsDriveReady() const { return Writer() && FileExists(DiscFile()); }

bool TDiscWriterX::SetWriteSpeed(short Speed) {
  speed_ = Speed;
  return Writer() != nullptr;
}

short TDiscWriterX::GetMaxWriteSpeed() const { return Writer() ? static_cast<short>(Writer()->MaxSpeed) : 0; }

bool TDiscWriterX::HasCapability(TWriterCapability Capability) const {
  return Capability == TWriterCapability::EraseDisc && Writer() && Writer()->CanErase;
}

bool TDiscWriterX::SetBurnProof(bool Enable) {
  burnProof_ = Enable && IsBurnProofSupported();
  return burnProof_ == Enable;
}

bool TDiscWriterX::IsBurnProofSupported() const { return Writer() && Writer()->BurnProof; }

TDiscStatus TDiscWriterX::GetDiscStatus() const {
  if (!IsDriveReady()) return TDiscStatus::Other;
  TIniFile disc(DiscFile());
  if (disc.ReadInteger("Disc", "Status", 0) == static_cast<int>(TDiscStatus::Other)) return TDiscStatus::Other;
  if (disc.ReadBool("Disc", "Closed", false)) return TDiscStatus::Complete;
  return Sessions().empty() ? TDiscStatus::Empty : TDiscStatus::Incomplete;
}

TDiscType TDiscWriterX::GetDiscType() const {
  if (!IsDriveReady()) return TDiscType::Unknown;
  return static_cast<TDiscType>(TIniFile(DiscFile()).ReadInteger("Disc", "Type", 0));
}

bool TDiscWriterX::IsDiscErasable() const {
  return IsDriveReady() && TIniFile(DiscFile()).ReadBool("Disc", "Erasable", false);
}

int TDiscWriterX::GetFreeBlocks(int /*Kind*/) const {
  if (!IsDriveReady() || GetDiscStatus() == TDiscStatus::Complete) return 0;
  int64_t used = 0;
  for (const auto& s : Sessions()) used += s.Blocks;
  return ClampToInt(std::max<int64_t>(0, Capacity() - used));
}

int TDiscWriterX::BlocksToBytes(int Blocks, int /*Kind*/) const {
  return ClampToInt(static_cast<int64_t>(Blocks) * kIsoBlockSize);
}

short TDiscWriterX::GetSessionCount() const { return static_cast<short>(Sessions().size()); }

TSessionStatus TDiscWriterX::GetLastSessionStatus() const {
  auto sessions = Sessions();
  if (sessions.empty()) return TSessionStatus::Empty;
  return sessions.back().Complete ? TSessionStatus::Closed : TSessionStatus::Incomplete;
}

void TDiscWriterX::ClearImage() {
  image_.Clear();
  Raise([this] {
    if (OnISOImageReset) OnISOImageReset(this);
  });
}

int TDiscWriterX::GetImageBlocks() const { return ClampToInt(image_.Blocks()); }

bool TDiscWriterX::AddFile(const std::wstring& DiscPath, const std::wstring& SourcePath) {
  String why;
  if (image_.AddFile(WideToAnsi(DiscPath), WideToAnsi(SourcePath), &why)) return true;
  extendedError_ = AnsiToWide(why);
  return false;
}

bool TDiscWriterX::RemoveItem(const std::wstring& DiscPath) {
  if (!image_.RemoveItem(WideToAnsi(DiscPath))) return false;
  std::wstring path = DiscPath, name = AnsiToWide(ExtractFileName(WideToAnsi(DiscPath)));
  Raise([=, this] {
    if (OnISOItemRemoved) OnISOItemRemoved(this, path, name, false);
  });
  return true;
}

bool TDiscWriterX::EjectDisc() {
  if (running_ || !IsDriveReady()) return false;
  JoinWorker();
  String folder = IncludeTrailingBackslash(Writer()->Folder);
  int n = 1;
  while (DirectoryExists(folder + "ejected\\" + IntToStr(n))) ++n;
  String target = folder + "ejected\\" + IntToStr(n) + "\\";
  if (!ForceDirectories(target)) return false;
  TIniFile old(DiscFile());
  String blocks = old.ReadString("Disc", "Blocks", IntToStr(kDefaultCapacity));
  bool erasable = old.ReadBool("Disc", "Erasable", false);
  int type = old.ReadInteger("Disc", "Type", 0);
  for (const auto& s : Sessions()) MoveFileA(s.Path.c_str(), (target + ExtractFileName(s.Path)).c_str());
  MoveFileA(DiscFile().c_str(), (target + "disc.ini").c_str());
  if (Writer()->InsertBlankAfterEject) {
    TIniFile blank(DiscFile());
    blank.WriteString("Disc", "Blocks", blocks);
    blank.WriteBool("Disc", "Erasable", erasable);
    blank.WriteInteger("Disc", "Type", type);
  }
  return true;
}

bool TDiscWriterX::CloseLastSession(bool CloseDisc) {
  if (running_) return false;
  auto sessions = Sessions();
  if (sessions.empty() || sessions.back().Complete) return false;
  Raise([this] {
    if (OnClosingSession) OnClosingSession(this);
  });
  String closed = sessions.back().Path.substr(0, sessions.back().Path.size() - 5);
  if (!MoveFileA(sessions.back().Path.c_str(), closed.c_str())) return false;
  if (CloseDisc) TIniFile(DiscFile()).WriteBool("Disc", "Closed", true);
  return true;
}

bool TDiscWriterX::StartWrite() {
  const TDiscWriterConfig* w = Writer();
  if (running_) return false;
  extendedError_.clear();
  if (!w || !IsDriveReady() || GetDiscStatus() == TDiscStatus::Complete || image_.FileCount() == 0 || w->RefuseStart ||
      !MakeEventWindow())
    return false;
  JoinWorker();
  TWriteJob job;
  job.Header = image_.Header();
  job.Extents = image_.Extents();
  job.Blocks = image_.Blocks();
  job.FreeBlocks = GetFreeBlocks(1);
  auto sessions = Sessions();
  job.Track = static_cast<short>(sessions.size() + 1);
  job.SessionPath = SessionName(w->Folder, sessions.size() + 1) + ".part";
  job.DiscFile = DiscFile();
  job.TestWrite = TestWrite;
  job.CacheDataTrack = CacheDataTrack;
  job.CloseSession = CloseSession;
  job.CloseDisc = CloseDisc;
  job.FailAfterBlocks = w->FailAfterBlocks;
  job.FailWith = w->FailWith;
  int speed = speed_ > 0 ? std::min<int>(speed_, std::max(1, w->MaxSpeed)) : std::max(1, w->MaxSpeed);
  job.BlocksPerSecond = w->Realtime ? speed * kBlocksPerSpeedUnit : 0;
  abort_ = false;
  running_ = true;
  worker_ = std::thread([this, job = std::move(job)] { RunWrite(job); });
  return true;
}

bool TDiscWriterX::EraseDisc(bool /*Quick*/) {
  const TDiscWriterConfig* w = Writer();
  if (running_) return false;
  extendedError_.clear();
  if (!w || !w->CanErase || !IsDiscErasable() || !MakeEventWindow()) return false;
  JoinWorker();
  abort_ = false;
  running_ = true;
  bool fail = w->FailErase;
  worker_ = std::thread([this, fail] { RunErase(fail); });
  return true;
}

void TDiscWriterX::RunErase(bool fail) {
  Raise([this] {
    if (OnErasingDisc) OnErasingDisc(this);
  });
  if (fail) {
    Finish([this] {
      if (OnWriteError) OnWriteError(this, 3, 1036);
    });
    return;
  }
  for (const auto& s : Sessions()) DeleteFileA(s.Path.c_str());
  TIniFile(DiscFile()).DeleteKey("Disc", "Closed");
  Finish([this] {
    if (OnEraseComplete) OnEraseComplete(this);
  });
}

void TDiscWriterX::RunWrite(const TWriteJob& job) {
  auto fail = [this](int writeError, int deviceError) {
    Finish([this, writeError, deviceError] {
      if (OnWriteError) OnWriteError(this, writeError, deviceError);
    });
  };
  auto fileError = [this, &fail](const String& name) {
    std::wstring wide = AnsiToWide(name);
    Raise([this, wide] {
      if (OnTrackFileError) OnTrackFileError(this, 1, wide);
    });
    fail(2, 0);
  };
  Raise([this] {
    if (OnPreparingToWrite) OnPreparingToWrite(this);
  });
  Raise([this] {
    if (OnCreatingDirectories) OnCreatingDirectories(this);
  });
  if (job.Blocks > job.FreeBlocks) return fail(3, 1021);

  // Every source must still be there before the first block is written.
  int blocks = ClampToInt(job.Blocks);
  if (job.CacheDataTrack)
    Raise([this, track = job.Track, blocks] {
      if (OnCachingTrack) OnCachingTrack(this, track, blocks);
    });
  int64_t cached = static_cast<int64_t>(job.Header.size()) / kIsoBlockSize;
  for (size_t i = 0; i < job.Extents.size(); ++i) {
    if (GetFileAttributesA(job.Extents[i].SourcePath.c_str()) == INVALID_FILE_ATTRIBUTES)
      return fileError(job.Extents[i].SourcePath);
    cached += (job.Extents[i].Size + kIsoBlockSize - 1) / kIsoBlockSize;
    int index = static_cast<int>(i), done = ClampToInt(cached);
    if (job.CacheDataTrack)
      Raise([this, done] {
        if (OnCachingTrackStatus) OnCachingTrackStatus(this, done);
      });
    else
      Raise([this, index] {
        if (OnReadingFile) OnReadingFile(this, index);
      });
  }

  Raise([this, track = job.Track, blocks] {
    if (OnTrackWriteStart) OnTrackWriteStart(this, track, blocks);
  });
  UniqueHandle<KernelHandleTraits> out;
  if (!job.TestWrite) {
    out.reset(CreateFileA(job.SessionPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                          nullptr));
    if (!out) {
      extendedError_ = AnsiToWide(SysErrorMessage(GetLastError()));
      return fail(3, kExtendedDeviceError);
    }
  }

  int64_t written = 0;
  DWORD started = GetTickCount();
  std::vector<uint8_t> chunk;
  // Writes what `chunk` holds; false after an error event.
  auto flush = [&]() -> bool {
    if (chunk.empty()) return true;
    if (abort_) {
      out.reset();
      Finish([this] {
        if (OnWritingCancelled) OnWritingCancelled(this);
      });
      return false;
    }
    if (!FileExists(job.DiscFile)) {
      fail(3, 1033);
      return false;
    }
    int64_t chunkBlocks = static_cast<int64_t>(chunk.size()) / kIsoBlockSize;
    if (job.FailAfterBlocks >= 0 && written + chunkBlocks > job.FailAfterBlocks) {
      size_t keep = static_cast<size_t>(std::max<int64_t>(0, job.FailAfterBlocks - written)) * kIsoBlockSize;
      if (out) WriteAll(out.get(), chunk.data(), keep);
      fail(3, job.FailWith);
      return false;
    }
    if (out && !WriteAll(out.get(), chunk.data(), chunk.size())) {
      extendedError_ = AnsiToWide(SysErrorMessage(GetLastError()));
      fail(3, kExtendedDeviceError);
      return false;
    }
    written += chunkBlocks;
    chunk.clear();
    int done = ClampToInt(written);
    Raise([this, track = job.Track, done] {
      if (OnTrackWriteStatus) OnTrackWriteStatus(this, track, done, 100);
    });
    Raise([this] {
      if (OnReadBufferStatus) OnReadBufferStatus(this, 100);
    });
    if (job.BlocksPerSecond > 0) {
      DWORD due = static_cast<DWORD>(written * 1000 / job.BlocksPerSecond);
      DWORD spent = GetTickCount() - started;
      if (due > spent) Sleep(due - spent);
    }
    return true;
  };
  auto put = [&](const uint8_t* data, size_t bytes) -> bool {
    while (bytes > 0) {
      size_t room = static_cast<size_t>(kChunkBlocks) * kIsoBlockSize - chunk.size();
      size_t n = std::min(room, bytes);
      chunk.insert(chunk.end(), data, data + n);
      data += n;
      bytes -= n;
      if (chunk.size() == static_cast<size_t>(kChunkBlocks) * kIsoBlockSize && !flush()) return false;
    }
    return true;
  };

  if (!put(job.Header.data(), job.Header.size())) return;
  std::vector<uint8_t> buffer(static_cast<size_t>(kChunkBlocks) * kIsoBlockSize);
  for (const TIsoExtent& e : job.Extents) {
    UniqueHandle<KernelHandleTraits> in(CreateFileA(e.SourcePath.c_str(), GENERIC_READ,
                                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!in) {
      out.reset();
      return fileError(e.SourcePath);
    }
    // The size the layout promised is written, however the file changed since.
    int64_t left = e.Size;
    while (left > 0) {
      DWORD want = static_cast<DWORD>(std::min<int64_t>(left, static_cast<int64_t>(buffer.size())));
      DWORD got = 0;
      if (!ReadFile(in.get(), buffer.data(), want, &got, nullptr) || got == 0) {
        out.reset();
        return fileError(e.SourcePath);
      }
      if (!put(buffer.data(), got)) return;
      left -= got;
    }
    size_t pad = static_cast<size_t>((kIsoBlockSize - e.Size % kIsoBlockSize) % kIsoBlockSize);
    std::vector<uint8_t> zeros(pad, 0);
    if (!put(zeros.data(), zeros.size())) return;
  }
  if (!flush()) return;
  out.reset();

  Raise([this, track = job.Track] {
    if (OnClosingTrack) OnClosingTrack(this, track);
  });
  if (job.CloseSession) {
    Raise([this] {
      if (OnClosingSession) OnClosingSession(this);
    });
    // Until the rename the session is incomplete (".part"); one that cannot be
    // closed is a failed write, not a finished one.
    if (!job.TestWrite &&
        !MoveFileA(job.SessionPath.c_str(), job.SessionPath.substr(0, job.SessionPath.size() - 5).c_str())) {
      extendedError_ = AnsiToWide(SysErrorMessage(GetLastError()));
      return fail(3, kExtendedDeviceError);
    }
  }
  if (job.CloseDisc) {
    Raise([this] {
      if (OnClosingDisc) OnClosingDisc(this);
    });
    if (!job.TestWrite) TIniFile(job.DiscFile).WriteBool("Disc", "Closed", true);
  }
  Finish([this] {
    if (OnWritingComplete) OnWritingComplete(this);
  });
}
