// The machine's drive letters as the shell shows them, with their small shell icons,
// and the selected drive kept across rebuilds: what the drive combo box shows.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "framework/core/canvas.h"
#include "framework/core/sysutils.h"
#include "framework/core/types.h"
#include "framework/gui/imagelist.h"
#include "skin/shell/ksFileCtrl.h"

// What the drive list needs of the list control that shows it. Selecting an item
// announces the change at once, as a pick by the user does.
class IksDriveListView {
 public:
  virtual int DriveItemCount() = 0;
  virtual void ClearDriveItems() = 0;
  virtual void AddDriveItem(const String& text) = 0;
  virtual int DriveItemIndex() = 0;
  virtual void SelectDriveItem(int index) = 0;
  virtual void RepaintDriveItems() = 0;

 protected:
  ~IksDriveListView() = default;
};

struct TksShellDrive {
  char Letter = 0;
  String DisplayName;
  int IconIndex = -1;  // in the system small-icon list
};

class TksShellDriveList {
 public:
  explicit TksShellDriveList(IksDriveListView& view);

  TDriveTypes DriveTypes() const { return driveTypes_; }
  // Stores the set; false when it is the stored one, so nothing needs building.
  bool SetDriveTypes(TDriveTypes value);
  // Upper-case letter of the selected drive; 0 until one is selected and when none is listed.
  char Drive() const { return drive_; }
  int KeptIndex() const { return keptIndex_; }
  const std::vector<TksShellDrive>& Drives() const { return drives_; }
  // The system's small-icon list, shared: it is never destroyed here.
  TCustomImageList* Images() const { return images_.get(); }

  // Lists the drives again, selecting the kept drive again where it is still there.
  void Build();
  // A new image list on the system's, for a volume that arrived or left.
  void RenewImages();
  // Selects the item of a drive letter in either case; an unlisted letter changes nothing.
  void SetDrive(char letter);
  // The view's selection changed: keep it and follow it with the drive.
  void Changed();
  // One item, for the closed face and each drop-down row: the icon, then the name.
  void DrawItem(TCanvas* canvas, int index, const TRect& rect) const;

 private:
  void AttachSystemImages();
  char LetterAt(int index) const;

  IksDriveListView& view_;
  TDriveTypes driveTypes_ = DefaultDriveTypes;
  char drive_ = 0;
  int keptIndex_ = 0;
  std::vector<TksShellDrive> drives_;
  std::unique_ptr<TCustomImageList> images_;
};
