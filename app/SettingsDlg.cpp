#include "app/SettingsDlg.h"

#include "app/Language.h"
#include "core/RegSettings.h"
#include "resources/StringTable.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// The languages that can be offered besides the built-in German, in the
// order of the combo.
struct LanguageEntry
{
    unsigned nTextId;
    const char* pszAbbreviation;
};
const LanguageEntry kLanguages[] = {
    {IDS_LANG_ENGLISH, "ENU"}, {IDS_LANG_SPANISH, "ESP"}, {IDS_LANG_RUSSIAN, "RUS"},
    {IDS_LANG_FRENCH, "FRA"},  {IDS_LANG_CZECH, "CSY"},
};

// The locale number of the translation in use: its file is "RQarda" + the
// abbreviation + ".qm"; German when none is loaded.
quint32 LangIDInUse()
{
    const QString strFile = Language::LoadedTranslationFile();
    if (strFile.isEmpty())
        return Language::kGerman;
    QString strName = QFileInfo(strFile).fileName();
    const QString strPrefix = QStringLiteral("RQarda");
    const QString strSuffix = QStringLiteral(".qm");
    if (strName.startsWith(strPrefix))
        strName.remove(0, strPrefix.size());
    if (strName.endsWith(strSuffix, Qt::CaseInsensitive))
        strName.chop(strSuffix.size());
    return Language::LangIDOfAbbreviation(strName);
}

QString ChooseFile(QWidget* pParent, const QString& strCurrent, const QString& strFilter, const QString& strSuffix)
{
    QFileDialog dlg(pParent);
    dlg.setAcceptMode(QFileDialog::AcceptOpen);
    dlg.setFileMode(QFileDialog::ExistingFile);
    dlg.setNameFilter(strFilter);
    dlg.setDefaultSuffix(strSuffix);
    if (!strCurrent.isEmpty()) {
        const QFileInfo info(strCurrent);
        dlg.setDirectory(info.absolutePath());
        dlg.selectFile(info.fileName());
    }
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return {};
    return dlg.selectedFiles().constFirst();
}

QString ChooseFolder(QWidget* pParent, const QString& strPrompt, const QString& strCurrent)
{
    return QFileDialog::getExistingDirectory(pParent, strPrompt, strCurrent);
}

} // namespace

CSettingsDlg::CSettingsDlg(QWidget* pParent)
    : QDialog(pParent)
    , m_fnChooseFile(ChooseFile)
    , m_fnChooseFolder(ChooseFolder)
    , m_pMainFile(new QLineEdit(this))
    , m_pResultFile(new QLineEdit(this))
    , m_pLanguage(new QComboBox(this))
    , m_pNorm(new QComboBox(this))
    , m_pBackupFolder(new QLineEdit(this))
    , m_pLogo(new QLineEdit(this))
{
    setWindowTitle(LoadString(IDS_SETTINGS_CAPTION));
    m_pMainFile->setObjectName(QStringLiteral("mainFile"));
    m_pResultFile->setObjectName(QStringLiteral("resultFile"));
    m_pLanguage->setObjectName(QStringLiteral("language"));
    m_pNorm->setObjectName(QStringLiteral("norm"));
    m_pBackupFolder->setObjectName(QStringLiteral("backupFolder"));
    m_pLogo->setObjectName(QStringLiteral("logo"));
    m_pMainFile->setMinimumWidth(fontMetrics().averageCharWidth() * 48);

    auto* pGrid = new QGridLayout;
    int nRow = 0;
    auto addLabel = [&](unsigned nTextId, QWidget* pBuddy) {
        auto* pLabel = new QLabel(LoadString(nTextId), this);
        pLabel->setBuddy(pBuddy);
        pGrid->addWidget(pLabel, nRow, 0);
    };
    auto addPathRow = [&](unsigned nTextId, QLineEdit* pEdit, const QString& strButtonName) {
        addLabel(nTextId, pEdit);
        pGrid->addWidget(pEdit, nRow, 1);
        auto* pButton = new QPushButton(LoadString(IDS_SETTINGS_BROWSE), this);
        pButton->setObjectName(strButtonName);
        pButton->setAutoDefault(false);
        // As narrow as its text allows, like the small buttons beside edits.
        pButton->setFixedWidth(pButton->fontMetrics().horizontalAdvance(pButton->text()) * 2 + 16);
        pGrid->addWidget(pButton, nRow, 2);
        ++nRow;
        return pButton;
    };
    auto addComboRow = [&](unsigned nTextId, QComboBox* pCombo) {
        addLabel(nTextId, pCombo);
        pGrid->addWidget(pCombo, nRow, 1, 1, 2, Qt::AlignLeft);
        ++nRow;
    };

    QPushButton* pMainButton = addPathRow(IDS_SETTINGS_MAIN_FILE, m_pMainFile, QStringLiteral("browseMainFile"));
    QPushButton* pResultButton =
        addPathRow(IDS_SETTINGS_RESULT_FILE, m_pResultFile, QStringLiteral("browseResultFile"));
    addComboRow(IDS_SETTINGS_LANGUAGE, m_pLanguage);
    addComboRow(IDS_SETTINGS_NORM, m_pNorm);
    QPushButton* pBackupButton =
        addPathRow(IDS_SETTINGS_BACKUP_FOLDER, m_pBackupFolder, QStringLiteral("browseBackupFolder"));
    QPushButton* pLogoButton = addPathRow(IDS_SETTINGS_LOGO, m_pLogo, QStringLiteral("browseLogo"));
    pGrid->setColumnStretch(1, 1);

    auto* pNote = new QLabel(LoadString(IDS_SETTINGS_LANGUAGE_NOTE), this);
    pNote->setObjectName(QStringLiteral("languageNote"));
    pNote->setWordWrap(true);

    auto* pButtons = new QDialogButtonBox(this);
    pButtons->addButton(LoadString(IDS_SETTINGS_OK), QDialogButtonBox::AcceptRole)->setDefault(true);
    pButtons->addButton(LoadString(IDS_SETTINGS_CANCEL), QDialogButtonBox::RejectRole);
    connect(pButtons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(pButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* pLayout = new QVBoxLayout(this);
    pLayout->addLayout(pGrid);
    pLayout->addSpacing(6);
    pLayout->addWidget(pNote);
    pLayout->addSpacing(6);
    pLayout->addWidget(pButtons);
    pLayout->setSizeConstraint(QLayout::SetFixedSize);

    // Each "..." button right after its edit, in the order of the rows.
    QWidget* const tabOrder[] = {m_pMainFile, pMainButton,     m_pResultFile, pResultButton, m_pLanguage,
                                 m_pNorm,     m_pBackupFolder, pBackupButton, m_pLogo,       pLogoButton};
    for (size_t i = 1; i < std::size(tabOrder); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);

    connect(pMainButton, &QPushButton::clicked, this,
            [this] { OnBrowseFile(m_pMainFile, IDS_XML_FILE_FILTER, QStringLiteral("xml")); });
    connect(pResultButton, &QPushButton::clicked, this,
            [this] { OnBrowseFile(m_pResultFile, IDS_XML_FILE_FILTER, QStringLiteral("xml")); });
    connect(pBackupButton, &QPushButton::clicked, this, &CSettingsDlg::OnBrowseFolder);
    connect(pLogoButton, &QPushButton::clicked, this,
            [this] { OnBrowseFile(m_pLogo, IDS_BMP_FILE_FILTER, QStringLiteral("bmp")); });
}

QString CSettingsDlg::ConvertFilter(const QString& strWindowsFilter)
{
    // Pairs of text and patterns; the list ends with an empty text.
    const QStringList parts = strWindowsFilter.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts.at(i).isEmpty())
            break;
        QStringList patterns = parts.at(i + 1).split(u';', Qt::SkipEmptyParts);
        for (QString& strPattern : patterns)
            strPattern = strPattern.trimmed();
        filters.append(parts.at(i) + QStringLiteral(" (") + patterns.join(u' ') + u')');
    }
    return filters.join(QStringLiteral(";;"));
}

