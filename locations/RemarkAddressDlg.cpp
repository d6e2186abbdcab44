#include "locations/RemarkAddressDlg.h"

#include "resources/StringTable.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

CRemarkAddressDlg::CRemarkAddressDlg(QWidget* pParent)
    : QDialog(pParent)
    , m_pRemark(new QPlainTextEdit(this))
    , m_pAddress(new QLineEdit(this))
{
    setWindowTitle(LoadString(IDS_REMARK_ADDRESS_TITLE));
    m_pRemark->setObjectName(QStringLiteral("1038"));
    m_pRemark->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_pRemark->setTabChangesFocus(true);
    m_pAddress->setObjectName(QStringLiteral("1072"));
    auto* pButtons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    pButtons->button(QDialogButtonBox::Ok)->setText(LoadString(IDS_SETTINGS_OK));
    pButtons->button(QDialogButtonBox::Cancel)->setText(LoadString(IDS_SETTINGS_CANCEL));
    connect(pButtons, &QDialogButtonBox::accepted, this, &CRemarkAddressDlg::accept);
    connect(pButtons, &QDialogButtonBox::rejected, this, &CRemarkAddressDlg::reject);
    auto* pLayout = new QFormLayout(this);
    auto* pInfo = new QLabel(LoadString(IDS_INFO_REMARK_ADDRESS), this);
    pInfo->setWordWrap(true);
    pLayout->addRow(pInfo);
    pLayout->addRow(LoadString(IDS_LBL_REMARK), m_pRemark);
    pLayout->addRow(LoadString(IDS_LBL_PX900_ADDRESS), m_pAddress);
    pLayout->addRow(pButtons);
    setMinimumWidth(380);
}

void CRemarkAddressDlg::OnInitDialog()
{
    // The edit control works with LF; the caller's text has CR LF.
    m_pRemark->setPlainText(QString(m_strRemark).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    m_pAddress->setText(m_strAddress);
}

int CRemarkAddressDlg::exec()
{
    OnInitDialog();
    return QDialog::exec();
}

void CRemarkAddressDlg::accept()
{
    m_strRemark = m_pRemark->toPlainText().replace(u'\n', QStringLiteral("\r\n"));
    m_strAddress = m_pAddress->text();
    QDialog::accept();
}
