#include "imaging/TextFields.h"

String BeforeFirst(const String& text, const String& separator) {
  const size_t at = text.find(separator);
  return at == String::npos ? text : text.substr(0, at);
}

String AfterFirst(const String& text, const String& separator) {
  if (separator.empty()) return text;
  const size_t at = text.find(separator);
  return at == String::npos ? String() : text.substr(at + separator.size());
}

String GetNthField(const String& text, const String& separator, int n) {
  String rest = text;
  for (int i = 1; i < n; ++i) rest = AfterFirst(rest, separator);
  return BeforeFirst(rest, separator);
}

int CountSeparators(const String& text, const String& separator) {
  if (separator.empty()) return 0;
  int count = 0;
  for (size_t at = text.find(separator); at != String::npos;
       at = text.find(separator, at + separator.size()))
    ++count;
  return count;
}
