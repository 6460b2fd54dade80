#include "app/GenericWait.h"

#include "app/ArtResources.h"
#include "app/Texts.h"
#include "framework/gui/application.h"
#include "skin/controls/ksSkinGauge.h"

TfrmGenericWait::TfrmGenericWait(TComponent* AOwner)
    : TForm(AOwner),
      Image1(new TImage(this)),
      lblText(new TLabel(this)),
      pbLoading(new TksSkinGauge(this)),
      lblPressEsc(new TLabel(this)) {
  SetBorderStyle(bsNone);
  SetBorderIcons(0);
  SetFormStyle(fsStayOnTop);
  Position = poMainFormCenter;
  SetAlphaBlend(true);
  SetAlphaBlendValue(210);
  SetClientSize(361, 93);

  Image1->SetParent(this);
  Image1->SetBounds(0, 0, 361, 93);
  LoadJpegResource(Image1->Picture(), kWaitBackgroundResource);

  lblText->SetParent(this);
  lblText->SetAutoSize(false);
  lblText->SetBounds(8, 8, 345, 49);
  lblText->SetAlignment(taCenter);
  lblText->SetLayout(tlCenter);
  lblText->SetTransparent(true);
  lblText->Font()->SetStyle(fsBold);

  // The gauge's own look: a section name but no skin.
  pbLoading->SetParent(this);
  pbLoading->SetBounds(16, 56, 321, 12);
  pbLoading->SetSkinDataName("gauge");
  pbLoading->SetMinValue(0);
  pbLoading->SetMaxValue(100);
  pbLoading->SetShowPercent(true);

  lblPressEsc->SetParent(this);
  lblPressEsc->SetAutoSize(false);
  lblPressEsc->SetBounds(16, 72, 321, 13);
  lblPressEsc->SetAlignment(taCenter);
  lblPressEsc->SetTransparent(true);
  lblPressEsc->SetVisible(false);

  OnKeyPress = Bind<&TfrmGenericWait::FormKeyPress>(this);
}

void TfrmGenericWait::ShowWait() {
  lblText->SetCaption(LangText(TextId::PleaseWait));
  lblPressEsc->Hide();
  Show();
}

void TfrmGenericWait::ShowProgress() {
  Cancelled = false;
  lblText->SetCaption(LangText(TextId::LoadingPleaseWait));
  lblPressEsc->SetCaption(LangText(TextId::PressEscToCancel));
  lblPressEsc->Show();
  Show();
  Application->ProcessMessages();
}

void TfrmGenericWait::StepProgress() {
  pbLoading->SetValue(pbLoading->Value() + 1);
  Repaint();
}

void TfrmGenericWait::SetProgressMax(int n) { pbLoading->SetMaxValue(n); }

void TfrmGenericWait::SetProgressPosition(int n) { pbLoading->SetValue(n); }

void TfrmGenericWait::HideWait() {
  Hide();
  Cancelled = false;
  Application->ProcessMessages();
}

void TfrmGenericWait::FormKeyPress(TObject*, char& Key) {
  if (Key == 27) Cancelled = true;
}
