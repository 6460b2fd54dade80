// gif_dump FILE OUTPREFIX: loads a GIF, prints its header and frames, and writes each frame
// as the animation painter shows it (composed on white) to OUTPREFIX_N.bmp, N from 0.
#include <cstdio>
#include <exception>

#include "framework/core/bitmap.h"
#include "framework/core/seams.h"
#include "imaging/GIFImage.h"

namespace {
const char* DisposalName(int d) {
  static const char* const names[] = {"none", "keep", "background", "previous"};
  return d >= 0 && d < 4 ? names[d] : "other";
}

int Dump(const String& fileName, const String& prefix) {
  TGIFImage image;
  image.OnWarning = [](TObject*, TGIFSeverity, const String& message) { std::printf("warning: %s\n", message.c_str()); };
  image.LoadFromFile(fileName);
  TGIFHeader& header = image.Header();
  std::printf("screen %dx%d global colors %d background %d aspect %d frames %d\n", image.Width(), image.Height(),
              header.ColorMap.Count(), header.Descriptor.BackgroundColorIndex, header.Descriptor.AspectRatio,
              image.Images().Count());
  for (int i = 0; i < image.Images().Count(); ++i) {
    TGIFSubImage* f = image.Images().Images(i);
    const auto* gce = f->GraphicControlExtension;
    std::printf("frame %d: %d,%d %dx%d local colors %d interlaced %d delay %d disposal %s transparent %s", i, f->Left(),
                f->Top(), f->Width(), f->Height(), f->LocalColorMap.Count(), f->Interlaced() ? 1 : 0,
                gce ? gce->Delay() : 0, DisposalName(gce ? gce->Disposal() : 0), f->Transparent ? "yes" : "no");
    if (f->Transparent) std::printf(" index %d", f->TransparentColorIndex());
    std::printf("\n");
  }
  if (image.Empty() || image.Width() == 0 || image.Height() == 0) return 0;

  // Frame delays pass in no time: the painter's clock is ours.
  DWORD now = 0;
  ScopedSeam<TClockSeam> clock({.TickCount = [&] { return now; },
                                .TimeGetTime = [&] { return now; },
                                .Sleep = [&](DWORD ms) { now += ms; }});
  TBitmap target(image.Width(), image.Height(), pf24bit);
  target.Canvas()->Brush()->SetColor(clWhite);
  target.Canvas()->FillRect(TRect{0, 0, image.Width(), image.Height()});
  int written = 0;
  auto save = [&] {
    const String name = prefix + "_" + std::to_string(written++) + ".bmp";
    target.SaveToFile(name);
  };
  image.DrawOptions = DrawTransparent | DrawAnimate | DrawDirect;
  image.OnAfterFrame = [&](TObject*) { save(); };
  image.Draw(*target.Canvas(), TRect{0, 0, image.Width(), image.Height()});
  if (written == 0) save();
  return 0;
}
}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: gif_dump FILE OUTPREFIX\n");
    return 2;
  }
  try {
    return Dump(argv[1], argv[2]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "error: %s\n", e.what());
    return 1;
  }
}
