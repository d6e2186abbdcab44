// Both data files under the commands and the transfers: a long random run
// of every command with undo and redo, checked against the files after each
// step; saves that fail in the middle of a command that changes both files;
// CSV and XML import, export to another pair of files, backup and restore.

#include "../common/IndexCheck.h"
#include "LocationTestData.h"

#include "core/RegSettings.h"
#include "locations/Backup.h"
#include "locations/LocationExport.h"
#include "locations/LocationImport.h"
#include "locations/LocationStore.h"
#include "resources/StringTable.h"
#include "xml/XMLDocument.h"
#include "xml/XMLException.h"
#include "xml/XMLNode.h"

#include <QDir>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

namespace {

// What a rebuild from the files on disk shows.
QStringList TreeFromDisk(const QString& strMain, const QString& strResult)
{
    CXMLDocument main, result;
    main.Open(strMain);
    result.Open(strResult);
    CLocationTree tree;
    tree.RebuildTree(main, result);
    return DumpTree(tree);
}

QStringList Texts(CXMLDocument& doc, const QString& strQuery)
{
    QStringList list;
    CXMLNode n(&doc);
    for (n.Open(strQuery); !n.IsEOF(); n.MoveNext())
        list << QString::fromUtf8(n.GetCurrentElement().text().get());
    return list;
}

QString Path(const QTemporaryDir& dir, const char* pszName)
{
    return dir.filePath(QLatin1String(pszName));
}

// The results of an ID (of every other ID with bOthers) as their text, in
// file order.
QByteArrayList ResultsOf(const QString& strFile, const QString& strId, bool bOthers = false)
{
    QByteArrayList out;
    const QByteArray all = ReadBytes(strFile);
    for (qsizetype i = all.indexOf("<Result>"); i >= 0; i = all.indexOf("<Result>", i + 1)) {
        const QByteArray r = all.mid(i, all.indexOf("</Result>", i) - i);
        if (r.contains("<ID>" + strId.toUtf8() + "</ID>") != bOthers)
            out << r;
    }
    return out;
}

} // namespace

class TestLocationStore : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_settings;
    // A fresh folder for each test, with the test files in it.
    std::unique_ptr<QTemporaryDir> m_pDir;
    QString m_strMain, m_strResult;
    CXMLDocument m_main, m_result;
    CLocationTree m_tree;

    // The test files written anew, opened and shown in the tree.
    void Reset()
    {
        WriteLocationTestFiles(m_strMain, m_strResult);
        m_main.Open(m_strMain);
        m_result.Open(m_strResult);
        m_tree.RebuildTree(m_main, m_result);
    }
    QPair<QByteArray, QByteArray> Bytes() const { return {ReadBytes(m_strMain), ReadBytes(m_strResult)}; }

