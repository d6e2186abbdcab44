#include "locations/BackupRestoreDlg.h"

#include "locations/Backup.h"
#include "resources/StringTable.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QPushButton>

CBackupRestoreDlg::CBackupRestoreDlg(const QString& strBackupFolder, QWidget* pParent)
    : QDialog(pParent)
    , m_pBackups(new QComboBox(this))
    , m_pMain(new QCheckBox(LoadString(IDS_CHK_MAIN_FILE), this))
    , m_pResult(new QCheckBox(LoadString(IDS_CHK_RESULT_FILE), this))
    , m_strBackupFolder(strBackupFolder)
{
    setWindowTitle(LoadString(IDS_RESTORE_CAPTION));
    m_pBackups->setObjectName(QStringLiteral("1035"));
    m_pMain->setObjectName(QStringLiteral("1036"));
    m_pResult->setObjectName(QStringLiteral("1037"));
    m_pBackups->setMinimumWidth(260);
    for (const QString& strName : ListBackups(strBackupFolder))
        m_pBackups->addItem(BackupDisplayName(strName));
    m_pBackups->setCurrentIndex(-1);
    m_pMain->setChecked(true);
    m_pResult->setChecked(true);
    auto* pLayout = new QFormLayout(this);
    pLayout->addRow(LoadString(IDS_LBL_BACKUP), m_pBackups);
    pLayout->addRow(QString(), m_pMain);
    pLayout->addRow(QString(), m_pResult);
    auto* pButtons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    pButtons->button(QDialogButtonBox::Ok)->setText(LoadString(IDS_SETTINGS_OK));
    pButtons->button(QDialogButtonBox::Cancel)->setText(LoadString(IDS_SETTINGS_CANCEL));
    connect(pButtons, &QDialogButtonBox::accepted, this, &CBackupRestoreDlg::accept);
    connect(pButtons, &QDialogButtonBox::rejected, this, &CBackupRestoreDlg::reject);
    pLayout->addRow(pButtons);
    connect(m_pBackups, &QComboBox::currentIndexChanged, this, &CBackupRestoreDlg::OnSelChange);
}

void CBackupRestoreDlg::OnSelChange()
{
    if (m_pBackups->currentIndex() < 0)
        return;
    const QDir folder(QDir(m_strBackupFolder).filePath(BackupFolderFromDisplay(m_pBackups->currentText())));
    for (auto [pBox, pszName] : {std::pair{m_pMain, "Main.xml"}, std::pair{m_pResult, "Result.xml"}}) {
        const bool bExists = QFileInfo(folder.filePath(QLatin1String(pszName))).isFile();
        pBox->setChecked(bExists);
        pBox->setEnabled(bExists);
    }
}

void CBackupRestoreDlg::accept()
{
    m_strFolderName = m_pBackups->currentIndex() < 0 ? QString() : BackupFolderFromDisplay(m_pBackups->currentText());
    m_bMain = m_pMain->isChecked();
    m_bResult = m_pResult->isChecked();
    QDialog::accept();
}
