// One item of a menu level: its reactions to the mouse and keys, and its face in
// both looks.
#include <algorithm>

#include "framework/gui/imagelist.h"
#include "skin/draw/ksPlainColors.h"
#include "skin/draw/ksSkinMorph.h"
#include "skin/draw/ksUtils.h"
#include "skin/menus/ksSkinMenus.h"

void DrawCheckImage(TCanvas* canvas, int x, int y, TColor color) {
  canvas->Pen()->SetColor(color);
  for (int i = 0; i <= 2; ++i) canvas->Polyline({TPoint{x, y + 5 - i}, TPoint{x + 2, y + 7 - i}, TPoint{x + 7, y + 2 - i}});
}

void DrawSubMenuMark(TCanvas* canvas, int x, int y, TColor color) {
  canvas->Pen()->SetColor(color);
  for (int i = 0; i <= 3; ++i) {
    canvas->MoveTo(x + i, y + i);
    canvas->LineTo(x + i, y + 7 - i);
  }
}

void DrawRadioImage(TCanvas* canvas, int x, int y, TColor color) {
  canvas->Pen()->SetColor(color);
  canvas->Brush()->SetColor(color);
  canvas->Ellipse(x, y, x + 6, y + 6);
}

TksSkinMenuItem::TksSkinMenuItem(TksSkinPopupWindow* parent, TksDataSkinMenuItem* data, TMenuItem* menuItem)
    : Parent(parent), Data(data), MenuItem(menuItem) {
  // The description stays as loaded: a level without a usable item picture is not skinned.
  if (Data != nullptr && Parent->SkinData() != nullptr) ActivePicture = Parent->SkinData()->ActivePicture(Data->ActivePictureIndex);
  if (ActivePicture == nullptr) Data = nullptr;
}

// ---- reactions ----------------------------------------------------------------------

void TksSkinMenuItem::MouseEnter(bool byKeyboard) {
  Active = true;
  for (auto& other : Parent->Items) {
    if (other.get() == this || !other->Down) continue;
    other->Down = false;
    other->ReDraw();
  }
  TksSkinMenu* menu = Parent->Menu;
  if (SelectedAtOpen && !byKeyboard) {
    ReDraw();
  } else if (!Down) {
    ReDraw();
    menu->CheckItem(Parent, this, byKeyboard, false);
  } else {
    const int index = menu->LevelIndex(Parent);
    if (index + 2 < static_cast<int>(menu->Levels().size()))
      menu->Levels()[static_cast<size_t>(index + 1)]->CloseSubLevels();
  }
}

void TksSkinMenuItem::MouseLeave() {
  Active = false;
  SelectedAtOpen = false;
  if (!Down) ReDraw();
  if (Parent->Menu->WaitItem() == this) Parent->Menu->CancelWait();
}

void TksSkinMenuItem::Execute() {
  SelectedAtOpen = false;
  if (!Down && MenuItem->Enabled()) Parent->Menu->CheckItem(Parent, this, false, true);
}

// ---- face ---------------------------------------------------------------------------

bool TksSkinMenuItem::CanMorph() {
  if (!Visible) {
    if (MorphKf != 0) {
      Active = Down = false;
      MorphKf = 0;
    }
    return false;
  }
  return (DrawnActive() && MorphKf < 5) || (!DrawnActive() && MorphKf > 0);
}

void TksSkinMenuItem::ReDraw() {
  if (Data != nullptr && Data->Morphing) {
    Parent->MorphTimer.SetEnabled(true);
    return;
  }
  if (Parent->HandleAllocated() && Parent->Visible()) Draw(Parent->Canvas());
}

void TksSkinMenuItem::DoMorph() {
  SetMorphKf(MorphKf + (DrawnActive() ? 1 : -1));
  if (Parent->HandleAllocated() && Parent->Visible()) Draw(Parent->Canvas());
}

void TksSkinMenuItem::Draw(TCanvas* canvas) {
  if (!Visible) return;
  if (Data == nullptr) {
    DefaultDraw(canvas);
    return;
  }
  const int w = RectWidth(ObjectRect), h = RectHeight(ObjectRect);
  if (w < 1 || h < 1) return;
  TBitmap b(w, h);
  if (IsSeparator()) {
    CreateHSkinImage(Data->DividerLeftOffset, Data->DividerRightOffset, &b, ActivePicture, Data->DividerRect, w, h);
  } else if (!Data->Morphing || (DrawnActive() && MorphKf == 5) || (!DrawnActive() && MorphKf == 0)) {
    CreateSkinItemImage(&b, DrawnActive());
  } else {
    TBitmap to(w, h);
    CreateSkinItemImage(&b, false);
    CreateSkinItemImage(&to, true);
    MorphFace(&b, &to, Data->MorphKind, MorphKf / 5.0);
  }
  canvas->Draw(ObjectRect.Left, ObjectRect.Top, &b);
}

