#include "locations/LocationTree.h"

#include "core/Messages.h"
#include "core/Number.h"
#include "locations/TreeImages.h"
#include "resources/StringTable.h"
#include "xml/XMLDocument.h"
#include "xml/XMLException.h"
#include "xml/XMLNode.h"

#include <QDateTime>
#include <QScopeGuard>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <deque>
#include <exception>
#include <string>
#include <string_view>
#include <thread>
#include <unordered_map>

namespace {

// Below this many children a scan is cheaper than keeping hashes.
constexpr int kIndexThreshold = 16;

template <class T>
void EraseValue(std::vector<T*>& v, T* p)
{
    const auto it = std::find(v.begin(), v.end(), p);
    if (it != v.end())
        v.erase(it);
}

template <class Key>
void EraseFromHash(QHash<Key, std::vector<CLocationTreeItem*>>& hash, const Key& key, CLocationTreeItem* p)
{
    const auto it = hash.find(key);
    if (it == hash.end())
        return;
    EraseValue(*it, p);
    if (it->empty())
        hash.erase(it);
}

// Children that the name index holds: the location items under a group or
// the unassigned node.
bool IsNamedLocation(const TreeItemData& d)
{
    return d.m_bIsContainer && d.m_nKind == ResultKind::Location;
}

// Children that the kind index holds: kind folders.
bool IsKindFolder(const TreeItemData& d)
{
    return d.m_bIsContainer && d.m_nKind >= ResultKind::Value;
}

// "Date" and "Time" of a result, read the way the German locale writes them
// (day.month.year, 24-hour clock). Kept in UTC so that stepping over a
// daylight-saving change adds plain seconds.
QDateTime ParseStartTime(const QString& strDate, const QString& strTime)
{
    const QString strD = strDate.trimmed();
    const QString strT = strTime.trimmed();
    QDate date = QDate::fromString(strD, QStringLiteral("d.M.yyyy"));
    if (!date.isValid())
        return {};
    QTime time(0, 0, 0);
    if (!strT.isEmpty()) {
        time = QTime::fromString(strT, QStringLiteral("H:m:s"));
        if (!time.isValid())
            time = QTime::fromString(strT, QStringLiteral("H:m"));
        if (!time.isValid())
            return {};
    }
    return QDateTime(date, time, Qt::UTC);
}

// "dd.MM.yyyy HH:mm:ss": written digit by digit, as a long series has
// thousands of samples and the general formatter is slow.
QString SampleTime(const QDateTime& t)
{
    const QDate date = t.date();
    const QTime time = t.time();
    if (date.year() < 0 || date.year() > 9999)
        return t.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"));
    char16_t buf[19];
    auto put = [&buf](int nAt, int nValue, int nDigits) {
        for (int i = nDigits - 1; i >= 0; --i, nValue /= 10)
            buf[nAt + i] = static_cast<char16_t>(u'0' + nValue % 10);
    };
    put(0, date.day(), 2);
    buf[2] = u'.';
    put(3, date.month(), 2);
    buf[5] = u'.';
    put(6, date.year(), 4);
    buf[10] = u' ';
    put(11, time.hour(), 2);
    buf[13] = u':';
    put(14, time.minute(), 2);
    buf[16] = u':';
    put(17, time.second(), 2);
    return QString(reinterpret_cast<const QChar*>(buf), 19);
}

// The whole text of a field element; a missing element (or one of several,
// which the result cursor reads as empty too) gives an empty text.
// The whole text of a field element as bytes: the element's own text where
// it has one, else put together in spare.
std::string_view RawText(pugi::xml_node node, std::string& spare)
{
    if (!node)
        return {};
    if (!node.first_child())
        return node.value();
    spare.clear();
    AppendElementText(node, spare);
    return spare;
}

QString FieldText(pugi::xml_node node)
{
    std::string spare;
    const std::string_view text = RawText(node, spare);
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Keeps the first child of a field's name; a second one empties the field
// for good.
void Note(pugi::xml_node& field, bool& bTwice, pugi::xml_node child)
{
    if (field || bTwice) {
        bTwice = true;
        field = pugi::xml_node();
    } else {
        field = child;
    }
}

// One thread's share of the results: each with its kind and the number of
// its "ID" text among the distinct IDs of the share, both read as the
// result cursor reads them (see ResultFields). The texts are compared here,
// while they are in the cache; filing the results then needs the numbers
// only.
struct CResultSurvey
{
    struct Result
    {
        pugi::xml_node m_element;
        uint32_t m_nId = 0;
        std::optional<ResultKind> m_kind;
    };
    std::vector<Result> m_results;
    std::vector<std::string_view> m_ids;
    // Texts put together from several parts, kept for the views.
    std::deque<std::string> m_kept;

    void Read(const pugi::xml_node* pFirst, const pugi::xml_node* pEnd);
};

void CResultSurvey::Read(const pugi::xml_node* pFirst, const pugi::xml_node* pEnd)
{
    std::unordered_map<std::string_view, uint32_t> numbers;
    std::string spare, lastFunction = "\x01";
    std::optional<ResultKind> lastKind;
    m_results.reserve(static_cast<size_t>(pEnd - pFirst));
    for (const pugi::xml_node* p = pFirst; p != pEnd; ++p) {
        pugi::xml_node id, function;
        bool bTwiceId = false, bTwiceFunction = false;
        for (pugi::xml_node c = p->first_child(); c; c = c.next_sibling()) {
            const char* pszName = c.name();
            if (pszName[0] == 'I') {
                if (pszName[1] == 'D' && !pszName[2] && c.type() == pugi::node_element)
                    Note(id, bTwiceId, c);
            } else if (pszName[0] == 'F') {
                if (std::strcmp(pszName + 1, "unction") == 0 && c.type() == pugi::node_element)
                    Note(function, bTwiceFunction, c);
            }
        }
        std::string_view idText = RawText(id, spare);
        if (idText.data() == spare.data())
            idText = m_kept.emplace_back(spare);
        const auto [it, bNew] = numbers.try_emplace(idText, static_cast<uint32_t>(m_ids.size()));
        if (bNew)
            m_ids.push_back(idText);
        const std::string_view functionText = RawText(function, spare);
        if (functionText != lastFunction) {
            lastFunction.assign(functionText);
            lastKind = KindOfFunction(
                QString::fromUtf8(functionText.data(), static_cast<qsizetype>(functionText.size())));
        }
        m_results.push_back({*p, it->second, lastKind});
    }
}

// Results in a row mostly share their date and kind: the text of the one
// before is taken again rather than made anew, and held once.
struct CRecentText
{
    QString Of(pugi::xml_node node)
    {
        if (!node || node.first_child())
            return FieldText(node);
        const char* pszValue = node.value();
        if (m_raw != pszValue) {
            m_raw = pszValue;
            m_strText = QString::fromUtf8(m_raw);
        }
        return m_strText;
    }

    QByteArray m_raw;
    QString m_strText;
};

// A location's "ID" or "State" as the location cursor reads it: the whole
// text of the one element of that name among its "General" children.
QString GeneralField(pugi::xml_node main, const char* pszName)
{
    pugi::xml_node field;
    bool bTwice = false;
    for (pugi::xml_node general = main.child("General"); general; general = general.next_sibling("General"))
        for (pugi::xml_node c = general.child(pszName); c; c = c.next_sibling(pszName))
            if (general.type() == pugi::node_element && c.type() == pugi::node_element)
                Note(field, bTwice, c);
    return FieldText(field);
}

} // namespace

struct CLocationTreeItem::Pending
{
    explicit Pending(CLocationTree* pTree) : m_pTree(pTree) {}
    CLocationTree* m_pTree;
    // In file order.
    std::vector<pugi::xml_node> m_results;
};

// The eight fields of a result the tree shows, read straight from its
// element in one walk over its children, with the result cursor's reading:
// a field is the whole text of the one child of its name, empty when there
// is none or several; the entries of a series are its "Value-Measurement"
// children, each with its own "No".
struct CLocationTree::ResultFields
{
    struct Recent
    {
        CRecentText m_date;
        CRecentText m_function;
    };

