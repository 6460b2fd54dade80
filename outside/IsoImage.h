// The disc image the writer stand-in burns: an ISO 9660 tree with level-2 names and a
// Joliet tree of the same files, both pointing at one copy of the data. The image is
// laid out from the file list alone, so its size is known before anything is read;
// the data is read from the source files only while the image is written.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "framework/core/strings.h"

constexpr int kIsoBlockSize = 2048;
// A file's size is a 32-bit field of its record; larger files would need several
// extents, which this image does not make.
constexpr int64_t kIsoMaxFileBytes = 0xFFFFFFFF;

struct TIsoItem {
  String DiscPath;    // as added, e.g. "Korvalo\IMG_0001.JPG"
  String SourcePath;  // empty for a directory
  bool IsDirectory = false;
  int64_t Size = 0;
};

// One file's place in the laid-out image.
struct TIsoExtent {
  String SourcePath;
  int64_t Size = 0;
  uint32_t Block = 0;
};

class TIsoImage {
 public:
  // Called for every item the image takes (an implied folder too).
  std::function<void(const TIsoItem&)> OnItemAdded;

  // False for a disc path already in the image (in any case), a source that is
  // missing or a folder, a source larger than kIsoMaxFileBytes, or an empty disc
  // path; `why` then tells which.
  bool AddFile(const String& discPath, const String& sourcePath, String* why = nullptr);
  // Removes a file by its disc path; folders left empty stay.
  bool RemoveItem(const String& discPath);
  void Clear();

  int FileCount() const;
  // What Write produces, in blocks; 0 while the image holds no file.
  int64_t Blocks() const;

  // The primary volume id is its upper-cased d-characters; the Joliet one as given.
  void SetVolumeIdentifier(const std::wstring& value) { volumeId_ = value; }
  const std::wstring& VolumeIdentifier() const { return volumeId_; }

  // Everything before the file data: system area, descriptors, path tables and
  // folder records, a whole number of blocks.
  std::vector<uint8_t> Header() const;
  // The files in the order their data follows the header.
  std::vector<TIsoExtent> Extents() const;

 private:
  struct Layout;
  const Layout& Laid() const;

  std::vector<TIsoItem> items_;
  std::wstring volumeId_;
  mutable std::shared_ptr<const Layout> layout_;
};
