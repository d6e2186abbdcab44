#include "locations/AssignResultDlg.h"

#include "locations/LocationTree.h"
#include "resources/StringTable.h"
#include "xml/XMLException.h"
#include "xml/XMLNodeMain.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include <algorithm>

CAssignResultDlg::CAssignResultDlg(QWidget* pParent)
    : QDialog(pParent)
    , m_pIds(new QComboBox(this))
    , m_pRemark(new QPlainTextEdit(this))
{
    setWindowTitle(LoadString(IDS_ASSIGN_TITLE));
    m_pIds->setObjectName(QStringLiteral("1025"));
    m_pRemark->setObjectName(QStringLiteral("1007"));
    m_pRemark->setReadOnly(true);
    auto* pButtons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    pButtons->button(QDialogButtonBox::Ok)->setText(LoadString(IDS_SETTINGS_OK));
    pButtons->button(QDialogButtonBox::Cancel)->setText(LoadString(IDS_SETTINGS_CANCEL));
    connect(pButtons, &QDialogButtonBox::accepted, this, &CAssignResultDlg::accept);
    connect(pButtons, &QDialogButtonBox::rejected, this, &CAssignResultDlg::reject);
    connect(m_pIds, &QComboBox::currentIndexChanged, this,
            [this](int n) { m_pRemark->setPlainText(n < 0 ? QString() : m_pIds->itemData(n).toString()); });
    auto* pLayout = new QFormLayout(this);
    auto* pInfo = new QLabel(LoadString(IDS_INFO_ASSIGN), this);
    pInfo->setWordWrap(true);
    pLayout->addRow(pInfo);
    pLayout->addRow(LoadString(IDS_LBL_ID), m_pIds);
    pLayout->addRow(LoadString(IDS_LBL_REMARK), m_pRemark);
    pLayout->addRow(pButtons);
    setMinimumWidth(360);
}

bool CAssignResultDlg::OnInitDialog()
{
    std::vector<std::pair<QString, QString>> entries;
    try {
        if (m_pMain && m_pMain->IsValid()) {
            CXMLNodeMain m(m_pMain);
            m.SetFieldNames({QStringLiteral("ID"), QStringLiteral("Remark")});
            for (m.Open(QStringLiteral(".//Main")); !m.IsEOF(); m.MoveNext())
                entries.emplace_back(m.m_General.m_strID, m.m_General.m_strRemark);
        }
    } catch (const CXMLException& e) {
        e.ReportError();
        return false;
    }
    // Sorted as a sorted list control does it: case-insensitively.
    std::stable_sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
        return CLocationTree::CompareNames(a.first, b.first) < 0;
    });
    m_pIds->clear();
    for (const auto& [strId, strRemark] : entries)
        m_pIds->addItem(strId, strRemark);
    m_pIds->setCurrentIndex(entries.empty() ? -1 : 0);
    return true;
}

int CAssignResultDlg::exec()
{
    if (!OnInitDialog())
        return QDialog::Rejected;
    return QDialog::exec();
}

void CAssignResultDlg::accept()
{
    if (m_pIds->currentIndex() < 0) {
        reject();
        return;
    }
    m_strChosenId = m_pIds->currentText();
    QDialog::accept();
}
