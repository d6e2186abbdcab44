// bench_store: how fast the data store opens, walks, searches and saves large
// data files, and how much memory it needs, each against pugixml alone on the
// same bytes. The memory figures come from a separate run of this program
// (--memory-only), so the other measurements do not inflate them.

#include "bench/store/BenchDataGenerator.h"
#include "core/Exception.h"
#include "xml/XMLDocument.h"
#include "xml/XMLNodeMain.h"
#include "xml/XMLNodeResult.h"

#include <QFile>
#include <QString>

#include <pugixml.hpp>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <stdexcept>
#include <sstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// The store's own parse options: comparing against them keeps the two parses
// doing the same work.
constexpr unsigned kStoreParseOptions =
    pugi::parse_default | pugi::parse_comments | pugi::parse_pi | pugi::parse_embed_pcdata;

constexpr double kOpenTarget = 1.5;
constexpr double kSaveTarget = 1.5;
constexpr double kMemoryTarget = 4.0;

struct Sample
{
    double m_dWall = 0;  // seconds
    double m_dCpu = 0;   // seconds of process CPU time
};

double CpuNow()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

// Times one call; the setup and teardown that the caller does around it are
// not counted.
Sample TimeOnce(const std::function<void()>& work)
{
    const double dCpu0 = CpuNow();
    const auto t0 = std::chrono::steady_clock::now();
    work();
    Sample s;
    s.m_dWall = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    s.m_dCpu = CpuNow() - dCpu0;
    return s;
}

double Median(std::vector<double> v)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// Median of wall and CPU separately over several runs of one measurement.
struct Figure
{
    std::vector<Sample> m_samples;
    void Add(const Sample& s) { m_samples.push_back(s); }
    double Wall() const
    {
        std::vector<double> v;
        for (const Sample& s : m_samples)
            v.push_back(s.m_dWall);
        return Median(v);
    }
    double Cpu() const
    {
        std::vector<double> v;
        for (const Sample& s : m_samples)
            v.push_back(s.m_dCpu);
        return Median(v);
    }
    int Runs() const { return static_cast<int>(m_samples.size()); }
};

std::string Ms(double dSeconds)
{
    char buf[32];
    if (dSeconds < 0.001)
        std::snprintf(buf, sizeof buf, "%.1f us", dSeconds * 1e6);
    else
        std::snprintf(buf, sizeof buf, "%.1f ms", dSeconds * 1e3);
    return buf;
}

std::string MiB(double dBytes)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.1f MiB", dBytes / 1048576.0);
    return buf;
}

long MaxRssKb()
{
    rusage ru{};
    getrusage(RUSAGE_SELF, &ru);
#ifdef __APPLE__
    return ru.ru_maxrss / 1024;  // bytes there
#else
    return ru.ru_maxrss;
#endif
}

// A line of /proc/self/status in kB ("VmHWM", "VmRSS"); -1 where there is
// none. Unlike ru_maxrss, VmHWM belongs to this program image alone: Linux
// carries ru_maxrss over from the image before exec.
long ProcStatusKb(const char* pszKey)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string key = std::string(pszKey) + ":";
    while (std::getline(status, line))
        if (line.compare(0, key.size(), key) == 0)
            return std::atol(line.c_str() + key.size());
    return -1;
}

