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

// A command and what it gave, as a text.
using Command = std::function<QString(CPX900Device&)>;
Q_DECLARE_METATYPE(Command)

namespace {

const Command kCount = [](CPX900Device& d) { return QString::number(d.GetResultCount()); };
const Command kVersion = [](CPX900Device& d) { return d.GetVersion(); };
const Command kDelete = [](CPX900Device& d) {
    d.DeleteResults();
    return QString();
};
// Whether found, type and serial number, each left as it was when not found.
const Command kIdentity = [](CPX900Device& d) {
    QString strType = QStringLiteral("unchanged"), strSerial = strType;
    const bool bFound = d.GetIdentity(strType, strSerial);
    return (bFound ? QStringLiteral("found|") : QStringLiteral("none|")) + strType + u'|' + strSerial;
};
// The lines of a record, appended to an earlier one.
Command Result(int nIndex)
{
    return [nIndex](CPX900Device& d) {
        QStringList lines{QStringLiteral("earlier")};
        d.GetResult(nIndex, lines);
        return lines.join(u'|');
    };
}

// The command with a short time-out, for an answer that never ends.
Command Impatient(const Command& command)
{
    return [command](CPX900Device& d) {
        d.SetTimeout(300);
        return command(d);
    };
}

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

private:
    std::unique_ptr<CPtyPeer> m_pPeer;
    std::unique_ptr<CPX900Device> m_pDevice;

private slots:
    // A fresh line for every row; the device goes before the peer it talks to.
    void init()
    {
        m_pDevice.reset();
        m_pPeer = std::make_unique<CPtyPeer>();
        QVERIFY(m_pPeer->IsValid());
        m_pDevice = std::make_unique<CPX900Device>();
        m_pDevice->Open(m_pPeer->Path(), 9600, 'N', 8, 2);
        m_pDevice->SetTimeout(2000);
    }

    void answers_data()
    {
        QTest::addColumn<Command>("command");
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<QByteArray>("sent");
        QTest::addColumn<QString>("result");  // or the message of the failure
        auto row = [](const char* pszName, const Command& command, const QByteArray& answer, const char* pszSent,
                      const char* pszResult) {
            QTest::newRow(pszName) << command << answer << QByteArray(pszSent) << QString::fromUtf8(pszResult);
        };
        // No acknowledgement in time: the texts of every layer, with what came
        // (50 characters at most) written out.
        auto timeout = [](const char* pszName, const Command& command, const QByteArray& answer, const char* pszSent,
                          unsigned nPrefix, const QString& strShown) {
            QTest::newRow(pszName) << Impatient(command) << answer << QByteArray(pszSent)
                                   << LoadString(nPrefix) + LoadString(IDS_PX900_ERROR)
                                          + LoadString(IDS_DEVICE_TIMEOUT).arg(strShown);
        };
        row("count 7", kCount, "7\rARCACK\r", "ARC\r", "7");
        row("no count line", kCount, "ARCACK\r", "ARC\r", "0");
        row("count with leading blanks", kCount, "  12\rARCACK\r", "ARC\r", "12");
        row("count digits then text", kCount, "25 results\rARCACK\r", "ARC\r", "25");
        row("count text", kCount, "many\rARCACK\r", "ARC\r", "0");
        row("first record", Result(0), "RID;1\rID;HA-1001\rAGRACK\r", "AGR1\r", "earlier|RID;1|ID;HA-1001|AGRACK|");
        row("tenth record", Result(9), "AGRACK\r", "AGR10\r", "earlier|AGRACK|");
        row("record in windows-1252", Result(2), "ID;Z\xe4hler N\xfcrnberg\rRem;\x80 \x84x\x93\rAGRACK\r", "AGR3\r",
            "earlier|ID;Zähler Nürnberg|Rem;€ „x“|AGRACK|");
        // An empty line inside the record stays an entry of its own.
        row("record with an empty line", Result(0), "A;1\r\rAGRACK\r", "AGR1\r", "earlier|A;1||AGRACK|");
        row("version V2.05", kVersion, "V2.05\rAAVACK\r", "AAV\r", "2.05");
        row("no version line", kVersion, "AAVACK\r", "AAV\r", "ACK");
        row("version without V", kVersion, "5.12\rAAVACK\r", "AAV\r", "5.12");
        row("text before V", kVersion, "PX900 V5.12\rAAVACK\r", "AAV\r", "5.12");
        row("identity", kIdentity, "Controller;PX900 V5.12\rMessmodul;Seriennummer;123456\rAAWACK\r", "AAW\r",
            "found|PX900 |123456");
        row("identity serial first, blanks", kIdentity,
            "Messmodul;Seriennummer; 0815 \rController;PX900E V2.05\rAAWACK\r", "AAW\r", "found|PX900E |0815");
        row("controller without V", kIdentity, "Controller;Messger\xe4t\rMessmodul;Seriennummer;77\rAAWACK\r", "AAW\r",
            "found|PX900|77");
        row("no serial key", kIdentity, "Controller;PX900 V5.12\rAAWACK\r", "AAW\r", "none|unchanged|unchanged");
        row("empty serial", kIdentity, "Messmodul;Seriennummer;\rController;PX900 V5.12\rAAWACK\r", "AAW\r",
            "found|PX900 |unchanged");
        row("no controller key", kIdentity, "Messmodul;Seriennummer;42\rAAWACK\r", "AAW\r", "none|unchanged|42");
        timeout("count, silent", kCount, QByteArray(), "ARC\r", IDS_PX900_GET_COUNT, QString());
        const QByteArray fifty = QByteArray("0123456789").repeated(5);
        timeout("count, 50 characters", kCount, fifty, "ARC\r", IDS_PX900_GET_COUNT, QString::fromLatin1(fifty));
        // Near miss: the acknowledgement without its carriage return.
        timeout("count, ack cut short", kCount, "7\rARCACK", "ARC\r", IDS_PX900_GET_COUNT,
                QStringLiteral("7\\x0dARCACK"));
        const QByteArray longRecord = QByteArray("ID;Z\xe4hler\r") + QByteArray("AV0;230.10\r").repeated(6);
        timeout("result, long answer without ack", Result(0), longRecord, "AGR1\r", IDS_PX900_GET_RESULT,
                EscapeControls(QString::fromLatin1(longRecord.left(50))) + QStringLiteral("..."));
        timeout("delete, wrong ack", kDelete, "ARCACK\r", "AER\r", IDS_PX900_DELETE, QStringLiteral("ARCACK\\x0d"));
        timeout("version without ack", kVersion, "V2.05\r", "AAV\r", IDS_PX900_VERSION, QStringLiteral("V2.05\\x0d"));
        timeout("identity, silent", kIdentity, QByteArray(), "AAW\r", IDS_PX900_VERSION, QString());
    }
    void answers()
    {
        QFETCH(Command, command);
        QFETCH(QByteArray, answer);
        QFETCH(QByteArray, sent);
        QFETCH(QString, result);
        CAnswer device(*m_pPeer, answer);
        QString strResult;
        try {
            strResult = command(*m_pDevice);
        } catch (const CPX900DeviceException& e) {
            strResult = e.GetErrorMessage();
        }
        QCOMPARE(strResult, result);
        QCOMPARE(device.Get(), sent);

        // The device lock was given back: the next command works.
        CAnswer next(*m_pPeer, "3\rARCACK\r");
        QCOMPARE(m_pDevice->GetResultCount(), 3);
        QCOMPARE(next.Get(), QByteArray("ARC\r"));
    }
};

QTEST_GUILESS_MAIN(TestPX900Device)
#include "tst_px900device.moc"
