// The frames of an MDI main form and its children: a maximized child fills the
// MDI work area and captions the main form, window-menu items follow the
// children, the client window paints from the skin, and resizing the main form
// keeps maximized and minimized children in place.
#include <gtest/gtest.h>

#include <algorithm>

#include "framework/gui/extctrls.h"
#include "skin/frame/ksSkinForm.h"
#include "skin/frame/tests/ksCaptionButton.h"
#include "skin/menus/ksSkinMenus.h"
#include "skin/tests/ksSkinMDI_fixture.h"

namespace {

using namespace skintest;

class FrameMDI : public SkinMDI {
 protected:
  void AddBars() {
    top = new TPanel(mainForm);
    top->SetParent(mainForm);
    top->SetAlign(alTop);
    top->SetHeight(30);
    bottom = new TPanel(mainForm);
    bottom->SetParent(mainForm);
    bottom->SetAlign(alBottom);
    bottom->SetHeight(20);
  }
  TRect WorkSize() {
    const TRect a = TksSkinForm::GetMDIWorkArea();
    return TRect{0, 0, RectWidth(a), RectHeight(a)};
  }
  TMenuItem* ItemNamed(const String& name) {
    for (int i = 0; i < windowMenu->Count(); ++i)
      if (windowMenu->Items(i)->Name == name) return windowMenu->Items(i);
    return nullptr;
  }
  // The client window's background as its WM_ERASEBKGND paints it.
  COLORREF ClientPixel(int x, int y) {
    RECT r{};
    GetClientRect(mainForm->ClientHandle(), &r);
    TBitmap shot(r.right, r.bottom);
    SendMessageA(mainForm->ClientHandle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(shot.Canvas()->Handle()), 0);
    return static_cast<COLORREF>(shot.Canvas()->Pixels(x, y));
  }

