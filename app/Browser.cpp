#include "app/Browser.h"

#include <windows.h>

#include <algorithm>

#include "app/BrowserFiles.h"
#include "app/DialogFrame.h"
#include "app/Forms.h"
#include "app/GenericWait.h"
#include "app/MainForm.h"
#include "app/Place.h"
#include "app/Texts.h"
#include "engine/PassFolders.h"
#include "engine/ScanEngine.h"
#include "engine/Utils.h"
#include "engine/intDorvane.h"
#include "framework/core/fileutils.h"
#include "framework/gui/application.h"
#include "framework/gui/screen.h"
#include "skin/controls/ksSkinCheckRadio.h"
#include "skin/controls/ksSkinGauge.h"
#include "skin/controls/ksSkinLabels.h"
#include "skin/controls/ksSkinLinkLabel.h"
#include "skin/controls/ksSkinScrollBar.h"
#include "skin/dialogs/ksMessages.h"
#include "skin/frame/ksSkinForm.h"
#include "skin/views/ksSkinPanel.h"
#include "skin/views/ksSkinScrollBox.h"

namespace {

// The library's drawing of a file into a bitmap; its answer is not needed: a file
// it cannot read gets its placeholder.
void DrawThumbnail(const String& fileName, int kind, int width, int height, TBitmap& bitmap) {
  if (intDorvane::CreateThumbnail)
    intDorvane::CreateThumbnail(fileName.c_str(), static_cast<int16_t>(kind), width, height, &bitmap);
}

TksSkinStdLabel* NewLabel(TfrmBrowse* form, TWinControl* parent, int left, int top, bool bold) {
  auto* l = PlaceIn<TksSkinStdLabel>(form, parent, left, top, 440, 13);
  if (bold) l->Font()->SetStyle(fsBold);
  l->SetSkinData(frmMain->ksCompSkin);
  return l;
}

}  // namespace

TPreviewImage::TPreviewImage(TComponent* AOwner) : TPanel(AOwner), Image(new TImage(AOwner)) {
  SetBounds(0, 0, kPreviewWidth, kPreviewHeight);
  Image->SetParent(this);
  Image->SetBounds(0, 0, kThumbnailWidth, kThumbnailHeight);
  Image->Picture()->Bitmap()->SetSize(kThumbnailWidth, kThumbnailHeight);
}

TThumbnail::TThumbnail(const String& fileName, int kind) : Bitmap(kThumbnailWidth, kThumbnailHeight), FileName(fileName), Kind(kind) {}

TfrmBrowse::TfrmBrowse(TComponent* AOwner) : TForm(AOwner) {
  Name = "frmBrowse";
  SetBorderStyle(bsDialog);
  SetFormStyle(fsStayOnTop);
  Position = poScreenCenter;
  SetClientSize(677, 582);
  TksSkinData* skin = frmMain->ksCompSkin;

  ksSkinPanel1 = new TksSkinPanel(this);
  ksSkinPanel1->SetParent(this);
  ksSkinPanel1->SetAlign(alTop);
  ksSkinPanel1->SetHeight(193);
  ksSkinPanel1->SetSkinDataName("panel");
  ksSkinPanel1->SetSkinData(skin);

  pnlPicture = PlaceIn<TksSkinPanel>(this, ksSkinPanel1, 8, 8, 185, 177);
  pnlPicture->SetSkinData(skin);

  imgPicture = new TImage(this);
  imgPicture->SetParent(pnlPicture);
  imgPicture->SetAlign(alClient);
  imgPicture->SetStretch(true);
  imgPicture->SetProportional(true);

  lblFilename = NewLabel(this, ksSkinPanel1, 216, 24, true);
  lblFilenameText = NewLabel(this, ksSkinPanel1, 216, 40, false);
  lblFileSize = NewLabel(this, ksSkinPanel1, 216, 68, true);
  lblFileSizeText = NewLabel(this, ksSkinPanel1, 216, 84, false);

  hlDirectory = PlaceIn<TksSkinLinkLabel>(this, ksSkinPanel1, 216, 123, 300, 16);
  hlDirectory->SetCursor(crHandPoint);
  hlDirectory->OnClick = Bind<&TfrmBrowse::hlDirectoryClick>(this);
  hlDirectory->SetSkinData(skin);

  auto radio = [&](int top, const String& caption, bool checked, void (TfrmBrowse::*click)(TObject*)) {
    auto* r = PlaceIn<TksSkinCheckRadioBox>(this, ksSkinPanel1, 216, top, 150, 20);
    r->SetCaption(caption);
    r->SetRadio(true);
    r->SetSkinDataName("radiobox");
    r->GroupIndex = 1;
    r->SetChecked(checked);
    r->OnClick = TNotifyEvent([this, click](TObject* Sender) { (this->*click)(Sender); });
    r->SetSkinData(skin);
    return r;
  };
  radTurbo = radio(144, "Turbo Scan", true, &TfrmBrowse::radTurboClick);
  radDeep = radio(168, "Deep Scan", false, &TfrmBrowse::radDeepClick);

  ksSkinScrollBar1 = new TksSkinScrollBar(this);
  ksSkinScrollBar1->SetParent(this);
  ksSkinScrollBar1->SetKind(sbVertical);
  ksSkinScrollBar1->SetAlign(alRight);
  ksSkinScrollBar1->SetWidth(19);
  ksSkinScrollBar1->SetVisible(false);
  ksSkinScrollBar1->SetSmallChange(30);
  ksSkinScrollBar1->SetLargeChange(50);
  ksSkinScrollBar1->SetSkinDataName("vscrollbar");
  ksSkinScrollBar1->SetSkinData(skin);

  sbScroll = new TksSkinScrollBox(this);
  sbScroll->SetParent(this);
  sbScroll->SetAlign(alClient);
  sbScroll->SetBorderStyle(TksSkinBorderStyle::bvNone);
  sbScroll->SetSkinDataName("scrollbox");
  sbScroll->SetVScrollBar(ksSkinScrollBar1);
  sbScroll->SetSkinData(skin);

  OnActivate = Bind<&TfrmBrowse::FormActivate>(this);
  OnShow = Bind<&TfrmBrowse::FormShow>(this);
  OnHide = Bind<&TfrmBrowse::FormHide>(this);

  ksSkinForm1 = AddDialogFrame(this, 677, 582, skin,
                               {TksBorderIcon::SystemMenu, TksBorderIcon::Minimize, TksBorderIcon::RollUp});

  FormCreate(this);
}

