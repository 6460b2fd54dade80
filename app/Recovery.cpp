#include "app/Recovery.h"

#include <windows.h>

#include <algorithm>

#include "app/FilmStrip.h"
#include "app/GenericWait.h"
#include "app/MainForm.h"
#include "app/Place.h"
#include "app/Texts.h"
#include "engine/Debug.h"
#include "engine/FileTypes.h"
#include "engine/PassFolders.h"
#include "engine/ScanEngine.h"
#include "engine/Utils.h"
#include "framework/core/fileutils.h"
#include "framework/core/seams.h"
#include "framework/core/thread.h"
#include "framework/core/widetext.h"
#include "framework/gui/application.h"
#include "framework/gui/screen.h"
#include "skin/controls/ksSkinCtrls.h"
#include "skin/controls/ksSkinGauge.h"
#include "skin/controls/ksSkinLabels.h"
#include "skin/controls/ksSkinLinkLabel.h"
#include "skin/dialogs/ksMessages.h"
#include "skin/frame/ksSkinForm.h"

namespace {

TScanEngine& Engine() { return *frmMain->Engine; }

TksSkinStdLabel* Label(TfrmRecovery* form, int left, int top) {
  auto* label = Place<TksSkinStdLabel>(form, left, top);
  label->SkinDataName = "stdlabel";
  return label;
}

TksSkinButton* Button(TfrmRecovery* form, int left, int top) {
  auto* button = Place<TksSkinButton>(form, left, top, 107, 25);
  button->SetSkinDataName("button");
  return button;
}

String CountText(int n) { return IntToStr(n); }

// Runs its step when the scope ends, by an exception too: what a pass does whatever happens.
template <class F>
class TAtExit {
 public:
  explicit TAtExit(F step) : step_(std::move(step)) {}
  ~TAtExit() { step_(); }
  TAtExit(const TAtExit&) = delete;
  TAtExit& operator=(const TAtExit&) = delete;

 private:
  F step_;
};

}  // namespace

String CategoryLine(const TScanEngine& Engine) {
  bool present[5] = {};
  for (int i = 0; i < Engine.SupportedFileTypes.Count(); ++i) {
    const auto* type = static_cast<const TSESupportedFileType*>(Engine.SupportedFileTypes.Objects(i));
    if (type->Selected && type->Type >= 1 && type->Type <= 4) present[type->Type] = true;
  }
  // Images, data, sound, video: the order the user reads them in, not the kinds' numbers.
  String line;
  for (const int kind : {1, 4, 3, 2}) {
    if (!present[kind]) continue;
    if (!line.empty()) line += ",";
    line += LangText(CategoryText(kind));
  }
  return line;
}

TPoint QuestionPlace(const TRect& W, const TRect& P) {
  auto within = [](int v, int low, int high) { return v >= low && v <= high; };
  const bool covers = within(W.Top, P.Top, P.Bottom) || within(W.Bottom, P.Top, P.Bottom) ||
                      within(W.Left, P.Left, P.Right) || within(W.Right, P.Left, P.Right);
  if (!covers) return {W.Left, W.Top};
  const int height = W.Bottom - W.Top;
  int top = P.Top - height + 50;
  if (top < 0) top = P.Bottom + height - 50;
  return {W.Left, top};
}

TfrmRecovery::TfrmRecovery(TComponent* AOwner) : TForm(AOwner) {
  SetBorderStyle(bsDialog);
  SetBorderIcons(0);
  SetFormStyle(fsStayOnTop);
  Position = poScreenCenter;
  SetClientWidth(539);
  SetClientHeight(357);
  BuildControls();
  OnCreate = Bind<&TfrmRecovery::FormCreate>(this);
  OnShow = Bind<&TfrmRecovery::FormShow>(this);
  OnActivate = Bind<&TfrmRecovery::FormActivate>(this);
  OnDeactivate = Bind<&TfrmRecovery::FormDeactivate>(this);
  OnClose = Bind<&TfrmRecovery::FormClose>(this);
  OnDestroy = Bind<&TfrmRecovery::FormDestroy>(this);
}

