// Draws every skinned control, in each of its states, into one picture: a column
// without a skin beside a column with the default skin, so one look at one file
// tells whether the skin's art hangs together.
//   skin_gallery.exe OUT.bmp [SKIN.ini]
// Without SKIN.ini it draws with the packed default skin linked into this program,
// the very bytes the program carries; SKIN.ini (a Windows path, such as
// Z:\work\skin\skin.ini) shows a skin's sources before they are packed.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/core/bitmap.h"
#include "framework/gui/application.h"
#include "framework/gui/forms.h"
#include "framework/gui/messages.h"
#include "skin/ksSkinCheckRadio.h"
#include "skin/ksSkinCtrls.h"
#include "skin/ksSkinData.h"
#include "skin/ksSkinForm.h"
#include "skin/ksSkinGauge.h"
#include "skin/ksSkinLabels.h"
#include "skin/ksSkinPanel.h"
#include "skin/ksSkinScrollBar.h"
#include "skin/ksSkinSpeedButton.h"
#include "skin/ksSkinToolBar.h"

namespace {

// Builds the controls of one row on `parent`, skinned by `skin` (null: the look
// without a skin), each in the state the row shows; they are shown side by side.
using TMakeControls = std::function<std::vector<TControl*>(TWinControl* parent, TksSkinData* skin)>;
using TMakeControl = std::function<TControl*(TWinControl* parent, TksSkinData* skin)>;

struct TGalleryRow {
  const char* caption;
  TMakeControls make;
};

// One row of one control.
TMakeControls One(TMakeControl make) {
  return [=](TWinControl* parent, TksSkinData* skin) { return std::vector<TControl*>{make(parent, skin)}; };
}

// One row of several controls.
TMakeControls Several(std::vector<TMakeControl> makes) {
  return [=](TWinControl* parent, TksSkinData* skin) {
    std::vector<TControl*> controls;
    for (const auto& make : makes) controls.push_back(make(parent, skin));
    return controls;
  };
}

constexpr int kCaptionWidth = 150;
constexpr int kColumnWidth = 250;
constexpr int kPad = 8;
constexpr int kHeaderHeight = 28;
const TColor kCaptionColor = static_cast<TColor>(0x505050);
const TColor kRuleColor = static_cast<TColor>(0xDCDCDC);

template <class T>
T* Place(TWinControl* parent, TksSkinData* skin, int width, int height) {
  auto* c = new T(parent);
  c->SetParent(parent);
  c->SetBounds(0, 0, width, height);
  c->SetSkinData(skin);
  return c;
}

// A small picture of our own for the buttons that show a glyph: a blue disc.
void DrawGlyph(TBitmap& glyph, TColor color) {
  glyph.SetSize(16, 16);
  TCanvas* c = glyph.Canvas();
  c->Brush()->SetColor(clFuchsia);  // the transparent colour of glyphs
  c->FillRect(TRect{0, 0, 16, 16});
  c->Brush()->SetColor(color);
  c->Pen()->SetColor(static_cast<TColor>(0x603010));
  c->Ellipse(2, 2, 14, 14);
}

TMakeControl Button(const char* caption, const std::function<void(TksSkinButton&)>& state) {
  return [=](TWinControl* parent, TksSkinData* skin) -> TControl* {
    auto* b = Place<TksSkinButton>(parent, skin, 90, 25);
    b->SetCaption(caption);
    state(*b);
    return b;
  };
}

void Press(TControl& c) {
  c.Perform(CM_MOUSEENTER, 0, 0);
  c.Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
}

TMakeControl Panel(bool caption) {
  return [=](TWinControl* parent, TksSkinData* skin) -> TControl* {
    auto* p = Place<TksSkinPanel>(parent, skin, 200, 56);
    p->SetCaption("Panel");
    if (caption) {
      // A form's caption panel takes the section that carries a caption bar.
      p->SetSkinDataName("rolluppanel");
      p->SetCaptionMode(true);
      p->SetRollUpMode(true);
      p->SetSkinData(skin);
    }
    return p;
  };
}

TMakeControl GroupBox() {
  return [](TWinControl* parent, TksSkinData* skin) -> TControl* {
    auto* g = Place<TksSkinGroupBox>(parent, skin, 200, 64);
    g->SetCaption("Group box");
    return g;
  };
}

// A tool bar holding four speed buttons: normal, hot, pressed and disabled.
TMakeControl ToolBar() {
  return [](TWinControl* parent, TksSkinData* skin) -> TControl* {
    auto* bar = Place<TksSkinToolBar>(parent, skin, 200, 30);
    bar->HandleNeeded();
    for (int i = 0; i < 4; ++i) {
      auto* s = new TksSkinSpeedButton(bar);
      s->SetBounds(3 + i * 48, 3, 46, 24);
      s->SetParent(bar);
      s->SetSkinData(skin);
      TBitmap glyph;
      DrawGlyph(glyph, static_cast<TColor>(0xE0A040));
      s->SetGlyph(&glyph);
      if (i == 1) s->Perform(CM_MOUSEENTER, 0, 0);
      if (i == 2) Press(*s);
      if (i == 3) s->SetEnabled(false);
    }
    return bar;
  };
}

TMakeControl CheckBox(bool radio, bool checked, const std::function<void(TksSkinCheckRadioBox&)>& state) {
  return [=](TWinControl* parent, TksSkinData* skin) -> TControl* {
    auto* box = new TksSkinCheckRadioBox(parent);
    box->SetParent(parent);
    if (radio) {
      // As a form sets up its radio buttons.
      box->SetRadio(true);
      box->SetSkinDataName("radiobox");
    }
    box->SetBounds(0, 0, 110, 20);
    box->SetSkinData(skin);
    box->SetCaption(radio ? (checked ? "Chosen" : "Other") : (checked ? "Checked" : "Unchecked"));
    box->SetChecked(checked);
    state(*box);
    return box;
  };
}

void NoState(TControl&) {}
void Hot(TControl& c) { c.Perform(CM_MOUSEENTER, 0, 0); }
void Disable(TControl& c) { c.SetEnabled(false); }

TMakeControl Gauge(bool vertical, int value) {
  return [=](TWinControl* parent, TksSkinData* skin) -> TControl* {
    auto* g = new TksSkinGauge(parent);
    g->SetParent(parent);
    if (vertical) {
      g->SetSkinDataName("vgauge");
      g->SetVertical(true);
    }
    // The skin's gauges keep their strip's thickness: shown at the face's own.
    g->SetBounds(0, 0, vertical ? 16 : 200, vertical ? 90 : 16);
    g->SetSkinData(skin);
    g->SetShowPercent(true);
    g->SetValue(value);
    return g;
  };
}

TMakeControl ScrollBar(bool vertical, int position, const std::function<void(TksSkinScrollBar&)>& state) {
  return [=](TWinControl* parent, TksSkinData* skin) -> TControl* {
    auto* bar = new TksSkinScrollBar(parent);
    bar->SetParent(parent);
    if (vertical) {
      bar->SetSkinDataName("vscrollbar");
      bar->SetKind(sbVertical);
    }
    bar->SetBounds(0, 0, vertical ? 17 : 200, vertical ? 100 : 17);
    bar->SetSkinData(skin);
    bar->SetRange(0, 100, 25, position);
    state(*bar);
    return bar;
  };
}

template <class T>
TMakeControl Label(const char* caption, int width, int height, void (*state)(TControl&)) {
  return [=](TWinControl* parent, TksSkinData* skin) -> TControl* {
    auto* l = Place<T>(parent, skin, width, height);
    l->SetCaption(caption);
    state(*l);
    return l;
  };
}

TMakeControl StatusPanel() {
  return [](TWinControl* parent, TksSkinData* skin) -> TControl* {
    auto* s = Place<TksSkinStatusPanel>(parent, skin, 200, 20);
    TBitmap glyph;
    DrawGlyph(glyph, static_cast<TColor>(0x40B040));
    s->SetGlyph(&glyph);
    s->SetCaption("Status: 12 files found");
    return s;
  };
}

std::vector<TGalleryRow> GalleryRows() {
  auto button = [](const char* caption, void (*state)(TControl&)) {
    return One(Button(caption, [state](TksSkinButton& b) { state(b); }));
  };
  std::vector<TGalleryRow> rows = {
      {"Button", button("Button", NoState)},
      {"Button, hot", button("Hot", Hot)},
      {"Button, pressed", button("Pressed", Press)},
      {"Button, disabled", button("Disabled", Disable)},
      {"Button, default", One(Button("Default", [](TksSkinButton& b) {
         b.HandleNeeded();
         b.SetDefault(true);
       }))},
      {"Button with glyph", One(Button("Glyph", [](TksSkinButton& b) {
         TBitmap glyph;
         DrawGlyph(glyph, static_cast<TColor>(0xE0A040));
         b.SetGlyph(&glyph);
       }))},
      {"Check box", Several({CheckBox(false, false, NoState), CheckBox(false, true, NoState)})},
      {"Check box, hot", Several({CheckBox(false, false, Hot), CheckBox(false, true, Hot)})},
      {"Check box, disabled", Several({CheckBox(false, false, Disable), CheckBox(false, true, Disable)})},
      {"Radio box", Several({CheckBox(true, true, NoState), CheckBox(true, false, NoState)})},
      {"Radio box, hot / disabled", Several({CheckBox(true, true, Hot), CheckBox(true, false, Disable)})},
      {"Std label / disabled", Several({Label<TksSkinStdLabel>("Std label", 100, 16, NoState),
                                        Label<TksSkinStdLabel>("Disabled", 100, 16, Disable)})},
      {"Label", One(Label<TksSkinLabel>("Label on a face", 200, 18, NoState))},
      {"Status panel", One(StatusPanel())},
      {"Panel", One(Panel(false))},
      {"Panel, caption and roll-up", One(Panel(true))},
      {"Group box", One(GroupBox())},
      {"Gauge at 0", One(Gauge(false, 0))},
      {"Gauge at 35", One(Gauge(false, 35))},
      {"Gauge at 100", One(Gauge(false, 100))},
      {"Gauge, upright", Several({Gauge(true, 0), Gauge(true, 20), Gauge(true, 60), Gauge(true, 100)})},
      {"Scroll bar", One(ScrollBar(false, 30, [](TksSkinScrollBar&) {}))},
      {"Scroll bar, hot button", One(ScrollBar(false, 60, [](TksSkinScrollBar& b) {
         b.Perform(CM_MOUSEENTER, 0, 0);
         b.Perform(WM_MOUSEMOVE, 0, MAKELPARAM(b.Width() - 8, b.Height() / 2));
       }))},
      {"Scroll bar, thumb held", One(ScrollBar(false, 60, [](TksSkinScrollBar& b) {
         const int x = b.Width() * 2 / 3;  // the thumb's middle at 60 of 0..100 with a page of 25
         b.Perform(CM_MOUSEENTER, 0, 0);
         b.Perform(WM_MOUSEMOVE, 0, MAKELPARAM(x, b.Height() / 2));
         b.Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, b.Height() / 2));
       }))},
      {"Scroll bar, disabled", One(ScrollBar(false, 30, [](TksSkinScrollBar& b) { b.SetEnabled(false); }))},
      {"Scroll bar, upright", Several({ScrollBar(true, 0, [](TksSkinScrollBar&) {}),
                                       ScrollBar(true, 50, [](TksSkinScrollBar&) {}),
                                       ScrollBar(true, 100, [](TksSkinScrollBar&) {})})},
      {"Tool bar", One(ToolBar())},
  };
  return rows;
}

