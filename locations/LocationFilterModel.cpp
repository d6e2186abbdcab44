#include "locations/LocationFilterModel.h"

#include "locations/LocationTreeModel.h"

CLocationFilterModel::CLocationFilterModel(CLocationTreeModel* pSource, QObject* pParent)
    : QSortFilterProxyModel(pParent)
    , m_pSource(pSource)
{
    // The tree's own order is kept; nothing is sorted here.
    setDynamicSortFilter(true);
    setSourceModel(pSource);
}

CLocationTreeItem* CLocationFilterModel::ItemOf(const QModelIndex& proxyIndex) const
{
    return m_pSource->ItemOf(mapToSource(proxyIndex));
}

QModelIndex CLocationFilterModel::IndexOf(const CLocationTreeItem* pItem) const
{
    // The proxy maps an item below a hidden one too, to a row it does not
    // show; selecting that would highlight some other row.
    for (const CLocationTreeItem* p = pItem; p && m_filter.IsActive(); p = p->GetParent())
        if (!m_filter.Accepts(p))
            return {};
    return pItem ? mapFromSource(m_pSource->IndexOf(pItem)) : QModelIndex();
}

bool CLocationFilterModel::filterAcceptsRow(int nSourceRow, const QModelIndex& sourceParent) const
{
    if (!m_filter.IsActive())
        return true;
    return m_filter.Accepts(m_pSource->ItemOf(m_pSource->index(nSourceRow, 0, sourceParent)));
}
