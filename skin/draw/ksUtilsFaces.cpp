// Face composers: strips with fixed ends and a tiled middle, nine-part faces, and the
// four border images and border masks of a resizable frame.
#include <algorithm>

#include "skin/draw/ksUtils.h"

namespace {

// Copies src of picture (offset by origin) to dest of b; empty rectangles copy nothing.
void Copy(TBitmap* b, const TRect& dest, TBitmap* picture, const TRect& src, TPoint origin = {}) {
  if (dest.Width() <= 0 || dest.Height() <= 0 || src.Width() <= 0 || src.Height() <= 0) return;
  TRect s{src.Left + origin.X, src.Top + origin.Y, src.Right + origin.X, src.Bottom + origin.Y};
  b->Canvas()->CopyRect(dest, picture->Canvas(), s);
}

// One axis of a tiling: the source segment [srcStart, srcStart + srcLen) is copied at
// S, S + step, ... for tiles 0..n, each cut where it passes E; the cut shortens the
// source by the same amount so an unscaled tile stays unscaled. A zero step is skipped.
struct TTiling {
  bool Horizontal;
  int SrcStart, SrcLen;      // along the axis
  int SrcFrom, SrcTo;        // across the axis
  int DstFrom, DstTo;        // across the axis
  int S, E, Step, N;
};

void Tile(TBitmap* b, TBitmap* picture, const TTiling& t, TPoint origin) {
  if (t.Step <= 0) return;
  for (int i = 0; i <= t.N; ++i) {
    int start = t.S + i * t.Step;
    if (start >= t.E) break;
    int cut = std::max(0, start + t.Step - t.E);
    int dstLen = t.Step - cut, srcLen = t.SrcLen - cut;
    if (dstLen <= 0 || srcLen <= 0) continue;
    if (t.Horizontal)
      Copy(b, Rect(start, t.DstFrom, start + dstLen, t.DstTo), picture,
           Rect(t.SrcStart, t.SrcFrom, t.SrcStart + srcLen, t.SrcTo), origin);
    else
      Copy(b, Rect(t.DstFrom, start, t.DstTo, start + dstLen), picture,
           Rect(t.SrcFrom, t.SrcStart, t.SrcTo, t.SrcStart + srcLen), origin);
  }
}

int Div(int a, int b) { return b == 0 ? 0 : a / b; }

// Tiles the client segment in both directions over area, columns outer, rows inner.
void TileClient(TBitmap* b, TBitmap* picture, const TRect& client, const TRect& area, TPoint origin) {
  int cw = client.Width(), ch = client.Height();
  if (cw <= 0 || ch <= 0) return;
  for (int i = 0; i <= area.Width() / cw; ++i) {
    int x = area.Left + i * cw;
    if (x >= area.Right) break;
    int cutX = std::max(0, x + cw - area.Right);
    for (int j = 0; j <= area.Height() / ch; ++j) {
      int y = area.Top + j * ch;
      if (y >= area.Bottom) break;
      int cutY = std::max(0, y + ch - area.Bottom);
      Copy(b, Rect(x, y, x + cw - cutX, y + ch - cutY), picture,
           Rect(client.Left, client.Top, client.Right - cutX, client.Bottom - cutY), origin);
    }
  }
}

struct TFace {
  TPoint LT, RT, LB, RB;
  TRect CR;
  TPoint NLT, NRT, NLB, NRB;
  TRect NCR;
  int RW, RH, W, H;
  TPoint Origin;
};

// Edges tiled as the nine-part face draws them (tiles start at the new corner points).
void TopEdge(TBitmap* b, TBitmap* p, const TFace& f) {
  int l = f.RT.X - f.LT.X;
  Tile(b, p, {true, f.LT.X, l, 0, f.CR.Top, 0, f.NCR.Top, f.NLT.X, f.NRT.X, l, Div(f.NRT.X - f.NLT.X, l)},
       f.Origin);
}
void BottomEdge(TBitmap* b, TBitmap* p, const TFace& f, int e) {
  int l = f.RB.X - f.LB.X;
  Tile(b, p, {true, f.LB.X, l, f.CR.Bottom, f.RH, f.NCR.Bottom, f.H, f.NLB.X, e, l, Div(e - f.NLB.X, l)},
       f.Origin);
}
void LeftEdge(TBitmap* b, TBitmap* p, const TFace& f) {
  int l = f.LB.Y - f.LT.Y;
  Tile(b, p, {false, f.LT.Y, l, 0, f.NCR.Left, 0, f.NCR.Left, f.NLT.Y, f.NLB.Y, l, Div(f.NLB.Y - f.NLT.Y, l)},
       f.Origin);
}
void RightEdge(TBitmap* b, TBitmap* p, const TFace& f) {
  int l = f.RB.Y - f.RT.Y;
  Tile(b, p, {false, f.RT.Y, l, f.CR.Right, f.RW, f.NCR.Right, f.W, f.NRT.Y, f.NRB.Y, l, Div(f.NRB.Y - f.NRT.Y, l)},
       f.Origin);
}

void LeftCorners(TBitmap* b, TBitmap* p, const TFace& f) {
  Copy(b, Rect(0, 0, f.NLT.X, f.NCR.Top), p, Rect(0, 0, f.LT.X, f.CR.Top), f.Origin);
  Copy(b, Rect(0, f.NCR.Top, f.NCR.Left, f.NLT.Y), p, Rect(0, f.CR.Top, f.CR.Left, f.LT.Y), f.Origin);
}
void BottomLeftCorners(TBitmap* b, TBitmap* p, const TFace& f) {
  Copy(b, Rect(0, f.NLB.Y, f.NCR.Left, f.H), p, Rect(0, f.LB.Y, f.CR.Left, f.RH), f.Origin);
  Copy(b, Rect(f.NCR.Left, f.NCR.Bottom, f.NLB.X, f.H), p, Rect(f.CR.Left, f.CR.Bottom, f.LB.X, f.RH), f.Origin);
}

void Corners(TBitmap* b, TBitmap* p, const TFace& f) {
  LeftCorners(b, p, f);
  Copy(b, Rect(f.NRT.X, 0, f.W, f.NCR.Top), p, Rect(f.RT.X, 0, f.RW, f.CR.Top), f.Origin);
  Copy(b, Rect(f.NCR.Right, f.NCR.Top, f.W, f.NRT.Y), p, Rect(f.CR.Right, f.CR.Top, f.RW, f.RT.Y), f.Origin);
  BottomLeftCorners(b, p, f);
  Copy(b, Rect(f.NRB.X, f.NCR.Bottom, f.W, f.H), p, Rect(f.RB.X, f.CR.Bottom, f.RW, f.RH), f.Origin);
  Copy(b, Rect(f.NCR.Right, f.NRB.Y, f.W, f.NCR.Bottom), p, Rect(f.CR.Right, f.RB.Y, f.RW, f.CR.Bottom), f.Origin);
}

// Sizes B and tells whether there is anything to draw.
bool StartFace(TBitmap* b, TBitmap* picture, const TFace& f) {
  b->SetSize(f.W, f.H);
  return f.RB.X != f.LT.X && f.RB.Y != f.LT.Y && picture && !picture->Empty();
}

TFace MakeFace(TPoint LT, TPoint RT, TPoint LB, TPoint RB, TRect CR, TPoint NLT, TPoint NRT, TPoint NLB,
               TPoint NRB, TRect NCR, const TRect& skinRect, int w, int h) {
  return TFace{LT,  RT,  LB,  RB,  CR, NLT, NRT, NLB, NRB, NCR, skinRect.Width(), skinRect.Height(),
               w,   h,   skinRect.TopLeft()};
}

// The strip faces share everything but their fixed ends and the tiled span.
void HStrip(int lo, int ro, TBitmap* b, TBitmap* picture, const TRect& skinRect, int w, bool left, bool right,
            int s, int e) {
  int rh = skinRect.Height();
  b->SetSize(w, rh);
  if (!picture || picture->Empty()) return;
  TPoint origin = skinRect.TopLeft();
  int rw = skinRect.Width();
  if (left && lo != 0) Copy(b, Rect(0, 0, lo, rh), picture, Rect(0, 0, lo, rh), origin);
  if (right && ro != 0) Copy(b, Rect(w - ro, 0, w, rh), picture, Rect(rw - ro, 0, rw, rh), origin);
  int srcLen = rw - lo - ro;
  int step = srcLen == 0 ? 1 : srcLen;
  Tile(b, picture, {true, lo, srcLen, 0, rh, 0, rh, s, e, step, Div(e - s, step)}, origin);
}

}  // namespace

