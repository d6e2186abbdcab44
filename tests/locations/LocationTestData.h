#pragma once

#include "../common/TestSupport.h"
#include "locations/LocationTree.h"
#include "locations/TreeFilter.h"

#include <QHash>
#include <QRandomGenerator>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

// A small pair of data files with everything the commands meet: groups,
// locations in no group, results of unknown IDs, results sharing date and
// time, place numbers, continuous series. Every result carries a serial
// number of its own in "Serial", so that a test can tell results apart.
inline void WriteLocationTestFiles(const QString& strMain, const QString& strResult, quint32 nSeed = 7)
{
    QRandomGenerator rnd(nSeed);
    QByteArray main = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<Main-Data>\r\n";
    auto loc = [&](int i) {
        return "<Main>\r\n<General>\r\n<ID>L" + QByteArray::number(i) + "</ID>\r\n<State>" + (i % 3 ? "OK" : "")
               + "</State>\r\n</General>\r\n<Customer>\r\n<Name>K&amp;" + QByteArray::number(i)
               + "</Name>\r\n</Customer>\r\n</Main>\r\n";
    };
    for (int g = 0; g < 3; ++g) {
        main += "<Group Name=\"G" + QByteArray::number(g) + "\">\r\n";
        for (int i = g * 4; i < g * 4 + 4; ++i)
            main += loc(i);
        main += "</Group>\r\n";
    }
    for (int i = 12; i < 16; ++i)
        main += loc(i);
    main += "</Main-Data>\r\n";

    static const char* const kFunctions[] = {"Value-Measurement", "Vector-Measurement", "Error-Measurement",
                                             "Register-Test", "Continue-Value-Measurement", "Harmonics-Measurement"};
    QByteArray result = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<Result-Data>\r\n";
    for (int n = 0; n < 90; ++n) {
        // L16 to L19 have no location.
        const int nLoc = static_cast<int>(rnd.bounded(20));
        const char* pszFunction = kFunctions[rnd.bounded(6)];
        const QByteArray function(pszFunction);
        result += "<Result>\r\n<ID>L" + QByteArray::number(nLoc) + "</ID>\r\n<Serial>" + QByteArray::number(n)
                  + "</Serial>\r\n<Date>0" + QByteArray::number(1 + rnd.bounded(3)) + ".05.2024</Date>\r\n<Time>10:0"
                  + QByteArray::number(rnd.bounded(3)) + ":00</Time>\r\n<Function>" + function + "</Function>\r\n";
        if ((function == "Error-Measurement" || function == "Register-Test") && rnd.bounded(3))
            result += "<Place-No>" + QByteArray::number(1 + rnd.bounded(3)) + "</Place-No>\r\n";
        if (function == "Continue-Value-Measurement")
            result += "<Time-Interval>15;s</Time-Interval>\r\n<Value-Measurement>\r\n<No>1</No>\r\n</Value-Measurement>\r\n"
                      "<Value-Measurement>\r\n<No>2</No>\r\n</Value-Measurement>\r\n";
        result += "<Remark>r</Remark>\r\n</Result>\r\n";
    }
    result += "</Result-Data>\r\n";
    WriteBytes(strMain, main);
    WriteBytes(strResult, result);
}

// One line per item in pre-order: depth, text, image and the whole record.
inline QStringList DumpTree(const CLocationTree& tree)
{
    QStringList lines;
    for (const CLocationTreeItem* p = tree.GetFirstItem(); p; p = tree.NextItem(p)) {
        int nDepth = 0;
        for (const CLocationTreeItem* q = p->GetParent(); q; q = q->GetParent())
            ++nDepth;
        const TreeItemData& d = p->GetData();
        lines << QStringLiteral("%1%2 [%3] %4 k%5 c%6 u%7 %8 %9 p%10")
                     .arg(QString(nDepth * 2, u' '), p->GetText())
                     .arg(p->GetImage())
                     .arg(d.m_strName)
                     .arg(ToInt(d.m_nKind))
                     .arg(d.m_bIsContainer)
                     .arg(d.m_bIsUnassigned)
                     .arg(d.m_strDate, d.m_strTime, d.m_strPlaceNo);
    }
    return lines;
}

