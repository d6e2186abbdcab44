#pragma once

#include <QByteArray>
#include <QString>

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

// The device's end of a pseudo-terminal pair: the code under test opens
// Path() like a serial line, the test reads commands and writes answers on
// the master side.
class CPtyPeer
{
public:
    CPtyPeer()
    {
        m_nMaster = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (m_nMaster < 0 || ::grantpt(m_nMaster) != 0 || ::unlockpt(m_nMaster) != 0)
            return;
        if (const char* psz = ::ptsname(m_nMaster))
            m_strPath = QString::fromLocal8Bit(psz);
        termios tio {};
        if (::tcgetattr(m_nMaster, &tio) == 0) {
            ::cfmakeraw(&tio);
            ::tcsetattr(m_nMaster, TCSANOW, &tio);
        }
    }
    ~CPtyPeer() { CloseMaster(); }
    CPtyPeer(const CPtyPeer&) = delete;
    CPtyPeer& operator=(const CPtyPeer&) = delete;

    bool IsValid() const { return m_nMaster >= 0 && !m_strPath.isEmpty(); }
    const QString& Path() const { return m_strPath; }

    void Write(const QByteArray& data)
    {
        qsizetype nDone = 0;
        while (m_nMaster >= 0 && nDone < data.size()) {
            const ssize_t n = ::write(m_nMaster, data.constData() + nDone, size_t(data.size() - nDone));
            if (n < 0 && errno != EINTR)
                return;
            if (n > 0)
                nDone += n;
        }
    }

    // One command up to and including its carriage return; what arrived
    // so far when none completes within nMs.
    QByteArray ReadCommand(int nMs = 3000)
    {
        using Clock = std::chrono::steady_clock;
        const auto deadline = Clock::now() + std::chrono::milliseconds(nMs);
        QByteArray command;
        while (m_nMaster >= 0 && !command.endsWith('\r')) {
            const auto nLeft = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
            if (nLeft <= 0)
                break;
            pollfd pfd {m_nMaster, POLLIN, 0};
            if (::poll(&pfd, 1, int(nLeft)) <= 0)
                continue;
            if (!(pfd.revents & POLLIN)) {
                // No client has the line open yet: the master reports a
                // hang-up at once, so do not spin.
                ::usleep(5000);
                continue;
            }
            char c;
            if (::read(m_nMaster, &c, 1) == 1)
                command += c;
        }
        return command;
    }

    // Hangs the line up: the other end sees the device vanish.
    void CloseMaster()
    {
        if (m_nMaster >= 0)
            ::close(m_nMaster);
        m_nMaster = -1;
    }

private:
    int m_nMaster = -1;
    QString m_strPath;
};
