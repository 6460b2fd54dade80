#include "framework/core/registry.h"

#include <gtest/gtest.h>

namespace {

// A key of its own under HKCU, deleted with its values afterwards.
class RegistryKey : public ::testing::Test {
 protected:
  static constexpr const char* kParent = "Software\\KorvaloTests";
  void SetUp() override { path_ = String(kParent) + "\\registry." + IntToStr(GetCurrentProcessId()); }
  void TearDown() override {
    RegDeleteKeyA(HKEY_CURRENT_USER, path_.c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, kParent);  // only succeeds when nothing else is left in it
  }
  String path_;
};

TEST_F(RegistryKey, WriteReadAbsentAndWrongType) {
  TRegistry reg;
  EXPECT_EQ(reg.RootKey(), HKEY_CURRENT_USER);
  EXPECT_FALSE(reg.OpenKey(path_, false));
  ASSERT_TRUE(reg.OpenKey(path_, true));
  EXPECT_EQ(reg.CurrentPath(), path_);

  reg.WriteString("RecoveryFolder", "C:\\Recovered\\");
  reg.WriteString("Empty", "");
  reg.WriteInteger("Count", -7);
  EXPECT_EQ(reg.ReadString("RecoveryFolder"), "C:\\Recovered\\");
  EXPECT_EQ(reg.ReadString("recoveryfolder"), "C:\\Recovered\\");
  EXPECT_EQ(reg.ReadString("Empty"), "");
  EXPECT_EQ(reg.ReadString("Absent"), "");  // absent reads as empty, no exception
  EXPECT_EQ(reg.ReadInteger("Count"), -7);
  EXPECT_TRUE(reg.ReadBool("Count"));
  try {
    reg.ReadString("Count");
    FAIL() << "no exception";
  } catch (const ERegistryException& e) {
    EXPECT_STREQ(e.what(), "Invalid data type for 'Count'");
  }
  EXPECT_THROW(reg.ReadInteger("RecoveryFolder"), ERegistryException);
  EXPECT_THROW(reg.ReadInteger("Absent"), ERegistryException);

  EXPECT_TRUE(reg.ValueExists("Count"));
  EXPECT_TRUE(reg.DeleteValue("Count"));
  EXPECT_FALSE(reg.ValueExists("Count"));
  EXPECT_FALSE(reg.DeleteValue("Count"));
  reg.CloseKey();
  EXPECT_EQ(reg.CurrentKey(), nullptr);
  EXPECT_EQ(reg.ReadString("RecoveryFolder"), "");
  EXPECT_THROW(reg.WriteString("x", "y"), ERegistryException);
}

TEST_F(RegistryKey, ReadOnlyAndRelativeKeys) {
  {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(path_, true));
    reg.WriteString("Name", "value");
  }  // closed on destruction
  TRegistry reg;
  EXPECT_TRUE(reg.KeyExists(path_));
  EXPECT_TRUE(reg.KeyExists("\\" + path_));
  EXPECT_FALSE(reg.KeyExists(path_ + "\\absent"));
  ASSERT_TRUE(reg.OpenKey(kParent, false));
  // Relative to the open key; a leading backslash goes back to the root.
  ASSERT_TRUE(reg.OpenKeyReadOnly(path_.substr(String(kParent).size() + 1)));
  EXPECT_EQ(reg.CurrentPath(), path_);
  EXPECT_EQ(reg.ReadString("Name"), "value");
  EXPECT_THROW(reg.WriteString("Name", "other"), ERegistryException);
  ASSERT_TRUE(reg.OpenKeyReadOnly("\\" + path_));
  EXPECT_EQ(reg.ReadString("Name"), "value");
  reg.SetRootKey(HKEY_LOCAL_MACHINE);
  EXPECT_EQ(reg.CurrentKey(), nullptr);
}

}  // namespace
