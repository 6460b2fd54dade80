// TGIFPainter: plays a GIF image's frames on a canvas, on a thread of its own or
// synchronously inside the image's Draw.
#pragma once

#include <windows.h>

#include <exception>
#include <functional>

#include "imaging/GIFImage.h"

class TGIFPainter : public TThread {
 public:
  TGIFPainter(TGIFImage* image, TCanvas* canvas, const TRect& rect, TGIFDrawOptions options, TGIFPainter** reference);
  ~TGIFPainter() override;

  bool Async() const { return (DrawOptions & DrawAsync) != 0; }
  void Start();
  // Does not wait.
  void Stop();
  // A synchronous painter: plays to the end on this thread, frees itself and then raises
  // what ended it, if anything.
  static void RunSynchronously(TGIFPainter* painter);
  // Detached by the image when it goes first.
  void Detach() { Image = nullptr; }

  TGIFImage* Image;
  TCanvas* Canvas;
  TRect Rect;
  TGIFDrawOptions DrawOptions;
  int AnimationSpeed;
  int ActiveImage = -1;
  TDisposalMethod Disposal = DisposalNone;
  TDisposalMethod PreviousDisposal = DisposalNone;
  bool Painted = false;

  TNotifyEvent OnAnimationStart;
  TNotifyEvent OnBeforeFrame;
  TNotifyEvent OnAfterFrame;
  TNotifyEvent OnAnimationLoop;
  TNotifyEvent OnAnimationEnd;

 protected:
  void Execute() override;

 private:
  void Run();
  void Cleanup(TObject* sender);
  void DoSynchronize(void (TGIFPainter::*method)());
  void FireEvent(const TNotifyEvent& event);
  // Once terminated, a painter paints nothing and fires nothing, queued or not.
  void RunOnMainThread(const std::function<void()>& call);
  void PaintFrame();
  void DrawFrame();
  void DisposeFrame();
  void Wait(int& delayTime, DWORD& oldTime, int& timeError);

  TBitmap* frameBuffer_ = nullptr;
  TBitmap* previousBuffer_ = nullptr;
  TBitmap* backgroundBuffer_ = nullptr;
  HDC canvasHandle_ = nullptr;
  TGIFPainter** reference_;
  HANDLE event_ = nullptr;
  std::exception_ptr storedException_;
  bool cleanedUp_ = false;
};
