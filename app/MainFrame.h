#pragma once

#include <QMainWindow>

class CQardaDoc;
class QLabel;

// The main window. For now it shows what the two data files hold.
class CMainFrame : public QMainWindow
{
    Q_OBJECT
public:
    explicit CMainFrame(CQardaDoc* pDoc, QWidget* pParent = nullptr);

private:
    void UpdateSummary();

    CQardaDoc* m_pDoc;
    QLabel* m_pSummary;
};
