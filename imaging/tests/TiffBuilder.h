// Builds small TIFF/EXIF data for the reader tests, in either byte order, and wraps it in
// a JPEG (APP1, APP13, COM sections) or writes it as a TIFF file.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "framework/core/sysutils.h"
#include "imaging/ExifTags.h"

namespace test {

inline String Bytes16(uint32_t v, bool motorola) {
  String s(2, '\0');
  s[motorola ? 0 : 1] = static_cast<char>((v >> 8) & 0xFF);
  s[motorola ? 1 : 0] = static_cast<char>(v & 0xFF);
  return s;
}

inline String Bytes32(uint32_t v, bool motorola) {
  String s(4, '\0');
  for (int i = 0; i < 4; ++i) s[motorola ? 3 - i : i] = static_cast<char>((v >> (8 * i)) & 0xFF);
  return s;
}

class TiffBuilder {
 public:
  explicit TiffBuilder(bool motorola) : motorola_(motorola) { dirs_.emplace_back(); }

  // Directory 0 is IFD0; others are reached through Link, SubDirectory or MakerNote.
  int NewDirectory() {
    dirs_.emplace_back();
    return static_cast<int>(dirs_.size()) - 1;
  }

  TiffBuilder& Numbers(int dir, uint16_t tag, uint16_t format, std::vector<int64_t> values) {
    Entry e{tag, format};
    e.numbers = std::move(values);
    e.count = static_cast<uint32_t>(IsRational(format) ? e.numbers.size() / 2 : e.numbers.size());
    dirs_[dir].entries.push_back(std::move(e));
    return *this;
  }
  TiffBuilder& Short(int dir, uint16_t tag, int64_t v) { return Numbers(dir, tag, 3, {v}); }
  TiffBuilder& Long(int dir, uint16_t tag, int64_t v) { return Numbers(dir, tag, 4, {v}); }
  TiffBuilder& Rational(int dir, uint16_t tag, int64_t n, int64_t d) { return Numbers(dir, tag, 5, {n, d}); }
  TiffBuilder& SRational(int dir, uint16_t tag, int64_t n, int64_t d) { return Numbers(dir, tag, 10, {n, d}); }
  TiffBuilder& Ascii(int dir, uint16_t tag, const String& text) { return Raw(dir, tag, 2, text + String(1, '\0')); }
  TiffBuilder& Undefined(int dir, uint16_t tag, const String& bytes) { return Raw(dir, tag, 7, bytes); }
  TiffBuilder& Raw(int dir, uint16_t tag, uint16_t format, const String& bytes) {
    Entry e{tag, format};
    e.bytes = bytes;
    const int each = BytesPerFormat(format);
    e.count = static_cast<uint32_t>(each > 0 ? bytes.size() / static_cast<size_t>(each) : bytes.size());
    dirs_[dir].entries.push_back(std::move(e));
    return *this;
  }
  // An entry written as given: count and the 4-byte value/offset field, no value data.
  TiffBuilder& Literal(int dir, uint16_t tag, uint16_t format, uint32_t count, uint32_t field) {
    Entry e{tag, format};
    e.count = count;
    e.literal = field;
    dirs_[dir].entries.push_back(std::move(e));
    return *this;
  }
  // A LONG entry (ExifOffset, GPSInfo, ...) holding the offset of `child`.
  TiffBuilder& SubDirectory(int dir, uint16_t tag, int child) {
    Entry e{tag, 4};
    e.count = 1;
    e.child = child;
    dirs_[dir].entries.push_back(std::move(e));
    return *this;
  }
  // An UNDEFINED MakerNote entry holding `prefix` and then directory `child`, written in
  // `motorola` order, its value offsets counting from the TIFF header or, when `noteBase`
  // is given, from that byte of the maker note.
  TiffBuilder& MakerNote(int dir, int child, const String& prefix, std::optional<int> noteBase = {},
                         std::optional<bool> motorola = {}) {
    Entry e{37500, 7};
    e.child = child;
    e.note = true;
    dirs_[child].prefix = prefix;
    dirs_[child].noteBase = noteBase;
    dirs_[child].motorola = motorola;
    dirs_[dir].entries.push_back(std::move(e));
    return *this;
  }
  TiffBuilder& Link(int dir, int next) {
    dirs_[dir].next = next;
    return *this;
  }

  // The TIFF data: header, then IFD0 at offset 8 and everything it reaches.
  String Build() const {
    String out = String(motorola_ ? "MM" : "II") + Bytes16(42, motorola_) + Bytes32(8, motorola_);
    return out + Emit(0, 8, motorola_, 0);
  }

 private:
  struct Entry {
    uint16_t tag;
    uint16_t format;
    uint32_t count = 0;
    std::vector<int64_t> numbers;
    String bytes;
    std::optional<uint32_t> literal;
    int child = -1;
    bool note = false;
  };
  struct Dir {
    std::vector<Entry> entries;
    int next = -1;
    String prefix;
    std::optional<int> noteBase;
    std::optional<bool> motorola;
  };

  static bool IsRational(uint16_t f) { return f == 5 || f == 10; }

  static String Encode(const Entry& e, bool m) {
    if (!e.numbers.empty()) {
      String s;
      for (int64_t v : e.numbers) {
        const auto u = static_cast<uint32_t>(v);
        if (e.format == 1 || e.format == 6) s += static_cast<char>(u & 0xFF);
        else if (e.format == 3 || e.format == 8) s += Bytes16(u, m);
        else s += Bytes32(u, m);
      }
      return s;
    }
    return e.bytes;
  }

