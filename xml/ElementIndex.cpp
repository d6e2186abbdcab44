#include "xml/ElementIndex.h"

#include "xml/XMLNode.h"

#include <QAnyStringView>
#include <QSet>

#include <algorithm>
#include <cstring>

namespace {

bool IsElement(pugi::xml_node n, const char* pszName)
{
    return n.type() == pugi::node_element && std::strcmp(n.name(), pszName) == 0;
}

// The texts of every child of that name, each with all text below it, as a
// query compares them.
QStringList ChildValues(pugi::xml_node parent, const char* pszName)
{
    QStringList values;
    std::string text;
    for (pugi::xml_node c = parent.child(pszName); c; c = c.next_sibling(pszName)) {
        text.clear();
        AppendElementText(c, text);
        values.append(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    }
    return values;
}

// A result's first "ID", "Date" and "Time", each with all text below it.
// They come first in every result the program writes, so the walk over its
// children ends early. False when one is missing.
bool KeyOf(pugi::xml_node result, CResultIdentity& key, pugi::xml_node* pFirstID = nullptr)
{
    pugi::xml_node id, date, time;
    for (pugi::xml_node c = result.first_child(); c && !(id && date && time); c = c.next_sibling()) {
        if (c.type() != pugi::node_element)
            continue;
        const char* p = c.name();
        if (!id && p[0] == 'I' && p[1] == 'D' && !p[2])
            id = c;
        else if (!date && std::strcmp(p, "Date") == 0)
            date = c;
        else if (!time && std::strcmp(p, "Time") == 0)
            time = c;
    }
    if (pFirstID)
        *pFirstID = id;
    if (!(id && date && time))
        return false;
    std::string text;
    QString* targets[3] = {&key.m_strID, &key.m_strDate, &key.m_strTime};
    const pugi::xml_node nodes[3] = {id, date, time};
    for (int i = 0; i < 3; ++i) {
        text.clear();
        AppendElementText(nodes[i], text);
        *targets[i] = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    }
    return true;
}

}  // namespace

bool CElementIndex::IsResult(pugi::xml_node element) const
{
    return element.parent() == m_root && IsElement(element, "Result");
}

void CElementIndex::Clear()
{
    m_root = {};
    m_byIdentity.clear();
    m_byID.clear();
    m_locations.clear();
    m_resultKeys.clear();
    m_locationKeys.clear();
}

void CElementIndex::Build(pugi::xml_node root)
{
    Clear();
    m_root = root;
    if (!root)
        return;
    qsizetype nChildren = 0;
    for (pugi::xml_node c = root.first_child(); c; c = c.next_sibling())
        ++nChildren;
    m_byIdentity.reserve(nChildren);
    m_resultKeys.reserve(nChildren);
    for (pugi::xml_node c = root.first_child(); c; c = c.next_sibling())
        if (c.type() == pugi::node_element)
            Add(c, true);
}

// Files the element and the locations below it. bInOrder: it comes after
// everything filed so far (the build walks in document order).
void CElementIndex::Add(pugi::xml_node element, bool bInOrder)
{
    if (IsResult(element)) {
        AddResult(element, bInOrder);
        return;
    }
    if (IsElement(element, "Main"))
        AddLocation(element, bInOrder);
    for (pugi::xml_node c = element.first_child(); c; c = c.next_sibling())
        if (c.type() == pugi::node_element)
            Add(c, bInOrder);
}

void CElementIndex::AddResult(pugi::xml_node result, bool bInOrder)
{
    ResultKeys keys;
    pugi::xml_node firstID;
    keys.m_bHasIdentity = KeyOf(result, keys.m_identity, &firstID);
    const char* pszFirstID = firstID.text().get();
    // Usually the same text as the identity's: shared, not made twice.
    keys.m_strFirstID =
        keys.m_bHasIdentity && QAnyStringView::equal(keys.m_identity.m_strID, QUtf8StringView(pszFirstID))
            ? keys.m_identity.m_strID
            : QString::fromUtf8(pszFirstID);
    if (keys.m_bHasIdentity)
        Place(m_byIdentity[keys.m_identity], result, bInOrder);
    Place(m_byID[keys.m_strFirstID], result, bInOrder);
    m_resultKeys.insert(result.internal_object(), std::move(keys));
}

void CElementIndex::AddLocation(pugi::xml_node main, bool bInOrder)
{
    QStringList ids;
    for (pugi::xml_node general = main.child("General"); general; general = general.next_sibling("General"))
        ids += ChildValues(general, "ID");
    ids.removeDuplicates();
    // Locations are few: one walk in document order finds where a late one goes.
    auto next = [this](pugi::xml_node n) -> pugi::xml_node {
        // Preorder successor, without stepping into the results.
        if (n.first_child() && !IsResult(n))
            return n.first_child();
        for (; n; n = n.parent())
            if (n.next_sibling())
                return n.next_sibling();
        return {};
    };
    for (const QString& strID : std::as_const(ids)) {
        NodeList& list = m_locations[strID];
        if (bInOrder || list.empty()) {
            list.push_back(main);
            continue;
        }
        auto it = list.end();
        for (pugi::xml_node n = next(main); n && it == list.end(); n = next(n))
            it = std::find(list.begin(), list.end(), n);
        list.insert(it, main);
    }
    m_locationKeys.insert(main.internal_object(), ids);
}

void CElementIndex::Place(NodeList& list, pugi::xml_node result, bool bInOrder)
{
    if (bInOrder || list.empty()) {
        list.push_back(result);
        return;
    }
    // The nearest member on either side tells where the result goes. A walk
    // to one end only ran to the end of a large file for each result a
    // command moved behind the last one of its ID.
    QSet<const void*> members;
    if (list.size() > 8) {
        // A long list (many results of one ID): one look-up per step.
        members.reserve(static_cast<qsizetype>(list.size()));
        for (pugi::xml_node n : list)
            members.insert(n.internal_object());
    }
    const auto isMember = [&](pugi::xml_node n) {
        return members.isEmpty() ? std::find(list.begin(), list.end(), n) != list.end()
                                 : members.contains(n.internal_object());
    };
    pugi::xml_node before = result.previous_sibling("Result");
    pugi::xml_node after = result.next_sibling("Result");
    while (before || after) {
        if (before && isMember(before)) {
            list.insert(std::find(list.begin(), list.end(), before) + 1, result);
            return;
        }
        if (after && isMember(after)) {
            list.insert(std::find(list.begin(), list.end(), after), result);
            return;
        }
        if (before)
            before = before.previous_sibling("Result");
        if (after)
            after = after.next_sibling("Result");
    }
    list.push_back(result);
}

void CElementIndex::Erase(NodeList& list, pugi::xml_node node)
{
    list.erase(std::remove(list.begin(), list.end(), node), list.end());
}

void CElementIndex::Drop(pugi::xml_node element)
{
    if (auto it = m_resultKeys.find(element.internal_object()); it != m_resultKeys.end()) {
        if (it->m_bHasIdentity) {
            auto list = m_byIdentity.find(it->m_identity);
            if (list != m_byIdentity.end()) {
                Erase(*list, element);
                if (list->empty())
                    m_byIdentity.erase(list);
            }
        }
        if (auto list = m_byID.find(it->m_strFirstID); list != m_byID.end()) {
            Erase(*list, element);
            if (list->empty())
                m_byID.erase(list);
        }
        m_resultKeys.erase(it);
        return;
    }
    if (auto it = m_locationKeys.find(element.internal_object()); it != m_locationKeys.end()) {
        for (const QString& strID : std::as_const(*it)) {
            if (auto list = m_locations.find(strID); list != m_locations.end()) {
                Erase(*list, element);
                if (list->empty())
                    m_locations.erase(list);
            }
        }
        m_locationKeys.erase(it);
    }
}

void CElementIndex::Insert(pugi::xml_node element)
{
    if (!m_root || element.type() != pugi::node_element)
        return;
    Add(element, false);
}

void CElementIndex::Remove(pugi::xml_node element)
{
    if (!m_root || !element)
        return;
    if (element == m_root || element.type() != pugi::node_element) {
        Clear();
        return;
    }
    Drop(element);
    if (IsResult(element))
        return;
    for (pugi::xml_node c = element.first_child(); c; c = c.next_sibling())
        if (c.type() == pugi::node_element)
            Remove(c);
}

void CElementIndex::Rekey(pugi::xml_node element)
{
    if (!m_root || !element)
        return;
    // The element whose keys the change may touch: the result or location
    // it lies in, else the element itself.
    pugi::xml_node top = element;
    for (pugi::xml_node n = element; n && n != m_root; n = n.parent()) {
        if (IsResult(n) || IsElement(n, "Main")) {
            top = n;
            break;
        }
    }
    if (top == m_root || top.type() != pugi::node_element) {
        Build(m_root);
        return;
    }
    Remove(top);
    Insert(top);
}

pugi::xml_node CElementIndex::FindResult(const CResultIdentity& identity, bool* pbStale) const
{
    const auto it = m_byIdentity.constFind(CResultIdentity(identity.m_strID, identity.m_strDate, identity.m_strTime));
    if (it == m_byIdentity.constEnd())
        return {};
    for (pugi::xml_node result : *it) {
        CResultIdentity key;
        if (!KeyOf(result, key) || key.m_strID != identity.m_strID || key.m_strDate != identity.m_strDate
            || key.m_strTime != identity.m_strTime) {
            if (pbStale)
                *pbStale = true;
            return {};
        }
        if (!identity.m_bWithPlace)
            return result;
        // A place number given must be there; none given matches a result
        // with an empty or no "Place-No".
        const QStringList places = ChildValues(result, "Place-No");
        if (identity.m_strPlaceNo.isEmpty() ? places.isEmpty() || places.contains(QString())
                                            : places.contains(identity.m_strPlaceNo))
            return result;
    }
    return {};
}

const std::vector<pugi::xml_node>& CElementIndex::ResultsOf(const QString& strID) const
{
    static const NodeList none;
    const auto it = m_byID.constFind(strID);
    return it == m_byID.constEnd() ? none : *it;
}

pugi::xml_node CElementIndex::FindLocation(const QString& strID) const
{
    const auto it = m_locations.constFind(strID);
    return it == m_locations.constEnd() || it->empty() ? pugi::xml_node() : it->front();
}
