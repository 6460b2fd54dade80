#include "app/Burning.h"

#include <exception>

#include "app/DialogFrame.h"
#include "app/Forms.h"
#include "app/MainForm.h"
#include "app/Place.h"
#include "app/Texts.h"
#include "app/WriterTexts.h"
#include "engine/Debug.h"
#include "engine/OutputFolder.h"
#include "engine/PassFolders.h"
#include "engine/ScanEngine.h"
#include "engine/SystemInformation.h"
#include "framework/core/fileutils.h"
#include "framework/core/sysutils.h"
#include "framework/core/widetext.h"
#include "framework/gui/application.h"
#include "framework/gui/screen.h"
#include "framework/gui/timer.h"
#include "outside/DiscWriterX.h"
#include "skin/boxes/ksSkinComboBox.h"
#include "skin/boxes/ksSkinEdit.h"
#include "skin/controls/ksSkinCheckRadio.h"
#include "skin/controls/ksSkinCtrls.h"
#include "skin/controls/ksSkinGauge.h"
#include "skin/controls/ksSkinLabels.h"
#include "skin/frame/ksSkinForm.h"
#include "skin/views/ksSkinPanel.h"

namespace {

constexpr int64_t kBlockBytes = 2048;

void Pump() { Application->ProcessMessages(); }

// A progress handler must never end a write: what it raises is dropped.
template <class F>
void Quietly(F f) {
  try {
    f();
  } catch (const std::exception&) {
  }
}

void SetGauges(std::initializer_list<TksSkinGauge*> gauges, int value) {
  for (TksSkinGauge* g : gauges) g->SetValue(value);
}

// Percent of part in whole, 0 when the whole is 0.
int Percent(double part, double whole) {
  if (whole <= 0) return 0;
  return static_cast<int>(Round(part / whole * 100.0));
}

}  // namespace

TfrmBurn::TfrmBurn(TComponent* AOwner) : TForm(AOwner) {
  CreateControls();
  FormCreate(this);
}

TfrmBurn::~TfrmBurn() { FormDestroy(this); }

void TfrmBurn::CreateControls() {
  SetBorderStyle(bsSingle);
  SetBorderIcons(0);
  Position = poMainFormCenter;
  TksSkinData* skin = frmMain ? frmMain->ksCompSkin : nullptr;

  // Fixed widths: the skin's font is not the one a label would size itself by.
  auto label = [this, skin](TWinControl* parent, int x, int y, int width = 110) {
    auto* l = PlaceIn<TksSkinStdLabel>(this, parent, x, y, width, 16);
    l->SetAutoSize(false);
    l->SetSkinData(skin);
    return l;
  };
  auto gauge = [this, skin](int x, int y) {
    auto* g = PlaceIn<TksSkinGauge>(this, grpInfo, x, y, 105);
    g->SetShowPercent(true);
    g->SetSkinDataName("statusgauge");
    g->SetSkinData(skin);
    return g;
  };
  auto button = [this, skin](int y, void (TfrmBurn::*click)(TObject*)) {
    auto* b = Place<TksSkinButton>(this, 280, y, 153, 22);
    b->SetCursor(crHandPoint);
    b->OnClick = [this, click](TObject* s) { (this->*click)(s); };
    b->SetSkinData(skin);
    return b;
  };

  lblCDWriter = label(this, 16, 8, 257);
  cboDrives = Place<TksSkinComboBox>(this, 16, 24, 257);
  cboDrives->OnChange = Bind<&TfrmBurn::cboDrivesChange>(this);
  cboDrives->SetSkinData(skin);
  lblWriteSpeed = label(this, 280, 8, 160);
  cboSpeeds = Place<TksSkinComboBox>(this, 280, 24, 104);
  cboSpeeds->OnClick = Bind<&TfrmBurn::cboSpeedsClick>(this);
  cboSpeeds->SetSkinData(skin);

  chkBurnProof = Place<TksSkinCheckRadioBox>(this, 16, 48, 250, 22);
  chkBurnProof->SetSkinData(skin);

  lblCDVolume = label(this, 16, 80, 250);
  txtVolumeID = Place<TksSkinEdit>(this, 16, 96, 153, 21);
  txtVolumeID->SetSkinData(skin);

  grpInfo = Place<TksSkinGroupBox>(this, 16, 128, 252, 305);
  grpInfo->SetSkinData(skin);

  struct Row {
    TksSkinStdLabel** caption;
    TksSkinStdLabel** value;
  };
  const Row rows[] = {{&lblFileCount, &lblFiles},         {&lblImageSize, &lblSize},
                      {&lblSessionNo, &lblSessions},      {&lblLastSessionStatus, &lblSessionStatus},
                      {&lblDiskType, &lblDiscType},       {&lblDiskStatus, &lblDiscStatus},
                      {&lblFreeSpace, &lblFreeBlocks}};
  int y = 32;
  for (const Row& r : rows) {
    *r.caption = label(grpInfo, 8, y);
    *r.value = label(grpInfo, 120, y, 125);
    y += 24;
  }
  lblCDNumber = label(grpInfo, 147, 24, 80);  // right edge at 227
  lblCDNumber->SetAlignment(taRightJustify);
  TFont bold;
  bold.Assign(lblCDNumber->Font());
  bold.SetStyle(fsBold);
  lblCDNumber->SetFont(&bold);
  lblCDNumber->SetDefaultFont(&bold);

  lblReadBuffer = label(grpInfo, 16, 216, 105);
  pbReadBuffer = gauge(13, 229);
  lblWriteBuffer = label(grpInfo, 16, 258, 105);
  pbDeviceBuffer = gauge(13, 272);
  lblTracksWritten = label(grpInfo, 128, 216, 105);
  pbTrack = gauge(128, 229);
  lblTotalWritten = label(grpInfo, 128, 258, 105);
  pbTotal = gauge(128, 272);

  btnCompleteSession = button(315, &TfrmBurn::btnCompleteSessionClick);
  btnStop = button(347, &TfrmBurn::btnStopClick);
  btnStop->SetVisible(false);
  btnEraseCD = button(379, &TfrmBurn::btnEraseCDClick);
  btnStart = button(411, &TfrmBurn::btnStartClick);

  pnlStatus = new TksSkinStatusPanel(this);
  pnlStatus->SetParent(this);
  pnlStatus->SetHeight(36);
  pnlStatus->SetAlign(alBottom);
  pnlStatus->SetSkinData(skin);

  tmrDiscInfo = new TTimer(this);
  tmrDiscInfo->SetEnabled(false);
  tmrDiscInfo->SetInterval(250);
  tmrDiscInfo->SetOnTimer(Bind<&TfrmBurn::tmrDiscInfoTimer>(this));

  OnActivate = Bind<&TfrmBurn::FormActivate>(this);
  OnClose = Bind<&TfrmBurn::FormClose>(this);
  OnMouseMove = Bind<&TfrmBurn::FormMouseMove>(this);
  ksSkinForm1 = AddDialogFrame(this, 458, 505, skin);
}

