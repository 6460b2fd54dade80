// The skinned check and radio box: state changes by click, space, accelerator and
// code, OnClick counts, group rules, focus, the fade, and the three looks (flat,
// skinned face, no skin) painted into memory.
#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "framework/gui/actions.h"
#include "framework/gui/extctrls.h"
#include "framework/gui/imagelist.h"
#include "skin/controls/ksSkinCheckRadio.h"
#include "skin/tests/ksSkinCtrls_fixture.h"

namespace {

using namespace skintest;

class CheckRadio : public SkinCtrls {
 protected:
  TksSkinCheckRadioBox* NewBox(TWinControl* parent, int top, bool radio = false, int group = 0) {
    auto* b = new TksSkinCheckRadioBox(form);
    b->SetParent(parent);
    b->SetBounds(10, top, 150, 25);
    b->SetRadio(radio);
    b->GroupIndex = group;
    b->OnClick = [this, b](TObject* sender) {
      EXPECT_EQ(sender, b);
      ++clicks[b];
    };
    return b;
  }
  TksDataSkinCheckRadioControl& Description(const char* name = "checkbox") {
    return dynamic_cast<TksDataSkinCheckRadioControl&>(
        *data.CtrlList[static_cast<size_t>(data.GetControlIndex(name))]);
  }
  // Each mark of the skin gets a pixel of its own colour, so every state's mark
  // differs from the others whatever the art.
  void StampMarks(const TksDataSkinCheckRadioControl& d) {
    const TRect marks[] = {d.CheckImageRect,          d.UncheckImageRect,          d.ActiveCheckImageRect,
                           d.ActiveUncheckImageRect,  d.UnEnabledCheckImageRect,   d.UnEnabledUncheckImageRect};
    TBitmap* pic = data.ActivePicture(d.PictureIndex);
    int k = 0;
    for (const TRect& r : marks) pic->Canvas()->SetPixels(r.Left + 1, r.Top + 1, RGB(20 + 40 * k++, 10, 200));
  }
  // Pixels of the mark drawn at (x, y) that differ from the picture's rectangle,
  // leaving out the rectangle's transparent colour (its bottom-left pixel).
  static int MarkMismatches(TBitmap& shot, TBitmap* picture, int x, int y, const TRect& r) {
    const TColor transparent = picture->Canvas()->Pixels(r.Left, r.Bottom - 1);
    int bad = 0;
    for (int dy = 0; dy < r.Height(); ++dy)
      for (int dx = 0; dx < r.Width(); ++dx) {
        const TColor s = picture->Canvas()->Pixels(r.Left + dx, r.Top + dy);
        if (s != transparent && shot.Canvas()->Pixels(x + dx, y + dy) != s) ++bad;
      }
    return bad;
  }
  static int CountColour(TBitmap& shot, const TRect& r, TColor c) {
    int n = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = r.Left; x < r.Right; ++x)
        if (static_cast<COLORREF>(shot.Canvas()->Pixels(x, y)) == Rgb(c)) ++n;
    return n;
  }

  std::map<TObject*, int> clicks;
};

TEST_F(CheckRadio, Defaults) {
  TksSkinCheckRadioBox b(nullptr);
  EXPECT_EQ(b.Width(), 150);
  EXPECT_EQ(b.Height(), 25);
  EXPECT_EQ(b.SkinDataName(), "checkbox");
  EXPECT_FALSE(b.TabStop());
  EXPECT_TRUE(b.CanFocused());
  EXPECT_TRUE(b.Flat());
  EXPECT_FALSE(b.Checked());
  EXPECT_FALSE(b.Radio());
  EXPECT_EQ(b.GroupIndex, 0);
  EXPECT_EQ(b.ImageIndex(), 0);
  b.SetCanFocused(true);
  EXPECT_TRUE(b.TabStop());
  b.SetCanFocused(false);
  EXPECT_FALSE(b.TabStop());
}

struct SetCase {
  bool radio;
  bool value;
  bool checked;
  int clicks;  // after the call
};

