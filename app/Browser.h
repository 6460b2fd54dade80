// TfrmBrowse: the browser of recovered files, a grid of thumbnails of either pass's
// files with a large preview, the clicked file's name and size, and a link to the
// folder. It never changes a file.
#pragma once

#include <memory>
#include <vector>

#include "framework/core/bitmap.h"
#include "framework/gui/extctrls.h"
#include "framework/gui/forms.h"

class TksSkinCheckRadioBox;
class TksSkinForm;
class TksSkinLinkLabel;
class TksSkinPanel;
class TksSkinScrollBar;
class TksSkinScrollBox;
class TksSkinStdLabel;

// One cell of the grid: a plain panel holding the thumbnail's image.
class TPreviewImage : public TPanel {
 public:
  // The image is owned by AOwner too, and parented here.
  explicit TPreviewImage(TComponent* AOwner);

  TImage* Image;
  String FileName;
  int Kind = 0;
};

// One shown file: its thumbnail, made once, and the cell it is laid out in.
struct TThumbnail {
  TThumbnail(const String& fileName, int kind);

  TBitmap Bitmap;
  String FileName;
  int Kind = 0;  // 1 image, 2 video, 3 sound, 4 data, 0 unknown extension
  TPreviewImage* Preview = nullptr;  // owned by the form; null until laid out
};

class TfrmBrowse : public TForm {
 public:
  explicit TfrmBrowse(TComponent* AOwner);
  ~TfrmBrowse() override;
  void BeforeDestruction() override;

  TksSkinForm* ksSkinForm1;
  TksSkinPanel* ksSkinPanel1;
  TksSkinPanel* pnlPicture;
  TImage* imgPicture;
  TksSkinStdLabel* lblFilename;
  TksSkinStdLabel* lblFilenameText;
  TksSkinStdLabel* lblFileSize;
  TksSkinStdLabel* lblFileSizeText;
  TksSkinLinkLabel* hlDirectory;
  TksSkinCheckRadioBox* radTurbo;
  TksSkinCheckRadioBox* radDeep;
  TksSkinScrollBox* sbScroll;
  TksSkinScrollBar* ksSkinScrollBar1;

  std::vector<String> TurboFiles;
  std::vector<String> DeepFiles;
  int TurboCount = 0;
  int DeepCount = 0;
  std::vector<std::unique_ptr<TThumbnail>> Thumbnails;
  bool Rebuilding = false;

  void FormCreate(TObject* Sender);
  void FormActivate(TObject* Sender);
  void FormShow(TObject* Sender);
  void FormHide(TObject* Sender);
  void hlDirectoryClick(TObject* Sender);
  void radTurboClick(TObject* Sender);
  void radDeepClick(TObject* Sender);
  void PreviewClick(TObject* Sender);
  void PreviewDblClick(TObject* Sender);

  void ListRecoveredFiles();
  void MakeThumbnails();
  void LayoutPreviews();
  void ClearPreviews();

 private:
  // Shows the files of one pass: the grid and its thumbnails made anew.
  void Rebuild();
  // A click on one pass's button: an empty pass goes back to the other with a message.
  void PassClick(bool turbo);
  void FreePreviews();
};
