#include "locations/LeftView.h"

#include "locations/LocationTreeModel.h"
#include "xml/QardaDoc.h"

#include <QGuiApplication>
#include <QHeaderView>

CLeftView::CLeftView(CQardaDoc* pDoc, QWidget* pParent)
    : QTreeView(pParent)
    , m_pDoc(pDoc)
    , m_pModel(new CLocationTreeModel(&m_tree, this))
{
    setModel(m_pModel);
    setHeaderHidden(true);
    setRootIsDecorated(true);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setIconSize(QSize(16, 16));
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { OnCurrentChanged(current); });
    connect(m_pModel, &CLocationTreeModel::TreeSelectionChanged, this, &CLeftView::OnTreeSelectionChanged);
    if (pDoc)
        connect(pDoc, &CQardaDoc::FilesOpened, this, &CLeftView::RebuildTree);
}

CLeftView::~CLeftView()
{
    // The model observes the tree; it must go first.
    setModel(nullptr);
    delete m_pModel;
}

void CLeftView::RebuildTree()
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    m_tree.RebuildTree(m_pDoc->m_xmlMain, m_pDoc->m_xmlResult);
    QGuiApplication::restoreOverrideCursor();
}

const TreeItemData* CLeftView::GetSelectedData() const
{
    const CLocationTreeItem* pItem = m_tree.GetSelectedItem();
    return pItem ? &pItem->GetData() : nullptr;
}

void CLeftView::OnCurrentChanged(const QModelIndex& current)
{
    if (m_bSyncing)
        return;
    m_tree.SelectItem(m_pModel->ItemOf(current));
}

void CLeftView::OnTreeSelectionChanged(CLocationTreeItem* pItem)
{
    const QModelIndex index = m_pModel->IndexOf(pItem);
    if (selectionModel()->currentIndex() != index) {
        m_bSyncing = true;
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
        m_bSyncing = false;
    }
    if (index.isValid())
        scrollTo(index);
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    emit ShowResult(CLocationTree::GetShowResultArgs(pItem));
    QGuiApplication::restoreOverrideCursor();
}
