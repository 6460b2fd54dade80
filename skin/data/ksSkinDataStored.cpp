#include "skin/data/ksSkinDataStored.h"

#include <array>
#include <cstring>

#include "framework/core/fileutils.h"
#include "framework/core/strings.h"
#include "skin/data/ksSkinDataZip.h"
#include "skin/draw/ksUtils.h"

namespace {

constexpr int kBmpFileHeaderSize = 14;

constexpr std::array<const char*, 5> kRequiredSections = {"VERSION", "PICTURES", "FORMINFO", "SKINOBJECTS",
                                                           "SKINCONTROLS"};
constexpr std::array<const char*, 3> kFramePictureKeys = {"picture", "inactivepicture", "mask"};

void WriteInt32(TStream& stream, int32_t value) { stream.WriteBuffer(&value, sizeof value); }

// A skin carries the pictures of its own folder only: a name with a folder, drive or
// device in it would draw whatever file it points at.
void LoadPicture(const String& folder, const String& key, const String& name, TBitmap& bitmap) {
  if (!IsNameInFolder(name))
    throw EInvalidGraphic(Format("Skin section [PICTURES], key %s: %s is no picture name of the skin's folder",
                                 key.c_str(), name.c_str()));
  bitmap.LoadFromFile(folder + name);
}

}  // namespace

bool CheckSkinSections(TCustomIniFile& ini) {
  for (const char* section : kRequiredSections)
    if (!ini.SectionExists(section)) return false;
  return true;
}

void ReadStoredBitmap(TStream& stream, TBitmap& bitmap) {
  // The next picture or flag starts where this size field says, so a size that
  // overruns the stream or cannot hold a header means the skin is damaged.
  const int64_t start = stream.Position();
  const int64_t left = stream.Size() - start;
  uint8_t header[kBmpFileHeaderSize];
  if (left < kBmpFileHeaderSize || stream.Read(header, kBmpFileHeaderSize) != kBmpFileHeaderSize)
    throw EInvalidGraphic("Bitmap image is not valid");
  uint32_t bfSize = 0;
  std::memcpy(&bfSize, header + 2, sizeof bfSize);
  stream.SetPosition(start);
  if (header[0] != 'B' || header[1] != 'M' || bfSize <= kBmpFileHeaderSize || bfSize > static_cast<uint64_t>(left))
    throw EInvalidGraphic("Bitmap image is not valid");
  bitmap.LoadFromStream(stream);
  stream.SetPosition(start + bfSize);
}

TksCompressedStoredSkin::TksCompressedStoredSkin(TComponent* AOwner)
    : TComponent(AOwner), compressed_(std::make_unique<TMemoryStream>()) {}

void TksCompressedStoredSkin::DeCompressToStream(TStream& target) { InflateSkinStream(*compressed_, target); }

void TksCompressedStoredSkin::LoadFromResource(HINSTANCE instance, const String& name) {
  TResourceStream resource(instance, name, RT_RCDATA);
  ReadData(resource);
}

void TksCompressedStoredSkin::ReadData(TStream& stream) { compressed_->LoadFromStream(stream); }

void TksCompressedStoredSkin::WriteData(TStream& stream) { compressed_->SaveToStream(stream); }

void TksCompressedStoredSkin::CompressStream(TStream& source) {
  compressed_->Clear();
  DeflateSkinStream(source, *compressed_);
}

void TksCompressedStoredSkin::LoadFromIniFile(const String& path) {
  TStringList lines;
  lines.LoadFromFile(path);
  TMemIniFile ini;
  ini.SetStrings(lines);
  if (!CheckSkinSections(ini)) return;
  const String folder = ExtractFilePath(path);
  compressed_->Clear();

  TMemoryStream s;
  WriteInt32(s, kStoredSkinVersion);
  for (const char* key : kFramePictureKeys) {
    TBitmap bitmap;
    String name = ini.ReadString("PICTURES", key, "");
    if (!name.empty()) LoadPicture(folder, key, name, bitmap);
    uint8_t flag = bitmap.Empty() ? 1 : 0;
    s.WriteBuffer(&flag, 1);
    if (flag == 0) bitmap.SaveToStream(s);
  }
  TStringList names;
  ReadStrings(ini, "PICTURES", "activepictures", names);
  WriteInt32(s, names.Count());
  for (int i = 0; i < names.Count(); ++i) {
    if (names.Strings(i).empty())
      throw EInvalidGraphic(Format("Skin section [PICTURES], key %d: no picture named", i));
    TBitmap bitmap;
    LoadPicture(folder, IntToStr(i), names.Strings(i), bitmap);
    bitmap.SaveToStream(s);
  }
  for (int i = 0; i < lines.Count(); ++i) {
    const String& line = lines.Strings(i);
    s.WriteBuffer(line.data(), static_cast<int>(line.size()));
    s.WriteBuffer("\r\n", 2);
  }
  CompressStream(s);
}

void TksCompressedStoredSkin::LoadFromCompressedFile(const String& path) {
  compressed_->Clear();
  TFileStream file(path, fmOpenRead | fmShareDenyWrite);
  int32_t version = 0;
  file.ReadBuffer(&version, sizeof version);
  if (version > kStoredSkinVersion) return;
  int32_t size = 0;
  file.ReadBuffer(&size, sizeof size);
  // A size beyond the file or below zero is a damaged file, not a short copy.
  if (size < 0 || size > file.Size() - file.Position()) throw EReadError("Stream read error");
  compressed_->CopyFrom(file, size);
}