// Labels nested in braces, "A{l1,l2},b", of the items a search keeps.
inline QString FilteredOutline(const CLocationTree& tree, const CTreeFilter& filter, const CLocationTreeItem* pParent = nullptr)
{
    QStringList parts;
    for (int i = 0; i < tree.GetChildCount(pParent); ++i)
        if (const CLocationTreeItem* p = tree.GetChild(pParent, i); filter.Accepts(p))
            parts << p->GetText() + (p->HasChildren() ? u'{' + FilteredOutline(tree, filter, p) + u'}' : QString());
    return parts.join(u',');
}

// Follows the tree from its notifications alone, as an item model would,
// and checks each notification against the tree's state at that moment.
class CMirror : public ILocationTreeObserver
{
public:
    struct Node
    {
        CLocationTreeItem* pItem = nullptr;
        QString strText;
        int nImage = 0;
        std::vector<std::unique_ptr<Node>> children;
    };

    explicit CMirror(CLocationTree& tree)
        : m_tree(tree)
    {
        m_tree.AddObserver(this);
        Reload();
    }
    ~CMirror() override { m_tree.RemoveObserver(this); }

    void AboutToInsert(CLocationTreeItem* pParent, int nRow) override
    {
        Check(!m_bPending, "insertion nested in another change");
        Check(nRow >= 0 && nRow <= m_tree.GetChildCount(pParent), "insert row out of range");
        Check(static_cast<int>(NodeOf(pParent)->children.size()) == m_tree.GetChildCount(pParent),
              "count before insert");
        m_bPending = true;
        m_pPendingParent = pParent;
        m_nPendingRow = nRow;
    }
    void Inserted(CLocationTreeItem* pItem) override
    {
        Check(m_bPending, "Inserted without AboutToInsert");
        Check(pItem->GetParent() == m_pPendingParent && pItem->GetRow() == m_nPendingRow, "inserted elsewhere");
        Check(!pItem->HasChildren(), "inserted with children");
        m_bPending = false;
        auto pNode = std::make_unique<Node>();
        pNode->pItem = pItem;
        pNode->strText = pItem->GetText();
        pNode->nImage = pItem->GetImage();
        m_nodes.insert(pItem, pNode.get());
        Node* pParent = NodeOf(m_pPendingParent);
        pParent->children.insert(pParent->children.begin() + m_nPendingRow, std::move(pNode));
        ++m_nInserts;
    }
    void AboutToRemove(CLocationTreeItem* pParent, int nRow) override
    {
        Check(!m_bPending, "removal nested in another change");
        Node* pNode = NodeOf(pParent);
        Check(nRow >= 0 && nRow < static_cast<int>(pNode->children.size()), "remove row out of range");
        Check(m_tree.GetChild(pParent, nRow) == pNode->children[static_cast<size_t>(nRow)]->pItem,
              "removes another item");
        m_bPending = true;
        m_pPendingParent = pParent;
        m_nPendingRow = nRow;
    }
    void Removed(CLocationTreeItem* pParent, int nRow) override
    {
        Check(m_bPending && pParent == m_pPendingParent && nRow == m_nPendingRow, "Removed does not match");
        m_bPending = false;
        Node* pNode = NodeOf(pParent);
        Forget(pNode->children[static_cast<size_t>(nRow)].get());
        pNode->children.erase(pNode->children.begin() + nRow);
        Check(static_cast<int>(pNode->children.size()) == m_tree.GetChildCount(pParent), "count after remove");
        ++m_nRemoves;
    }
    void Changed(CLocationTreeItem* pItem) override
    {
        Node* pNode = m_nodes.value(pItem);
        Check(pNode != nullptr, "change of an unknown item");
        if (pNode) {
            pNode->strText = pItem->GetText();
            pNode->nImage = pItem->GetImage();
        }
    }
    void AboutToReset() override { m_bInReset = true; }
    void Reset() override
    {
        Check(m_bInReset, "Reset without AboutToReset");
        m_bInReset = false;
        Reload();
        ++m_nResets;
    }
    void SelectionChanged(CLocationTreeItem* pItem) override
    {
        Check(!m_bInReset && !m_bPending, "selection told in the middle of a change");
        Check(pItem == m_tree.GetSelectedItem(), "selection told differs");
        Check(!pItem || m_nodes.contains(pItem), "selected item unknown");
        m_selections.append(pItem);
    }

