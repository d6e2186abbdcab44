// The location tree as data: how RebuildTree lays out both files, the
// selection and the search. An observer mirrors the tree from its
// notifications, the way the item model of the view does. The operations the
// commands patch the tree with are checked by the random command run.

#include "../common/TestSupport.h"
#include "LocationTestData.h"

#include "locations/LocationTree.h"
#include "locations/TreeImages.h"
#include "resources/StringTable.h"
#include "xml/XMLDocument.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

// Kind numbers in the rows below are those the tree stores.
static ResultKind K(int n)
{
    return ResultKindFromInt(n).value();
}

namespace {

const QString kUnassigned = QStringLiteral("Undefinierte Ergebnisse");

QString Esc(const QString& s)
{
    return s.toHtmlEscaped();
}

QString Loc(const QString& strId, const QString& strState = QStringLiteral("OK"))
{
    return QStringLiteral("<Main><General><ID>%1</ID><State>%2</State></General><Customer><Name>n</Name></Customer></Main>")
        .arg(Esc(strId), Esc(strState));
}

QString Grp(const QString& strName, const QString& strBody = {})
{
    return QStringLiteral("<Group Name=\"%1\">%2</Group>").arg(Esc(strName), strBody);
}

QString Res(const QString& strId, const QString& strFunction, const QString& strDate = QStringLiteral("01.02.2023"),
            const QString& strTime = QStringLiteral("10:00:00"), const QString& strPlace = {},
            const QString& strExtra = {})
{
    QString s = QStringLiteral("<Result><ID>%1</ID><Date>%2</Date><Time>%3</Time><Function>%4</Function>")
                    .arg(Esc(strId), Esc(strDate), Esc(strTime), Esc(strFunction));
    if (!strPlace.isNull())
        s += QStringLiteral("<Place-No>%1</Place-No>").arg(Esc(strPlace));
    return s + strExtra + QStringLiteral("<UPN1>230.0;V</UPN1></Result>");
}

QString Continuous(const QString& strId, const QString& strInterval, const QStringList& nos,
                   const QString& strDate = QStringLiteral("31.12.2023"), const QString& strTime = QStringLiteral("23:59:50"))
{
    QString strExtra;
    if (!strInterval.isNull())
        strExtra += QStringLiteral("<Time-Interval>%1</Time-Interval>").arg(Esc(strInterval));
    for (const QString& no : nos)
        strExtra += QStringLiteral("<Value-Measurement><No>%1</No><TimeStamp>x</TimeStamp><UPN1>1;V</UPN1></Value-Measurement>").arg(no);
    return Res(strId, QStringLiteral("Continue-Value-Measurement"), strDate, strTime, {}, strExtra);
}

QString MainXml(const QString& strBody)
{
    return QStringLiteral("<Main-Data>\n") + strBody + QStringLiteral("</Main-Data>");
}

QString ResultXml(const QString& strBody)
{
    return QStringLiteral("<Result-Data>\n") + strBody + QStringLiteral("</Result-Data>");
}

QStringList Labels(std::initializer_list<const char*> texts)
{
    QStringList list;
    for (const char* psz : texts)
        list << QString::fromUtf8(psz);
    return list;
}

// Labels, nested in braces: "A{l1,l2},b".
QString Outline(const CLocationTree& tree, const CLocationTreeItem* pParent = nullptr)
{
    QStringList parts;
    for (int i = 0; i < tree.GetChildCount(pParent); ++i) {
        const CLocationTreeItem* p = tree.GetChild(pParent, i);
        QString s = p->GetText();
        if (p->HasChildren())
            s += u'{' + Outline(tree, p) + u'}';
        parts << s;
    }
    return parts.join(u',');
}

// The item reached by following labels from the root.
CLocationTreeItem* At(const CLocationTree& tree, const QStringList& labels)
{
    CLocationTreeItem* pParent = nullptr;
    for (const QString& label : labels) {
        CLocationTreeItem* pFound = nullptr;
        for (int i = 0; i < tree.GetChildCount(pParent) && !pFound; ++i)
            if (tree.GetChild(pParent, i)->GetText() == label)
                pFound = tree.GetChild(pParent, i);
        if (!pFound)
            return nullptr;
        pParent = pFound;
    }
    return pParent;
}

CLocationTreeItem* At(const CLocationTree& tree, std::initializer_list<const char*> labels)
{
    return At(tree, Labels(labels));
}

TreeItemData Record(const QString& strName, int nKind, bool bContainer, bool bUnassigned = false,
                    const QString& strDate = {}, const QString& strTime = {}, const QString& strPlace = {})
{
    TreeItemData d;
    d.m_strName = strName;
    d.m_nKind = K(nKind);
    d.m_bIsContainer = bContainer;
    d.m_bIsUnassigned = bUnassigned;
    d.m_strDate = strDate;
    d.m_strTime = strTime;
    d.m_strPlaceNo = strPlace;
    return d;
}

// Both files loaded from text; RebuildTree reads them only.
struct Files
{
    CXMLDocument main;
    CXMLDocument result;
    Files(const QString& strMainBody, const QString& strResultBody)
    {
        main.LoadXML(MainXml(strMainBody));
        result.LoadXML(ResultXml(strResultBody));
    }
};

} // namespace

