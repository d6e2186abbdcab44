#include "xml/ResultLookup.h"

#include "xml/XMLNodeMain.h"
#include "xml/XMLNodeResult.h"

bool FindResult(CXMLNodeResult& cursor, const CResultIdentity& identity)
{
    CXMLVars vars = {{QStringLiteral("id"), identity.m_strID},
                     {QStringLiteral("d"), identity.m_strDate},
                     {QStringLiteral("t"), identity.m_strTime}};
    QString strQuery;
    if (!identity.m_bWithPlace) {
        strQuery = QStringLiteral("Result[ID = $id and Date = $d and Time = $t]");
    } else if (!identity.m_strPlaceNo.isEmpty()) {
        strQuery = QStringLiteral("Result[ID = $id and Date = $d and Time = $t and Place-No = $p]");
        vars.emplace_back(QStringLiteral("p"), identity.m_strPlaceNo);
    } else {
        strQuery =
            QStringLiteral("Result[ID = $id and Date = $d and Time = $t and (Place-No = \"\" or not(Place-No))]");
    }
    return cursor.FindFirstFound(strQuery, vars, cursor.GetDocument()->FindResultElement(identity));
}

bool FindLocation(CXMLNodeMain& cursor, const QString& strID)
{
    return cursor.FindFirstFound(QStringLiteral(".//Main[General/ID = $id]"), {{QStringLiteral("id"), strID}},
                                 cursor.GetDocument()->FindLocationElement(strID));
}
