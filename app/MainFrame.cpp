#include "app/MainFrame.h"

#include "app/AboutDlg.h"
#include "app/SettingsDlg.h"
#include "app/WindowState.h"
#include "core/Messages.h"
#include "core/RegSettings.h"
#include "export/ResultCsv.h"
#include "device/ReadoutDlg.h"
#include "locations/Backup.h"
#include "locations/BackupRestoreDlg.h"
#include "locations/LeftView.h"
#include "locations/TreeItemData.h"
#include "resources/Icons.h"
#include "resources/StringTable.h"
#include "view/QardaView.h"
#include "xml/QardaDoc.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPageSetupDialog>
#include <QShortcut>
#include <QUndoStack>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

struct CommandInfo
{
    int nId;
    unsigned nTextId;  // the menu item's text
    const char* pszShortcut;
    bool bCheckable;
};

const CommandInfo kCommands[] = {
    {ID_BACKUP, IDS_MENU_BACKUP, nullptr, false},
    {ID_RESTORE, IDS_MENU_RESTORE, nullptr, false},
    {ID_PRINT, IDS_MENU_PRINT, "Ctrl+P", false},
    {ID_PRINT_PREVIEW, IDS_MENU_PRINT_PREVIEW, nullptr, false},
    {ID_PRINT_SETUP, IDS_MENU_PRINT_SETUP, nullptr, false},
    {ID_EXPORT_PDF, IDS_MENU_EXPORT_PDF, nullptr, false},
    {ID_APP_EXIT, IDS_MENU_EXIT, nullptr, false},
    {ID_NEW_LOCATION, IDS_MENU_NEW_LOCATION, nullptr, false},
    {ID_NEW_GROUP, IDS_MENU_NEW_GROUP, nullptr, false},
    {ID_EDIT_LOCATION, IDS_MENU_EDIT, nullptr, false},
    {ID_IMPORT, IDS_MENU_IMPORT, nullptr, false},
    {ID_EXPORT_LOCATION, IDS_MENU_EXPORT, nullptr, false},
    {ID_DELETE, IDS_MENU_DELETE, "Del", false},
    {ID_ASSIGN_RESULT, IDS_MENU_ASSIGN, nullptr, false},
    {ID_EXPORT_RESULT, IDS_MENU_EXPORT_RESULT, nullptr, false},
    {ID_REMARK, IDS_MENU_REMARK, nullptr, false},
    {ID_DELETE_RESULTS, IDS_MENU_DELETE_RESULTS, nullptr, false},
    {ID_READOUT, IDS_MENU_READOUT, nullptr, false},
    {ID_FORMAT_FILES, IDS_MENU_FORMAT, nullptr, false},
    {ID_VALUES, IDS_MENU_VALUES, nullptr, true},
    {ID_VECTORS, IDS_MENU_VECTORS, nullptr, true},
    {ID_VALUES_AND_VECTORS, IDS_MENU_VALUES_AND_VECTORS, nullptr, true},
    {ID_HARM_TABLE, IDS_MENU_HARM_TABLE, nullptr, true},
    {ID_HARM_LOG, IDS_MENU_HARM_LOG, nullptr, true},
    {ID_HARM_LINEAR, IDS_MENU_HARM_LINEAR, nullptr, true},
    {ID_ZOOM_IN, IDS_MENU_ZOOM_IN, nullptr, true},
    {ID_ZOOM_OUT, IDS_MENU_ZOOM_OUT, nullptr, false},
    {ID_SHOW_VALUE, IDS_MENU_SHOW_VALUE, nullptr, true},
    {ID_CHOOSE_VALUES, IDS_MENU_CHOOSE_VALUES, nullptr, false},
    {ID_ERR_VALUES, IDS_MENU_VALUES, nullptr, true},
    {ID_ERR_VECTORS, IDS_MENU_VECTORS, nullptr, true},
    {ID_ERR_BOTH, IDS_MENU_VALUES_AND_VECTORS, nullptr, true},
    {ID_SETTINGS, IDS_MENU_SETTINGS, nullptr, false},
    {ID_VECTOR_SETTINGS, IDS_MENU_VECTOR_SETTINGS, nullptr, false},
    {ID_VIEW_TOOLBAR, IDS_MENU_VIEW_TOOLBAR, nullptr, true},
    {ID_VIEW_STATUS_BAR, IDS_MENU_VIEW_STATUS_BAR, nullptr, true},
    {ID_APP_ABOUT, IDS_MENU_ABOUT, nullptr, false},
};