void TfrmBurn::FormCreate(TObject*) {
  tmrDiscInfo->SetEnabled(false);
  SelectedDevice = -1;
  Idle = true;
  NoWriter = false;
  CreateFailed = true;
  try {
    CDWriter = new TDiscWriterX(this);
    CDWriter->SetParent(this);
    CreateFailed = false;
    BindWriterEvents();
    WriteInfoLog("DiscWriterX Version : " + WideToAnsi(CDWriter->GetVersion()));
    FillWriters();
    NoWriter = SelectedDevice == -1;

    const std::pair<TControl*, TextId> captions[] = {{this, TextId::BurnToCd},
                                                     {lblCDWriter, TextId::CdWriter},
                                                     {lblWriteSpeed, TextId::WriteSpeed},
                                                     {chkBurnProof, TextId::BurnProof},
                                                     {lblCDVolume, TextId::VolumeLabel},
                                                     {grpInfo, TextId::DiscInformation},
                                                     {lblFileCount, TextId::Files},
                                                     {lblImageSize, TextId::ImageSize},
                                                     {lblSessionNo, TextId::Sessions},
                                                     {lblLastSessionStatus, TextId::LastSession},
                                                     {lblDiskType, TextId::DiscType},
                                                     {lblDiskStatus, TextId::DiscStatus},
                                                     {lblFreeSpace, TextId::FreeSpace},
                                                     {lblReadBuffer, TextId::ReadBuffer},
                                                     {lblWriteBuffer, TextId::DeviceBuffer},
                                                     {lblTracksWritten, TextId::TrackProgress},
                                                     {lblTotalWritten, TextId::TotalProgress},
                                                     {btnCompleteSession, TextId::CloseSession},
                                                     {btnStop, TextId::Stop},
                                                     {btnEraseCD, TextId::EraseDisc},
                                                     {btnStart, TextId::Start}};
    for (const auto& [control, text] : captions) control->SetCaption(LangText(text));
    PendingFiles.clear();
  } catch (...) {
    CreateFailed = true;
  }
}

