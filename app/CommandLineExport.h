#pragma once

struct CCommandLine;

// The exports of the command line, without a window. Each returns the exit
// status: 0 on success, 1 when the export failed, 2 for a wrong command
// line; every message goes to the message sink (standard error).

// "--export-csv": needs no display and no QGuiApplication.
int RunCsvExport(const CCommandLine& cl);
// "--export-pdf": draws through the result view; needs a QApplication (the
// offscreen platform does).
int RunPdfExport(const CCommandLine& cl);
