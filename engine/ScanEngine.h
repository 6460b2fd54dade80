// The one recovery engine of the program: sector access on both Windows families, drive
// records, the FAT reader and the passes, reporting through its event slots.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/DriveInformation.h"
#include "engine/FAT.h"
#include "engine/FoundFiles.h"
#include "engine/STD_LIST.h"
#include "engine/SectorAccess.h"
#include "framework/core/delegate.h"
#include "framework/core/lists.h"
#include "framework/core/sysutils.h"

class TCustomForm;
class TSESupportedFileType;
class TSESystemInformation;
class TWindowSubclass;
struct TMessage;

using TSEDriveEvent = TEvent<void(TObject* Sender, const String& Drives)>;
using TSEProgressEvent = TEvent<void(TObject* Sender, int32_t Position)>;
using TSEFinishedEvent = TEvent<void(uint8_t Code)>;
using TSESectorErrorEvent = TEvent<void(int32_t Sector, int32_t Kind)>;
using TSEErrorEvent = TEvent<void(int32_t Code, const String& Text)>;
using TSEFileFoundEvent = TEvent<void(TObject* Sender, TSESupportedFileType* FileType)>;
using TSEFileSavedEvent = TEvent<void(const String& FileName)>;
using TSECountEvent = TEvent<void(int32_t Count)>;

inline constexpr size_t SectorBufferSize = 1048576;

// The platform an engine runs on: its Windows family and the calls its sector access
// makes. A null call set means the running system's.
struct TSEPlatform {
  uint8_t VersionCode = 0;  // 1 Win95, 2 98, 3 98 SE, 4 ME, 5 NT 4, 6 2000, 7 XP, 0 other
  bool IsNT = false;
  bool Fat32Capable9x = false;
  TVolumeCalls* Volumes = nullptr;
  TVxdCalls* Vxd = nullptr;

  // The running system's platform.
  static TSEPlatform OfSystem();
  // The version code and families of a version record.
  static TSEPlatform FromVersion(const OSVERSIONINFOA& version);
};

class TScanEngine : public TObject {
 public:
  // The program's engine: refuses Windows 95 and NT 4, makes the system report, binds the
  // correction library and watches the owner's window for cards coming and going. Raises
  // when any of that fails.
  explicit TScanEngine(TCustomForm* owner);
  // An engine without owner window, library binding or system report: sector access,
  // drive records and the FAT reader on the given platform. On the 98 family it opens
  // the VWIN32 device and raises when that fails.
  explicit TScanEngine(const TSEPlatform& platform);
  ~TScanEngine() override;
  TScanEngine(const TScanEngine&) = delete;
  TScanEngine& operator=(const TScanEngine&) = delete;

  // Objects are large (the sector buffer is inline): make them on the heap only.
  static std::unique_ptr<TScanEngine> Make(const TSEPlatform& platform) {
    return std::make_unique<TScanEngine>(platform);
  }

  // --- state the dialogs read ---
  TCustomForm* OwnerForm = nullptr;
  HWND OwnerHandle = reinterpret_cast<HWND>(static_cast<intptr_t>(-1));
  std::unique_ptr<TSESystemInformation> SystemInformation;
  uint32_t MajorVersion = 0, MinorVersion = 0, Release = 0, Build = 0;
  bool UseVxd = true;
  bool Fat32Capable9x = false;
  bool IsNT = false;
  uint8_t WindowsVersion = 0;
  String ProgramFolder;
  String DestinationFolder;
  uint32_t RetryCount = 3;
  bool Busy = false;
  bool StopRequested = false;
  bool Aborted = false;
  bool Paused = false;
  bool ScanEnd = false;
  TSEDriveInformation* CurrentDrive = nullptr;
  uint32_t LastError = 0;

  // --- sector access ---
  TDeviceHandle<TVolumeCalls> VolumeHandle;
  uint8_t VolumeHandleDrive = 0;
  uint8_t VolumeHandleMode = 0;  // 1 read, 0 write
  uint8_t SectorShift = 9;
  TDeviceHandle<TVxdCalls> VxdHandle;
  HANDLE CdHandle = INVALID_HANDLE_VALUE;  // no operation opens it
  std::unique_ptr<uint8_t[]> TransferBuffer;
  std::array<uint8_t, SectorBufferSize> SectorBuffer{};
  bool KeepInSectorBuffer = false;
  uint32_t TransferStart = 0;
  uint16_t TransferCount = 0;

