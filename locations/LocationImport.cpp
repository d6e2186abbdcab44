#include "locations/LocationImport.h"

#include "core/Messages.h"
#include "core/RegSettings.h"
#include "core/TextCodec.h"
#include "resources/StringTable.h"
#include "xml/XMLDocument.h"
#include "xml/XMLException.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <QSet>
#include <QStringDecoder>

#include <pugixml.hpp>

#include <cstring>

namespace {

struct ImportColumn
{
    const char* pszBlock;
    const char* pszElement;
    unsigned nField;    // 0: the literal "ID"
    unsigned nSection;  // 0: none
};

const ImportColumn kColumns[kImportColumnCount] = {
    {"General", "ID", 0, 0},
    {"General", "State", IDS_COL_STATE, 0},
    {"General", "Remark", IDS_REMARK_LABEL, 0},
    {"Customer", "Firstname", IDS_COL_FIRSTNAME, IDS_HDR_CUSTOMER},
    {"Customer", "Name", IDS_COL_NAME, IDS_HDR_CUSTOMER},
    {"Customer", "Street", IDS_COL_STREET, IDS_HDR_CUSTOMER},
    {"Customer", "Postcode", IDS_COL_POSTCODE, IDS_HDR_CUSTOMER},
    {"Customer", "City", IDS_COL_CITY, IDS_HDR_CUSTOMER},
    {"Customer", "Country", IDS_COL_COUNTRY, IDS_HDR_CUSTOMER},
    {"Customer", "No", IDS_HDR_NO, IDS_HDR_CUSTOMER},
    {"Customer", "Remark", IDS_REMARK_LABEL, IDS_HDR_CUSTOMER},
    {"Location", "Firstname", IDS_COL_FIRSTNAME, IDS_HDR_SITE},
    {"Location", "Name", IDS_COL_NAME, IDS_HDR_SITE},
    {"Location", "Street", IDS_COL_STREET, IDS_HDR_SITE},
    {"Location", "Postcode", IDS_COL_POSTCODE, IDS_HDR_SITE},
    {"Location", "City", IDS_COL_CITY, IDS_HDR_SITE},
    {"Location", "Country", IDS_COL_COUNTRY, IDS_HDR_SITE},
    {"Location", "No", IDS_HDR_NO, IDS_HDR_SITE},
    {"Location", "Remark", IDS_REMARK_LABEL, IDS_HDR_SITE},
    {"Net", "Operator", IDS_HDR_OPERATOR, 0},
    {"Net", "Supplier", IDS_HDR_SUPPLIER, 0},
    {"Net", "Remark", IDS_REMARK_LABEL, IDS_COL_NET},
    {"Meter", "Manufacturer", IDS_HDR_MANUFACTURER, 0},
    {"Meter", "Custom-No", IDS_HDR_CUSTOM_NO, 0},
    {"Meter", "Manuf-No", IDS_HDR_MANUF_NO, 0},
    {"Meter", "Remark", IDS_REMARK_LABEL, IDS_HDR_METER},
};

// The columns in the order the elements stand in a location the program
// writes itself.
const int kFileOrder[kImportColumnCount] = {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12,
                                            13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 24, 23, 25};

QString Text(pugi::xml_node el)
{
    return QString::fromUtf8(el.text().get());
}

QString IdOf(pugi::xml_node main)
{
    pugi::xml_node id = main.child("General").child("ID");
    if (!id)
        id = main.find_node([](pugi::xml_node n) { return std::strcmp(n.name(), "ID") == 0; });
    return Text(id);
}

// The locations of a main file by ID (the first of an ID, as a look-up by ID
// finds it), and its groups by name.
class CMainIndex
{
public:
    explicit CMainIndex(CXMLDocument& doc)
    {
        for (pugi::xml_node n = doc.GetDocumentElement().first_child(); n; n = n.next_sibling()) {
            if (std::strcmp(n.name(), "Main") == 0) {
                m_locations.insert(IdOf(n), n);
            } else if (std::strcmp(n.name(), "Group") == 0) {
                m_groups.insert(QString::fromUtf8(n.attribute("Name").value()), n);
                for (pugi::xml_node m = n.child("Main"); m; m = m.next_sibling("Main"))
                    if (const QString id = IdOf(m); !m_locations.contains(id))
                        m_locations.insert(id, m);
            }
        }
    }
    pugi::xml_node Find(const QString& strId) const { return m_locations.value(strId); }
    void Set(const QString& strId, pugi::xml_node n) { m_locations.insert(strId, n); }
    QHash<QString, pugi::xml_node> m_groups;

private:
    QHash<QString, pugi::xml_node> m_locations;
};

// What tells a result from another when copying: the same ID, date, time,
// kind and place number is the same result.
QString ResultKey(pugi::xml_node r)
{
    return Text(r.child("ID")) + u'\x1f' + Text(r.child("Date")) + u'\x1f' + Text(r.child("Time")) + u'\x1f'
           + Text(r.child("Function")) + u'\x1f' + Text(r.child("Place-No"));
}

QSet<QString> ResultKeys(CXMLDocument& doc)
{
    QSet<QString> keys;
    for (pugi::xml_node r = doc.GetDocumentElement().child("Result"); r; r = r.next_sibling("Result"))
        keys.insert(ResultKey(r));
    return keys;
}

void Refuse(CImportSummary& s, const QString& strText)
{
    ++s.m_nRefused;
    s.m_refusals << strText;
}

// Opens a file to read from; a file of the wrong kind is refused before
// anything is read from it.
void OpenSource(CXMLDocument& doc, const QString& strPath, const char* pszRoot)
{
    doc.Open(strPath);
    const QString strRoot = QString::fromUtf8(doc.GetDocumentElement().name());
    if (strRoot != QLatin1String(pszRoot))
        throw CTransferException(LoadString(IDS_XML_WRONG_ROOT).arg(strPath, strRoot, QLatin1String(pszRoot)));
}

void CheckNotOwn(const QString& strPath, CXMLDocument& a, CXMLDocument& b)
{
    if (!strPath.isEmpty() && (IsSameFile(strPath, a.GetFileName()) || IsSameFile(strPath, b.GetFileName())))
        throw CTransferException(LoadString(IDS_OWN_DATA_FILE).arg(strPath));
}

void CheckValid(CXMLDocument& doc)
{
    if (!doc.IsValid())
        throw CTransferException(LoadString(IDS_XML_NO_DOCUMENT) + QStringLiteral(": ") + doc.GetFileName());
}

// Memory goes back to the files after a failed import.
void ReloadQuietly(CXMLDocument& doc, QString& strChain)
{
    try {
        if (doc.IsValid())
            doc.Reload();
    } catch (const CException& e) {
        strChain += u'\n' + e.GetErrorMessage();
    }
}

} // namespace

