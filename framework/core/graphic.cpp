#include "framework/core/graphic.h"

#include <algorithm>
#include <mutex>
#include <vector>

#include "framework/core/bitmap.h"
#include "framework/core/icon.h"
#include "framework/core/jpeg.h"
#include "framework/core/metafile.h"

// ---- TGraphic -------------------------------------------------------------------------

void TGraphic::SetTransparent(bool transparent) {
  if (transparent_ == transparent) return;
  transparent_ = transparent;
  Changed(this);
}

void TGraphic::LoadFromFile(const String& fileName) {
  TFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(stream);
}

void TGraphic::SaveToFile(const String& fileName) {
  TFileStream stream(fileName, fmCreate);
  SaveToStream(stream);
}

void TGraphic::LoadFromClipboardFormat(UINT, HANDLE, HPALETTE) {
  throw EInvalidGraphic("Unsupported clipboard format");
}

void TGraphic::SaveToClipboardFormat(UINT&, HANDLE&, HPALETTE&) {
  throw EInvalidGraphic("Unsupported clipboard format");
}

bool TGraphic::Equals(TGraphic* other) {
  if (!other) return Empty();
  if (&other->GraphicClass() != &GraphicClass() || other->Empty() != Empty()) return false;
  if (other == this || Empty()) return true;
  TMemoryStream mine;
  TMemoryStream theirs;
  SaveToStream(mine);
  other->SaveToStream(theirs);
  return mine.Size() == theirs.Size() &&
         std::equal(static_cast<const uint8_t*>(mine.Memory()), static_cast<const uint8_t*>(mine.Memory()) + mine.Size(),
                    static_cast<const uint8_t*>(theirs.Memory()));
}

void TGraphic::SetModified(bool modified) {
  if (modified) Changed(this);
  else modified_ = false;
}

void TGraphic::Changed(TObject*) {
  modified_ = true;
  OnChange(this);
}

void TGraphic::Progress(TObject* sender, TProgressStage stage, BYTE percentDone, bool redrawNow, const TRect& r,
                        const String& msg) {
  OnProgress(sender, stage, percentDone, redrawNow, r, msg);
}

// ---- the registry ---------------------------------------------------------------------

namespace {

struct FileFormat {
  String extension;  // lower case, no dot
  String description;
  const TGraphicClass* graphicClass;
};

struct ClipboardFormat {
  UINT format;
  const TGraphicClass* graphicClass;
};

// One per module: the program and the library each link their own copy of this file.
struct Registry {
  std::mutex lock;
  std::vector<FileFormat> files;
  std::vector<ClipboardFormat> clipboard;
};

String NormalExtension(const String& extension) {
  String e = LowerCase(extension);
  if (!e.empty() && e[0] == '.') e.erase(0, 1);
  return e;
}

Registry& TheRegistry() {
  static Registry registry;
  static std::once_flag built;
  std::call_once(built, [] {
    registry.files = {
        {"bmp", "Bitmaps", &TBitmap::Class},
        {"ico", "Icons", &TIcon::Class},
        {"emf", "Enhanced Metafiles", &TMetafile::Class},
        {"wmf", "Metafiles", &TMetafile::Class},
        {"jpg", "JPEG Image File", &TJPEGImage::Class},
        {"jpeg", "JPEG Image File", &TJPEGImage::Class},
    };
    registry.clipboard = {{CF_BITMAP, &TBitmap::Class}};
  });
  return registry;
}

}  // namespace

void TPicture::RegisterFileFormat(const String& extension, const String& description, const TGraphicClass& graphicClass) {
  Registry& r = TheRegistry();
  std::lock_guard guard(r.lock);
  r.files.push_back({NormalExtension(extension), description, &graphicClass});
}

void TPicture::RegisterClipboardFormat(UINT format, const TGraphicClass& graphicClass) {
  Registry& r = TheRegistry();
  std::lock_guard guard(r.lock);
  r.clipboard.push_back({format, &graphicClass});
}

void TPicture::UnregisterGraphicClass(const TGraphicClass& graphicClass) {
  Registry& r = TheRegistry();
  std::lock_guard guard(r.lock);
  std::erase_if(r.files, [&](const FileFormat& f) { return f.graphicClass == &graphicClass; });
  std::erase_if(r.clipboard, [&](const ClipboardFormat& f) { return f.graphicClass == &graphicClass; });
}

// The latest registration of an extension wins, so a module can replace a built-in one.
const TGraphicClass* TPicture::FileFormatClass(const String& extension) {
  String e = NormalExtension(extension);
  Registry& r = TheRegistry();
  std::lock_guard guard(r.lock);
  auto it = std::find_if(r.files.rbegin(), r.files.rend(), [&](const FileFormat& f) { return f.extension == e; });
  return it == r.files.rend() ? nullptr : it->graphicClass;
}

