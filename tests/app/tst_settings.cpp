#include "app/DataFiles.h"
#include "app/Language.h"
#include "core/RegSettings.h"
#include "resources/StringTable.h"
#include "../common/TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTest>
#include <QTranslator>

Q_DECLARE_METATYPE(DataFileUse)

class TestSettings : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();

    void values_data();
    void values();
    void unreadableStoreGivesDefaultsSilently();

    void languageChoice_data();
    void languageChoice();
    void firstStart_data();
    void firstStart();
    void configuredMissingFileIsLeftAlone();

private:
    QTemporaryDir m_dir;
    QString m_strConf;
};

void TestSettings::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_strConf = UseTemporarySettings(m_dir);
}

void TestSettings::init()
{
    QDir(m_dir.path()).removeRecursively();
    QDir().mkpath(m_dir.path());
    QSettings(QStringLiteral("KOLT GmbH"), QStringLiteral("Qarda")).clear();
}

void TestSettings::values_data()
{
    // A value as stored, read as a number (default 30000) or, when a text
    // is expected, as a text (default "dflt"), and what the store holds
    // afterwards; invalid stands for missing.
    QTest::addColumn<QString>("key");  // group/name
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<QVariant>("expected");
    QTest::addColumn<QVariant>("after");
    QTest::addColumn<bool>("message");
    const QString strTimeout = QStringLiteral("Settings/PX900Timeout"), strMain = QStringLiteral("Settings/MainFile");
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
    QTest::newRow("a list is no text") << QStringLiteral("Settings/Logo") << list << QVariant(QStringLiteral("dflt"))
                                       << list << true;
}

void TestSettings::values()
{
    QFETCH(QString, key);
    QFETCH(QVariant, stored);
    QFETCH(QVariant, expected);
    QFETCH(bool, message);
    if (stored.isValid())
        QSettings(QStringLiteral("KOLT GmbH"), QStringLiteral("Qarda")).setValue(key, stored);
    const QString strGroup = key.section(u'/', 0, 0), strName = key.section(u'/', 1);
    CRecordingSink sink;
    const CRegSettings settings(strGroup);
    if (expected.typeId() == QMetaType::QString)
        QCOMPARE(QVariant(settings.GetString(strName, QStringLiteral("dflt"))), expected);
    else
        QCOMPARE(QVariant(settings.GetDWORD(strName, 30000)), expected);
    QTEST(QSettings(QStringLiteral("KOLT GmbH"), QStringLiteral("Qarda")).value(key), "after");
    QCOMPARE(sink.m_shown.size(), message ? 1 : 0);
    if (message)
        QCOMPARE(sink.m_shown.at(0).first,
                 QStringLiteral("Der Wert '%1' konnte im Schlüssel '%2 [%3]' nicht erzeugt werden.")
                     .arg(strName, m_strConf, strGroup));
}

void TestSettings::unreadableStoreGivesDefaultsSilently()
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

void TestSettings::languageChoice_data()
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

void TestSettings::languageChoice()
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
    // Undo the translation for the next row.
    for (QTranslator* p : QCoreApplication::instance()->findChildren<QTranslator*>())
        QCoreApplication::removeTranslator(p), delete p;
}

void TestSettings::firstStart_data()
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
}

void TestSettings::firstStart()
{
    QFETCH(bool, mainHere);
    QFETCH(bool, resultHere);
    QFETCH(DataFileUse, use);
    QFETCH(bool, here);
    const QString strHere = m_dir.filePath(QStringLiteral("work")), strData = m_dir.filePath(QStringLiteral("data"));
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
    QCOMPARE(
        QSettings(QStringLiteral("KOLT GmbH"), QStringLiteral("Qarda")).contains(QStringLiteral("Settings/ResultFile")),
        !here);
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

void TestSettings::configuredMissingFileIsLeftAlone()
{
    // A configured file that is missing may be on a drive that is away: no
    // empty file takes its place.
    const QString strMissing = m_dir.filePath(QStringLiteral("away/Result.xml"));
    CRegSettings().SetString(QStringLiteral("ResultFile"), strMissing);
    QVERIFY(EnsureDefaultDataFiles(DataFileUse::Window, m_dir.filePath(QStringLiteral("data2"))));
    QVERIFY(!QFile::exists(strMissing));
    QCOMPARE(CRegSettings().GetString(QStringLiteral("ResultFile")), strMissing);
    QCOMPARE(CRegSettings().GetString(QStringLiteral("MainFile"), QStringLiteral("Main.xml")), QStringLiteral("Main.xml"));
    QVERIFY(!QFile::exists(m_dir.filePath(QStringLiteral("data2/Main.xml"))));
}

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
