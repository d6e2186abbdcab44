#include "app/AboutDlg.h"

#include "resources/StringTable.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

CAboutDlg::CAboutDlg(QWidget* pParent)
    : QDialog(pParent)
{
    setWindowTitle(LoadString(IDS_ABOUT_CAPTION));

    auto* pName = new QLabel(LoadString(IDS_APP_TITLE), this);
    pName->setObjectName(QStringLiteral("name"));
    QFont font = pName->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.6);
    pName->setFont(font);

    auto* pVersion = new QLabel(LoadString(IDS_ABOUT_VERSION).arg(QStringLiteral(QARDA_VERSION)), this);
    pVersion->setObjectName(QStringLiteral("version"));
    auto* pPurpose = new QLabel(LoadString(IDS_ABOUT_PURPOSE), this);
    pPurpose->setObjectName(QStringLiteral("purpose"));
    pPurpose->setWordWrap(true);
    auto* pCompany = new QLabel(LoadString(IDS_ABOUT_COMPANY), this);
    pCompany->setObjectName(QStringLiteral("company"));

    auto* pLine = new QFrame(this);
    pLine->setFrameShape(QFrame::HLine);
    pLine->setFrameShadow(QFrame::Sunken);

    auto* pButtons = new QDialogButtonBox(this);
    pButtons->addButton(LoadString(IDS_SETTINGS_OK), QDialogButtonBox::AcceptRole)->setDefault(true);
    connect(pButtons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* pLayout = new QVBoxLayout(this);
    pLayout->setContentsMargins(24, 18, 24, 12);
    pLayout->addWidget(pName);
    pLayout->addWidget(pVersion);
    pLayout->addSpacing(8);
    pLayout->addWidget(pPurpose);
    pLayout->addSpacing(8);
    pLayout->addWidget(pCompany);
    pLayout->addSpacing(6);
    pLayout->addWidget(pLine);
    pLayout->addWidget(pButtons);
    pPurpose->setMinimumWidth(fontMetrics().averageCharWidth() * 44);
    pLayout->setSizeConstraint(QLayout::SetFixedSize);
}

CAboutDlg* CAboutDlg::ShowSplash(QWidget* pParent)
{
    auto* pDlg = new CAboutDlg(pParent);
    pDlg->MakeSplash();
    pDlg->show();
    return pDlg;
}

void CAboutDlg::MakeSplash()
{
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    adjustSize();
    const QWidget* pParent = parentWidget();
    const QRect area = pParent && pParent->isVisible() ? pParent->frameGeometry()
                       : QGuiApplication::primaryScreen()  ? QGuiApplication::primaryScreen()->availableGeometry()
                                                           : QRect();
    if (area.isValid()) {
        QRect rect(QPoint(), size());
        rect.moveCenter(area.center());
        move(rect.topLeft());
    }

    // Any key or mouse button anywhere in the box closes it, also over a
    // label or the OK button.
    installEventFilter(this);
    for (QWidget* pChild : findChildren<QWidget*>())
        pChild->installEventFilter(this);

    m_pSplashTimer = new QTimer(this);
    m_pSplashTimer->setObjectName(QStringLiteral("splashTimer"));
    m_pSplashTimer->setSingleShot(true);
    m_pSplashTimer->setInterval(kSplashMilliseconds);
    connect(m_pSplashTimer, &QTimer::timeout, this, &QWidget::close);
    m_pSplashTimer->start();
}

void CAboutDlg::paintEvent(QPaintEvent* pEvent)
{
    QDialog::paintEvent(pEvent);
    if (!m_pSplashTimer)
        return;
    // A frame-less window needs a border of its own to stand apart.
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

bool CAboutDlg::eventFilter(QObject* pWatched, QEvent* pEvent)
{
    switch (pEvent->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        close();
        return true;
    default:
        return QDialog::eventFilter(pWatched, pEvent);
    }
}
