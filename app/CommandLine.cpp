#include "app/CommandLine.h"

#include "core/Number.h"

namespace {
// The value of "/port:" or "--port=": a device path stays a path, anything
// else converts like atoi (no digits give 0).
void SetPort(CCommandLine& cl, const QString& strValue)
{
    cl.m_bHasPort = true;
    if (strValue.contains(u'/') || strValue.contains(u'\\')) {
        cl.m_strPortPath = strValue;
        cl.m_nPort = 0;
    } else {
        cl.m_strPortPath.clear();
        cl.m_nPort = ParseInt(strValue);
    }
}
} // namespace

CCommandLine CCommandLine::Parse(const QStringList& args)
{
    // Each switch is one argument; matching whole arguments rather than
    // searching the joined line keeps a path that happens to hold
    // "/readout" or "/delete" from switching anything.
    CCommandLine cl;
    QString strPendingValue;  // "--port X" and "--timeout X"
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args.at(i);
        if (a == QStringLiteral("/readout") || a == QStringLiteral("--readout")) {
            cl.m_bReadout = true;
        } else if (a == QStringLiteral("/delete") || a == QStringLiteral("--delete")) {
            cl.m_bDelete = true;
        } else if (a.startsWith(QStringLiteral("/port:"))) {
            SetPort(cl, a.mid(6));
        } else if (a.startsWith(QStringLiteral("--port="))) {
            SetPort(cl, a.mid(7));
        } else if (a == QStringLiteral("--port") && i + 1 < args.size()) {
            SetPort(cl, args.at(++i));
        } else if (a.startsWith(QStringLiteral("/timeout:"))) {
            cl.m_bHasTimeout = true;
            cl.m_nTimeout = ParseInt(a.mid(9));
        } else if (a.startsWith(QStringLiteral("--timeout="))) {
            cl.m_bHasTimeout = true;
            cl.m_nTimeout = ParseInt(a.mid(10));
        } else if (a == QStringLiteral("--timeout") && i + 1 < args.size()) {
            cl.m_bHasTimeout = true;
            cl.m_nTimeout = ParseInt(args.at(++i));
        } else if (a == QStringLiteral("--help") || a == QStringLiteral("-h") || a == QStringLiteral("/?")) {
            cl.m_bHelp = true;
        } else if (a == QStringLiteral("--version")) {
            cl.m_bVersion = true;
        }
    }
    // The value switches belong to the readout alone.
    if (!cl.m_bReadout) {
        cl.m_bHasPort = false;
        cl.m_nPort = 0;
        cl.m_strPortPath.clear();
        cl.m_bHasTimeout = false;
        cl.m_nTimeout = 0;
        cl.m_bDelete = false;
    }
    return cl;
}

QString CCommandLine::Usage()
{
    return QStringLiteral(
        "Usage: qarda [--readout [--port=N|PATH] [--timeout=MS] [--delete]]\n"
        "\n"
        "Without options the program opens its window on the data files of its settings.\n"
        "\n"
        "  /readout, --readout        read the stored results out of the PX900 into the\n"
        "                             result file, without a window; errors go to\n"
        "                             standard error, the exit status is 0 on success\n"
        "  /port:N, --port=N          serial port number N (COM N, /dev/ttyS<N-1>),\n"
        "  /port:PATH, --port=PATH    or a device path such as /dev/ttyUSB0\n"
        "                             (default: the port of the settings)\n"
        "  /timeout:MS, --timeout=MS  answer time-out in milliseconds (default: settings,\n"
        "                             30000)\n"
        "  /delete, --delete          delete the results in the device after reading\n"
        "  --help                     show this text\n"
        "  --version                  show the program version\n");
}
