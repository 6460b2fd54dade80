// Files of the source tree (fixtures, data) as the tests see them under Wine,
// where drive Z: is the Unix root.
#pragma once

#include <string>

// path: relative to the source root, with "/" separators.
inline std::string SourcePath(const std::string& path) {
  std::string root = __FILE__;
  root = root.substr(0, root.rfind("framework/testsupport/"));
  std::string full = root + path;
  for (char& c : full)
    if (c == '/') c = '\\';
  return full[0] == '\\' ? "Z:" + full : full;
}
