#pragma once

#include "core/Exception.h"

#include <QByteArray>
#include <QString>

#include <mutex>

// A failure of the serial line. The text is the operating system's message
// for the error; which step failed is not part of it.
class CSerialPortException : public CException
{
public:
    explicit CSerialPortException(const QString& strText);

    // The system's message for an errno value (POSIX) or a last-error code
    // (Windows).
    static CSerialPortException FromSystemError(int nError);

    QString GetErrorMessage() const override;

private:
    QString m_strText;
};

// One open serial line. Knows nothing about the device at the other end: it
// configures the line, writes bytes and hands over what has arrived.
// The platform calls stay inside this class so that each system gets its
// own implementation behind the same interface.
class CSerialPort
{
public:
    CSerialPort();
    ~CSerialPort();
    CSerialPort(const CSerialPort&) = delete;
    CSerialPort& operator=(const CSerialPort&) = delete;

    // The device name of COM port number nPort: "/dev/ttyS{n-1}" on POSIX
    // systems, "COMn" or "\\.\COMn" on Windows. A number below 1 gives a
    // name that does not exist, so opening it fails.
    static QString PortName(int nPort);

    // Opens and configures the line exclusively: raw, the given speed,
    // parity letter (N, E, O), data bits and stop bits, RTS on where the
    // line has it, both directions flushed. Closes a line opened before.
    void InitPort(int nPort, int nBaud, char cParity, int nDataBits, int nStopBits);
    void InitPort(const QString& strDevicePath, int nBaud, char cParity, int nDataBits, int nStopBits);

    // Discards everything not yet read or sent, then writes all bytes and
    // waits until they have left.
    void Send(const QByteArray& data);

    // Appends whatever is waiting now; returns at once when nothing is.
    void Receive(QByteArray& buffer);

    // Waits at most nMs for input; true as soon as bytes are waiting.
    // A line that went away (hang-up) is an error, not a time-out.
    bool WaitReadable(int nMs);

    void Close();
    bool IsOpen() const;

private:
    void OpenLocked(const QString& strDevicePath, int nBaud, char cParity, int nDataBits, int nStopBits);
    void CloseLocked();

    // Every system call on the handle runs under this lock.
    mutable std::mutex m_lock;
#ifdef Q_OS_WIN
    void* m_hPort = nullptr;
#else
    int m_nFd = -1;
#endif
};
