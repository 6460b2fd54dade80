#include "outside/IsoImage.h"

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cwctype>
#include <memory>
#include <set>

#include "framework/core/fileutils.h"
#include "framework/core/sysutils.h"
#include "framework/core/widetext.h"

namespace {

constexpr uint32_t kFirstDescriptorBlock = 16;
constexpr size_t kPrimaryNameMax = 30;  // name and extension, without '.' and ";1"
constexpr size_t kPrimaryDirMax = 31;
constexpr size_t kJolietNameMax = 64;

std::vector<String> SplitDiscPath(const String& path) {
  std::vector<String> parts;
  String part;
  for (char c : path) {
    if (c == '\\' || c == '/') {
      if (!part.empty()) parts.push_back(part);
      part.clear();
    } else {
      part += c;
    }
  }
  if (!part.empty()) parts.push_back(part);
  return parts;
}

String JoinDiscPath(const std::vector<String>& parts, size_t count) {
  String path;
  for (size_t i = 0; i < count; ++i) path += (i ? "\\" : "") + parts[i];
  return path;
}


// d-characters: A-Z, 0-9 and '_'; every other character becomes '_'.
String ToDChars(const String& s) {
  String out;
  for (unsigned char c : s) {
    if (c >= 'a' && c <= 'z') c = static_cast<unsigned char>(c - 'a' + 'A');
    out += (std::isalnum(c) && c < 0x80) || c == '_' ? static_cast<char>(c) : '_';
  }
  return out;
}

std::wstring UpperWide(std::wstring s) {
  for (wchar_t& c : s) c = static_cast<wchar_t>(std::towupper(c));
  return s;
}

// Splits "name.ext" at the last dot; a leading dot belongs to the name.
template <class S>
std::pair<S, S> SplitExtension(const S& name) {
  auto dot = name.rfind(static_cast<typename S::value_type>('.'));
  if (dot == S::npos || dot == 0) return {name, S()};
  return {name.substr(0, dot), name.substr(dot + 1)};
}

// Fits base + suffix + ext into max characters, cutting the base (then the
// extension) as needed.
template <class S>
S FitName(S base, const S& suffix, S ext, size_t max, const S& dot) {
  size_t fixed = suffix.size() + dot.size();
  size_t room = max - std::min(max, fixed);
  if (base.size() + ext.size() > room) {
    ext = ext.substr(0, std::min(ext.size(), room / 3));
    base = base.substr(0, room - ext.size());
  }
  S name = base;
  name.append(suffix);
  name.append(dot);
  name.append(ext);
  return name;
}

// The first name that `taken` does not hold yet, adding "_2", "_3", ... when needed.
template <class S, class Key>
S MakeUnique(const S& base, const S& ext, size_t max, const S& dot, std::set<S>& taken, Key key) {
  for (int n = 1;; ++n) {
    S suffix;
    if (n > 1) {
      String digits = IntToStr(n);
      suffix.assign(1, '_');
      suffix.append(digits.begin(), digits.end());
    }
    S name = FitName(base, suffix, ext, max, dot);
    if (taken.insert(key(name)).second) return name;
  }
}

void PutBoth16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
  p[2] = static_cast<uint8_t>(v >> 8);
  p[3] = static_cast<uint8_t>(v);
}

void PutLE32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

void PutBE32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[3 - i] = static_cast<uint8_t>(v >> (8 * i));
}

void PutBoth32(uint8_t* p, uint32_t v) {
  PutLE32(p, v);
  PutBE32(p + 4, v);
}

void PutBE16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v >> 8);
  p[1] = static_cast<uint8_t>(v);
}

void PutLE16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}

// An identifier as stored: the primary tree's bytes, or UCS-2 big-endian for Joliet.
std::string IdBytes(const std::wstring& id) {
  std::string out;
  for (wchar_t c : id) {
    out += static_cast<char>((c >> 8) & 0xFF);
    out += static_cast<char>(c & 0xFF);
  }
  return out;
}

// An identifier's name and extension as they are compared: a file's split at its
// last dot, without the ";1" of the primary tree; a folder's is all name.
std::pair<std::string, std::string> SortParts(const std::string& id, bool directory, bool joliet) {
  size_t unit = joliet ? 2 : 1;
  size_t end = id.size();
  if (!joliet && !directory) end = std::min(end, id.rfind(';'));
  if (directory) return {id.substr(0, end), std::string()};
  for (size_t at = end; at >= unit; at -= unit) {
    size_t dot = at - unit;
    if (id[dot + unit - 1] == '.' && (!joliet || id[dot] == '\0'))
      return {id.substr(0, dot), id.substr(dot + unit, end - dot - unit)};
  }
  return {id.substr(0, end), std::string()};
}