  TPanel* top = nullptr;
  TPanel* bottom = nullptr;
  TMenuItem* windowMenu = nullptr;
};

TEST_F(FrameMDI, MaximizedChildFillsTheWorkAreaAndCaptionsTheMainForm) {
  AddBars();
  ShowMain();
  TForm* a = AddChild("ChildA", "Alpha");
  AddChild("ChildB", "Beta");
  const TRect before = a->BoundsRect();
  const TRect area = TksSkinForm::GetMDIWorkArea();
  EXPECT_EQ(area.Top, 30);
  EXPECT_EQ(area.Bottom, mainForm->ClientHeight() - 20);
  // The client window takes what the bars leave.
  RECT client{};
  GetWindowRect(mainForm->ClientHandle(), &client);
  MapWindowPoints(nullptr, mainForm->Handle(), reinterpret_cast<POINT*>(&client), 2);
  EXPECT_EQ((TRect{client.left, client.top, client.right, client.bottom}), area);

  FrameOf(a)->SetWindowState(kwsMaximized);
  EXPECT_EQ(a->BoundsRect(), WorkSize());
  EXPECT_TRUE(mainFrame->MDIChildMaximize());
  EXPECT_EQ(TksSkinForm::GetMaximizedMDIChild(), a);
  EXPECT_EQ(mainFrame->CaptionText(), "Main - [Alpha]");
  // No frame of its own: the whole window is client.
  RECT cl{};
  GetClientRect(a->Handle(), &cl);
  EXPECT_EQ(cl.right, a->Width());
  EXPECT_EQ(cl.bottom, a->Height());

  FrameOf(a)->SetWindowState(kwsNormal);
  EXPECT_EQ(a->BoundsRect(), before);
  EXPECT_FALSE(mainFrame->MDIChildMaximize());
  EXPECT_EQ(mainFrame->CaptionText(), "Main");
}

TEST_F(FrameMDI, ResizingTheMainFormKeepsMaximizedAndMinimizedChildrenInPlace) {
  ShowMain();
  TForm* a = AddChild("ChildA", "Alpha");
  TForm* b = AddChild("ChildB", "Beta");
  TForm* c = AddChild("ChildC", "Gamma");
  FrameOf(a)->SetWindowState(kwsMaximized);
  FrameOf(b)->SetWindowState(kwsMinimized);
  FrameOf(c)->SetWindowState(kwsMinimized);
  const int h = RectHeight(WorkSize());
  EXPECT_EQ(b->Top(), h - b->Height());
  EXPECT_EQ(b->Left(), 0);
  EXPECT_EQ(c->Left(), b->Width());
  // Minimizing reports a restore, but the maximized child still holds the caption.
  EXPECT_TRUE(mainFrame->MDIChildMaximize());

  mainForm->SetBounds(0, 0, 700, 560);
  Application->ProcessMessages();
  EXPECT_EQ(a->BoundsRect(), WorkSize());
  const int nh = RectHeight(WorkSize());
  ASSERT_NE(nh, h);
  EXPECT_EQ(b->Top(), nh - b->Height());
  EXPECT_EQ(c->Top(), nh - c->Height());
  // Side by side along the bottom, in whichever order they were stacked again.
  EXPECT_EQ(std::min(b->Left(), c->Left()), 0);
  EXPECT_EQ(std::max(b->Left(), c->Left()), b->Width());
}

TEST_F(FrameMDI, WindowMenuItemsFollowTheChildren) {
  auto* menu = new TMainMenu(mainForm);
  windowMenu = new TMenuItem(mainForm);
  windowMenu->SetCaption("&Window");
  menu->Items()->Add(windowMenu);
  mainForm->WindowMenu = windowMenu;
  ShowMain();
  TForm* a = AddChild("ChildA", "Alpha");
  TForm* b = AddChild("ChildB", "Beta");
  ASSERT_NE(ItemNamed("ChildA_KSFCHILDITEM"), nullptr);
  ASSERT_NE(ItemNamed("ChildB_KSFCHILDITEM"), nullptr);
  EXPECT_EQ(ItemNamed("ChildA_KSFCHILDITEM")->Caption(), "Alpha");

  Activate(a);
  EXPECT_TRUE(ItemNamed("ChildA_KSFCHILDITEM")->Checked());
  EXPECT_FALSE(ItemNamed("ChildB_KSFCHILDITEM")->Checked());

  a->SetCaption("Renamed");
  EXPECT_EQ(ItemNamed("ChildA_KSFCHILDITEM")->Caption(), "Renamed");

  // A minimized child comes back from its item, restored and active.
  FrameOf(b)->SetWindowState(kwsMinimized);
  Activate(a);
  ItemNamed("ChildB_KSFCHILDITEM")->Click();
  Application->ProcessMessages();
  EXPECT_EQ(FrameOf(b)->WindowState(), kwsNormal);
  EXPECT_EQ(mainForm->ActiveMDIChild(), b);

  b->Hide();
  Application->ProcessMessages();
  EXPECT_EQ(ItemNamed("ChildB_KSFCHILDITEM"), nullptr);
  EXPECT_NE(ItemNamed("ChildA_KSFCHILDITEM"), nullptr);
  // A freed child's item goes with its frame.
  delete a;
  children.erase(children.begin());
  EXPECT_EQ(ItemNamed("ChildA_KSFCHILDITEM"), nullptr);
}

TEST_F(FrameMDI, ClientBackgroundComesFromTheSkinOrTheWorkspaceColour) {
  ShowMain();
  EXPECT_TRUE(mainFrame->MDIClientSubclassed());
  EXPECT_EQ(ClientPixel(5, 5), Rgb(clAppWorkSpace));
  // The logo sits in the middle of the workspace colour.
  TBitmap logo(10, 10);
  logo.Canvas()->Brush()->SetColor(clRed);
  logo.Canvas()->FillRect(TRect{0, 0, 10, 10});
  mainFrame->SetLogoBitMap(&logo);
  RECT r{};
  GetClientRect(mainForm->ClientHandle(), &r);
  EXPECT_EQ(ClientPixel(r.right / 2, r.bottom / 2), Rgb(clRed));
  EXPECT_EQ(ClientPixel(5, 5), Rgb(clAppWorkSpace));
  // One larger than the client shows its top-left corner, not its middle.
  TBitmap big(2000, 2000);
  big.Canvas()->Brush()->SetColor(clRed);
  big.Canvas()->FillRect(TRect{0, 0, 2000, 2000});
  big.Canvas()->Brush()->SetColor(clBlue);
  big.Canvas()->FillRect(TRect{0, 0, 4, 4});
  mainFrame->SetLogoBitMap(&big);
  EXPECT_EQ(ClientPixel(1, 1), Rgb(clBlue));
  TBitmap none;
  mainFrame->SetLogoBitMap(&none);

  mainFrame->SetSkinData(&data);
  TBitmap* tile = data.ActivePicture(1);
  ASSERT_NE(tile, nullptr);
  data.MDIBGPictureIndex = 1;
  EXPECT_EQ(ClientPixel(0, 0), static_cast<COLORREF>(tile->Canvas()->Pixels(0, 0)));
  EXPECT_EQ(ClientPixel(tile->Width() + 3, 2), static_cast<COLORREF>(tile->Canvas()->Pixels(3, 2)));
  // An index that names no picture paints the client skin, as none would.
  const TRect& cl = data.ClientRect;
  const auto clientSkin = static_cast<COLORREF>(data.Picture.Canvas()->Pixels(cl.Left, cl.Top));
  for (int index : {-1, 99}) {
    data.MDIBGPictureIndex = index;
    EXPECT_EQ(ClientPixel(0, 0), clientSkin) << index;
  }
}

TEST_F(FrameMDI, TheClientWindowIsGivenBackWhenTheFrameGoes) {
  mainForm->HandleNeeded();
  const LONG_PTR original = GetWindowLongPtrA(mainForm->ClientHandle(), GWLP_WNDPROC);
  ShowMain();
  ASSERT_NE(GetWindowLongPtrA(mainForm->ClientHandle(), GWLP_WNDPROC), original);
  delete mainFrame;
  EXPECT_EQ(GetWindowLongPtrA(mainForm->ClientHandle(), GWLP_WNDPROC), original);
}

TEST_F(FrameMDI, AChildsObjectMenuOpensAtItsScreenPlaceAndTheMainFormClosesIt) {
  mainForm->SetBounds(100, 80, 640, 480);
  ShowMain();
  TForm* a = AddChild("ChildA", "Alpha");
  TksSkinForm* frame = FrameOf(a);
  TksSkinStdButtonObject* button = CaptionButton(*frame, cmSysMenu);
  ASSERT_NE(button, nullptr);
  const TRect r = button->ObjectRect;
  frame->TestActive((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2, true);
  frame->MouseDownToObject(mbLeft, r.Left + 2, r.Top + 2);
  ASSERT_TRUE(frame->SkinMenu()->Visible());
  RECT w{};
  GetWindowRect(a->Handle(), &w);
  ASSERT_NE(w.left, a->Left());
  TksSkinPopupWindow* level = frame->SkinMenu()->TopLevel();
  EXPECT_EQ(level->Left(), w.left + r.Left);
  EXPECT_EQ(level->Top(), w.top + r.Bottom);
  // A closing message to the main form reaches the active child's menu.
  Activate(a);
  ASSERT_EQ(TksSkinForm::GetActiveMDIChildSkinForm(), frame);
  if (!frame->SkinMenu()->Visible()) frame->MouseDownToObject(mbLeft, r.Left + 2, r.Top + 2);
  ASSERT_TRUE(frame->SkinMenu()->Visible());
  mainForm->Perform(WM_CANCELMODE, 0, 0);
  EXPECT_FALSE(frame->SkinMenu()->Visible());
  EXPECT_FALSE(frame->InSkinMenu());
}

TEST_F(FrameMDI, AMagneticChildSnapsToTheWorkAreaEdges) {
  AddBars();
  mainForm->SetBounds(100, 80, 640, 480);
  ShowMain();
  TForm* a = AddChild("ChildA", "Alpha");
  FrameOf(a)->Magnetic = true;
  POINT origin{0, 0};
  ClientToScreen(mainForm->Handle(), &origin);
  const TRect area = TksSkinForm::GetMDIWorkArea();
  const int left = origin.x + area.Left, top = origin.y + area.Top, bottom = origin.y + area.Bottom;
  struct Row {
    int x, y, snappedX, snappedY;
  } rows[] = {{left + 4, top + 50, left, top + 50}, {left + 5, top + 50, left + 5, top + 50},
              {left + 60, top - 3, left + 60, top}, {left + 60, bottom - 150 + 4, left + 60, bottom - 150}};
  for (const Row& r : rows) {
    RECT rc{r.x, r.y, r.x + 200, r.y + 150};
    a->Perform(WM_MOVING, WMSZ_TOP, reinterpret_cast<LPARAM>(&rc));
    EXPECT_EQ(rc.left, r.snappedX) << r.x;
    EXPECT_EQ(rc.top, r.snappedY) << r.y;
  }
  // Maximized, a child is not pinned as a main window is: it still snaps.
  FrameOf(a)->SetWindowState(kwsMaximized);
  RECT rc{left + 4, top + 50, left + 204, top + 200};
  a->Perform(WM_MOVING, WMSZ_TOP, reinterpret_cast<LPARAM>(&rc));
  EXPECT_EQ(rc.left, left);
  EXPECT_EQ(rc.top, top + 50);
}

TEST_F(FrameMDI, AChildClosesWithCtrlF4) {
  ShowMain();
  TForm* a = AddChild("ChildA", "Alpha");
  TMenuItem* root = FrameOf(a)->GetSystemMenu();
  TMenuItem* close = nullptr;
  for (int i = 0; i < root->Count(); ++i)
    if (root->Items(i)->Name == "KSF_CLOSE") close = root->Items(i);
  ASSERT_NE(close, nullptr);
  EXPECT_EQ(close->ShortCut(), ShortCut(VK_F4, ssCtrl));
}

}  // namespace
