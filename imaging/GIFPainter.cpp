// The animation painter: waits out each frame's delay and paints it, composing frames
// with their disposal methods in off-screen buffers when they need them.
#include "imaging/GIFPainter.h"

#include <algorithm>

#include "framework/core/colors.h"
#include "framework/core/seams.h"

namespace {
// One stored delay unit counts 12 ms.
constexpr int kDelayUnitMs = 12;
constexpr int kDefaultDelay = 10;
constexpr int kMinDelay = 3;
constexpr int kMaxSyncDelay = 1000;
constexpr DWORD kSliceMs = 100;

TBitmap* MakeBuffer(const TRect& rect, TColor background) {
  auto* bitmap = new TBitmap(std::max(1, rect.Width()), std::max(1, rect.Height()));
  bitmap->Canvas()->SetCopyMode(cmSrcCopy);
  bitmap->Canvas()->Brush()->SetColor(background);
  bitmap->Canvas()->Brush()->SetStyle(bsSolid);
  return bitmap;
}

}  // namespace

TGIFPainter::TGIFPainter(TGIFImage* image, TCanvas* canvas, const TRect& rect, TGIFDrawOptions options,
                         TGIFPainter** reference)
    : TThread(true), Image(image), Canvas(canvas), Rect(rect), DrawOptions(options),
      AnimationSpeed(image->AnimationSpeed), reference_(reference) {
  const int frames = image->Images().Count();
  if (Async()) {
    FreeOnTerminate = true;
    OnTerminate = Bind<&TGIFPainter::Cleanup>(this);
  }
  if ((DrawOptions & DrawAsync) && (DrawOptions & DrawAnimate) && frames >= 2 && AnimationSpeed >= 0)
    event_ = CreateEventA(nullptr, FALSE, FALSE, nullptr);

  TColor background;
  if (image->DrawBackgroundColor != clNone)
    background = ColorToRGB(image->DrawBackgroundColor);
  else if (image->Header().ColorMap.Count() == 0)
    background = ColorToRGB(clWindow);
  else
    background = image->BackgroundColor();

  bool useBackground = (DrawOptions & DrawClearOnLoop) != 0;
  bool usePrevious = false;
  for (int i = 0; i < frames; ++i) {
    if (auto* gce = image->Images().Images(i)->GraphicControlExtension) {
      useBackground |= gce->Disposal() == DisposalBackground;
      usePrevious |= gce->Disposal() == DisposalPrevious;
    }
  }
  if (useBackground && (DrawOptions & DrawTransparent)) {
    backgroundBuffer_ = MakeBuffer(rect, background);
    backgroundBuffer_->Canvas()->CopyRect(TRect{0, 0, rect.Width(), rect.Height()}, canvas, rect);
  }
  if (useBackground || usePrevious) {
    frameBuffer_ = MakeBuffer(rect, background);
    frameBuffer_->Canvas()->CopyRect(TRect{0, 0, rect.Width(), rect.Height()}, canvas, rect);
    previousBuffer_ = MakeBuffer(rect, background);
  }
  if (reference_) *reference_ = this;
}

TGIFPainter::~TGIFPainter() {
  if (!Async()) Cleanup(this);
  delete frameBuffer_;
  delete previousBuffer_;
  delete backgroundBuffer_;
  if (event_) CloseHandle(event_);
  // What ended an asynchronous painter stays here: nobody waits for it on this thread.
}

void TGIFPainter::Start() {
  if (Async()) TThread::Start();
}

void TGIFPainter::Stop() {
  Terminate();
  if (!Async()) return;
  if (event_) SetEvent(event_);
  SetPriority(tpNormal);
  // A painter never started must still run to its end to unlist itself.
  if (Suspended()) Resume();
}

void TGIFPainter::RunSynchronously(TGIFPainter* painter) {
  painter->Run();
  painter->Cleanup(painter);
  const std::exception_ptr error = painter->storedException_;
  ::Free(painter);
  if (error) std::rethrow_exception(error);
}

void TGIFPainter::Execute() { Run(); }

void TGIFPainter::Cleanup(TObject*) {
  if (cleanedUp_) return;
  cleanedUp_ = true;
  if (Image) {
    TLockedList locked(Image->Painters());
    if (reference_ && *reference_ == this) *reference_ = nullptr;
    locked.Items->Remove(this);
    Image = nullptr;
  }
  delete frameBuffer_;
  frameBuffer_ = nullptr;
  delete previousBuffer_;
  previousBuffer_ = nullptr;
  delete backgroundBuffer_;
  backgroundBuffer_ = nullptr;
  if (event_) CloseHandle(event_);
  event_ = nullptr;
}

void TGIFPainter::DoSynchronize(void (TGIFPainter::*method)()) {
  RunOnMainThread([this, method] { (this->*method)(); });
}

