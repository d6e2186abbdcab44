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

bool HasElementChildren(pugi::xml_node node)
{
    for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling())
        if (child.type() == pugi::node_element)
            return true;
    return false;
}

QString* ActualValueField(CActualValues& v, const char* pszName)
{
    struct Slot
    {
        QString (CActualValues::*pArray)[3] = nullptr;
        QString (CActualValues::*pAux)[6] = nullptr;
        QString CActualValues::*pSingle = nullptr;
        int nIndex = 0;
    };
    static const QHash<QByteArray, Slot> kSlots = [] {
        QHash<QByteArray, Slot> h;
        for (auto* pField = CActualValues::PhaseFieldsBegin(); pField != CActualValues::PhaseFieldsEnd(); ++pField) {
            const CActualValues::CPhaseField& f = *pField;
            for (int n = 1; n <= 3; ++n)
                h.insert(CActualValues::PhaseFieldName(QLatin1String(f.pszBase), n).toLatin1(),
                         Slot{f.pMember, nullptr, nullptr, n - 1});
        }
        for (int k = 1; k <= 6; ++k) {
            h.insert("AUX" + QByteArray::number(k), Slot{nullptr, &CActualValues::m_strAUX, nullptr, k - 1});
            h.insert("AAUX" + QByteArray::number(k), Slot{nullptr, &CActualValues::m_strAAUX, nullptr, k - 1});
        }
        const std::pair<const char*, QString CActualValues::*> singles[] = {
            {"SP", &CActualValues::m_strSP},
            {"SQ", &CActualValues::m_strSQ},
            {"SS", &CActualValues::m_strSS},
            {"RF", &CActualValues::m_strRF},
            {"FREQ", &CActualValues::m_strFREQ},
            {"SLambda", &CActualValues::m_strSLambda},
            {"Temperature", &CActualValues::m_strTemperature}};
        for (const auto& [pszName, pMember] : singles)
            h.insert(pszName, Slot{nullptr, nullptr, pMember, 0});
        return h;
    }();
    const auto it = kSlots.constFind(QByteArray::fromRawData(pszName, qstrlen(pszName)));
    if (it == kSlots.cend())
        return nullptr;
    if (it->pArray)
        return &(v.*(it->pArray))[it->nIndex];
    if (it->pAux)
        return &(v.*(it->pAux))[it->nIndex];
    return &(v.*(it->pSingle));
}

// The quantity a burden element fills ("UPN1" ... "SN3" without the digit).
int BurdenQuantity(const QByteArray& base, bool bVoltage)
{
    static const QHash<QByteArray, int> common = {
        {"UPN", kQtyUPN}, {"IL", kQtyI},  {"PHI", kQtyPhiUI},       {"P", kQtyP},   {"Q", kQtyQ},
        {"S", kQtyS},     {"Sb", kQtySb}, {"CosBeta", kQtyCosBeta}, {"SN", kQtySN},
    };
    static const QHash<QByteArray, int> voltage = {{"G", kQtyG}, {"B", kQtyB}, {"Y", kQtyY}};
    static const QHash<QByteArray, int> current = {{"R", kQtyR}, {"X", kQtyX}, {"Z", kQtyZ}};
    const int n = common.value(base, -1);
    return n >= 0 ? n : (bVoltage ? voltage : current).value(base, -1);
}

}  // namespace