class TestLocationTree : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void layout_data();
    void layout();
    void locationImage_data();
    void locationImage();
    void kinds_data();
    void kinds();
    void placeNumbers_data();
    void placeNumbers();
    void samples_data();
    void samples();
    void firstItemIsSelected_data();
    void firstItemIsSelected();
    void emptyTree_data();
    void emptyTree();
    void showResultArgs_data();
    void showResultArgs();

    void selectChild();
    void deletingSelectionMovesIt_data();
    void deletingSelectionMovesIt();
    void filter_data();
    void filter();

private:
    QTemporaryDir m_settingsDir;
};

void TestLocationTree::initTestCase()
{
    UseTemporarySettings(m_settingsDir);
    QCOMPARE(LoadString(IDS_UNASSIGNED_RESULTS), kUnassigned);
}

// --- filling -----------------------------------------------------------------

void TestLocationTree::layout_data()
{
    QTest::addColumn<QString>("main");
    QTest::addColumn<QString>("results");
    QTest::addColumn<QString>("outline");

    QTest::newRow("groups sorted ignoring case") << Grp(QStringLiteral("b")) + Grp(QStringLiteral("A")) + Grp(QStringLiteral("c"))
                                                 << QString() << QStringLiteral("A,b,c");
    QTest::newRow("locations sorted in their group")
        << Grp(QStringLiteral("G"), Loc(QStringLiteral("m2")) + Loc(QStringLiteral("M1")) + Loc(QStringLiteral("m3")))
        << QString() << QStringLiteral("G{M1,m2,m3}");
    QTest::newRow("ungrouped after groups, unassigned last")
        << Loc(QStringLiteral("a")) + Grp(QStringLiteral("z"), Loc(QStringLiteral("x"))) + Loc(QStringLiteral("C"))
               + Loc(QStringLiteral("b"))
        << Res(QStringLiteral("nobody"), QStringLiteral("Value-Measurement"))
        << QStringLiteral("z{x},a,b,C,%1{nobody{Istwerte{01.02.2023 10:00:00}}}").arg(kUnassigned);
    QTest::newRow("no unassigned node when every ID is known")
        << Grp(QStringLiteral("g"), Loc(QStringLiteral("in"))) + Loc(QStringLiteral("out"))
        << Res(QStringLiteral("in"), QStringLiteral("Value-Measurement")) + Res(QStringLiteral("out"), QStringLiteral("U-Burden"))
        << QStringLiteral("g{in{Istwerte{01.02.2023 10:00:00}}},out{U-Bürden{01.02.2023 10:00:00}}");
    QTest::newRow("folders in order of first occurrence, results in file order")
        << Loc(QStringLiteral("L"))
        << Res(QStringLiteral("L"), QStringLiteral("Vector-Measurement"), QStringLiteral("02.01.2023"))
               + Res(QStringLiteral("L"), QStringLiteral("Value-Measurement"))
               + Res(QStringLiteral("L"), QStringLiteral("Vector-Measurement"), QStringLiteral("01.01.2023"))
        << QStringLiteral("L{Vektoren{02.01.2023 10:00:00,01.01.2023 10:00:00},Istwerte{01.02.2023 10:00:00}}");
    QTest::newRow("unknown kind is left out")
        << Loc(QStringLiteral("L")) << Res(QStringLiteral("L"), QStringLiteral("value-measurement")) + Res(QStringLiteral("L"), QString())
        << QStringLiteral("L");
    // The node stands for an ID without location, whatever the result's kind.
    QTest::newRow("unknown kind with unknown ID leaves the node empty")
        << Loc(QStringLiteral("L")) << Res(QStringLiteral("x"), QStringLiteral("Something"))
        << QStringLiteral("L,%1").arg(kUnassigned);
    QTest::newRow("unknown IDs sorted under the node")
        << QString()
        << Res(QStringLiteral("b"), QStringLiteral("Register-Test")) + Res(QStringLiteral("A"), QStringLiteral("Register-Test"))
               + Res(QStringLiteral("b"), QStringLiteral("Register-Test"), QStringLiteral("03.02.2023"))
        << QStringLiteral("%1{A{Registertest{01.02.2023 10:00:00}},b{Registertest{01.02.2023 10:00:00,03.02.2023 10:00:00}}}")
               .arg(kUnassigned);
    QTest::newRow("IDs compare case-sensitively")
        << Loc(QStringLiteral("abc")) << Res(QStringLiteral("ABC"), QStringLiteral("Value-Measurement"))
        << QStringLiteral("abc,%1{ABC{Istwerte{01.02.2023 10:00:00}}}").arg(kUnassigned);
    QTest::newRow("empty ID is a location")
        << Loc(QString()) << Res(QString(), QStringLiteral("TmTe-Transmitter"))
        << QStringLiteral("{TmTe{01.02.2023 10:00:00}}");
    // A hand-edited file may hold one ID twice; results go to the first.
    QTest::newRow("duplicate ID") << Loc(QStringLiteral("d")) + Grp(QStringLiteral("g"), Loc(QStringLiteral("d")))
                                  << Res(QStringLiteral("d"), QStringLiteral("Value-Measurement"))
                                  << QStringLiteral("g{d{Istwerte{01.02.2023 10:00:00}}},d");
    QTest::newRow("a field twice reads as empty")
        << Loc(QStringLiteral("L"))
        << Res(QStringLiteral("L"), QStringLiteral("Value-Measurement"), QStringLiteral("01.02.2023"),
               QStringLiteral("10:00:00"), {}, QStringLiteral("<Date>x</Date>"))
        << QStringLiteral("L{Istwerte{ 10:00:00}}");
    QTest::newRow("a nested field or an instruction is no field")
        << Loc(QStringLiteral("L"))
        << Res(QStringLiteral("L"), QStringLiteral("Value-Measurement"), QStringLiteral("01.02.2023"),
               QStringLiteral("10:00:00"), {}, QStringLiteral("<X><Date>y</Date></X><?Date z?>"))
        << QStringLiteral("L{Istwerte{01.02.2023 10:00:00}}");
    QTest::newRow("special characters in names")
        << Grp(QStringLiteral("a\"<&"), Loc(QStringLiteral("x] | //*["))) << Res(QStringLiteral("x] | //*["), QStringLiteral("I-Burden"))
        << QStringLiteral("a\"<&{x] | //*[{I-Bürden{01.02.2023 10:00:00}}}");
}

