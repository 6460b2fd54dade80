#include <gtest/gtest.h>

#include "app/Backup.h"

TEST(BackupName, OnlyAPlainFileNameInsideTheProgramsFolderIsAccepted) {
  struct Row {
    const char* name;
    bool valid;
  } rows[] = {
      {"Holiday 2026", true},
      {"card.old", true},
      {"CONSOLE", true},
      {"COM10", true},
      {"LPT0", true},
      {"a.b.c", true},
      {"", false},
      {"..", false},
      {"..\\..\\x", false},
      {"a..b", false},
      {"a\\b", false},
      {"a/b", false},
      {"c:x", false},
      {"*", false},
      {"what?", false},
      {"say \"hi\"", false},
      {"<in", false},
      {"out>", false},
      {"a|b", false},
      {"tab\there", false},
      {"CON", false},
      {"con", false},
      {"Prn", false},
      {"AUX", false},
      {"NUL", false},
      {"nul.old", false},
      {"COM1", false},
      {"com9", false},
      {"LPT1", false},
      {"lpt9", false},
      {"CON .x", false},
  };
  for (const Row& r : rows) EXPECT_EQ(IsValidBackupName(r.name), r.valid) << '"' << r.name << '"';
}
