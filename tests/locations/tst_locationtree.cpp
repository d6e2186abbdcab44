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

#include <QAnyStringView>
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

QString Esc(QAnyStringView s)
{
    return s.toString().toHtmlEscaped();
}

QString Loc(QAnyStringView id, QAnyStringView state = u"OK")
{
    return QStringLiteral(
               "<Main><General><ID>%1</ID><State>%2</State></General><Customer><Name>n</Name></Customer></Main>")
        .arg(Esc(id), Esc(state));
}

QString Grp(QAnyStringView name, const QString& strBody = {})
{
    return QStringLiteral("<Group Name=\"%1\">%2</Group>").arg(Esc(name), strBody);
}

// A result at 10:00:00; an empty place number leaves the field out, extra
// markup goes in as it is.
QString Res(QAnyStringView id, QAnyStringView function, QAnyStringView date = u"01.02.2023", QAnyStringView place = {},
            QAnyStringView extra = {})
{
    QString s = QStringLiteral("<Result><ID>%1</ID><Date>%2</Date><Time>10:00:00</Time><Function>%3</Function>")
                    .arg(Esc(id), Esc(date), Esc(function));
    if (!place.isEmpty())
        s += QStringLiteral("<Place-No>%1</Place-No>").arg(Esc(place));
    return s + extra.toString() + QStringLiteral("<UPN1>230.0;V</UPN1></Result>");
}

// A continuous series of location L with the entries 1, 2 and 3.
QString Series(const QString& strInterval, const QString& strDate, const QString& strTime)
{
    QString strExtra;
    if (!strInterval.isNull())
        strExtra += QStringLiteral("<Time-Interval>%1</Time-Interval>").arg(strInterval);
    for (int n = 1; n <= 3; ++n)
        strExtra +=
            QStringLiteral("<Value-Measurement><No>%1</No><TimeStamp>x</TimeStamp><UPN1>1;V</UPN1></Value-Measurement>")
                .arg(n);
    return QStringLiteral(
               "<Result><ID>L</ID><Date>%1</Date><Time>%2</Time><Function>Continue-Value-Measurement</Function>"
               "%3</Result>")
        .arg(strDate, strTime, strExtra);
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

TreeItemData Record(QAnyStringView name, int nKind, bool bContainer, bool bUnassigned = false, QAnyStringView date = {},
                    QAnyStringView time = {}, QAnyStringView place = {})
{
    TreeItemData d;
    d.m_strName = name.toString();
    d.m_nKind = K(nKind);
    d.m_bIsContainer = bContainer;
    d.m_bIsUnassigned = bUnassigned;
    d.m_strDate = date.toString();
    d.m_strTime = time.toString();
    d.m_strPlaceNo = place.toString();
    return d;
}

// What the view is told to show for a result of location L.
ShowResultArgs Shown(int nKind, const QString& strPlace, const QString& strText,
                     const QString& strDate = QStringLiteral("01.02.2023"),
                     const QString& strTime = QStringLiteral("10:00:00"))
{
    return {K(nKind), QStringLiteral("L"), strDate, strTime, strPlace, strText};
}

// A tree filled from both files, loaded from text.
struct Filled
{
    CXMLDocument main;
    CXMLDocument result;
    CLocationTree tree;
    Filled(const QString& strMainBody, const QString& strResultBody)
    {
        main.LoadXML(MainXml(strMainBody));
        result.LoadXML(ResultXml(strResultBody));
        tree.RebuildTree(main, result);
    }
};

} // namespace

class TestLocationTree : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_settingsDir;

