#include "locations/BearbeitenSheet.h"

#include "core/Messages.h"
#include "locations/LocationPage.h"
#include "locations/LocationStore.h"
#include "resources/StringTable.h"
#include "xml/XMLDocument.h"
#include "xml/XMLException.h"

#include <QDialogButtonBox>
#include <array>
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
    resize(560, 420);
}

bool CBearbeitenSheet::OnInitDialog()
{
    if (m_bEditMode && !m_strStartId.isEmpty() && m_pMain && m_pMain->IsValid()) {
        try {
            if (const auto fields = ReadLocation(*m_pMain, m_strStartId))
                SetFields(*fields);
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

namespace {

// The members of an address page in the order of the record's fields.
std::array<QString*, 8> AddressMembers(CAddressPage* p)
{
    return {&p->m_strFirstname, &p->m_strName, &p->m_strStreet, &p->m_strPostcode,
            &p->m_strCity, &p->m_strCountry, &p->m_strNo, &p->m_strRemark};
}

} // namespace

CLocationFields CBearbeitenSheet::GetFields() const
{
    CLocationFields f;
    f.m_strID = m_pGeneral->m_strID;
    f.m_strRemark = m_pGeneral->m_strRemark;
    for (int i = 0; i < 8; ++i) {
        f.m_customer[i] = *AddressMembers(m_pCustomer)[i];
        f.m_site[i] = *AddressMembers(m_pSite)[i];
    }
    f.m_net[0] = m_pNet->m_strOperator;
    f.m_net[1] = m_pNet->m_strSupplier;
    f.m_net[2] = m_pNet->m_strRemark;
    f.m_meter[0] = m_pMeter->m_strManufacturer;
    f.m_meter[1] = m_pMeter->m_strManufNo;
    f.m_meter[2] = m_pMeter->m_strCustomNo;
    f.m_meter[3] = m_pMeter->m_strRemark;
    return f;
}

void CBearbeitenSheet::SetFields(const CLocationFields& f)
{
    m_pGeneral->m_strID = f.m_strID;
    m_pGeneral->m_strRemark = f.m_strRemark;
    for (int i = 0; i < 8; ++i) {
        *AddressMembers(m_pCustomer)[i] = f.m_customer[i];
        *AddressMembers(m_pSite)[i] = f.m_site[i];
    }
    m_pNet->m_strOperator = f.m_net[0];
    m_pNet->m_strSupplier = f.m_net[1];
    m_pNet->m_strRemark = f.m_net[2];
    m_pMeter->m_strManufacturer = f.m_meter[0];
    m_pMeter->m_strManufNo = f.m_meter[1];
    m_pMeter->m_strCustomNo = f.m_meter[2];
    m_pMeter->m_strRemark = f.m_meter[3];
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