    ResultFields(pugi::xml_node result, Recent& recent)
    {
        enum { ID, Date, Time, PlaceNo, Function, Interval, Entry, Count, None = Count };
        pugi::xml_node fields[Count];
        bool bTwice[Count] = {};
        std::vector<pugi::xml_node> entries;
        for (pugi::xml_node c = result.first_child(); c; c = c.next_sibling()) {
            // Most children fail on their first letter; texts and comments
            // have no name, a processing instruction may.
            const char* pszName = c.name();
            const char* pszRest = pszName + 1;
            int nField = None;
            switch (pszName[0]) {
            case 'I':
                nField = pszRest[0] == 'D' && !pszRest[1] ? ID : None;
                break;
            case 'D':
                nField = std::strcmp(pszRest, "ate") == 0 ? Date : None;
                break;
            case 'T':
                nField = std::strcmp(pszRest, "ime") == 0            ? Time
                         : std::strcmp(pszRest, "ime-Interval") == 0 ? Interval
                                                                     : None;
                break;
            case 'P':
                nField = std::strcmp(pszRest, "lace-No") == 0 ? PlaceNo : None;
                break;
            case 'F':
                nField = std::strcmp(pszRest, "unction") == 0 ? Function : None;
                break;
            case 'V':
                nField = std::strcmp(pszRest, "alue-Measurement") == 0 ? Entry : None;
                break;
            default:
                break;
            }
            if (nField == None || c.type() != pugi::node_element)
                continue;
            if (nField == Entry)
                entries.push_back(c);
            else
                Note(fields[nField], bTwice[nField], c);
        }
        m_strID = FieldText(fields[ID]);
        m_strDate = recent.m_date.Of(fields[Date]);
        m_strTime = FieldText(fields[Time]);
        m_strPlaceNo = FieldText(fields[PlaceNo]);
        m_strFunction = recent.m_function.Of(fields[Function]);
        m_strTimeInterval = FieldText(fields[Interval]);
        // Only a series reads its entries.
        if (m_strFunction != FunctionOfKind(ResultKind::ContinueValue))
            return;
        m_sampleNos.reserve(static_cast<qsizetype>(entries.size()));
        for (pugi::xml_node e : entries) {
            pugi::xml_node no;
            bool bTwiceNo = false;
            for (pugi::xml_node c = e.child("No"); c; c = c.next_sibling("No"))
                if (c.type() == pugi::node_element)
                    Note(no, bTwiceNo, c);
            m_sampleNos.append(FieldText(no));
        }
    }