void TfrmBurn::BindWriterEvents() {
  TDiscWriterX& w = *CDWriter;
  w.OnClosingDisc = Bind<&TfrmBurn::CDWriterClosingDisc>(this);
  w.OnClosingSession = Bind<&TfrmBurn::CDWriterClosingSession>(this);
  w.OnErasingDisc = Bind<&TfrmBurn::CDWriterErasingDisc>(this);
  w.OnEraseComplete = Bind<&TfrmBurn::CDWriterEraseComplete>(this);
  w.OnWritingCancelled = Bind<&TfrmBurn::CDWriterWritingCancelled>(this);
  w.OnWritingComplete = Bind<&TfrmBurn::CDWriterWritingComplete>(this);
  w.OnPreparingToWrite = Bind<&TfrmBurn::CDWriterPreparingToWrite>(this);
  w.OnCreatingDirectories = Bind<&TfrmBurn::CDWriterCreatingDirectories>(this);
  w.OnTrackWriteStart = Bind<&TfrmBurn::CDWriterTrackWriteStart>(this);
  w.OnTrackWriteStatus = Bind<&TfrmBurn::CDWriterTrackWriteStatus>(this);
  w.OnWriteError = Bind<&TfrmBurn::CDWriterWriteError>(this);
  w.OnClosingTrack = Bind<&TfrmBurn::CDWriterClosingTrack>(this);
  w.OnReadBufferStatus = Bind<&TfrmBurn::CDWriterReadBufferStatus>(this);
  w.OnCachingTrack = Bind<&TfrmBurn::CDWriterCachingTrack>(this);
  w.OnCachingTrackStatus = Bind<&TfrmBurn::CDWriterCachingTrackStatus>(this);
  w.OnReadingFile = Bind<&TfrmBurn::CDWriterReadingFile>(this);
  w.OnEnumAudioTrack = Bind<&TfrmBurn::CDWriterEnumAudioTrack>(this);
  w.OnISOItemAdded = Bind<&TfrmBurn::CDWriterISOItemAdded>(this);
  w.OnISOItemRemoved = Bind<&TfrmBurn::CDWriterISOItemRemoved>(this);
  w.OnISOItemRenamed = Bind<&TfrmBurn::CDWriterISOItemRenamed>(this);
  w.OnISODestPathChanged = Bind<&TfrmBurn::CDWriterISODestPathChanged>(this);
  w.OnEnumISOItems = Bind<&TfrmBurn::CDWriterEnumISOItems>(this);
  w.OnTrackFileError = Bind<&TfrmBurn::CDWriterTrackFileError>(this);
  w.OnISOImageReset = Bind<&TfrmBurn::CDWriterISOImageReset>(this);
  w.OnReplaceImportedISOFile = Bind<&TfrmBurn::CDWriterReplaceImportedISOFile>(this);
}

void TfrmBurn::FillWriters() {
  cboDrives->Items()->Clear();
  for (short i = 0; i < CDWriter->GetDeviceCount(); ++i)
    cboDrives->Items()->Add(WriterListEntry(WideToAnsi(CDWriter->GetDeviceText1(i)),
                                            WideToAnsi(CDWriter->GetDeviceText2(i)),
                                            WideToAnsi(CDWriter->GetDeviceText3(i))));
  if (cboDrives->Items()->Count() > 0) {
    SelectedDevice = 0;
    cboDrives->SetItemIndex(0);
  }
  if (SelectedDevice != -1 && CDWriter->IsBurnProofSupported()) chkBurnProof->SetChecked(true);
  FillSpeeds();
}

void TfrmBurn::FillSpeeds() {
  if (SelectedDevice == -1) return;
  cboSpeeds->Items()->Clear();
  for (const String& entry : WriteSpeedList(CDWriter->GetMaxWriteSpeed(), LangText(TextId::DefaultSpeed)))
    cboSpeeds->Items()->Add(entry);
  if (cboSpeeds->Items()->Count() > 0) cboSpeeds->SetItemIndex(0);
}

void TfrmBurn::cboDrivesChange(TObject*) {
  SelectedDevice = cboDrives->ItemIndex();
  if (SelectedDevice < 0 || !CDWriter->SelectDevice(static_cast<short>(SelectedDevice))) {
    SelectedDevice = -1;
    return;
  }
  FillSpeeds();
}

void TfrmBurn::cboSpeedsClick(TObject*) {
  const int index = cboSpeeds->ItemIndex();
  if (index < 0 || index >= cboSpeeds->Items()->Count()) return;
  // The default entry, and anything that is not a number and "x", leaves the speed to the writer.
  const int speed = WriteSpeedOfEntry(cboSpeeds->Items()->Strings(index), LangText(TextId::DefaultSpeed));
  if (speed > 0) CDWriter->SetWriteSpeed(static_cast<short>(speed));
}

