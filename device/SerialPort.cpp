#include "device/SerialPort.h"

#include <QtGlobal>

#ifdef Q_OS_WIN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>
#endif

CSerialPortException::CSerialPortException(const QString& strText)
    : m_strText(strText)
{
}

QString CSerialPortException::GetErrorMessage() const
{
    return m_strText;
}

CSerialPort::CSerialPort() = default;

CSerialPort::~CSerialPort()
{
    Close();
}

void CSerialPort::InitPort(int nPort, int nBaud, char cParity, int nDataBits, int nStopBits)
{
    InitPort(PortName(nPort), nBaud, cParity, nDataBits, nStopBits);
}

void CSerialPort::InitPort(const QString& strDevicePath, int nBaud, char cParity, int nDataBits, int nStopBits)
{
    std::lock_guard lock(m_lock);
    CloseLocked();
    OpenLocked(strDevicePath, nBaud, cParity, nDataBits, nStopBits);
}

void CSerialPort::Close()
{
    std::lock_guard lock(m_lock);
    CloseLocked();
}

#ifdef Q_OS_WIN

// The Win32 implementation (CreateFile with overlapped I/O, SetCommTimeouts,
// SetCommMask, BuildCommDCB/SetCommState, PurgeComm, ClearCommError,
// WriteFile/ReadFile with GetOverlappedResult) goes here; until then every
// operation reports that serial lines are not available.

CSerialPortException CSerialPortException::FromSystemError(int nError)
{
    wchar_t* pszText = nullptr;
    const DWORD nLength =
        ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                         nullptr, static_cast<DWORD>(nError), 0, reinterpret_cast<LPWSTR>(&pszText), 0, nullptr);
    // The system's texts end in a line break.
    const QString strText = nLength != 0 ? QString::fromWCharArray(pszText, static_cast<qsizetype>(nLength)).trimmed()
                                         : QStringLiteral("Serial error %1").arg(nError);
    if (pszText)
        ::LocalFree(pszText);
    return CSerialPortException(strText);
}

QString CSerialPort::PortName(int nPort)
{
    return nPort <= 9 ? QStringLiteral("COM%1").arg(nPort) : QStringLiteral("\\\\.\\COM%1").arg(nPort);
}

namespace {
CSerialPortException NotSupported()
{
    return CSerialPortException(QStringLiteral("Serial lines are not supported on this system yet."));
}
} // namespace

void CSerialPort::OpenLocked(const QString&, int, char, int, int)
{
    throw NotSupported();
}

void CSerialPort::CloseLocked()
{
    m_hPort = nullptr;
}

bool CSerialPort::IsOpen() const
{
    std::lock_guard lock(m_lock);
    return m_hPort != nullptr;
}

void CSerialPort::Send(const QByteArray&)
{
    throw NotSupported();
}

void CSerialPort::Receive(QByteArray&)
{
    throw NotSupported();
}

bool CSerialPort::WaitReadable(int)
{
    throw NotSupported();
}

#else // POSIX

CSerialPortException CSerialPortException::FromSystemError(int nError)
{
    return CSerialPortException(QString::fromLocal8Bit(std::strerror(nError)));
}

namespace {

[[noreturn]] void ThrowErrno(int nError = errno)
{
    throw CSerialPortException::FromSystemError(nError);
}

speed_t SpeedOf(int nBaud)
{
    struct Rate
    {
        int nBaud;
        speed_t speed;
    };
    static const Rate rates[] = {
        {50, B50}, {75, B75}, {110, B110}, {134, B134}, {150, B150}, {200, B200},
        {300, B300}, {600, B600}, {1200, B1200}, {1800, B1800}, {2400, B2400},
        {4800, B4800}, {9600, B9600}, {19200, B19200}, {38400, B38400},
        {57600, B57600}, {115200, B115200}, {230400, B230400},
#ifdef B460800
        {460800, B460800},
#endif
#ifdef B921600
        {921600, B921600},
#endif
    };
    for (const Rate& rate : rates) {
        if (rate.nBaud == nBaud)
            return rate.speed;
    }
    ThrowErrno(EINVAL);
}

// Pseudo-terminals and some adapters have no modem lines or cannot drain;
// those answers mean "not applicable", not failure.
bool IsNotApplicable(int nError)
{
    return nError == ENOTTY || nError == EINVAL || nError == ENOTSUP || nError == EOPNOTSUPP;
}

using Clock = std::chrono::steady_clock;

int RemainingMs(Clock::time_point deadline)
{
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return ms < 0 ? 0 : static_cast<int>(ms);
}

// Writes longer than this per byte plus a constant count as failed, like the
// write time-outs of the original line settings.
constexpr int WriteTimeoutMs = 500;

} // namespace

QString CSerialPort::PortName(int nPort)
{
    return QStringLiteral("/dev/ttyS%1").arg(nPort - 1);
}

