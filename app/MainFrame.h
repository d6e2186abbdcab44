#pragma once

#include "core/Kinds.h"
#include "resources/StringTable.h"

#include "export/ResultExporter.h"

#include <QHash>
#include <QMainWindow>

class CQardaDoc;
class CQardaView;
class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QSplitter;
class CLeftView;

// Command ids of menu 128 and toolbar 128: each is the id of its status-bar
// prompt, so the two cannot drift apart.
enum CommandId : int {
    ID_EDIT_LOCATION = IDS_CMD_EDIT_LOCATION,
    ID_NEW_LOCATION = IDS_CMD_NEW_LOCATION,
    ID_DELETE = IDS_CMD_DELETE,
    ID_SETTINGS = IDS_CMD_SETTINGS,
    ID_ASSIGN_RESULT = IDS_CMD_ASSIGN_RESULT,
    ID_VALUES = IDS_CMD_VALUES,
    ID_VECTORS = IDS_CMD_VECTORS,
    ID_HARM_TABLE = IDS_CMD_HARM_TABLE,
    ID_HARM_LOG = IDS_CMD_HARM_LOG,
    ID_HARM_LINEAR = IDS_CMD_HARM_LINEAR,
    ID_ZOOM_IN = IDS_CMD_ZOOM_IN,
    ID_ZOOM_OUT = IDS_CMD_ZOOM_OUT,
    ID_SHOW_VALUE = IDS_CMD_SHOW_VALUE,
    ID_CHOOSE_VALUES = IDS_CMD_CHOOSE_VALUES,
    ID_BACKUP = IDS_CMD_BACKUP,
    ID_RESTORE = IDS_CMD_RESTORE,
    ID_DELETE_RESULTS = IDS_CMD_DELETE_RESULTS,
    ID_REMARK = IDS_CMD_REMARK,
    ID_READOUT = IDS_CMD_READOUT,
    ID_EXPORT_RESULT = IDS_CMD_EXPORT_RESULT,
    ID_IMPORT = IDS_CMD_IMPORT,
    ID_VECTOR_SETTINGS = IDS_CMD_VECTOR_SETTINGS,
    ID_NEW_GROUP = IDS_CMD_NEW_GROUP,
    ID_EXPORT_LOCATION = IDS_CMD_EXPORT_LOCATION,
    ID_ERR_VALUES = IDS_CMD_ERR_VALUES,
    ID_ERR_VECTORS = IDS_CMD_ERR_VECTORS,
    ID_ERR_BOTH = IDS_CMD_ERR_BOTH,
    ID_VALUES_AND_VECTORS = IDS_CMD_VALUES_AND_VECTORS,
    ID_FORMAT_FILES = IDS_CMD_FORMAT_FILES,
    ID_EXPORT_PDF = IDS_CMD_EXPORT_PDF,
    ID_PRINT_SETUP = IDS_CMD_PRINT_SETUP,
    ID_PRINT = IDS_CMD_PRINT,
    ID_PRINT_PREVIEW = IDS_CMD_PRINT_PREVIEW,
    ID_APP_ABOUT = IDS_CMD_APP_ABOUT,
    ID_APP_EXIT = IDS_CMD_APP_EXIT,
    ID_VIEW_TOOLBAR = IDS_CMD_VIEW_TOOLBAR,
    ID_VIEW_STATUS_BAR = IDS_CMD_VIEW_STATUS_BAR,
};

// The check mark and enable state of a display-mode command for the view's
// current mode: checked in its own mode; enabled only in the other two
// modes of its group.
struct DisplayModeState
{
    bool bChecked = false;
    bool bEnabled = false;
};
DisplayModeState GetDisplayModeState(int nCommandId, DisplayMode nMode);
bool IsDisplayModeCommand(int nCommandId);

// The main window: toolbar, status bar, the tree on the left and the result
// view on the right.
class CMainFrame : public QMainWindow
{
    Q_OBJECT
public:
    explicit CMainFrame(CQardaDoc* pDoc, QWidget* pParent = nullptr);

    QAction* GetAction(int nCommandId) const { return m_actions.value(nCommandId); }
    CQardaView* GetResultView() const { return m_pResultView; }
    CLeftView* GetLeftView() const { return m_pLeftView; }
    QLineEdit* GetSearchField() const { return m_pSearchField; }
    QSplitter* GetSplitter() const { return m_pSplitter; }
    CResultCsvExporter& GetCsvExporter() { return m_csvExporter; }

public slots:
    // Brings every command's enable and check state up to date.
    void UpdateCommandUI();

protected:
    void closeEvent(QCloseEvent* pEvent) override;
    bool event(QEvent* pEvent) override;

private:
    void CreateActions();
    void CreateMenus();
    void CreateToolBar();
    void CreateStatusBar();
    void OnCommand(int nCommandId);
    void OnReadout();
    void OnSettings();
    void OnExportResult();
    void OnExportPdf();
    void OnBackup();
    void OnRestore();
    void OnFormatFiles();

    CQardaDoc* m_pDoc;
    QSplitter* m_pSplitter = nullptr;
    CLeftView* m_pLeftView = nullptr;
    QLineEdit* m_pSearchField = nullptr;
    CQardaView* m_pResultView = nullptr;
    QHash<int, QAction*> m_actions;
    // Remembers the last CSV file of each kind for the rest of the run.
    CResultCsvExporter m_csvExporter;
    QLabel* m_pIndicators[3] = {};
    QAction* m_pUndoAction = nullptr;
    QAction* m_pRedoAction = nullptr;
    QMenu* m_pValuesMenu = nullptr;
    QMenu* m_pHarmonicsMenu = nullptr;
    QMenu* m_pContinuousMenu = nullptr;
    QMenu* m_pErrorMenu = nullptr;
};
