// A process killed at any moment of a save leaves a complete file: the
// previous version or the new one, never a torn one.

#include "XmlTestUtil.h"

#include "xml/XMLNodeResult.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QFileInfo>
#include <QThread>

using namespace XmlTest;

class TestSaveKill : public QObject
{
    Q_OBJECT

private slots:
    void killDuringSaves()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString strPath = dir.filePath(QStringLiteral("Result.xml"));

        // Large enough that a save takes a while, so kills land inside saves.
        {
            QVERIFY(WriteBytes(strPath, "<Result-Data>\n</Result-Data>"));
            CXMLDocument doc;
            doc.Open(strPath);
            doc.SuppressSave();
            CXMLNodeResult r(&doc);
            r.Open(QStringLiteral("Result"));
            for (int i = 0; i < 150; ++i) {
                r.AddNew();
                r.m_strID = QStringLiteral("L%1").arg(i);
                r.m_strFunction = QStringLiteral("Value-Measurement");
                r.m_strRemark = QStringLiteral("0");
                for (int n = 0; n < 3; ++n)
                    r.m_values.m_strUPN[n] = QStringLiteral("230.%1;V").arg(i);
                r.Update();
            }
            doc.Save();
        }
        qInfo("file size %lld bytes", static_cast<long long>(QFileInfo(strPath).size()));

        QRandomGenerator* pRandom = QRandomGenerator::global();
        const int nKills = 60;
        int nLastSaved = 0;
        int nInsideSave = 0;  // kills after which the file still held the older value
        for (int k = 0; k < nKills; ++k) {
            QProcess proc;
            proc.start(QStringLiteral(SAVEKILL_HELPER), {strPath});
            QVERIFY(proc.waitForStarted());
            // Let it save at least once, then kill it at a random moment.
            QVERIFY2(proc.waitForReadyRead(10000), qPrintable(QString::fromLocal8Bit(proc.readAllStandardError())));
            QThread::usleep(pRandom->bounded(40000));
            proc.kill();
            QVERIFY(proc.waitForFinished(10000));
            QCOMPARE(proc.exitStatus(), QProcess::CrashExit);

            const QList<QByteArray> lines = proc.readAllStandardOutput().split('\n');
            int nPrinted = nLastSaved;
            for (const QByteArray& line : lines)
                if (!line.trimmed().isEmpty())
                    nPrinted = line.trimmed().toInt();
            QVERIFY(nPrinted > nLastSaved);

            CXMLDocument doc;
            try {
                doc.Open(strPath);
            } catch (const CXMLException& e) {
                QFAIL(qPrintable(QStringLiteral("kill %1: %2").arg(k).arg(e.GetErrorMessage())));
            }
            CXMLNodeResult r(&doc);
            r.Open(QStringLiteral("Result"));
            QCOMPARE(r.GetRecordCount(), 150);
            const int nOnDisk = r.m_strRemark.toInt();
            QVERIFY2(nOnDisk == nPrinted || nOnDisk == nPrinted + 1,
                     qPrintable(QStringLiteral("kill %1: printed %2, on disk %3").arg(k).arg(nPrinted).arg(nOnDisk)));
            if (nOnDisk == nPrinted)
                ++nInsideSave;
            r.MoveLast();
            QCOMPARE(r.m_strID, QStringLiteral("L149"));
            nLastSaved = nOnDisk;
        }

        const QStringList leftovers = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System);
        qInfo("%d kills, %d left the previous value on disk; files in the folder: %s", nKills, nInsideSave,
              qPrintable(leftovers.join(QStringLiteral(", "))));
        // A kill may at most leave the one temporary file it was committing
        // (QSaveFile names it only for the moment of the rename); nothing else.
        QVERIFY(leftovers.contains(QStringLiteral("Result.xml")));
        static const QRegularExpression reTemp(QStringLiteral("^Result\\.xml\\.\\w{6}$"));
        for (const QString& strName : leftovers)
            QVERIFY2(strName == QStringLiteral("Result.xml") || reTemp.match(strName).hasMatch(), qPrintable(strName));
        QVERIFY(leftovers.size() - 1 <= nKills);
    }
};

QTEST_GUILESS_MAIN(TestSaveKill)
#include "tst_savekill.moc"
