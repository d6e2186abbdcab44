// bench_readout: measures the readout against the virtual PX900.
//
//  (a) 200 demo records with the simulator pacing its answers at 9600 baud:
//      elapsed time against the wire time of every byte sent and received
//      (11 bit times per byte).
//  (b) 1,000 records without pacing into a result file that already holds
//      20,000 results: CPU time of this process per record.
//
// Usage: bench_readout [--records-a N] [--records-b N] [--existing N]

#include "device/Readout.h"
#include "device/RecordDecoder.h"
#include "xml/XMLDocument.h"
#include "xml/XMLNodeResult.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <sys/resource.h>

namespace {

QString SimPath()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/px900-sim");
}

double CpuSeconds(int who)
{
    rusage ru {};
    getrusage(who, &ru);
    return ru.ru_utime.tv_sec + ru.ru_utime.tv_usec / 1e6 + ru.ru_stime.tv_sec + ru.ru_stime.tv_usec / 1e6;
}

class CSim
{
public:
    ~CSim()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.terminate();
            m_process.waitForFinished(5000);
        }
    }
    QString Start(const QStringList& args)
    {
        m_process.setStandardErrorFile(QProcess::nullDevice());
        m_process.start(SimPath(), args);
        if (!m_process.waitForStarted(5000))
            return {};
        while (!m_process.canReadLine())
            if (!m_process.waitForReadyRead(5000))
                return {};
        return QString::fromLocal8Bit(m_process.readLine()).trimmed();
    }

private:
    QProcess m_process;
};

// Counts the bytes on the wire from the port monitor: each line is
// "<port> Out: <command>" or "<port> In: <answer>", one byte per character.
class CByteCounter : public IReadoutObserver
{
public:
    explicit CByteCounter(const QString& strPort)
        : m_nOut(strPort.size() + 6)
        , m_nIn(strPort.size() + 5)
    {
    }
    void OnPortLog(const QString& strLine) override
    {
        const qsizetype nLabel = strLine.indexOf(QLatin1String(": "));
        if (nLabel < 0)
            return;
        if (strLine.mid(nLabel - 3, 3) == QLatin1String("Out"))
            m_nSent += strLine.size() - m_nOut;
        else
            m_nReceived += strLine.size() - m_nIn;
    }
    qint64 m_nSent = 0;
    qint64 m_nReceived = 0;

private:
    qsizetype m_nOut, m_nIn;
};

