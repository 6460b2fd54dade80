// Shapes and texts that skinned controls draw themselves when the skin has no picture.
#include "framework/gui/control.h"
#include "framework/gui/forms.h"
#include "framework/gui/wincontrol.h"
#include "skin/draw/ksUtils.h"

namespace {

void Line(TCanvas* c, int x1, int y1, int x2, int y2) {
  c->MoveTo(x1, y1);
  c->LineTo(x2, y2);
}

void ClearOutline(TCanvas* c, int x1, int y1, int x2, int y2) {
  c->Brush()->SetStyle(bsClear);
  c->Rectangle(x1, y1, x2, y2);
}

void FilledBox(TCanvas* c, int x1, int y1, int x2, int y2, TColor color) {
  c->Pen()->SetColor(color);
  c->Brush()->SetColor(color);
  c->Brush()->SetStyle(bsSolid);
  c->Rectangle(x1, y1, x2, y2);
}

// Rows y0 + dir * i holding columns from - i .. to + i; lines end one past the last pixel.
void Triangle(TCanvas* c, int x, int y, const int (&rows)[4][3]) {
  for (const auto& r : rows) Line(c, x + r[1], y + r[0], x + r[2] + 1, y + r[0]);
}

}  // namespace

void PaintParentBackground(TControl* control, TCanvas* canvas) {
  if (!control || !control->Parent()) return;
  TWinControl* parent = control->Parent();
  HDC dc = canvas->Handle();
  int saved = SaveDC(dc);
  POINT old{};
  SetViewportOrgEx(dc, -control->Left(), -control->Top(), &old);
  IntersectClipRect(dc, 0, 0, parent->ClientWidth(), parent->ClientHeight());
  if (!dynamic_cast<TCustomForm*>(parent)) parent->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
  SendMessageA(parent->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  RestoreDC(dc, saved);
}

void CutTextToWidth(TCanvas* canvas, String& text, int width) {
  if (canvas->TextWidth(text) <= width) return;
  while (!text.empty()) {
    text.pop_back();
    if (canvas->TextWidth(text + "...") <= width) break;
  }
  text += "...";
}

void DrawTextVCentered(TCanvas* canvas, const String& text, const TRect& r) {
  RECT rc = r;
  DrawTextA(canvas->Handle(), text.c_str(), static_cast<int>(text.size()), &rc, DT_SINGLELINE | DT_VCENTER);
}

void DrawItemTextOffset(TCanvas* canvas, const String& text, const TRect& r, int offset) {
  int y = r.Top + RectHeight(r) / 2 - canvas->TextHeight(text) / 2;
  canvas->TextRect(r, r.Left + 2 + offset, y, text);
}

void DrawItemText(TCanvas* canvas, const String& text, const TRect& r) { DrawItemTextOffset(canvas, text, r, 0); }

void DrawGlyph(TCanvas* canvas, int x, int y, TBitmap* glyphs, int glyphCount, int glyphNumber) {
  if (!glyphs || glyphs->Empty() || glyphCount < 1 || glyphNumber < 1 || glyphNumber > glyphCount) return;
  int cw = glyphs->Width() / glyphCount, ch = glyphs->Height();
  if (cw < 1) return;
  TBitmap cell;
  cell.SetSize(cw, ch);
  cell.Canvas()->CopyRect(Rect(0, 0, cw, ch), glyphs->Canvas(), Rect((glyphNumber - 1) * cw, 0, glyphNumber * cw, ch));
  cell.SetTransparent(true);
  canvas->Draw(x, y, &cell);
}

void DrawArrowGlyph(TCanvas* canvas, const TRect& r, TColor color, int kind) {
  canvas->Pen()->SetColor(color);
  int w = RectWidth(r), h = RectHeight(r);
  int cx = r.Left + w / 2, cy = r.Top + h / 2;
  for (int i = 0; i <= 3; ++i) {
    switch (kind) {
      case 1: Line(canvas, cx - 2 + i, cy - i, cx - 2 + i, cy + i + 1); break;
      case 2: Line(canvas, cx + 2 - i, cy - i, cx + 2 - i, cy + i + 1); break;
      case 3: Line(canvas, cx - i, cy - 2 + i, cx + i + 1, cy - 2 + i); break;
      case 4: Line(canvas, cx - i, cy + 2 - i, cx + i + 1, cy + 2 - i); break;
      default: return;
    }
  }
}

void DrawSmallDownTriangle(TCanvas* canvas, const TRect& r, TColor color) {
  canvas->Pen()->SetColor(color);
  int x0 = r.Left + RectWidth(r) / 2, y0 = r.Top + RectHeight(r) / 2 + 2;
  for (int i = 2; i >= 0; --i) Line(canvas, x0 - i, y0 - i, x0 + i + 1, y0 - i);
}

void DrawCheckMark(TCanvas* canvas, int x, int y, TColor color) {
  canvas->Pen()->SetColor(color);
  for (int i = 0; i <= 2; ++i) {
    canvas->MoveTo(x, y + 5 - i);
    canvas->LineTo(x + 2, y + 7 - i);
    canvas->LineTo(x + 7, y + 2 - i);
  }
}

void DrawRadioDot(TCanvas* canvas, int x, int y, TColor color) { FilledBox(canvas, x, y, x + 6, y + 6, color); }

void DrawBevelFrame(TCanvas* canvas, const TRect& r, TColor topColor, TColor bottomColor) {
  TRect c{r.Left, r.Top, r.Right - 1, r.Bottom - 1};
  canvas->Pen()->SetWidth(1);
  canvas->Pen()->SetColor(topColor);
  canvas->Polyline({Point(c.Left, c.Bottom), Point(c.Left, c.Top), Point(c.Right, c.Top)});
  canvas->Pen()->SetColor(bottomColor);
  canvas->Polyline({Point(c.Right, c.Top), Point(c.Right, c.Bottom), Point(c.Left - 1, c.Bottom)});
}

void DrawCloseImage(TCanvas* canvas, int x, int y, TColor color) {
  canvas->Pen()->SetColor(color);
  Line(canvas, x + 1, y + 1, x + 9, y + 9);
  Line(canvas, x + 9, y + 1, x + 1, y + 9);
  Line(canvas, x + 2, y + 1, x + 10, y + 9);
  Line(canvas, x + 8, y + 1, x, y + 9);
}

void DrawCloseImageInRect(TCanvas* canvas, const TRect& r, TColor color) {
  DrawCloseImage(canvas, r.Left + RectWidth(r) / 2 - 5, r.Top + RectHeight(r) / 2 - 5, color);
}

void DrawSysMenuImage(TCanvas* canvas, int x, int y, TColor color) {
  canvas->Pen()->SetColor(color);
  ClearOutline(canvas, x + 1, y + 3, x + 9, y + 6);
}

void DrawMinimizeImage(TCanvas* canvas, int x, int y, TColor color) {
  canvas->Pen()->SetColor(color);
  Line(canvas, x + 1, y + 8, x + 9, y + 8);
  Line(canvas, x + 1, y + 9, x + 9, y + 9);
}

void DrawMaximizeImage(TCanvas* canvas, int x, int y, TColor color) {
  canvas->Pen()->SetColor(color);
  ClearOutline(canvas, x, y, x + 11, y + 10);
  ClearOutline(canvas, x, y, x + 11, y + 2);
}

void DrawRestoreImage(TCanvas* canvas, int x, int y, TColor color) {
  canvas->Pen()->SetColor(color);
  ClearOutline(canvas, x + 2, y, x + 10, y + 6);
  ClearOutline(canvas, x + 2, y, x + 10, y + 2);
  ClearOutline(canvas, x, y + 4, x + 7, y + 10);
  ClearOutline(canvas, x, y + 4, x + 7, y + 6);
}

void DrawRollDownImage(TCanvas* canvas, int x, int y, TColor color) {
  canvas->Pen()->SetColor(color);
  static constexpr int rows[4][3] = {{2, 1, 8}, {3, 2, 7}, {4, 3, 6}, {5, 4, 5}};
  Triangle(canvas, x, y, rows);
}

void DrawRollUpImage(TCanvas* canvas, int x, int y, TColor color) {
  canvas->Pen()->SetColor(color);
  static constexpr int rows[4][3] = {{6, 1, 8}, {5, 2, 7}, {4, 3, 6}, {3, 4, 5}};
  Triangle(canvas, x, y, rows);
}

void DrawMinToTrayImage(TCanvas* canvas, int x, int y, TColor color) {
  FilledBox(canvas, x + 2, y + 2, x + 7, y + 7, color);
}
