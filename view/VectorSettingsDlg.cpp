#include "view/VectorSettingsDlg.h"

#include "resources/StringTable.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

CVectorSettingsDlg::ColourPicker& Picker()
{
    static CVectorSettingsDlg::ColourPicker picker = [](const QColor& current, QWidget* pParent) {
        return QColorDialog::getColor(current, pParent);
    };
    return picker;
}

} // namespace

CVectorSettingsDlg::ColourPicker CVectorSettingsDlg::SetColourPicker(ColourPicker picker)
{
    ColourPicker previous = Picker();
    Picker() = std::move(picker);
    return previous;
}

CVectorSettingsDlg::CVectorSettingsDlg(QWidget* pParent)
    : QDialog(pParent)
    , m_settings(LoadVectorSettings())
{
    setWindowTitle(LoadString(IDS_KIND_VECTOR));

    auto* pRefBox = new QGroupBox(LoadString(IDS_VECTOR_DLG_REFERENCE), this);
    m_pRefRange = new QRadioButton(LoadString(IDS_VECTOR_REF_RANGE), pRefBox);
    m_pRefMaximum = new QRadioButton(LoadString(IDS_VECTOR_REF_MAXIMUM), pRefBox);
    m_pRefRange->setObjectName(QString::number(IDC_REF_RANGE));
    m_pRefMaximum->setObjectName(QString::number(IDC_REF_MAXIMUM));
    (m_settings.m_nReference == kVectorRefMaximum ? m_pRefMaximum : m_pRefRange)->setChecked(true);
    auto* pRefLayout = new QVBoxLayout(pRefBox);
    pRefLayout->addWidget(m_pRefRange);
    pRefLayout->addWidget(m_pRefMaximum);

    auto* pColourBox = new QGroupBox(LoadString(IDS_VECTOR_DLG_COLOURS), this);
    auto* pGrid = new QGridLayout(pColourBox);
    for (int v = 0; v < 6; ++v) {
        const QString strName = QStringLiteral("%1%2").arg(v < 3 ? QLatin1Char('U') : QLatin1Char('I')).arg(v % 3 + 1);
        auto* pButton = new QPushButton(strName, pColourBox);
        pButton->setObjectName(QString::number(IDC_COLOR_U1 + v));
        m_pColourButtons[v] = pButton;
        ShowColour(v);
        connect(pButton, &QPushButton::clicked, this, [this, v] { PickColour(v); });
        // Voltages in the first row, currents in the second.
        pGrid->addWidget(pButton, v / 3, v % 3);
    }

    auto* pButtons = new QDialogButtonBox(this);
    pButtons->addButton(LoadString(IDS_SETTINGS_OK), QDialogButtonBox::AcceptRole);
    pButtons->addButton(LoadString(IDS_SETTINGS_CANCEL), QDialogButtonBox::RejectRole);
    connect(pButtons, &QDialogButtonBox::accepted, this, &CVectorSettingsDlg::accept);
    connect(pButtons, &QDialogButtonBox::rejected, this, &CVectorSettingsDlg::reject);

    auto* pLayout = new QVBoxLayout(this);
    pLayout->addWidget(pRefBox);
    pLayout->addWidget(pColourBox);
    pLayout->addWidget(pButtons);
}

QAbstractButton* CVectorSettingsDlg::GetControl(int nId) const
{
    if (nId == IDC_REF_RANGE)
        return m_pRefRange;
    if (nId == IDC_REF_MAXIMUM)
        return m_pRefMaximum;
    if (nId >= IDC_COLOR_U1 && nId < IDC_COLOR_U1 + 6)
        return m_pColourButtons[nId - IDC_COLOR_U1];
    return nullptr;
}

void CVectorSettingsDlg::PickColour(int nVector)
{
    const QColor colour = Picker()(m_settings.m_colours[nVector], this);
    if (!colour.isValid())
        return;
    m_settings.m_colours[nVector] = colour;
    ShowColour(nVector);
}

void CVectorSettingsDlg::ShowColour(int nVector)
{
    QPixmap swatch(24, 12);
    swatch.fill(m_settings.m_colours[nVector]);
    m_pColourButtons[nVector]->setIcon(QIcon(swatch));
    m_pColourButtons[nVector]->setIconSize(swatch.size());
}

void CVectorSettingsDlg::accept()
{
    m_settings.m_nReference = m_pRefMaximum->isChecked() ? kVectorRefMaximum : kVectorRefRange;
    SaveVectorSettings(m_settings);
    QDialog::accept();
}
