// The settings: their store, the language, the data files of a first start,
// and the settings dialog.

#include "../common/TestSupport.h"
#include "app/DataFiles.h"
#include "app/Language.h"
#include "app/SettingsDlg.h"
#include "core/RegSettings.h"
#include "resources/StringTable.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QTranslator>

Q_DECLARE_METATYPE(DataFileUse)

using LangList = QList<quint32>;

namespace {

QSettings Store()
{
    return QSettings(QStringLiteral("KOLT GmbH"), QStringLiteral("Qarda"));
}

QPushButton* DialogButton(QDialog& dlg, QDialogButtonBox::ButtonRole role)
{
    auto* pBox = dlg.findChild<QDialogButtonBox*>();
    for (QAbstractButton* p : pBox->buttons())
        if (pBox->buttonRole(p) == role)
            return qobject_cast<QPushButton*>(p);
    return nullptr;
}

}  // namespace

class TestSettings : public QObject
{
    Q_OBJECT
public:
    // The settings go to a temporary folder before anything reads them.
    TestSettings() { m_strConf = UseTemporarySettings(m_dir); }

private:
    QTemporaryDir m_dir;
    QString m_strConf;

private slots:
    void init()
    {
        QDir(m_dir.path()).removeRecursively();
        QDir().mkpath(m_dir.path());
        Store().clear();
    }

    // Each test loads the translation it needs.
    void cleanup()
    {
        for (QTranslator* p : QCoreApplication::instance()->findChildren<QTranslator*>()) {
            QCoreApplication::removeTranslator(p);
            delete p;
        }
    }

    void values_data()
    {
        // A value as stored, read as a number (default 30000) or, when a text
        // is expected, as a text (default "dflt"), and what the store holds
        // afterwards; invalid stands for missing.
        QTest::addColumn<QString>("key");  // group/name
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<QVariant>("expected");
        QTest::addColumn<QVariant>("after");
        QTest::addColumn<bool>("message");
        const QString strTimeout = QStringLiteral("Settings/PX900Timeout"),
                      strMain = QStringLiteral("Settings/MainFile");
        const QVariant text(QStringLiteral("1234")), list(QStringList{QStringLiteral("a"), QStringLiteral("b")});
        QTest::newRow("number missing: default written")
            << strTimeout << QVariant() << QVariant(30000u) << QVariant(30000u) << false;
        QTest::newRow("number") << strTimeout << QVariant(5000) << QVariant(5000u) << QVariant(5000) << false;
        QTest::newRow("number as text") << strTimeout << text << QVariant(1234u) << text << false;
        QTest::newRow("garbage: default written")
            << strTimeout << QVariant(QStringLiteral("abc")) << QVariant(30000u) << QVariant(30000u) << false;
        QTest::newRow("negative: default written")
            << strTimeout << QVariant(-1) << QVariant(30000u) << QVariant(30000u) << false;
        QTest::newRow("text missing: default not written")
            << strMain << QVariant() << QVariant(QStringLiteral("dflt")) << QVariant() << false;
        QTest::newRow("text of its own group")
            << QStringLiteral("ImportExport/MainFile") << QVariant(QStringLiteral("x.xml"))
            << QVariant(QStringLiteral("x.xml")) << QVariant(QStringLiteral("x.xml")) << false;
        QTest::newRow("a list is no text")
            << QStringLiteral("Settings/Logo") << list << QVariant(QStringLiteral("dflt")) << list << true;
    }
    void values()
    {
        QFETCH(QString, key);
        QFETCH(QVariant, stored);
        QFETCH(QVariant, expected);
        QFETCH(bool, message);
        if (stored.isValid())
            Store().setValue(key, stored);
        const QString strGroup = key.section(u'/', 0, 0), strName = key.section(u'/', 1);
        CRecordingSink sink;
        const CRegSettings settings(strGroup);
        if (expected.typeId() == QMetaType::QString)
            QCOMPARE(QVariant(settings.GetString(strName, QStringLiteral("dflt"))), expected);
        else
            QCOMPARE(QVariant(settings.GetDWORD(strName, 30000)), expected);
        QTEST(Store().value(key), "after");
        QCOMPARE(sink.m_shown.size(), message ? 1 : 0);
        if (message)
            QCOMPARE(sink.m_shown.at(0).first,
                     QStringLiteral("Der Wert '%1' konnte im Schlüssel '%2 [%3]' nicht erzeugt werden.")
                         .arg(strName, m_strConf, strGroup));
    }

    void unreadableStoreGivesDefaultsSilently()
    {
        // A store that cannot be read (here: a folder where the settings file
        // belongs) is a key that cannot be opened: defaults, no writes, no
        // message.
        QVERIFY(QDir().mkpath(m_strConf));
        CRecordingSink sink;
        QCOMPARE(CRegSettings().GetDWORD(QStringLiteral("Norm"), 1), 1u);
        QCOMPARE(CRegSettings().GetString(QStringLiteral("Logo"), QStringLiteral("d")), QStringLiteral("d"));
        CRegSettings().SetString(QStringLiteral("Logo"), QStringLiteral("x"));
        QVERIFY(sink.m_shown.isEmpty());
        QVERIFY(QFileInfo(m_strConf).isDir());
    }

