#include "skin/controls/ksSkinFace.h"

#include <gtest/gtest.h>

#include <climits>

#include "skin/tests/ksSkinCtrls_fixture.h"

using namespace skintest;

namespace {

// A face of 40 x 20 whose corners make it fixed, one-way or free.
TksDataSkinCustomControl Description(TPoint rt, TPoint lb, TPoint rb) {
  TksDataSkinCustomControl d("face");
  d.SkinRect = TRect{0, 0, 40, 20};
  d.LTPoint = TPoint{5, 5};
  d.RTPoint = rt;
  d.LBPoint = lb;
  d.RBPoint = rb;
  d.ClientRect = TRect{5, 5, 35, 15};
  return d;
}

// The default skin's container, for the pictures a face takes.
class SkinFace : public SkinCtrls {};

}  // namespace

TEST_F(SkinFace, ControlDataFindsOnlyADescriptionOfTheKindAsked) {
  const int button = data.GetControlIndex("button");
  ASSERT_GE(button, 0);
  EXPECT_EQ(data.ControlData<TksDataSkinButtonControl>(button), data.CtrlList[static_cast<size_t>(button)].get());
  EXPECT_NE(data.ControlData<TksDataSkinCustomControl>(button), nullptr);
  EXPECT_EQ(data.ControlData<TksDataSkinGaugeControl>(button), nullptr);
  for (int outside : {-1, -2, static_cast<int>(data.CtrlList.size()), INT_MAX})
    EXPECT_EQ(data.ControlData<TksDataSkinControl>(outside), nullptr) << outside;
}

TEST_F(SkinFace, FaceSizeFollowsTheResizeMode) {
  struct Case {
    const char* name;
    TPoint rt, lb, rb;
    bool described;
    int mode, w, h;  // the resize mode and the size 100 x 50 becomes
  } const cases[] = {
      {"free", {35, 5}, {5, 15}, {35, 15}, true, 1, 100, 50},
      {"width only", {35, 5}, {0, 0}, {0, 0}, true, 2, 100, 20},
      {"height only", {0, 0}, {5, 15}, {0, 0}, true, 3, 40, 50},
      {"fixed", {0, 0}, {0, 0}, {0, 0}, true, 0, 40, 20},
      // A control without a description keeps the size it is given.
      {"fixed, not described", {0, 0}, {0, 0}, {0, 0}, false, 0, 100, 50},
  };
  for (const Case& c : cases) {
    const TksDataSkinCustomControl d = Description(c.rt, c.lb, c.rb);
    TksSkinFace face;
    face.TakeFace(&d, data);
    EXPECT_EQ(face.ResizeMode, c.mode) << c.name;
    int w = 100, h = 50;
    face.MoveFace(w, h, c.described);
    EXPECT_EQ(w, c.w) << c.name;
    EXPECT_EQ(h, c.h) << c.name;
  }
}

TEST_F(SkinFace, FaceOfAnotherKindHasNoPictureAndNoSize) {
  TksSkinFace face;
  const TksDataSkinCustomControl d = Description({35, 5}, {5, 15}, {35, 15});
  face.TakeFace(&d, data);
  face.TakeFace(nullptr, data);
  EXPECT_EQ(face.Picture, nullptr);
  EXPECT_EQ(face.MaskPicture, nullptr);
  EXPECT_EQ(face.ResizeMode, 0);
  int kw = 100, kh = 50;
  face.MoveFace(kw, kh, true);  // the earlier face's size went with it
  EXPECT_EQ(kw, 100);
  EXPECT_EQ(kh, 50);
  TksDataSkinCustomControl empty("face");
  face.TakeFace(&empty, data);
  EXPECT_EQ(face.ResizeMode, -1);
  int w = 100, h = 50;
  face.MoveFace(w, h, true);
  EXPECT_EQ(w, 100);
  EXPECT_EQ(h, 50);
  TBitmap b(10, 10);
  face.ComposeFace(&b, nullptr, TRect{0, 0, 10, 10}, 10, 10);  // no picture: nothing drawn, no crash
  EXPECT_EQ(b.Width(), 10);
}
