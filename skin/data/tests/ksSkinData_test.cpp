#include "skin/data/ksSkinData.h"

#include <gtest/gtest.h>

#include <cstring>
#include <utility>
#include <vector>

#include "framework/testsupport/scratch_dir.h"
#include "skin/data/ksSkinDataZip.h"
#include "skin/tests/ksSkinData_fixture.h"

using namespace skintest;

namespace {

// Plain top-level windows standing in for forms: each records the skin messages
// it gets, with the container's state at that moment.
struct Received {
  HWND wnd;
  UINT msg;
  WPARAM wParam;
  LPARAM lParam;
  bool empty;
  size_t controls;
};
std::vector<Received> g_received;
TksSkinData* g_watched = nullptr;

LRESULT CALLBACK StandInProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg >= WM_BEFORECHANGESKINDATA && msg <= WM_CHANGERESOURCESTRDATA && g_watched)
    g_received.push_back({wnd, msg, wParam, lParam, g_watched->Empty, g_watched->CtrlList.size()});
  return DefWindowProcA(wnd, msg, wParam, lParam);
}

class StandInWindow {
 public:
  StandInWindow() {
    static bool registered = [] {
      WNDCLASSA wc{};
      wc.lpfnWndProc = StandInProc;
      wc.hInstance = GetModuleHandleA(nullptr);
      wc.lpszClassName = "ksSkinDataStandIn";
      return RegisterClassA(&wc) != 0;
    }();
    (void)registered;
    wnd_ = CreateWindowExA(0, "ksSkinDataStandIn", "", WS_OVERLAPPEDWINDOW, 0, 0, 10, 10, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
  }
  ~StandInWindow() { DestroyWindow(wnd_); }
  HWND wnd_;
};

class SkinDataTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_received.clear();
    g_watched = &data;
    data.FormWindows = [this] { return std::vector<HWND>{first.wnd_, second.wnd_}; };
  }
  void TearDown() override { g_watched = nullptr; }

  std::vector<std::pair<HWND, UINT>> Sequence() const {
    std::vector<std::pair<HWND, UINT>> seq;
    for (const Received& r : g_received) seq.emplace_back(r.wnd, r.msg);
    return seq;
  }

  StandInWindow first, second;
  TksSkinData data{nullptr};
  TksCompressedStoredSkin stored{nullptr};
};

TEST_F(SkinDataTest, LoadSendsBeforeThenChangeThenAfterToEveryWindowInOrder) {
  StoreSkin(stored, 3, kMinimalSkin);
  data.SetCompressedStoredSkin(&stored);

  HWND a = first.wnd_, b = second.wnd_;
  std::vector<std::pair<HWND, UINT>> expected = {
      {a, WM_BEFORECHANGESKINDATA}, {b, WM_BEFORECHANGESKINDATA}, {a, WM_CHANGESKINDATA},
      {b, WM_CHANGESKINDATA},       {a, WM_AFTERCHANGESKINDATA},  {b, WM_AFTERCHANGESKINDATA}};
  EXPECT_EQ(Sequence(), expected);
  for (const Received& r : g_received) {
    EXPECT_EQ(r.wParam, reinterpret_cast<WPARAM>(&data));
    EXPECT_EQ(r.lParam, 1000);
    EXPECT_EQ(r.empty, r.msg == WM_BEFORECHANGESKINDATA);
  }
  EXPECT_FALSE(data.Empty);
}

TEST_F(SkinDataTest, BeforeMessageStillSeesThePreviousSkin) {
  StoreSkin(stored, 3, kMinimalSkin);
  data.SetCompressedStoredSkin(&stored);
  g_received.clear();
  data.SetCompressedStoredSkin(&stored);  // a second assignment loads again
  ASSERT_EQ(g_received.size(), 6u);
  EXPECT_EQ(g_received[0].controls, 1u);
  EXPECT_TRUE(g_received[0].empty);
}

