// GIF extension blocks: graphic control, plain text, comment and application extensions,
// and the two registries that map labels and application identifiers to their classes.
#include <algorithm>
#include <cstring>
#include <mutex>

#include "framework/core/littleendian.h"
#include "imaging/GIFImage.h"

namespace {
struct TExtensionRecord {
  uint8_t Label;
  const TGIFExtensionClass* Class;
};
struct TAppExtensionRecord {
  std::array<char, 11> Identifier;
  const TGIFExtensionClass* Class;
};

// Both registries are made on first use; the lock keeps a worker thread's load safe
// while another thread registers.
struct TRegistries {
  TRegistries();
  std::mutex Lock;
  std::vector<TExtensionRecord> Extensions;
  std::vector<TAppExtensionRecord> AppExtensions;
};

std::array<char, 11> AppKey(const char* identifier) {
  std::array<char, 11> key{};
  std::memcpy(key.data(), identifier, 11);
  return key;
}

TRegistries::TRegistries()
    : Extensions{{0x01, &TGIFTextExtension::Class},
                 {0xF9, &TGIFGraphicControlExtension::Class},
                 {0xFE, &TGIFCommentExtension::Class},
                 {0xFF, &TGIFApplicationExtension::Class}},
      AppExtensions{{AppKey("NETSCAPE2.0"), &TGIFAppExtNSLoop::Class},
                    {AppKey("ANIMEXTS1.0"), &TGIFAppExtNSLoop::Class}} {}

TRegistries& Registries() {
  static TRegistries registries;
  return registries;
}

const TGIFExtensionClass* ExtensionClassOf(uint8_t label) {
  TRegistries& r = Registries();
  std::lock_guard guard(r.Lock);
  for (auto it = r.Extensions.rbegin(); it != r.Extensions.rend(); ++it)
    if (it->Label == label) return it->Class;
  return nullptr;
}

const TGIFExtensionClass* AppExtensionClassOf(const char* identifier) {
  TRegistries& r = Registries();
  std::lock_guard guard(r.Lock);
  for (auto it = r.AppExtensions.rbegin(); it != r.AppExtensions.rend(); ++it)
    if (std::memcmp(it->Identifier.data(), identifier, 11) == 0) return it->Class;
  return nullptr;
}

const TGIFExtensionClass* SameClass(const TGIFExtensionClass& self, TStream&) { return &self; }

const TGIFExtensionClass* FindApplicationSubExtension(const TGIFExtensionClass& self, TStream& stream) {
  const int64_t start = stream.Position();
  uint8_t size = 0;
  if (!TryReadByte(stream, size)) return nullptr;
  char identifier[11] = {};
  if (size == 10) return stream.Read(identifier, 10) == 10 ? &TGIFUnknownAppExtension::Class : nullptr;
  if (size == 11 && stream.Read(identifier, 11) == 11) {
    const TGIFExtensionClass* found = AppExtensionClassOf(identifier);
    return found ? found : &TGIFUnknownAppExtension::Class;
  }
  // A cut-off identifier ends up in the block's own read: "Premature end of data", as
  // carved files that end early should say.
  stream.SetPosition(start);
  // A longer block keeps its identifier in the first 11 bytes: held as unknown data.
  if (size > 11) return &TGIFUnknownAppExtension::Class;
  return &self;
}

template <class T>
TGIFExtension* Make(TGIFSubImage* subImage) {
  return new T(subImage);
}
}  // namespace

// The base application class cannot hold data; its blocks (sizes below 10) are read by
// the unknown kind, which refuses them with "Unsupported Application Extension block size".
const TGIFExtensionClass TGIFApplicationExtension::Class{"TGIFApplicationExtension", Make<TGIFUnknownAppExtension>,
                                                         FindApplicationSubExtension};
const TGIFExtensionClass TGIFGraphicControlExtension::Class{"TGIFGraphicControlExtension",
                                                            Make<TGIFGraphicControlExtension>, SameClass};
const TGIFExtensionClass TGIFTextExtension::Class{"TGIFTextExtension", Make<TGIFTextExtension>, SameClass};
const TGIFExtensionClass TGIFCommentExtension::Class{"TGIFCommentExtension", Make<TGIFCommentExtension>, SameClass};
const TGIFExtensionClass TGIFAppExtNSLoop::Class{"TGIFAppExtNSLoop", Make<TGIFAppExtNSLoop>, SameClass};
const TGIFExtensionClass TGIFUnknownAppExtension::Class{"TGIFUnknownAppExtension", Make<TGIFUnknownAppExtension>,
                                                        SameClass};

