// TFileTiff reads a TIFF file's header and its chain of image file directories;
// TGraphicTiff holds one directory with its entries and strip table. Every offset and
// length taken from the file is checked against the bytes held before it is used.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "framework/core/classes.h"
#include "framework/core/sysutils.h"

// One 12-byte directory entry as in the file, in host byte order.
struct TTiffEntry {
  uint16_t Tag = 0;
  uint16_t FieldType = 0;
  uint32_t Count = 0;
  // The value itself for a single SHORT or LONG, otherwise the offset of the values.
  uint32_t Value = 0;
  // Where the 4-byte value field lies in the file, for values stored inline.
  uint64_t ValueFieldOffset = 0;
};

struct TTiffStrip {
  uint32_t Offset = 0;
  uint32_t ByteCount = 0;
};

enum TTiffTag : uint16_t {
  ttImageWidth = 256,
  ttImageLength = 257,
  ttBitsPerSample = 258,
  ttCompression = 259,
  ttPhotometric = 262,
  ttStripOffsets = 273,
  ttRowsPerStrip = 278,
  ttStripByteCounts = 279,
  ttColorMap = 320,
};

class TFileTiff;

class TGraphicTiff {
 public:
  explicit TGraphicTiff(TFileTiff* Owner);
  virtual ~TGraphicTiff() = default;

  // Reads the directory at the given offset of the owner's bytes; anything outside
  // them sets ReadFailed and keeps what was read whole.
  void ReadIFD(uint64_t offset);
  // The last entry with that tag, or null.
  const TTiffEntry* FindEntry(uint16_t tag) const;
  // The entry's values (BYTE, SHORT or LONG), inline or at its offset, in the file's
  // byte order; at most maxCount of them. Values outside the file throw.
  std::vector<uint32_t> Values(const TTiffEntry& entry, uint32_t maxCount = 1u << 20) const;
  TTiffStrip GetStrip(int index) const { return Strips.at(static_cast<size_t>(index)); }
  int StripCount() const { return static_cast<int>(Strips.size()); }

  uint16_t EntryCount = 0;
  bool ReadFailed = false;
  TFileTiff* Owner;
  uint64_t EntriesEnd = 0;
  std::vector<TTiffEntry> Entries;
  uint32_t NextIFDOffset = 0;
  std::vector<TTiffStrip> Strips;
};

class TFileTiff : public TPersistent {
 public:
  // The chain is cut here: a hostile file could otherwise name thousands.
  static constexpr int MaxDirectories = 256;

  TFileTiff() = default;

  // Reads the file anew when the name differs. A missing file, or an empty name, leaves
  // the reader empty and not Valid; no file is ever created.
  virtual void SetFileName(const String& Value);
  const String& FileName() const { return fileName_; }
  virtual int Count() const { return static_cast<int>(IFDs.size()); }
  virtual TGraphicTiff* GetIFD(int Index) const;

  uint64_t FileSize = 0;
  std::vector<std::unique_ptr<TGraphicTiff>> IFDs;
  bool LittleEndian = true;
  bool Valid = false;
  // A TIFF header on a file larger than the reader holds in memory: not read further.
  bool TooLarge = false;

  // The file's bytes, which every read is checked against.
  const std::vector<uint8_t>& Data() const { return data_; }
  // Reads in the file's byte order; outside the data they throw EReadError.
  uint16_t Read16(uint64_t offset) const;
  uint32_t Read32(uint64_t offset) const;
  bool Holds(uint64_t offset, uint64_t count) const {
    return offset <= data_.size() && count <= data_.size() - offset;
  }

 private:
  void Reset();

  String fileName_;
  std::vector<uint8_t> data_;
};

uint32_t SwapBytes32(uint32_t value);