private slots:
    void initTestCase()
    {
        UseTemporarySettings(m_settingsDir);
        QCOMPARE(LoadString(IDS_UNASSIGNED_RESULTS), kUnassigned);
    }

    // --- filling -------------------------------------------------------------

    void layout_data()
    {
        QTest::addColumn<QString>("main");
        QTest::addColumn<QString>("results");
        // The item selected after filling is the first one made, which is not
        // always the first shown, and never the unassigned node.
        QTest::addColumn<QString>("outline");

        QTest::newRow("groups sorted ignoring case") << Grp("b") + Grp("A") + Grp("c") << QString() << "A,b*,c";
        QTest::newRow("locations sorted in their group")
            << Grp("G", Loc("m2") + Loc("M1") + Loc("m3")) << QString() << "G*{M1,m2,m3}";
        QTest::newRow("locations without groups") << Loc("m") + Loc("a") << QString() << "a,m*";
        QTest::newRow("ungrouped after groups, unassigned last")
            << Loc("a") + Grp("z", Loc("x")) + Loc("C") + Loc("b") << Res("nobody", "Value-Measurement")
            << "z*{x},a,b,C,Undefinierte Ergebnisse{nobody{Istwerte{01.02.2023 10:00:00}}}";
        QTest::newRow("no unassigned node when every ID is known")
            << Grp("g", Loc("in")) + Loc("out") << Res("in", "Value-Measurement") + Res("out", "U-Burden")
            << "g*{in{Istwerte{01.02.2023 10:00:00}}},out{U-Bürden{01.02.2023 10:00:00}}";
        QTest::newRow("folders in order of first occurrence, results in file order")
            << Loc("L")
            << Res("L", "Vector-Measurement", "02.01.2023") + Res("L", "Value-Measurement")
                   + Res("L", "Vector-Measurement", "01.01.2023")
            << "L*{Vektoren{02.01.2023 10:00:00,01.01.2023 10:00:00},Istwerte{01.02.2023 10:00:00}}";
        QTest::newRow("unknown kind is left out") << Loc("L") << Res("L", "value-measurement") + Res("L", "") << "L*";
        // The node stands for an ID without location, whatever the result's kind.
        QTest::newRow("unknown kind with unknown ID leaves the node empty")
            << Loc("L") << Res("x", "Something") << "L*,Undefinierte Ergebnisse";
        QTest::newRow("unknown IDs sorted under the node")
            << QString()
            << Res("b", "Register-Test") + Res("A", "Register-Test") + Res("b", "Register-Test", "03.02.2023")
            << "Undefinierte Ergebnisse{A{Registertest{01.02.2023 10:00:00}},"
               "b{Registertest{01.02.2023 10:00:00,03.02.2023 10:00:00}}}";
        QTest::newRow("IDs compare case-sensitively")
            << Loc("abc") << Res("ABC", "Value-Measurement")
            << "abc*,Undefinierte Ergebnisse{ABC{Istwerte{01.02.2023 10:00:00}}}";
        QTest::newRow("empty ID is a location")
            << Loc("") << Res("", "TmTe-Transmitter") << "*{TmTe{01.02.2023 10:00:00}}";
        // A hand-edited file may hold one ID twice; results go to the first.
        QTest::newRow("duplicate ID") << Loc("d") + Grp("g", Loc("d")) << Res("d", "Value-Measurement")
                                      << "g*{d{Istwerte{01.02.2023 10:00:00}}},d";
        QTest::newRow("a field twice reads as empty")
            << Loc("L") << Res("L", "Value-Measurement", "01.02.2023", {}, "<Date>x</Date>")
            << "L*{Istwerte{ 10:00:00}}";
        QTest::newRow("an ID twice reads as empty")
            << Loc("L") << Res("L", "Value-Measurement", "01.02.2023", {}, "<ID>L</ID>")
            << "L*,Undefinierte Ergebnisse{{Istwerte{01.02.2023 10:00:00}}}";
        QTest::newRow("a function twice reads as empty")
            << Loc("L") << Res("L", "Value-Measurement", "01.02.2023", {}, "<Function>U-Burden</Function>") << "L*";
        QTest::newRow("an ID in a comment or deeper is none")
            << Loc("L") << Res("L", "U-Burden", "01.02.2023", {}, "<!-- <ID>M</ID> --><X><ID>N</ID></X>")
            << "L*{U-Bürden{01.02.2023 10:00:00}}";
        QTest::newRow("a nested field or an instruction is no field")
            << Loc("L") << Res("L", "Value-Measurement", "01.02.2023", {}, "<X><Date>y</Date></X><?Date z?>")
            << "L*{Istwerte{01.02.2023 10:00:00}}";
        QTest::newRow("special characters in names") << Grp("a\"<&", Loc("x] | //*[")) << Res("x] | //*[", "I-Burden")
                                                     << "a\"<&*{x] | //*[{I-Bürden{01.02.2023 10:00:00}}}";
        // From 2,000 results on, two threads read a half each: an ID of no
        // location in both halves, one in the second only, a kind that
        // starts in the second half.
        // Results of one identity are one item: each of these has its own date.
        QString strValues, strVectors;
        QStringList values, vectors;
        for (int i = 0; i < 1199; ++i) {
            strValues += Res("L", "Value-Measurement", QStringLiteral("v%1").arg(i));
            values += QStringLiteral("v%1 10:00:00").arg(i);
            strVectors += Res("L", "Vector-Measurement", QStringLiteral("w%1").arg(i));
            vectors += QStringLiteral("w%1 10:00:00").arg(i);
        }
        QTest::newRow("results read by two threads")
            << Loc("L")
            << strValues + Res("b", "Register-Test") + Res("b", "Register-Test", "03.02.2023") + strVectors
                   + Res("a", "Register-Test")
            << u"L*{Istwerte{"_qs + values.join(u',') + u"},Vektoren{"_qs + vectors.join(u',')
                   + u"}},Undefinierte Ergebnisse{a{Registertest{01.02.2023 10:00:00}},"
                     u"b{Registertest{01.02.2023 10:00:00,03.02.2023 10:00:00}}}"_qs;
    }
    void layout()
    {
        QFETCH(QString, main);
        QFETCH(QString, results);
        // Filled again, over what the first filling left.
        Filled f(main, results);
        CMirror mirror(f.tree);
        f.tree.RebuildTree(f.main, f.result);
        QTEST(Outline(f.tree), "outline");
        CLocationTreeItem* pSelected = f.tree.GetSelectedItem();
        QCOMPARE(mirror.m_selections, pSelected ? QList<CLocationTreeItem*>{pSelected} : QList<CLocationTreeItem*>());
        QCOMPARE(mirror.Compare(), QString());
        QCOMPARE(mirror.m_nResets, 1);
        QCOMPARE(mirror.m_nInserts, 0);
    }

    void locationImage_data()
    {
        QTest::addColumn<QString>("main");
        QTest::addColumn<int>("image");

        QTest::newRow("OK") << Loc("L", "OK") << 0;
        QTest::newRow("ok") << Loc("L", "ok") << 1;
        QTest::newRow("missing State") << "<Main><General><ID>L</ID></General></Main>" << 1;
        QTest::newRow("other in a group") << Grp("g", Loc("L", "NEU")) << 1;
        QTest::newRow("State twice reads as empty")
            << "<Main><General><ID>L</ID><State>OK</State></General><General><State>OK</State></General></Main>" << 1;
    }
    void locationImage()
    {
        QFETCH(QString, main);
        const Filled f(main, QString());
        CLocationTreeItem* p = f.tree.FindLocationItem(QStringLiteral("L"));
        QVERIFY(p);
        QTEST(p->GetImage(), "image");
        QCOMPARE(p->GetData(), Record(u"L", 1, true));
    }

    void kinds_data()
    {
        QTest::addColumn<QString>("function");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("image");
        // The place numbers of results at one date and time ("," between them;
        // empty: one result without), and the place items they give.
        QTest::addColumn<QString>("places");
        QTest::addColumn<QString>("children");
        auto row = [](const char* pszName, const char* pszFunction, int nKind, const char* pszTitle, int nImage,
                      const char* pszPlaces = "", const char* pszChildren = "") {
            QTest::newRow(pszName) << QString::fromUtf8(pszFunction) << nKind << QString::fromUtf8(pszTitle) << nImage
                                   << QString::fromUtf8(pszPlaces) << QString::fromUtf8(pszChildren);
        };

        row("3", "Value-Measurement", 3, "Istwerte", 4);
        row("4", "Vector-Measurement", 4, "Vektoren", 5);
        row("5", "Curve-Measurement", 5, "Kurvenabtastung", 6);
        row("6", "Harmonics-Measurement", 6, "Harmonische", 7);
        row("7", "Error-Measurement", 7, "Fehlermessung", 8);
        row("8", "Register-Test", 8, "Registertest", 9);
        row("9", "TmTe-Transmitter", 9, "TmTe", 10);
        row("10", "U-Burden", 10, "U-Bürden", 11);
        row("11", "I-Burden", 11, "I-Bürden", 12);
        row("12", "Continue-Value-Measurement", 12, "Fortlaufende Istwerte", 13);
        row("14", "UI-Transformer", 14, "UI-Transformer", 15);
        row("15", "Automatic-Measurement", 15, "Automatische Messung", 16);
        row("16", "AUX-Channel", 16, "Aux-Kanäle", 17);
        row("17", "Selektiv-Measurement", 17, "Selektive Leistungsmessung", 19);
        row("18", "PQS-Reg-Test", 18, "Registertest - PQS", 20);
        row("error measurements 1 and 2", "Error-Measurement", 7, "Fehlermessung", 8, "1,2", "1,2");
        row("error measurement, empty place then 3", "Error-Measurement", 7, "Fehlermessung", 8, ",3", "3");
        row("tm/te 1 and 2", "TmTe-Transmitter", 9, "TmTe", 10, "1,2", "1,2");
        // Without place items the result keeps the later place.
        row("values keep the later place", "Value-Measurement", 3, "Istwerte", 4, "1,2");
        row("harmonics keep the later, empty, place", "Harmonics-Measurement", 6, "Harmonische", 7, "1,");
    }
    void kinds()
    {
        QFETCH(QString, function);
        QFETCH(int, kind);
        QFETCH(QString, title);
        QFETCH(QString, places);
        QFETCH(QString, children);

        QCOMPARE(KindOfFunction(function), std::optional(K(kind)));
        QVERIFY(!KindOfFunction(function.toLower()));
        QCOMPARE(FunctionOfKind(K(kind)), function);

        QString strResults;
        for (const QString& strPlace : places.split(u','))
            strResults += Res("L", function, u"01.02.2023", strPlace);
        const Filled f(Loc("L"), strResults);
        // One folder, and one item for the date and time whatever the places.
        QCOMPARE(Outline(f.tree), QStringLiteral("L*{%1{01.02.2023 10:00:00%2}}")
                                      .arg(title, children.isEmpty() ? QString() : u'{' + children + u'}'));
        CLocationTreeItem* pFolder = At(f.tree, {QStringLiteral("L"), title});
        QTEST(pFolder->GetImage(), "image");
        QCOMPARE(pFolder->GetData(), Record({}, kind, true));
        CLocationTreeItem* pResult = pFolder->GetFirstChild();
        QCOMPARE(pResult->GetImage(), int(TreeImage::Result));
        const QString strPlace = children.isEmpty() ? places.section(u',', -1) : QString();
        QCOMPARE(pResult->GetData(), Record(u"L", kind, false, false, u"01.02.2023", u"10:00:00", strPlace));
        // A folder shows nothing; a result or a place shows itself.
        QCOMPARE(CLocationTree::GetShowResultArgs(pFolder), ShowResultArgs());
        QCOMPARE(CLocationTree::GetShowResultArgs(pResult), Shown(kind, strPlace, pResult->GetText()));
        for (int i = 0; i < pResult->GetChildCount(); ++i) {
            const CLocationTreeItem* pChild = pResult->GetChild(i);
            QCOMPARE(pChild->GetImage(), int(TreeImage::PlaceNo));
            QCOMPARE(pChild->GetData(),
                     Record(u"L", kind, false, false, u"01.02.2023", u"10:00:00", pChild->GetText()));
            QCOMPARE(CLocationTree::GetShowResultArgs(pChild), Shown(kind, pChild->GetText(), pChild->GetText()));
        }
    }

    void samples_data()
    {
        QTest::addColumn<QString>("interval");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("time");
        QTest::addColumn<QStringList>("labels");

        const QStringList nos = Labels({"1", "2", "3"});
        QTest::newRow("no interval") << QString() << "31.12.2023"
                                     << "23:59:50" << nos;
        QTest::newRow("15 s, over the year's end")
            << "15;s"
            << "31.12.2023"
            << "23:59:50" << Labels({"1 (31.12.2023 23:59:50)", "2 (01.01.2024 00:00:05)", "3 (01.01.2024 00:00:20)"});
        QTest::newRow("2 m") << "2;m"
                             << "01.02.2023"
                             << "10:00:00"
                             << Labels(
                                    {"1 (01.02.2023 10:00:00)", "2 (01.02.2023 10:02:00)", "3 (01.02.2023 10:04:00)"});
        QTest::newRow("1 h over a clock change")
            << "1;h"
            << "26.03.2023"
            << "01:30:00" << Labels({"1 (26.03.2023 01:30:00)", "2 (26.03.2023 02:30:00)", "3 (26.03.2023 03:30:00)"});
        QTest::newRow("unknown unit") << "15;x"
                                      << "01.02.2023"
                                      << "10:00:00"
                                      << Labels({"1 (01.02.2023 10:00:00)", "2 (01.02.2023 10:00:00)",
                                                 "3 (01.02.2023 10:00:00)"});
        QTest::newRow("no count") << "x;s"
                                  << "01.02.2023"
                                  << "10:00:00"
                                  << Labels({"1 (01.02.2023 10:00:00)", "2 (01.02.2023 10:00:00)",
                                             "3 (01.02.2023 10:00:00)"});
        QTest::newRow("count with trailing text")
            << "10sec;s"
            << "1.2.2023"
            << "9:05:00" << Labels({"1 (01.02.2023 09:05:00)", "2 (01.02.2023 09:05:10)", "3 (01.02.2023 09:05:20)"});
        QTest::newRow("unreadable start") << "15;s"
                                          << "2023-02-01"
                                          << "10:00:00" << nos;
    }
    void samples()
    {
        QFETCH(QString, interval);
        QFETCH(QString, date);
        QFETCH(QString, time);

        Filled f(Loc("L"), Series(interval, date, time));
        CLocationTree& tree = f.tree;
        CLocationTreeItem* pItem =
            At(tree, {QStringLiteral("L"), QStringLiteral("Fortlaufende Istwerte"), date + u' ' + time});
        QVERIFY2(pItem, qPrintable(Outline(tree)));
        QStringList got;
        for (int i = 0; i < pItem->GetChildCount(); ++i) {
            const CLocationTreeItem* pSample = pItem->GetChild(i);
            got << pSample->GetText();
            QCOMPARE(pSample->GetImage(), int(TreeImage::Sample));
            QCOMPARE(pSample->GetData(), Record(u"L", 13, false, false, date, time));
            // The view gets the running number alone.
            QCOMPARE(CLocationTree::GetShowResultArgs(pSample),
                     Shown(13, QString(), QString::number(i + 1), date, time));
        }
        QTEST(got, "labels");

        // The chart selects a sample by its index: only one of the selected
        // series, and selecting the selected item again tells nobody.
        CMirror mirror(tree);
        tree.SelectItem(nullptr);
        tree.SelectChild(0);
        tree.SelectItem(pItem);
        tree.SelectChild(3);
        tree.SelectChild(-1);
        tree.SelectChild(2);
        tree.SelectItem(pItem->GetChild(2));
        QCOMPARE(mirror.m_selections, (QList<CLocationTreeItem*>{nullptr, pItem, pItem->GetChild(2)}));
    }

    void emptyTree_data()
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
    void emptyTree()
    {
        QFETCH(int, main);
        QFETCH(int, result);
        // Broken files held locations and results before they broke; the
        // others are empty.
        const bool bBroken = main == 2 || result == 2;
        const QString full[2] = {MainXml(Grp("g", Loc("L")) + Loc("M")), ResultXml(Res("L", "Value-Measurement"))};
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
        QCOMPARE(CLocationTree::GetShowResultArgs(tree.GetSelectedItem()), ShowResultArgs());
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
            docs[1].LoadXML(ResultXml(Res("x", "AUX-Channel")));
            tree.RebuildTree(docs[0], docs[1]);
            QCOMPARE(Outline(tree), kUnassigned + QStringLiteral("{x{Aux-Kanäle{01.02.2023 10:00:00}}}"));
            QCOMPARE(mirror.Compare(), QString());
        }
    }

    // --- selection -----------------------------------------------------------

    void deletingSelectionMovesIt_data()
    {
        QTest::addColumn<QStringList>("selected");
        QTest::addColumn<QStringList>("deleted");
        QTest::addColumn<QString>("expected");

        QTest::newRow("next sibling") << Labels({"a"}) << Labels({"a"}) << "b";
        QTest::newRow("previous sibling at the end") << Labels({"c"}) << Labels({"c"}) << "b";
        QTest::newRow("parent of an only child") << Labels({"a", "Istwerte"}) << Labels({"a", "Istwerte"}) << "a";
        QTest::newRow("selection inside the deleted item") << Labels({"b", "Istwerte"}) << Labels({"b"}) << "c";
        QTest::newRow("selection elsewhere stays") << Labels({"a"}) << Labels({"b"}) << "a";
        QTest::newRow("last item leaves nothing") << Labels({"only"}) << Labels({"only"}) << "";
    }
    void deletingSelectionMovesIt()
    {
        QFETCH(QStringList, selected);
        QFETCH(QStringList, deleted);
        QFETCH(QString, expected);

        // "a{Istwerte},b{Istwerte},c", or "only".
        const bool bOnly = selected.front() == QStringLiteral("only");
        Filled f(bOnly ? Loc("only") : Loc("a") + Loc("b") + Loc("c"),
                 bOnly ? QString() : Res("a", "Value-Measurement") + Res("b", "Value-Measurement"));
        CLocationTree& tree = f.tree;
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

    // --- search --------------------------------------------------------------

    void filter_data()
    {
        QTest::addColumn<QString>("main");
        QTest::addColumn<QString>("query");
        QTest::addColumn<QString>("outline");

        const QString strUnassigned = kUnassigned + QStringLiteral("{zz-9{Registertest{01.02.2023 10:00:00}}}");
        // A location "a", selected, whose one field ("Customer/Name=Müller")
        // holds a text.
        auto row = [&](const char* pszName, const char* pszField, const char* pszQuery, bool bFound) {
            const QStringList f = QString::fromUtf8(pszField).split(QRegularExpression(QStringLiteral("[/=]")));
            QTest::newRow(pszName) << QStringLiteral("<Main><General><ID>a</ID></General><%1><%2>%3</%2></%1></Main>")
                                              .arg(f[0], f[1], f[2])
                                          + Loc("b")
                                   << QString::fromUtf8(pszQuery)
                                   << (bFound ? QStringLiteral("a*{Istwerte{01.02.2023 10:00:00}}") : QString());
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

        const QString strGroups = Grp("Nordhessen", Loc("n1") + Loc("n2"))
                                  + Grp("Süd", Loc("s1")
                                                   + QStringLiteral("<Main><General><ID>s2</ID></General><Customer>"
                                                                    "<City>Nordheim</City></Customer></Main>"))
                                  + Loc("a");
        QTest::newRow("group name keeps all its locations")
            << strGroups << QStringLiteral("hessen") << "Nordhessen*{n1,n2}";
        QTest::newRow("a group shows only its matching locations")
            << strGroups << QStringLiteral("nord") << "Nordhessen*{n1,n2},Süd{s2}";
        QTest::newRow("unassigned results by their ID") << strGroups << "Z-9" << strUnassigned;
        QTest::newRow("results are not searched by their date") << strGroups << "2023" << QString();
        QTest::newRow("empty text shows everything")
            << Loc("a") << QString() << QStringLiteral("a*{Istwerte{01.02.2023 10:00:00}},") + strUnassigned;
    }
    void filter()
    {
        QFETCH(QString, main);
        QFETCH(QString, query);
        Filled f(main, Res("a", "Value-Measurement") + Res("zz-9", "Register-Test"));
        CTreeFilter filter;
        filter.SetText(query);
        filter.IndexLocations(f.main);
        QTEST(Outline(f.tree, &filter), "outline");
    }
};

QTEST_GUILESS_MAIN(TestLocationTree)
#include "tst_locationtree.moc"