void TestLocationTree::layout()
{
    QFETCH(QString, main);
    QFETCH(QString, results);
    QFETCH(QString, outline);
    Files files(main, results);
    CLocationTree tree;
    CMirror mirror(tree);
    tree.RebuildTree(files.main, files.result);
    QCOMPARE(Outline(tree), outline);
    QCOMPARE(mirror.Compare(), QString());
    QCOMPARE(mirror.m_nResets, 1);
    QCOMPARE(mirror.m_nInserts, 0);
}

void TestLocationTree::locationImage_data()
{
    QTest::addColumn<QString>("main");
    QTest::addColumn<int>("image");

    QTest::newRow("OK") << Loc(QStringLiteral("L"), QStringLiteral("OK")) << 0;
    QTest::newRow("ok") << Loc(QStringLiteral("L"), QStringLiteral("ok")) << 1;
    QTest::newRow("missing State") << QStringLiteral("<Main><General><ID>L</ID></General></Main>") << 1;
    QTest::newRow("other in a group") << Grp(QStringLiteral("g"), Loc(QStringLiteral("L"), QStringLiteral("NEU"))) << 1;
    QTest::newRow("State twice reads as empty") << QStringLiteral(
        "<Main><General><ID>L</ID><State>OK</State></General><General><State>OK</State></General></Main>")
                                                << 1;
}

void TestLocationTree::locationImage()
{
    QFETCH(QString, main);
    QFETCH(int, image);
    Files files(main, QString());
    CLocationTree tree;
    tree.RebuildTree(files.main, files.result);
    CLocationTreeItem* p = tree.FindLocationItem(QStringLiteral("L"));
    QVERIFY(p);
    QCOMPARE(p->GetImage(), image);
    QCOMPARE(p->GetData(), Record(QStringLiteral("L"), 1, true));
}

