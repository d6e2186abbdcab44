#include "export/ResultExporter.h"

#include "core/Messages.h"
#include "export/CsvFile.h"
#include "export/ResultCsv.h"
#include "resources/StringTable.h"
#include "view/ResultCache.h"
#include "xml/XMLDocument.h"
#include "xml/XMLNodeResult.h"

#include <QMap>

#include <map>
#include <memory>
#include <vector>

QString CResultCsvExporter::GetPath(ResultKind kind) const
{
    return IsCsvExportKind(kind) ? m_strPaths[ToInt(kind)] : QString();
}

std::optional<QString> CResultCsvExporter::ChooseFile(ResultKind kind)
{
    if (!IsCsvExportKind(kind) || !m_chooser)
        return std::nullopt;
    const QString strPath = m_chooser(m_strPaths[ToInt(kind)]);
    if (strPath.isEmpty())
        return std::nullopt;
    m_strPaths[ToInt(kind)] = strPath;
    return strPath;
}

bool CResultCsvExporter::WriteFile(const QString& strPath, const CResultCache& cache, ResultKind kind, int nNorm)
{
    const CResultCsvLines lines = BuildResultCsv(cache, kind, nNorm);
    if (lines.IsEmpty())
        return false;
    try {
        AppendCsvLines(strPath, lines.m_header, lines.m_rows);
    } catch (const CException& e) {
        ReportError(e.GetErrorMessage(), MsgIcon::Stop);
        return false;
    }
    return true;
}

QDate ParseCommandLineDate(const QString& strText)
{
    for (const QString& strFormat : {QStringLiteral("dd.MM.yyyy"), QStringLiteral("d.M.yyyy"),
                                     QStringLiteral("yyyy-MM-dd")}) {
        const QDate d = QDate::fromString(strText.trimmed(), strFormat);
        if (d.isValid())
            return d;
    }
    return {};
}

CCsvBatchReport ExportResultsCsv(CXMLDocument& results, const CCsvBatchArgs& args)
{
    // A first pass over the few fields that select, so that only the chosen
    // results are read in full.
    std::map<int, std::vector<int>> byKind;  // kind -> positions, in file order
    {
        CXMLNodeResult light(&results);
        light.SetFieldNames({QStringLiteral("ID"), QStringLiteral("Date"), QStringLiteral("Function")});
        const bool bDates = args.m_from.isValid() || args.m_to.isValid();
        for (light.Open(QStringLiteral("Result")); !light.IsEOF(); light.MoveNext()) {
            const std::optional<ResultKind> kind = KindOfFunction(light.m_strFunction);
            if (!kind || !IsCsvExportKind(*kind) || (args.m_kind && *args.m_kind != *kind))
                continue;
            if (args.m_id && light.m_strID != *args.m_id)
                continue;
            if (bDates) {
                const QDate d = QDate::fromString(light.m_strDate, QStringLiteral("dd.MM.yyyy"));
                if (!d.isValid() || (args.m_from.isValid() && d < args.m_from)
                    || (args.m_to.isValid() && d > args.m_to))
                    continue;
            }
            byKind[ToInt(*kind)].push_back(light.GetPosition());
        }
    }
    if (byKind.empty())
        throw CExportException(LoadString(IDS_CLI_NOTHING_FOUND));
    const bool bPlaceholder = args.m_strFile.contains(KindPlaceholder());
    if (byKind.size() > 1 && !bPlaceholder) {
        QStringList kinds;
        for (const auto& [nKind, positions] : byKind)
            kinds.append(QStringLiteral("%1 %2").arg(positions.size()).arg(
                ResultKindName(*ResultKindFromInt(nKind))));
        throw CExportException(LoadString(IDS_CLI_MIXED_KINDS).arg(kinds.join(QStringLiteral(", "))));
    }

    // Every file is opened before anything is written, and every file is
    // taken back when one fails.
    CCsvBatchReport report;
    std::vector<std::unique_ptr<CCsvFile>> files;
    try {
        for (const auto& [nKind, positions] : byKind) {
            const ResultKind kind = *ResultKindFromInt(nKind);
            QString strPath = args.m_strFile;
            strPath.replace(KindPlaceholder(), ResultKindName(kind));
            files.push_back(std::make_unique<CCsvFile>());
            files.back()->Open(strPath, ResultCsvHeader(kind));
            report.m_files.append(strPath);
        }
        CXMLNodeResult result(&results);
        result.Open(QStringLiteral("Result"));
        CResultCache cache;
        size_t nFile = 0;
        for (const auto& [nKind, positions] : byKind) {
            const ResultKind kind = *ResultKindFromInt(nKind);
            CCsvFile& file = *files[nFile++];
            for (int nPosition : positions) {
                result.SetAbsolutePosition(nPosition);
                cache.SetFromResult(result);
                for (const QStringList& row : BuildResultCsv(cache, kind, args.m_nNorm).m_rows)
                    file.AddLine(row);
                ++report.m_nResults;
            }
            report.m_nLines += file.GetLineCount();
        }
        for (auto& pFile : files)
            pFile->Commit();
    } catch (...) {
        for (auto& pFile : files)
            pFile->Rollback();
        throw;
    }
    return report;
}
