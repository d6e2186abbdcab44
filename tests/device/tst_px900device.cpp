// The PX900's commands: what goes out, how answers are read, and the texts
// of every layer when something fails. The test plays the device on the
// master side of a pseudo-terminal.

#include "PtyPeer.h"

#include "core/TextCodec.h"
#include "device/PX900Device.h"
#include "resources/StringTable.h"

#include <QTest>

#include <functional>
#include <future>

Q_DECLARE_METATYPE(std::function<void(CPX900Device&)>)

namespace {

using Command = std::function<void(CPX900Device&)>;

// Answers one command in the background; Get() gives the command as it
// arrived.
class CAnswer
{
public:
    CAnswer(CPtyPeer& peer, const QByteArray& answer)
        : m_future(std::async(std::launch::async, [&peer, answer] {
              const QByteArray command = peer.ReadCommand();
              peer.Write(answer);
              return command;
          }))
    {
    }
    QByteArray Get() { return m_future.get(); }

private:
    std::future<QByteArray> m_future;
};

} // namespace

class TestPX900Device : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void resultCount_data();
    void resultCount();
    void result_data();
    void result();
    void version_data();
    void version();
    void identity_data();
    void identity();
    void timeoutTexts_data();
    void timeoutTexts();

private:
    std::unique_ptr<CPtyPeer> m_pPeer;
    std::unique_ptr<CPX900Device> m_pDevice;
};

void TestPX900Device::init()
{
    m_pPeer = std::make_unique<CPtyPeer>();
    QVERIFY(m_pPeer->IsValid());
    m_pDevice = std::make_unique<CPX900Device>();
    m_pDevice->Open(m_pPeer->Path(), 9600, 'N', 8, 2);
    m_pDevice->SetTimeout(2000);
}

void TestPX900Device::cleanup()
{
    m_pDevice.reset();
    m_pPeer.reset();
}

void TestPX900Device::resultCount_data()
{
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<int>("count");
    QTest::newRow("7") << QByteArray("7\rARCACK\r") << 7;
    QTest::newRow("no count line") << QByteArray("ARCACK\r") << 0;
    QTest::newRow("leading blanks") << QByteArray("  12\rARCACK\r") << 12;
    QTest::newRow("digits then text") << QByteArray("25 results\rARCACK\r") << 25;
    QTest::newRow("text") << QByteArray("many\rARCACK\r") << 0;
}

void TestPX900Device::resultCount()
{
    QFETCH(QByteArray, answer);
    QFETCH(int, count);
    CAnswer device(*m_pPeer, answer);
    QCOMPARE(m_pDevice->GetResultCount(), count);
    QCOMPARE(device.Get(), QByteArray("ARC\r"));
}

void TestPX900Device::result_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<QStringList>("lines");  // after an "earlier" line: they are appended
    QTest::newRow("first") << 0 << QByteArray("AGR1\r") << QByteArray("RID;1\rID;HA-1001\rAGRACK\r")
                           << QStringList {QStringLiteral("RID;1"), QStringLiteral("ID;HA-1001"), QStringLiteral("AGRACK"), QString()};
    QTest::newRow("tenth") << 9 << QByteArray("AGR10\r") << QByteArray("AGRACK\r")
                           << QStringList {QStringLiteral("AGRACK"), QString()};
    QTest::newRow("windows-1252") << 2 << QByteArray("AGR3\r") << QByteArray("ID;Z\xe4hler S\xfc" "d\rRem;\x80 \x84x\x93\rAGRACK\r")
                                  << QStringList {QString::fromUtf8("ID;Zähler Süd"), QString::fromUtf8("Rem;€ „x“"), QStringLiteral("AGRACK"), QString()};
    // An empty line inside the record stays an entry of its own.
    QTest::newRow("empty line") << 0 << QByteArray("AGR1\r") << QByteArray("A;1\r\rAGRACK\r")
                                << QStringList {QStringLiteral("A;1"), QString(), QStringLiteral("AGRACK"), QString()};
}

void TestPX900Device::result()
{
    QFETCH(int, index);
    QFETCH(QByteArray, command);
    QFETCH(QByteArray, answer);
    QFETCH(QStringList, lines);
    CAnswer device(*m_pPeer, answer);
    QStringList got {QStringLiteral("earlier")};
    m_pDevice->GetResult(index, got);
    QCOMPARE(device.Get(), command);
    QCOMPARE(got, QStringList {QStringLiteral("earlier")} + lines);
}

void TestPX900Device::version_data()
{
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<QString>("version");
    QTest::newRow("V2.05") << QByteArray("V2.05\rAAVACK\r") << QStringLiteral("2.05");
    QTest::newRow("no version line") << QByteArray("AAVACK\r") << QStringLiteral("ACK");
    QTest::newRow("no V") << QByteArray("5.12\rAAVACK\r") << QStringLiteral("5.12");
    QTest::newRow("text before V") << QByteArray("PX900 V5.12\rAAVACK\r") << QStringLiteral("5.12");
}

