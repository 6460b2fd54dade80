#include "skin/dialogs/ksMessages.h"

#include <algorithm>
#include <array>
#include <bit>

#include "framework/core/icon.h"
#include "framework/gui/application.h"
#include "framework/gui/extctrls.h"
#include "skin/controls/ksSkinCtrls.h"
#include "skin/controls/ksSkinLabels.h"
#include "skin/data/ksConst.h"
#include "skin/frame/ksSkinForm.h"

namespace {

struct ButtonRow {
  const char* name;
  const char* resName;
  int result;
};

constexpr std::array<ButtonRow, kKsMessageButtonCount> kButtons{{
    {"Yes", "MSG_BTN_YES", mrYes},
    {"No", "MSG_BTN_NO", mrNo},
    {"OK", "MSG_BTN_OK", mrOk},
    {"Cancel", "MSG_BTN_CANCEL", mrCancel},
    {"Abort", "MSG_BTN_ABORT", mrAbort},
    {"Retry", "MSG_BTN_RETRY", mrRetry},
    {"Ignore", "MSG_BTN_IGNORE", mrIgnore},
    {"All", "MSG_BTN_ALL", 8},
    {"NoToAll", "MSG_BTN_NOTOALL", 9},
    {"YesToAll", "MSG_BTN_YESTOALL", 10},
    {"Help", "MSG_BTN_HELP", mrNone},
}};

struct TypeRow {
  const char* resName;
  int icon;
};

constexpr std::array<TypeRow, 4> kTypes{{
    {"MSG_CAP_WARNING", 32515},      // IDI_EXCLAMATION
    {"MSG_CAP_ERROR", 32513},        // IDI_HAND
    {"MSG_CAP_INFORMATION", 32516},  // IDI_ASTERISK
    {"MSG_CAP_CONFIRM", 32514},      // IDI_QUESTION
}};

constexpr int kButtonWidth = 60, kButtonGap = 10, kPlainButtonHeight = 25;

int ButtonHeight(const TksSkinData* ctrlSkin, const String& section) {
  if (ctrlSkin == nullptr || ctrlSkin->Empty) return kPlainButtonHeight;
  const auto* d = ctrlSkin->ControlData<TksDataSkinButtonControl>(ctrlSkin->GetControlIndex(section));
  return d ? d->SkinRect.Bottom - d->SkinRect.Top : kPlainButtonHeight;
}

void LoadTypeIcon(TImage* image, TksMessageType type) {
  if (type >= kTypes.size()) return;
  HICON shared = LoadIconA(nullptr, MAKEINTRESOURCEA(kTypes[type].icon));
  if (!shared) return;
  TIcon icon;
  icon.SetHandle(CopyIcon(shared));  // the system's own icon is never destroyed
  image->Picture()->SetGraphic(&icon);
}

}  // namespace

int TksMessageButtons::Count() const { return std::popcount(static_cast<unsigned>(bits_ & 0x7FFu)); }

TksScriptedMessages::TksScriptedMessages(std::initializer_list<int> answers)
    : answers_(answers),
      seam_({.Show = [this](const String& msg, TksMessageType type, TksMessageButtons buttons) {
        boxes_.push_back({msg, type, buttons});
        if (answers_.empty()) return static_cast<int>(mrCancel);
        const int r = answers_.front();
        answers_.pop_front();
        return r;
      }}) {}

String GetSkinMessageButtonCaption(TksMessageButton Button, const TksSkinData* CtrlSkinData) {
  return KsResText(CtrlSkinData, kButtons[Button].resName);
}

String GetSkinMessageCaption(TksMessageType DlgType, const TksSkinData* CtrlSkinData) {
  return DlgType < kTypes.size() ? KsResText(CtrlSkinData, kTypes[DlgType].resName) : String();
}

int SkinMessageButtonResult(TksMessageButton Button) { return kButtons[Button].result; }

String SkinMessageButtonName(TksMessageButton Button) { return kButtons[Button].name; }

TksMessageForm::TksMessageForm(TComponent* AOwner) : TForm(AOwner), skinForm_(new TksSkinForm(this)) {
  Position = poScreenCenter;
  SetBorderStyle(bsDialog);
  KeyPreview = true;
  skinForm_->SetBorderIcons({});
}

void TksMessageForm::HelpButtonClick(TObject*) {
  if (Application) Application->HelpContext(HelpContext);
}

TksSkinMessage::TksSkinMessage(TComponent* AOwner) : TksSkinDialogComponent(AOwner) {
  InitFont(defaultFont_);
  InitFont(defaultButtonFont_);
}

