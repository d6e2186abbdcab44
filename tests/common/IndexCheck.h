#pragma once

#include "xml/XMLNode.h"

// Every look-up of the document's index against the query it replaces, for
// every result and location in the file and for keys that are not there;
// the first disagreement, empty when there is none.
inline QString IndexDisagreement(CXMLDocument& doc)
{
    auto first = [&doc](const QString& strQuery, const CXMLVars& vars) {
        CXMLNode n(&doc);
        return n.FindFirst(strQuery, vars) ? n.GetCurrentElement() : pugi::xml_node();
    };
    auto text = [](pugi::xml_node e, const char* psz) { return QString::fromUtf8(e.child(psz).child_value()); };
    std::vector<CResultIdentity> keys{CResultIdentity(QStringLiteral("none"), QString(), QString())};
    for (pugi::xml_node r = doc.GetDocumentElement().child("Result"); r; r = r.next_sibling("Result")) {
        CResultIdentity k(text(r, "ID"), text(r, "Date"), text(r, "Time"));
        keys.push_back(k);
        k.m_bWithPlace = true;
        keys.push_back(k);
        k.m_strPlaceNo = text(r, "Place-No");
        keys.push_back(k);
    }
    for (const CResultIdentity& k : keys) {
        CXMLVars vars{
            {QStringLiteral("id"), k.m_strID}, {QStringLiteral("d"), k.m_strDate}, {QStringLiteral("t"), k.m_strTime}};
        QString strQuery = QStringLiteral("Result[ID = $id and Date = $d and Time = $t");
        if (k.m_bWithPlace && k.m_strPlaceNo.isEmpty())
            strQuery += QStringLiteral(" and (Place-No = \"\" or not(Place-No))");
        if (k.m_bWithPlace && !k.m_strPlaceNo.isEmpty()) {
            strQuery += QStringLiteral(" and Place-No = $p");
            vars.emplace_back(QStringLiteral("p"), k.m_strPlaceNo);
        }
        if (first(strQuery + u']', vars) != doc.FindResultElement(k))
            return QStringLiteral("result %1 %2 %3 place '%4'")
                .arg(k.m_strID, k.m_strDate, k.m_strTime, k.m_strPlaceNo);
    }
    QStringList ids{QStringLiteral("none")};
    CXMLNode n(&doc);
    for (n.Open(QStringLiteral(".//Main/General/ID")); !n.IsEOF(); n.MoveNext())
        ids << QString::fromUtf8(n.GetCurrentElement().child_value());
    for (const QString& strId : ids)
        if (first(QStringLiteral(".//Main[General/ID = $id]"), {{QStringLiteral("id"), strId}})
            != doc.FindLocationElement(strId))
            return QStringLiteral("location ") + strId;
    return {};
}
