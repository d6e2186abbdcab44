#include "locations/Backup.h"

#include "core/RegSettings.h"
#include "locations/LocationImport.h"
#include "resources/StringTable.h"
#include "xml/XMLDocument.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QThread>

#include <algorithm>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <unistd.h>
#endif

namespace {

const QString kNameFormat = QStringLiteral("dd.MM.yyyy HH_mm_ss");
const QString kMainCopy = QStringLiteral("Main.xml");
const QString kResultCopy = QStringLiteral("Result.xml");

QString Native(const QString& strPath)
{
    return QDir::toNativeSeparators(strPath);
}

// Checks that a backup's file is a data file of its kind.
void CheckDataFile(const QString& strBackup, const QString& strPath, const char* pszRoot)
{
    QString strReason;
    try {
        CXMLDocument doc;
        doc.Open(strPath);
        const QString strRoot = QString::fromUtf8(doc.GetDocumentElement().name());
        if (strRoot != QLatin1String(pszRoot))
            strReason = LoadString(IDS_XML_WRONG_ROOT).arg(Native(strPath), strRoot, QLatin1String(pszRoot));
    } catch (const CException& e) {
        strReason = e.GetErrorMessage();
    }
    if (!strReason.isEmpty())
        throw CTransferException(LoadString(IDS_RESTORE_INVALID).arg(strBackup, Native(strPath)) + u'\n' + strReason);
}

} // namespace

QString DefaultBackupFolder()
{
    return QDir::home().filePath(QStringLiteral("Qarda-Backup"));
}

QString GetBackupFolder()
{
    const QString strFolder = CRegSettings().Get(Setting::BackupFolder);
    return strFolder.size() < 2 ? DefaultBackupFolder() : strFolder;
}

QString BackupFolderName(const QDateTime& when)
{
    return when.toString(kNameFormat);
}

QString BackupDisplayName(const QString& strFolderName)
{
    return QString(strFolderName).replace(u'_', u':');
}

QString BackupFolderFromDisplay(const QString& strDisplayName)
{
    return QString(strDisplayName).replace(u':', u'_');
}

QStringList ListBackups(const QString& strBackupFolder)
{
    QStringList names = QDir(strBackupFolder).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
    const auto when = [](const QString& s) { return QDateTime::fromString(s, kNameFormat); };
    std::stable_sort(names.begin(), names.end(), [&](const QString& a, const QString& b) {
        const QDateTime ta = when(a), tb = when(b);
        if (ta.isValid() != tb.isValid())
            return ta.isValid();
        return ta.isValid() && ta > tb;
    });
    return names;
}

namespace {

// Copies all of in to out; false with the reason.
bool CopyData(QFile& in, QFileDevice& out, QString& strReason)
{
    const qint64 nSize = in.size();
    qint64 nDone = 0;
#ifdef Q_OS_LINUX
    // The kernel copies without the data passing through this process.
    while (nDone < nSize) {
        const ssize_t n = ::copy_file_range(in.handle(), nullptr, out.handle(), nullptr,
                                            static_cast<size_t>(nSize - nDone), 0);
        if (n <= 0) {
            if (n < 0 && nDone == 0 && (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP))
                break;  // not on these file systems: copy through a buffer
            strReason = n < 0 ? QString::fromLocal8Bit(std::strerror(errno)) : QStringLiteral("short copy");
            return false;
        }
        nDone += n;
    }
#endif
    if (nDone < nSize) {
        QByteArray buffer(1 << 20, Qt::Uninitialized);
        for (qint64 n; (n = in.read(buffer.data(), buffer.size())) != 0; nDone += n) {
            if (n < 0 || out.write(buffer.constData(), n) != n) {
                strReason = n < 0 ? in.errorString() : out.errorString();
                return false;
            }
        }
    }
    if (nDone != nSize) {
        strReason = QStringLiteral("%1 of %2 bytes").arg(nDone).arg(nSize);
        return false;
    }
    return true;
}

} // namespace

bool CopyFileWhole(const QString& strFrom, const QString& strTo, QString& strReason, bool bReplace)
{
    QFile in(strFrom);
    if (!in.open(QIODevice::ReadOnly)) {
        strReason = in.errorString();
        return false;
    }
    if (!bReplace) {
        // A new file in a new folder: the caller removes the folder when
        // anything fails.
        QFile out(strTo);
        if (!out.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            strReason = out.errorString();
            return false;
        }
        if (!CopyData(in, out, strReason))
            return false;
        out.close();
        if (out.error() != QFileDevice::NoError) {
            strReason = out.errorString();
            return false;
        }
        return true;
    }
    QSaveFile out(strTo);
    if (!out.open(QIODevice::WriteOnly)) {
        strReason = out.errorString();
        return false;
    }
    if (!CopyData(in, out, strReason)) {
        out.cancelWriting();
        return false;
    }
    if (!out.commit()) {
        strReason = out.errorString();
        return false;
    }
    return true;
}

