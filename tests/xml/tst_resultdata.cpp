// The result file through CXMLNodeResult: which elements each kind writes,
// repeated fields and the two list kinds, identity queries.

#include "XmlTestUtil.h"

#include "../common/IndexCheck.h"

#include "xml/ResultLookup.h"
#include "xml/XMLNodeResult.h"

#include <QSet>

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

const QStringList kCommon{
    QStringLiteral("ID"),        QStringLiteral("Language"),      QStringLiteral("Device-No"),
    QStringLiteral("Device-Typ"), QStringLiteral("Date"),          QStringLiteral("Time"),
    QStringLiteral("U-Range"),   QStringLiteral("I-Range"),       QStringLiteral("M-Mode"),
    QStringLiteral("Function"),  QStringLiteral("Datatype"),      QStringLiteral("U-PrimSek"),
    QStringLiteral("I-PrimSek"), QStringLiteral("PrimSek-Val-Cz-Reg"), QStringLiteral("Place-No"),
    QStringLiteral("Time-Interval"), QStringLiteral("AdjustData"), QStringLiteral("Remark"),
    QStringLiteral("PX900Adr")};

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

const QStringList kErrorBlock{
    QStringLiteral("Cz"),     QStringLiteral("M-Puls"),   QStringLiteral("M-Inp"),     QStringLiteral("Uprim-sek"),
    QStringLiteral("Iprim-sek"), QStringLiteral("Error"), QStringLiteral("N-Value"),   QStringLiteral("Spread"),
    QStringLiteral("Average"), QStringLiteral("Deviation"), QStringLiteral("SSM-UB"),  QStringLiteral("SSM-IB"),
    QStringLiteral("SSM-Fr"), QStringLiteral("SSM-Ph"),   QStringLiteral("SSM-MT"),    QStringLiteral("StartTime"),
    QStringLiteral("StopTime"), QStringLiteral("MTime"),  QStringLiteral("Err-Energie"), QStringLiteral("Err-CtRat")};

QStringList AuxChannelNames()
{
    QStringList names;
    for (int k = 1; k <= 6; ++k)
        for (const char* b : {"Aux-Value-", "Aux-Angle-", "Ref-Name-", "Ref-Value-", "Ref-Angle-", "Aux-Diff-Value-",
                              "Aux-Diff-Angle-"})
            names << QLatin1String(b) + QString::number(k);
    return names;
}

} // namespace

class TestResultData : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    int m_nFile = 0;
    QString Fresh(CXMLDocument& doc, const QByteArray& bytes = "<Result-Data>\n</Result-Data>")
    {
        const QString strPath = m_dir.filePath(QStringLiteral("result%1.xml").arg(++m_nFile));
        if (!WriteBytes(strPath, bytes))
            return {};
        doc.Open(strPath);
        return strPath;
    }

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void storedElementsPerKind_data();
    void storedElementsPerKind();
    void harm_data();
    void harm();
    void doubledSingleField();
    void unknownFunction();
    void continueValues();
    void automaticMeasurement();
    void placeNoQueries_data();
    void placeNoQueries();
    void fieldNamesRestrictLoading();
    void indexFollowsChanges_data();
    void indexFollowsChanges();
};

void TestResultData::storedElementsPerKind_data()
{
    QTest::addColumn<QString>("function");
    QTest::addColumn<QStringList>("kindFields");

    const QStringList actual = ActualValueNames();
    QTest::newRow("Value") << QStringLiteral("Value-Measurement") << actual;
    QTest::newRow("Vector") << QStringLiteral("Vector-Measurement") << actual;
    QTest::newRow("Error") << QStringLiteral("Error-Measurement") << actual + kErrorBlock;
    QTest::newRow("AUX-Channel") << QStringLiteral("AUX-Channel") << AuxChannelNames();
    QTest::newRow("PQS") << QStringLiteral("PQS-Reg-Test")
                         << QStringList{QStringLiteral("M-Time"),   QStringLiteral("P-Energie"), QStringLiteral("PE-Begin"),
                                        QStringLiteral("PE-End"),   QStringLiteral("PE-Error"),  QStringLiteral("Q-Energie"),
                                        QStringLiteral("QE-Begin"), QStringLiteral("QE-End"),    QStringLiteral("QE-Error"),
                                        QStringLiteral("S-Energie"), QStringLiteral("SE-Begin"), QStringLiteral("SE-End"),
                                        QStringLiteral("SE-Error")};
    QTest::newRow("no kind") << QStringLiteral("Something-Else") << QStringList{};
}

