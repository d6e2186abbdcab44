// The result file through CXMLNodeResult: which elements each kind writes,
// repeated fields and the two list kinds, identity queries.

#include "XmlTestUtil.h"

#include "../common/IndexCheck.h"
#include "../common/StoredFields.h"

#include "xml/ResultLookup.h"
#include "xml/XMLNodeResult.h"

using namespace XmlTest;

namespace {

// Names of the direct element children of the element, in document order.
QStringList ChildNames(pugi::xml_node element)
{
    QStringList names;
    for (pugi::xml_node c = element.first_child(); c; c = c.next_sibling())
        if (c.type() == pugi::node_element)
            names << QString::fromUtf8(c.name());
    return names;
}

const QByteArray kEmpty("<Result-Data>\n</Result-Data>");

const QStringList kCommon =
    Split("ID Language Device-No Device-Typ Date Time U-Range I-Range M-Mode Function Datatype "
          "U-PrimSek I-PrimSek PrimSek-Val-Cz-Reg Place-No Time-Interval AdjustData Remark PX900Adr");

QStringList ActualValueNames()
{
    QStringList names;
    const char* const bases[] = {"UPN", "UPP", "UDC", "UD", "IL", "IDC", "ID", "AU", "AI", "PHI", "Lambda", "P", "Q", "S"};
    const char* const pairs[] = {"12", "23", "31"};
    for (int n = 1; n <= 3; ++n)
        for (const char* b : bases)
            names << QLatin1String(b) + (std::strcmp(b, "UPP") == 0 ? QLatin1String(pairs[n - 1]) : QString::number(n));
    for (int k = 1; k <= 6; ++k)
        names << QStringLiteral("AUX%1").arg(k) << QStringLiteral("AAUX%1").arg(k);
    names << QStringLiteral("SP") << QStringLiteral("SQ") << QStringLiteral("SS") << QStringLiteral("RF")
          << QStringLiteral("FREQ") << QStringLiteral("SLambda") << QStringLiteral("Temperature");
    return names;
}

const QStringList kErrorBlock =
    Split("Cz M-Puls M-Inp Uprim-sek Iprim-sek Error N-Value Spread Average Deviation SSM-UB "
          "SSM-IB SSM-Fr SSM-Ph SSM-MT StartTime StopTime MTime Err-Energie Err-CtRat");

QStringList AuxChannelNames()
{
    QStringList names;
    for (int k = 1; k <= 6; ++k)
        for (const char* b : {"Aux-Value-", "Aux-Angle-", "Ref-Name-", "Ref-Value-", "Ref-Angle-", "Aux-Diff-Value-",
                              "Aux-Diff-Angle-"})
            names << QLatin1String(b) + QString::number(k);
    return names;
}

// A result of ID L on 01.01.2024 with the given Time and Place-No elements.
QByteArray LResult(const char* pszTime, const char* pszPlace, const char* pszRemark)
{
    return QByteArray("<Result><ID>L</ID><Date>01.01.2024</Date>") + pszTime + pszPlace + "<Remark>" + pszRemark
           + "</Remark></Result>";
}

// Four results of one identity told apart by their place numbers (1, 2,
// empty, absent), and a second later one.
const QByteArray kPlaces = LResult("<Time>12:00:00</Time>", "<Place-No>1</Place-No>", "one")
                           + LResult("<Time>12:00:00</Time>", "<Place-No>2</Place-No>", "two")
                           + LResult("<Time>12:00:00</Time>", "<Place-No/>", "empty")
                           + LResult("<Time>12:00:00</Time>", "", "absent")
                           + LResult("<Time>12:00:01</Time>", "<Place-No>1</Place-No>", "later");

} // namespace

