#pragma once

#include <QDialog>

class CXMLDocument;
class CAllgemeinPage;
class CKundePage;
class CStandortPage;
class CNetzPage;
class CZDatenPage;
class QTabWidget;
struct CLocationFields;

// The location sheet: five pages of a location's fields, for a new location
// (caption "Neu") or an existing one ("Bearbeiten"). It reads the file only
// to fill itself and to check the ID; the caller writes.
class CBearbeitenSheet : public QDialog
{
    Q_OBJECT
public:
    CBearbeitenSheet(CXMLDocument* pMain, unsigned nCaptionId, QWidget* pParent = nullptr);

    // Fills the pages (from the file in edit mode); false after an XML error,
    // which has been shown.
    bool OnInitDialog();
    int exec() override;
    // Takes the pages' controls; refuses an empty ID and an ID another
    // location has, and then stays open.
    void accept() override;

    CXMLDocument* m_pMain;
    bool m_bEditMode = false;
    QString m_strStartId;

    CAllgemeinPage* m_pGeneral;
    CKundePage* m_pCustomer;
    CStandortPage* m_pSite;
    CNetzPage* m_pNet;
    CZDatenPage* m_pMeter;

    // The pages' members as one record, and back.
    CLocationFields GetFields() const;
    void SetFields(const CLocationFields& fields);

    QTabWidget* GetTabs() const { return m_pTabs; }

private:
    QTabWidget* m_pTabs;
};