// Compares two byte strings as if the shorter were padded with blanks (UCS-2
// blanks for Joliet) to the other's length.
int ComparePadded(const std::string& a, const std::string& b, bool joliet) {
  auto at = [joliet](const std::string& s, size_t i) {
    if (i < s.size()) return static_cast<unsigned char>(s[i]);
    return static_cast<unsigned char>(joliet && i % 2 == 0 ? 0 : ' ');
  };
  for (size_t i = 0; i < std::max(a.size(), b.size()); ++i) {
    unsigned char x = at(a, i), y = at(b, i);
    if (x != y) return x < y ? -1 : 1;
  }
  return 0;
}

// The order of a folder's records (ISO 9660, 9.3), which its path table entries
// follow: by name, then by extension, each blank-padded.
bool RecordBefore(const std::string& a, bool aDirectory, const std::string& b, bool bDirectory, bool joliet) {
  auto [aName, aExt] = SortParts(a, aDirectory, joliet);
  auto [bName, bExt] = SortParts(b, bDirectory, joliet);
  if (int names = ComparePadded(aName, bName, joliet)) return names < 0;
  return ComparePadded(aExt, bExt, joliet) < 0;
}

uint32_t BlocksFor(int64_t bytes) { return static_cast<uint32_t>((bytes + kIsoBlockSize - 1) / kIsoBlockSize); }

}  // namespace

struct TIsoImage::Layout {
  struct Node {
    String Name;
    int Item = -1;  // index into the files for a file
    int Parent = 0;
    bool IsDirectory = true;
    std::vector<int> Children;
    std::string Id[2];           // stored identifiers: [0] primary, [1] Joliet
    uint32_t DirBlock[2] = {};   // folders: first block of the records
    uint32_t DirBytes[2] = {};   // folders: size of the records
    uint16_t Number[2] = {};     // folders: path table number
    std::vector<int> Sorted[2];  // children in record order
  };
  std::vector<Node> Nodes;
  std::vector<int> DirOrder[2];  // path table order
  uint32_t PathTableBytes[2] = {};
  uint32_t PathTableBlock[2][2] = {};  // [tree][L, M]
  uint32_t DataBlock = 0;
  std::vector<TIsoExtent> Extents;
  std::vector<uint32_t> ExtentOfItem;  // per item: index into Extents, or -1
  uint32_t TotalBlocks = 0;
};

namespace {

// Records of one folder: self, parent, then the children in order.
size_t RecordLength(size_t idLength) { return 33 + idLength + (idLength % 2 == 0 ? 1 : 0); }

}  // namespace

