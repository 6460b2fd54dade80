// The stored skin: an ini text and its pictures packed into one zlib stream,
// carried inside the program and inflated by the skin data container.
#pragma once

#include <memory>

#include "framework/core/bitmap.h"
#include "framework/core/classes.h"
#include "framework/core/inifiles.h"
#include "framework/core/streams.h"

// The highest stored-skin version we can read; the writer writes it.
constexpr int32_t kStoredSkinVersion = 3;

// True when the ini has the five sections every skin needs.
bool CheckSkinSections(TCustomIniFile& ini);

class TksCompressedStoredSkin : public TComponent {
 public:
  explicit TksCompressedStoredSkin(TComponent* AOwner);

  const String& FileName() const { return fileName_; }
  // Records the name only; packing happens in the packer, never at run time.
  void SetFileName(const String& value) { fileName_ = value; }
  const String& CompressedFileName() const { return compressedFileName_; }
  void SetCompressedFileName(const String& value) { compressedFileName_ = value; }
  String Description;

  TMemoryStream& CompressedStream() { return *compressed_; }
  bool IsEmpty() { return compressed_->Size() == 0; }

  // Inflates the stored stream, appending at the target's position.
  void DeCompressToStream(TStream& target);
  // The "CompressedData" bytes in and out, exactly.
  void ReadData(TStream& stream);
  void WriteData(TStream& stream);
  // Deflates the whole of the source (from its start) at level 9.
  void CompressStream(TStream& source);

  // The program carries its packed skin as an RCDATA resource; the main form
  // hands it over here before its skin data container is given this component.
  void LoadFromResource(HINSTANCE instance, const String& name);

  // Packs a skin ini file and the BMP files it names. A skin lacking a required
  // section is refused and the stored data kept; a bad picture raises and
  // leaves the stored data empty.
  void LoadFromIniFile(const String& path);
  // Takes the zlib stream out of a compressed skin file (version, size, data).
  void LoadFromCompressedFile(const String& path);

 private:
  String fileName_;
  String compressedFileName_;
  std::unique_ptr<TMemoryStream> compressed_;
};

// One picture of the stored stream: raises unless a whole BMP whose size field
// fits in what is left of the stream starts at the position.
void ReadStoredBitmap(TStream& stream, TBitmap& bitmap);
