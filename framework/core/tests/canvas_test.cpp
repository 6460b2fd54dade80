#include "framework/core/canvas.h"

#include <gtest/gtest.h>

#include "framework/core/bitmap.h"
#include "framework/core/tests/graphics_fixtures.h"

TEST(Canvas, CopyRectWithNegativeExtentsMirrors) {
  TBitmap source(4, 2);
  source.Canvas()->Brush()->SetColor(clRed);
  source.Canvas()->FillRect(Rect(0, 0, 2, 2));
  source.Canvas()->Brush()->SetColor(clBlue);
  source.Canvas()->FillRect(Rect(2, 0, 4, 2));
  TBitmap dest(4, 2);
  // GDI's mirrored rectangle runs from Left back to Right + 1, hence the -1 of the idiom.
  dest.Canvas()->CopyRect(Rect(3, 0, -1, 2), source.Canvas(), Rect(0, 0, 4, 2));
  EXPECT_EQ(PixelOf(dest, 0, 0), clBlue);
  EXPECT_EQ(PixelOf(dest, 1, 1), clBlue);
  EXPECT_EQ(PixelOf(dest, 2, 0), clRed);
  EXPECT_EQ(PixelOf(dest, 3, 1), clRed);
}

TEST(Canvas, LineToStopsOneShortOfItsEnd) {
  TBitmap bitmap(10, 3);
  bitmap.Canvas()->MoveTo(1, 1);
  bitmap.Canvas()->LineTo(6, 1);
  EXPECT_EQ(PixelOf(bitmap, 1, 1), clBlack);
  EXPECT_EQ(PixelOf(bitmap, 5, 1), clBlack);
  EXPECT_EQ(PixelOf(bitmap, 6, 1), clWhite);
  EXPECT_EQ(bitmap.Canvas()->PenPos(), Point(6, 1));
}

TEST(Canvas, RectangleOutlinesUpToOneShortOfTheCorner) {
  TBitmap bitmap(10, 10);
  bitmap.Canvas()->Brush()->SetColor(clRed);
  bitmap.Canvas()->Rectangle(2, 2, 7, 6);
  EXPECT_EQ(PixelOf(bitmap, 2, 2), clBlack);
  EXPECT_EQ(PixelOf(bitmap, 6, 5), clBlack);
  EXPECT_EQ(PixelOf(bitmap, 7, 5), clWhite);
  EXPECT_EQ(PixelOf(bitmap, 6, 6), clWhite);
  EXPECT_EQ(PixelOf(bitmap, 4, 4), clRed);  // filled with the brush
  bitmap.Canvas()->Brush()->SetStyle(bsClear);
  bitmap.Canvas()->Rectangle(0, 0, 10, 10);
  EXPECT_EQ(PixelOf(bitmap, 4, 4), clRed);  // a clear brush leaves the inside
  EXPECT_EQ(PixelOf(bitmap, 9, 9), clBlack);
}

TEST(Canvas, PixelsOutsideTheSurfaceOrClipAreInvalid) {
  TBitmap bitmap(4, 3);
  TCanvas* canvas = bitmap.Canvas();
  for (TPoint p : {Point(-1, 0), Point(0, -1), Point(4, 0), Point(0, 3), Point(1000, 1000)}) {
    EXPECT_EQ(canvas->Pixels(p.X, p.Y), -1) << p.X << "," << p.Y;
    canvas->SetPixels(p.X, p.Y, clRed);  // ignored, no crash
  }
  EXPECT_EQ(canvas->Pixels(3, 2), clWhite);
  HRGN clip = CreateRectRgn(0, 0, 2, 2);
  SelectClipRgn(canvas->Handle(), clip);
  DeleteObject(clip);
  EXPECT_EQ(canvas->Pixels(3, 2), -1);
  EXPECT_EQ(canvas->Pixels(1, 1), clWhite);
}

