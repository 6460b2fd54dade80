#include "framework/core/strings.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<String> Lines(const TStrings& list) {
  std::vector<String> lines;
  for (int i = 0; i < list.Count(); ++i) lines.push_back(list.Strings(i));
  return lines;
}

TEST(StringList, LineEndsSplitTheRestOfTheStream) {
  using L = std::vector<String>;
  const struct {
    const char* text;
    L lines;
  } cases[] = {
      {"", {}},
      {"one", {"one"}},
      {"one\r\ntwo\r\n", {"one", "two"}},
      {"one\rtwo", {"one", "two"}},
      {"one\ntwo\n", {"one", "two"}},
      {"\r\n", {""}},
      {"a\r\n\r\nb", {"a", "", "b"}},
      {"a\n\rb", {"a", "", "b"}},    // LF then a lone CR: two breaks
      {"a\r\r\nb", {"a", "", "b"}},  // a lone CR then CR LF
      {"a\n\n", {"a", ""}},
      {"tab\tand=sign ", {"tab\tand=sign "}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(String(c.text)));
    TStringStream stream(String("SKIP") + c.text);
    stream.SetPosition(4);
    TStringList list;
    list.Add("old");
    list.LoadFromStream(stream);
    EXPECT_EQ(Lines(list), c.lines);

    TStringList viaText;
    viaText.SetText(c.text);
    EXPECT_EQ(Lines(viaText), c.lines);
  }
}

TEST(StringList, TextEndsEveryLineWithCrLf) {
  TStringList list;
  EXPECT_EQ(list.Text(), "");
  list.Add("a");
  list.Add("");
  list.Add("b");
  EXPECT_EQ(list.Text(), "a\r\n\r\nb\r\n");
  TStringStream out;
  list.SaveToStream(out);
  EXPECT_EQ(out.DataString(), list.Text());
}

TEST(StringList, NameValueLinesIgnoreCaseOfNames) {
  TStringList list;
  list.SetText("Picture=a.bmp\nMASK = m.bmp\nnoequals\n=empty name\nurl=x=y\n");
  EXPECT_EQ(list.IndexOfName("PICTURE"), 0);
  EXPECT_EQ(list.IndexOfName("picture"), 0);
  EXPECT_EQ(list.IndexOfName("MASK "), 1);  // the name is all the text before '='
  EXPECT_EQ(list.IndexOfName("mask"), -1);
  EXPECT_EQ(list.IndexOfName("noequals"), -1);
  EXPECT_EQ(list.IndexOfName(""), 3);
  EXPECT_EQ(list.Names(2), "");
  EXPECT_EQ(list.ValueFromIndex(2), "");
  EXPECT_EQ(list.Values("URL"), "x=y");
  EXPECT_EQ(list.Values("absent"), "");

  list.SetValues("picture", "b.bmp");
  EXPECT_EQ(list.Strings(0), "picture=b.bmp");
  list.SetValues("new", "1");
  EXPECT_EQ(list.Strings(list.Count() - 1), "new=1");
  list.SetValues("PICTURE", "");
  EXPECT_EQ(list.IndexOfName("picture"), -1);
  EXPECT_EQ(list.Count(), 5);
}

TEST(StringList, IndexOfFoldsAsciiUnlessCaseSensitive) {
  TStringList list;
  list.Add("Alpha");
  list.Add("beta");
  EXPECT_EQ(list.IndexOf("ALPHA"), 0);
  EXPECT_EQ(list.IndexOf("Beta"), 1);
  EXPECT_EQ(list.IndexOf("gamma"), -1);
  list.SetCaseSensitive(true);
  EXPECT_EQ(list.IndexOf("ALPHA"), -1);
  EXPECT_EQ(list.IndexOf("Alpha"), 0);
}

