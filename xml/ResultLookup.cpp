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
    return cursor.FindFirst(strQuery, vars);
}

bool FindLocation(CXMLNodeMain& cursor, const QString& strID)
{
    const QString strQuery = QStringLiteral(".//Main[%1]").arg(Matches("General/ID", "id"));
    if (cursor.FindFirstFound(strQuery, {{QStringLiteral("id"), strID}}, cursor.GetDocument()->FindLocationElement(strID)))
        return true;
    return cursor.FindFirst(strQuery, {{QStringLiteral("id"), strID}});
}
