// Loading GIF files: peer-made fixtures against peer-decoded pixels, the block structure,
// the LZW decoder's limits and damaged data.
#include <gtest/gtest.h>

#include "imaging/GIFImage.h"
#include "imaging/tests/GIFTestSupport.h"

using namespace giftest;

TEST(GIFDecoder, PublishedTransparentPixelLoadsAndSavesByteForByte) {
  Loaded l = Load(TransparentPixel());
  ASSERT_EQ(l.Error, "");
  TGIFImage& image = *l.Image;
  ASSERT_EQ(image.Images().Count(), 1);
  TGIFSubImage* frame = image.Images().Images(0);
  EXPECT_EQ(frame->Width(), 1);
  EXPECT_TRUE(frame->Transparent);
  EXPECT_EQ(frame->Data, Bytes{0});
  EXPECT_EQ(image.Header().ColorMap.Colors(0), RGB(255, 255, 255));
  EXPECT_EQ(Save(image), TransparentPixel());
}

// Each peer-made file against the peer's own decoding of every frame.
TEST(GIFDecoder, PeerMadeFilesDecodeLikeThePeer) {
  struct Case {
    const char* name;
    int frames;
  };
  for (const Case c : {Case{"peer_still", 1}, Case{"peer_interlaced", 1}, Case{"peer_anim", 3}, Case{"peer_giflib", 1}}) {
    SCOPED_TRACE(c.name);
    Loaded l = Load(Fixture(String(c.name) + ".gif"));
    ASSERT_EQ(l.Error, "");
    EXPECT_TRUE(l.Warnings.empty());
    ASSERT_EQ(l.Image->Images().Count(), c.frames);
    Bytes ours;
    for (int i = 0; i < c.frames; ++i) {
      Bytes rgb = FrameRGB(*l.Image->Images().Images(i));
      ours.insert(ours.end(), rgb.begin(), rgb.end());
    }
    EXPECT_EQ(ours, Fixture(String(c.name) + ".rgb"));
  }
}

TEST(GIFDecoder, AnimationBlocksAreRead) {
  Loaded l = Load(Fixture("peer_anim.gif"));
  ASSERT_EQ(l.Error, "");
  TGIFImageList& frames = l.Image->Images();
  struct Expect {
    TRect bounds;
    int delay;
    TDisposalMethod disposal;
    bool transparent;
    int localColors;
  };
  const Expect expected[] = {{TRect{0, 0, 30, 20}, 5, DisposalKeep, false, 0},
                             {TRect{4, 3, 16, 12}, 1, DisposalBackground, true, 4},
                             {TRect{17, 8, 27, 18}, 0, DisposalPrevious, false, 4}};
  for (int i = 0; i < 3; ++i) {
    TGIFSubImage* f = frames.Images(i);
    ASSERT_NE(f->GraphicControlExtension, nullptr);
    EXPECT_EQ(f->BoundsRect(), expected[i].bounds);
    EXPECT_EQ(f->GraphicControlExtension->Delay(), expected[i].delay);
    EXPECT_EQ(f->GraphicControlExtension->Disposal(), expected[i].disposal);
    EXPECT_EQ(f->Transparent, expected[i].transparent);
    EXPECT_EQ(f->LocalColorMap.Count(), expected[i].localColors);
    EXPECT_TRUE(f->Interlaced());
  }
  auto* loop = dynamic_cast<TGIFAppExtNSLoop*>(frames.Images(0)->Extensions.Extensions(1));
  ASSERT_NE(loop, nullptr);
  EXPECT_EQ(loop->Loops, 2);
}

// Interlaced rows, written in the standard order by hand: frame heights of 1, 3, 5 and 9.
TEST(GIFDecoder, InterlacedRowsGoInPassOrder) {
  struct Case {
    int height;
    std::vector<int> order;
  };
  for (const Case& c : {Case{1, {0}}, Case{3, {0, 2, 1}}, Case{5, {0, 4, 2, 1, 3}}, Case{9, {0, 8, 4, 2, 6, 1, 3, 5, 7}}}) {
    SCOPED_TRACE(c.height);
    // One pixel a row; the value of the n-th row sent is n, as literal 3-bit codes.
    std::vector<std::pair<int, int>> codes{{4, 3}};
    int width = 3, next = 6;
    for (int n = 0; n < c.height; ++n) {
      codes.push_back({n & 3, width});
      if (n > 0) ++next;
      if (next == (1 << width) && width < 12) ++width;
    }
    codes.push_back({5, width});
    // Values above 3 would need a larger table: keep to four colours and check mod 4.
    const Bytes file = Concat({Header(1, c.height, {0, 0x404040, 0x808080, 0xFFFFFF}),
                               Descriptor(0, 0, 1, c.height, 0x40), ImageData(2, codes), Text(";")});
    Loaded l = Load(file);
    ASSERT_EQ(l.Error, "");
    const Bytes& data = l.Image->Images().Images(0)->Data;
    for (int n = 0; n < c.height; ++n) EXPECT_EQ(data[c.order[n]], n & 3) << "row " << c.order[n];
  }
}