void TestResultData::storedElementsPerKind()
{
    QFETCH(QString, function);
    QFETCH(QStringList, kindFields);
    CXMLDocument doc;
    Fresh(doc);
    CXMLNodeResult r(&doc);
    r.Open(QStringLiteral("Result"));
    r.AddNew();
    r.m_strFunction = function;
    r.Update();
    QVERIFY(!r.IsEOF());
    const QStringList names = ChildNames(r.GetCurrentElement());
    // Exactly the common fields and the kind's, each once, in exchange order.
    QCOMPARE(names, kCommon + kindFields);
    QCOMPARE(QSet<QString>(names.begin(), names.end()).size(), names.size());
}

void TestResultData::harm_data()
{
    QTest::addColumn<QByteArray>("harms");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("none") << QByteArray() << QStringList{};
    QTest::newRow("one") << QByteArray("<Harm>1.5;%</Harm>") << QStringList{QStringLiteral("1.5;%")};
    QTest::newRow("two apart") << QByteArray("<Harm>a</Harm><Channel>U1</Channel><Harm>b</Harm>")
                               << QStringList{QStringLiteral("a"), QStringLiteral("b")};
    QTest::newRow("empty entry kept") << QByteArray("<Harm/><Harm>b</Harm>") << QStringList{QString(), QStringLiteral("b")};
}

void TestResultData::harm()
{
    QFETCH(QByteArray, harms);
    QFETCH(QStringList, expected);
    CXMLDocument doc;
    const QString strPath = Fresh(doc, "<Result-Data><Result><ID>H</ID><Function>Harmonics-Measurement</Function>"
                                       + harms + "</Result></Result-Data>");
    CXMLNodeResult r(&doc);
    QVERIFY(r.FindFirst(QStringLiteral("Result")));
    QCOMPARE(r.m_strHarm, expected);

    // Stored back unchanged (the same number of Harm elements).
    r.Edit();
    r.Update();
    CXMLDocument reread;
    reread.Open(strPath);
    CXMLNodeResult c(&reread);
    QVERIFY(c.FindFirst(QStringLiteral("Result")));
    QCOMPARE(c.m_strHarm, expected);
    CXMLNode count(&reread);
    count.Open(QStringLiteral("Result/Harm"));
    QCOMPARE(count.GetRecordCount(), int(expected.size()));
}

void TestResultData::doubledSingleField()
{
    CXMLDocument doc;
    Fresh(doc, "<Result-Data><Result><ID>A</ID><Remark>one</Remark><Remark>two</Remark>"
               "<Function>Harmonics-Measurement</Function><Channel>x</Channel><Channel>y</Channel></Result></Result-Data>");
    CXMLNodeResult r(&doc);
    QVERIFY(r.FindFirst(QStringLiteral("Result")));
    QCOMPARE(r.m_strID, QStringLiteral("A"));
    QCOMPARE(r.m_strRemark, QString());
    QCOMPARE(r.m_strChannel, QString());
}

void TestResultData::unknownFunction()
{
    CXMLDocument doc;
    Fresh(doc, "<Result-Data><Result><ID>A</ID><Harm>1</Harm><UPN1>230</UPN1></Result>"
               "<Result><ID>B</ID><Function>Value-Measurement</Function><UPN1>231</UPN1><Harm>2</Harm></Result></Result-Data>");
    CXMLNodeResult r(&doc);
    r.Open(QStringLiteral("Result"));
    QCOMPARE(r.m_strFunction, QString());
    QVERIFY(r.m_strHarm.isEmpty());
    QCOMPARE(r.m_values.m_strUPN[0], QString());
    r.MoveNext();
    // Moving on empties the fields of the previous kind.
    QCOMPARE(r.m_values.m_strUPN[0], QStringLiteral("231"));
    QVERIFY(r.m_strHarm.isEmpty());
    r.MoveFirst();
    QCOMPARE(r.m_values.m_strUPN[0], QString());
}