void TfrmBurn::FormActivate(TObject*) {
  // Each message box re-activates the dialog; a reset from inside a reset would
  // show its message again, for ever.
  if (activating_) return;
  activating_ = true;
  try {
    Operation = TBurnOperation::None;
    ImageBlocks = TotalBlocksWritten = LastBlocksWritten = 0;
    DiscNumber = FilesOnDisc = 0;
    PendingFiles.clear();
    RefusedFiles.clear();
    for (TksSkinStdLabel* l : {lblFiles, lblSize, lblSessions, lblSessionStatus, lblDiscType, lblDiscStatus,
                               lblFreeBlocks, lblCDNumber})
      l->SetCaption("");
    txtVolumeID->SetText("");
    txtVolumeID->SetEnabled(true);
    for (TksSkinButton* b : {btnStart, btnEraseCD, btnCompleteSession, btnStop}) b->SetVisible(false);
    SetGauges({pbReadBuffer, pbDeviceBuffer, pbTrack, pbTotal}, 0);
    ShowProgressControls(false);
    // Unknown, so that the first poll shows the disc even when it reads like the
    // zeroes the other remembered values start with.
    LastFreeBytes = -1;
    tmrDiscInfo->SetEnabled(true);
    CDWriter->ClearImage();
    CollectFiles();
    ImageBytes = ImageSizeBytes();
    ShowRefusedFiles();
    if (ImageBytes == 0) {
      if (RefusedFiles.empty()) Message(LangText(TextId::NoRecoveredFilesYet));
      Close();
    }
    lblFiles->SetCaption(IntToStr(CDWriter->GetImageFileCount()));
    lblSize->SetCaption(FormatSize(static_cast<uint64_t>(ImageBytes)));
    SetStatus("");
  } catch (...) {
    activating_ = false;
    throw;
  }
  activating_ = false;
}

void TfrmBurn::CollectFiles() {
  const String root = IncludeTrailingBackslash(frmMain->Engine->GetDestinationFolder());
  for (const char* sub : kPassFolders) {
    const String folder = root + sub;
    TSearchRec r;
    if (FindFirst(folder + "*.*", faAnyFile, r) == 0) {
      do {
        const String source = folder + r.Name;
        if (IsFileToBurn(r.Name, r.Attr) && !IsPending(PendingFiles, source)) {
          // Both folders share one folder on the disc: a clashing name gets a number.
          TPendingFile file{source, UniqueDiscPath(PendingFiles, r.Name)};
          if (CDWriter->AddFile(file.DiscPath, AnsiToWide(source)))
            PendingFiles.push_back(file);
          else
            RefusedFiles.push_back(r.Name + ": " + WideToAnsi(CDWriter->GetExtendedError()));
        }
        Pump();
      } while (FindNext(r) == 0);
      FindClose(r);
    }
  }
  ImageBlocks = CDWriter->GetImageBlocks();
}

// Every box re-activates the dialog and so collects the files again: the same
// refusals are told only once until the dialog closes.
void TfrmBurn::ShowRefusedFiles() {
  if (RefusedFiles.empty() || refusalsShown_) return;
  refusalsShown_ = true;
  String text = LangText(TextId::FilesLeftOffDisc);
  for (const String& refused : RefusedFiles) text += "\r\n" + refused;
  Message(text, ksmtError);
}

int64_t TfrmBurn::ImageSizeBytes() const { return static_cast<int64_t>(CDWriter->GetImageBlocks()) * kBlockBytes; }

int64_t TfrmBurn::DiscFreeBytes() const { return static_cast<int64_t>(CDWriter->GetFreeBlocks(1)) * kBlockBytes; }

int64_t TfrmBurn::AddToImage(size_t n) {
  const TPendingFile& f = PendingFiles[n - 1];
  CDWriter->AddFile(f.DiscPath, AnsiToWide(f.Source));
  return ImageSizeBytes();
}

bool TfrmBurn::FitsOnDisc() {
  CDWriter->ClearImage();
  const size_t files = FilesForDisc(PendingFiles.size(), DiscFreeBytes(), [this](size_t n) { return AddToImage(n); });
  CDWriter->ClearImage();
  return files == PendingFiles.size();
}

void TfrmBurn::BuildDiscImage() {
  const size_t files = FilesForDisc(PendingFiles.size(), DiscFreeBytes(), [this](size_t n) { return AddToImage(n); });
  FilesOnDisc = static_cast<int>(files);
  if (files < PendingFiles.size()) {
    // The first file that did not fit was added to be measured: it waits for the next disc.
    CDWriter->RemoveItem(PendingFiles[files].DiscPath);
    Spanning = true;
  } else if (!PendingFiles.empty()) {
    Spanning = false;
  }
  lblFiles->SetCaption(IntToStr(CDWriter->GetImageFileCount()));
  lblSize->SetCaption(FormatSize(static_cast<uint64_t>(ImageSizeBytes())));
}

bool TfrmBurn::UseCacheDataTrack() {
  const TSESystemInformation* info = frmMain->Engine->SystemInformation.get();
  if (!info) return false;
  return info->CPUSpeed < 1000.0 && static_cast<int32_t>(info->TotalPhysicalMemory) < 256000000;
}

