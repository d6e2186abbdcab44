#pragma once

#include <QDialog>
#include <QList>
#include <QString>

#include <functional>

class QButtonGroup;
class QLineEdit;
class QListWidget;
class QPushButton;

// A file filter of the string table ("Text|*.a||") in Qt's form.
QString FileFilterOf(unsigned nFilterId);

// "Orte importieren": the mode (a pair of XML files or a CSV file), the
// files, and for CSV the separator and the order of the columns. Reads the
// "ImportExport" settings when it opens and stores them on OK.
class CImportLocationsDlg : public QDialog
{
    Q_OBJECT
public:
    explicit CImportLocationsDlg(QWidget* pParent = nullptr);

    int exec() override;
    void OnInitDialog();
    // Refuses (279, 278, no ID column) and stays open; else stores the
    // settings and closes.
    void accept() override;

    // Filled on OK.
    int m_nMode = 0;
    QString m_strMainFile;
    QString m_strResultFile;
    QChar m_chSeparator;
    QList<int> m_order;

    // The file chooser, replaceable for tests: current path and filter;
    // empty when cancelled.
    std::function<QString(QWidget*, const QString& strCurrent, const QString& strFilter)> m_fnChooseFile;

    // Moves the selected entries of one list to the end of the other.
    void MoveEntries(bool bToSelected);
    // Moves the current entry of "ausgewählt:" up (-1) or down (+1).
    void MoveSelected(int nStep);
    void UpdateControls();

    QButtonGroup* m_pMode;
    QLineEdit* m_pMain;
    QLineEdit* m_pResult;
    QPushButton* m_pBrowseMain;
    QPushButton* m_pBrowseResult;
    QButtonGroup* m_pSeparator;
    QLineEdit* m_pOther;
    QListWidget* m_pAvailable;
    QListWidget* m_pSelected;
    QPushButton* m_pAdd;
    QPushButton* m_pRemove;
    QPushButton* m_pUp;
    QPushButton* m_pDown;
};