TEST_F(SkinDataTest, LoadFillsPicturesNamesFormInfoAndLists) {
  StoreSkin(stored, 3, kMinimalSkin);
  data.SetCompressedStoredSkin(&stored);

  EXPECT_EQ(data.Picture.Width(), kFrameWidth);
  EXPECT_TRUE(data.InActivePicture.Empty());
  EXPECT_EQ(data.MaskPicture.Height(), kFrameHeight);
  ASSERT_EQ(data.ActivePictures.size(), 2u);
  EXPECT_EQ(data.ActivePictures[1]->Width(), ActiveWidth(1));
  EXPECT_EQ(data.ActivePicture(1), data.ActivePictures[1].get());
  EXPECT_EQ(data.ActivePicture(2), nullptr);
  EXPECT_EQ(data.ActivePicture(-1), nullptr);
  EXPECT_EQ(data.ActivePicture(-7), nullptr);
  EXPECT_EQ(data.SkinName, "Test skin");
  EXPECT_EQ(data.SkinAuthor, "Us");
  EXPECT_EQ(data.MaskPictureName, "mask.bmp");
  ASSERT_EQ(data.ActivePictureNames.Count(), 2);
  EXPECT_EQ(data.ActivePictureNames.Strings(1), "b.bmp");

  // The mask area widened to hold the client area; zero hit-test corners replaced
  // by the corners as read; corners then moved into the client area.
  EXPECT_EQ(data.MaskRectArea, (TRect{9, 17, 271, 101}));
  EXPECT_EQ(data.HitTestLTPoint, (TPoint{30, 60}));
  EXPECT_EQ(data.HitTestRTPoint, (TPoint{7, 7}));
  EXPECT_EQ(data.HitTestLBPoint, (TPoint{10, 90}));
  EXPECT_EQ(data.LTPoint, (TPoint{30, 60}));
  EXPECT_EQ(data.LBPoint, (TPoint{20, 90}));
  EXPECT_EQ(data.RBPoint, (TPoint{258, 99}));
  EXPECT_EQ(data.BGPictureIndex, 1);
  EXPECT_EQ(data.MDIBGPictureIndex, -1);
  EXPECT_EQ(data.InActiveEffect, 5);

  ASSERT_EQ(data.CtrlList.size(), 1u);
  EXPECT_NE(dynamic_cast<TksDataSkinButtonControl*>(data.CtrlList[0].get()), nullptr);
  EXPECT_EQ(data.CtrlList[0]->SkinRect, (TRect{1, 2, 30, 20}));
  EXPECT_EQ(data.GetControlIndex("button"), 0);
  EXPECT_EQ(data.GetControlIndex("Button"), -1);
  EXPECT_EQ(data.GetControlIndex("odd"), -1);
  EXPECT_EQ(data.GetControlIndex("a"), -1);
  ASSERT_EQ(data.ObjectList.size(), 1u);
  EXPECT_EQ(data.GetObjectIndex("caption"), 0);
  EXPECT_EQ(dynamic_cast<TksDataSkinCaption&>(*data.ObjectList[0]).FontHeight, 13);
  EXPECT_EQ(data.HintWindow.WindowPictureIndex, 1);
  EXPECT_EQ(data.HintWindow.FontName, "Tahoma");
  EXPECT_EQ(data.PopupWindow.WindowPictureIndex, -1);
}

TEST_F(SkinDataTest, WithoutMaskTheMaskAreaAndHitTestPointsStayAsRead) {
  std::string text = kMinimalSkin;
  text.replace(text.find("mask=mask.bmp"), 13, "mask=");
  StoreSkin(stored, 3, text);
  data.SetCompressedStoredSkin(&stored);
  EXPECT_EQ(data.MaskRectArea, (TRect{9, 17, 271, 98}));
  EXPECT_EQ(data.HitTestLTPoint, (TPoint{0, 5}));
  EXPECT_EQ(data.HitTestLBPoint, (TPoint{0, 0}));
}

