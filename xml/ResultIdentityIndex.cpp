#include "xml/ResultIdentityIndex.h"

#include "xml/XMLDocument.h"

#include <QStringList>

#include <cstring>

namespace {

// The XPath string-value of an element. Leaf elements (the usual case) are
// read directly; anything with element children goes through XPath itself,
// so nested markup counts exactly as the query would count it.
QString StringValue(pugi::xml_node element, const pugi::xpath_query& stringOf)
{
    std::string value = element.value();
    for (pugi::xml_node child = element.first_child(); child; child = child.next_sibling()) {
        switch (child.type()) {
        case pugi::node_element:
            return QString::fromStdString(stringOf.evaluate_string(element));
        case pugi::node_pcdata:
        case pugi::node_cdata:
            value += child.value();
            break;
        default:
            break;
        }
    }
    return QString::fromStdString(value);
}

} // namespace

void CResultIdentityIndex::Build(const CXMLDocument& document)
{
    m_set.clear();
    const pugi::xml_node root = document.GetDocumentElement();
    if (!root)
        return;
    const pugi::xpath_query stringOf("string(.)");
    QStringList ids, dates, times;
    for (pugi::xml_node result = root.child("Result"); result; result = result.next_sibling("Result")) {
        ids.clear();
        dates.clear();
        times.clear();
        for (pugi::xml_node child = result.first_child(); child; child = child.next_sibling()) {
            if (child.type() != pugi::node_element)
                continue;
            const char* pszName = child.name();
            if (std::strcmp(pszName, "ID") == 0)
                ids.append(StringValue(child, stringOf));
            else if (std::strcmp(pszName, "Date") == 0)
                dates.append(StringValue(child, stringOf));
            else if (std::strcmp(pszName, "Time") == 0)
                times.append(StringValue(child, stringOf));
        }
        // A comparison with a node set holds when any of its nodes matches,
        // so a result with two ID elements answers to either.
        for (const QString& strID : std::as_const(ids))
            for (const QString& strDate : std::as_const(dates))
                for (const QString& strTime : std::as_const(times))
                    m_set.insert(CResultIdentity(strID, strDate, strTime));
    }
}
