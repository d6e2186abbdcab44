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

namespace {

// The system's reason as the device level adds it: on a line of its own.
QString Reason(int nError)
{
    return u'\n' + QString::fromLocal8Bit(std::strerror(nError));
}

// A device opened on a fresh peer at the PX900's settings, with what its
// monitor showed.
struct CLine
{
    CLine()
    {
        device.SetLogCallback([this](const QString& str) { monitor.append(str); });
        if (peer.IsValid())
            device.Open(peer.Path(), 9600, 'N', 8, 2);
    }
    QString Shown(const char* pszDirection, const QString& strData) const
    {
        return peer.Path() + u' ' + QLatin1String(pszDirection) + QStringLiteral(": ") + strData;
    }
    CPtyPeer peer;
    QStringList monitor;
    CSerialPortDevice device;
};

} // namespace

class TestSerialPort : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;

private slots:
    void openFails_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("error");
        QTest::newRow("missing") << QStringLiteral("/nonexistent/ttyQ7") << ENOENT;
        // A device that is no terminal cannot take line settings.
        QTest::newRow("not a terminal") << QStringLiteral("/dev/null") << ENOTTY;
        const QString strPlain = m_dir.filePath(QStringLiteral("plain"));
        QVERIFY(QFile(strPlain).open(QIODevice::WriteOnly));
        QTest::newRow("plain file") << strPlain << ENOTTY;
    }
    void openFails()
    {
        QFETCH(QString, path);
        QFETCH(int, error);
        CSerialPort port;
        try {
            port.InitPort(path, 9600, 'N', 8, 2);
            QFAIL("InitPort succeeded");
        } catch (const CSerialPortException& e) {
            QCOMPARE(e.GetErrorMessage(), QString::fromLocal8Bit(std::strerror(error)));
        }
        QVERIFY(!port.IsOpen());
    }

    void lineSettings_data()
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
        // Refused settings (speed 0).
        QTest::newRow("odd rate") << 12345 << 'N' << 8 << 2 << 0u << 0u;
        QTest::newRow("parity X") << 9600 << 'X' << 8 << 2 << 0u << 0u;
        QTest::newRow("9 data bits") << 9600 << 'N' << 9 << 2 << 0u << 0u;
        QTest::newRow("3 stop bits") << 9600 << 'N' << 8 << 3 << 0u << 0u;
    }
    void lineSettings()
    {
        QFETCH(int, baud);
        QFETCH(char, parity);
        QFETCH(int, dataBits);
        QFETCH(int, stopBits);
        QFETCH(uint, speed);
        QFETCH(uint, cflags);
        CPtyPeer peer;
        QVERIFY(peer.IsValid());
        CSerialPort port;
        if (speed == 0) {
            QVERIFY_THROWS_EXCEPTION(CSerialPortException,
                                     port.InitPort(peer.Path(), baud, parity, dataBits, stopBits));
            QVERIFY(!port.IsOpen());
            // The failed attempt left nothing locked behind. The line is taken by
            // one port at a time; closing gives it back.
            port.InitPort(peer.Path(), 9600, 'N', 8, 2);
            CSerialPort second;
            QVERIFY_THROWS_EXCEPTION(CSerialPortException, second.InitPort(peer.Path(), 9600, 'N', 8, 2));
            port.Close();
            QVERIFY(!port.IsOpen());
            second.InitPort(peer.Path(), 9600, 'N', 8, 2);
            second.Close();
            port.InitPort(peer.Path(), 9600, 'N', 8, 2);
            QVERIFY(port.IsOpen());
            return;
        }
        // Opened before the port takes the line exclusively, to read back what
        // the port set; it starts cooked at another speed, as a login leaves it.
        const int fd = ::open(peer.Path().toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        QVERIFY(fd >= 0);
        termios cooked{};
        QCOMPARE(::tcgetattr(fd, &cooked), 0);
        cooked.c_lflag |= ICANON | ECHO | ISIG;
        cooked.c_iflag |= ICRNL | IXON;
        cooked.c_oflag |= OPOST;
        cooked.c_cflag = (cooked.c_cflag & ~CSIZE) | CS6 | PARENB | CSTOPB;
        ::cfsetspeed(&cooked, B1200);
        QCOMPARE(::tcsetattr(fd, TCSANOW, &cooked), 0);

        port.InitPort(peer.Path(), baud, parity, dataBits, stopBits);
        termios tio{};
        QCOMPARE(::tcgetattr(fd, &tio), 0);
        ::close(fd);
        QCOMPARE(uint(::cfgetospeed(&tio)), speed);
        QCOMPARE(uint(::cfgetispeed(&tio)), speed);
        // A pseudo-terminal forces 8 data bits without parity; stop bits and
        // the parity sense stay as set.
        QCOMPARE(uint(tio.c_cflag & (PARODD | CSTOPB)), uint(cflags & (PARODD | CSTOPB)));
        QVERIFY((tio.c_cflag & CLOCAL) && (tio.c_cflag & CREAD));
        // Raw: no echo, no line editing, carriage returns pass untouched.
        QCOMPARE(uint(tio.c_lflag & (ICANON | ECHO | ISIG)), 0u);
        QCOMPARE(uint(tio.c_iflag & (ICRNL | IXON)), 0u);
        QCOMPARE(uint(tio.c_oflag & OPOST), 0u);

        // What came before a command is dropped when it goes out.
        peer.Write("stale\r");
        QVERIFY(port.WaitReadable(3000));
        port.Send("ARC\r");
        QCOMPARE(peer.ReadCommand(), QByteArray("ARC\r"));
        peer.Write("7\rARCACK\r");
        QByteArray buffer;
        while (!buffer.contains("ARCACK\r") && port.WaitReadable(3000))
            port.Receive(buffer);
        QCOMPARE(buffer, QByteArray("7\rARCACK\r"));
    }

    // Both ways shown in the monitor as text. A query waits for the text it
    // expects as long as the time-out set (0 keeps the one before), or for the
    // first byte when it expects none.
    void monitorAndQuery()
    {
        CLine line;
        QVERIFY(line.peer.IsValid());
        line.device.SetTimeout(20000);
        line.device.SetTimeout(0);
        line.device.Send("AGR12\r");
        QCOMPARE(line.peer.ReadCommand(), QByteArray("AGR12\r"));
        // windows-1252 from the device, shown as the same text. The rest comes
        // later than the built-in second: were the time-out lost, the query would
        // give up before it.
        const QByteArray record("ID;Z\xe4hler N\xfcrnberg \x80\r");
        auto answer = std::async(std::launch::async, [&line, record] {
            line.peer.Write(record);
            std::this_thread::sleep_for(1500ms);
            line.peer.Write("ARCACK\r");
        });
        QByteArray buffer("ARCACK\r");
        line.device.Query(buffer);
        answer.get();
        QCOMPARE(buffer, record + "ARCACK\r");
        // Receive passes on what is queued, an empty queue included.
        QByteArray queued("abc");
        QCOMPARE(line.device.Receive(queued), QByteArray("abc"));
        QCOMPARE(line.monitor, (QStringList{line.Shown("Out", QStringLiteral("AGR12\r")),
                                            line.Shown("In", QString::fromUtf8("ID;Zähler Nürnberg €\rARCACK\r")),
                                            line.Shown("In", QStringLiteral("abc"))}));
        line.peer.Write("x");
        QByteArray any;
        line.device.Query(any, 60000, 0);
        QCOMPARE(any, QByteArray("x"));
        // A query that gives up shows all it received in the monitor, uncut.
        const QByteArray sixty = QByteArray("0123456789").repeated(6);
        line.peer.Write(sixty);
        QByteArray ack("ARCACK\r");
        QVERIFY_THROWS_EXCEPTION(CSerialPortDeviceException, line.device.Query(ack, 300, 50));
        QCOMPARE(line.monitor.last(), line.Shown("In", QString::fromLatin1(sixty)));
    }

    void lineLost_data()
    {
        QTest::addColumn<QString>("when");
        QTest::addColumn<QString>("message");
        const QString strLost = LoadString(IDS_DEVICE_COMMUNICATION) + Reason(EIO);
        QTest::newRow("while waiting") << QStringLiteral("waiting") << strLost;
        QTest::newRow("before sending") << QStringLiteral("sending")
                                        << LoadString(IDS_DEVICE_COMMAND).arg(QStringLiteral("AER\r")) + Reason(EIO);
        QTest::newRow("never opened") << QStringLiteral("closed")
                                      << LoadString(IDS_DEVICE_COMMUNICATION) + Reason(EBADF);
    }
    void lineLost()
    {
        QFETCH(QString, when);
        QFETCH(QString, message);
        std::unique_ptr<CLine> pLine;
        CSerialPortDevice unopened;
        CSerialPortDevice* pDevice = &unopened;
        std::future<void> vanish;
        if (when != QLatin1String("closed")) {
            pLine = std::make_unique<CLine>();
            QVERIFY(pLine->peer.IsValid());
            pDevice = &pLine->device;
            CPtyPeer* pPeer = &pLine->peer;
            vanish = std::async(std::launch::async, [pPeer, when] {
                if (when == QLatin1String("waiting")) {
                    pPeer->Write("12\r");
                    std::this_thread::sleep_for(100ms);
                }
                pPeer->CloseMaster();
            });
            if (when == QLatin1String("sending"))
                vanish.get();
        }
        try {
            if (when == QLatin1String("sending")) {
                pDevice->Send("AER\r");
            } else {
                QByteArray buffer("ARCACK\r");
                pDevice->Query(buffer, when == QLatin1String("closed") ? 100 : 60000, 0);
            }
            QFAIL("returned");
        } catch (const CSerialPortDeviceException& e) {
            QCOMPARE(e.GetErrorMessage(), message);
        }
        if (vanish.valid())
            vanish.get();
        if (when == QLatin1String("sending"))
            QVERIFY(pLine->monitor.isEmpty());  // nothing went out
        if (when == QLatin1String("waiting")) {
            QByteArray more;
            QVERIFY_THROWS_EXCEPTION(CSerialPortDeviceException, pDevice->Receive(more));
        }
        pDevice->Close();  // harmless on a lost or never opened line
    }
};

QTEST_GUILESS_MAIN(TestSerialPort)
#include "tst_serialport.moc"
