#include "locations/ImportLocationsDlg.h"

#include "core/Messages.h"
#include "core/RegSettings.h"
#include "locations/LocationImport.h"
#include "resources/StringTable.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <tuple>

QString FileFilterOf(unsigned nFilterId)
{
    const QStringList parts = LoadString(nFilterId).split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size() && !parts[i].isEmpty(); i += 2)
        filters << parts[i] + QStringLiteral(" (") + parts[i + 1].split(u';', Qt::SkipEmptyParts).join(u' ') + u')';
    return filters.join(QStringLiteral(";;"));
}

namespace {

QListWidget* MakeList(QWidget* pParent, const char* pszName)
{
    auto* pList = new QListWidget(pParent);
    pList->setObjectName(QLatin1String(pszName));
    pList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    pList->setMinimumWidth(180);
    return pList;
}

void AddEntry(QListWidget* pList, int nColumn)
{
    auto* pItem = new QListWidgetItem(ImportColumnLabel(nColumn), pList);
    pItem->setData(Qt::UserRole, nColumn);
}

} // namespace

CImportLocationsDlg::CImportLocationsDlg(QWidget* pParent)
    : QDialog(pParent)
    , m_pMode(new QButtonGroup(this))
    , m_pMain(new QLineEdit(this))
    , m_pResult(new QLineEdit(this))
    , m_pBrowseMain(new QPushButton(QStringLiteral("..."), this))
    , m_pBrowseResult(new QPushButton(QStringLiteral("..."), this))
    , m_pSeparator(new QButtonGroup(this))
    , m_pOther(new QLineEdit(this))
    , m_pAvailable(MakeList(this, "1051"))
    , m_pSelected(MakeList(this, "1054"))
    , m_pAdd(new QPushButton(QStringLiteral(">>"), this))
    , m_pRemove(new QPushButton(QStringLiteral("<<"), this))
    , m_pUp(new QPushButton(LoadString(IDS_BTN_UP), this))
    , m_pDown(new QPushButton(LoadString(IDS_BTN_DOWN), this))
{
    setWindowTitle(LoadString(IDS_IMPORT_CAPTION));
    auto* pLayout = new QVBoxLayout(this);

    auto* pModeRow = new QHBoxLayout;
    for (auto [nId, nText, pszName] : {std::tuple{0, IDS_IMPORT_XML, "1070"}, std::tuple{1, IDS_IMPORT_CSV, "1071"}}) {
        auto* pRadio = new QRadioButton(LoadString(nText), this);
        pRadio->setObjectName(QLatin1String(pszName));
        m_pMode->addButton(pRadio, nId);
        pModeRow->addWidget(pRadio);
    }
    pModeRow->addStretch();
    pLayout->addLayout(pModeRow);

    auto* pFiles = new QGridLayout;
    m_pMain->setObjectName(QStringLiteral("1057"));
    m_pBrowseMain->setObjectName(QStringLiteral("1058"));
    m_pResult->setObjectName(QStringLiteral("1002"));
    m_pBrowseResult->setObjectName(QStringLiteral("1004"));
    for (QLineEdit* pEdit : {m_pMain, m_pResult}) {
        pEdit->setReadOnly(true);
        pEdit->setMinimumWidth(360);
    }
    pFiles->addWidget(new QLabel(LoadString(IDS_LBL_MAIN_FILE), this), 0, 0);
    pFiles->addWidget(m_pMain, 0, 1);
    pFiles->addWidget(m_pBrowseMain, 0, 2);
    pFiles->addWidget(new QLabel(LoadString(IDS_LBL_RESULT_FILE), this), 1, 0);
    pFiles->addWidget(m_pResult, 1, 1);
    pFiles->addWidget(m_pBrowseResult, 1, 2);
    pLayout->addLayout(pFiles);

    auto* pSepBox = new QGroupBox(LoadString(IDS_LBL_SEPARATOR), this);
    auto* pSepRow = new QHBoxLayout(pSepBox);
    const unsigned sepTexts[5] = {IDS_SEP_TAB, IDS_SEP_SEMICOLON, IDS_SEP_COMMA, IDS_SEP_BLANK, IDS_SEP_OTHER};
    for (int i = 0; i < 5; ++i) {
        auto* pRadio = new QRadioButton(LoadString(sepTexts[i]), pSepBox);
        pRadio->setObjectName(QString::number(1045 + i));
        m_pSeparator->addButton(pRadio, i);
        pSepRow->addWidget(pRadio);
    }
    m_pOther->setObjectName(QStringLiteral("1050"));
    m_pOther->setMaxLength(1);
    m_pOther->setMaximumWidth(40);
    pSepRow->addWidget(m_pOther);
    pSepRow->addStretch();
    pLayout->addWidget(pSepBox);

    auto* pColBox = new QGroupBox(LoadString(IDS_LBL_COLUMNS), this);
    auto* pCols = new QGridLayout(pColBox);
    pCols->addWidget(new QLabel(LoadString(IDS_LBL_AVAILABLE), pColBox), 0, 0);
    pCols->addWidget(new QLabel(LoadString(IDS_LBL_SELECTED), pColBox), 0, 2);
    pCols->addWidget(m_pAvailable, 1, 0);
    auto* pMoveCol = new QVBoxLayout;
    pMoveCol->addStretch();
    pMoveCol->addWidget(m_pAdd);
    pMoveCol->addWidget(m_pRemove);
    pMoveCol->addStretch();
    pCols->addLayout(pMoveCol, 1, 1);
    pCols->addWidget(m_pSelected, 1, 2);
    auto* pSpin = new QVBoxLayout;
    pSpin->addStretch();
    pSpin->addWidget(m_pUp);
    pSpin->addWidget(m_pDown);
    pSpin->addStretch();
    pCols->addLayout(pSpin, 1, 3);
    m_pAdd->setObjectName(QStringLiteral("1052"));
    m_pRemove->setObjectName(QStringLiteral("1053"));
    m_pUp->setObjectName(QStringLiteral("1056up"));
    m_pDown->setObjectName(QStringLiteral("1056down"));
    pLayout->addWidget(pColBox);

    auto* pButtons = new QDialogButtonBox(this);
    pButtons->addButton(LoadString(IDS_BTN_IMPORT), QDialogButtonBox::AcceptRole)->setObjectName(QStringLiteral("1"));
    pButtons->addButton(LoadString(IDS_SETTINGS_CANCEL), QDialogButtonBox::RejectRole)->setObjectName(QStringLiteral("2"));
    connect(pButtons, &QDialogButtonBox::accepted, this, &CImportLocationsDlg::accept);
    connect(pButtons, &QDialogButtonBox::rejected, this, &CImportLocationsDlg::reject);
    pLayout->addWidget(pButtons);

    m_fnChooseFile = [](QWidget* pParent, const QString& strCurrent, const QString& strFilter) {
        return QFileDialog::getOpenFileName(pParent, QString(), strCurrent, strFilter);
    };
    connect(m_pMode, &QButtonGroup::idClicked, this, [this] {
        // The main file of one mode is no file for the other.
        m_pMain->clear();
        UpdateControls();
    });
    connect(m_pSeparator, &QButtonGroup::idClicked, this, &CImportLocationsDlg::UpdateControls);
    connect(m_pBrowseMain, &QPushButton::clicked, this, [this] {
        const QString strFile = m_fnChooseFile(this, m_pMain->text(),
                                               FileFilterOf(m_pMode->checkedId() == 1 ? IDS_CSV_FILE_FILTER : IDS_XML_FILE_FILTER));
        if (!strFile.isEmpty())
            m_pMain->setText(strFile);
    });
    connect(m_pBrowseResult, &QPushButton::clicked, this, [this] {
        const QString strFile = m_fnChooseFile(this, m_pResult->text(), FileFilterOf(IDS_XML_FILE_FILTER));
        if (!strFile.isEmpty())
            m_pResult->setText(strFile);
    });
    connect(m_pAdd, &QPushButton::clicked, this, [this] { MoveEntries(true); });
    connect(m_pRemove, &QPushButton::clicked, this, [this] { MoveEntries(false); });
    connect(m_pUp, &QPushButton::clicked, this, [this] { MoveSelected(-1); });
    connect(m_pDown, &QPushButton::clicked, this, [this] { MoveSelected(1); });
}

