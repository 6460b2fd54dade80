// Painting controls off screen: the frames that skinned boxes draw outside their client
// areas are in the picture, as a display shows them.
#include <gtest/gtest.h>

#include <functional>

#include "skin/boxes/ksSkinEdit.h"
#include "skin/boxes/ksSkinMemo.h"
#include "skin/tests/ksSkinCtrls_fixture.h"
#include "skin/views/ksPaintWithChildren.h"

namespace {

using namespace skintest;

TEST_F(SkinCtrls, PaintWithChildrenDrawsTheFramesOfSkinnedEditsAndMemos) {
  form->HandleNeeded();
  auto* edit = new TksSkinEdit(form);
  edit->SetParent(form);
  edit->SetBounds(10, 10, 120, 20);
  edit->SetText("label");
  edit->SetSkinData(&data);
  auto* memo = new TksSkinMemo(form);
  memo->SetParent(form);
  memo->SetBounds(10, 40, 150, 100);
  memo->SetText("details");
  memo->SetSkinData(&data);
  struct Case {
    TWinControl* control;
    std::function<void(TBitmap&)> paintFrame;
  } cases[] = {{edit, [&](TBitmap& b) { edit->PaintFrame(b); }}, {memo, [&](TBitmap& b) { memo->PaintFrame(b); }}};
  // A colour no frame has: a frame left out shows it.
  const TColor background = static_cast<TColor>(RGB(1, 254, 3));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.control->ClassName());
    const int w = c.control->Width(), h = c.control->Height();
    ASSERT_GT(ClientOffset(*c.control).x, 0) << "the frame lies outside the client area";
    TBitmap frame;
    c.paintFrame(frame);
    TBitmap shot;
    PaintWithChildren(*c.control, shot, background);
    const POINT edges[] = {{0, 0}, {0, h / 2}, {w - 1, h / 2}, {w / 2, h - 1}, {w / 2, 0}};
    for (const POINT& p : edges)
      EXPECT_EQ(shot.Canvas()->Pixels(p.x, p.y), frame.Canvas()->Pixels(p.x, p.y)) << p.x << "," << p.y;
  }
}

}  // namespace
