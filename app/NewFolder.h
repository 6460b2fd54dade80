// The output-folder dialog's folder making and renaming, apart from the form.
#pragma once

#include "framework/core/sysutils.h"

// Makes the first free one of "New Folder", "New Folder1", "New Folder2", ... in
// Parent and gives its name; empty when Parent takes no new folder at all (it has
// vanished, is read-only, or the user has no rights there).
String CreateNewFolder(const String& Parent);

// Where a folder is once it bears NewName: beside its old self, in its parent.
String RenamedFolderPath(const String& FolderPath, const String& NewName);
