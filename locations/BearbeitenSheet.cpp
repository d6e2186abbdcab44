#include "locations/BearbeitenSheet.h"

#include "core/Messages.h"
#include "locations/LocationPage.h"
#include "locations/LocationStore.h"
#include "resources/StringTable.h"
#include "xml/XMLException.h"
#include "xml/XMLNodeMain.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

CBearbeitenSheet::CBearbeitenSheet(CXMLDocument* pMain, unsigned nCaptionId, QWidget* pParent)
    : QDialog(pParent)
    , m_pMain(pMain)
    , m_pGeneral(new CAllgemeinPage)
    , m_pCustomer(new CKundePage)
    , m_pSite(new CStandortPage)
    , m_pNet(new CNetzPage)
    , m_pMeter(new CZDatenPage)
    , m_pTabs(new QTabWidget(this))
{
    setWindowTitle(LoadString(nCaptionId));
    m_pGeneral->m_pMain = pMain;
    for (CLocationPage* pPage : std::initializer_list<CLocationPage*>{m_pGeneral, m_pCustomer, m_pSite, m_pNet, m_pMeter})
        m_pTabs->addTab(pPage, pPage->GetTitle());
    auto* pButtons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    pButtons->button(QDialogButtonBox::Ok)->setText(LoadString(IDS_SETTINGS_OK));
    pButtons->button(QDialogButtonBox::Cancel)->setText(LoadString(IDS_SETTINGS_CANCEL));
    connect(pButtons, &QDialogButtonBox::accepted, this, &CBearbeitenSheet::accept);
    connect(pButtons, &QDialogButtonBox::rejected, this, &CBearbeitenSheet::reject);
    auto* pLayout = new QVBoxLayout(this);
    pLayout->addWidget(m_pTabs);
    pLayout->addWidget(pButtons);
    resize(460, 400);
}

bool CBearbeitenSheet::OnInitDialog()
{
    if (m_bEditMode && !m_strStartId.isEmpty() && m_pMain && m_pMain->IsValid()) {
        try {
            CXMLNodeMain m(m_pMain);
            if (m.FindFirst(QStringLiteral(".//Main[General/ID = $id]"), {{QStringLiteral("id"), m_strStartId}})) {
                m_pGeneral->m_strID = m.m_General.m_strID;
                m_pGeneral->m_strRemark = m.m_General.m_strRemark;
                for (auto [pPage, pNode] : {std::pair<CAddressPage*, CXMLNodeAddress*>{m_pCustomer, &m.m_Customer},
                                            {m_pSite, &m.m_Location}}) {
                    pPage->m_strFirstname = pNode->m_strFirstname;
                    pPage->m_strName = pNode->m_strName;
                    pPage->m_strStreet = pNode->m_strStreet;
                    pPage->m_strPostcode = pNode->m_strPostcode;
                    pPage->m_strCity = pNode->m_strCity;
                    pPage->m_strCountry = pNode->m_strCountry;
                    pPage->m_strNo = pNode->m_strNo;
                    pPage->m_strRemark = pNode->m_strRemark;
                }
                m_pNet->m_strOperator = m.m_Net.m_strOperator;
                m_pNet->m_strSupplier = m.m_Net.m_strSupplier;
                m_pNet->m_strRemark = m.m_Net.m_strRemark;
                m_pMeter->m_strManufacturer = m.m_Meter.m_strManufacturer;
                m_pMeter->m_strManufNo = m.m_Meter.m_strManufNo;
                m_pMeter->m_strCustomNo = m.m_Meter.m_strCustomNo;
                m_pMeter->m_strRemark = m.m_Meter.m_strRemark;
            }
        } catch (const CXMLException& e) {
            e.ReportError();
            return false;
        }
    }
    if (!m_pGeneral->OnInitDialog())
        return false;
    for (CLocationPage* pPage : std::initializer_list<CLocationPage*>{m_pGeneral, m_pCustomer, m_pSite, m_pNet, m_pMeter})
        pPage->UpdateData(false);
    return true;
}

int CBearbeitenSheet::exec()
{
    if (!OnInitDialog())
        return QDialog::Rejected;
    return QDialog::exec();
}

void CBearbeitenSheet::accept()
{
    for (CLocationPage* pPage : std::initializer_list<CLocationPage*>{m_pGeneral, m_pCustomer, m_pSite, m_pNet, m_pMeter})
        pPage->UpdateData(true);
    // Blanks typed by accident around an ID would make a second, different
    // ID that looks the same.
    m_pGeneral->m_strID = m_pGeneral->m_strID.trimmed();
    const QString& strId = m_pGeneral->m_strID;
    unsigned nRefusal = 0;
    if (strId.isEmpty())
        nRefusal = IDS_ID_EMPTY;
    else if ((!m_bEditMode || strId != m_strStartId) && m_pMain && m_pMain->IsValid()) {
        try {
            if (LocationExists(*m_pMain, strId))
                nRefusal = IDS_ID_EXISTS;
        } catch (const CXMLException& e) {
            e.ReportError();
            return;
        }
    }
    if (nRefusal) {
        ReportError(LoadString(nRefusal), MsgIcon::Exclamation);
        m_pTabs->setCurrentWidget(m_pGeneral);
        return;
    }
    QDialog::accept();
}
