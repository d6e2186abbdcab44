#include "app/DataFiles.h"

#include "core/RegSettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
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

bool EnsureDefaultDataFiles(DataFileUse use, const QString& strDataFolder)
{
    QSettings s(QStringLiteral("KOLT GmbH"), QStringLiteral("Qarda"));
    if (s.status() != QSettings::NoError)
        return false;
    if (s.contains(QStringLiteral("Settings/") + Setting::MainFile.m_name)
        || s.contains(QStringLiteral("Settings/") + Setting::ResultFile.m_name))
        return true;
    // The defaults name files in the current folder.
    const QString strMainDefault = QString(Setting::MainFile.m_default);
    const QString strResultDefault = QString(Setting::ResultFile.m_default);
    if (QFileInfo::exists(strMainDefault) || QFileInfo::exists(strResultDefault)) {
        // The partner a run needs is created empty beside the existing one.
        if (use == DataFileUse::Window && !CreateIfMissing(strMainDefault, "<Main-Data>\n</Main-Data>"))
            return false;
        return CreateIfMissing(strResultDefault, "<Result-Data>\n</Result-Data>");
    }
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
