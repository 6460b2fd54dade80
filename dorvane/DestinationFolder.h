// The program's output folder as the library last heard it (SetDestinationDIR), taken as
// it comes, usually with a trailing backslash. The CRW correction thread reads it.
#pragma once

#include <string>

void SetDLLDestinationFolder(const std::string& Folder);
// A copy: the program may set a new folder while a correction thread reads it.
std::string DLLDestinationFolder();