// Paints `control` through WM_PAINT into a bitmap of its size over `background`.
void PaintControl(TControl& control, TColor background, TBitmap& shot) {
  shot.SetSize(control.Width(), control.Height());
  shot.Canvas()->Brush()->SetColor(background);
  shot.Canvas()->FillRect(TRect{0, 0, control.Width(), control.Height()});
  control.Perform(WM_PAINT, reinterpret_cast<WPARAM>(shot.Canvas()->Handle()), 0);
}

void Caption(TCanvas& c, int x, int y, const String& text, bool bold) {
  c.Brush()->SetStyle(bsClear);
  c.Font()->SetName("Tahoma");
  c.Font()->SetHeight(-11);
  c.Font()->SetColor(kCaptionColor);
  c.Font()->SetStyle(bold ? TFontStyles{fsBold} : TFontStyles{0});
  c.TextOut(x, y, text);
  c.Brush()->SetStyle(bsSolid);
}

// The controls of one row in one column, painted side by side.
struct TCell {
  std::vector<std::unique_ptr<TBitmap>> shots;
  int Height() const {
    int h = 0;
    for (const auto& s : shots) h = std::max(h, s->Height());
    return h;
  }
  void DrawAt(TCanvas& c, int x, int y) const {
    for (const auto& s : shots) {
      c.Draw(x, y, s.get());
      x += s->Width() + kPad;
    }
  }
};

