// TfrmRecovery: the progress dialog of one recovery. RunRecovery drives the engine's two
// passes on the GUI thread; the engine's events move the gauge, count what was found and
// feed the film strip.
#pragma once

#include <cstdint>

#include "app/Forms.h"
#include "app/TextIds.h"
#include "engine/DriveInformation.h"
#include "framework/gui/extctrls.h"
#include "framework/gui/forms.h"
#include "framework/gui/timer.h"
#include "skin/dialogs/ksMessages.h"

class TFilmStrip;
class TksSkinButton;
class TksSkinForm;
class TksSkinGauge;
class TksSkinLinkLabel;
class TksSkinStdLabel;
class TSESupportedFileType;
class TScanEngine;

class TfrmRecovery : public TForm {
 public:
  explicit TfrmRecovery(TComponent* AOwner);

  // Called with the dialog shown and the main window disabled; returns when the run is over.
  void RunRecovery();
  void SetCaptions();
  void ShowMediaInfo();

  // --- handlers
  void FormCreate(TObject* Sender);
  void FormShow(TObject* Sender);
  void FormActivate(TObject* Sender);
  void FormDeactivate(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);
  void FormDestroy(TObject* Sender);
  void btnCancelClick(TObject* Sender);
  void btnPauseResumeClick(TObject* Sender);
  void btnPreviewImageClick(TObject* Sender);
  void hlDirectoryClick(TObject* Sender);
  void tmrDialogTimer(TObject* Sender);
  void btnCancelMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
  void btnPauseResumeMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);

  // --- engine events
  void EngineProgress(TObject* Sender, int32_t Position);
  void EngineFinished(uint8_t Code);
  void EngineReadError(int32_t Sector, int32_t Kind);
  void EngineWriteError(int32_t Sector, int32_t Kind);
  void EngineError(int32_t Code, const String& Text);
  void EngineDiscArrive(TObject* Sender, const String& Drives);
  void EngineDiscRemoval(TObject* Sender, const String& Drives);
  void EngineFileFound(TObject* Sender, TSESupportedFileType* FileType);
  void EngineFATFileSaved(const String& FileName);
  void EngineRAWFileSaved(const String& FileName);
  void EngineFATFileCount(int32_t Count);
  // The gauge's range for the deep scan of a drive of SectorCount sectors.
  void SetSectorGauge(uint32_t SectorCount);

  // --- state
  TFilmStrip* FilmStrip = nullptr;
  bool PreviewOn = false;
  bool CanClose = true;
  char DriveLetter = 0;
  TSEDriveInformation* DriveInfo = nullptr;  // the engine's
  int ReadErrors = 0;  // unreadable sectors and files that could not be saved
  int FilesFound = 0;
  int DuvidAzizFiles = 0;
  int DezoDoziFiles = 0;
  bool ViewNow = false;
  bool Cancelled = false;
  // Between the start of RunRecovery and its end.
  bool Running() const { return running_; }

  // --- components
  TksSkinStdLabel* lblMediaName;
  TksSkinStdLabel* lblMediaText;
  TksSkinStdLabel* lblCapacityName;
  TksSkinStdLabel* lblCapacityText;
  TksSkinStdLabel* lblTypeName;
  TksSkinStdLabel* lblFileTypeText;
  TksSkinStdLabel* lblFilesFoundName;
  TksSkinStdLabel* lblFilesFoundText;
  TBevel* bvlPreview;
  TShape* PreviewShape;
  TImage* imgPreview;
  TksSkinButton* btnPreviewImage;
  TksSkinGauge* pbProgress;
  TksSkinStdLabel* lblFileRecoveredName;
  TksSkinStdLabel* lblFileRecoveredText;
  TksSkinStdLabel* lblReadErrorsName;
  TksSkinStdLabel* lblReadErrorsText;
  TksSkinLinkLabel* hlDirectory;
  TksSkinButton* btnPauseResume;
  TksSkinButton* btnCancel;
  TTimer* tmrDialog;
  TksSkinForm* ksRecovery;

 private:
  void BuildControls();
  void BindEngineEvents();
  void ClearEngineEvents();
  void ClearPreview();
  void MoveGauge(int Value);
  // One more error of the run: an unreadable sector or a file that could not be saved.
  void CountError();
  void QueuePreview(const String& FileName);
  int Ask(TextId Text, TksMessageType Type, bool YesNo);
  void ShowPending();
  void RunQuickScan();
  void RunDeepScan();
  // The program is to close once the run returns.
  static bool ProgramClosing();

  bool running_ = false;
  // The passes had no file type to look for.
  bool noFileTypes_ = false;
  // The gauge's value as the engine moved it; the bar may show an earlier one.
  int gaugeValue_ = 0;
  // The deep scan's sectors per gauge step, as a shift; 0 in the quick scan.
  int sectorShift_ = 0;
};

// The selected file categories of the engine's types, as the dialog shows them: images,
// data, sound, video, comma-separated; empty when none is selected.
String CategoryLine(const TScanEngine& Engine);

// Where a window W goes so that it leaves the preview P free: its new top-left corner, or
// W's own when it does not cover the preview.
TPoint QuestionPlace(const TRect& W, const TRect& P);