// A display-mode command is checked in its own mode and enabled in the
// other modes of the same kind.
struct DisplayModeCommand
{
    int nId;
    DisplayMode nOwnMode;
};

const DisplayModeCommand kDisplayModes[] = {
    {ID_VALUES, DisplayMode::ValueTable},
    {ID_VECTORS, DisplayMode::VectorDiagram},
    {ID_VALUES_AND_VECTORS, DisplayMode::ValueTableVector},
    {ID_HARM_TABLE, DisplayMode::HarmonicsTable},
    {ID_HARM_LOG, DisplayMode::HarmonicsLog},
    {ID_HARM_LINEAR, DisplayMode::HarmonicsLinear},
    {ID_ERR_VALUES, DisplayMode::ErrorValues},
    {ID_ERR_VECTORS, DisplayMode::ErrorVector},
    {ID_ERR_BOTH, DisplayMode::ErrorValuesVector},
};

// The actual-values and vector commands switch between the two kinds, so
// they count as one family.
int ModeFamily(DisplayMode nMode)
{
    const ResultKind kind = KindOfMode(nMode);
    return kind == ResultKind::Vector ? ToInt(ResultKind::Value) : ToInt(kind);
}

const DisplayModeCommand* FindDisplayMode(int nCommandId)
{
    for (const DisplayModeCommand& d : kDisplayModes)
        if (d.nId == nCommandId)
            return &d;
    return nullptr;
}

// The default extension of a save dialog: added when the name has none.
QString WithSuffix(const QString& strPath, const QString& strSuffix)
{
    return QFileInfo(strPath).suffix().isEmpty() ? strPath + QLatin1Char('.') + strSuffix : strPath;
}

} // namespace

bool IsDisplayModeCommand(int nCommandId)
{
    return FindDisplayMode(nCommandId) != nullptr;
}

DisplayModeState GetDisplayModeState(int nCommandId, DisplayMode nMode)
{
    DisplayModeState state;
    if (const DisplayModeCommand* d = FindDisplayMode(nCommandId)) {
        state.bChecked = nMode == d->nOwnMode;
        state.bEnabled =
            nMode != d->nOwnMode && nMode != DisplayMode::None && ModeFamily(nMode) == ModeFamily(d->nOwnMode);
    }
    return state;
}