void CSerialPort::OpenLocked(const QString& strDevicePath, int nBaud, char cParity, int nDataBits, int nStopBits)
{
    const QByteArray path = strDevicePath.toLocal8Bit();
    int fd = ::open(path.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        ThrowErrno();

    // From here on every failure closes the descriptor again.
    try {
        // A second program must not talk to the device in between: TIOCEXCL
        // refuses further opens of the tty, flock covers programs that
        // honour advisory locks on the device node.
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0)
            ThrowErrno();
        termios tio {};
        if (::tcgetattr(fd, &tio) != 0)
            ThrowErrno();
        if (::ioctl(fd, TIOCEXCL) != 0 && !IsNotApplicable(errno))
            ThrowErrno();

        ::cfmakeraw(&tio);
        tio.c_iflag &= ~(IXON | IXOFF | IXANY | INPCK);
        tio.c_cflag |= CLOCAL | CREAD;
        tio.c_cflag &= ~(CSIZE | PARENB | PARODD | CSTOPB | HUPCL);
#ifdef CRTSCTS
        tio.c_cflag &= ~CRTSCTS;
#endif
        switch (nDataBits) {
        case 5: tio.c_cflag |= CS5; break;
        case 6: tio.c_cflag |= CS6; break;
        case 7: tio.c_cflag |= CS7; break;
        case 8: tio.c_cflag |= CS8; break;
        default: ThrowErrno(EINVAL);
        }
        switch (cParity) {
        case 'N': case 'n': break;
        case 'E': case 'e': tio.c_cflag |= PARENB; break;
        case 'O': case 'o': tio.c_cflag |= PARENB | PARODD; break;
        default: ThrowErrno(EINVAL);
        }
        switch (nStopBits) {
        case 1: break;
        case 2: tio.c_cflag |= CSTOPB; break;
        default: ThrowErrno(EINVAL);
        }
        const speed_t speed = SpeedOf(nBaud);
        if (::cfsetispeed(&tio, speed) != 0 || ::cfsetospeed(&tio, speed) != 0)
            ThrowErrno();
        // Reads never block: the caller decides how long to wait.
        tio.c_cc[VMIN] = 0;
        tio.c_cc[VTIME] = 0;
        if (::tcsetattr(fd, TCSANOW, &tio) != 0)
            ThrowErrno();

        int nBits = TIOCM_RTS;
        if (::ioctl(fd, TIOCMBIS, &nBits) != 0 && !IsNotApplicable(errno))
            ThrowErrno();

        if (::tcflush(fd, TCIOFLUSH) != 0)
            ThrowErrno();
    } catch (...) {
        ::close(fd);
        throw;
    }
    m_nFd = fd;
}

void CSerialPort::CloseLocked()
{
    if (m_nFd < 0)
        return;
    // Lift the exclusive mode so the next open of the line succeeds.
    ::ioctl(m_nFd, TIOCNXCL);
    ::close(m_nFd);
    m_nFd = -1;
}

bool CSerialPort::IsOpen() const
{
    std::lock_guard lock(m_lock);
    return m_nFd >= 0;
}

void CSerialPort::Send(const QByteArray& data)
{
    std::lock_guard lock(m_lock);
    if (m_nFd < 0)
        ThrowErrno(EBADF);

    // Whatever the device sent earlier and nobody read belongs to no
    // command: drop it, and anything still queued for output.
    if (::tcflush(m_nFd, TCIOFLUSH) != 0)
        ThrowErrno();

    const auto deadline = Clock::now() + std::chrono::milliseconds(WriteTimeoutMs + WriteTimeoutMs * data.size());
    qsizetype nDone = 0;
    while (nDone < data.size()) {
        const ssize_t n = ::write(m_nFd, data.constData() + nDone, static_cast<size_t>(data.size() - nDone));
        if (n > 0) {
            nDone += n;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK)
            ThrowErrno();
        // The output queue is full: wait until the line takes more.
        pollfd pfd {m_nFd, POLLOUT, 0};
        const int nWait = RemainingMs(deadline);
        if (nWait == 0)
            ThrowErrno(ETIMEDOUT);
        const int r = ::poll(&pfd, 1, nWait);
        if (r < 0 && errno != EINTR)
            ThrowErrno();
        if (r > 0 && (pfd.revents & (POLLERR | POLLHUP | POLLNVAL)))
            ThrowErrno(EIO);
    }
    while (::tcdrain(m_nFd) != 0) {
        if (errno == EINTR)
            continue;
        if (IsNotApplicable(errno))
            break;
        ThrowErrno();
    }
}

void CSerialPort::Receive(QByteArray& buffer)
{
    std::lock_guard lock(m_lock);
    if (m_nFd < 0)
        ThrowErrno(EBADF);
    // One read takes all that is queued; a second one only when the chunk
    // came back full. At line rate every call costs a wake-up, and reading
    // twice per wake-up doubled the system calls of a readout.
    char chunk[4096];
    for (;;) {
        const ssize_t n = ::read(m_nFd, chunk, sizeof chunk);
        if (n > 0) {
            buffer.append(chunk, n);
            if (static_cast<size_t>(n) == sizeof chunk)
                continue;
            return;
        }
        if (n == 0) {
            // Raw mode without a minimum reads nothing both when nothing is
            // waiting and when the line has gone; only poll tells them apart.
            pollfd pfd {m_nFd, POLLIN, 0};
            if (::poll(&pfd, 1, 0) > 0 && (pfd.revents & (POLLHUP | POLLERR | POLLNVAL)))
                ThrowErrno(EIO);
            return;
        }
        if (errno == EINTR)
            continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK)
            return;
        ThrowErrno();
    }
}

bool CSerialPort::WaitReadable(int nMs)
{
    std::lock_guard lock(m_lock);
    if (m_nFd < 0)
        ThrowErrno(EBADF);
    const auto deadline = Clock::now() + std::chrono::milliseconds(nMs < 0 ? 0 : nMs);
    for (;;) {
        pollfd pfd {m_nFd, POLLIN, 0};
        const int r = ::poll(&pfd, 1, RemainingMs(deadline));
        if (r < 0) {
            if (errno == EINTR)
                continue;
            ThrowErrno();
        }
        if (r == 0)
            return false;
        // A hung-up line reports itself readable at once, forever, and its
        // reads return nothing: the line is gone.
        if (pfd.revents & (POLLHUP | POLLERR | POLLNVAL))
            ThrowErrno(EIO);
        return true;
    }
}

#endif