QString CreateBackup(const QString& strBackupFolder, const QString& strMainFile, const QString& strResultFile,
                     const QDateTime& when)
{
    const bool bMain = !strMainFile.isEmpty() && QFileInfo(strMainFile).isFile();
    const bool bResult = !strResultFile.isEmpty() && QFileInfo(strResultFile).isFile();
    if (!bMain && !bResult)
        throw CTransferException(LoadString(IDS_BACKUP_NO_FILES));
    // The default folder is the program's own: it is made when missing.
    if (strBackupFolder == DefaultBackupFolder())
        QDir().mkpath(strBackupFolder);
    const QString strFolder = QDir(strBackupFolder).filePath(BackupFolderName(when));
    // Only the last level is made: a folder that exists (a second backup in
    // the same second) is not written into.
    if (!QDir().mkdir(strFolder))
        throw CTransferException(LoadString(IDS_BACKUP_DIR_FAILED).arg(Native(strFolder)));
    const std::pair<bool, std::pair<QString, QString>> copies[2] = {{bMain, {strMainFile, kMainCopy}},
                                                                    {bResult, {strResultFile, kResultCopy}}};
    for (const auto& [bDo, files] : copies) {
        if (!bDo)
            continue;
        const QString strTo = QDir(strFolder).filePath(files.second);
        QString strReason;
        if (CopyFileWhole(files.first, strTo, strReason, false))
            continue;
        // An incomplete backup must not look like a good one.
        const bool bRemoved = QDir(strFolder).removeRecursively();
        throw CTransferException(LoadString(IDS_BACKUP_COPY_FAILED).arg(Native(files.first), Native(strTo)) + u'\n'
                                 + strReason + u'\n'
                                 + LoadString(bRemoved ? IDS_BACKUP_REMOVED : IDS_BACKUP_NOT_REMOVED).arg(Native(strFolder)));
    }
    return strFolder;
}

QString RestoreBackup(const QString& strSourceFolder, bool bMain, bool bResult, const QString& strMainFile,
                      const QString& strResultFile, const QString& strBackupFolder)
{
    const QDir source(strSourceFolder);
    const QString strName = BackupDisplayName(source.dirName());
    const QString strMainCopy = source.filePath(kMainCopy), strResultCopy = source.filePath(kResultCopy);
    bMain = bMain && !strMainFile.isEmpty() && QFileInfo(strMainCopy).isFile();
    bResult = bResult && !strResultFile.isEmpty() && QFileInfo(strResultCopy).isFile();
    if (!bMain && !bResult)
        return {};
    // Everything is read before anything is replaced.
    if (bMain)
        CheckDataFile(strName, strMainCopy, "Main-Data");
    if (bResult)
        CheckDataFile(strName, strResultCopy, "Result-Data");

    // What is replaced is kept first, so that the restore can be undone.
    QString strSafety;
    const bool bMainExists = QFileInfo(strMainFile).isFile();
    if ((bMain && bMainExists) || (bResult && QFileInfo(strResultFile).isFile())) {
        // One backup per second: the safety backup waits for a free name.
        QDateTime now = QDateTime::currentDateTime();
        for (int i = 0; i < 30 && QFileInfo::exists(QDir(strBackupFolder).filePath(BackupFolderName(now))); ++i) {
            QThread::msleep(100);
            now = QDateTime::currentDateTime();
        }
        try {
            strSafety = CreateBackup(strBackupFolder, bMain ? strMainFile : QString(), bResult ? strResultFile : QString(), now);
        } catch (const CException& e) {
            throw CTransferException(LoadString(IDS_RESTORE_SAFETY_FAILED) + u'\n' + e.GetErrorMessage());
        }
#ifdef Q_OS_UNIX
        // The kept files reach the disk before the files they keep are
        // replaced.
        for (const QString& strName : QDir(strSafety).entryList(QDir::Files)) {
            QFile f(QDir(strSafety).filePath(strName));
            if (!f.open(QIODevice::ReadOnly) || ::fsync(f.handle()) != 0) {
                QDir(strSafety).removeRecursively();
                throw CTransferException(LoadString(IDS_RESTORE_SAFETY_FAILED) + u'\n' + f.fileName());
            }
        }
#endif
    }

    QString strReason;
    if (bMain && !CopyFileWhole(strMainCopy, strMainFile, strReason))
        throw CTransferException(LoadString(IDS_RESTORE_FAILED).arg(Native(strMainFile)) + u'\n' + strReason);
    if (bResult && !CopyFileWhole(strResultCopy, strResultFile, strReason)) {
        QString strChain = LoadString(IDS_RESTORE_FAILED).arg(Native(strResultFile)) + u'\n' + strReason;
        // Both files or neither: the main file goes back to what it was.
        QString strBack;
        const bool bBack = !bMain
                           || (bMainExists ? CopyFileWhole(QDir(strSafety).filePath(kMainCopy), strMainFile, strBack)
                                           : QFile::remove(strMainFile));
        if (!bBack)
            strChain += u'\n' + LoadString(IDS_RESTORE_FAILED).arg(Native(strMainFile)) + u'\n' + strBack;
        throw CTransferException(strChain);
    }
    return strSafety;
}

void FormatDataFiles(CXMLDocument& xmlMain, CXMLDocument& xmlResult)
{
    try {
        if (xmlMain.IsValid()) {
            const auto lock = xmlMain.LockForChange();
            xmlMain.Save(true);
        }
        if (xmlResult.IsValid()) {
            const auto lock = xmlResult.LockForChange();
            xmlResult.Save(true);
        }
    } catch (const CException& e) {
        QString strChain = e.GetErrorMessage();
        for (CXMLDocument* pDoc : {&xmlMain, &xmlResult}) {
            try {
                if (!pDoc->GetFileName().isEmpty())
                    pDoc->Reload();
            } catch (const CException& e2) {
                strChain += u'\n' + e2.GetErrorMessage();
            }
        }
        throw CTransferException(strChain);
    }
}
