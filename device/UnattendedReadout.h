#pragma once

#include <QString>

// What the command line says about an unattended readout. Values that are
// not given come from the settings.
struct UnattendedReadoutArgs
{
    bool m_bHasPort = false;
    int m_nPort = 0;
    // A device path given instead of a port number.
    QString m_strPortPath;
    bool m_bHasTimeout = false;
    int m_nTimeout = 0;
    bool m_bDelete = false;
};

// Reads the device out into the result file named in the settings, without
// any window: every error goes, with the texts of all layers, to standard
// error; nothing is printed on success. Returns the process exit status:
// 0 on success (also when the device holds no results), 1 on any failure.
int RunUnattendedReadout(const UnattendedReadoutArgs& args);
