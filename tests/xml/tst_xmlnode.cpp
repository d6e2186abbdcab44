// CXMLNode: moves, edit modes, Delete, MoveFrom, bound query values, and
// cursors whose elements went away under them.

#include "XmlTestUtil.h"

#include "resources/StringTable.h"
#include "xml/XMLNodeResult.h"

using namespace XmlTest;

namespace {

const QByteArray kThree("<?xml version=\"1.0\"?>\r\n<Result-Data>\r\n"
                        "<Result>\r\n<ID>A</ID>\r\n<Date>01.02.2024</Date>\r\n<Time>10:00:00</Time>\r\n</Result>\r\n"
                        "<Result>\r\n<ID>B</ID>\r\n<Date>01.02.2024</Date>\r\n<Time>11:00:00</Time>\r\n</Result>\r\n"
                        "<Result>\r\n<ID>C</ID>\r\n<Date>02.02.2024</Date>\r\n<Time>12:00:00</Time>\r\n</Result>\r\n"
                        "</Result-Data>\r\n");

QStringList Ids(CXMLDocument& doc)
{
    QStringList ids;
    CXMLNodeResult r(&doc);
    for (r.Open(QStringLiteral("Result")); !r.IsEOF(); r.MoveNext())
        ids << r.m_strID;
    return ids;
}

} // namespace