class TestResultData : public QObject
{
    Q_OBJECT

private slots:
    void storedElementsPerKind_data()
    {
        QTest::addColumn<QString>("function");
        QTest::addColumn<QStringList>("kindFields");

        const QStringList actual = ActualValueNames();
        QTest::newRow("Value") << QStringLiteral("Value-Measurement") << actual;
        QTest::newRow("Vector") << QStringLiteral("Vector-Measurement") << actual;
        QTest::newRow("Error") << QStringLiteral("Error-Measurement") << actual + kErrorBlock;
        QTest::newRow("AUX-Channel") << QStringLiteral("AUX-Channel") << AuxChannelNames();
        QTest::newRow("PQS")
            << QStringLiteral("PQS-Reg-Test")
            << Split("M-Time P-Energie PE-Begin PE-End PE-Error Q-Energie QE-Begin QE-End QE-Error S-Energie "
                     "SE-Begin SE-End SE-Error");
        QTest::newRow("no kind") << QStringLiteral("Something-Else") << QStringList{};
    }
    void storedElementsPerKind()
    {
        QFETCH(QString, function);
        QFETCH(QStringList, kindFields);
        CXMLDocument doc;
        Fresh(doc, kEmpty);
        CXMLNodeResult r(&doc);
        r.Open(QStringLiteral("Result"));
        r.AddNew();
        r.m_strFunction = function;
        r.Update();
        QVERIFY(!r.IsEOF());
        const QStringList names = ChildNames(r.GetCurrentElement());
        // Exactly the common fields and the kind's, each once, in exchange order.
        QCOMPARE(names, kCommon + kindFields);
    }

    // What a cursor loads of each result in turn and then of the first again:
    // the fields of the result's kind only (moving on empties those of the kind
    // before), a single field that is doubled as empty, only the fields asked
    // for. Unless restricted, the first result is stored back unchanged.
    void loading_data()
    {
        QTest::addColumn<QByteArray>("results");
        QTest::addColumn<QStringList>("fieldNames");
        QTest::addColumn<QStringList>("expected");  // "Element=text" pairs of each result, a blank between results
        auto row = [](const char* pszName, const QByteArray& results, const char* pszExpected,
                      const char* pszNames = "") {
            QTest::newRow(pszName) << results << Split(pszNames) << Split(pszExpected);
        };
        const QByteArray harm("<Result><ID>H</ID><Function>Harmonics-Measurement</Function>");
        row("no harmonics", harm + "</Result>", "Harm=0");
        row("one harmonic", harm + "<Harm>1.5;%</Harm></Result>", "Harm=1|Harm[0]=1.5;%");
        row("two harmonics apart", harm + "<Harm>a</Harm><Channel>U1</Channel><Harm>b</Harm></Result>",
            "Harm=2|Harm[0]=a|Harm[1]=b|Channel=U1");
        row("empty harmonic kept", harm + "<Harm/><Harm>b</Harm></Result>", "Harm=2|Harm[0]=|Harm[1]=b");
        row("doubled single field",
            harm + "<Remark>one</Remark><Remark>two</Remark><Channel>x</Channel><Channel>y</Channel></Result>",
            "ID=H|Remark=|Channel=");
        row("no function, then values",
            "<Result><ID>A</ID><Harm>1</Harm><UPN1>230</UPN1></Result><Result><ID>B</ID>"
            "<Function>Value-Measurement</Function><UPN1>231</UPN1><Harm>2</Harm></Result>",
            "Function=|Harm=0|UPN1= UPN1=231|Harm=0");
        row("field names restrict loading",
            "<Result><ID>A</ID><Date>d</Date><Time>t</Time><Function>Value-Measurement</Function>"
            "<UPN1>230</UPN1></Result>",
            "ID=A|Date=d|Time=|UPN1=", "ID Date");
    }
    void loading()
    {
        QFETCH(QByteArray, results);
        QFETCH(QStringList, fieldNames);
        QFETCH(QStringList, expected);
        CXMLDocument doc;
        const QString strPath = Fresh(doc, "<Result-Data>" + results + "</Result-Data>");
        CXMLNodeResult r(&doc);
        r.SetFieldNames(fieldNames);
        r.Open(QStringLiteral("Result"));
        for (qsizetype i = 0; i <= expected.size(); ++i) {
            if (i == expected.size())
                r.MoveFirst();
            else if (i > 0)
                r.MoveNext();
            const QString& strPairs = expected.at(i % expected.size());
            QCOMPARE(StoredPairs(r, strPairs, true), strPairs);
        }
        if (!fieldNames.isEmpty())
            return;
        r.Edit();
        r.Update();
        CXMLDocument reread;
        reread.Open(strPath);
        CXMLNodeResult c(&reread);
        QVERIFY(c.FindFirst(QStringLiteral("Result")));
        QCOMPARE(StoredPairs(c, expected.at(0), true), expected.at(0));
    }

