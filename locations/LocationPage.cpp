#include "locations/LocationPage.h"

#include "xml/XMLException.h"
#include "xml/XMLNodeMain.h"
#include "resources/StringTable.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

CLocationPage::CLocationPage(unsigned nTitleId, unsigned nInfoId, QWidget* pParent)
    : QWidget(pParent)
    , m_strTitle(LoadString(nTitleId))
    , m_pForm(new QFormLayout)
{
    auto* pLayout = new QVBoxLayout(this);
    auto* pInfo = new QLabel(LoadString(nInfoId), this);
    pInfo->setWordWrap(true);
    pLayout->addWidget(pInfo);
    pLayout->addLayout(m_pForm);
    pLayout->addStretch(1);
}

void CLocationPage::AddEdit(int nControlId, unsigned nLabelId, QString* pMember, bool bMultiLine)
{
    QWidget* pControl = nullptr;
    if (bMultiLine) {
        auto* pEdit = new QPlainTextEdit(this);
        pEdit->setTabChangesFocus(true);
        pEdit->setFixedHeight(pEdit->fontMetrics().lineSpacing() * 4 + 12);
        pControl = pEdit;
    } else {
        pControl = new QLineEdit(this);
    }
    pControl->setObjectName(QString::number(nControlId));
    m_pForm->addRow(LoadString(nLabelId), pControl);
    m_bindings.push_back({pControl, pMember});
}

void CLocationPage::UpdateData(bool bSave)
{
    for (const Binding& b : m_bindings) {
        if (auto* pLine = qobject_cast<QLineEdit*>(b.pControl)) {
            if (bSave)
                *b.pMember = pLine->text();
            else
                pLine->setText(*b.pMember);
        } else if (auto* pText = qobject_cast<QPlainTextEdit*>(b.pControl)) {
            if (bSave)
                *b.pMember = pText->toPlainText();
            else
                pText->setPlainText(*b.pMember);
        }
    }
}

CAllgemeinPage::CAllgemeinPage(QWidget* pParent)
    : CLocationPage(IDS_PAGE_GENERAL, IDS_INFO_GENERAL, pParent)
    , m_pGroups(new QComboBox(this))
{
    m_pGroups->setObjectName(QStringLiteral("1068"));
    Form()->addRow(LoadString(IDS_LBL_GROUP), m_pGroups);
    AddEdit(1023, IDS_LBL_ID, &m_strID);
    AddEdit(1024, IDS_LBL_REMARK, &m_strRemark, true);
}

bool CAllgemeinPage::OnInitDialog()
{
    m_pGroups->clear();
    m_pGroups->addItem(QString());
    int nSelect = 0;
    try {
        if (m_pMain && m_pMain->IsValid()) {
            CXMLNodeGroup group(m_pMain);
            group.SetFieldNames({QStringLiteral("Group")});
            for (group.Open(QStringLiteral("Group")); !group.IsEOF(); group.MoveNext()) {
                m_pGroups->addItem(group.m_strName);
                if (nSelect == 0 && !m_strGroup.isEmpty() && group.m_strName == m_strGroup)
                    nSelect = m_pGroups->count() - 1;
            }
        }
    } catch (const CXMLException& e) {
        e.ReportError();
        return false;
    }
    m_pGroups->setCurrentIndex(nSelect);
    return true;
}

void CAllgemeinPage::UpdateData(bool bSave)
{
    CLocationPage::UpdateData(bSave);
    if (bSave && m_pGroups->currentIndex() >= 0)
        m_strGroup = m_pGroups->currentText();
}

CAddressPage::CAddressPage(unsigned nTitleId, unsigned nInfoId, QWidget* pParent)
    : CLocationPage(nTitleId, nInfoId, pParent)
{
    AddEdit(1000, IDS_LBL_FIRSTNAME, &m_strFirstname);
    AddEdit(1001, IDS_LBL_NAME, &m_strName);
    AddEdit(1002, IDS_LBL_STREET, &m_strStreet);
    AddEdit(1006, IDS_LBL_NO, &m_strNo);
    AddEdit(1003, IDS_LBL_POSTCODE, &m_strPostcode);
    AddEdit(1004, IDS_LBL_CITY, &m_strCity);
    AddEdit(1005, IDS_LBL_COUNTRY, &m_strCountry);
    AddEdit(1007, IDS_LBL_REMARK, &m_strRemark, true);
}

CKundePage::CKundePage(QWidget* pParent)
    : CAddressPage(IDS_PAGE_CUSTOMER, IDS_INFO_CUSTOMER, pParent)
{
}

CStandortPage::CStandortPage(QWidget* pParent)
    : CAddressPage(IDS_PAGE_SITE, IDS_INFO_SITE, pParent)
{
}

CNetzPage::CNetzPage(QWidget* pParent)
    : CLocationPage(IDS_PAGE_NET, IDS_INFO_NET, pParent)
{
    AddEdit(1016, IDS_LBL_OPERATOR, &m_strOperator);
    AddEdit(1017, IDS_LBL_SUPPLIER, &m_strSupplier);
    AddEdit(1018, IDS_LBL_REMARK, &m_strRemark, true);
}

CZDatenPage::CZDatenPage(QWidget* pParent)
    : CLocationPage(IDS_PAGE_METER, IDS_INFO_METER, pParent)
{
    AddEdit(1019, IDS_LBL_MANUFACTURER, &m_strManufacturer);
    AddEdit(1020, IDS_LBL_MANUF_NO, &m_strManufNo);
    AddEdit(1021, IDS_LBL_CUSTOM_NO, &m_strCustomNo);
    AddEdit(1022, IDS_LBL_REMARK, &m_strRemark, true);
}