  std::unique_ptr<TSEFAT> FATReader;
  bool FATReady = false;
  std::vector<uint32_t> FAT1Table;
  std::vector<uint32_t> FAT2Table;

  TSESupportedFileType* CurrentType = nullptr;
  // Carving state; it outlives a pass (Carving.cpp).
  uint32_t CurrentSector = 0;
  bool OutputOpen = false;
  HANDLE OutputHandle = INVALID_HANDLE_VALUE;
  uint32_t OutputStartSector = 0;
  String OutputPath;
  uint32_t BytesWritten = 0;
  bool Seen87 = false;
  uint32_t Count87 = 0;
  bool PreviewEnabled = false;

  TSEClassList Drives;             // TSEDriveInformation, one per letter asked for
  TSEClassList SupportedFileTypes;  // TSESupportedFileType
  TSEClassList RAWFiles;            // TSERAWFile

  TSEDriveEvent OnDiscArrive;
  TSEDriveEvent OnDiscRemoval;
  TSEProgressEvent OnProgress;
  TSEFinishedEvent OnFinished;
  TSESectorErrorEvent OnReadError;
  TSESectorErrorEvent OnWriteError;
  TSEErrorEvent OnError;
  TSEFileFoundEvent OnFileFound;
  TSEFileSavedEvent OnFATFileSaved;
  TSEFileSavedEvent OnRAWFileSaved;
  TSECountEvent OnFATFileCount;
  TSECountEvent OnRestoreSectorCount;

  // --- control ---
  void Cancel() { StopRequested = true; }
  void Abort() { Aborted = true; }
  void Pause() { Paused = true; }
  void Resume() { Paused = false; }
  bool IsBusy() const { return Busy; }
  uint32_t TakeLastError();
  // Pumps messages, waits while paused; true when the running operation is to stop.
  bool CheckStop();
  // While Paused: sleeps Interval ms at a time and pumps messages, so that the dialog's
  // buttons work; Cancel or Abort end the wait. True when either of them is set.
  bool WaitWhilePaused(uint32_t Interval);
  // The same for the loops that Abort does not end (the DezoDozi pass, backups, saving a
  // file by its chain): only Cancel ends the wait. True when it is set.
  bool WaitWhilePausedUntilCancel(uint32_t Interval);

  // --- sector access (SectorAccess.cpp) ---
  bool ReadSectors();
  bool WriteSectors();
  bool GetGeometry(uint8_t driveNumber, TDriveGeometry& geometry);
  bool IsCDDrive(uint8_t driveNumber);
  void CloseVolume() { VolumeHandle.Close(); }
  uint8_t* EnsureTransferBuffer();

  // --- drive records (DriveInformation.cpp) ---
  bool GetDriveSelectedInformation(const String& drive, TSEDriveInformation*& info);
  TSEDriveInformation* FindDriveInformation(char drive);
  void ReadCDSizes(TSEDriveInformation& record);
  uint32_t ProbeDriveSize(TSEDriveInformation& record);

  // --- found lists and FAT tables (FATDirectory.cpp) ---
  bool RegisterDirectory(TSEDirectory* directory);
  bool RegisterFile(TSEFile* file);
  void ReadClusterChains();

  // --- start-up, output folder, counts and version (OutputFolder.cpp) ---
  void Initialize();
  void SetDestinationFolder(const String& Folder);
  String GetDestinationFolder();
  uint32_t CountRecoveredFiles();
  void ReadOwnVersion();

  // --- file-type table (FileTypes.cpp) ---
  void LoadSupportedFileTypes();
  void LoadTypeSelection();
  void SaveTypeSelection();
  // True, the error logged and reported, when the table holds no type: a pass then has
  // nothing to look for and does not run.
  bool RefuseWithoutFileTypes();
  uint16_t FileTypeOfExtension(const String& Ext) const;
  bool IsTypeSelected(const String& Ext) const;

  // --- the output folder's files (OutputFile.cpp) ---
  // A recovered file that could not be saved, for the error and the cause: logged by its
  // path, and reported as a write error at the sector where it begins on the card.
  void ReportUnsavedFile(const String& path, DWORD error, uint32_t sector);