    // The entries of a continuous series and of an automatic test are elements
    // of their own: read in order, stored back with one added and one changed,
    // and neither taken for the result's own fields nor written beside them.
    void listKinds()
    {
        CXMLDocument doc;
        const QString strPath = Fresh(
            doc, "<Result-Data><Result><ID>CV</ID><Function>Continue-Value-Measurement</Function>"
                 "<Value-Measurement><No>1</No><TimeStamp>10:00:01</TimeStamp><UPN1>231;V</UPN1></Value-Measurement>"
                 "<Value-Measurement><No>2</No><UPP31>402;V</UPP31></Value-Measurement></Result>"
                 "<Result><ID>AM</ID><Function>Automatic-Measurement</Function>"
                 "<Line-Common><Line>a1</Line><Line>a2</Line></Line-Common><Line-Common><Line>b1</Line></Line-Common>"
                 "<Line-Common/></Result></Result-Data>");
        // Each entry's fields with ',' between them, '|' between entries.
        auto entries = [](CXMLNodeResult& r) {
            QStringList list;
            for (const auto& p : r.m_continueValues)
                list << QStringList{p->m_strNo, p->m_strTimeStamp, p->m_values.m_strUPN[0], p->m_values.m_strUPP[2]}
                            .join(u',');
            for (const auto& p : r.m_automatic)
                list << p->m_strLine.join(u',');
            return list.join(u'|');
        };
        CXMLNodeResult r(&doc);
        r.Open(QStringLiteral("Result"));
        QCOMPARE(entries(r), QStringLiteral("1,10:00:01,231;V,|2,,,402;V"));
        QCOMPARE(r.m_values.m_strUPN[0], QString());
        r.Edit();
        auto pAdded = std::make_unique<CXMLNodeContinueValues>(&doc);
        pAdded->m_strNo = QStringLiteral("3");
        pAdded->m_values.m_strUPN[0] = QStringLiteral("233;V");
        r.m_continueValues.push_back(std::move(pAdded));
        r.Update();
        r.MoveNext();
        QCOMPARE(entries(r), QStringLiteral("a1,a2|b1|"));
        r.Edit();
        r.m_automatic[2]->m_strLine.append(QStringLiteral("c1"));
        r.Update();

        CXMLDocument reread;
        reread.Open(strPath);
        CXMLNodeResult c(&reread);
        c.Open(QStringLiteral("Result"));
        QCOMPARE(entries(c), QStringLiteral("1,10:00:01,231;V,|2,,,402;V|3,,233;V,"));
        c.MoveNext();
        QCOMPARE(entries(c), QStringLiteral("a1,a2|b1|c1"));
        CXMLNode loose(&reread);
        loose.Open(QStringLiteral("Result/UPN1"));
        QCOMPARE(loose.GetRecordCount(), 0);
    }