const TIsoImage::Layout& TIsoImage::Laid() const {
  if (layout_) return *layout_;
  auto l = std::make_shared<Layout>();
  auto& nodes = l->Nodes;
  nodes.push_back({});  // the root
  l->ExtentOfItem.assign(items_.size(), UINT32_MAX);

  auto childNamed = [&](int dir, const String& name) {
    for (int c : nodes[static_cast<size_t>(dir)].Children)
      if (SameText(nodes[static_cast<size_t>(c)].Name, name)) return c;
    return -1;
  };
  for (size_t i = 0; i < items_.size(); ++i) {
    auto parts = SplitDiscPath(items_[i].DiscPath);
    int dir = 0;
    for (size_t p = 0; p < parts.size(); ++p) {
      bool last = p + 1 == parts.size();
      int c = childNamed(dir, parts[p]);
      if (c < 0) {
        Layout::Node n;
        n.Name = parts[p];
        n.Parent = dir;
        n.IsDirectory = !last || items_[i].IsDirectory;
        if (last && !items_[i].IsDirectory) n.Item = static_cast<int>(i);
        c = static_cast<int>(nodes.size());
        nodes.push_back(n);
        nodes[static_cast<size_t>(dir)].Children.push_back(c);
      }
      dir = c;
    }
  }

  // Names, unique within each folder in the order the items came.
  for (auto& dir : nodes) {
    if (!dir.IsDirectory) continue;
    std::set<String> primaryTaken;
    std::set<std::wstring> jolietTaken;
    for (int c : dir.Children) {
      auto& n = nodes[static_cast<size_t>(c)];
      if (n.IsDirectory) {
        String id = MakeUnique<String>(ToDChars(n.Name), String(), kPrimaryDirMax, String(), primaryTaken,
                                       [](const String& s) { return s; });
        n.Id[0] = id;
      } else {
        auto [base, ext] = SplitExtension(n.Name);
        String b = ToDChars(base.empty() ? String("_") : base);
        String id = MakeUnique<String>(b, ToDChars(ext), kPrimaryNameMax + 1, String("."), primaryTaken,
                                       [](const String& s) { return s; });
        n.Id[0] = id + ";1";
      }
      std::wstring wide = AnsiToWide(n.Name);
      for (wchar_t& ch : wide)
        if (ch < 0x20 || std::wstring(L"*/:;?\\").find(ch) != std::wstring::npos) ch = L'_';
      auto [wbase, wext] = n.IsDirectory ? std::pair<std::wstring, std::wstring>{wide, L""} : SplitExtension(wide);
      std::wstring jid = MakeUnique<std::wstring>(wbase, wext, kJolietNameMax, wext.empty() ? L"" : L".",
                                                  jolietTaken, UpperWide);
      n.Id[1] = IdBytes(jid);
    }
    for (int t = 0; t < 2; ++t) {
      dir.Sorted[t] = dir.Children;
      std::stable_sort(dir.Sorted[t].begin(), dir.Sorted[t].end(), [&](int a, int b) {
        const auto& x = nodes[static_cast<size_t>(a)];
        const auto& y = nodes[static_cast<size_t>(b)];
        return RecordBefore(x.Id[t], x.IsDirectory, y.Id[t], y.IsDirectory, t == 1);
      });
    }
  }

  // Folders in path table order: level by level, each parent's in name order.
  for (int t = 0; t < 2; ++t) {
    auto& order = l->DirOrder[t];
    order.push_back(0);
    for (size_t i = 0; i < order.size(); ++i)
      for (int c : nodes[static_cast<size_t>(order[i])].Sorted[t])
        if (nodes[static_cast<size_t>(c)].IsDirectory) order.push_back(c);
    uint32_t bytes = 0;
    for (size_t i = 0; i < order.size(); ++i) {
      auto& n = nodes[static_cast<size_t>(order[i])];
      n.Number[t] = static_cast<uint16_t>(i + 1);
      size_t idLength = order[i] == 0 ? 1 : n.Id[t].size();
      bytes += static_cast<uint32_t>(8 + idLength + idLength % 2);
    }
    l->PathTableBytes[t] = bytes;
  }

  // Blocks: descriptors, four path tables, primary folders, Joliet folders, data.
  uint32_t next = kFirstDescriptorBlock + 3;
  for (int t = 0; t < 2; ++t)
    for (int lm = 0; lm < 2; ++lm) {
      l->PathTableBlock[t][lm] = next;
      next += BlocksFor(l->PathTableBytes[t]);
    }
  for (int t = 0; t < 2; ++t)
    for (int d : l->DirOrder[t]) {
      auto& n = nodes[static_cast<size_t>(d)];
      uint32_t used = 0, blocks = 1;
      auto add = [&](size_t length) {
        if (used + length > static_cast<uint32_t>(kIsoBlockSize)) {
          ++blocks;
          used = 0;
        }
        used += static_cast<uint32_t>(length);
      };
      add(RecordLength(1));
      add(RecordLength(1));
      for (int c : n.Sorted[t]) add(RecordLength(nodes[static_cast<size_t>(c)].Id[t].size()));
      n.DirBlock[t] = next;
      n.DirBytes[t] = blocks * kIsoBlockSize;
      next += blocks;
    }
  l->DataBlock = next;
  for (auto& n : nodes) {
    if (n.IsDirectory) continue;
    const TIsoItem& item = items_[static_cast<size_t>(n.Item)];
    l->ExtentOfItem[static_cast<size_t>(n.Item)] = static_cast<uint32_t>(l->Extents.size());
    l->Extents.push_back({item.SourcePath, item.Size, next});
    next += BlocksFor(item.Size);
  }
  l->TotalBlocks = next;
  layout_ = l;
  return *layout_;
}

