#include "app/Language.h"
#include "app/SettingsDlg.h"
#include "core/RegSettings.h"
#include "resources/StringTable.h"
#include "../common/TestSupport.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QTranslator>

using LangList = QList<quint32>;

namespace {

QSettings Store()
{
    return QSettings(QStringLiteral("KOLT GmbH"), QStringLiteral("Qarda"));
}

QMap<QString, QVariant> Snapshot()
{
    QSettings s = Store();
    QMap<QString, QVariant> values;
    for (const QString& strKey : s.allKeys())
        values.insert(strKey, s.value(strKey));
    return values;
}

void RemoveTranslations()
{
    for (QTranslator* p : QCoreApplication::instance()->findChildren<QTranslator*>()) {
        QCoreApplication::removeTranslator(p);
        delete p;
    }
}

QPushButton* DialogButton(QDialog& dlg, QDialogButtonBox::ButtonRole role)
{
    auto* pBox = dlg.findChild<QDialogButtonBox*>();
    for (QAbstractButton* p : pBox->buttons())
        if (pBox->buttonRole(p) == role)
            return qobject_cast<QPushButton*>(p);
    return nullptr;
}

} // namespace

class TestSettingsDlg : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void dialog_data();
    void dialog();
    void browse_data();
    void browse();
    void convertFilter_data();
    void convertFilter();
};

void TestSettingsDlg::init()
{
    Store().clear();
}

void TestSettingsDlg::cleanup()
{
    RemoveTranslations();
}

void TestSettingsDlg::dialog_data()
{
    QTest::addColumn<quint32>("stored");
    QTest::addColumn<QVariant>("norm");  // invalid: missing
    QTest::addColumn<quint32>("selected");
    QTest::addColumn<int>("normIndex");
    // What the user picks, and how the dialog is closed.
    QTest::addColumn<int>("language");  // combo index: Deutsch, Englisch, Französisch
    QTest::addColumn<int>("newNorm");
    QTest::addColumn<int>("way");  // 0 OK, 1 Abbrechen, 2 Escape
    // Beside this program: RQardaENU.qm, RQardaFRA.qm and RQardaENG.qm.
    QTest::newRow("German; OK: English, DIN 410") << 1031u << QVariant() << 1031u << 0 << 1 << 1 << 0;
    QTest::newRow("French; OK: German, IEC 387") << 1036u << QVariant(1) << 1036u << 1 << 0 << 0 << 0;
    QTest::newRow("unknown abbreviation counts as English; Abbrechen")
        << 2057u << QVariant(7) << 1033u << 0 << 2 << 1 << 1;
    QTest::newRow("Czech not installed, German in use; Escape") << 1029u << QVariant(0) << 1031u << 0 << 1 << 1 << 2;
}

