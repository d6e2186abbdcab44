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

#include <algorithm>
#include <array>
#include <cstring>
#include <deque>

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

// Parsed like the data files: a leaf's text stays in its element.
constexpr unsigned kFragmentParse = pugi::parse_default | pugi::parse_embed_pcdata;

// Writes v escaped at p and returns the end. Room for five bytes per
// character of v must be there.
char* PutEscaped(char* p, QByteArrayView v)
{
    if (v.isEmpty())
        return p;  // an empty view may have no data pointer for memcpy
    // Runs without a special character are copied whole.
    const char* pRun = v.data();
    const char* const pEnd = v.data() + v.size();
    for (const char* q = pRun; q < pEnd; ++q) {
        const char c = *q;
        if (c != '&' && c != '<' && c != '>' && c != '\r')
            continue;
        std::memcpy(p, pRun, size_t(q - pRun));
        p += q - pRun;
        pRun = q + 1;
        const char* pszEntity = c == '&' ? "&amp;" : c == '<' ? "&lt;" : c == '>' ? "&gt;" : "&#13;";
        const size_t nLen = std::strlen(pszEntity);
        std::memcpy(p, pszEntity, nLen);
        p += nLen;
    }
    std::memcpy(p, pRun, size_t(pEnd - pRun));
    return p + (pEnd - pRun);
}

// One "Main" element with every column's element, in the order the program
// writes them.
void AppendMainXml(QByteArray& out, const QByteArrayView* values)
{
    // The tags around each column's text, a block's tags included where it
    // starts or ends.
    static const auto tags = [] {
        std::array<std::pair<QByteArray, QByteArray>, kImportColumnCount> t;
        for (int i = 0; i < kImportColumnCount; ++i) {
            const ImportColumn& c = kColumns[kFileOrder[i]];
            const bool bFirst = i == 0 || std::strcmp(kColumns[kFileOrder[i - 1]].pszBlock, c.pszBlock) != 0;
            const bool bLast = i + 1 == kImportColumnCount || std::strcmp(kColumns[kFileOrder[i + 1]].pszBlock, c.pszBlock) != 0;
            t[i].first = (i == 0 ? "<Main>" : "") + (bFirst ? '<' + QByteArray(c.pszBlock) + '>' : QByteArray())
                         + '<' + c.pszElement + '>';
            t[i].second = "</" + QByteArray(c.pszElement) + '>' + (bLast ? "</" + QByteArray(c.pszBlock) + '>' : QByteArray())
                          + (i + 1 == kImportColumnCount ? "</Main>" : "");
        }
        return t;
    }();
    // Ten thousand lines: the room is made once per location and written
    // through a pointer, not appended piece by piece.
    qsizetype nRoom = 0;
    for (int i = 0; i < kImportColumnCount; ++i)
        nRoom += tags[i].first.size() + 5 * values[kFileOrder[i]].size() + tags[i].second.size();
    const qsizetype nStart = out.size();
    out.resize(nStart + nRoom);
    char* const pBegin = out.data() + nStart;
    char* p = pBegin;
    for (int i = 0; i < kImportColumnCount; ++i) {
        std::memcpy(p, tags[i].first.constData(), size_t(tags[i].first.size()));
        p += tags[i].first.size();
        p = PutEscaped(p, values[kFileOrder[i]]);
        std::memcpy(p, tags[i].second.constData(), size_t(tags[i].second.size()));
        p += tags[i].second.size();
    }
    out.resize(nStart + (p - pBegin));
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

QByteArray CsvToUtf8(const QByteArray& bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        // A file that says UTF-8 but is broken: what cannot be read becomes
        // the replacement character, never bytes no XML reader takes.
        const QByteArray text = bytes.mid(3);
        return QByteArrayView(text).isValidUtf8() ? text : QString::fromUtf8(text).toUtf8();
    }
    if (bytes.startsWith("\xFF\xFE"))
        return QString(QStringDecoder(QStringDecoder::Utf16LE).decode(bytes.mid(2))).toUtf8();
    if (bytes.startsWith("\xFE\xFF"))
        return QString(QStringDecoder(QStringDecoder::Utf16BE).decode(bytes.mid(2))).toUtf8();
    // Bytes that are no UTF-8 come from a Windows program's code page.
    return QByteArrayView(bytes).isValidUtf8() ? bytes : DecodeWindows1252(bytes).toUtf8();
}