// --- columns and settings ----------------------------------------------------------

QString ImportColumnLabel(int nColumn)
{
    if (nColumn < 0 || nColumn >= kImportColumnCount)
        return {};
    const ImportColumn& c = kColumns[nColumn];
    const QString strField = c.nField ? LoadString(c.nField) : QStringLiteral("ID");
    return c.nSection ? strField + QStringLiteral(" (") + LoadString(c.nSection) + u')' : strField;
}

QPair<const char*, const char*> ImportColumnTarget(int nColumn)
{
    return {kColumns[nColumn].pszBlock, kColumns[nColumn].pszElement};
}

CImportSettings CImportSettings::Load()
{
    const CRegSettings reg(QStringLiteral("ImportExport"));
    CImportSettings s;
    s.m_nMode = reg.Get(Setting::ImportMode) == 1 ? 1 : 0;
    s.m_nSeparator = static_cast<int>(qMin<quint32>(reg.Get(Setting::ImportSeparator), 4));
    s.m_strOther = reg.Get(Setting::ImportOther).left(1);
    s.m_order = ParseColumnOrder(reg.Get(Setting::ImportOrder));
    return s;
}

void CImportSettings::Store() const
{
    const CRegSettings reg(QStringLiteral("ImportExport"));
    reg.Set(Setting::ImportMode, static_cast<quint32>(m_nMode));
    reg.Set(Setting::ImportSeparator, static_cast<quint32>(m_nSeparator));
    reg.Set(Setting::ImportOther, m_strOther);
    reg.Set(Setting::ImportOrder, FormatColumnOrder(m_order));
}

QChar CImportSettings::Separator() const
{
    switch (static_cast<ImportSeparator>(m_nSeparator)) {
    case ImportSeparator::Tab: return u'\t';
    case ImportSeparator::Semicolon: return u';';
    case ImportSeparator::Comma: return u',';
    case ImportSeparator::Blank: return u' ';
    case ImportSeparator::Other: break;
    }
    return m_strOther.isEmpty() ? QChar() : m_strOther.at(0);
}

QList<int> ParseColumnOrder(const QString& strOrder)
{
    QList<int> order;
    for (const QString& strToken : strOrder.split(u';')) {
        if (strToken.isEmpty())
            continue;
        int n = 0;
        bool bOutside = false;
        for (qsizetype i = 0; i < strToken.size() && strToken[i].isDigit() && !bOutside; ++i) {
            n = n * 10 + strToken[i].digitValue();
            bOutside = n >= kImportColumnCount;
        }
        if (!bOutside && !order.contains(n))
            order.append(n);
    }
    return order;
}

