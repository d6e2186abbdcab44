#include "locations/LeftView.h"

#include "core/Messages.h"
#include "locations/AssignResultDlg.h"
#include "locations/BearbeitenSheet.h"
#include "locations/ExportLocationDlg.h"
#include "locations/ImportLocationsDlg.h"
#include "locations/LocationExport.h"
#include "locations/LocationImport.h"
#include "locations/GroupNameDlg.h"
#include "locations/LocationFilterModel.h"
#include "locations/LocationPage.h"
#include "locations/LocationTreeModel.h"
#include "locations/RemarkAddressDlg.h"
#include "resources/StringTable.h"
#include "xml/QardaDoc.h"
#include "xml/XMLException.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMenu>
#include <QPointer>
#include <QTimer>
#include <QUndoStack>

#include <functional>

namespace {

// Stands in for the files of a view made without a document.
CXMLDocument& NoDocument()
{
    static CXMLDocument doc;
    return doc;
}

// One tree command on the undo stack. The command has been carried out when
// it is pushed; undo and redo write the files like any command. A step that
// fails leaves the files as they were, is reported, and breaks the stack.
class CTreeUndoCommand : public QUndoCommand
{
public:
    CTreeUndoCommand(CLocationStore& store, CStoreChange&& change, bool& bBroken)
        : m_store(store), m_change(std::move(change)), m_bBroken(bBroken)
    {
    }

    void undo() override { Step(false); }
    void redo() override
    {
        if (m_bFirst)
            m_bFirst = false;
        else
            Step(true);
    }

private:
    void Step(bool bForward)
    {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        try {
            bForward ? m_store.Redo(m_change) : m_store.Undo(m_change);
        } catch (const CException& e) {
            m_bBroken = true;
            QGuiApplication::restoreOverrideCursor();
            e.ReportError();
            return;
        }
        QGuiApplication::restoreOverrideCursor();
    }

    CLocationStore& m_store;
    CStoreChange m_change;
    bool& m_bBroken;
    bool m_bFirst = true;
};

} // namespace

CLeftView::CLeftView(CQardaDoc* pDoc, QWidget* pParent)
    : QTreeView(pParent)
    , m_pDoc(pDoc)
    , m_pModel(new CLocationTreeModel(&m_tree, this))
    , m_pFilterModel(new CLocationFilterModel(m_pModel, this))
    , m_store(pDoc ? pDoc->m_xmlMain : NoDocument(), pDoc ? pDoc->m_xmlResult : NoDocument(), m_tree)
    , m_pUndoStack(new QUndoStack(this))
{
    connect(m_pUndoStack, &QUndoStack::indexChanged, this, [this] {
        if (m_bStackBroken) {
            m_bStackBroken = false;
            QTimer::singleShot(0, m_pUndoStack, &QUndoStack::clear);
        }
        emit CommandDone();
    });
    setModel(m_pFilterModel);
    // A patch can make a hidden group or the unassigned node match again.
    connect(m_pModel, &QAbstractItemModel::rowsInserted, this, &CLeftView::ScheduleRefilter);
    connect(m_pModel, &QAbstractItemModel::rowsRemoved, this, &CLeftView::ScheduleRefilter);
    connect(m_pModel, &QAbstractItemModel::dataChanged, this, &CLeftView::ScheduleRefilter);
    connect(m_pModel, &QAbstractItemModel::modelReset, this, &CLeftView::ScheduleRefilter);
    // A location's fields may have changed without a change of its row.
    connect(this, &CLeftView::CommandDone, this, &CLeftView::ScheduleRefilter);
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
    delete m_pFilterModel;
    delete m_pModel;
}

void CLeftView::RebuildTree()
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    // Steps recorded against the files before cannot be taken back after
    // they were read anew.
    m_pUndoStack->clear();
    m_tree.RebuildTree(m_pDoc->m_xmlMain, m_pDoc->m_xmlResult);
    QGuiApplication::restoreOverrideCursor();
}

// --- the editing commands -------------------------------------------------------

bool CLeftView::HandlesCommand(int nCommandId)
{
    switch (nCommandId) {
    case IDS_CMD_EDIT_LOCATION:
    case IDS_CMD_DELETE:
    case IDS_CMD_NEW_LOCATION:
    case IDS_CMD_NEW_GROUP:
    case IDS_CMD_ASSIGN_RESULT:
    case IDS_CMD_DELETE_RESULTS:
    case IDS_CMD_REMARK:
    case IDS_CMD_EXPORT_LOCATION:
        return true;
    default:
        return false;
    }
}

