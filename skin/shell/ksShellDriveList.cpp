#include "skin/shell/ksShellDriveList.h"

#include <shellapi.h>

#include <algorithm>
#include <optional>
#include <string>

#include "skin/draw/ksSystemSeam.h"
#include "skin/draw/ksUtils.h"

TksShellDriveList::TksShellDriveList(IksDriveListView& view) : view_(view) { AttachSystemImages(); }

bool TksShellDriveList::SetDriveTypes(TDriveTypes value) {
  if (value == driveTypes_) return false;
  driveTypes_ = value;
  return true;
}

char TksShellDriveList::LetterAt(int index) const {
  return index >= 0 && index < static_cast<int>(drives_.size()) ? drives_[static_cast<size_t>(index)].Letter : 0;
}

void TksShellDriveList::AttachSystemImages() {
  if (!images_) {
    images_ = std::make_unique<TCustomImageList>(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON));
    images_->ShareImages = true;
    images_->DrawingStyle = dsTransparent;
  }
  SHFILEINFOA info{};
  images_->SetHandle(
      reinterpret_cast<HIMAGELIST>(KsSystemSeam().ShellFileInfo("", SHGFI_SYSICONINDEX | SHGFI_SMALLICON, &info)));
}

void TksShellDriveList::RenewImages() {
  images_.reset();
  AttachSystemImages();
}

void TksShellDriveList::Build() {
  std::optional<char> keptLetter;
  if (view_.DriveItemCount() > 0 && view_.DriveItemIndex() >= 0) {
    keptIndex_ = view_.DriveItemIndex();
    keptLetter = LetterAt(keptIndex_);
  }
  view_.ClearDriveItems();
  drives_.clear();
  AttachSystemImages();
  const TksSystemSeam& seam = KsSystemSeam();
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    const std::string root = std::string(1, letter) + ":\\";
    if (!InDriveTypes(driveTypes_, seam.DriveType(root))) continue;
    SHFILEINFOA info{};
    seam.ShellFileInfo(root, SHGFI_SYSICONINDEX | SHGFI_DISPLAYNAME | SHGFI_SMALLICON, &info);
    info.szDisplayName[sizeof info.szDisplayName - 1] = 0;
    drives_.push_back({letter, info.szDisplayName, info.iIcon});
    view_.AddDriveItem(drives_.back().DisplayName);
    if (keptLetter == letter) {
      // Selected while later drives are not listed yet: the change is announced now.
      keptIndex_ = static_cast<int>(drives_.size()) - 1;
      view_.SelectDriveItem(keptIndex_);
      SetDrive(letter);
    }
  }
  // A kept index of a longer list would name no drive.
  keptIndex_ = std::clamp(keptIndex_, 0, std::max(0, static_cast<int>(drives_.size()) - 1));
  if (drives_.empty()) drive_ = 0;
  else if (!keptLetter) SetDrive(LetterAt(keptIndex_));
  view_.RepaintDriveItems();
}

void TksShellDriveList::SetDrive(char letter) {
  if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 'a' + 'A');
  if (letter != drive_) {
    const auto found =
        std::find_if(drives_.begin(), drives_.end(), [&](const TksShellDrive& d) { return d.Letter == letter; });
    if (found == drives_.end()) return;
    drive_ = letter;
    keptIndex_ = static_cast<int>(found - drives_.begin());
    // A pick already shows its item and is announced once, by the view.
    if (view_.DriveItemIndex() != keptIndex_) view_.SelectDriveItem(keptIndex_);
    return;
  }
  // The current drive again: its item comes back if the selection was lost.
  if (LetterAt(keptIndex_) != 0 && view_.DriveItemIndex() != keptIndex_) view_.SelectDriveItem(keptIndex_);
}

void TksShellDriveList::Changed() {
  const int selected = view_.DriveItemIndex();
  if (selected != -1) keptIndex_ = selected;
  if (const char letter = LetterAt(keptIndex_)) SetDrive(letter);
}

void TksShellDriveList::DrawItem(TCanvas* canvas, int index, const TRect& rect) const {
  if (index < 0 || index >= static_cast<int>(drives_.size())) return;
  const TksShellDrive& drive = drives_[static_cast<size_t>(index)];
  int x = rect.Left;
  if (images_->Count() > 0) {
    images_->Draw(canvas, x, rect.Top + (RectHeight(rect) - images_->Height()) / 2, drive.IconIndex, true);
    x += images_->Width() + 4;
  }
  canvas->Brush()->SetStyle(bsClear);
  canvas->TextOut(x, rect.Top + RectHeight(rect) / 2 - canvas->TextHeight("Wg") / 2, drive.DisplayName);
}