namespace {

// Calls onRecord(line, fields, unclosed) for each record of a UTF-8 text.
// Unquoted fields view the text; quoted ones a buffer that lives until the
// next record. Works on the bytes: a large file is split without one copy
// per field.
template <class F>
void ParseCsv(QByteArrayView text, QByteArrayView sep, F onRecord)
{
    const char* p = text.data();
    const qsizetype n = text.size();
    const auto breakAt = [p, n](qsizetype i) -> int {
        if (p[i] == '\r')
            return i + 1 < n && p[i + 1] == '\n' ? 2 : 1;
        return p[i] == '\n' ? 1 : 0;
    };
    const auto isSep = [&](qsizetype i) {
        return p[i] == sep[0]
               && (sep.size() == 1 || (i + sep.size() <= n && std::memcmp(p + i, sep.data(), size_t(sep.size())) == 0));
    };
    const auto toFieldEnd = [&](qsizetype i) {
        while (i < n && !isSep(i) && p[i] != '\r' && p[i] != '\n')
            ++i;
        return i;
    };
    // A quote as separator leaves no room for quoting.
    const bool bQuoting = sep != QByteArrayView("\"");
    std::vector<QByteArrayView> fields;
    std::deque<QByteArray> quoted;
    qsizetype i = 0;
    int nLine = 1;
    while (i < n) {
        fields.clear();
        quoted.clear();
        const int nStartLine = nLine;
        const qsizetype nStart = i;
        bool bUnclosed = false;
        for (;;) {
            if (bQuoting && i < n && p[i] == '"') {
                QByteArray& q = quoted.emplace_back();
                bool bClosed = false;
                for (++i; i < n && !bClosed;) {
                    const qsizetype f = i;
                    while (i < n && p[i] != '"' && p[i] != '\r' && p[i] != '\n')
                        ++i;
                    q.append(p + f, i - f);
                    if (i >= n)
                        break;
                    if (p[i] == '"') {
                        bClosed = !(i + 1 < n && p[i + 1] == '"');
                        if (!bClosed)
                            q += '"';
                        i += bClosed ? 1 : 2;
                    } else {
                        q += '\n';
                        i += breakAt(i);
                        ++nLine;
                    }
                }
                if (!bClosed) {
                    bUnclosed = true;
                    break;
                }
                const qsizetype f = i;
                i = toFieldEnd(i);
                q.append(p + f, i - f);
                fields.emplace_back(q);
            } else {
                const qsizetype f = i;
                i = toFieldEnd(i);
                fields.emplace_back(p + f, i - f);
            }
            if (i < n && isSep(i)) {
                i += sep.size();
                continue;
            }
            break;
        }
        if (bUnclosed) {
            // Only the line the quote opened on is lost: reading goes on
            // with the next one.
            fields.clear();
            nLine = nStartLine + 1;
            for (i = nStart; i < n && !breakAt(i);)
                ++i;
            if (i < n)
                i += breakAt(i);
        } else if (i < n) {
            i += breakAt(i);
            ++nLine;
        }
        onRecord(nStartLine, fields, bUnclosed);
    }
}

// Whether UTF-8 text holds what XML 1.0 does not allow: control characters
// other than tab and line ends, U+FFFE and U+FFFF.
bool NeedsXmlCleaning(QByteArrayView v)
{
    for (qsizetype i = 0; i < v.size(); ++i) {
        const auto c = static_cast<unsigned char>(v[i]);
        if ((c < 0x20 && c != '\t' && c != '\n' && c != '\r')
            || (c == 0xEF && i + 2 < v.size() && static_cast<unsigned char>(v[i + 1]) == 0xBF
                && static_cast<unsigned char>(v[i + 2]) >= 0xBE))
            return true;
    }
    return false;
}

} // namespace