TEST_F(SkinDataTest, EveryReadableVersionLoadsTheSamePictures) {
  for (int32_t version : {0, 1, 2, 3}) {
    SCOPED_TRACE(version);
    StoreSkin(stored, version, kMinimalSkin);
    data.SetCompressedStoredSkin(&stored);
    EXPECT_FALSE(data.Empty);
    EXPECT_EQ(data.MaskPicture.Width(), kFrameWidth);
    EXPECT_EQ(data.ActivePictures.size(), 2u);
    EXPECT_EQ(data.CtrlList.size(), 1u);
  }
}

// A list that skips a number keeps the entries after the gap.
TEST_F(SkinDataTest, ASparseControlListKeepsItsLaterEntries) {
  std::string text = kMinimalSkin;
  text.replace(text.find("[SKINCONTROLS]\r\ncount=4"), 23, "[SKINCONTROLS]\r\ncount=7\r\n6=gauge:gauge");
  StoreSkin(stored, 3, text);
  data.SetCompressedStoredSkin(&stored);
  EXPECT_NE(data.GetControlIndex("button"), -1);
  EXPECT_NE(data.GetControlIndex("gauge"), -1);
  EXPECT_EQ(data.CtrlList.size(), 2u);
}

TEST_F(SkinDataTest, CountOfZeroOrBelowReadsNoPictureAndTheTextFollows) {
  for (int32_t count : {0, -3}) {
    TMemoryStream s;
    WriteSkinStream(s, 3, kMinimalSkin, 0);
    // Patch the count: it sits right before the text.
    auto* bytes = static_cast<uint8_t*>(s.Memory());
    std::memcpy(bytes + s.Size() - std::strlen(kMinimalSkin) - 4, &count, 4);
    stored.CompressStream(s);
    data.SetCompressedStoredSkin(&stored);
    EXPECT_FALSE(data.Empty);
    EXPECT_TRUE(data.ActivePictures.empty());
    EXPECT_EQ(data.SkinName, "Test skin");
  }
}

