#include "xml/ResultLookup.h"

#include "xml/XMLNodeMain.h"
#include "xml/XMLNodeResult.h"

namespace {

// A field that is absent reads as empty text, so an empty value also finds
// an element without that field (a hand-edited file, say), as the cursor
// shows it.
QString Matches(const char* pszPath, const char* pszVar)
{
    return QStringLiteral("(%1 = $%2 or not(%1) and $%2 = \"\")").arg(QLatin1String(pszPath), QLatin1String(pszVar));
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
        strQuery += QStringLiteral(" and (Place-No = $p or not(Place-No) and $p = \"\")");
        vars.emplace_back(QStringLiteral("p"), identity.m_strPlaceNo);
    }
    return cursor.FindFirst(strQuery + u']', vars);
}

bool FindLocation(CXMLNodeMain& cursor, const QString& strID)
{
    return cursor.FindFirst(QStringLiteral(".//Main[%1]").arg(Matches("General/ID", "id")),
                            {{QStringLiteral("id"), strID}});
}