CMainFrame::CMainFrame(CQardaDoc* pDoc, QWidget* pParent)
    : QMainWindow(pParent)
    , m_pDoc(pDoc)
{
    setWindowTitle(LoadString(IDS_APP_TITLE));
    setWindowIcon(Icons::ProgramIcon());
    CreateActions();
    CreateMenus();
    CreateToolBar();
    CreateStatusBar();

    m_pSplitter = new QSplitter(Qt::Horizontal, this);
    // The search field stands above the tree.
    auto* pLeftPane = new QWidget(m_pSplitter);
    auto* pLeftLayout = new QVBoxLayout(pLeftPane);
    pLeftLayout->setContentsMargins(0, 0, 0, 0);
    pLeftLayout->setSpacing(2);
    m_pSearchField = new QLineEdit(pLeftPane);
    m_pSearchField->setPlaceholderText(LoadString(IDS_SEARCH_PLACEHOLDER));
    m_pSearchField->setClearButtonEnabled(true);
    m_pLeftView = new CLeftView(pDoc, pLeftPane);
    pLeftLayout->addWidget(m_pSearchField);
    pLeftLayout->addWidget(m_pLeftView);
    connect(m_pSearchField, &QLineEdit::textChanged, m_pLeftView, &CLeftView::SetFilterText);
    connect(new QShortcut(QKeySequence::Find, this), &QShortcut::activated, this, [this] {
        m_pSearchField->setFocus(Qt::ShortcutFocusReason);
        m_pSearchField->selectAll();
    });
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), m_pSearchField, nullptr, nullptr, Qt::WidgetShortcut),
            &QShortcut::activated, m_pSearchField, &QLineEdit::clear);
    m_pResultView = new CQardaView(pDoc, m_pSplitter);
    m_pResultView->SetContextMenus(m_pValuesMenu, m_pHarmonicsMenu, m_pContinuousMenu, m_pErrorMenu,
                                   m_actions.value(ID_VECTOR_SETTINGS));
    m_pSplitter->addWidget(pLeftPane);
    m_pSplitter->addWidget(m_pResultView);
    m_pSplitter->setStretchFactor(1, 1);
    m_pSplitter->setSizes({260, 740});
    setCentralWidget(m_pSplitter);
    GetWindowState().SetSplitter(m_pSplitter);

    connect(m_pResultView, &CQardaView::ModeChanged, this, &CMainFrame::UpdateCommandUI);
    // A click on the chart of logged values shows that sample's values.
    connect(m_pResultView, &CQardaView::SampleChosen, this, [this](int n) { m_pLeftView->GetTree().SelectChild(n); });
    connect(m_pResultView, &CQardaView::StatusMessage, this, [this](const QString& s) { statusBar()->showMessage(s); });
    connect(m_pLeftView, &CLeftView::ShowResult, this, [this](const ShowResultArgs& a) {
        const TreeItemData* pItem = m_pLeftView->GetSelectedData();
        const CLocationTreeItem* pFolder = m_pLeftView->GetTree().GetSelectedItem();
        const CLocationTreeItem* pParent = pFolder ? pFolder->GetParent() : nullptr;
        if (pItem && (pItem->m_nKind == ResultKind::Group || pItem->m_nKind == ResultKind::Location)) {
            // Right after a start the tree knows each location's results,
            // which spares the summary a walk over the whole result file.
            std::vector<pugi::xml_node> results;
            const bool bKnown = m_pLeftView->GetTree().GetNotedResults(pFolder, results);
            m_pResultView->ShowLocation(pItem->m_nKind, pItem->m_strName, bKnown ? &results : nullptr);
        } else if (pItem && pItem->m_bIsContainer && CHistory::HasHistory(pItem->m_nKind) && pParent
                 && pParent->GetData().m_nKind == ResultKind::Location)
            m_pResultView->ShowHistory(pItem->m_nKind, pParent->GetData().m_strName);
        else
            m_pResultView->ShowResult(a.m_nKind, a.m_strName, a.m_strDate, a.m_strTime, a.m_strPlaceNo, a.m_strText);
        UpdateCommandUI();
    });
    connect(m_pLeftView, &CLeftView::CommandDone, this, &CMainFrame::UpdateCommandUI);
    // A point of a history selects its result under the shown folder.
    connect(m_pResultView, &CQardaView::HistoryResultChosen, this,
            [this](const QString& strDate, const QString& strTime, const QString& strPlaceNo) {
                CLocationTree& tree = m_pLeftView->GetTree();
                const CLocationTreeItem* pFolder = tree.GetSelectedItem();
                if (!pFolder || !pFolder->GetData().m_bIsContainer)
                    return;
                auto childLabelled = [](const CLocationTreeItem* pParent, const QString& strText) {
                    for (int i = 0; pParent && i < pParent->GetChildCount(); ++i)
                        if (pParent->GetChild(i)->GetText() == strText)
                            return pParent->GetChild(i);
                    return static_cast<CLocationTreeItem*>(nullptr);
                };
                CLocationTreeItem* pResult = childLabelled(pFolder, strDate + QLatin1Char(' ') + strTime);
                if (CLocationTreeItem* pPlace = strPlaceNo.isEmpty() ? nullptr : childLabelled(pResult, strPlaceNo))
                    pResult = pPlace;
                if (pResult)
                    tree.SelectItem(pResult);
            });
    m_pLeftView->SetContextActions({m_actions.value(ID_EDIT_LOCATION), m_actions.value(ID_DELETE), nullptr,
                                    m_actions.value(ID_NEW_LOCATION), m_actions.value(ID_NEW_GROUP), nullptr,
                                    m_actions.value(ID_ASSIGN_RESULT), m_actions.value(ID_REMARK),
                                    m_actions.value(ID_DELETE_RESULTS), m_actions.value(ID_EXPORT_RESULT),
                                    m_actions.value(ID_EXPORT_LOCATION)});
    // Undo and redo of the tree commands head the edit menu.
    QUndoStack* pStack = m_pLeftView->GetUndoStack();
    m_pUndoAction->setEnabled(false);
    m_pRedoAction->setEnabled(false);
    connect(m_pUndoAction, &QAction::triggered, pStack, &QUndoStack::undo);
    connect(m_pRedoAction, &QAction::triggered, pStack, &QUndoStack::redo);
    connect(pStack, &QUndoStack::canUndoChanged, m_pUndoAction, &QAction::setEnabled);
    connect(pStack, &QUndoStack::canRedoChanged, m_pRedoAction, &QAction::setEnabled);
    // The files may still be opening; the window was made meanwhile.
    if (m_pDoc)
        m_pDoc->WaitForFiles();
    m_pLeftView->RebuildTree();
    // F6 and Shift+F6 move the focus between the two panes.
    for (const QKeySequence& key : {QKeySequence(Qt::Key_F6), QKeySequence(Qt::SHIFT | Qt::Key_F6)}) {
        connect(new QShortcut(key, this), &QShortcut::activated, this, [this] {
            if (m_pLeftView->hasFocus())
                m_pResultView->setFocus();
            else
                m_pLeftView->setFocus();
        });
    }
    resize(1024, 700);
    UpdateCommandUI();
}

