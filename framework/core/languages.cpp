#include "framework/core/languages.h"

#include <cstdlib>
#include <mutex>

namespace {

// EnumSystemLocalesA passes no context, so the list being filled is handed over here; the
// enumeration runs once, under std::call_once.
std::vector<LCID>* gCollecting = nullptr;

BOOL CALLBACK CollectLocale(LPSTR text) {
  char* end = nullptr;
  const unsigned long id = std::strtoul(text, &end, 16);
  if (end != text && gCollecting) gCollecting->push_back(static_cast<LCID>(id));
  return TRUE;
}

String LocaleText(LCID id, LCTYPE type) {
  char buf[256] = {};
  const int n = GetLocaleInfoA(id, type, buf, sizeof buf);
  return n > 1 ? String(buf, static_cast<size_t>(n - 1)) : String();
}

}  // namespace

const TLanguages::Entry& TLanguages::At(int index) const {
  if (index < 0 || index >= Count()) throw EListError("List index out of bounds (" + IntToStr(index) + ")");
  return entries_[static_cast<size_t>(index)];
}

LCID TLanguages::LocaleID(int index) const { return At(index).id; }
String TLanguages::ID(int index) const { return String("$") += IntToHex(At(index).id, 8); }
String TLanguages::Ext(int index) const { return At(index).ext; }
String TLanguages::Name(int index) const { return At(index).name; }

int TLanguages::IndexOf(LCID id) const {
  for (int i = 0; i < Count(); ++i)
    if (entries_[static_cast<size_t>(i)].id == id) return i;
  return -1;
}

const TLanguages& Languages() {
  static TLanguages languages;
  static std::once_flag once;
  std::call_once(once, [] {
    std::vector<LCID> ids;
    gCollecting = &ids;
    EnumSystemLocalesA(CollectLocale, LCID_SUPPORTED);
    gCollecting = nullptr;
    for (LCID id : ids) {
      // A locale without an abbreviation cannot name a language file; it is left out.
      String ext = LocaleText(id, LOCALE_SABBREVLANGNAME);
      if (!ext.empty()) languages.entries_.push_back({id, std::move(ext), LocaleText(id, LOCALE_SLANGUAGE)});
    }
  });
  return languages;
}
