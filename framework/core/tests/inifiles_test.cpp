#include "framework/core/inifiles.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "framework/testsupport/scratch_dir.h"

namespace {

std::vector<String> Lines(const TStrings& list) {
  std::vector<String> lines;
  for (int i = 0; i < list.Count(); ++i) lines.push_back(list.Strings(i));
  return lines;
}

void WriteText(const String& fileName, const String& text) {
  TStringStream content(text);
  TFileStream file(fileName, fmCreate);
  file.CopyFrom(content, content.Size());
}

const char kSkinText[] =
    "orphan=before any section\r\n"
    "  [ Main ]  \r\n"
    "; comment=1\r\n"
    "Name = Value With Spaces  \r\n"
    "quoted=\"kept\"\r\n"
    "Case=MixedCase\r\n"
    "dup=first\r\n"
    "DUP=second\r\n"
    "novalue\r\n"
    "empty=\r\n"
    "num=-2147483648\r\n"
    "big=2147483648\r\n"
    "hex=0xFF000010\r\n"
    "dollar=$1F\r\n"
    "hexnone=0x\r\n"
    "hex9=0x123456789\r\n"
    "junk=12abc\r\n"
    "plus=+7\r\n"
    "spaced=1 2\r\n"
    "[Empty]\r\n"
    "[main]\r\n"
    "later=continued\r\n"
    "[Other]\r\n"
    "x=1\r\n";

TMemIniFile* LoadSkin(TMemIniFile& ini) {
  TStringList lines;
  lines.SetText(kSkinText);
  ini.SetStrings(lines);
  return &ini;
}

TEST(MemIniFile, Decisions) {
  TMemIniFile ini;
  LoadSkin(ini);
  const char* absent = "<default>";
  const struct {
    const char* section;
    const char* key;
    const char* expected;
  } strings[] = {
      {"Main", "Name", "Value With Spaces"},  // trimmed line, key and value
      {"MAIN", "NAME", "Value With Spaces"},  // names ignore ASCII case
      {"main", "quoted", "\"kept\""},          // no quote stripping
      {"main", "case", "MixedCase"},           // value as written
      {"main", "dup", "first"},                // first duplicate wins
      {"main", "novalue", absent},             // a line without '=' is ignored
      {"main", "; comment", absent},           // comments are skipped
      {"main", "empty", ""},                   // present but empty is not the default
      {"main", "later", "continued"},          // a repeated header continues the section
      {"main", "orphan", absent},              // lines before the first section are ignored
      {"", "orphan", absent},
      {"Empty", "x", absent},
      {"other", "X", "1"},
  };
  for (const auto& c : strings) {
    SCOPED_TRACE(String(c.section) + "/" + c.key);
    EXPECT_EQ(ini.ReadString(c.section, c.key, absent), c.expected);
  }

  const struct {
    const char* key;
    int expected;
  } integers[] = {
      {"num", INT_MIN},
      {"big", 99},  // beyond 32 bits
      {"hex", static_cast<int>(0xFF000010u)},
      {"dollar", 0x1F},
      {"hexnone", 99},
      {"hex9", 99},
      {"junk", 99},
      {"plus", 7},
      {"spaced", 99},
      {"name", 99},
      {"empty", 99},
      {"absent", 99},
  };
  for (const auto& c : integers) {
    SCOPED_TRACE(c.key);
    EXPECT_EQ(ini.ReadInteger("Main", c.key, 99), c.expected);
  }
  EXPECT_TRUE(ini.ReadBool("main", "plus", false));
  EXPECT_FALSE(ini.ReadBool("main", "absent", false));

  EXPECT_TRUE(ini.SectionExists("EMPTY"));  // a header without keys is a section
  EXPECT_FALSE(ini.SectionExists("absent"));
  EXPECT_TRUE(ini.ValueExists("main", "EMPTY"));
  EXPECT_FALSE(ini.ValueExists("main", "novalue"));

  TStringList list;
  ini.ReadSections(list);
  EXPECT_EQ(Lines(list), (std::vector<String>{"Main", "Empty", "Other"}));
  ini.ReadSection("other", list);
  EXPECT_EQ(Lines(list), (std::vector<String>{"x"}));
  ini.ReadSectionValues("MAIN", list);
  EXPECT_EQ(list.Strings(0), "Name=Value With Spaces");
  EXPECT_EQ(list.Strings(list.Count() - 1), "later=continued");
}

TEST(MemIniFile, WritesKeepTextOrder) {
  TMemIniFile ini;
  LoadSkin(ini);
  ini.WriteString("MAIN", "Dup", "replaced");
  EXPECT_EQ(ini.ReadString("main", "dup", ""), "replaced");
  ini.WriteInteger("Other", "y", -5);
  ini.WriteBool("New", "flag", true);
  ini.EraseSection("empty");

  TStringList text;
  ini.GetStrings(text);
  const String all = text.Text();
  EXPECT_EQ(all.substr(0, 8), "[Main]\r\n");
  EXPECT_NE(all.find("dup=replaced\r\nDUP=second\r\n"), String::npos);
  EXPECT_NE(all.find("[Other]\r\nx=1\r\ny=-5\r\n"), String::npos);
  EXPECT_NE(all.find("[New]\r\nflag=1\r\n"), String::npos);
  EXPECT_EQ(all.find("[Empty]"), String::npos);

  ini.DeleteKey("main", "DUP");  // every line of the name goes
  EXPECT_FALSE(ini.ValueExists("main", "dup"));
  ini.UpdateFile();  // no file name: nothing happens

  TMemIniFile copy;
  copy.SetStrings(text);
  EXPECT_EQ(copy.ReadString("new", "flag", ""), "1");
}

TEST(MemIniFile, FileRoundTrip) {
  ScratchDir dir;
  const String name = dir / "mem.ini";
  WriteText(name, "[a]\nk=v\n");
  {
    TMemIniFile ini(name);
    EXPECT_EQ(ini.ReadString("A", "K", ""), "v");
    ini.WriteString("b", "n", "2");
    ini.UpdateFile();
  }
  TMemIniFile again(name);
  EXPECT_EQ(again.ReadInteger("B", "N", 0), 2);
  TMemIniFile missing(dir / "absent.ini");
  EXPECT_FALSE(missing.SectionExists("a"));
}

TEST(IniFile, PrivateProfileSemantics) {
  ScratchDir dir;
  const String name = dir / "lang.ini";
  WriteText(name,
            "[Main]\r\n"
            "Quoted=\"hello world\"\r\n"
            "Single='x y'\r\n"
            "dup=first\r\n"
            "DUP=second\r\n"
            "Num=0x10\r\n"
            "Flag=2\r\n"
            "Long=" + String(3000, 'z') + "\r\n"
            "[Empty]\r\n"
            "[Other]\r\n"
            "a=1\r\n");
  TIniFile ini(name);
  EXPECT_EQ(ini.ReadString("main", "quoted", ""), "hello world");
  EXPECT_EQ(ini.ReadString("MAIN", "single", ""), "x y");
  EXPECT_EQ(ini.ReadString("Main", "Dup", ""), "first");
  EXPECT_EQ(ini.ReadString("Main", "absent", "<not set>"), "<not set>");
  EXPECT_EQ(ini.ReadString("Main", "Long", ""), String(2047, 'z'));
  EXPECT_EQ(ini.ReadInteger("Main", "Num", 0), 16);
  EXPECT_EQ(ini.ReadInteger("Main", "Quoted", 5), 5);
  EXPECT_TRUE(ini.ReadBool("Main", "Flag", false));

  EXPECT_TRUE(ini.SectionExists("other"));
  EXPECT_FALSE(ini.SectionExists("Empty"));  // no keys: no section, unlike the in-memory file
  EXPECT_TRUE(ini.ValueExists("Other", "A"));
  EXPECT_FALSE(ini.ValueExists("Other", "b"));

  TStringList list;
  ini.ReadSections(list);
  EXPECT_EQ(Lines(list), (std::vector<String>{"Main", "Empty", "Other"}));
  ini.ReadSectionValues("other", list);
  EXPECT_EQ(Lines(list), (std::vector<String>{"a=1"}));

  ini.WriteBool("Other", "b", true);
  ini.WriteInteger("Other", "c", -3);
  EXPECT_EQ(ini.ReadString("Other", "b", ""), "1");
  EXPECT_EQ(ini.ReadInteger("Other", "c", 0), -3);
  ini.DeleteKey("Other", "b");
  EXPECT_FALSE(ini.ValueExists("Other", "b"));
  ini.EraseSection("Other");
  EXPECT_FALSE(ini.SectionExists("Other"));
  ini.UpdateFile();
}

TEST(IniFile, FailedWriteRaises) {
  ScratchDir dir;
  TIniFile ini(dir / "no\\such\\folder.ini");
  try {
    ini.WriteString("a", "b", "c");
    FAIL() << "no exception";
  } catch (const EIniFileException& e) {
    EXPECT_EQ(String(e.what()), "Unable to write to " + ini.FileName());
  }
  EXPECT_THROW(ini.EraseSection("a"), EIniFileException);
}

}  // namespace
