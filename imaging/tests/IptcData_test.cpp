#include "imaging/IptcData.h"

#include <gtest/gtest.h>

#include "imaging/ExifData.h"
#include "imaging/tests/TiffBuilder.h"

namespace {

using test::IptcDataset;

std::vector<String> Lines(TIPTCdata& iptc, const String& section) {
  const auto list = iptc.IPTCToStrings(section);
  std::vector<String> lines;
  for (int i = 0; i < list->Count(); ++i) lines.push_back(list->Strings(i));
  return lines;
}

// The APP13 section as the reader keeps it: length bytes, then the resource data.
String Section(const String& datasets) { return test::IptcSection(datasets).substr(2); }

TEST(IptcReader, TableRows) {
  ASSERT_EQ(IptcTagTable().size(), 49u);
  EXPECT_STREQ(IptcTagTable()[0].Name, "SKIP");
  EXPECT_STREQ(IptcTagTable()[11].Desc, "Keywords");
  EXPECT_EQ(IptcTagTable()[43].Size, 2000);
  EXPECT_EQ(IptcTagTable()[48].Record, 8);
  EXPECT_STREQ(IptcTagTable()[48].Name, "Subfile");
}

TEST(IptcReader, ListingAndParsing) {
  const String section = Section(IptcDataset(2, 0, String("\0\x04", 2)) + IptcDataset(2, 25, "a") +
                                 IptcDataset(2, 25, "b") + IptcDataset(2, 90, "Leuven") + IptcDataset(1, 90, "x") +
                                 IptcDataset(2, 200, "custom") + IptcDataset(8, 10, "7") + IptcDataset(2, 20, "s1"));
  TIPTCdata iptc(nullptr);
  const std::vector<String> expected = {
      String("Custom_0 = \0\x04", 13), "Keywords = a", "Keywords = b", "City = Leuven", "Custom_200 = custom",
      "Subfile = 7", "Supplemental category = s1",
  };
  EXPECT_EQ(Lines(iptc, section), expected);

  iptc.ParseIPTCStrings(section);
  ASSERT_EQ(iptc.Count(), 5);
  EXPECT_EQ(iptc.GetTagValue("Keywords", "?"), "a,b");
  EXPECT_EQ(iptc.GetTagValue("city", "?"), "Leuven");
  EXPECT_EQ(iptc.GetTagValue("Custom_200", "?"), "custom");
  EXPECT_EQ(iptc.GetTagValue("SuppCategory", "?"), "s1");
  EXPECT_EQ(iptc.GetTagValue("SKIP", "none"), "none");  // dataset 0 is dropped
  EXPECT_EQ(iptc.GetTagByIndex(1).Size, 32);
  EXPECT_THROW(iptc.GetTagByIndex(5), EListError);
}

TEST(IptcReader, FindingTheFirstDataset) {
  TIPTCdata iptc(nullptr);
  // Without "Photoshop 3.0" the scan starts at the 13th byte.
  const String bare = String(12, '\x1C') + IptcDataset(2, 5, "name");
  EXPECT_EQ(Lines(iptc, bare), std::vector<String>{"Object name = name"});
  EXPECT_TRUE(Lines(iptc, String(11, '\0') + IptcDataset(2, 5, "x").substr(0, 3)).empty());
  EXPECT_TRUE(Lines(iptc, "").empty());
  EXPECT_TRUE(Lines(iptc, Section("")).empty());
}

TEST(IptcReader, DatasetsNeverReachPastTheSection) {
  TIPTCdata iptc(nullptr);
  String section = Section(IptcDataset(2, 120, String(100, 'c')));
  section.resize(section.size() - 90);
  EXPECT_EQ(Lines(iptc, section), std::vector<String>{"Image caption = cccccccccc"});
  const String huge = Section(String("\x1C\x02\x78\xFF\xFF", 5) + "short");
  EXPECT_EQ(Lines(iptc, huge), std::vector<String>{"Image caption = short"});
  const String full = Section(IptcDataset(2, 5, "a") + IptcDataset(2, 25, "kw"));
  // A cut section gives the datasets it still holds, under their own names, and no more.
  const std::vector<String> whole = Lines(iptc, full);
  ASSERT_EQ(whole.size(), 2u);
  for (size_t n = 0; n < full.size(); ++n) {
    const std::vector<String> lines = Lines(iptc, full.substr(0, n));
    ASSERT_LE(lines.size(), whole.size()) << n;
    for (size_t i = 0; i < lines.size(); ++i) {
      const size_t name = whole[i].find(" = ");
      EXPECT_EQ(lines[i].substr(0, name), whole[i].substr(0, name)) << n;
    }
  }
}

TEST(IptcReader, EditingEntries) {
  TIPTCdata iptc(nullptr);
  EXPECT_EQ(iptc.SetTagValue("City", "Gent"), 0);
  EXPECT_EQ(iptc.SetTagValue("City", ""), 0);
  EXPECT_EQ(iptc.GetTagValue("City", ""), "Gent");
  EXPECT_EQ(iptc.SetTagValue("NoSuchName", "x"), -1);
  EXPECT_EQ(iptc.WriteTag("Keywords", "a"), 1);
  EXPECT_EQ(iptc.WriteTag("keywords", "b"), 1);
  EXPECT_EQ(iptc.GetTagValue("Keywords", ""), "a,b");
  EXPECT_EQ(iptc.WriteTag("City", "Brugge"), 0);
  EXPECT_EQ(iptc.GetTagValue("City", ""), "Brugge");
  EXPECT_EQ(iptc.WriteTag("Custom_9", "x"), -1);
  EXPECT_EQ(iptc.AppendTagValue("ByLine", "me"), 2);
  EXPECT_EQ(iptc.LookupTableIndex("byline"), 30);
  iptc.RemoveTag("City");
  EXPECT_EQ(iptc.Count(), 2);
  EXPECT_EQ(iptc.LookupIndex("ByLine"), 1);
  EXPECT_TRUE(iptc.HasData());
  iptc.Reset();
  EXPECT_FALSE(iptc.HasData());
}

// Any other IPTC object has its parent read the file: the parent then holds what was read.
TEST(IptcReader, ReadFileHasTheParentRead) {
  test::TempFile file("iptc.jpg", test::Jpeg({test::IptcSection(IptcDataset(2, 25, "k"))}));
  TimgData parent;
  TIPTCdata iptc(&parent);
  EXPECT_TRUE(iptc.ReadFile(file.Path()));
  EXPECT_EQ(iptc.GetTagValue("Keywords", ""), "k");
  EXPECT_EQ(parent.FileName, file.Path());
  EXPECT_NE(parent.IptcSegment, nullptr);
  EXPECT_EQ(parent.ErrStr, "<none>");
}

TEST(IptcReader, ReadFileOnTheParentsOwnObject) {
  test::TempFile file("iptc.jpg", test::Jpeg({test::IptcSection(IptcDataset(2, 25, "x") + IptcDataset(2, 25, "y"))}));
  TimgData reader;
  ASSERT_TRUE(reader.ReadMetadata(file.Path()));
  ASSERT_NE(reader.IptcObj(), nullptr);
  TIPTCdata* own = reader.IptcObj();
  EXPECT_TRUE(own->ReadFile(file.Path()));
  EXPECT_EQ(own->GetTagValue("Keywords", ""), "x,y");
  EXPECT_EQ(reader.IptcObj(), own);
  EXPECT_FALSE(own->ReadFile("Z:\\no\\such.jpg"));
}

}  // namespace
