// The skinned drop-down list of the machine's drives, each with the shell's name and
// small icon, filtered by drive kind; the main window picks the drive to recover from
// in one and rebuilds it when a volume arrives or leaves.
#pragma once

#include "skin/boxes/ksSkinComboBox.h"
#include "skin/shell/ksShellDriveList.h"

class TksSkinShellDriveComboBox : public TksSkinCustomComboBox, private IksDriveListView {
 public:
  explicit TksSkinShellDriveComboBox(TComponent* AOwner);

  TDriveTypes DriveTypes() const { return drives_.DriveTypes(); }
  // Rebuilds only for a set that differs from the stored one.
  void SetDriveTypes(TDriveTypes value) {
    if (drives_.SetDriveTypes(value)) BuildDriveList();
  }
  // Upper-case letter of the selected drive; 0 until one is selected and while none is listed.
  char Drive() const { return drives_.Drive(); }
  // Selects the drive of a letter in either case; an unlisted letter changes nothing.
  void SetDrive(char letter) { drives_.SetDrive(letter); }
  // Lists the drives again; the selected drive stays selected while it is still there.
  virtual void BuildDriveList() { drives_.Build(); }
  // For a volume that arrived or left: the shell's icons taken anew, then the list.
  void RefreshDrives() {
    drives_.RenewImages();
    BuildDriveList();
  }
  // The drive follows the selected item, then OnChange; callers announce the current drive with it.
  void Change() override;

  const TksShellDriveList& DriveList() const { return drives_; }

 protected:
  void CreateWnd() override;
  void CMTextChanged(TMessage& Message) override;

 private:
  void DrawDriveItem(TCanvas* Cnvs, int Index, int ItemWidth, int ItemHeight, TRect TxtRect, TOwnerDrawState State);

  int DriveItemCount() override { return Items()->Count(); }
  void ClearDriveItems() override { Items()->Clear(); }
  void AddDriveItem(const String& text) override { Items()->Add(text); }
  int DriveItemIndex() override { return ItemIndex(); }
  void SelectDriveItem(int index) override { SetItemIndex(index); }
  void RepaintDriveItems() override { Invalidate(); }

  TksShellDriveList drives_{*this};
};
