#include "core/FileLock.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QThread>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#else
#include <QLockFile>
#endif

struct CFileLock::Impl
{
    QString strPath;
#ifdef Q_OS_UNIX
    int fd = -1;
#else
    std::unique_ptr<QLockFile> pLock;
#endif
};

CFileLock::CFileLock(const QString& strLockPath)
    : m_pImpl(std::make_unique<Impl>())
{
    m_pImpl->strPath = strLockPath;
}

CFileLock::~CFileLock()
{
#ifdef Q_OS_UNIX
    if (m_pImpl->fd >= 0)
        ::close(m_pImpl->fd);  // releases the lock
#endif
}

CFileLock::Result CFileLock::TryLock(int nWaitMs)
{
#ifdef Q_OS_UNIX
    if (m_pImpl->fd < 0)
        m_pImpl->fd = ::open(QFile::encodeName(m_pImpl->strPath).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (m_pImpl->fd < 0)
        return Result::Unavailable;
    const QDeadlineTimer deadline(nWaitMs);
    for (;;) {
        if (::flock(m_pImpl->fd, LOCK_EX | LOCK_NB) == 0)
            return Result::Locked;
        if (errno != EWOULDBLOCK && errno != EINTR)
            return Result::Unavailable;
        if (deadline.hasExpired())
            return Result::Busy;
        QThread::msleep(20);
    }
#else
    m_pImpl->pLock = std::make_unique<QLockFile>(m_pImpl->strPath);
    m_pImpl->pLock->setStaleLockTime(0);
    if (m_pImpl->pLock->tryLock(nWaitMs))
        return Result::Locked;
    return m_pImpl->pLock->error() == QLockFile::LockFailedError ? Result::Busy : Result::Unavailable;
#endif
}