TEST_F(CheckRadio, CheckedFromCodeFiresOnClickOnEveryCall) {
  const std::vector<std::vector<SetCase>> runs = {
      {{false, true, true, 1}, {false, true, true, 2}, {false, false, false, 3}, {false, false, false, 4}},
      // A radio box set to false is not clicked.
      {{true, true, true, 1}, {true, true, true, 2}, {true, false, false, 2}},
  };
  for (const auto& run : runs) {
    TksSkinCheckRadioBox* b = NewBox(form, 10, run.front().radio);
    for (const SetCase& k : run) {
      b->SetChecked(k.value);
      EXPECT_EQ(b->Checked(), k.checked);
      EXPECT_EQ(clicks[b], k.clicks) << "radio " << k.radio;
    }
  }
}

TEST_F(CheckRadio, LeftClickOverTheBoxToggles) {
  ShowAndActivate();
  TksSkinCheckRadioBox* b = NewBox(form, 10);
  Click(b);
  EXPECT_TRUE(b->Checked());
  EXPECT_EQ(clicks[b], 1);
  Click(b);
  EXPECT_FALSE(b->Checked());
  EXPECT_EQ(clicks[b], 2);

  // Other buttons never toggle.
  b->Perform(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
  b->Perform(WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_FALSE(b->Checked());

  // Pressed, dragged off and released outside: no toggle.
  b->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  b->Perform(CM_MOUSELEAVE, 0, 0);
  b->Perform(WM_LBUTTONUP, 0, MAKELPARAM(200, 5));
  EXPECT_FALSE(b->Checked());
  EXPECT_FALSE(b->MouseIn());
  // Dragged off and back: released on the box it toggles.
  b->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  b->Perform(CM_MOUSELEAVE, 0, 0);
  b->Perform(CM_MOUSEENTER, 0, 0);
  b->Perform(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_TRUE(b->Checked());
  EXPECT_EQ(clicks[b], 3);
  form->Hide();
}

TEST_F(CheckRadio, ClickTakesTheFocusUnlessTheBoxCannotBeFocused) {
  ShowAndActivate();
  TksSkinCheckRadioBox* a = NewBox(form, 10);
  TksSkinCheckRadioBox* b = NewBox(form, 40);
  Click(a);
  EXPECT_EQ(GetFocus(), a->Handle());
  EXPECT_TRUE(a->IsFocusedBox());
  b->SetCanFocused(false);
  Click(b);
  EXPECT_TRUE(b->Checked());  // still clicked
  EXPECT_EQ(GetFocus(), a->Handle());
  EXPECT_FALSE(b->IsFocusedBox());
  form->Hide();
}

TEST_F(CheckRadio, RadioGroupOnOneParent) {
  ShowAndActivate();
  auto* panel = new TPanel(form);
  panel->SetParent(form);
  panel->SetBounds(0, 100, 300, 100);
  TksSkinCheckRadioBox* first = NewBox(form, 10, true, 1);
  TksSkinCheckRadioBox* second = NewBox(form, 40, true, 1);
  TksSkinCheckRadioBox* otherGroup = NewBox(form, 70, true, 2);
  TksSkinCheckRadioBox* otherParent = NewBox(panel, 10, true, 1);
  otherGroup->SetChecked(true);
  otherParent->SetChecked(true);
  first->SetChecked(true);
  clicks.clear();

  Click(second);
  EXPECT_TRUE(second->Checked());
  EXPECT_FALSE(first->Checked());
  EXPECT_EQ(clicks[second], 1);
  EXPECT_EQ(clicks[first], 0);  // a radio box turned off is not clicked
  EXPECT_TRUE(otherGroup->Checked());
  EXPECT_TRUE(otherParent->Checked());

  // The checked one clicked again: nothing changes, nothing fires.
  Click(second);
  EXPECT_TRUE(second->Checked());
  EXPECT_EQ(clicks[second], 1);
  form->Hide();
}

TEST_F(CheckRadio, CheckBoxesOfOneGroupAreExclusiveAndTheUncheckedOneClicks) {
  TksSkinCheckRadioBox* a = NewBox(form, 10, false, 3);
  TksSkinCheckRadioBox* b = NewBox(form, 40, false, 3);
  TksSkinCheckRadioBox* free1 = NewBox(form, 70);
  TksSkinCheckRadioBox* free2 = NewBox(form, 100);
  a->SetChecked(true);
  free1->SetChecked(true);
  clicks.clear();
  b->SetChecked(true);
  EXPECT_FALSE(a->Checked());
  EXPECT_EQ(clicks[a], 1);
  EXPECT_EQ(clicks[b], 1);
  // Group 0 boxes never affect each other.
  free2->SetChecked(true);
  EXPECT_TRUE(free1->Checked());
  EXPECT_EQ(clicks[free1], 0);
}

TEST_F(CheckRadio, SpaceTogglesOnKeyUpOnlyWhileFocused) {
  ShowAndActivate();
  TksSkinCheckRadioBox* b = NewBox(form, 10);
  TksSkinCheckRadioBox* other = NewBox(form, 40);
  b->Perform(WM_KEYUP, VK_SPACE, 0);
  EXPECT_FALSE(b->Checked());  // not focused
  b->SetFocus();
  ASSERT_EQ(GetFocus(), b->Handle());
  b->Perform(WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_FALSE(b->Checked());
  b->Perform(WM_KEYUP, VK_SPACE, 0);
  EXPECT_TRUE(b->Checked());
  b->Perform(WM_KEYUP, 'A', 0);
  EXPECT_TRUE(b->Checked());
  // Focused but not CanFocused: space does nothing.
  other->SetCanFocused(false);
  SetFocus(other->Handle());
  other->Perform(WM_KEYUP, VK_SPACE, 0);
  EXPECT_FALSE(other->Checked());
  form->Hide();
}

TEST_F(CheckRadio, AcceleratorFocusesAndToggles) {
  ShowAndActivate();
  TksSkinCheckRadioBox* b = NewBox(form, 10);
  b->SetCaption("&Photos");
  EXPECT_EQ(b->Perform(CM_DIALOGCHAR, 'x', 0), 0);
  EXPECT_FALSE(b->Checked());
  EXPECT_EQ(b->Perform(CM_DIALOGCHAR, 'p', 0), 1);
  EXPECT_TRUE(b->Checked());
  EXPECT_EQ(GetFocus(), b->Handle());
  b->SetCanFocused(false);
  EXPECT_EQ(b->Perform(CM_DIALOGCHAR, 'p', 0), 0);
  EXPECT_TRUE(b->Checked());
  form->Hide();
}

TEST_F(CheckRadio, DisabledBoxIgnoresInputButNotCode) {
  ShowAndActivate();
  TksSkinCheckRadioBox* b = NewBox(form, 10);
  b->SetCaption("&Video");
  b->Perform(CM_MOUSEENTER, 0, 0);
  ASSERT_TRUE(b->MouseIn());
  b->SetEnabled(false);
  EXPECT_FALSE(b->MouseIn());
  // The pointer still lights a disabled box up; it takes no input all the same.
  b->Perform(CM_MOUSEENTER, 0, 0);
  EXPECT_TRUE(b->MouseIn());
  Click(b);
  b->Perform(WM_KEYUP, VK_SPACE, 0);
  EXPECT_EQ(b->Perform(CM_DIALOGCHAR, 'v', 0), 0);
  EXPECT_FALSE(b->Checked());
  EXPECT_EQ(clicks[b], 0);
  b->SetChecked(true);
  EXPECT_TRUE(b->Checked());
  EXPECT_EQ(clicks[b], 1);
  form->Hide();
}

TEST_F(CheckRadio, AssignedActionSetsChecked) {
  auto* action = new TAction(form);
  action->Checked = true;
  TksSkinCheckRadioBox* b = NewBox(form, 10);
  b->SetAction(action);
  EXPECT_TRUE(b->Checked());
  EXPECT_EQ(clicks[b], 1);
  action->Free();
  EXPECT_EQ(b->Action(), nullptr);
}

// ---- looks ---------------------------------------------------------------------------

TEST_F(CheckRadio, LookWithoutSkin) {
  TksSkinCheckRadioBox* b = NewBox(form, 10);
  b->SetFlat(false);
  const int mid = b->Height() / 2;
  TBitmap shot;
  PaintInto(*b, shot);
  EXPECT_EQ(static_cast<COLORREF>(shot.Canvas()->Pixels(0, 0)), Rgb(clBtnFace));
  EXPECT_EQ(static_cast<COLORREF>(shot.Canvas()->Pixels(3, mid - 7)), Rgb(clBtnShadow));  // box C
  EXPECT_EQ(static_cast<COLORREF>(shot.Canvas()->Pixels(9, mid + 3)), Rgb(clBtnFace));   // no mark

  struct Case {
    bool radio, checked, enabled, hot;
    COLORREF corner, box, mark;  // (0,0), box C, a mark pixel
    int mx, my;
  };
  const Case cases[] = {
      {false, true, true, false, Rgb(clBtnFace), Rgb(clBtnShadow), Rgb(clBlack), 9, mid + 3},
      {false, true, false, false, Rgb(clBtnFace), Rgb(clBtnShadow), Rgb(clBtnShadow), 9, mid + 3},
      {false, false, true, true, Rgb(clBtnShadow), Rgb(clNavy), Rgb(clBtnFace), 9, mid + 3},
      {true, true, true, false, Rgb(clBtnFace), Rgb(clBtnShadow), Rgb(clBlack), 9, mid},
  };
  for (const Case& k : cases) {
    b->SetEnabled(true);
    b->Perform(CM_MOUSELEAVE, 0, 0);
    b->SetRadio(k.radio);
    b->SetChecked(k.checked);
    b->SetEnabled(k.enabled);
    if (k.hot) b->Perform(CM_MOUSEENTER, 0, 0);
    PaintInto(*b, shot);
    EXPECT_EQ(static_cast<COLORREF>(shot.Canvas()->Pixels(0, 0)), k.corner) << k.radio << k.checked << k.enabled;
    EXPECT_EQ(static_cast<COLORREF>(shot.Canvas()->Pixels(3, mid - 7)), k.box) << k.radio << k.checked;
    EXPECT_EQ(static_cast<COLORREF>(shot.Canvas()->Pixels(k.mx, k.my)), k.mark) << k.radio << k.checked;
  }
}

TEST_F(CheckRadio, FlatLookWithoutSkinShowsTheParent) {
  form->SetColor(static_cast<TColor>(0x336699));
  TksSkinCheckRadioBox* b = NewBox(form, 10);
  const int mid = b->Height() / 2;
  TBitmap shot;
  PaintInto(*b, shot);
  EXPECT_EQ(static_cast<COLORREF>(shot.Canvas()->Pixels(1, 1)), Rgb(form->Color()));
  EXPECT_EQ(static_cast<COLORREF>(shot.Canvas()->Pixels(3, mid - 7)), Rgb(clBtnShadow));
  b->SetChecked(true);
  b->Perform(CM_MOUSEENTER, 0, 0);
  PaintInto(*b, shot);
  EXPECT_EQ(static_cast<COLORREF>(shot.Canvas()->Pixels(3, mid - 7)), Rgb(clNavy));
  EXPECT_EQ(static_cast<COLORREF>(shot.Canvas()->Pixels(9, mid + 3)), Rgb(clBlack));
}

TEST_F(CheckRadio, FlatLookFramesTheFocusedCaption) {
  ShowAndActivate();
  TksSkinCheckRadioBox* b = NewBox(form, 10);
  TksSkinCheckRadioBox* other = NewBox(form, 40);
  b->SetCaption("Photos");
  other->SetFocus();
  TBitmap unfocused, focused;
  PaintInto(*b, unfocused);
  b->SetFocus();
  ASSERT_TRUE(b->IsFocusedBox());
  PaintInto(*b, focused);
  // The focus rectangle runs two pixels left of the caption (at x 22).
  int changed = 0;
  for (int y = 0; y < b->Height(); ++y)
    if (focused.Canvas()->Pixels(20, y) != unfocused.Canvas()->Pixels(20, y)) ++changed;
  EXPECT_GT(changed, 0);
  EXPECT_EQ(focused.Canvas()->Pixels(10, 2), unfocused.Canvas()->Pixels(10, 2));
  form->Hide();
}

TEST_F(CheckRadio, FlatSkinnedLookDrawsTheMarkOfEachState) {
  auto& d = Description();
  StampMarks(d);
  form->SetColor(static_cast<TColor>(0x336699));
  TksSkinCheckRadioBox* b = NewBox(form, 10);
  b->SetSkinData(&data);
  ASSERT_NE(b->ControlIndex(), -1);
  ASSERT_NE(b->Picture, nullptr);
  const int x = 3, y = b->Height() / 2 - d.CheckImageRect.Height() / 2;

  struct Case {
    bool checked, enabled, hot;
    TRect mark;
  };
  const Case cases[] = {
      {true, true, false, d.CheckImageRect},           {false, true, false, d.UncheckImageRect},
      {true, true, true, d.ActiveCheckImageRect},      {false, true, true, d.ActiveUncheckImageRect},
      {true, false, false, d.UnEnabledCheckImageRect}, {false, false, false, d.UnEnabledUncheckImageRect},
  };
  TBitmap shot;
  for (const Case& k : cases) {
    b->SetEnabled(true);
    b->Perform(CM_MOUSELEAVE, 0, 0);
    b->SetChecked(k.checked);
    b->SetEnabled(k.enabled);
    if (k.hot) b->Perform(CM_MOUSEENTER, 0, 0);
    PaintInto(*b, shot);
    EXPECT_EQ(MarkMismatches(shot, b->Picture, x, y, k.mark), 0) << k.checked << k.enabled << k.hot;
    EXPECT_EQ(static_cast<COLORREF>(shot.Canvas()->Pixels(x + 1, y + 1)),
              static_cast<COLORREF>(b->Picture->Canvas()->Pixels(k.mark.Left + 1, k.mark.Top + 1)));
    // Beside the mark the parent shows through.
    EXPECT_EQ(static_cast<COLORREF>(shot.Canvas()->Pixels(1, 1)), Rgb(form->Color()));
    // The caption colour of the state.
    const TColor text = k.enabled ? d.FrameFontColor : d.UnEnabledFontColor;
    b->SetCaption("MMMM");
    PaintInto(*b, shot);
    EXPECT_GT(CountColour(shot, TRect{20, 0, 150, 25}, text), 0) << k.checked << k.enabled;
    b->SetCaption("");
  }
}

TEST_F(CheckRadio, SkinnedFaceLook) {
  auto& d = Description("radiobox");
  StampMarks(d);
  TksSkinCheckRadioBox* b = NewBox(form, 10, true, 1);
  b->SetSkinDataName("radiobox");
  b->SetFlat(false);
  b->SetSkinData(&data);
  ASSERT_EQ(b->ResizeMode, 1);
  ASSERT_EQ(b->Width(), 150);
  EXPECT_EQ(b->NewTextArea, (TRect{d.TextArea.Left, d.TextArea.Top, d.TextArea.Right + 50, d.TextArea.Bottom}));
  const TRect& area = b->NewCheckImageArea;
  TBitmap* pic = b->Picture;
  auto skin = [&](int x, int y) { return static_cast<COLORREF>(pic->Canvas()->Pixels(x, y)); };

  struct Case {
    bool checked, enabled, hot;
    TRect mark;
    TColor text;
  };
  const Case cases[] = {
      {true, true, false, d.CheckImageRect, d.FontColor},
      {false, true, false, d.UncheckImageRect, d.FontColor},
      {true, true, true, d.ActiveCheckImageRect, d.ActiveFontColor},
      {false, false, false, d.UnEnabledUncheckImageRect, d.UnEnabledFontColor},
  };
  TBitmap shot;
  b->SetCaption("MMMM");
  for (const Case& k : cases) {
    b->SetEnabled(true);
    b->Perform(CM_MOUSELEAVE, 0, 0);
    b->SetChecked(k.checked);
    b->SetEnabled(k.enabled);
    if (k.hot) b->Perform(CM_MOUSEENTER, 0, 0);
    PaintInto(*b, shot);
    const TRect face = k.hot ? d.ActiveSkinRect : d.SkinRect;
    EXPECT_EQ(static_cast<COLORREF>(shot.Canvas()->Pixels(0, 0)), skin(face.Left, face.Top));
    EXPECT_EQ(static_cast<COLORREF>(shot.Canvas()->Pixels(149, 24)), skin(face.Right - 1, face.Bottom - 1));
    EXPECT_EQ(MarkMismatches(shot, pic, area.Left, area.Top, k.mark), 0) << k.checked << k.enabled << k.hot;
    EXPECT_EQ(static_cast<COLORREF>(shot.Canvas()->Pixels(area.Left + 1, area.Top + 1)),
              skin(k.mark.Left + 1, k.mark.Top + 1));
    EXPECT_GT(CountColour(shot, b->NewTextArea, k.text), 0) << k.checked << k.enabled << k.hot;
  }
}

TEST_F(CheckRadio, MissingStateRectanglesFallBack) {
  auto& d = Description();
  d.ActiveSkinRect = TRect{};
  d.ActiveCheckImageRect = TRect{};
  d.ActiveUncheckImageRect = TRect{};
  d.UnEnabledCheckImageRect = TRect{};
  d.UnEnabledUncheckImageRect = TRect{};
  TksSkinCheckRadioBox* b = NewBox(form, 10);
  b->SetSkinData(&data);
  b->GetSkinData();
  EXPECT_EQ(b->ActiveSkinRect, d.SkinRect);
  EXPECT_EQ(b->ActiveCheckImageRect, d.CheckImageRect);
  EXPECT_EQ(b->ActiveUnCheckImageRect, d.UncheckImageRect);
  EXPECT_EQ(b->UnEnabledCheckImageRect, d.CheckImageRect);
  EXPECT_EQ(b->UnEnabledUnCheckImageRect, d.UncheckImageRect);
}

struct AreaCase {
  TRect checkArea, textArea;
  int width;
  TRect newCheck, newText;
};

TEST_F(CheckRadio, FaceAreasFollowTheWidth) {
  auto& d = Description();
  const AreaCase cases[] = {
      // Mark left of the caption: it stays; the text area grows.
      {{1, 1, 15, 15}, {18, 0, 100, 16}, 150, {2, 2, 15, 15}, {18, 0, 150, 16}},
      // Mark after the caption follows the right border.
      {{84, 1, 98, 15}, {2, 0, 80, 16}, 130, {115, 2, 128, 15}, {2, 0, 110, 16}},
  };
  for (const AreaCase& k : cases) {
    d.CheckImageArea = k.checkArea;
    d.TextArea = k.textArea;
    TksSkinCheckRadioBox* b = NewBox(form, 10);
    b->SetFlat(false);
    b->SetSkinData(&data);
    b->SetBounds(10, 10, k.width, 16);
    EXPECT_EQ(b->NewCheckImageArea, k.newCheck);
    EXPECT_EQ(b->NewTextArea, k.newText);
  }
}

TEST_F(CheckRadio, DescriptionOfAnotherKindGivesThePlainLook) {
  TksSkinCheckRadioBox* b = NewBox(form, 10);
  b->SetSkinDataName("stdlabel");
  b->SetFlat(false);
  b->SetSkinData(&data);
  b->SetBounds(10, 10, 120, 30);
  EXPECT_EQ(b->Width(), 120);
  EXPECT_EQ(b->Height(), 30);
  EXPECT_EQ(PaintAndSample(*b, 1, 1), Rgb(clBtnFace));
}

TEST_F(CheckRadio, FadeInFifthsOnlyWithAFace) {
  auto& d = Description();
  d.Morphing = true;
  d.ActiveSkinRect = TRect{0, 0, d.SkinRect.Width(), d.SkinRect.Height()};
  TksSkinCheckRadioBox* b = NewBox(form, 10);
  b->SetSkinData(&data);
  // Flat: the skin's morphing is ignored.
  b->Perform(CM_MOUSEENTER, 0, 0);
  EXPECT_EQ(b->MorphTimer(), nullptr);
  EXPECT_FALSE(b->Morphing);
  EXPECT_EQ(b->Rgn(), nullptr);
  b->Perform(CM_MOUSELEAVE, 0, 0);

  b->SetFlat(false);
  ASSERT_TRUE(b->Morphing);
  auto fire = [&] { FireTimer(b->MorphTimer()); };
  b->Perform(CM_MOUSEENTER, 0, 0);
  ASSERT_NE(b->MorphTimer(), nullptr);
  EXPECT_EQ(b->MorphTimer()->Interval(), 20u);
  fire();
  fire();
  EXPECT_EQ(b->MorphSteps(), 2);
  const COLORREF normal = SkinPixel(d.SkinRect.Left, d.SkinRect.Top);
  const COLORREF active = SkinPixel(d.ActiveSkinRect.Left, d.ActiveSkinRect.Top);
  ASSERT_NE(normal, active);
  const COLORREF mid = PaintAndSample(*b, 0, 0);
  EXPECT_NE(mid, normal);
  EXPECT_NE(mid, active);
  for (int i = 0; i < 3; ++i) fire();
  EXPECT_EQ(b->MorphSteps(), 5);
  fire();  // the settling tick
  EXPECT_EQ(b->MorphTimer(), nullptr);
  EXPECT_EQ(PaintAndSample(*b, 0, 0), active);
  b->Perform(CM_MOUSELEAVE, 0, 0);
  for (int i = 0; i < 6; ++i) fire();
  EXPECT_EQ(b->MorphSteps(), 0);
  EXPECT_EQ(b->MorphTimer(), nullptr);
  EXPECT_EQ(PaintAndSample(*b, 0, 0), normal);

  // Disabling stops a running fade.
  b->Perform(CM_MOUSEENTER, 0, 0);
  fire();
  b->SetEnabled(false);
  EXPECT_EQ(b->MorphTimer(), nullptr);
  EXPECT_EQ(b->MorphSteps(), 0);
}

TEST_F(CheckRadio, ImageBeforeTheCaptionAndAFreedListIsForgotten) {
  form->SetColor(static_cast<TColor>(0x336699));
  auto* images = new TImageList(16, 16, form);
  TBitmap red(16, 16);
  red.Canvas()->Brush()->SetColor(static_cast<TColor>(0x0000FF));
  red.Canvas()->FillRect(TRect{0, 0, 16, 16});
  images->Add(&red, nullptr);
  TksSkinCheckRadioBox* b = NewBox(form, 10);
  b->SetImages(images);
  const int mid = b->Height() / 2;
  EXPECT_EQ(PaintAndSample(*b, 22 + 8, mid), Rgb(static_cast<TColor>(0x0000FF)));
  b->SetImageIndex(1);  // past the list: no image
  EXPECT_EQ(PaintAndSample(*b, 22 + 8, mid), Rgb(form->Color()));
  b->SetImageIndex(-1);
  EXPECT_EQ(PaintAndSample(*b, 22 + 8, mid), Rgb(form->Color()));
  images->Free();
  EXPECT_EQ(b->Images(), nullptr);
  PaintAndSample(*b, 1, 1);
}

}  // namespace
