#include "dorvane/ReadTiffTags.h"

#include <set>

#include "framework/core/fileutils.h"
#include "framework/core/littleendian.h"
#include "framework/core/streams.h"

namespace {

// The reader holds the whole file: beyond this a 32-bit process may not find the room.
constexpr int64_t MaxTiffFileSize = 512ll << 20;

enum TTiffFieldType : uint16_t { tfByte = 1, tfShort = 3, tfLong = 4 };

uint32_t FieldSize(uint16_t type) {
  switch (type) {
    case tfByte: return 1;
    case tfShort: return 2;
    case tfLong: return 4;
    default: return 4;
  }
}

}  // namespace

uint32_t SwapBytes32(uint32_t value) {
  return (value >> 24) | ((value >> 8) & 0xFF00u) | ((value << 8) & 0xFF0000u) | (value << 24);
}

// ---- TFileTiff ----

uint16_t TFileTiff::Read16(uint64_t offset) const {
  if (!Holds(offset, 2)) throw EReadError("Stream read error");
  const uint8_t* p = data_.data() + offset;
  return LittleEndian ? LoadLE16(p) : static_cast<uint16_t>(p[0] << 8 | p[1]);
}

uint32_t TFileTiff::Read32(uint64_t offset) const {
  if (!Holds(offset, 4)) throw EReadError("Stream read error");
  const uint8_t* p = data_.data() + offset;
  const uint32_t le = LoadLE32(p);
  return LittleEndian ? le : SwapBytes32(le);
}

void TFileTiff::Reset() {
  IFDs.clear();
  data_.clear();
  Valid = false;
  TooLarge = false;
  FileSize = 0;
}

TGraphicTiff* TFileTiff::GetIFD(int Index) const {
  if (Index < 0 || Index >= Count()) return nullptr;
  return IFDs[static_cast<size_t>(Index)].get();
}

void TFileTiff::SetFileName(const String& Value) {
  if (Value.empty()) {
    Reset();
    fileName_.clear();
    return;
  }
  if (Value == fileName_) return;
  Reset();
  fileName_ = Value;
  if (!FileExists(Value)) return;

  TFileStream file(Value, fmOpenRead | fmShareDenyNone);
  const int64_t size = file.Size();
  FileSize = static_cast<uint64_t>(size);
  if (size <= 7) return;
  data_.resize(8);
  file.ReadBuffer(data_.data(), 8);

  if (data_[0] == 'I' && data_[1] == 'I') {
    LittleEndian = true;
  } else if (data_[0] == 'M' && data_[1] == 'M') {
    LittleEndian = false;
  } else {
    return;
  }
  if (Read16(2) != 42) return;
  if (size > MaxTiffFileSize) {
    TooLarge = true;
    return;
  }
  data_.resize(static_cast<size_t>(size));
  file.ReadBuffer(data_.data() + 8, static_cast<int>(size - 8));
  Valid = true;

  std::set<uint32_t> seen;
  uint32_t offset = Read32(4);
  while (offset > 7 && seen.insert(offset).second && Count() < MaxDirectories) {
    auto ifd = std::make_unique<TGraphicTiff>(this);
    ifd->ReadIFD(offset);
    offset = ifd->NextIFDOffset;
    IFDs.push_back(std::move(ifd));
  }
}

// ---- TGraphicTiff ----

TGraphicTiff::TGraphicTiff(TFileTiff* owner) : Owner(owner) {}

const TTiffEntry* TGraphicTiff::FindEntry(uint16_t tag) const {
  const TTiffEntry* found = nullptr;
  for (const TTiffEntry& entry : Entries) {
    if (entry.Tag == tag) found = &entry;
  }
  return found;
}

std::vector<uint32_t> TGraphicTiff::Values(const TTiffEntry& entry, uint32_t maxCount) const {
  const uint32_t size = FieldSize(entry.FieldType);
  const uint32_t count = std::min(entry.Count, maxCount);
  const uint64_t bytes = uint64_t{size} * entry.Count;
  const uint64_t start = bytes <= 4 ? entry.ValueFieldOffset : entry.Value;
  if (!Owner->Holds(start, uint64_t{size} * count)) throw EReadError("Stream read error");
  std::vector<uint32_t> values;
  values.reserve(count);
  for (uint32_t i = 0; i < count; ++i) {
    const uint64_t at = start + uint64_t{i} * size;
    switch (size) {
      case 1: values.push_back(Owner->Data()[at]); break;
      case 2: values.push_back(Owner->Read16(at)); break;
      default: values.push_back(Owner->Read32(at)); break;
    }
  }
  return values;
}

void TGraphicTiff::ReadIFD(uint64_t offset) {
  try {
    EntryCount = Owner->Read16(offset);
    uint64_t position = offset + 2;
    // Keep the entries that lie inside the file; a cut directory still gives those.
    for (uint16_t i = 0; i < EntryCount && Owner->Holds(position, 12); ++i, position += 12) {
      TTiffEntry entry;
      entry.Tag = Owner->Read16(position);
      entry.FieldType = Owner->Read16(position + 2);
      entry.Count = Owner->Read32(position + 4);
      entry.ValueFieldOffset = position + 8;
      // A single SHORT sits in the first two bytes of the field, whatever the byte order.
      entry.Value = entry.FieldType == tfShort && entry.Count == 1 ? Owner->Read16(position + 8)
                                                                   : Owner->Read32(position + 8);
      Entries.push_back(entry);
    }
    EntriesEnd = position;
    if (Entries.size() != EntryCount) ReadFailed = true;
  } catch (const Exception&) {
    ReadFailed = true;
    return;
  }

  try {
    const TTiffEntry* offsets = FindEntry(ttStripOffsets);
    const TTiffEntry* counts = FindEntry(ttStripByteCounts);
    if (offsets && counts && offsets->Count == counts->Count && offsets->Count <= 0xFFFF) {
      const auto starts = Values(*offsets);
      const auto lengths = Values(*counts);
      Strips.resize(starts.size());
      for (size_t i = 0; i < Strips.size(); ++i) Strips[i] = {starts[i], lengths[i]};
    }
  } catch (const Exception&) {
    Strips.clear();
    ReadFailed = true;
  }

  try {
    NextIFDOffset = ReadFailed ? 0 : Owner->Read32(EntriesEnd);
  } catch (const Exception&) {
    NextIFDOffset = 0;
  }
}