void TestPX900Device::version()
{
    QFETCH(QByteArray, answer);
    QFETCH(QString, version);
    CAnswer device(*m_pPeer, answer);
    QCOMPARE(m_pDevice->GetVersion(), version);
    QCOMPARE(device.Get(), QByteArray("AAV\r"));
}

void TestPX900Device::identity_data()
{
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("serial");
    const QString unchanged = QStringLiteral("unchanged");
    QTest::newRow("both") << QByteArray("Controller;PX900 V5.12\rMessmodul;Seriennummer;123456\rAAWACK\r")
                          << true << QStringLiteral("PX900 ") << QStringLiteral("123456");
    QTest::newRow("serial first, blanks") << QByteArray("Messmodul;Seriennummer; 0815 \rController;PX900E V2.05\rAAWACK\r")
                                          << true << QStringLiteral("PX900E ") << QStringLiteral("0815");
    QTest::newRow("controller without V") << QByteArray("Controller;Messger\xe4t\rMessmodul;Seriennummer;77\rAAWACK\r")
                                          << true << QStringLiteral("PX900") << QStringLiteral("77");
    QTest::newRow("no serial key") << QByteArray("Controller;PX900 V5.12\rAAWACK\r")
                                   << false << unchanged << unchanged;
    QTest::newRow("empty serial") << QByteArray("Messmodul;Seriennummer;\rController;PX900 V5.12\rAAWACK\r")
                                  << true << QStringLiteral("PX900 ") << unchanged;
    QTest::newRow("no controller key") << QByteArray("Messmodul;Seriennummer;42\rAAWACK\r")
                                       << false << unchanged << QStringLiteral("42");
}

void TestPX900Device::identity()
{
    QFETCH(QByteArray, answer);
    QFETCH(bool, found);
    QFETCH(QString, type);
    QFETCH(QString, serial);
    CAnswer device(*m_pPeer, answer);
    QString strType = QStringLiteral("unchanged");
    QString strSerial = QStringLiteral("unchanged");
    QCOMPARE(m_pDevice->GetIdentity(strType, strSerial), found);
    QCOMPARE(device.Get(), QByteArray("AAW\r"));
    QCOMPARE(strType, type);
    QCOMPARE(strSerial, serial);
}

void TestPX900Device::timeoutTexts_data()
{
    QTest::addColumn<Command>("command");
    QTest::addColumn<unsigned>("prefix");
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<QString>("shown");
    const Command count = [](CPX900Device& d) { d.GetResultCount(); };
    const Command result = [](CPX900Device& d) { QStringList lines; d.GetResult(0, lines); };
    const Command erase = [](CPX900Device& d) { d.DeleteResults(); };
    const Command version = [](CPX900Device& d) { d.GetVersion(); };
    const Command identity = [](CPX900Device& d) { QString a, b; d.GetIdentity(a, b); };
    QTest::newRow("count, silent") << count << unsigned(IDS_PX900_GET_COUNT) << QByteArray() << QString();
    const QByteArray longRecord = QByteArray("ID;Z\xe4hler\r") + QByteArray("AV0;230.10\r").repeated(6);
    QTest::newRow("result, long answer without ack") << result << unsigned(IDS_PX900_GET_RESULT) << longRecord
                                                     << EscapeControls(QString::fromLatin1(longRecord.left(50))) + QStringLiteral("...");
    QTest::newRow("delete, wrong ack") << erase << unsigned(IDS_PX900_DELETE) << QByteArray("ARCACK\r") << QStringLiteral("ARCACK\\x0d");
    QTest::newRow("version") << version << unsigned(IDS_PX900_VERSION) << QByteArray("V2.05\r") << QStringLiteral("V2.05\\x0d");
    QTest::newRow("identity") << identity << unsigned(IDS_PX900_VERSION) << QByteArray() << QString();
}

void TestPX900Device::timeoutTexts()
{
    QFETCH(Command, command);
    QFETCH(unsigned, prefix);
    QFETCH(QByteArray, answer);
    QFETCH(QString, shown);

    m_pDevice->SetTimeout(300);
    CAnswer device(*m_pPeer, answer);
    try {
        command(*m_pDevice);
        QFAIL("the command returned");
    } catch (const CPX900DeviceException& e) {
        QCOMPARE(e.GetErrorMessage(), LoadString(prefix) + LoadString(IDS_PX900_ERROR) + LoadString(IDS_DEVICE_TIMEOUT).arg(shown));
    }
    device.Get();

    // The device lock was given back: the next command works.
    CAnswer next(*m_pPeer, "3\rARCACK\r");
    QCOMPARE(m_pDevice->GetResultCount(), 3);
    QCOMPARE(next.Get(), QByteArray("ARC\r"));
}

QTEST_GUILESS_MAIN(TestPX900Device)
#include "tst_px900device.moc"