// The previews go before the components the form owns, whichever way it is freed.
TfrmBrowse::~TfrmBrowse() { FreePreviews(); }

void TfrmBrowse::BeforeDestruction() {
  FreePreviews();
  TForm::BeforeDestruction();
}

void TfrmBrowse::FormCreate(TObject*) {
  hlDirectory->SetCaption(LangText(TextId::OpenRecoveredFolder));
  lblFilename->SetCaption(LangText(TextId::FileName));
  lblFileSize->SetCaption(LangText(TextId::FileSize));
}

void TfrmBrowse::FormActivate(TObject*) {
  lblFilenameText->SetCaption("");
  lblFileSizeText->SetCaption("");
}

void TfrmBrowse::ListRecoveredFiles() {
  const String output = frmMain->Engine->GetDestinationFolder();
  TurboFiles = ListRecoveredFolder(output + kDuvidAzizFolder);
  DeepFiles = ListRecoveredFolder(output + kDezoDoziFolder);
  TurboCount = static_cast<int>(TurboFiles.size());
  DeepCount = static_cast<int>(DeepFiles.size());
}

void TfrmBrowse::MakeThumbnails() {
  const bool turbo = TurboCount > 0 && radTurbo->Checked();
  (turbo ? radTurbo : radDeep)->SetChecked(true);
  (turbo ? radDeep : radTurbo)->SetChecked(false);
  const std::vector<String>& files = turbo ? TurboFiles : DeepFiles;
  frmGenericWait->SetProgressMax(std::max(0, static_cast<int>(files.size()) - 1));
  for (const String& name : files) {
    if (frmGenericWait->Cancelled) break;
    auto thumbnail = std::make_unique<TThumbnail>(name, frmMain->Engine->FileTypeOfExtension(ExtractFileExt(name)));
    DrawThumbnail(name, thumbnail->Kind, kThumbnailWidth, kThumbnailHeight, thumbnail->Bitmap);
    // Only the pixels are kept: a thousand files must not hold a thousand drawing contexts.
    thumbnail->Bitmap.Dormant();
    Thumbnails.push_back(std::move(thumbnail));
    frmGenericWait->StepProgress();
    Application->ProcessMessages();
  }
}

void TfrmBrowse::LayoutPreviews() {
  frmGenericWait->SetProgressPosition(0);
  frmGenericWait->SetProgressMax(std::max(0, static_cast<int>(Thumbnails.size()) - 1));
  const std::vector<TPoint> places = PreviewGridPlaces(static_cast<int>(Thumbnails.size()), sbScroll->Width());
  for (size_t i = 0; i < Thumbnails.size(); ++i) {
    TThumbnail& thumbnail = *Thumbnails[i];
    auto* preview = new TPreviewImage(this);
    preview->SetParent(sbScroll);
    preview->SetLeft(places[i].X);
    preview->SetTop(places[i].Y);
    preview->FileName = thumbnail.FileName;
    preview->Kind = thumbnail.Kind;
    TBitmap* picture = preview->Image->Picture()->Bitmap();
    picture->Canvas()->StretchDraw(TRect{0, 0, kThumbnailWidth, kThumbnailHeight}, &thumbnail.Bitmap);
    picture->Dormant();
    thumbnail.Bitmap.Dormant();
    preview->Image->OnClick = Bind<&TfrmBrowse::PreviewClick>(this);
    preview->Image->OnDblClick = Bind<&TfrmBrowse::PreviewDblClick>(this);
    thumbnail.Preview = preview;
    frmGenericWait->StepProgress();
    frmGenericWait->ShowProgress();
  }
  frmGenericWait->HideWait();
  sbScroll->SetVisible(true);
  // Only now do the previews tell the box how far it reaches: the bar must cover every row.
  sbScroll->UpdateScrollBars();
}

