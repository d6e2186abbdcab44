#pragma once

#include <QDialog>

class QLineEdit;
class QPlainTextEdit;

// A result's remark (line breaks as CR LF) and the PX900's address.
class CRemarkAddressDlg : public QDialog
{
    Q_OBJECT
public:
    explicit CRemarkAddressDlg(QWidget* pParent = nullptr);

    void OnInitDialog();
    int exec() override;
    void accept() override;

    QString m_strRemark;
    QString m_strAddress;

private:
    QPlainTextEdit* m_pRemark;
    QLineEdit* m_pAddress;
};