void TestLocationTree::kinds_data()
{
    QTest::addColumn<QString>("function");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("image");

    QTest::newRow("3") << "Value-Measurement" << 3 << "Istwerte" << 4;
    QTest::newRow("4") << "Vector-Measurement" << 4 << "Vektoren" << 5;
    QTest::newRow("5") << "Curve-Measurement" << 5 << "Kurvenabtastung" << 6;
    QTest::newRow("6") << "Harmonics-Measurement" << 6 << "Harmonische" << 7;
    QTest::newRow("7") << "Error-Measurement" << 7 << "Fehlermessung" << 8;
    QTest::newRow("8") << "Register-Test" << 8 << "Registertest" << 9;
    QTest::newRow("9") << "TmTe-Transmitter" << 9 << "TmTe" << 10;
    QTest::newRow("10") << "U-Burden" << 10 << "U-Bürden" << 11;
    QTest::newRow("11") << "I-Burden" << 11 << "I-Bürden" << 12;
    QTest::newRow("12") << "Continue-Value-Measurement" << 12 << "Fortlaufende Istwerte" << 13;
    QTest::newRow("14") << "UI-Transformer" << 14 << "UI-Transformer" << 15;
    QTest::newRow("15") << "Automatic-Measurement" << 15 << "Automatische Messung" << 16;
    QTest::newRow("16") << "AUX-Channel" << 16 << "Aux-Kanäle" << 17;
    QTest::newRow("17") << "Selektiv-Measurement" << 17 << "Selektive Leistungsmessung" << 19;
    QTest::newRow("18") << "PQS-Reg-Test" << 18 << "Registertest - PQS" << 20;
}

void TestLocationTree::kinds()
{
    QFETCH(QString, function);
    QFETCH(int, kind);
    QFETCH(QString, title);
    QFETCH(int, image);

    QCOMPARE(KindOfFunction(function), std::optional(K(kind)));
    QVERIFY(!KindOfFunction(function.toLower()));
    QCOMPARE(FunctionOfKind(K(kind)), function);

    Files files(Loc(QStringLiteral("L")), Res(QStringLiteral("L"), function));
    CLocationTree tree;
    tree.RebuildTree(files.main, files.result);
    CLocationTreeItem* pFolder = At(tree, {QStringLiteral("L"), title});
    QVERIFY2(pFolder, qPrintable(Outline(tree)));
    QCOMPARE(pFolder->GetImage(), image);
    QCOMPARE(pFolder->GetData(), Record(QString(), kind, true));
    CLocationTreeItem* pResult = pFolder->GetFirstChild();
    QVERIFY(pResult);
    QCOMPARE(pResult->GetImage(), int(TreeImage::Result));
    QCOMPARE(pResult->GetData(),
             Record(QStringLiteral("L"), kind, false, false, QStringLiteral("01.02.2023"), QStringLiteral("10:00:00")));
}

void TestLocationTree::placeNumbers_data()
{
    QTest::addColumn<QString>("function");
    QTest::addColumn<QStringList>("places");
    QTest::addColumn<QString>("itemPlace");
    QTest::addColumn<QStringList>("children");

    const QStringList one2 = {QStringLiteral("1"), QStringLiteral("2")};
    QTest::newRow("error measurements 1 and 2") << "Error-Measurement" << one2 << QString() << one2;
    QTest::newRow("tm/te 1 and 2") << "TmTe-Transmitter" << one2 << QString() << one2;
    QTest::newRow("error measurement without place") << "Error-Measurement" << QStringList{QString()} << QString() << QStringList();
    QTest::newRow("error measurement, empty place then 3")
        << "Error-Measurement" << QStringList{QString(), QStringLiteral("3")} << QString() << QStringList{QStringLiteral("3")};
    QTest::newRow("values keep the later place") << "Value-Measurement" << one2 << QStringLiteral("2") << QStringList();
    QTest::newRow("harmonics keep the later, empty, place")
        << "Harmonics-Measurement" << QStringList{QStringLiteral("1"), QString()} << QString() << QStringList();
}

void TestLocationTree::placeNumbers()
{
    QFETCH(QString, function);
    QFETCH(QStringList, places);
    QFETCH(QString, itemPlace);
    QFETCH(QStringList, children);

    QString strResults;
    for (const QString& place : places)
        strResults += Res(QStringLiteral("L"), function, QStringLiteral("01.02.2023"), QStringLiteral("10:00:00"),
                          place.isEmpty() ? QString() : place);
    Files files(Loc(QStringLiteral("L")), strResults);
    CLocationTree tree;
    tree.RebuildTree(files.main, files.result);

    CLocationTreeItem* pLocation = tree.FindLocationItem(QStringLiteral("L"));
    QVERIFY(pLocation);
    QCOMPARE(pLocation->GetChildCount(), 1);
    CLocationTreeItem* pFolder = pLocation->GetFirstChild();
    QCOMPARE(pFolder->GetChildCount(), 1);
    CLocationTreeItem* pItem = pFolder->GetFirstChild();
    const int nKind = ToInt(KindOfFunction(function).value());
    QCOMPARE(pItem->GetData(), Record(QStringLiteral("L"), nKind, false, false, QStringLiteral("01.02.2023"),
                                      QStringLiteral("10:00:00"), itemPlace));
    QStringList labels;
    for (int i = 0; i < pItem->GetChildCount(); ++i) {
        const CLocationTreeItem* pChild = pItem->GetChild(i);
        labels << pChild->GetText();
        QCOMPARE(pChild->GetImage(), int(TreeImage::PlaceNo));
        QCOMPARE(pChild->GetData(), Record(QStringLiteral("L"), nKind, false, false, QStringLiteral("01.02.2023"),
                                           QStringLiteral("10:00:00"), pChild->GetText()));
    }
    QCOMPARE(labels, children);
}