    void placeNoQueries_data()
    {
        QTest::addColumn<QString>("placeNo");
        QTest::addColumn<QString>("time");
        QTest::addColumn<QString>("expectedRemark");
        const QString strTime = QStringLiteral("12:00:00");
        QTest::newRow("place 1") << QStringLiteral("1") << strTime << QStringLiteral("one");
        QTest::newRow("place 2") << QStringLiteral("2") << strTime << QStringLiteral("two");
        QTest::newRow("empty place") << QString() << strTime << QStringLiteral("empty");
        QTest::newRow("unknown place") << QStringLiteral("3") << strTime << QString();
        // A field that is absent or doubled reads as empty and is found as empty.
        QTest::newRow("no time") << QString() << QString() << QStringLiteral("no time");
    }
    void placeNoQueries()
    {
        QFETCH(QString, placeNo);
        QFETCH(QString, time);
        QFETCH(QString, expectedRemark);
        CXMLDocument doc;
        Fresh(doc,
              "<Result-Data>" + kPlaces + LResult("", "", "no time")
                  + LResult("<Time>1</Time><Time>2</Time>", "", "two times")
                  + "<Result><ID>M<Result><ID>x</ID></Result>N</ID><Remark>markup</Remark></Result></Result-Data>");
        const QString strID = QStringLiteral("L"), strDate = QStringLiteral("01.01.2024");
        CXMLNodeResult r(&doc);
        QStringList remarks;
        // The first match in file order, as a click shows it.
        if (FindResult(r, CResultIdentity::Of(ResultKind::Error, strID, strDate, time, placeNo)))
            remarks << r.m_strRemark;
        QCOMPARE(remarks.join(u'|'), expectedRemark);

        // Without a place number the four are one identity: the first is found.
        QVERIFY(FindResult(r, CResultIdentity(strID, strDate, QStringLiteral("12:00:00"))));
        QCOMPARE(r.m_strRemark, QStringLiteral("one"));

        // Markup inside an ID (a hand-made file): found by the ID the cursor shows.
        QVERIFY(r.FindFirst(QStringLiteral("Result[Remark = 'markup']")));
        const CResultIdentity shown(r.m_strID, r.m_strDate, r.m_strTime);
        CXMLNodeResult again(&doc);
        QVERIFY(FindResult(again, shown));
        QCOMPARE(again.m_strRemark, QStringLiteral("markup"));
    }

    void indexFollowsChanges_data()
    {
        QTest::addColumn<int>("change");
        const char* rows[] = {"appended by a cursor",
                              "ID edited by a cursor",
                              "time set by SetValue (now before a twin)",
                              "deleted by a cursor",
                              "copied as sibling",
                              "inserted first, announced",
                              "removed, announced",
                              "removed, only the removal told",
                              "reloaded after an outside write"};
        for (int i = 0; i < int(std::size(rows)); ++i)
            QTest::newRow(rows[i]) << i;
    }
    void indexFollowsChanges()
    {
        QFETCH(int, change);
        CXMLDocument doc;
        const QString strPath = Fresh(doc, "<Result-Data>" + kPlaces + "</Result-Data>");
        QCOMPARE(IndexDisagreement(doc), QString());
        CXMLNodeResult r(&doc);
        QVERIFY(r.FindFirst(QStringLiteral("Result[Remark = 'one']")));
        pugi::xml_node root = doc.GetDocumentElement();
        switch (change) {
        case 0:
            r.AddNew();
            r.m_strID = QStringLiteral("L");
            r.m_strDate = QStringLiteral("01.01.2024");
            r.m_strTime = QStringLiteral("12:00:01");
            r.Update();
            break;
        case 1:
            r.Edit();
            r.m_strID = QStringLiteral("M");
            r.Update();
            break;
        case 2:
            r.SetValue(QStringLiteral("Time"), QStringLiteral("12:00:01"));
            break;
        case 3:
            r.Delete();
            break;
        case 4: {
            CXMLNodeResult target(&doc);
            target.Open(QStringLiteral("Result"));
            target.CopyFrom(r, true);
            break;
        }
        case 5:
            doc.NoteInserted(root.insert_copy_before(root.last_child(), root.first_child()));
            break;
        case 6:
        case 7:
            if (change == 6)
                doc.NoteRemoving(root.first_child());
            root.remove_child(root.first_child());
            doc.NoteRemoval();
            break;
        case 8:
            QVERIFY(
                WriteBytes(strPath, "<Result-Data>" + LResult("<Time>12:00:00</Time>", "", "new") + "</Result-Data>"));
            doc.Reload();
            break;
        }
        QCOMPARE(IndexDisagreement(doc), QString());
    }
};

QTEST_GUILESS_MAIN(TestResultData)
#include "tst_resultdata.moc"
