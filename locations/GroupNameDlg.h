#pragma once

#include <QDialog>

class CXMLDocument;
class QLineEdit;

// Asks for a group's name. With a main file it refuses an empty name and a
// name another group has, and then stays open.
class CGroupNameDlg : public QDialog
{
    Q_OBJECT
public:
    explicit CGroupNameDlg(unsigned nTitleId, QWidget* pParent = nullptr);

    int exec() override;
    void OnInitDialog();
    void accept() override;

    QString m_strName;
    // The name being edited: keeping it is no clash.
    QString m_strOldName;
    CXMLDocument* m_pMain = nullptr;

private:
    QLineEdit* m_pEdit;
};
