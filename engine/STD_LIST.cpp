#include "engine/STD_LIST.h"

TSEClassList::~TSEClassList() { ClearAndFree(); }

void TSEClassList::ClearAndFree() {
  for (int i = Count() - 1; i >= 0; --i) {
    void* item = Items(i);
    delete static_cast<TObject*>(item);
    Remove(item);
  }
  Pack();
}