int CImportLocationsDlg::exec()
{
    OnInitDialog();
    return QDialog::exec();
}

void CImportLocationsDlg::OnInitDialog()
{
    const CImportSettings s = CImportSettings::Load();
    m_pMode->button(s.m_nMode)->setChecked(true);
    m_pSeparator->button(s.m_nSeparator)->setChecked(true);
    m_pOther->setText(s.m_strOther);
    m_pMain->setText(m_strMainFile);
    m_pResult->setText(m_strResultFile);
    m_pAvailable->clear();
    m_pSelected->clear();
    for (int n : s.m_order)
        AddEntry(m_pSelected, n);
    for (int n = 0; n < kImportColumnCount; ++n)
        if (!s.m_order.contains(n))
            AddEntry(m_pAvailable, n);
    UpdateControls();
}

void CImportLocationsDlg::UpdateControls()
{
    const bool bCsv = m_pMode->checkedId() == 1;
    m_pResult->setEnabled(!bCsv);
    m_pBrowseResult->setEnabled(!bCsv);
    for (QAbstractButton* pButton : m_pSeparator->buttons())
        pButton->setEnabled(bCsv);
    for (QWidget* pWidget : std::initializer_list<QWidget*>{m_pAvailable, m_pSelected, m_pAdd, m_pRemove, m_pUp, m_pDown})
        pWidget->setEnabled(bCsv);
    m_pOther->setEnabled(bCsv && m_pSeparator->checkedId() == static_cast<int>(ImportSeparator::Other));
}