// Each failing load leaves the container Empty, and the forms still hear that the
// skin changed, so they settle in the look without one.
TEST_F(SkinDataTest, FailedLoadsLeaveTheContainerEmptyAndTellTheForms) {
  std::string badValue = std::string(kMinimalSkin) + "[extra]\r\n";
  badValue.replace(badValue.find("skinrect=1,2,30,20"), 18, "skinrect=1,2,30");

  struct Case {
    const char* name;
    std::function<void(TksCompressedStoredSkin&)> store;
    bool raises;
  };
  std::vector<Case> cases = {
      {"version 4", [](auto& s) { StoreSkin(s, 4, kMinimalSkin); }, false},
      {"malformed rectangle", [&](auto& s) { StoreSkin(s, 3, badValue); }, true},
      {"truncated zlib",
       [](auto& s) {
         StoreSkin(s, 3, kMinimalSkin);
         s.CompressedStream().SetSize(s.CompressedStream().Size() / 2);
       },
       true},
      {"bad checksum",
       [](auto& s) {
         StoreSkin(s, 3, kMinimalSkin);
         static_cast<uint8_t*>(s.CompressedStream().Memory())[s.CompressedStream().Size() - 1] ^= 0xFF;
       },
       true},
      {"bfSize beyond the stream",
       [](auto& s) {
         TMemoryStream m;
         PutInt32(m, 3);
         PutByte(m, 0);
         PutBitmap(m, 4, 3);
         uint32_t huge = 0x7FFFFFF0;
         std::memcpy(static_cast<uint8_t*>(m.Memory()) + 5 + 2, &huge, 4);
         s.CompressStream(m);
       },
       true},
      {"huge picture count",
       [](auto& s) {
         TMemoryStream m;
         WriteSkinStream(m, 3, "", 1);
         int32_t huge = 0x7FFFFFFF;
         std::memcpy(static_cast<uint8_t*>(m.Memory()) + m.Size() - 4 - BitmapBytes(ActiveWidth(0), kActiveHeight),
                     &huge, 4);
         s.CompressStream(m);
       },
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    StoreSkin(stored, 3, kMinimalSkin);
    data.SetCompressedStoredSkin(&stored);
    ASSERT_FALSE(data.Empty);
    g_received.clear();
    c.store(stored);
    if (c.raises)
      EXPECT_ANY_THROW(data.SetCompressedStoredSkin(&stored));
    else
      data.SetCompressedStoredSkin(&stored);
    EXPECT_TRUE(data.Empty);
    std::vector<std::pair<HWND, UINT>> expected = {
        {first.wnd_, WM_BEFORECHANGESKINDATA}, {second.wnd_, WM_BEFORECHANGESKINDATA},
        {first.wnd_, WM_CHANGESKINDATA},       {second.wnd_, WM_CHANGESKINDATA},
        {first.wnd_, WM_AFTERCHANGESKINDATA},  {second.wnd_, WM_AFTERCHANGESKINDATA}};
    EXPECT_EQ(Sequence(), expected);
    // A refused version clears everything; a failure keeps what was read so far.
    if (!c.raises) {
      EXPECT_TRUE(data.Picture.Empty() && data.CtrlList.empty());
    }
  }
}

// A rectangle or point beyond the picture it is taken from would have a control make a
// bitmap of its size: the load fails naming the section and the key.
TEST_F(SkinDataTest, ARectangleOutsideItsPictureIsRefusedByName) {
  const struct {
    const char* from;
    const char* to;
    const char* message;
  } cases[] = {
      {"skinrect=1,2,30,20", "skinrect=1,2,30,2000",
       "Skin section [button], key skinrect: 1,2,30,2000 lies outside its picture of 32 x 24"},
      {"clientrect=20,51,258,101", "clientrect=20,51,258,100000",
       "Skin section [FORMINFO], key clientrect: 20,51,258,100000 lies outside its picture of 280 x 110"},
      {"lefttoppoint=30,60", "lefttoppoint=3000,60",
       "Skin section [FORMINFO], key lefttoppoint: 3000,60 lies outside its picture of 280 x 110"},
      {"textrect=1,2,3,4", "textrect=1,2,3,40000",
       "Skin section [caption], key textrect: 1,2,3,40000 lies outside its picture of 280 x 110"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.to);
    std::string text = kMinimalSkin;
    text.replace(text.find(c.from), std::strlen(c.from), c.to);
    StoreSkin(stored, 3, text);
    try {
      data.SetCompressedStoredSkin(&stored);
      ADD_FAILURE() << "loaded";
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message, c.message);
    }
    EXPECT_TRUE(data.Empty);
  }
}

TEST_F(SkinDataTest, EmptyStoredSkinLoadsNothingAndSendsNothing) {
  StoreSkin(stored, 3, kMinimalSkin);
  data.SetCompressedStoredSkin(&stored);
  g_received.clear();
  TksCompressedStoredSkin none(nullptr);
  data.SetCompressedStoredSkin(&none);
  EXPECT_TRUE(g_received.empty());
  EXPECT_FALSE(data.Empty);
  EXPECT_EQ(data.CtrlList.size(), 1u);
}

TEST_F(SkinDataTest, AssigningResourceStringsTellsEveryWindowEvenForNil) {
  TksResourceStrData res(nullptr);
  data.SetResourceStrData(&res);
  data.SetResourceStrData(nullptr);
  std::vector<std::pair<HWND, UINT>> expected = {{first.wnd_, WM_CHANGERESOURCESTRDATA},
                                                 {second.wnd_, WM_CHANGERESOURCESTRDATA},
                                                 {first.wnd_, WM_CHANGERESOURCESTRDATA},
                                                 {second.wnd_, WM_CHANGERESOURCESTRDATA}};
  EXPECT_EQ(Sequence(), expected);
}

TEST_F(SkinDataTest, FreeingAReferencedComponentClearsTheReference) {
  auto* res = new TksResourceStrData(nullptr);
  data.SetResourceStrData(res);
  res->Free();
  EXPECT_EQ(data.ResourceStrData(), nullptr);
}

