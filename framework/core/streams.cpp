#include "framework/core/streams.h"

#include <algorithm>
#include <cstring>

namespace {

String FileErrorText(const char* format, const String& fileName, DWORD code) {
  return Format(format, fileName, SysErrorMessage(code));
}

// The position a seek asks for, from the current position and the size.
int64_t SeekTarget(int64_t offset, TSeekOrigin origin, int64_t position, int64_t size) {
  switch (origin) {
    case soBeginning: return offset;
    case soCurrent: return position + offset;
    case soEnd: return size + offset;
  }
  return position;
}

}  // namespace

// ---- TStream

int64_t TStream::Size() {
  int64_t position = Seek(0, soCurrent);
  int64_t size = Seek(0, soEnd);
  Seek(position, soBeginning);
  return size;
}

void TStream::SetSize(int64_t /*size*/) { throw EStreamError("Invalid stream operation"); }

void TStream::ReadBuffer(void* buffer, int count) {
  if (count != 0 && Read(buffer, count) != count) throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* buffer, int count) {
  if (count != 0 && Write(buffer, count) != count) throw EWriteError("Stream write error");
}

int64_t TStream::CopyFrom(TStream& source, int64_t count) {
  constexpr int64_t kBlock = 0xF000;
  std::vector<uint8_t> buffer(static_cast<size_t>(std::min(std::max<int64_t>(count, 0), kBlock)));
  for (int64_t left = count; left > 0;) {
    int n = static_cast<int>(std::min(left, kBlock));
    source.ReadBuffer(buffer.data(), n);
    WriteBuffer(buffer.data(), n);
    left -= n;
  }
  return std::max<int64_t>(count, 0);
}

// ---- TFileStream

