#pragma once

#include <QDialog>

class CXMLDocument;
class QComboBox;
class QPlainTextEdit;

// Chooses the location a result goes to: every location's ID in
// alphabetical order, with its remark shown below.
class CAssignResultDlg : public QDialog
{
    Q_OBJECT
public:
    explicit CAssignResultDlg(QWidget* pParent = nullptr);

    // False after an XML error (shown).
    bool OnInitDialog();
    int exec() override;
    void accept() override;

    CXMLDocument* m_pMain = nullptr;
    QString m_strChosenId;

private:
    QComboBox* m_pIds;
    QPlainTextEdit* m_pRemark;
};