static const TGraphicClass* ClipboardFormatClass(UINT format) {
  Registry& r = TheRegistry();
  std::lock_guard guard(r.lock);
  auto it = std::find_if(r.clipboard.rbegin(), r.clipboard.rend(), [&](const ClipboardFormat& f) { return f.format == format; });
  return it == r.clipboard.rend() ? nullptr : it->graphicClass;
}

bool TPicture::SupportsClipboardFormat(UINT format) { return ClipboardFormatClass(format) != nullptr; }

String GraphicFilter(const TGraphicClass* graphicClass) {
  Registry& r = TheRegistry();
  std::lock_guard guard(r.lock);
  String masks;
  String entries;
  for (const FileFormat& f : r.files) {
    if (graphicClass && f.graphicClass != graphicClass) continue;
    String mask = "*." + f.extension;
    masks += (masks.empty() ? "" : ";") + mask;
    entries += "|" + f.description + " (" + mask + ")|" + mask;
  }
  return "All (" + masks + ")|" + masks + entries;
}

// ---- TPicture -------------------------------------------------------------------------

TPicture::~TPicture() = default;

void TPicture::Adopt(std::unique_ptr<TGraphic> graphic) {
  graphic_ = std::move(graphic);
  if (graphic_) {
    graphic_->OnChange = Bind<&TPicture::Changed>(this);
    graphic_->OnProgress = Bind<&TPicture::GraphicProgress>(this);
  }
}

void TPicture::SetGraphic(TGraphic* graphic) {
  std::unique_ptr<TGraphic> copy;
  if (graphic) {
    copy.reset(graphic->GraphicClass().Create());
    copy->Assign(graphic);
  }
  Adopt(std::move(copy));
  Changed(this);
}

template <class T>
T* TPicture::ForceGraphic() {
  if (auto* held = dynamic_cast<T*>(graphic_.get())) return held;
  Adopt(std::make_unique<T>());
  Changed(this);
  return static_cast<T*>(graphic_.get());
}

TBitmap* TPicture::Bitmap() { return ForceGraphic<TBitmap>(); }
TIcon* TPicture::Icon() { return ForceGraphic<TIcon>(); }
TMetafile* TPicture::Metafile() { return ForceGraphic<TMetafile>(); }

int TPicture::Width() const { return graphic_ ? graphic_->Width() : 0; }
int TPicture::Height() const { return graphic_ ? graphic_->Height() : 0; }

void TPicture::LoadFromFile(const String& fileName) {
  String ext;
  size_t dot = fileName.find_last_of(".\\:");
  if (dot != String::npos && fileName[dot] == '.') ext = fileName.substr(dot + 1);
  const TGraphicClass* graphicClass = FileFormatClass(ext);
  if (!graphicClass) throw EInvalidGraphic(Format("Unknown picture file extension (.%s)", ext));
  std::unique_ptr<TGraphic> graphic(graphicClass->Create());
  graphic->OnProgress = Bind<&TPicture::GraphicProgress>(this);
  graphic->LoadFromFile(fileName);
  Adopt(std::move(graphic));
  Changed(this);
}

void TPicture::SaveToFile(const String& fileName) {
  if (graphic_) graphic_->SaveToFile(fileName);
}

void TPicture::LoadFromClipboardFormat(UINT format, HANDLE data, HPALETTE palette) {
  const TGraphicClass* graphicClass = ClipboardFormatClass(format);
  if (!graphicClass) throw EInvalidGraphic("Unsupported clipboard format");
  std::unique_ptr<TGraphic> graphic(graphicClass->Create());
  graphic->LoadFromClipboardFormat(format, data, palette);
  Adopt(std::move(graphic));
  Changed(this);
}

void TPicture::SaveToClipboardFormat(UINT& format, HANDLE& data, HPALETTE& palette) {
  if (graphic_) graphic_->SaveToClipboardFormat(format, data, palette);
}

void TPicture::Assign(TPersistent* Source) {
  if (!Source) {
    SetGraphic(nullptr);
  } else if (auto* picture = dynamic_cast<TPicture*>(Source)) {
    SetGraphic(picture->Graphic());
  } else if (auto* graphic = dynamic_cast<TGraphic*>(Source)) {
    SetGraphic(graphic);
  } else {
    TPersistent::Assign(Source);
  }
}

void TPicture::AssignTo(TPersistent* Dest) {
  if (auto* graphic = dynamic_cast<TGraphic*>(Dest); graphic && graphic_) {
    graphic->Assign(graphic_.get());
    return;
  }
  TPersistent::AssignTo(Dest);
}

void TPicture::Changed(TObject*) { OnChange(this); }

void TPicture::GraphicProgress(TObject* sender, TProgressStage stage, BYTE percentDone, bool redrawNow, const TRect& r,
                               const String& msg) {
  OnProgress(sender, stage, percentDone, redrawNow, r, msg);
}