void TfrmRecovery::BuildControls() {
  TksSkinData* skin = frmMain ? frmMain->ksCompSkin : nullptr;

  lblMediaName = Label(this, 16, 8);
  lblMediaText = Label(this, 104, 8);
  lblCapacityName = Label(this, 16, 24);
  lblCapacityText = Label(this, 104, 24);
  lblTypeName = Label(this, 16, 40);
  lblFileTypeText = Label(this, 104, 40);
  lblFilesFoundName = Label(this, 428, 8);
  lblFilesFoundText = Label(this, 468, 24);

  bvlPreview = Place<TBevel>(this, 165, 61, 191, 166);
  PreviewShape = Place<TShape>(this, 168, 64, 185, 161);
  PreviewShape->Brush()->SetColor(clBlack);
  imgPreview = Place<TImage>(this, 176, 72, 169, 145);
  imgPreview->SetStretch(true);

  btnPreviewImage = Button(this, 32, 120);
  btnPreviewImage->OnClick = Bind<&TfrmRecovery::btnPreviewImageClick>(this);

  pbProgress = Place<TksSkinGauge>(this, 16, 232, 481, 20);
  pbProgress->SetSkinDataName("gauge");
  pbProgress->SetShowPercent(true);
  pbProgress->SetShowProgressText(false);
  pbProgress->PaintOnPump = true;

  lblFileRecoveredName = Label(this, 16, 256);
  lblFileRecoveredText = Label(this, 16, 272);
  lblReadErrorsName = Label(this, 372, 256);
  lblReadErrorsText = Label(this, 412, 256);

  hlDirectory = Place<TksSkinLinkLabel>(this, 16, 288);
  hlDirectory->OnClick = Bind<&TfrmRecovery::hlDirectoryClick>(this);

  btnPauseResume = Button(this, 280, 280);
  btnPauseResume->SetEnabled(false);
  btnPauseResume->OnClick = Bind<&TfrmRecovery::btnPauseResumeClick>(this);
  btnPauseResume->OnMouseMove = Bind<&TfrmRecovery::btnPauseResumeMouseMove>(this);
  btnCancel = Button(this, 392, 280);
  btnCancel->OnClick = Bind<&TfrmRecovery::btnCancelClick>(this);
  btnCancel->OnMouseMove = Bind<&TfrmRecovery::btnCancelMouseMove>(this);

  tmrDialog = new TTimer(this);
  tmrDialog->SetEnabled(false);
  tmrDialog->SetInterval(50);
  tmrDialog->SetOnTimer(Bind<&TfrmRecovery::tmrDialogTimer>(this));

  for (TksSkinStdLabel* label : {lblMediaName, lblMediaText, lblCapacityName, lblCapacityText, lblTypeName,
                                 lblFileTypeText, lblFilesFoundName, lblFilesFoundText, lblFileRecoveredName,
                                 lblFileRecoveredText, lblReadErrorsName, lblReadErrorsText,
                                 static_cast<TksSkinStdLabel*>(hlDirectory)})
    label->SetSkinData(skin);
  btnPreviewImage->SetSkinData(skin);
  pbProgress->SetSkinData(skin);
  btnPauseResume->SetSkinData(skin);
  btnCancel->SetSkinData(skin);

  ksRecovery = new TksSkinForm(this);
  ksRecovery->SetBorderIcons({});
  ksRecovery->UseDefaultSysMenu = false;
  ksRecovery->AlphaBlendAnimation = true;
  ksRecovery->SetAlphaBlendValue(100);
  ksRecovery->ClientWidth = 539;
  ksRecovery->ClientHeight = 357;
  // The window first, so that the client size is measured inside the skinned frame.
  HandleNeeded();
  ksRecovery->SetSkinData(skin);
}

// --- creation and captions -----------------------------------------------------

void TfrmRecovery::FormCreate(TObject*) {
  DriveInfo = nullptr;
  SetCaptions();
  BindEngineEvents();
  FilmStrip = new TFilmStrip(true);
  FilmStrip->Initialize();
}

