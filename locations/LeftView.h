#pragma once

#include "locations/LocationStore.h"
#include "locations/LocationTree.h"

#include <QPersistentModelIndex>
#include <QTreeView>

#include <optional>

class CLocationFilterModel;
class CLocationTreeModel;
struct CImportSummary;
class CQardaDoc;
class QAction;
class QUndoStack;

// The left pane: the tree of groups, locations and their results. Selecting
// an item tells the result view what to show.
class CLeftView : public QTreeView
{
    Q_OBJECT
public:
    explicit CLeftView(CQardaDoc* pDoc, QWidget* pParent = nullptr);
    ~CLeftView() override;

    CLocationTree& GetTree() { return m_tree; }
    CLocationTreeModel* GetModel() const { return m_pModel; }
    // What the widget shows: the tree, narrowed by the search text.
    CLocationFilterModel* GetFilterModel() const { return m_pFilterModel; }
    // Narrows the tree to what the text finds; an empty text shows all
    // again with the expansion from before the search and the selection.
    void SetFilterText(const QString& strText);
    // Fills the tree anew from both data files.
    void RebuildTree();
    // The record of the selected item, null when nothing is selected.
    const TreeItemData* GetSelectedData() const;

    // The editing commands the tree handles (ids of their prompt strings):
    // whether one applies to the selection, and carrying it out.
    static bool HandlesCommand(int nCommandId);
    bool IsCommandEnabled(int nCommandId) const;
    void OnCommand(int nCommandId);
    // The tree commands made since the files were opened, to undo and redo.
    QUndoStack* GetUndoStack() const { return m_pUndoStack; }
    CLocationStore& GetStore() { return m_store; }
    // Puts a change a command made on the undo stack; false for none.
    bool Push(std::optional<CStoreChange>&& change);
    // The actions a right click offers (the frame's commands).
    void SetContextActions(const QList<QAction*>& actions) { m_contextActions = actions; }

    void OnEdit();
    void OnDelete();
    void OnNewLocation();
    void OnNewGroup();
    void OnAssignResult();
    void OnDeleteResults();
    void OnRemarkAddress();
    // Locations from another pair of files or a CSV file; the tree follows.
    void OnImportLocations();
    void OnExportLocation();

signals:
    // The selection changed: the result view shows these arguments.
    void ShowResult(const ShowResultArgs& args);
    // A command or an undo changed the tree; enable states may differ.
    void CommandDone();

protected:
    void contextMenuEvent(QContextMenuEvent* pEvent) override;
    void focusInEvent(QFocusEvent* pEvent) override;

private:
    // Runs a store command under the wait cursor and reports its failure.
    template <class F>
    void Run(F command);
    void OnCurrentChanged(const QModelIndex& current);
    void OnTreeSelectionChanged(CLocationTreeItem* pItem);
    void FollowImport(const CImportSummary& summary);
    // After a patch while a text is set: locations and their rows again.
    void ScheduleRefilter();
    void Refilter();
    void ShowTreeSelection();

    CQardaDoc* m_pDoc;
    CLocationTree m_tree;
    CLocationTreeModel* m_pModel;
    CLocationFilterModel* m_pFilterModel;
    // Expanded items (of the unfiltered tree) when the search began.
    QList<QPersistentModelIndex> m_expandedBefore;
    bool m_bRefilterPending = false;
    CLocationStore m_store;
    QUndoStack* m_pUndoStack;
    QList<QAction*> m_contextActions;
    bool m_bSyncing = false;
    // A step of the stack failed: the stack no longer matches the files.
    bool m_bStackBroken = false;
};