namespace {
// Where the content of an item goes, in the item's own coordinates.
struct TItemLayout {
  TRect TextArea;   // the caption is centred on it vertically
  int CaptionLeft;  // left of the caption
  int RightGap;     // room kept right of the shortcut for the submenu mark
  TPoint Image, Glyph, Radio, Check, SubMenu;
};

const struct {
  const char* name;
  void (*draw)(TCanvas*, int, int, TColor);
} kNamedGlyphs[] = {
    {"KSF_CLOSE", DrawCloseImage},     {"TRAY_KSF_CLOSE", DrawCloseImage},     {"KSF_MINITEM", DrawMinimizeImage},
    {"KSF_MAXITEM", DrawMaximizeImage}, {"KSF_RESTORE", DrawRestoreImage},       {"TRAY_KSF_RESTORE", DrawRestoreImage},
    {"KSF_ROLLUP", DrawRollUpImage},    {"KSF_MINTOTRAY", DrawMinToTrayImage},
};

void DrawContent(TCanvas* c, TMenuItem* item, TCustomImageList* images, const TItemLayout& l, TColor color) {
  c->Font()->SetColor(color);
  c->Brush()->SetStyle(bsClear);
  HDC dc = c->Handle();
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(color)));
  const String caption = item->Caption();
  RECT r{l.CaptionLeft, 0, l.TextArea.Right - l.RightGap, 0};
  DrawTextA(dc, caption.c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE);
  const int dy = RectHeight(l.TextArea) / 2 + l.TextArea.Top - r.bottom / 2;
  OffsetRect(&r, 0, dy);
  r.right += 2;
  DrawTextA(dc, caption.c_str(), -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  if (item->ShortCut() != scNone) {
    const String shortcut = ShortCutToText(item->ShortCut());
    RECT m{0, 0, 0, 0};
    DrawTextA(dc, shortcut.c_str(), -1, &m, DT_CALCRECT | DT_SINGLELINE);
    RECT s{l.TextArea.Right - l.RightGap - m.right, r.top, l.TextArea.Right - l.RightGap, r.bottom};
    DrawTextA(dc, shortcut.c_str(), -1, &s, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
  if (item->Count() > 0) DrawSubMenuMark(c, l.SubMenu.X, l.SubMenu.Y, color);
  if (images != nullptr && item->ImageIndex() > -1 && item->ImageIndex() < images->Count()) {
    images->Draw(c, l.Image.X, l.Image.Y, item->ImageIndex(), item->Enabled());
    if (item->Checked()) {
      c->Brush()->SetStyle(bsClear);
      c->Pen()->SetColor(color);
      c->Rectangle(l.Image.X - 1, l.Image.Y - 1, l.Image.X + images->Width() + 1, l.Image.Y + images->Height() + 1);
    }
    return;
  }
  for (const auto& glyph : kNamedGlyphs) {
    if (item->Name != glyph.name) continue;
    glyph.draw(c, l.Glyph.X, l.Glyph.Y, color);
    return;
  }
  if (!item->Checked()) return;
  if (item->RadioItem())
    DrawRadioImage(c, l.Radio.X, l.Radio.Y, color);
  else
    DrawCheckImage(c, l.Check.X, l.Check.Y, color);
}
}  // namespace

void TksSkinMenuItem::CreateSkinItemImage(TBitmap* b, bool active) {
  const int w = RectWidth(ObjectRect), h = RectHeight(ObjectRect);
  CreateHSkinImage(Data->ItemLeftOffset, Data->ItemRightOffset, b, ActivePicture,
                   active ? OrFallback(Data->ActiveSkinRect, Data->SkinRect) : Data->SkinRect, w, h);
  TCustomImageList* images = Parent->Images;
  const int iw = images != nullptr ? Parent->ImagesWidth : 16;
  TRect tr = Data->TextRect;
  tr.Right = b->Width() - (RectWidth(Data->SkinRect) - Data->TextRect.Right);
  const int mid = tr.Top + RectHeight(tr) / 2;
  const int ih = images != nullptr ? images->Height() : 0;
  TCanvas* c = b->Canvas();
  c->SetFont(&Parent->ItemFont);
  const TColor color = active ? Data->ActiveFontColor : (MenuItem->Enabled() ? Data->FontColor : Data->UnEnabledFontColor);
  DrawContent(c, MenuItem, images,
              TItemLayout{tr, tr.Left + iw, 16, TPoint{tr.Left + 2, mid - ih / 2}, TPoint{tr.Left + 2, mid - 4},
                          TPoint{tr.Left + 2, mid - 3}, TPoint{tr.Left + 2, mid - 4}, TPoint{tr.Right - 7, mid - 4}},
              color);
}

void TksSkinMenuItem::DefaultDraw(TCanvas* canvas) {
  const int w = RectWidth(ObjectRect), h = RectHeight(ObjectRect);
  if (w < 1 || h < 1) return;
  TBitmap b(w, h);
  TCanvas* c = b.Canvas();
  TCustomImageList* images = Parent->Images;
  const int iw = images != nullptr ? Parent->ImagesWidth : 19;
  TColor color = clWindowText;
  if (DrawnActive() && !IsSeparator()) {
    c->Brush()->SetColor(clNavy);
    c->FillRect(TRect{0, 0, w, h});
    c->Brush()->SetColor(kPlainHotFill);
    c->FillRect(TRect{1, 1, w - 1, h - 1});
  } else {
    c->Brush()->SetColor(clBtnFace);
    c->FillRect(TRect{0, 0, iw, h});
    c->Brush()->SetColor(clWindow);
    c->FillRect(TRect{iw, 0, w, h});
    if (!MenuItem->Enabled()) color = clBtnShadow;
  }
  if (IsSeparator()) {
    c->Brush()->SetColor(clBtnShadow);
    c->FillRect(TRect{iw, h / 2, w, h / 2 + 1});
  } else {
    c->SetFont(&Parent->ItemFont);
    const TRect cr{2, 2, w - 2, h - 2};
    const int mid = cr.Top + RectHeight(cr) / 2;
    const int ih = images != nullptr ? images->Height() : 0;
    DrawContent(c, MenuItem, images,
                TItemLayout{cr, cr.Left + iw, 19, TPoint{cr.Left, mid - ih / 2}, TPoint{cr.Left + 2, mid - 4},
                            TPoint{cr.Left + 3, mid - 3}, TPoint{cr.Left + 3, mid - 4}, TPoint{cr.Right - 7, mid - 4}},
                color);
  }
  canvas->Draw(ObjectRect.Left, ObjectRect.Top, &b);
}
