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
// The export switches that take a value, and where it goes.
struct ValueSwitch
{
    const char* pszName;
    QString CCommandLine::*pText;
    std::optional<QString> CCommandLine::*pOptional;
};
const ValueSwitch g_valueSwitches[] = {
    {"--export-csv", &CCommandLine::m_strExportCsv, nullptr},
    {"--export-pdf", &CCommandLine::m_strExportPdf, nullptr},
    {"--result-file", &CCommandLine::m_strResultFile, nullptr},
    {"--main-file", &CCommandLine::m_strMainFile, nullptr},
    {"--id", nullptr, &CCommandLine::m_id},
    {"--kind", nullptr, &CCommandLine::m_kind},
    {"--from", nullptr, &CCommandLine::m_from},
    {"--to", nullptr, &CCommandLine::m_to},
    {"--date", nullptr, &CCommandLine::m_date},
    {"--time", nullptr, &CCommandLine::m_time},
    {"--place", nullptr, &CCommandLine::m_place},
};

// "--name VALUE" or "--name=VALUE"; true when the argument was one of them.
bool ParseValueSwitch(CCommandLine& cl, const QStringList& args, qsizetype& i)
{
    const QString& a = args.at(i);
    for (const ValueSwitch& s : g_valueSwitches) {
        const QLatin1String name(s.pszName);
        QString strValue;
        if (a == name) {
            if (i + 1 >= args.size()) {
                cl.m_strMissingValue = name;
                return true;
            }
            strValue = args.at(++i);
        } else if (a.startsWith(name) && a.size() > name.size() && a.at(name.size()) == u'=') {
            strValue = a.mid(name.size() + 1);
        } else {
            continue;
        }
        if (s.pText)
            cl.*s.pText = strValue;
        else
            cl.*s.pOptional = strValue;
        return true;
    }
    return false;
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
        } else if (a.startsWith(QStringLiteral("--"))) {
            ParseValueSwitch(cl, args, i);
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
        "       qarda --export-csv FILE [--id ID] [--kind KIND] [--from DATE] [--to DATE]\n"
        "       qarda --export-pdf FILE --id ID --date DATE --time TIME [--place NO]\n"
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
        "  --export-csv FILE          append every matching result to the CSV file FILE\n"
        "                             by the rules of \"Ergebnis exportieren\"; a file\n"
        "                             holds one kind: with several kinds FILE must\n"
        "                             contain {kind}, which becomes the kind's name\n"
        "  --id ID                    only results of this location ID\n"
        "  --kind KIND                only results of this kind: Value, Vector, Curve,\n"
        "                             Harmonics, Error, Register, TmTe, UBurden,\n"
        "                             IBurden, ContinueValue, UITransformer, Automatic,\n"
        "                             AuxChannel, Selective, PQSRegister (or 3 to 18)\n"
        "  --from DATE, --to DATE     only results measured on or after / on or before\n"
        "                             DATE (DD.MM.YYYY or YYYY-MM-DD)\n"
        "  --export-pdf FILE          print the result --id, --date (DD.MM.YYYY),\n"
        "                             --time (HH:MM:SS) and, for meter tests,\n"
        "                             --place into the PDF file FILE\n"
        "  --result-file FILE,        the data files to read (default: the files of\n"
        "  --main-file FILE           the settings)\n"
        "                             Exports need no display; errors go to standard\n"
        "                             error, the exit status is 0 on success, 1 when\n"
        "                             the export failed, 2 for a wrong command line\n"
        "  --help                     show this text\n"
        "  --version                  show the program version\n");
}
