// The unattended readout end to end: the real program with --readout against
// the virtual PX900 on a pseudo-terminal, with its settings in a temporary
// folder.

#include "../common/SimProcess.h"
#include "../common/TestSupport.h"

#include "resources/StringTable.h"
#include "xml/XMLDocument.h"
#include "xml/XMLNodeResult.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <climits>
#include <cstring>

namespace {

// A file the program did not write itself: indented, LF line ends. Any save
// would change its bytes.
const QByteArray kForeignFile = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                "<Result-Data>\n"
                                "  <Result><ID>Alt</ID><Date>01.01.2020</Date><Time>00:00:00</Time>"
                                "<Function>Value-Measurement</Function></Result>\n"
                                "</Result-Data>\n";

const QByteArray kEmptyFile = "<Result-Data>\n</Result-Data>\n";

struct RunResult
{
    int nExit = -1;
    QString strOut;
    QString strErr;
};

int CountResults(const QString& strPath)
{
    CXMLDocument doc;
    doc.Open(strPath);
    CXMLNodeResult r(&doc);
    r.Open(QStringLiteral("Result"));
    return r.GetRecordCount();
}

} // namespace

class TestReadoutCli : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_strResultFile, m_strConf;
    CSimProcess m_sim;

    void WriteSettings(const QString& strResultFile)
    {
        QDir().mkpath(QFileInfo(m_strConf).path());
        QVERIFY(WriteBytes(m_strConf, "[Settings]\nLangID=1031\nResultFile=" + strResultFile.toUtf8() + "\n"));
    }

    // The program's settings are in m_dir too: it has this process's
    // environment.
    void StartQarda(QProcess& process, const QStringList& args)
    {
        process.setWorkingDirectory(m_dir.path());
        process.start(CSimProcess::ProgramPath("qarda"), args);
    }

    RunResult RunQarda(const QStringList& args, QProcess* pStarted = nullptr)
    {
        QProcess own;
        QProcess& process = pStarted ? *pStarted : own;
        if (!pStarted)
            StartQarda(process, args);
        RunResult result;
        if (!process.waitForStarted(10000) || !process.waitForFinished(60000)) {
            process.kill();
            process.waitForFinished(5000);
            return result;
        }
        result.nExit = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        result.strOut = QString::fromUtf8(process.readAllStandardOutput());
        result.strErr = QString::fromUtf8(process.readAllStandardError());
        return result;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        // Before anything in this process or the program could touch the
        // settings.
        m_strConf = UseTemporarySettings(m_dir);
        m_strResultFile = m_dir.filePath(QStringLiteral("Result.xml"));
        WriteSettings(m_strResultFile);
        QVERIFY2(QFile::exists(CSimProcess::ProgramPath("qarda")), "qarda not built");
        QVERIFY2(QFile::exists(CSimProcess::ProgramPath("px900-sim")), "px900-sim not built");
    }

    void cleanup() { m_sim.Stop(); }

    // A second readout of the same memory adds nothing and leaves the file
    // as the first one wrote it; success prints nothing. With /delete the
    // device is empty afterwards: a readout into a fresh file finds nothing
    // and does not even rewrite it. That one names no port: the device path
    // stored by the readout dialog is used.
    void readTwiceThenDelete()
    {
        QVERIFY(WriteBytes(m_strResultFile, kForeignFile));
        const QString strPort = m_sim.Start({QStringLiteral("--demo")});
        QVERIFY(!strPort.isEmpty());

        RunResult r = RunQarda({QStringLiteral("--readout"), QStringLiteral("--port=") + strPort,
                                QStringLiteral("--timeout=5000")});
        QCOMPARE(r.strErr, QString());
        QCOMPARE(r.strOut, QString());
        QCOMPARE(r.nExit, 0);
        const int nCount = CountResults(m_strResultFile);
        QVERIFY(nCount >= 1 + 12);
        const QByteArray after = ReadBytes(m_strResultFile);

        r = RunQarda({QStringLiteral("/readout"), QStringLiteral("/port:") + strPort, QStringLiteral("/timeout:5000"),
                      QStringLiteral("/delete")});
        QCOMPARE(r.strErr, QString());
        QCOMPARE(r.nExit, 0);
        QCOMPARE(ReadBytes(m_strResultFile), after);

        QVERIFY(WriteBytes(m_strResultFile, kEmptyFile));
        const QByteArray settings = ReadBytes(m_strConf);
        QVERIFY(WriteBytes(m_strConf, settings + "PX900PortPath=" + strPort.toUtf8() + "\nPX900Timeout=5000\n"));
        r = RunQarda({QStringLiteral("/readout")});
        WriteBytes(m_strConf, settings);
        QCOMPARE(r.strErr, QString());
        QCOMPARE(r.nExit, 0);
        QCOMPARE(ReadBytes(m_strResultFile), kEmptyFile);
    }

    // Two readouts with --delete into one file, the second started while the
    // first still reads: the file ends with the results of both devices.
    void twoReadoutsIntoOneFile()
    {
        QVERIFY(WriteBytes(m_strResultFile, kEmptyFile));
        // Paced, so that each readout takes over a second and they overlap.
        const QString strSim = QStringLiteral("--demo --pace 115200 --count %1 --id-prefix %2");
        CSimProcess other;
        const QStringList ports = {m_sim.Start(strSim.arg(15).arg(u'A').split(u' ')),
                                   other.Start(strSim.arg(18).arg(u'B').split(u' '))};
        QProcess processes[2];
        for (int i = 0; i < 2; ++i) {
            QVERIFY(!ports[i].isEmpty());
            StartQarda(processes[i], QStringLiteral("--readout --timeout=5000 --delete --port=%1").arg(ports[i]).split(u' '));
            QTest::qSleep(300);
        }
        for (QProcess& process : processes) {
            const RunResult r = RunQarda({}, &process);
            QCOMPARE(r.strErr, QString());
            QCOMPARE(r.nExit, 0);
        }
        QCOMPARE(CountResults(m_strResultFile), 15 + 18);
    }

    // A record of an unknown kind is not stored, and said so; the others are
    // added. With --delete the device keeps its memory and the exit says so.
    void unknownKindSkipped()
    {
        const QString strPort = m_sim.Start(QStringLiteral("--demo --count 5 --unknown-kind-at 3").split(u' '));
        QVERIFY(!strPort.isEmpty());
        for (const bool bDelete : {false, true}) {
            QVERIFY(WriteBytes(m_strResultFile, kEmptyFile));
            QStringList args{QStringLiteral("--readout"), QStringLiteral("--port=") + strPort};
            if (bDelete)
                args << QStringLiteral("--delete");
            const RunResult r = RunQarda(args);
            QVERIFY2(r.strErr.startsWith(QStringLiteral("1 Ergebnisse unbekannter Art (13) wurden nicht gespeichert.")),
                     qPrintable(r.strErr));
            QCOMPARE(r.strErr.contains(QStringLiteral("nicht gelöscht")), bDelete);
            QCOMPARE(r.nExit, bDelete ? 1 : 0);
            QCOMPARE(CountResults(m_strResultFile), 4);
        }
    }

    // A readout that cannot store every record fails within the time-out,
    // leaves the file as it was and, with --delete, the device full.
    void refusedReadout_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("sim");
        QTest::addColumn<QString>("error");
        QTest::addColumn<int>("kept");  // results the device still gives, -1 unchecked
        QTest::newRow("file of another kind") << QByteArray("<Main-Data>\n</Main-Data>\n") << "--count 4"
            << LoadString(IDS_XML_WRONG_ROOT).arg(m_strResultFile, QStringLiteral("Main-Data"), QStringLiteral("Result-Data"))
            << 4;
        QTest::newRow("count beyond an int") << kEmptyFile << "--claim-count 2147483648"
                                             << LoadString(IDS_READOUT_BAD_COUNT).arg(INT_MAX) << -1;
        QTest::newRow("empty records without end") << kEmptyFile << "--count 0 --claim-count 100000"
                                                   << LoadString(IDS_READOUT_EMPTY_RECORDS).arg(10) << -1;
    }
    void refusedReadout()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, sim);
        QFETCH(QString, error);
        QFETCH(int, kept);
        QVERIFY(WriteBytes(m_strResultFile, file));
        const QString strPort = m_sim.Start((QStringLiteral("--demo ") + sim).split(u' '));
        QVERIFY(!strPort.isEmpty());
        const QString strArgs = QStringLiteral("--readout --timeout=2000 --port=") + strPort;
        RunResult r = RunQarda((strArgs + QStringLiteral(" --delete")).split(u' '));
        QVERIFY2(r.strErr.contains(error), qPrintable(r.strErr));
        QVERIFY(r.nExit > 0);
        QCOMPARE(ReadBytes(m_strResultFile), file);
        if (kept < 0)
            return;
        QVERIFY(WriteBytes(m_strResultFile, kEmptyFile));
        r = RunQarda(strArgs.split(u' '));
        QCOMPARE(r.nExit, 0);
        QCOMPARE(CountResults(m_strResultFile), kept);
    }

    // Refused before anything is read; the file stays as it was, and the
    // system's reason follows on a line of its own.
    void refusedBeforeReading_data()
    {
        QTest::addColumn<QString>("port");
        QTest::addColumn<QString>("file");  // empty: the result file of the settings
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("error");  // the whole text; empty: names the file
        const QString strDevice = LoadString(IDS_PX900_ERROR) + LoadString(IDS_DEVICE_INIT) + u'\n'
                                  + QString::fromLocal8Bit(std::strerror(ENOENT));
        QTest::newRow("missing device") << "/dev/nonexistent" << QString() << kForeignFile << strDevice;
        QTest::newRow("port 0") << "0" << QString() << kForeignFile << strDevice;
        // The result file must open before the device is touched.
        const QString strMissing = m_dir.filePath(QStringLiteral("missing/Result.xml"));
        QTest::newRow("result file missing")
            << "/dev/nonexistent" << strMissing << QByteArray() << LoadString(IDS_XML_NOT_FOUND).arg(strMissing);
        QTest::newRow("result file damaged")
            << "/dev/nonexistent" << QString() << QByteArray("<Result-Data>\n<Result><ID>x</Result>\n") << QString();
    }
    void refusedBeforeReading()
    {
        QFETCH(QString, port);
        QFETCH(QString, file);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, error);
        if (!file.isEmpty())
            WriteSettings(file);
        else
            QVERIFY(WriteBytes(m_strResultFile, bytes));
        const RunResult r = RunQarda({QStringLiteral("/readout"), QStringLiteral("/port:") + port});
        WriteSettings(m_strResultFile);
        QVERIFY(r.nExit > 0);
        // A damaged file is named; the parser's words are its own.
        QVERIFY2(error.isEmpty() ? r.strErr.contains(m_strResultFile) : r.strErr.trimmed() == error,
                 qPrintable(r.strErr));
        if (file.isEmpty())
            QCOMPARE(ReadBytes(m_strResultFile), bytes);
        else
            QVERIFY(!QFile::exists(file));
    }
};

QTEST_GUILESS_MAIN(TestReadoutCli)
#include "tst_readout_cli.moc"
