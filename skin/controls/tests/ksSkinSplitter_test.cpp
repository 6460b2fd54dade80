// The skinned splitter's thickness by skin entry and alignment, and its face.
#include <gtest/gtest.h>

#include "skin/controls/ksSkinSplitter.h"
#include "skin/tests/ksSkinCtrls_fixture.h"

namespace {

using namespace skintest;

class SkinSplitter : public SkinCtrls {};

TEST_F(SkinSplitter, ThicknessAndMinSizeComeFromTheFaceOrDefaultSize) {
  // The default skin's "vsplitter" face is 8 x 8.
  struct Case {
    TAlign align;
    const char* section;  // null: no skin
    int thickness;
  };
  const Case cases[] = {
      {alLeft, "vsplitter", 8}, {alTop, "vsplitter", 8}, {alLeft, nullptr, 10},
      {alTop, nullptr, 10},     {alLeft, "button", 10},  {alTop, "bevel", 10},  // another kind: no face
  };
  for (const Case& c : cases) {
    form->HandleNeeded();
    auto* s = new TksSkinSplitter(form);
    s->SetParent(form);
    s->SetAlign(c.align);
    s->SetWidth(3);
    s->SetHeight(3);
    if (c.section != nullptr) s->SkinDataName = c.section;
    s->SetSkinData(c.section != nullptr ? &data : nullptr);
    const int size = c.align == alTop ? s->Height() : s->Width();
    EXPECT_EQ(size, c.thickness) << c.align << (c.section ? c.section : "none");
    EXPECT_EQ(s->MinSize, c.thickness) << c.align << (c.section ? c.section : "none");
    s->Free();
  }
}

TEST_F(SkinSplitter, EmptyFaceNeverShrinksTheSplitterToNothing) {
  auto& d = *data.CtrlList[static_cast<size_t>(data.GetControlIndex("vsplitter"))];
  d.SkinRect = TRect{};
  auto* s = new TksSkinSplitter(form);
  s->SetParent(form);
  s->SetAlign(alLeft);
  s->SetSkinData(&data);
  EXPECT_EQ(s->Width(), 10);
  s->DefaultSize = 0;
  s->ChangeSkinData();
  EXPECT_EQ(s->Width(), 10) << "a size of 0 is never taken";
}

TEST_F(SkinSplitter, AlignedBarIsDrawnFromTheSkinFace) {
  form->HandleNeeded();
  auto* s = new TksSkinSplitter(form);
  s->SetParent(form);
  s->SetAlign(alLeft);
  s->SetSkinData(&data);
  TBitmap shot;
  PaintInto(*form, shot);
  // The face's fixed top end is copied as it is: (0, 184) of the picture at (0, 0).
  EXPECT_EQ(static_cast<COLORREF>(shot.Canvas()->Pixels(s->Left(), s->Top())), SkinPixel(0, 184));
  EXPECT_EQ(static_cast<COLORREF>(shot.Canvas()->Pixels(s->Left() + 1, s->Top() + 1)), SkinPixel(1, 185));
}

}  // namespace
