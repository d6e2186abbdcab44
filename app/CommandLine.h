#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The switches of the command line. Both spellings are accepted:
// "/readout", "/port:3", "/timeout:5000", "/delete" and "--readout",
// "--port=3", "--timeout=5000", "--delete". A port is a number (COM number)
// or a device path ("/port:/dev/ttyUSB0"). Other text is ignored.
struct CCommandLine
{
    bool m_bReadout = false;
    bool m_bHasPort = false;
    int m_nPort = 0;
    QString m_strPortPath;  // set instead of m_nPort when a path was given
    bool m_bHasTimeout = false;
    int m_nTimeout = 0;
    bool m_bDelete = false;
    bool m_bHelp = false;
    bool m_bVersion = false;

    // Exports without a window: "--export-csv FILE" appends the selected
    // results (by "--id", "--kind", "--from", "--to"), "--export-pdf FILE"
    // prints the one result "--id", "--date", "--time" ("--place") names.
    // "--result-file" and "--main-file" replace the files of the settings.
    // Each value may also follow a "=" ("--id=4711").
    QString m_strExportCsv, m_strExportPdf;
    QString m_strResultFile, m_strMainFile;
    std::optional<QString> m_id, m_kind, m_from, m_to, m_date, m_time, m_place;
    // A switch whose value is missing; empty when the line is sound.
    QString m_strMissingValue;

    bool IsExport() const { return !m_strExportCsv.isEmpty() || !m_strExportPdf.isEmpty(); }

    // The arguments without the program name.
    static CCommandLine Parse(const QStringList& args);
    static QString Usage();
};