TCell PaintRow(const TGalleryRow& row, TWinControl& host, TksSkinData* skin) {
  TCell cell;
  for (TControl* c : row.make(&host, skin)) {
    cell.shots.push_back(std::make_unique<TBitmap>());
    PaintControl(*c, host.Color(), *cell.shots.back());
    c->Free();
  }
  return cell;
}

TColor SkinClientColor(TksSkinData& skin) {
  const TRect& r = skin.ClientRect;
  if (skin.Picture.Empty() || IsNullRect(r)) return clBtnFace;
  return skin.Picture.Canvas()->Pixels((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
}

// ---- frames ---------------------------------------------------------------------

// A form's whole window as the frame shows it: the composed non-client picture
// with the client background inside.
struct TFrameShot {
  TBorderStyle style = bsSizeable;
  TksBorderIcons icons{TksBorderIcon::SystemMenu, TksBorderIcon::Minimize, TksBorderIcon::Maximize,
                       TksBorderIcon::RollUp};
  bool active = true;
  const char* caption = "Recover files";
  std::function<void(TksSkinForm&)> state = [](TksSkinForm&) {};
};

std::unique_ptr<TBitmap> ShootFrame(TksSkinData* skin, const TFrameShot& how) {
  TForm* form = new TForm(Application);
  form->SetBorderStyle(how.style);
  form->SetBounds(0, 0, 232, 104);
  form->SetCaption(how.caption);
  form->HandleNeeded();
  auto* frame = new TksSkinForm(form);
  frame->SetBorderIcons(how.icons);
  frame->SetSkinData(skin);
  form->Perform(WM_NCACTIVATE, how.active ? 1 : 0, 0);
  auto shot = std::make_unique<TBitmap>();
  frame->ComposeNonClient(*shot);  // lays the objects out
  how.state(*frame);
  frame->ComposeNonClient(*shot);
  RECT client{0, 0, shot->Width(), shot->Height()};
  form->Perform(WM_NCCALCSIZE, 0, reinterpret_cast<LPARAM>(&client));
  if (client.right > client.left && client.bottom > client.top) {
    TBitmap inside(client.right - client.left, client.bottom - client.top);
    frame->PaintClientBackground(inside.Canvas());
    shot->Canvas()->Draw(client.left, client.top, &inside);
  }
  ReleaseCapture();
  form->Free();
  return shot;
}

// The pointer over, or pressing, the frame's close button.
void OnClose(TksSkinForm& frame, bool press) {
  for (const auto& o : frame.Objects())
    if (auto* b = dynamic_cast<TksSkinStdButtonObject*>(o.get()); b && b->Command == cmClose) {
      const TRect& r = b->ObjectRect;
      frame.TestActive((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2, true);
      b->SetMorphSteps(5);  // the hover fade run to its end
      if (press) frame.MouseDownToObject(mbLeft, r.Left + 2, r.Top + 2);
    }
}

struct TFrameRow {
  const char* caption;
  TFrameShot how;
};

const std::vector<TFrameRow>& FrameRows() {
  static const std::vector<TFrameRow> rows = {
      {"Form frame, active", {}},
      {"Form frame, inactive", {.active = false}},
      {"Close button, hot", {.state = [](TksSkinForm& f) { OnClose(f, false); }}},
      {"Close button, pressed", {.state = [](TksSkinForm& f) { OnClose(f, true); }}},
      {"Dialog without icons", {.style = bsDialog, .icons = {}, .caption = "Select file types"}},
      {"Rolled up", {.state = [](TksSkinForm& f) { f.SetRollUpState(true); }}},
      {"Tool window", {.style = bsToolWindow, .icons = {}, .caption = "Tools"}},
  };
  return rows;
}

TCell ShootFrameRow(const TFrameRow& row, TksSkinData* skin) {
  TCell cell;
  cell.shots.push_back(ShootFrame(skin, row.how));
  return cell;
}

// Every row drawn twice, without and with `skin`, on controls parented to `host`.
void RenderGallery(TWinControl& host, TksSkinData& skin, TBitmap& out) {
  struct Row {
    const char* caption;
    TCell plain, skinned;
    int Height() const { return std::max(plain.Height(), skinned.Height()) + 2 * kPad; }
  };
  // Each column stands on what its controls would: the system's face colour, or
  // the client area of the skin's own window.
  const TColor plainBack = clBtnFace;
  const TColor skinBack = SkinClientColor(skin);
  std::vector<Row> rows;
  int height = kHeaderHeight;
  for (const TGalleryRow& r : GalleryRows()) {
    Row row{r.caption, {}, {}};
    host.SetColor(plainBack);
    row.plain = PaintRow(r, host, nullptr);
    host.SetColor(skinBack);
    row.skinned = PaintRow(r, host, &skin);
    height += row.Height();
    rows.push_back(std::move(row));
  }
  for (const TFrameRow& r : FrameRows()) {
    Row row{r.caption, ShootFrameRow(r, nullptr), ShootFrameRow(r, &skin)};
    height += row.Height();
    rows.push_back(std::move(row));
  }

  const int skinLeft = kCaptionWidth + kColumnWidth;
  out.SetPixelFormat(pf24bit);
  out.SetSize(skinLeft + kColumnWidth, height);
  TCanvas& c = *out.Canvas();
  c.Brush()->SetColor(plainBack);
  c.FillRect(TRect{0, 0, skinLeft, out.Height()});
  c.Brush()->SetColor(skinBack);
  c.FillRect(TRect{skinLeft, 0, out.Width(), out.Height()});
  Caption(c, kCaptionWidth + kPad, 8, "Without a skin", true);
  Caption(c, kCaptionWidth + kColumnWidth + kPad, 8, "Default skin", true);
  int y = kHeaderHeight;
  for (const Row& row : rows) {
    c.Brush()->SetColor(kRuleColor);
    c.FillRect(TRect{0, y, out.Width(), y + 1});
    Caption(c, kPad, y + kPad, row.caption, false);
    row.plain.DrawAt(c, kCaptionWidth + kPad, y + kPad);
    row.skinned.DrawAt(c, kCaptionWidth + kColumnWidth + kPad, y + kPad);
    y += row.Height();
  }
}

void EnsureApplication() {
  if (Application) return;
  auto* app = new TApplication(nullptr);
  app->Initialize();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: skin_gallery OUT.bmp [SKIN.ini]\n");
    return 2;
  }
  try {
    EnsureApplication();
    TksCompressedStoredSkin stored(nullptr);
    if (argc == 3)
      stored.LoadFromIniFile(argv[2]);
    else
      stored.LoadFromResource(GetModuleHandleA(nullptr), "DEFAULTSKIN");
    TksSkinData data(nullptr);
    // Headless: no forms to tell about the new skin.
    data.FormWindows = [] { return std::vector<HWND>{}; };
    if (!stored.IsEmpty()) data.SetCompressedStoredSkin(&stored);
    if (data.Empty) {
      std::fprintf(stderr, "skin_gallery: no usable skin in %s\n", argc == 3 ? argv[2] : "the program");
      return 1;
    }
    TForm* form = new TForm(Application);
    form->SetBounds(0, 0, 640, 480);
    TBitmap gallery;
    RenderGallery(*form, data, gallery);
    form->Free();
    gallery.SaveToFile(argv[1]);
    std::printf("%s: %d x %d\n", argv[1], gallery.Width(), gallery.Height());
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "skin_gallery: %s\n", e.what());
    return 1;
  }
}
