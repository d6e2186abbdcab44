#pragma once

#include <QString>
#include <QWidget>

#include <vector>

class CXMLDocument;
class QComboBox;
class QFormLayout;

// One page of the location sheet: an explanatory text on top and one edit
// control per text member. UpdateData copies between members and controls.
class CLocationPage : public QWidget
{
    Q_OBJECT
public:
    CLocationPage(unsigned nTitleId, unsigned nInfoId, QWidget* pParent = nullptr);

    QString GetTitle() const { return m_strTitle; }
    // bSave true: controls to members; false: members to controls.
    virtual void UpdateData(bool bSave);

protected:
    // A line edit, or a multi-line edit, bound to the member; the control's
    // object name is its control id.
    void AddEdit(int nControlId, unsigned nLabelId, QString* pMember, bool bMultiLine = false);
    QFormLayout* Form() const { return m_pForm; }

private:
    struct Binding
    {
        QWidget* pControl;
        QString* pMember;
    };
    QString m_strTitle;
    QFormLayout* m_pForm;
    std::vector<Binding> m_bindings;
};

// "General": the group, the ID and the remark.
class CAllgemeinPage : public CLocationPage
{
    Q_OBJECT
public:
    explicit CAllgemeinPage(QWidget* pParent = nullptr);

    // Fills the group list from the file; false after an XML error (shown).
    bool OnInitDialog();
    void UpdateData(bool bSave) override;

    CXMLDocument* m_pMain = nullptr;
    QString m_strGroup;
    QString m_strID;
    QString m_strRemark;

private:
    QComboBox* m_pGroups;
};

// An address: the customer's ("Customer") or the site's ("Location").
class CAddressPage : public CLocationPage
{
    Q_OBJECT
public:
    CAddressPage(unsigned nTitleId, unsigned nInfoId, QWidget* pParent);

    QString m_strFirstname;
    QString m_strName;
    QString m_strStreet;
    QString m_strPostcode;
    QString m_strCity;
    QString m_strCountry;
    QString m_strNo;
    QString m_strRemark;
};

class CKundePage : public CAddressPage
{
    Q_OBJECT
public:
    explicit CKundePage(QWidget* pParent = nullptr);
};

class CStandortPage : public CAddressPage
{
    Q_OBJECT
public:
    explicit CStandortPage(QWidget* pParent = nullptr);
};

class CNetzPage : public CLocationPage
{
    Q_OBJECT
public:
    explicit CNetzPage(QWidget* pParent = nullptr);

    QString m_strOperator;
    QString m_strSupplier;
    QString m_strRemark;
};

class CZDatenPage : public CLocationPage
{
    Q_OBJECT
public:
    explicit CZDatenPage(QWidget* pParent = nullptr);

    QString m_strManufacturer;
    QString m_strManufNo;
    QString m_strCustomNo;
    QString m_strRemark;
};