TksSkinGeometry MoveSkinGeometry(const TksSkinGeometry& g, const TRect& skinRect, int w, int h) {
  int dw = w - skinRect.Width(), dh = h - skinRect.Height();
  return TksSkinGeometry{g.LTPoint,
                         Point(g.RTPoint.X + dw, g.RTPoint.Y),
                         Point(g.LBPoint.X, g.LBPoint.Y + dh),
                         Point(g.RBPoint.X + dw, g.RBPoint.Y + dh),
                         Rect(g.ClientRect.Left, g.ClientRect.Top, g.ClientRect.Right + dw, g.ClientRect.Bottom + dh)};
}

void CreateHSkinImage(int lo, int ro, TBitmap* b, TBitmap* picture, const TRect& skinRect, int w, int) {
  HStrip(lo, ro, b, picture, skinRect, w, true, true, lo, w - ro);
}

void CreateHSkinImageLeft(int lo, int ro, TBitmap* b, TBitmap* picture, const TRect& skinRect, int w, int) {
  HStrip(lo, ro, b, picture, skinRect, w, true, false, lo, w);
}

void CreateHSkinImageTiled(int lo, int ro, TBitmap* b, TBitmap* picture, const TRect& skinRect, int w, int) {
  HStrip(lo, ro, b, picture, skinRect, w, false, false, 0, w);
}

