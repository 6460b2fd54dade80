#include "app/DiscPlan.h"

#include <algorithm>
#include <cwctype>

#include "framework/core/fileutils.h"
#include "framework/core/sysutils.h"
#include "framework/core/widetext.h"

namespace {

const std::wstring kDiscFolder = L"Korvalo\\";
constexpr size_t kJolietLabelLength = 16;

std::wstring Upper(std::wstring s) {
  for (wchar_t& c : s) c = static_cast<wchar_t>(std::towupper(c));
  return s;
}

}  // namespace

bool IsFileToBurn(const String& name, int attributes) {
  return name != "." && name != ".." && (attributes & faDirectory) == 0 && UpperCase(name) != "THUMBS.DB";
}

bool IsPending(const std::vector<TPendingFile>& pending, const String& source) {
  return std::any_of(pending.begin(), pending.end(),
                     [&source](const TPendingFile& f) { return SameText(f.Source, source); });
}

std::wstring UniqueDiscPath(const std::vector<TPendingFile>& taken, const String& fileName) {
  const std::wstring name = AnsiToWide(fileName);
  const size_t dot = name.rfind(L'.');
  const std::wstring stem = dot == std::wstring::npos ? name : name.substr(0, dot);
  const std::wstring ext = dot == std::wstring::npos ? L"" : name.substr(dot);
  auto used = [&taken](const std::wstring& path) {
    const std::wstring key = Upper(path);
    return std::any_of(taken.begin(), taken.end(), [&key](const TPendingFile& f) { return Upper(f.DiscPath) == key; });
  };
  std::wstring path = kDiscFolder + name;
  for (int n = 2; used(path); ++n) path = kDiscFolder + stem + L"_" + std::to_wstring(n) + ext;
  return path;
}

size_t FilesForDisc(size_t waiting, int64_t freeBytes, const TImageBytes& imageBytes) {
  for (size_t n = 1; n <= waiting; ++n)
    if (imageBytes(n) > freeBytes) return n - 1;
  return waiting;
}

bool NeedsMoreDiscs(int64_t imageBytes, int64_t freeBytes) {
  return static_cast<uint64_t>(imageBytes) > static_cast<uint64_t>(freeBytes);
}

String DiscCountText(int discNumber, bool takesTheRest) {
  return IntToStr(discNumber) + "/" + IntToStr(takesTheRest ? discNumber : discNumber + 1);
}

std::wstring DiscVolumeLabel(const String& typed, bool inSet, int discNumber) {
  if (typed.empty()) return L"Korvalo3";
  std::wstring label = AnsiToWide(typed);
  if (!inSet) return label.substr(0, kJolietLabelLength);
  const std::wstring suffix = L"_" + std::to_wstring(discNumber);
  const size_t room = suffix.size() < kJolietLabelLength ? kJolietLabelLength - suffix.size() : 0;
  return label.substr(0, room) + suffix;
}
