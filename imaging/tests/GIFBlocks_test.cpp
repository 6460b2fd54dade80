// Extension blocks and colour tables: as read, as written, and their limits.
#include <gtest/gtest.h>

#include "imaging/GIFImage.h"
#include "imaging/tests/GIFTestSupport.h"

using namespace giftest;

namespace {
const Bytes kPixel = Concat({Descriptor(0, 0, 1, 1), ImageData(2, {{4, 3}, {1, 3}, {5, 3}})});

Loaded LoadWithExtensions(const Bytes& extensions) {
  return Load(Concat({Header(1, 1, {0, 0xFFFFFF}), extensions, kPixel, Text(";")}));
}

Bytes SaveExtension(TGIFExtension& e) {
  TMemoryStream stream;
  e.SaveToStream(stream);
  return BytesOf(stream);
}
}  // namespace

TEST(GIFExtensions, ExtensionsRoundTripByteForByte) {
  const Bytes netscape = Concat({Bytes{'!', 0xFF, 11}, Text("NETSCAPE2.0"), Bytes{3, 1, 5, 0, 0}});
  const Bytes animexts = Concat({Bytes{'!', 0xFF, 11}, Text("ANIMEXTS1.0"), Bytes{3, 1, 0, 0, 5, 2, 0, 1, 0, 0, 0}});
  const Bytes unknown = Concat({Bytes{'!', 0xFF, 11}, Text("SOMEAPP1.00"), Bytes{2, 'a', 'b', 1, 'c', 0}});
  const Bytes text = Bytes{'!', 0x01, 12, 1, 0, 2, 0, 3, 0, 4, 0, 5, 6, 7, 8, 2, 'h', 'i', 0};
  const Bytes comment = Bytes{'!', 0xFE, 3, 'a', 'b', 'c', 1, 'd', 0};
  const Bytes twoControls = Concat({GraphicControl(0x04, 7, 0), GraphicControl(0x09, 3, 1)});
  struct Case {
    const char* what;
    Bytes blocks;
  };
  for (const Case& c : {Case{"netscape", netscape}, Case{"animexts", animexts}, Case{"unknown", unknown},
                        Case{"text", text}, Case{"comment", comment}, Case{"two controls", twoControls}}) {
    SCOPED_TRACE(c.what);
    const Bytes file = Concat({Header(1, 1, {0, 0xFFFFFF}), c.blocks, kPixel, Text(";")});
    Loaded l = Load(file);
    ASSERT_EQ(l.Error, "");
    EXPECT_TRUE(l.Warnings.empty());
    EXPECT_EQ(Save(*l.Image), file);
  }
}

TEST(GIFExtensions, KindsAreTold) {
  Loaded l = LoadWithExtensions(Concat({Bytes{'!', 0xFF, 11}, Text("ANIMEXTS1.0"), Bytes{3, 1, 9, 0, 0},
                                        GraphicControl(0x04, 7, 0), GraphicControl(0x09, 3, 1),
                                        Bytes{'!', 0xFE, 1, 'x', 0}}));
  TGIFSubImage* f = l.Image->Images().Images(0);
  ASSERT_EQ(f->Extensions.Count(), 4);
  auto* loop = dynamic_cast<TGIFAppExtNSLoop*>(f->Extensions.Extensions(0));
  ASSERT_NE(loop, nullptr);
  EXPECT_EQ(loop->Loops, 9);
  EXPECT_EQ(f->GraphicControlExtension, f->Extensions.Extensions(1));
  EXPECT_EQ(f->GraphicControlExtension->Delay(), 7);
  EXPECT_EQ(f->GraphicControlExtension->Disposal(), DisposalKeep);
  // The second control extension's transparency still makes the frame transparent.
  EXPECT_TRUE(f->Transparent);
  EXPECT_NE(dynamic_cast<TGIFCommentExtension*>(f->Extensions.Extensions(3)), nullptr);
}

TEST(GIFExtensions, LongApplicationBlockIsHeldAsUnknown) {
  const Bytes block = Concat({Bytes{'!', 0xFF, 13}, Text("LONGAPPL1.0xy"), Bytes{1, 'z', 0}});
  Loaded l = LoadWithExtensions(block);
  ASSERT_EQ(l.Error, "");
  auto* e = dynamic_cast<TGIFUnknownAppExtension*>(l.Image->Images().Images(0)->Extensions.Extensions(0));
  ASSERT_NE(e, nullptr);
  ASSERT_EQ(e->Blocks.size(), 1u);
  EXPECT_EQ(e->Blocks[0].Data, Bytes{'z'});
}

