#include "app/frmDirectory.h"

#include "app/DialogFrame.h"
#include "app/Forms.h"
#include "app/MainForm.h"
#include "app/NewFolder.h"
#include "app/Place.h"
#include "app/Texts.h"
#include "engine/ScanEngine.h"
#include "framework/core/fileutils.h"
#include "framework/gui/menus.h"
#include "skin/boxes/ksSkinEdit.h"
#include "skin/controls/ksSkinLabels.h"
#include "skin/controls/ksSkinScrollBar.h"
#include "skin/dialogs/ksMessages.h"
#include "skin/frame/ksSkinForm.h"
#include "skin/menus/ksSkinPopupMenu.h"
#include "skin/shell/ksSkinDirTreeView.h"

String NewFolderName;

namespace {

TksSkinButton* NewButton(TfrmOutputDIR* form, int left, int width, void (TfrmOutputDIR::*click)(TObject*)) {
  auto* b = Place<TksSkinButton>(form, left, 354, width, 23);
  b->OnClick = TNotifyEvent([form, click](TObject* Sender) { (form->*click)(Sender); });
  b->SetSkinData(frmMain->ksCompSkin);
  return b;
}

}  // namespace

TfrmOutputDIR::TfrmOutputDIR(TComponent* AOwner) : TForm(AOwner) {
  Name = "frmOutputDIR";
  SetBorderStyle(bsSingle);
  Position = poMainFormCenter;
  SetClientSize(336, 427);
  TksSkinData* skin = frmMain->ksCompSkin;

  popDir = new TksSkinPopupMenu(this);
  plblAddFolder = new TMenuItem(this);
  plblAddFolder->SetCaption("&Add New Folder");
  plblAddFolder->OnClick = Bind<&TfrmOutputDIR::plblAddFolderClick>(this);
  popDir->Items()->Add(plblAddFolder);
  popDir->SetSkinData(skin);

  auto bar = [&](TScrollBarKind kind, int left, int top, int width, int height) {
    auto* b = Place<TksSkinScrollBar>(this, left, top, width, height);
    b->SetKind(kind);
    b->SetVisible(false);
    b->SetSkinDataName(kind == sbVertical ? "vscrollbar" : "hscrollbar");
    b->SetSkinData(skin);
    return b;
  };
  DIRvscroll = bar(sbVertical, 289, 8, 19, 273);
  DIRhscroll = bar(sbHorizontal, 8, 281, 281, 19);

  ksTreeView = Place<TksSkinDirTreeView>(this, 8, 8, 281, 273);
  ksTreeView->SetObjectTypes(ShellObjectSet(otFolders));
  ksTreeView->SetUseShellImages(true);
  ksTreeView->SetAutoRefresh(false);
  ksTreeView->SetShowRoot(false);
  ksTreeView->SetIndent(19);
  ksTreeView->SetReadOnly(false);
  ksTreeView->RightClickSelect = true;
  ksTreeView->AutoContextMenus = false;
  ksTreeView->SetPopupMenu(popDir);
  ksTreeView->SetVScrollBar(DIRvscroll);
  ksTreeView->SetHScrollBar(DIRhscroll);
  ksTreeView->OnClick = Bind<&TfrmOutputDIR::ksTreeViewClick>(this);
  ksTreeView->OnAddFolder = Bind<&TfrmOutputDIR::ksTreeViewAddFolder>(this);
  ksTreeView->OnEditing = Bind<&TfrmOutputDIR::ksTreeViewEditing>(this);
  ksTreeView->OnEdited = Bind<&TfrmOutputDIR::ksTreeViewEdited>(this);
  ksTreeView->OnChange = Bind<&TfrmOutputDIR::ksTreeViewChange>(this);
  ksTreeView->SetSkinData(skin);

  lblOutputDirectory = Place<TksSkinStdLabel>(this, 8, 304, 283, 13);
  lblOutputDirectory->SetSkinData(skin);

  txtDirectoryname = Place<TksSkinEdit>(this, 8, 320, 283, 21);
  txtDirectoryname->SetSkinData(skin);

  btnNewFolder = NewButton(this, 56, 91, &TfrmOutputDIR::btnNewFolderClick);
  btnOk = NewButton(this, 152, 67, &TfrmOutputDIR::btnOkClick);
  btnCancel = NewButton(this, 224, 67, &TfrmOutputDIR::btnCancelClick);

  OnActivate = Bind<&TfrmOutputDIR::FormActivate>(this);
  ksSkinForm1 = AddDialogFrame(this, 336, 427, skin);
}

