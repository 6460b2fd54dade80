// How the program's forms make their controls: owned by the form, inside a parent (the
// form itself unless given), at a place; a width or height of kOwnSize keeps the
// control's own.
#pragma once

#include "framework/gui/forms.h"

inline constexpr int kOwnSize = -1;

template <class T>
T* PlaceIn(TForm* form, TWinControl* parent, int left, int top, int width = kOwnSize, int height = kOwnSize) {
  auto* control = new T(form);
  control->SetParent(parent);
  control->SetBounds(left, top, width == kOwnSize ? control->Width() : width,
                     height == kOwnSize ? control->Height() : height);
  return control;
}

template <class T>
T* Place(TForm* form, int left, int top, int width = kOwnSize, int height = kOwnSize) {
  return PlaceIn<T>(form, form, left, top, width, height);
}