std::string ReadAll(const std::string& strPath)
{
    std::ifstream in(strPath, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + strPath);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void CopyFile(const std::string& strFrom, const std::string& strTo)
{
    QFile::remove(QString::fromStdString(strTo));
    if (!QFile::copy(QString::fromStdString(strFrom), QString::fromStdString(strTo)))
        throw std::runtime_error("cannot copy " + strFrom + " to " + strTo);
}

bool Exists(const std::string& strPath)
{
    return access(strPath.c_str(), R_OK) == 0;
}

// pugixml alone: write the document to a file and make it durable.
void PugiWriteAndSync(const pugi::xml_document& doc, const std::string& strPath, bool bSync)
{
    std::FILE* f = std::fopen(strPath.c_str(), "wb");
    if (!f)
        throw std::runtime_error("cannot create " + strPath);
    pugi::xml_writer_file writer(f);
    doc.save(writer, "", pugi::format_indent, pugi::encoding_utf8);
    bool bOk = std::fflush(f) == 0;
    if (bSync)
        bOk = bOk && fsync(fileno(f)) == 0;
    bOk = std::fclose(f) == 0 && bOk;
    if (!bOk)
        throw std::runtime_error("cannot write " + strPath);
}

// What the tree rebuild asks of every result.
const QStringList& TreeResultFields()
{
    static const QStringList fields = {
        QStringLiteral("ID"),       QStringLiteral("Date"),          QStringLiteral("Time"),
        QStringLiteral("Place-No"), QStringLiteral("Function"),      QStringLiteral("Time-Interval"),
        QStringLiteral("Value-Measurement"), QStringLiteral("No"),
    };
    return fields;
}

struct WalkCount
{
    int m_nResults = 0;
    int m_nSamples = 0;
    std::size_t m_nChars = 0;  // keeps the reads from being optimised away
};

// Walks every result the way the tree rebuild does.
WalkCount WalkResults(CXMLDocument& doc, bool bFiltered)
{
    WalkCount count;
    CXMLNodeResult result(&doc);
    if (bFiltered)
        result.SetFieldNames(TreeResultFields());
    result.Open();
    while (!result.IsEOF()) {
        ++count.m_nResults;
        count.m_nChars += static_cast<std::size_t>(result.m_strID.size() + result.m_strDate.size()
                                                   + result.m_strTime.size() + result.m_strPlaceNo.size()
                                                   + result.m_strFunction.size() + result.m_strTimeInterval.size());
        for (const auto& pEntry : result.m_continueValues) {
            ++count.m_nSamples;
            count.m_nChars += static_cast<std::size_t>(pEntry->m_strNo.size());
        }
        result.MoveNext();
    }
    return count;
}

// Groups and locations, as steps 2 and 3 of the tree rebuild read them.
int WalkLocations(CXMLDocument& doc)
{
    int nCount = 0;
    const QStringList fields = {QStringLiteral("ID"), QStringLiteral("State")};
    CXMLNodeGroup group(&doc);
    group.SetFieldNames({QStringLiteral("Group")});
    group.Open();
    while (!group.IsEOF()) {
        CXMLNodeMain main(&doc);
        main.SetFieldNames(fields);
        main.Open({}, &group);
        while (!main.IsEOF()) {
            nCount += main.m_General.m_strID.isEmpty() ? 0 : 1;
            main.MoveNext();
        }
        group.MoveNext();
    }
    CXMLNodeMain loose(&doc);
    loose.SetFieldNames(fields);
    loose.Open(QStringLiteral("Main[not(Group/Main)]"));
    while (!loose.IsEOF()) {
        nCount += loose.m_General.m_strID.isEmpty() ? 0 : 1;
        loose.MoveNext();
    }
    return nCount;
}

struct Identity
{
    QString m_strID, m_strDate, m_strTime;
};

Identity LastResult(CXMLDocument& doc)
{
    CXMLNodeResult result(&doc);
    result.SetFieldNames({QStringLiteral("ID"), QStringLiteral("Date"), QStringLiteral("Time")});
    result.Open();
    result.MoveLast();
    if (result.IsEOF())
        throw std::runtime_error("the result file holds no result");
    return {result.m_strID, result.m_strDate, result.m_strTime};
}

const QString kFindQuery = QStringLiteral("Result[ID = $id and Date = $d and Time = $t]");

CXMLVars VarsOf(const Identity& id)
{
    return {{QStringLiteral("id"), id.m_strID}, {QStringLiteral("d"), id.m_strDate}, {QStringLiteral("t"), id.m_strTime}};
}

struct Options
{
    std::string m_strFolder = "bench-data";
    int m_nRuns = 5;
    int m_nResults = 20000;
    bool m_bMemoryOnly = false;
    bool m_bMemory = true;
    bool m_bUnfiltered = true;
};

std::string MainPath(const Options& o)
{
    return o.m_strFolder + "/Main.xml";
}
std::string ResultPath(const Options& o)
{
    return o.m_strFolder + "/Result.xml";
}
std::string ScratchPath(const Options& o, const char* pszName)
{
    return o.m_strFolder + "/" + pszName;
}

// --- the memory run ----------------------------------------------------------

// Opens both files, walks the results like the tree, finds the last result
// and saves one edit, printing the RSS figures as key=value lines.
int MemoryOnly(const Options& o)
{
    const std::string strScratch = ScratchPath(o, "Result-memory.xml");
    CopyFile(ResultPath(o), strScratch);
    const long nBaseMax = MaxRssKb();
    const long nBaseHwm = ProcStatusKb("VmHWM");
    long nOpenMax = 0, nOpenHwm = 0;
    {
        CXMLDocument mainDoc, resultDoc;
        mainDoc.Open(QString::fromStdString(MainPath(o)));
        resultDoc.Open(QString::fromStdString(strScratch));
        nOpenMax = MaxRssKb();
        nOpenHwm = ProcStatusKb("VmHWM");
        WalkLocations(mainDoc);
        WalkResults(resultDoc, true);
        const Identity id = LastResult(resultDoc);
        CXMLNodeResult result(&resultDoc);
        if (!result.FindFirst(kFindQuery, VarsOf(id)))
            throw std::runtime_error("last result not found");
        result.Edit();
        result.m_strRemark = QStringLiteral("Speicher gemessen");
        result.Update();
    }
    const long nEndMax = MaxRssKb();
    const long nEndHwm = ProcStatusKb("VmHWM");
    std::remove(strScratch.c_str());
    std::printf("base_maxrss_kb=%ld\nopen_maxrss_kb=%ld\nend_maxrss_kb=%ld\n", nBaseMax, nOpenMax, nEndMax);
    std::printf("base_hwm_kb=%ld\nopen_hwm_kb=%ld\nend_hwm_kb=%ld\n", nBaseHwm, nOpenHwm, nEndHwm);
    return 0;
}

// Runs this program again with --memory-only and reads its figures.
std::map<std::string, long> RunMemoryChild(const Options& o)
{
    int fds[2];
    if (pipe(fds) != 0)
        throw std::runtime_error("pipe failed");
    const pid_t pid = fork();
    if (pid < 0)
        throw std::runtime_error("fork failed");
    if (pid == 0) {
        close(fds[0]);
        dup2(fds[1], STDOUT_FILENO);
        close(fds[1]);
        const char* argv[] = {"bench_store", "--memory-only", o.m_strFolder.c_str(), nullptr};
        execv("/proc/self/exe", const_cast<char* const*>(argv));
        _exit(127);
    }
    close(fds[1]);
    std::string out;
    char buf[4096];
    ssize_t n;
    while ((n = read(fds[0], buf, sizeof buf)) > 0)
        out.append(buf, static_cast<std::size_t>(n));
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error("the memory run failed:\n" + out);
    std::map<std::string, long> values;
    std::istringstream lines(out);
    std::string line;
    while (std::getline(lines, line)) {
        const auto eq = line.find('=');
        if (eq != std::string::npos)
            values[line.substr(0, eq)] = std::atol(line.c_str() + eq + 1);
    }
    return values;
}

// --- the report ----------------------------------------------------------------

struct Row
{
    std::string m_strWhat;
    std::string m_strWall;
    std::string m_strCpu;
    std::string m_strNote;
};

void PrintRows(const char* pszTitle, const std::vector<Row>& rows)
{
    std::printf("\n%s\n", pszTitle);
    std::printf("  %-52s %12s %12s  %s\n", "", "wall", "CPU", "");
    for (const Row& r : rows)
        std::printf("  %-52s %12s %12s  %s\n", r.m_strWhat.c_str(), r.m_strWall.c_str(), r.m_strCpu.c_str(),
                    r.m_strNote.c_str());
}

Row RowOf(const std::string& strWhat, const Figure& f, const std::string& strNote = {})
{
    return {strWhat, Ms(f.Wall()), Ms(f.Cpu()), strNote};
}

struct Verdict
{
    std::string m_strTarget;
    std::string m_strMeasured;
    bool m_bPass;
};

int Run(const Options& o)
{
    const std::string strMain = MainPath(o), strResult = ResultPath(o);
    if (!Exists(strMain) || !Exists(strResult)) {
        std::printf("Generating %d results into %s ...\n", o.m_nResults, o.m_strFolder.c_str());
        CBenchDataGenerator gen;
        gen.m_nResults = o.m_nResults;
        std::string strError;
        if (!gen.Generate(o.m_strFolder, strError))
            throw std::runtime_error(strError);
    }
    // The memory run goes first, while this process is still small.
    std::map<std::string, long> memory;
    if (o.m_bMemory) {
        std::printf("Measuring memory in a separate run ...\n");
        std::fflush(stdout);
        memory = RunMemoryChild(o);
    }
    const std::string mainBytes = ReadAll(strMain);
    const std::string resultBytes = ReadAll(strResult);
    const double dTotalBytes = static_cast<double>(mainBytes.size() + resultBytes.size());
    std::printf("Data: %s (Main.xml %s, Result.xml %s, together %s); %d runs per measurement, median shown\n",
                o.m_strFolder.c_str(), MiB(static_cast<double>(mainBytes.size())).c_str(),
                MiB(static_cast<double>(resultBytes.size())).c_str(), MiB(dTotalBytes).c_str(), o.m_nRuns);
    double load[1] = {0};
    if (getloadavg(load, 1) == 1 && load[0] > static_cast<double>(sysconf(_SC_NPROCESSORS_ONLN)))
        std::printf("Note: load average %.1f on %ld cores: wall times are inflated, CPU times less so\n", load[0],
                    sysconf(_SC_NPROCESSORS_ONLN));
    std::fflush(stdout);

    std::vector<Verdict> verdicts;
    const QString qMain = QString::fromStdString(strMain), qResult = QString::fromStdString(strResult);

    // 1. Opening both files.
    Figure openMain, openResult, openBoth, pugiMain, pugiResult, pugiBoth, pugiFileBoth;
    {
        // One untimed round brings both files into the page cache.
        { CXMLDocument warm; warm.Open(qResult); }
        for (int i = 0; i < o.m_nRuns; ++i) {
            auto pMain = std::make_unique<CXMLDocument>();
            auto pResult = std::make_unique<CXMLDocument>();
            const Sample a = TimeOnce([&] { pMain->Open(qMain); });
            const Sample b = TimeOnce([&] { pResult->Open(qResult); });
            openMain.Add(a);
            openResult.Add(b);
            openBoth.Add({a.m_dWall + b.m_dWall, a.m_dCpu + b.m_dCpu});
        }
        for (int i = 0; i < o.m_nRuns; ++i) {
            pugi::xml_document dm, dr;
            const Sample a = TimeOnce([&] {
                if (!dm.load_buffer(mainBytes.data(), mainBytes.size(), kStoreParseOptions, pugi::encoding_utf8))
                    throw std::runtime_error("pugixml cannot parse Main.xml");
            });
            const Sample b = TimeOnce([&] {
                if (!dr.load_buffer(resultBytes.data(), resultBytes.size(), kStoreParseOptions, pugi::encoding_utf8))
                    throw std::runtime_error("pugixml cannot parse Result.xml");
            });
            pugiMain.Add(a);
            pugiResult.Add(b);
            pugiBoth.Add({a.m_dWall + b.m_dWall, a.m_dCpu + b.m_dCpu});
        }
        for (int i = 0; i < o.m_nRuns; ++i) {
            pugi::xml_document dm, dr;
            pugiFileBoth.Add(TimeOnce([&] {
                if (!dm.load_file(strMain.c_str(), kStoreParseOptions, pugi::encoding_utf8)
                    || !dr.load_file(strResult.c_str(), kStoreParseOptions, pugi::encoding_utf8))
                    throw std::runtime_error("pugixml cannot load the files");
            }));
        }
        // Judged on CPU time: opening is CPU work on a file in the page
        // cache, and CPU time does not depend on what else the machine runs.
        const double dRatio = openBoth.Cpu() / pugiBoth.Cpu();
        const double dRatioWall = openBoth.Wall() / pugiBoth.Wall();
        const double dRatioFile = openBoth.Cpu() / pugiFileBoth.Cpu();
        char note[128];
        std::snprintf(note, sizeof note, "CPU %.2fx pugixml parse (wall %.2fx), %.2fx parse with file read", dRatio,
                      dRatioWall, dRatioFile);
        PrintRows("1. Opening both files", {
            RowOf("CXMLDocument::Open Main.xml", openMain),
            RowOf("CXMLDocument::Open Result.xml", openResult),
            RowOf("CXMLDocument::Open both", openBoth, note),
            RowOf("pugixml load_buffer Main.xml (bytes in memory)", pugiMain),
            RowOf("pugixml load_buffer Result.xml (bytes in memory)", pugiResult),
            RowOf("pugixml load_buffer both", pugiBoth),
            RowOf("pugixml load_file both (with file read)", pugiFileBoth),
        });
        char measured[64];
        std::snprintf(measured, sizeof measured, "%.2fx (CPU %s vs %s)", dRatio, Ms(openBoth.Cpu()).c_str(),
                      Ms(pugiBoth.Cpu()).c_str());
        verdicts.push_back({"open both <= 1.5x pugixml parse", measured, dRatio <= kOpenTarget});
    }
    std::fflush(stdout);

    CXMLDocument mainDoc, resultDoc;
    mainDoc.Open(qMain);
    resultDoc.Open(qResult);

    // 2. Walking all results with the tree's field filter.
    {
        Figure walk, walkAll, walkMain;
        WalkCount count;
        for (int i = 0; i < o.m_nRuns; ++i)
            walk.Add(TimeOnce([&] { count = WalkResults(resultDoc, true); }));
        const int nAllRuns = o.m_bUnfiltered ? std::max(1, o.m_nRuns / 2) : 0;
        for (int i = 0; i < nAllRuns; ++i)
            walkAll.Add(TimeOnce([&] { WalkResults(resultDoc, false); }));
        int nLocations = 0;
        for (int i = 0; i < o.m_nRuns; ++i)
            walkMain.Add(TimeOnce([&] { nLocations = WalkLocations(mainDoc); }));
        const double nPer = count.m_nResults ? walk.Wall() / count.m_nResults : 0;
        std::vector<Row> rows = {
            RowOf("results, tree's field filter (" + std::to_string(count.m_nResults) + ")", walk,
                  Ms(nPer) + " per result; " + std::to_string(count.m_nSamples) + " series entries"),
        };
        if (nAllRuns)
            rows.push_back(RowOf("results, every field (no filter)", walkAll,
                                 Ms(count.m_nResults ? walkAll.Wall() / count.m_nResults : 0) + " per result"));
        rows.push_back(RowOf("groups and locations, ID and State (" + std::to_string(nLocations) + ")", walkMain));
        PrintRows("2. Walking the files as the tree rebuild does", rows);
    }
    std::fflush(stdout);

    // 3. Finding one result by ID, Date and Time.
    const Identity last = LastResult(resultDoc);
    {
        Figure find;
        bool bFound = true;
        const int nRuns = std::max(o.m_nRuns, 9);
        for (int i = 0; i < nRuns; ++i) {
            CXMLNodeResult result(&resultDoc);
            find.Add(TimeOnce([&] { bFound = bFound && result.FindFirst(kFindQuery, VarsOf(last)); }));
        }
        if (!bFound)
            throw std::runtime_error("the last result was not found");
        PrintRows("3. Finding the last result by ID, Date and Time",
                  {RowOf("FindFirst " + kFindQuery.toStdString(), find,
                         "(" + last.m_strID.toStdString() + ", " + last.m_strDate.toStdString() + ", "
                             + last.m_strTime.toStdString() + ")")});
    }
    std::fflush(stdout);

    // 4. One edit saved (the whole result file), against pugixml writing
    // and syncing the same document.
    {
        const std::string strStoreCopy = ScratchPath(o, "Result-save.xml");
        const std::string strPugiCopy = ScratchPath(o, "Result-pugi.xml");
        CopyFile(strResult, strStoreCopy);
        Figure update, pugiSync, pugiNoSync;
        bool bIdentical = false;
        {
            CXMLDocument doc;
            doc.Open(QString::fromStdString(strStoreCopy));
            // The generated text is meant to be the store's own layout: an
            // unchanged save must give the same bytes.
            doc.Save();
            bIdentical = ReadAll(strStoreCopy) == resultBytes;
            CXMLNodeResult result(&doc);
            if (!result.FindFirst(kFindQuery, VarsOf(last)))
                throw std::runtime_error("the last result was not found in the copy");
            for (int i = 0; i < o.m_nRuns; ++i) {
                update.Add(TimeOnce([&] {
                    result.Edit();
                    result.m_strRemark = QStringLiteral("Bemerkung geändert, Lauf %1").arg(i + 1);
                    result.Update();
                }));
            }
        }
        {
            pugi::xml_document doc;
            if (!doc.load_file(strStoreCopy.c_str(), kStoreParseOptions, pugi::encoding_utf8))
                throw std::runtime_error("pugixml cannot load the saved copy");
            for (int i = 0; i < o.m_nRuns; ++i)
                pugiSync.Add(TimeOnce([&] { PugiWriteAndSync(doc, strPugiCopy, true); }));
            for (int i = 0; i < o.m_nRuns; ++i)
                pugiNoSync.Add(TimeOnce([&] { PugiWriteAndSync(doc, strPugiCopy, false); }));
        }
        std::ifstream saved(strStoreCopy, std::ios::binary | std::ios::ate);
        std::ifstream written(strPugiCopy, std::ios::binary | std::ios::ate);
        const double dSaved = static_cast<double>(saved.tellg()), dWritten = static_cast<double>(written.tellg());
        std::remove(strStoreCopy.c_str());
        std::remove(strPugiCopy.c_str());
        const double dRatio = update.Wall() / pugiSync.Wall();
        // Judged on wall time: the sync is waiting, not computing.
        char note[96];
        std::snprintf(note, sizeof note, "wall %.2fx pugixml write+fsync; file %s", dRatio, MiB(dSaved).c_str());
        PrintRows("4. One edit saved: Edit + Update of the last result (whole file written)", {
            RowOf("Edit + Update (temporary file, CR LF, sync, rename)", update, note),
            RowOf("pugixml save to FILE* + fflush + fsync (LF)", pugiSync, "file " + MiB(dWritten)),
            RowOf("pugixml save to FILE* + fflush, no fsync", pugiNoSync),
        });
        std::printf("  An unchanged save reproduces the generated Result.xml byte for byte: %s\n",
                    bIdentical ? "yes" : "NO");
        char measured[64];
        std::snprintf(measured, sizeof measured, "%.2fx (wall %s vs %s)", dRatio, Ms(update.Wall()).c_str(),
                      Ms(pugiSync.Wall()).c_str());
        verdicts.push_back({"edit save <= 1.5x pugixml write+fsync", measured, dRatio <= kSaveTarget});
    }
    std::fflush(stdout);

    // 5. Peak memory, measured in a process of its own (above).
    if (o.m_bMemory) {
        auto Get = [&memory](const char* pszKey) {
            const auto it = memory.find(pszKey);
            return it == memory.end() ? -1.0 : it->second * 1024.0;
        };
        const bool bHwm = Get("end_hwm_kb") > 0;
        const double dBase = bHwm ? Get("base_hwm_kb") : Get("base_maxrss_kb");
        const double dOpen = bHwm ? Get("open_hwm_kb") : Get("open_maxrss_kb");
        const double dEnd = bHwm ? Get("end_hwm_kb") : Get("end_maxrss_kb");
        const double dGrowth = dEnd - dBase;
        auto Times = [dTotalBytes](double d) {
            char buf[48];
            std::snprintf(buf, sizeof buf, "%.2fx the files", d / dTotalBytes);
            return std::string(buf);
        };
        std::printf("\n5. Peak memory (separate run: open both, walk like the tree, find, one edit saved)\n");
        std::printf("  %-52s %12s %12s  %s\n", "", "VmHWM", "ru_maxrss", "");
        auto Line = [&](const char* pszWhat, const char* pszHwm, const char* pszMax, const std::string& strNote) {
            std::printf("  %-52s %12s %12s  %s\n", pszWhat, MiB(Get(pszHwm)).c_str(), MiB(Get(pszMax)).c_str(),
                        strNote.c_str());
        };
        Line("peak RSS before opening (baseline)", "base_hwm_kb", "base_maxrss_kb", "");
        Line("peak RSS after opening both files", "open_hwm_kb", "open_maxrss_kb", Times(dOpen));
        Line("peak RSS at the end", "end_hwm_kb", "end_maxrss_kb", Times(dEnd));
        std::printf("  %-52s %12s %12s  %s (%s)\n", "growth of the peak over the baseline", MiB(dGrowth).c_str(),
                    MiB(Get("end_maxrss_kb") - Get("base_maxrss_kb")).c_str(), Times(dGrowth).c_str(),
                    MiB(dTotalBytes).c_str());
        char measured[64];
        std::snprintf(measured, sizeof measured, "%.2fx (%s for %s)", dGrowth / dTotalBytes, MiB(dGrowth).c_str(),
                      MiB(dTotalBytes).c_str());
        verdicts.push_back({"peak memory growth <= 4x file size", measured, dGrowth <= kMemoryTarget * dTotalBytes});
    }

    std::printf("\nTargets\n");
    if (getloadavg(load, 1) == 1)
        std::printf("  (load average at the end: %.1f)\n", load[0]);
    int nFailed = 0;
    for (const Verdict& v : verdicts) {
        std::printf("  %-42s %-34s %s\n", v.m_strTarget.c_str(), v.m_strMeasured.c_str(), v.m_bPass ? "PASS" : "FAIL");
        nFailed += v.m_bPass ? 0 : 1;
    }
    return nFailed ? 1 : 0;
}

void Usage()
{
    std::fprintf(stderr,
                 "usage: bench_store [FOLDER] [--runs N] [--results N] [--no-memory] [--no-unfiltered]\n"
                 "       bench_store --memory-only FOLDER\n"
                 "Measures the data store on FOLDER/Main.xml and FOLDER/Result.xml (default folder: bench-data),\n"
                 "generating them (N results, default 20000) when they are missing. Exit status 1 when a target\n"
                 "is missed.\n");
}

} // namespace

int main(int argc, char** argv)
{
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            Usage();
            return 0;
        } else if (arg == "--runs" && i + 1 < argc) {
            o.m_nRuns = std::max(1, std::atoi(argv[++i]));
        } else if (arg == "--results" && i + 1 < argc) {
            o.m_nResults = std::max(1, std::atoi(argv[++i]));
        } else if (arg == "--memory-only") {
            o.m_bMemoryOnly = true;
        } else if (arg == "--no-memory") {
            o.m_bMemory = false;
        } else if (arg == "--no-unfiltered") {
            o.m_bUnfiltered = false;
        } else if (!arg.empty() && arg[0] != '-') {
            o.m_strFolder = arg;
        } else {
            Usage();
            return 2;
        }
    }
    try {
        return o.m_bMemoryOnly ? MemoryOnly(o) : Run(o);
    } catch (const CException& e) {
        std::fprintf(stderr, "bench_store: %s\n", e.GetErrorMessage().toLocal8Bit().constData());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_store: %s\n", e.what());
    }
    return 3;
}
