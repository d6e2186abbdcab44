// The virtual PX900 seen through the program's device class: the demo
// memory and the memory file the readout tests build on, and several client
// sessions. Its faults are met in the readout tests.

#include "../common/SimProcess.h"
#include "device/PX900Device.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The simulator for one test, its terminal in Path().
class CSimulator : public CSimProcess
{
public:
    explicit CSimulator(const QStringList& args) { m_strPath = Start(args, true); }
    const QString& Path() const { return m_strPath; }

private:
    QString m_strPath;
};

QString Value(const QStringList& lines, const QString& strKey)
{
    for (const QString& line : lines) {
        if (line.section(QLatin1Char(';'), 0, 0) == strKey)
            return line.section(QLatin1Char(';'), 1);
    }
    return QStringLiteral("<missing>");
}

int CountKeys(const QStringList& lines, const QRegularExpression& key)
{
    int n = 0;
    for (const QString& line : lines)
        n += key.match(line.section(QLatin1Char(';'), 0, 0)).hasMatch() ? 1 : 0;
    return n;
}

} // namespace

class TestPX900Sim : public QObject
{
    Q_OBJECT

private slots:
    void demoMemory();
    void successiveSessions();
    void memoryFile();
};

void TestPX900Sim::demoMemory()
{
    CSimulator sim({QStringLiteral("--demo")});
    QVERIFY(!sim.Path().isEmpty());
    CPX900Device device;
    device.Open(sim.Path(), 9600, 'N', 8, 2);
    device.SetTimeout(5000);

    const int nCount = device.GetResultCount();
    QVERIFY(nCount >= 14);
    QSet<int> kinds;
    QSet<QString> ids;
    const QRegularExpression dat(QStringLiteral("^\\d{14}$"));
    for (int i = 0; i < nCount; ++i) {
        QStringList lines;
        device.GetResult(i, lines);
        QCOMPARE(lines.mid(lines.size() - 2), (QStringList {QStringLiteral("AGRACK"), QString()}));
        const int nKind = Value(lines, QStringLiteral("RID")).toInt();
        kinds.insert(nKind);
        ids.insert(Value(lines, QStringLiteral("ID")));
        QVERIFY2(dat.match(Value(lines, QStringLiteral("Dat"))).hasMatch(), qPrintable(Value(lines, QStringLiteral("Dat"))));
        if (nKind == 1 || nKind == 2 || nKind == 5)
            QCOMPARE(CountKeys(lines, QRegularExpression(QStringLiteral("^AV\\d+$"))), 40);
        if (nKind == 3) {
            QCOMPARE(CountKeys(lines, QRegularExpression(QStringLiteral("^CA\\d+$"))), 504);
            QCOMPARE(CountKeys(lines, QRegularExpression(QStringLiteral("^CB\\d+$"))), 504);
            QCOMPARE(Value(lines, QStringLiteral("CB503")).isEmpty(), false);
        }
        if (nKind == 4)
            QCOMPARE(CountKeys(lines, QRegularExpression(QStringLiteral("^H\\d+$"))), 41);
        if (nKind == 11)
            QCOMPARE(CountKeys(lines, QRegularExpression(QStringLiteral("^SP\\d+$"))), 41);
    }
    for (int nKind = 1; nKind <= 12; ++nKind)
        QVERIFY2(kinds.contains(nKind), qPrintable(QString::number(nKind)));
    for (const char* psz : {"HA-1001", "HA-1002", "IK-2001", "IK-2002", "PRUEF-01", "NEU-0815"})
        QVERIFY2(ids.contains(QString::fromLatin1(psz)), psz);
    // Sent as windows-1252, read back as the same text.
    QVERIFY(ids.contains(QString::fromUtf8("Zähler Süd")));

    QString strType, strSerial;
    QVERIFY(device.GetIdentity(strType, strSerial));
    QCOMPARE(strType, QStringLiteral("PX900 "));
    QVERIFY(!strSerial.isEmpty());
    QVERIFY(device.GetVersion().at(0).isDigit());
    QCOMPARE(sim.Stop(), 0);
}

void TestPX900Sim::successiveSessions()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString strLink = dir.filePath(QStringLiteral("px900"));
    CSimulator sim({QStringLiteral("--demo"), QStringLiteral("--link"), strLink});
    QCOMPARE(QFileInfo(strLink).symLinkTarget(), sim.Path());

    for (int nSession = 0; nSession < 3; ++nSession) {
        CPX900Device device;
        device.Open(strLink, 9600, 'N', 8, 2);
        device.SetTimeout(5000);
        QCOMPARE(device.GetResultCount(), 15);
        // A session that leaves most of an answer unread must not spoil
        // the next.
        if (nSession == 1) {
            device.Send("AGR1\r");
            QByteArray firstBytes;
            device.Query(firstBytes);
            QVERIFY(firstBytes.startsWith("RID;1"));
        }
    }
    QCOMPARE(sim.Stop(), 0);
    QVERIFY(!QFileInfo::exists(strLink) && !QFileInfo(strLink).isSymLink());
}

void TestPX900Sim::memoryFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString strPath = dir.filePath(QStringLiteral("memory.txt"));
    QFile file(strPath);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("# two records\nRID;1\nID;A\xc3\xa4\r\nDat;01022024030405\n\n\nRID;9\nID;B\nRem;x;y\n");
    file.close();

    CSimulator sim({QStringLiteral("--memory"), strPath});
    CPX900Device device;
    device.Open(sim.Path(), 9600, 'N', 8, 2);
    QCOMPARE(device.GetResultCount(), 2);
    QStringList lines;
    device.GetResult(0, lines);
    QCOMPARE(lines, (QStringList {QStringLiteral("RID;1"), QString::fromUtf8("ID;Aä"), QStringLiteral("Dat;01022024030405"),
                                  QStringLiteral("AGRACK"), QString()}));
    lines.clear();
    device.GetResult(1, lines);
    QCOMPARE(lines, (QStringList {QStringLiteral("RID;9"), QStringLiteral("ID;B"), QStringLiteral("Rem;x;y"), QStringLiteral("AGRACK"), QString()}));
    // Beyond the memory: just the acknowledgement.
    lines.clear();
    device.GetResult(2, lines);
    QCOMPARE(lines, (QStringList {QStringLiteral("AGRACK"), QString()}));
}

QTEST_GUILESS_MAIN(TestPX900Sim)
#include "tst_px900sim.moc"
