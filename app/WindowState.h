#pragma once

#include <QPointer>
#include <QRect>
#include <QString>

class QMainWindow;
class QSplitter;

// Saves and restores the main window's placement, its toolbars and the
// widths of the splitter columns, in the groups "Position" and "Toolbars" of
// the framework profile (QSettings "KOLT GmbH" / "Qarda").
//
// "Position" holds the placement in the text forms of a Windows window
// placement, so stored values stay readable across platforms: "ShowCmd"
// ("%d": 1 normal, 2 minimised, 3 maximised), "Flags" ("%d"), "Normal"
// (left, top, right, bottom of the restored frame-less geometry, right and
// bottom exclusive), "Minimized" and "Maximized" ("%ld,%ld"; Qt has no such
// positions, so they are written as -1,-1 and not read back) and "Splitter"
// ("%d,%d", widths of columns 0 and 1). "Toolbars/State" holds
// QMainWindow::saveState() as base64 text: toolbar and dock positions and
// visibility in one value (the toolbars need object names).
class CWindowState
{
public:
    // Windows show commands, as stored in "ShowCmd".
    enum ShowCmd { kShowNormal = 1, kShowMinimized = 2, kShowMaximized = 3 };

    // The frame registers its splitter when it creates it; nullptr
    // unregisters it.
    void SetSplitter(QSplitter* pSplitter);

    // Applies the stored placement (only when "ShowCmd" is stored), then the
    // toolbars, then the splitter widths. Call before the window is shown,
    // then show it with ShowWindow(). A rectangle that would leave the window
    // out of sight on every screen is moved onto the primary screen; a stored
    // text that cannot be read is ignored.
    void LoadWindowState(QMainWindow* pWnd);
    // Writes the splitter widths, the placement and the toolbars.
    void SaveWindowState(QMainWindow* pWnd) const;

    // How the last LoadWindowState wants the window shown: kShowNormal or
    // kShowMaximized. A stored minimised state opens normally, as a window
    // that starts minimised cannot be found by the user at start-up.
    int GetShowCmd() const { return m_nShowCmd; }
    // show() or showMaximized() according to GetShowCmd().
    void ShowWindow(QMainWindow* pWnd) const;

    // A rectangle of which a usable part (32 x 32 pixels, or all of a smaller
    // one) lies on some screen stays as it is. Any other is centred on the
    // primary screen's available area, shrunk to leave room for the frame.
    static QRect EnsureOnScreen(const QRect& rect);

private:
    QPointer<QSplitter> m_pSplitter;
    int m_nShowCmd = kShowNormal;
};

// The one window state of the program, shared by the frame and start-up.
CWindowState& GetWindowState();