TEST(SkinDataParse, ParseNameTypeSplitsAtTheFirstColon) {
  struct {
    const char* entry;
    const char* name;
    const char* type;
  } cases[] = {{"button:button", "button", "button"}, {"a:b:c", "a", "b:c"}, {"nocolon", "", ""},
               {":panel", "", "panel"},               {"x:", "x", ""},      {"", "", ""}};
  for (const auto& c : cases) {
    String name = "junk", type = "junk";
    ParseNameType(c.entry, name, type);
    EXPECT_EQ(name, c.name) << c.entry;
    EXPECT_EQ(type, c.type) << c.entry;
  }
}

TEST(SkinDataParse, CheckSkinSectionsNeedsAllFive) {
  TMemIniFile ini;
  TStringList lines;
  lines.SetText("[VERSION]\r\n[PICTURES]\r\n[FORMINFO]\r\n[SKINOBJECTS]\r\n");
  ini.SetStrings(lines);
  EXPECT_FALSE(CheckSkinSections(ini));
  ini.WriteString("skincontrols", "count", "0");
  EXPECT_TRUE(CheckSkinSections(ini));
}

// ---- stored skin ----------------------------------------------------------------------

void WriteFile(const std::string& path, const std::string& bytes) {
  TFileStream f(path, fmCreate);
  f.WriteBuffer(bytes.data(), static_cast<int>(bytes.size()));
}

TEST(StoredSkin, PackerWritesTheExactLayoutAtLevelNine) {
  ScratchDir dir;
  const std::string ini =
      "[VERSION]\r\nskinname=p\r\n[PICTURES]\r\npicture=f.bmp\r\nmask=\r\nactivepicturescount=1\r\n0=a.bmp\r\n"
      "[FORMINFO]\r\n[SKINOBJECTS]\r\n[SKINCONTROLS]\r\ncount=0\r\n";
  TBitmap frame(5, 4, pf24bit), active(3, 2, pf8bit);
  frame.SaveToFile(dir / "f.bmp");
  active.SaveToFile(dir / "a.bmp");
  WriteFile(dir / "skin.ini", ini);

  TksCompressedStoredSkin stored(nullptr);
  stored.LoadFromIniFile(dir / "skin.ini");
  ASSERT_GT(stored.CompressedStream().Size(), 2);
  auto* z = static_cast<const uint8_t*>(stored.CompressedStream().Memory());
  EXPECT_EQ(z[0], 0x78);
  EXPECT_EQ(z[1], 0xDA);

  TMemoryStream expected;
  PutInt32(expected, 3);
  PutByte(expected, 0);
  frame.SaveToStream(expected);
  PutByte(expected, 1);
  PutByte(expected, 1);
  PutInt32(expected, 1);
  active.SaveToStream(expected);
  PutText(expected, ini);

  TMemoryStream inflated;
  stored.DeCompressToStream(inflated);
  ASSERT_EQ(inflated.Size(), expected.Size());
  EXPECT_EQ(std::memcmp(inflated.Memory(), expected.Memory(), static_cast<size_t>(expected.Size())), 0);

  TksSkinData data(nullptr);
  data.FormWindows = [] { return std::vector<HWND>{}; };
  data.SetCompressedStoredSkin(&stored);
  EXPECT_FALSE(data.Empty);
  EXPECT_EQ(data.Picture.Width(), 5);
  ASSERT_EQ(data.ActivePictures.size(), 1u);
  EXPECT_EQ(data.ActivePictures[0]->Height(), 2);
}

TEST(StoredSkin, PackerRefusesASkinWithoutTheFiveSectionsAndKeepsTheOldData) {
  ScratchDir dir;
  WriteFile(dir / "skin.ini", "[VERSION]\r\n[PICTURES]\r\n[FORMINFO]\r\n[SKINOBJECTS]\r\n");
  TksCompressedStoredSkin stored(nullptr);
  StoreSkin(stored, 3, "x");
  int64_t before = stored.CompressedStream().Size();
  stored.LoadFromIniFile(dir / "skin.ini");
  EXPECT_EQ(stored.CompressedStream().Size(), before);
}