void TfrmBurn::btnStartClick(TObject*) {
  ShowProgressControls(true);
  ++DiscNumber;
  txtVolumeID->SetEnabled(false);
  lblCDNumber->SetCaption(DiscCountText(DiscNumber, FitsOnDisc()));
  tmrDiscInfo->SetEnabled(false);
  if (!CDWriter->IsDriveReady()) {
    Message(LangText(TextId::InsertBlankDisc));
    CDWriter->EjectDisc();
    return;
  }
  CDWriter->WriteType = 1;
  if (CDWriter->GetDiscStatus() == TDiscStatus::Complete) Message(LangText(TextId::DiscAlreadyClosed));

  CDWriter->ClearImage();
  Pump();
  BuildDiscImage();
  if (FilesOnDisc == 0 && !PendingFiles.empty()) {
    // A file larger than the whole free space: writing an empty disc would not
    // move the set on, so the set ends here.
    Message(LangText(TextId::WriterCouldNotStart) + "\r\n" + LangText(TextId::FileLargerThanDiscSpace) + "\r\n" +
            ExtractFileName(PendingFiles.front().Source));
    EndOperation();
    return;
  }
  PendingFiles.erase(PendingFiles.begin(), PendingFiles.begin() + FilesOnDisc);

  CDWriter->SetVolumeIdentifier(DiscVolumeLabel(txtVolumeID->Text(), Spanning, DiscNumber));
  CDWriter->CacheDataTrack = UseCacheDataTrack();
  CDWriter->WriteType = 1;
  CDWriter->CloseDisc = false;
  CDWriter->CloseSession = true;
  CDWriter->UseISOLevel1Filenames = false;
  CDWriter->Joliet = true;
  CDWriter->TestWrite = false;
  CDWriter->SetBurnProof(chkBurnProof->Checked());

  try {
    Idle = false;
    DisableControls();
    CDWriter->PrepareDevice();
    btnStart->SetVisible(false);
    btnEraseCD->SetVisible(false);
    Operation = TBurnOperation::Writing;
    if (!CDWriter->StartWrite()) {
      Message(WithWriterReason(LangText(TextId::WriterCouldNotStart)));
      EnableControls();
      CDWriter->ReleaseDevice();
      Operation = TBurnOperation::None;
    } else {
      btnStop->SetVisible(true);
    }
  } catch (const std::exception& e) {
    CDWriter->ReleaseDevice();
    Operation = TBurnOperation::None;
    EnableControls();
    Message(e.what(), ksmtError);
  }
}

void TfrmBurn::btnEraseCDClick(TObject*) {
  tmrDiscInfo->SetEnabled(false);
  Screen->SetCursor(crHourGlass);
  if (!CDWriter->HasCapability(TWriterCapability::EraseDisc)) {
    Screen->SetCursor(crDefault);
    Message(LangText(TextId::WriterCannotErase));
    return;
  }
  if (!CDWriter->IsDiscErasable()) {
    Screen->SetCursor(crDefault);
    Message(LangText(TextId::DiscCannotBeErased));
    return;
  }
  if (Message(LangText(TextId::EraseDiscQuestion), ksmtConfirmation, {ksmbYes, ksmbNo}) != mrYes) {
    Screen->SetCursor(crDefault);
    return;
  }
  CDWriter->PrepareDevice();
  DisableControls();
  btnStart->SetVisible(false);
  Idle = false;
  Operation = TBurnOperation::Erasing;
  if (!CDWriter->EraseDisc(true)) {
    Message(WithWriterReason(LangText(TextId::DiscEraseFailed)), ksmtError);
    EnableControls();
    CDWriter->ReleaseDevice();
    Operation = TBurnOperation::None;
    btnStop->SetVisible(false);
    // Nothing runs: the dialog may close again.
    Idle = true;
  } else {
    btnStop->SetVisible(true);
  }
}

void TfrmBurn::btnCompleteSessionClick(TObject*) {
  tmrDiscInfo->SetEnabled(false);
  if (Message(LangText(TextId::CloseSessionQuestion), ksmtConfirmation, {ksmbYes, ksmbNo}) != mrYes) return;
  if (CDWriter->GetLastSessionStatus() != TSessionStatus::Incomplete) return;
  try {
    SetGauges({pbReadBuffer, pbDeviceBuffer, pbTrack, pbTotal}, 0);
    Pump();
    Operation = TBurnOperation::ClosingSession;
    DisableControls();
    Idle = false;
    CDWriter->CloseLastSession(false);
  } catch (...) {
  }
  // Closing a session is done when the call returns; nothing else would end it.
  EndOperation();
}

