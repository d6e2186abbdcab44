#pragma once

#include "core/Kinds.h"

#include <QHash>
#include <QMainWindow>

class CQardaDoc;
class CQardaView;
class QAction;
class QLabel;
class QMenu;
class QSplitter;
class CLeftView;

// Command ids of menu 128 and toolbar 128.
enum CommandId : int {
    ID_EDIT_LOCATION = 32775,
    ID_NEW_LOCATION = 32776,
    ID_DELETE = 32781,
    ID_SETTINGS = 32784,
    ID_ASSIGN_RESULT = 32789,
    ID_VALUES = 32793,
    ID_VECTORS = 32794,
    ID_HARM_TABLE = 32795,
    ID_HARM_LOG = 32796,
    ID_HARM_LINEAR = 32797,
    ID_ZOOM_IN = 32799,
    ID_ZOOM_OUT = 32800,
    ID_SHOW_VALUE = 32801,
    ID_CHOOSE_VALUES = 32802,
    ID_BACKUP = 32803,
    ID_RESTORE = 32804,
    ID_DELETE_RESULTS = 32807,
    ID_REMARK = 32808,
    ID_READOUT = 32809,
    ID_EXPORT_RESULT = 32814,
    ID_IMPORT = 32815,
    ID_VECTOR_SETTINGS = 32816,
    ID_NEW_GROUP = 32817,
    ID_EXPORT_LOCATION = 32819,
    ID_ERR_VALUES = 32820,
    ID_ERR_VECTORS = 32821,
    ID_ERR_BOTH = 32823,
    ID_VALUES_AND_VECTORS = 32824,
    ID_FORMAT_FILES = 32825,
    ID_PRINT_SETUP = 57606,
    ID_PRINT = 57607,
    ID_PRINT_PREVIEW = 57609,
    ID_APP_ABOUT = 57664,
    ID_APP_EXIT = 57665,
    ID_VIEW_TOOLBAR = 59392,
    ID_VIEW_STATUS_BAR = 59393,
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
    QSplitter* GetSplitter() const { return m_pSplitter; }

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

    CQardaDoc* m_pDoc;
    QSplitter* m_pSplitter = nullptr;
    CLeftView* m_pLeftView = nullptr;
    CQardaView* m_pResultView = nullptr;
    QHash<int, QAction*> m_actions;
    QLabel* m_pIndicators[3] = {};
    QMenu* m_pValuesMenu = nullptr;
    QMenu* m_pHarmonicsMenu = nullptr;
    QMenu* m_pContinuousMenu = nullptr;
    QMenu* m_pErrorMenu = nullptr;
};
