#pragma once

#include "../common/TestSupport.h"
#include "locations/LocationTree.h"
#include "locations/TreeFilter.h"

#include <QHash>
#include <QRandomGenerator>
#include <QString>

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

// Labels nested in braces, the selected one starred: "A{l1,l2*},b"; with a
// search, of the items it keeps.
inline QString Outline(const CLocationTree& tree, const CTreeFilter* pFilter = nullptr,
                       const CLocationTreeItem* pParent = nullptr)
{
    QStringList parts;
    for (int i = 0; i < tree.GetChildCount(pParent); ++i)
        if (const CLocationTreeItem* p = tree.GetChild(pParent, i); !pFilter || pFilter->Accepts(p))
            parts << p->GetText() + (p == tree.GetSelectedItem() ? QStringLiteral("*") : QString())
                         + (p->HasChildren() ? u'{' + Outline(tree, pFilter, p) + u'}' : QString());
    return parts.join(u',');
}

// Follows the tree from its notifications alone, as an item model would,
// and checks each notification against the tree's state at that moment.
class CMirror : public ILocationTreeObserver
{
public:
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
        Check(Children(pParent).size() == m_tree.GetChildCount(pParent), "count before insert");
        Begin(pParent, nRow);
    }
    void Inserted(CLocationTreeItem* pItem) override
    {
        Check(m_bPending, "Inserted without AboutToInsert");
        Check(pItem->GetParent() == m_pParent && pItem->GetRow() == m_nRow, "inserted elsewhere");
        Check(!pItem->HasChildren(), "inserted with children");
        m_bPending = false;
        Children(m_pParent).insert(m_nRow, pItem);
        m_shown.insert(pItem, Shown(pItem));
        ++m_nInserts;
    }
    void AboutToRemove(CLocationTreeItem* pParent, int nRow) override
    {
        Check(!m_bPending, "removal nested in another change");
        const QList<CLocationTreeItem*>& children = Children(pParent);
        Check(nRow >= 0 && nRow < children.size() && m_tree.GetChild(pParent, nRow) == children.at(nRow),
              "removes another item");
        Begin(pParent, nRow);
    }
    void Removed(CLocationTreeItem* pParent, int nRow) override
    {
        Check(m_bPending && pParent == m_pParent && nRow == m_nRow, "Removed does not match");
        m_bPending = false;
        if (nRow >= 0 && nRow < Children(pParent).size())
            Forget(Children(pParent).takeAt(nRow));
        Check(Children(pParent).size() == m_tree.GetChildCount(pParent), "count after remove");
    }
    void Changed(CLocationTreeItem* pItem) override
    {
        Check(m_shown.contains(pItem), "change of an unknown item");
        if (m_shown.contains(pItem))
            m_shown.insert(pItem, Shown(pItem));
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
        Check(!pItem || m_shown.contains(pItem), "selected item unknown");
        m_selections.append(pItem);
    }

    // Empty when the mirror equals the tree.
    QString Compare() const { return m_strError.isEmpty() ? CompareChildren(nullptr) : m_strError; }

    QList<CLocationTreeItem*> m_selections;
    int m_nInserts = 0;
    int m_nResets = 0;

private:
    // What a view shows of an item.
    static QPair<QString, int> Shown(const CLocationTreeItem* p) { return {p->GetText(), p->GetImage()}; }

    void Check(bool b, const char* psz)
    {
        if (!b && m_strError.isEmpty())
            m_strError = QString::fromLatin1(psz);
    }
    QList<CLocationTreeItem*>& Children(CLocationTreeItem* pParent)
    {
        Check(!pParent || m_shown.contains(pParent), "unknown parent");
        return m_children[pParent];
    }
    void Begin(CLocationTreeItem* pParent, int nRow)
    {
        m_bPending = true;
        m_pParent = pParent;
        m_nRow = nRow;
    }
    void Forget(CLocationTreeItem* pItem)
    {
        m_shown.remove(pItem);
        for (CLocationTreeItem* p : m_children.take(pItem))
            Forget(p);
    }
    void Reload()
    {
        m_children.clear();
        m_shown.clear();
        Add(nullptr);
    }
    void Add(CLocationTreeItem* pParent)
    {
        for (int i = 0; i < m_tree.GetChildCount(pParent); ++i) {
            CLocationTreeItem* p = m_tree.GetChild(pParent, i);
            m_children[pParent].append(p);
            m_shown.insert(p, Shown(p));
            Add(p);
        }
    }
    QString CompareChildren(CLocationTreeItem* pParent) const
    {
        const QList<CLocationTreeItem*> children = m_children.value(pParent);
        if (children.size() != m_tree.GetChildCount(pParent))
            return QStringLiteral("child count differs under %1")
                .arg(pParent ? pParent->GetText() : QStringLiteral("root"));
        for (int i = 0; i < children.size(); ++i) {
            CLocationTreeItem* p = m_tree.GetChild(pParent, i);
            if (children.at(i) != p || m_shown.value(p) != Shown(p))
                return QStringLiteral("item differs at %1 row %2").arg(p->GetText()).arg(i);
            if (p->GetRow() != i)
                return QStringLiteral("row of %1 is %2, not %3").arg(p->GetText()).arg(p->GetRow()).arg(i);
            if (const QString s = CompareChildren(p); !s.isEmpty())
                return s;
        }
        return {};
    }

    CLocationTree& m_tree;
    // The children of each item, the root's under null, and what each item
    // showed when it was last told about.
    QHash<CLocationTreeItem*, QList<CLocationTreeItem*>> m_children;
    QHash<CLocationTreeItem*, QPair<QString, int>> m_shown;
    bool m_bPending = false;
    bool m_bInReset = false;
    CLocationTreeItem* m_pParent = nullptr;
    int m_nRow = 0;
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