QString FormatColumnOrder(const QList<int>& order)
{
    QStringList tokens;
    for (int n : order)
        tokens << QString::number(n);
    return tokens.join(u';');
}

// --- CSV text ----------------------------------------------------------------------

QString DecodeCsvText(const QByteArray& bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.mid(3));
    if (bytes.startsWith("\xFF\xFE"))
        return QStringDecoder(QStringDecoder::Utf16LE).decode(bytes.mid(2));
    if (bytes.startsWith("\xFE\xFF"))
        return QStringDecoder(QStringDecoder::Utf16BE).decode(bytes.mid(2));
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString strText = utf8.decode(bytes);
    // Bytes that are no UTF-8 come from a Windows program's code page.
    return utf8.hasError() ? DecodeWindows1252(bytes) : strText;
}

std::vector<CCsvRecord> SplitCsvRecords(const QString& strText, QChar separator)
{
    std::vector<CCsvRecord> records;
    const QChar* p = strText.constData();
    const qsizetype n = strText.size();
    const auto breakAt = [p, n](qsizetype i) -> int {
        if (p[i] == u'\r')
            return i + 1 < n && p[i + 1] == u'\n' ? 2 : 1;
        return p[i] == u'\n' ? 1 : 0;
    };
    // A quote as separator leaves no room for quoting.
    const bool bQuoting = separator != u'"';
    qsizetype i = 0;
    int nLine = 1;
    while (i < n) {
        CCsvRecord rec;
        rec.m_nLine = nLine;
        const qsizetype nStart = i;
        for (;;) {
            QString strField;
            if (bQuoting && i < n && p[i] == u'"') {
                bool bClosed = false;
                for (++i; i < n;) {
                    if (p[i] == u'"') {
                        if (i + 1 < n && p[i + 1] == u'"') {
                            strField += u'"';
                            i += 2;
                            continue;
                        }
                        ++i;
                        bClosed = true;
                        break;
                    }
                    if (const int nBreak = breakAt(i)) {
                        strField += u'\n';
                        i += nBreak;
                        ++nLine;
                        continue;
                    }
                    strField += p[i++];
                }
                if (!bClosed) {
                    rec.m_bUnclosedQuote = true;
                    break;
                }
            }
            const qsizetype nFrom = i;
            while (i < n && p[i] != separator && !breakAt(i))
                ++i;
            strField += QStringView(p + nFrom, i - nFrom);
            rec.m_fields << strField;
            if (i < n && p[i] == separator) {
                ++i;
                continue;
            }
            break;
        }
        if (rec.m_bUnclosedQuote) {
            // Only the line the quote opened on is lost: reading goes on
            // with the next one.
            rec.m_fields.clear();
            nLine = rec.m_nLine + 1;
            for (i = nStart; i < n && !breakAt(i);)
                ++i;
            if (i < n)
                i += breakAt(i);
        } else if (i < n) {
            i += breakAt(i);
            ++nLine;
        }
        records.push_back(std::move(rec));
    }
    return records;
}

// --- summary -------------------------------------------------------------------------

QString CImportSummary::Text(bool bCsv) const
{
    QString strText = bCsv ? LoadString(IDS_IMPORT_SUMMARY_CSV).arg(m_nAdded).arg(m_nReplaced).arg(m_nSkipped).arg(m_nRefused)
                           : LoadString(IDS_IMPORT_SUMMARY_XML)
                                 .arg(m_nAdded)
                                 .arg(m_nReplaced)
                                 .arg(m_nSkipped)
                                 .arg(m_nResultsAdded)
                                 .arg(m_nResultsPresent);
    // A message box has room for a screenful of lines.
    constexpr int kShown = 15;
    for (int i = 0; i < m_refusals.size() && i < kShown; ++i)
        strText += u'\n' + m_refusals[i];
    if (m_refusals.size() > kShown)
        strText += u'\n' + LoadString(IDS_CSV_MORE_LINES).arg(m_refusals.size() - kShown);
    return strText;
}

// --- saving ---------------------------------------------------------------------------

bool IsSameFile(const QString& strA, const QString& strB)
{
    if (strA.isEmpty() || strB.isEmpty())
        return false;
    const QFileInfo a(strA), b(strB);
    if (a.exists() && b.exists())
        return a.canonicalFilePath() == b.canonicalFilePath();
    return a.absoluteFilePath() == b.absoluteFilePath();
}