void CMainFrame::CreateActions()
{
    for (const CommandInfo& c : kCommands) {
        auto* pAction = new QAction(LoadString(c.nTextId), this);
        // The command's string holds the status-bar prompt and the tooltip,
        // separated by a line feed.
        const QString strPrompt = LoadString(static_cast<unsigned>(c.nId));
        const qsizetype nl = strPrompt.indexOf(u'\n');
        pAction->setStatusTip(nl < 0 ? strPrompt : strPrompt.left(nl));
        pAction->setToolTip(nl < 0 ? strPrompt : strPrompt.mid(nl + 1));
        if (c.pszShortcut)
            pAction->setShortcut(QKeySequence(QString::fromLatin1(c.pszShortcut)));
        pAction->setCheckable(c.bCheckable);
        pAction->setIcon(Icons::CommandIcon(c.nId));
        pAction->setIconVisibleInMenu(false);
        pAction->setData(c.nId);
        const int nId = c.nId;
        connect(pAction, &QAction::triggered, this, [this, nId] { OnCommand(nId); });
        m_actions.insert(c.nId, pAction);
    }
    m_actions[ID_APP_EXIT]->setMenuRole(QAction::QuitRole);
    m_actions[ID_APP_ABOUT]->setMenuRole(QAction::AboutRole);
}