void TfrmBurn::btnStopClick(TObject*) {
  CDWriter->ReleaseDevice();
  CDWriter->AbortWrite();
  btnStart->SetVisible(true);
  btnStop->SetVisible(false);
  Screen->SetCursor(crDefault);
  Operation = TBurnOperation::None;
  btnEraseCD->SetVisible(CDWriter->IsDiscErasable());
  Idle = true;
  // Stop ends a set: a blank disc inserted later must not restart it.
  Spanning = false;
  DiscNumber = 0;
}

void TfrmBurn::EndOperation() {
  EnableControls();
  btnStop->SetVisible(false);
  CDWriter->ReleaseDevice();
  Operation = TBurnOperation::None;
  Idle = true;
  Spanning = false;
  DiscNumber = 0;
  tmrDiscInfo->SetEnabled(true);
}

void TfrmBurn::FormClose(TObject*, TCloseAction& Action) {
  if (Idle) {
    CDWriter->ReleaseDevice();
    tmrDiscInfo->SetEnabled(false);
    refusalsShown_ = false;
  } else {
    Action = caNone;
    tmrDiscInfo->SetEnabled(true);
  }
}

void TfrmBurn::FormDestroy(TObject*) { tmrDiscInfo->SetEnabled(false); }

void TfrmBurn::FormMouseMove(TObject*, TShiftState, int, int) {
  SetCursor(Operation == TBurnOperation::Writing || Operation == TBurnOperation::Erasing ? crHourGlass : crDefault);
}

void TfrmBurn::EnableControls() { SetControlsEnabled(true); }

void TfrmBurn::DisableControls() { SetControlsEnabled(false); }

void TfrmBurn::SetControlsEnabled(bool enabled) {
  for (TControl* c : std::initializer_list<TControl*>{cboDrives, cboSpeeds, chkBurnProof, btnStart, btnEraseCD,
                                                      btnCompleteSession})
    c->SetEnabled(enabled);
  btnStop->SetVisible(enabled);
  Screen->SetCursor(enabled ? crDefault : crHourGlass);
}

void TfrmBurn::ShowProgressControls(bool show) {
  for (TControl* c : std::initializer_list<TControl*>{lblReadBuffer, pbReadBuffer, lblWriteBuffer, pbDeviceBuffer,
                                                      lblTracksWritten, pbTrack, lblTotalWritten, pbTotal})
    c->SetVisible(show);
}

void TfrmBurn::SetStatus(const String& text) { pnlStatus->SetCaption(text); }

String TfrmBurn::WithWriterReason(const String& text) const {
  const String reason = WideToAnsi(CDWriter->GetExtendedError());
  return reason.empty() ? text : text + "\r\n" + reason;
}

int TfrmBurn::Message(const String& text, TksMessageType type, TksMessageButtons buttons) {
  return frmMain->GenericMessage->MessageDlg(text, type, buttons, 0);
}