TEST(GIFDecoder, SignatureMayFollowFourForeignBytes) {
  const Bytes body = TransparentPixel();
  struct Case {
    Bytes file;
    const char* error;
  };
  const Bytes lower = Concat({Text("gif89a"), Bytes(body.begin() + 6, body.end())});
  const Bytes other = Concat({Text("GIFxyz"), Bytes(body.begin() + 6, body.end())});
  for (const Case& c : {Case{Concat({Bytes(4, 0xAA), body}), ""}, Case{Concat({Bytes(3, 0xAA), body}), "Invalid GIF signature"},
                        Case{Concat({Bytes(5, 0xAA), body}), "Invalid GIF signature"}, Case{lower, ""}, Case{other, ""}}) {
    Loaded l = Load(c.file);
    EXPECT_EQ(l.Error, c.error);
  }
}

TEST(GIFDecoder, StrayBytesAndMissingTrailer) {
  const Bytes frame = Concat({Descriptor(0, 0, 1, 1), ImageData(2, {{4, 3}, {1, 3}, {5, 3}})});
  const Bytes header = Header(1, 1, {0, 0xFFFFFF});
  // Zero bytes between blocks are skipped.
  Loaded padded = Load(Concat({header, Bytes{0, 0}, frame, Bytes{0}, frame, Text(";")}));
  EXPECT_EQ(padded.Image->Images().Count(), 2);
  EXPECT_TRUE(padded.Warnings.empty());
  // A stray byte ends the frame list.
  Loaded stray = Load(Concat({header, frame, Text("x"), frame, Text(";")}));
  EXPECT_EQ(stray.Image->Images().Count(), 1);
  EXPECT_EQ(stray.Warnings, (std::vector<String>{"Unknown GIF block type", "Invalid Image trailer"}));
  // No trailer at all: no warning.
  Loaded open = Load(Concat({header, frame}));
  EXPECT_EQ(open.Error, "");
  EXPECT_TRUE(open.Warnings.empty());
  EXPECT_EQ(open.Image->Images().Images(0)->Data, Bytes{1});
}

TEST(GIFDecoder, CommentBeforeTrailerMakesAFrameWithoutPixels) {
  const Bytes file = Concat({Header(1, 1, {0, 0xFFFFFF}), Descriptor(0, 0, 1, 1), ImageData(2, {{4, 3}, {1, 3}, {5, 3}}),
                             Bytes{'!', 0xFE, 2, 'h', 'i', 0}, Text(";")});
  Loaded l = Load(file);
  ASSERT_EQ(l.Image->Images().Count(), 2);
  TGIFSubImage* last = l.Image->Images().Images(1);
  EXPECT_TRUE(last->Empty());
  ASSERT_EQ(last->Extensions.Count(), 1);
  EXPECT_EQ(Save(*l.Image), file);
}

TEST(GIFDecoder, ZeroSizedFrameTakesTheScreenSize) {
  const Bytes file = Concat({Header(2, 1, {0, 0xFFFFFF}), Descriptor(0, 0, 0, 0), ImageData(2, {{4, 3}, {1, 3}, {0, 3}, {5, 3}}), Text(";")});
  Loaded l = Load(file);
  ASSERT_EQ(l.Error, "");
  EXPECT_EQ(l.Image->Images().Images(0)->Data, (Bytes{1, 0}));
  EXPECT_EQ(l.Warnings, std::vector<String>{"Image exceeds Logical Screen size"});
}

