#pragma once

#include <QString>
#include <QStringList>

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

    // The arguments without the program name.
    static CCommandLine Parse(const QStringList& args);
    static QString Usage();
};
