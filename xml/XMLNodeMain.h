#pragma once

#include "xml/XMLNode.h"

// The typed cursors of the main file: groups ("Group" with a "Name"
// attribute) and locations ("Main" with five blocks of text fields).

class CXMLNodeGeneral : public CXMLNode
{
public:
    explicit CXMLNodeGeneral(CXMLDocument* pDocument);
    QString m_strID;
    QString m_strState;
    QString m_strRemark;

    void SetFieldsEmpty() override;
    void DoFieldExchange(CXMLField& fx) override;
};

// An address: the customer's ("Customer") or the site's ("Location").
class CXMLNodeAddress : public CXMLNode
{
public:
    QString m_strFirstname;
    QString m_strName;
    QString m_strStreet;
    QString m_strPostcode;
    QString m_strCity;
    QString m_strCountry;
    QString m_strNo;
    QString m_strRemark;

    void SetFieldsEmpty() override;
    void DoFieldExchange(CXMLField& fx) override;

protected:
    CXMLNodeAddress(CXMLDocument* pDocument, const QString& strTagName);
};

class CXMLNodeCustomer : public CXMLNodeAddress
{
public:
    explicit CXMLNodeCustomer(CXMLDocument* pDocument);
};

class CXMLNodeLocation : public CXMLNodeAddress
{
public:
    explicit CXMLNodeLocation(CXMLDocument* pDocument);
};

class CXMLNodeNet : public CXMLNode
{
public:
    explicit CXMLNodeNet(CXMLDocument* pDocument);
    QString m_strOperator;
    QString m_strSupplier;
    QString m_strRemark;

    void SetFieldsEmpty() override;
    void DoFieldExchange(CXMLField& fx) override;
};

class CXMLNodeMeter : public CXMLNode
{
public:
    explicit CXMLNodeMeter(CXMLDocument* pDocument);
    QString m_strManufacturer;
    QString m_strManufNo;
    QString m_strCustomNo;
    QString m_strRemark;

    void SetFieldsEmpty() override;
    void DoFieldExchange(CXMLField& fx) override;
};

// One location.
class CXMLNodeMain : public CXMLNode
{
public:
    explicit CXMLNodeMain(CXMLDocument* pDocument);
    CXMLNodeGeneral m_General;
    CXMLNodeCustomer m_Customer;
    CXMLNodeLocation m_Location;
    CXMLNodeNet m_Net;
    CXMLNodeMeter m_Meter;

    void SetFieldsEmpty() override;
    void DoFieldExchange(CXMLField& fx) override;
};

class CXMLNodeGroup : public CXMLNode
{
public:
    explicit CXMLNodeGroup(CXMLDocument* pDocument);
    QString m_strName;

    void SetFieldsEmpty() override;
    void DoFieldExchange(CXMLField& fx) override;
};