void CreateVSkinImage(int to, int bo, TBitmap* b, TBitmap* picture, const TRect& skinRect, int, int h) {
  int rw = skinRect.Width(), rh = skinRect.Height();
  b->SetSize(rw, h);
  if (!picture || picture->Empty()) return;
  TPoint origin = skinRect.TopLeft();
  if (to != 0) Copy(b, Rect(0, 0, rw, to), picture, Rect(0, 0, rw, to), origin);
  if (bo != 0) Copy(b, Rect(0, h - bo, rw, h), picture, Rect(0, rh - bo, rw, rh), origin);
  int l = rh - to - bo;
  Tile(b, picture, {false, to, l, 0, rw, 0, rw, to, h - bo, l, Div(h - to - bo, l)}, origin);
}

void CreateSkinImage(TPoint LTPoint, TPoint RTPoint, TPoint LBPoint, TPoint RBPoint, TRect ClientRect,
                     TPoint NewLTPoint, TPoint NewRTPoint, TPoint NewLBPoint, TPoint NewRBPoint,
                     TRect NewClientRect, TBitmap* b, TBitmap* picture, const TRect& skinRect, int w, int h,
                     bool drawClient) {
  CreateSkinImageEx(LTPoint, RTPoint, LBPoint, RBPoint, ClientRect, NewLTPoint, NewRTPoint, NewLBPoint,
                    NewRBPoint, NewClientRect, b, picture, skinRect, w, h, drawClient, false, false, false,
                    false);
}