void TestSettingsDlg::dialog()
{
    QFETCH(quint32, stored);
    QFETCH(QVariant, norm);
    QFETCH(int, language);
    QFETCH(int, newNorm);
    QFETCH(int, way);
    CRecordingSink sink;
    CRegSettings().SetDWORD(QStringLiteral("LangID"), stored);
    if (norm.isValid())
        Store().setValue(QStringLiteral("Settings/Norm"), norm);
    LoadLanguageDLL();
    const auto before = Snapshot();

    CSettingsDlg dlg;
    dlg.m_strMainFile = QStringLiteral("/data/Main.xml");
    dlg.m_strResultFile = QStringLiteral("/data/Result.xml");
    dlg.m_strBackupFolder = QStringLiteral("/data/Sicherung");
    dlg.m_strLogo = QString();
    dlg.show();
    auto* pCombo = dlg.findChild<QComboBox*>(QStringLiteral("language"));
    QVERIFY(pCombo);
    LangList ids;
    QStringList texts;
    for (int i = 0; i < pCombo->count(); ++i) {
        ids.append(pCombo->itemData(i).toUInt());
        texts.append(pCombo->itemText(i));
    }
    // German always first; then only installed ones, in the fixed order.
    QCOMPARE(ids, (LangList{1031, 1033, 1036}));
    QCOMPARE(texts, (QStringList{QStringLiteral("Deutsch"), QStringLiteral("Englisch"), QStringLiteral("Französisch")}));
    QTEST(pCombo->currentData().toUInt(), "selected");
    auto* pNorm = dlg.findChild<QComboBox*>(QStringLiteral("norm"));
    QCOMPARE(pNorm->count(), 2);
    QCOMPARE(pNorm->itemText(1), QStringLiteral("DIN 410"));
    QTEST(pNorm->currentIndex(), "normIndex");
    // The whole note is visible, not cut at the dialog's edge.
    auto* pNote = dlg.findChild<QLabel*>(QStringLiteral("languageNote"));
    QVERIFY(pNote);
    QVERIFY(dlg.rect().contains(QRect(pNote->mapTo(&dlg, QPoint()), pNote->sizeHint())));
    QCOMPARE(dlg.findChild<QLineEdit*>(QStringLiteral("mainFile"))->text(), QStringLiteral("/data/Main.xml"));
    QCOMPARE(dlg.findChild<QLineEdit*>(QStringLiteral("backupFolder"))->text(), QStringLiteral("/data/Sicherung"));

    pCombo->setCurrentIndex(language);
    pNorm->setCurrentIndex(newNorm);
    // Typed paths come back in the members.
    QLineEdit* pResult = dlg.findChild<QLineEdit*>(QStringLiteral("resultFile"));
    pResult->selectAll();
    QTest::keyClicks(pResult, QStringLiteral("/other/Ergebnis.xml"));
    dlg.findChild<QLineEdit*>(QStringLiteral("logo"))->setText(QStringLiteral("/Bilder/Költ Logo.bmp"));
    if (way == 2)
        QTest::keyClick(&dlg, Qt::Key_Escape);
    else
        QTest::mouseClick(DialogButton(dlg, way ? QDialogButtonBox::RejectRole : QDialogButtonBox::AcceptRole),
                          Qt::LeftButton);
    QVERIFY(!dlg.isVisible());
    QVERIFY(sink.m_shown.isEmpty());
    if (way) {
        QCOMPARE(dlg.result(), int(QDialog::Rejected));
        QCOMPARE(Snapshot(), before);
        QCOMPARE(dlg.m_strResultFile, QStringLiteral("/data/Result.xml"));
        return;
    }
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    QCOMPARE(CRegSettings().GetDWORD(QStringLiteral("LangID"), 0), pCombo->itemData(language).toUInt());
    QCOMPARE(CRegSettings().GetDWORD(QStringLiteral("Norm"), 9), quint32(newNorm));
    QCOMPARE(dlg.m_strMainFile, QStringLiteral("/data/Main.xml"));
    QCOMPARE(dlg.m_strResultFile, QStringLiteral("/other/Ergebnis.xml"));
    QCOMPARE(dlg.m_strBackupFolder, QStringLiteral("/data/Sicherung"));
    QCOMPARE(dlg.m_strLogo, QStringLiteral("/Bilder/Költ Logo.bmp"));
    // The dialog stores no paths: that is the caller's part.
    QVERIFY(!Store().contains(QStringLiteral("Settings/ResultFile")));
    QVERIFY(!Store().contains(QStringLiteral("Settings/Logo")));
}

