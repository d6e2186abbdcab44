#pragma once

#include <QDialog>
#include <QString>

#include <functional>

class QComboBox;
class QLineEdit;
class QPushButton;

// The settings dialog: the two data files, the language, the angle norm, the
// backup folder and the print logo. The caller puts the four paths into the
// members before exec() and takes them back after OK; the dialog itself
// stores only "LangID" and "Norm", and only on OK.
class CSettingsDlg : public QDialog
{
    Q_OBJECT
public:
    explicit CSettingsDlg(QWidget* pParent = nullptr);

    // Shown when the dialog opens, taken from the edits on OK.
    QString m_strMainFile;
    QString m_strResultFile;
    QString m_strBackupFolder;
    QString m_strLogo;

    // The file and folder choosers, replaceable so that tests need no native
    // dialogs. Each gets the dialog, the caption or prompt, the current path
    // and (files only) the filter in Qt's form; an empty answer means the
    // user cancelled.
    std::function<QString(QWidget*, const QString& strCurrent, const QString& strFilter, const QString& strSuffix)>
        m_fnChooseFile;
    std::function<QString(QWidget*, const QString& strPrompt, const QString& strCurrent)> m_fnChooseFolder;

    // Turns a filter in the Windows form "Text|*.a;*.b|Text2|*.c||" into
    // Qt's form "Text (*.a *.b);;Text2 (*.c)".
    static QString ConvertFilter(const QString& strWindowsFilter);

    void accept() override;

protected:
    void showEvent(QShowEvent* pEvent) override;

private:
    void OnInitDialog();
    void FillLanguages();
    void OnBrowseFile(QLineEdit* pEdit, unsigned nFilterId, const QString& strSuffix);
    void OnBrowseFolder();

    QLineEdit* m_pMainFile;
    QLineEdit* m_pResultFile;
    QComboBox* m_pLanguage;
    QComboBox* m_pNorm;
    QLineEdit* m_pBackupFolder;
    QLineEdit* m_pLogo;
};
