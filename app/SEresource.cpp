#include "app/SEresource.h"

#include <typeinfo>

#include "engine/Debug.h"
#include "framework/gui/extctrls.h"

namespace SEresource {

TControlState::TControlState() : Bitmap(new TBitmap) {}

TControlState::~TControlState() { delete Bitmap; }

void TControlState::LoadResourceBMP(int id) {
  try {
    Bitmap->LoadFromResourceID(GetModuleHandleA(nullptr), id);
  } catch (const Exception& e) {
    WriteErrorLog(std::string("Exception raised in TControlState.LoadResourceBMP : ") + e.what());
  }
}

void TControlChange::AddState(uint8_t state, int id) {
  for (int i = 0; i < States.Count(); ++i)
    if (static_cast<TControlState*>(States.Objects(i))->State == state) return;
  auto* entry = new TControlState;
  entry->State = state;
  entry->LoadResourceBMP(id);
  States.Add(static_cast<TObject*>(entry));
}

void TControlChange::ApplyState(uint8_t state) {
  for (int i = 0; i < States.Count(); ++i) {
    auto* entry = static_cast<TControlState*>(States.Objects(i));
    if (entry->State != state) continue;
    // A descendant of TImage may draw its own way: only the plain class is switched.
    if (Control != nullptr && typeid(*Control) == typeid(TImage)) {
      static_cast<TImage*>(Control)->Picture()->SetGraphic(entry->Bitmap);
      CurrentState = state;
    }
    return;
  }
}

void TStateChangeList::AddControlState(TControl* control, uint8_t state, int id) {
  bool found = false;
  for (int i = 0; i < Count(); ++i)
    if (Changes(i)->Control == control) {
      Changes(i)->AddState(state, id);
      found = true;
    }
  if (found) return;
  auto* change = new TControlChange;
  change->Control = control;
  change->AddState(state, id);
  Add(static_cast<TObject*>(change));
}

void TStateChangeList::SetControlState(TControl* control, uint8_t state) {
  for (int i = 0; i < Count(); ++i) {
    TControlChange* change = Changes(i);
    if (change->Control != control) continue;
    if (change->CurrentState != state) change->ApplyState(state);
    return;
  }
}

void TStateChangeList::FreeChanges() {
  for (int i = Count() - 1; i >= 0; --i) {
    TControlChange* change = Changes(i);
    change->Control = nullptr;
    delete change;
    Delete(i);
  }
}

}  // namespace SEresource

using SEresource::TStateChangeList;

namespace {
TStateChangeList*& TheList() {
  static TStateChangeList* list = nullptr;
  return list;
}
}  // namespace

TStateChangeList* StateChangeList() {
  if (TheList() == nullptr) TheList() = new TStateChangeList;
  return TheList();
}

void FreeStateChangeList() {
  if (TheList() == nullptr) return;
  TheList()->FreeChanges();
  delete TheList();
  TheList() = nullptr;
}