void SavePair(CXMLDocument* pMain, CXMLDocument* pResult, bool bMainCreated, bool bResultCreated)
{
    QByteArray mainBefore;
    if (pMain && pResult && !bMainCreated) {
        QFile f(pMain->GetFileName());
        if (f.open(QIODevice::ReadOnly))
            mainBefore = f.readAll();
    }
    bool bMainSaved = false;
    try {
        if (pMain) {
            pMain->Save();
            bMainSaved = true;
        }
        if (pResult)
            pResult->Save();
    } catch (const CException& e) {
        QString strChain = e.GetErrorMessage();
        if (bMainSaved) {
            const QString strPath = pMain->GetFileName();
            bool bBack = false;
            if (bMainCreated) {
                bBack = QFile::remove(strPath);
            } else {
                QSaveFile f(strPath);
                bBack = !mainBefore.isEmpty() && f.open(QIODevice::WriteOnly) && f.write(mainBefore) == mainBefore.size()
                        && f.commit();
            }
            if (!bBack)
                strChain += u'\n' + LoadString(IDS_RESTORE_FAILED).arg(strPath);
            else if (!bMainCreated)
                ReloadQuietly(*pMain, strChain);
        }
        if (bResultCreated)
            QFile::remove(pResult->GetFileName());
        throw CTransferException(strChain);
    }
}

// --- CSV import -------------------------------------------------------------------------

CImportSummary ImportCsv(CXMLDocument& xmlMain, const QString& strCsvPath, QChar separator, const QList<int>& order)
{
    QFile file(strCsvPath);
    if (!file.open(QIODevice::ReadOnly))
        throw CTransferException(LoadString(IDS_FILE_READ_FAILED).arg(strCsvPath) + u'\n' + file.errorString());
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw CTransferException(LoadString(IDS_FILE_READ_FAILED).arg(strCsvPath) + u'\n' + file.errorString());
    const std::vector<CCsvRecord> records = SplitCsvRecords(DecodeCsvText(bytes), separator);

    CheckValid(xmlMain);
    const auto lock = xmlMain.LockForChange();
    CImportSummary s;
    try {
        CMainIndex index(xmlMain);
        pugi::xml_node root = xmlMain.GetDocumentElement();
        QString values[kImportColumnCount];
        for (const CCsvRecord& r : records) {
            if (r.m_bUnclosedQuote) {
                Refuse(s, LoadString(IDS_CSV_LINE_QUOTE).arg(r.m_nLine));
                continue;
            }
            if (r.m_fields.size() == 1 && r.m_fields[0].trimmed().isEmpty())
                continue;  // an empty line
            if (r.m_fields.size() < order.size()) {
                Refuse(s, LoadString(IDS_CSV_LINE_FIELDS).arg(r.m_nLine).arg(r.m_fields.size()).arg(order.size()));
                continue;
            }
            // Every line starts empty: a short line must not inherit the
            // previous line's values.
            for (QString& v : values)
                v.clear();
            for (int k = 0; k < order.size(); ++k)
                values[order[k]] = XmlSafeText(r.m_fields[k]);
            const QString strId = values[kImportIdColumn].trimmed();
            values[kImportIdColumn] = strId;
            if (strId.isEmpty()) {
                Refuse(s, LoadString(IDS_CSV_LINE_NO_ID).arg(r.m_nLine));
                continue;
            }
            pugi::xml_node parent = root, before;
            if (pugi::xml_node old = index.Find(strId)) {
                if (!AskYesNo(LoadString(IDS_IMPORT_ASK_OVERWRITE).arg(strId), MsgIcon::Question)) {
                    ++s.m_nSkipped;
                    continue;
                }
                // The new data takes the old location's place, in its group.
                parent = old.parent();
                before = old.next_sibling();
                parent.remove_child(old);
                xmlMain.NoteRemoval();
                ++s.m_nReplaced;
            } else {
                ++s.m_nAdded;
            }
            pugi::xml_node main = before ? parent.insert_child_before("Main", before) : parent.append_child("Main");
            pugi::xml_node block;
            for (int c : kFileOrder) {
                if (!block || std::strcmp(block.name(), kColumns[c].pszBlock) != 0)
                    block = main.append_child(kColumns[c].pszBlock);
                pugi::xml_node el = block.append_child(kColumns[c].pszElement);
                if (!el || (!values[c].isEmpty() && !el.text().set(values[c].toUtf8().constData())))
                    throw CXMLException(IDS_XML_SET_VALUE);
            }
            index.Set(strId, main);
            s.m_locations << strId;
        }
        if (s.Changed())
            SavePair(&xmlMain, nullptr);
    } catch (const CException& e) {
        QString strChain = LoadString(IDS_CHANGE_NOT_SAVED) + u'\n' + e.GetErrorMessage();
        ReloadQuietly(xmlMain, strChain);
        throw CTransferException(strChain);
    }
    s.m_locations.removeDuplicates();
    return s;
}

