// TfrmBurn: the modal dialog that writes every recovered file to CD through the
// writer control, spanning the files over several discs when they need more than
// one, and erases rewritable discs or closes an open session.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/DiscPlan.h"
#include "framework/core/datetime.h"
#include "framework/gui/forms.h"
#include "outside/DiscWriterX.h"
#include "skin/dialogs/ksMessages.h"

class TksSkinButton;
class TksSkinCheckRadioBox;
class TksSkinComboBox;
class TksSkinEdit;
class TksSkinForm;
class TksSkinGauge;
class TksSkinGroupBox;
class TksSkinStatusPanel;
class TksSkinStdLabel;
class TTimer;

// What the dialog is doing with the writer.
enum class TBurnOperation : uint8_t { Writing, Erasing, ClosingSession, None };

class TfrmBurn : public TForm {
 public:
  explicit TfrmBurn(TComponent* AOwner);
  ~TfrmBurn() override;

  TksSkinForm* ksSkinForm1;
  TksSkinStdLabel* lblCDWriter;
  TksSkinComboBox* cboDrives;
  TksSkinStdLabel* lblWriteSpeed;
  TksSkinComboBox* cboSpeeds;
  TksSkinCheckRadioBox* chkBurnProof;
  TksSkinStdLabel* lblCDVolume;
  TksSkinEdit* txtVolumeID;
  TksSkinGroupBox* grpInfo;
  TksSkinStdLabel *lblFileCount, *lblFiles;
  TksSkinStdLabel *lblImageSize, *lblSize;
  TksSkinStdLabel *lblSessionNo, *lblSessions;
  TksSkinStdLabel *lblLastSessionStatus, *lblSessionStatus;
  TksSkinStdLabel *lblDiskType, *lblDiscType;
  TksSkinStdLabel *lblDiskStatus, *lblDiscStatus;
  TksSkinStdLabel *lblFreeSpace, *lblFreeBlocks;
  TksSkinStdLabel* lblCDNumber;
  TksSkinStdLabel* lblReadBuffer;
  TksSkinGauge* pbReadBuffer;
  TksSkinStdLabel* lblWriteBuffer;
  TksSkinGauge* pbDeviceBuffer;
  TksSkinStdLabel* lblTracksWritten;
  TksSkinGauge* pbTrack;
  TksSkinStdLabel* lblTotalWritten;
  TksSkinGauge* pbTotal;
  TksSkinButton* btnCompleteSession;
  TksSkinButton* btnStop;
  TksSkinButton* btnEraseCD;
  TksSkinButton* btnStart;
  TksSkinStatusPanel* pnlStatus;
  TTimer* tmrDiscInfo;

  TDiscWriterX* CDWriter = nullptr;
  int SelectedDevice = -1;
  bool Idle = true;
  bool CreateFailed = false;
  bool NoWriter = false;
  TBurnOperation Operation = TBurnOperation::None;
  std::vector<TPendingFile> PendingFiles;
  // Files the writer would not take, each "name: why"; shown once while the dialog is open.
  std::vector<String> RefusedFiles;
  int FilesOnDisc = 0;
  int DiscNumber = 0;
  bool Spanning = false;
  // Sizes in bytes are 64-bit: a recovered set may pass 4 GiB.
  int64_t ImageBytes = 0;
  int64_t ImageBlocks = 0;
  int64_t FreeBytes = 0;
  int64_t LastFreeBytes = 0;
  TDiscStatus LastDiscStatus = TDiscStatus::Empty;
  TDiscType LastDiscType = TDiscType::CdDaOrCdRom;
  TSessionStatus LastSessionStatus = TSessionStatus::Empty;
  int BlocksToCache = 0;
  int BlocksToWrite = 0;
  int64_t TotalBlocksWritten = 0;
  int LastBlocksWritten = 0;

  void FormCreate(TObject* Sender);
  void FormActivate(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);
  void FormDestroy(TObject* Sender);
  void FormMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
  void cboDrivesChange(TObject* Sender);
  void cboSpeedsClick(TObject* Sender);
  void btnStartClick(TObject* Sender);
  void btnEraseCDClick(TObject* Sender);
  void btnCompleteSessionClick(TObject* Sender);
  void btnStopClick(TObject* Sender);
  void tmrDiscInfoTimer(TObject* Sender);