private slots:
    void initTestCase() { UseTemporarySettings(m_settings); }

    void init()
    {
        m_pDir = std::make_unique<QTemporaryDir>();
        m_strMain = Path(*m_pDir, "Main.xml");
        m_strResult = Path(*m_pDir, "Result.xml");
        Reset();
    }

    void randomCommandsKeepFilesAndTreeInStep()
    {
        CRecordingSink sink;
        CLocationStore store(m_main, m_result, m_tree);
        CMirror mirror(m_tree);
        QRandomGenerator rnd(20240501);
        std::vector<CStoreChange> stack;
        size_t nDone = 0;
        // The files after each step of the stack: undo and redo must give them back.
        std::vector<QPair<QByteArray, QByteArray>> states{Bytes()};
        const QStringList names{QStringLiteral("G1"), QStringLiteral("Ä & <Ö>"), QStringLiteral("x\"y'z"),
                                QStringLiteral("L3"), QStringLiteral("L17"),     QStringLiteral(" L18 "),
                                QStringLiteral("neu")};
        int nCounts[9] = {};
        QSet<QString> serials;
        for (const QString& s : Texts(m_result, QStringLiteral("Result/Serial")))
            serials.insert(s);

        for (int nStep = 0; nStep < 600; ++nStep) {
            std::vector<CLocationTreeItem*> items;
            for (CLocationTreeItem* p = m_tree.GetFirstItem(); p; p = m_tree.NextItem(p))
                items.push_back(p);
            CLocationTreeItem* pItem = items.empty() ? nullptr : items[rnd.bounded(static_cast<quint32>(items.size()))];
            const TreeItemData d = pItem ? pItem->GetData() : TreeItemData();
            // The window runs a command on the selected item.
            m_tree.SelectItem(pItem);
            const QString strName = names[rnd.bounded(names.size())];
            const QStringList groups = Texts(m_main, QStringLiteral("Group/@Name"));
            const QString strGroup =
                rnd.bounded(3) == 0 || groups.isEmpty() ? QString() : groups[rnd.bounded(groups.size())];
            const int nCommand = static_cast<int>(rnd.bounded(9));
            const auto kind = d.m_nKind;
            std::optional<CStoreChange> change;
            bool bDeletes = false;
            try {
                switch (nCommand) {
                case 0:  // edit a group or a location
                    if (pItem && kind == ResultKind::Group)
                        change = store.RenameGroup(d.m_strName, strName);
                    else if (pItem && kind == ResultKind::Location && !d.m_bIsUnassigned) {
                        CLocationFields fields = *ReadLocation(m_main, d.m_strName);
                        fields.m_strID = rnd.bounded(2) ? d.m_strName : strName;
                        fields.m_meter[1] = QStringLiteral("M-%1").arg(nStep);
                        change = store.EditLocation(d.m_strName, fields, strGroup);
                    }
                    break;
                case 1:  // delete
                    bDeletes = true;
                    if (pItem && kind == ResultKind::Group)
                        change = store.DeleteGroup(d.m_strName, rnd.bounded(2), rnd.bounded(2));
                    else if (pItem && kind == ResultKind::Location && !d.m_bIsUnassigned)
                        change = store.DeleteLocation(d.m_strName, rnd.bounded(2));
                    break;
                case 2: {
                    CLocationFields fields;
                    fields.m_strID = rnd.bounded(2) ? strName : QStringLiteral("N%1").arg(nStep);
                    fields.m_customer[2] = QStringLiteral("Straße <%1>").arg(nStep);
                    change = store.NewLocation(fields, strGroup);
                    break;
                }
                case 3:
                    change = store.NewGroup(rnd.bounded(2) ? strName : QStringLiteral("NG%1").arg(nStep));
                    break;
                case 4: {  // assign
                    const QStringList ids = Texts(m_main, QStringLiteral(".//Main/General/ID"));
                    if (pItem && !ids.isEmpty()
                        && (kind == ResultKind::Location
                            || (!d.m_bIsContainer && kind != ResultKind::Sample && d.m_strPlaceNo.isEmpty())))
                        change = store.AssignResults(pItem, ids[rnd.bounded(ids.size())]);
                    break;
                }
                case 5:
                    bDeletes = true;
                    if (pItem && kind != ResultKind::Sample)
                        change = store.DeleteResults(pItem);
                    break;
                case 6:
                    if (pItem && !d.m_bIsContainer && kind != ResultKind::Sample
                        && (!pItem->HasChildren() || kind == ResultKind::ContinueValue))
                        change = store.SetRemarkAddress(pItem, QStringLiteral("a\r\nb %1 <&>").arg(nStep),
                                                        QStringLiteral("7"));
                    break;
                case 7:
                    if (nDone > 0) {
                        store.Undo(stack[--nDone]);
                        QCOMPARE(Bytes(), states[nDone]);
                        // What was selected when the command ran is selected again.
                        if (const auto& before = stack[nDone].m_selectedBefore) {
                            QVERIFY(m_tree.GetSelectedItem());
                            QCOMPARE(m_tree.GetSelectedItem()->GetData(), *before);
                        }
                    }
                    break;
                case 8:
                    if (nDone < stack.size()) {
                        store.Redo(stack[nDone++]);
                        QCOMPARE(Bytes(), states[nDone]);
                    }
                    break;
                }
            } catch (const CException& e) {
                QFAIL(qPrintable(QStringLiteral("step %1: %2").arg(nStep).arg(e.GetErrorMessage())));
            }
            if (change) {
                ++nCounts[nCommand];
                stack.resize(nDone);
                states.resize(nDone + 1);
                stack.push_back(std::move(*change));
                states.push_back(Bytes());
                ++nDone;
            } else if (nCommand >= 7) {
                ++nCounts[nCommand];
            }

            // The patched tree is the tree the files give.
            const QStringList patched = DumpTree(m_tree);
            const QStringList rebuilt = TreeFromDisk(m_strMain, m_strResult);
            if (patched != rebuilt) {
                qsizetype i = 0;
                while (i < patched.size() && i < rebuilt.size() && patched[i] == rebuilt[i])
                    ++i;
                QFAIL(qPrintable(QStringLiteral("step %1, command %2, line %3:\npatched: %4\nrebuilt: %5")
                                     .arg(nStep)
                                     .arg(nCommand)
                                     .arg(i)
                                     .arg(patched.value(i), rebuilt.value(i))));
            }
            // The notifications told every change; the tree's look-ups and the
            // files' indexes agree with a walk and with the queries.
            QCOMPARE(mirror.Compare(), QString());
            QCOMPARE(TreeIndexDisagreement(m_tree, names), QString());
            QCOMPARE(IndexDisagreement(m_result), QString());
            QCOMPARE(IndexDisagreement(m_main), QString());
            // No ID twice; every result once, and only deletes (or undoing and
            // redoing) change which results exist.
            const QStringList ids = Texts(m_main, QStringLiteral(".//Main/General/ID"));
            QCOMPARE(QSet<QString>(ids.begin(), ids.end()).size(), ids.size());
            const QStringList list = Texts(m_result, QStringLiteral("Result/Serial"));
            const QSet<QString> now(list.begin(), list.end());
            QCOMPARE(now.size(), list.size());
            if (!bDeletes && nCommand < 7)
                QCOMPARE(now, serials);
            serials = now;
        }
        for (int n : nCounts)
            QVERIFY2(n >= 5, "every command ran several times");
        QVERIFY(stack.size() > 20);
    }

    void failedSaveLeavesBothFiles_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<int>("way");
        const char* const commands[] = {"rename location", "delete location with results", "delete group with all",
                                        "undo of a deletion"};
        // A folder replaced by a file fails the same way as a missing one.
        const char* const ways[] = {"result file replaced by a folder", "folder renamed away", "disk full"};
        for (int c = 0; c < 4; ++c)
            for (int w = 0; w < 3; ++w)
                QTest::addRow("%s, %s", commands[c], ways[w]) << c << w;
    }
    void failedSaveLeavesBothFiles()
    {
        QFETCH(int, command);
        QFETCH(int, way);
        CRecordingSink sink;
        const QString strFolder = m_pDir->path();
        const QString strMoved = strFolder + QStringLiteral("-moved");
        CLocationStore store(m_main, m_result, m_tree);
        std::optional<CStoreChange> deletion;
        if (command == 3)
            deletion = store.DeleteLocation(QStringLiteral("L1"), true);
        const auto before = Bytes();
        const QStringList treeBefore = DumpTree(m_tree);
        // The result file is bigger than the limit, the main file smaller: the
        // main file is written, the result file fails.
        if (way == 2)
            QVERIFY(before.first.size() < 3000 && before.second.size() > 6000);

        // Each way breaks the saves for the time of the command only. A write
        // beyond the size limit fails rather than raising a signal.
        struct rlimit old
        {
        };
        getrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, SIG_IGN);
        const QString strKept = m_strResult + QStringLiteral(".kept");
        const auto breakSaves = [&](bool b) {
            struct rlimit limit = old;
            limit.rlim_cur = b ? 3000 : old.rlim_cur;
            switch (way) {
            case 0:
                return b ? QFile::rename(m_strResult, strKept) && QDir().mkdir(m_strResult)
                         : QDir().rmdir(m_strResult) && QFile::rename(strKept, m_strResult);
            case 1:
                return b ? QDir().rename(strFolder, strMoved) : QDir().rename(strMoved, strFolder);
            default:
                return setrlimit(RLIMIT_FSIZE, &limit) == 0;
            }
        };
        QVERIFY(breakSaves(true));
        CLocationFields fields = *ReadLocation(m_main, QStringLiteral("L2"));
        fields.m_strID = QStringLiteral("L2-neu");
        const auto run = [&] {
            switch (command) {
            case 0:
                store.EditLocation(QStringLiteral("L2"), fields, QStringLiteral("G1"));
                break;
            case 1:
                store.DeleteLocation(QStringLiteral("L2"), true);
                break;
            case 2:
                store.DeleteGroup(QStringLiteral("G0"), true, true);
                break;
            case 3:
                store.Undo(*deletion);
                break;
            }
        };
        QString strError;
        try {
            run();
        } catch (const CStoreException& e) {
            strError = e.GetErrorMessage();
        }
        QVERIFY(breakSaves(false));
        QVERIFY2(strError.startsWith(LoadString(IDS_CHANGE_NOT_SAVED) + u'\n' + LoadString(IDS_XML_SAVE) + u'\n'),
                 qPrintable(strError));
        QVERIFY2(strError.contains(way == 0 || way == 2 ? m_strResult : m_strMain), qPrintable(strError));
        QCOMPARE(Bytes(), before);
        QCOMPARE(QDir(strFolder).entryList(QDir::Files | QDir::Hidden),
                 (QStringList{QStringLiteral("Main.xml"), QStringLiteral("Result.xml")}));
        // Memory went back too: the tree is unchanged, and the same command
        // now goes through.
        QCOMPARE(DumpTree(m_tree), treeBefore);
        QCOMPARE(TreeFromDisk(m_strMain, m_strResult), treeBefore);
        run();
        QCOMPARE(DumpTree(m_tree), TreeFromDisk(m_strMain, m_strResult));
        QVERIFY(Bytes() != before);
    }

    // --- transfers -----------------------------------------------------------

    void csvRecords_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("separator");
        // Records as "line:field|field", one per record.
        QTest::addColumn<QStringList>("records");
        QTest::newRow("tab, CR LF") << "a\tb\r\nc\td\r\n"
                                    << "\t" << QStringList{QStringLiteral("1:a|b"), QStringLiteral("2:c|d")};
        QTest::newRow("comma, LF, trailing separator")
            << "a,b,\nc"
            << "," << QStringList{QStringLiteral("1:a|b|"), QStringLiteral("2:c")};
        QTest::newRow("blank") << "4711 OK  x"
                               << " " << QStringList{QStringLiteral("1:4711|OK||x")};
        QTest::newRow("own separator") << "a#b;c"
                                       << "#" << QStringList{QStringLiteral("1:a|b;c")};
        QTest::newRow("quoted separator, quotes, break")
            << "\"a;\"\"b\"\"\";\"x\r\ny\"\nz;1"
            << ";" << QStringList{QStringLiteral("1:a;\"b\"|x\ny"), QStringLiteral("3:z|1")};
        QTest::newRow("unclosed quote loses its line only")
            << "a;\"b\nc;d\n"
            << ";" << QStringList{QStringLiteral("1:"), QStringLiteral("2:c|d")};
    }
    void csvRecords()
    {
        QFETCH(QString, text);
        QFETCH(QString, separator);
        QFETCH(QStringList, records);
        QStringList got;
        for (const CCsvRecord& r : SplitCsvRecords(text, separator.at(0)))
            got << QString::number(r.m_nLine) + u':' + r.m_fields.join(u'|');
        QCOMPARE(got, records);
    }

    void csvImport_data()
    {
        QTest::addColumn<QByteArray>("csv");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<QString>("summary");  // added, replaced, skipped, refused
        QTest::addColumn<QStringList>("refusals");
        QTest::addColumn<QString>("check");  // ID|customer name|city|group
        QByteArray twenty;
        for (int i = 1; i <= 20; ++i)
            twenty += i == 7 ? "C7;only two\r\n" : "C" + QByteArray::number(i) + ";N;S\r\n";
        QTest::newRow("line 7 of 20 short")
            << twenty << true << "19 0 0 1"
            << QStringList{QStringLiteral("Zeile 7: 2 Felder, die Spaltenfolge braucht 3.")} << "C20|N|S|";
        QTest::newRow("utf-8 with BOM") << QByteArray("\xEF\xBB\xBFU1;M\xC3\xBCller;K\xC3\xB6ln\n") << true << "1 0 0 0"
                                        << QStringList() << "U1|Müller|Köln|";
        QTest::newRow("utf-8 with BOM, broken") << QByteArray("\xEF\xBB\xBF"
                                                              "B1;A\xC5"
                                                              "B;C\x1B\n")
                                                << true << "1 0 0 0" << QStringList()
                                                << "B1|A\xEF\xBF\xBD"
                                                   "B|C\\x1b|";
        QTest::newRow("windows-1252") << QByteArray("W1;M\xFCller;K\xF6ln\x80\n\n") << true << "1 0 0 0"
                                      << QStringList() << "W1|Müller|Köln€|";
        QTest::newRow("quoted") << QByteArray("Q1;\"Meier; \"\"Sohn\"\"\";\"a\r\nb\"\r\n") << true << "1 0 0 0"
                                << QStringList() << "Q1|Meier; \"Sohn\"|a\nb|";
        QTest::newRow("markup characters")
            << QByteArray("M1;A & B <x>;&lt>\r\n") << true << "1 0 0 0" << QStringList() << "M1|A & B <x>|&lt>|";
        QTest::newRow("existing ID, yes: replaced in its group")
            << QByteArray("L1;Neu;X\n;x;y\n") << true << "0 1 0 1"
            << QStringList{QStringLiteral("Zeile 2: die ID ist leer.")} << "L1|Neu|X|G0";
        QTest::newRow("existing ID, no: skipped")
            << QByteArray("L1;Neu;X\n") << false << "0 0 1 0" << QStringList() << "L1|K&1||G0";
        QTest::newRow("empty file") << QByteArray() << true << "0 0 0 0" << QStringList() << "";
    }
    void csvImport()
    {
        QFETCH(QByteArray, csv);
        QFETCH(bool, answer);
        QFETCH(QString, summary);
        QFETCH(QStringList, refusals);
        QFETCH(QString, check);
        const QString strCsv = Path(*m_pDir, "in.csv");
        QVERIFY(WriteBytes(strCsv, csv));
        const QByteArray before = ReadBytes(m_strMain);
        CRecordingSink sink;
        sink.m_bAnswer = answer;
        const CImportSummary s = ImportCsv(m_main, strCsv, u';', {0, 4, 7});
        QCOMPARE(QStringLiteral("%1 %2 %3 %4").arg(s.m_nAdded).arg(s.m_nReplaced).arg(s.m_nSkipped).arg(s.m_nRefused),
                 summary);
        QCOMPARE(s.m_refusals, refusals);
        if (check.isEmpty()) {
            QCOMPARE(ReadBytes(m_strMain), before);
            return;
        }
        // What the file holds, read anew.
        CXMLDocument again;
        again.Open(m_strMain);
        const QStringList c = check.split(u'|');
        const std::optional<CLocationFields> f = ReadLocation(again, c[0]);
        QVERIFY(f);
        QCOMPARE(f->m_customer[1], c[1]);
        QCOMPARE(f->m_customer[4], c[2]);
        QCOMPARE(GetGroupOfLocation(again, c[0]), c[3]);
        QCOMPARE(again.GetDocumentElement().select_nodes(".//Main").size(), size_t(16 + s.m_nAdded));
    }

    void xmlImport()
    {
        const QString strSrcMain = Path(*m_pDir, "src-main.xml"), strSrcResult = Path(*m_pDir, "src-result.xml");
        QVERIFY(WriteBytes(strSrcMain,
                           "<Main-Data><Group Name=\"G0\"><Main><General><ID>L1</ID></General></Main></Group>"
                           "<Group Name=\"Neu\"><Main><General><ID>N1</ID></General></Main></Group>"
                           "<Main><General><ID>N2</ID></General></Main></Main-Data>"));
        const QByteArray existing = ResultsOf(m_strResult, QStringLiteral("L1"), true).first() + "</Result>";
        const QByteArray place = "<Result><ID>N1</ID><Date>01.01.2024</Date><Time>08:00:00</Time>"
                                 "<Function>Error-Measurement</Function><Place-No>";
        QVERIFY(WriteBytes(strSrcResult, "<Result-Data>" + existing + "<Result><ID>L1</ID><Date>x</Date></Result>"
                                             + place + "1</Place-No></Result>" + place + "2</Place-No></Result>" + place
                                             + "2</Place-No></Result></Result-Data>"));
        const qsizetype nL1 = ResultsOf(m_strResult, QStringLiteral("L1")).size();
        for (bool bAnswer : {false, true}) {
            Reset();
            CRecordingSink sink;
            sink.m_bAnswer = bAnswer;
            const CImportSummary s = ImportXml(m_main, m_result, strSrcMain, strSrcResult);
            QCOMPARE(sink.m_asked.size(), 1);
            QCOMPARE(
                sink.m_asked[0].first,
                QStringLiteral("Der Ort mit der ID \"L1\" existiert bereits.\nWollen Sie den Ort überschreiben ?"));
            QCOMPARE(QList<int>({s.m_nAdded, s.m_nReplaced, s.m_nSkipped, s.m_nResultsAdded, s.m_nResultsPresent}),
                     QList<int>({2, bAnswer, !bAnswer, 2 + bAnswer, 2}));
            QCOMPARE(s.m_groups, QStringList{QStringLiteral("Neu")});
            CXMLDocument main2, result2;
            main2.Open(m_strMain);
            QCOMPARE(GetGroupOfLocation(main2, QStringLiteral("N1")), QStringLiteral("Neu"));
            QVERIFY(LocationExists(main2, QStringLiteral("N2")));
            QCOMPARE(ResultsOf(m_strResult, QStringLiteral("N1")).size(), 2);
            QCOMPARE(ResultsOf(m_strResult, QStringLiteral("L1")).size(), nL1 + bAnswer);
        }
        // A result file offered as the main file is refused before anything changes.
        const QByteArray before = ReadBytes(m_strMain);
        QVERIFY_THROWS_EXCEPTION(CTransferException, ImportXml(m_main, m_result, strSrcResult, QString()));
        QCOMPARE(ReadBytes(m_strMain), before);
    }

    void exportRoundTrip()
    {
        const QString strMain = Path(*m_pDir, "x/Main.xml"), strResult = Path(*m_pDir, "x/Result.xml");
        QVERIFY(QDir().mkpath(Path(*m_pDir, "x")));
        const QString strId = QStringLiteral("L1");
        const qsizetype nResults = ResultsOf(m_strResult, strId).size();
        QVERIFY(nResults > 0);
        CRecordingSink sink;
        std::optional<CExportSummary> s = ExportLocation(m_main, m_result, strId, strMain, strResult);
        QVERIFY(s && s->m_bLocation);
        QCOMPARE(s->m_nResults, nResults);
        CXMLDocument target;
        target.Open(strMain);
        QCOMPARE(GetGroupOfLocation(target, strId), QStringLiteral("G0"));
        QCOMPARE(ReadLocation(target, strId), ReadLocation(m_main, strId));
        // Again into the existing pair: no stops everything, yes does not
        // duplicate the results.
        const QByteArray mainBytes = ReadBytes(strMain), resultBytes = ReadBytes(strResult);
        QVERIFY(!ExportLocation(m_main, m_result, strId, strMain, strResult));
        QCOMPARE(sink.m_asked.size(), 1);
        QCOMPARE(ReadBytes(strResult), resultBytes);
        sink.m_bAnswer = true;
        s = ExportLocation(m_main, m_result, strId, strMain, strResult);
        QCOMPARE(QList<int>({s->m_nResults, s->m_nResultsPresent}), QList<int>({0, int(nResults)}));
        QCOMPARE(ReadBytes(strMain), mainBytes);
        // The export imported into empty files gives the same location and results.
        const QString strEmptyMain = Path(*m_pDir, "e-main.xml"), strEmptyResult = Path(*m_pDir, "e-result.xml");
        QVERIFY(WriteBytes(strEmptyMain, "<Main-Data>\n</Main-Data>") && WriteBytes(strEmptyResult, "<Result-Data/>"));
        CXMLDocument emptyMain, emptyResult;
        emptyMain.Open(strEmptyMain);
        emptyResult.Open(strEmptyResult);
        ImportXml(emptyMain, emptyResult, strMain, strResult);
        QCOMPARE(ReadLocation(emptyMain, strId), ReadLocation(m_main, strId));
        QCOMPARE(ResultsOf(strEmptyResult, strId), ResultsOf(m_strResult, strId));
    }

    // Backups and restores that fail and leave everything as it was, then a
    // backup and its restore.
    void backup()
    {
        const QString strRoot = Path(*m_pDir, "backups");
        QVERIFY(QDir().mkdir(strRoot));
        const QByteArray main = ReadBytes(m_strMain), result = ReadBytes(m_strResult);
        // A backup whose files are no valid data files of their kind.
        for (const QByteArray& bad : {QByteArray("<Result-Data><Result>"), main}) {
            const QString strBad = Path(*m_pDir, "backups/bad");
            QVERIFY(QDir().mkpath(strBad));
            QVERIFY(WriteBytes(strBad + QStringLiteral("/Main.xml"), main)
                    && WriteBytes(strBad + QStringLiteral("/Result.xml"), bad));
            QVERIFY_THROWS_EXCEPTION(CTransferException,
                                     RestoreBackup(strBad, true, true, m_strMain, m_strResult, strRoot));
            QCOMPARE(ReadBytes(m_strMain), main);
            QCOMPARE(ReadBytes(m_strResult), result);
            QCOMPARE(ListBackups(strRoot), QStringList{QStringLiteral("bad")});
        }
        // A backup folder that cannot be written into.
        QVERIFY_THROWS_EXCEPTION(CTransferException, CreateBackup(m_strMain, m_strMain, m_strResult));
        // A copy that fails half-way (a file size limit even root obeys) leaves
        // no folder that looks like a backup.
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit old{};
        getrlimit(RLIMIT_FSIZE, &old);
        rlimit small = old;
        small.rlim_cur = 4096;
        setrlimit(RLIMIT_FSIZE, &small);
        QString strText;
        try {
            CreateBackup(strRoot, m_strMain, m_strResult);
        } catch (const CTransferException& e) {
            strText = e.GetErrorMessage();
        }
        setrlimit(RLIMIT_FSIZE, &old);
        QVERIFY2(strText.contains(QStringLiteral("konnte nicht nach"))
                     && strText.contains(QStringLiteral("wurde entfernt")),
                 qPrintable(strText));
        QCOMPARE(ListBackups(strRoot), QStringList{QStringLiteral("bad")});

        const QDateTime when(QDate(2020, 12, 5), QTime(14, 3, 9));
        const QString strFolder = CreateBackup(strRoot, m_strMain, m_strResult, when);
        QCOMPARE(QDir(strFolder).dirName(), QStringLiteral("05.12.2020 14_03_09"));
        QCOMPARE(BackupDisplayName(QDir(strFolder).dirName()), QStringLiteral("05.12.2020 14:03:09"));
        // A second backup in the same second finds its folder taken.
        try {
            CreateBackup(strRoot, m_strMain, m_strResult, when);
            QFAIL("no refusal");
        } catch (const CTransferException& e) {
            QCOMPARE(e.GetErrorMessage(), LoadString(IDS_BACKUP_DIR_FAILED).arg(QDir::toNativeSeparators(strFolder)));
        }
        QVERIFY(WriteBytes(m_strMain, "damaged") && WriteBytes(m_strResult, "<Result-Data>"));
        const QString strSafety = RestoreBackup(strFolder, true, true, m_strMain, m_strResult, strRoot);
        QCOMPARE(ReadBytes(m_strMain), main);
        QCOMPARE(ReadBytes(m_strResult), result);
        // What the restore replaced can itself be restored.
        QCOMPARE(ReadBytes(strSafety + QStringLiteral("/Main.xml")), QByteArray("damaged"));
        // Newest first, other folders last.
        QCOMPARE(ListBackups(strRoot),
                 (QStringList{QDir(strSafety).dirName(), QDir(strFolder).dirName(), QStringLiteral("bad")}));

        // A setting shorter than two characters falls back to the home folder's.
        CRegSettings().Set(Setting::BackupFolder, QStringLiteral("c"));
        QCOMPARE(GetBackupFolder(), QDir::home().filePath(QStringLiteral("Qarda-Backup")));
    }

    // Files written by other programs on one line come back one tag per line,
    // with CR LF, and with the same content.
    void formatBreaksLines()
    {
        QVERIFY(WriteBytes(m_strMain, "<Main-Data><Main><General><ID>A &amp; B</ID></General></Main></Main-Data>"));
        QVERIFY(WriteBytes(m_strResult,
                           "<Result-Data><Result><ID>A &amp; B</ID><Date>01.01.2024</Date></Result></Result-Data>"));
        CXMLDocument main, result;
        main.Open(m_strMain);
        result.Open(m_strResult);
        FormatDataFiles(main, result);
        QCOMPARE(ReadBytes(m_strMain), QByteArray("<?xml version=\"1.0\"?>\r\n<Main-Data>\r\n<Main>\r\n<General>\r\n"
                                                  "<ID>A &amp; B</ID>\r\n</General>\r\n</Main>\r\n</Main-Data>\r\n"));
        QCOMPARE(ReadBytes(m_strResult),
                 QByteArray("<?xml version=\"1.0\"?>\r\n<Result-Data>\r\n<Result>\r\n<ID>A &amp; B</ID>\r\n"
                            "<Date>01.01.2024</Date>\r\n</Result>\r\n</Result-Data>\r\n"));
    }
};

QTEST_GUILESS_MAIN(TestLocationStore)
#include "tst_locationstore.moc"
