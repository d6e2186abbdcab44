// Exports all results of FOLDER/Result.xml (bench_gen's file) into one CSV
// file per kind, as "qarda --export-csv 'FILE-{kind}.csv'" does, and compares
// the time with opening the result file plus writing the same bytes in one
// go. Target: export <= 1.5 x (open + write). Process CPU time and wall time,
// median of --runs rounds (default 3); each round runs the three one after
// the other, so a machine whose load changes meets all three alike, and the
// ratio is also given as the median of the rounds' ratios. --keep DIR leaves
// the CSV files there, to compare the output of two builds.
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

Times Time(const std::function<void()>& fn)
{
    QElapsedTimer timer;
    timer.start();
    const std::clock_t c0 = std::clock();
    fn();
    return {double(timer.nsecsElapsed()) / 1e6, 1000.0 * double(std::clock() - c0) / CLOCKS_PER_SEC};
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

Times Median(const std::vector<Times>& runs)
{
    std::vector<double> wall, cpu;
    for (const Times& t : runs) {
        wall.push_back(t.dWall);
        cpu.push_back(t.dCpu);
    }
    return {Median(wall), Median(cpu)};
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
    const auto exportAll = [&] {
        for (const QString& strFile : QDir(out.path()).entryList(QDir::Files))
            QFile::remove(QDir(out.path()).filePath(strFile));
        CXMLDocument doc;
        doc.Open(strResults);
        CCsvBatchArgs a;
        a.m_strFile = out.filePath(QStringLiteral("out-{kind}.csv"));
        report = ExportResultsCsv(doc, a);
    };
    // A first export gives the bytes to write.
    exportAll();
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
    const auto openOnly = [&] {
        CXMLDocument doc;
        doc.Open(strResults);
    };
    const auto writeOnly = [&] {
        QFile f(out.filePath(QStringLiteral("same-bytes.csv")));
        if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            f.write(bytes);
    };
    std::vector<Times> exports, opens, writes;
    std::vector<double> ratios;
    for (int i = 0; i < nRuns; ++i) {
        exports.push_back(Time(exportAll));
        opens.push_back(Time(openOnly));
        writes.push_back(Time(writeOnly));
        const double dBase = opens.back().dCpu + writes.back().dCpu;
        ratios.push_back(dBase > 0 ? exports.back().dCpu / dBase : 0.0);
    }
    const Times openTimes = Median(opens), writeTimes = Median(writes), exportTimes = Median(exports);

    std::printf("%d results, %lld lines, %lld bytes in %lld files\n", report.m_nResults,
                static_cast<long long>(report.m_nLines), static_cast<long long>(bytes.size()),
                static_cast<long long>(report.m_files.size()));
    Print("open Result.xml", openTimes);
    Print("write the same bytes", writeTimes);
    Print("export (open, select, convert, write)", exportTimes);
    const double dBase = openTimes.dCpu + writeTimes.dCpu;
    std::printf("  export / (open + write), CPU: %.2f, median of the rounds: %.2f (target <= 1.5)\n",
                dBase > 0 ? exportTimes.dCpu / dBase : 0.0, Median(ratios));
    return 0;
}