  void EnableControls();
  void DisableControls();
  void ShowProgressControls(bool show);
  void CollectFiles();
  bool FitsOnDisc();
  void BuildDiscImage();
  bool UseCacheDataTrack();
  void FillSpeeds();

  // The writer's events.
  void CDWriterClosingDisc(TObject* Sender);
  void CDWriterClosingSession(TObject* Sender);
  void CDWriterErasingDisc(TObject* Sender);
  void CDWriterEraseComplete(TObject* Sender);
  void CDWriterWritingCancelled(TObject* Sender);
  void CDWriterWritingComplete(TObject* Sender);
  void CDWriterPreparingToWrite(TObject* Sender);
  void CDWriterCreatingDirectories(TObject* Sender);
  void CDWriterTrackWriteStart(TObject* Sender, short Track, int BlocksToWrite);
  void CDWriterTrackWriteStatus(TObject* Sender, short Track, int BlocksWritten, short DeviceBufferUsed);
  void CDWriterWriteError(TObject* Sender, int WriteError, int DeviceError);
  void CDWriterClosingTrack(TObject* Sender, short Track);
  void CDWriterReadBufferStatus(TObject* Sender, short ReadBufferUsed);
  void CDWriterCachingTrack(TObject* Sender, short Track, int BlocksToCache);
  void CDWriterCachingTrackStatus(TObject* Sender, int BlocksCached);
  void CDWriterReadingFile(TObject* Sender, int FileIndex);
  void CDWriterEnumAudioTrack(TObject* Sender, const std::wstring& FileName, int TrackFormat, int TotalSizeBlocks,
                              int TotalSizeBytes, short TrackNumber);
  void CDWriterISOItemAdded(TObject* Sender, const std::wstring& ParentDestPath, const std::wstring& ItemDestPath,
                            const std::wstring& ItemName, const std::wstring& SourceFilePath, bool IsDirectory,
                            TDateTime FileDate, int FileSize);
  void CDWriterISOItemRemoved(TObject* Sender, const std::wstring& DestinationPath, const std::wstring& ItemName,
                              bool IsDirectory);
  void CDWriterISOItemRenamed(TObject* Sender, const std::wstring& OldDestPath, const std::wstring& NewDestPath,
                              const std::wstring& NewItemName, bool IsDirectory);
  void CDWriterISODestPathChanged(TObject* Sender, const std::wstring& OldDestPath, const std::wstring& NewDestPath,
                                  bool IsDirectory);
  void CDWriterEnumISOItems(TObject* Sender, const std::wstring& ParentDestPath, const std::wstring& ItemDestPath,
                            const std::wstring& ItemName, const std::wstring& SourceFilePath, bool IsDirectory,
                            TDateTime FileDate, int FileSize);
  void CDWriterTrackFileError(TObject* Sender, int FileError, const std::wstring& FileName);
  void CDWriterISOImageReset(TObject* Sender);
  void CDWriterReplaceImportedISOFile(TObject* Sender, const std::wstring& DestPath,
                                      const std::wstring& NewSourcePath, const std::wstring& FileName,
                                      bool& ReplaceFile);

 private:
  void CreateControls();
  void BindWriterEvents();
  void FillWriters();
  void SetControlsEnabled(bool enabled);
  void SetStatus(const String& text);
  int Message(const String& text, TksMessageType type = ksmtInformation,
              TksMessageButtons buttons = {ksmbOK});
  // The image's size in bytes, in 64 bits.
  int64_t ImageSizeBytes() const;
  // Adds the nth waiting file to the image; the image's size then.
  int64_t AddToImage(size_t n);
  int64_t DiscFreeBytes() const;
  // Ends a burn, erase or set that can go no further: the dialog may close again.
  void EndOperation();

  // The writer's reason appended to a text, when it gave one.
  String WithWriterReason(const String& text) const;
  // Tells once per opening which files were left out.
  void ShowRefusedFiles();

  bool activating_ = false;
  bool refusalsShown_ = false;
};
