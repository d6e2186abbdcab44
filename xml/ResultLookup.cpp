#include "xml/ResultLookup.h"

#include "xml/XMLNodeMain.h"
#include "xml/XMLNodeResult.h"

namespace {

// A field that is absent, or doubled, reads as empty text; an empty value
// finds such an element (a hand-edited file, say) as the cursor shows it.
QString Matches(const char* pszPath, const char* pszVar)
{
    return QStringLiteral("(count(%1) = 1 and %1 = $%2 or count(%1) != 1 and $%2 = \"\")")
        .arg(QLatin1String(pszPath), QLatin1String(pszVar));
}

// Last resort, for a hand-made file whose identity field holds markup: the
// query compares all text below the field, the cursor shows only its own.
// Walks the results as the tree reads them; only a miss comes here.
pugi::xml_node ScanResults(CXMLDocument* pDoc, const CResultIdentity& identity)
{
    static const QStringList fields = {QStringLiteral("ID"), QStringLiteral("Date"), QStringLiteral("Time"),
                                       QStringLiteral("Place-No")};
    CXMLNodeResult r(pDoc);
    r.SetFieldNames(fields);
    for (r.Open(QStringLiteral("Result")); !r.IsEOF(); r.MoveNext())
        if (r.m_strID == identity.m_strID && r.m_strDate == identity.m_strDate && r.m_strTime == identity.m_strTime
            && (!identity.m_bWithPlace || r.m_strPlaceNo == identity.m_strPlaceNo))
            return r.GetCurrentElement();
    return {};
}

pugi::xml_node ScanLocations(CXMLDocument* pDoc, const QString& strID)
{
    CXMLNodeMain m(pDoc);
    for (m.Open(QStringLiteral(".//Main")); !m.IsEOF(); m.MoveNext())
        if (m.m_General.m_strID == strID)
            return m.GetCurrentElement();
    return {};
}

} // namespace

bool FindResult(CXMLNodeResult& cursor, const CResultIdentity& identity)
{
    CXMLVars vars = {{QStringLiteral("id"), identity.m_strID},
                     {QStringLiteral("d"), identity.m_strDate},
                     {QStringLiteral("t"), identity.m_strTime}};
    QString strQuery = QStringLiteral("Result[%1 and %2 and %3").arg(Matches("ID", "id"), Matches("Date", "d"),
                                                                     Matches("Time", "t"));
    if (identity.m_bWithPlace) {
        strQuery += QStringLiteral(" and ") + Matches("Place-No", "p");
        vars.emplace_back(QStringLiteral("p"), identity.m_strPlaceNo);
    }
    strQuery += u']';
    if (cursor.FindFirstFound(strQuery, vars, cursor.GetDocument()->FindResultElement(identity)))
        return true;
    // The index keys the first of each field; a result whose field is absent
    // or doubled (a hand-edited file) is found by the text the cursor shows.
    if (cursor.FindFirst(strQuery, vars))
        return true;
    return cursor.FindFirstFound(strQuery, vars, ScanResults(cursor.GetDocument(), identity));
}

bool FindLocation(CXMLNodeMain& cursor, const QString& strID)
{
    const QString strQuery = QStringLiteral(".//Main[%1]").arg(Matches("General/ID", "id"));
    if (cursor.FindFirstFound(strQuery, {{QStringLiteral("id"), strID}}, cursor.GetDocument()->FindLocationElement(strID)))
        return true;
    if (cursor.FindFirst(strQuery, {{QStringLiteral("id"), strID}}))
        return true;
    return cursor.FindFirstFound(strQuery, {{QStringLiteral("id"), strID}}, ScanLocations(cursor.GetDocument(), strID));
}
