#pragma once

#include "locations/LocationTree.h"

#include <QTreeView>

class CLocationTreeModel;
class CQardaDoc;

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
    // Fills the tree anew from both data files.
    void RebuildTree();
    // The record of the selected item, null when nothing is selected.
    const TreeItemData* GetSelectedData() const;

signals:
    // The selection changed: the result view shows these arguments.
    void ShowResult(const ShowResultArgs& args);

private:
    void OnCurrentChanged(const QModelIndex& current);
    void OnTreeSelectionChanged(CLocationTreeItem* pItem);

    CQardaDoc* m_pDoc;
    CLocationTree m_tree;
    CLocationTreeModel* m_pModel;
    bool m_bSyncing = false;
};