void RegisterExtension(uint8_t label, const TGIFExtensionClass& extensionClass) {
  TRegistries& r = Registries();
  std::lock_guard guard(r.Lock);
  r.Extensions.push_back({label, &extensionClass});
}

void RegisterAppExtension(const char identifier[11], const TGIFExtensionClass& extensionClass) {
  TRegistries& r = Registries();
  std::lock_guard guard(r.Lock);
  r.AppExtensions.push_back({AppKey(identifier), &extensionClass});
}

const TGIFExtensionClass* FindExtension(TStream& stream) {
  const int64_t start = stream.Position();
  uint8_t label = 0;
  if (!TryReadByte(stream, label)) return nullptr;
  const TGIFExtensionClass* cls = ExtensionClassOf(label);
  while (cls) {
    const TGIFExtensionClass* next = cls->FindSubExtension(*cls, stream);
    if (next == cls) break;
    cls = next;
  }
  stream.SetPosition(start);
  return cls;
}

void TGIFExtensionList::LoadFromStream(TStream& stream, TObject* parent) {
  auto* frame = dynamic_cast<TGIFSubImage*>(parent);
  if (!frame) RaiseGIFError("Invalid GIF data");
  uint8_t b = 0;
  if (!TryReadByte(stream, b)) return;
  while (b != ',' && b != ';') {
    if (b != '!') {
      Warning(SeverityWarning, "Invalid extension introducer");
      break;
    }
    const TGIFExtensionClass* cls = FindExtension(stream);
    if (!cls) RaiseGIFError("Unknown extension type");
    stream.Seek(-1, soCurrent);
    std::unique_ptr<TGIFExtension> extension(cls->Create(frame));
    extension->LoadFromStream(stream);
    Add(extension.release());
    if (!TryReadByte(stream, b)) return;
  }
  stream.Seek(-1, soCurrent);
}

// ---- common part ----
TGIFExtension::TGIFExtension(TGIFSubImage* subImage)
    : TGIFItem(subImage ? subImage->GIFImage : nullptr), SubImage(subImage) {}

TGIFExtension::~TGIFExtension() {
  if (SubImage) SubImage->Extensions.Remove(this);
}

void TGIFExtension::SaveToStream(TStream& stream) {
  WriteByte(stream, '!');
  WriteByte(stream, ExtensionType());
}

void TGIFExtension::LoadFromStream(TStream& stream) {
  uint8_t head[2];
  ReadCheck(stream, head, 2);
  if (head[0] != '!') RaiseGIFError("Invalid extension introducer");
  if (head[1] != ExtensionType()) RaiseGIFError("Internal error: Extension Instance does not match Extension Label");
}

// ---- graphic control ----
TGIFGraphicControlExtension::TGIFGraphicControlExtension(TGIFSubImage* subImage) : TGIFExtension(subImage) {
  if (SubImage && !SubImage->GraphicControlExtension) SubImage->GraphicControlExtension = this;
}

TGIFGraphicControlExtension::~TGIFGraphicControlExtension() {
  if (!SubImage) return;
  if (Transparent()) SubImage->Transparent = false;
  if (SubImage->GraphicControlExtension == this) SubImage->GraphicControlExtension = nullptr;
}

void TGIFGraphicControlExtension::SetTransparent(bool value) {
  PackedFields = static_cast<uint8_t>(value ? PackedFields | 1 : PackedFields & ~1);
  if (SubImage) SubImage->Transparent = value;
}

void TGIFGraphicControlExtension::SetTransparentColorIndex(uint8_t value) {
  if (SubImage) {
    TGIFColorMap& map = SubImage->ActiveColorMap();
    if (map.Count() > 0 && value >= map.Count()) {
      Warning(SeverityWarning, "Invalid color index");
      value = 0;
    }
  }
  transparentColorIndex_ = value;
}

void TGIFGraphicControlExtension::SaveToStream(TStream& stream) {
  TGIFExtension::SaveToStream(stream);
  const uint8_t bytes[6] = {BlockSize, PackedFields, static_cast<uint8_t>(delay_ & 0xFF),
                            static_cast<uint8_t>(delay_ >> 8), transparentColorIndex_, terminator_};
  stream.WriteBuffer(bytes, 6);
}

void TGIFGraphicControlExtension::LoadFromStream(TStream& stream) {
  TGIFExtension::LoadFromStream(stream);
  uint8_t bytes[6] = {BlockSize, PackedFields, static_cast<uint8_t>(delay_ & 0xFF),
                      static_cast<uint8_t>(delay_ >> 8), transparentColorIndex_, terminator_};
  const int got = stream.Read(bytes, 6);
  BlockSize = bytes[0];
  PackedFields = bytes[1];
  delay_ = static_cast<uint16_t>(bytes[2] | (bytes[3] << 8));
  transparentColorIndex_ = bytes[4];
  terminator_ = bytes[5];
  if (got < 6) {
    Warning(SeverityWarning, "Premature end of data");
    return;
  }
  if ((PackedFields & 1) && SubImage) SubImage->Transparent = true;
}