    // Empty when the mirror equals the tree.
    QString Compare() const
    {
        if (!m_strError.isEmpty())
            return m_strError;
        return CompareNode(&m_root, nullptr);
    }

    QList<CLocationTreeItem*> m_selections;
    int m_nInserts = 0;
    int m_nRemoves = 0;
    int m_nResets = 0;

private:
    void Check(bool b, const char* psz)
    {
        if (!b && m_strError.isEmpty())
            m_strError = QString::fromLatin1(psz);
    }
    Node* NodeOf(CLocationTreeItem* pItem)
    {
        if (!pItem)
            return &m_root;
        Node* p = m_nodes.value(pItem);
        Check(p != nullptr, "unknown parent");
        return p ? p : &m_root;
    }
    void Forget(Node* pNode)
    {
        m_nodes.remove(pNode->pItem);
        for (const auto& c : pNode->children)
            Forget(c.get());
    }
    void Reload()
    {
        m_root.children.clear();
        m_nodes.clear();
        std::function<void(Node*, CLocationTreeItem*)> fill = [&](Node* pNode, CLocationTreeItem* pParent) {
            for (int i = 0; i < m_tree.GetChildCount(pParent); ++i) {
                CLocationTreeItem* p = m_tree.GetChild(pParent, i);
                auto pChild = std::make_unique<Node>();
                pChild->pItem = p;
                pChild->strText = p->GetText();
                pChild->nImage = p->GetImage();
                m_nodes.insert(p, pChild.get());
                fill(pChild.get(), p);
                pNode->children.push_back(std::move(pChild));
            }
        };
        fill(&m_root, nullptr);
    }
    QString CompareNode(const Node* pNode, CLocationTreeItem* pItem) const
    {
        const int nCount = m_tree.GetChildCount(pItem);
        if (static_cast<int>(pNode->children.size()) != nCount)
            return QStringLiteral("child count differs under %1")
                .arg(pItem ? pItem->GetText() : QStringLiteral("root"));
        for (int i = 0; i < nCount; ++i) {
            const Node* c = pNode->children[static_cast<size_t>(i)].get();
            CLocationTreeItem* p = m_tree.GetChild(pItem, i);
            if (c->pItem != p || c->strText != p->GetText() || c->nImage != p->GetImage())
                return QStringLiteral("item differs at %1 row %2").arg(p->GetText()).arg(i);
            if (p->GetRow() != i)
                return QStringLiteral("row of %1 is %2, not %3").arg(p->GetText()).arg(p->GetRow()).arg(i);
            const QString s = CompareNode(c, p);
            if (!s.isEmpty())
                return s;
        }
        return {};
    }

    CLocationTree& m_tree;
    Node m_root;
    QHash<CLocationTreeItem*, Node*> m_nodes;
    bool m_bPending = false;
    bool m_bInReset = false;
    CLocationTreeItem* m_pPendingParent = nullptr;
    int m_nPendingRow = 0;
    QString m_strError;
};

// The tree's look-ups by name against a walk in tree order: each finds the
// first item of its name, and names no item carries find nothing. The first
// disagreement, empty when there is none.
inline QString TreeIndexDisagreement(const CLocationTree& tree, const QStringList& absent)
{
    QHash<QString, const CLocationTreeItem*> groups, locations, unassigned;
    for (const CLocationTreeItem* p = tree.GetFirstItem(); p; p = tree.NextItem(p)) {
        const TreeItemData& d = p->GetData();
        if (d.m_nKind == ResultKind::Group && !p->GetParent())
            groups.insert(d.m_strName, groups.value(d.m_strName, p));
        else if (d.m_nKind == ResultKind::Location && d.m_bIsUnassigned)
            unassigned.insert(d.m_strName, unassigned.value(d.m_strName, p));
        else if (d.m_nKind == ResultKind::Location)
            locations.insert(d.m_strName, locations.value(d.m_strName, p));
    }
    for (const QString& s : absent + groups.keys() + locations.keys() + unassigned.keys()) {
        if (tree.FindGroupItem(s) != groups.value(s))
            return QStringLiteral("group ") + s;
        if (tree.FindLocationItem(s) != locations.value(s))
            return QStringLiteral("location ") + s;
        if (tree.FindUnassignedLocationItem(s) != unassigned.value(s))
            return QStringLiteral("unassigned ") + s;
    }
    return {};
}
