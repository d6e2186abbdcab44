#pragma once

#include <QString>

#include <memory>

// An exclusive lock between processes, named by a path. The operating system
// drops it when the holder ends, however it ends, so a killed process never
// leaves it stuck.
class CFileLock
{
public:
    enum class Result { Locked, Busy, Unavailable };

    explicit CFileLock(const QString& strLockPath);
    ~CFileLock();
    CFileLock(const CFileLock&) = delete;
    CFileLock& operator=(const CFileLock&) = delete;

    // Waits up to nWaitMs for another holder. Busy: held elsewhere all that
    // time; Unavailable: no lock can be made at that path at all.
    Result TryLock(int nWaitMs);

private:
    struct Impl;
    std::unique_ptr<Impl> m_pImpl;
};