TEST(Canvas, ColourTurnsAClearBrushSolid) {
  TBrush brush;
  brush.SetStyle(bsClear);
  int changes = 0;
  brush.OnChange = [&](TObject*) { ++changes; };
  brush.SetColor(clRed);
  EXPECT_EQ(brush.Style(), bsSolid);
  EXPECT_EQ(changes, 1);

  TBitmap bitmap(3, 3);
  bitmap.Canvas()->Brush()->SetStyle(bsClear);
  bitmap.Canvas()->FillRect(Rect(0, 0, 3, 3));
  EXPECT_EQ(PixelOf(bitmap, 1, 1), clWhite);
  bitmap.Canvas()->Brush()->SetColor(clLime);
  bitmap.Canvas()->FillRect(Rect(0, 0, 3, 3));
  EXPECT_EQ(PixelOf(bitmap, 1, 1), clLime);
}

TEST(Canvas, TransparentBitmapsDrawWithoutTheirTransparentColour) {
  TBitmap sprite(4, 4);
  sprite.Canvas()->Brush()->SetColor(clFuchsia);
  sprite.Canvas()->FillRect(Rect(0, 0, 4, 4));
  sprite.Canvas()->Brush()->SetColor(clRed);
  sprite.Canvas()->FillRect(Rect(1, 1, 3, 3));
  sprite.SetTransparent(true);  // tmAuto: fuchsia, the bottom-left pixel

  TBitmap back(6, 6);
  back.Canvas()->Brush()->SetColor(clBlue);
  back.Canvas()->FillRect(Rect(0, 0, 6, 6));
  back.Canvas()->Draw(1, 1, &sprite);
  EXPECT_EQ(PixelOf(back, 1, 1), clBlue);
  EXPECT_EQ(PixelOf(back, 2, 2), clRed);
  EXPECT_EQ(PixelOf(back, 3, 3), clRed);
  EXPECT_EQ(PixelOf(back, 4, 4), clBlue);

  sprite.SetTransparent(false);
  back.Canvas()->Draw(1, 1, &sprite);
  EXPECT_EQ(PixelOf(back, 1, 1), clFuchsia);
  back.Canvas()->Draw(0, 0, nullptr);  // nothing
}

TEST(Canvas, Frame3DDrawsRingsAndShrinksTheRect) {
  TBitmap bitmap(10, 10);
  TRect r = Rect(1, 1, 9, 9);
  Frame3D(bitmap.Canvas(), r, clRed, clBlue, 2);
  EXPECT_EQ(r, Rect(3, 3, 7, 7));
  // Outer ring: left and top in the top colour, right and bottom in the bottom colour.
  EXPECT_EQ(PixelOf(bitmap, 1, 1), clRed);
  EXPECT_EQ(PixelOf(bitmap, 1, 7), clRed);   // bottom-left end of the left edge
  EXPECT_EQ(PixelOf(bitmap, 7, 1), clRed);   // the top edge stops short of the right one
  EXPECT_EQ(PixelOf(bitmap, 8, 1), clBlue);
  EXPECT_EQ(PixelOf(bitmap, 8, 8), clBlue);
  EXPECT_EQ(PixelOf(bitmap, 1, 8), clBlue);
  EXPECT_EQ(PixelOf(bitmap, 0, 8), clWhite);
  EXPECT_EQ(PixelOf(bitmap, 9, 9), clWhite);
  // Inner ring.
  EXPECT_EQ(PixelOf(bitmap, 2, 2), clRed);
  EXPECT_EQ(PixelOf(bitmap, 7, 7), clBlue);
  EXPECT_EQ(PixelOf(bitmap, 3, 3), clWhite);
}

TEST(Canvas, TextUsesFontColourAndBrushBackground) {
  TBitmap bitmap(60, 20);
  TCanvas* canvas = bitmap.Canvas();
  canvas->Font()->SetColor(clRed);
  canvas->Brush()->SetColor(clLime);
  TSize extent = canvas->TextExtent("W");
  ASSERT_GT(extent.cx, 0);
  canvas->TextOut(0, 0, "W");
  EXPECT_EQ(canvas->PenPos().X, extent.cx);
  bool red = false, lime = false;
  for (int y = 0; y < extent.cy; ++y)
    for (int x = 0; x < extent.cx; ++x) {
      red |= PixelOf(bitmap, x, y) == clRed;
      lime |= PixelOf(bitmap, x, y) == clLime;
    }
  EXPECT_TRUE(red);
  EXPECT_TRUE(lime);
  EXPECT_EQ(PixelOf(bitmap, extent.cx + 2, 2), clWhite);
  // Changing the font while it is selected must not leave a dangling handle.
  canvas->Font()->SetHeight(-20);
  canvas->Brush()->SetStyle(bsClear);
  canvas->TextOut(30, 0, "W");
  EXPECT_EQ(PixelOf(bitmap, 30, 0), clWhite);
}

