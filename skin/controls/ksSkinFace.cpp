#include "skin/controls/ksSkinFace.h"

#include "skin/draw/ksUtils.h"

void TksSkinFace::TakeFace(const TksDataSkinCustomControl* d, const TksSkinData& data) {
  if (d == nullptr) {
    Picture = nullptr;
    MaskPicture = nullptr;
    SkinRect = TRect{};  // an earlier face's size must not stay with the control
    ResizeMode = 0;
    return;
  }
  LTPoint = d->LTPoint;
  RTPoint = d->RTPoint;
  LBPoint = d->LBPoint;
  RBPoint = d->RBPoint;
  SkinRect = d->SkinRect;
  SkinClientRect = d->ClientRect;
  Picture = data.ActivePicture(d->PictureIndex);
  MaskPicture = data.ActivePicture(d->MaskPictureIndex);
  ResizeMode = GetResizeMode();
}

int TksSkinFace::GetResizeMode() const {
  if (IsNullRect(SkinRect)) return -1;
  if (RBPoint.X != 0 && RBPoint.Y != 0) return 1;
  if (RTPoint.X != 0 || RTPoint.Y != 0) return 2;
  if (LBPoint.X != 0 || LBPoint.Y != 0) return 3;
  return 0;
}

void TksSkinFace::MoveFace(int& w, int& h, bool described) {
  const TksSkinGeometry moved =
      MoveSkinGeometry({LTPoint, RTPoint, LBPoint, RBPoint, SkinClientRect}, SkinRect, w, h);
  NewLTPoint = LTPoint;
  switch (ResizeMode) {
    case 1:
      NewRTPoint = moved.RTPoint;
      NewLBPoint = moved.LBPoint;
      NewRBPoint = moved.RBPoint;
      NewClientRect = moved.ClientRect;
      break;
    case 2:
      h = RectHeight(SkinRect);
      NewRTPoint = moved.RTPoint;
      NewClientRect = SkinClientRect;
      NewClientRect.Right = moved.ClientRect.Right;
      break;
    case 3:
      w = RectWidth(SkinRect);
      NewLBPoint = moved.LBPoint;
      NewClientRect = SkinClientRect;
      NewClientRect.Bottom = moved.ClientRect.Bottom;
      break;
    case 0:
      // A description without a face of its own (wrong kind, empty rectangle)
      // must not shrink the control to nothing.
      if (described && !IsNullRect(SkinRect)) {
        w = RectWidth(SkinRect);
        h = RectHeight(SkinRect);
        NewClientRect = SkinClientRect;
      }
      break;
    default:
      break;
  }
}

TRect TksSkinFace::GetNewRect(const TRect& r, int w, int h) const {
  const int sw = RectWidth(SkinRect), sh = RectHeight(SkinRect);
  const int dW = w - sw, dH = h - sh;
  TRect n = r;
  switch (ResizeMode) {
    case 1: {
      const TRect lt{0, 0, LTPoint.X, LTPoint.Y};
      const TRect rt{RTPoint.X, 0, sw, RTPoint.Y};
      const TRect lb{0, LBPoint.Y, LBPoint.X, sh};
      const TRect rb{RBPoint.X, RBPoint.Y, sw, sh};
      const TPoint tl{r.Left, r.Top}, br{r.Right, r.Bottom};
      if (RectInRect(r, lt)) return r;
      if (RectInRect(r, rt)) return MovedRect(r, dW, 0);
      if (RectInRect(r, lb)) return MovedRect(r, 0, dH);
      if (RectInRect(r, rb)) return MovedRect(r, dW, dH);
      if (PointInRect(lt, tl) && PointInRect(rb, br)) {
        n.Right += dW;
        n.Bottom += dH;
      } else if (PointInRect(lt, tl) && PointInRect(rt, br)) {
        n.Right += dW;
      } else if (PointInRect(lb, tl) && PointInRect(rb, br)) {
        n.Right += dW;
        n = MovedRect(n, 0, dH);
      } else if (PointInRect(lt, tl) && PointInRect(lb, br)) {
        n.Bottom += dH;
      } else if (PointInRect(rt, tl) && PointInRect(rb, br)) {
        n = MovedRect(n, dW, 0);
        n.Bottom += dH;
      }
      return n;
    }
    case 2:
      if (r.Left <= LTPoint.X && r.Right >= RTPoint.X)
        n.Right += dW;
      else if (RTPoint.X <= r.Left && RTPoint.X < r.Right)
        n = MovedRect(n, dW, 0);
      return n;
    case 3:
      if (r.Top <= LTPoint.Y && r.Bottom >= LBPoint.Y)
        n.Bottom += dH;
      else if (LBPoint.Y <= r.Top && LBPoint.Y < r.Bottom)
        n = MovedRect(n, 0, dH);
      return n;
    default:
      return n;
  }
}

void TksSkinFace::ComposeFace(TBitmap* b, TBitmap* picture, const TRect& r, int w, int h) const {
  if (picture == nullptr) return;
  switch (ResizeMode) {
    case 0:
      b->SetSize(RectWidth(r), RectHeight(r));
      b->Canvas()->CopyRect(TRect{0, 0, b->Width(), b->Height()}, picture->Canvas(), r);
      break;
    case 1:
      CreateSkinImage(LTPoint, RTPoint, LBPoint, RBPoint, SkinClientRect, NewLTPoint, NewRTPoint, NewLBPoint,
                      NewRBPoint, NewClientRect, b, picture, r, w, h, true);
      break;
    case 2:
      CreateHSkinImage(LTPoint.X, RectWidth(SkinRect) - RTPoint.X, b, picture, r, w, h);
      break;
    case 3:
      CreateVSkinImage(LTPoint.Y, RectHeight(SkinRect) - LBPoint.Y, b, picture, r, w, h);
      break;
    default:
      break;
  }
}
