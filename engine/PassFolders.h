// The sub-folders of the output folder that the two passes save into, each with its
// trailing backslash: the file-system pass's and the signature pass's.
#pragma once

inline constexpr char kDuvidAzizFolder[] = "DuvidAziz\\";
inline constexpr char kDezoDoziFolder[] = "DezoDozi\\";

// Both, in the order the passes run.
inline constexpr const char* kPassFolders[] = {kDuvidAzizFolder, kDezoDoziFolder};