bool CLeftView::IsCommandEnabled(int nCommandId) const
{
    const bool bMain = m_pDoc && m_pDoc->m_xmlMain.IsValid();
    if (nCommandId == IDS_CMD_NEW_LOCATION || nCommandId == IDS_CMD_NEW_GROUP)
        return bMain;
    const CLocationTreeItem* pItem = m_tree.GetSelectedItem();
    if (!pItem || !m_pDoc)
        return false;
    const TreeItemData& d = pItem->GetData();
    const ResultKind kind = d.m_nKind;
    switch (nCommandId) {
    case IDS_CMD_EXPORT_LOCATION:
        return bMain && kind == ResultKind::Location && !d.m_bIsUnassigned;
    case IDS_CMD_EDIT_LOCATION:
    case IDS_CMD_DELETE:
        return bMain && (kind == ResultKind::Group || (kind == ResultKind::Location && !d.m_bIsUnassigned));
    case IDS_CMD_ASSIGN_RESULT:
        return bMain && m_pDoc->m_xmlResult.IsValid()
               && (kind == ResultKind::Location
                   || (!d.m_bIsContainer && kind != ResultKind::Sample && d.m_strPlaceNo.isEmpty()));
    case IDS_CMD_DELETE_RESULTS:
        return m_pDoc->m_xmlResult.IsValid() && kind != ResultKind::Sample;
    case IDS_CMD_REMARK:
        return m_pDoc->m_xmlResult.IsValid() && !d.m_bIsContainer && kind != ResultKind::Sample
               && (!pItem->HasChildren() || kind == ResultKind::ContinueValue);
    default:
        return false;
    }
}

void CLeftView::OnCommand(int nCommandId)
{
    if (!IsCommandEnabled(nCommandId))
        return;
    switch (nCommandId) {
    case IDS_CMD_EDIT_LOCATION: OnEdit(); break;
    case IDS_CMD_DELETE: OnDelete(); break;
    case IDS_CMD_NEW_LOCATION: OnNewLocation(); break;
    case IDS_CMD_NEW_GROUP: OnNewGroup(); break;
    case IDS_CMD_ASSIGN_RESULT: OnAssignResult(); break;
    case IDS_CMD_DELETE_RESULTS: OnDeleteResults(); break;
    case IDS_CMD_REMARK: OnRemarkAddress(); break;
    case IDS_CMD_EXPORT_LOCATION: OnExportLocation(); break;
    default: break;
    }
}

bool CLeftView::Push(std::optional<CStoreChange>&& change)
{
    if (!change)
        return false;
    m_pUndoStack->push(new CTreeUndoCommand(m_store, std::move(*change), m_bStackBroken));
    return true;
}

template <class F>
void CLeftView::Run(F command)
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        Push(command());
    } catch (const CException& e) {
        QGuiApplication::restoreOverrideCursor();
        e.ReportError();
        emit CommandDone();
        return;
    }
    QGuiApplication::restoreOverrideCursor();
}

void CLeftView::OnEdit()
{
    const TreeItemData d = m_tree.GetSelectedItem()->GetData();
    if (d.m_nKind == ResultKind::Group) {
        CGroupNameDlg dlg(IDS_CAPTION_EDIT, this);
        dlg.m_pMain = &m_pDoc->m_xmlMain;
        dlg.m_strName = d.m_strName;
        dlg.m_strOldName = d.m_strName;
        if (dlg.exec() == QDialog::Accepted)
            Run([&] { return m_store.RenameGroup(d.m_strName, dlg.m_strName); });
        return;
    }
    CBearbeitenSheet sheet(&m_pDoc->m_xmlMain, IDS_CAPTION_EDIT, this);
    sheet.m_bEditMode = true;
    sheet.m_strStartId = d.m_strName;
    try {
        sheet.m_pGeneral->m_strGroup = GetGroupOfLocation(m_pDoc->m_xmlMain, d.m_strName);
    } catch (const CException& e) {
        e.ReportError();
        return;
    }
    if (sheet.exec() == QDialog::Accepted)
        Run([&] { return m_store.EditLocation(d.m_strName, sheet.GetFields(), sheet.m_pGeneral->m_strGroup); });
}

void CLeftView::OnNewLocation()
{
    CBearbeitenSheet sheet(&m_pDoc->m_xmlMain, IDS_CAPTION_NEW, this);
    if (sheet.exec() == QDialog::Accepted)
        Run([&] { return m_store.NewLocation(sheet.GetFields(), sheet.m_pGeneral->m_strGroup); });
}

