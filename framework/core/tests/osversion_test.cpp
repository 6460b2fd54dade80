#include "framework/core/osversion.h"

#include <gtest/gtest.h>

#include <cstring>

#include "framework/core/languages.h"

namespace {

TEST(OSVersion, SeamPretendsToBeAnotherSystem) {
  const int realMajor = Win32MajorVersion();
  {
    ScopedSeam<TVersionSeam> ninetyEight({.Query = [](OSVERSIONINFOA* info) {
      info->dwPlatformId = VER_PLATFORM_WIN32_WINDOWS;
      info->dwMajorVersion = 4;
      info->dwMinorVersion = 10;
      info->dwBuildNumber = 0x040A08AE;
      std::strcpy(info->szCSDVersion, " A ");
      return TRUE;
    }});
    EXPECT_EQ(Win32Platform(), VER_PLATFORM_WIN32_WINDOWS);
    EXPECT_EQ(Win32MajorVersion(), 4);
    EXPECT_EQ(Win32MinorVersion(), 10);
    EXPECT_EQ(Win32BuildNumber(), 2222);
    EXPECT_EQ(Win32CSDVersion(), " A ");
    EXPECT_TRUE(CheckWin32Version(4));
    EXPECT_TRUE(CheckWin32Version(4, 10));
    EXPECT_FALSE(CheckWin32Version(4, 90));
    EXPECT_FALSE(CheckWin32Version(5, 0));
  }
  {
    ScopedSeam<TVersionSeam> failing({.Query = [](OSVERSIONINFOA*) { return FALSE; }});
    EXPECT_EQ(Win32Platform(), 0);
    EXPECT_EQ(Win32MajorVersion(), 0);
    EXPECT_EQ(Win32CSDVersion(), "");
  }
  EXPECT_EQ(Win32MajorVersion(), realMajor);
  EXPECT_EQ(Win32Platform(), VER_PLATFORM_WIN32_NT);
}

TEST(Languages, SystemLocalesWithTheirNames) {
  const TLanguages& langs = Languages();
  ASSERT_GT(langs.Count(), 0);
  const int english = langs.IndexOf(0x0409);
  ASSERT_GE(english, 0);
  EXPECT_EQ(langs.LocaleID(english), 0x0409u);
  EXPECT_EQ(langs.ID(english), "$00000409");
  EXPECT_EQ(langs.Ext(english), "ENU");
  EXPECT_NE(langs.Name(english).find("English"), String::npos) << langs.Name(english);
  EXPECT_EQ(&Languages(), &langs);
  EXPECT_EQ(langs.IndexOf(0x7FFFFFFF), -1);
  EXPECT_THROW(langs.Name(langs.Count()), EListError);
  EXPECT_THROW(langs.ID(-1), EListError);
}

}  // namespace
