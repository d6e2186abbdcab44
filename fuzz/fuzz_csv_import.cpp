// A CSV file's bytes imported into a small main file: the import refuses
// what it cannot use and otherwise leaves a strict XML file in which every
// imported ID is found once.

#include "FuzzSupport.h"

#include "core/Exception.h"
#include "core/Messages.h"
#include "locations/LocationImport.h"
#include "xml/ResultLookup.h"
#include "xml/XMLDocument.h"
#include "xml/XMLNodeMain.h"

#include <QDir>
#include <QFile>
#include <QSet>

namespace {

QString g_strMain, g_strCsv;

// Answers the duplicate question yes and no in turn, so both the replace
// and the skip path run; says nothing.
class CQuietSink : public IMessageSink
{
public:
    void Show(const QString&, MsgIcon) override {}
    bool AskYesNo(const QString&, MsgIcon) override { return m_bNext = !m_bNext; }

private:
    bool m_bNext = false;
};

bool Write(const QString& strPath, const QByteArray& bytes)
{
    QFile f(strPath);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

QByteArray Read(const QString& strPath)
{
    QFile f(strPath);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzInit();
    static CQuietSink sink;
    SetMessageSink(&sink);
    const QString strDir =
        QDir::temp().filePath(QStringLiteral("qarda-fuzz-csv-%1").arg(QCoreApplication::applicationPid()));
    QDir().mkpath(strDir);
    g_strMain = strDir + QStringLiteral("/Main.xml");
    g_strCsv = strDir + QStringLiteral("/in.csv");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray main = "<Main-Data>\r\n<Group Name=\"G\">\r\n<Main>\r\n<General>\r\n<ID>L1</ID>\r\n</General>\r\n"
                            "</Main>\r\n</Group>\r\n</Main-Data>\r\n";
    if (!Write(g_strMain, main) || !Write(g_strCsv, FuzzBytes(data, size)))
        std::abort();
    // The first byte picks the separator, as the dialog's choices do.
    const QChar separators[] = {u';', u',', u'\t', u' ', u'|'};
    const QChar separator = size > 0 ? separators[data[0] % 5] : QChar(u';');
    QList<int> order;
    for (int i = 0; i < kImportColumnCount; ++i)
        order.append(i);
    CXMLDocument doc;
    doc.Open(g_strMain);
    CImportSummary summary;
    try {
        summary = ImportCsv(doc, g_strCsv, separator, order);
    } catch (const CException&) {
        FUZZ_CHECK(Read(g_strMain) == main);
        return 0;
    }
    const QByteArray saved = Read(g_strMain);
    FUZZ_CHECK(IsStrictXmlText(saved));
    CXMLDocument again;
    again.Open(g_strMain);
    QSet<QString> ids;
    CXMLNodeMain m(&again);
    for (m.Open(QStringLiteral(".//Main")); !m.IsEOF(); m.MoveNext()) {
        FUZZ_CHECK(!ids.contains(m.m_General.m_strID));
        ids.insert(m.m_General.m_strID);
    }
    for (const QString& strId : summary.m_locations) {
        CXMLNodeMain found(&again);
        FUZZ_CHECK(FindLocation(found, strId));
    }
    return 0;
}
