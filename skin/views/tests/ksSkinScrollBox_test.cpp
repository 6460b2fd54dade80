// The skinned scroll box: linked bars that show only while the children do not
// fit, the children following the bars and the box's size, the frame in the
// non-client area, and painting that survives degenerate skins.
#include <gtest/gtest.h>

#include "skin/tests/ksPaintedOutside.h"
#include "skin/tests/ksSkinCtrls_fixture.h"
#include "skin/views/ksSkinPanel.h"
#include "skin/views/ksSkinScrollBox.h"

namespace {

using namespace skintest;

class SkinScrollBox : public SkinCtrls {
 protected:
  void SetUp() override {
    SkinCtrls::SetUp();
    box = new TksSkinScrollBox(form);
    box->SetParent(form);
    box->SetBorderStyle(TksSkinBorderStyle::bvNone);
    box->SetBounds(0, 0, 100, 100);
    box->HandleNeeded();
    bar = new TksSkinScrollBar(form);
    bar->SetKind(sbVertical);
    bar->SetParent(form);
    bar->SetBounds(100, 0, 17, 100);
    box->SetVScrollBar(bar);
  }
  TControl* AddChild(int top, int height, int left = 0, int width = 50) {
    auto* c = new TksSkinPanel(form);
    c->SetParent(box);
    c->SetBounds(left, top, width, height);
    return c;
  }

