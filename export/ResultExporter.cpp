#include "export/ResultExporter.h"

#include "core/Messages.h"
#include "export/CsvFile.h"
#include "export/ResultCsv.h"
#include "resources/StringTable.h"
#include "view/ResultCache.h"
#include "xml/XMLDocument.h"
#include "xml/XMLNodeResult.h"

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
    if (!IsCsvExportKind(kind))
        return false;
    try {
        CResultTexts texts;
        texts.Load(cache);
        CCsvFile file;
        file.Open(strPath, ResultCsvHeader(kind));
        file.LinesAdded(AppendResultCsvLines(file.GetBuffer(), texts, kind, nNorm));
        file.Commit();
    } catch (const CException& e) {
        ReportError(e.GetErrorMessage(), MsgIcon::Stop);
        return false;
    }
    return true;
}

namespace {
// The concatenated text of an element without element children. The
// document is parsed with the text embedded in its element where it can be.
QString LeafText(pugi::xml_node node)
{
    pugi::xml_node child = node.first_child();
    if (!child)
        return QString::fromUtf8(node.value());
    if (!child.next_sibling() && *node.value() == 0)
        return QString::fromUtf8(child.value());
    QByteArray text = node.value();
    for (; child; child = child.next_sibling())
        if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata)
            text += child.value();
    return QString::fromUtf8(text);
}
}  // namespace

QDate ParseCommandLineDate(const QString& strText)
{
    for (const QString& strFormat :
         {QStringLiteral("dd.MM.yyyy"), QStringLiteral("d.M.yyyy"), QStringLiteral("yyyy-MM-dd")}) {
        const QDate d = QDate::fromString(strText.trimmed(), strFormat);
        if (d.isValid())
            return d;
    }
    return {};
}

CCsvBatchReport ExportResultsCsv(CXMLDocument& results, const CCsvBatchArgs& args)
{
    // The selecting fields are read straight from the document, and only
    // the chosen results in full.
    std::map<int, std::vector<pugi::xml_node>> byKind;  // kind -> results, in file order
    const bool bDates = args.m_from.isValid() || args.m_to.isValid();
    CResultTexts texts;
    for (pugi::xml_node r = results.GetDocumentElement().child("Result"); r; r = r.next_sibling("Result")) {
        const std::optional<ResultKind> kind = texts.KindOf(r);
        if (!kind || !IsCsvExportKind(*kind) || (args.m_kind && *args.m_kind != *kind))
            continue;
        if (args.m_id && LeafText(r.child("ID")) != *args.m_id)
            continue;
        if (bDates) {
            const QDate d = QDate::fromString(LeafText(r.child("Date")), QStringLiteral("dd.MM.yyyy"));
            if (!d.isValid() || (args.m_from.isValid() && d < args.m_from) || (args.m_to.isValid() && d > args.m_to))
                continue;
        }
        byKind[ToInt(*kind)].push_back(r);
    }
    if (byKind.empty())
        throw CExportException(LoadString(IDS_CLI_NOTHING_FOUND));
    const bool bPlaceholder = args.m_strFile.contains(KindPlaceholder());
    if (byKind.size() > 1 && !bPlaceholder) {
        QStringList kinds;
        for (const auto& [nKind, positions] : byKind)
            kinds.append(QStringLiteral("%1 %2").arg(positions.size()).arg(ResultKindName(*ResultKindFromInt(nKind))));
        throw CExportException(LoadString(IDS_CLI_MIXED_KINDS).arg(kinds.join(QStringLiteral(", "))));
    }

    // Every file is opened before anything is written, and every file is
    // taken back when one fails (a file is complete, and closed, when its
    // kind is done).
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
        size_t nFile = 0;
        for (const auto& [nKind, positions] : byKind) {
            const ResultKind kind = *ResultKindFromInt(nKind);
            CCsvFile& file = *files[nFile++];
            for (pugi::xml_node r : positions) {
                texts.Load(r);
                file.LinesAdded(AppendResultCsvLines(file.GetBuffer(), texts, kind, args.m_nNorm));
                ++report.m_nResults;
            }
            report.m_nLines += file.GetLineCount();
            file.Commit();
        }
    } catch (...) {
        for (auto& pFile : files)
            pFile->Rollback();
        throw;
    }
    return report;
}
