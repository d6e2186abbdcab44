#pragma once

#include "locations/TreeFilter.h"

#include <QSortFilterProxyModel>

class CLocationTreeItem;
class CLocationTreeModel;

// The location tree as the pane shows it: the whole tree, or only the
// branches a search text keeps. It follows every patch of the tree like the
// model below it.
class CLocationFilterModel : public QSortFilterProxyModel
{
    Q_OBJECT
public:
    explicit CLocationFilterModel(CLocationTreeModel* pSource, QObject* pParent = nullptr);

    CTreeFilter& GetFilter() { return m_filter; }
    // Evaluates every row again (after the text or the locations changed).
    void Refilter() { invalidateFilter(); }

    CLocationTreeItem* ItemOf(const QModelIndex& proxyIndex) const;
    // Invalid when the item is filtered out.
    QModelIndex IndexOf(const CLocationTreeItem* pItem) const;

protected:
    bool filterAcceptsRow(int nSourceRow, const QModelIndex& sourceParent) const override;

private:
    CLocationTreeModel* m_pSource;
    CTreeFilter m_filter;
};
