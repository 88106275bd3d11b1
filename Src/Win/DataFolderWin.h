// The data folder on Windows: "Clankmere" in the user's application data folder, or, in the
// build for Windows 9x, "Clankmere" in the current directory.
#pragma once

#include "DataPath.h"

// The path of `fileName` in the data folder (or in its `subfolder`), creating the folder when
// a file is named; the bare file name when the folder cannot be made. Returns `out`.
char* BuildDataPath(char (&out)[kMaxPathSize], const char* subfolder, const char* fileName);