void CreateSkinImageEx(TPoint LTPoint, TPoint RTPoint, TPoint LBPoint, TPoint RBPoint, TRect ClientRect,
                       TPoint NewLTPoint, TPoint NewRTPoint, TPoint NewLBPoint, TPoint NewRBPoint,
                       TRect NewClientRect, TBitmap* b, TBitmap* picture, const TRect& skinRect, int w, int h,
                       bool drawClient, bool leftStretch, bool topStretch, bool rightStretch,
                       bool bottomStretch) {
  TFace f = MakeFace(LTPoint, RTPoint, LBPoint, RBPoint, ClientRect, NewLTPoint, NewRTPoint, NewLBPoint,
                     NewRBPoint, NewClientRect, skinRect, w, h);
  if (!StartFace(b, picture, f)) return;
  if (topStretch)
    Copy(b, Rect(f.NLT.X, 0, f.NRT.X, f.NCR.Top), picture, Rect(f.LT.X, 0, f.RT.X, f.CR.Top), f.Origin);
  else
    TopEdge(b, picture, f);
  if (bottomStretch)
    Copy(b, Rect(f.NLB.X, f.NCR.Bottom, f.NRB.X, f.H), picture, Rect(f.LB.X, f.CR.Bottom, f.RB.X, f.RH),
         f.Origin);
  else
    BottomEdge(b, picture, f, f.NRB.X);
  if (leftStretch)
    Copy(b, Rect(0, f.NLT.Y, f.NCR.Left, f.NLB.Y), picture, Rect(0, f.LT.Y, f.CR.Left, f.LB.Y), f.Origin);
  else
    LeftEdge(b, picture, f);
  if (rightStretch)
    Copy(b, Rect(f.NCR.Right, f.NRT.Y, f.W, f.NRB.Y), picture, Rect(f.CR.Right, f.RT.Y, f.RW, f.RB.Y),
         f.Origin);
  else
    RightEdge(b, picture, f);
  Corners(b, picture, f);
  if (drawClient) TileClient(b, picture, f.CR, f.NCR, f.Origin);
}

void CreateSkinImageEx(TPoint LTPoint, TPoint RTPoint, TPoint LBPoint, TPoint RBPoint, bool bottomStretch,
                       bool rightStretch, bool topStretch, bool leftStretch, bool fillMiddle, int h, int w,
                       const TRect& skinRect, TBitmap* picture, TBitmap* b, const TRect& itemsRect,
                       TPoint& NewLTPoint, TPoint& NewRTPoint, TPoint& NewLBPoint, TPoint& NewRBPoint,
                       TRect& NewItemsRect) {
  TksSkinGeometry moved = MoveSkinGeometry({LTPoint, RTPoint, LBPoint, RBPoint, itemsRect}, skinRect, w, h);
  NewLTPoint = moved.LTPoint;
  NewRTPoint = moved.RTPoint;
  NewLBPoint = moved.LBPoint;
  NewRBPoint = moved.RBPoint;
  NewItemsRect = moved.ClientRect;
  CreateSkinImageEx(LTPoint, RTPoint, LBPoint, RBPoint, itemsRect, NewLTPoint, NewRTPoint, NewLBPoint,
                    NewRBPoint, NewItemsRect, b, picture, skinRect, w, h, fillMiddle, leftStretch, topStretch,
                    rightStretch, bottomStretch);
}