void TfrmRecovery::SetCaptions() {
  static constexpr struct {
    TksSkinStdLabel* TfrmRecovery::*label;
    TextId text;
  } captions[] = {{&TfrmRecovery::lblMediaName, TextId::Media},
                  {&TfrmRecovery::lblCapacityName, TextId::Capacity},
                  {&TfrmRecovery::lblTypeName, TextId::FileTypes},
                  {&TfrmRecovery::lblFileRecoveredName, TextId::LastFileRecovered},
                  {&TfrmRecovery::lblFilesFoundName, TextId::FilesFound},
                  {&TfrmRecovery::lblReadErrorsName, TextId::ReadErrors}};
  for (const auto& c : captions) (this->*c.label)->SetCaption(LangText(c.text));
  // Our skin's label font is wider than the layout allowed for: the count follows its caption.
  lblReadErrorsText->SetLeft(std::max(412, lblReadErrorsName->Left() + lblReadErrorsName->Width() + 4));
  btnPauseResume->SetCaption(LangText(TextId::Pause));
  btnCancel->SetCaption(LangText(TextId::Cancel));
  hlDirectory->SetCaption(LangText(TextId::OpenRecoveredFolder));
  btnPreviewImage->SetCaption(LangText(TextId::Preview));
  for (TksSkinStdLabel* value :
       {lblMediaText, lblCapacityText, lblFileTypeText, lblFilesFoundText, lblFileRecoveredText, lblReadErrorsText})
    value->SetCaption("");
}

void TfrmRecovery::FormShow(TObject*) {}

// --- activation ----------------------------------------------------------------

void TfrmRecovery::FormActivate(TObject*) {
  // Every message box of a run passes through here: outside a run the pause button waits
  // for one, during it the deep scan must stay pausable.
  btnPauseResume->SetEnabled(running_);
  PreviewOn = Engine().PreviewEnabled;
  btnPauseResume->SetCaption(LangText(Engine().Paused ? TextId::Resume : TextId::Pause));
  DriveInfo = Engine().CurrentDrive;
  if (!DriveInfo) return;
  SetCaption(LangText(TextId::RecoveringDrive) + " " + Copy(DriveInfo->RootPath, 1, 1));
  ShowMediaInfo();
  lblReadErrorsText->SetCaption(CountText(ReadErrors));
  BindEngineEvents();
  ClearPreview();
  gaugeValue_ = 0;
  pbProgress->SetValue(0);
  lblFileRecoveredText->SetCaption("");
  // The bevel is the preview button's alone.
  imgPreview->SetVisible(PreviewOn);
  PreviewShape->SetVisible(PreviewOn);
  if (imgPreview->Visible()) {
    FilmStrip->Mode = 2;
    FilmStrip->PreviewImage = imgPreview;
    FilmStrip->NoPictureImage = frmMain->imgNoPicture;
    // The question before the deep scan suspended the strip; the scan must not run dark.
    if (running_) FilmStrip->Resume();
  }
  Screen->SetCursor(crDefault);
}

void TfrmRecovery::ShowMediaInfo() {
  if (!DriveInfo) return;
  String media = WideToAnsi(DriveInfo->MediaName());
  if (media.empty()) {
    switch (DriveInfo->DriveType) {
      case DRIVE_REMOVABLE: media = LangText(DriveInfo->IsFloppy ? TextId::FloppyDisk : TextId::RemovableDrive); break;
      case DRIVE_FIXED: media = LangText(TextId::HardDisk); break;
      case DRIVE_CDROM: media = LangText(TextId::CdRom); break;
      default: media = LangText(TextId::UnknownDrive); break;
    }
  }
  lblMediaText->SetCaption(media);
  lblCapacityText->SetCaption(WideToAnsi(DriveInfo->CapacityText));
  lblFileTypeText->SetCaption(CategoryLine(Engine()));
}

void TfrmRecovery::ClearPreview() {
  TCanvas* canvas = imgPreview->Canvas();
  canvas->Pen()->SetColor(clBlack);
  canvas->Pen()->SetStyle(psSolid);
  canvas->Rectangle(0, 0, imgPreview->Width(), imgPreview->Height());
}

