#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;

// Dialog 146 "Istwerte wählen": one quantity of a continuous series and, for
// a per-phase quantity, the phases L1, L2, L3 to show.
class CChooseValuesDlg : public QDialog
{
    Q_OBJECT
public:
    // Control ids, also the object names of the controls.
    enum ControlId : int {
        IDC_L1 = 1029,
        IDC_L2 = 1030,
        IDC_L3 = 1031,
        IDC_QUANTITY = 1032,
    };

    explicit CChooseValuesDlg(QWidget* pParent = nullptr);

    // In: the choice the dialog opens with; out, after OK: the choice made.
    int m_nQuantity = 0;
    QString m_strQuantity;
    bool m_bPhases[3] = {true, true, true};

    QComboBox* GetQuantityBox() const { return m_pQuantity; }
    QCheckBox* GetPhaseBox(int nPhase) const { return m_pPhases[nPhase]; }

    int exec() override;

public slots:
    void accept() override;

private:
    void OnQuantityChanged(int nIndex);

    QComboBox* m_pQuantity = nullptr;
    QCheckBox* m_pPhases[3] = {};
};