// --- XML import ---------------------------------------------------------------------------

CImportSummary ImportXml(CXMLDocument& xmlMain, CXMLDocument& xmlResult, const QString& strSourceMain,
                         const QString& strSourceResult)
{
    CheckNotOwn(strSourceMain, xmlMain, xmlResult);
    CheckNotOwn(strSourceResult, xmlMain, xmlResult);
    CXMLDocument srcMain, srcResult;
    if (!strSourceMain.isEmpty()) {
        CheckValid(xmlMain);
        OpenSource(srcMain, strSourceMain, "Main-Data");
    }
    if (!strSourceResult.isEmpty()) {
        CheckValid(xmlResult);
        OpenSource(srcResult, strSourceResult, "Result-Data");
    }
    const auto mainLock = strSourceMain.isEmpty() ? nullptr : xmlMain.LockForChange();
    const auto resultLock = strSourceResult.isEmpty() ? nullptr : xmlResult.LockForChange();

    CImportSummary s;
    try {
        QSet<QString> skipped;
        if (!strSourceMain.isEmpty()) {
            CMainIndex index(xmlMain);
            pugi::xml_node root = xmlMain.GetDocumentElement();
            for (const pugi::xpath_node& xn : srcMain.GetDocumentElement().select_nodes(".//Main")) {
                const pugi::xml_node el = xn.node();
                const QString strId = IdOf(el);
                if (pugi::xml_node old = index.Find(strId)) {
                    if (!AskYesNo(LoadString(IDS_IMPORT_ASK_OVERWRITE).arg(strId), MsgIcon::Question)) {
                        skipped.insert(strId);
                        ++s.m_nSkipped;
                        continue;
                    }
                    old.parent().remove_child(old);
                    xmlMain.NoteRemoval();
                    ++s.m_nReplaced;
                } else {
                    ++s.m_nAdded;
                }
                const pugi::xml_node srcParent = el.parent();
                const QString strGroup = std::strcmp(srcParent.name(), "Group") == 0
                                             ? QString::fromUtf8(srcParent.attribute("Name").value())
                                             : QString();
                pugi::xml_node parent = root;
                if (!strGroup.isEmpty()) {
                    parent = index.m_groups.value(strGroup);
                    if (!parent) {
                        parent = root.append_child("Group");
                        if (!parent || !parent.append_attribute("Name").set_value(strGroup.toUtf8().constData()))
                            throw CXMLException(IDS_XML_CREATE_NODE);
                        index.m_groups.insert(strGroup, parent);
                        s.m_groups << strGroup;
                    }
                }
                const pugi::xml_node copy = parent.append_copy(el);
                if (!copy)
                    throw CXMLException(IDS_XML_APPEND_NODE);
                index.Set(strId, copy);
                s.m_locations << strId;
            }
        }
        if (!strSourceResult.isEmpty()) {
            QSet<QString> present = ResultKeys(xmlResult);
            QSet<QString> ids;
            pugi::xml_node root = xmlResult.GetDocumentElement();
            for (pugi::xml_node r = srcResult.GetDocumentElement().child("Result"); r; r = r.next_sibling("Result")) {
                const QString strId = Text(r.child("ID"));
                if (skipped.contains(strId))
                    continue;
                const QString strKey = ResultKey(r);
                if (present.contains(strKey)) {
                    ++s.m_nResultsPresent;
                    continue;
                }
                if (!root.append_copy(r))
                    throw CXMLException(IDS_XML_APPEND_NODE);
                present.insert(strKey);
                ids.insert(strId);
                ++s.m_nResultsAdded;
            }
            s.m_resultIds = QStringList(ids.begin(), ids.end());
        }
        const bool bMain = s.m_nAdded + s.m_nReplaced > 0;
        const bool bResult = s.m_nResultsAdded > 0;
        if (bMain || bResult)
            SavePair(bMain ? &xmlMain : nullptr, bResult ? &xmlResult : nullptr);
    } catch (const CException& e) {
        QString strChain = LoadString(IDS_CHANGE_NOT_SAVED) + u'\n' + e.GetErrorMessage();
        if (!strSourceMain.isEmpty())
            ReloadQuietly(xmlMain, strChain);
        if (!strSourceResult.isEmpty())
            ReloadQuietly(xmlResult, strChain);
        throw CTransferException(strChain);
    }
    s.m_locations.removeDuplicates();
    return s;
}