class TestXMLNode : public QObject
{
    Q_OBJECT

private slots:
    // What a cursor reads at a position, where moves take it from there, and what
    // a Delete there leaves in memory and on disk.
    void positions_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("id");        // empty: end of list
        QTest::addColumn<QString>("next");      // after MoveNext
        QTest::addColumn<QStringList>("left");  // after a Delete there
        QTest::addColumn<QString>("afterDelete");
        QTest::newRow("before start") << -1 << QString() << QString() << Split("A B C") << QString();
        QTest::newRow("first") << 0 << QStringLiteral("A") << QStringLiteral("B") << Split("B C")
                               << QStringLiteral("B");
        QTest::newRow("middle") << 1 << QStringLiteral("B") << QStringLiteral("C") << Split("A C")
                                << QStringLiteral("C");
        QTest::newRow("last") << 2 << QStringLiteral("C") << QString() << Split("A B") << QString();
        QTest::newRow("end of list") << 3 << QString() << QString() << Split("A B C") << QString();
        QTest::newRow("beyond") << 40 << QString() << QString() << Split("A B C") << QString();
    }
    void positions()
    {
        QFETCH(int, index);
        QFETCH(QString, id);
        QFETCH(QString, next);
        QFETCH(QStringList, left);
        QFETCH(QString, afterDelete);
        CXMLDocument doc;
        const QString strPath = Fresh(doc, kThree);
        CXMLNodeResult r(&doc);
        r.Open(QStringLiteral("Result"));
        QCOMPARE(r.GetRecordCount(), 3);
        QCOMPARE(r.m_strID, QStringLiteral("A"));
        r.SetAbsolutePosition(index);
        QCOMPARE(r.IsEOF(), id.isEmpty());
        QCOMPARE(r.GetCurrentElement().empty(), id.isEmpty());
        // Members of the element left behind are not kept at end of list.
        QCOMPARE(r.m_strID, id.isEmpty() ? QStringLiteral("A") : id);
        QCOMPARE(r.GetValue(QStringLiteral("ID")), id);
        // One step on; from the end of list, in either direction, nowhere.
        r.MoveNext();
        QCOMPARE(r.IsEOF(), next.isEmpty());
        QCOMPARE(r.GetValue(QStringLiteral("ID")), next);
        r.MoveLast();
        QCOMPARE(r.m_strID, QStringLiteral("C"));
        r.MoveFirst();
        QCOMPARE(r.m_strID, QStringLiteral("A"));

        r.SetAbsolutePosition(index);
        const QByteArray before = ReadBytes(strPath);
        r.Delete();
        QCOMPARE(Ids(doc), left);
        QCOMPARE(r.GetRecordCount(), int(left.size()));
        QCOMPARE(r.IsEOF(), afterDelete.isEmpty());
        if (!afterDelete.isEmpty())
            QCOMPARE(r.m_strID, afterDelete);
        if (left.size() == 3) {
            QCOMPARE(ReadBytes(strPath), before);
        } else {
            CXMLDocument reread;
            reread.Open(strPath);
            QCOMPARE(Ids(reread), left);
        }
    }

    void updateWithoutAddNewOrEdit_data()
    {
        QTest::addColumn<int>("way");
        QTest::newRow("plain Update") << 0;
        QTest::newRow("Update after a move") << 1;
        QTest::newRow("second Update after Edit") << 2;
        QTest::newRow("Edit at end of list") << 3;
    }
    void updateWithoutAddNewOrEdit()
    {
        QFETCH(int, way);
        CXMLDocument doc;
        const QString strPath = Fresh(doc, QByteArray(kThree).replace("\r\n", "\n"));
        const QByteArray before = ReadBytes(strPath);
        CXMLNodeResult r(&doc);
        r.Open(QStringLiteral("Result"));
        QByteArray expected = before;
        switch (way) {
        case 0:
            break;
        case 1:
            r.MoveNext();
            break;
        case 2:
            r.Edit();
            r.Update();  // this one writes
            expected = ReadBytes(strPath);
            QVERIFY(expected != before);
            break;
        case 3:
            r.SetAbsolutePosition(3);
            r.Edit();
            break;
        }
        r.m_strRemark = QStringLiteral("written?");
        r.Update();
        QCOMPARE(ReadBytes(strPath), expected);
        CXMLNode written(&doc);
        QVERIFY(!written.FindFirst(QStringLiteral("Result[Remark = 'written?']")));
    }

    // A new element is current even where the cursor's query does not select it,
    // and only it takes the fields. A value bound into a query is taken as text,
    // whatever quotes or markup it holds.
    void addNewAndFind_data()
    {
        QTest::addColumn<QString>("id");
        QTest::newRow("plain") << QStringLiteral("Z");
        QTest::newRow("double quote") << QStringLiteral("A\"1");
        QTest::newRow("both quotes") << QStringLiteral("a'b\"c");
        QTest::newRow("injection") << QStringLiteral("x] | //*[");
        QTest::newRow("injection with quotes") << QStringLiteral("\" or \"\"=\"");
        QTest::newRow("dollar and ampersand") << QStringLiteral("$id &amp; <b>");
    }
    void addNewAndFind()
    {
        QFETCH(QString, id);
        CXMLDocument doc;
        const QString strPath = Fresh(doc, kThree);
        CXMLNodeResult r(&doc);
        r.Open(QStringLiteral("Result[ID = $id]"), nullptr, {{QStringLiteral("id"), QStringLiteral("A")}});
        QCOMPARE(r.GetRecordCount(), 1);
        r.AddNew();
        QVERIFY(!r.IsEOF());
        QCOMPARE(r.m_strID, QString());  // a fresh element, nothing loaded
        r.m_strID = id;
        r.m_strDate = QStringLiteral("03.03.2024");
        r.Update();
        CXMLDocument reread;
        reread.Open(strPath);
        QCOMPARE(Ids(reread), Split("A B C") << id);
        CXMLNodeResult found(&reread);
        QVERIFY(found.FindFirst(QStringLiteral("Result[ID = 'A']")));
        QCOMPARE(found.m_strDate, QStringLiteral("01.02.2024"));

        QVERIFY(found.FindFirst(QStringLiteral("Result[ID = $id]"), {{QStringLiteral("id"), id}}));
        QCOMPARE(found.GetRecordCount(), 1);
        QCOMPARE(found.m_strID, id);
        QCOMPARE(found.m_strDate, QStringLiteral("03.03.2024"));
        // The other elements are not reached through the value.
        QVERIFY(!found.FindFirst(QStringLiteral("Result[ID = $id]"), {{QStringLiteral("id"), id + u'x'}}));
        QCOMPARE(found.GetRecordCount(), 0);
        QVERIFY(found.FindFirst(QStringLiteral("Result[ID = $id and Date = $d]"),
                                {{QStringLiteral("id"), id}, {QStringLiteral("d"), QStringLiteral("03.03.2024")}}));
        QCOMPARE(found.GetRecordCount(), 1);

        // An AddNew whose Update never comes leaves an empty element in memory
        // only; the file keeps its last saved state.
        const QByteArray saved = ReadBytes(strPath);
        r.AddNew();
        QCOMPARE(ReadBytes(strPath), saved);
    }

    // Refused with a message, and nothing changed: queries that do not select
    // elements, and the root element's Delete (the file could never be loaded
    // again; a cursor selecting by tag name can stand on it).
    void refused()
    {
        CXMLDocument doc;
        const QString strPath = Fresh(doc, kThree);
        const QByteArray before = ReadBytes(strPath);
        CXMLNode n(&doc);
        for (const QString& q : {QStringLiteral("Result[ID = "), QStringLiteral("Result[ID = $undefined]"),
                                 QStringLiteral("count(Result)")})
            QCOMPARE(ExpectXmlException([&] { n.FindFirst(q); }).GetMessageId(), unsigned(IDS_XML_SELECT));
        QVERIFY(n.FindFirst(QStringLiteral("/Result-Data")));
        QCOMPARE(ExpectXmlException([&] { n.Delete(); }).GetMessageId(), unsigned(IDS_XML_REMOVE));
        QCOMPARE(ReadBytes(strPath), before);
        QCOMPARE(Ids(doc).size(), 3);
    }

    // MoveFrom within a document, into the element's own subtree (refused), and
    // into another document: the copy is saved before the original goes, so when
    // the target cannot be written the source keeps its element.
    void moveFrom()
    {
        CXMLDocument doc;
        const QString strPath =
            Fresh(doc, "<Main-Data><Group Name=\"G\"><Main><General><ID>1</ID></General></Main></Group>"
                       "<Main><General><ID>2</ID></General></Main></Main-Data>");
        CXMLNode loose(&doc);
        QVERIFY(loose.FindFirst(QStringLiteral("Main[General/ID = '2']")));
        CXMLNode group(&doc);
        QVERIFY(group.FindFirst(QStringLiteral("Group[@Name = 'G']")));
        CXMLNode inGroup(&doc);
        inGroup.Open(QStringLiteral("Main"), &group);
        QCOMPARE(inGroup.GetRecordCount(), 1);
        inGroup.MoveFrom(loose, true);
        QCOMPARE(inGroup.GetRecordCount(), 2);
        QCOMPARE(inGroup.GetValue(QStringLiteral("ID")), QStringLiteral("2"));
        QVERIFY(loose.IsEOF());

        CXMLDocument reread;
        reread.Open(strPath);
        CXMLNode check(&reread);
        check.Open(QStringLiteral(".//Main"));
        QCOMPARE(check.GetRecordCount(), 2);
        QVERIFY(check.FindFirst(QStringLiteral("Group/Main[General/ID = '2']")));
        QVERIFY(!check.FindFirst(QStringLiteral("Main")));

        // Into its own subtree: refused, nothing lost.
        CXMLNode self(&doc);
        QVERIFY(self.FindFirst(QStringLiteral("Group")));
        CXMLNode child(&doc);
        QVERIFY(child.FindFirst(QStringLiteral("Group/Main")));
        QCOMPARE(ExpectXmlException([&] { child.MoveFrom(self, false); }).GetMessageId(),
                 unsigned(IDS_XML_APPEND_NODE));
        CXMLNode all(&doc);
        all.Open(QStringLiteral(".//Main"));
        QCOMPARE(all.GetRecordCount(), 2);

        // Into another document whose file cannot be replaced.
        CXMLDocument from, to;
        const QString strFrom = Fresh(from, kThree);
        const QString strTo = Fresh(to, "<Result-Data>\n</Result-Data>");
        const QByteArray fromBefore = ReadBytes(strFrom);
        CXMLNodeResult src(&from);
        QVERIFY(src.FindFirst(QStringLiteral("Result[ID = 'C']")));
        CXMLNodeResult dst(&to);
        dst.Open(QStringLiteral("Result"));

        QVERIFY(QFile::remove(strTo));
        QVERIFY(QDir().mkdir(strTo));
        QCOMPARE(ExpectXmlException([&] { dst.MoveFrom(src, true); }).GetMessageId(), unsigned(IDS_XML_SAVE));
        QCOMPARE(ReadBytes(strFrom), fromBefore);
        QCOMPARE(Ids(from).size(), 3);
        QVERIFY(QDir().rmdir(strTo));
    }

    void removedUnderAnotherCursor()
    {
        CXMLDocument doc;
        Fresh(doc, kThree);
        CXMLNodeResult a(&doc);
        a.Open(QStringLiteral("Result"));
        a.MoveNext();  // B
        QCOMPARE(a.m_strID, QStringLiteral("B"));
        a.Edit();
        CXMLNodeResult b(&doc);
        QVERIFY(b.FindFirst(QStringLiteral("Result[ID = 'B']")));
        b.Delete();

        // The element under a is gone: a is at end of list and its pending edit
        // must not land on another element.
        QVERIFY(a.IsEOF());
        QCOMPARE(a.GetValue(QStringLiteral("ID")), QString());
        a.m_strRemark = QStringLiteral("must not appear");
        a.Update();
        QVERIFY(!a.FindFirst(QStringLiteral("Result[Remark]")));
        QCOMPARE(a.GetRecordCount(), 0);
        a.Open(QStringLiteral("Result"));
        QCOMPARE(a.GetRecordCount(), 2);

        // A cursor whose element survived keeps it.
        CXMLNodeResult c(&doc);
        c.Open(QStringLiteral("Result"));
        c.MoveLast();
        QCOMPARE(c.m_strID, QStringLiteral("C"));
        CXMLNodeResult d(&doc);
        QVERIFY(d.FindFirst(QStringLiteral("Result[ID = 'A']")));
        d.Delete();
        QVERIFY(!c.IsEOF());
        QCOMPARE(c.GetValue(QStringLiteral("ID")), QStringLiteral("C"));
        QCOMPARE(c.GetRecordCount(), 1);
        c.MoveNext();
        QVERIFY(c.IsEOF());
    }

    // A cursor opened under a parent cursor's element: when that element goes,
    // or the document is loaded again, the cursor has no context any more and
    // selects nothing (not the root's children instead).
    void lostContext_data()
    {
        QTest::addColumn<bool>("reload");
        QTest::newRow("parent element removed") << false;
        QTest::newRow("document reloaded") << true;
    }
    void lostContext()
    {
        QFETCH(bool, reload);
        CXMLDocument doc;
        const QString strPath = Fresh(
            doc, "<Main-Data><Group Name=\"G\"><Main><General><ID>1</ID></General></Main></Group>"
                 "<Main><General><ID>2</ID></General></Main><Main><General><ID>3</ID></General></Main></Main-Data>");
        CXMLNode group(&doc);
        QVERIFY(group.FindFirst(QStringLiteral("Group")));
        CXMLNode inGroup(&doc);
        inGroup.Open(QStringLiteral("Main"), &group);
        QCOMPARE(inGroup.GetRecordCount(), 1);
        if (reload) {
            CXMLNode loose(&doc, true);
            loose.Open(QStringLiteral("Main"));
            QCOMPARE(loose.GetRecordCount(), 2);
            loose.Edit();
            doc.Reload();
            // Every cursor is at end of list; the edit is dropped.
            QVERIFY(loose.IsEOF());
            QVERIFY(inGroup.IsEOF());
            const QByteArray before = ReadBytes(strPath);
            loose.Update();
            QCOMPARE(ReadBytes(strPath), before);
            QCOMPARE(loose.GetValue(QStringLiteral("ID")), QString());
            // The root-level query selects again.
            QCOMPARE(loose.GetRecordCount(), 2);
            loose.MoveFirst();
            QCOMPARE(loose.GetValue(QStringLiteral("ID")), QStringLiteral("2"));
            inGroup.MoveFirst();
        } else {
            group.Delete();
            inGroup.Requery();
        }
        QCOMPARE(inGroup.GetRecordCount(), 0);
        QVERIFY(inGroup.IsEOF());
        // No parent found: an error, and nothing is added anywhere.
        QCOMPARE(ExpectXmlException([&] { inGroup.AddNew(); }).GetMessageId(), unsigned(IDS_XML_PARENT));
        CXMLNode all(&doc);
        all.Open(QStringLiteral(".//Main"));
        QCOMPARE(all.GetRecordCount(), reload ? 3 : 2);
    }
};

QTEST_GUILESS_MAIN(TestXMLNode)
#include "tst_xmlnode.moc"
