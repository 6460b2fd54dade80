#include "framework/core/sysutils.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <set>
#include <thread>
#include <vector>

namespace {

struct IntCase {
  const char* text;
  bool valid;
  int value;
};

TEST(StrToInt, ReadsDecimalAndHexAndRejectsEverythingElse) {
  const IntCase cases[] = {
      {"0", true, 0},
      {"42", true, 42},
      {"  42", true, 42},
      {"\t-7", true, -7},
      {"+15", true, 15},
      {"2147483647", true, INT_MAX},
      {"-2147483648", true, INT_MIN},
      {"$1F", true, 31},
      {"0x1f", true, 31},
      {"0XFF", true, 255},
      {"$FFFFFFFF", true, -1},
      {"0x80000000", true, INT_MIN},
      {"$00000000A", true, 10},  // leading zeros do not count against the eight digits
      {"-$10", true, -16},
      {"", false, 0},
      {"   ", false, 0},
      {"-", false, 0},
      {"$", false, 0},
      {"0x", false, 0},
      {"12a", false, 0},
      {"42 ", false, 0},
      {"4 2", false, 0},
      {"1.5", false, 0},
      {"abc", false, 0},
      {"--1", false, 0},
      {"2147483648", false, 0},
      {"-2147483649", false, 0},
      {"99999999999999999999", false, 0},
      {"$100000000", false, 0},
      {"$G", false, 0},
  };
  for (const IntCase& c : cases) {
    SCOPED_TRACE(c.text);
    int value = 12345;
    EXPECT_EQ(TryStrToInt(c.text, value), c.valid);
    EXPECT_EQ(StrToIntDef(c.text, -99), c.valid ? c.value : -99);
    if (c.valid) {
      EXPECT_EQ(value, c.value);
      EXPECT_EQ(StrToInt(c.text), c.value);
    } else {
      EXPECT_EQ(value, 12345) << "a failed parse leaves the value alone";
      EXPECT_THROW(StrToInt(c.text), EConvertError);
    }
  }
}

TEST(StrToInt, ErrorMessageQuotesTheText) {
  try {
    StrToInt("12x");
    FAIL() << "no exception";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message, "'12x' is not a valid integer value");
  }
}

TEST(StrToInt64, ReadsSixtyFourBits) {
  EXPECT_EQ(StrToInt64("9223372036854775807"), INT64_MAX);
  EXPECT_EQ(StrToInt64("-9223372036854775808"), INT64_MIN);
  EXPECT_EQ(StrToInt64("$FFFFFFFFFFFFFFFF"), -1);
  EXPECT_EQ(StrToInt64("$FFFFFFFF"), 0xFFFFFFFFll);
  EXPECT_THROW(StrToInt64("9223372036854775808"), EConvertError);
  EXPECT_EQ(StrToInt64Def("x", 5), 5);
}

TEST(IntToText, DecimalAndHex) {
  EXPECT_EQ(IntToStr(0), "0");
  EXPECT_EQ(IntToStr(-2147483647 - 1), "-2147483648");
  EXPECT_EQ(IntToStr(4294967295u), "4294967295");
  EXPECT_EQ(IntToStr(static_cast<int64_t>(-9000000000)), "-9000000000");
  EXPECT_EQ(IntToStr(static_cast<DWORD>(7)), "7");
  EXPECT_EQ(IntToHex(255, 4), "00FF");
  EXPECT_EQ(IntToHex(0x1234, 2), "1234");
  EXPECT_EQ(IntToHex(0, 0), "0");
  EXPECT_EQ(IntToHex(-1, 2), "FFFFFFFF");
  EXPECT_EQ(IntToHex(static_cast<int64_t>(-1), 2), "FFFFFFFFFFFFFFFF");
  EXPECT_EQ(IntToHex(static_cast<uint8_t>(0xAB), 1), "AB");
}

TEST(Round, HalvesGoToEven) {
  const struct {
    double value;
    int64_t rounded;
  } cases[] = {{12.5, 12}, {13.5, 14}, {0.5, 0}, {1.5, 2}, {2.5, 2}, {-0.5, 0}, {-1.5, -2}, {-2.5, -2},
               {2.4999999, 2}, {2.5000001, 3}, {-2.6, -3}, {1e10 + 0.5, 10000000000}};
  for (const auto& c : cases) {
    EXPECT_EQ(Round(c.value), c.rounded) << c.value;
  }
  EXPECT_EQ(Trunc(-2.9), -2);
  EXPECT_EQ(Trunc(2.9), 2);
  EXPECT_THROW(Round(1e19), EConvertError);
  EXPECT_THROW(Round(std::nan("")), EConvertError);
  EXPECT_THROW(Trunc(-HUGE_VAL), EConvertError);
}

TEST(Strings, TrimStripsControlBytesAndBlanks) {
  EXPECT_EQ(Trim(" \t\r\n a b \x01"), "a b");
  EXPECT_EQ(TrimLeft("  a  "), "a  ");
  EXPECT_EQ(TrimRight("  a  "), "  a");
  EXPECT_EQ(Trim("   "), "");
  EXPECT_EQ(Trim("\xA0x\xA0"), "\xA0x\xA0") << "high bytes are text, not blanks";
}

