// The main file: groups and locations through CXMLNodeMain/CXMLNodeGroup,
// the queries the location commands use, and CQardaDoc's reporting.

#include "XmlTestUtil.h"

#include "core/Messages.h"
#include "xml/QardaDoc.h"
#include "xml/XMLNodeResult.h"
#include "xml/XMLNodeMain.h"

#include <QSignalSpy>

using namespace XmlTest;

namespace {

const QByteArray kMain(
    "<Main-Data>\n"
    "<Group Name=\"Nord\">\n"
    "<Main><General><ID>G1</ID><State>OK</State></General><Customer><Name>Kunde 1</Name></Customer></Main>\n"
    "<Main><General><ID>G2</ID></General></Main>\n"
    "</Group>\n"
    "<Group Name=\"Süd\">\n"
    "</Group>\n"
    "<Main><General><ID>R1</ID><Remark>one</Remark></General><Meter><Manuf-No>123</Manuf-No></Meter></Main>\n"
    "<Main><General><ID></ID></General><Customer><Firstname>Leer</Firstname></Customer></Main>\n"
    "<Main><General><ID>DUP</ID></General><Net><Operator>first</Operator></Net></Main>\n"
    "<Main><General><ID>DUP</ID></General><Net><Operator>second</Operator></Net></Main>\n"
    "</Main-Data>\n");

} // namespace