void CMainFrame::CreateMenus()
{
    auto add = [this](QMenu* pMenu, std::initializer_list<int> ids) {
        for (int nId : ids) {
            if (nId == 0)
                pMenu->addSeparator();
            else
                pMenu->addAction(m_actions.value(nId));
        }
    };
    QMenu* pFile = menuBar()->addMenu(LoadString(IDS_MENU_FILE));
    add(pFile, {ID_BACKUP, ID_RESTORE, 0, ID_PRINT, ID_PRINT_PREVIEW, ID_PRINT_SETUP, ID_EXPORT_PDF, 0, ID_APP_EXIT});
    QMenu* pEdit = menuBar()->addMenu(LoadString(IDS_MENU_EDIT_MENU));
    m_pUndoAction = pEdit->addAction(LoadString(IDS_MENU_UNDO));
    m_pUndoAction->setShortcut(QKeySequence::Undo);
    m_pRedoAction = pEdit->addAction(LoadString(IDS_MENU_REDO));
    m_pRedoAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y));
    pEdit->addSeparator();
    add(pEdit, {ID_NEW_LOCATION, ID_NEW_GROUP, ID_EDIT_LOCATION, 0, ID_IMPORT, ID_EXPORT_LOCATION, 0, ID_DELETE, 0,
                ID_ASSIGN_RESULT, ID_EXPORT_RESULT, ID_REMARK, ID_DELETE_RESULTS, 0, ID_READOUT, 0, ID_FORMAT_FILES});
    QMenu* pDisplay = menuBar()->addMenu(LoadString(IDS_MENU_DISPLAY));
    m_pValuesMenu = pDisplay->addMenu(LoadString(IDS_MENU_VALUES_VECTORS));
    add(m_pValuesMenu, {ID_VALUES, ID_VECTORS, ID_VALUES_AND_VECTORS});
    m_pHarmonicsMenu = pDisplay->addMenu(LoadString(IDS_MENU_HARMONICS));
    add(m_pHarmonicsMenu, {ID_HARM_TABLE, ID_HARM_LOG, ID_HARM_LINEAR});
    m_pContinuousMenu = pDisplay->addMenu(LoadString(IDS_MENU_CONTINUOUS));
    add(m_pContinuousMenu, {ID_ZOOM_IN, ID_ZOOM_OUT, ID_SHOW_VALUE, 0, ID_CHOOSE_VALUES});
    m_pErrorMenu = pDisplay->addMenu(LoadString(IDS_MENU_ERROR));
    add(m_pErrorMenu, {ID_ERR_VALUES, ID_ERR_VECTORS, ID_ERR_BOTH});
    QMenu* pSettings = menuBar()->addMenu(LoadString(IDS_MENU_SETTINGS_MENU));
    add(pSettings, {ID_SETTINGS, ID_VECTOR_SETTINGS});
    QMenu* pView = menuBar()->addMenu(LoadString(IDS_MENU_VIEW));
    add(pView, {ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR});
    QMenu* pHelp = menuBar()->addMenu(LoadString(IDS_MENU_HELP));
    add(pHelp, {ID_APP_ABOUT});
    for (QMenu* pMenu : menuBar()->findChildren<QMenu*>())
        connect(pMenu, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandUI);
}

void CMainFrame::CreateToolBar()
{
    QToolBar* pBar = addToolBar(LoadString(IDS_TOOLBAR_TITLE));
    pBar->setObjectName(QStringLiteral("Toolbar128"));
    pBar->setIconSize(QSize(16, 15));
    for (int nId : std::initializer_list<int>{ID_NEW_LOCATION, ID_NEW_GROUP, ID_EDIT_LOCATION, ID_IMPORT, ID_EXPORT_LOCATION, ID_DELETE, 0,
                    ID_REMARK, ID_EXPORT_RESULT, ID_DELETE_RESULTS, 0, ID_ASSIGN_RESULT, 0, ID_READOUT, 0,
                    ID_ZOOM_IN, ID_ZOOM_OUT, ID_SHOW_VALUE, 0, ID_PRINT, ID_PRINT_PREVIEW, ID_PRINT_SETUP, 0,
                    ID_SETTINGS, 0, ID_BACKUP, ID_RESTORE, 0, ID_APP_ABOUT}) {
        if (nId == 0)
            pBar->addSeparator();
        else
            pBar->addAction(m_actions.value(nId));
    }
    QAction* pToggle = m_actions.value(ID_VIEW_TOOLBAR);
    pToggle->setChecked(true);
    connect(pBar, &QToolBar::visibilityChanged, pToggle, &QAction::setChecked);
}

void CMainFrame::CreateStatusBar()
{
    statusBar()->showMessage(LoadString(IDS_READY));
    const unsigned ids[3] = {IDS_INDICATOR_CAPS, IDS_INDICATOR_NUM, IDS_INDICATOR_SCRL};
    for (int i = 0; i < 3; ++i) {
        m_pIndicators[i] = new QLabel(LoadString(ids[i]), this);
        m_pIndicators[i]->setAlignment(Qt::AlignCenter);
        m_pIndicators[i]->setMinimumWidth(m_pIndicators[i]->fontMetrics().horizontalAdvance(QStringLiteral("NUMM")));
        m_pIndicators[i]->setEnabled(false);
        statusBar()->addPermanentWidget(m_pIndicators[i]);
    }
    m_actions.value(ID_VIEW_STATUS_BAR)->setChecked(true);
}