TEST(GIFDecoder, DamagedCodeStreams) {
  const Bytes header = Header(4, 1, {0, 0xFFFFFF});
  const Bytes after = Concat({Descriptor(0, 0, 1, 1), ImageData(2, {{4, 3}, {1, 3}, {5, 3}}), Text(";")});
  struct Case {
    const char* what;
    Bytes data;
    String error;
    Bytes pixels;
    String warning = "";
  };
  const Case cases[] = {
      // An end code before the last pixel: the rest keeps the fill and the next frame survives.
      {"early end", ImageData(2, {{4, 3}, {1, 3}, {5, 3}}), "", {1, 0, 0, 0}},
      // The first code after the clear is the end code: its low bits become a pixel.
      {"end code first", ImageData(2, {{4, 3}, {5, 3}, {1, 3}, {5, 3}}), "", {5, 1, 0, 0}},
      // A code beyond the next free one reads like the next free one.
      {"code past table", ImageData(2, {{4, 3}, {1, 3}, {7, 3}, {5, 3}}), "", {1, 1, 1, 0}},
      // The data stops in the middle: the rest keeps the fill.
      {"truncated", ImageData(2, {{4, 3}, {1, 3}}, false), "", {1, 0, 0, 0}},
      {"code size 12", Bytes{12, 1, 0, 0}, "Invalid GIF data", {0, 0, 0, 0}},
      // No end code, the last code ending on the last bit: the one extra value finds nothing.
      {"no end code", ImageData(2, {{4, 3}, {1, 3}, {0, 3}, {1, 3}, {0, 4}}), "", {1, 0, 1, 0},
       "Decoder bit buffer under-run"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const bool complete = String(c.what) != "truncated";
    Loaded l = Load(Concat({header, Descriptor(0, 0, 4, 1), c.data, complete ? after : Bytes{}}));
    EXPECT_EQ(l.Error, c.error);
    EXPECT_EQ(l.Warnings, c.warning.empty() ? std::vector<String>{} : std::vector<String>{c.warning});
    if (!c.error.empty()) {
      EXPECT_EQ(l.Image->Images().Count(), 0);
      continue;
    }
    ASSERT_GE(l.Image->Images().Count(), 1);
    EXPECT_EQ(l.Image->Images().Images(0)->Data, c.pixels);
    if (complete) {
      EXPECT_EQ(l.Image->Images().Count(), 2);
    }
  }
}

TEST(GIFDecoder, ChainsThatLoopAreRefused) {
  // Code 6 defined as (prefix 6 ...) cannot happen in valid data; reaching code 6 right after
  // the clear refers to an entry never defined and decodes as "old code + first value".
  // A self-referring entry arises when the first code after a clear is itself undefined.
  const Bytes file = Concat({Header(8, 1, {0, 0xFFFFFF}), Descriptor(0, 0, 8, 1),
                             ImageData(2, {{4, 3}, {6, 3}, {6, 3}, {7, 3}, {5, 3}}), Text(";")});
  Loaded l = Load(file);
  EXPECT_EQ(l.Error, "Circular decoder table entry");
}

TEST(GIFDecoder, TransparentFrameEndingEarlyShowsTheTransparentColour) {
  const Bytes file = Concat({Header(3, 1, {0, 0xFFFFFF, 0xFF0000, 0x00FF00}), GraphicControl(1, 0, 3),
                             Descriptor(0, 0, 3, 1), ImageData(2, {{4, 3}, {1, 3}, {5, 3}}), Text(";")});
  Loaded l = Load(file);
  EXPECT_EQ(l.Image->Images().Images(0)->Data, (Bytes{1, 3, 3}));
}

TEST(GIFDecoder, HugeFramesAreRefusedBeforeAllocating) {
  const Bytes file = Concat({Header(0xFFFF, 0xFFFF, {0, 0xFFFFFF}), Descriptor(0, 0, 0xFFFF, 0xFFFF),
                             ImageData(2, {{4, 3}, {5, 3}}), Text(";")});
  Loaded l = Load(file);
  EXPECT_EQ(l.Error, "Invalid image dimensions");
}

// An LZW code stands for a bounded run of pixels: a frame size the rest of the file could
// not fill is a damaged descriptor's, refused before a frame of that size is allocated.
TEST(GIFDecoder, SizesTheDataCouldNotFillAreRefusedBeforeAllocating) {
  const Bytes twoColours = Header(1, 1, {0, 0xFFFFFF});
  struct Case {
    const char* what;
    Bytes file;
  };
  const Case cases[] = {
      {"a frame of 8000 x 8000", Concat({twoColours, Descriptor(0, 0, 8000, 8000), OnePixel(), Text(";")})},
      {"a second frame of 4000 x 4000",
       Concat({twoColours, Descriptor(0, 0, 1, 1), OnePixel(), Descriptor(0, 0, 4000, 4000), OnePixel(), Text(";")})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Loaded l = Load(c.file);
    EXPECT_EQ(l.Error, "Invalid image dimensions");
    for (int i = 0; i < l.Image->Images().Count(); ++i) EXPECT_LE(l.Image->Images().Images(i)->Data.size(), 1u);
  }
  // A uniform picture compresses about as well as LZW can: as our encoder wrote it, it loads.
  TGIFImage uniform;
  auto* frame = new TGIFSubImage(&uniform);
  frame->SetBounds(0, 0, 4000, 1000);
  frame->LocalColorMap.Add(clBlack);
  frame->LocalColorMap.Add(clWhite);
  uniform.Add(frame);
  const Bytes file = Save(uniform);
  Loaded l = Load(file);
  EXPECT_EQ(l.Error, "") << file.size() << " bytes";
  ASSERT_EQ(l.Image->Images().Count(), 1);
  EXPECT_EQ(l.Image->Images().Images(0)->Data, Bytes(4000 * 1000, 0));
}

// The logical screen is a canvas, not something the data fills: a small frame on a large
// screen loads. A bitmap of the screen is bounded by what one picture may take (128 MB, at
// four bytes a pixel).
TEST(GIFDecoder, AScreenLargerThanItsFramesLoads) {
  const Bytes file = Concat({Header(1000, 1000, {0, 0xFFFFFF}), Descriptor(0, 0, 1, 1), OnePixel(), Text(";")});
  ASSERT_EQ(file.size(), 35u);
  Loaded l = Load(file);
  ASSERT_EQ(l.Error, "");
  ASSERT_EQ(l.Image->Images().Count(), 1);
  TBitmap* canvas = l.Image->GetCachedBitmap();
  ASSERT_NE(canvas, nullptr);
  EXPECT_EQ(canvas->Width(), 1000);
  EXPECT_EQ(canvas->Height(), 1000);

  Loaded huge = Load(Concat({Header(8000, 8000, {0, 0xFFFFFF}), Descriptor(0, 0, 1, 1), OnePixel(), Text(";")}));
  ASSERT_EQ(huge.Error, "");
  EXPECT_EQ(huge.Image->Width(), 8000);
  try {
    huge.Image->GetCachedBitmap();
    ADD_FAILURE() << "a bitmap of 8000 x 8000 was made";
  } catch (const GIFException& e) {
    EXPECT_EQ(e.Message, "Image too large");
  }
  EXPECT_EQ(huge.Image->CachedBitmap(), nullptr);
  EXPECT_THROW(huge.Image->NewCachedBitmap(), GIFException);
}

TEST(GIFDecoder, AllFramesOfAPictureShareOneBudget) {
  // Frames of 8000 x 8000 whose data, padded past its end code, could fill them: the third
  // would take the picture past what all its frames together may hold.
  Bytes padding;
  for (int i = 0; i < 100; ++i) {
    padding.push_back(255);
    padding.insert(padding.end(), 255, 0);
  }
  const Bytes frame = Concat({Descriptor(0, 0, 8000, 8000), OnePixel(false), padding, Bytes{0}});
  Loaded l = Load(Concat({Header(8000, 8000, {0, 0xFFFFFF}), frame, frame, frame, Text(";")}));
  EXPECT_EQ(l.Error, "Image too large");
  EXPECT_EQ(l.Image->Images().Count(), 2);
}

TEST(GIFDecoder, AFrameLimitLeavesTheRestUnread) {
  const Bytes header = Header(1, 1, {0, 0xFFFFFF});
  const Bytes first = Concat({Descriptor(0, 0, 1, 1), OnePixel()});
  const Bytes damaged = Concat({Descriptor(0, 0, 1, 1), Bytes{12, 1, 0, 0}});
  const Bytes file = Concat({header, first, damaged, Text(";")});
  EXPECT_EQ(Load(file).Error, "Invalid GIF data");
  auto stream = StreamOf(file);
  TGIFImage image;
  std::vector<String> warnings;
  image.OnWarning = [&](TObject*, TGIFSeverity, const String& m) { warnings.push_back(m); };
  image.LoadFromStream(*stream, 1);
  ASSERT_EQ(image.Images().Count(), 1);
  EXPECT_EQ(image.Images().Images(0)->Data, Bytes{1});
  EXPECT_EQ(stream->Position(), static_cast<int64_t>(header.size() + first.size()));
  EXPECT_TRUE(warnings.empty());
}

TEST(GIFDecoder, TablesLongerThanTheFileFail) {
  Bytes file = Header(1, 1, {0, 0xFFFFFF});
  file[10] = 0x87;  // claims 256 entries
  EXPECT_EQ(Load(file).Error, "Premature end of data");
}

TEST(GIFDecoder, FailedLoadRewindsTheStream) {
  const Bytes file = Concat({Text("xxxxxxxxxxxxxxxxxxxx")});
  auto stream = StreamOf(file);
  stream->SetPosition(2);
  TGIFImage image;
  EXPECT_THROW(image.LoadFromStream(*stream), GIFException);
  EXPECT_EQ(stream->Position(), 2);
}
