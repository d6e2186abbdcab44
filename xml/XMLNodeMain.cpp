#include "xml/XMLNodeMain.h"

namespace {
void InitNames(QString& strTag, QString& strContainer, QString& strNew, const QString& strName,
               const QString& strContainerName = {})
{
    strTag = strName;
    strNew = strName;
    strContainer = strContainerName;
}
} // namespace

CXMLNodeGeneral::CXMLNodeGeneral(CXMLDocument* pDocument)
    : CXMLNode(pDocument, true)
{
    InitNames(m_strTagName, m_strContainerName, m_strNewElementName, QStringLiteral("General"));
}

void CXMLNodeGeneral::SetFieldsEmpty()
{
    m_strID.clear();
    m_strState.clear();
    m_strRemark.clear();
}

void CXMLNodeGeneral::DoFieldExchange(CXMLField& fx)
{
    XFX_Text(fx, QStringLiteral("ID"), m_strID);
    XFX_Text(fx, QStringLiteral("State"), m_strState);
    XFX_Text(fx, QStringLiteral("Remark"), m_strRemark);
}

CXMLNodeAddress::CXMLNodeAddress(CXMLDocument* pDocument, const QString& strTagName)
    : CXMLNode(pDocument, true)
{
    InitNames(m_strTagName, m_strContainerName, m_strNewElementName, strTagName);
}

void CXMLNodeAddress::SetFieldsEmpty()
{
    for (QString* p : {&m_strFirstname, &m_strName, &m_strStreet, &m_strPostcode, &m_strCity, &m_strCountry,
                       &m_strNo, &m_strRemark})
        p->clear();
}

void CXMLNodeAddress::DoFieldExchange(CXMLField& fx)
{
    XFX_Text(fx, QStringLiteral("Firstname"), m_strFirstname);
    XFX_Text(fx, QStringLiteral("Name"), m_strName);
    XFX_Text(fx, QStringLiteral("Street"), m_strStreet);
    XFX_Text(fx, QStringLiteral("Postcode"), m_strPostcode);
    XFX_Text(fx, QStringLiteral("City"), m_strCity);
    XFX_Text(fx, QStringLiteral("Country"), m_strCountry);
    XFX_Text(fx, QStringLiteral("No"), m_strNo);
    XFX_Text(fx, QStringLiteral("Remark"), m_strRemark);
}

CXMLNodeCustomer::CXMLNodeCustomer(CXMLDocument* pDocument)
    : CXMLNodeAddress(pDocument, QStringLiteral("Customer"))
{
}

CXMLNodeLocation::CXMLNodeLocation(CXMLDocument* pDocument)
    : CXMLNodeAddress(pDocument, QStringLiteral("Location"))
{
}

CXMLNodeNet::CXMLNodeNet(CXMLDocument* pDocument)
    : CXMLNode(pDocument, true)
{
    InitNames(m_strTagName, m_strContainerName, m_strNewElementName, QStringLiteral("Net"));
}

void CXMLNodeNet::SetFieldsEmpty()
{
    m_strOperator.clear();
    m_strSupplier.clear();
    m_strRemark.clear();
}

void CXMLNodeNet::DoFieldExchange(CXMLField& fx)
{
    XFX_Text(fx, QStringLiteral("Operator"), m_strOperator);
    XFX_Text(fx, QStringLiteral("Supplier"), m_strSupplier);
    XFX_Text(fx, QStringLiteral("Remark"), m_strRemark);
}

CXMLNodeMeter::CXMLNodeMeter(CXMLDocument* pDocument)
    : CXMLNode(pDocument, true)
{
    InitNames(m_strTagName, m_strContainerName, m_strNewElementName, QStringLiteral("Meter"));
}

void CXMLNodeMeter::SetFieldsEmpty()
{
    m_strManufacturer.clear();
    m_strManufNo.clear();
    m_strCustomNo.clear();
    m_strRemark.clear();
}

void CXMLNodeMeter::DoFieldExchange(CXMLField& fx)
{
    XFX_Text(fx, QStringLiteral("Manufacturer"), m_strManufacturer);
    XFX_Text(fx, QStringLiteral("Manuf-No"), m_strManufNo);
    XFX_Text(fx, QStringLiteral("Custom-No"), m_strCustomNo);
    XFX_Text(fx, QStringLiteral("Remark"), m_strRemark);
}

CXMLNodeMain::CXMLNodeMain(CXMLDocument* pDocument)
    : CXMLNode(pDocument, true)
    , m_General(pDocument)
    , m_Customer(pDocument)
    , m_Location(pDocument)
    , m_Net(pDocument)
    , m_Meter(pDocument)
{
    InitNames(m_strTagName, m_strContainerName, m_strNewElementName, QStringLiteral("Main"),
              QStringLiteral("Main-Data"));
}

void CXMLNodeMain::SetFieldsEmpty()
{
    m_General.SetFieldsEmpty();
    m_Customer.SetFieldsEmpty();
    m_Location.SetFieldsEmpty();
    m_Net.SetFieldsEmpty();
    m_Meter.SetFieldsEmpty();
}

void CXMLNodeMain::DoFieldExchange(CXMLField& fx)
{
    XFX_Node(fx, QStringLiteral("General"), m_General);
    XFX_Node(fx, QStringLiteral("Customer"), m_Customer);
    XFX_Node(fx, QStringLiteral("Location"), m_Location);
    XFX_Node(fx, QStringLiteral("Net"), m_Net);
    XFX_Node(fx, QStringLiteral("Meter"), m_Meter);
}

CXMLNodeGroup::CXMLNodeGroup(CXMLDocument* pDocument)
    : CXMLNode(pDocument, true)
{
    InitNames(m_strTagName, m_strContainerName, m_strNewElementName, QStringLiteral("Group"),
              QStringLiteral("Main-Data"));
}

void CXMLNodeGroup::SetFieldsEmpty()
{
    m_strName.clear();
}

void CXMLNodeGroup::DoFieldExchange(CXMLField& fx)
{
    XFX_Attribute(fx, QStringLiteral("Name"), m_strName);
}
