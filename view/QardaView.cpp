#include "view/QardaView.h"

#include <QPalette>

CQardaView::CQardaView(CQardaDoc* pDoc, QWidget* pParent)
    : QScrollArea(pParent)
    , m_pDoc(pDoc)
{
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    setBackgroundRole(QPalette::Window);
    setAutoFillBackground(true);
}

void CQardaView::ShowResult(int nKind, const QString&, const QString&, const QString&, const QString&,
                            const QString&)
{
    // Until the renderers are in, the view only keeps the mode rules.
    m_nKind = nKind == 13 ? 3 : nKind;
    switch (m_nKind) {
    case 3:
        if (m_nMode != 8)
            m_nMode = 0;
        break;
    case 4:
        m_nMode = 1;
        break;
    case 6:
        m_nMode = 2;
        break;
    case 7:
        m_nMode = m_nErrorView == 0 ? 6 : (m_nErrorView == 2 ? 7 : 5);
        break;
    case 12:
    case 17:
    case 19:
        break;
    default:
        m_nMode = 9;
        break;
    }
    if (m_nKind == 19)
        m_nMode = 9;
    viewport()->update();
    emit ModeChanged();
}

void CQardaView::SetValueMode(int nMode)
{
    m_nMode = nMode;
    if (nMode == 0 || nMode == 8)
        m_nKind = 3;
    else if (nMode == 1)
        m_nKind = 4;
    else if (nMode == 5)
        m_nErrorView = 1;
    else if (nMode == 6)
        m_nErrorView = 0;
    else if (nMode == 7)
        m_nErrorView = 2;
    viewport()->update();
    emit ModeChanged();
}

void CQardaView::SetHarmonicsMode(int nMode)
{
    m_nMode = nMode;
    viewport()->update();
    emit ModeChanged();
}
