// Bounds: a CSV import of 10,000 locations into the generated 1,000-location
// file takes at most twice one save of the resulting main file; a backup of
// the generated pair runs at least at 80 % of the speed of cp.
//
// bench_backup

#include "BenchDataGenerator.h"

#include "locations/Backup.h"
#include "locations/LocationImport.h"
#include "xml/XMLDocument.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <climits>
#include <cstdio>
#include <functional>

namespace {

double Ms(qint64 ns)
{
    return static_cast<double>(ns) / 1e6;
}

qint64 Best(int nRuns, const std::function<void()>& run)
{
    qint64 nBest = LLONG_MAX;
    for (int i = 0; i < nRuns; ++i) {
        QElapsedTimer t;
        t.start();
        run();
        nBest = std::min(nBest, t.nsecsElapsed());
    }
    return nBest;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    CBenchDataGenerator gen;
    std::string strError;
    if (!gen.Generate(dir.path().toStdString(), strError)) {
        std::fprintf(stderr, "%s\n", strError.c_str());
        return 1;
    }
    const QString strMain = dir.filePath(QStringLiteral("Main.xml")), strResult = dir.filePath(QStringLiteral("Result.xml"));
    bool bOk = true;

    // 10,000 new locations, every column filled, some fields quoted.
    QByteArray csv;
    for (int i = 0; i < 10000; ++i) {
        csv += "CSV" + QByteArray::number(i);
        for (int c = 1; c < kImportColumnCount; ++c)
            csv += c % 7 == 0 ? ";\"Feld; " + QByteArray::number(c) + "\"" : ";Wert " + QByteArray::number(c) + " \xC3\xA4";
        csv += "\r\n";
    }
    const QString strCsv = dir.filePath(QStringLiteral("in.csv"));
    QFile f(strCsv);
    if (!f.open(QIODevice::WriteOnly) || f.write(csv) != csv.size())
        return 1;
    f.close();
    QList<int> order;
    for (int c = 0; c < kImportColumnCount; ++c)
        order << c;
    const QByteArray mainBytes = [&] {
        QFile m(strMain);
        return m.open(QIODevice::ReadOnly) ? m.readAll() : QByteArray();
    }();
    CXMLDocument main;
    qint64 nImport = LLONG_MAX;
    for (int i = 0; i < 5; ++i) {
        QFile m(strMain);
        if (!m.open(QIODevice::WriteOnly) || m.write(mainBytes) != mainBytes.size())
            return 1;
        m.close();
        main.Open(strMain);
        nImport = std::min(nImport, Best(1, [&] { ImportCsv(main, strCsv, u';', order); }));
    }
    const qint64 nSave = Best(5, [&] { main.Save(); });
    const bool bImport = nImport <= 2 * nSave;
    bOk = bOk && bImport;
    std::printf("CSV import of 10,000 locations: %.1f ms (read, parse, add, save); one save of the result: %.1f ms "
                "(%lld bytes); ratio %.2f (bound 2.0) %s\n",
                Ms(nImport), Ms(nSave), static_cast<long long>(QFile(strMain).size()),
                static_cast<double>(nImport) / static_cast<double>(nSave), bImport ? "ok" : "TOO SLOW");

    // Backup against cp of the same two files (both on the same disk).
    const QString strBackups = dir.filePath(QStringLiteral("backups")), strCp = dir.filePath(QStringLiteral("cp"));
    QDir().mkpath(strBackups);
    // Only the copies are timed; cp's time includes starting it. Removing
    // the copies again is not timed.
    const auto timed = [](int nRuns, const std::function<QString()>& copy) {
        qint64 nBest = LLONG_MAX;
        for (int i = 0; i < nRuns; ++i) {
            QElapsedTimer t;
            t.start();
            const QString strFolder = copy();
            nBest = std::min(nBest, t.nsecsElapsed());
            QDir(strFolder).removeRecursively();
        }
        return nBest;
    };
    int nRun = 0;
    const qint64 nBackup = timed(10, [&] {
        return CreateBackup(strBackups, strMain, strResult, QDateTime(QDate(2026, 1, 1), QTime(0, 0, nRun++)));
    });
    const qint64 nCp = timed(10, [&] {
        QDir().mkpath(strCp);
        QProcess::execute(QStringLiteral("cp"), {strMain, strResult, strCp});
        return strCp;
    });
    const qint64 nCpSync = timed(5, [&] {
        QDir().mkpath(strCp);
        QProcess::execute(QStringLiteral("sh"), {QStringLiteral("-c"), QStringLiteral("cp \"$0\" \"$1\" \"$2\" && sync -f \"$2\"/*"), strMain, strResult, strCp});
        return strCp;
    });
    const double dBytes = static_cast<double>(QFile(strMain).size() + QFile(strResult).size());
    const double dSpeed = static_cast<double>(nCp) / static_cast<double>(nBackup);
    const bool bBackup = dSpeed >= 0.8;
    bOk = bOk && bBackup;
    std::printf("backup of %.1f MiB: %.1f ms (copies not flushed to disk, as with cp); cp: %.1f ms, cp + sync: %.1f ms; "
                "speed %.0f %% of cp, %.0f %% of cp + sync (bound 80 %% of cp) %s\n",
                dBytes / 1048576.0, Ms(nBackup), Ms(nCp), Ms(nCpSync), 100.0 * dSpeed,
                100.0 * static_cast<double>(nCpSync) / static_cast<double>(nBackup), bBackup ? "ok" : "TOO SLOW");
    return bOk ? 0 : 1;
}