TEST(StoredSkin, PackerRaisesOnAMissingPictureAndLeavesTheDataEmpty) {
  ScratchDir dir;
  WriteFile(dir / "skin.ini",
            "[VERSION]\r\n[PICTURES]\r\npicture=gone.bmp\r\n[FORMINFO]\r\n[SKINOBJECTS]\r\n[SKINCONTROLS]\r\n");
  TksCompressedStoredSkin stored(nullptr);
  StoreSkin(stored, 3, "x");
  EXPECT_ANY_THROW(stored.LoadFromIniFile(dir / "skin.ini"));
  EXPECT_TRUE(stored.IsEmpty());
}

// Every name here reaches a picture that exists, but outside the skin's folder or not as a
// file of it: the packer refuses it, naming the section and key, and keeps nothing.
TEST(StoredSkin, PackerTakesPicturesOnlyByPlainNamesInTheSkinsFolder) {
  ScratchDir dir;
  ASSERT_TRUE(CreateDirectoryA((dir / "skin").c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryA((dir / "skin\\sub").c_str(), nullptr));
  TBitmap picture(5, 4, pf24bit);
  for (const char* file : {"outside.bmp", "skin\\f.bmp", "skin\\sub\\f.bmp"}) picture.SaveToFile(dir / file);
  const struct {
    const char* key;
    std::string name;
  } cases[] = {
      {"picture", "..\\outside.bmp"},
      {"mask", "../outside.bmp"},
      {"inactivepicture", dir / "outside.bmp"},
      {"picture", "sub\\f.bmp"},
      {"picture", dir.Path().substr(0, 2) + "outside.bmp"},
      {"0", "..\\outside.bmp"},
      {"0", "NUL"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.key) + "=" + c.name);
    const std::string active = std::string(c.key) == "0" ? c.name : "f.bmp";
    const std::string frame = std::string(c.key) == "0" ? "" : std::string(c.key) + "=" + c.name + "\r\n";
    WriteFile(dir / "skin\\skin.ini", "[VERSION]\r\n[PICTURES]\r\n" + frame + "activepicturescount=1\r\n0=" + active +
                                         "\r\n[FORMINFO]\r\n[SKINOBJECTS]\r\n[SKINCONTROLS]\r\ncount=0\r\n");
    TksCompressedStoredSkin stored(nullptr);
    StoreSkin(stored, 3, "x");
    try {
      stored.LoadFromIniFile(dir / "skin\\skin.ini");
      ADD_FAILURE() << "packed";
    } catch (const Exception& e) {
      EXPECT_NE(e.Message.find("Skin section [PICTURES], key " + std::string(c.key) + ": "), String::npos) << e.Message;
    }
    EXPECT_TRUE(stored.IsEmpty());
  }
  // Plain names in the folder still pack.
  WriteFile(dir / "skin\\skin.ini",
            "[VERSION]\r\n[PICTURES]\r\npicture=f.bmp\r\nactivepicturescount=1\r\n0=f.bmp\r\n"
            "[FORMINFO]\r\n[SKINOBJECTS]\r\n[SKINCONTROLS]\r\ncount=0\r\n");
  TksCompressedStoredSkin stored(nullptr);
  stored.LoadFromIniFile(dir / "skin\\skin.ini");
  EXPECT_FALSE(stored.IsEmpty());
}