TksMessageForm* CreateSkinMessageForm(const String& Msg, TksMessageType DlgType, TksMessageButtons Buttons,
                                      int HelpCtx, TksSkinMessage& s) {
  // Held until it is filled: a failure half-way frees it.
  TOwnedPtr<TksMessageForm> form(new TksMessageForm(Application));
  // The window first: client sizes are then measured inside the frame in use.
  form->HandleNeeded();
  TksSkinForm* frame = form->SkinFormComponent();
  frame->SetSkinData(s.SkinData());
  frame->SetMenusSkinData(s.CtrlSkinData());
  frame->SetAlphaBlend(s.AlphaBlend);
  frame->AlphaBlendAnimation = s.AlphaBlendAnimation;
  frame->SetAlphaBlendValue(static_cast<BYTE>(s.AlphaBlendValue));

  const int buttonHeight = ButtonHeight(s.CtrlSkinData(), s.ButtonSkinDataName);
  const int n = Buttons.Count();
  const int rowWidth = n == 0 ? 0 : kButtonWidth * n + kButtonGap * (n - 1);

  form->SetCaption(DlgType == ksmtCustom ? (Application ? Application->Title() : String())
                                         : GetSkinMessageCaption(DlgType, s.CtrlSkinData()));

  auto* label = new TksSkinStdLabel(form.get());
  label->SetParent(form.get());
  label->Name = "Message";
  label->SetFont(s.DefaultFont());
  label->SetDefaultFont(s.DefaultFont());
  label->UseSkinFont = s.UseSkinFont;
  label->SkinDataName = s.MessageLabelSkinDataName;
  label->SetSkinData(s.CtrlSkinData());
  label->SetAutoSize(true);
  label->SetCaption(Msg);
  label->SetLeft(50);
  label->SetTop(15);
  form->SetMessageLabel(label);
  const int textRight = label->Left() + label->Width();

  auto* image = new TImage(form.get());
  image->SetParent(form.get());
  image->Name = "Image";
  LoadTypeIcon(image, DlgType);
  image->SetBounds(5, std::max(10, label->Top() + label->Height() / 2 - 16), 32, 32);

  form->SetClientHeight(buttonHeight + 50 + label->Height());
  form->SetClientWidth(std::max(rowWidth, textRight) + 40);
  if (frame->GetMaxWidth() < form->Width())
    form->SetWidth(frame->GetMaxWidth());
  else if (frame->GetMinWidth() > form->Width())
    form->SetWidth(frame->GetMinWidth());

  const TksMessageButton defaultButton =
      Buttons.Contains(ksmbOK) ? ksmbOK : Buttons.Contains(ksmbYes) ? ksmbYes : ksmbRetry;
  const TksMessageButton cancelButton =
      Buttons.Contains(ksmbCancel) ? ksmbCancel : Buttons.Contains(ksmbNo) ? ksmbNo : ksmbOK;
  int x = (form->ClientWidth() - rowWidth) / 2;
  const int top = form->ClientHeight() - buttonHeight - 10;
  for (int i = 0; i < kKsMessageButtonCount; ++i) {
    const auto b = static_cast<TksMessageButton>(i);
    if (!Buttons.Contains(b)) continue;
    auto* button = new TksSkinButton(form.get());
    button->SetParent(form.get());
    button->Name = SkinMessageButtonName(b);
    button->SetCanFocused(true);
    button->SetCaption(GetSkinMessageButtonCaption(b, s.CtrlSkinData()));
    button->ModalResult = SkinMessageButtonResult(b);
    button->SetDefault(b == defaultButton);
    button->Cancel = b == cancelButton;
    button->SetDefaultHeight(buttonHeight);
    button->SetBounds(x, top, kButtonWidth, buttonHeight);
    button->SetDefaultFont(s.DefaultButtonFont());
    button->UseSkinFont = s.UseSkinFont;
    if (b == ksmbHelp) button->OnClick = Bind<&TksMessageForm::HelpButtonClick>(form.get());
    button->SetSkinDataName(s.ButtonSkinDataName);
    button->SetSkinData(s.CtrlSkinData());
    x += kButtonWidth + kButtonGap;
  }
  form->HelpContext = HelpCtx;
  return form.release();
}

int TksSkinMessage::MessageDlg(const String& Msg, TksMessageType DlgType, TksMessageButtons Buttons, int HelpCtx) {
  if (const auto& show = KsMessageSeam().Show) return show(Msg, DlgType, Buttons);
  TOwnedPtr<TksMessageForm> form(CreateSkinMessageForm(Msg, DlgType, Buttons, HelpCtx, *this));
  return form->ShowModal();
}
