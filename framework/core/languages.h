// The locales the system supports, in the system's enumeration order.
#pragma once

#include <windows.h>

#include <vector>

#include "framework/core/sysutils.h"

class TLanguages {
 public:
  int Count() const { return static_cast<int>(entries_.size()); }
  LCID LocaleID(int index) const;
  String ID(int index) const;    // "$" and eight upper-case hex digits of the LCID
  String Ext(int index) const;   // the three-letter abbreviation (LOCALE_SABBREVLANGNAME)
  String Name(int index) const;  // the language's name (LOCALE_SLANGUAGE)
  int IndexOf(LCID id) const;    // -1 when the system does not list it

 private:
  struct Entry {
    LCID id;
    String ext;
    String name;
  };
  const Entry& At(int index) const;

  std::vector<Entry> entries_;
  friend const TLanguages& Languages();
};

// Built on first use, then shared read-only by every thread.
const TLanguages& Languages();
