// The serial line and the device on it, over a real pseudo-terminal whose
// master side plays the device.

#include "PtyPeer.h"

#include "device/SerialPort.h"
#include "device/SerialPortDevice.h"
#include "resources/StringTable.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cstring>
#include <future>
#include <thread>

using namespace std::chrono_literals;

class TestSerialPort : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;

private slots:
    void portName_data();
    void portName();
    void openFails_data();
    void openFails();
    void lineSettings_data();
    void lineSettings();
    void badLineSettings_data();
    void badLineSettings();
    void exclusiveOpen();
    void sendDiscardsUnreadInput();
    void sendWritesAndLogs();
    void queryEmptyExpectedReturnsOnFirstByte();
    void queryAnswerInPieces();
    void queryTimeoutText_data();
    void queryTimeoutText();
    void receiveEmptyQueue();
    void setTimeoutZeroKeepsDefault();
    void hangUpWhileWaiting();
    void sendOnHungUpLine();
    void notOpened();
    void windows1252Monitor();
};

namespace {

struct Monitor
{
    QStringList lines;
    PortLogCallback Callback()
    {
        return [this](const QString& str) { lines.append(str); };
    }
};

// The system's reason as the device level adds it: on a line of its own.
QString Reason(int nError)
{
    return u'\n' + QString::fromLocal8Bit(std::strerror(nError));
}

void OpenDevice(CSerialPortDevice& device, const CPtyPeer& peer)
{
    device.Open(peer.Path(), 9600, 'N', 8, 2);
}

} // namespace

void TestSerialPort::portName_data()
{
    QTest::addColumn<int>("port");
    QTest::addColumn<QString>("name");
#ifdef Q_OS_WIN
    QTest::newRow("1") << 1 << QStringLiteral("COM1");
    QTest::newRow("9") << 9 << QStringLiteral("COM9");
    QTest::newRow("10") << 10 << QStringLiteral("\\\\.\\COM10");
#else
    QTest::newRow("1") << 1 << QStringLiteral("/dev/ttyS0");
    QTest::newRow("9") << 9 << QStringLiteral("/dev/ttyS8");
    QTest::newRow("10") << 10 << QStringLiteral("/dev/ttyS9");
#endif
}

void TestSerialPort::portName()
{
    QFETCH(int, port);
    QFETCH(QString, name);
    QCOMPARE(CSerialPort::PortName(port), name);
}

void TestSerialPort::openFails_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("systemText");
    QTest::newRow("missing") << QStringLiteral("/nonexistent/ttyQ7") << QString::fromLocal8Bit(std::strerror(ENOENT));
    // A device that is no terminal cannot take line settings.
    QTest::newRow("not a terminal") << QStringLiteral("/dev/null") << QString::fromLocal8Bit(std::strerror(ENOTTY));
    QTest::newRow("port 0") << CSerialPort::PortName(0) << QString::fromLocal8Bit(std::strerror(ENOENT));
    const QString strPlain = m_dir.filePath(QStringLiteral("plain"));
    QFile plain(strPlain);
    QVERIFY(plain.open(QIODevice::WriteOnly));
    QTest::newRow("plain file") << strPlain << QString::fromLocal8Bit(std::strerror(ENOTTY));
}

void TestSerialPort::openFails()
{
    QFETCH(QString, path);
    QFETCH(QString, systemText);

    CSerialPort port;
    try {
        port.InitPort(path, 9600, 'N', 8, 2);
        QFAIL("InitPort succeeded");
    } catch (const CSerialPortException& e) {
        QCOMPARE(e.GetErrorMessage(), systemText);
    }
    QVERIFY(!port.IsOpen());

    // The device level puts its own message first and keeps the system's
    // reason on a line of its own.
    CSerialPortDevice device;
    try {
        device.Open(path, 9600, 'N', 8, 2);
        QFAIL("Open succeeded");
    } catch (const CSerialPortDeviceException& e) {
        QCOMPARE(e.GetErrorMessage(), LoadString(IDS_DEVICE_INIT) + u'\n' + systemText);
    }
}

void TestSerialPort::lineSettings_data()
{
    QTest::addColumn<int>("baud");
    QTest::addColumn<char>("parity");
    QTest::addColumn<int>("dataBits");
    QTest::addColumn<int>("stopBits");
    QTest::addColumn<uint>("speed");
    QTest::addColumn<uint>("cflags");
    QTest::newRow("9600 8N2") << 9600 << 'N' << 8 << 2 << uint(B9600) << uint(CS8 | CSTOPB);
    QTest::newRow("19200 7E1") << 19200 << 'E' << 7 << 1 << uint(B19200) << uint(CS7 | PARENB);
    QTest::newRow("4800 8O1") << 4800 << 'O' << 8 << 1 << uint(B4800) << uint(CS8 | PARENB | PARODD);
}