void TestSettingsDlg::browse_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QString>("answer");    // of the stubbed chooser; empty: cancelled
    QTest::addColumn<QString>("expected");  // edit text afterwards
    QTest::addColumn<QString>("filter");    // empty: the folder chooser is expected
    QTest::addColumn<QString>("suffix");

    const QString strXml = QStringLiteral("XML - Datei (xml) (*.xml)");
    QTest::newRow("main file") << QStringLiteral("browseMainFile") << QStringLiteral("mainFile")
                               << QStringLiteral("/d/Orte.xml") << QStringLiteral("/d/Orte.xml") << strXml
                               << QStringLiteral("xml");
    QTest::newRow("main file cancelled") << QStringLiteral("browseMainFile") << QStringLiteral("mainFile") << QString()
                                         << QStringLiteral("start") << strXml << QStringLiteral("xml");
    QTest::newRow("logo") << QStringLiteral("browseLogo") << QStringLiteral("logo") << QStringLiteral("/d/Logo.bmp")
                          << QStringLiteral("/d/Logo.bmp") << QStringLiteral("BMP - Datei (bmp) (*.bmp)")
                          << QStringLiteral("bmp");
    QTest::newRow("backup folder") << QStringLiteral("browseBackupFolder") << QStringLiteral("backupFolder")
                                   << QStringLiteral("/d/Backup") << QStringLiteral("/d/Backup") << QString()
                                   << QString();
}

void TestSettingsDlg::browse()
{
    QFETCH(QString, button);
    QFETCH(QString, edit);
    QFETCH(QString, answer);
    QFETCH(QString, expected);
    QFETCH(QString, filter);
    QFETCH(QString, suffix);

    CSettingsDlg dlg;
    QStringList fileCalls, folderCalls;
    dlg.m_fnChooseFile = [&](QWidget* pParent, const QString& strCurrent, const QString& strFilter,
                             const QString& strSuffix) {
        fileCalls << strCurrent << strFilter << strSuffix;
        [&] { QCOMPARE(pParent, &dlg); }();
        return answer;
    };
    dlg.m_fnChooseFolder = [&](QWidget* pParent, const QString& strPrompt, const QString& strCurrent) {
        folderCalls << strPrompt << strCurrent;
        [&] { QCOMPARE(pParent, &dlg); }();
        return answer;
    };
    dlg.show();
    QLineEdit* pEdit = dlg.findChild<QLineEdit*>(edit);
    pEdit->setText(QStringLiteral("start"));
    QTest::mouseClick(dlg.findChild<QPushButton*>(button), Qt::LeftButton);

    if (filter.isEmpty()) {
        QCOMPARE(fileCalls, QStringList());
        QCOMPARE(folderCalls, (QStringList{QStringLiteral("Wählen Sie ein Verzeichnis für die Backup-Dateien aus."),
                                           QStringLiteral("start")}));
    } else {
        QCOMPARE(folderCalls, QStringList());
        QCOMPARE(fileCalls, (QStringList{QStringLiteral("start"), filter, suffix}));
    }
    QCOMPARE(pEdit->text(), expected);
    // Choosing a path is no decision yet: the dialog is still open.
    QVERIFY(dlg.isVisible());
}

void TestSettingsDlg::convertFilter_data()
{
    QTest::addColumn<QString>("windows");
    QTest::addColumn<QString>("qt");
    QTest::newRow("xml") << QStringLiteral("XML - Datei (xml)|*.xml||") << QStringLiteral("XML - Datei (xml) (*.xml)");
    QTest::newRow("two filters, two patterns")
        << QStringLiteral("Bilder|*.bmp;*.dib|Alle Dateien (*.*)|*.*||")
        << QStringLiteral("Bilder (*.bmp *.dib);;Alle Dateien (*.*) (*.*)");
    QTest::newRow("empty") << QString() << QString();
}

void TestSettingsDlg::convertFilter()
{
    QFETCH(QString, windows);
    QTEST(CSettingsDlg::ConvertFilter(windows), "qt");
}

int main(int argc, char** argv)
{
    // The settings go to a temporary folder before anything reads them.
    QTemporaryDir dir;
    UseTemporarySettings(dir);
    QApplication app(argc, argv);
    CRegSettings::SetOrganisation();
    TestSettingsDlg test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_settingsdlg.moc"