void TestResultData::continueValues()
{
    CXMLDocument doc;
    const QString strPath = Fresh(doc);
    {
        CXMLNodeResult r(&doc);
        r.Open(QStringLiteral("Result"));
        r.AddNew();
        r.m_strFunction = QStringLiteral("Continue-Value-Measurement");
        r.m_strID = QStringLiteral("CV");
        for (int i = 1; i <= 3; ++i) {
            auto p = std::make_unique<CXMLNodeContinueValues>(&doc);
            p->m_strNo = QString::number(i);
            p->m_strTimeStamp = QStringLiteral("10:00:0%1").arg(i);
            p->m_values.m_strUPN[0] = QStringLiteral("23%1;V").arg(i);
            p->m_values.m_strUPP[2] = QStringLiteral("40%1;V").arg(i);
            r.m_continueValues.push_back(std::move(p));
        }
        r.Update();
    }
    CXMLDocument reread;
    reread.Open(strPath);
    CXMLNodeResult r(&reread);
    QVERIFY(r.FindFirst(QStringLiteral("Result[Function = 'Continue-Value-Measurement']")));
    QCOMPARE(r.m_continueValues.size(), size_t(3));
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(r.m_continueValues[size_t(i)]->m_strNo, QString::number(i + 1));
        QCOMPARE(r.m_continueValues[size_t(i)]->m_strTimeStamp, QStringLiteral("10:00:0%1").arg(i + 1));
        QCOMPARE(r.m_continueValues[size_t(i)]->m_values.m_strUPN[0], QStringLiteral("23%1;V").arg(i + 1));
        QCOMPARE(r.m_continueValues[size_t(i)]->m_values.m_strUPP[2], QStringLiteral("40%1;V").arg(i + 1));
    }
    // The entries' fields are not mistaken for the result's own.
    QCOMPARE(r.m_values.m_strUPN[0], QString());
    QCOMPARE(r.m_strID, QStringLiteral("CV"));
    CXMLNode loose(&reread);
    loose.Open(QStringLiteral("Result/UPN1"));
    QCOMPARE(loose.GetRecordCount(), 0);

    // A second store (edit) keeps three entries.
    r.Edit();
    r.m_continueValues[1]->m_strTimeStamp = QStringLiteral("changed");
    r.Update();
    CXMLNode entries(&reread);
    entries.Open(QStringLiteral("Result/Value-Measurement"));
    QCOMPARE(entries.GetRecordCount(), 3);
    entries.MoveNext();
    QCOMPARE(entries.GetValue(QStringLiteral("TimeStamp")), QStringLiteral("changed"));
}

void TestResultData::automaticMeasurement()
{
    CXMLDocument doc;
    const QString strPath = Fresh(doc, "<Result-Data><Result><ID>AM</ID><Function>Automatic-Measurement</Function>"
                                       "<Line-Common><Line>a1</Line><Line>a2</Line></Line-Common>"
                                       "<Line-Common><Line>b1</Line></Line-Common>"
                                       "<Line-Common/></Result></Result-Data>");
    CXMLNodeResult r(&doc);
    QVERIFY(r.FindFirst(QStringLiteral("Result")));
    QCOMPARE(r.m_automatic.size(), size_t(3));
    QCOMPARE(r.m_automatic[0]->m_strLine, (QStringList{QStringLiteral("a1"), QStringLiteral("a2")}));
    QCOMPARE(r.m_automatic[1]->m_strLine, QStringList{QStringLiteral("b1")});
    QVERIFY(r.m_automatic[2]->m_strLine.isEmpty());

    // Written into a new result, read back the same.
    CXMLNodeResult n(&doc);
    n.Open(QStringLiteral("Result"));
    n.AddNew();
    n.m_strID = QStringLiteral("AM2");
    n.m_strFunction = r.m_strFunction;
    for (const auto& p : r.m_automatic) {
        auto q = std::make_unique<CXMLNodeAutomaticMeasurement>(&doc);
        q->m_strLine = p->m_strLine;
        n.m_automatic.push_back(std::move(q));
    }
    n.Update();
    CXMLDocument reread;
    reread.Open(strPath);
    CXMLNodeResult c(&reread);
    QVERIFY(c.FindFirst(QStringLiteral("Result[ID = 'AM2']")));
    QCOMPARE(c.m_automatic.size(), size_t(3));
    QCOMPARE(c.m_automatic[0]->m_strLine, (QStringList{QStringLiteral("a1"), QStringLiteral("a2")}));
    QCOMPARE(c.m_automatic[1]->m_strLine, QStringList{QStringLiteral("b1")});
}

