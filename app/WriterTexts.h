// What the burning dialog shows of the CD writer: the writer list entry, the speed
// list and the English texts of write and device errors.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "framework/core/strings.h"

// "Text1: Text3(Text2)", as the writer list shows a writer.
String WriterListEntry(const String& text1, const String& text2, const String& text3);

// From the writer's top speed down: n, then n - 4 while n >= 4, else n halved, each
// followed by "x"; a writer without a top speed gets `defaultText` alone.
std::vector<String> WriteSpeedList(int maxSpeed, const String& defaultText);

// The speed an entry stands for, or 0 for the default entry and anything that is
// not a number followed by "x".
int WriteSpeedOfEntry(const String& entry, const String& defaultText);

// The device error's text followed by its code in parentheses; 1051 carries the
// writer's extended error data; a code outside the table gives the code alone.
String DeviceErrorText(int deviceError, const String& extendedError);

// The text of a write error; code 3 is the device error's text.
String WriteErrorText(int writeError, int deviceError, const String& extendedError);

// "0.50 KB", "12.00 MB", "1.50 GB": a disc's free space as the disc poll shows it.
String FreeSpaceText(int64_t bytes);