void TestSerialPort::lineSettings()
{
    QFETCH(int, baud);
    QFETCH(char, parity);
    QFETCH(int, dataBits);
    QFETCH(int, stopBits);
    QFETCH(uint, speed);
    QFETCH(uint, cflags);

    CPtyPeer peer;
    QVERIFY(peer.IsValid());
    // Opened before the port takes the line exclusively, to read back what
    // the port set on the terminal.
    const int fd = ::open(peer.Path().toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    QVERIFY(fd >= 0);
    // Start from a cooked terminal at another speed, as a line left behind
    // by a login or another program would be.
    termios cooked {};
    QCOMPARE(::tcgetattr(fd, &cooked), 0);
    cooked.c_lflag |= ICANON | ECHO | ISIG;
    cooked.c_iflag |= ICRNL | IXON;
    cooked.c_oflag |= OPOST;
    cooked.c_cflag = (cooked.c_cflag & ~CSIZE) | CS6 | PARENB | CSTOPB;
    ::cfsetspeed(&cooked, B1200);
    QCOMPARE(::tcsetattr(fd, TCSANOW, &cooked), 0);

    CSerialPort port;
    port.InitPort(peer.Path(), baud, parity, dataBits, stopBits);
    termios tio {};
    QCOMPARE(::tcgetattr(fd, &tio), 0);
    ::close(fd);

    QCOMPARE(uint(::cfgetospeed(&tio)), speed);
    QCOMPARE(uint(::cfgetispeed(&tio)), speed);
    // A pseudo-terminal forces 8 data bits without parity; stop bits and
    // the parity sense stay as set.
    QCOMPARE(uint(tio.c_cflag & (PARODD | CSTOPB)), uint(cflags & (PARODD | CSTOPB)));
    QVERIFY(tio.c_cflag & CLOCAL);
    QVERIFY(tio.c_cflag & CREAD);
    // Raw: no echo, no line editing, carriage returns pass untouched.
    QCOMPARE(uint(tio.c_lflag & (ICANON | ECHO | ISIG)), 0u);
    QCOMPARE(uint(tio.c_iflag & (ICRNL | IXON)), 0u);
    QCOMPARE(uint(tio.c_oflag & OPOST), 0u);
}

void TestSerialPort::badLineSettings_data()
{
    QTest::addColumn<int>("baud");
    QTest::addColumn<char>("parity");
    QTest::addColumn<int>("dataBits");
    QTest::addColumn<int>("stopBits");
    QTest::newRow("odd rate") << 12345 << 'N' << 8 << 2;
    QTest::newRow("parity X") << 9600 << 'X' << 8 << 2;
    QTest::newRow("9 data bits") << 9600 << 'N' << 9 << 2;
    QTest::newRow("3 stop bits") << 9600 << 'N' << 8 << 3;
}

void TestSerialPort::badLineSettings()
{
    QFETCH(int, baud);
    QFETCH(char, parity);
    QFETCH(int, dataBits);
    QFETCH(int, stopBits);

    CPtyPeer peer;
    QVERIFY(peer.IsValid());
    CSerialPort port;
    QVERIFY_THROWS_EXCEPTION(CSerialPortException, port.InitPort(peer.Path(), baud, parity, dataBits, stopBits));
    QVERIFY(!port.IsOpen());
    // The failed attempt left nothing locked behind.
    port.InitPort(peer.Path(), 9600, 'N', 8, 2);
    QVERIFY(port.IsOpen());
}

void TestSerialPort::exclusiveOpen()
{
    CPtyPeer peer;
    QVERIFY(peer.IsValid());
    CSerialPort first;
    first.InitPort(peer.Path(), 9600, 'N', 8, 2);

    CSerialPort second;
    QVERIFY_THROWS_EXCEPTION(CSerialPortException, second.InitPort(peer.Path(), 9600, 'N', 8, 2));

    // Closing gives the line back; the same object can open it again too.
    first.Close();
    QVERIFY(!first.IsOpen());
    second.InitPort(peer.Path(), 9600, 'N', 8, 2);
    QVERIFY(second.IsOpen());
    second.Close();
    first.InitPort(peer.Path(), 9600, 'N', 8, 2);
    QVERIFY(first.IsOpen());
}

void TestSerialPort::sendDiscardsUnreadInput()
{
    CPtyPeer peer;
    QVERIFY(peer.IsValid());
    CSerialPort port;
    port.InitPort(peer.Path(), 9600, 'N', 8, 2);

    peer.Write("stale\r");
    QVERIFY(port.WaitReadable(3000)); // the stale text has arrived
    port.Send("ARC\r");
    QCOMPARE(peer.ReadCommand(), QByteArray("ARC\r"));
    peer.Write("7\rARCACK\r");

    QByteArray buffer;
    while (!buffer.contains("ARCACK\r") && port.WaitReadable(3000))
        port.Receive(buffer);
    QCOMPARE(buffer, QByteArray("7\rARCACK\r"));
}

void TestSerialPort::sendWritesAndLogs()
{
    CPtyPeer peer;
    QVERIFY(peer.IsValid());
    Monitor monitor;
    CSerialPortDevice device;
    device.SetLogCallback(monitor.Callback());
    OpenDevice(device, peer);

    device.Send("AGR12\r");
    QCOMPARE(peer.ReadCommand(), QByteArray("AGR12\r"));
    QCOMPARE(monitor.lines, QStringList {peer.Path() + QStringLiteral(" Out: AGR12\r")});
}

void TestSerialPort::queryEmptyExpectedReturnsOnFirstByte()
{
    CPtyPeer peer;
    QVERIFY(peer.IsValid());
    CSerialPortDevice device;
    OpenDevice(device, peer);

    peer.Write("x");
    QByteArray buffer;
    // A long time-out: returning means the first byte was enough.
    device.Query(buffer, 60000, 0);
    QCOMPARE(buffer, QByteArray("x"));
}

void TestSerialPort::queryAnswerInPieces()
{
    CPtyPeer peer;
    QVERIFY(peer.IsValid());
    Monitor monitor;
    CSerialPortDevice device;
    device.SetLogCallback(monitor.Callback());
    OpenDevice(device, peer);

    auto answer = std::async(std::launch::async, [&peer] {
        peer.Write("12\r");
        std::this_thread::sleep_for(150ms); // one poll interval later
        peer.Write("ARCACK\r");
    });
    QByteArray buffer("ARCACK\r");
    device.Query(buffer, 10000, 0);
    answer.get();
    QCOMPARE(buffer, QByteArray("12\rARCACK\r"));
    QCOMPARE(monitor.lines, QStringList {peer.Path() + QStringLiteral(" In: 12\rARCACK\r")});
}

void TestSerialPort::queryTimeoutText_data()
{
    QTest::addColumn<QByteArray>("received");
    QTest::addColumn<QString>("shown");
    const QByteArray sixty = QByteArray("0123456789").repeated(6);
    QTest::newRow("60 characters") << sixty << QString::fromLatin1(sixty.left(50)) + QStringLiteral("...");
    QTest::newRow("51 characters") << sixty.left(51) << QString::fromLatin1(sixty.left(50)) + QStringLiteral("...");
    QTest::newRow("50 characters") << sixty.left(50) << QString::fromLatin1(sixty.left(50));
    QTest::newRow("nothing") << QByteArray() << QString();
    // Near miss: the acknowledgement without its carriage return.
    QTest::newRow("ack cut short") << QByteArray("ARCACK") << QStringLiteral("ARCACK");
    // Control characters are written out, after the cut at 50 received.
    QTest::newRow("control characters") << QByteArray("\x01" "AR\x1b[2J\x7f") + sixty
                                        << QStringLiteral("\\x01AR\\x1b[2J\\x7f") + QString::fromLatin1(sixty.left(42)) + QStringLiteral("...");
}

void TestSerialPort::queryTimeoutText()
{
    QFETCH(QByteArray, received);
    QFETCH(QString, shown);

    CPtyPeer peer;
    QVERIFY(peer.IsValid());
    Monitor monitor;
    CSerialPortDevice device;
    device.SetLogCallback(monitor.Callback());
    OpenDevice(device, peer);
    peer.Write(received);

    QByteArray buffer("ARCACK\r");
    try {
        device.Query(buffer, 300, 50);
        QFAIL("Query returned");
    } catch (const CSerialPortDeviceException& e) {
        QCOMPARE(e.GetErrorMessage(), LoadString(IDS_DEVICE_TIMEOUT).arg(shown));
    }
    QCOMPARE(buffer, received);
    // The monitor shows everything, uncut.
    QCOMPARE(monitor.lines, QStringList {peer.Path() + QStringLiteral(" In: ") + QString::fromLatin1(received)});
}

void TestSerialPort::receiveEmptyQueue()
{
    CPtyPeer peer;
    QVERIFY(peer.IsValid());
    Monitor monitor;
    CSerialPortDevice device;
    device.SetLogCallback(monitor.Callback());
    OpenDevice(device, peer);

    QByteArray buffer("abc");
    QCOMPARE(device.Receive(buffer), QByteArray("abc"));
    QCOMPARE(monitor.lines, QStringList {peer.Path() + QStringLiteral(" In: abc")});
}

void TestSerialPort::setTimeoutZeroKeepsDefault()
{
    CPtyPeer peer;
    QVERIFY(peer.IsValid());
    CSerialPortDevice device;
    OpenDevice(device, peer);
    device.SetTimeout(20000);
    device.SetTimeout(0);

    // Were the default time-out 0 now, the query would give up at once.
    auto answer = std::async(std::launch::async, [&peer] {
        std::this_thread::sleep_for(300ms);
        peer.Write("OK\r");
    });
    QByteArray buffer("OK\r");
    device.Query(buffer);
    answer.get();
    QCOMPARE(buffer, QByteArray("OK\r"));
}

void TestSerialPort::hangUpWhileWaiting()
{
    CPtyPeer peer;
    QVERIFY(peer.IsValid());
    CSerialPortDevice device;
    OpenDevice(device, peer);

    auto vanish = std::async(std::launch::async, [&peer] {
        peer.Write("12\r");
        std::this_thread::sleep_for(100ms);
        peer.CloseMaster();
    });
    QByteArray buffer("ARCACK\r");
    try {
        device.Query(buffer, 60000, 0);
        QFAIL("Query returned");
    } catch (const CSerialPortDeviceException& e) {
        QCOMPARE(e.GetErrorMessage(), LoadString(IDS_DEVICE_COMMUNICATION) + Reason(EIO));
    }
    vanish.get();
    QByteArray more;
    try {
        device.Receive(more);
        QFAIL("Receive returned");
    } catch (const CSerialPortDeviceException& e) {
        QCOMPARE(e.GetErrorMessage(), LoadString(IDS_DEVICE_COMMUNICATION) + Reason(EIO));
    }
}

void TestSerialPort::sendOnHungUpLine()
{
    CPtyPeer peer;
    QVERIFY(peer.IsValid());
    Monitor monitor;
    CSerialPortDevice device;
    device.SetLogCallback(monitor.Callback());
    OpenDevice(device, peer);
    peer.CloseMaster();

    try {
        device.Send("AER\r");
        QFAIL("Send returned");
    } catch (const CSerialPortDeviceException& e) {
        QCOMPARE(e.GetErrorMessage(), LoadString(IDS_DEVICE_COMMAND).arg(QStringLiteral("AER\r")) + Reason(EIO));
    }
    QVERIFY(monitor.lines.isEmpty()); // nothing went out
}

void TestSerialPort::notOpened()
{
    CSerialPortDevice device;
    QVERIFY_THROWS_EXCEPTION(CSerialPortDeviceException, device.Send("ARC\r"));
    QByteArray buffer;
    try {
        device.Query(buffer, 100, 0);
        QFAIL("Query returned");
    } catch (const CSerialPortDeviceException& e) {
        QCOMPARE(e.GetErrorMessage(), LoadString(IDS_DEVICE_COMMUNICATION) + Reason(EBADF));
    }
    device.Close(); // harmless without a line
}

void TestSerialPort::windows1252Monitor()
{
    CPtyPeer peer;
    QVERIFY(peer.IsValid());
    Monitor monitor;
    CSerialPortDevice device;
    device.SetLogCallback(monitor.Callback());
    OpenDevice(device, peer);

    peer.Write("ID;Z\xe4hler S\xfc" "d \x80\r");
    QByteArray buffer("\r");
    device.Query(buffer, 10000, 0);
    QCOMPARE(monitor.lines.size(), 1);
    QCOMPARE(monitor.lines.first(), peer.Path() + QString::fromUtf8(" In: ID;Zähler Süd €\r"));
}

QTEST_GUILESS_MAIN(TestSerialPort)
#include "tst_serialport.moc"