  // --- carving (Carving.cpp) ---
  void CarveBuffer();
  void RegisterRAWFile();
  int32_t CorrectRecoveredFile(TSESupportedFileType* type, const String& path);
  // Closes, reports and corrects the file a run still has open.
  void CloseOutputFile();
  // The open file of a run whose write failed: closed, deleted, logged and forgotten; the
  // run goes on without file.
  void DropOutputFile();

  // --- the DuvidAziz pass (DuvidAziz.cpp) ---
  void PreScan(char Drive);
  bool SaveAllFiles();
  // Saves the file by its chain under its name, or the next free numbered one, which
  // file.Name then holds. A save that does not finish leaves its shorter file unless
  // keepCutShort is off.
  bool SaveFATFileEXT(TSEFile& file, const String& folder, bool keepCutShort = true);

  // --- the DezoDozi pass and re-extraction (DezoDozi.cpp, ReExtraction.cpp) ---
  void ScanDrive(char Drive);
  // Reads the transfer; a failed multi-sector read is retried sector by sector, so that
  // only the sectors failing alone are zero-filled and reported. The number of those.
  // Every failure goes through the read-error policy; one that ends the pass leaves in
  // TransferCount the sectors still to carve.
  uint32_t ReadTransferSalvaging();
  // The read-error policy of the DezoDozi pass for a failed read's error; true ends it.
  bool ReadErrorEndsPass(uint32_t error);
  // The policy for the last failed read: ScanEnd is set when it ends the pass.
  bool ReadFailureEndsPass();
  void ReExtractFragmentedHits();
  void DissectCarvedJPEGs();
  void DissectJPEGFile(const String& FileName);

  // --- card backup, restore and erase (CardBackup.cpp, SecureErase.cpp) ---
  // Copies every sector of CurrentDrive into Folder + Name + ".KV3". The file of that
  // name is replaced only by a whole copy; false, and nothing changed in the folder,
  // when the copy is refused, fails or is cancelled.
  bool BackupCard(const String& Name, const String& Folder);
  // Writes a ".KV3" file back onto the drive whose letter starts Drive.
  bool RestoreCard(const String& FileName, const String& Drive);
  // Empty FATs on a FAT volume, zeros everywhere else but the boot sector.
  bool SecureErase(char Drive);

  // --- cards coming and going ---
  // Watches a window's device-change messages until the engine dies or is unhooked.
  void HookOwnerWindow(HWND window);
  void UnhookOwnerWindow();
  // The lowest drive letter of a unit mask ("D" for D and E); empty for no unit.
  static String UnitMaskToDriveLetter(uint32_t mask);

  // Lets the program's windows work while an operation runs: input at once, paints and
  // the rest a few times a second.
  static void ProcessMessages();
  // The next ProcessMessages looks at the queue and pumps whatever waits.
  static void RestartMessagePacing();

 protected:
  TVolumeCalls& Volumes() { return *volumes_; }
  TVxdCalls& Vxd() { return *vxd_; }

 private:
  // Writes the header and every sector of CurrentDrive into a file; true when all went.
  bool CopyCardInto(HANDLE file, const String& fileName);
  bool OpenVolume(uint8_t driveNumber, uint8_t mode);
  bool SeekVolume();
  bool TransferFits() const;
  bool ReadSectorsNT();
  bool WriteSectorsNT();
  bool CallVxdTransfer(uint32_t command, uint8_t* buffer);
  bool ReadSectors9x();
  bool WriteSectors9x();
  bool ReadCDSectors9x();
  bool GetGeometryNT(uint8_t driveNumber, TDriveGeometry& geometry);
  bool GetGeometry9x(uint8_t driveNumber, TDriveGeometry& geometry);
  bool GeometryFromDeviceSize(uint8_t driveNumber, TDriveGeometry& geometry);
  void RetireDrive(char drive);
  void SetUpPlatform(const TSEPlatform& platform);
  void OwnerWindowProc(TWindowSubclass& hook, TMessage& message);
  bool SleepWhilePaused(uint32_t Interval, bool abortEnds);

  TVolumeCalls* volumes_ = nullptr;
  TVxdCalls* vxd_ = nullptr;
  // Records replaced by a newer one of the same letter: a dialog may still hold them.
  TSEClassList retiredDrives_;
  std::unique_ptr<TWindowSubclass> ownerHook_;
};
