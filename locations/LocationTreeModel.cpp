#include "locations/LocationTreeModel.h"

#include "resources/Icons.h"

CLocationTreeModel::CLocationTreeModel(CLocationTree* pTree, QObject* pParent)
    : QAbstractItemModel(pParent)
    , m_pTree(pTree)
{
    for (int i = 0; i < Icons::kTreeImageCount; ++i)
        m_images.append(QIcon(Icons::TreeImage(i)));
    m_pTree->AddObserver(this);
}

CLocationTreeModel::~CLocationTreeModel()
{
    m_pTree->RemoveObserver(this);
}

CLocationTreeItem* CLocationTreeModel::ItemOf(const QModelIndex& index) const
{
    return index.isValid() ? static_cast<CLocationTreeItem*>(index.internalPointer()) : nullptr;
}

QModelIndex CLocationTreeModel::IndexOf(const CLocationTreeItem* pItem) const
{
    if (!pItem)
        return {};
    return createIndex(pItem->GetRow(), 0, const_cast<CLocationTreeItem*>(pItem));
}

QModelIndex CLocationTreeModel::index(int nRow, int nColumn, const QModelIndex& parent) const
{
    if (nColumn != 0)
        return {};
    CLocationTreeItem* pChild = m_pTree->GetChild(ItemOf(parent), nRow);
    return pChild ? createIndex(nRow, 0, pChild) : QModelIndex();
}

QModelIndex CLocationTreeModel::parent(const QModelIndex& index) const
{
    const CLocationTreeItem* pItem = ItemOf(index);
    return pItem ? IndexOf(pItem->GetParent()) : QModelIndex();
}

int CLocationTreeModel::rowCount(const QModelIndex& parent) const
{
    if (parent.column() > 0)
        return 0;
    return m_pTree->GetChildCount(ItemOf(parent));
}

int CLocationTreeModel::columnCount(const QModelIndex&) const
{
    return 1;
}

bool CLocationTreeModel::hasChildren(const QModelIndex& parent) const
{
    if (parent.column() > 0)
        return false;
    const CLocationTreeItem* pItem = ItemOf(parent);
    return pItem ? pItem->HasChildren() : !m_pTree->IsEmpty();
}

bool CLocationTreeModel::canFetchMore(const QModelIndex& parent) const
{
    const CLocationTreeItem* pItem = ItemOf(parent);
    return pItem && pItem->IsPending();
}

void CLocationTreeModel::fetchMore(const QModelIndex& parent)
{
    m_pTree->Complete(ItemOf(parent));
}

QVariant CLocationTreeModel::data(const QModelIndex& index, int nRole) const
{
    const CLocationTreeItem* pItem = ItemOf(index);
    if (!pItem)
        return {};
    switch (nRole) {
    case Qt::DisplayRole:
        return pItem->GetText();
    case Qt::DecorationRole: {
        const int nImage = pItem->GetImage();
        return nImage >= 0 && nImage < m_images.size() ? QVariant(m_images.at(nImage)) : QVariant();
    }
    default:
        return {};
    }
}

void CLocationTreeModel::AboutToInsert(CLocationTreeItem* pParent, int nRow)
{
    beginInsertRows(IndexOf(pParent), nRow, nRow);
}

void CLocationTreeModel::Inserted(CLocationTreeItem*)
{
    endInsertRows();
}

void CLocationTreeModel::AboutToRemove(CLocationTreeItem* pParent, int nRow)
{
    beginRemoveRows(IndexOf(pParent), nRow, nRow);
}

void CLocationTreeModel::Removed(CLocationTreeItem*, int)
{
    endRemoveRows();
}

void CLocationTreeModel::Changed(CLocationTreeItem* pItem)
{
    const QModelIndex i = IndexOf(pItem);
    emit dataChanged(i, i);
}

void CLocationTreeModel::AboutToReset()
{
    beginResetModel();
}

void CLocationTreeModel::Reset()
{
    endResetModel();
}

void CLocationTreeModel::SelectionChanged(CLocationTreeItem* pItem)
{
    emit TreeSelectionChanged(pItem);
}
