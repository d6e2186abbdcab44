#include "locations/ExportLocationDlg.h"

#include "core/Messages.h"
#include "core/RegSettings.h"
#include "locations/ImportLocationsDlg.h"
#include "resources/StringTable.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

CExportLocationDlg::CExportLocationDlg(QWidget* pParent)
    : QDialog(pParent)
    , m_pMain(new QLineEdit(this))
    , m_pResult(new QLineEdit(this))
{
    setWindowTitle(LoadString(IDS_EXPORT_CAPTION));
    auto* pLayout = new QGridLayout(this);
    m_pMain->setObjectName(QStringLiteral("1001"));
    m_pResult->setObjectName(QStringLiteral("1002"));
    const unsigned labels[2] = {IDS_LBL_MAIN_FILE, IDS_LBL_RESULT_FILE};
    QLineEdit* edits[2] = {m_pMain, m_pResult};
    for (int i = 0; i < 2; ++i) {
        auto* pBrowse = new QPushButton(QStringLiteral("..."), this);
        pBrowse->setObjectName(QString::number(1003 + i));
        edits[i]->setMinimumWidth(360);
        pLayout->addWidget(new QLabel(LoadString(labels[i]), this), i, 0);
        pLayout->addWidget(edits[i], i, 1);
        pLayout->addWidget(pBrowse, i, 2);
        QLineEdit* pEdit = edits[i];
        connect(pBrowse, &QPushButton::clicked, this, [this, pEdit] {
            const QString strFile =
                m_fnChooseFile(this, pEdit->text().isEmpty() ? QStringLiteral("*.xml") : pEdit->text(),
                               FileFilterOf(IDS_XML_FILE_FILTER));
            if (!strFile.isEmpty())
                pEdit->setText(strFile);
        });
    }
    auto* pButtons = new QDialogButtonBox(this);
    pButtons->addButton(LoadString(IDS_BTN_EXPORT), QDialogButtonBox::AcceptRole)->setObjectName(QStringLiteral("1"));
    pButtons->addButton(LoadString(IDS_BTN_CLOSE), QDialogButtonBox::RejectRole)->setObjectName(QStringLiteral("2"));
    connect(pButtons, &QDialogButtonBox::accepted, this, &CExportLocationDlg::accept);
    connect(pButtons, &QDialogButtonBox::rejected, this, &CExportLocationDlg::reject);
    pLayout->addWidget(pButtons, 2, 0, 1, 3);
    m_fnChooseFile = [](QWidget* pParent, const QString& strCurrent, const QString& strFilter) {
        QString strFile = QFileDialog::getSaveFileName(pParent, QString(), strCurrent, strFilter, nullptr,
                                                       QFileDialog::DontConfirmOverwrite);
        if (!strFile.isEmpty() && !strFile.endsWith(QLatin1String(".xml"), Qt::CaseInsensitive))
            strFile += QLatin1String(".xml");
        return strFile;
    };
}

int CExportLocationDlg::exec()
{
    OnInitDialog();
    return QDialog::exec();
}

void CExportLocationDlg::OnInitDialog()
{
    const CRegSettings reg(QStringLiteral("ImportExport"));
    m_pMain->setText(reg.Get(Setting::MainExportFile));
    m_pResult->setText(reg.Get(Setting::ResultExportFile));
}

void CExportLocationDlg::accept()
{
    const QString strMain = m_pMain->text().trimmed(), strResult = m_pResult->text().trimmed();
    if (strMain.isEmpty() && strResult.isEmpty()) {
        ReportError(LoadString(IDS_EXPORT_NO_FILE), MsgIcon::Exclamation);
        return;
    }
    const CRegSettings reg(QStringLiteral("ImportExport"));
    reg.Set(Setting::MainExportFile, strMain);
    reg.Set(Setting::ResultExportFile, strResult);
    m_strMainFile = strMain;
    m_strResultFile = strResult;
    QDialog::accept();
}
