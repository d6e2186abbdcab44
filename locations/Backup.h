#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

class CXMLDocument;

// The folder that holds the backups when none is set (or the value is
// shorter than two characters): "Qarda-Backup" in the user's home folder.
QString DefaultBackupFolder();
// The "BackupFolder" setting with that fallback.
QString GetBackupFolder();

// A backup's folder name from its local time: "05.12.2026 14_03_09".
QString BackupFolderName(const QDateTime& when);
// The name as the restore list shows it, and back ("_" and ":").
QString BackupDisplayName(const QString& strFolderName);
QString BackupFolderFromDisplay(const QString& strDisplayName);
// The sub-folders of the backup folder: backups newest first, then any
// other folders by name.
QStringList ListBackups(const QString& strBackupFolder);

// Copies the data files that exist into a new folder named by the time
// under the backup folder, as "Main.xml" and "Result.xml"; returns the new
// folder. Throws CTransferException: 236 when the folder cannot be made
// (also when it exists: two backups in one second), or a copy that failed,
// after the incomplete folder was removed.
QString CreateBackup(const QString& strBackupFolder, const QString& strMainFile, const QString& strResultFile,
                     const QDateTime& when = QDateTime::currentDateTime());

// Puts the chosen files of a backup folder in place of the data files. The
// backup's files are read first and must be data files of their kind; the
// current files are then kept in a new backup under strBackupFolder, and
// each file is replaced whole. Returns that new backup's folder (empty when
// nothing was chosen, nothing to replace or no current file to keep).
// Throws CTransferException with the files unchanged.
QString RestoreBackup(const QString& strSourceFolder, bool bMain, bool bResult, const QString& strMainFile,
                      const QString& strResultFile, const QString& strBackupFolder);

// Writes both files anew in the line-broken layout; a failure reloads both
// and is thrown.
void FormatDataFiles(CXMLDocument& xmlMain, CXMLDocument& xmlResult);

// Copies a file. With bReplace through a temporary file beside the target,
// which replaces the target only once complete and on disk; else into a new
// file, which must not exist. False with the reason.
bool CopyFileWhole(const QString& strFrom, const QString& strTo, QString& strReason, bool bReplace = true);