class TestMainData : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        UseTemporarySettings(m_dir);
    }

    void emptyFile()
    {
        CXMLDocument doc;
        const QString strPath = Fresh(doc, "<Main-Data>\n</Main-Data>");
        CXMLNodeMain main(&doc);
        main.Open(QStringLiteral(".//Main"));
        QCOMPARE(main.GetRecordCount(), 0);
        QVERIFY(main.IsEOF());

        main.AddNew();
        main.m_General.m_strID = QStringLiteral("L1");
        main.m_Customer.m_strName = QStringLiteral("Müller & Söhne");
        main.m_Location.m_strCity = QStringLiteral("Köln");
        main.Update();
        QCOMPARE(
            ReadBytes(strPath),
            QByteArray(
                "<?xml version=\"1.0\"?>\r\n<Main-Data>\r\n<Main>\r\n<General>\r\n<ID>L1</ID>\r\n<State />\r\n"
                "<Remark />\r\n</General>\r\n<Customer>\r\n<Firstname />\r\n"
                "<Name>M\xc3\xbcller &amp; S\xc3\xb6hne</Name>\r\n<Street />\r\n<Postcode />\r\n<City />\r\n"
                "<Country />\r\n<No />\r\n<Remark />\r\n</Customer>\r\n"
                "<Location>\r\n<Firstname />\r\n<Name />\r\n<Street />\r\n<Postcode />\r\n<City>K\xc3\xb6ln</City>\r\n"
                "<Country />\r\n<No />\r\n<Remark />\r\n</Location>\r\n<Net>\r\n<Operator />\r\n<Supplier />\r\n"
                "<Remark />\r\n</Net>\r\n<Meter>\r\n<Manufacturer />\r\n<Manuf-No />\r\n<Custom-No />\r\n"
                "<Remark />\r\n</Meter>\r\n</Main>\r\n</Main-Data>\r\n"));
    }

    void queries_data()
    {
        QTest::addColumn<QString>("query");
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("expected");  // General/ID of each hit ("-" when empty), or Name of each Group
        const QString strMain = QStringLiteral(".//Main[General/ID = $id]");
        const QString strGroup = QStringLiteral("Group[Main/General/ID = $id]");
        QTest::newRow(".//Main in a group") << strMain << QStringLiteral("G2") << QStringLiteral("G2");
        QTest::newRow(".//Main at root") << strMain << QStringLiteral("R1") << QStringLiteral("R1");
        QTest::newRow(".//Main twice") << strMain << QStringLiteral("DUP") << QStringLiteral("DUP DUP");
        QTest::newRow(".//Main unknown") << strMain << QStringLiteral("X") << QString();
        QTest::newRow("empty ID") << strMain << QString() << QStringLiteral("-");
        QTest::newRow("all locations") << QStringLiteral(".//Main") << QString()
                                       << QStringLiteral("G1 G2 R1 - DUP DUP");
        QTest::newRow("no group") << QStringLiteral("Main[not(Group/Main)]") << QString()
                                  << QStringLiteral("R1 - DUP DUP");
        QTest::newRow("group of location") << strGroup << QStringLiteral("G1") << QStringLiteral("group:Nord");
        QTest::newRow("group of loose location") << strGroup << QStringLiteral("R1") << QString();
        QTest::newRow("group by name") << QStringLiteral("Group[@Name = $id]") << QStringLiteral("Süd")
                                       << QStringLiteral("group:Süd");
        QTest::newRow("group name is case-sensitive")
            << QStringLiteral("Group[@Name = $id]") << QStringLiteral("nord") << QString();
    }
    void queries()
    {
        QFETCH(QString, query);
        QFETCH(QString, id);
        QFETCH(QString, expected);
        CXMLDocument doc;
        Fresh(doc, kMain);
        const CXMLVars vars = query.contains(u'$') ? CXMLVars{{QStringLiteral("id"), id}} : CXMLVars{};
        QStringList hits;
        if (query.startsWith(QStringLiteral("Group"))) {
            CXMLNodeGroup g(&doc);
            for (g.Open(query, nullptr, vars); !g.IsEOF(); g.MoveNext())
                hits << QStringLiteral("group:") + g.m_strName;
        } else {
            CXMLNodeMain m(&doc);
            for (m.Open(query, nullptr, vars); !m.IsEOF(); m.MoveNext())
                hits << (m.m_General.m_strID.isEmpty() ? QStringLiteral("-") : m.m_General.m_strID);
        }
        QCOMPARE(hits.join(u' '), expected);
    }

    void readAndEditLocation()
    {
        CXMLDocument doc;
        const QString strPath = Fresh(doc, kMain);
        CXMLNodeMain m(&doc);
        QVERIFY(
            m.FindFirst(QStringLiteral(".//Main[General/ID = $id]"), {{QStringLiteral("id"), QStringLiteral("G1")}}));
        QCOMPARE(m.m_General.m_strState, QStringLiteral("OK"));
        QCOMPARE(m.m_Customer.m_strName, QStringLiteral("Kunde 1"));
        QCOMPARE(m.m_Location.m_strName, QString());  // the same name in another block
        QCOMPARE(m.m_Meter.m_strManufNo, QString());

        m.Edit();
        m.m_General.m_strID = QStringLiteral("G1-neu");
        m.m_Location.m_strName = QStringLiteral("Standort");
        m.m_Meter.m_strManufNo = QStringLiteral("4711");
        m.Update();

        CXMLDocument reread;
        reread.Open(strPath);
        CXMLNodeMain c(&reread);
        QVERIFY(c.FindFirst(QStringLiteral("Group[@Name = 'Nord']/Main[General/ID = $id]"),
                            {{QStringLiteral("id"), QStringLiteral("G1-neu")}}));
        QCOMPARE(c.m_Customer.m_strName, QStringLiteral("Kunde 1"));
        QCOMPARE(c.m_Location.m_strName, QStringLiteral("Standort"));
        QCOMPARE(c.m_Meter.m_strManufNo, QStringLiteral("4711"));
        QCOMPARE(c.m_General.m_strState, QStringLiteral("OK"));
        // Still one Customer and one Location block.
        CXMLNode blocks(&reread);
        blocks.Open(QStringLiteral(".//Main[General/ID = 'G1-neu']/*"));
        QCOMPARE(blocks.GetRecordCount(), 5);
    }

    // Each file that does not load is reported on its own. Another program (a
    // scheduled readout, say) writes the result file: the window's document
    // reloads it, but not while its own readout works on it.
    void qardaDoc()
    {
        CRecordingSink sink;
        const QString strMain = m_dir.filePath(QStringLiteral("doc-main.xml"));
        const QString strResult = m_dir.filePath(QStringLiteral("doc-result.xml"));
        const QString strMissing = m_dir.filePath(QStringLiteral("missing/Main.xml"));
        QVERIFY(WriteBytes(strMain, "<Main-Data>\n</Main-Data>"));
        QVERIFY(WriteBytes(strResult, "<Result-Data>\n</Result-Data>"));
        CQardaDoc qdoc(strMissing, strResult);
        QVERIFY(!qdoc.m_xmlMain.IsValid());
        QVERIFY(qdoc.m_xmlResult.IsValid());
        QCOMPARE(sink.m_shown.size(), 1);
        QCOMPARE(sink.m_shown.at(0).first, QStringLiteral("XML Datei konnte nicht gefunden werden: ") + strMissing);

        QSignalSpy spy(&qdoc, &CQardaDoc::FilesOpened);
        auto countIn = [](CXMLDocument& doc) {
            CXMLNodeResult r(&doc);
            r.Open(QStringLiteral("Result"));
            return r.GetRecordCount();
        };
        auto addOutside = [&](const QString& strID) {
            CXMLDocument other;
            other.Open(strResult);
            CXMLNodeResult r(&other);
            r.Open(QString());
            r.AddNew();
            r.m_strID = strID;
            r.Update();
        };
        qdoc.PauseWatching(true);
        addOutside(QStringLiteral("one"));
        QVERIFY(!spy.wait(500));
        QCOMPARE(countIn(qdoc.m_xmlResult), 0);
        qdoc.PauseWatching(false);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(countIn(qdoc.m_xmlResult), 1);
        addOutside(QStringLiteral("two"));
        QVERIFY(spy.wait(5000));
        QCOMPARE(countIn(qdoc.m_xmlResult), 2);

        qdoc.OpenFiles(strMain, strMissing);
        QVERIFY(qdoc.m_xmlMain.IsValid());
        QVERIFY(!qdoc.m_xmlResult.IsValid());
        QCOMPARE(sink.m_shown.size(), 2);
        QCOMPARE(spy.count(), 3);
    }
};

QTEST_GUILESS_MAIN(TestMainData)
#include "tst_maindata.moc"
