// The program's main block, as steps a test can run: command-line switches, the
// single instance, and the twelve forms.
#pragma once

#include <string>
#include <vector>

struct TSwitches {
  bool Debug = false;    // a parameter holds "DEBUG" in any case
  bool Install = false;  // a parameter holds "INSTALL": end at once
};

// The parameters after the program's own path.
TSwitches ParseSwitches(const std::vector<std::string>& params);

// Creates the forms in their fixed order, the main window first; false when the
// main window's creation failed (then no other form is made).
bool CreateForms();

// The whole program; its exit code.
int RunProgram(const std::vector<std::string>& params);
