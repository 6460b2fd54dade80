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
#include "framework/core/seams.h"
#include "framework/gui/application.h"
#include "framework/gui/forms.h"
#include "framework/gui/imagelist.h"
#include "framework/gui/menus.h"
#include "framework/gui/messages.h"
#include "skin/boxes/ksSkinCheckListBox.h"
#include "skin/boxes/ksSkinComboBox.h"
#include "skin/boxes/ksSkinEdit.h"
#include "skin/boxes/ksSkinListBox.h"
#include "skin/boxes/ksSkinMemo.h"
#include "skin/controls/ksSkinBevel.h"
#include "skin/controls/ksSkinCheckRadio.h"
#include "skin/controls/ksSkinCtrls.h"
#include "skin/controls/ksSkinGauge.h"
#include "skin/controls/ksSkinLabels.h"
#include "skin/controls/ksSkinLinkLabel.h"
#include "skin/controls/ksSkinScrollBar.h"
#include "skin/controls/ksSkinSpeedButton.h"
#include "skin/controls/ksSkinSplitter.h"
#include "skin/controls/ksSkinUpDown.h"
#include "skin/controls/ksSkinXFormButton.h"
#include "skin/data/ksSkinData.h"
#include "skin/dialogs/ksMessages.h"
#include "skin/frame/ksSkinForm.h"
#include "skin/frame/ksSkinMDITabsBar.h"
#include "skin/menus/ksSkinHint.h"
#include "skin/menus/ksSkinMainMenuBar.h"
#include "skin/menus/ksSkinMenus.h"
#include "skin/shell/ksSkinShellDriveComboBox.h"
#include "skin/views/ksPaintWithChildren.h"
#include "skin/views/ksSkinExPanel.h"
#include "skin/views/ksSkinListView.h"
#include "skin/views/ksSkinPanel.h"
#include "skin/views/ksSkinScrollBox.h"
#include "skin/views/ksSkinToolBar.h"
#include "skin/views/ksSkinTreeView.h"

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

// ---- views: speed buttons, bevels, link labels, splitter, expandable panel ----------

TMakeControl SpeedButton(const std::function<void(TksSkinSpeedButton&)>& state) {
  return [=](TWinControl* parent, TksSkinData* skin) -> TControl* {
    auto* b = Place<TksSkinSpeedButton>(parent, skin, 46, 24);
    TBitmap glyph;
    DrawGlyph(glyph, static_cast<TColor>(0xE0A040));
    b->SetGlyph(&glyph);
    state(*b);
    return b;
  };
}

// Stands in for the skinned popup menu: the gallery only shows the open state.
struct TNoPopup : IksSkinPopup {
  void PopupFromControl(const TRect&, TControl*) override {}
};
TNoPopup galleryPopup;

TMakeControl MenuSpeedButton(bool open) {
  return [=](TWinControl* parent, TksSkinData* skin) -> TControl* {
    auto* b = Place<TksSkinMenuSpeedButton>(parent, skin, 60, 24);
    b->SetCaption("Menu");
    b->TrackButtonMode = true;
    b->SetSkinPopupMenu(&galleryPopup, nullptr);
    if (open) {
      b->Perform(CM_MOUSEENTER, 0, 0);
      b->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(b->Width() - 5, 5));
    }
    return b;
  };
}

TMakeControl Bevel(TBevelShape shape, TBevelStyle style, bool divider) {
  return [=](TWinControl* parent, TksSkinData* skin) -> TControl* {
    auto* b = Place<TksSkinBevel>(parent, skin, 36, 28);
    b->SetShape(shape);
    b->SetStyle(style);
    b->SetDividerMode(divider);
    return b;
  };
}

// A splitter aligned in a small host of its own, shown with the host.
TMakeControl Splitter(TAlign align) {
  return [=](TWinControl* parent, TksSkinData* skin) -> TControl* {
    auto* host = new TPanel(parent);
    host->SetParent(parent);
    host->SetBevelOuter(bvNone);
    host->SetColor(parent->Color());
    host->SetBounds(0, 0, 100, 40);
    auto* s = new TksSkinSplitter(host);
    s->SetParent(host);
    s->SetAlign(align);
    s->SetSkinData(skin);
    return host;
  };
}

TMakeControl ExPanel(int width, const std::function<void(TksSkinExPanel&)>& state) {
  return [=](TWinControl* parent, TksSkinData* skin) -> TControl* {
    auto* p = Place<TksSkinExPanel>(parent, skin, width, 90);
    p->SetCaption("Details");
    p->DefaultFont()->SetStyle(fsBold);
    p->HandleNeeded();
    state(*p);
    return p;
  };
}

