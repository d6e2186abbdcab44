#include "device/PX900Device.h"

#include "core/Number.h"
#include "core/TextCodec.h"
#include "resources/StringTable.h"

namespace {

// Runs one operation of the serial layer and puts the device's own text in
// front of a failure.
template <typename F>
auto WithDeviceError(F&& operation) -> decltype(operation())
{
    try {
        return operation();
    } catch (const CSerialPortDeviceException& e) {
        throw CPX900DeviceException(LoadString(IDS_PX900_ERROR) + e.GetErrorMessage());
    }
}

// The buffer up to its first carriage return.
QString FirstLine(const QByteArray& buffer)
{
    const qsizetype nEnd = buffer.indexOf('\r');
    return DecodeWindows1252(nEnd < 0 ? buffer : buffer.left(nEnd));
}

} // namespace

CPX900Device::CPX900Device(PortLogCallback callback)
{
    m_logCallback = std::move(callback);
}

CPX900Device::~CPX900Device() = default;

void CPX900Device::Open(int nPort, int nBaud, char cParity, int nDataBits, int nStopBits)
{
    WithDeviceError([&] { CSerialPortDevice::Open(nPort, nBaud, cParity, nDataBits, nStopBits); });
}

void CPX900Device::Open(const QString& strDevicePath, int nBaud, char cParity, int nDataBits, int nStopBits)
{
    WithDeviceError([&] { CSerialPortDevice::Open(strDevicePath, nBaud, cParity, nDataBits, nStopBits); });
}

void CPX900Device::OpenLine(int nPort, const QString& strDevicePath)
{
    if (strDevicePath.isEmpty())
        Open(nPort, kPX900Baud, kPX900Parity, kPX900DataBits, kPX900StopBits);
    else
        Open(strDevicePath, kPX900Baud, kPX900Parity, kPX900DataBits, kPX900StopBits);
}

void CPX900Device::Send(const QByteArray& command)
{
    WithDeviceError([&] { CSerialPortDevice::Send(command); });
}

QByteArray& CPX900Device::Query(QByteArray& buffer, int nTimeoutMs, int nPollMs)
{
    return WithDeviceError([&]() -> QByteArray& { return CSerialPortDevice::Query(buffer, nTimeoutMs, nPollMs); });
}

QByteArray& CPX900Device::Receive(QByteArray& buffer)
{
    return WithDeviceError([&]() -> QByteArray& { return CSerialPortDevice::Receive(buffer); });
}

QByteArray CPX900Device::Exchange(const QByteArray& command, const char* pszAck, unsigned nPrefixId)
{
    std::lock_guard lock(m_deviceLock);
    try {
        Send(command);
        QByteArray buffer(pszAck);
        Query(buffer, 0, 0);
        return buffer;
    } catch (const CSerialPortDeviceException& e) {
        throw CPX900DeviceException(LoadString(nPrefixId) + e.GetErrorMessage());
    }
}

int ParseResultCount(const QByteArray& answer)
{
    // Without a count line the first line is the acknowledgement: 0.
    return ParseInt(FirstLine(answer));
}

QString ParseVersion(const QByteArray& answer)
{
    const QString strLine = FirstLine(answer);
    const qsizetype nV = strLine.indexOf(QLatin1Char('V'));
    return nV < 0 ? strLine : strLine.mid(nV + 1);
}

bool ParseIdentity(const QByteArray& answer, QString& strType, QString& strSerial)
{
    const QString strAnswer = DecodeWindows1252(answer);

    const QLatin1String serialKey("Messmodul;Seriennummer;");
    const qsizetype nSerial = strAnswer.indexOf(serialKey);
    if (nSerial < 0)
        return false;
    const QString strSerialRest = strAnswer.mid(nSerial + serialKey.size());
    const qsizetype nSerialEnd = strSerialRest.indexOf(QLatin1Char('\r'));
    if (nSerialEnd > 0)
        strSerial = strSerialRest.left(nSerialEnd).trimmed();

    const QLatin1String controllerKey("Controller;");
    const qsizetype nController = strAnswer.indexOf(controllerKey);
    if (nController < 0)
        return false;
    const QString strControllerRest = strAnswer.mid(nController + controllerKey.size());
    // The type runs up to the V of the firmware version; a space before the
    // V belongs to it.
    const qsizetype nV = strControllerRest.indexOf(QLatin1Char('V'));
    strType = nV > 0 ? strControllerRest.left(nV) : QStringLiteral("PX900");
    return true;
}

void SplitResultLines(const QByteArray& answer, QStringList& lines)
{
    for (const QByteArray& line : answer.split('\r'))
        lines.append(DecodeWindows1252(line));
}

int CPX900Device::GetResultCount()
{
    return ParseResultCount(Exchange("ARC\r", "ARCACK\r", IDS_PX900_GET_COUNT));
}

void CPX900Device::GetResult(int nIndex, QStringList& lines)
{
    // The device counts its results from 1.
    const QByteArray command = "AGR" + QByteArray::number(nIndex + 1) + '\r';
    SplitResultLines(Exchange(command, "AGRACK\r", IDS_PX900_GET_RESULT), lines);
}

void CPX900Device::DeleteResults()
{
    Exchange("AER\r", "AERACK\r", IDS_PX900_DELETE);
}

QString CPX900Device::GetVersion()
{
    return ParseVersion(Exchange("AAV\r", "AAVACK\r", IDS_PX900_VERSION));
}

bool CPX900Device::GetIdentity(QString& strType, QString& strSerial)
{
    return ParseIdentity(Exchange("AAW\r", "AAWACK\r", IDS_PX900_VERSION), strType, strSerial);
}
