// The engine's owning list: frees its items in ClearAndFree and when destroyed,
// never when an item merely leaves the list.
#pragma once

#include "framework/core/lists.h"

class TSEClassList : public TList {
 public:
  TSEClassList() = default;
  ~TSEClassList() override;

  // Frees every item, last first, and leaves the list empty.
  void ClearAndFree();

  TObject* Objects(int index) const { return static_cast<TObject*>(Items(index)); }
};
