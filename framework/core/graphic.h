// TGraphic, the picture formats' common base; TPicture, which holds one of them; and the
// per-module registry of formats by file extension and clipboard format.
#pragma once

#include <windows.h>

#include <memory>

#include "framework/core/classes.h"
#include "framework/core/delegate.h"
#include "framework/core/streams.h"
#include "framework/core/types.h"

class TCanvas;
class TGraphic;
class TBitmap;
class TIcon;
class TMetafile;

enum TProgressStage { psStarting, psRunning, psEnding };
using TProgressEvent = TEvent<void(TObject* Sender, TProgressStage Stage, BYTE PercentDone, bool RedrawNow,
                                   const TRect& R, const String& Msg)>;

// Stands for a class reference with a virtual constructor: compared by address.
struct TGraphicClass {
  const char* Name;
  TGraphic* (*Create)();
};

class TGraphic : public TPersistent {
 public:
  TGraphic() = default;
  TGraphic(const TGraphic&) = delete;
  TGraphic& operator=(const TGraphic&) = delete;

  virtual const TGraphicClass& GraphicClass() const = 0;

  // Draws into R of the canvas; called by TCanvas::Draw and StretchDraw.
  virtual void Draw(TCanvas& canvas, const TRect& rect) = 0;
  virtual bool Empty() const = 0;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  virtual void SetWidth(int width) = 0;
  virtual void SetHeight(int height) = 0;
  virtual HPALETTE Palette() { return nullptr; }
  virtual void SetPalette(HPALETTE) {}
  virtual bool Transparent() const { return transparent_; }
  virtual void SetTransparent(bool transparent);

  virtual void LoadFromStream(TStream& stream) = 0;
  virtual void SaveToStream(TStream& stream) = 0;
  // fmOpenRead | fmShareDenyWrite, so a file being written elsewhere is still readable.
  void LoadFromFile(const String& fileName);
  void SaveToFile(const String& fileName);
  virtual void LoadFromClipboardFormat(UINT format, HANDLE data, HPALETTE palette);
  virtual void SaveToClipboardFormat(UINT& format, HANDLE& data, HPALETTE& palette);
  // Same class and the same saved bytes.
  virtual bool Equals(TGraphic* other);

  bool Modified() const { return modified_; }
  void SetModified(bool modified);
  bool PaletteModified() const { return paletteModified_; }
  void SetPaletteModified(bool modified) { paletteModified_ = modified; }

  // Sets Modified and fires OnChange.
  virtual void Changed(TObject* sender);
  void Progress(TObject* sender, TProgressStage stage, BYTE percentDone, bool redrawNow, const TRect& r,
                const String& msg);

  TNotifyEvent OnChange;
  TProgressEvent OnProgress;

 private:
  bool transparent_ = false;
  bool modified_ = false;
  bool paletteModified_ = false;
};

class TPicture : public TPersistent {
 public:
  TPicture() = default;
  ~TPicture() override;
  TPicture(const TPicture&) = delete;
  TPicture& operator=(const TPicture&) = delete;

  TGraphic* Graphic() const { return graphic_.get(); }
  // A copy of the graphic is kept; null empties the picture.
  void SetGraphic(TGraphic* graphic);
  // The held graphic as a bitmap; any other graphic is replaced by a new empty bitmap.
  TBitmap* Bitmap();
  TIcon* Icon();
  TMetafile* Metafile();
  int Width() const;
  int Height() const;

  // The format comes from the extension, ignoring case; an unknown one raises EInvalidGraphic.
  void LoadFromFile(const String& fileName);
  void SaveToFile(const String& fileName);
  void LoadFromClipboardFormat(UINT format, HANDLE data, HPALETTE palette);
  void SaveToClipboardFormat(UINT& format, HANDLE& data, HPALETTE& palette);
  static bool SupportsClipboardFormat(UINT format);

  void Assign(TPersistent* Source) override;

  // The registry of this module. Formats other than the built-in ones register from an
  // explicit start-up call of their module, never from static initialisation.
  static void RegisterFileFormat(const String& extension, const String& description, const TGraphicClass& graphicClass);
  static void RegisterClipboardFormat(UINT format, const TGraphicClass& graphicClass);
  static void UnregisterGraphicClass(const TGraphicClass& graphicClass);
  // The class registered for an extension (with or without the dot), or null.
  static const TGraphicClass* FileFormatClass(const String& extension);

  TNotifyEvent OnChange;
  TProgressEvent OnProgress;

 protected:
  void AssignTo(TPersistent* Dest) override;
  virtual void Changed(TObject* sender);

 private:
  // Takes ownership of a graphic and follows its changes.
  void Adopt(std::unique_ptr<TGraphic> graphic);
  void GraphicProgress(TObject* sender, TProgressStage stage, BYTE percentDone, bool redrawNow, const TRect& r,
                       const String& msg);
  template <class T>
  T* ForceGraphic();

  std::unique_ptr<TGraphic> graphic_;
};

// "All (*.bmp;*.jpg)|*.bmp;*.jpg|Bitmaps (*.bmp)|*.bmp|..." for the open dialogs; graphicClass
// limits it to one class and its registrations when given.
String GraphicFilter(const TGraphicClass* graphicClass = nullptr);