void LoadResultCache(pugi::xml_node element, CResultCache& c)
{
    c.Clear();
    struct Common
    {
        const char* pszName;
        QString CResultCache::*pMember;
    };
    static const Common kCommon[] = {{"ID", &CResultCache::m_strID},
                                     {"Language", &CResultCache::m_strLanguage},
                                     {"Device-No", &CResultCache::m_strDeviceNo},
                                     {"Device-Typ", &CResultCache::m_strDeviceTyp},
                                     {"Date", &CResultCache::m_strDate},
                                     {"Time", &CResultCache::m_strTime},
                                     {"U-Range", &CResultCache::m_strURange},
                                     {"I-Range", &CResultCache::m_strIRange},
                                     {"M-Mode", &CResultCache::m_strMMode},
                                     {"Function", &CResultCache::m_strFunction},
                                     {"Datatype", &CResultCache::m_strDatatype},
                                     {"U-PrimSek", &CResultCache::m_strUPrimSek},
                                     {"I-PrimSek", &CResultCache::m_strIPrimSek},
                                     {"PrimSek-Val-Cz-Reg", &CResultCache::m_strPrimSekValCzReg},
                                     {"Place-No", &CResultCache::m_strPlaceNo},
                                     {"Time-Interval", &CResultCache::m_strTimeInterval},
                                     {"AdjustData", &CResultCache::m_strAdjustData},
                                     {"Remark", &CResultCache::m_strRemark},
                                     {"PX900Adr", &CResultCache::m_strPX900Adr}};
    static const char* const kRepeated[] = {"SampleA", "SampleB", "Harm", "HarmValue"};

    // What each element name is: a common field (its index), a repeated one
    // (-2), or a field of the kind (not found).
    static const QHash<QByteArray, int> kNames = [] {
        QHash<QByteArray, int> h;
        for (int i = 0; i < int(sizeof kCommon / sizeof kCommon[0]); ++i)
            h.insert(kCommon[i].pszName, i);
        for (const char* pszRepeated : kRepeated)
            h.insert(pszRepeated, -2);
        return h;
    }();
    // The kind decides what the other fields are.
    c.m_strFunction = LeafText(element.child("Function"));
    const std::optional<ResultKind> kind = KindOfFunction(c.m_strFunction);
    const bool bValues = kind == ResultKind::Value || kind == ResultKind::Vector || kind == ResultKind::Error;
    const bool bBurden = kind == ResultKind::UBurden || kind == ResultKind::IBurden;
    CActualValues values;

    for (pugi::xml_node child = element.first_child(); child; child = child.next_sibling()) {
        if (child.type() != pugi::node_element)
            continue;
        const char* pszName = child.name();
        if (HasElementChildren(child)) {
            if (kind == ResultKind::ContinueValue && qstrcmp(pszName, "Value-Measurement") == 0) {
                CResultCache::CSeriesEntry entry;
                for (pugi::xml_node v = child.first_child(); v; v = v.next_sibling()) {
                    if (v.type() != pugi::node_element)
                        continue;
                    if (qstrcmp(v.name(), "No") == 0)
                        entry.m_strNo = LeafText(v);
                    else if (qstrcmp(v.name(), "TimeStamp") == 0)
                        entry.m_strTimeStamp = LeafText(v);
                    else if (QString* p = ActualValueField(entry.m_values, v.name()))
                        *p = LeafText(v);
                }
                c.m_series.append(entry);
            } else if (kind == ResultKind::Automatic && qstrcmp(pszName, "Line-Common") == 0) {
                QStringList lines;
                for (pugi::xml_node line = child.child("Line"); line; line = line.next_sibling("Line"))
                    lines.append(LeafText(line));
                c.m_automaticLines.append(lines);
            }
            continue;
        }
        const int nName = kNames.value(QByteArray::fromRawData(pszName, qstrlen(pszName)), -1);
        if (nName >= 0) {
            c.*kCommon[nName].pMember = LeafText(child);
            continue;
        }
        const bool bRepeated = nName == -2;
        const QString strText = LeafText(child);
        if (bRepeated) {
            c.m_kindSeries[QString::fromUtf8(pszName)].append(strText);
            continue;
        }
        c.m_kindFields.insert(QString::fromUtf8(pszName), strText);
        if (bValues) {
            if (QString* p = ActualValueField(values, pszName))
                *p = strText;
        } else if (bBurden) {
            const qsizetype n = qstrlen(pszName);
            const char cPhase = n > 1 ? pszName[n - 1] : 0;
            if (cPhase >= '1' && cPhase <= '3') {
                const int q = BurdenQuantity(QByteArray(pszName, n - 1), kind == ResultKind::UBurden);
                if (q >= 0)
                    c.m_strValues[q][cPhase - '1'] = strText;
            }
        }
    }
    if (bValues)
        c.SetActualValues(values);
    if (kind == ResultKind::Error)
        c.m_strErrCtRat = c.KindField(QStringLiteral("Err-CtRat"));
}

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
    for (pugi::xml_node r = results.GetDocumentElement().child("Result"); r; r = r.next_sibling("Result")) {
        const std::optional<ResultKind> kind = KindOfFunction(LeafText(r.child("Function")));
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
        CResultCache cache;
        size_t nFile = 0;
        for (const auto& [nKind, positions] : byKind) {
            const ResultKind kind = *ResultKindFromInt(nKind);
            CCsvFile& file = *files[nFile++];
            for (pugi::xml_node r : positions) {
                LoadResultCache(r, cache);
                for (const QStringList& row : BuildResultCsvRows(cache, kind, args.m_nNorm))
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
