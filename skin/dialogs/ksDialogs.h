// The select-folder, open-picture and password dialog components: settings kept
// on the main window; nothing here shows a dialog.
#pragma once

#include "framework/core/classes.h"
#include "framework/core/gdiobjects.h"
#include "framework/core/strings.h"
#include "skin/data/ksSkinData.h"

enum TksPasswordKind { pkRoundRect, pkRect, pkTriangle };

// The two skin references every dialog component keeps, forgotten when freed.
class TksSkinDialogComponent : public TComponent {
 public:
  explicit TksSkinDialogComponent(TComponent* AOwner) : TComponent(AOwner) {}

  TksSkinData* SkinData() const { return skinData_; }
  void SetSkinData(TksSkinData* value) { SetReference(skinData_, value); }
  TksSkinData* CtrlSkinData() const { return ctrlSkinData_; }
  void SetCtrlSkinData(TksSkinData* value) { SetReference(ctrlSkinData_, value); }
  bool AlphaBlend = false;
  int AlphaBlendValue = 200;
  bool AlphaBlendAnimation = false;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // "Arial" 14, no style.
  static void InitFont(TFont& font);

 private:
  void SetReference(TksSkinData*& field, TksSkinData* value);

  TksSkinData* skinData_ = nullptr;
  TksSkinData* ctrlSkinData_ = nullptr;
};

class TksSkinSelectDirectoryDialog : public TksSkinDialogComponent {
 public:
  explicit TksSkinSelectDirectoryDialog(TComponent* AOwner);

  TFont* DefaultFont() { return &defaultFont_; }
  void SetDefaultFont(TFont* value) { defaultFont_.Assign(value); }
  String Title = "Select folder";
  String Directory;

 private:
  TFont defaultFont_;
};

class TksSkinOpenPictureDialog : public TksSkinDialogComponent {
 public:
  explicit TksSkinOpenPictureDialog(TComponent* AOwner);

  TFont* DefaultFont() { return &defaultFont_; }
  void SetDefaultFont(TFont* value) { defaultFont_.Assign(value); }
  bool StretchPicture = false;
  bool MultiSelection = false;
  bool CtrlAlphaBlend = false;
  int CtrlAlphaBlendValue = 225;
  bool CtrlAlphaBlendAnimation = false;
  String LVHeaderSkinDataName = "resizebutton";
  String Title = "Open picture";
  String InitialDir;
  String Filter =
      "All (*.bmp;*.ico;*.emf;*.wmf)|*.bmp;*.ico;*.emf;*.wmf|Bitmaps (*.bmp)|*.bmp|Icons (*.ico)|*.ico|"
      "Enhanced Metafiles (*.emf)|*.emf|Metafiles (*.wmf)|*.wmf";
  int FilterIndex = 1;
  String FileName;
  // The names of a multiple selection.
  TStringList* Files() { return &files_; }

 private:
  TFont defaultFont_;
  TStringList files_;
};

class TksSkinPasswordDialog : public TksSkinDialogComponent {
 public:
  explicit TksSkinPasswordDialog(TComponent* AOwner);

  bool LoginMode = false;
  String Login;
  String LoginCaption = "Login name:";
  String Password;
  TksPasswordKind PasswordKind = pkRoundRect;
  String Caption = "Password";
  String PasswordCaption = "Password:";
  String ButtonSkinDataName = "button";
  String LabelSkinDataName = "stdlabel";
  String EditSkinDataName = "edit";
  bool UseSkinFont = true;
  TFont* DefaultLabelFont() { return &labelFont_; }
  void SetDefaultLabelFont(TFont* value) { labelFont_.Assign(value); }
  TFont* DefaultButtonFont() { return &buttonFont_; }
  void SetDefaultButtonFont(TFont* value) { buttonFont_.Assign(value); }
  TFont* DefaultEditFont() { return &editFont_; }
  void SetDefaultEditFont(TFont* value) { editFont_.Assign(value); }

 private:
  TFont labelFont_;
  TFont buttonFont_;
  TFont editFont_;
};