void TfrmRecovery::BindEngineEvents() {
  if (!frmMain || !frmMain->Engine) return;
  TScanEngine& engine = Engine();
  engine.OnProgress = Bind<&TfrmRecovery::EngineProgress>(this);
  engine.OnFinished = Bind<&TfrmRecovery::EngineFinished>(this);
  engine.OnReadError = Bind<&TfrmRecovery::EngineReadError>(this);
  engine.OnWriteError = Bind<&TfrmRecovery::EngineWriteError>(this);
  engine.OnError = Bind<&TfrmRecovery::EngineError>(this);
  engine.OnDiscArrive = Bind<&TfrmRecovery::EngineDiscArrive>(this);
  engine.OnDiscRemoval = Bind<&TfrmRecovery::EngineDiscRemoval>(this);
  engine.OnFileFound = Bind<&TfrmRecovery::EngineFileFound>(this);
  engine.OnFATFileSaved = Bind<&TfrmRecovery::EngineFATFileSaved>(this);
  engine.OnRAWFileSaved = Bind<&TfrmRecovery::EngineRAWFileSaved>(this);
  engine.OnFATFileCount = Bind<&TfrmRecovery::EngineFATFileCount>(this);
}

void TfrmRecovery::ClearEngineEvents() {
  if (!frmMain || !frmMain->Engine) return;
  TScanEngine& engine = Engine();
  engine.OnProgress.Clear();
  engine.OnFinished.Clear();
  engine.OnReadError.Clear();
  engine.OnWriteError.Clear();
  engine.OnError.Clear();
  engine.OnDiscArrive.Clear();
  engine.OnDiscRemoval.Clear();
  engine.OnFileFound.Clear();
  engine.OnFATFileSaved.Clear();
  engine.OnRAWFileSaved.Clear();
  engine.OnFATFileCount.Clear();
}

void TfrmRecovery::FormDeactivate(TObject*) {
  ClearEngineEvents();
  if (PreviewOn && FilmStrip) FilmStrip->Suspend();
}

void TfrmRecovery::FormClose(TObject*, TCloseAction& Action) {
  if (!CanClose) Action = caNone;
}

void TfrmRecovery::FormDestroy(TObject*) {
  if (FilmStrip) {
    FilmStrip->FreeResources();
    FilmStrip->Free();
  }
  FilmStrip = nullptr;
  DriveInfo = nullptr;
}

// --- the run ---------------------------------------------------------------------

bool TfrmRecovery::ProgramClosing() { return frmMain && frmMain->ClosePending(); }

// Once the program is closing, nothing more is asked: every question counts as answered No.
int TfrmRecovery::Ask(TextId Text, TksMessageType Type, bool YesNo) {
  if (ProgramClosing()) return 0;
  const TksMessageButtons buttons = YesNo ? TksMessageButtons{ksmbYes, ksmbNo} : TksMessageButtons{ksmbOK};
  return frmMain->GenericMessage->MessageDlg(LangText(Text), Type, buttons, 0);
}

void TfrmRecovery::RunRecovery() {
  TScanEngine& engine = Engine();
  ReadErrors = FilesFound = DuvidAzizFiles = DezoDoziFiles = 0;
  ViewNow = Cancelled = CanClose = noFileTypes_ = false;
  running_ = true;
  sectorShift_ = 0;
  // The first event of a run looks at the queue and paints.
  TScanEngine::RestartMessagePacing();
  // A pause left over from a cancelled run would freeze this one at its first step.
  engine.Resume();
  btnPauseResume->SetCaption(LangText(TextId::Pause));
  imgPreview->SetVisible(true);
  btnPauseResume->SetEnabled(true);
  if (frmGenericWait) frmGenericWait->HideWait();
  if (PreviewOn) {
    FilmStrip->Clear();
    FilmStrip->Resume();
  }
  DriveInfo = engine.CurrentDrive;
  {
    TAtExit ended([this] {
      CanClose = true;
      running_ = false;
      btnPauseResume->SetEnabled(false);
    });
    if (!DriveInfo) return;
    DriveLetter = DriveInfo->RootPath.empty() ? 0 : DriveInfo->RootPath[0];
    RunQuickScan();
    // A close waiting for this run starts no further pass.
    if (ProgramClosing()) return;
    if (noFileTypes_) {
      Ask(TextId::NoFileTypes, ksmtError, false);
      return;
    }
    bool goOn = DriveInfo->DriveType == DRIVE_CDROM;
    if (!goOn) {
      tmrDialog->SetEnabled(true);
      goOn = Ask(TextId::RunDeepScanQuestion, ksmtConfirmation, true) == mrYes;
    }
    if (goOn && !ProgramClosing()) RunDeepScan();
  }
  if (!Cancelled && (DuvidAzizFiles > 0 || DezoDoziFiles > 0))
    ViewNow = Ask(TextId::ViewRecoveredFilesQuestion, ksmtConfirmation, true) == mrYes;
}

