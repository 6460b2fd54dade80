#include "framework/core/streams.h"

#include <gtest/gtest.h>

#include <cstring>

#include "framework/testsupport/scratch_dir.h"

namespace {

TEST(Streams, ShortReadBufferRaisesReadError) {
  TStringStream stream("abcdef");
  char buffer[8] = {};
  stream.SetPosition(4);
  EXPECT_EQ(stream.Read(buffer, 8), 2);  // a plain read at the end returns fewer bytes
  EXPECT_EQ(stream.Read(buffer, 8), 0);
  stream.SetPosition(4);
  try {
    stream.ReadBuffer(buffer, 3);
    FAIL() << "no exception";
  } catch (const EReadError& e) {
    EXPECT_STREQ(e.what(), "Stream read error");
  }
  stream.SetPosition(0);
  stream.ReadBuffer(buffer, 6);
  EXPECT_EQ(String(buffer, 6), "abcdef");
  stream.ReadBuffer(buffer, 0);
}

TEST(Streams, CopyFromCopiesExactlyTheCount) {
  TStringStream source("0123456789");
  source.SetPosition(2);
  TMemoryStream dest;
  EXPECT_EQ(dest.CopyFrom(source, 4), 4);
  EXPECT_EQ(dest.Size(), 4);
  EXPECT_EQ(source.Position(), 6);
  EXPECT_EQ(String(static_cast<const char*>(dest.Memory()), 4), "2345");

  EXPECT_EQ(dest.CopyFrom(source, 0), 0);  // 0 copies nothing, not the whole source
  EXPECT_EQ(dest.Size(), 4);
  EXPECT_EQ(source.Position(), 6);

  EXPECT_THROW(dest.CopyFrom(source, 5), EReadError);  // only 4 bytes left
}

TEST(Streams, MemoryStreamGrowsAndKeepsPosition) {
  TMemoryStream stream;
  stream.SetPosition(3);
  stream.WriteBuffer("xy", 2);
  EXPECT_EQ(stream.Size(), 5);
  EXPECT_EQ(std::memcmp(stream.Memory(), "\0\0\0xy", 5), 0);
  stream.SetSize(4);
  EXPECT_EQ(stream.Position(), 4);
  stream.Seek(-1, soEnd);
  char c = 0;
  stream.ReadBuffer(&c, 1);
  EXPECT_EQ(c, 'x');
  stream.Clear();
  EXPECT_EQ(stream.Size(), 0);
  EXPECT_EQ(stream.Position(), 0);
}

TEST(Streams, StringStreamOverwritesInPlace) {
  TStringStream stream("hello world");
  stream.SetPosition(6);
  stream.WriteString("W");
  EXPECT_EQ(stream.DataString(), "hello World");
  stream.Seek(0, soEnd);
  stream.WriteString("!");
  EXPECT_EQ(stream.DataString(), "hello World!");
  stream.SetPosition(0);
  EXPECT_EQ(stream.ReadString(5), "hello");
  EXPECT_EQ(stream.ReadString(100), " World!");
}

TEST(Streams, FileStreamShareModes) {
  ScratchDir dir;
  const String name = dir / "shared.bin";
  {
    TFileStream created(name, fmCreate);
    created.WriteBuffer("data", 4);
    // Created files are exclusive while open.
    EXPECT_THROW(TFileStream(name, fmOpenRead | fmShareDenyNone), EFOpenError);
  }
  TFileStream reader(name, fmOpenRead | fmShareDenyWrite);
  EXPECT_EQ(reader.Size(), 4);
  TFileStream secondReader(name, fmOpenRead | fmShareDenyWrite);
  try {
    TFileStream writer(name, fmOpenReadWrite | fmShareDenyNone);
    FAIL() << "a writer got in";
  } catch (const EFOpenError& e) {
    const String prefix = "Cannot open file \"" + name + "\". ";
    EXPECT_EQ(String(e.what()).substr(0, prefix.size()), prefix);
    EXPECT_GT(String(e.what()).size(), prefix.size());  // the system's reason follows
  }
  EXPECT_THROW(TFileStream(name, fmCreate), EFCreateError);
  EXPECT_THROW(TFileStream(dir / "absent.bin", fmOpenRead), EFOpenError);
  EXPECT_THROW(TFileStream(dir / "no\\such\\folder.bin", fmCreate), EFCreateError);
}

TEST(Streams, FileStreamReadsWritesAndResizes) {
  ScratchDir dir;
  const String name = dir / "file.bin";
  TMemoryStream memory;
  memory.WriteBuffer("0123456789", 10);
  memory.SaveToFile(name);
  {
    TFileStream file(name, fmOpenReadWrite | fmShareExclusive);
    EXPECT_EQ(file.Size(), 10);
    file.Seek(-3, soEnd);
    char tail[3];
    file.ReadBuffer(tail, 3);
    EXPECT_EQ(String(tail, 3), "789");
    file.SetSize(5);
    EXPECT_EQ(file.Size(), 5);
    EXPECT_EQ(file.Position(), 5);
    file.WriteBuffer("ab", 2);
  }
  TMemoryStream loaded;
  loaded.LoadFromFile(name);
  EXPECT_EQ(String(static_cast<const char*>(loaded.Memory()), static_cast<size_t>(loaded.Size())), "01234ab");
  EXPECT_EQ(loaded.Position(), 0);
}

// Builds a module with two RT_RCDATA resources: a copy of this program with
// resources added, loaded as data.
TEST(Streams, ResourceStreamByNameAndId) {
  ScratchDir dir;
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  const String module = dir / "res.exe";
  ASSERT_TRUE(CopyFileA(self, module.c_str(), FALSE));
  HANDLE update = BeginUpdateResourceA(module.c_str(), FALSE);
  ASSERT_NE(update, nullptr);
  char skin[] = "skin bytes";
  char seven[] = "7";
  ASSERT_TRUE(UpdateResourceA(update, RT_RCDATA, "SKIN", MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL), skin, 10));
  ASSERT_TRUE(UpdateResourceA(update, RT_RCDATA, MAKEINTRESOURCEA(7), MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL),
                              seven, 1));
  ASSERT_TRUE(EndUpdateResourceA(update, FALSE));
  HMODULE instance = LoadLibraryExA(module.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(instance, nullptr);
  {
    TResourceStream byName(instance, "SKIN", RT_RCDATA);
    EXPECT_EQ(byName.Size(), 10);
    char buffer[16] = {};
    EXPECT_EQ(byName.Read(buffer, 16), 10);
    EXPECT_EQ(String(buffer, 10), "skin bytes");
    EXPECT_THROW(byName.WriteBuffer("x", 1), EStreamError);

    TResourceStream byId(instance, 7, RT_RCDATA);
    EXPECT_EQ(byId.Size(), 1);
    EXPECT_THROW(TResourceStream(instance, "ABSENT", RT_RCDATA), EStreamError);
  }
  FreeLibrary(instance);
}

}  // namespace