  // Directory `index` placed at TIFF offset `at`, followed by its values and the
  // directories it reaches; value offsets are written relative to `base`.
  String Emit(int index, int64_t at, bool m, int64_t base) const {
    const Dir& d = dirs_[static_cast<size_t>(index)];
    String fixed = Bytes16(static_cast<uint32_t>(d.entries.size()), m);
    String values;
    int64_t cursor = at + 2 + 12 * static_cast<int64_t>(d.entries.size()) + 4;
    auto place = [&](const String& bytes) {
      const int64_t offset = cursor;
      values += bytes;
      cursor += static_cast<int64_t>(bytes.size());
      if (cursor & 1) {
        values += '\0';
        ++cursor;
      }
      return offset;
    };
    for (const Entry& e : d.entries) {
      String field;
      uint32_t count = e.count;
      if (e.literal) {
        field = Bytes32(*e.literal, m);
      } else if (e.child >= 0 && !e.note) {
        const String child = Emit(e.child, cursor, m, base);
        field = Bytes32(static_cast<uint32_t>(place(child) - base), m);
      } else if (e.note) {
        const Dir& c = dirs_[static_cast<size_t>(e.child)];
        const bool cm = c.motorola.value_or(m);
        const int64_t start = cursor;
        const String blob = c.prefix + Emit(e.child, start + static_cast<int64_t>(c.prefix.size()), cm,
                                            c.noteBase ? start + *c.noteBase : 0);
        count = static_cast<uint32_t>(blob.size());
        field = Bytes32(static_cast<uint32_t>(place(blob) - base), m);
      } else {
        String v = Encode(e, m);
        if (v.size() <= 4) field = v + String(4 - v.size(), '\0');
        else field = Bytes32(static_cast<uint32_t>(place(v) - base), m);
      }
      fixed += Bytes16(e.tag, m) + Bytes16(e.format, m) + Bytes32(count, m) + field;
    }
    uint32_t link = 0;
    if (d.next >= 0) link = static_cast<uint32_t>(place(Emit(d.next, cursor, m, base)) - base);
    return fixed + Bytes32(link, m) + values;
  }

  bool motorola_;
  std::vector<Dir> dirs_;
};

// ---- JPEG and files ---------------------------------------------------------------------

inline String Section(uint8_t marker, const String& payload) {
  const auto length = static_cast<uint32_t>(payload.size() + 2);
  return String("\xFF") + static_cast<char>(marker) + static_cast<char>(length >> 8) +
         static_cast<char>(length & 0xFF) + payload;
}

inline String ExifSection(const String& tiff) { return Section(0xE1, String("Exif\0\0", 6) + tiff); }

inline String IptcDataset(int record, int tag, const String& data) {
  return String("\x1C") + static_cast<char>(record) + static_cast<char>(tag) +
         static_cast<char>(data.size() >> 8) + static_cast<char>(data.size() & 0xFF) + data;
}

inline String IptcSection(const String& datasets) {
  const auto n = static_cast<uint32_t>(datasets.size());
  return Section(0xED, String("Photoshop 3.0\0" "8BIM\x04\x04\0\0", 20) + Bytes32(n, true) + datasets);
}

// SOI, the sections, a scan header and EOI.
inline String Jpeg(const std::vector<String>& sections) {
  String out = "\xFF\xD8";
  for (const String& s : sections) out += s;
  return out + Section(0xDA, String("\x01\x01\x00\x00\x3F\x00", 6)) + "\x12\x34\xFF\xD9";
}

// A file in the temporary folder, removed again when the object goes.
class TempFile {
 public:
  TempFile(const String& name, const String& bytes) {
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    static std::atomic<int> counter{0};
    path_ = String(dir) + "kvexif_" + IntToStr(GetCurrentProcessId()) + "_" + IntToStr(++counter) + "_" + name;
    Write(bytes);
  }
  ~TempFile() { DeleteFileA(path_.c_str()); }
  void Write(const String& bytes) const {
    HANDLE h = CreateFileA(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(h);
  }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;
  const String& Path() const { return path_; }

 private:
  String path_;
};

}  // namespace test

#include <memory>

#include "imaging/ExifData.h"
#include "framework/testsupport/SourcePath.h"

namespace test {

struct ReadResult {
  std::unique_ptr<TimgData> reader;
  bool ok;
  TImageInfo& exif() const { return *reader->ExifObj(); }
};

// Writes the bytes to a file of that name and reads it with a fresh reader.
inline ReadResult ReadBytes(const String& bytes, const String& name = "test.jpg") {
  TempFile file(name, bytes);
  auto reader = std::make_unique<TimgData>(255);
  const bool ok = reader->ReadMetadata(file.Path());
  return {std::move(reader), ok};
}

// A committed fixture of the imaging tests.
inline String FixturePath(const String& name) {
  return SourcePath("imaging/tests/fixtures/" + name);
}

inline String LoadFile(const String& path) {
  String data;
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return data;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(h, buffer, sizeof buffer, &got, nullptr) && got > 0) data.append(buffer, got);
  CloseHandle(h);
  return data;
}

// The first entry of the group with that tag number (and name, when given).
inline const TTagEntry* FindTag(const std::vector<TTagEntry>& tags, uint16_t tag, int group = 0,
                                const String& name = String()) {
  for (const TTagEntry& e : tags)
    if (e.Tag == tag && e.Group == group && (name.empty() || e.Name == name)) return &e;
  return nullptr;
}

}  // namespace test
