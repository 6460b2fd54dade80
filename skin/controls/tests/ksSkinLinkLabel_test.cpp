// The link label's font and colours by skin and hover, its disabled look and its click.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "skin/controls/ksSkinLinkLabel.h"
#include "skin/data/ksSkinDataControls.h"
#include "skin/draw/ksSystemSeam.h"
#include "skin/tests/ksSkinCtrls_fixture.h"

namespace {

using namespace skintest;

class SkinLinkLabel : public SkinCtrls {
 protected:
  TksSkinLinkLabel* NewLabel() {
    form->HandleNeeded();
    auto* l = new TksSkinLinkLabel(form);
    l->SetParent(form);
    l->SetLeft(10);
    l->SetTop(10);
    l->SetCaption("WWW");
    return l;
  }
  TksDataSkinStdLabelControl& Description() {
    return dynamic_cast<TksDataSkinStdLabelControl&>(
        *data.CtrlList[static_cast<size_t>(data.GetControlIndex("stdlabel"))]);
  }
};

TEST_F(SkinLinkLabel, FontAndColourFollowSkinUseSkinFontAndHover) {
  const TksDataSkinStdLabelControl& d = Description();
  ASSERT_NE(d.FontName, "Arial");
  struct Case {
    bool skinned, useSkinFont, hover;
    const char* name;
    int height;
    TFontStyles style;
    TColor color;
  };
  const TColor ownColor = static_cast<TColor>(0x123456);
  const Case cases[] = {
      {false, true, false, "Arial", 14, fsUnderline, clWindowText},
      {false, true, true, "Arial", 14, fsUnderline, clBlue},
      {false, false, false, "Courier New", 20, fsBold | fsUnderline, ownColor},
      {true, true, false, d.FontName.c_str(), d.FontHeight, d.FontStyle | fsUnderline, d.FontColor},
      {true, true, true, d.FontName.c_str(), d.FontHeight, d.FontStyle | fsUnderline, d.ActiveFontColor},
      {true, false, false, "Courier New", 20, fsBold, d.FontColor},
      {true, false, true, "Courier New", 20, fsBold, d.ActiveFontColor},
  };
  for (const Case& c : cases) {
    auto* l = NewLabel();
    l->Font()->SetName("Courier New");
    l->Font()->SetHeight(20);
    l->Font()->SetStyle(fsBold);
    l->Font()->SetColor(ownColor);
    l->UseSkinFont = c.useSkinFont;
    if (c.skinned) l->SetSkinData(&data);
    if (c.hover) l->Perform(CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(l));
    TFont f;
    l->GetSkinData();
    l->AssignTextFont(&f);
    const std::string what = std::to_string(c.skinned) + std::to_string(c.useSkinFont) + std::to_string(c.hover);
    EXPECT_EQ(f.Name(), c.name) << what;
    EXPECT_EQ(f.Height(), c.height) << what;
    EXPECT_EQ(f.Style(), c.style) << what;
    EXPECT_EQ(f.Color(), c.color) << what;
    l->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(l));
    EXPECT_FALSE(l->Hover());
    l->Free();
  }
}

TEST_F(SkinLinkLabel, DisabledTextIsDrawnTwiceInHighlightAndShadow) {
  auto* l = NewLabel();
  l->DefaultFont()->SetHeight(24);
  l->SetCaption("WWW");
  TBitmap shot;
  auto count = [&](TColor color) {
    PaintInto(*form, shot);
    int n = 0;
    for (int y = l->Top(); y < l->Top() + l->Height() + 1; ++y)
      for (int x = l->Left(); x < l->Left() + l->Width() + 1; ++x)
        n += static_cast<COLORREF>(shot.Canvas()->Pixels(x, y)) == Rgb(color) ? 1 : 0;
    return n;
  };
  EXPECT_GT(count(clBlack), 0);
  EXPECT_EQ(count(clBtnShadow), 0);
  l->SetEnabled(false);
  EXPECT_EQ(count(clBlack), 0);
  EXPECT_GT(count(clBtnShadow), 0);
  EXPECT_GT(count(clBtnHighlight), 0) << "the highlight copy one pixel down-right";
}

TEST_F(SkinLinkLabel, ClickFiresOnClickThenOpensTheUrlButNeverAnEmptyOne) {
  std::vector<std::string> calls;
  ScopedSeam<TksSystemSeam> seam({.ShellOpen = [&](const std::string& file) { calls.push_back("open " + file); }});
  for (const std::string url : {"https://example.org/help", ""}) {
    calls.clear();
    auto* l = NewLabel();
    l->URL = url;
    l->OnClick = [&](TObject*) { calls.push_back("click"); };
    l->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    l->Perform(WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    const std::vector<std::string> expected =
        url.empty() ? std::vector<std::string>{"click"} : std::vector<std::string>{"click", "open " + url};
    EXPECT_EQ(calls, expected);
    l->Free();
  }
}

}  // namespace
