#pragma once

#include "device/SerialPortDevice.h"

#include <QString>
#include <QStringList>

// The PX900's line: 9600 baud, no parity, 8 data bits, 2 stop bits.
constexpr int kPX900Baud = 9600;
constexpr char kPX900Parity = 'N';
constexpr int kPX900DataBits = 8;
constexpr int kPX900StopBits = 2;

// The parts of the PX900's answers, read from the bytes received up to and
// including the acknowledgement. Apart from the line, so any bytes can be
// put to them.

// The count on the first line; 0 without one.
int ParseResultCount(const QByteArray& answer);
// The text after the first V of the first line, the whole line without one.
QString ParseVersion(const QByteArray& answer);
// Device type and serial number; false when the answer lacks either key. A
// missing part leaves its argument unchanged.
bool ParseIdentity(const QByteArray& answer, QString& strType, QString& strSerial);
// Every piece between carriage returns, the acknowledgement and the (empty)
// rest after the last one included; the decoder skips them.
void SplitResultLines(const QByteArray& answer, QStringList& lines);

// A failure in talking to the PX900: the texts of every layer in a row,
// command first.
class CPX900DeviceException : public CSerialPortDeviceException
{
public:
    using CSerialPortDeviceException::CSerialPortDeviceException;
};

// The PX900 test device: a serial-line device with one operation per
// command of its protocol. Every failure is reported as CPX900DeviceException.
class CPX900Device : public CSerialPortDevice
{
public:
    explicit CPX900Device(PortLogCallback callback = {});
    ~CPX900Device() override;

    void Open(int nPort, int nBaud, char cParity, int nDataBits, int nStopBits) override;
    void Open(const QString& strDevicePath, int nBaud, char cParity, int nDataBits, int nStopBits) override;
    // Opens the line at the device path, or COM port nPort when the path is
    // empty, with the PX900's line settings.
    void OpenLine(int nPort, const QString& strDevicePath);
    void Send(const QByteArray& command) override;
    QByteArray& Query(QByteArray& buffer, int nTimeoutMs = 0, int nPollMs = 0) override;
    QByteArray& Receive(QByteArray& buffer) override;

    // Number of stored results.
    int GetResultCount();
    // Appends the lines of stored result nIndex (0 for the first) to the
    // list, the acknowledgement line and an empty last entry included.
    void GetResult(int nIndex, QStringList& lines);
    // Deletes every stored result.
    void DeleteResults();
    // The firmware version, e.g. "2.05".
    QString GetVersion();
    // Device type and serial number; false when the answer lacks either
    // key. A missing part leaves its argument unchanged.
    bool GetIdentity(QString& strType, QString& strSerial);

private:
    // Sends the command under the device lock and waits for its
    // acknowledgement; a failure gets the command's prefix text.
    QByteArray Exchange(const QByteArray& command, const char* pszAck, unsigned nPrefixId);
};
