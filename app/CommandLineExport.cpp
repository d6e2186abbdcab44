#include "app/CommandLineExport.h"

#include "app/CommandLine.h"
#include "core/Exception.h"
#include "core/Messages.h"
#include "core/RegSettings.h"
#include "core/SettingsKeys.h"
#include "export/ResultCsv.h"
#include "export/ResultExporter.h"
#include "resources/StringTable.h"
#include "view/ActualValues.h"
#include "view/QardaView.h"
#include "xml/QardaDoc.h"
#include "xml/XMLDocument.h"
#include "xml/XMLNodeResult.h"

namespace {

QString ResultFilePath(const CCommandLine& cl)
{
    return cl.m_strResultFile.isEmpty() ? CRegSettings().Get(Setting::ResultFile) : cl.m_strResultFile;
}

QString MainFilePath(const CCommandLine& cl)
{
    return cl.m_strMainFile.isEmpty() ? CRegSettings().Get(Setting::MainFile) : cl.m_strMainFile;
}

// A kind by its name ("Harmonics", any case) or its number.
std::optional<ResultKind> KindOfArgument(const QString& strText)
{
    bool bNumber = false;
    const int n = strText.toInt(&bNumber);
    const std::optional<ResultKind> kind = bNumber ? ResultKindFromInt(n) : ResultKindOfName(strText.trimmed());
    return kind && IsCsvExportKind(*kind) ? kind : std::nullopt;
}

bool ParseDateArgument(const std::optional<QString>& text, QDate& date)
{
    if (!text)
        return true;
    date = ParseCommandLineDate(*text);
    if (date.isValid())
        return true;
    ReportError(LoadString(IDS_CLI_BAD_DATE).arg(*text), MsgIcon::Stop);
    return false;
}

}  // namespace

int RunCsvExport(const CCommandLine& cl)
{
    CCsvBatchArgs args;
    args.m_strFile = cl.m_strExportCsv;
    args.m_id = cl.m_id;
    if (cl.m_kind) {
        args.m_kind = KindOfArgument(*cl.m_kind);
        if (!args.m_kind) {
            QStringList names;
            for (int n = ToInt(ResultKind::Value); n <= ToInt(ResultKind::PQSRegister); ++n)
                if (IsCsvExportKind(*ResultKindFromInt(n)))
                    names.append(ResultKindName(*ResultKindFromInt(n)));
            ReportError(LoadString(IDS_CLI_UNKNOWN_KIND).arg(*cl.m_kind, names.join(QStringLiteral(", "))),
                        MsgIcon::Stop);
            return 2;
        }
    }
    if (!ParseDateArgument(cl.m_from, args.m_from) || !ParseDateArgument(cl.m_to, args.m_to))
        return 2;
    args.m_nNorm = LoadAngleNorm();
    try {
        CXMLDocument results;
        results.Open(ResultFilePath(cl));
        ExportResultsCsv(results, args);
    } catch (const CException& e) {
        ReportError(e.GetErrorMessage(), MsgIcon::Stop);
        return 1;
    }
    return 0;
}

int RunPdfExport(const CCommandLine& cl)
{
    if (!cl.m_id || !cl.m_date || !cl.m_time) {
        ReportError(LoadString(IDS_CLI_PDF_ARGS), MsgIcon::Stop);
        return 2;
    }
    // The document reports a file it cannot open; without the main file the
    // page header stays without location data.
    CQardaDoc doc(MainFilePath(cl), ResultFilePath(cl));
    if (!doc.m_xmlResult.IsValid())
        return 1;
    std::optional<ResultKind> kind;
    try {
        CXMLNodeResult result(&doc.m_xmlResult);
        result.SetFieldNames({QStringLiteral("Function"), QStringLiteral("Place-No")});
        CXMLVars vars = {
            {QStringLiteral("id"), *cl.m_id}, {QStringLiteral("d"), *cl.m_date}, {QStringLiteral("t"), *cl.m_time}};
        QString strQuery = QStringLiteral("Result[ID = $id and Date = $d and Time = $t");
        if (cl.m_place) {
            strQuery += QStringLiteral(" and Place-No = $p");
            vars.emplace_back(QStringLiteral("p"), *cl.m_place);
        }
        if (result.FindFirst(strQuery + QLatin1Char(']'), vars))
            kind = KindOfFunction(result.m_strFunction);
    } catch (const CException& e) {
        ReportError(e.GetErrorMessage(), MsgIcon::Stop);
        return 1;
    }
    CQardaView view(&doc);
    if (kind)
        view.ShowResult(*kind, *cl.m_id, *cl.m_date, *cl.m_time, cl.m_place.value_or(QString()), QString());
    if (!kind || view.GetKind() == ResultKind::Nothing) {
        ReportError(LoadString(IDS_CLI_RESULT_NOT_FOUND).arg(*cl.m_id, *cl.m_date, *cl.m_time), MsgIcon::Stop);
        return 1;
    }
    return view.PrintToPdf(cl.m_strExportPdf) ? 0 : 1;
}