void CLeftView::OnNewGroup()
{
    CGroupNameDlg dlg(IDS_CAPTION_NEW, this);
    dlg.m_pMain = &m_pDoc->m_xmlMain;
    if (dlg.exec() == QDialog::Accepted)
        Run([&] { return m_store.NewGroup(dlg.m_strName); });
}

void CLeftView::OnDelete()
{
    const CLocationTreeItem* pItem = m_tree.GetSelectedItem();
    const TreeItemData d = pItem->GetData();
    if (!AskYesNo(LoadString(IDS_ASK_DELETE)))
        return;
    if (d.m_nKind == ResultKind::Location) {
        const bool bResults = pItem->HasChildren() && AskYesNo(LoadString(IDS_ASK_DELETE_RESULTS));
        Run([&] { return m_store.DeleteLocation(d.m_strName, bResults); });
        return;
    }
    // One question about results for the whole group.
    const bool bWithLocations = pItem->HasChildren() && AskYesNo(LoadString(IDS_ASK_DELETE_GROUP_LOCATIONS));
    bool bAnyResults = false;
    for (int i = 0; bWithLocations && i < pItem->GetChildCount(); ++i)
        bAnyResults = bAnyResults || pItem->GetChild(i)->HasChildren();
    const bool bResults = bAnyResults && AskYesNo(LoadString(IDS_ASK_DELETE_RESULTS));
    Run([&] { return m_store.DeleteGroup(d.m_strName, bWithLocations, bResults); });
}

void CLeftView::OnDeleteResults()
{
    if (AskYesNo(LoadString(IDS_ASK_DELETE)))
        Run([&] { return m_store.DeleteResults(m_tree.GetSelectedItem()); });
}

void CLeftView::OnAssignResult()
{
    CAssignResultDlg dlg(this);
    dlg.m_pMain = &m_pDoc->m_xmlMain;
    if (dlg.exec() == QDialog::Accepted)
        Run([&] { return m_store.AssignResults(m_tree.GetSelectedItem(), dlg.m_strChosenId); });
}

void CLeftView::OnRemarkAddress()
{
    const CLocationTreeItem* pItem = m_tree.GetSelectedItem();
    std::optional<QPair<QString, QString>> texts;
    try {
        texts = m_store.GetRemarkAddress(pItem);
    } catch (const CException& e) {
        e.ReportError();
        return;
    }
    if (!texts)
        return;
    CRemarkAddressDlg dlg(this);
    dlg.m_strRemark = texts->first;
    dlg.m_strAddress = texts->second;
    if (dlg.exec() != QDialog::Accepted)
        return;
    Run([&] { return m_store.SetRemarkAddress(pItem, dlg.m_strRemark, dlg.m_strAddress); });
    // The view reads the result again and shows the new texts.
    emit ShowResult(CLocationTree::GetShowResultArgs(m_tree.GetSelectedItem()));
}

void CLeftView::contextMenuEvent(QContextMenuEvent* pEvent)
{
    const QModelIndex index = indexAt(viewport()->mapFromGlobal(pEvent->globalPos()));
    if (index.isValid())
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    if (m_contextActions.isEmpty())
        return;
    // The frame brings the actions' enable states up to date on the
    // selection change; a click beside every item keeps the selection.
    emit CommandDone();
    QMenu menu(this);
    for (QAction* pAction : m_contextActions) {
        if (pAction)
            menu.addAction(pAction);
        else
            menu.addSeparator();
    }
    menu.exec(pEvent->globalPos());
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
    m_tree.SelectItem(m_pFilterModel->ItemOf(current));
}