    void languageChoice_data()
    {
        QTest::addColumn<QVariant>("stored");  // invalid: missing
        QTest::addColumn<quint32>("after");
        QTest::addColumn<bool>("translated");
        QTest::addColumn<QString>("qtCancel");  // Qt's own button text
        // A test translation RQardaENU.qm lies beside this program; none for Czech.
        const QString strAbbrechen = QStringLiteral("Abbrechen"), strCancel = QStringLiteral("Cancel");
        QTest::newRow("German") << QVariant(1031u) << 1031u << false << strAbbrechen;
        QTest::newRow("Swiss German loads nothing") << QVariant(2055u) << 2055u << false << strAbbrechen;
        QTest::newRow("zero means German") << QVariant(0u) << 0u << false << strAbbrechen;
        QTest::newRow("English with its translation") << QVariant(1033u) << 1033u << true << strCancel;
        QTest::newRow("Czech without a translation falls back") << QVariant(1029u) << 1031u << false << strAbbrechen;
        // This test runs with LANG=de_DE.UTF-8: the user's locale is German.
        QTest::newRow("missing: the user's language is stored") << QVariant() << 1031u << false << strAbbrechen;
    }
    void languageChoice()
    {
        QFETCH(QVariant, stored);
        QFETCH(quint32, after);
        QFETCH(bool, translated);
        if (stored.isValid())
            CRegSettings().SetDWORD(QStringLiteral("LangID"), stored.toUInt());
        CRecordingSink sink;
        LoadLanguageDLL();
        QCOMPARE(CRegSettings().GetDWORD(QStringLiteral("LangID"), 4711), after);
        QCOMPARE(!Language::LoadedTranslationFile().isEmpty(), translated);
        // The test translation turns message 147 into English.
        QCOMPARE(LoadString(IDS_XML_NOT_FOUND).startsWith(QStringLiteral("XML file not found")), translated);
        QTEST(QCoreApplication::translate("QPlatformTheme", "Cancel"), "qtCancel");
        QVERIFY(sink.m_shown.isEmpty());
    }

    void firstStart_data()
    {
        // Default files in the current folder before the start, who starts, and
        // where the data ends up: "here" the current folder with no settings
        // written, "data" the data folder, recorded in the settings.
        QTest::addColumn<bool>("mainHere");
        QTest::addColumn<bool>("resultHere");
        QTest::addColumn<DataFileUse>("use");
        QTest::addColumn<bool>("here");
        QTest::newRow("nothing here, window") << false << false << DataFileUse::Window << false;
        QTest::newRow("result here, readout") << false << true << DataFileUse::Readout << true;
        QTest::newRow("main here, readout") << true << false << DataFileUse::Readout << true;
        QTest::newRow("both here, window") << true << true << DataFileUse::Window << true;
        QTest::newRow("result here, window") << false << true << DataFileUse::Window << true;
    }
    void firstStart()
    {
        QFETCH(bool, mainHere);
        QFETCH(bool, resultHere);
        QFETCH(DataFileUse, use);
        QFETCH(bool, here);
        const QString strHere = m_dir.filePath(QStringLiteral("work")),
                      strData = m_dir.filePath(QStringLiteral("data"));
        const QString strOldCurrent = QDir::currentPath();
        QVERIFY(QDir().mkpath(strHere) && QDir::setCurrent(strHere));
        const QByteArray userMain("<Main-Data>\n<Main/>\n</Main-Data>"),
            userResult("<Result-Data>\n<Result/>\n</Result-Data>");
        QVERIFY(!mainHere || WriteBytes(QStringLiteral("Main.xml"), userMain));
        QVERIFY(!resultHere || WriteBytes(QStringLiteral("Result.xml"), userResult));
        const bool bOk = EnsureDefaultDataFiles(use, strData);
        const QString strMain = QFileInfo(CRegSettings().Get(Setting::MainFile)).absoluteFilePath();
        const QString strResult = QFileInfo(CRegSettings().Get(Setting::ResultFile)).absoluteFilePath();
        QDir::setCurrent(strOldCurrent);
        QVERIFY(bOk);

        const QDir folder(here ? strHere : strData);
        QCOMPARE(strMain, folder.filePath(QStringLiteral("Main.xml")));
        QCOMPARE(strResult, folder.filePath(QStringLiteral("Result.xml")));
        QCOMPARE(Store().contains(QStringLiteral("Settings/ResultFile")), !here);
        QCOMPARE(QFileInfo::exists(strData), !here);
        // The user's files stay byte for byte; the result file and, for the
        // window, the main file exist with their start texts.
        QCOMPARE(ReadBytes(strResult), resultHere ? userResult : QByteArray("<Result-Data>\n</Result-Data>"));
        const bool bMainMade = !mainHere && (!here || use == DataFileUse::Window);
        QCOMPARE(ReadBytes(strMain), mainHere    ? userMain
                                     : bMainMade ? QByteArray("<Main-Data>\n</Main-Data>")
                                                 : QByteArray());
        QCOMPARE(QFileInfo::exists(strMain), mainHere || bMainMade);

        // A second start changes nothing, not even a file the user filled since.
        QVERIFY(WriteBytes(strResult, userResult + "<!-- user data -->") && QDir::setCurrent(strHere));
        QVERIFY(EnsureDefaultDataFiles(use, strData));
        QDir::setCurrent(strOldCurrent);
        QCOMPARE(ReadBytes(strResult), userResult + "<!-- user data -->");
    }

