#pragma once

#include "locations/TreeItemData.h"

#include <QHash>
#include <QString>

#include <pugixml.hpp>

#include <memory>
#include <vector>

class CXMLDocument;

// One item of the location tree. Items are owned by the tree; a pointer to
// one stays valid until the tree deletes that item.
class CLocationTreeItem
{
public:
    CLocationTreeItem();
    ~CLocationTreeItem();

    const QString& GetText() const { return m_strText; }
    int GetImage() const { return m_nImage; }
    const TreeItemData& GetData() const { return m_data; }
    // Null for items at the root.
    CLocationTreeItem* GetParent() const;
    int GetRow() const { return m_nRow; }
    // The children of a location are made on the first call of either.
    int GetChildCount() const;
    // Null when out of range.
    CLocationTreeItem* GetChild(int nRow) const;
    // Answered without making the children.
    bool HasChildren() const { return !m_children.empty() || m_pPending; }
    // Whether the children are still to be made.
    bool IsPending() const { return m_pPending != nullptr; }
    CLocationTreeItem* GetFirstChild() const { return GetChild(0); }
    CLocationTreeItem* GetNextSibling() const;
    CLocationTreeItem* GetPrevSibling() const;

private:
    friend class CLocationTree;

    // Look-ups among many children by text, record name or kind. Made once
    // an item has enough children for a scan to matter, then kept up to date.
    struct ChildIndex
    {
        QHash<QString, std::vector<CLocationTreeItem*>> m_byText;
        QHash<QString, std::vector<CLocationTreeItem*>> m_byName;
        QHash<ResultKind, std::vector<CLocationTreeItem*>> m_byKind;
    };

    QString m_strText;
    int m_nImage = 0;
    TreeItemData m_data;
    CLocationTreeItem* m_pParent = nullptr;
    int m_nRow = 0;
    std::vector<std::unique_ptr<CLocationTreeItem>> m_children;
    std::unique_ptr<ChildIndex> m_pIndex;
    // The results of a location whose items are not made yet.
    struct Pending;
    std::unique_ptr<Pending> m_pPending;
    // Which of the tree's own indexes hold this item (bits of CLocationTree).
    unsigned m_nIndexed = 0;
};

// Told about every change of the tree, so that a view can follow it.
// Insertions and removals come one item (with its subtree) at a time; a null
// parent is the root. Between AboutToReset and Reset nothing else is told.
class ILocationTreeObserver
{
public:
    virtual ~ILocationTreeObserver() = default;
    virtual void AboutToInsert(CLocationTreeItem* pParent, int nRow) {}
    virtual void Inserted(CLocationTreeItem* pItem) {}
    virtual void AboutToRemove(CLocationTreeItem* pParent, int nRow) {}
    virtual void Removed(CLocationTreeItem* pParent, int nRow) {}
    // Text, image or record of the item changed.
    virtual void Changed(CLocationTreeItem* pItem) {}
    virtual void AboutToReset() {}
    virtual void Reset() {}
    // Null when nothing is selected any more.
    virtual void SelectionChanged(CLocationTreeItem* pItem) {}
};

// What the result view is to show for a selected item.
struct ShowResultArgs
{
    ResultKind m_nKind = ResultKind::Nothing;
    QString m_strName;
    QString m_strDate;
    QString m_strTime;
    QString m_strPlaceNo;
    // The item's label; for a sample its running number.
    QString m_strText;

    bool operator==(const ShowResultArgs&) const = default;
};

// The tree of groups, locations and results that the left pane shows, as
// plain data. It is filled from both data files by RebuildTree and patched
// by the commands afterwards, so it keeps its shape between rebuilds.
//
// A large file holds far more results than anyone opens, so RebuildTree
// makes the groups and locations and only notes which results go under each
// location. A location's folders and results are made, without telling the
// observers, the first time anything asks for its children: to a view they
// have been there all along. Should results leave the result file before
// that, the location takes its results from the document's index instead.
class CLocationTree
{
public:
    CLocationTree();
    ~CLocationTree();
    CLocationTree(const CLocationTree&) = delete;
    CLocationTree& operator=(const CLocationTree&) = delete;

    void AddObserver(ILocationTreeObserver* pObserver);
    void RemoveObserver(ILocationTreeObserver* pObserver);

