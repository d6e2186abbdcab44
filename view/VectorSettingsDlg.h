#pragma once

#include "view/ActualValues.h"

#include <QDialog>

#include <functional>

class QAbstractButton;
class QPushButton;
class QRadioButton;

// Dialog 152 "Vektoren": what the vector length refers to and the colours of
// the six vectors. Opens with the stored settings; OK writes all seven back.
// The caller reloads the view's settings after OK.
class CVectorSettingsDlg : public QDialog
{
    Q_OBJECT
public:
    // Control ids of the dialog, also the object names of its controls.
    enum ControlId : int {
        IDC_COLOR_U1 = 1059, // to IDC_COLOR_I3 = 1064 in the order U1, U2, U3, I1, I2, I3
        IDC_REF_RANGE = 1065,
        IDC_REF_MAXIMUM = 1066,
    };

    // Chooses a colour; returns an invalid colour when the user cancels.
    // Tests replace it; by default it is the standard colour dialog.
    using ColourPicker = std::function<QColor(const QColor& current, QWidget* pParent)>;
    static ColourPicker SetColourPicker(ColourPicker picker);

    explicit CVectorSettingsDlg(QWidget* pParent = nullptr);

    const CVectorSettings& GetSettings() const { return m_settings; }
    QAbstractButton* GetControl(int nId) const;

public slots:
    void accept() override;

private:
    void PickColour(int nVector);
    void ShowColour(int nVector);

    CVectorSettings m_settings;
    QPushButton* m_pColourButtons[6] = {};
    QRadioButton* m_pRefRange = nullptr;
    QRadioButton* m_pRefMaximum = nullptr;
};
