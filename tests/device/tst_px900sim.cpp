// The virtual PX900 seen through the program's device class: the memory file
// the readout tests build on, and several client sessions. Its demo memory
// and its faults are met in the readout tests.

#include "../common/SimProcess.h"
#include "device/PX900Device.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
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

} // namespace

class TestPX900Sim : public QObject
{
    Q_OBJECT

private slots:
    void successiveSessions();
    void memoryFile();
};

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