void TestLocationTree::samples_data()
{
    QTest::addColumn<QString>("interval");
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("time");
    QTest::addColumn<QStringList>("labels");

    const QStringList nos = {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")};
    QTest::newRow("no interval") << QString() << "31.12.2023" << "23:59:50" << nos;
    QTest::newRow("15 s, over the year's end")
        << "15;s" << "31.12.2023" << "23:59:50"
        << Labels({"1 (31.12.2023 23:59:50)", "2 (01.01.2024 00:00:05)", "3 (01.01.2024 00:00:20)"});
    QTest::newRow("2 m") << "2;m" << "01.02.2023" << "10:00:00"
                         << Labels({"1 (01.02.2023 10:00:00)", "2 (01.02.2023 10:02:00)", "3 (01.02.2023 10:04:00)"});
    QTest::newRow("1 h over a clock change")
        << "1;h" << "26.03.2023" << "01:30:00"
        << Labels({"1 (26.03.2023 01:30:00)", "2 (26.03.2023 02:30:00)", "3 (26.03.2023 03:30:00)"});
    QTest::newRow("unknown unit") << "15;x" << "01.02.2023" << "10:00:00"
                                  << Labels({"1 (01.02.2023 10:00:00)", "2 (01.02.2023 10:00:00)", "3 (01.02.2023 10:00:00)"});
    QTest::newRow("no count") << "x;s" << "01.02.2023" << "10:00:00"
                              << Labels({"1 (01.02.2023 10:00:00)", "2 (01.02.2023 10:00:00)", "3 (01.02.2023 10:00:00)"});
    QTest::newRow("count with trailing text") << "10sec;s" << "1.2.2023" << "9:05:00"
                                              << Labels({"1 (01.02.2023 09:05:00)", "2 (01.02.2023 09:05:10)", "3 (01.02.2023 09:05:20)"});
    QTest::newRow("unreadable start") << "15;s" << "2023-02-01" << "10:00:00" << nos;
}

void TestLocationTree::samples()
{
    QFETCH(QString, interval);
    QFETCH(QString, date);
    QFETCH(QString, time);
    QFETCH(QStringList, labels);

    Files files(Loc(QStringLiteral("L")), Continuous(QStringLiteral("L"), interval, Labels({"1", "2", "3"}), date, time));
    CLocationTree tree;
    tree.RebuildTree(files.main, files.result);
    CLocationTreeItem* pItem = At(tree, {QStringLiteral("L"), QStringLiteral("Fortlaufende Istwerte"), date + u' ' + time});
    QVERIFY2(pItem, qPrintable(Outline(tree)));
    QStringList got;
    for (int i = 0; i < pItem->GetChildCount(); ++i) {
        const CLocationTreeItem* pSample = pItem->GetChild(i);
        got << pSample->GetText();
        QCOMPARE(pSample->GetImage(), int(TreeImage::Sample));
        QCOMPARE(pSample->GetData(), Record(QStringLiteral("L"), 13, false, false, date, time));
        // The view gets the running number alone.
        QCOMPARE(CLocationTree::GetShowResultArgs(pSample).m_strText, QString::number(i + 1));
    }
    QCOMPARE(got, labels);
}

void TestLocationTree::firstItemIsSelected_data()
{
    QTest::addColumn<QString>("main");
    QTest::addColumn<QString>("results");
    QTest::addColumn<QString>("selected");

    // The first inserted, which is not always the first shown.
    QTest::newRow("first group of the file") << Grp(QStringLiteral("b")) + Grp(QStringLiteral("A")) << QString() << "b";
    QTest::newRow("groups before locations") << Loc(QStringLiteral("a")) + Grp(QStringLiteral("z")) << QString() << "z";
    QTest::newRow("first location without groups") << Loc(QStringLiteral("m")) + Loc(QStringLiteral("a")) << QString() << "m";
    QTest::newRow("never the unassigned node") << QString() << Res(QStringLiteral("x"), QStringLiteral("U-Burden")) << QString();
}

void TestLocationTree::firstItemIsSelected()
{
    QFETCH(QString, main);
    QFETCH(QString, results);
    QFETCH(QString, selected);
    Files files(main, results);
    CLocationTree tree;
    CMirror mirror(tree);
    tree.RebuildTree(files.main, files.result);
    if (selected.isEmpty()) {
        QVERIFY(!tree.GetSelectedItem());
        QVERIFY(mirror.m_selections.isEmpty());
    } else {
        QVERIFY(tree.GetSelectedItem());
        QCOMPARE(tree.GetSelectedItem()->GetText(), selected);
        QCOMPARE(mirror.m_selections, QList<CLocationTreeItem*>{tree.GetSelectedItem()});
        QCOMPARE(CLocationTree::GetShowResultArgs(tree.GetSelectedItem()), ShowResultArgs());
    }
    QCOMPARE(mirror.Compare(), QString());
}

void TestLocationTree::emptyTree_data()
{
    QTest::addColumn<int>("main");  // 0 loaded, 1 not loaded, 2 loaded and then lost its root
    QTest::addColumn<int>("result");
    QTest::newRow("both empty files") << 0 << 0;
    QTest::newRow("no main file") << 1 << 0;
    QTest::newRow("no result file") << 0 << 1;
    QTest::newRow("neither file") << 1 << 1;
    QTest::newRow("main file broken") << 2 << 0;
    QTest::newRow("result file broken, after the locations") << 0 << 2;
}

void TestLocationTree::emptyTree()
{
    QFETCH(int, main);
    QFETCH(int, result);
    // Broken files held locations and results before they broke; the
    // others are empty.
    const bool bBroken = main == 2 || result == 2;
    const QString full[2] = {MainXml(Grp(QStringLiteral("g"), Loc(QStringLiteral("L"))) + Loc(QStringLiteral("M"))),
                             ResultXml(Res(QStringLiteral("L"), QStringLiteral("Value-Measurement")))};
    const QString empty[2] = {MainXml(QString()), ResultXml(QString())};
    const int states[2] = {main, result};
    CXMLDocument docs[2];
    for (int i = 0; i < 2; ++i)
        if (states[i] != 1)
            docs[i].LoadXML(bBroken ? full[i] : empty[i]);
    CLocationTree tree;
    CMirror mirror(tree);
    CRecordingSink sink;
    if (bBroken) {
        tree.RebuildTree(docs[0], docs[1]);
        QVERIFY(tree.GetSelectedItem());
        // A loaded document that lost its root element: every query on it fails.
        CXMLDocument& broken = docs[main == 2 ? 0 : 1];
        QVERIFY(broken.GetDOM()->remove_child(broken.GetDocumentElement()));
        QVERIFY(broken.IsValid());
        mirror.m_selections.clear();
    }
    tree.RebuildTree(docs[0], docs[1]);
    QVERIFY(tree.IsEmpty());
    QVERIFY(!tree.GetSelectedItem());
    QVERIFY(!tree.FindLocationItem(QStringLiteral("L")));
    QVERIFY(!tree.FindGroupItem(QStringLiteral("g")));
    // Reported once.
    QCOMPARE(sink.m_shown.size(), bBroken ? 1 : 0);
    if (bBroken)
        QCOMPARE(sink.m_shown.front().first, LoadString(IDS_XML_DOCUMENT_ELEMENT));
    QCOMPARE(mirror.m_selections, bBroken ? QList<CLocationTreeItem*>{nullptr} : QList<CLocationTreeItem*>());
    QCOMPARE(mirror.Compare(), QString());

    // A result without location needs the results file only.
    if (result == 0 && !bBroken) {
        docs[1].LoadXML(ResultXml(Res(QStringLiteral("x"), QStringLiteral("AUX-Channel"))));
        tree.RebuildTree(docs[0], docs[1]);
        QCOMPARE(Outline(tree), QStringLiteral("%1{x{Aux-Kanäle{01.02.2023 10:00:00}}}").arg(kUnassigned));
        QCOMPARE(mirror.Compare(), QString());
    }
}

void TestLocationTree::showResultArgs_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("container");
    QTest::addColumn<int>("expectedKind");
    QTest::addColumn<QString>("expectedText");

    QTest::newRow("folder") << "Istwerte" << 3 << true << 19 << QString();
    QTest::newRow("result") << "01.02.2023 10:00:00" << 7 << false << 7 << "01.02.2023 10:00:00";
    QTest::newRow("place number") << "2" << 7 << false << 7 << "2";
    QTest::newRow("sample with time") << "12 (01.02.2023 10:00:00)" << 13 << false << 13 << "12";
    QTest::newRow("sample, leading blank and zeros") << " 007" << 13 << false << 13 << "7";
    QTest::newRow("sample, negative") << "-3 (x)" << 13 << false << 13 << "-3";
}

