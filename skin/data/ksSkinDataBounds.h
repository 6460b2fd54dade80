// The check that a skin's rectangles and points lie inside the picture they are taken
// from: a rectangle far outside it would have a control make a bitmap of its size.
#pragma once

#include "skin/data/ksSkinDataFields.h"

// Visits a description's keys; the first rectangle or point outside a picture of Width x
// Height raises EInvalidGraphic naming the section and the key. Empty rectangles are
// unused ones and pass.
class TksFieldBoundsCheck : public TksFieldVisitor {
 public:
  TksFieldBoundsCheck(const String& section, int width, int height)
      : section_(section), width_(width), height_(height) {}
  void Rect(const char* key, TRect& field) override;
  void Point(const char* key, TPoint& field) override;
  void Integer(const char*, int&, int) override {}
  void FontHeight(const char*, int&, int) override {}
  void Boolean(const char*, bool&) override {}
  void Text(const char*, String&, const char*) override {}
  void FontStyles(const char*, TFontStyles&) override {}
  void Alignment(const char*, TAlignment&) override {}
  void MorphKind(const char*, TksMorphKind&) override {}
  void Command(const char*, TksStdButtonCommand&) override {}

 private:
  [[noreturn]] void Refuse(const char* key, const String& value) const;

  String section_;
  int width_, height_;
};
