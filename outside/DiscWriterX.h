// Our stand-in for the outside CD-writer control: the members the burning dialog
// uses, under their names. A writer is a folder named in DiscWriterX.ini; a disc in
// it is disc.ini (capacity in blocks, erasable, type) and each session a standalone
// ISO 9660 + Joliet image sessionN.iso (".part" while incomplete). Writing and
// erasing run on a worker; events reach the handlers on the GUI thread, in order
// and never nested.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "framework/core/datetime.h"
#include "framework/core/delegate.h"
#include "framework/gui/wincontrol.h"
#include "outside/IsoImage.h"

// One writer of DiscWriterX.ini: [Writer0], [Writer1], ...
struct TDiscWriterConfig {
  String Folder;
  String Text1, Text2, Text3;
  int MaxSpeed = 0;
  bool BurnProof = false;
  bool CanErase = false;
  // Paces writing at speed x 75 blocks a second, as a real writer would.
  bool Realtime = false;
  // Faults: refuse every start; fail with device code FailWith once FailAfterBlocks
  // blocks are written; fail every erase.
  bool RefuseStart = false;
  int FailAfterBlocks = -1;
  int FailWith = 1005;
  bool FailErase = false;
  // Ejecting puts a blank disc of the same kind back (demos, disc sets in tests).
  bool InsertBlankAfterEject = false;
};

// The disc in the drive, as GetDiscStatus tells it.
enum class TDiscStatus { Empty = 0, Incomplete = 1, Complete = 2, Other = 3 };

// The kinds of disc GetDiscType names; a writer may report others.
enum class TDiscType { CdDaOrCdRom = 0, Cdi = 16, CdRomXa = 32, Unknown = 255 };

// The disc's last session, as GetLastSessionStatus tells it.
enum class TSessionStatus { Empty = 0, Incomplete = 1, Unknown = 2, Closed = 3 };

// What HasCapability is asked about.
enum class TWriterCapability { EraseDisc = 7 };

// The writers listed in a configuration file; none when it is missing.
std::vector<TDiscWriterConfig> ReadDiscWriterConfig(const String& fileName);

using TDiscWriterTrackEvent = TEvent<void(TObject* Sender, short Track, int Blocks)>;
using TDiscWriterStatusEvent = TEvent<void(TObject* Sender, short Track, int BlocksWritten, short DeviceBufferUsed)>;
using TDiscWriterErrorEvent = TEvent<void(TObject* Sender, int WriteError, int DeviceError)>;
using TDiscWriterShortEvent = TEvent<void(TObject* Sender, short Value)>;
using TDiscWriterIntEvent = TEvent<void(TObject* Sender, int Value)>;
using TDiscWriterAudioEvent = TEvent<void(TObject* Sender, const std::wstring& FileName, int TrackFormat,
                                          int TotalSizeBlocks, int TotalSizeBytes, short TrackNumber)>;
using TDiscWriterItemEvent =
    TEvent<void(TObject* Sender, const std::wstring& ParentDestPath, const std::wstring& ItemDestPath,
                const std::wstring& ItemName, const std::wstring& SourceFilePath, bool IsDirectory,
                TDateTime FileDate, int FileSize)>;
using TDiscWriterRemovedEvent =
    TEvent<void(TObject* Sender, const std::wstring& DestinationPath, const std::wstring& ItemName, bool IsDirectory)>;
using TDiscWriterRenamedEvent = TEvent<void(TObject* Sender, const std::wstring& OldDestPath,
                                            const std::wstring& NewDestPath, const std::wstring& NewItemName,
                                            bool IsDirectory)>;
using TDiscWriterPathEvent = TEvent<void(TObject* Sender, const std::wstring& OldDestPath,
                                         const std::wstring& NewDestPath, bool IsDirectory)>;
using TDiscWriterFileErrorEvent = TEvent<void(TObject* Sender, int FileError, const std::wstring& FileName)>;
using TDiscWriterReplaceEvent = TEvent<void(TObject* Sender, const std::wstring& DestPath,
                                            const std::wstring& NewSourcePath, const std::wstring& FileName,
                                            bool& ReplaceFile)>;

class TDiscWriterX : public TWinControl {
 public:
  explicit TDiscWriterX(TComponent* AOwner);
  ~TDiscWriterX() override;

  // DiscWriterX.ini beside the program unless a test points elsewhere; read when a
  // control is made.
  static String ConfigurationFile();
  static void SetConfigurationFile(const String& fileName);

  bool TestWrite = false;
  bool CacheDataTrack = false;
  bool CloseDisc = false;
  bool CloseSession = true;
  int WriteType = 1;
  bool Joliet = true;
  bool UseISOLevel1Filenames = false;
  const std::wstring& VolumeIdentifier() const { return image_.VolumeIdentifier(); }
  void SetVolumeIdentifier(const std::wstring& value) { image_.SetVolumeIdentifier(value); }