void TGIFPainter::FireEvent(const TNotifyEvent& event) {
  if (!event.Assigned()) return;
  const TNotifyEvent stored = event;
  RunOnMainThread([this, stored] { stored(this); });
}

void TGIFPainter::RunOnMainThread(const std::function<void()>& call) {
  // Asked again when the call runs: a Stop on the main thread may come between the queueing
  // and the run, and may already have freed what the call would paint on.
  auto unlessTerminated = [this, &call] {
    if (!Terminated()) call();
  };
  if (Terminated()) return;
  if (Async())
    Synchronize(TThreadMethod(unlessTerminated));
  else
    unlessTerminated();
}

void TGIFPainter::Wait(int& delayTime, DWORD& oldTime, int& timeError) {
  TClockSeam& clock = Clock();
  const DWORD newTime = clock.TimeGetTime();
  if (AnimationSpeed > 0) {
    const int elapsed = static_cast<int>(newTime - oldTime) - timeError;
    delayTime = MulDiv(delayTime * kDelayUnitMs - elapsed / 2, 100, AnimationSpeed);
    timeError = delayTime;
  } else {
    delayTime = Async() ? static_cast<int>(INFINITE) : 12000;
  }
  oldTime = newTime;
  if (Async()) {
    if (event_ && (delayTime > 0 || AnimationSpeed == 0)) {
      const DWORD wait = AnimationSpeed == 0 ? INFINITE : static_cast<DWORD>(delayTime);
      if (WaitForSingleObject(event_, wait) == WAIT_OBJECT_0) {
        timeError = 0;
        oldTime = clock.TimeGetTime();
      }
    }
    return;
  }
  delayTime = std::max(delayTime, 1);
  while (delayTime > 0 && !Terminated()) {
    const DWORD slice = std::min<DWORD>(static_cast<DWORD>(delayTime), kSliceMs);
    const DWORD before = clock.TimeGetTime();
    clock.Sleep(slice);
    delayTime -= static_cast<int>(clock.TimeGetTime() - before);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(msg.wParam));
        Terminate();
        break;
      }
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
}

void TGIFPainter::Run() {
  try {
    if (!Image) return;
    if (DrawOptions & DrawValidateCanvas) canvasHandle_ = Canvas->Handle();
    ActiveImage = 0;
    FireEvent(OnAnimationStart);
    Painted = false;
    int loopCount = 1;
    int loopFrame = 0;
    bool loopSeen = false;
    int delayTime = Async() ? 0 : 1;
    PreviousDisposal = DisposalKeep;
    DWORD oldTime = Clock().TimeGetTime();
    int timeError = 0;
    do {
      if (!Image) break;
      ActiveImage = loopFrame;
      if (Painted) FireEvent(OnAnimationLoop);
      while (Image && ActiveImage < Image->Images().Count() && !Terminated()) {
        TGIFSubImage* frame = Image->Images().Images(ActiveImage);
        if (frame->Empty()) break;
        if (delayTime > 0) {
          // A synchronous painter renders ahead on its own thread; an asynchronous one
          // leaves rendering to the synchronised paint.
          if (!Async()) frame->Bitmap();
          Wait(delayTime, oldTime, timeError);
        } else {
          Clock().Sleep(0);
        }
        if (Terminated()) break;
        FireEvent(OnBeforeFrame);
        if (Terminated() || !Image) break;
        Disposal = DisposalKeep;
        for (int i = 0; i < frame->Extensions.Count(); ++i) {
          TGIFExtension* e = frame->Extensions.Extensions(i);
          if (auto* loop = dynamic_cast<TGIFAppExtNSLoop*>(e); loop && !loopSeen) {
            loopSeen = true;
            loopCount = loop->Loops;
            if ((loopCount == 0 || (DrawOptions & DrawLoopForever)) && Async()) loopCount = -1;
            loopFrame = ActiveImage;
          } else if (auto* gce = dynamic_cast<TGIFGraphicControlExtension*>(e)) {
            Disposal = gce->Disposal();
          }
        }
        DoSynchronize(frameBuffer_ ? &TGIFPainter::PaintFrame : &TGIFPainter::DrawFrame);
        PreviousDisposal = Disposal;
        if (Terminated()) break;
        delayTime = kDefaultDelay;
        if (frame->GraphicControlExtension && frame->GraphicControlExtension->Delay() != 0) {
          delayTime = std::max<int>(frame->GraphicControlExtension->Delay(), kMinDelay);
          if (!Async()) delayTime = std::min(delayTime, kMaxSyncDelay);
        }
        const int before = ActiveImage;
        FireEvent(OnAfterFrame);
        if (Terminated()) break;
        if (ActiveImage == before) ++ActiveImage;
        if (!(DrawOptions & DrawAnimate)) break;
      }
      if (loopCount > 0) --loopCount;
    } while ((DrawOptions & DrawAnimate) && (DrawOptions & DrawLoop) &&
             (loopCount != 0 || (DrawOptions & DrawLoopForever)) && !Terminated());
    ActiveImage = -1;
    FireEvent(OnAnimationEnd);
  } catch (const std::exception& e) {
    // Kept as a plain exception with the message: the caller learns what stopped the
    // animation, not the codec's own classes.
    Terminate();
    storedException_ = std::make_exception_ptr(Exception(e.what()));
  } catch (...) {
    Terminate();
    storedException_ = std::current_exception();
  }
}