void TfrmRecovery::RunQuickScan() {
  Screen->SetCursor(crHourGlass);
  try {
    TAtExit done([this] {
      Screen->SetCursor(crDefault);
      DuvidAzizFiles = FilesFound;
      ShowPending();
    });
    Application->ProcessMessages();
    Engine().PreScan(DriveLetter);
  } catch (const Exception& e) {
    WriteErrorLog("Exception during PreScan : " + e.Message);
    Ask(TextId::RanIntoAProblem, ksmtError, false);
  }
}

void TfrmRecovery::RunDeepScan() {
  TScanEngine& engine = Engine();
  // A Cancel in the quick scan must not leave the deep scan closable or its files unasked.
  CanClose = false;
  Cancelled = false;
  engine.Resume();
  FilesFound = 0;
  lblFilesFoundText->SetCaption("");
  Screen->SetCursor(crHourGlass);
  SetSectorGauge(DriveInfo->SectorCount());
  lblFileRecoveredText->SetCaption("");
  Application->ProcessMessages();
  if (PreviewOn) FilmStrip->Clear();
  try {
    TAtExit done([this] {
      DezoDoziFiles = FilesFound;
      if (PreviewOn) FilmStrip->Clear();
      Screen->SetCursor(crDefault);
      ShowPending();
    });
    Screen->SetCursor(crHourGlass);
    engine.ScanDrive(DriveLetter);
    DezoDoziFiles = FilesFound;
    if (FilesFound == 0) Ask(TextId::DeepScanFoundNothing, ksmtInformation, false);
  } catch (const Exception& e) {
    WriteErrorLog("exception during ScanDrive : " + e.Message);
    Ask(TextId::RanIntoAProblem, ksmtError, false);
  }
}

// --- buttons and link --------------------------------------------------------------

void TfrmRecovery::btnCancelClick(TObject*) {
  TScanEngine& engine = Engine();
  engine.Cancel();
  // A paused pass waits on the pause before it sees the stop.
  engine.Resume();
  btnPauseResume->SetCaption(LangText(TextId::Pause));
  Cancelled = true;
  CanClose = true;
}

void TfrmRecovery::btnPauseResumeClick(TObject*) {
  TScanEngine& engine = Engine();
  if (engine.Paused) {
    btnPauseResume->SetCaption(LangText(TextId::Pause));
    engine.Resume();
  } else {
    btnPauseResume->SetCaption(LangText(TextId::Resume));
    engine.Pause();
  }
}

void TfrmRecovery::btnPreviewImageClick(TObject*) {
  TScanEngine& engine = Engine();
  const bool on = !engine.PreviewEnabled;
  FilmStrip->Clear();
  if (on)
    FilmStrip->Resume();
  else
    FilmStrip->Suspend();
  bvlPreview->SetVisible(on);
  imgPreview->SetVisible(on);
  PreviewShape->SetVisible(on);
  engine.PreviewEnabled = on;
}

void TfrmRecovery::hlDirectoryClick(TObject*) {
  SystemSeam().RunShellVerb(Handle(), "open", Engine().GetDestinationFolder() + kDuvidAzizFolder, SW_SHOWMAXIMIZED);
}

void TfrmRecovery::btnCancelMouseMove(TObject*, TShiftState, int, int) { btnCancel->SetCursor(crHandPoint); }

void TfrmRecovery::btnPauseResumeMouseMove(TObject*, TShiftState, int, int) {
  btnPauseResume->SetCursor(crHandPoint);
}