bool CMainFrame::event(QEvent* pEvent)
{
    // Qt reports no lock states portably; the indicators follow the lock
    // keys as the user presses them.
    if (pEvent->type() == QEvent::KeyPress) {
        const int nKey = static_cast<QKeyEvent*>(pEvent)->key();
        const int nIndex = nKey == Qt::Key_CapsLock ? 0 : nKey == Qt::Key_NumLock ? 1 : nKey == Qt::Key_ScrollLock ? 2 : -1;
        if (nIndex >= 0)
            m_pIndicators[nIndex]->setEnabled(!m_pIndicators[nIndex]->isEnabled());
    }
    return QMainWindow::event(pEvent);
}

void CMainFrame::UpdateCommandUI()
{
    const DisplayMode nMode = m_pResultView ? m_pResultView->GetMode() : DisplayMode::None;
    for (auto it = m_actions.cbegin(); it != m_actions.cend(); ++it) {
        const int nId = it.key();
        QAction* pAction = it.value();
        if (IsDisplayModeCommand(nId)) {
            const DisplayModeState s = GetDisplayModeState(nId, nMode);
            pAction->setChecked(s.bChecked);
            pAction->setEnabled(s.bEnabled);
        } else if (CLeftView::HandlesCommand(nId)) {
            pAction->setEnabled(m_pLeftView && m_pLeftView->IsCommandEnabled(nId));
        }
    }
    const bool bAnyFile = m_pDoc && (m_pDoc->m_xmlMain.IsValid() || m_pDoc->m_xmlResult.IsValid());
    m_actions.value(ID_IMPORT)->setEnabled(bAnyFile);
    m_actions.value(ID_FORMAT_FILES)->setEnabled(bAnyFile);
    // A restore is what is left when neither file opens.
    m_actions.value(ID_BACKUP)->setEnabled(bAnyFile);
    // Printing acts on a shown result; the tree's selection decides.
    const TreeItemData* pData = m_pLeftView ? m_pLeftView->GetSelectedData() : nullptr;
    const bool bResult =
        (pData && !pData->m_bIsContainer && m_pResultView && m_pResultView->GetKind() != ResultKind::Nothing)
        || (m_pResultView && m_pResultView->GetHistory());
    m_actions.value(ID_PRINT)->setEnabled(bResult);
    m_actions.value(ID_PRINT_PREVIEW)->setEnabled(bResult);
    m_actions.value(ID_EXPORT_PDF)->setEnabled(bResult);
    const CLocationTreeItem* pItem = m_pLeftView ? m_pLeftView->GetTree().GetSelectedItem() : nullptr;
    m_actions.value(ID_EXPORT_RESULT)
        ->setEnabled(pItem && m_pResultView && IsCsvExportKind(m_pResultView->GetKind())
                     && IsResultExportEnabled(true, pData->m_bIsContainer, pItem->HasChildren(), pData->m_nKind));
    m_actions.value(ID_VIEW_STATUS_BAR)->setChecked(statusBar()->isVisible());
    const bool bSeries = m_pResultView && m_pResultView->HasSeries();
    m_actions.value(ID_ZOOM_IN)->setEnabled(bSeries);
    m_actions.value(ID_ZOOM_IN)->setChecked(m_pResultView && m_pResultView->IsZoomMode());
    m_actions.value(ID_SHOW_VALUE)->setEnabled(bSeries);
    m_actions.value(ID_SHOW_VALUE)->setChecked(m_pResultView && m_pResultView->IsShowValueMode());
    m_actions.value(ID_ZOOM_OUT)->setEnabled(m_pResultView && m_pResultView->CanZoomOut());
    m_actions.value(ID_CHOOSE_VALUES)->setEnabled(m_pResultView && m_pResultView->GetKind() == ResultKind::ContinueValue);
}

