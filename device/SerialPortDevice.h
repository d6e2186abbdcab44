#pragma once

#include "core/Exception.h"
#include "device/SerialPort.h"

#include <QByteArray>
#include <QString>

#include <atomic>
#include <functional>
#include <mutex>

// Receives every port-monitor line ("COM1 Out: ...", "COM1 In: ...").
using PortLogCallback = std::function<void(const QString&)>;

// A failure of a device on a serial line, with one complete text from the
// string table.
class CSerialPortDeviceException : public CException
{
public:
    explicit CSerialPortDeviceException(const QString& strText);
    QString GetErrorMessage() const override;

private:
    QString m_strText;
};

// Thrown out of a wait for the device when its cancel flag is set. Not an
// error: nothing went wrong on the line, the user stopped it.
struct CDeviceWaitCancelled
{
};

// A device at the other end of a serial line: writes commands, collects the
// answer until an expected text shows up or the time-out expires, and
// reports every line that goes out or comes in to the port monitor.
class CSerialPortDevice
{
public:
    CSerialPortDevice();
    virtual ~CSerialPortDevice();
    CSerialPortDevice(const CSerialPortDevice&) = delete;
    CSerialPortDevice& operator=(const CSerialPortDevice&) = delete;

    // Opens COM port number nPort, or the line at a device path.
    virtual void Open(int nPort, int nBaud, char cParity, int nDataBits, int nStopBits);
    virtual void Open(const QString& strDevicePath, int nBaud, char cParity, int nDataBits, int nStopBits);
    virtual void Close();
    // Writes the command as it is (the caller adds the line end).
    virtual void Send(const QByteArray& command);
    // On entry the buffer holds the expected answer (may be empty: any byte
    // will do); on return everything received, which contains it. 0 for
    // either number takes the default.
    virtual QByteArray& Query(QByteArray& buffer, int nTimeoutMs = 0, int nPollMs = 0);
    // Appends what is waiting now, without waiting.
    virtual QByteArray& Receive(QByteArray& buffer);

    // The default answer time-out in ms; 0 keeps the current one.
    void SetTimeout(int nMs);
    void SetLogCallback(PortLogCallback callback);
    // A flag another thread sets to end a wait for an answer within one poll
    // interval (CDeviceWaitCancelled); nullptr waits until the time-out.
    void SetCancelFlag(const std::atomic<bool>* pCancel) { m_pCancel = pCancel; }

protected:
    void Log(const char* pszDirection, const QByteArray& data) const;

    PortLogCallback m_logCallback;
    int m_nTimeoutMs = 1000;
    int m_nPollMs = 100;
    const std::atomic<bool>* m_pCancel = nullptr;
    CSerialPort m_port;
    // "COMn" for a port number, else the device path; heads the monitor lines.
    QString m_strPortLabel = QStringLiteral("COM0");
    // Held by a derived device for a whole command exchange.
    std::mutex m_deviceLock;
};