TEST(Canvas, LockIsRecursiveAndPerCanvas) {
  TCanvas a;
  TCanvas b;
  a.Lock();
  a.Lock();
  EXPECT_TRUE(a.TryLock());
  EXPECT_EQ(a.LockCount(), 3);
  EXPECT_TRUE(b.TryLock());
  b.Unlock();
  a.Unlock();
  a.Unlock();
  a.Unlock();
  EXPECT_EQ(a.LockCount(), 0);
}

TEST(Canvas, WithoutADCDrawingRaises) {
  TCanvas canvas;
  EXPECT_THROW(canvas.FillRect(Rect(0, 0, 1, 1)), EInvalidOperation);
}

TEST(Font, DefaultsAssignAndAdoptedHandles) {
  TFont font;
  LOGFONTA gui{};
  GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof(gui), &gui);
  EXPECT_EQ(font.Name(), String(gui.lfFaceName));
  EXPECT_EQ(font.Charset(), 1);
  EXPECT_EQ(font.Color(), clWindowText);

  TFont other;
  other.SetName("Arial");
  other.SetHeight(-20);
  other.SetStyle(fsBold | fsItalic);
  other.SetColor(clRed);
  int changes = 0;
  font.OnChange = [&](TObject*) { ++changes; };
  font.Assign(&other);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(font.Height(), -20);
  EXPECT_EQ(font.Style(), fsBold | fsItalic);
  EXPECT_EQ(font.Color(), clRed);

  LOGFONTA log = font.GetLogFont();
  log.lfHeight = 33;
  log.lfEscapement = 900;
  font.SetHandle(CreateFontIndirectA(&log));
  EXPECT_EQ(font.Height(), 33);
  EXPECT_EQ(font.GetLogFont().lfEscapement, 900);
  EXPECT_NE(font.Handle(), nullptr);
}

TEST(Pen, ModeAndStyleReachTheDC) {
  TBitmap bitmap(4, 1);
  bitmap.Canvas()->Pen()->SetMode(pmNot);
  bitmap.Canvas()->MoveTo(0, 0);
  bitmap.Canvas()->LineTo(2, 0);
  EXPECT_EQ(PixelOf(bitmap, 1, 0), clBlack);  // white inverted
  bitmap.Canvas()->Pen()->SetMode(pmCopy);
  bitmap.Canvas()->Pen()->SetStyle(psClear);
  bitmap.Canvas()->LineTo(4, 0);
  EXPECT_EQ(PixelOf(bitmap, 3, 0), clWhite);
}

TEST(Canvas, TextRectClipsAndFillsOnlyWithASolidBrush) {
  TBitmap bitmap(40, 20);
  TCanvas* canvas = bitmap.Canvas();
  canvas->Brush()->SetColor(clYellow);
  canvas->TextRect(Rect(0, 0, 10, 10), 2, 2, "WWWW");
  EXPECT_EQ(PixelOf(bitmap, 0, 0), clYellow);   // filled although no text is there
  EXPECT_EQ(PixelOf(bitmap, 10, 2), clWhite);   // clipped at the right edge
  canvas->Brush()->SetStyle(bsClear);
  canvas->TextRect(Rect(20, 0, 40, 20), 22, 2, "W");
  EXPECT_EQ(PixelOf(bitmap, 20, 0), clWhite);
}

TEST(Canvas, PolygonClosesAndFills) {
  TBitmap bitmap(10, 10);
  bitmap.Canvas()->Brush()->SetColor(clRed);
  bitmap.Canvas()->Polygon({Point(1, 1), Point(8, 1), Point(8, 8), Point(1, 8)});
  EXPECT_EQ(PixelOf(bitmap, 4, 4), clRed);
  EXPECT_EQ(PixelOf(bitmap, 1, 5), clBlack);  // the closing edge
}
