// exif_dump FILE: every tag the EXIF reader finds in FILE, as
// group<TAB>tag number<TAB>name<TAB>value text, then the IPTC lines, then the outcome.
#include <cstdio>

#include "imaging/ExifData.h"
#include "imaging/MetadataDump.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: exif_dump FILE\n");
    return 2;
  }
  TimgData reader(255);
  const bool read = reader.ReadMetadata(argv[1]);
  for (const String& line : DumpMetadata(reader)) std::printf("%s\n", line.c_str());
  return read ? 0 : 1;
}
