// Pictures per visual state for the main window's image buttons, loaded from the
// program's numbered bitmap resources and switched on demand.
#pragma once

#include <cstdint>

#include "engine/STD_LIST.h"
#include "framework/core/bitmap.h"

class TControl;

// The unit's own namespace: the framework has a TControlState of its own.
namespace SEresource {

class TControlState : public TObject {
 public:
  TControlState();
  ~TControlState() override;

  // A missing or broken resource is logged and leaves the bitmap empty.
  void LoadResourceBMP(int id);

  TBitmap* Bitmap;
  uint8_t State = 0;
};

// The states of one control.
class TControlChange : public TObject {
 public:
  TSEClassList States;  // TControlState, at most one per state value

  // The first registration of a state wins.
  void AddState(uint8_t state, int id);
  // Only a plain TImage is switched; other controls are left alone.
  void ApplyState(uint8_t state);

  TControl* Control = nullptr;
  uint8_t CurrentState = 0;
};

class TStateChangeList : public TSEClassList {
 public:
  void AddControlState(TControl* control, uint8_t state, int id);
  // Does nothing when the control already shows that state.
  void SetControlState(TControl* control, uint8_t state);
  void FreeChanges();

  TControlChange* Changes(int index) const { return static_cast<TControlChange*>(Objects(index)); }
};

}  // namespace SEresource

// The program's one list; made on first use, freed by FreeStateChangeList.
SEresource::TStateChangeList* StateChangeList();
void FreeStateChangeList();