void TfrmBrowse::FreePreviews() {
  while (!Thumbnails.empty()) {
    TThumbnail& thumbnail = *Thumbnails.back();
    if (thumbnail.Preview != nullptr) {
      thumbnail.Preview->Image->Invalidate();
      delete thumbnail.Preview->Image;
      delete thumbnail.Preview;
    }
    Thumbnails.pop_back();
  }
}

void TfrmBrowse::ClearPreviews() {
  sbScroll->Invalidate();
  sbScroll->SetVisible(false);
  FreePreviews();
  // The next grid starts at the top, whatever was scrolled to.
  ksSkinScrollBar1->SetPosition(0);
  sbScroll->SetVisible(true);
  sbScroll->UpdateScrollBars();
  Application->ProcessMessages();
}

void TfrmBrowse::Rebuild() {
  const bool turbo = TurboCount > 0 && radTurbo->Checked();
  const int count = turbo ? TurboCount : DeepCount;
  Application->ProcessMessages();
  frmGenericWait->SetProgressPosition(0);
  frmGenericWait->SetProgressMax(std::max(0, count - 1));
  frmGenericWait->pbLoading->SetVisible(true);
  frmGenericWait->ShowProgress();
  Application->ProcessMessages();
  MakeThumbnails();
  Application->ProcessMessages();
  frmGenericWait->HideWait();
  LayoutPreviews();
  Rebuilding = false;
}

void TfrmBrowse::FormShow(TObject*) {
  Rebuilding = true;
  ListRecoveredFiles();
  Rebuild();
}

void TfrmBrowse::FormHide(TObject*) {
  sbScroll->Invalidate();
  sbScroll->SetVisible(false);
  FreePreviews();
  ksSkinScrollBar1->SetPosition(0);
  TurboFiles.clear();
  DeepFiles.clear();
}

void TfrmBrowse::PassClick(bool turbo) {
  if (Rebuilding) return;
  Rebuilding = true;
  if ((turbo ? TurboCount : DeepCount) == 0) {
    frmMain->Message(TextId::ScanFoundNothing, ksmtError);
    (turbo ? radDeep : radTurbo)->SetChecked(true);
    Rebuilding = false;
    return;
  }
  ClearPreviews();
  Rebuild();
}

void TfrmBrowse::radTurboClick(TObject*) { PassClick(true); }
void TfrmBrowse::radDeepClick(TObject*) { PassClick(false); }

void TfrmBrowse::PreviewClick(TObject* Sender) {
  try {
    auto* preview = static_cast<TPreviewImage*>(static_cast<TControl*>(Sender)->Parent());
    lblFilenameText->SetCaption(ExtractFileName(preview->FileName));
    lblFileSizeText->SetCaption(FileSizeText(GetFileSizeByName(preview->FileName)));
    Screen->SetCursor(crHourGlass);
    // Whatever the library does, the cursor comes back and the picture is repainted.
    struct Restore {
      TImage* picture;
      ~Restore() {
        Screen->SetCursor(crDefault);
        picture->Invalidate();
      }
    } restore{imgPicture};
    TBitmap* picture = imgPicture->Picture()->Bitmap();
    picture->SetSize(imgPicture->Width(), imgPicture->Height());
    DrawThumbnail(preview->FileName, preview->Kind, imgPicture->Width(), imgPicture->Height(), *picture);
    picture->Dormant();
  } catch (...) {
    // A file that cannot be shown leaves the last picture.
  }
}

void TfrmBrowse::PreviewDblClick(TObject* Sender) {
  auto* preview = static_cast<TPreviewImage*>(static_cast<TControl*>(Sender)->Parent());
  OpenFileInShell(preview->FileName);
}

void TfrmBrowse::hlDirectoryClick(TObject*) {
  const String folder =
      frmMain->Engine->GetDestinationFolder() + (radTurbo->Checked() ? kDuvidAzizFolder : kDezoDoziFolder);
  SystemSeam().RunShellVerb(Handle(), "open", ExtractFilePath(folder), SW_SHOWMAXIMIZED);
}
