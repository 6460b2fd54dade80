// Byte streams: the abstract TStream, files, memory, resources and strings.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "framework/core/classes.h"
#include "framework/core/handles.h"
#include "framework/core/sysutils.h"

enum TSeekOrigin { soBeginning, soCurrent, soEnd };

// TFileStream modes: fmCreate alone, or one access mode combined with one share mode.
constexpr unsigned fmCreate = 0xFFFF;
constexpr unsigned fmOpenRead = 0x0000;
constexpr unsigned fmOpenWrite = 0x0001;
constexpr unsigned fmOpenReadWrite = 0x0002;
constexpr unsigned fmShareExclusive = 0x0010;
constexpr unsigned fmShareDenyWrite = 0x0020;
constexpr unsigned fmShareDenyRead = 0x0030;
constexpr unsigned fmShareDenyNone = 0x0040;

class TStream : public TObject {
 public:
  TStream() = default;
  TStream(const TStream&) = delete;
  TStream& operator=(const TStream&) = delete;

  // Read and Write transfer what they can and return the count; at the end a
  // read returns fewer bytes than asked.
  virtual int Read(void* buffer, int count) = 0;
  virtual int Write(const void* buffer, int count) = 0;
  virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;

  int64_t Position() { return Seek(0, soCurrent); }
  void SetPosition(int64_t position) { Seek(position, soBeginning); }
  virtual int64_t Size();
  virtual void SetSize(int64_t size);

  // The whole count or an exception: EReadError / EWriteError.
  void ReadBuffer(void* buffer, int count);
  void WriteBuffer(const void* buffer, int count);
  // Copies exactly count bytes from the source's position; 0 copies nothing.
  int64_t CopyFrom(TStream& source, int64_t count);
};

// A file opened with CreateFileA; the handle is closed on destruction.
class TFileStream : public TStream {
 public:
  TFileStream(const String& fileName, unsigned mode);

  int Read(void* buffer, int count) override;
  int Write(const void* buffer, int count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t Size() override;
  void SetSize(int64_t size) override;

  HANDLE Handle() const { return handle_.get(); }
  const String& FileName() const { return fileName_; }

 private:
  String fileName_;
  KernelHandle handle_;
};

// Reads and seeks over a block of memory that a derived class provides.
class TCustomMemoryStream : public TStream {
 public:
  int Read(void* buffer, int count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t Size() override { return size_; }

  const void* Memory() const { return memory_; }
  void SaveToStream(TStream& stream);
  void SaveToFile(const String& fileName);

 protected:
  void SetPointer(const void* memory, int64_t size);
  int64_t position_ = 0;

 private:
  const void* memory_ = nullptr;
  int64_t size_ = 0;
};

class TMemoryStream : public TCustomMemoryStream {
 public:
  int Write(const void* buffer, int count) override;
  void SetSize(int64_t size) override;

  using TCustomMemoryStream::Memory;
  void* Memory() { return data_.data(); }
  void Clear();
  // The whole of the other stream, from its start.
  void LoadFromStream(TStream& stream);
  void LoadFromFile(const String& fileName);

 private:
  std::vector<uint8_t> data_;
};

// A read-only view of a resource of a module (for example RT_RCDATA).
class TResourceStream : public TCustomMemoryStream {
 public:
  TResourceStream(HINSTANCE instance, const String& name, LPCSTR type);
  TResourceStream(HINSTANCE instance, int id, LPCSTR type);

  int Write(const void* buffer, int count) override;

 private:
  void Initialize(HINSTANCE instance, LPCSTR name, LPCSTR type, const String& shownName);
};

// A stream over a String; writing overwrites at the position and extends it.
class TStringStream : public TStream {
 public:
  explicit TStringStream(String data = String()) : data_(std::move(data)) {}

  int Read(void* buffer, int count) override;
  int Write(const void* buffer, int count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t Size() override { return static_cast<int64_t>(data_.size()); }
  void SetSize(int64_t size) override;

  const String& DataString() const { return data_; }
  String ReadString(int count);
  void WriteString(const String& text);

 private:
  String data_;
  int64_t position_ = 0;
};