void TestResultData::placeNoQueries_data()
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

void TestResultData::placeNoQueries()
{
    QFETCH(QString, placeNo);
    QFETCH(QString, time);
    QFETCH(QString, expectedRemark);
    CXMLDocument doc;
    Fresh(doc, "<Result-Data>"
               "<Result><ID>L</ID><Date>01.01.2024</Date><Time>12:00:00</Time><Place-No>1</Place-No><Remark>one</Remark></Result>"
               "<Result><ID>L</ID><Date>01.01.2024</Date><Time>12:00:00</Time><Place-No>2</Place-No><Remark>two</Remark></Result>"
               "<Result><ID>L</ID><Date>01.01.2024</Date><Time>12:00:00</Time><Place-No/><Remark>empty</Remark></Result>"
               "<Result><ID>L</ID><Date>01.01.2024</Date><Time>12:00:00</Time><Remark>absent</Remark></Result>"
               "<Result><ID>L</ID><Date>01.01.2024</Date><Time>12:00:01</Time><Place-No>1</Place-No><Remark>later</Remark></Result>"
               "<Result><ID>L</ID><Date>01.01.2024</Date><Remark>no time</Remark></Result>"
               "<Result><ID>L</ID><Date>01.01.2024</Date><Time>1</Time><Time>2</Time><Remark>two times</Remark></Result>"
               "<Result><ID>M<Result><ID>x</ID></Result>N</ID><Remark>markup</Remark></Result>"
               "</Result-Data>");
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

void TestResultData::fieldNamesRestrictLoading()
{
    CXMLDocument doc;
    Fresh(doc, "<Result-Data><Result><ID>A</ID><Date>d</Date><Time>t</Time><Function>Value-Measurement</Function>"
               "<UPN1>230</UPN1></Result></Result-Data>");
    CXMLNodeResult r(&doc);
    r.SetFieldNames({QStringLiteral("ID"), QStringLiteral("Date")});
    QVERIFY(r.FindFirst(QStringLiteral("Result")));
    QCOMPARE(r.m_strID, QStringLiteral("A"));
    QCOMPARE(r.m_strDate, QStringLiteral("d"));
    QCOMPARE(r.m_strTime, QString());
    QCOMPARE(r.m_values.m_strUPN[0], QString());
}

void TestResultData::indexFollowsChanges_data()
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

void TestResultData::indexFollowsChanges()
{
    QFETCH(int, change);
    CXMLDocument doc;
    const auto result = [](const char* pszTime, const char* pszPlace, const char* pszRemark) {
        return QByteArray("<Result><ID>L</ID><Date>01.01.2024</Date><Time>") + pszTime + "</Time>" + pszPlace
               + "<Remark>" + pszRemark + "</Remark></Result>";
    };
    const QString strPath =
        Fresh(doc, "<Result-Data>" + result("12:00:00", "<Place-No>1</Place-No>", "one")
                       + result("12:00:00", "<Place-No>2</Place-No>", "two")
                       + result("12:00:00", "<Place-No/>", "empty") + result("12:00:00", "", "absent")
                       + result("12:00:01", "<Place-No>1</Place-No>", "later") + "</Result-Data>");
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
        QVERIFY(WriteBytes(strPath, "<Result-Data>" + result("12:00:00", "", "new") + "</Result-Data>"));
        doc.Reload();
        break;
    }
    QCOMPARE(IndexDisagreement(doc), QString());
}

QTEST_GUILESS_MAIN(TestResultData)
#include "tst_resultdata.moc"
