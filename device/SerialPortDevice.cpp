#include "device/SerialPortDevice.h"

#include "core/TextCodec.h"
#include "resources/StringTable.h"

#include <algorithm>
#include <chrono>

namespace {

// The device's message, then the operating system's reason on a line of
// its own.
CSerialPortDeviceException Failure(const QString& strMessage, const CSerialPortException& e)
{
    const QString strReason = e.GetErrorMessage();
    return CSerialPortDeviceException(strReason.isEmpty() ? strMessage : strMessage + u'\n' + strReason);
}

} // namespace

CSerialPortDeviceException::CSerialPortDeviceException(const QString& strText)
    : m_strText(strText)
{
}

QString CSerialPortDeviceException::GetErrorMessage() const
{
    return m_strText;
}

CSerialPortDevice::CSerialPortDevice() = default;

CSerialPortDevice::~CSerialPortDevice()
{
    m_port.Close();
}

void CSerialPortDevice::Open(int nPort, int nBaud, char cParity, int nDataBits, int nStopBits)
{
    m_strPortLabel = QStringLiteral("COM%1").arg(nPort);
    try {
        m_port.InitPort(nPort, nBaud, cParity, nDataBits, nStopBits);
    } catch (const CSerialPortException& e) {
        throw Failure(LoadString(IDS_DEVICE_INIT), e);
    }
}

void CSerialPortDevice::Open(const QString& strDevicePath, int nBaud, char cParity, int nDataBits, int nStopBits)
{
    m_strPortLabel = strDevicePath;
    try {
        m_port.InitPort(strDevicePath, nBaud, cParity, nDataBits, nStopBits);
    } catch (const CSerialPortException& e) {
        throw Failure(LoadString(IDS_DEVICE_INIT), e);
    }
}

void CSerialPortDevice::Close()
{
    m_port.Close();
}

void CSerialPortDevice::Send(const QByteArray& command)
{
    try {
        m_port.Send(command);
    } catch (const CSerialPortException& e) {
        throw Failure(LoadString(IDS_DEVICE_COMMAND).arg(DecodeWindows1252(command)), e);
    }
    Log("Out", command);
}

QByteArray& CSerialPortDevice::Query(QByteArray& buffer, int nTimeoutMs, int nPollMs)
{
    using Clock = std::chrono::steady_clock;
    const int nTimeout = nTimeoutMs != 0 ? nTimeoutMs : m_nTimeoutMs;
    const int nPoll = nPollMs != 0 ? nPollMs : m_nPollMs;
    const auto deadline = Clock::now() + std::chrono::milliseconds(nTimeout);
    const QByteArray expected = buffer;
    buffer.clear();

    qsizetype nSearched = 0;
    try {
        for (;;) {
            m_port.Receive(buffer);
            // The expected text comes behind the data lines, in pieces: only
            // what is new (and the part of it that may straddle the last
            // piece) is searched, not a long answer again at every piece.
            const qsizetype nFrom = std::max<qsizetype>(0, nSearched - expected.size() + 1);
            nSearched = buffer.size();
            if (!buffer.isEmpty() && (expected.isEmpty() || buffer.indexOf(expected, nFrom) >= 0)) {
                Log("In", buffer);
                return buffer;
            }
            const auto nLeft = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
            if (nLeft <= 0)
                break;
            if (m_pCancel && m_pCancel->load())
                throw CDeviceWaitCancelled();
            // Wakes as soon as bytes arrive, so nothing waits a whole poll
            // interval for an answer that is already there.
            m_port.WaitReadable(static_cast<int>(std::min<long long>(nLeft, nPoll)));
        }
    } catch (const CSerialPortException& e) {
        throw Failure(LoadString(IDS_DEVICE_COMMUNICATION), e);
    }

    Log("In", buffer);
    constexpr qsizetype nShown = 50;
    // A garbled answer must not break the message box into lines or beep.
    QString strReceived = EscapeControls(DecodeWindows1252(buffer.left(nShown)));
    if (buffer.size() > nShown)
        strReceived += QLatin1String("...");
    throw CSerialPortDeviceException(LoadString(IDS_DEVICE_TIMEOUT).arg(strReceived));
}

QByteArray& CSerialPortDevice::Receive(QByteArray& buffer)
{
    try {
        m_port.Receive(buffer);
    } catch (const CSerialPortException& e) {
        throw Failure(LoadString(IDS_DEVICE_COMMUNICATION), e);
    }
    Log("In", buffer);
    return buffer;
}

void CSerialPortDevice::SetTimeout(int nMs)
{
    if (nMs != 0)
        m_nTimeoutMs = nMs;
}

void CSerialPortDevice::SetLogCallback(PortLogCallback callback)
{
    m_logCallback = std::move(callback);
}

void CSerialPortDevice::Log(const char* pszDirection, const QByteArray& data) const
{
    if (m_logCallback)
        m_logCallback(QStringLiteral("%1 %2: %3").arg(m_strPortLabel, QLatin1String(pszDirection), DecodeWindows1252(data)));
}
