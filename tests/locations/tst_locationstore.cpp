// The tree commands on both data files: a long random run of every command
// with undo and redo, checked against the files after each step, and saves
// that fail in the middle of a command that changes both files.

#include "../common/IndexCheck.h"
#include "LocationTestData.h"

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

class TestLocationStore : public QObject
{
    Q_OBJECT
private slots:
    void randomCommandsKeepFilesAndTreeInStep();
    void failedSaveLeavesBothFiles_data();
    void failedSaveLeavesBothFiles();

private:
    QTemporaryDir m_dir;
};

namespace {

struct Files
{
    QString strMain, strResult;
    CXMLDocument main, result;
    CLocationTree tree;

    explicit Files(const QString& strFolder)
        : strMain(strFolder + QStringLiteral("/Main.xml"))
        , strResult(strFolder + QStringLiteral("/Result.xml"))
    {
        QDir().mkpath(strFolder);
        WriteLocationTestFiles(strMain, strResult);
        main.Open(strMain);
        result.Open(strResult);
        tree.RebuildTree(main, result);
    }
    QPair<QByteArray, QByteArray> Bytes() const { return {ReadBytes(strMain), ReadBytes(strResult)}; }
};

// What a rebuild from the files on disk shows.
QStringList TreeFromDisk(const Files& f)
{
    CXMLDocument main, result;
    main.Open(f.strMain);
    result.Open(f.strResult);
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

std::vector<CLocationTreeItem*> Items(const CLocationTree& tree)
{
    std::vector<CLocationTreeItem*> items;
    for (CLocationTreeItem* p = tree.GetFirstItem(); p; p = tree.NextItem(p))
        items.push_back(p);
    return items;
}

} // namespace

void TestLocationStore::randomCommandsKeepFilesAndTreeInStep()
{
    CRecordingSink sink;
    Files f(m_dir.path() + QStringLiteral("/model"));
    CLocationStore store(f.main, f.result, f.tree);
    CMirror mirror(f.tree);
    QRandomGenerator rnd(20240501);
    std::vector<CStoreChange> stack;
    size_t nDone = 0;
    // The files after each step of the stack: undo and redo must give them back.
    std::vector<QPair<QByteArray, QByteArray>> states{f.Bytes()};
    const QStringList names{QStringLiteral("G1"), QStringLiteral("Ä & <Ö>"), QStringLiteral("x\"y'z"),
                            QStringLiteral("L3"), QStringLiteral("L17"), QStringLiteral(" L18 "), QStringLiteral("neu")};
    int nCounts[9] = {};
    QSet<QString> serials;
    for (const QString& s : Texts(f.result, QStringLiteral("Result/Serial")))
        serials.insert(s);

    for (int nStep = 0; nStep < 600; ++nStep) {
        const auto items = Items(f.tree);
        CLocationTreeItem* pItem = items.empty() ? nullptr : items[rnd.bounded(static_cast<quint32>(items.size()))];
        const TreeItemData d = pItem ? pItem->GetData() : TreeItemData();
        // The window runs a command on the selected item.
        f.tree.SelectItem(pItem);
        const QString strName = names[rnd.bounded(names.size())];
        const QStringList groups = Texts(f.main, QStringLiteral("Group/@Name"));
        const QString strGroup = rnd.bounded(3) == 0 || groups.isEmpty() ? QString() : groups[rnd.bounded(groups.size())];
        const int nCommand = static_cast<int>(rnd.bounded(9));
        const auto kind = d.m_nKind;
        std::optional<CStoreChange> change;
        bool bDeletes = false;
        try {
            switch (nCommand) {
            case 0: // edit a group or a location
                if (pItem && kind == ResultKind::Group)
                    change = store.RenameGroup(d.m_strName, strName);
                else if (pItem && kind == ResultKind::Location && !d.m_bIsUnassigned) {
                    CLocationFields fields = *ReadLocation(f.main, d.m_strName);
                    fields.m_strID = rnd.bounded(2) ? d.m_strName : strName;
                    fields.m_meter[1] = QStringLiteral("M-%1").arg(nStep);
                    change = store.EditLocation(d.m_strName, fields, strGroup);
                }
                break;
            case 1: // delete
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
            case 4: { // assign
                const QStringList ids = Texts(f.main, QStringLiteral(".//Main/General/ID"));
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
                    change = store.SetRemarkAddress(pItem, QStringLiteral("a\r\nb %1 <&>").arg(nStep), QStringLiteral("7"));
                break;
            case 7:
                if (nDone > 0) {
                    store.Undo(stack[--nDone]);
                    QCOMPARE(f.Bytes(), states[nDone]);
                    // What was selected when the command ran is selected again.
                    if (const auto& before = stack[nDone].m_selectedBefore) {
                        QVERIFY(f.tree.GetSelectedItem());
                        QCOMPARE(f.tree.GetSelectedItem()->GetData(), *before);
                    }
                }
                break;
            case 8:
                if (nDone < stack.size()) {
                    store.Redo(stack[nDone++]);
                    QCOMPARE(f.Bytes(), states[nDone]);
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
            states.push_back(f.Bytes());
            ++nDone;
        } else if (nCommand >= 7) {
            ++nCounts[nCommand];
        }

        // The patched tree is the tree the files give.
        const QStringList patched = DumpTree(f.tree);
        const QStringList rebuilt = TreeFromDisk(f);
        if (patched != rebuilt) {
            qsizetype i = 0;
            while (i < patched.size() && i < rebuilt.size() && patched[i] == rebuilt[i])
                ++i;
            QFAIL(qPrintable(QStringLiteral("step %1, command %2, line %3:\npatched: %4\nrebuilt: %5")
                                 .arg(nStep).arg(nCommand).arg(i)
                                 .arg(patched.value(i), rebuilt.value(i))));
        }
        // The notifications told every change; the tree's look-ups and the
        // files' indexes agree with a walk and with the queries.
        QCOMPARE(mirror.Compare(), QString());
        QCOMPARE(TreeIndexDisagreement(f.tree, names), QString());
        QCOMPARE(IndexDisagreement(f.result), QString());
        QCOMPARE(IndexDisagreement(f.main), QString());
        // No ID twice; every result once, and only deletes (or undoing and
        // redoing) change which results exist.
        const QStringList ids = Texts(f.main, QStringLiteral(".//Main/General/ID"));
        QCOMPARE(QSet<QString>(ids.begin(), ids.end()).size(), ids.size());
        const QStringList list = Texts(f.result, QStringLiteral("Result/Serial"));
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

void TestLocationStore::failedSaveLeavesBothFiles_data()
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

void TestLocationStore::failedSaveLeavesBothFiles()
{
    QFETCH(int, command);
    QFETCH(int, way);
    CRecordingSink sink;
    const QString strFolder = m_dir.path() + QStringLiteral("/fail%1%2").arg(command).arg(way);
    const QString strMoved = strFolder + QStringLiteral("-moved");
    Files f(strFolder);
    CLocationStore store(f.main, f.result, f.tree);
    std::optional<CStoreChange> deletion;
    if (command == 3)
        deletion = store.DeleteLocation(QStringLiteral("L1"), true);
    const auto before = f.Bytes();
    const QStringList treeBefore = DumpTree(f.tree);
    // The result file is bigger than the limit, the main file smaller: the
    // main file is written, the result file fails.
    if (way == 2)
        QVERIFY(before.first.size() < 3000 && before.second.size() > 6000);

    switch (way) {
    case 0:
        QVERIFY(QFile::rename(f.strResult, f.strResult + QStringLiteral(".kept")));
        QVERIFY(QDir().mkdir(f.strResult));
        break;
    case 1:
        QVERIFY(QDir().rename(strFolder, strMoved));
        break;
    }
    struct rlimit old {};
    getrlimit(RLIMIT_FSIZE, &old);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    if (way == 2) {
        struct rlimit small = old;
        small.rlim_cur = 3000;
        QVERIFY(setrlimit(RLIMIT_FSIZE, &small) == 0);
    }
    CLocationFields fields = *ReadLocation(f.main, QStringLiteral("L2"));
    fields.m_strID = QStringLiteral("L2-neu");
    const auto run = [&] {
        switch (command) {
        case 0: store.EditLocation(QStringLiteral("L2"), fields, QStringLiteral("G1")); break;
        case 1: store.DeleteLocation(QStringLiteral("L2"), true); break;
        case 2: store.DeleteGroup(QStringLiteral("G0"), true, true); break;
        case 3: store.Undo(*deletion); break;
        }
    };
    QString strError;
    try {
        run();
    } catch (const CStoreException& e) {
        strError = e.GetErrorMessage();
    }
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    switch (way) {
    case 0:
        QVERIFY(QDir().rmdir(f.strResult));
        QVERIFY(QFile::rename(f.strResult + QStringLiteral(".kept"), f.strResult));
        break;
    case 1:
        QVERIFY(QDir().rename(strMoved, strFolder));
        break;
    }

    QVERIFY2(strError.startsWith(LoadString(IDS_CHANGE_NOT_SAVED) + u'\n' + LoadString(IDS_XML_SAVE) + u'\n'), qPrintable(strError));
    QVERIFY2(strError.contains(way == 0 || way == 2 ? f.strResult : f.strMain), qPrintable(strError));
    QCOMPARE(f.Bytes(), before);
    QCOMPARE(QDir(strFolder).entryList(QDir::Files | QDir::Hidden), (QStringList{QStringLiteral("Main.xml"), QStringLiteral("Result.xml")}));
    // Memory went back too: the tree is unchanged, and the same command
    // now goes through.
    QCOMPARE(DumpTree(f.tree), treeBefore);
    QCOMPARE(TreeFromDisk(f), treeBefore);
    run();
    QCOMPARE(DumpTree(f.tree), TreeFromDisk(f));
    QVERIFY(f.Bytes() != before);
}

QTEST_GUILESS_MAIN(TestLocationStore)
#include "tst_locationstore.moc"