void TestLocationTree::showResultArgs()
{
    QFETCH(QString, text);
    QFETCH(int, kind);
    QFETCH(bool, container);
    QFETCH(int, expectedKind);
    QFETCH(QString, expectedText);

    CLocationTree tree;
    const TreeItemData d = Record(container ? QString() : QStringLiteral("ID"), kind, container, false,
                                  QStringLiteral("01.02.2023"), QStringLiteral("10:00:00"), QStringLiteral("4"));
    CLocationTreeItem* p = tree.InsertItem(nullptr, 0, text, 2, d);
    const ShowResultArgs args = CLocationTree::GetShowResultArgs(p);
    QCOMPARE(args.m_nKind, K(expectedKind));
    QCOMPARE(args.m_strText, expectedText);
    if (container) {
        QCOMPARE(args, ShowResultArgs());
    } else {
        QCOMPARE(args.m_strName, QStringLiteral("ID"));
        QCOMPARE(args.m_strDate, QStringLiteral("01.02.2023"));
        QCOMPARE(args.m_strTime, QStringLiteral("10:00:00"));
        QCOMPARE(args.m_strPlaceNo, QStringLiteral("4"));
    }
    QCOMPARE(CLocationTree::GetShowResultArgs(nullptr).m_nKind, ResultKind::Nothing);
}