std::vector<CCsvRecord> SplitCsvRecords(const QString& strText, QChar separator)
{
    std::vector<CCsvRecord> records;
    const QByteArray text = strText.toUtf8(), sep = QString(separator).toUtf8();
    ParseCsv(text, sep, [&records](int nLine, const std::vector<QByteArrayView>& fields, bool bUnclosed) {
        CCsvRecord r;
        r.m_nLine = nLine;
        r.m_bUnclosedQuote = bUnclosed;
        for (QByteArrayView f : fields)
            r.m_fields << QString::fromUtf8(f);
        records.push_back(std::move(r));
    });
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
    // The import changed the DOM itself: the look-ups read the files anew.
    for (CXMLDocument* pDoc : {pMain, pResult})
        if (pDoc)
            pDoc->NoteChange();
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
    QByteArray bytes;
    if (file.open(QIODevice::ReadOnly))
        bytes = file.readAll();
    if (!file.isOpen() || file.error() != QFileDevice::NoError)
        throw CTransferException(LoadString(IDS_FILE_READ_FAILED).arg(strCsvPath) + u'\n' + file.errorString());
    const QByteArray text = CsvToUtf8(bytes);
    bytes.clear();

    CheckValid(xmlMain);
    const auto lock = xmlMain.LockForChange();
    CImportSummary s;
    try {
        CMainIndex index(xmlMain);
        pugi::xml_node root = xmlMain.GetDocumentElement();
        QByteArrayView values[kImportColumnCount];
        std::vector<QByteArray> cleaned;
        // New locations are collected as text and parsed into the file in
        // one go: far quicker than making their elements one by one.
        QByteArray buffer;
        buffer.reserve(text.size() * 4);
        QSet<QString> pending;
        const auto flush = [&] {
            if (buffer.isEmpty())
                return;
            pugi::xml_node last = root.last_child();
            if (!root.append_buffer(buffer.constData(), size_t(buffer.size()), kFragmentParse, pugi::encoding_utf8))
                throw CXMLException(IDS_XML_APPEND_NODE);
            for (pugi::xml_node n = last ? last.next_sibling() : root.first_child(); n; n = n.next_sibling())
                index.Set(IdOf(n), n);
            buffer.clear();
            pending.clear();
        };
        ParseCsv(text, QString(separator).toUtf8(), [&](int nLine, const std::vector<QByteArrayView>& fields, bool bUnclosed) {
            if (bUnclosed) {
                Refuse(s, LoadString(IDS_CSV_LINE_QUOTE).arg(nLine));
                return;
            }
            if (fields.size() == 1 && QByteArrayView(fields[0]).trimmed().isEmpty())
                return;  // an empty line
            if (static_cast<qsizetype>(fields.size()) < order.size()) {
                Refuse(s, LoadString(IDS_CSV_LINE_FIELDS).arg(nLine).arg(fields.size()).arg(order.size()));
                return;
            }
            // Every line starts empty: a short line must not inherit the
            // previous line's values.
            std::fill(std::begin(values), std::end(values), QByteArrayView());
            cleaned.clear();
            cleaned.reserve(size_t(order.size()));
            for (int k = 0; k < order.size(); ++k) {
                values[order[k]] = fields[size_t(k)];
                if (NeedsXmlCleaning(fields[size_t(k)]))
                    values[order[k]] = cleaned.emplace_back(XmlSafeText(QString::fromUtf8(fields[size_t(k)])).toUtf8());
            }
            const QString strId = QString::fromUtf8(values[kImportIdColumn]).trimmed();
            const QByteArray id = strId.toUtf8();
            values[kImportIdColumn] = id;
            if (strId.isEmpty()) {
                Refuse(s, LoadString(IDS_CSV_LINE_NO_ID).arg(nLine));
                return;
            }
            pugi::xml_node old = index.Find(strId);
            if (!old && pending.contains(strId)) {
                flush();
                old = index.Find(strId);
            }
            if (old) {
                if (!AskYesNo(LoadString(IDS_IMPORT_ASK_OVERWRITE).arg(strId), MsgIcon::Question)) {
                    ++s.m_nSkipped;
                    return;
                }
                // The new data takes the old location's place, in its group.
                pugi::xml_node parent = old.parent();
                const pugi::xml_node before = old.next_sibling();
                parent.remove_child(old);
                xmlMain.NoteRemoval();
                ++s.m_nReplaced;
                QByteArray one;
                AppendMainXml(one, values);
                pugi::xml_document tmp;
                if (!tmp.load_buffer(one.constData(), size_t(one.size()), kFragmentParse, pugi::encoding_utf8))
                    throw CXMLException(IDS_XML_CREATE_NODE);
                const pugi::xml_node added = before ? parent.insert_copy_before(tmp.document_element(), before)
                                                    : parent.append_copy(tmp.document_element());
                if (!added)
                    throw CXMLException(IDS_XML_APPEND_NODE);
                index.Set(strId, added);
            } else {
                ++s.m_nAdded;
                AppendMainXml(buffer, values);
                pending.insert(strId);
            }
            s.m_locations << strId;
        });
        flush();
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