TEST(StringList, SortedListsKeepOrderAndHandleDuplicates) {
  TStringList list;
  list.SetSorted(true);
  for (const char* s : {"b", "_x", "A", "c", "a"}) list.Add(s);
  // Letters fold to upper case, so '_' (0x5F) sorts after them.
  EXPECT_EQ(Lines(list), (std::vector<String>{"A", "b", "c", "_x"}));  // "a" ignored as a duplicate
  int index = -1;
  EXPECT_TRUE(list.Find("C", index));
  EXPECT_EQ(index, 2);
  EXPECT_FALSE(list.Find("bb", index));
  EXPECT_EQ(index, 2);
  EXPECT_EQ(list.Add("B"), 1);
  EXPECT_EQ(list.Count(), 4);
  EXPECT_THROW(list.Insert(0, "z"), EListError);
  EXPECT_THROW(list.SetStrings(0, "z"), EListError);

  list.Duplicates = dupError;
  EXPECT_THROW(list.Add("a"), EListError);
  list.Duplicates = dupAccept;
  list.Add("a");
  EXPECT_EQ(list.Count(), 5);
  EXPECT_EQ(list.IndexOf("a"), 0);

  TStringList plain;
  for (const char* s : {"b", "_x", "A"}) plain.Add(s);
  plain.Sort();
  EXPECT_EQ(Lines(plain), (std::vector<String>{"A", "b", "_x"}));
  plain.CustomSort([](TStringList& l, int a, int b) {
    return static_cast<int>(l.Strings(b).size()) - static_cast<int>(l.Strings(a).size());
  });
  EXPECT_EQ(plain.Strings(0), "_x");
}

TEST(StringList, ObjectsTravelWithTheirLines) {
  TObject one, two;
  TStringList list;
  list.AddObject("z", &one);
  list.AddObject("y", &two);
  list.Sort();
  EXPECT_EQ(list.Objects(0), &two);
  EXPECT_EQ(list.IndexOfObject(&one), 1);

  TStringList copy;
  copy.Assign(&list);
  copy.Assign(copy);  // assigning a list to itself keeps it
  EXPECT_EQ(Lines(copy), Lines(list));
  EXPECT_EQ(copy.Objects(1), &one);
  copy.Move(1, 0);
  EXPECT_EQ(copy.Strings(0), "z");
  EXPECT_EQ(copy.Objects(0), &one);
  copy.Exchange(0, 1);
  EXPECT_EQ(copy.Objects(0), &two);
  TPersistent other;
  EXPECT_THROW(copy.Assign(&other), EConvertError);
}

TEST(StringList, BadIndexRaisesListError) {
  TStringList list;
  list.Add("a");
  try {
    list.Strings(5);
    FAIL() << "no exception";
  } catch (const EListError& e) {
    EXPECT_STREQ(e.what(), "List index out of bounds (5)");
  }
  EXPECT_THROW(list.Objects(-1), EListError);
  EXPECT_THROW(list.Delete(1), EListError);
  EXPECT_THROW(list.Insert(2, "x"), EListError);
  EXPECT_THROW(list.Move(0, 3), EListError);
  EXPECT_EQ(list.Count(), 1);  // the failed move lost nothing
  list.Insert(1, "b");
  EXPECT_EQ(list.Strings(1), "b");
}

TEST(StringList, ChangeEventsOnlyOutsideUpdates) {
  TStringList list;
  int changes = 0;
  list.OnChange = [&](TObject* sender) {
    EXPECT_EQ(sender, &list);
    ++changes;
  };
  list.Add("a");
  EXPECT_EQ(changes, 1);
  list.BeginUpdate();
  list.BeginUpdate();
  list.Add("b");
  list.Delete(0);
  list.EndUpdate();
  EXPECT_EQ(changes, 1);
  list.EndUpdate();
  EXPECT_EQ(changes, 2);
  list.EndUpdate();  // unbalanced: ignored
  list.SetText("x\ny\nz");
  EXPECT_EQ(changes, 3);
}

}  // namespace
