#pragma once

#include <QDialog>
#include <QString>

class QCheckBox;
class QComboBox;

// "Backup wiederherstellen": one of the backups under the backup folder and
// which of its files to put back.
class CBackupRestoreDlg : public QDialog
{
    Q_OBJECT
public:
    explicit CBackupRestoreDlg(const QString& strBackupFolder, QWidget* pParent = nullptr);

    // The chosen backup's folder name on disk; empty with no choice.
    QString m_strFolderName;
    bool m_bMain = true;
    bool m_bResult = true;

    void accept() override;
    void OnSelChange();

    QComboBox* m_pBackups;
    QCheckBox* m_pMain;
    QCheckBox* m_pResult;

private:
    QString m_strBackupFolder;
};
