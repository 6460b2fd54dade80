// Scratch folders of the tests: made fresh under the temporary folder, removed with
// everything in them afterwards. A scratch folder that cannot be emptied fails the test
// that owns it: its files would reach the next test that uses the name.
#pragma once

#include <windows.h>

#include <string>

// Removes the folder with all its files and sub-folders, read-only ones too. The name may
// end in a backslash or not; an empty name removes nothing. Returns the first file or
// folder that stayed, empty when all went.
std::string RemoveTree(const std::string& folder);

// RemoveTree, failing the running test with the name of what stayed.
void RemoveScratchTree(const std::string& folder);

class ScratchDir {
 public:
  // The folder's name is the prefix, the process id and a number of its own; a folder of
  // that name left by an earlier process is emptied first.
  explicit ScratchDir(const std::string& prefix = "rtio.");
  ~ScratchDir() { RemoveScratchTree(path_); }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::string& Path() const { return path_; }  // with a trailing backslash
  // The full name of a file in the folder.
  std::string operator/(const std::string& name) const { return path_ + name; }

 private:
  std::string path_;
};
