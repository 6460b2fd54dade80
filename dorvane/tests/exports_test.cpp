#include <windows.h>

#include <gtest/gtest.h>

namespace {

TEST(DorvaneLibrary, LoadsByNameAndResolvesEveryExport) {
  HMODULE lib = LoadLibraryA("Dorvane.dll");
  ASSERT_NE(lib, nullptr) << "error " << GetLastError();
  for (const char* name : {"CorrectFile", "DissectJPEG", "SetDestinationDIR", "TurnDebugOn",
                           "TurnDebugOff", "GetLangString", "CreateThumbnail",
                           "GetResourceImage"}) {
    EXPECT_NE(GetProcAddress(lib, name), nullptr) << name;
  }
  // The program looks these up too, but the library does not have them.
  EXPECT_EQ(GetProcAddress(lib, "LoadFile"), nullptr);
  EXPECT_EQ(GetProcAddress(lib, "GetLanguageString"), nullptr);
  FreeLibrary(lib);
}

TEST(DorvaneLibrary, ExportsCarryTheirOrdinals) {
  HMODULE lib = LoadLibraryA("Dorvane.dll");
  ASSERT_NE(lib, nullptr);
  const struct {
    const char* name;
    WORD ordinal;
  } table[] = {{"GetResourceImage", 1}, {"DissectJPEG", 2},     {"SetDestinationDIR", 3},
               {"TurnDebugOff", 4},     {"TurnDebugOn", 5},     {"GetLangString", 6},
               {"CreateThumbnail", 7},  {"CorrectFile", 8}};
  for (const auto& row : table) {
    EXPECT_EQ(GetProcAddress(lib, MAKEINTRESOURCEA(row.ordinal)), GetProcAddress(lib, row.name))
        << row.name;
  }
  FreeLibrary(lib);
}

}  // namespace
