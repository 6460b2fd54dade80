// How the burning dialog spreads the recovered files over discs: which folder entries
// are written, the path each file gets on the disc, how many of the waiting files the
// next disc takes, the disc count shown and each disc's label. The writer's image is
// only measured, through the caller.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "framework/core/strings.h"

// A file waiting for a disc: where it is read from and its unique path on the disc.
struct TPendingFile {
  String Source;
  std::wstring DiscPath;
};

// Whether an entry of a pass folder is written: not a folder, nor the system's
// thumbnail cache.
bool IsFileToBurn(const String& name, int attributes);

// Whether a source file already waits.
bool IsPending(const std::vector<TPendingFile>& pending, const String& source);

// The disc path of a file: every file goes into one folder "Korvalo\", a name that
// clashes with one taken numbered the way the engine names clashing carved files:
// "name_2.ext", "name_3.ext", ...
std::wstring UniqueDiscPath(const std::vector<TPendingFile>& taken, const String& fileName);

// The image's size in bytes with the first n waiting files on it.
using TImageBytes = std::function<int64_t(size_t n)>;

// How many of the waiting files, from the first, a disc with freeBytes takes: as many
// as keep the image no larger than the free space. imageBytes is asked for n = 1, 2, ...
// in turn, last for the first n that no longer fits.
size_t FilesForDisc(size_t waiting, int64_t freeBytes, const TImageBytes& imageBytes);

// Whether the image of all files is larger than the free space of the disc in the
// drive, so that they go over more discs; both compared as unsigned sizes.
bool NeedsMoreDiscs(int64_t imageBytes, int64_t freeBytes);

// "n/n" on the disc that takes the rest of the files, else "n/n+1".
String DiscCountText(int discNumber, bool takesTheRest);

// The label a disc gets: "Korvalo3" without a typed one, else the typed one; on
// each disc that more discs follow "_n" follows, the typed part cut so the number
// still fits the 16 characters of a Joliet volume label.
std::wstring DiscVolumeLabel(const String& typed, bool inSet, int discNumber);