  std::wstring GetVersion() const;
  // Why the last write failed with device error 1051, or why the last AddFile or
  // StartWrite was refused.
  std::wstring GetExtendedError() const;
  short GetDeviceCount() const { return static_cast<short>(writers_.size()); }
  std::wstring GetDeviceText1(short Index) const;
  std::wstring GetDeviceText2(short Index) const;
  std::wstring GetDeviceText3(short Index) const;
  bool SelectDevice(short Index);
  bool EjectDisc();
  bool PrepareDevice() { return selected_ >= 0; }
  bool ReleaseDevice() { return selected_ >= 0; }
  bool IsDriveReady() const;
  bool StartWrite();
  bool EraseDisc(bool Quick);
  bool CloseLastSession(bool CloseDisc);
  bool SetWriteSpeed(short Speed);
  short GetMaxWriteSpeed() const;
  void AbortWrite() { abort_ = true; }
  bool HasCapability(TWriterCapability Capability) const;
  TDiscStatus GetDiscStatus() const;
  TDiscType GetDiscType() const;
  bool IsDiscErasable() const;
  int GetFreeBlocks(int Kind) const;
  int BlocksToBytes(int Blocks, int Kind) const;
  short GetSessionCount() const;
  TSessionStatus GetLastSessionStatus() const;
  void ClearImage();
  int GetImageBlocks() const;
  int GetImageFileCount() const { return image_.FileCount(); }
  bool AddFile(const std::wstring& DiscPath, const std::wstring& SourcePath);
  bool RemoveItem(const std::wstring& DiscPath);
  bool SetBurnProof(bool Enable);
  bool IsBurnProofSupported() const;

  // True while a write or an erase runs on the worker.
  bool Busy() const { return running_; }

  TNotifyEvent OnClosingDisc;
  TNotifyEvent OnClosingSession;
  TNotifyEvent OnErasingDisc;
  TNotifyEvent OnEraseComplete;
  TNotifyEvent OnWritingCancelled;
  TNotifyEvent OnWritingComplete;
  TNotifyEvent OnPreparingToWrite;
  TNotifyEvent OnCreatingDirectories;
  TDiscWriterTrackEvent OnTrackWriteStart;
  TDiscWriterStatusEvent OnTrackWriteStatus;
  TDiscWriterErrorEvent OnWriteError;
  TDiscWriterShortEvent OnClosingTrack;
  TDiscWriterShortEvent OnReadBufferStatus;
  TDiscWriterTrackEvent OnCachingTrack;
  TDiscWriterIntEvent OnCachingTrackStatus;
  TDiscWriterIntEvent OnReadingFile;
  TDiscWriterAudioEvent OnEnumAudioTrack;
  TDiscWriterItemEvent OnISOItemAdded;
  TDiscWriterRemovedEvent OnISOItemRemoved;
  TDiscWriterRenamedEvent OnISOItemRenamed;
  TDiscWriterPathEvent OnISODestPathChanged;
  TDiscWriterItemEvent OnEnumISOItems;
  TDiscWriterFileErrorEvent OnTrackFileError;
  TNotifyEvent OnISOImageReset;
  TDiscWriterReplaceEvent OnReplaceImportedISOFile;

 protected:
  void CreateParams(TCreateParams& Params) override;

 private:
  struct TSession {
    String Path;
    int64_t Blocks = 0;
    bool Complete = false;
  };
  struct TWriteJob;

  const TDiscWriterConfig* Writer() const;
  String DiscFile() const;
  std::vector<TSession> Sessions() const;
  int64_t Capacity() const;

  // Queues an event for the GUI thread; delivered at once when called there outside
  // a handler. The worker waits until the handler has run, unless told not to.
  void Raise(std::function<void()> event, bool waitForHandler = true);
  void Deliver();
  // False, with the reason in the extended error, when the window cannot be made.
  bool MakeEventWindow();
  void EventWindowProc(TMessage& Message);
  void Finish(std::function<void()> lastEvent);
  void JoinWorker();
  void RunWrite(const TWriteJob& job);
  void RunErase(bool fail);

  std::vector<TDiscWriterConfig> writers_;
  int selected_ = -1;
  short speed_ = 0;
  bool burnProof_ = false;
  TIsoImage image_;
  std::wstring extendedError_;

  HWND eventWindow_ = nullptr;
  std::mutex eventsLock_;
  std::condition_variable handled_;
  std::deque<std::function<void()>> events_;
  uint64_t raised_ = 0;
  uint64_t delivered_ = 0;
  bool stopping_ = false;
  bool delivering_ = false;

  std::thread worker_;
  std::atomic<bool> running_{false};
  std::atomic<bool> abort_{false};
};
