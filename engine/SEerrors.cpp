#include "engine/SEerrors.h"

#include <algorithm>
#include <iterator>

namespace {

struct ErrorName {
  int32_t Code;
  const char* Name;
};

// Sorted by code; regenerate with scripts/gen-win32-error-names.
constexpr ErrorName kErrorNames[] = {
#include "engine/Win32ErrorNames.inc"
};

static_assert(std::is_sorted(std::begin(kErrorNames), std::end(kErrorNames),
                             [](const ErrorName& a, const ErrorName& b) { return a.Code < b.Code; }));

}  // namespace

std::string GetWin32ErrorName(int32_t Code) {
  const auto it = std::lower_bound(std::begin(kErrorNames), std::end(kErrorNames), Code,
                                   [](const ErrorName& e, int32_t c) { return e.Code < c; });
  if (it != std::end(kErrorNames) && it->Code == Code) return it->Name;
  std::string text = "error number has no description ";
  text += std::to_string(Code);
  return text;
}