bool WriteBytes(const QString& strPath, const QByteArray& bytes)
{
    QFile f(strPath);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

// The demo memory as the simulator holds it, one list of lines per record.
QList<QStringList> DemoRecords()
{
    QProcess dump;
    dump.start(SimPath(), {QStringLiteral("--demo"), QStringLiteral("--dump")});
    dump.waitForFinished(10000);
    QList<QStringList> records;
    QStringList current;
    const QStringList lines = QString::fromUtf8(dump.readAllStandardOutput()).split(u'\n');
    for (const QString& line : lines) {
        if (line.startsWith(u'#'))
            continue;
        if (line.trimmed().isEmpty()) {
            if (!current.isEmpty())
                records.append(current);
            current.clear();
        } else {
            current.append(line);
        }
    }
    if (!current.isEmpty())
        records.append(current);
    return records;
}

// A result file of nCount results: the demo records decoded, repeated with
// IDs of their own, as a large installation's file would look.
bool GenerateResultFile(const QString& strPath, int nCount)
{
    const QList<QStringList> records = DemoRecords();
    if (records.isEmpty() || !WriteBytes(strPath, "<Result-Data>\r\n</Result-Data>\r\n"))
        return false;
    CXMLDocument doc;
    doc.Open(strPath);
    doc.SuppressSave();
    CRecordDecoder decoder(QStringLiteral("PX900 "), QStringLiteral("123456"), 5);
    std::vector<pugi::xml_node> templates;
    {
        CResultRecord record;
        CXMLNodeResult cursor(&doc);
        cursor.Open(QStringLiteral("Result"));
        for (const QStringList& lines : records) {
            if (!decoder.Decode(lines, QDateTime::currentDateTime(), record))
                continue;
            AppendResult(cursor, record);
            templates.push_back(cursor.GetCurrentElement());
        }
    }
    pugi::xml_node root = doc.GetDocumentElement();
    const QDate base(2015, 1, 1);
    const size_t nTemplates = templates.size();
    for (int i = 0; i < nCount; ++i) {
        // The templates themselves become the first results.
        pugi::xml_node copy = static_cast<size_t>(i) < nTemplates
                                  ? templates[static_cast<size_t>(i)]
                                  : root.append_copy(templates[static_cast<size_t>(i) % nTemplates]);
        const QByteArray id = QStringLiteral("LOC-%1").arg(i / 20, 5, 10, QLatin1Char('0')).toUtf8();
        const QByteArray date = base.addDays(i % 3000).toString(QStringLiteral("dd.MM.yyyy")).toUtf8();
        copy.child("ID").text().set(id.constData());
        copy.child("Date").text().set(date.constData());
    }
    doc.Save();
    return true;
}

int BenchPaced(int nRecords)
{
    QTemporaryDir dir;
    const QString strFile = dir.filePath(QStringLiteral("Result.xml"));
    WriteBytes(strFile, "<Result-Data>\r\n</Result-Data>\r\n");
    CSim sim;
    const QString strPort = sim.Start({QStringLiteral("--demo"), QStringLiteral("--count"), QString::number(nRecords),
                                       QStringLiteral("--pace"), QStringLiteral("9600")});
    if (strPort.isEmpty()) {
        std::fprintf(stderr, "px900-sim did not start\n");
        return 1;
    }
    CXMLDocument doc;
    doc.Open(strFile);
    ReadoutOptions options;
    options.m_strPortPath = strPort;
    options.m_nTimeout = 30000;
    CByteCounter counter(strPort);
    QElapsedTimer timer;
    timer.start();
    const double cpuStart = CpuSeconds(RUSAGE_SELF);
    const ReadoutOutcome outcome = ReadoutResults(options, doc, &counter);
    const double cpu = CpuSeconds(RUSAGE_SELF) - cpuStart;
    const double elapsed = timer.nsecsElapsed() / 1e9;
    if (!outcome.m_bSuccess) {
        std::fprintf(stderr, "readout failed: %s\n", outcome.m_strError.toLocal8Bit().constData());
        return 1;
    }
    const qint64 nBytes = counter.m_nSent + counter.m_nReceived;
    const double wire = nBytes * 11.0 / 9600.0;
    std::printf("(a) paced readout at 9600 baud\n");
    std::printf("    records              %d (added %d)\n", outcome.m_nCount, outcome.m_nAdded);
    std::printf("    bytes sent/received  %lld / %lld\n", static_cast<long long>(counter.m_nSent),
                static_cast<long long>(counter.m_nReceived));
    std::printf("    wire time            %.3f s\n", wire);
    std::printf("    elapsed              %.3f s\n", elapsed);
    std::printf("    elapsed / wire       %.4f   (target <= 1.01)\n", elapsed / wire);
    std::printf("    CPU per record       %.3f ms   (target <= 5 ms)\n",
                outcome.m_nCount > 0 ? 1000.0 * cpu / outcome.m_nCount : 0.0);
    return 0;
}

int BenchCpu(int nRecords, int nExisting)
{
    QTemporaryDir dir;
    const QString strFile = dir.filePath(QStringLiteral("Result.xml"));
    QElapsedTimer timer;
    timer.start();
    if (!GenerateResultFile(strFile, nExisting)) {
        std::fprintf(stderr, "cannot generate the result file\n");
        return 1;
    }
    const double generate = timer.nsecsElapsed() / 1e9;
    const qint64 nFileSize = QFile(strFile).size();

    CSim sim;
    const QString strPort = sim.Start({QStringLiteral("--demo"), QStringLiteral("--count"), QString::number(nRecords)});
    if (strPort.isEmpty()) {
        std::fprintf(stderr, "px900-sim did not start\n");
        return 1;
    }
    const double cpuStart = CpuSeconds(RUSAGE_SELF);
    timer.restart();
    CXMLDocument doc;
    doc.Open(strFile);
    const double cpuOpened = CpuSeconds(RUSAGE_SELF);
    const double openWall = timer.nsecsElapsed() / 1e9;
    ReadoutOptions options;
    options.m_strPortPath = strPort;
    options.m_nTimeout = 30000;
    timer.restart();
    const ReadoutOutcome outcome = ReadoutResults(options, doc);
    const double wall = timer.nsecsElapsed() / 1e9;
    const double cpuEnd = CpuSeconds(RUSAGE_SELF);
    if (!outcome.m_bSuccess) {
        std::fprintf(stderr, "readout failed: %s\n", outcome.m_strError.toLocal8Bit().constData());
        return 1;
    }
    const double perRecord = (cpuEnd - cpuOpened) / outcome.m_nCount * 1000.0;
    const double perRecordWithOpen = (cpuEnd - cpuStart) / outcome.m_nCount * 1000.0;
    std::printf("(b) unpaced readout into a large result file\n");
    std::printf("    existing results     %d (%.1f MB, generated in %.2f s)\n", nExisting, nFileSize / 1e6, generate);
    std::printf("    records              %d (added %d)\n", outcome.m_nCount, outcome.m_nAdded);
    std::printf("    open file            %.3f s wall, %.3f s CPU\n", openWall, cpuOpened - cpuStart);
    std::printf("    readout incl. save   %.3f s wall, %.3f s CPU\n", wall, cpuEnd - cpuOpened);
    std::printf("    CPU per record       %.3f ms (%.3f ms with the file's opening)   (target <= 5 ms)\n", perRecord,
                perRecordWithOpen);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    int nRecordsA = 200, nRecordsB = 1000, nExisting = 20000;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--records-a"))
            nRecordsA = args[i + 1].toInt();
        else if (args[i] == QLatin1String("--records-b"))
            nRecordsB = args[i + 1].toInt();
        else if (args[i] == QLatin1String("--existing"))
            nExisting = args[i + 1].toInt();
    }
    if (nRecordsA > 0) {
        if (int n = BenchPaced(nRecordsA))
            return n;
    }
    return nRecordsB > 0 ? BenchCpu(nRecordsB, nExisting) : 0;
}
