#include "app/CommandLine.h"

#include <QTest>

namespace {
// The arguments of a command line without quotes, split at blanks.
QStringList Args(const char* pszLine)
{
    return QString::fromUtf8(pszLine).split(u' ', Qt::SkipEmptyParts);
}
}  // namespace

class TestCommandLine : public QObject
{
    Q_OBJECT
private slots:
    void parse_data()
    {
        // The arguments and what was understood: the switches found, with their
        // values.
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("parsed");

        QTest::newRow("nothing") << Args("") << "";
        QTest::newRow("windows spelling, all switches")
            << Args("/readout /port:3 /timeout:5000 /delete") << "readout port 3 timeout 5000 delete";
        QTest::newRow("readout alone uses the stored values") << Args("/readout") << "readout";
        QTest::newRow("GNU spelling") << Args("--readout --port=7 --timeout=250 --delete")
                                      << "readout port 7 timeout 250 delete";
        QTest::newRow("GNU spelling, separate values")
            << Args("--readout --port /dev/ttyUSB0 --timeout 900") << "readout path /dev/ttyUSB0 timeout 900";
        QTest::newRow("device path") << Args("/readout /port:/dev/ttyUSB0") << "readout path /dev/ttyUSB0";
        QTest::newRow("port without readout starts the window") << Args("/port:3 /delete") << "";
        QTest::newRow("non-numeric values give 0")
            << Args("/readout /port:abc /timeout:x1") << "readout port 0 timeout 0";
        QTest::newRow("numbers convert like atoi")
            << Args("/readout /port:12x /timeout:-5") << "readout port 12 timeout -5";
        QTest::newRow("case matters") << Args("/READOUT") << "";
        QTest::newRow("a path holding a switch switches nothing") << Args("/home/x/readout /data/delete") << "";
    }
    void parse()
    {
        QFETCH(QStringList, args);
        const CCommandLine cl = CCommandLine::Parse(args);
        QStringList parsed;
        if (cl.m_bReadout)
            parsed << QStringLiteral("readout");
        // A value left behind without its switch shows too.
        if (cl.m_bHasPort || cl.m_nPort || !cl.m_strPortPath.isEmpty())
            parsed << (cl.m_strPortPath.isEmpty() ? QStringLiteral("port %1").arg(cl.m_nPort)
                                                  : QStringLiteral("path ") + cl.m_strPortPath);
        // A path is given instead of a number, never beside one.
        QVERIFY(cl.m_strPortPath.isEmpty() || cl.m_nPort == 0);
        if (cl.m_bHasTimeout || cl.m_nTimeout)
            parsed << QStringLiteral("timeout %1").arg(cl.m_nTimeout);
        if (cl.m_bDelete)
            parsed << QStringLiteral("delete");
        QTEST(parsed.join(u' '), "parsed");
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