    // --- navigation (a null parent is the root) ---
    int GetChildCount(const CLocationTreeItem* pParent) const;
    CLocationTreeItem* GetChild(const CLocationTreeItem* pParent, int nRow) const;
    CLocationTreeItem* GetFirstItem() const { return GetChild(nullptr, 0); }
    bool IsEmpty() const { return m_root.m_children.empty(); }
    // The next item in pre-order: first child, else next sibling, else the
    // next sibling of the nearest ancestor that has one; null at the end.
    CLocationTreeItem* NextItem(const CLocationTreeItem* pItem) const;

    // --- primitives ---
    // Inserts at nRow among pParent's children; a row out of range appends.
    CLocationTreeItem* InsertItem(CLocationTreeItem* pParent, int nRow, const QString& strText, int nImage,
                                  const TreeItemData& data);
    // Deletes the item with its subtree. When the selection was in it, the
    // next sibling, else the previous one, else the parent is selected.
    void DeleteItem(CLocationTreeItem* pItem);
    void SetItemText(CLocationTreeItem* pItem, const QString& strText);
    void SetItemImage(CLocationTreeItem* pItem, int nImage);
    void SetItemData(CLocationTreeItem* pItem, const TreeItemData& data);
    // Deletes every item; nothing is selected afterwards.
    void Clear();

    // --- selection ---
    void SelectItem(CLocationTreeItem* pItem);
    CLocationTreeItem* GetSelectedItem() const { return m_pSelected; }
    // Selects the n-th child (from 0) of the selected item; nothing happens
    // without a selection or with fewer children.
    void SelectChild(int n);
    // What selecting the item means for the result view: kind 19 and no
    // texts for containers (and for no item).
    static ShowResultArgs GetShowResultArgs(const CLocationTreeItem* pItem);

    // --- filling ---
    // Clears the tree and fills it from both files; then selects the first
    // group inserted (else the first location). An XML error empties the
    // tree and is reported once.
    void RebuildTree(CXMLDocument& xmlMain, CXMLDocument& xmlResult);
    // Adds the results of one ID as RebuildTree does, under its location item
    // or the unassigned node. Throws CXMLException.
    void AddResultsOfId(CXMLDocument& xmlResult, const QString& strId);
    // Makes the children of an item that are still to be made; CompleteAll
    // makes every such item's (the whole tree, as a full rebuild would).
    void Complete(CLocationTreeItem* pItem);
    void CompleteAll();
    // Appends the results of a location whose items are not made yet, as
    // noted from the file; true as well for a location with no results. For
    // a group, those of its locations. False once a location's items are
    // made or the file changed since: the caller reads the file instead.
    bool GetNotedResults(const CLocationTreeItem* pLocation, std::vector<pugi::xml_node>& results) const;

    // --- tree operations of the commands ---
    // The row at which a new group (kind 0) or location (kind 1) goes under
    // pParent (null for the root): before the first sibling of its kind whose
    // name compares greater or equal, groups before locations before the
    // unassigned node. Rows out of that order give the end.
    int FindInsertPosition(const QString& strName, ResultKind nKind, const CLocationTreeItem* pParent) const;
    // The location item of that ID (case-sensitive) at the root or in a
    // group; locations under the unassigned node are not found.
    CLocationTreeItem* FindLocationItem(const QString& strId) const;
    // The group at the root of that name; null for an empty name.
    CLocationTreeItem* FindGroupItem(const QString& strName) const;
    // The location item of that ID under the unassigned node.
    CLocationTreeItem* FindUnassignedLocationItem(const QString& strId) const;
    // The unassigned node, appended at the root when there is none.
    CLocationTreeItem* GetUnassignedNode();
    // The folder of the kind under pLocation, made when missing. With
    // bUnassigned, pLocation is the unassigned node and the folder goes
    // under (a new, sorted-in) location item named strId below it.
    CLocationTreeItem* GetKindFolder(CLocationTreeItem* pLocation, ResultKind nKind, const QString& strId,
                                     bool bUnassigned);
    // The folder's child labelled with the record's date and time: an
    // existing one takes the record's place number and is returned (its
    // record then stands for the caller's), else a new result item.
    CLocationTreeItem* AddResultItem(CLocationTreeItem* pFolder, const TreeItemData& data);
    // A new item with the same text, image and record at nRow under
    // pNewParent; the source stays.
    CLocationTreeItem* CopyItem(const CLocationTreeItem* pItem, CLocationTreeItem* pNewParent, int nRow);
    // Moves every child of pFrom (with its subtree) to the end of pTo's
    // children, marking the copies with bUnassigned and, when strNewName is
    // not empty, naming them strNewName.
    void MoveChildren(CLocationTreeItem* pFrom, CLocationTreeItem* pTo, const QString& strNewName,
                      bool bUnassigned);
    // Renames every result item below pItem (not pItem) named strOldId.
    void RenameResultItems(CLocationTreeItem* pItem, const QString& strOldId, const QString& strNewId);
    // Deletes pItem and its ancestors while they are empty; stops at groups,
    // at locations when bStopAtLocation, and at items with children.
    void PruneEmptyParents(CLocationTreeItem* pItem, bool bStopAtLocation);
    // Deletes all descendants of pItem.
    void DeleteSubtree(CLocationTreeItem* pItem);