    void configuredMissingFileIsLeftAlone()
    {
        // A configured file that is missing may be on a drive that is away: no
        // empty file takes its place.
        const QString strMissing = m_dir.filePath(QStringLiteral("away/Result.xml"));
        CRegSettings().SetString(QStringLiteral("ResultFile"), strMissing);
        QVERIFY(EnsureDefaultDataFiles(DataFileUse::Window, m_dir.filePath(QStringLiteral("data2"))));
        QVERIFY(!QFile::exists(strMissing));
        QCOMPARE(CRegSettings().GetString(QStringLiteral("ResultFile")), strMissing);
        QCOMPARE(CRegSettings().GetString(QStringLiteral("MainFile"), QStringLiteral("Main.xml")),
                 QStringLiteral("Main.xml"));
        QVERIFY(!QFile::exists(m_dir.filePath(QStringLiteral("data2/Main.xml"))));
    }

    // --- the dialog ----------------------------------------------------------

    void dialog_data()
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
        QTest::newRow("Czech not installed, German in use; Escape")
            << 1029u << QVariant(0) << 1031u << 0 << 1 << 1 << 2;
    }
    void dialog()
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
        const QByteArray before = ReadBytes(m_strConf);

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
        QCOMPARE(texts,
                 (QStringList{QStringLiteral("Deutsch"), QStringLiteral("Englisch"), QStringLiteral("Französisch")}));
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
            QCOMPARE(ReadBytes(m_strConf), before);
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

    void browse_data()
    {
        // The edit whose button is pressed, the stubbed chooser's answer (empty:
        // cancelled), and the call the chooser got.
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("call");
        const QString strXml = QStringLiteral("file: start | XML - Datei (xml) (*.xml) | xml");
        QTest::newRow("main file") << "mainFile" << QStringLiteral("/d/Orte.xml") << strXml;
        QTest::newRow("main file cancelled") << "mainFile" << QString() << strXml;
        QTest::newRow("logo") << "logo" << QStringLiteral("/d/Logo.bmp")
                              << "file: start | BMP - Datei (bmp) (*.bmp) | bmp";
        QTest::newRow("backup folder") << "backupFolder" << QStringLiteral("/d/Backup")
                                       << "folder: Wählen Sie ein Verzeichnis für die Backup-Dateien aus. | start";
    }
    void browse()
    {
        QFETCH(QString, edit);
        QFETCH(QString, answer);
        CSettingsDlg dlg;
        QStringList calls;
        dlg.m_fnChooseFile = [&](QWidget* pParent, const QString& strCurrent, const QString& strFilter,
                                 const QString& strSuffix) {
            calls << QStringLiteral("file: ")
                         + QStringList{strCurrent, strFilter, strSuffix}.join(QStringLiteral(" | "));
            [&] { QCOMPARE(pParent, &dlg); }();
            return answer;
        };
        dlg.m_fnChooseFolder = [&](QWidget* pParent, const QString& strPrompt, const QString& strCurrent) {
            calls << QStringLiteral("folder: ") + strPrompt + QStringLiteral(" | ") + strCurrent;
            [&] { QCOMPARE(pParent, &dlg); }();
            return answer;
        };
        dlg.show();
        QLineEdit* pEdit = dlg.findChild<QLineEdit*>(edit);
        pEdit->setText(QStringLiteral("start"));
        // Each edit has its button beside it: "logo", "browseLogo".
        const QString strButton = QStringLiteral("browse") + edit.at(0).toUpper() + edit.mid(1);
        QTest::mouseClick(dlg.findChild<QPushButton*>(strButton), Qt::LeftButton);
        QTEST(calls.join(u'\n'), "call");
        // A choice replaces the text, a cancel keeps it. Choosing a path is no
        // decision yet: the dialog is still open.
        QCOMPARE(pEdit->text(), answer.isEmpty() ? QStringLiteral("start") : answer);
        QVERIFY(dlg.isVisible());
    }
};

int main(int argc, char** argv)
{
    TestSettings test;
    QApplication app(argc, argv);
    CRegSettings::SetOrganisation();
    return QTest::qExec(&test, argc, argv);
}

#include "tst_settings.moc"
