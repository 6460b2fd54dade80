#include "app/feedback.h"

#include "app/DialogFrame.h"
#include "app/FeedbackArt.inc"
#include "app/Forms.h"
#include "app/MainForm.h"
#include "app/Place.h"
#include "app/Website.h"
#include "engine/ScanEngine.h"
#include "framework/core/bitmap.h"
#include "framework/core/streams.h"
#include "framework/gui/extctrls.h"
#include "skin/controls/ksSkinLabels.h"
#include "skin/controls/ksSkinLinkLabel.h"
#include "skin/frame/ksSkinForm.h"
#include "skin/views/ksSkinPanel.h"

namespace {

// Support contacts. There is no support line yet: these are reserved, fictional values.
constexpr const char* kTelephone = "1-800-555-0142";
constexpr const char* kEmail = "support@example.com";

template <size_t N>
void LoadPicture(TImage* image, const uint8_t (&bmp)[N]) {
  TMemoryStream stream;
  stream.Write(bmp, static_cast<int>(N));
  stream.SetPosition(0);
  TBitmap bitmap;
  bitmap.LoadFromStream(stream);
  image->Picture()->SetGraphic(&bitmap);
}

}  // namespace

String VersionLine(uint32_t Major, uint32_t Minor, uint32_t Release, uint32_t Build) {
  return "KV Ver " + UIntToStr(Major) + "." + UIntToStr(Minor) + " Release " + UIntToStr(Release) + " Build " +
         UIntToStr(Build);
}

TfrmFeedback::TfrmFeedback(TComponent* AOwner) : TForm(AOwner) {
  Name = "frmFeedback";
  // The skinned frame is the box's only border.
  SetBorderStyle(bsSingle);
  Position = poMainFormCenter;
  SetClientSize(435, 206);
  SetCaption("Need More Help");
  TksSkinData* skin = frmMain->ksCompSkin;

  grpDetails = new TksSkinGroupBox(this);
  grpDetails->SetParent(this);
  grpDetails->SetAlign(alClient);
  grpDetails->SetCaption("Recovery Questions?");
  grpDetails->SetSkinData(skin);

  Image1 = PlaceIn<TImage>(this, grpDetails, 8, 32, 32, 32);
  Image1->SetTransparent(true);
  LoadPicture(Image1, kFeedbackQuestionBmp);

  auto label = [&](int left, int top, const String& caption) {
    auto* l = PlaceIn<TksSkinStdLabel>(this, grpDetails, left, top, 250, 13);
    l->SetCaption(caption);
    l->SetSkinData(skin);
    return l;
  };
  auto link = [&](int left, int top, const String& caption, const String& url) {
    auto* l = PlaceIn<TksSkinLinkLabel>(this, grpDetails, left, top, 250, 16);
    l->SetCaption(caption);
    l->SetCursor(crHandPoint);
    l->URL = url;
    l->SetSkinData(skin);
    return l;
  };

  ksSkinStdLabel1 = PlaceIn<TksSkinStdLabel>(this, grpDetails, 48, 24, 377, 49);
  ksSkinStdLabel1->SetAutoSize(false);
  ksSkinStdLabel1->SetWordWrap(true);
  // Four lines of the text must fit above the version line.
  ksSkinStdLabel1->Font()->SetHeight(-10);
  ksSkinStdLabel1->SetCaption(
      "Do you have questions on Korvalo 3 or image recovery? Quillet supports Korvalo 3 in the US and offers "
      "additional recovery options through its lab recovery service. You may contact us in any of the following "
      "ways:");
  ksSkinStdLabel1->SetSkinData(skin);

  ksSkinStdLabel5 = label(48, 72, "Version");
  lblVersionNo = label(168, 72, "");
  ksSkinStdLabel2 = label(48, 96, "By Telephone");
  ksSkinStdLabel4 = label(168, 96, kTelephone);
  ksSkinStdLabel4->Font()->SetStyle(fsBold);
  ksSkinStdLabel4->Font()->SetHeight(-13);
  ksSkinStdLabel3 = label(48, 120, "By Email");
  ksSkinLinkLabel1 = link(168, 120, kEmail, String("mailto:") + kEmail);
  ksSkinStdLabel6 = label(48, 144, "By Website");
  ksSkinLinkLabel2 = link(168, 144, kWebsite, kWebsiteURL);

  Image2 = PlaceIn<TImage>(this, grpDetails, 392, 160, 32, 32);
  Image2->SetTransparent(true);
  Image2->SetCursor(crHandPoint);
  LoadPicture(Image2, kFeedbackCloseBmp);
  Image2->OnClick = Bind<&TfrmFeedback::Image2Click>(this);

  OnActivate = Bind<&TfrmFeedback::FormActivate>(this);

  ksSkinForm1 = AddDialogFrame(
      this, 435, 206, skin,
      {TksBorderIcon::SystemMenu, TksBorderIcon::Minimize, TksBorderIcon::Maximize, TksBorderIcon::RollUp});
}

void TfrmFeedback::FormActivate(TObject*) {
  const TScanEngine& engine = *frmMain->Engine;
  lblVersionNo->SetCaption(VersionLine(engine.MajorVersion, engine.MinorVersion, engine.Release, engine.Build));
}

void TfrmFeedback::Image2Click(TObject*) { Close(); }