    // Names compare case-insensitively in the user's collation.
    static int CompareNames(const QString& strA, const QString& strB);
    // The decimal integer a text starts with (blanks and a sign allowed), 0
    // when there is none.
    static int LeadingInteger(const QString& strText);

private:
    enum IndexBit : unsigned { IndexedLocation = 1, IndexedGroup = 2, IndexedUnassignedNode = 4 };

    CLocationTreeItem* Node(const CLocationTreeItem* pParent) const;
    bool IsTopLevel(const CLocationTreeItem* pItem) const { return pItem->m_pParent == &m_root; }

    void IndexItem(CLocationTreeItem* pItem);
    void UnindexItem(CLocationTreeItem* pItem);
    void UnindexSubtree(CLocationTreeItem* pItem);
    static void AddToChildIndex(CLocationTreeItem* pParent, CLocationTreeItem* pChild);
    static void RemoveFromChildIndex(CLocationTreeItem* pParent, CLocationTreeItem* pChild);
    static void BuildChildIndex(CLocationTreeItem* pParent);
    // The first child (by row) among the candidates that fits.
    template <class Pred>
    static CLocationTreeItem* FirstOf(const std::vector<CLocationTreeItem*>* pCandidates, Pred pred);
    CLocationTreeItem* FindChildByText(CLocationTreeItem* pParent, const QString& strText) const;
    template <class Pred>
    CLocationTreeItem* FindChildByName(CLocationTreeItem* pParent, const QString& strName, Pred pred) const;
    CLocationTreeItem* FindChildByKind(CLocationTreeItem* pParent, ResultKind nKind, bool bContainer) const;
    // Makes the item's children when they are still to be made.
    void Ensure(CLocationTreeItem* pItem) const
    {
        if (pItem->m_pPending)
            const_cast<CLocationTree*>(this)->Complete(pItem);
    }
    // The location item of an unknown ID under the unassigned node, made
    // (sorted in) when missing.
    CLocationTreeItem* UnassignedLocationItem(CLocationTreeItem* pNode, const QString& strId);
    // Of several items in one index, the one first in pre-order.
    static CLocationTreeItem* FirstInTreeOrder(const std::vector<CLocationTreeItem*>& items);
    void ChangeData(CLocationTreeItem* pItem, const TreeItemData& data);

    void FillFromMain(CXMLDocument& xmlMain, CLocationTreeItem*& pFirst);
    // Notes each result under the item it goes to, making the unassigned
    // node and its location items where needed.
    void NoteResults(CXMLDocument& xmlResult);
    // Whether the noted results still name elements of the result file.
    bool NotesCurrent() const;
    struct ResultFields;
    static TreeItemData ResultRecord(const ResultFields& result, ResultKind nKind, const QString& strName,
                                     bool bUnassigned);
    void AddResult(const ResultFields& result);
    // The result item (with its place number or samples) in the folder.
    void AddResultIn(CLocationTreeItem* pFolder, const TreeItemData& d, const ResultFields& result);
    void AddSamples(CLocationTreeItem* pItem, const ResultFields& result);

    void ClearItems();

    CLocationTreeItem m_root;
    CLocationTreeItem* m_pSelected = nullptr;
    std::vector<ILocationTreeObserver*> m_observers;
    // While filling, observers hear one reset instead of each insertion.
    bool m_bResetting = false;

    QHash<QString, std::vector<CLocationTreeItem*>> m_locations;
    QHash<QString, std::vector<CLocationTreeItem*>> m_groups;
    std::vector<CLocationTreeItem*> m_unassignedNodes;

    // The result file the pending items were noted from, and its counters
    // then: when either moved, the noted elements may be gone.
    CXMLDocument* m_pResultDoc = nullptr;
    quint64 m_nNotedLoad = 0;
    quint64 m_nNotedRemove = 0;
};