void CLeftView::OnTreeSelectionChanged(CLocationTreeItem* pItem)
{
    const QModelIndex index = m_pFilterModel->IndexOf(pItem);
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

// --- import and export ------------------------------------------------------------

void CLeftView::OnImportLocations()
{
    if (!m_pDoc)
        return;
    CImportLocationsDlg dlg(this);
    if (dlg.exec() != QDialog::Accepted)
        return;
    const bool bCsv = dlg.m_nMode == 1;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    CImportSummary summary;
    try {
        summary = bCsv ? ImportCsv(m_pDoc->m_xmlMain, dlg.m_strMainFile, dlg.m_chSeparator, dlg.m_order)
                       : ImportXml(m_pDoc->m_xmlMain, m_pDoc->m_xmlResult, dlg.m_strMainFile, dlg.m_strResultFile);
    } catch (const CException& e) {
        QGuiApplication::restoreOverrideCursor();
        e.ReportError();
        return;
    }
    if (summary.Changed())
        FollowImport(summary);
    QGuiApplication::restoreOverrideCursor();
    Inform(summary.Text(bCsv), MsgIcon::Information);
}

void CLeftView::FollowImport(const CImportSummary& summary)
{
    // Steps recorded before name elements by their place, which the import
    // may have changed.
    m_pUndoStack->clear();
    // Each name is looked up in both files: beyond a few hundred, filling
    // the tree anew is quicker.
    if (summary.m_locations.size() + summary.m_resultIds.size() > 300) {
        RebuildTree();
    } else {
        CStoreChange change;
        change.m_groups = summary.m_groups;
        change.m_locations = summary.m_locations;
        change.m_resultIds = summary.m_resultIds;
        m_store.SyncTree(change, true);
    }
    emit CommandDone();
}

void CLeftView::OnExportLocation()
{
    const CLocationTreeItem* pItem = m_tree.GetSelectedItem();
    if (!m_pDoc || !pItem)
        return;
    const QString strId = pItem->GetData().m_strName;
    CExportLocationDlg dlg(this);
    if (dlg.exec() != QDialog::Accepted)
        return;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    std::optional<CExportSummary> done;
    try {
        done = ExportLocation(m_pDoc->m_xmlMain, m_pDoc->m_xmlResult, strId, dlg.m_strMainFile, dlg.m_strResultFile);
    } catch (const CException& e) {
        QGuiApplication::restoreOverrideCursor();
        e.ReportError();
        return;
    }
    QGuiApplication::restoreOverrideCursor();
    if (done)
        Inform(LoadString(IDS_EXPORT_DONE).arg(strId).arg(done->m_nResults).arg(done->m_nResultsPresent),
               MsgIcon::Information);
}

// ---------------------------------------------------------------- search

void CLeftView::SetFilterText(const QString& strText)
{
    CTreeFilter& filter = m_pFilterModel->GetFilter();
    const bool bWasActive = filter.IsActive();
    if (!bWasActive) {
        // Remember what the user had open, to bring it back afterwards.
        m_expandedBefore.clear();
        std::function<void(const QModelIndex&)> collect = [&](const QModelIndex& parent) {
            for (int i = 0, n = m_pFilterModel->rowCount(parent); i < n; ++i) {
                const QModelIndex child = m_pFilterModel->index(i, 0, parent);
                if (isExpanded(child)) {
                    m_expandedBefore.append(QPersistentModelIndex(m_pFilterModel->mapToSource(child)));
                    collect(child);
                }
            }
        };
        collect({});
    }
    filter.SetText(strText);
    if (filter.IsActive() && !bWasActive && m_pDoc)
        filter.IndexLocations(m_pDoc->m_xmlMain);
    if (!filter.IsActive() && !bWasActive)
        return;

    m_bSyncing = true;
    m_pFilterModel->Refilter();
    m_bSyncing = false;
    if (filter.IsActive()) {
        // The matching locations show at once.
        expandToDepth(0);
        ShowTreeSelection();
        return;
    }
    filter.ClearIndex();
    collapseAll();
    for (const QPersistentModelIndex& i : std::as_const(m_expandedBefore))
        if (i.isValid())
            expand(m_pFilterModel->mapFromSource(i));
    m_expandedBefore.clear();
    // A result the user picked from the search stays selected and visible.
    ShowTreeSelection();
}

void CLeftView::focusInEvent(QFocusEvent* pEvent)
{
    // With the selection hidden by the search, the widget would make its
    // first row current on focus, and so select it.
    if (!currentIndex().isValid() && m_tree.GetSelectedItem()) {
        QAbstractScrollArea::focusInEvent(pEvent);
        viewport()->update();
        return;
    }
    QTreeView::focusInEvent(pEvent);
}

void CLeftView::ShowTreeSelection()
{
    const QModelIndex index = m_pFilterModel->IndexOf(m_tree.GetSelectedItem());
    m_bSyncing = true;
    if (index.isValid())
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    else
        selectionModel()->clearSelection();
    m_bSyncing = false;
    if (index.isValid())
        scrollTo(index);
}

void CLeftView::ScheduleRefilter()
{
    if (!m_pFilterModel->GetFilter().IsActive() || m_bRefilterPending)
        return;
    m_bRefilterPending = true;
    QTimer::singleShot(0, this, &CLeftView::Refilter);
}

void CLeftView::Refilter()
{
    m_bRefilterPending = false;
    CTreeFilter& filter = m_pFilterModel->GetFilter();
    if (!filter.IsActive())
        return;
    if (m_pDoc)
        filter.IndexLocations(m_pDoc->m_xmlMain);
    m_bSyncing = true;
    m_pFilterModel->Refilter();
    m_bSyncing = false;
    ShowTreeSelection();
}