TFileStream::TFileStream(const String& fileName, unsigned mode) : fileName_(fileName) {
  if (mode == fmCreate) {
    // Exclusive while open: nobody else reads a half-written file.
    handle_.reset(CreateFileA(fileName.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle_)
      throw EFCreateError(FileErrorText("Cannot create file \"%s\". %s", fileName, GetLastError()));
    return;
  }
  static constexpr DWORD kAccess[] = {GENERIC_READ, GENERIC_WRITE, GENERIC_READ | GENERIC_WRITE};
  static constexpr DWORD kShare[] = {0, 0, FILE_SHARE_READ, FILE_SHARE_WRITE,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE};
  unsigned access = mode & 0x3;
  unsigned share = (mode & 0xF0) >> 4;
  if (access >= std::size(kAccess) || share >= std::size(kShare) || (mode & ~0xF3u) != 0)
    throw EFOpenError(FileErrorText("Cannot open file \"%s\". %s", fileName, ERROR_INVALID_PARAMETER));
  handle_.reset(CreateFileA(fileName.c_str(), kAccess[access], kShare[share], nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!handle_)
    throw EFOpenError(FileErrorText("Cannot open file \"%s\". %s", fileName, GetLastError()));
}

int TFileStream::Read(void* buffer, int count) {
  DWORD done = 0;
  if (count <= 0 || !ReadFile(handle_.get(), buffer, static_cast<DWORD>(count), &done, nullptr)) return 0;
  return static_cast<int>(done);
}

int TFileStream::Write(const void* buffer, int count) {
  DWORD done = 0;
  if (count <= 0 || !WriteFile(handle_.get(), buffer, static_cast<DWORD>(count), &done, nullptr)) return 0;
  return static_cast<int>(done);
}

int64_t TFileStream::Seek(int64_t offset, TSeekOrigin origin) {
  static constexpr DWORD kMethod[] = {FILE_BEGIN, FILE_CURRENT, FILE_END};
  LARGE_INTEGER distance{};
  LARGE_INTEGER result{};
  distance.QuadPart = offset;
  if (!SetFilePointerEx(handle_.get(), distance, &result, kMethod[origin])) return -1;
  return result.QuadPart;
}

int64_t TFileStream::Size() {
  LARGE_INTEGER size{};
  return GetFileSizeEx(handle_.get(), &size) ? size.QuadPart : -1;
}

void TFileStream::SetSize(int64_t size) {
  int64_t position = Position();
  if (Seek(size, soBeginning) != size || !SetEndOfFile(handle_.get())) {
    DWORD error = GetLastError();
    Seek(position, soBeginning);
    throw EStreamError(SysErrorMessage(error));
  }
  Seek(std::min(position, size), soBeginning);
}

// ---- TCustomMemoryStream

void TCustomMemoryStream::SetPointer(const void* memory, int64_t size) {
  memory_ = memory;
  size_ = size;
}

int TCustomMemoryStream::Read(void* buffer, int count) {
  if (count <= 0 || position_ < 0 || position_ >= size_) return 0;
  int n = static_cast<int>(std::min<int64_t>(count, size_ - position_));
  std::memcpy(buffer, static_cast<const uint8_t*>(memory_) + position_, static_cast<size_t>(n));
  position_ += n;
  return n;
}

int64_t TCustomMemoryStream::Seek(int64_t offset, TSeekOrigin origin) {
  position_ = SeekTarget(offset, origin, position_, size_);
  return position_;
}

void TCustomMemoryStream::SaveToStream(TStream& stream) {
  if (size_ > INT32_MAX) throw EWriteError("Stream write error");
  stream.WriteBuffer(memory_, static_cast<int>(size_));
}

void TCustomMemoryStream::SaveToFile(const String& fileName) {
  TFileStream file(fileName, fmCreate);
  SaveToStream(file);
}

// ---- TMemoryStream

int TMemoryStream::Write(const void* buffer, int count) {
  if (count <= 0 || position_ < 0) return 0;
  int64_t end = position_ + count;
  if (end > static_cast<int64_t>(data_.size())) SetSize(end);
  std::memcpy(data_.data() + position_, buffer, static_cast<size_t>(count));
  position_ = end;
  return count;
}

void TMemoryStream::SetSize(int64_t size) {
  if (size < 0) throw EStreamError("Invalid stream operation");
  if (static_cast<uint64_t>(size) > SIZE_MAX) throw EOutOfMemory("Out of memory while expanding memory stream");
  data_.resize(static_cast<size_t>(size));
  SetPointer(data_.data(), size);
  position_ = std::min(position_, size);
}

void TMemoryStream::Clear() {
  data_.clear();
  data_.shrink_to_fit();
  SetPointer(nullptr, 0);
  position_ = 0;
}

void TMemoryStream::LoadFromStream(TStream& stream) {
  stream.SetPosition(0);
  int64_t size = stream.Size();
  SetSize(size);
  position_ = 0;
  for (int64_t done = 0; done < size;) {
    int n = static_cast<int>(std::min<int64_t>(size - done, INT32_MAX));
    stream.ReadBuffer(data_.data() + done, n);
    done += n;
  }
}

void TMemoryStream::LoadFromFile(const String& fileName) {
  TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(file);
}

// ---- TResourceStream

TResourceStream::TResourceStream(HINSTANCE instance, const String& name, LPCSTR type) {
  Initialize(instance, name.c_str(), type, name);
}

TResourceStream::TResourceStream(HINSTANCE instance, int id, LPCSTR type) {
  Initialize(instance, MAKEINTRESOURCEA(id), type, IntToStr(id));
}

void TResourceStream::Initialize(HINSTANCE instance, LPCSTR name, LPCSTR type,
                                 const String& shownName) {
  HRSRC info = FindResourceA(instance, name, type);
  HGLOBAL loaded = info ? LoadResource(instance, info) : nullptr;
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data) throw EStreamError("Resource " + shownName + " not found");
  // Module resources stay mapped while the module is loaded; nothing to free.
  SetPointer(data, SizeofResource(instance, info));
}

int TResourceStream::Write(const void* /*buffer*/, int /*count*/) {
  throw EStreamError("Can't write to a read-only resource stream");
}

// ---- TStringStream

int TStringStream::Read(void* buffer, int count) {
  int64_t size = Size();
  if (count <= 0 || position_ >= size) return 0;
  int n = static_cast<int>(std::min<int64_t>(count, size - position_));
  std::memcpy(buffer, data_.data() + position_, static_cast<size_t>(n));
  position_ += n;
  return n;
}

int TStringStream::Write(const void* buffer, int count) {
  if (count <= 0) return 0;
  int64_t end = position_ + count;
  if (end > Size()) data_.resize(static_cast<size_t>(end));
  std::memcpy(data_.data() + position_, buffer, static_cast<size_t>(count));
  position_ = end;
  return count;
}

int64_t TStringStream::Seek(int64_t offset, TSeekOrigin origin) {
  position_ = std::clamp<int64_t>(SeekTarget(offset, origin, position_, Size()), 0, Size());
  return position_;
}

void TStringStream::SetSize(int64_t size) {
  if (size < 0) throw EStreamError("Invalid stream operation");
  data_.resize(static_cast<size_t>(size));
  position_ = std::min(position_, size);
}

String TStringStream::ReadString(int count) {
  int64_t n = std::clamp<int64_t>(count, 0, Size() - position_);
  String result = data_.substr(static_cast<size_t>(position_), static_cast<size_t>(n));
  position_ += n;
  return result;
}

void TStringStream::WriteString(const String& text) {
  WriteBuffer(text.data(), static_cast<int>(text.size()));
}