bool TIsoImage::AddFile(const String& discPath, const String& sourcePath, String* why) {
  auto refuse = [why](const String& reason) {
    if (why) *why = reason;
    return false;
  };
  auto parts = SplitDiscPath(discPath);
  if (parts.empty()) return refuse("the disc path is empty");
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExA(sourcePath.c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
    return refuse("the file cannot be found");
  String path = JoinDiscPath(parts, parts.size());
  for (const auto& item : items_)
    if (SameText(item.DiscPath, path)) return refuse("the disc already holds " + path);
  int64_t size = (static_cast<int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  if (size > kIsoMaxFileBytes) return refuse("a file of 4 GB or more cannot be written to a disc");

  // Folders the path implies are items of their own, added once.
  for (size_t p = 1; p < parts.size(); ++p) {
    String dirPath = JoinDiscPath(parts, p);
    bool known = std::any_of(items_.begin(), items_.end(), [&](const TIsoItem& i) {
      return i.IsDirectory && SameText(i.DiscPath, dirPath);
    });
    if (known) continue;
    items_.push_back({dirPath, String(), true, 0});
    layout_.reset();
    if (OnItemAdded) OnItemAdded(items_.back());
  }
  items_.push_back({path, sourcePath, false, size});
  layout_.reset();
  if (OnItemAdded) OnItemAdded(items_.back());
  return true;
}

bool TIsoImage::RemoveItem(const String& discPath) {
  String path = JoinDiscPath(SplitDiscPath(discPath), SplitDiscPath(discPath).size());
  auto it = std::find_if(items_.begin(), items_.end(),
                         [&](const TIsoItem& i) { return !i.IsDirectory && SameText(i.DiscPath, path); });
  if (it == items_.end()) return false;
  items_.erase(it);
  layout_.reset();
  return true;
}

void TIsoImage::Clear() {
  items_.clear();
  layout_.reset();
}

int TIsoImage::FileCount() const {
  return static_cast<int>(std::count_if(items_.begin(), items_.end(), [](const TIsoItem& i) { return !i.IsDirectory; }));
}

int64_t TIsoImage::Blocks() const { return FileCount() == 0 ? 0 : Laid().TotalBlocks; }

std::vector<TIsoExtent> TIsoImage::Extents() const { return Laid().Extents; }

namespace {

struct TIsoDate {
  SYSTEMTIME Time{};
  // The 7-byte form of folder records.
  void PutShort(uint8_t* p) const {
    p[0] = static_cast<uint8_t>(Time.wYear - 1900);
    p[1] = static_cast<uint8_t>(Time.wMonth);
    p[2] = static_cast<uint8_t>(Time.wDay);
    p[3] = static_cast<uint8_t>(Time.wHour);
    p[4] = static_cast<uint8_t>(Time.wMinute);
    p[5] = static_cast<uint8_t>(Time.wSecond);
    p[6] = 0;
  }
  // The 17-byte form of volume descriptors.
  void PutLong(uint8_t* p) const {
    char s[32];
    std::snprintf(s, sizeof s, "%04u%02u%02u%02u%02u%02u00", Time.wYear % 10000u, Time.wMonth % 100u,
                  Time.wDay % 100u, Time.wHour % 100u, Time.wMinute % 100u, Time.wSecond % 100u);
    std::copy_n(s, 16, p);
    p[16] = 0;
  }
};

void PutUnsetDate(uint8_t* p) {
  std::fill(p, p + 16, '0');
  p[16] = 0;
}

size_t PutRecord(uint8_t* p, uint32_t block, uint32_t bytes, bool directory, const std::string& id,
                 const TIsoDate& date) {
  size_t length = RecordLength(id.size());
  p[0] = static_cast<uint8_t>(length);
  PutBoth32(p + 2, block);
  PutBoth32(p + 10, bytes);
  date.PutShort(p + 18);
  p[25] = directory ? 2 : 0;
  PutBoth16(p + 28, 1);
  p[32] = static_cast<uint8_t>(id.size());
  std::copy(id.begin(), id.end(), p + 33);
  return length;
}

// Text fields: the primary tree pads with blanks, Joliet with UCS-2 blanks.
void PutText(uint8_t* p, size_t bytes, const std::string& text, bool joliet) {
  for (size_t i = 0; i < bytes; ++i) p[i] = joliet && i % 2 == 0 ? 0 : ' ';
  std::copy(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(std::min(bytes, text.size())), p);
}

}  // namespace

std::vector<uint8_t> TIsoImage::Header() const {
  const Layout& l = Laid();
  std::vector<uint8_t> image(static_cast<size_t>(l.DataBlock) * kIsoBlockSize, 0);
  auto block = [&](uint32_t b) { return image.data() + static_cast<size_t>(b) * kIsoBlockSize; };
  TIsoDate date;
  GetSystemTime(&date.Time);
  const auto& root = l.Nodes[0];

  for (int t = 0; t < 2; ++t) {
    bool joliet = t == 1;
    uint8_t* d = block(kFirstDescriptorBlock + static_cast<uint32_t>(t));
    d[0] = joliet ? 2 : 1;
    std::copy_n("CD001", 5, d + 1);
    d[6] = 1;
    PutText(d + 8, 32, "", joliet);
    std::wstring label = volumeId_.substr(0, 16);
    String ansi;
    for (wchar_t c : label) ansi += c < 0x80 ? static_cast<char>(c) : '_';
    PutText(d + 40, 32, joliet ? IdBytes(label) : ToDChars(ansi).substr(0, 32), joliet);
    PutBoth32(d + 80, l.TotalBlocks);
    if (joliet) std::copy_n("%/E", 3, d + 88);
    PutBoth16(d + 120, 1);
    PutBoth16(d + 124, 1);
    PutBoth16(d + 128, kIsoBlockSize);
    PutBoth32(d + 132, l.PathTableBytes[t]);
    PutLE32(d + 140, l.PathTableBlock[t][0]);
    PutBE32(d + 148, l.PathTableBlock[t][1]);
    PutRecord(d + 156, root.DirBlock[t], root.DirBytes[t], true, std::string(1, '\0'), date);
    for (size_t field : {190u, 318u, 446u, 574u}) PutText(d + field, 128, "", joliet);
    for (size_t field : {702u, 739u, 776u}) PutText(d + field, 37, "", joliet);
    date.PutLong(d + 813);
    date.PutLong(d + 830);
    PutUnsetDate(d + 847);
    PutUnsetDate(d + 864);
    d[881] = 1;
  }
  uint8_t* end = block(kFirstDescriptorBlock + 2);
  end[0] = 255;
  std::copy_n("CD001", 5, end + 1);
  end[6] = 1;

  for (int t = 0; t < 2; ++t) {
    uint8_t* lt = block(l.PathTableBlock[t][0]);
    uint8_t* mt = block(l.PathTableBlock[t][1]);
    size_t at = 0;
    for (int d : l.DirOrder[t]) {
      const auto& n = l.Nodes[static_cast<size_t>(d)];
      std::string id = d == 0 ? std::string(1, '\0') : n.Id[t];
      uint16_t parent = l.Nodes[static_cast<size_t>(n.Parent)].Number[t];
      for (uint8_t* p : {lt + at, mt + at}) {
        p[0] = static_cast<uint8_t>(id.size());
        std::copy(id.begin(), id.end(), p + 8);
      }
      PutLE32(lt + at + 2, n.DirBlock[t]);
      PutLE16(lt + at + 6, parent);
      PutBE32(mt + at + 2, n.DirBlock[t]);
      PutBE16(mt + at + 6, parent);
      at += 8 + id.size() + id.size() % 2;
    }

    for (int d : l.DirOrder[t]) {
      const auto& n = l.Nodes[static_cast<size_t>(d)];
      const auto& parent = l.Nodes[static_cast<size_t>(n.Parent)];
      uint8_t* p = block(n.DirBlock[t]);
      size_t used = 0;
      auto put = [&](uint32_t b, uint32_t bytes, bool dir, const std::string& id) {
        if (used + RecordLength(id.size()) > static_cast<size_t>(kIsoBlockSize)) {
          p += kIsoBlockSize;
          used = 0;
        }
        used += PutRecord(p + used, b, bytes, dir, id, date);
      };
      put(n.DirBlock[t], n.DirBytes[t], true, std::string(1, '\0'));
      put(parent.DirBlock[t], parent.DirBytes[t], true, std::string(1, '\1'));
      for (int c : n.Sorted[t]) {
        const auto& child = l.Nodes[static_cast<size_t>(c)];
        if (child.IsDirectory) {
          put(child.DirBlock[t], child.DirBytes[t], true, child.Id[t]);
        } else {
          const TIsoExtent& e = l.Extents[l.ExtentOfItem[static_cast<size_t>(child.Item)]];
          put(e.Block, static_cast<uint32_t>(e.Size), false, child.Id[t]);
        }
      }
    }
  }
  return image;
}