void MouseOnButton(TksSkinExPanel& p, int button, bool press) {
  const TRect r = p.ButtonRect(button);
  const LPARAM at = MAKELPARAM((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
  p.Perform(WM_MOUSEMOVE, 0, at);
  if (press) p.Perform(WM_LBUTTONDOWN, MK_LBUTTON, at);
}

TMakeControl ShapedButton() {
  return [](TWinControl* parent, TksSkinData* skin) -> TControl* {
    auto* b = new TksSkinXFormButton(parent);
    b->SetParent(parent);
    // A pill of our own drawing, and its mask.
    TBitmap image, mask;
    image.SetSize(90, 30);
    mask.SetSize(90, 30);
    for (TBitmap* bmp : {&image, &mask}) {
      bmp->Canvas()->Brush()->SetColor(bmp == &image ? clBtnFace : clWhite);
      bmp->Canvas()->FillRect(TRect{0, 0, 90, 30});
    }
    image.Canvas()->Brush()->SetColor(static_cast<TColor>(0xE8C090));
    image.Canvas()->Pen()->SetColor(static_cast<TColor>(0x805020));
    image.Canvas()->RoundRect(0, 0, 90, 30, 28, 28);
    mask.Canvas()->Brush()->SetColor(clBlack);
    mask.Canvas()->Pen()->SetColor(clBlack);
    mask.Canvas()->RoundRect(0, 0, 90, 30, 28, 28);
    b->SetDefImage(&image);
    b->SetDefMask(&mask);
    b->SetCaption("Shaped");
    b->SetSkinData(skin);
    return b;
  };
}

// A view with its linked bars, in a host panel as a form places them.
TMakeControl TreeWithBars() {
  return [](TWinControl* parent, TksSkinData* skin) -> TControl* {
    auto* host = new TPanel(parent);
    host->SetParent(parent);
    host->SetBevelOuter(bvNone);
    host->SetBounds(0, 0, 200, 110);
    auto* v = Place<TksSkinScrollBar>(host, skin, 17, 10);
    v->SetSkinDataName("vscrollbar");
    v->SetKind(sbVertical);
    v->SetSkinData(skin);
    v->SetAlign(alRight);
    auto* h = Place<TksSkinScrollBar>(host, skin, 10, 17);
    h->SetAlign(alBottom);
    auto* tree = new TksSkinTreeView(host);
    tree->SetParent(host);
    tree->SetAlign(alClient);
    tree->SetSkinData(skin);
    tree->SetVScrollBar(v);
    tree->SetHScrollBar(h);
    for (int i = 0; i < 3; ++i) {
      // Appending, not operator+ on a literal: GCC 12 warns falsely (-Wrestrict) on that in
      // 32-bit builds.
      std::string name = "Card folder ";
      name += std::to_string(i + 1);
      TTreeNode* folder = tree->Items()->AddChild(nullptr, name);
      for (int k = 0; k < 6; ++k) {
        std::string picture = "Recovered picture number ";
        picture += std::to_string(k + 1);
        tree->Items()->AddChild(folder, picture);
      }
      folder->Expand(false);
    }
    tree->Perform(WM_PAINT, 0, 0);
    return host;
  };
}

TMakeControl ReportList(bool pressed) {
  return [=](TWinControl* parent, TksSkinData* skin) -> TControl* {
    auto* list = Place<TksSkinListView>(parent, skin, 210, 70);
    list->SetViewStyle(vsReport);
    list->AddColumn("Name", 80);
    list->AddColumn("Size", 50)->SetAlignment(taRightJustify);
    list->AddColumn("A long description", 60);
    for (int i = 0; i < 5; ++i) list->AddItem("IMG_" + std::to_string(100 + i) + ".JPG");
    list->HandleNeeded();
    if (pressed) SendMessageA(list->HeaderHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 5));
    return list;
  };
}

std::vector<TGalleryRow> ViewRows() {
  auto speed = [](void (*state)(TksSkinSpeedButton&)) { return SpeedButton(state); };
  return {
      {"Speed button: normal, hot, down", Several({speed([](TksSkinSpeedButton&) {}),
                                                   speed([](TksSkinSpeedButton& b) { Hot(b); }),
                                                   speed([](TksSkinSpeedButton& b) { Press(b); })})},
      {"Speed button: group down, disabled, flat",
       Several({speed([](TksSkinSpeedButton& b) {
                  b.SetGroupIndex(1);
                  b.SetDown(true);
                }),
                speed([](TksSkinSpeedButton& b) { b.SetEnabled(false); }),
                speed([](TksSkinSpeedButton& b) { b.SetFlat(true); })})},
      {"Menu speed button, open", Several({MenuSpeedButton(false), MenuSpeedButton(true)})},
      {"Bevel: lowered, raised, frame",
       Several({Bevel(bsBox, bsLowered, false), Bevel(bsBox, bsRaised, false), Bevel(bsFrame, bsLowered, false),
                Bevel(bsTopLine, bsLowered, false)})},
      {"Bevel dividers", Several({Bevel(bsFrame, bsLowered, true), Bevel(bsTopLine, bsLowered, true)})},
      {"Link label: normal, hover, disabled",
       Several({Label<TksSkinLinkLabel>("Web site", 70, 16, NoState), Label<TksSkinLinkLabel>("Hover", 60, 16, Hot),
                Label<TksSkinLinkLabel>("Disabled", 70, 16, Disable)})},
      {"Splitter: across, upright", Several({Splitter(alTop), Splitter(alLeft)})},
      {"Expandable panel", One(ExPanel(150, [](TksSkinExPanel&) {}))},
      {"Ex panel: hot roll, pressed close",
       Several({ExPanel(110, [](TksSkinExPanel& p) { MouseOnButton(p, 1, false); }),
                ExPanel(110, [](TksSkinExPanel& p) { MouseOnButton(p, 0, true); })})},
      {"Ex panel rolled up, both ways", Several({ExPanel(150, [](TksSkinExPanel& p) { p.SetRollState(true); }),
                                                 ExPanel(150, [](TksSkinExPanel& p) {
                                                   p.SetRollKind(rkRollHorizontal);
                                                   p.SetRollState(true);
                                                 })})},
      {"Shaped button", One(ShapedButton())},
      {"Tree view with both bars", One(TreeWithBars())},
      {"Report list and header", One(ReportList(false))},
      {"Report list, section pressed", One(ReportList(true))},
  };
}

// The list controls fill their items once placed; `items` texts, then the state.
template <class T>
TMakeControl List(const char* sectionName, int items, const std::function<void(T&)>& state) {
  return [=](TWinControl* parent, TksSkinData* skin) -> TControl* {
    auto* l = new T(parent);
    l->SetParent(parent);
    l->SetBounds(0, 0, 150, 96);
    l->HandleNeeded();
    l->SetSkinDataName(sectionName);
    l->SetSkinData(skin);
    const char* names[] = {"Photos", "Video", "Sound", "Documents", "Archives", "Other",
                           "Raw images", "Icons", "Fonts", "Mail", "Databases", "Programs"};
    for (int i = 0; i < items && i < 12; ++i) l->Items()->Add(names[i]);
    state(*l);
    return l;
  };
}

// A scroll box with a linked vertical bar, on a plain host as a form would hold them.
TMakeControl ScrollBoxWithBar() {
  return [](TWinControl* parent, TksSkinData* skin) -> TControl* {
    auto* host = Place<TksSkinPanel>(parent, nullptr, 160, 90);
    host->SetBorderStyle(TksSkinBorderStyle::bvNone);
    host->HandleNeeded();
    auto* box = Place<TksSkinScrollBox>(host, skin, 140, 90);
    auto* bar = new TksSkinScrollBar(host);
    bar->SetKind(sbVertical);  // before the skin, which names the section by kind
    bar->SetParent(host);
    bar->SetBounds(142, 0, 17, 90);
    bar->SetSkinDataName("vscrollbar");
    bar->SetSkinData(skin);
    box->SetVScrollBar(bar);
    for (int i = 0; i < 4; ++i) {
      auto* child = Place<TksSkinButton>(box, skin, 100, 25);
      child->SetTop(4 + i * 30);
      child->SetLeft(10);
      String caption = "Thumbnail ";
      caption += static_cast<char>('1' + i);
      child->SetCaption(caption);
    }
    box->UpdateScrollBars();
    return host;
  };
}

std::vector<TGalleryRow> ListRows() {
  using L = TksSkinListBox;
  using C = TksSkinCheckListBox;
  return {
      {"List box", One(List<L>("listbox", 3, [](L&) {}))},
      {"List box, selection", One(List<L>("listbox", 3, [](L& l) { l.SetItemIndex(1); }))},
      {"List box, vertical bar", One(List<L>("listbox", 12, [](L& l) { l.SetItemIndex(2); }))},
      {"List box, both bars", One(List<L>("listbox", 12, [](L& l) {
         l.Items()->Add("A name much wider than the list itself");
         l.SetHorizontalExtent(true);
         // A skin's tiny font can fit the name: then there is no bar to scroll.
         if (TksSkinScrollBar* bar = l.HScrollBar()) bar->SetPosition(12);
       }))},
      {"List box, caption", One(List<L>("captionlistbox", 4, [](L& l) {
         l.SetCaption("Backups");
         l.SetCaptionMode(true);
         l.Perform(CM_MOUSEENTER, 0, 0);
         const TRect up = l.Button(TksSkinListFrame::kUpButton).R;
         l.Perform(WM_MOUSEMOVE, 0, MAKELPARAM(up.Left + 3, up.Top + 3));
       }))},
      {"Check list box", One(List<C>("checklistbox", 4, [](C& l) {
         l.SetChecked(0, true);
         l.SetChecked(2, true);
         l.SetItemIndex(2);
       }))},
      {"Check list, caption, bar", One(List<C>("captionchecklistbox", 8, [](C& l) {
         l.SetCaption("File types");
         l.SetCaptionMode(true);
         l.SetChecked(1, true);
       }))},
      {"Scroll box with a bar", One(ScrollBoxWithBar())},
  };
}


// A picture a window of its own painted (a menu level, a hint), standing in a row.
class TShot : public TCustomControl {
 public:
  TShot(TWinControl* parent, std::unique_ptr<TBitmap> shot) : TCustomControl(parent), shot_(std::move(shot)) {
    SetParent(parent);
    SetBounds(0, 0, shot_->Width(), shot_->Height());
  }

 protected:
  void Paint() override { Canvas()->Draw(0, 0, shot_.get()); }

 private:
  std::unique_ptr<TBitmap> shot_;
};

// A menu level with every kind of item, or a scrolling one in a low work area.
TMakeControl Menu(bool scrolling) {
  return [=](TWinControl* parent, TksSkinData* skin) -> TControl* {
    ScopedSeam<TScreenSeam> low{TScreenSeam{.Monitors = [scrolling] {
      TMonitorInfo m;
      m.Bounds = m.WorkArea = RECT{0, 0, 1024, scrolling ? 150 : 768};
      m.Primary = true;
      return std::vector<TMonitorInfo>{m};
    }}};
    TPopupMenu menu(nullptr);
    TCustomImageList images(16, 16);
    TBitmap glyph;
    DrawGlyph(glyph, static_cast<TColor>(0xE0A040));
    images.AddMasked(&glyph, clFuchsia);
    menu.Images = &images;
    const auto add = [&](const char* caption, const std::function<void(TMenuItem&)>& state) {
      auto* item = new TMenuItem(&menu);
      item->SetCaption(caption);
      state(*item);
      menu.Items()->Add(item);
    };
    if (scrolling) {
      for (int i = 1; i <= 12; ++i) add(("Item " + std::to_string(i)).c_str(), [](TMenuItem&) {});
    } else {
      add("&Open", [](TMenuItem&) {});
      add("&Save", [](TMenuItem& i) { i.SetShortCut(ShortCut('S', ssCtrl)); });
      add("Disabled", [](TMenuItem& i) { i.SetEnabled(false); });
      add("-", [](TMenuItem&) {});
      add("Checked", [](TMenuItem& i) { i.SetChecked(true); });
      add("Radio", [](TMenuItem& i) {
        i.SetRadioItem(true);
        i.SetChecked(true);
      });
      add("Picture", [](TMenuItem& i) { i.SetImageIndex(0); });
      add("Picture, checked", [](TMenuItem& i) {
        i.SetImageIndex(0);
        i.SetChecked(true);
      });
      add("Submenu", [&](TMenuItem& i) { i.Add(new TMenuItem(&menu)); });
    }
    TksSkinMenu engine(nullptr, parent);
    engine.Popup(nullptr, skin, false, menu.Items(), TRect{0, 0, 0, 0}, 0);
    TksSkinPopupWindow* level = engine.TopLevel();
    if (scrolling) level->ScrollDown(false);
    auto shot = std::make_unique<TBitmap>(level->Width(), level->Height());
    level->PaintMenu(shot->Canvas()->Handle());
    return new TShot(parent, std::move(shot));
  };
}

TMakeControl Hint(const char* text) {
  return [=](TWinControl* parent, TksSkinData* skin) -> TControl* {
    TksSkinHint hint(parent);
    hint.SetSkinData(skin);
    TksSkinHintWindow* w = hint.HintWindow();
    w->ActivateHint(TRect{0, 0, 0, 0}, text);
    auto shot = std::make_unique<TBitmap>(w->Width(), w->Height());
    w->PaintTo(shot->Canvas()->Handle());
    return new TShot(parent, std::move(shot));
  };
}


// A message box as it would show: its frame with the client and its controls.
TMakeControl MessageBox() {
  return [](TWinControl* parent, TksSkinData* skin) -> TControl* {
    TksSkinMessage settings(nullptr);
    settings.SetSkinData(skin);
    settings.SetCtrlSkinData(skin);
    TOwnedPtr<TksMessageForm> box(
        CreateSkinMessageForm("Recover the files now?", ksmtConfirmation, {ksmbYes, ksmbNo}, 0, settings));
    box->HandleNeeded();
    box->Perform(WM_NCACTIVATE, 1, 0);
    auto shot = std::make_unique<TBitmap>();
    box->SkinFormComponent()->ComposeNonClient(*shot);
    PaintTreeAt(*box, shot->Canvas()->Handle(), 0, 0);  // the client and its controls inside the frame
    return new TShot(parent, std::move(shot));
  };
}

// A frame's system menu for a maximized form with every caption button.
TMakeControl SystemMenu() {
  return [](TWinControl* parent, TksSkinData* skin) -> TControl* {
    TOwnedPtr<TForm> form(new TForm(Application));
    auto* frame = new TksSkinForm(form.get());
    frame->SetBorderIcons({TksBorderIcon::SystemMenu, TksBorderIcon::Minimize, TksBorderIcon::Maximize,
                           TksBorderIcon::RollUp, TksBorderIcon::MinimizeToTray});
    frame->SetSkinData(skin);
    frame->SetWindowState(kwsMaximized);
    TksSkinMenu engine(nullptr, parent);
    engine.Popup(nullptr, skin, false, frame->GetSystemMenu(), TRect{0, 0, 0, 0}, 0);
    TksSkinPopupWindow* level = engine.TopLevel();
    auto shot = std::make_unique<TBitmap>(level->Width(), level->Height());
    level->PaintMenu(shot->Canvas()->Handle());
    engine.CloseMenu();
    return new TShot(parent, std::move(shot));
  };
}

std::vector<TGalleryRow> FrameMenuRows() {
  return {{"Message box", One(MessageBox())}, {"System menu, maximized", One(SystemMenu())}};
}

// An edit or memo as its window shows it: the composed frame, then the text the
// window prints into it at its client area.
template <class T>
TMakeControl Framed(std::function<T*(TWinControl*)> make, std::function<void(T&)> state) {
  return [=](TWinControl* parent, TksSkinData* skin) -> TControl* {
    T* c = make(parent);
    c->SetSkinData(skin);
    state(*c);
    auto shot = std::make_unique<TBitmap>();
    c->PaintFrame(*shot);
    const TRect m = c->FrameMargins();
    HDC dc = shot->Canvas()->Handle();
    POINT old;
    SetViewportOrgEx(dc, m.Left, m.Top, &old);
    c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    SetViewportOrgEx(dc, old.x, old.y, nullptr);
    c->Free();
    return new TShot(parent, std::move(shot));
  };
}

std::vector<TGalleryRow> EditRows() {
  using E = TksSkinEdit;
  using M = TksSkinMemo;
  auto edit = [](const char* name, const char* text, bool button) {
    return std::function<E*(TWinControl*)>([=](TWinControl* parent) {
      auto* e = new E(parent);
      e->SetParent(parent);
      e->SetBounds(0, 0, 180, 20);
      e->SetSkinDataName(name);
      e->SetButtonMode(button);
      e->SetText(text);
      return e;
    });
  };
  auto memo = [](TWinControl* parent) {
    auto* m = new M(parent);
    m->SetParent(parent);
    m->SetBounds(0, 0, 180, 60);
    m->SetText("First line\r\nSecond line\r\nThird line");
    return m;
  };
  auto upDown = [](TksUDOrientation o, int hotButton, bool pressed) {
    return TMakeControl([=](TWinControl* parent, TksSkinData* skin) -> TControl* {
      auto* u = new TksSkinUpDown(parent);
      u->SetParent(parent);
      u->SetOrientation(o);
      if (o == udVertical) u->SetBounds(0, 0, 20, 40);
      u->SetSkinData(skin);
      u->CalcRects();
      if (hotButton >= 0) {
        const TRect r = u->Buttons(hotButton).R;
        const LPARAM at = MAKELPARAM((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
        u->Perform(pressed ? WM_LBUTTONDOWN : WM_MOUSEMOVE, pressed ? MK_LBUTTON : 0, at);
      }
      return u;
    });
  };
  return {
      {"Edit", One(Framed<E>(edit("edit", "C:\\Recovered", false), [](E&) {}))},
      {"Edit, selection, hot", One(Framed<E>(edit("edit", "Backup of card", false), [](E& e) {
         e.Perform(CM_MOUSEENTER, 0, 0);
         e.Perform(EM_SETSEL, 0, 6);
       }))},
      {"Button edit, button hot", One(Framed<E>(edit("buttonedit", "D:\\Photos", true), [](E& e) {
         e.Perform(WM_NCMOUSEMOVE, HTHSCROLL, 0);
       }))},
      {"Memo", One(Framed<M>(memo, [](M&) {}))},
      {"Up-downs", Several({upDown(udHorizontal, -1, false), upDown(udHorizontal, 0, false),
                            upDown(udHorizontal, 1, true), upDown(udVertical, 0, true)})},
  };
}

// The machine's drives as the main window lists them: the first one, and the last
// one under a hot button.
std::vector<TGalleryRow> DriveRows() {
  auto drives = [](bool last) {
    return TMakeControl([=](TWinControl* parent, TksSkinData* skin) -> TControl* {
      auto* c = Place<TksSkinShellDriveComboBox>(parent, skin, 176, 20);
      c->SetDriveTypes(DriveTypeSet({dtFloppy, dtFixed, dtCDROM, dtRAM}));
      c->HandleNeeded();
      if (last && c->Items()->Count() > 0) {
        c->SetItemIndex(c->Items()->Count() - 1);
        const TRect& b = c->ButtonRect();
        c->Perform(WM_MOUSEMOVE, 0, MAKELPARAM((b.Left + b.Right) / 2, (b.Top + b.Bottom) / 2));
      }
      return c;
    });
  };
  return {{"Drive list", One(drives(false))}, {"Drive list, last, hot", One(drives(true))}};
}

// The combo box closed in its states, and open: its face with the drop-down under it.
std::vector<TGalleryRow> ComboRows() {
  using C = TksSkinComboBox;
  auto combo = [](std::function<void(C&)> state, bool open = false) {
    return TMakeControl([=](TWinControl* parent, TksSkinData* skin) -> TControl* {
      auto* c = new C(parent);
      c->SetParent(parent);
      c->SetBounds(0, 0, 176, 20);
      for (const char* item : {"Removable Disk (E:)", "Local Disk (C:)", "CD Drive (D:)", "Card Reader (F:)"})
        c->Items()->Add(item);
      c->SetSkinData(skin);
      c->SetItemIndex(0);
      state(*c);
      if (!open) return c;
      c->DropDown();
      c->ListBox()->SetItemIndex(2);
      TksPopupListBox* list = c->ListBox();
      TBitmap face, drop;
      PaintWithChildren(*c, face, clWhite);
      PaintWithChildren(*list, drop, clWhite);
      auto shot = std::make_unique<TBitmap>(std::max(face.Width(), drop.Width()), face.Height() + drop.Height());
      shot->Canvas()->Draw(0, 0, &face);
      shot->Canvas()->Draw(0, face.Height(), &drop);
      c->CloseUp(false);
      c->Free();
      return new TShot(parent, std::move(shot));
    });
  };
  auto hotButton = [](C& c) {
    const TRect b = c.ButtonRect();
    c.Perform(WM_MOUSEMOVE, 0, MAKELPARAM((b.Left + b.Right) / 2, (b.Top + b.Bottom) / 2));
  };
  return {
      {"Combo box", One(combo([](C&) {}))},
      {"Combo box, button hot", One(combo(hotButton))},
      {"Combo box, focused", One(combo([](C& c) {
         c.HandleNeeded();
         SetFocus(c.Handle());
       }))},
      {"Combo box, edit style", One(combo([](C& c) { c.SetStyle(kscbEditStyle); }))},
      {"Combo box, disabled", One(combo([](C& c) { c.SetEnabled(false); }))},
      {"Combo box, list open", One(combo(hotButton, true))},
  };
}

// The main menu bar over a menu of its own, one item hot; narrow, its marker shows;
// with buttons, a maximized MDI child's four buttons at its ends.
TMainMenu* BarMenu(TComponent* owner) {
  auto* menu = new TMainMenu(owner);
  for (const char* c : {"&File", "&Edit", "&View", "&Window", "&Help"}) {
    auto* item = new TMenuItem(owner);
    item->SetCaption(c);
    menu->Items()->Add(item);
  }
  return menu;
}

TMakeControl MenuBar(int width, bool buttons) {
  return [=](TWinControl* parent, TksSkinData* skin) -> TControl* {
    TOwnedPtr<TksSkinMainMenuBar> bar(new TksSkinMainMenuBar(parent));
    bar->SetParent(parent);
    bar->SetAlign(alNone);
    bar->SetBounds(0, 0, width, 22);
    bar->SetSkinData(skin);
    bar->SetMainMenu(BarMenu(bar.get()));
    if (buttons) {
      bar->ShowMDIButtons();
      for (const auto& o : bar->Objects()) o->Enabled = true;
    }
    auto shot = std::make_unique<TBitmap>();
    bar->PaintBar(*shot);
    bar->Item(buttons ? 5 : 1)->Highlight = bar->Item(buttons ? 5 : 1)->Active = true;
    bar->PaintBar(*shot);
    return new TShot(parent, std::move(shot));
  };
}

// The tabs of three children: the first active, the second under the mouse.
TMakeControl MDITabs(TAlign align) {
  return [=](TWinControl* parent, TksSkinData* skin) -> TControl* {
    // A host of the row's width, so a bar aligned to its bottom keeps that width.
    TOwnedPtr<TksSkinPanel> host(new TksSkinPanel(parent));
    host->SetParent(parent);
    host->SetBounds(0, 0, 240, 40);
    auto* bar = new TksSkinMDITabsBar(host.get());
    bar->SetParent(host.get());
    bar->SetAlign(align);
    bar->SetSkinData(skin);
    bar->SetBounds(0, 0, 240, bar->Height());
    std::vector<TOwnedPtr<TForm>> children;
    for (const char* c : {"Photos", "Video", "A long document name"}) {
      children.emplace_back(new TForm(Application));
      children.back()->SetCaption(c);
      bar->AddTab(children.back().get());
    }
    bar->Tabs()[0]->Active = true;
    bar->Tabs()[1]->MouseIn = true;
    auto shot = std::make_unique<TBitmap>();
    bar->PaintBar(shot.get());
    bar->ClearTabs();
    return new TShot(parent, std::move(shot));
  };
}

std::vector<TGalleryRow> MDIRows() {
  return {{"Menu bar", One(MenuBar(240, false))},
          {"Menu bar, narrow", One(MenuBar(130, false))},
          {"Menu bar, MDI buttons", One(MenuBar(240, true))},
          {"MDI tabs", One(MDITabs(alNone))},
          {"MDI tabs, bottom", One(MDITabs(alBottom))}};
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
      {"Menu", One(Menu(false))},
      {"Menu, scrolling", One(Menu(true))},
      {"Hint", Several({Hint("Close"), Hint("A hint over two lines,\nthe second one longer")})},
  };
  for (TGalleryRow& r : ViewRows()) rows.push_back(std::move(r));
  for (TGalleryRow& r : ListRows()) rows.push_back(std::move(r));
  for (TGalleryRow& r : FrameMenuRows()) rows.push_back(std::move(r));
  for (TGalleryRow& r : EditRows()) rows.push_back(std::move(r));
  for (TGalleryRow& r : ComboRows()) rows.push_back(std::move(r));
  for (TGalleryRow& r : DriveRows()) rows.push_back(std::move(r));
  for (TGalleryRow& r : MDIRows()) rows.push_back(std::move(r));
  return rows;
}

// Paints the child windows of `wnd` into `dc` at their places, the bottom one first.
void PaintChildWindows(HWND wnd, HDC dc) {
  std::vector<HWND> children;
  for (HWND c = GetWindow(wnd, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) children.push_back(c);
  for (auto it = children.rbegin(); it != children.rend(); ++it) {
    if (!(GetWindowLongPtrA(*it, GWL_STYLE) & WS_VISIBLE)) continue;
    RECT r{};
    GetWindowRect(*it, &r);
    MapWindowPoints(nullptr, wnd, reinterpret_cast<POINT*>(&r), 2);
    const int saved = SaveDC(dc);
    OffsetViewportOrgEx(dc, r.left, r.top, nullptr);
    IntersectClipRect(dc, 0, 0, r.right - r.left, r.bottom - r.top);
    SendMessageA(*it, WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    PaintChildWindows(*it, dc);
    RestoreDC(dc, saved);
  }
}

// Paints `control` through WM_PAINT into a bitmap of its size over `background`,
// with the windows it holds.
void PaintControl(TControl& control, TColor background, TBitmap& shot) {
  // Controls made of framework children (lists and their bars) are drawn whole.
  if (auto* w = dynamic_cast<TWinControl*>(&control); w != nullptr && w->ControlCount() > 0) {
    PaintWithChildren(*w, shot, background);
    return;
  }
  shot.SetSize(control.Width(), control.Height());
  shot.Canvas()->Brush()->SetColor(background);
  shot.Canvas()->FillRect(TRect{0, 0, control.Width(), control.Height()});
  control.Perform(WM_PAINT, reinterpret_cast<WPARAM>(shot.Canvas()->Handle()), 0);
  if (auto* w = dynamic_cast<TWinControl*>(&control); w != nullptr && w->HandleAllocated())
    PaintChildWindows(w->Handle(), shot.Canvas()->Handle());
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

// A skinned form shown live with its system menu open, to photograph; runs
// until the form is closed.
int ShowSystemMenu(TksSkinData& data) {
  TForm* form = nullptr;
  Application->CreateForm(form);
  form->SetBounds(120, 100, 360, 240);
  form->SetCaption("Recover files");
  auto* frame = new TksSkinForm(form);
  frame->SetBorderIcons({TksBorderIcon::SystemMenu, TksBorderIcon::Minimize, TksBorderIcon::Maximize,
                         TksBorderIcon::RollUp, TksBorderIcon::MinimizeToTray});
  frame->SetSkinData(&data);
  form->Show();
  Application->ProcessMessages();
  frame->PopupSystemMenuAt(form->Left() + 40, form->Top() + 20);
  Application->Run();
  return 0;
}

// A skinned form with a focused edit, a memo and a combo with its list open, shown
// live to photograph; runs until the form is closed.
int ShowTextControls(TksSkinData& data) {
  TForm* form = nullptr;
  Application->CreateForm(form);
  form->SetBounds(120, 100, 400, 300);
  form->SetCaption("Output folder");
  auto* frame = new TksSkinForm(form);
  frame->SetSkinData(&data);
  auto* edit = new TksSkinEdit(form);
  edit->SetParent(form);
  edit->SetBounds(16, 16, 220, 20);
  edit->SetText("C:\\Recovered\\Photos");
  edit->SetSkinData(&data);
  auto* memo = new TksSkinMemo(form);
  memo->SetParent(form);
  memo->SetBounds(16, 50, 220, 70);
  memo->SetText("First line\r\nSecond line\r\nThird line");
  memo->SetSkinData(&data);
  auto* combo = new TksSkinComboBox(form);
  combo->SetParent(form);
  combo->SetBounds(16, 134, 176, 20);
  for (const char* item : {"Removable Disk (E:)", "Local Disk (C:)", "CD Drive (D:)", "Card Reader (F:)"})
    combo->Items()->Add(item);
  combo->SetSkinData(&data);
  combo->SetItemIndex(1);
  form->Show();
  Application->ProcessMessages();
  edit->SetFocus();
  edit->Perform(EM_SETSEL, 3, 12);
  combo->DropDown();
  combo->ListBox()->SetItemIndex(2);
  Application->Run();
  return 0;
}

// An MDI main form with its menu bar, tabs bar and three children, the last one
// maximized when asked, shown live to photograph; runs until the form is closed.
int ShowMDI(TksSkinData& data, bool maximized) {
  TForm* main = nullptr;
  Application->CreateForm(main);
  main->Name = "MainForm";
  main->SetFormStyle(fsMDIForm);
  main->SetBounds(60, 40, 560, 400);
  main->SetCaption("Recovered files");
  auto* frame = new TksSkinForm(main);
  frame->SetSkinData(&data);
  auto* bar = new TksSkinMainMenuBar(main);
  bar->SetParent(main);
  bar->SetksSkinForm(frame);
  frame->SetMainMenuBar(bar);
  bar->SetSkinData(&data);
  bar->SetMainMenu(BarMenu(main));
  auto* tabs = new TksSkinMDITabsBar(main);
  tabs->SetParent(main);
  tabs->SetAlign(alBottom);
  tabs->SetSkinData(&data);
  frame->SetMDITabsBar(tabs);
  main->Show();
  Application->ProcessMessages();
  int i = 0;
  for (const char* caption : {"Photos", "Video", "Documents"}) {
    auto* child = new TForm(Application);
    child->Name = std::string("Child") + std::to_string(i);
    child->SetFormStyle(fsMDIChild);
    child->SetCaption(caption);
    child->SetBounds(10 + 60 * i, 10 + 40 * i, 260, 170);
    (new TksSkinForm(child))->SetSkinData(&data);
    child->Show();
    Application->ProcessMessages();
    if (maximized && i == 2) TksSkinForm::GetSkinFormComponent(child)->SetWindowState(kwsMaximized);
    ++i;
  }
  Application->Run();
  return 0;
}

int main(int argc, char** argv) {
  const bool show = argc == 2 && std::string(argv[1]) == "--show-sysmenu";
  const bool showText = argc == 2 && std::string(argv[1]) == "--show-textcontrols";
  const bool showMDI = argc == 2 && std::string(argv[1]).starts_with("--show-mdi");
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr,
                 "usage: skin_gallery OUT.bmp [SKIN.ini] | --show-sysmenu | --show-textcontrols | "
                 "--show-mdi[-max]\n");
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
    if (show) return ShowSystemMenu(data);
    if (showText) return ShowTextControls(data);
    if (showMDI) return ShowMDI(data, std::string(argv[1]) == "--show-mdi-max");
    TForm* form = nullptr;
    Application->CreateForm(form);  // the main form, whose skinned hint shows the hints
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
