#pragma once

#include <QDialog>
#include <QString>

#include <functional>

class QLineEdit;

// "Orte Exportieren": the target main and result files, remembered in the
// "ImportExport" settings.
class CExportLocationDlg : public QDialog
{
    Q_OBJECT
public:
    explicit CExportLocationDlg(QWidget* pParent = nullptr);

    int exec() override;
    void OnInitDialog();
    // Refuses two empty paths (305) and stays open; else stores both.
    void accept() override;

    QString m_strMainFile;
    QString m_strResultFile;
    // The file chooser (current path, filter); a file that does not exist
    // yet may be named. Replaceable for tests.
    std::function<QString(QWidget*, const QString& strCurrent, const QString& strFilter)> m_fnChooseFile;

    QLineEdit* m_pMain;
    QLineEdit* m_pResult;
};