void TfrmOutputDIR::FormActivate(TObject*) {
  const String folder = frmMain->Engine->GetDestinationFolder();
  if (!folder.empty()) txtDirectoryname->SetText(folder);
  SetCaption(LangText(TextId::OutputFolderTitle));
  lblOutputDirectory->SetCaption(LangText(TextId::OutputFolder));
  btnNewFolder->SetCaption(LangText(TextId::NewFolder));
  btnOk->SetCaption(LangText(TextId::OutputFolderOk));
  btnCancel->SetCaption(LangText(TextId::OutputFolderCancel));
}

void TfrmOutputDIR::ksTreeViewAddFolder(TObject*, TksShellFolder* AFolder, bool& CanAdd) {
  CanAdd = AFolder->IsFolder();
}

TksShellFolder* TfrmOutputDIR::SelectedRealFolder() {
  TksShellFolder* folder = ksTreeView->SelectedFolder();
  return folder != nullptr && folder->IsFolder() ? folder : nullptr;
}

void TfrmOutputDIR::ksTreeViewClick(TObject*) {
  if (TksShellFolder* folder = SelectedRealFolder()) txtDirectoryname->SetText(IncludeTrailingBackslash(folder->PathName()));
}

void TfrmOutputDIR::btnNewFolderClick(TObject*) { AddNewFolder(); }
void TfrmOutputDIR::plblAddFolderClick(TObject*) { AddNewFolder(); }

void TfrmOutputDIR::AddNewFolder() {
  TksShellFolder* folder = SelectedRealFolder();
  if (folder == nullptr) return;
  const String name = CreateNewFolder(folder->PathName());
  if (name.empty()) {
    frmMain->Message(TextId::FolderNotCreated, ksmtError);
    return;
  }
  // A refresh replaces the node; the selection is kept, so it finds the node again.
  ksTreeView->RefreshNode(ksTreeView->Selected());
  TTreeNode* node = ksTreeView->Selected();
  if (node == nullptr) return;
  node->Expand(false);
  NewFolderName = name;
  for (TTreeNode* child = node->GetFirstChild(); child != nullptr; child = child->GetNextSibling()) {
    if (child->Text() != NewFolderName) continue;
    ksTreeView->SetSelected(child);
    ksTreeView->RefreshNode(child);
    if (ksTreeView->CanFocus()) ksTreeView->SetFocus();
    ksTreeViewClick(ksTreeView);
    const int length = static_cast<int>(txtDirectoryname->Text().size());
    txtDirectoryname->SetSelStart(1);
    txtDirectoryname->SetSelLength(std::max(0, length - 2));
    txtDirectoryname->Invalidate();
    if (ksTreeView->CanFocus()) ksTreeView->SetFocus();
    break;
  }
}

void TfrmOutputDIR::ksTreeViewEditing(TObject*, TTreeNode* Node, bool& AllowEdit) {
  AllowEdit = Node != nullptr && Node->Text() == NewFolderName;
}

// The edited node is the new folder itself: its new path lies in its own parent,
// whatever names the folders above it bear.
void TfrmOutputDIR::ksTreeViewEdited(TObject*, TTreeNode* Node, String& S) {
  if (S.empty()) return;
  if (TksShellFolder* folder = TksCustomShellTreeView::FolderOf(Node))
    txtDirectoryname->SetText(RenamedFolderPath(folder->PathName(), S));
  // An edit ended by a click elsewhere has already given the focus to what was clicked:
  // a button takes a press only once it holds the focus, so taking it back here would
  // swallow the click.
  const HWND focus = GetFocus();
  const bool focusInTree = focus == nullptr || focus == ksTreeView->Handle() || IsChild(ksTreeView->Handle(), focus);
  if (focusInTree && ksTreeView->CanFocus()) ksTreeView->SetFocus();
}

void TfrmOutputDIR::ksTreeViewChange(TObject*, TTreeNode*) {}

void TfrmOutputDIR::btnCancelClick(TObject*) { Close(); }

void TfrmOutputDIR::btnOkClick(TObject*) {
  const String typed = txtDirectoryname->Text();
  if (!DirectoryExists(typed)) {
    // A missing folder has no short form to show: the question names it as typed.
    const String question = typed + " " + LangText(TextId::FolderDoesNotExistQuestion);
    if (frmMain->GenericMessage->MessageDlg(question, ksmtConfirmation, {ksmbYes, ksmbNo}, 0) != mrYes) return;
    if (!CreateDir(typed)) {
      frmMain->Message(TextId::FolderNotCreated, ksmtError);
      return;
    }
  }
  frmMain->Engine->SetDestinationFolder(typed);
  Close();
}
