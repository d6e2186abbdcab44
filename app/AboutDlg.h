#pragma once

#include <QDialog>

class QTimer;

// The about box: program name, version, maker and what the program does.
// Modal from the help menu; at start-up the same box serves as splash screen.
class CAboutDlg : public QDialog
{
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* pParent = nullptr);

    // Shows the box as splash: modeless, without frame, on top, centred on
    // the parent (or the primary screen). It closes and deletes itself after
    // one second or at the first key or mouse-button press in it. The pointer
    // is valid until then only; keep it in a QPointer.
    static CAboutDlg* ShowSplash(QWidget* pParent = nullptr);

    static constexpr int kSplashMilliseconds = 1000;

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;
    void paintEvent(QPaintEvent* pEvent) override;

private:
    void MakeSplash();

    QTimer* m_pSplashTimer = nullptr;
};