// A 10-byte block holds as the eleventh byte of its identifier the first byte after it,
// which is then read again as the first sub-block's size.
TEST(GIFExtensions, TenByteApplicationBlockLendsItsEleventhByte) {
  const Bytes block = Concat({Bytes{'!', 0xFF, 10}, Text("ABCDEFGHIJ"), Bytes{1, 'z', 0}});
  Loaded l = LoadWithExtensions(block);
  ASSERT_EQ(l.Error, "");
  auto* e = dynamic_cast<TGIFUnknownAppExtension*>(l.Image->Images().Images(0)->Extensions.Extensions(0));
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(String(e->Identifier.data(), 8), "ABCDEFGH");
  EXPECT_EQ(String(e->AuthenticationCode.data(), 3), String("IJ\x01"));
  ASSERT_EQ(e->Blocks.size(), 1u);
  EXPECT_EQ(e->Blocks[0].Data, Bytes{'z'});
}

TEST(GIFExtensions, DamagedExtensions) {
  struct Case {
    const char* what;
    Bytes blocks;
    String error;
  };
  const Case cases[] = {
      {"unknown label", Bytes{'!', 0x42, 1, 0, 0}, "Unknown extension type"},
      {"short app block", Concat({Bytes{'!', 0xFF, 9}, Text("ABCDEFGHI"), Bytes{0}}), "Unsupported Application Extension block size"},
      {"short loop", Concat({Bytes{'!', 0xFF, 11}, Text("NETSCAPE2.0"), Bytes{2, 1, 5, 0}}), "Invalid GIF data"},
      {"truncated comment", Bytes{'!', 0xFE, 9, 'a'}, "Premature end of data"},
      {"cut-off application identifier", Concat({Bytes{'!', 0xFF, 11}, Text("NETSC")}), "Premature end of data"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Loaded l = Load(Concat({Header(1, 1, {0, 0xFFFFFF}), c.blocks}));
    EXPECT_EQ(l.Error, c.error);
  }
  // A short graphic control block only warns.
  Loaded shortControl = Load(Concat({Header(1, 1, {0, 0xFFFFFF}), Bytes{'!', 0xF9, 4, 1}}));
  EXPECT_EQ(shortControl.Error, "");
  EXPECT_EQ(shortControl.Warnings, std::vector<String>{"Premature end of data"});
}

TEST(GIFExtensions, CommentsSplitIntoSubBlocks) {
  TGIFImage image;
  TGIFSubImage frame(&image);
  TGIFCommentExtension comment(&frame);
  comment.Text = {String(600, 'c')};
  const Bytes out = SaveExtension(comment);
  ASSERT_EQ(out.size(), 2u + 1 + 255 + 1 + 255 + 1 + 90 + 1);
  EXPECT_EQ(out[2], 255);
  EXPECT_EQ(out[2 + 256], 255);
  EXPECT_EQ(out[2 + 512], 90);
  auto stream = StreamOf(out);
  TGIFCommentExtension back(&frame);
  back.LoadFromStream(*stream);
  EXPECT_EQ(back.Text.size(), 3u);
  comment.Text = {};
  EXPECT_EQ(SaveExtension(comment), (Bytes{'!', 0xFE, 0}));
  comment.Text = {""};
  EXPECT_EQ(SaveExtension(comment), (Bytes{'!', 0xFE, 0}));
  // A 0 byte inside a sub-block ends the string there.
  auto withNul = StreamOf(Bytes{'!', 0xFE, 3, 'a', 0, 'b', 0});
  back.LoadFromStream(*withNul);
  EXPECT_EQ(back.Text, std::vector<String>{"a"});
}

TEST(GIFExtensions, LoopExtensionIsNineteenBytes) {
  TGIFImage image;
  TGIFSubImage frame(&image);
  TGIFAppExtNSLoop loop(&frame);
  EXPECT_EQ(SaveExtension(loop), Concat({Bytes{'!', 0xFF, 11}, Text("NETSCAPE2.0"), Bytes{3, 1, 0, 0, 0}}));
}

TEST(GIFExtensions, TransparentIndexIsCheckedWhenSet) {
  Loaded l = Load(Concat({Header(1, 1, {0, 0xFFFFFF, 0xFF, 0xFF00}), GraphicControl(1, 0, 200), kPixel, Text(";")}));
  TGIFGraphicControlExtension* gce = l.Image->Images().Images(0)->GraphicControlExtension;
  ASSERT_NE(gce, nullptr);
  EXPECT_EQ(gce->TransparentColorIndex(), 200);
  EXPECT_TRUE(l.Warnings.empty());
  gce->SetTransparentColorIndex(200);
  EXPECT_EQ(gce->TransparentColorIndex(), 0);
  EXPECT_EQ(l.Warnings, std::vector<String>{"Invalid color index"});
  gce->SetDisposal(DisposalPrevious);
  EXPECT_EQ(gce->PackedFields, 0x0D);
}

TEST(GIFColorMap, CapacityGrowsInSteps) {
  struct Case {
    int size, capacity;
  };
  for (const Case c : {Case{1, 16}, Case{16, 16}, Case{17, 32}, Case{200, 224}, Case{300, 256}}) {
    TGIFImage image;
    TGIFColorMap& map = image.Header().ColorMap;
    map.SetCapacity(c.size);
    EXPECT_EQ(map.Capacity(), c.capacity) << c.size;
  }
}

TEST(GIFColorMap, AddLookUpDelete) {
  TGIFImage image;
  TGIFColorMap& map = image.Header().ColorMap;
  for (int i = 0; i < 256; ++i) map.Add(RGB(i, 0, 0));
  EXPECT_THROW(map.Add(clWhite), GIFException);
  map.Delete(255);
  map.Add(RGB(5, 0, 0));
  EXPECT_EQ(map.IndexOfColor(RGB(5, 0, 0)), 255);
  map.Optimized = true;
  EXPECT_EQ(map.IndexOfColor(RGB(5, 0, 0)), 5);
  EXPECT_EQ(map.IndexOfColor(clWhite), -1);
  EXPECT_THROW(map.Delete(256), GIFException);
  TGIFImage empty;
  EXPECT_THROW(empty.Header().ColorMap.Colors(0), GIFException);
}

TEST(GIFColorMap, OptimizeSortsByUseAndRenumbers) {
  // Colours used 1, 3, 0 and 2 times, background index 1, and one pixel value past the table.
  const Bytes file = Concat({Header(7, 1, {0x000000, 0x111111, 0x222222, 0x333333}), Descriptor(0, 0, 7, 1),
                             ImageData(2, {{4, 3}, {0, 3}, {1, 3}, {1, 3}, {1, 4}, {3, 4}, {3, 4}, {5, 4}}), Text(";")});
  Bytes patched = file;
  patched[11] = 1;  // background
  Loaded l = Load(patched);
  ASSERT_EQ(l.Error, "");
  TGIFSubImage* f = l.Image->Images().Images(0);
  f->Data.back() = 200;
  TGIFColorMap& map = l.Image->Header().ColorMap;
  EXPECT_TRUE(map.Optimize());
  EXPECT_EQ(map.Count(), 3);
  EXPECT_EQ(map.Colors(0), RGB(0x11, 0x11, 0x11));
  EXPECT_EQ(map.Colors(1), RGB(0x33, 0x33, 0x33));
  EXPECT_EQ(map.Colors(2), RGB(0, 0, 0));
  EXPECT_EQ(f->Data, (Bytes{2, 0, 0, 0, 1, 1, 200}));
  EXPECT_EQ(l.Image->Header().Descriptor.BackgroundColorIndex, 0);
  // Already in order: nothing moves, nothing is dropped.
  TGIFImage sorted;
  auto* g = new TGIFSubImage(&sorted);
  g->SetBounds(0, 0, 3, 1);
  g->Data = {0, 0, 1};
  for (int i = 0; i < 3; ++i) g->LocalColorMap.Add(RGB(i, i, i));
  sorted.Add(g);
  EXPECT_TRUE(g->LocalColorMap.Optimize());
  EXPECT_EQ(g->LocalColorMap.Count(), 3);
  EXPECT_EQ(g->Data, (Bytes{0, 0, 1}));
}
