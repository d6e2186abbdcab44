// Exports all results of FOLDER/Result.xml (bench_gen's file) into one CSV
// file per kind, as "qarda --export-csv 'FILE-{kind}.csv'" does, and compares
// the time with opening the result file plus writing the same bytes in one
// go. Target: export <= 1.5 x (open + write). Process CPU time and wall time,
// median of --runs runs (default 3). --keep DIR leaves the CSV files there,
// to compare the output of two builds.
//
//     bench_export [FOLDER] [--runs N] [--keep DIR]

#include "export/ResultExporter.h"
#include "xml/XMLDocument.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

namespace {
struct Times
{
    double dWall = 0, dCpu = 0;
};

Times Measure(const std::function<void()>& fn, int nRuns)
{
    std::vector<double> wall, cpu;
    for (int i = 0; i < nRuns; ++i) {
        QElapsedTimer timer;
        timer.start();
        const std::clock_t c0 = std::clock();
        fn();
        cpu.push_back(1000.0 * double(std::clock() - c0) / CLOCKS_PER_SEC);
        wall.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(wall.begin(), wall.end());
    std::sort(cpu.begin(), cpu.end());
    return {wall[wall.size() / 2], cpu[cpu.size() / 2]};
}

void Print(const char* pszWhat, const Times& t)
{
    std::printf("  %-40s %10.1f ms wall %10.1f ms CPU\n", pszWhat, t.dWall, t.dCpu);
}
}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QString strFolder = QStringLiteral("bench-data");
    int nRuns = 3;
    QString strKeep;
    const QStringList args = app.arguments().mid(1);
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args.at(i) == QLatin1String("--runs") && i + 1 < args.size())
            nRuns = std::max(1, args.at(++i).toInt());
        else if (args.at(i) == QLatin1String("--keep") && i + 1 < args.size())
            strKeep = args.at(++i);
        else
            strFolder = args.at(i);
    }
    const QString strResults = QDir(strFolder).filePath(QStringLiteral("Result.xml"));
    if (!QFile::exists(strResults)) {
        std::fprintf(stderr, "%s is missing: run bench_gen %s first\n", qPrintable(strResults), qPrintable(strFolder));
        return 1;
    }
    QTemporaryDir out;
    CCsvBatchReport report;
    const Times exportTimes = Measure(
        [&] {
            for (const QString& strFile : QDir(out.path()).entryList(QDir::Files))
                QFile::remove(QDir(out.path()).filePath(strFile));
            CXMLDocument doc;
            doc.Open(strResults);
            CCsvBatchArgs a;
            a.m_strFile = out.filePath(QStringLiteral("out-{kind}.csv"));
            report = ExportResultsCsv(doc, a);
        },
        nRuns);
    QByteArray bytes;
    for (const QString& strFile : report.m_files) {
        QFile f(strFile);
        if (f.open(QIODevice::ReadOnly))
            bytes += f.readAll();
        if (!strKeep.isEmpty()) {
            QDir().mkpath(strKeep);
            QFile::copy(strFile, QDir(strKeep).filePath(QFileInfo(strFile).fileName()));
        }
    }
    const Times openTimes = Measure(
        [&] {
            CXMLDocument doc;
            doc.Open(strResults);
        },
        nRuns);
    const Times writeTimes = Measure(
        [&] {
            QFile f(out.filePath(QStringLiteral("same-bytes.csv")));
            if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
                f.write(bytes);
        },
        nRuns);

    std::printf("%d results, %lld lines, %lld bytes in %lld files\n", report.m_nResults,
                static_cast<long long>(report.m_nLines), static_cast<long long>(bytes.size()),
                static_cast<long long>(report.m_files.size()));
    Print("open Result.xml", openTimes);
    Print("write the same bytes", writeTimes);
    Print("export (open, select, convert, write)", exportTimes);
    const double dBase = openTimes.dCpu + writeTimes.dCpu;
    std::printf("  export / (open + write), CPU: %.2f (target <= 1.5)\n", dBase > 0 ? exportTimes.dCpu / dBase : 0.0);
    return 0;
}
