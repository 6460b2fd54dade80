#include "dorvane/DissectJPEG.h"

#include "dorvane/ByteSearch.h"
#include "dorvane/DebugDLL.h"
#include "framework/core/streams.h"

bool DissectJPEG(const String& FileName) {
  if (FileName.empty()) return false;
  try {
    TMemoryStream source;
    source.LoadFromFile(FileName);
    const auto* begin = static_cast<const uint8_t*>(source.Memory());
    const std::span<const uint8_t> data(begin, static_cast<size_t>(source.Size()));
    // An empty file has no stream to copy: the copy of its first pass fails as for a file
    // without end marker.
    if (data.empty()) throw EReadError("Stream read error");
    // A marker pair forming the file's final two bytes is never taken.
    const size_t last = data.size() - 1;
    size_t end = last;
    size_t start = 0;
    for (;;) {
      if (const auto e = FindLast(data, kEndOfImage, last, end)) end = *e;
      if (const auto s = FindLast(data, kStartOfImage, last, end)) start = *s;
      // A stray end marker below the last start written has no stream of its own.
      if (end == 0 || end == start || start > end) break;
      if (end + 2 > data.size()) throw EReadError("Stream read error");
      TFileStream out(FileName + IntToStr(static_cast<int64_t>(start)) + ".jpg", fmCreate);
      out.WriteBuffer(data.data() + start, static_cast<int>(end + 2 - start));
      end = start;
    }
  } catch (const Exception& e) {
    WriteDLLInfoLog("Exception on Dissect JPG (" + FileName + ") : " + e.Message);
  }
  return false;
}
