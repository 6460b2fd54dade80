// The main window drawn into a bitmap as the user sees its client area.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "app/ArtResources.h"
#include "app/FormShot.h"
#include "app/tests/MainForm_fixture.h"
#include "framework/core/jpeg.h"
#include "framework/core/streams.h"

namespace apptest {
namespace {

using MainFormRender = MainFormTest;

TColor At(TBitmap& b, int x, int y) { return b.Canvas()->Pixels(x, y); }

void LoadBackground(TBitmap& background) {
  TResourceStream stream(GetModuleHandleA(nullptr), kMainBackgroundResource, RT_RCDATA);
  TJPEGImage jpeg;
  jpeg.LoadFromStream(stream);
  background.Assign(&jpeg);
}

int ChannelDistance(TColor a, TColor b) {
  const auto channel = [](TColor c, int shift) { return static_cast<int>((static_cast<uint32_t>(c) >> shift) & 0xFF); };
  int d = 0;
  for (int shift : {0, 8, 16}) d = std::max(d, std::abs(channel(a, shift) - channel(b, shift)));
  return d;
}

TEST_F(MainFormRender, BackgroundHotImageAndTransparentKey) {
  TBitmap background;
  LoadBackground(background);
  TBitmap hot;
  hot.LoadFromResourceID(GetModuleHandleA(nullptr), 2);
  TBitmap selectOut;
  selectOut.LoadFromResourceID(GetModuleHandleA(nullptr), 8);

  frmMain->HighlightButton(frmMain->imgRecover);
  TBitmap shot;
  ShootClient(*frmMain, shot);
  ASSERT_EQ(shot.Width(), 614);
  ASSERT_EQ(shot.Height(), 330);

  // Background where nothing stands on it: the decoded picture, exactly.
  for (const auto& [left, top] : {std::pair{120, 120}, {250, 230}, {600, 320}, {5, 280}})
    for (int y = top; y < top + 8; ++y)
      for (int x = left; x < left + 8; ++x) ASSERT_EQ(At(shot, x, y), At(background, x, y)) << x << "," << y;
  // The highlighted recover picture, whole.
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) ASSERT_EQ(At(shot, 440 + x, 198 + y), At(hot, x, y)) << x << "," << y;
  // The lower row's key colour shows the background; its drawing does not.
  const TColor key = At(selectOut, 0, 31);
  ASSERT_EQ(At(selectOut, 0, 0), key);
  EXPECT_EQ(At(shot, 240, 319), At(background, 240, 319));
  EXPECT_EQ(At(shot, 240, 288), At(background, 240, 288));
  int drawn = 0;
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x)
      if (At(selectOut, x, y) != key) {
        ++drawn;
        EXPECT_EQ(At(shot, 240 + x, 288 + y), At(selectOut, x, y));
      }
  EXPECT_GT(drawn, 50);
}

// The art's divider between the picture and the commands keeps clear of what stands at
// the commands' left edge: the background there is plain, row by row, a few pixels out.
TEST_F(MainFormRender, CommandsKeepAMarginFromTheDivider) {
  TBitmap background;
  LoadBackground(background);
  constexpr int kMargin = 6;
  const std::pair<const char*, const TControl*> edge[] = {
      {"lblTitle", frmMain->lblTitle}, {"lblInfo1", frmMain->lblInfo1},
      {"lblInfo2", frmMain->lblInfo2}, {"lblInfo3", frmMain->lblInfo3},
      {"lblAdvancedOptions", frmMain->lblAdvancedOptions}, {"imgSelectOUT", frmMain->imgSelectOUT}};
  for (const auto& [name, control] : edge) {
    const int left = control->Left();
    for (int y = control->Top(); y < control->Top() + control->Height(); ++y) {
      const TColor plain = At(background, left + 2, y);
      for (int x = left - kMargin; x < left + 2; ++x)
        ASSERT_LE(ChannelDistance(At(background, x, y), plain), 16) << name << " at " << x << "," << y;
    }
  }
}

}  // namespace
}  // namespace apptest
