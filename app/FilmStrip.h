// The preview thread of the recovery dialog: shows the files a run saves, one after the
// other, as thumbnails, paced by the length of its queue.
#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>

#include "framework/core/bitmap.h"
#include "framework/core/sysutils.h"
#include "framework/core/thread.h"

class TImage;

class TFilmStrip : public TThread {
 public:
  explicit TFilmStrip(bool CreateSuspended);
  ~TFilmStrip() override;

  // 2 = draw into PreviewImage; anything else idles.
  std::atomic<int> Mode{0};
  // Not owned; set and read on the GUI thread only (the worker reaches them through
  // Synchronize).
  std::atomic<TImage*> PreviewImage{nullptr};
  std::atomic<TImage*> NoPictureImage{nullptr};

  // Makes the queue and sets the priority one step below normal.
  void Initialize();
  // Kind is the engine's file kind of the name (1 image .. 4 data, 0 unknown); it is found
  // on the GUI thread so that this thread never reads the engine.
  void AddFile(const String& FileName, int16_t Kind);
  void Clear();
  int Count();
  // Ends the thread (also a suspended one), then lets go of the images and the queue.
  void FreeResources();

  // One cycle of the body; returns how long to wait before the next one, in ms.
  DWORD Cycle();

 protected:
  void Execute() override;

 private:
  struct TEntry {
    String FileName;
    int16_t Kind;
    uint64_t Serial;
  };
  bool TakeFirst(TEntry& entry, size_t& count);
  void DropFirst(uint64_t serial);
  void Draw(const TEntry& entry);
  void ShowNoPicture();

  std::mutex lock_;
  std::unique_ptr<std::deque<TEntry>> queue_;
  uint64_t nextSerial_ = 0;
  // The thumbnail is drawn here off the GUI thread and copied over by Synchronize, so a
  // paint of the dialog never meets a half-drawn picture.
  TBitmap frame_;
};