void CMainFrame::OnCommand(int nCommandId)
{
    if (const DisplayModeCommand* d = FindDisplayMode(nCommandId)) {
        const DisplayMode nMode = d->nOwnMode;
        if (KindOfMode(nMode) == ResultKind::Harmonics)
            m_pResultView->SetHarmonicsMode(nMode);
        else
            m_pResultView->SetValueMode(nMode);
        UpdateCommandUI();
        return;
    }
    if (CLeftView::HandlesCommand(nCommandId)) {
        m_pLeftView->OnCommand(nCommandId);
        UpdateCommandUI();
        return;
    }
    switch (nCommandId) {
    case ID_READOUT:
        OnReadout();
        break;
    case ID_SETTINGS:
        OnSettings();
        break;
    case ID_IMPORT:
        m_pLeftView->OnImportLocations();
        UpdateCommandUI();
        break;
    case ID_BACKUP:
        OnBackup();
        break;
    case ID_RESTORE:
        OnRestore();
        break;
    case ID_FORMAT_FILES:
        OnFormatFiles();
        break;
    case ID_PRINT:
        m_pResultView->Print();
        break;
    case ID_PRINT_PREVIEW:
        m_pResultView->PrintPreview();
        break;
    case ID_EXPORT_RESULT:
        OnExportResult();
        break;
    case ID_EXPORT_PDF:
        OnExportPdf();
        break;
    case ID_PRINT_SETUP: {
        QPageSetupDialog dlg(m_pResultView->GetPrinter(), this);
        dlg.exec();
        break;
    }
    case ID_ZOOM_IN:
        m_pResultView->ToggleZoomMode();
        break;
    case ID_SHOW_VALUE:
        m_pResultView->ToggleShowValueMode();
        break;
    case ID_ZOOM_OUT:
        m_pResultView->ZoomOut();
        break;
    case ID_CHOOSE_VALUES:
        m_pResultView->ChooseValues();
        break;
    case ID_VECTOR_SETTINGS:
        m_pResultView->EditVectorSettings();
        break;
    case ID_APP_ABOUT: {
        CAboutDlg dlg(this);
        dlg.exec();
        break;
    }
    case ID_APP_EXIT:
        close();
        break;
    case ID_VIEW_TOOLBAR:
        for (QToolBar* pBar : findChildren<QToolBar*>())
            pBar->setVisible(m_actions.value(ID_VIEW_TOOLBAR)->isChecked());
        break;
    case ID_VIEW_STATUS_BAR:
        statusBar()->setVisible(m_actions.value(ID_VIEW_STATUS_BAR)->isChecked());
        break;
    default:
        break;
    }
}

void CMainFrame::OnReadout()
{
    // The readout works on the result document from its own thread: the
    // document must not be reloaded under it meanwhile.
    m_pDoc->PauseWatching(true);
    CReadoutDlg dlg(&m_pDoc->m_xmlResult, this);
    dlg.exec();
    if (dlg.HasAdded())
        m_pLeftView->RebuildTree();
    m_pDoc->PauseWatching(false);
}

void CMainFrame::OnSettings()
{
    const CRegSettings settings;
    CSettingsDlg dlg(this);
    dlg.m_strMainFile = settings.Get(Setting::MainFile);
    dlg.m_strResultFile = settings.Get(Setting::ResultFile);
    dlg.m_strBackupFolder = settings.GetString(QString(Setting::BackupFolder.m_name), DefaultBackupFolder());
    dlg.m_strLogo = settings.Get(Setting::Logo);
    const QString strMain = dlg.m_strMainFile;
    const QString strResult = dlg.m_strResultFile;
    if (dlg.exec() != QDialog::Accepted)
        return;
    if (dlg.m_strMainFile != strMain || dlg.m_strResultFile != strResult) {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        m_pDoc->OpenFiles(dlg.m_strMainFile, dlg.m_strResultFile);
        QGuiApplication::restoreOverrideCursor();
        settings.Set(Setting::MainFile, dlg.m_strMainFile);
        settings.Set(Setting::ResultFile, dlg.m_strResultFile);
    }
    settings.Set(Setting::BackupFolder, dlg.m_strBackupFolder);
    settings.Set(Setting::Logo, dlg.m_strLogo);
    m_pResultView->SetLogoPath(dlg.m_strLogo);
    m_pResultView->SetNorm(static_cast<int>(settings.Get(Setting::Norm)));
}