void TfrmBurn::tmrDiscInfoTimer(TObject*) {
  try {
    const int64_t free = DiscFreeBytes();
    FreeBytes = free;
    const TDiscStatus discStatus = CDWriter->GetDiscStatus();
    const TDiscType discType = CDWriter->GetDiscType();
    const TSessionStatus sessionStatus = CDWriter->GetLastSessionStatus();
    if (free == LastFreeBytes && discStatus == LastDiscStatus && discType == LastDiscType &&
        sessionStatus == LastSessionStatus)
      return;
    if (!CDWriter->IsDriveReady()) {
      for (TksSkinStdLabel* l : {lblDiscStatus, lblDiscType, lblSessionStatus, lblSessions, lblFreeBlocks})
        l->SetCaption("");
      for (TksSkinButton* b : {btnEraseCD, btnStart, btnCompleteSession}) b->SetVisible(false);
      SetStatus(Spanning ? LangText(TextId::InsertNextBlankDisc) : LangText(TextId::InsertBlankDisc) + "...");
      LastFreeBytes = -1;
      return;
    }
    for (TksSkinStdLabel* l : {lblDiscStatus, lblDiscType, lblSessionStatus}) l->SetCaption("");
    btnEraseCD->SetVisible(false);
    // While a set waits for its next disc Stop is its only way out.
    if (Idle) btnStop->SetVisible(false);
    SetStatus(LangText(TextId::Ready));
    lblSessions->SetCaption(IntToStr(CDWriter->GetSessionCount()));
    lblFreeBlocks->SetCaption(FreeSpaceText(free));

    const bool erasable = CDWriter->IsDiscErasable();
    switch (discStatus) {
      case TDiscStatus::Empty:
        lblDiscStatus->SetCaption(LangText(TextId::Empty));
        btnEraseCD->SetVisible(false);
        btnStart->SetVisible(true);
        break;
      case TDiscStatus::Incomplete:
      case TDiscStatus::Other:
        lblDiscStatus->SetCaption(LangText(discStatus == TDiscStatus::Incomplete ? TextId::Open : TextId::Other));
        btnEraseCD->SetVisible(erasable);
        break;
      case TDiscStatus::Complete:
        lblDiscStatus->SetCaption(LangText(TextId::Closed));
        btnEraseCD->SetVisible(erasable);
        if (erasable) btnEraseCD->SetEnabled(true);
        break;
      default:
        break;
    }
    switch (discType) {
      case TDiscType::CdDaOrCdRom: lblDiscType->SetCaption("CD-DA / CD-ROM"); break;
      case TDiscType::Cdi: lblDiscType->SetCaption("CDI"); break;
      case TDiscType::CdRomXa: lblDiscType->SetCaption("CD-ROM XA"); break;
      case TDiscType::Unknown: lblDiscType->SetCaption("Unknown"); break;
      default: break;
    }
    switch (sessionStatus) {
      case TSessionStatus::Empty:
        lblSessionStatus->SetCaption("Empty Session");
        btnCompleteSession->SetVisible(false);
        break;
      case TSessionStatus::Incomplete:
        lblSessionStatus->SetCaption("Incomplete Session");
        btnStart->SetVisible(false);
        btnCompleteSession->SetVisible(true);
        break;
      case TSessionStatus::Unknown:
        lblSessionStatus->SetCaption("Unknown");
        btnCompleteSession->SetVisible(true);
        break;
      case TSessionStatus::Closed:
        lblSessionStatus->SetCaption("Closed Session");
        btnCompleteSession->SetVisible(false);
        break;
      default:
        break;
    }
    LastFreeBytes = free;
    LastDiscStatus = discStatus;
    LastDiscType = discType;
    LastSessionStatus = sessionStatus;
    if ((discStatus == TDiscStatus::Empty || discStatus == TDiscStatus::Incomplete ||
         discStatus == TDiscStatus::Other) &&
        NeedsMoreDiscs(ImageBytes, FreeBytes)) {
      SetStatus(LangText(TextId::FilesNeedMoreDiscs));
      Spanning = true;
    }
    if (Operation == TBurnOperation::None && Spanning && discStatus == TDiscStatus::Empty && DiscNumber > 0) {
      btnStart->SetVisible(false);
      btnStartClick(this);
    }
  } catch (const std::exception&) {
  }
}

// --- the writer's events ---

void TfrmBurn::CDWriterClosingDisc(TObject*) {
  Quietly([&] {
    SetStatus(LangText(TextId::ClosingTheDisc));
    Pump();
  });
}

void TfrmBurn::CDWriterClosingSession(TObject*) {
  Quietly([&] {
    SetStatus(LangText(TextId::ClosingTheSession));
    Pump();
  });
}

void TfrmBurn::CDWriterErasingDisc(TObject*) {
  SetStatus(LangText(TextId::ErasingTheDisc));
  Pump();
}

void TfrmBurn::CDWriterEraseComplete(TObject*) {
  SetStatus(LangText(TextId::DiscErased));
  EnableControls();
  Message(LangText(TextId::DiscErased));
  tmrDiscInfo->SetEnabled(true);
  Idle = true;
  Operation = TBurnOperation::None;
  CDWriter->ReleaseDevice();
  Pump();
  btnStop->SetVisible(false);
  btnStart->SetVisible(true);
}

void TfrmBurn::CDWriterWritingCancelled(TObject*) {
  Quietly([&] {
    tmrDiscInfo->SetEnabled(true);
    CDWriter->CloseLastSession(false);
    CDWriter->ReleaseDevice();
    EnableControls();
    Idle = true;
    Pump();
  });
}

void TfrmBurn::CDWriterWritingComplete(TObject*) {
  SetStatus(LangText(TextId::WritingComplete));
  CDWriter->ReleaseDevice();
  if (Operation == TBurnOperation::Writing) {
    if (!CDWriter->TestWrite) {
      CDWriter->EjectDisc();
      // What the poll showed has left the tray: the next disc is looked at afresh,
      // even when it reads like the last one did.
      LastFreeBytes = -1;
    }
    Operation = TBurnOperation::None;
    Idle = false;
  }
  if (Spanning) {
    SetStatus(LangText(TextId::InsertNextBlankDisc));
    tmrDiscInfo->SetEnabled(true);
    Operation = TBurnOperation::None;
    Idle = false;
    // Stop stays the way out while the set waits for its next disc.
    btnStop->SetVisible(true);
  } else {
    EnableControls();
    btnStop->SetVisible(false);
    btnStart->SetVisible(true);
    tmrDiscInfo->SetEnabled(true);
    Message(LangText(TextId::FilesWrittenToCd));
    Operation = TBurnOperation::None;
    Idle = true;
    Close();
  }
  Pump();
}

