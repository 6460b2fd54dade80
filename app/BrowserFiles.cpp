#include "app/BrowserFiles.h"

#include "framework/core/fileutils.h"

std::vector<String> ListRecoveredFolder(const String& Folder) {
  std::vector<String> files;
  TSearchRec rec;
  for (int found = FindFirst(Folder + "*.*", faAnyFile, rec); found == 0; found = FindNext(rec)) {
    if (rec.Attr & faDirectory) continue;
    if (UpperCase(Trim(rec.Name)) == "THUMBS.DB") continue;
    files.push_back(Folder + rec.Name);
  }
  return files;
}

std::vector<TPoint> PreviewGridPlaces(int Count, int Width) {
  std::vector<TPoint> places;
  int x = 0, y = 0;
  for (int i = 0; i < Count; ++i) {
    places.push_back(TPoint{x, y});
    if (x + 2 * kPreviewWidth > Width) {
      x = 0;
      y += kPreviewHeight;
    } else {
      x += kPreviewWidth;
    }
  }
  return places;
}

String FileSizeText(uint64_t Size) {
  const double size = static_cast<double>(Size);
  if (Size < 1048576) return Format("%f KB", size / 1024);
  if (Size < 1073741824) return Format("%f MB", size / 1048576);
  return Format("%f GB", size / 1073741824);
}
