#include "skin/data/ksSkinDataBounds.h"

void TksFieldBoundsCheck::Rect(const char* key, TRect& field) {
  if (IsNullRect(field)) return;
  if (field.Left < 0 || field.Top < 0 || field.Right > width_ || field.Bottom > height_)
    Refuse(key, Format("%d,%d,%d,%d", field.Left, field.Top, field.Right, field.Bottom));
}

void TksFieldBoundsCheck::Point(const char* key, TPoint& field) {
  if (field.X < 0 || field.Y < 0 || field.X > width_ || field.Y > height_)
    Refuse(key, Format("%d,%d", field.X, field.Y));
}

void TksFieldBoundsCheck::Refuse(const char* key, const String& value) const {
  throw EInvalidGraphic(Format("Skin section [%s], key %s: %s lies outside its picture of %d x %d", section_.c_str(),
                               key, value.c_str(), width_, height_));
}
