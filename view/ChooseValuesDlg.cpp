#include "view/ChooseValuesDlg.h"

#include "resources/StringTable.h"
#include "view/ContinueValues.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

CChooseValuesDlg::CChooseValuesDlg(QWidget* pParent)
    : QDialog(pParent)
{
    setWindowTitle(LoadString(IDS_CHOOSE_VALUES_CAPTION));
    m_pQuantity = new QComboBox(this);
    m_pQuantity->setObjectName(QString::number(IDC_QUANTITY));
    // The item data tells per-phase quantities (3) from single ones (0).
    for (int q = 0; q < kChoosableQuantities; ++q)
        m_pQuantity->addItem(ChoosableName(q), q < kChoosablePhaseQuantities ? 3 : 0);
    auto* pPhases = new QHBoxLayout;
    for (int p = 0; p < 3; ++p) {
        m_pPhases[p] = new QCheckBox(QStringLiteral("L%1").arg(p + 1), this);
        m_pPhases[p]->setObjectName(QString::number(IDC_L1 + p));
        pPhases->addWidget(m_pPhases[p]);
    }
    connect(m_pQuantity, &QComboBox::currentIndexChanged, this, &CChooseValuesDlg::OnQuantityChanged);

    auto* pButtons = new QDialogButtonBox(this);
    pButtons->addButton(LoadString(IDS_SETTINGS_OK), QDialogButtonBox::AcceptRole);
    pButtons->addButton(LoadString(IDS_SETTINGS_CANCEL), QDialogButtonBox::RejectRole);
    connect(pButtons, &QDialogButtonBox::accepted, this, &CChooseValuesDlg::accept);
    connect(pButtons, &QDialogButtonBox::rejected, this, &CChooseValuesDlg::reject);

    auto* pLayout = new QVBoxLayout(this);
    pLayout->addWidget(m_pQuantity);
    pLayout->addLayout(pPhases);
    pLayout->addWidget(pButtons);
    OnQuantityChanged(0);
}

int CChooseValuesDlg::exec()
{
    // Opens with the members' choice.
    for (int p = 0; p < 3; ++p)
        m_pPhases[p]->setChecked(m_bPhases[p]);
    m_pQuantity->setCurrentIndex(qBound(0, m_nQuantity, kChoosableQuantities - 1));
    OnQuantityChanged(m_pQuantity->currentIndex());
    return QDialog::exec();
}

void CChooseValuesDlg::OnQuantityChanged(int nIndex)
{
    const bool bPhases = m_pQuantity->itemData(nIndex).toInt() != 0;
    for (QCheckBox* pBox : m_pPhases)
        pBox->setEnabled(bPhases);
}

void CChooseValuesDlg::accept()
{
    m_nQuantity = m_pQuantity->currentIndex();
    m_strQuantity = m_pQuantity->currentText();
    for (int p = 0; p < 3; ++p)
        m_bPhases[p] = m_pPhases[p]->isChecked();
    QDialog::accept();
}