TEST(StoredSkin, CompressedFileCopierTable) {
  ScratchDir dir;
  TMemoryStream zlib;
  {
    TMemoryStream raw;
    PutText(raw, "hello");
    DeflateSkinStream(raw, zlib);
  }
  std::string body(static_cast<const char*>(zlib.Memory()), static_cast<size_t>(zlib.Size()));
  auto file = [&](int32_t version, int32_t size, const std::string& data) {
    std::string bytes(8, '\0');
    std::memcpy(bytes.data(), &version, 4);
    std::memcpy(bytes.data() + 4, &size, 4);
    return bytes + data;
  };
  struct {
    const char* name;
    std::string bytes;
    bool raises;
    int64_t stored;
  } cases[] = {
      {"good", file(3, static_cast<int32_t>(body.size()), body), false, static_cast<int64_t>(body.size())},
      {"version 4", file(4, static_cast<int32_t>(body.size()), body), false, 0},
      {"size beyond the file", file(3, static_cast<int32_t>(body.size()) + 1, body), true, 0},
      {"negative size", file(3, -1, body), true, 0},
      {"no size", std::string("\3\0\0\0", 4), true, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    WriteFile(dir / "skin.zip", c.bytes);
    TksCompressedStoredSkin stored(nullptr);
    StoreSkin(stored, 3, "old");
    if (c.raises)
      EXPECT_ANY_THROW(stored.LoadFromCompressedFile(dir / "skin.zip"));
    else
      stored.LoadFromCompressedFile(dir / "skin.zip");
    EXPECT_EQ(stored.CompressedStream().Size(), c.stored);
  }
  TksCompressedStoredSkin missing(nullptr);
  EXPECT_ANY_THROW(missing.LoadFromCompressedFile(dir / "none.zip"));
  EXPECT_TRUE(missing.IsEmpty());
}

TEST(StoredSkin, CompressedDataRoundTripsExactlyIncludingEmpty) {
  TksCompressedStoredSkin a(nullptr), b(nullptr);
  TMemoryStream out;
  a.WriteData(out);
  EXPECT_EQ(out.Size(), 0);
  StoreSkin(a, 3, "text");
  a.WriteData(out);
  out.SetPosition(0);
  b.ReadData(out);
  ASSERT_EQ(b.CompressedStream().Size(), a.CompressedStream().Size());
  EXPECT_EQ(std::memcmp(a.CompressedStream().Memory(), b.CompressedStream().Memory(),
                        static_cast<size_t>(a.CompressedStream().Size())),
            0);
}

// ---- resource strings ---------------------------------------------------------------

TEST(ResourceStrData, GetResStrRules) {
  TksResourceStrData res(nullptr);
  EXPECT_EQ(res.ResStrings().Count(), 73);
  EXPECT_EQ(res.CharSet, DEFAULT_CHARSET);
  struct {
    const char* name;
    const char* text;
  } defaults[] = {{"MI_CLOSECAPTION", "&Close"}, {"mi_closecaption", "&Close"}, {"FLV_LOOKIN", "Look in: "},
                  {"FLV_FREESPACE", "Free Space"}, {"NOSUCHNAME", ""}};
  for (const auto& c : defaults) EXPECT_EQ(res.GetResStr(c.name), c.text) << c.name;
  EXPECT_EQ(res.ResStrings().Strings(0), "MI_MINCAPTION=Mi&nimize");
  EXPECT_EQ(res.ResStrings().Strings(72), "FLV_FREESPACE=Free Space");

  TStringList lines;
  lines.Add("EQ=a=b");
  lines.Add("BLANK=");
  lines.Add("EQ=second");
  res.SetResStrings(lines);
  EXPECT_EQ(res.ResStrings().Count(), 3);
  EXPECT_EQ(res.GetResStr("eq"), "a=b");
  EXPECT_EQ(res.GetResStr("BLANK"), "");
  EXPECT_EQ(res.GetResStr("MI_CLOSECAPTION"), "");

  res.SetResStrings(TStringList());
  EXPECT_EQ(res.GetResStr("EQ"), "");
}

TEST(ResourceStrData, BuiltInTextsExistForFiftyTwoNames) {
  EXPECT_EQ(BuiltInResStr("MI_CLOSECAPTION"), "&Close");
  EXPECT_EQ(BuiltInResStr("FLV_MODIFIED"), "Modified");
  EXPECT_EQ(BuiltInResStr("FLV_ATTRIBUTES"), "");
  EXPECT_EQ(BuiltInResStr("CALC_CAP"), "");
  TksResourceStrData res(nullptr);
  int builtIn = 0;
  for (int i = 0; i < res.ResStrings().Count(); ++i) {
    String name = res.ResStrings().Names(i);
    if (!BuiltInResStr(name).empty()) {
      ++builtIn;
      EXPECT_EQ(BuiltInResStr(name), res.GetResStr(name)) << name;
    }
  }
  EXPECT_EQ(builtIn, 52);
}

}  // namespace