// --- selection ---------------------------------------------------------------

void TestLocationTree::selectChild()
{
    Files files(Loc(QStringLiteral("L")), Continuous(QStringLiteral("L"), QStringLiteral("1;s"), Labels({"1", "2", "3"})));
    CLocationTree tree;
    tree.RebuildTree(files.main, files.result);
    CMirror mirror(tree);
    tree.SelectItem(nullptr);
    tree.SelectChild(0);
    QVERIFY(!tree.GetSelectedItem());

    CLocationTreeItem* pSeries = At(tree, {"L", "Fortlaufende Istwerte", "31.12.2023 23:59:50"});
    tree.SelectItem(pSeries);
    tree.SelectChild(3);
    QCOMPARE(tree.GetSelectedItem(), pSeries);
    tree.SelectChild(-1);
    QCOMPARE(tree.GetSelectedItem(), pSeries);
    tree.SelectChild(2);
    QCOMPARE(tree.GetSelectedItem(), pSeries->GetChild(2));
    QCOMPARE(mirror.m_selections, (QList<CLocationTreeItem*>{nullptr, pSeries, pSeries->GetChild(2)}));
    // Selecting the selected item again tells nobody.
    tree.SelectItem(pSeries->GetChild(2));
    QCOMPARE(mirror.m_selections.size(), 3);
    QCOMPARE(CLocationTree::GetShowResultArgs(tree.GetSelectedItem()).m_strText, QStringLiteral("3"));
}

void TestLocationTree::deletingSelectionMovesIt_data()
{
    QTest::addColumn<QStringList>("selected");
    QTest::addColumn<QStringList>("deleted");
    QTest::addColumn<QString>("expected");

    QTest::newRow("next sibling") << Labels({"a"}) << Labels({"a"}) << "b";
    QTest::newRow("previous sibling at the end") << Labels({"c"}) << Labels({"c"}) << "b";
    QTest::newRow("parent of an only child") << Labels({"a", "x"}) << Labels({"a", "x"}) << "a";
    QTest::newRow("selection inside the deleted item") << Labels({"b", "y"}) << Labels({"b"}) << "c";
    QTest::newRow("selection elsewhere stays") << Labels({"a"}) << Labels({"b"}) << "a";
    QTest::newRow("last item leaves nothing") << Labels({"only"}) << Labels({"only"}) << "";
}

void TestLocationTree::deletingSelectionMovesIt()
{
    QFETCH(QStringList, selected);
    QFETCH(QStringList, deleted);
    QFETCH(QString, expected);

    CLocationTree tree;
    if (selected.front() == QStringLiteral("only")) {
        tree.InsertItem(nullptr, -1, QStringLiteral("only"), 0, Record(QStringLiteral("only"), 1, true));
    } else {
        for (const char* psz : {"a", "b", "c"}) {
            const QString s = QString::fromLatin1(psz);
            tree.InsertItem(nullptr, -1, s, 0, Record(s, 1, true));
        }
        tree.InsertItem(At(tree, {"a"}), -1, QStringLiteral("x"), 2, Record(QStringLiteral("a"), 3, false));
        tree.InsertItem(At(tree, {"b"}), -1, QStringLiteral("y"), 2, Record(QStringLiteral("b"), 3, false));
    }
    CMirror mirror(tree);
    tree.SelectItem(At(tree, selected));
    mirror.m_selections.clear();
    const bool bMoves = selected.mid(0, deleted.size()) == deleted;
    tree.DeleteItem(At(tree, deleted));
    if (expected.isEmpty())
        QVERIFY(!tree.GetSelectedItem());
    else
        QCOMPARE(tree.GetSelectedItem()->GetText(), expected);
    QCOMPARE(mirror.m_selections.size(), bMoves ? 1 : 0);
    QCOMPARE(mirror.Compare(), QString());
}