void CreateSkinImageLeft(TPoint LTPoint, TPoint RTPoint, TPoint LBPoint, TPoint RBPoint, TRect ClientRect,
                         TPoint NewLTPoint, TPoint NewRTPoint, TPoint NewLBPoint, TPoint NewRBPoint,
                         TRect NewClientRect, TBitmap* b, TBitmap* picture, const TRect& skinRect, int w, int h,
                         bool drawClient) {
  TFace f = MakeFace(LTPoint, RTPoint, LBPoint, RBPoint, ClientRect, NewLTPoint, NewRTPoint, NewLBPoint,
                     NewRBPoint, NewClientRect, skinRect, w, h);
  if (!StartFace(b, picture, f)) return;
  // The top tiles step by the bottom edge's length, so each is scaled to that step.
  int step = f.RB.X - f.LT.X;
  Tile(b, picture,
       {true, f.LT.X, f.RT.X - f.LT.X, 0, f.CR.Top, 0, f.NCR.Top, f.NLT.X, f.W, step, Div(f.W - f.NLT.X, step)},
       f.Origin);
  BottomEdge(b, picture, f, f.W);
  LeftEdge(b, picture, f);
  LeftCorners(b, picture, f);
  BottomLeftCorners(b, picture, f);
  if (drawClient) {
    TRect area = f.NCR;
    area.Right = f.W;
    TileClient(b, picture, f.CR, area, f.Origin);
  }
}

void CreateSkinBorderImages(TPoint LTPoint, TPoint RTPoint, TPoint LBPoint, TPoint RBPoint, TRect ClientRect,
                            TPoint NewLTPoint, TPoint NewRTPoint, TPoint NewLBPoint, TPoint NewRBPoint,
                            TRect NewClientRect, TBitmap* leftImage, TBitmap* topImage, TBitmap* rightImage,
                            TBitmap* bottomImage, TBitmap* picture, const TRect& skinRect, int w, int h,
                            bool leftStretch, bool topStretch, bool rightStretch, bool bottomStretch) {
  TFace f = MakeFace(LTPoint, RTPoint, LBPoint, RBPoint, ClientRect, NewLTPoint, NewRTPoint, NewLBPoint,
                     NewRBPoint, NewClientRect, skinRect, w, h);
  TPoint o = f.Origin;
  int th = f.NCR.Top, bh = h - f.NCR.Bottom;

  int topLen = f.RT.X - f.LT.X;
  int madeTop = 0, madeBottom = 0;
  if (w >= 1 && th >= 1 && topLen >= 1) {
    madeTop = th;
    topImage->SetSize(w, th);
    if (topStretch)
      Copy(topImage, Rect(f.NLT.X, 0, f.NRT.X, th), picture, Rect(f.LT.X, 0, f.RT.X, th), o);
    else
      Tile(topImage, picture, {true, f.LT.X, topLen, 0, th, 0, th, 0, w, topLen, w / topLen}, o);
    Copy(topImage, Rect(0, 0, f.NLT.X, th), picture, Rect(0, 0, f.LT.X, th), o);
    Copy(topImage, Rect(f.NRT.X, 0, w, th), picture, Rect(f.RT.X, 0, f.RW, th), o);
  }

  int bottomLen = f.RB.X - f.LB.X;
  if (w >= 1 && bh >= 1 && bottomLen >= 1) {
    madeBottom = bh;
    bottomImage->SetSize(w, bh);
    int y0 = f.RH - bh;
    if (bottomStretch)
      Copy(bottomImage, Rect(f.NLB.X, 0, f.NRB.X, bh), picture, Rect(f.LB.X, y0, f.RB.X, f.RH), o);
    else
      Tile(bottomImage, picture, {true, f.LB.X, bottomLen, y0, f.RH, 0, bh, 0, w, bottomLen, w / bottomLen}, o);
    Copy(bottomImage, Rect(0, 0, f.NLB.X, bh), picture, Rect(0, y0, f.LB.X, f.RH), o);
    Copy(bottomImage, Rect(f.NRB.X, 0, w, bh), picture, Rect(f.RB.X, y0, f.RW, f.RH), o);
  }

  // The sides fill what the top and bottom images made here leave; a stale bitmap left
  // from an earlier size must not shorten them.
  int sideH = h - madeBottom - madeTop;
  auto side = [&](TBitmap* image, int width, int srcLeft, int srcRight, int yTop, int yBottom, bool stretch) {
    int len = yBottom - yTop;
    if (width < 1 || sideH < 1 || len < 1) return;
    image->SetSize(width, sideH);
    int headLen = yTop - f.CR.Top, tailLen = f.CR.Bottom - yBottom;
    if (stretch)
      Copy(image, Rect(0, headLen, width, sideH - tailLen), picture, Rect(srcLeft, yTop, srcRight, yBottom), o);
    else
      for (int i = 0; i <= sideH / len; ++i) {
        int start = i * len;
        if (start >= sideH) break;
        int cut = std::max(0, start + len - sideH);
        Copy(image, Rect(0, start, width, start + len - cut), picture,
             Rect(srcLeft, yTop, srcRight, yBottom - cut), o);
      }
    if (headLen > 0) Copy(image, Rect(0, 0, width, headLen), picture, Rect(srcLeft, f.CR.Top, srcRight, yTop), o);
    if (tailLen > 0)
      Copy(image, Rect(0, sideH - tailLen, width, sideH), picture, Rect(srcLeft, yBottom, srcRight, f.CR.Bottom), o);
  };
  side(leftImage, f.NCR.Left, 0, f.NCR.Left, f.LT.Y, f.LB.Y, leftStretch);
  side(rightImage, w - f.NCR.Right, f.CR.Right, f.RW, f.RT.Y, f.RB.Y, rightStretch);
}

