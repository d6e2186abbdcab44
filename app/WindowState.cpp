#include "app/WindowState.h"

#include <QGuiApplication>
#include <QList>
#include <QMainWindow>
#include <QScreen>
#include <QSettings>
#include <QSplitter>

#include <algorithm>
#include <optional>

namespace {

// Windows placement flag: the minimised window goes back to maximised.
constexpr int kRestoreToMaximized = 2;
// Smallest column width applied to the splitter.
constexpr int kMinColumnWidth = 50;
// Part of a window that must lie on a screen for it to count as visible.
constexpr int kMinVisible = 32;
// Space kept free around a window that is brought back onto the screen.
constexpr int kFrameAllowance = 40;

QSettings Profile()
{
    return QSettings(QStringLiteral("KOLT GmbH"), QStringLiteral("Qarda"));
}

// The stored text of an entry. A hand-edited INI file without quotes turns
// "1,2" into a list; that is still the same text.
QString ReadText(const QSettings& settings, const QString& strKey)
{
    const QVariant value = settings.value(strKey);
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(u',');
    return value.toString();
}

// A list of exactly nCount integers separated by commas, or nothing.
std::optional<QList<int>> ParseInts(const QString& strText, int nCount)
{
    const QStringList parts = strText.split(u',');
    if (parts.size() != nCount)
        return std::nullopt;
    QList<int> values;
    for (const QString& strPart : parts) {
        bool bOk = false;
        const int n = strPart.trimmed().toInt(&bOk);
        if (!bOk)
            return std::nullopt;
        values.append(n);
    }
    return values;
}

QString JoinInts(std::initializer_list<int> values)
{
    QStringList parts;
    for (int n : values)
        parts.append(QString::number(n));
    return parts.join(u',');
}

} // namespace

void CWindowState::SetSplitter(QSplitter* pSplitter)
{
    m_pSplitter = pSplitter;
}

QRect CWindowState::EnsureOnScreen(const QRect& rect)
{
    const QList<QScreen*> screens = QGuiApplication::screens();
    const int nNeedW = std::min(kMinVisible, rect.width());
    const int nNeedH = std::min(kMinVisible, rect.height());
    for (const QScreen* pScreen : screens) {
        const QRect visible = rect.intersected(pScreen->availableGeometry());
        if (visible.width() >= nNeedW && visible.height() >= nNeedH && !visible.isEmpty())
            return rect;
    }
    const QScreen* pPrimary = QGuiApplication::primaryScreen();
    if (!pPrimary)
        return rect;
    // Room for the window frame, which the rectangle does not include.
    const QRect area = pPrimary->availableGeometry().adjusted(kFrameAllowance, kFrameAllowance, -kFrameAllowance,
                                                              -kFrameAllowance);
    QRect moved(QPoint(), rect.size().boundedTo(area.size()));
    moved.moveCenter(area.center());
    return moved;
}

void CWindowState::LoadWindowState(QMainWindow* pWnd)
{
    m_nShowCmd = kShowNormal;
    QSettings settings = Profile();

    settings.beginGroup(QStringLiteral("Position"));
    const QString strShowCmd = ReadText(settings, QStringLiteral("ShowCmd"));
    // Without a stored show command the window keeps its default placement.
    const auto showCmd = ParseInts(strShowCmd, 1);
    if (showCmd) {
        const auto flags = ParseInts(ReadText(settings, QStringLiteral("Flags")), 1);
        const int nFlags = flags ? flags->at(0) : 0;
        if (showCmd->at(0) == kShowMaximized
            || (showCmd->at(0) == kShowMinimized && (nFlags & kRestoreToMaximized)))
            m_nShowCmd = kShowMaximized;

        // Left, top, right, bottom with right and bottom exclusive.
        if (const auto r = ParseInts(ReadText(settings, QStringLiteral("Normal")), 4)) {
            const QRect rect(QPoint(r->at(0), r->at(1)), QPoint(r->at(2) - 1, r->at(3) - 1));
            if (rect.isValid())
                pWnd->setGeometry(EnsureOnScreen(rect));
        }
    }
    const QString strSplitter = ReadText(settings, QStringLiteral("Splitter"));
    settings.endGroup();

    const QString strToolbars = ReadText(settings, QStringLiteral("Toolbars/State"));
    if (!strToolbars.isEmpty())
        pWnd->restoreState(QByteArray::fromBase64(strToolbars.toLatin1()));

    if (m_pSplitter && m_pSplitter->count() >= 2) {
        if (const auto widths = ParseInts(strSplitter, 2)) {
            QList<int> sizes = m_pSplitter->sizes();
            const int nWidth0 = std::max(widths->at(0), kMinColumnWidth);
            const int nWidth1 = std::max(widths->at(1), kMinColumnWidth);
            const int nTotal = sizes.at(0) + sizes.at(1);
            if (m_pSplitter->isVisible() && nTotal >= 2 * kMinColumnWidth) {
                // Laid out already: column 0 gets its width, column 1 the rest.
                sizes[0] = std::min(nWidth0, nTotal - kMinColumnWidth);
                sizes[1] = nTotal - sizes.at(0);
            } else {
                // Not yet laid out: the splitter shares its first width out
                // in these proportions, which gives the stored widths back
                // in a window of the stored size.
                sizes[0] = nWidth0;
                sizes[1] = nWidth1;
            }
            m_pSplitter->setSizes(sizes);
        }
    }
}

void CWindowState::SaveWindowState(QMainWindow* pWnd) const
{
    QSettings settings = Profile();
    settings.beginGroup(QStringLiteral("Position"));

    if (m_pSplitter && m_pSplitter->count() >= 2) {
        const QList<int> sizes = m_pSplitter->sizes();
        settings.setValue(QStringLiteral("Splitter"), JoinInts({sizes.at(0), sizes.at(1)}));
    }

    const Qt::WindowStates state = pWnd->windowState();
    int nShowCmd = kShowNormal;
    int nFlags = 0;
    if (state & Qt::WindowMinimized) {
        nShowCmd = kShowMinimized;
        if (state & (Qt::WindowMaximized | Qt::WindowFullScreen))
            nFlags = kRestoreToMaximized;
    } else if (state & (Qt::WindowMaximized | Qt::WindowFullScreen)) {
        nShowCmd = kShowMaximized;
    }
    const QRect normal = pWnd->normalGeometry();
    settings.setValue(QStringLiteral("ShowCmd"), QString::number(nShowCmd));
    settings.setValue(QStringLiteral("Flags"), QString::number(nFlags));
    settings.setValue(QStringLiteral("Normal"), JoinInts({normal.left(), normal.top(), normal.left() + normal.width(),
                                                          normal.top() + normal.height()}));
    settings.setValue(QStringLiteral("Minimized"), JoinInts({-1, -1}));
    settings.setValue(QStringLiteral("Maximized"), JoinInts({-1, -1}));
    settings.endGroup();

    settings.setValue(QStringLiteral("Toolbars/State"), QString::fromLatin1(pWnd->saveState().toBase64()));
}

void CWindowState::ShowWindow(QMainWindow* pWnd) const
{
    if (m_nShowCmd == kShowMaximized)
        pWnd->showMaximized();
    else
        pWnd->show();
}

CWindowState& GetWindowState()
{
    static CWindowState state;
    return state;
}
