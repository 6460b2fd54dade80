// The replaceable texts of the skin library: NAME=text lines and a character set.
#pragma once

#include <memory>

#include "framework/core/classes.h"
#include "framework/core/strings.h"

class TksResourceStrData : public TComponent {
 public:
  explicit TksResourceStrData(TComponent* AOwner);

  TStrings& ResStrings() { return *resStrings_; }
  // Copies the lines; the list object itself stays.
  void SetResStrings(const TStrings& value) { resStrings_->Assign(value); }
  uint8_t CharSet = DEFAULT_CHARSET;

  // The text after the first "=" of the first line with that name (any case);
  // empty when no line has it.
  String GetResStr(const String& name) const;

  static constexpr int kDefaultCount = 73;

 private:
  void LoadDefaultStrings();

  std::unique_ptr<TStringList> resStrings_;
};

// The texts a user shows when its container has no resource strings; empty for
// names without one.
String BuiltInResStr(const String& name);
