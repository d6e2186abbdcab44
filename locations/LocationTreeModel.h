#pragma once

#include "locations/LocationTree.h"

#include <QAbstractItemModel>
#include <QIcon>
#include <QVector>

// Presents a CLocationTree to a QTreeView and follows every change the tree
// reports, so the widget keeps its expansion state when commands patch the
// tree.
class CLocationTreeModel : public QAbstractItemModel, private ILocationTreeObserver
{
    Q_OBJECT
public:
    explicit CLocationTreeModel(CLocationTree* pTree, QObject* pParent = nullptr);
    ~CLocationTreeModel() override;

    CLocationTreeItem* ItemOf(const QModelIndex& index) const;
    QModelIndex IndexOf(const CLocationTreeItem* pItem) const;

    QModelIndex index(int nRow, int nColumn, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& index) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int nRole = Qt::DisplayRole) const override;
    // A location's results are made when a view first asks for its rows;
    // until then it has children to fetch, which a view can tell without
    // making them.
    bool hasChildren(const QModelIndex& parent = {}) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

signals:
    // The tree's own selection moved (by a command or a rebuild).
    void TreeSelectionChanged(CLocationTreeItem* pItem);

private:
    void AboutToInsert(CLocationTreeItem* pParent, int nRow) override;
    void Inserted(CLocationTreeItem* pItem) override;
    void AboutToRemove(CLocationTreeItem* pParent, int nRow) override;
    void Removed(CLocationTreeItem* pParent, int nRow) override;
    void Changed(CLocationTreeItem* pItem) override;
    void AboutToReset() override;
    void Reset() override;
    void SelectionChanged(CLocationTreeItem* pItem) override;

    CLocationTree* m_pTree;
    QVector<QIcon> m_images;
};