// ---- plain text and comment ----
void TGIFTextExtension::SaveToStream(TStream& stream) {
  TGIFExtension::SaveToStream(stream);
  stream.WriteBuffer(&PlainText, sizeof PlainText);
  WriteSubBlockStrings(stream, Text);
}

void TGIFTextExtension::LoadFromStream(TStream& stream) {
  TGIFExtension::LoadFromStream(stream);
  ReadCheck(stream, &PlainText, sizeof PlainText);
  ReadSubBlockStrings(stream, Text);
}

void TGIFCommentExtension::SaveToStream(TStream& stream) {
  TGIFExtension::SaveToStream(stream);
  WriteSubBlockStrings(stream, Text);
}

void TGIFCommentExtension::LoadFromStream(TStream& stream) {
  TGIFExtension::LoadFromStream(stream);
  ReadSubBlockStrings(stream, Text);
}

// ---- application ----
void TGIFApplicationExtension::SaveToStream(TStream& stream) {
  TGIFExtension::SaveToStream(stream);
  WriteByte(stream, 11);
  stream.WriteBuffer(Identifier.data(), 8);
  stream.WriteBuffer(AuthenticationCode.data(), 3);
  SaveData(stream);
}

void TGIFApplicationExtension::LoadFromStream(TStream& stream) {
  TGIFExtension::LoadFromStream(stream);
  const uint8_t size = ReadByte(stream);
  if (size < 10) RaiseGIFError("Unsupported Application Extension block size");
  char bytes[11] = {};
  // A 10-byte block lends its eleventh byte from what follows, and steps back over it.
  ReadCheck(stream, bytes, 11);
  std::memcpy(Identifier.data(), bytes, 8);
  std::memcpy(AuthenticationCode.data(), bytes + 8, 3);
  if (size != 11) stream.Seek(size - 11, soCurrent);
  LoadData(stream);
}

TGIFAppExtNSLoop::TGIFAppExtNSLoop(TGIFSubImage* subImage) : TGIFApplicationExtension(subImage) {
  std::memcpy(Identifier.data(), "NETSCAPE", 8);
  std::memcpy(AuthenticationCode.data(), "2.0", 3);
}

void TGIFAppExtNSLoop::SaveData(TStream& stream) {
  const uint8_t loop[4] = {3, 1, static_cast<uint8_t>(Loops & 0xFF), static_cast<uint8_t>(Loops >> 8)};
  stream.WriteBuffer(loop, 4);
  if (BufferSize != 0) {
    const uint8_t buffer[6] = {5, 2, static_cast<uint8_t>(BufferSize), static_cast<uint8_t>(BufferSize >> 8),
                               static_cast<uint8_t>(BufferSize >> 16), static_cast<uint8_t>(BufferSize >> 24)};
    stream.WriteBuffer(buffer, 6);
  }
  WriteByte(stream, 0);
}

void TGIFAppExtNSLoop::LoadData(TStream& stream) {
  int size = ReadByte(stream);
  while (size != 0) {
    const int id = ReadByte(stream);
    int left = size - 1;
    if ((id & 7) == 1) {
      if (left < 2) RaiseGIFError("Invalid GIF data");
      uint8_t b[2];
      ReadCheck(stream, b, 2);
      Loops = LoadLE16(b);
      left = size - 3;
    } else if ((id & 7) == 2) {
      if (left < 4) RaiseGIFError("Invalid GIF data");
      uint8_t b[4];
      ReadCheck(stream, b, 4);
      BufferSize = LoadLE32(b);
      left = size - 5;
    }
    if (left > 0) stream.Seek(left, soCurrent);
    size = ReadByte(stream);
  }
}

void TGIFUnknownAppExtension::SaveData(TStream& stream) {
  for (const TGIFBlock& block : Blocks) {
    WriteByte(stream, static_cast<uint8_t>(block.Data.size()));
    stream.WriteBuffer(block.Data.data(), static_cast<int>(block.Data.size()));
  }
  WriteByte(stream, 0);
}

void TGIFUnknownAppExtension::LoadData(TStream& stream) {
  Blocks.clear();
  uint8_t size = 0;
  while (TryReadByte(stream, size) && size != 0) {
    TGIFBlock block;
    block.Data.resize(size);
    ReadCheck(stream, block.Data.data(), size);
    Blocks.push_back(std::move(block));
  }
}