void CreateSkinBorderMasks(TPoint LTPoint, TPoint RTPoint, TPoint LBPoint, TPoint RBPoint, TRect ClientRect,
                           TPoint NewLTPoint, TPoint NewRTPoint, TPoint NewLBPoint, TPoint NewRBPoint,
                           TRect NewClientRect, TBitmap* mask, TBitmap* topMask, TBitmap* leftMask,
                           TBitmap* rightMask, TBitmap* bottomMask, int w, int) {
  const TRect& cr = ClientRect;
  int mw = mask->Width(), mh = mask->Height();
  int sideH = NewClientRect.Height();

  auto side = [&](TBitmap* strip, int srcLeft, int srcRight, int yTop, int yBottom) {
    int width = srcRight - srcLeft;
    if (width < 1 || sideH < 1) return;
    strip->SetSize(width, sideH);
    int len = yBottom - yTop;
    if (len != 0)
      Tile(strip, mask, {false, yTop, len, srcLeft, srcRight, 0, width, 0, sideH, len, sideH / len}, {});
    if (yTop - cr.Top > 0) Copy(strip, Rect(0, 0, width, yTop - cr.Top), mask, Rect(srcLeft, cr.Top, srcRight, yTop));
    if (cr.Bottom - yBottom > 0)
      Copy(strip, Rect(0, sideH - (cr.Bottom - yBottom), width, sideH), mask,
           Rect(srcLeft, yBottom, srcRight, cr.Bottom));
  };
  side(leftMask, 0, cr.Left, LTPoint.Y, LBPoint.Y);
  side(rightMask, cr.Right, mw, RTPoint.Y, RBPoint.Y);

  auto band = [&](TBitmap* strip, int srcTop, int srcBottom, int xLeft, int xRight, int newLeft, int newRight) {
    int height = srcBottom - srcTop;
    if (w < 1 || height < 1) return;
    strip->SetSize(w, height);
    int len = xRight - xLeft;
    if (len != 0)
      Tile(strip, mask, {true, xLeft, len, srcTop, srcBottom, 0, height, newLeft, newRight, len, w / len}, {});
    Copy(strip, Rect(0, 0, xLeft, height), mask, Rect(0, srcTop, xLeft, srcBottom));
    Copy(strip, Rect(newRight, 0, w, height), mask, Rect(xRight, srcTop, mw, srcBottom));
  };
  band(topMask, 0, cr.Top, LTPoint.X, RTPoint.X, NewLTPoint.X, NewRTPoint.X);
  band(bottomMask, cr.Bottom, mh, LBPoint.X, RBPoint.X, NewLBPoint.X, NewRBPoint.X);
}
