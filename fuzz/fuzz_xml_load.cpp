// A data file's bytes, opened as result file and as main file. What loads
// is read through the typed cursors, every result and location is found
// again by its identity, and a save gives a file that loads to the same
// results and saves to the same bytes.

#include "FuzzSupport.h"

#include "core/ResultIdentity.h"
#include "xml/ResultLookup.h"
#include "xml/XMLDocument.h"
#include "xml/XMLException.h"
#include "xml/XMLNodeMain.h"
#include "xml/XMLNodeResult.h"

#include <QDir>
#include <QFile>

namespace {

QString g_strPath;

QByteArray ReadFile()
{
    QFile f(g_strPath);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Every result's identity, in file order; each one found by the lookup.
QList<CResultIdentity> ReadResults(CXMLDocument& doc)
{
    QList<CResultIdentity> ids;
    CXMLNodeResult r(&doc);
    for (r.Open(QStringLiteral("Result")); !r.IsEOF(); r.MoveNext()) {
        const ResultKind kind = KindOfFunction(r.m_strFunction).value_or(ResultKind::Nothing);
        ids.append(CResultIdentity::Of(kind, r.m_strID, r.m_strDate, r.m_strTime, r.m_strPlaceNo));
        CXMLNodeResult found(&doc);
        FUZZ_CHECK(FindResult(found, ids.last()));
    }
    return ids;
}

// Every location's ID, each one found by the lookup, and the group names.
QStringList ReadLocations(CXMLDocument& doc)
{
    QStringList ids;
    CXMLNodeMain m(&doc);
    for (m.Open(QStringLiteral(".//Main")); !m.IsEOF(); m.MoveNext()) {
        ids.append(m.m_General.m_strID);
        CXMLNodeMain found(&doc);
        FUZZ_CHECK(FindLocation(found, ids.last()));
    }
    CXMLNodeGroup g(&doc);
    for (g.Open(QStringLiteral(".//Group")); !g.IsEOF(); g.MoveNext())
        ids.append(g.m_strName);
    return ids;
}

void RoundTrip(const QString& strRoot)
{
    CXMLDocument doc;
    doc.SetExpectedRoot(strRoot);
    try {
        doc.Open(g_strPath);
    } catch (const CXMLException&) {
        FUZZ_CHECK(!doc.IsValid());
        return;
    }
    const bool bMain = strRoot == QLatin1String("Main-Data");
    const QList<CResultIdentity> results = bMain ? QList<CResultIdentity>() : ReadResults(doc);
    const QStringList locations = bMain ? ReadLocations(doc) : QStringList();
    const QByteArray before = ReadFile();
    try {
        doc.Save();
    } catch (const CXMLException&) {
        // Only a file of another kind is refused, and it stays as it was.
        FUZZ_CHECK(QString::fromUtf8(doc.GetDocumentElement().name()) != strRoot);
        FUZZ_CHECK(ReadFile() == before);
        return;
    }
    const QByteArray saved = ReadFile();
    FUZZ_CHECK(IsStrictXmlText(saved));
    CXMLDocument again;
    again.Open(g_strPath);
    FUZZ_CHECK(bMain ? ReadLocations(again) == locations : ReadResults(again) == results);
    again.Save();
    FUZZ_CHECK(ReadFile() == saved);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzInit();
    const QString strDir =
        QDir::temp().filePath(QStringLiteral("qarda-fuzz-%1").arg(QCoreApplication::applicationPid()));
    QDir().mkpath(strDir);
    g_strPath = strDir + QStringLiteral("/data.xml");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = FuzzBytes(data, size);
    for (const char* pszRoot : {"Result-Data", "Main-Data"}) {
        QFile f(g_strPath);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
            std::abort();
        f.close();
        RoundTrip(QLatin1String(pszRoot));
    }
    return 0;
}
