// ReadoutResults in-process against the virtual PX900: what it reports to
// its observer, questions, cancel, and the document after a failure.

#include "../common/SimProcess.h"
#include "../common/TestSupport.h"

#include "device/Readout.h"
#include "resources/StringTable.h"
#include "xml/XMLDocument.h"
#include "xml/XMLNodeResult.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <thread>

namespace {

class CRecordingObserver : public IReadoutObserver
{
public:
    void OnPortLog(const QString& strLine) override { m_log.append(strLine); }
    void OnProgressRange(int nCount) override { m_ranges.append(nCount); }
    void OnProgress(int nPosition) override
    {
        m_positions.append(nPosition);
        if (!m_pCancel || nPosition != m_nCancelAt)
            return;
        if (m_nCancelDelayMs == 0) {
            m_cancelTime = std::chrono::steady_clock::now();
            m_pCancel->store(true);
            return;
        }
        // Later, from another thread, as the dialog's button does.
        m_canceller = std::thread([this] {
            std::this_thread::sleep_for(std::chrono::milliseconds(m_nCancelDelayMs));
            m_cancelTime = std::chrono::steady_clock::now();
            m_pCancel->store(true);
        });
    }
    bool AskYesNo(const QString& strText) override
    {
        m_questions.append(strText);
        return m_bAnswer;
    }
    void Inform(const QString& strText) override { m_notes.append(strText); }

    QStringList m_log, m_questions, m_notes;
    QList<int> m_ranges, m_positions;
    bool m_bAnswer = false;
    std::atomic<bool>* m_pCancel = nullptr;
    int m_nCancelAt = -1;
    int m_nCancelDelayMs = 0;
    std::chrono::steady_clock::time_point m_cancelTime;
    std::thread m_canceller;
};

const QByteArray kEmptyFile = "<Result-Data>\r\n</Result-Data>\r\n";

int CountResults(CXMLDocument& doc)
{
    CXMLNodeResult r(&doc);
    r.Open(QStringLiteral("Result"));
    return r.GetRecordCount();
}

} // namespace

