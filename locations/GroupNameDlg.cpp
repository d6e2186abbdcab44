#include "locations/GroupNameDlg.h"

#include "core/Messages.h"
#include "locations/LocationStore.h"
#include "resources/StringTable.h"
#include "xml/XMLDocument.h"
#include "xml/XMLException.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

CGroupNameDlg::CGroupNameDlg(unsigned nTitleId, QWidget* pParent)
    : QDialog(pParent)
    , m_pEdit(new QLineEdit(this))
{
    setWindowTitle(LoadString(nTitleId));
    m_pEdit->setObjectName(QStringLiteral("1001"));
    auto* pButtons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    pButtons->button(QDialogButtonBox::Ok)->setText(LoadString(IDS_SETTINGS_OK));
    pButtons->button(QDialogButtonBox::Cancel)->setText(LoadString(IDS_SETTINGS_CANCEL));
    connect(pButtons, &QDialogButtonBox::accepted, this, &CGroupNameDlg::accept);
    connect(pButtons, &QDialogButtonBox::rejected, this, &CGroupNameDlg::reject);
    auto* pLayout = new QFormLayout(this);
    pLayout->addRow(LoadString(IDS_LBL_GROUP_NAME), m_pEdit);
    pLayout->addRow(pButtons);
    setMinimumWidth(320);
}

void CGroupNameDlg::OnInitDialog()
{
    m_pEdit->setText(m_strName);
    m_pEdit->selectAll();
}

int CGroupNameDlg::exec()
{
    OnInitDialog();
    return QDialog::exec();
}

void CGroupNameDlg::accept()
{
    // Blanks typed by accident would make a group that looks like another.
    const QString strName = m_pEdit->text().trimmed();
    if (m_pMain) {
        unsigned nRefusal = 0;
        try {
            if (strName.isEmpty())
                nRefusal = IDS_GROUP_NAME_EMPTY;
            else if (strName != m_strOldName && m_pMain->IsValid() && GroupExists(*m_pMain, strName))
                nRefusal = IDS_GROUP_EXISTS;
        } catch (const CXMLException& e) {
            e.ReportError();
            return;
        }
        if (nRefusal) {
            ReportError(LoadString(nRefusal), MsgIcon::Exclamation);
            m_pEdit->setFocus();
            return;
        }
    }
    m_strName = strName;
    QDialog::accept();
}
