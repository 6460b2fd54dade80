// Scratch folders of the tests: made fresh under the temporary folder, removed with
// everything in them afterwards.
#pragma once

#include <windows.h>

#include <string>

// Removes the folder with all its files and sub-folders, read-only ones too. The name may
// end in a backslash or not; an empty name removes nothing.
void RemoveTree(const std::string& folder);

class ScratchDir {
 public:
  // The folder's name is the prefix, the process id and a number of its own.
  explicit ScratchDir(const std::string& prefix = "rtio.");
  ~ScratchDir() { RemoveTree(path_); }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::string& Path() const { return path_; }  // with a trailing backslash
  // The full name of a file in the folder.
  std::string operator/(const std::string& name) const { return path_ + name; }

 private:
  std::string path_;
};
