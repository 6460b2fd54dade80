// TksSkinMessage: every question and notice of the program, shown as a small
// skinned form built in code for each call (frame, text label, the type's system
// icon and one skinned push button per requested button). Tests and callers'
// tests answer it through TksMessageSeam instead of showing a box.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <initializer_list>
#include <vector>

#include "framework/core/seams.h"
#include "framework/gui/forms.h"
#include "skin/dialogs/ksDialogs.h"

class TksSkinForm;
class TksSkinStdLabel;

enum TksMessageType : uint8_t { ksmtWarning, ksmtError, ksmtInformation, ksmtConfirmation, ksmtCustom };

// Bit order is also the left-to-right order of the buttons.
enum TksMessageButton : uint8_t {
  ksmbYes, ksmbNo, ksmbOK, ksmbCancel, ksmbAbort, ksmbRetry, ksmbIgnore, ksmbAll, ksmbNoToAll, ksmbYesToAll,
  ksmbHelp
};
inline constexpr int kKsMessageButtonCount = 11;

class TksMessageButtons {
 public:
  constexpr TksMessageButtons() = default;
  constexpr TksMessageButtons(std::initializer_list<TksMessageButton> buttons) {
    for (TksMessageButton b : buttons) bits_ = static_cast<uint16_t>(bits_ | (1u << b));
  }
  static constexpr TksMessageButtons FromBits(uint16_t bits) {
    TksMessageButtons s;
    s.bits_ = bits;
    return s;
  }
  constexpr bool Contains(TksMessageButton b) const { return (bits_ & (1u << b)) != 0; }
  constexpr uint16_t Bits() const { return bits_; }
  // The buttons that are shown: bits 0 to 10.
  int Count() const;
  constexpr bool operator==(const TksMessageButtons&) const = default;

 private:
  uint16_t bits_ = 0;
};

// What a box would have put to the user; the answer is its modal result.
struct TksMessageSeam {
  // Empty: the box is shown.
  std::function<int(const String& Msg, TksMessageType DlgType, TksMessageButtons Buttons)> Show;

  static TksMessageSeam Win32() { return {}; }
  void FillFrom(const TksMessageSeam& p) { seam_detail::Fill(Show, p.Show); }
};

inline TksMessageSeam& KsMessageSeam() { return CurrentSeam<TksMessageSeam>(); }

// For tests: while it lives every box is recorded and answered from the script
// in order; once the script runs out a box gets the close result (2).
class TksScriptedMessages {
 public:
  struct Box {
    String Msg;
    TksMessageType DlgType;
    TksMessageButtons Buttons;
  };
  explicit TksScriptedMessages(std::initializer_list<int> answers = {});

  void Answer(int result) { answers_.push_back(result); }
  const std::vector<Box>& Boxes() const { return boxes_; }

 private:
  std::vector<Box> boxes_;
  std::deque<int> answers_;
  ScopedSeam<TksMessageSeam> seam_;
};

class TksMessageForm : public TForm {
 public:
  explicit TksMessageForm(TComponent* AOwner);

  TksSkinForm* SkinFormComponent() const { return skinForm_; }
  TksSkinStdLabel* MessageLabel() const { return messageLabel_; }
  void SetMessageLabel(TksSkinStdLabel* label) { messageLabel_ = label; }
  void HelpButtonClick(TObject* Sender);

 private:
  TksSkinForm* skinForm_;
  TksSkinStdLabel* messageLabel_ = nullptr;
};

class TksSkinMessage : public TksSkinDialogComponent {
 public:
  explicit TksSkinMessage(TComponent* AOwner);

  // The modal result of the button that closed the box; 2 when it was closed
  // without one.
  int MessageDlg(const String& Msg, TksMessageType DlgType, TksMessageButtons Buttons, int HelpCtx);

  String ButtonSkinDataName = "button";
  String MessageLabelSkinDataName = "stdlabel";
  TFont* DefaultFont() { return &defaultFont_; }
  void SetDefaultFont(TFont* value) { defaultFont_.Assign(value); }
  TFont* DefaultButtonFont() { return &defaultButtonFont_; }
  void SetDefaultButtonFont(TFont* value) { defaultButtonFont_.Assign(value); }
  bool UseSkinFont = true;

 private:
  TFont defaultFont_, defaultButtonFont_;
};

// The filled form, not yet shown; the caller frees it.
TksMessageForm* CreateSkinMessageForm(const String& Msg, TksMessageType DlgType, TksMessageButtons Buttons,
                                      int HelpCtx, TksSkinMessage& settings);

String GetSkinMessageButtonCaption(TksMessageButton Button, const TksSkinData* CtrlSkinData);
// Empty for the custom type, which has no text of its own.
String GetSkinMessageCaption(TksMessageType DlgType, const TksSkinData* CtrlSkinData);
// The modal result a button gives; Help gives none.
int SkinMessageButtonResult(TksMessageButton Button);
// The component name of a button ("Yes", "NoToAll", ...).
String SkinMessageButtonName(TksMessageButton Button);
