// The virtual PX900 seen through the program's device class: several client
// sessions on the link it makes. Its memory file, its demo memory and its
// faults are met in the readout tests.

#include "../common/SimProcess.h"
#include "device/PX900Device.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

class TestPX900Sim : public QObject
{
    Q_OBJECT

private slots:
    void successiveSessions();
};

void TestPX900Sim::successiveSessions()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString strLink = dir.filePath(QStringLiteral("px900"));
    CSimProcess sim;
    const QString strPath = sim.Start({QStringLiteral("--demo"), QStringLiteral("--link"), strLink}, true);
    QCOMPARE(QFileInfo(strLink).symLinkTarget(), strPath);

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

QTEST_GUILESS_MAIN(TestPX900Sim)
#include "tst_px900sim.moc"