void CImportLocationsDlg::MoveEntries(bool bToSelected)
{
    QListWidget* pFrom = bToSelected ? m_pAvailable : m_pSelected;
    QListWidget* pTo = bToSelected ? m_pSelected : m_pAvailable;
    for (int i = 0; i < pFrom->count();) {
        if (pFrom->item(i)->isSelected()) {
            QListWidgetItem* pItem = pFrom->takeItem(i);
            pItem->setSelected(false);
            pTo->addItem(pItem);
        } else {
            ++i;
        }
    }
}

void CImportLocationsDlg::MoveSelected(int nStep)
{
    const int nRow = m_pSelected->currentRow();
    const int nTo = nRow + nStep;
    if (nRow < 0 || nTo < 0 || nTo >= m_pSelected->count())
        return;
    QListWidgetItem* pItem = m_pSelected->takeItem(nRow);
    m_pSelected->insertItem(nTo, pItem);
    m_pSelected->clearSelection();
    m_pSelected->setCurrentItem(pItem);
}

void CImportLocationsDlg::accept()
{
    CImportSettings s = CImportSettings::Load();
    s.m_nMode = m_pMode->checkedId() == 1 ? 1 : 0;
    CRegSettings(QStringLiteral("ImportExport")).Set(Setting::ImportMode, static_cast<quint32>(s.m_nMode));
    const QString strMain = m_pMain->text(), strResult = m_pResult->text();
    const auto exists = [](const QString& strPath) { return QFileInfo(strPath).isFile(); };
    bool bValid = s.m_nMode == 1 ? exists(strMain)
                                 : (!strMain.isEmpty() || !strResult.isEmpty()) && (strMain.isEmpty() || exists(strMain))
                                       && (strResult.isEmpty() || exists(strResult));
    if (!bValid) {
        ReportError(LoadString(IDS_CHOOSE_VALID_FILE), MsgIcon::Exclamation);
        return;
    }
    QList<int> order;
    if (s.m_nMode == 1) {
        s.m_nSeparator = qMax(0, m_pSeparator->checkedId());
        s.m_strOther = m_pOther->text();
        if (s.m_nSeparator == static_cast<int>(ImportSeparator::Other) && s.m_strOther.isEmpty()) {
            ReportError(LoadString(IDS_SEPARATOR_EMPTY), MsgIcon::Exclamation);
            m_pOther->setFocus();
            return;
        }
        for (int i = 0; i < m_pSelected->count(); ++i)
            order << m_pSelected->item(i)->data(Qt::UserRole).toInt();
        s.m_order = order;
        // Without the ID no line could become a location.
        if (!order.contains(kImportIdColumn)) {
            s.Store();
            ReportError(LoadString(IDS_IMPORT_ORDER_NO_ID), MsgIcon::Exclamation);
            return;
        }
    }
    s.Store();
    m_nMode = s.m_nMode;
    m_strMainFile = strMain;
    m_strResultFile = s.m_nMode == 1 ? QString() : strResult;
    m_chSeparator = s.Separator();
    m_order = order;
    QDialog::accept();
}
