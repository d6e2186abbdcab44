#pragma once

#include <QString>

class QTranslator;

// Locale numbers (LangID) and the translations behind them. A translation is
// a Qt translation file named "RQarda" + the language's three-letter
// abbreviation (RQardaENU.qm), beside the program or in its "translations"
// folder. German is built in.
namespace Language {

inline constexpr quint32 kGerman = 1031;

// The user's locale as a locale number (1031 German, 1033 English, ...).
quint32 UserDefaultLangID();
// The abbreviation of a locale number ("DEU", "ENU", ...), empty if unknown.
QString Abbreviation(quint32 nLangID);
// The locale number of an abbreviation; unknown ones count as English.
quint32 LangIDOfAbbreviation(const QString& strAbbreviation);
// The translation file for an abbreviation, empty when none is installed.
QString FindTranslation(const QString& strAbbreviation);
// The file of the translation in use, empty for German.
QString LoadedTranslationFile();

} // namespace Language

// Chooses the language from the setting "LangID" (created from the user's
// locale when missing), installs its translation, falls back to German (and
// writes 1031) when none can be loaded, and takes the numeric locale from the
// user.
void LoadLanguageDLL();
