#pragma once

#include <QString>

// Who asks for the data files: the window needs both, the unattended readout
// only the result file.
enum class DataFileUse { Window, Readout };

// On the very first start no data file is configured yet. Files named by the
// defaults ("Main.xml", "Result.xml") in the current folder are the user's
// data: where either exists, the program works on the current folder, as a
// scheduled readout in a folder with its Result.xml expects; for the window a
// missing partner is created empty beside it. Only when neither exists are
// both files created empty in the user's data folder and recorded in the
// settings, rather than greeting a new user with two "file not found"
// messages. A configured file that is missing is left alone: it may sit on a
// drive that is not there right now, and an empty file in its place would
// hide the user's data.
//
// Returns false when the files could not be created (the program then starts
// as before and reports the missing files).
bool EnsureDefaultDataFiles(DataFileUse use = DataFileUse::Window, const QString& strDataFolder = {});