void CMainFrame::OnExportResult()
{
    const ResultKind kind = m_pResultView->GetKind();
    if (!m_csvExporter.GetFileChooser())
        m_csvExporter.SetFileChooser([this](const QString& strInitial) {
            // Lines are appended, so choosing an existing file asks nothing.
            const QString strPath = QFileDialog::getSaveFileName(
                this, QString(), strInitial, CSettingsDlg::ConvertFilter(LoadString(IDS_CSV_FILE_FILTER)), nullptr,
                QFileDialog::DontConfirmOverwrite);
            return strPath.isEmpty() ? strPath : WithSuffix(strPath, QStringLiteral("csv"));
        });
    const std::optional<QString> path = m_csvExporter.ChooseFile(kind);
    if (!path)
        return;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    CResultCsvExporter::WriteFile(*path, m_pResultView->GetCache(), kind, LoadAngleNorm());
    QGuiApplication::restoreOverrideCursor();
}

void CMainFrame::OnExportPdf()
{
    const QString strPath = QFileDialog::getSaveFileName(this, QString(), QString(),
                                                         CSettingsDlg::ConvertFilter(LoadString(IDS_PDF_FILE_FILTER)));
    if (strPath.isEmpty())
        return;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    m_pResultView->PrintToPdf(WithSuffix(strPath, QStringLiteral("pdf")));
    QGuiApplication::restoreOverrideCursor();
}

void CMainFrame::closeEvent(QCloseEvent* pEvent)
{
    GetWindowState().SaveWindowState(this);
    QMainWindow::closeEvent(pEvent);
}

void CMainFrame::OnBackup()
{
    const CRegSettings settings;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        // No other program writes the files while they are copied.
        const auto mainLock = m_pDoc->m_xmlMain.LockForChange();
        const auto resultLock = m_pDoc->m_xmlResult.LockForChange();
        const QString strFolder =
            CreateBackup(GetBackupFolder(), settings.Get(Setting::MainFile), settings.Get(Setting::ResultFile));
        QGuiApplication::restoreOverrideCursor();
        Inform(LoadString(IDS_BACKUP_DONE).arg(QDir::toNativeSeparators(strFolder)), MsgIcon::Information);
    } catch (const CException& e) {
        QGuiApplication::restoreOverrideCursor();
        e.ReportError();
    }
}

void CMainFrame::OnRestore()
{
    const QString strBackupFolder = GetBackupFolder();
    CBackupRestoreDlg dlg(strBackupFolder, this);
    if (dlg.exec() != QDialog::Accepted || dlg.m_strFolderName.isEmpty() || (!dlg.m_bMain && !dlg.m_bResult))
        return;
    const CRegSettings settings;
    const QString strMain = settings.Get(Setting::MainFile), strResult = settings.Get(Setting::ResultFile);
    // The files are replaced under the document: it reads them anew below.
    m_pDoc->PauseWatching(true);
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    QString strSafety;
    try {
        const auto mainLock = m_pDoc->m_xmlMain.LockForChange();
        const auto resultLock = m_pDoc->m_xmlResult.LockForChange();
        strSafety = RestoreBackup(QDir(strBackupFolder).filePath(dlg.m_strFolderName), dlg.m_bMain, dlg.m_bResult,
                                  strMain, strResult, strBackupFolder);
    } catch (const CException& e) {
        QGuiApplication::restoreOverrideCursor();
        m_pDoc->PauseWatching(false);
        e.ReportError();
        return;
    }
    m_pDoc->OpenFiles(strMain, strResult);
    QGuiApplication::restoreOverrideCursor();
    m_pDoc->PauseWatching(false);
    UpdateCommandUI();
    if (!strSafety.isEmpty())
        Inform(LoadString(IDS_RESTORE_DONE)
                   .arg(BackupDisplayName(dlg.m_strFolderName), QDir::toNativeSeparators(strSafety)),
               MsgIcon::Information);
}

void CMainFrame::OnFormatFiles()
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        FormatDataFiles(m_pDoc->m_xmlMain, m_pDoc->m_xmlResult);
    } catch (const CException& e) {
        // The files were read again: the tree shows what they hold.
        m_pLeftView->RebuildTree();
        QGuiApplication::restoreOverrideCursor();
        e.ReportError();
        return;
    }
    QGuiApplication::restoreOverrideCursor();
}