  TksSkinScrollBox* box = nullptr;
  TksSkinScrollBar* bar = nullptr;
};

TEST_F(SkinScrollBox, BarShowsOnlyWhileChildrenDoNotFit) {
  TControl* child = AddChild(0, 80);
  box->UpdateScrollBars();
  EXPECT_FALSE(bar->Visible());
  EXPECT_EQ(bar->Max(), 0);
  child->SetHeight(150);
  box->UpdateScrollBars();
  EXPECT_TRUE(bar->Visible());
  EXPECT_EQ(bar->Max(), 149);
  EXPECT_EQ(bar->PageSize(), 100);
  bar->SetPosition(30);
  EXPECT_EQ(child->Top(), -30) << "the children follow the bar";
  // Fitting again undoes the scroll.
  child->SetHeight(60);
  box->UpdateScrollBars();
  EXPECT_FALSE(bar->Visible());
  EXPECT_EQ(child->Top(), 0);
  EXPECT_EQ(bar->Position(), 0);
  EXPECT_EQ(box->OldVPos(), 0);
}

TEST_F(SkinScrollBox, GrowingShowsWhatLayBefore) {
  TControl* child = AddChild(0, 150);
  box->UpdateScrollBars();
  bar->SetPosition(40);
  EXPECT_EQ(child->Top(), -40);
  box->SetBounds(0, 0, 100, 130);  // the child now ends at 110, above the new bottom
  EXPECT_EQ(child->Top(), -10) << "children down by 30";
  EXPECT_EQ(bar->Position(), 10);
  EXPECT_EQ(box->VSizeOffset(), 0);
}

TEST_F(SkinScrollBox, ShrunkContentGoesBackToTheStart) {
  TControl* child = AddChild(0, 150);
  box->UpdateScrollBars();
  bar->SetPosition(40);
  child->SetHeight(120);  // still too high, but free space shows at the bottom
  box->UpdateScrollBars();
  EXPECT_TRUE(bar->Visible());
  EXPECT_EQ(bar->Position(), 0);
  EXPECT_EQ(child->Top(), 0);
}

TEST_F(SkinScrollBox, ChildrenStayWithAClampedPosition) {
  TControl* child = AddChild(0, 300);
  box->UpdateScrollBars();
  bar->SetPosition(200);
  ASSERT_EQ(child->Top(), -200);
  // The content shrinks below the position while a size change is pending.
  child->SetHeight(250);
  box->SetBounds(0, 0, 100, 110);
  EXPECT_EQ(child->Top(), -bar->Position()) << "the children are where the bar says";
}

TEST_F(SkinScrollBox, AlignedBoxGivesWayToItsBar) {
  box->SetAlign(alClient);
  bar->SetAlign(alRight);
  const int full = form->ClientWidth();
  bar->SetVisible(false);
  form->Realign();
  EXPECT_EQ(box->Width(), full);
  AddChild(0, 1000);
  box->UpdateScrollBars();
  EXPECT_TRUE(bar->Visible());
  EXPECT_EQ(box->Width(), full - bar->Width()) << "re-aligned beside the bar";
}

TEST_F(SkinScrollBox, AHorizontalBarThatTakesRoomUpdatesTheUprightOne) {
  box->SetAlign(alClient);
  bar->SetAlign(alRight);
  bar->SetVisible(false);
  auto* h = new TksSkinScrollBar(form);
  h->SetParent(form);
  h->SetAlign(alBottom);
  h->SetHeight(17);
  box->SetHScrollBar(h);
  form->Realign();
  const int height = box->ClientHeight();
  // Too wide, and just as high as the box before the bar takes its 17 pixels.
  AddChild(0, height - 5, 0, 1000);
  box->UpdateHScrollBar();
  ASSERT_TRUE(h->Visible());
  EXPECT_EQ(box->ClientHeight(), height - 17);
  EXPECT_TRUE(bar->Visible()) << "the lower box no longer holds the child";
}

TEST_F(SkinScrollBox, HorizontalBarLeavesTheCornerToAShownVerticalOne) {
  auto* h = new TksSkinScrollBar(form);
  h->SetParent(form);
  h->SetBounds(0, 100, 100, 17);
  box->SetHScrollBar(h);
  AddChild(0, 50, 0, 300);
  box->UpdateScrollBars();
  EXPECT_TRUE(h->Visible());
  EXPECT_FALSE(h->Both());
  AddChild(0, 400);
  box->UpdateScrollBars();
  EXPECT_TRUE(bar->Visible());
  EXPECT_TRUE(h->Both());
  delete box->Controls(1);
  box->UpdateScrollBars();
  EXPECT_FALSE(bar->Visible());
  EXPECT_FALSE(h->Both());
}

TEST_F(SkinScrollBox, FrameMarginsByLookAndBorder) {
  struct Case {
    bool skinned;
    TksSkinBorderStyle border;
    int margin;
  };
  const Case cases[] = {
      {false, TksSkinBorderStyle::bvNone, 0},
      {false, TksSkinBorderStyle::bvFrame, 1},
      {false, TksSkinBorderStyle::bvLowered, 1},
      {true, TksSkinBorderStyle::bvFrame, 2},  // the "scrollbox" face's client rectangle starts at 2,2
      {true, TksSkinBorderStyle::bvNone, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << (c.skinned ? "skinned " : "plain ") << static_cast<int>(c.border));
    box->SetSkinData(c.skinned ? &data : nullptr);
    box->SetBorderStyle(c.border);
    box->SetBounds(0, 0, 120, 90);
    EXPECT_EQ(box->ClientWidth(), 120 - 2 * c.margin);
    EXPECT_EQ(box->ClientHeight(), 90 - 2 * c.margin);
  }
}

TEST_F(SkinScrollBox, FrameIsDrawnFromTheSkinsBorder) {
  box->SetSkinData(&data);
  box->SetBorderStyle(TksSkinBorderStyle::bvFrame);
  box->SetBounds(0, 0, 120, 90);
  TBitmap frame(120, 90);
  box->PaintFrame(frame);
  // The face's corners are copied as they are.
  EXPECT_EQ(static_cast<COLORREF>(frame.Canvas()->Pixels(0, 0)), SkinPixel(box->SkinRect.Left, box->SkinRect.Top));
  EXPECT_EQ(static_cast<COLORREF>(frame.Canvas()->Pixels(119, 89)),
            SkinPixel(box->SkinRect.Right - 1, box->SkinRect.Bottom - 1));
}

TEST_F(SkinScrollBox, DegenerateSkinsAndSizesPaint) {
  auto* d = data.ControlData<TksDataSkinScrollBoxControl>(data.GetControlIndex("scrollbox"));
  ASSERT_NE(d, nullptr);
  box->SetSkinData(&data);
  for (int bg : {-1, 7, 0}) {
    SCOPED_TRACE(bg);
    d->BGPictureIndex = bg;  // 7: no such picture
    d->ClientRect = TRect{};
    box->ChangeSkinData();
    // The background picture tiled from its corner; with none, or none to tile, the plain face.
    EXPECT_EQ(PaintAndSample(*box, 1, 1), bg == 0 ? SkinPixel(1, 1) : Rgb(clBtnFace));
    EXPECT_EQ(PaintedOutside(*box), 0);
    box->SetBounds(0, 0, 0, 0);
    PaintAndSample(*box, 0, 0);
    EXPECT_EQ(PaintedOutside(*box), 0);
    box->SetBounds(0, 0, 100, 100);
  }
}

}  // namespace
