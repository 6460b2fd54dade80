// TfrmOutputDIR: the dialog in which the user picks or makes the output folder, the
// folder that receives the passes' sub-folders.
#pragma once

#include "framework/gui/comctrls.h"
#include "framework/gui/forms.h"

class TksShellFolder;
class TksSkinButton;
class TksSkinDirTreeView;
class TksSkinEdit;
class TksSkinForm;
class TksSkinPopupMenu;
class TksSkinScrollBar;
class TksSkinStdLabel;
class TMenuItem;

// The name of the folder the dialog made last; only that folder may be renamed in
// the tree. It outlives the dialog's showings.
extern String NewFolderName;

class TfrmOutputDIR : public TForm {
 public:
  explicit TfrmOutputDIR(TComponent* AOwner);

  TksSkinForm* ksSkinForm1;
  TksSkinDirTreeView* ksTreeView;
  TksSkinScrollBar* DIRhscroll;
  TksSkinScrollBar* DIRvscroll;
  TksSkinStdLabel* lblOutputDirectory;
  TksSkinEdit* txtDirectoryname;
  TksSkinButton* btnNewFolder;
  TksSkinButton* btnOk;
  TksSkinButton* btnCancel;
  TksSkinPopupMenu* popDir;
  TMenuItem* plblAddFolder;

  void FormActivate(TObject* Sender);
  void btnOkClick(TObject* Sender);
  void btnCancelClick(TObject* Sender);
  void btnNewFolderClick(TObject* Sender);
  void plblAddFolderClick(TObject* Sender);
  void ksTreeViewClick(TObject* Sender);
  void ksTreeViewAddFolder(TObject* Sender, TksShellFolder* AFolder, bool& CanAdd);
  void ksTreeViewEditing(TObject* Sender, TTreeNode* Node, bool& AllowEdit);
  void ksTreeViewEdited(TObject* Sender, TTreeNode* Node, String& S);
  void ksTreeViewChange(TObject* Sender, TTreeNode* Node);

 private:
  void AddNewFolder();
  // The selected node's folder when it is a real folder, else null.
  TksShellFolder* SelectedRealFolder();
};
