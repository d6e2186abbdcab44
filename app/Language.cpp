#include "app/Language.h"

#include "core/RegSettings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <clocale>

namespace {

struct LocaleEntry
{
    QLocale::Language language;
    QLocale::Territory territory;  // AnyTerritory: the language's main one
    quint32 nLangID;
    const char* pszAbbreviation;
};

// The locale numbers of the platform that names them; the primary language
// sits in the low 10 bits.
const LocaleEntry kLocales[] = {
    {QLocale::German, QLocale::Germany, 1031, "DEU"},
    {QLocale::German, QLocale::Switzerland, 2055, "DES"},
    {QLocale::German, QLocale::Austria, 3079, "DEA"},
    {QLocale::German, QLocale::Luxembourg, 4103, "DEL"},
    {QLocale::German, QLocale::Liechtenstein, 5127, "DEC"},
    {QLocale::English, QLocale::UnitedStates, 1033, "ENU"},
    {QLocale::English, QLocale::UnitedKingdom, 2057, "ENG"},
    {QLocale::English, QLocale::Australia, 3081, "ENA"},
    {QLocale::English, QLocale::Canada, 4105, "ENC"},
    {QLocale::English, QLocale::Ireland, 6153, "ENI"},
    {QLocale::Spanish, QLocale::Spain, 1034, "ESP"},
    {QLocale::Spanish, QLocale::Mexico, 2058, "ESM"},
    {QLocale::Russian, QLocale::Russia, 1049, "RUS"},
    {QLocale::French, QLocale::France, 1036, "FRA"},
    {QLocale::French, QLocale::Belgium, 2060, "FRB"},
    {QLocale::French, QLocale::Canada, 3084, "FRC"},
    {QLocale::French, QLocale::Switzerland, 4108, "FRS"},
    {QLocale::Czech, QLocale::CzechRepublic, 1029, "CSY"},
    {QLocale::Italian, QLocale::Italy, 1040, "ITA"},
    {QLocale::Dutch, QLocale::Netherlands, 1043, "NLD"},
    {QLocale::Polish, QLocale::Poland, 1045, "PLK"},
};

QString g_strLoadedFile;

// Qt's own dialogs and buttons (print, page setup, file dialogs, Yes/No)
// speak the program's language: Qt's translations of the system, else those
// installed beside the program.
void LoadQtTranslation(quint32 nLangID)
{
    const quint32 nId = nLangID & 0xFFFF;
    const LocaleEntry* pEntry = nullptr;
    for (const LocaleEntry& e : kLocales)
        if (e.nLangID == nId || (!pEntry && (e.nLangID & 0x3FF) == (nId & 0x3FF)))
            pEntry = &e;
    if (!pEntry)
        return;
    const QLocale locale(pEntry->language, pEntry->territory);
    const QString strAppDir = QCoreApplication::applicationDirPath();
    auto* pTranslator = new QTranslator(QCoreApplication::instance());
    for (const QString& strDir :
         {QLibraryInfo::path(QLibraryInfo::TranslationsPath), strAppDir + QStringLiteral("/translations"),
          strAppDir + QStringLiteral("/../share/qarda/translations")}) {
        if (pTranslator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"), strDir)) {
            QCoreApplication::installTranslator(pTranslator);
            return;
        }
    }
    delete pTranslator;
}

} // namespace

namespace Language {

quint32 UserDefaultLangID()
{
    const QLocale locale = QLocale::system();
    const LocaleEntry* pFirstOfLanguage = nullptr;
    for (const LocaleEntry& e : kLocales) {
        if (e.language != locale.language())
            continue;
        if (e.territory == locale.territory())
            return e.nLangID;
        if (!pFirstOfLanguage)
            pFirstOfLanguage = &e;
    }
    // The "C" locale and languages outside the table count as US English.
    return pFirstOfLanguage ? pFirstOfLanguage->nLangID : 1033;
}

QString Abbreviation(quint32 nLangID)
{
    const quint32 nId = nLangID & 0xFFFF;
    for (const LocaleEntry& e : kLocales)
        if (e.nLangID == nId)
            return QString::fromLatin1(e.pszAbbreviation);
    // Another variant of a known language: that language's main one.
    for (const LocaleEntry& e : kLocales)
        if ((e.nLangID & 0x3FF) == (nId & 0x3FF))
            return QString::fromLatin1(e.pszAbbreviation);
    return {};
}

quint32 LangIDOfAbbreviation(const QString& strAbbreviation)
{
    static const struct
    {
        const char* psz;
        quint32 n;
    } kKnown[] = {{"DEU", 1031}, {"ENU", 1033}, {"ESP", 1034}, {"RUS", 1049}, {"FRA", 1036}, {"CSY", 1029}};
    for (const auto& k : kKnown)
        if (strAbbreviation == QLatin1String(k.psz))
            return k.n;
    return 1033;
}

QString FindTranslation(const QString& strAbbreviation)
{
    if (strAbbreviation.isEmpty())
        return {};
    const QString strName = QStringLiteral("RQarda") + strAbbreviation + QStringLiteral(".qm");
    const QString strDir = QCoreApplication::applicationDirPath();
    for (const QString& strCandidate :
         {strDir + u'/' + strName, strDir + QStringLiteral("/translations/") + strName,
          strDir + QStringLiteral("/../translations/") + strName,
          strDir + QStringLiteral("/../share/qarda/translations/") + strName}) {
        if (QFileInfo(strCandidate).isFile())
            return QDir::cleanPath(strCandidate);
    }
    return {};
}

QString LoadedTranslationFile()
{
    return g_strLoadedFile;
}

} // namespace Language

void LoadLanguageDLL()
{
    const CRegSettings settings;
    const quint32 nLangID = settings.GetDWORD(QString(Setting::LangID.m_name), Language::UserDefaultLangID());
    const quint32 nPrimary = nLangID & 0x3FF;
    g_strLoadedFile.clear();
    if (nLangID != 0 && nPrimary != 7) {
        const QString strFile = Language::FindTranslation(Language::Abbreviation(nLangID));
        auto* pTranslator = new QTranslator(QCoreApplication::instance());
        if (!strFile.isEmpty() && pTranslator->load(strFile)) {
            QCoreApplication::installTranslator(pTranslator);
            g_strLoadedFile = strFile;
        } else {
            delete pTranslator;
            // German from now on, so the next start does not try again.
            settings.Set(Setting::LangID, Language::kGerman);
        }
    }
    LoadQtTranslation(g_strLoadedFile.isEmpty() ? Language::kGerman : nLangID);
    // Numbers are formatted and read in the user's own convention; stored
    // numbers never depend on it (they are read and written locale-free).
    std::setlocale(LC_ALL, "");
    QLocale::setDefault(QLocale::system());
}
