#include <gtest/gtest.h>

#include "framework/gui/tests/gui_test_support.h"

namespace {

TEST(MdiTest, ChildrenLiveInTheClientAndFollowActivation) {
  auto frame = MakeForm();
  frame->SetFormStyle(fsMDIForm);
  ShowAndActivate(*frame);
  HWND client = frame->ClientHandle();
  ASSERT_NE(nullptr, client);
  char name[32] = {};
  GetClassNameA(client, name, sizeof(name));
  EXPECT_STREQ("MDIClient", name) << name;
  EXPECT_EQ(frame->Handle(), GetParent(client));

  auto* first = new TForm(frame.get());
  first->SetFormStyle(fsMDIChild);
  int activated = 0, deactivated = 0;
  first->OnActivate = [&](TObject*) { ++activated; };
  first->OnDeactivate = [&](TObject*) { ++deactivated; };
  first->Show();
  auto* second = new TForm(frame.get());
  second->SetFormStyle(fsMDIChild);
  second->Show();
  EXPECT_EQ(client, GetParent(first->Handle()));
  EXPECT_EQ(client, GetParent(second->Handle()));
  EXPECT_EQ(2, frame->MDIChildCount());
  EXPECT_THROW(frame->MDIChildren(2), EListError);

  SendMessageA(client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(first->Handle()), 0);
  EXPECT_EQ(first, frame->ActiveMDIChild());
  EXPECT_GE(activated, 1);
  int before = deactivated;
  frame->Next();
  EXPECT_EQ(second, frame->ActiveMDIChild());
  EXPECT_EQ(before + 1, deactivated);
  frame->Cascade();
  frame->Tile();
  EXPECT_EQ(2, frame->MDIChildCount());
  first->Free();
  EXPECT_EQ(1, frame->MDIChildCount());
  EXPECT_EQ(second, frame->MDIChildren(0));
}

TEST(MdiTest, ChildWithoutAnMdiFrameIsRefused) {
  auto plain = MakeForm();
  TForm child(plain.get());
  child.SetFormStyle(fsMDIChild);
  EXPECT_THROW(child.HandleNeeded(), EInvalidOperation);
}

TEST(FormIconTest, IconIsSentWithSetIcon) {
  auto form = MakeForm();
  form->HandleNeeded();
  TIcon icon;
  icon.SetHandle(CopyIcon(LoadIconA(nullptr, IDI_APPLICATION)));
  form->SetIcon(&icon);
  ASSERT_TRUE(form->Icon()->HandleAllocated());
  EXPECT_EQ(reinterpret_cast<LRESULT>(form->Icon()->Handle()), SendMessageA(form->Handle(), WM_GETICON, ICON_BIG, 0));
  form->SetIcon(nullptr);
  EXPECT_EQ(0, SendMessageA(form->Handle(), WM_GETICON, ICON_BIG, 0));
}

}  // namespace