    QString m_strID;
    QString m_strDate;
    QString m_strTime;
    QString m_strPlaceNo;
    QString m_strFunction;
    QString m_strTimeInterval;
    QStringList m_sampleNos;
};

// --- CLocationTreeItem -------------------------------------------------------

CLocationTreeItem::CLocationTreeItem() = default;

CLocationTreeItem::~CLocationTreeItem() = default;

int CLocationTreeItem::GetChildCount() const
{
    if (m_pPending)
        m_pPending->m_pTree->Complete(const_cast<CLocationTreeItem*>(this));
    return static_cast<int>(m_children.size());
}

CLocationTreeItem* CLocationTreeItem::GetParent() const
{
    // The invisible root has no parent; items directly under it report none.
    return (m_pParent && m_pParent->m_pParent) ? m_pParent : nullptr;
}

CLocationTreeItem* CLocationTreeItem::GetChild(int nRow) const
{
    if (nRow < 0 || nRow >= GetChildCount())
        return nullptr;
    return m_children[static_cast<size_t>(nRow)].get();
}

CLocationTreeItem* CLocationTreeItem::GetNextSibling() const
{
    return m_pParent ? m_pParent->GetChild(m_nRow + 1) : nullptr;
}

CLocationTreeItem* CLocationTreeItem::GetPrevSibling() const
{
    return m_pParent ? m_pParent->GetChild(m_nRow - 1) : nullptr;
}

// --- CLocationTree: basics -----------------------------------------------------

CLocationTree::CLocationTree() = default;

CLocationTree::~CLocationTree() = default;

void CLocationTree::AddObserver(ILocationTreeObserver* pObserver)
{
    if (pObserver && std::find(m_observers.begin(), m_observers.end(), pObserver) == m_observers.end())
        m_observers.push_back(pObserver);
}

void CLocationTree::RemoveObserver(ILocationTreeObserver* pObserver)
{
    EraseValue(m_observers, pObserver);
}

CLocationTreeItem* CLocationTree::Node(const CLocationTreeItem* pParent) const
{
    return const_cast<CLocationTreeItem*>(pParent ? pParent : &m_root);
}

int CLocationTree::GetChildCount(const CLocationTreeItem* pParent) const
{
    return Node(pParent)->GetChildCount();
}

CLocationTreeItem* CLocationTree::GetChild(const CLocationTreeItem* pParent, int nRow) const
{
    return Node(pParent)->GetChild(nRow);
}

CLocationTreeItem* CLocationTree::NextItem(const CLocationTreeItem* pItem) const
{
    if (!pItem)
        return nullptr;
    if (CLocationTreeItem* p = pItem->GetFirstChild())
        return p;
    for (const CLocationTreeItem* p = pItem; p && p != &m_root; p = p->m_pParent)
        if (CLocationTreeItem* pNext = p->GetNextSibling())
            return pNext;
    return nullptr;
}

// --- indexes ---------------------------------------------------------------

void CLocationTree::IndexItem(CLocationTreeItem* pItem)
{
    const TreeItemData& d = pItem->m_data;
    const bool bTop = IsTopLevel(pItem);
    if (d.m_nKind == ResultKind::Location
        && (bTop || (pItem->m_pParent->m_data.m_nKind == ResultKind::Group && IsTopLevel(pItem->m_pParent)))) {
        m_locations[d.m_strName].push_back(pItem);
        pItem->m_nIndexed |= IndexedLocation;
    }
    if (bTop && d.m_nKind == ResultKind::Group) {
        m_groups[d.m_strName].push_back(pItem);
        pItem->m_nIndexed |= IndexedGroup;
    }
    if (bTop && d.m_nKind == ResultKind::Unassigned && d.m_bIsContainer) {
        m_unassignedNodes.push_back(pItem);
        pItem->m_nIndexed |= IndexedUnassignedNode;
    }
}

void CLocationTree::UnindexItem(CLocationTreeItem* pItem)
{
    const QString& strName = pItem->m_data.m_strName;
    if (pItem->m_nIndexed & IndexedLocation)
        EraseFromHash(m_locations, strName, pItem);
    if (pItem->m_nIndexed & IndexedGroup)
        EraseFromHash(m_groups, strName, pItem);
    if (pItem->m_nIndexed & IndexedUnassignedNode)
        EraseValue(m_unassignedNodes, pItem);
    pItem->m_nIndexed = 0;
}

void CLocationTree::UnindexSubtree(CLocationTreeItem* pItem)
{
    UnindexItem(pItem);
    // Only the first two levels are ever indexed.
    if (IsTopLevel(pItem))
        for (const auto& pChild : pItem->m_children)
            UnindexItem(pChild.get());
}

void CLocationTree::AddToChildIndex(CLocationTreeItem* pParent, CLocationTreeItem* pChild)
{
    CLocationTreeItem::ChildIndex* pIndex = pParent->m_pIndex.get();
    if (!pIndex)
        return;
    pIndex->m_byText[pChild->m_strText].push_back(pChild);
    if (IsNamedLocation(pChild->m_data))
        pIndex->m_byName[pChild->m_data.m_strName].push_back(pChild);
    if (IsKindFolder(pChild->m_data))
        pIndex->m_byKind[pChild->m_data.m_nKind].push_back(pChild);
}

void CLocationTree::RemoveFromChildIndex(CLocationTreeItem* pParent, CLocationTreeItem* pChild)
{
    CLocationTreeItem::ChildIndex* pIndex = pParent->m_pIndex.get();
    if (!pIndex)
        return;
    EraseFromHash(pIndex->m_byText, pChild->m_strText, pChild);
    if (IsNamedLocation(pChild->m_data))
        EraseFromHash(pIndex->m_byName, pChild->m_data.m_strName, pChild);
    if (IsKindFolder(pChild->m_data))
        EraseFromHash(pIndex->m_byKind, pChild->m_data.m_nKind, pChild);
}

void CLocationTree::BuildChildIndex(CLocationTreeItem* pParent)
{
    pParent->m_pIndex = std::make_unique<CLocationTreeItem::ChildIndex>();
    pParent->m_pIndex->m_byText.reserve(static_cast<qsizetype>(pParent->m_children.size()) * 2);
    for (const auto& pChild : pParent->m_children)
        AddToChildIndex(pParent, pChild.get());
}

template <class Pred>
CLocationTreeItem* CLocationTree::FirstOf(const std::vector<CLocationTreeItem*>* pCandidates, Pred pred)
{
    CLocationTreeItem* pBest = nullptr;
    if (!pCandidates)
        return nullptr;
    for (CLocationTreeItem* p : *pCandidates)
        if ((!pBest || p->m_nRow < pBest->m_nRow) && pred(p))
            pBest = p;
    return pBest;
}

template <class Key>
static const std::vector<CLocationTreeItem*>* Lookup(const QHash<Key, std::vector<CLocationTreeItem*>>& hash,
                                                     const Key& key)
{
    const auto it = hash.constFind(key);
    return it == hash.cend() ? nullptr : &*it;
}

CLocationTreeItem* CLocationTree::FindChildByText(CLocationTreeItem* pParent, const QString& strText) const
{
    Ensure(pParent);
    if (pParent->m_pIndex)
        return FirstOf(Lookup(pParent->m_pIndex->m_byText, strText), [](CLocationTreeItem*) { return true; });
    for (const auto& pChild : pParent->m_children)
        if (pChild->m_strText == strText)
            return pChild.get();
    return nullptr;
}

template <class Pred>
CLocationTreeItem* CLocationTree::FindChildByName(CLocationTreeItem* pParent, const QString& strName,
                                                  Pred pred) const
{
    // The name index holds location items only; the predicate must not ask
    // for more.
    Ensure(pParent);
    if (pParent->m_pIndex)
        return FirstOf(Lookup(pParent->m_pIndex->m_byName, strName), pred);
    for (const auto& pChild : pParent->m_children)
        if (pChild->m_data.m_strName == strName && pred(pChild.get()))
            return pChild.get();
    return nullptr;
}

CLocationTreeItem* CLocationTree::FindChildByKind(CLocationTreeItem* pParent, ResultKind nKind, bool bContainer) const
{
    auto fits = [nKind, bContainer](const CLocationTreeItem* p) {
        return p->m_data.m_nKind == nKind && p->m_data.m_bIsContainer == bContainer;
    };
    Ensure(pParent);
    if (pParent->m_pIndex && bContainer && nKind >= ResultKind::Value)
        return FirstOf(Lookup(pParent->m_pIndex->m_byKind, nKind), fits);
    for (const auto& pChild : pParent->m_children)
        if (fits(pChild.get()))
            return pChild.get();
    return nullptr;
}

CLocationTreeItem* CLocationTree::FirstInTreeOrder(const std::vector<CLocationTreeItem*>& items)
{
    if (items.empty())
        return nullptr;
    if (items.size() == 1)
        return items.front();
    // Rare: the same name twice (a hand-edited file). Compare the paths of
    // rows from the root down.
    auto path = [](const CLocationTreeItem* p) {
        std::vector<int> rows;
        for (; p && p->m_pParent; p = p->m_pParent)
            rows.push_back(p->m_nRow);
        std::reverse(rows.begin(), rows.end());
        return rows;
    };
    CLocationTreeItem* pBest = items.front();
    std::vector<int> best = path(pBest);
    for (size_t i = 1; i < items.size(); ++i) {
        std::vector<int> rows = path(items[i]);
        if (rows < best) {
            best = std::move(rows);
            pBest = items[i];
        }
    }
    return pBest;
}

// --- primitives --------------------------------------------------------------

CLocationTreeItem* CLocationTree::InsertItem(CLocationTreeItem* pParent, int nRow, const QString& strText,
                                             int nImage, const TreeItemData& data)
{
    CLocationTreeItem* pNode = Node(pParent);
    Ensure(pNode);
    const int nCount = pNode->GetChildCount();
    if (nRow < 0 || nRow > nCount)
        nRow = nCount;
    if (!m_bResetting)
        for (ILocationTreeObserver* p : m_observers)
            p->AboutToInsert(pParent, nRow);

    auto pItem = std::make_unique<CLocationTreeItem>();
    CLocationTreeItem* pNew = pItem.get();
    pNew->m_strText = strText;
    pNew->m_nImage = nImage;
    pNew->m_data = data;
    pNew->m_pParent = pNode;
    pNew->m_nRow = nRow;
    pNode->m_children.insert(pNode->m_children.begin() + nRow, std::move(pItem));
    for (size_t i = static_cast<size_t>(nRow) + 1; i < pNode->m_children.size(); ++i)
        pNode->m_children[i]->m_nRow = static_cast<int>(i);

    if (pNode->m_pIndex)
        AddToChildIndex(pNode, pNew);
    else if (pNode->GetChildCount() >= kIndexThreshold)
        BuildChildIndex(pNode);
    IndexItem(pNew);

    if (!m_bResetting)
        for (ILocationTreeObserver* p : m_observers)
            p->Inserted(pNew);
    return pNew;
}

void CLocationTree::DeleteItem(CLocationTreeItem* pItem)
{
    if (!pItem || pItem == &m_root)
        return;
    CLocationTreeItem* pNode = pItem->m_pParent;
    CLocationTreeItem* pParent = pItem->GetParent();
    const int nRow = pItem->m_nRow;

    bool bSelectionInside = false;
    for (const CLocationTreeItem* p = m_pSelected; p; p = p->m_pParent) {
        if (p == pItem) {
            bSelectionInside = true;
            break;
        }
    }

    if (!m_bResetting)
        for (ILocationTreeObserver* p : m_observers)
            p->AboutToRemove(pParent, nRow);
    if (bSelectionInside)
        m_pSelected = nullptr;

    UnindexSubtree(pItem);
    RemoveFromChildIndex(pNode, pItem);
    pNode->m_children.erase(pNode->m_children.begin() + nRow);
    for (size_t i = static_cast<size_t>(nRow); i < pNode->m_children.size(); ++i)
        pNode->m_children[i]->m_nRow = static_cast<int>(i);

    if (!m_bResetting)
        for (ILocationTreeObserver* p : m_observers)
            p->Removed(pParent, nRow);

    if (bSelectionInside) {
        // As the platform's tree control does: the next sibling, else the
        // previous one, else the parent takes the selection.
        CLocationTreeItem* pNext = pNode->GetChild(nRow);
        if (!pNext)
            pNext = pNode->GetChild(nRow - 1);
        if (!pNext)
            pNext = pParent;
        m_pSelected = nullptr;
        if (pNext)
            SelectItem(pNext);
        else if (!m_bResetting)
            for (ILocationTreeObserver* p : m_observers)
                p->SelectionChanged(nullptr);
    }
}

void CLocationTree::SetItemText(CLocationTreeItem* pItem, const QString& strText)
{
    if (!pItem || pItem == &m_root)
        return;
    RemoveFromChildIndex(pItem->m_pParent, pItem);
    pItem->m_strText = strText;
    AddToChildIndex(pItem->m_pParent, pItem);
    if (!m_bResetting)
        for (ILocationTreeObserver* p : m_observers)
            p->Changed(pItem);
}

void CLocationTree::SetItemImage(CLocationTreeItem* pItem, int nImage)
{
    if (!pItem || pItem == &m_root)
        return;
    pItem->m_nImage = nImage;
    if (!m_bResetting)
        for (ILocationTreeObserver* p : m_observers)
            p->Changed(pItem);
}

void CLocationTree::ChangeData(CLocationTreeItem* pItem, const TreeItemData& data)
{
    // Which indexes hold the item, and its children, may depend on every
    // field: take them out, change, put them back.
    RemoveFromChildIndex(pItem->m_pParent, pItem);
    UnindexSubtree(pItem);
    pItem->m_data = data;
    AddToChildIndex(pItem->m_pParent, pItem);
    IndexItem(pItem);
    if (IsTopLevel(pItem)) {
        for (const auto& pChild : pItem->m_children)
            IndexItem(pChild.get());
    }
}

void CLocationTree::SetItemData(CLocationTreeItem* pItem, const TreeItemData& data)
{
    if (!pItem || pItem == &m_root)
        return;
    ChangeData(pItem, data);
    if (!m_bResetting)
        for (ILocationTreeObserver* p : m_observers)
            p->Changed(pItem);
}

void CLocationTree::ClearItems()
{
    m_pSelected = nullptr;
    m_locations.clear();
    m_groups.clear();
    m_unassignedNodes.clear();
    m_root.m_children.clear();
    m_root.m_pIndex.reset();
}

void CLocationTree::Clear()
{
    const bool bHadSelection = m_pSelected != nullptr;
    for (ILocationTreeObserver* p : m_observers)
        p->AboutToReset();
    ClearItems();
    for (ILocationTreeObserver* p : m_observers)
        p->Reset();
    if (bHadSelection)
        for (ILocationTreeObserver* p : m_observers)
            p->SelectionChanged(nullptr);
}

// --- selection --------------------------------------------------------------

void CLocationTree::SelectItem(CLocationTreeItem* pItem)
{
    if (pItem == &m_root)
        pItem = nullptr;
    if (pItem == m_pSelected)
        return;
    m_pSelected = pItem;
    for (ILocationTreeObserver* p : m_observers)
        p->SelectionChanged(pItem);
}

void CLocationTree::SelectChild(int n)
{
    if (!m_pSelected)
        return;
    if (CLocationTreeItem* p = m_pSelected->GetChild(n))
        SelectItem(p);
}

ShowResultArgs CLocationTree::GetShowResultArgs(const CLocationTreeItem* pItem)
{
    ShowResultArgs args;
    if (!pItem || pItem->m_data.m_bIsContainer)
        return args;
    const TreeItemData& d = pItem->m_data;
    args.m_nKind = d.m_nKind;
    args.m_strName = d.m_strName;
    args.m_strDate = d.m_strDate;
    args.m_strTime = d.m_strTime;
    args.m_strPlaceNo = d.m_strPlaceNo;
    // A sample's label may carry its time; the view wants the bare number.
    args.m_strText = d.m_nKind == ResultKind::Sample ? QString::number(LeadingInteger(pItem->m_strText))
                                                     : pItem->m_strText;
    return args;
}

// --- names ------------------------------------------------------------------

int CLocationTree::CompareNames(const QString& strA, const QString& strB)
{
    return QString::localeAwareCompare(strA.toCaseFolded(), strB.toCaseFolded());
}

int CLocationTree::LeadingInteger(const QString& strText)
{
    return ParseInt(strText);
}

// --- tree operations -----------------------------------------------------------

int CLocationTree::FindInsertPosition(const QString& strName, ResultKind nKind, const CLocationTreeItem* pParent) const
{
    const CLocationTreeItem* pNode = Node(pParent);
    const bool bRoot = pParent == nullptr;
    const int nCount = pNode->GetChildCount();
    if (nKind != ResultKind::Group && nKind != ResultKind::Location)
        return nCount;

    // A sibling the new item goes after.
    auto passes = [&](const CLocationTreeItem* p) {
        const ResultKind k = p->m_data.m_nKind;
        if (nKind == ResultKind::Location && bRoot && k == ResultKind::Group)
            return true;
        return k == nKind && CompareNames(p->m_data.m_strName, strName) < 0;
    };
    // A sibling the new item goes straight before; any other kind sends it
    // to the end.
    auto stops = [&](const CLocationTreeItem* p) {
        const ResultKind k = p->m_data.m_nKind;
        if (nKind == ResultKind::Group)
            return k == ResultKind::Group || k == ResultKind::Location || k == ResultKind::Unassigned;
        if (bRoot)
            return k == ResultKind::Location || k == ResultKind::Unassigned;
        return k == ResultKind::Location;
    };

    // The walk passes a leading run of siblings and stops at the first one it
    // must not pass. Siblings are kept in this order by every insertion, so
    // the run is found by halving rather than by walking: a thousand
    // locations in one group cost ten comparisons each, not a thousand.
    int nLow = 0;
    int nHigh = nCount;
    while (nLow < nHigh) {
        const int nMid = nLow + (nHigh - nLow) / 2;
        if (passes(pNode->m_children[static_cast<size_t>(nMid)].get()))
            nLow = nMid + 1;
        else
            nHigh = nMid;
    }
    if (nLow == nCount)
        return nCount;
    return stops(pNode->m_children[static_cast<size_t>(nLow)].get()) ? nLow : nCount;
}

CLocationTreeItem* CLocationTree::FindLocationItem(const QString& strId) const
{
    const auto it = m_locations.constFind(strId);
    return it == m_locations.cend() ? nullptr : FirstInTreeOrder(*it);
}

CLocationTreeItem* CLocationTree::FindGroupItem(const QString& strName) const
{
    if (strName.isEmpty())
        return nullptr;
    const auto it = m_groups.constFind(strName);
    return it == m_groups.cend() ? nullptr : FirstInTreeOrder(*it);
}

CLocationTreeItem* CLocationTree::FindUnassignedLocationItem(const QString& strId) const
{
    CLocationTreeItem* pNode = FirstInTreeOrder(m_unassignedNodes);
    if (!pNode)
        return nullptr;
    return FindChildByName(pNode, strId, [](const CLocationTreeItem* p) { return IsNamedLocation(p->m_data); });
}

CLocationTreeItem* CLocationTree::GetUnassignedNode()
{
    if (CLocationTreeItem* p = FirstInTreeOrder(m_unassignedNodes))
        return p;
    TreeItemData d;
    d.m_nKind = ResultKind::Unassigned;
    d.m_bIsContainer = true;
    return InsertItem(nullptr, -1, LoadString(IDS_UNASSIGNED_RESULTS), TreeImage::Unassigned, d);
}

CLocationTreeItem* CLocationTree::GetKindFolder(CLocationTreeItem* pLocation, ResultKind nKind, const QString& strId,
                                                bool bUnassigned)
{
    if (bUnassigned)
        pLocation = UnassignedLocationItem(pLocation, strId);
    if (CLocationTreeItem* pFolder = FindChildByKind(Node(pLocation), nKind, true))
        return pFolder;
    TreeItemData d;
    d.m_nKind = nKind;
    d.m_bIsContainer = true;
    return InsertItem(pLocation, -1, KindTitle(nKind), KindFolderImage(nKind), d);
}

CLocationTreeItem* CLocationTree::UnassignedLocationItem(CLocationTreeItem* pNode, const QString& strId)
{
    if (CLocationTreeItem* p =
            FindChildByName(Node(pNode), strId, [](const CLocationTreeItem* p) { return IsNamedLocation(p->m_data); }))
        return p;
    TreeItemData d;
    d.m_strName = strId;
    d.m_nKind = ResultKind::Location;
    d.m_bIsContainer = true;
    d.m_bIsUnassigned = true;
    return InsertItem(pNode, FindInsertPosition(strId, ResultKind::Location, pNode), strId, TreeImage::LocationOK, d);
}

CLocationTreeItem* CLocationTree::AddResultItem(CLocationTreeItem* pFolder, const TreeItemData& data)
{
    const QString strText = data.m_strDate + u' ' + data.m_strTime;
    if (CLocationTreeItem* pExisting = FindChildByText(Node(pFolder), strText)) {
        TreeItemData d = pExisting->m_data;
        d.m_strPlaceNo = data.m_strPlaceNo;
        SetItemData(pExisting, d);
        return pExisting;
    }
    return InsertItem(pFolder, -1, strText, TreeImage::Result, data);
}

CLocationTreeItem* CLocationTree::CopyItem(const CLocationTreeItem* pItem, CLocationTreeItem* pNewParent, int nRow)
{
    if (!pItem || pItem == &m_root)
        return nullptr;
    // Copy first: the insertion may move the source within its own list.
    const QString strText = pItem->m_strText;
    const TreeItemData data = pItem->m_data;
    return InsertItem(pNewParent, nRow, strText, pItem->m_nImage, data);
}

void CLocationTree::MoveChildren(CLocationTreeItem* pFrom, CLocationTreeItem* pTo, const QString& strNewName,
                                 bool bUnassigned)
{
    CLocationTreeItem* pSource = Node(pFrom);
    CLocationTreeItem* pTarget = Node(pTo);
    // Into itself or its own subtree it would never end.
    for (const CLocationTreeItem* p = pTarget; p; p = p->m_pParent)
        if (p == pSource)
            return;

    // Copy every child with its subtree, then drop the originals from the
    // back: the same end as moving the first child over and over, without
    // shifting a long list once per child.
    CLocationTreeItem* pSelectedCopy = nullptr;
    auto copy = [&](auto& self, CLocationTreeItem* pFromNode, CLocationTreeItem* pToItem) -> void {
        Ensure(pFromNode);
        for (const auto& pChild : pFromNode->m_children) {
            TreeItemData d = pChild->m_data;
            d.m_bIsUnassigned = bUnassigned;
            if (!strNewName.isEmpty())
                d.m_strName = strNewName;
            CLocationTreeItem* pCopy = InsertItem(pToItem, -1, pChild->m_strText, pChild->m_nImage, d);
            if (pChild.get() == m_pSelected)
                pSelectedCopy = pCopy;
            self(self, pChild.get(), pCopy);
        }
    };
    copy(copy, pSource, pTarget == &m_root ? nullptr : pTarget);

    // The selection follows a moved item to its copy.
    if (pSelectedCopy)
        SelectItem(pSelectedCopy);
    while (!pSource->m_children.empty())
        DeleteItem(pSource->m_children.back().get());
}

void CLocationTree::RenameResultItems(CLocationTreeItem* pItem, const QString& strOldId, const QString& strNewId)
{
    if (!pItem)
        return;
    auto rename = [&](auto& self, CLocationTreeItem* pNode) -> void {
        Ensure(pNode);
        for (const auto& pChild : pNode->m_children) {
            if (!pChild->m_data.m_bIsContainer && pChild->m_data.m_strName == strOldId) {
                TreeItemData d = pChild->m_data;
                d.m_strName = strNewId;
                SetItemData(pChild.get(), d);
            }
            self(self, pChild.get());
        }
    };
    rename(rename, pItem);
}

void CLocationTree::PruneEmptyParents(CLocationTreeItem* pItem, bool bStopAtLocation)
{
    while (pItem && pItem != &m_root) {
        const ResultKind nKind = pItem->m_data.m_nKind;
        if (nKind == ResultKind::Group || (nKind == ResultKind::Location && bStopAtLocation) || pItem->HasChildren())
            return;
        CLocationTreeItem* pParent = pItem->GetParent();
        DeleteItem(pItem);
        pItem = pParent;
    }
}

void CLocationTree::DeleteSubtree(CLocationTreeItem* pItem)
{
    if (!pItem || pItem == &m_root)
        return;
    // Made first, so that the observers are told of each removal.
    Ensure(pItem);
    // From the back, so that the list never shifts.
    while (!pItem->m_children.empty())
        DeleteItem(pItem->m_children.back().get());
}

// --- filling ----------------------------------------------------------------

void CLocationTree::RebuildTree(CXMLDocument& xmlMain, CXMLDocument& xmlResult)
{
    const bool bHadSelection = m_pSelected != nullptr;
    for (ILocationTreeObserver* p : m_observers)
        p->AboutToReset();
    m_bResetting = true;
    ClearItems();

    CLocationTreeItem* pFirst = nullptr;
    bool bFailed = false;
    try {
        if (xmlMain.IsValid())
            FillFromMain(xmlMain, pFirst);
        NoteResults(xmlResult);
    } catch (const CXMLException& e) {
        ClearItems();
        pFirst = nullptr;
        bFailed = true;
        m_bResetting = false;
        for (ILocationTreeObserver* p : m_observers)
            p->Reset();
        if (bHadSelection)
            for (ILocationTreeObserver* p : m_observers)
                p->SelectionChanged(nullptr);
        e.ReportError(MsgIcon::None);
    }
    if (bFailed)
        return;

    m_bResetting = false;
    for (ILocationTreeObserver* p : m_observers)
        p->Reset();
    if (pFirst)
        SelectItem(pFirst);
    else if (bHadSelection)
        for (ILocationTreeObserver* p : m_observers)
            p->SelectionChanged(nullptr);
}

void CLocationTree::NoteResults(CXMLDocument& xmlResult)
{
    m_pResultDoc = &xmlResult;
    m_nNotedLoad = xmlResult.GetLoadGeneration();
    m_nNotedRemove = xmlResult.GetRemoveGeneration();
    if (!xmlResult.IsValid())
        return;
    // The results are the "Result" children of the root element.
    const pugi::xml_node root = xmlResult.GetDocumentElement();
    if (!root)
        throw CXMLException(IDS_XML_DOCUMENT_ELEMENT);

    // Each result's "ID" and "Function" are read first. That reads the
    // whole file's memory once, so a large file is shared out between two
    // threads; filing the results stays on this one, in file order.
    std::vector<pugi::xml_node> results;
    for (pugi::xml_node r = root.child("Result"); r; r = r.next_sibling("Result"))
        results.push_back(r);
    constexpr size_t kSharedFrom = 2000;
    const size_t nHalf = results.size() >= kSharedFrom ? results.size() / 2 : results.size();
    CResultSurvey parts[2];
    std::exception_ptr secondFailure;
    std::thread second;
    if (nHalf < results.size())
        second = std::thread([&] {
            try {
                parts[1].Read(results.data() + nHalf, results.data() + results.size());
            } catch (...) {
                secondFailure = std::current_exception();
            }
        });
    {
        const auto joinSecond = qScopeGuard([&second] {
            if (second.joinable())
                second.join();
        });
        parts[0].Read(results.data(), results.data() + nHalf);
    }
    if (secondFailure)
        std::rethrow_exception(secondFailure);

    // Where the results of one ID go, found once per ID.
    struct Target
    {
        QString m_strId;
        CLocationTreeItem* m_pHome = nullptr;
        CLocationTreeItem* m_pItem = nullptr;
    };
    std::unordered_map<std::string_view, Target> targets;
    for (CResultSurvey& part : parts) {
        // Each of the part's IDs, found when its first result comes.
        std::vector<Target*> ofNumber(part.m_ids.size(), nullptr);
        for (const CResultSurvey::Result& result : part.m_results) {
            Target*& pTarget = ofNumber[result.m_nId];
            if (!pTarget) {
                const std::string_view idText = part.m_ids[result.m_nId];
                auto [it, bNew] = targets.try_emplace(idText);
                pTarget = &it->second;
                if (bNew) {
                    Target& t = it->second;
                    t.m_strId = QString::fromUtf8(idText.data(), static_cast<qsizetype>(idText.size()));
                    t.m_pHome = FindLocationItem(t.m_strId);
                    if (!t.m_pHome) {
                        // Made even for a result of no known kind: its ID
                        // still has no location.
                        t.m_pHome = GetUnassignedNode();
                    } else {
                        t.m_pItem = t.m_pHome;
                    }
                }
            }
            if (!result.m_kind)
                continue;
            Target& t = *pTarget;
            if (!t.m_pItem)
                t.m_pItem = UnassignedLocationItem(t.m_pHome, t.m_strId);
            if (!t.m_pItem->m_pPending)
                t.m_pItem->m_pPending = std::make_unique<CLocationTreeItem::Pending>(this);
            t.m_pItem->m_pPending->m_results.push_back(result.m_element);
        }
    }
}

void CLocationTree::Complete(CLocationTreeItem* pItem)
{
    if (!pItem || !pItem->m_pPending)
        return;
    const std::unique_ptr<CLocationTreeItem::Pending> pPending = std::move(pItem->m_pPending);
    // Noted elements may have been taken out of a changed file: the item
    // takes the results the file holds now, from the document's index, if
    // they still go here.
    if (m_pResultDoc && !NotesCurrent()) {
        pPending->m_results.clear();
        const QString& strId = pItem->m_data.m_strName;
        const CLocationTreeItem* pHome = FindLocationItem(strId);
        if (m_pResultDoc->IsValid() && (pItem->m_data.m_bIsUnassigned ? !pHome : pHome == pItem))
            pPending->m_results = m_pResultDoc->ResultElementsOf(strId);
    }
    // The observers never saw the item without these children.
    const auto restore = qScopeGuard([this, bWas = m_bResetting] { m_bResetting = bWas; });
    m_bResetting = true;
    ResultFields::Recent recent;
    for (pugi::xml_node r : pPending->m_results) {
        const ResultFields result(r, recent);
        const std::optional<ResultKind> kind = KindOfFunction(result.m_strFunction);
        // The file changed in between: a result is only shown where a
        // rebuild would show it.
        if (!kind || result.m_strID != pItem->m_data.m_strName)
            continue;
        const TreeItemData d = ResultRecord(result, *kind, pItem->m_data.m_strName, pItem->m_data.m_bIsUnassigned);
        AddResultIn(GetKindFolder(pItem, *kind, d.m_strName, false), d, result);
    }
}

bool CLocationTree::NotesCurrent() const
{
    return m_pResultDoc->GetLoadGeneration() == m_nNotedLoad && m_pResultDoc->GetRemoveGeneration() == m_nNotedRemove;
}

bool CLocationTree::GetNotedResults(const CLocationTreeItem* pLocation, std::vector<pugi::xml_node>& results) const
{
    if (pLocation->m_data.m_nKind == ResultKind::Group) {
        for (const auto& pChild : pLocation->m_children)
            if (!GetNotedResults(pChild.get(), results))
                return false;
        return true;
    }
    if (!pLocation->m_pPending)
        return !pLocation->HasChildren();
    if (!m_pResultDoc || !NotesCurrent())
        return false;
    const std::vector<pugi::xml_node>& noted = pLocation->m_pPending->m_results;
    results.insert(results.end(), noted.begin(), noted.end());
    return true;
}

void CLocationTree::CompleteAll()
{
    // Only locations wait: at the root, in groups and under the unassigned node.
    for (size_t i = 0; i < m_root.m_children.size(); ++i) {
        CLocationTreeItem* pTop = m_root.m_children[i].get();
        Complete(pTop);
        for (size_t k = 0; k < pTop->m_children.size(); ++k)
            Complete(pTop->m_children[k].get());
    }
}

void CLocationTree::AddResultsOfId(CXMLDocument& xmlResult, const QString& strId)
{
    // The results whose first "ID" holds the text, from the document's index.
    ResultFields::Recent recent;
    for (pugi::xml_node r : xmlResult.ResultElementsOf(strId))
        AddResult(ResultFields(r, recent));
}

void CLocationTree::FillFromMain(CXMLDocument& xmlMain, CLocationTreeItem*& pFirst)
{
    const pugi::xml_node root = xmlMain.GetDocumentElement();
    if (!root)
        throw CXMLException(IDS_XML_DOCUMENT_ELEMENT);
    auto addLocations = [&](pugi::xml_node parent, CLocationTreeItem* pParent) {
        for (pugi::xml_node main = parent.child("Main"); main; main = main.next_sibling("Main")) {
            if (main.type() != pugi::node_element)
                continue;
            TreeItemData d;
            d.m_strName = GeneralField(main, "ID");
            d.m_nKind = ResultKind::Location;
            d.m_bIsContainer = true;
            const int nImage =
                GeneralField(main, "State") == QLatin1String("OK") ? TreeImage::LocationOK : TreeImage::Location;
            CLocationTreeItem* pItem =
                InsertItem(pParent, FindInsertPosition(d.m_strName, ResultKind::Location, pParent), d.m_strName,
                           nImage, d);
            if (!pFirst)
                pFirst = pItem;
        }
    };

    // Groups do not nest: the groups are the children of the root element.
    for (pugi::xml_node group = root.child("Group"); group; group = group.next_sibling("Group")) {
        if (group.type() != pugi::node_element)
            continue;
        TreeItemData d;
        d.m_strName = QString::fromUtf8(group.attribute("Name").value());
        d.m_nKind = ResultKind::Group;
        d.m_bIsContainer = true;
        CLocationTreeItem* pGroup =
            InsertItem(nullptr, FindInsertPosition(d.m_strName, ResultKind::Group, nullptr), d.m_strName,
                       TreeImage::Group, d);
        if (!pFirst)
            pFirst = pGroup;
        addLocations(group, pGroup);
    }

    // The locations in no group are the "Main" children of the root element.
    addLocations(root, nullptr);
}

TreeItemData CLocationTree::ResultRecord(const ResultFields& result, ResultKind nKind, const QString& strName,
                                         bool bUnassigned)
{
    TreeItemData d;
    d.m_strName = strName;
    d.m_nKind = nKind;
    d.m_bIsUnassigned = bUnassigned;
    d.m_strDate = result.m_strDate;
    d.m_strTime = result.m_strTime;
    d.m_strPlaceNo = result.m_strPlaceNo;
    return d;
}

void CLocationTree::AddResult(const ResultFields& result)
{
    CLocationTreeItem* pLocation = FindLocationItem(result.m_strID);
    const bool bUnassigned = !pLocation;
    // Made even for a result of no known kind: its ID still has no location.
    if (bUnassigned)
        pLocation = GetUnassignedNode();
    const std::optional<ResultKind> kind = KindOfFunction(result.m_strFunction);
    if (!kind)
        return;
    // The same text as the location's: held once.
    const TreeItemData d =
        ResultRecord(result, *kind, bUnassigned ? result.m_strID : pLocation->m_data.m_strName, bUnassigned);
    AddResultIn(GetKindFolder(pLocation, *kind, d.m_strName, bUnassigned), d, result);
}

void CLocationTree::AddResultIn(CLocationTreeItem* pFolder, const TreeItemData& d, const ResultFields& result)
{
    CLocationTreeItem* pItem = AddResultItem(pFolder, d);
    if (d.m_nKind == ResultKind::ContinueValue) {
        AddSamples(pItem, result);
    } else if (KindHasPlaceNumbers(d.m_nKind) && !d.m_strPlaceNo.isEmpty()) {
        // One result item per ID, date and time; its place numbers hang
        // below it, each child keeping its own.
        const TreeItemData withPlace = pItem->m_data;
        TreeItemData own = withPlace;
        own.m_strPlaceNo.clear();
        ChangeData(pItem, own);
        InsertItem(pItem, -1, withPlace.m_strPlaceNo, TreeImage::PlaceNo, withPlace);
    }
}

void CLocationTree::AddSamples(CLocationTreeItem* pItem, const ResultFields& result)
{
    const QString& strInterval = result.m_strTimeInterval;
    const bool bTimes = !strInterval.isEmpty();
    QDateTime current;
    qint64 nStep = 0;
    if (bTimes) {
        // "count;unit" with s, m or h; any other unit keeps every sample at
        // the start time.
        const qsizetype nSemicolon = strInterval.indexOf(u';');
        const qint64 nCount = LeadingInteger(nSemicolon < 0 ? strInterval : strInterval.left(nSemicolon));
        const QString strUnit = nSemicolon < 0 ? QString() : strInterval.mid(nSemicolon + 1);
        if (strUnit == QLatin1String("s"))
            nStep = nCount;
        else if (strUnit == QLatin1String("m"))
            nStep = nCount * 60;
        else if (strUnit == QLatin1String("h"))
            nStep = nCount * 3600;
        current = ParseStartTime(result.m_strDate, result.m_strTime);
    }

    TreeItemData d = pItem->m_data;
    d.m_nKind = ResultKind::Sample;
    for (const QString& strNo : result.m_sampleNos) {
        QString strLabel = strNo;
        // A start that cannot be read gives bare numbers rather than a
        // made-up time.
        if (bTimes && current.isValid()) {
            strLabel += QStringLiteral(" (") + SampleTime(current) + u')';
            current = current.addSecs(nStep);
        }
        InsertItem(pItem, -1, strLabel, TreeImage::Sample, d);
    }
}