void TfrmRecovery::tmrDialogTimer(TObject*) {
  HWND active = GetActiveWindow();
  if (!active) return;
  const TRect preview = Bounds(Left() + bvlPreview->Left(), Top() + bvlPreview->Top(), bvlPreview->Width(),
                               bvlPreview->Height());
  RECT r{};
  GetWindowRect(active, &r);
  const TRect window{r.left, r.top, r.right, r.bottom};
  const TPoint place = QuestionPlace(window, preview);
  if (place.X != window.Left || place.Y != window.Top)
    SetWindowPos(active, nullptr, place.X, place.Y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  tmrDialog->SetEnabled(false);
}

// --- engine events -------------------------------------------------------------------

// What a pass left waiting for the paint interval shows before the pass's question.
void TfrmRecovery::ShowPending() {
  if (HandleAllocated()) RedrawWindow(Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void TfrmRecovery::MoveGauge(int Value) {
  gaugeValue_ = Value;
  const int low = pbProgress->MinValue(), high = pbProgress->MaxValue();
  auto percent = [&](int v) {
    if (high <= low) return 0;
    return static_cast<int>((int64_t(std::clamp(v, low, high)) - low) * 100 / (int64_t(high) - low));
  };
  // Repainting the skinned gauge costs more than the read that moved it: the bar moves
  // with its whole percent, and reaches its ends exactly.
  if (Value <= low || Value >= high || percent(Value) != percent(pbProgress->Value())) pbProgress->SetValue(Value);
}

// A drive of 2^31 sectors or more (1 TiB) passes the gauge's signed range: its sectors
// are counted in pairs.
void TfrmRecovery::SetSectorGauge(uint32_t SectorCount) {
  sectorShift_ = SectorCount > static_cast<uint32_t>(INT32_MAX) ? 1 : 0;
  pbProgress->SetMaxValue(static_cast<int>(SectorCount >> sectorShift_));
  pbProgress->SetMinValue(0);
}

// The deep scan reports its sector, which the event carries as a signed number.
void TfrmRecovery::EngineProgress(TObject*, int32_t Position) {
  MoveGauge(static_cast<int>(static_cast<uint32_t>(Position) >> sectorShift_));
  TScanEngine::ProcessMessages();
}

void TfrmRecovery::EngineFinished(uint8_t) {}

void TfrmRecovery::EngineReadError(int32_t, int32_t Kind) {
  if (Kind == 1) CountError();
}

// A recovered file that could not be saved counts with the run's errors: it is lost as
// surely as an unreadable sector.
void TfrmRecovery::EngineWriteError(int32_t, int32_t Kind) {
  if (Kind == 2) CountError();
}

void TfrmRecovery::CountError() {
  ++ReadErrors;
  lblReadErrorsText->SetCaption(CountText(ReadErrors));
}

void TfrmRecovery::EngineError(int32_t Code, const String&) {
  if (Code == kNoFileTypesCode) noFileTypes_ = true;
}

void TfrmRecovery::EngineDiscArrive(TObject*, const String&) {}

void TfrmRecovery::EngineDiscRemoval(TObject*, const String& Drives) {
  if (UpperCase(Trim(Drives)) == UpperCase(String(1, DriveLetter))) Engine().Cancel();
}

void TfrmRecovery::EngineFileFound(TObject*, TSESupportedFileType* FileType) {
  ++FilesFound;
  if (FileType) {
    lblFileRecoveredText->SetCaption(FileType->Description);
    lblFilesFoundText->SetCaption(CountText(FilesFound));
  }
  TScanEngine::ProcessMessages();
}

void TfrmRecovery::QueuePreview(const String& FileName) {
  if (!PreviewOn) return;
  FilmStrip->AddFile(FileName, static_cast<int16_t>(Engine().FileTypeOfExtension(ExtractFileExt(FileName))));
}

void TfrmRecovery::EngineFATFileSaved(const String& FileName) {
  MoveGauge(gaugeValue_ + 1);
  lblFileRecoveredText->SetCaption(FileName);
  QueuePreview(Engine().GetDestinationFolder() + kDuvidAzizFolder + FileName);
  TScanEngine::ProcessMessages();
}

void TfrmRecovery::EngineRAWFileSaved(const String& FileName) {
  ++FilesFound;
  lblFileRecoveredText->SetCaption(ExtractFileName(FileName));
  lblFilesFoundText->SetCaption(CountText(FilesFound));
  QueuePreview(FileName);
  TScanEngine::ProcessMessages();
}

void TfrmRecovery::EngineFATFileCount(int32_t Count) {
  pbProgress->SetMaxValue(Count);
  FilesFound = Count;
  lblFilesFoundText->SetCaption(CountText(FilesFound));
}