void TGIFPainter::PaintFrame() {
  if (!Image) return;
  if ((DrawOptions & DrawValidateCanvas) && GetObjectType(canvasHandle_) != OBJ_DC) {
    Terminate();
    return;
  }
  TGIFSubImage* frame = Image->Images().Images(ActiveImage);
  const bool clearFirst = (DrawOptions & DrawClearOnLoop) && ActiveImage == 0;
  TCanvas* surface = nullptr;
  TRect surfaceRect{0, 0, Rect.Width(), Rect.Height()};
  TBitmap* buffer = nullptr;
  bool disposeAfter = false;
  const bool previousKept = PreviousDisposal == DisposalNone || PreviousDisposal == DisposalKeep;
  const bool previousRestores = PreviousDisposal == DisposalBackground || PreviousDisposal == DisposalPrevious;
  switch (Disposal) {
    case DisposalNone:
    case DisposalKeep: buffer = frameBuffer_; break;
    case DisposalBackground:
      buffer = frameBuffer_;
      disposeAfter = true;
      break;
    case DisposalPrevious:
      if (previousKept) {
        surface = Canvas;
        surfaceRect = Rect;
      } else if (previousRestores) {
        previousBuffer_->Canvas()->CopyRect(surfaceRect, frameBuffer_->Canvas(), surfaceRect);
        buffer = previousBuffer_;
      }
      break;
    default: break;
  }
  if (buffer) surface = buffer->Canvas();
  if (!surface) {
    // Not drawn, yet painted as far as a Draw waiting for the first frame is concerned.
    Painted = true;
    return;
  }
  HDC dc = surface->Handle();
  HPALETTE palette = frame->GetPalette();
  HPALETTE old = SelectPalette(dc, palette ? palette : static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), FALSE);
  RealizePalette(dc);
  if (clearFirst) DisposeFrame();
  frame->Draw(*surface, surfaceRect, (DrawOptions & DrawTransparent) != 0, (DrawOptions & DrawTile) != 0);
  if (old) SelectPalette(dc, old, FALSE);
  if (buffer) {
    Canvas->SetCopyMode(cmSrcCopy);
    Canvas->CopyRect(Rect, buffer->Canvas(), surfaceRect);
  }
  if (disposeAfter) DisposeFrame();
  Painted = true;
}

void TGIFPainter::DrawFrame() {
  if (!Image) return;
  Image->Images().Images(ActiveImage)->Draw(*Canvas, Rect, (DrawOptions & DrawTransparent) != 0,
                                            (DrawOptions & DrawTile) != 0);
  Painted = true;
}

void TGIFPainter::DisposeFrame() {
  if (!Image || !frameBuffer_) return;
  TGIFSubImage* frame = Image->Images().Images(ActiveImage);
  TCanvas* canvas = frameBuffer_->Canvas();
  const TRect whole{0, 0, frameBuffer_->Width(), frameBuffer_->Height()};
  const int screenW = std::max(1, Image->Width()), screenH = std::max(1, Image->Height());
  const bool tile = (DrawOptions & DrawTile) && frame->Width() != Image->Width() && frame->Height() != Image->Height();
  auto forTiles = [&](auto&& f) {
    for (int x = frame->Left(); x < whole.Right; x += screenW)
      for (int y = frame->Top(); y < whole.Bottom; y += screenH) f(TRect{x, y, x + frame->Width(), y + frame->Height()});
  };
  if (!(DrawOptions & DrawTransparent)) {
    if (tile) {
      // A fill with no colour set paints the buffer's background colour.
      if (Image->DrawBackgroundColor != clNone) canvas->Brush()->SetColor(ColorToRGB(Image->DrawBackgroundColor));
      forTiles([&](const TRect& r) { canvas->FillRect(r); });
    } else {
      canvas->FillRect(frame->ScaleRect(whole));
    }
    return;
  }
  if (!backgroundBuffer_) return;
  if (DrawOptions & DrawTile)
    forTiles([&](const TRect& r) { canvas->CopyRect(r, backgroundBuffer_->Canvas(), r); });
  else {
    const TRect r = frame->ScaleRect(whole);
    canvas->CopyRect(r, backgroundBuffer_->Canvas(), r);
  }
}
