// Whether a folder lies on a given drive: recovered files must never be written
// onto the drive being read.
#pragma once

#include <string>

// True when `folder` starts with the drive "X:" of `rootPath` ("X:\"), in any
// case; a UNC folder or an empty root never matches.
bool FolderOnDrive(const std::string& folder, const std::string& rootPath);