TEST(Strings, AsciiFoldingOnly) {
  EXPECT_EQ(UpperCase("abc\xE9z"), "ABC\xE9Z");
  EXPECT_EQ(LowerCase("ABC\xC9Z"), "abc\xC9z");
  EXPECT_TRUE(SameText("Hello", "hELLO"));
  EXPECT_FALSE(SameText("Hello", "Hello "));
  EXPECT_EQ(CompareText("abc", "ABC"), 0);
  EXPECT_LT(CompareText("abc", "abd"), 0);
  EXPECT_LT(CompareText("ab", "abc"), 0);
  EXPECT_GT(CompareText("_", "a"), 0) << "letters fold to upper case before comparing";
  EXPECT_LT(CompareStr("B", "a"), 0);
  EXPECT_GT(CompareStr("\xE9", "z"), 0) << "bytes compare unsigned";
  EXPECT_EQ(CompareStr("same", "same"), 0);
}

TEST(Strings, CopyAndPosAreOneBasedAndClamped) {
  const struct {
    int64_t index, count;
    const char* expected;
  } cases[] = {{1, 3, "abc"}, {2, 2, "bc"},  {4, 10, "def"}, {6, 1, "f"}, {7, 1, ""},   {100, 5, ""},
               {0, 2, "ab"},  {-5, 2, "ab"}, {3, 0, ""},     {3, -1, ""}, {1, INT64_MAX, "abcdef"}};
  for (const auto& c : cases) {
    EXPECT_EQ(Copy("abcdef", c.index, c.count), c.expected) << c.index << "," << c.count;
  }
  EXPECT_EQ(Copy("", 1, 1), "");
  EXPECT_EQ(Pos("cd", "abcdcd"), 3);
  EXPECT_EQ(Pos("a", "abc"), 1);
  EXPECT_EQ(Pos("x", "abc"), 0);
  EXPECT_EQ(Pos("", "abc"), 0);
  EXPECT_EQ(Pos("abcd", "abc"), 0);
}

TEST(Arithmetic, MinMaxMulDivPower) {
  EXPECT_EQ(Min(3, 5), 3);
  EXPECT_EQ(Max(3, 5), 5);
  EXPECT_EQ(Max(2, 2.5), 2.5);
  EXPECT_EQ(Min(static_cast<int64_t>(1) << 40, 7), 7);
  EXPECT_EQ(MulDiv(5, 3, 2), 8);    // 7.5 away from zero
  EXPECT_EQ(MulDiv(-5, 3, 2), -8);
  EXPECT_EQ(MulDiv(1, 2, 0), -1);
  EXPECT_DOUBLE_EQ(Power(2, 10), 1024);
  EXPECT_DOUBLE_EQ(Sqrt(81), 9);
}

TEST(Random, StaysInRangeAcrossThreads) {
  EXPECT_EQ(Random(0), 0);
  EXPECT_EQ(Random(-3), 0);
  std::vector<std::thread> threads;
  std::vector<std::set<int>> seen(4);
  for (auto& s : seen) {
    threads.emplace_back([&s] {
      for (int i = 0; i < 2000; ++i) {
        const int r = Random(10);
        ASSERT_GE(r, 0);
        ASSERT_LT(r, 10);
        s.insert(r);
        const double d = Random();
        ASSERT_GE(d, 0.0);
        ASSERT_LT(d, 1.0);
      }
    });
  }
  for (auto& t : threads) t.join();
  for (const auto& s : seen) EXPECT_EQ(s.size(), 10u);
}

TEST(System, ErrorTextsAndOSError) {
  const String text = SysErrorMessage(ERROR_FILE_NOT_FOUND);
  EXPECT_FALSE(text.empty());
  EXPECT_NE(text.back(), '.');
  EXPECT_NE(text.back(), '\n');
  SetLastError(ERROR_ACCESS_DENIED);
  try {
    RaiseLastOSError();
    FAIL() << "no exception";
  } catch (const EOSError& e) {
    EXPECT_EQ(e.ErrorCode, static_cast<uint32_t>(ERROR_ACCESS_DENIED));
    EXPECT_NE(e.Message.find("Code: 5."), String::npos) << e.Message;
  }
}

TEST(System, ParamStrAndInstance) {
  const String program = ParamStr(0);
  EXPECT_EQ(UpperCase(Copy(program, static_cast<int64_t>(program.size()) - 3, 4)), ".EXE") << program;
  EXPECT_NE(GetFileAttributesA(program.c_str()), INVALID_FILE_ATTRIBUTES) << "a full path";
  // The C runtime splits the same command line; plain arguments must agree.
  ASSERT_EQ(ParamCount(), __argc - 1);
  for (int i = 1; i < __argc; ++i) EXPECT_EQ(ParamStr(i), __argv[i]);
  EXPECT_EQ(ParamStr(ParamCount() + 1), "");
  EXPECT_EQ(HInstance(), GetModuleHandleA(nullptr));
}

}  // namespace
