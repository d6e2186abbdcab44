#include "app/CommandLine.h"

#include <QTest>

class TestCommandLine : public QObject
{
    Q_OBJECT
private slots:
    void parse_data();
    void parse();
};

void TestCommandLine::parse_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<bool>("readout");
    QTest::addColumn<bool>("hasPort");
    QTest::addColumn<int>("port");
    QTest::addColumn<QString>("portPath");
    QTest::addColumn<bool>("hasTimeout");
    QTest::addColumn<int>("timeout");
    QTest::addColumn<bool>("del");

    const QString none;
    QTest::newRow("nothing") << QStringList() << false << false << 0 << none << false << 0 << false;
    QTest::newRow("windows spelling, all switches")
        << QStringList{QStringLiteral("/readout"), QStringLiteral("/port:3"), QStringLiteral("/timeout:5000"),
                       QStringLiteral("/delete")}
        << true << true << 3 << none << true << 5000 << true;
    QTest::newRow("readout alone uses the stored values")
        << QStringList{QStringLiteral("/readout")} << true << false << 0 << none << false << 0 << false;
    QTest::newRow("GNU spelling")
        << QStringList{QStringLiteral("--readout"), QStringLiteral("--port=7"), QStringLiteral("--timeout=250"),
                       QStringLiteral("--delete")}
        << true << true << 7 << none << true << 250 << true;
    QTest::newRow("GNU spelling, separate values")
        << QStringList{QStringLiteral("--readout"), QStringLiteral("--port"), QStringLiteral("/dev/ttyUSB0"),
                       QStringLiteral("--timeout"), QStringLiteral("900")}
        << true << true << 0 << QStringLiteral("/dev/ttyUSB0") << true << 900 << false;
    QTest::newRow("device path")
        << QStringList{QStringLiteral("/readout"), QStringLiteral("/port:/dev/ttyUSB0")}
        << true << true << 0 << QStringLiteral("/dev/ttyUSB0") << false << 0 << false;
    QTest::newRow("port without readout starts the window")
        << QStringList{QStringLiteral("/port:3"), QStringLiteral("/delete")} << false << false << 0 << none << false
        << 0 << false;
    QTest::newRow("non-numeric values give 0")
        << QStringList{QStringLiteral("/readout"), QStringLiteral("/port:abc"), QStringLiteral("/timeout:x1")}
        << true << true << 0 << none << true << 0 << false;
    QTest::newRow("numbers convert like atoi")
        << QStringList{QStringLiteral("/readout"), QStringLiteral("/port:12x"), QStringLiteral("/timeout:-5")}
        << true << true << 12 << none << true << -5 << false;
    QTest::newRow("case matters") << QStringList{QStringLiteral("/READOUT")} << false << false << 0 << none << false
                                  << 0 << false;
    QTest::newRow("a path holding a switch switches nothing")
        << QStringList{QStringLiteral("/home/x/readout"), QStringLiteral("/data/delete")} << false << false << 0
        << none << false << 0 << false;
}

void TestCommandLine::parse()
{
    QFETCH(QStringList, args);
    const CCommandLine cl = CCommandLine::Parse(args);
    QTEST(cl.m_bReadout, "readout");
    QTEST(cl.m_bHasPort, "hasPort");
    QTEST(cl.m_nPort, "port");
    QTEST(cl.m_strPortPath, "portPath");
    QTEST(cl.m_bHasTimeout, "hasTimeout");
    QTEST(cl.m_nTimeout, "timeout");
    QTEST(cl.m_bDelete, "del");
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
