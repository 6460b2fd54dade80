#include "app/FilmStrip.h"

#include <algorithm>

#include "engine/Debug.h"
#include "engine/intDorvane.h"
#include "framework/core/fileutils.h"
#include "framework/gui/extctrls.h"

namespace {

constexpr DWORD IdleDelay = 100;
constexpr DWORD ShortestDelay = 100;
// A queue of n names is shown in this time altogether (down to ShortestDelay a name).
constexpr DWORD QueueShowTime = 3000;

}  // namespace

TFilmStrip::TFilmStrip(bool CreateSuspended) : TThread(CreateSuspended) {}

TFilmStrip::~TFilmStrip() { FreeResources(); }

void TFilmStrip::Initialize() {
  {
    std::lock_guard guard(lock_);
    queue_ = std::make_unique<std::deque<TEntry>>();
  }
  SetPriority(tpLower);
}

void TFilmStrip::AddFile(const String& FileName, int16_t Kind) {
  std::lock_guard guard(lock_);
  if (queue_) queue_->push_back({FileName, Kind, nextSerial_++});
}

void TFilmStrip::Clear() {
  std::lock_guard guard(lock_);
  if (queue_) queue_->clear();
}

int TFilmStrip::Count() {
  std::lock_guard guard(lock_);
  return queue_ ? static_cast<int>(queue_->size()) : 0;
}

void TFilmStrip::FreeResources() {
  // A parked thread is woken by Terminate; the queue goes only once the body has returned.
  if (Started() && !Finished()) {
    Terminate();
    WaitFor();
  }
  PreviewImage = nullptr;
  NoPictureImage = nullptr;
  std::lock_guard guard(lock_);
  queue_.reset();
}

bool TFilmStrip::TakeFirst(TEntry& entry, size_t& count) {
  std::lock_guard guard(lock_);
  count = queue_ ? queue_->size() : 0;
  if (count == 0) return false;
  entry = queue_->front();
  return true;
}

void TFilmStrip::DropFirst(uint64_t serial) {
  // A Clear while the name was drawn already took it, and names added since must stay.
  std::lock_guard guard(lock_);
  if (queue_ && !queue_->empty() && queue_->front().Serial == serial) queue_->pop_front();
}

void TFilmStrip::Draw(const TEntry& entry) {
  if (!intDorvane::CreateThumbnail) return;
  // The library leaves the bitmap as it was for a missing file; so does the preview.
  if (!FileExists(entry.FileName)) return;
  int width = 0, height = 0;
  Synchronize([&] {
    if (TImage* image = PreviewImage) {
      width = image->Width();
      height = image->Height();
    }
  });
  if (width <= 0 || height <= 0) return;
  frame_.SetSize(width, height);
  intDorvane::CreateThumbnail(entry.FileName.c_str(), entry.Kind, width, height, &frame_);
  // Shown with the dialog's next paint, not at once: a paint of its own on every picture
  // would cost the pass as much as the picture.
  Synchronize([this] {
    if (TImage* image = PreviewImage) {
      image->Picture()->Bitmap()->Assign(&frame_);
      image->Invalidate();
    }
  });
}

void TFilmStrip::ShowNoPicture() {
  Synchronize([this] {
    TImage* image = PreviewImage;
    TImage* noPicture = NoPictureImage;
    if (image && noPicture && noPicture->Picture()->Graphic())
      image->Canvas()->StretchDraw(Rect(0, 0, 120, 90), noPicture->Picture()->Graphic());
  });
}

DWORD TFilmStrip::Cycle() {
  if (Mode != 2) return IdleDelay;
  DWORD delay = IdleDelay;
  try {
    TEntry entry;
    size_t count = 0;
    if (TakeFirst(entry, count)) {
      delay = std::max<DWORD>(QueueShowTime / static_cast<DWORD>(count), ShortestDelay);
      bool failed = false;
      try {
        Draw(entry);
      } catch (...) {
        failed = true;
      }
      DropFirst(entry.Serial);
      if (failed) ShowNoPicture();
    }
  } catch (const Exception& e) {
    WriteErrorLog("Error in Execute Preview : " + e.Message);
  }
  return delay;
}

void TFilmStrip::Execute() {
  while (!Terminated()) {
    if (!Pause(Cycle())) break;
  }
}