QTEST_GUILESS_MAIN(TestLocationTree)
#include "tst_locationtree.moc"

// --- search ------------------------------------------------------------------

void TestLocationTree::filter_data()
{
    QTest::addColumn<QString>("main");
    QTest::addColumn<QString>("query");
    QTest::addColumn<QString>("outline");

    const QString strUnassigned = kUnassigned + QStringLiteral("{zz-9{Registertest{01.02.2023 10:00:00}}}");
    // A location "a" whose one field ("Customer/Name=Müller") holds a text.
    auto row = [&](const char* pszName, const char* pszField, const char* pszQuery, bool bFound) {
        const QStringList f = QString::fromUtf8(pszField).split(QRegularExpression(QStringLiteral("[/=]")));
        QTest::newRow(pszName) << QStringLiteral("<Main><General><ID>a</ID></General><%1><%2>%3</%2></%1></Main>")
                                          .arg(f[0], f[1], f[2]) + Loc(QStringLiteral("b"))
                               << QString::fromUtf8(pszQuery)
                               << (bFound ? QStringLiteral("a{Istwerte{01.02.2023 10:00:00}}") : QString());
    };
    row("ID", "General/Remark=x", "A", true);
    row("customer name", "Customer/Name=Müller", "MUELLER", true);
    row("site name", "Location/Name=Umspannwerk Nord", "werk n", true);
    row("customer street", "Customer/Street=Hauptstraße 1", "strasse", true);
    row("site street", "Location/Street=Lindenstrasse", "straße", true);
    row("customer city", "Customer/City=Gießen", "GIESSEN", true);
    row("site city", "Location/City=Baerlin", "Bär", true);
    row("network operator", "Net/Operator=Stadtwerke Köln", "koeln", true);
    row("meter maker", "Meter/Manufacturer=Zählerbau", "zaehler", true);
    row("manufacturer number", "Meter/Manuf-No=4711-0815", "11-08", true);
    row("customer's meter number", "Meter/Custom-No=ZN 42", "zn 4", true);
    row("decomposed umlaut", "Customer/Name=Mu\u0308ller", "müller", true);
    row("capital sharp s", "Customer/Street=GROẞE GASSE", "grosse", true);
    row("postcode is not searched", "Customer/Postcode=35390", "3539", false);
    row("remark is not searched", "Meter/Remark=defekt", "defekt", false);
    row("ue is not u", "Customer/Name=Muller", "müller", false);
    row("blanks around the text", "Customer/Firstname=Ulm", "  ulm ", true);

    const QString strGroups = QStringLiteral("<Group Name=\"Nordhessen\">%1%2</Group><Group Name=\"Süd\">%3<Main><General>"
                                             "<ID>s2</ID></General><Customer><City>Nordheim</City></Customer></Main></Group>%4")
                                  .arg(Loc(QStringLiteral("n1")), Loc(QStringLiteral("n2")), Loc(QStringLiteral("s1")), Loc(QStringLiteral("a")));
    QTest::newRow("group name keeps all its locations")
        << strGroups << QStringLiteral("hessen") << QStringLiteral("Nordhessen{n1,n2}");
    QTest::newRow("a group shows only its matching locations")
        << strGroups << QStringLiteral("nord") << QStringLiteral("Nordhessen{n1,n2},Süd{s2}");
    QTest::newRow("unassigned results by their ID") << strGroups << QStringLiteral("Z-9") << strUnassigned;
    QTest::newRow("results are not searched by their date") << strGroups << QStringLiteral("2023") << QString();
    QTest::newRow("empty text shows everything")
        << Loc(QStringLiteral("a")) << QString() << QStringLiteral("a{Istwerte{01.02.2023 10:00:00}},") + strUnassigned;
}

void TestLocationTree::filter()
{
    QFETCH(QString, main);
    QFETCH(QString, query);
    QFETCH(QString, outline);
    Files files(main, Res(QStringLiteral("a"), QStringLiteral("Value-Measurement"))
                          + Res(QStringLiteral("zz-9"), QStringLiteral("Register-Test")));
    CLocationTree tree;
    tree.RebuildTree(files.main, files.result);
    CTreeFilter filter;
    filter.SetText(query);
    filter.IndexLocations(files.main);
    QCOMPARE(FilteredOutline(tree, filter), outline);
}