void TfrmBurn::CDWriterPreparingToWrite(TObject*) {
  Quietly([&] {
    SetGauges({pbTotal, pbTrack}, 0);
    Pump();
  });
}

void TfrmBurn::CDWriterCreatingDirectories(TObject*) {
  Quietly([&] {
    Pump();
  });
}

void TfrmBurn::CDWriterTrackWriteStart(TObject*, short, int blocksToWrite) {
  Quietly([&] {
    pbTrack->SetValue(0);
    BlocksToWrite = blocksToWrite;
    LastBlocksWritten = 0;
    Pump();
  });
}

void TfrmBurn::CDWriterTrackWriteStatus(TObject*, short, int blocksWritten, short deviceBufferUsed) {
  Quietly([&] {
    pbDeviceBuffer->SetValue(deviceBufferUsed);
    TotalBlocksWritten += blocksWritten - LastBlocksWritten;
    pbTrack->SetValue(Percent(blocksWritten, BlocksToWrite));
    pbTotal->SetValue(Percent(static_cast<double>(TotalBlocksWritten), static_cast<double>(ImageBlocks)));
    SetStatus(LangText(TextId::BlocksWritten) + " " + IntToStr(blocksWritten));
    LastBlocksWritten = blocksWritten;
    Pump();
  });
}

void TfrmBurn::CDWriterWriteError(TObject*, int writeError, int deviceError) {
  const String text = WriteErrorText(writeError, deviceError, WideToAnsi(CDWriter->GetExtendedError()));
  Message(LangText(TextId::RanIntoAProblem) + "\r\n" + text, ksmtError);
  WriteErrorLog("Burning: " + text);
  // The write is over, and so is a set it belonged to: the dialog may close again.
  EndOperation();
  Screen->SetCursor(crDefault);
}

void TfrmBurn::CDWriterClosingTrack(TObject*, short track) {
  Quietly([&] {
    SetStatus(LangText(TextId::WritingTrack) + IntToStr(track));
  });
}

void TfrmBurn::CDWriterReadBufferStatus(TObject*, short readBufferUsed) {
  Quietly([&] {
    pbReadBuffer->SetValue(readBufferUsed);
    Pump();
  });
}

void TfrmBurn::CDWriterCachingTrack(TObject*, short, int blocksToCache) {
  Quietly([&] {
    BlocksToCache = blocksToCache;
    Pump();
  });
}

void TfrmBurn::CDWriterCachingTrackStatus(TObject*, int blocksCached) {
  Quietly([&] {
    if (BlocksToCache == 0) return;
    const int percent = static_cast<int>(static_cast<int64_t>(blocksCached) * 100 / BlocksToCache);
    pbDeviceBuffer->SetValue(percent);
    SetStatus(LangText(TextId::FillingTheBuffer) + IntToStr(percent) + " %");
    Pump();
  });
}

void TfrmBurn::CDWriterReadingFile(TObject*, int) {
  Quietly([&] {
    SetStatus(LangText(TextId::ReadingFiles));
    Pump();
  });
}

void TfrmBurn::CDWriterEnumAudioTrack(TObject*, const std::wstring&, int, int, int, short) {}

void TfrmBurn::CDWriterISOItemAdded(TObject*, const std::wstring&, const std::wstring&, const std::wstring& itemName,
                                    const std::wstring&, bool, TDateTime, int) {
  Quietly([&] {
    SetStatus(LangText(TextId::AddedToTheDisc) + WideToAnsi(itemName));
    Pump();
  });
}

void TfrmBurn::CDWriterISOItemRemoved(TObject*, const std::wstring&, const std::wstring&, bool) { Pump(); }

void TfrmBurn::CDWriterISOItemRenamed(TObject*, const std::wstring&, const std::wstring&, const std::wstring&, bool) {
  Quietly([&] {
    Pump();
  });
}

void TfrmBurn::CDWriterISODestPathChanged(TObject*, const std::wstring&, const std::wstring&, bool) {}

void TfrmBurn::CDWriterEnumISOItems(TObject*, const std::wstring&, const std::wstring& itemDestPath,
                                    const std::wstring& itemName, const std::wstring&, bool, TDateTime, int) {
  SetStatus(LangText(TextId::OnTheDisc) + WideToAnsi(itemDestPath) + "    " + WideToAnsi(itemName));
  Pump();
}

void TfrmBurn::CDWriterTrackFileError(TObject*, int fileError, const std::wstring& fileName) {
  Quietly([&] {
    SetStatus(LangText(TextId::FileError) + IntToStr(fileError) + " on " + WideToAnsi(fileName));
    Pump();
  });
}

void TfrmBurn::CDWriterISOImageReset(TObject*) { Pump(); }

void TfrmBurn::CDWriterReplaceImportedISOFile(TObject*, const std::wstring&, const std::wstring&,
                                              const std::wstring&, bool&) {}
