#pragma once

#include <QString>

// On the very first start no data file is configured yet. Rather than
// greeting a new user with two "file not found" messages and an empty,
// unusable program, both files are created empty in the user's data folder
// and recorded in the settings. A configured file that is missing is left
// alone: it may sit on a drive that is not there right now, and an empty
// file in its place would hide the user's data.
//
// Returns false when the files could not be created (the program then starts
// as before and reports the missing files).
bool EnsureDefaultDataFiles(const QString& strDataFolder = {});
