#include "app/DataFiles.h"

#include "core/RegSettings.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>

namespace {
bool CreateIfMissing(const QString& strPath, const QByteArray& text)
{
    if (QFile::exists(strPath))
        return true;
    QFile f(strPath);
    return f.open(QIODevice::WriteOnly | QIODevice::NewOnly) && f.write(text) == text.size();
}
} // namespace

bool EnsureDefaultDataFiles(const QString& strDataFolder)
{
    QSettings s(QStringLiteral("KOLT GmbH"), QStringLiteral("Qarda"));
    if (s.status() != QSettings::NoError)
        return false;
    if (s.contains(QStringLiteral("Settings/") + Setting::MainFile.m_name)
        || s.contains(QStringLiteral("Settings/") + Setting::ResultFile.m_name))
        return true;
    const QString strFolder = strDataFolder.isEmpty()
                                  ? QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
                                  : strDataFolder;
    if (strFolder.isEmpty() || !QDir().mkpath(strFolder))
        return false;
    const QString strMain = QDir(strFolder).filePath(QStringLiteral("Main.xml"));
    const QString strResult = QDir(strFolder).filePath(QStringLiteral("Result.xml"));
    // The start texts of files the program makes itself.
    if (!CreateIfMissing(strMain, "<Main-Data>\n</Main-Data>")
        || !CreateIfMissing(strResult, "<Result-Data>\n</Result-Data>"))
        return false;
    const CRegSettings settings;
    settings.Set(Setting::MainFile, strMain);
    settings.Set(Setting::ResultFile, strResult);
    return true;
}