void CSettingsDlg::showEvent(QShowEvent* pEvent)
{
    // Filled from the members and the settings each time the caller shows the
    // dialog, not when the window system merely restores it.
    if (!pEvent->spontaneous())
        OnInitDialog();
    QDialog::showEvent(pEvent);
}

void CSettingsDlg::OnInitDialog()
{
    m_pMainFile->setText(m_strMainFile);
    m_pResultFile->setText(m_strResultFile);
    m_pBackupFolder->setText(m_strBackupFolder);
    m_pLogo->setText(m_strLogo);
    // Long paths show their beginning, where they differ most.
    for (QLineEdit* pEdit : {m_pMainFile, m_pResultFile, m_pBackupFolder, m_pLogo})
        pEdit->setCursorPosition(0);

    FillLanguages();

    m_pNorm->clear();
    m_pNorm->addItem(LoadString(IDS_NORM_IEC387));
    m_pNorm->addItem(LoadString(IDS_NORM_DIN410));
    const quint32 nNorm = CRegSettings().Get(Setting::Norm);
    m_pNorm->setCurrentIndex(nNorm < quint32(m_pNorm->count()) ? int(nNorm) : 0);
}

void CSettingsDlg::FillLanguages()
{
    m_pLanguage->clear();
    m_pLanguage->addItem(LoadString(IDS_LANG_GERMAN), Language::kGerman);
    // A language is offered when its translation is installed. Qt translation
    // files carry no version number, so presence is the whole check.
    for (const LanguageEntry& e : kLanguages) {
        const QString strAbbreviation = QString::fromLatin1(e.pszAbbreviation);
        if (!Language::FindTranslation(strAbbreviation).isEmpty())
            m_pLanguage->addItem(LoadString(e.nTextId), Language::LangIDOfAbbreviation(strAbbreviation));
    }
    // A language in use that is not offered leaves the combo without a
    // selection, and OK then keeps the stored "LangID".
    m_pLanguage->setCurrentIndex(m_pLanguage->findData(LangIDInUse()));
}

void CSettingsDlg::OnBrowseFile(QLineEdit* pEdit, unsigned nFilterId, const QString& strSuffix)
{
    const QString strFile = m_fnChooseFile(this, pEdit->text(), ConvertFilter(LoadString(nFilterId)), strSuffix);
    if (!strFile.isEmpty())
        pEdit->setText(strFile);
}

void CSettingsDlg::OnBrowseFolder()
{
    const QString strFolder = m_fnChooseFolder(this, LoadString(IDS_BACKUP_FOLDER_PROMPT), m_pBackupFolder->text());
    if (!strFolder.isEmpty())
        m_pBackupFolder->setText(strFolder);
}

void CSettingsDlg::accept()
{
    m_strMainFile = m_pMainFile->text();
    m_strResultFile = m_pResultFile->text();
    m_strBackupFolder = m_pBackupFolder->text();
    m_strLogo = m_pLogo->text();

    const CRegSettings settings;
    if (m_pLanguage->currentIndex() >= 0)
        settings.Set(Setting::LangID, m_pLanguage->currentData().toUInt());
    settings.Set(Setting::Norm, quint32(std::max(m_pNorm->currentIndex(), 0)));
    QDialog::accept();
}