class TestReadoutRun : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_strFile;
    CSimProcess m_sim;

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        UseTemporarySettings(m_dir);
        m_strFile = m_dir.filePath(QStringLiteral("Result.xml"));
    }

    void init() { QVERIFY(WriteBytes(m_strFile, kEmptyFile)); }
    void cleanup() { m_sim.Stop(); }

    // Progress once per record, the monitor lines, the question whether to
    // delete; yes deletes and says so, no keeps the results in the device
    // and the same readout again adds nothing. An emptied device gives a
    // note and no question. The device is reached through the link the
    // simulator makes, and the link goes with it.
    void interactiveReadout_data()
    {
        QTest::addColumn<bool>("answer");
        QTest::newRow("delete") << true;
        QTest::newRow("keep") << false;
    }
    void interactiveReadout()
    {
        QFETCH(bool, answer);
        const QString strLink = m_dir.filePath(QStringLiteral("px900"));
        const QString strPort = m_sim.Start(QStringLiteral("--demo --count 6 --link").split(u' ') << strLink);
        QVERIFY(!strPort.isEmpty());
        QCOMPARE(QFileInfo(strLink).symLinkTarget(), strPort);
        CXMLDocument doc;
        doc.Open(m_strFile);
        CRecordingObserver observer;
        observer.m_bAnswer = answer;
        const ReadoutOptions options{.m_strPortPath = strLink, .m_nTimeout = 5000, .m_bInteractive = true};
        const ReadoutOutcome outcome = ReadoutResults(options, doc, &observer);
        QVERIFY2(outcome.m_bSuccess, qPrintable(outcome.m_strError));
        QCOMPARE(outcome.m_nCount, 6);
        QCOMPARE(outcome.m_nAdded, 6);
        QCOMPARE(observer.m_ranges, QList<int>{6});
        QCOMPARE(observer.m_positions, (QList<int>{1, 2, 3, 4, 5, 6}));
        QCOMPARE(observer.m_questions, QStringList{LoadString(IDS_PX900_ASK_DELETE)});
        QCOMPARE(observer.m_notes, answer ? QStringList{LoadString(IDS_RESULTS_DELETED)} : QStringList());
        QVERIFY(observer.m_log.filter(QStringLiteral("AGR6")).size() >= 1);
        QCOMPARE(observer.m_log.filter(QStringLiteral("AER")).isEmpty(), !answer);

        // Saved once: a fresh load sees them all.
        CXMLDocument again;
        again.Open(m_strFile);
        QCOMPARE(CountResults(again), 6);

        CRecordingObserver second;
        const ReadoutOutcome next = ReadoutResults(options, doc, &second);
        QVERIFY(next.m_bSuccess);
        QCOMPARE(next.m_nCount, answer ? 0 : 6);
        QCOMPARE(next.m_nAdded, 0);
        QVERIFY(!doc.IsSaveSuppressed());
        QCOMPARE(m_sim.Stop(), 0);
        QVERIFY(!QFileInfo(strLink).isSymLink());
        if (!answer)
            return;
        QCOMPARE(second.m_notes, QStringList{LoadString(IDS_NO_RESULTS_STORED)});
        QVERIFY(second.m_questions.isEmpty());
        QCOMPARE(second.m_ranges, QList<int>{0});
    }

    // A cancel is a failure without a message: nothing added, file unchanged,
    // the document reloaded. It also ends a wait for a device that does not
    // answer at once, not after the 30 s time-out. A device that falls silent
    // is a failure with the error chain; memory and file agree on the old
    // contents.
    void failedReadoutRestoresDocument_data()
    {
        QTest::addColumn<QString>("sim");
        QTest::addColumn<int>("cancelDelayMs");  // -1: no cancel
        QTest::addColumn<int>("timeout");
        QTest::addColumn<QList<int>>("positions");
        QTest::newRow("cancel between records") << QString() << 0 << 30000 << QList<int>{1, 2, 3};
        QTest::newRow("cancel while waiting for record 4")
            << QStringLiteral(" --fault-at 4 --fault timeout") << 300 << 30000 << QList<int>{1, 2, 3};
        QTest::newRow("no answer to record 5")
            << QStringLiteral(" --fault-at 5 --fault timeout") << -1 << 300 << QList<int>{1, 2, 3, 4};
    }
    void failedReadoutRestoresDocument()
    {
        QFETCH(QString, sim);
        QFETCH(int, cancelDelayMs);
        QFETCH(int, timeout);
        QFETCH(QList<int>, positions);
        const QString strPort = m_sim.Start((QStringLiteral("--demo --count 8") + sim).split(u' '));
        QVERIFY(!strPort.isEmpty());
        CXMLDocument doc;
        doc.Open(m_strFile);
        std::atomic<bool> bCancel = false;
        CRecordingObserver observer;
        ReadoutOptions options{.m_strPortPath = strPort, .m_nTimeout = timeout};
        if (cancelDelayMs >= 0) {
            observer.m_pCancel = &bCancel;
            observer.m_nCancelAt = 3;
            observer.m_nCancelDelayMs = cancelDelayMs;
            options.m_pCancel = &bCancel;
        }
        const ReadoutOutcome outcome = ReadoutResults(options, doc, &observer);
        const auto returned = std::chrono::steady_clock::now();
        if (observer.m_canceller.joinable())
            observer.m_canceller.join();
        QVERIFY(!outcome.m_bSuccess);
        QCOMPARE(outcome.m_bCancelled, cancelDelayMs >= 0);
        if (cancelDelayMs >= 0) {
            QCOMPARE(outcome.m_strError, QString());
            const auto nAfterCancel =
                std::chrono::duration_cast<std::chrono::milliseconds>(returned - observer.m_cancelTime).count();
            qInfo("cancel took %lld ms", (long long)nAfterCancel);
            // Within a poll interval; the bound leaves room for a loaded machine.
            QVERIFY2(nAfterCancel < 1500, qPrintable(QString::number(nAfterCancel)));
        } else {
            QVERIFY(outcome.m_strError.startsWith(LoadString(IDS_PX900_GET_RESULT) + LoadString(IDS_PX900_ERROR)));
        }
        QCOMPARE(observer.m_positions, positions);
        // Nothing asked for beyond the record that was waited for.
        QVERIFY(observer.m_log.filter(QStringLiteral("AGR%1").arg(positions.size() + 2)).isEmpty());
        QCOMPARE(ReadBytes(m_strFile), kEmptyFile);
        QCOMPARE(CountResults(doc), 0);
        QVERIFY(!doc.IsSaveSuppressed());
    }

    // Records without a date of their own get the readout time, one second
    // apart when read within one second, so none is taken for a duplicate.
    void recordsWithoutDate()
    {
        const QString strMemory = m_dir.filePath(QStringLiteral("memory.txt"));
        QByteArray memory;
        for (int i = 0; i < 3; ++i)
            memory += "RID;1\nID;Ohne Datum\nUR;300;300V\nAV0;230\n\n";
        QVERIFY(WriteBytes(strMemory, memory));
        const QString strPort = m_sim.Start({QStringLiteral("--memory"), strMemory});
        QVERIFY(!strPort.isEmpty());
        CXMLDocument doc;
        doc.Open(m_strFile);
        const ReadoutOutcome outcome = ReadoutResults({.m_strPortPath = strPort, .m_nTimeout = 5000}, doc, nullptr);
        QVERIFY2(outcome.m_bSuccess, qPrintable(outcome.m_strError));
        QCOMPARE(outcome.m_nAdded, 3);
        CXMLNodeResult r(&doc);
        r.Open(QStringLiteral("Result"));
        QList<QDateTime> stamps;
        for (; !r.IsEOF(); r.MoveNext())
            stamps.append(QDateTime::fromString(r.m_strDate + u' ' + r.m_strTime, QStringLiteral("dd.MM.yyyy HH:mm:ss")));
        QCOMPARE(stamps.size(), 3);
        QVERIFY(stamps[0].isValid());
        QVERIFY(stamps[1] > stamps[0]);
        QVERIFY(stamps[2] > stamps[1]);
    }
};

QTEST_GUILESS_MAIN(TestReadoutRun)
#include "tst_readout_run.moc"
