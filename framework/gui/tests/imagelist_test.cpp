#include <gtest/gtest.h>

#include "framework/gui/imagelist.h"
#include "framework/gui/tests/gui_test_support.h"

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kWhite = RGB(255, 255, 255);

// 16 x 16 red with a blue 4 x 4 corner at the top left, the colour masked out.
void PaintRedWithBlueCorner(TBitmap& image) {
  image.SetSize(16, 16);
  TCanvas* c = image.Canvas();
  c->Brush()->SetColor(kRed);
  c->FillRect(Rect(0, 0, 16, 16));
  c->Brush()->SetColor(kBlue);
  c->FillRect(Rect(0, 0, 4, 4));
}

TEST(ImageListTest, AddDeleteAndClearKeepCount) {
  TImageList list(nullptr);
  EXPECT_EQ(0, list.Count());
  TBitmap image(16, 16, pf24bit);
  PaintRedWithBlueCorner(image);
  EXPECT_EQ(0, list.AddMasked(&image, kBlue));
  EXPECT_EQ(1, list.Add(&image, nullptr));
  TBitmap strip(48, 16, pf24bit);  // three images side by side
  EXPECT_EQ(2, list.Add(&strip, nullptr));
  EXPECT_EQ(5, list.Count());
  list.Delete(1);
  EXPECT_EQ(4, list.Count());
  // -1 would empty the whole list in the system call.
  EXPECT_THROW(list.Delete(-1), EInvalidOperation);
  EXPECT_THROW(list.Delete(4), EInvalidOperation);
  EXPECT_EQ(4, list.Count());
  list.Clear();
  EXPECT_EQ(0, list.Count());
  TBitmap empty;
  EXPECT_EQ(-1, list.Add(&empty, nullptr));
}

TEST(ImageListTest, DrawsImageAndLeavesMaskedPixels) {
  TImageList list(nullptr);
  TBitmap image(16, 16, pf24bit);
  PaintRedWithBlueCorner(image);
  ASSERT_EQ(0, list.AddMasked(&image, kBlue));
  TBitmap target(40, 40, pf24bit);
  list.Draw(target.Canvas(), 10, 10, 0);
  EXPECT_EQ(kWhite, target.Canvas()->Pixels(11, 11));  // masked corner
  EXPECT_EQ(kRed, target.Canvas()->Pixels(15, 15));
  EXPECT_EQ(kRed, target.Canvas()->Pixels(25, 25));
  EXPECT_EQ(kWhite, target.Canvas()->Pixels(26, 26));
  EXPECT_EQ(kWhite, target.Canvas()->Pixels(9, 9));
  list.Draw(target.Canvas(), 0, 0, 7);  // no such image: nothing drawn
  EXPECT_EQ(kWhite, target.Canvas()->Pixels(5, 5));
}

TEST(ImageListTest, DisabledDrawEmbossesTheMask) {
  TImageList list(nullptr);
  TBitmap image(16, 16, pf24bit);
  PaintRedWithBlueCorner(image);
  ASSERT_EQ(0, list.AddMasked(&image, kBlue));
  TBitmap target(40, 40, pf24bit);
  list.Draw(target.Canvas(), 10, 10, 0, false);
  const COLORREF shadow = ColorToRGB(clBtnShadow);
  const COLORREF highlight = ColorToRGB(clBtnHighlight);
  ASSERT_NE(shadow, highlight);
  struct Case {
    int x, y;
    COLORREF expected;
  } cases[] = {
      {11, 11, kWhite},     // masked, and so is the pixel up-left of it
      {18, 18, shadow},     // image
      {26, 26, highlight},  // one past the last image pixel, down-right
      {26, 18, highlight},
      {27, 27, kWhite},
      {9, 18, kWhite},
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.expected, static_cast<COLORREF>(target.Canvas()->Pixels(c.x, c.y))) << c.x << "," << c.y;
}

TEST(ImageListTest, IconAndBitmapOfAnImage) {
  TImageList list(nullptr);
  list.SetSize(16, 16);
  TBitmap image(16, 16, pf24bit);
  PaintRedWithBlueCorner(image);
  ASSERT_EQ(0, list.AddMasked(&image, kBlue));
  TIcon icon;
  list.GetIcon(0, &icon);
  ASSERT_TRUE(icon.HandleAllocated());
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(icon.Handle(), &info));
  BITMAP bm{};
  GetObjectA(info.hbmColor != nullptr ? info.hbmColor : info.hbmMask, sizeof(bm), &bm);
  EXPECT_EQ(16, bm.bmWidth);
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);

  TBitmap copy;
  list.GetBitmap(0, &copy);
  EXPECT_EQ(16, copy.Width());
  EXPECT_EQ(kRed, copy.Canvas()->Pixels(8, 8));
  EXPECT_THROW(list.GetBitmap(3, &copy), EInvalidOperation);
}

TEST(ImageListTest, BkColorNoneIsTransparentAndSizeChangeEmpties) {
  TImageList list(nullptr);
  EXPECT_EQ(CLR_NONE, ImageList_GetBkColor(list.Handle()));
  list.SetBkColor(RGB(0, 255, 0));
  EXPECT_EQ(RGB(0, 255, 0), ImageList_GetBkColor(list.Handle()));
  TBitmap image(16, 16, pf24bit);
  PaintRedWithBlueCorner(image);
  list.AddMasked(&image, kBlue);
  TBitmap target(20, 20, pf24bit);
  list.Draw(target.Canvas(), 0, 0, 0);
  EXPECT_EQ(RGB(0, 255, 0), target.Canvas()->Pixels(1, 1));  // masked part on the background colour
  list.SetBkColor(clNone);
  EXPECT_EQ(CLR_NONE, ImageList_GetBkColor(list.Handle()));
  list.SetWidth(24);
  EXPECT_EQ(0, list.Count());
  int cx = 0, cy = 0;
  ImageList_GetIconSize(list.Handle(), &cx, &cy);
  EXPECT_EQ(24, cx);
}

TEST(ImageListTest, SharedHandleOutlivesTheComponent) {
  HIMAGELIST shared = ImageList_Create(20, 10, ILC_COLOR24 | ILC_MASK, 1, 1);
  {
    TImageList list(nullptr);
    list.ShareImages = true;
    list.SetHandle(shared);
    EXPECT_EQ(20, list.Width());
    EXPECT_EQ(10, list.Height());
  }
  EXPECT_TRUE(ImageList_Destroy(shared));  // still ours to destroy
}

}  // namespace
