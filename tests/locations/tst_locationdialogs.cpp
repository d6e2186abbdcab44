// The location dialogs driven by keys and mouse, and the tree pane's commands
// on the undo stack and its search.

#include "LocationTestData.h"

#include "locations/AssignResultDlg.h"
#include "locations/BearbeitenSheet.h"
#include "locations/GroupNameDlg.h"
#include "locations/ImportLocationsDlg.h"
#include "locations/LocationImport.h"
#include "locations/LeftView.h"
#include "locations/LocationFilterModel.h"
#include "locations/LocationPage.h"
#include "locations/RemarkAddressDlg.h"
#include "resources/StringTable.h"
#include "xml/QardaDoc.h"
#include "xml/XMLNode.h"

#include <QAbstractItemModelTester>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QUndoStack>

namespace {

// Latin-1 only: key events carry one byte per character.
const QString kSpecial = QStringLiteral("Äöü ß & < > \" '");

void ClickOk(QDialog& dlg)
{
    auto* pBox = dlg.findChild<QDialogButtonBox*>();
    QTest::mouseClick(pBox->button(QDialogButtonBox::Ok), Qt::LeftButton);
}

// Key presses that carry each character as their text, umlauts included.
void KeyText(QWidget* pWidget, const QString& strText)
{
    for (const QChar c : strText)
        QTest::sendKeyEvent(QTest::Click, pWidget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

void Type(QWidget* pControl, const QString& strText)
{
    pControl->setFocus();
    if (auto* pLine = qobject_cast<QLineEdit*>(pControl))
        pLine->selectAll();
    else if (auto* pText = qobject_cast<QPlainTextEdit*>(pControl))
        pText->selectAll();
    if (strText.isEmpty())
        QTest::keyClick(pControl, Qt::Key_Delete);
    KeyText(pControl, strText);
}

QWidget* Control(CBearbeitenSheet& sheet, int nTab, const QString& strId)
{
    sheet.GetTabs()->setCurrentIndex(nTab);
    return sheet.GetTabs()->widget(nTab)->findChild<QWidget*>(strId);
}

QString ControlText(QWidget* p)
{
    if (auto* pLine = qobject_cast<QLineEdit*>(p))
        return pLine->text();
    return qobject_cast<QPlainTextEdit*>(p)->toPlainText();
}

// The model's labels as Outline writes the tree's, the current item starred.
QString ModelOutline(const QAbstractItemView& view, const QModelIndex& parent = {})
{
    const QAbstractItemModel* pModel = view.model();
    QStringList parts;
    for (int i = 0; i < pModel->rowCount(parent); ++i) {
        const QModelIndex index = pModel->index(i, 0, parent);
        parts << index.data().toString() + (index == view.currentIndex() ? QStringLiteral("*") : QString())
                     + (pModel->rowCount(index) ? u'{' + ModelOutline(view, index) + u'}' : QString());
    }
    return parts.join(u',');
}

}  // namespace

class TestLocationDialogs : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString m_strMain, m_strResult;

private slots:
    void initTestCase()
    {
        UseTemporarySettings(m_dir);
        m_strMain = m_dir.path() + QStringLiteral("/Main.xml");
        m_strResult = m_dir.path() + QStringLiteral("/Result.xml");
    }

    // Each test starts from the same files.
    void init() { WriteLocationTestFiles(m_strMain, m_strResult); }

    // Every field typed into a new location's sheet, written by the command,
    // read back from the file and shown again by the sheet in edit mode. Each
    // field gets a text of its own, so a control wired to another field shows.
    void sheetRoundTrip()
    {
        struct CField
        {
            int nTab;
            QString strControl, strElement;
        };
        QList<CField> fields{{0, QStringLiteral("1023"), QStringLiteral("General/ID")},
                             {0, QStringLiteral("1024"), QStringLiteral("General/Remark")}};
        const QStringList address = QStringLiteral("Firstname Name Street Postcode City Country No Remark").split(u' ');
        for (int i = 0; i < 8; ++i) {
            fields.append({1, QString::number(1000 + i), QStringLiteral("Customer/") + address[i]});
            fields.append({2, QString::number(1000 + i), QStringLiteral("Location/") + address[i]});
        }
        const QStringList net = QStringLiteral("Operator Supplier Remark").split(u' ');
        for (int i = 0; i < 3; ++i)
            fields.append({3, QString::number(1016 + i), QStringLiteral("Net/") + net[i]});
        const QStringList meter = QStringLiteral("Manufacturer Manuf-No Custom-No Remark").split(u' ');
        for (int i = 0; i < 4; ++i)
            fields.append({4, QString::number(1019 + i), QStringLiteral("Meter/") + meter[i]});
        const QString strId = QStringLiteral("Ort ") + kSpecial;
        auto value = [&](const CField& f) { return f.strControl == u"1023" ? strId : kSpecial + f.strElement; };

        CRecordingSink sink;
        CQardaDoc doc(m_strMain, m_strResult);
        CLocationTree tree;
        CLocationStore store(doc.m_xmlMain, doc.m_xmlResult, tree);
        CBearbeitenSheet sheet(&doc.m_xmlMain, IDS_CAPTION_NEW);
        QVERIFY(sheet.OnInitDialog());
        sheet.show();
        QCOMPARE(sheet.windowTitle(), QStringLiteral("Neu"));
        // The group list: empty entry first, then the groups in file order.
        auto* pGroups = qobject_cast<QComboBox*>(Control(sheet, 0, QStringLiteral("1068")));
        QCOMPARE(pGroups->currentIndex(), 0);
        QCOMPARE(pGroups->itemText(2), QStringLiteral("G1"));
        pGroups->setFocus();
        QTest::keyClick(pGroups, Qt::Key_Down);
        QTest::keyClick(pGroups, Qt::Key_Down);
        for (const CField& f : fields)
            Type(Control(sheet, f.nTab, f.strControl), value(f));
        ClickOk(sheet);
        QCOMPARE(sheet.result(), int(QDialog::Accepted));
        QCOMPARE(sheet.m_pGeneral->m_strGroup, QStringLiteral("G1"));
        QVERIFY(store.NewLocation(sheet.GetFields(), sheet.m_pGeneral->m_strGroup));

        CXMLDocument reread;
        reread.Open(m_strMain);
        CXMLNode n(&reread);
        QVERIFY(
            n.FindFirst(QStringLiteral("Group[@Name = 'G1']/Main[General/ID = $id]"), {{QStringLiteral("id"), strId}}));
        for (const CField& f : fields)
            QCOMPARE(QString::fromUtf8(
                         n.GetCurrentElement().first_element_by_path(f.strElement.toUtf8().constData()).text().get()),
                     value(f));

        CBearbeitenSheet edit(&reread, IDS_CAPTION_EDIT);
        edit.m_bEditMode = true;
        edit.m_strStartId = strId;
        edit.m_pGeneral->m_strGroup = QStringLiteral("G1");
        QVERIFY(edit.OnInitDialog());
        QCOMPARE(edit.windowTitle(), QStringLiteral("Bearbeiten"));
        for (const CField& f : fields)
            QCOMPARE(ControlText(Control(edit, f.nTab, f.strControl)), value(f));
        QCOMPARE(qobject_cast<QComboBox*>(Control(edit, 0, QStringLiteral("1068")))->currentText(),
                 QStringLiteral("G1"));
        QVERIFY(sink.m_shown.isEmpty());
    }

    void validation_data()
    {
        QTest::addColumn<int>("dialog");  // 0 new location, 1 edit L3, 2 new group, 3 edit group G1
        QTest::addColumn<QString>("typed");
        QTest::addColumn<unsigned>("message");  // 0: accepted
        QTest::newRow("empty ID") << 0 << QString() << unsigned(IDS_ID_EMPTY);
        QTest::newRow("duplicate ID") << 0 << QStringLiteral("L3") << unsigned(IDS_ID_EXISTS);
        QTest::newRow("duplicate ID with blanks") << 0 << QStringLiteral(" L3 ") << unsigned(IDS_ID_EXISTS);
        QTest::newRow("new ID") << 0 << QStringLiteral("l3") << 0u;
        QTest::newRow("edit keeps own ID") << 1 << QStringLiteral("L3") << 0u;
        QTest::newRow("edit to another's ID") << 1 << QStringLiteral("L4") << unsigned(IDS_ID_EXISTS);
        QTest::newRow("duplicate group") << 2 << QStringLiteral("G0") << unsigned(IDS_GROUP_EXISTS);
        QTest::newRow("empty group") << 2 << QString() << unsigned(IDS_GROUP_NAME_EMPTY);
        QTest::newRow("group keeps its name") << 3 << QStringLiteral("G1") << 0u;
        QTest::newRow("group to another's name") << 3 << QStringLiteral("G2") << unsigned(IDS_GROUP_EXISTS);
    }
    void validation()
    {
        QFETCH(int, dialog);
        QFETCH(QString, typed);
        QFETCH(unsigned, message);
        CRecordingSink sink;
        CXMLDocument main;
        main.Open(m_strMain);
        std::unique_ptr<QDialog> pDlg;
        if (dialog < 2) {
            auto* pSheet = new CBearbeitenSheet(&main, dialog ? IDS_CAPTION_EDIT : IDS_CAPTION_NEW);
            pSheet->m_bEditMode = dialog == 1;
            pSheet->m_strStartId = QStringLiteral("L3");
            pDlg.reset(pSheet);
            QVERIFY(pSheet->OnInitDialog());
            pSheet->show();
            Type(Control(*pSheet, 0, QStringLiteral("1023")), typed);
        } else {
            auto* pGroup = new CGroupNameDlg(dialog == 2 ? IDS_CAPTION_NEW : IDS_CAPTION_EDIT);
            pGroup->m_pMain = &main;
            pGroup->m_strName = pGroup->m_strOldName = dialog == 3 ? QStringLiteral("G1") : QString();
            pDlg.reset(pGroup);
            pGroup->OnInitDialog();
            pGroup->show();
            Type(pGroup->findChild<QLineEdit*>(QStringLiteral("1001")), typed);
        }
        ClickOk(*pDlg);
        if (message == 0) {
            QVERIFY(sink.m_shown.isEmpty());
            QCOMPARE(pDlg->result(), int(QDialog::Accepted));
            if (dialog >= 2)
                QCOMPARE(static_cast<CGroupNameDlg*>(pDlg.get())->m_strName, typed.trimmed());
        } else {
            QCOMPARE(sink.m_shown.size(), 1);
            QCOMPARE(sink.m_shown[0].first, LoadString(message));
            QCOMPARE(sink.m_shown[0].second, MsgIcon::Exclamation);
            // The dialog stays open with what was typed.
            QVERIFY(pDlg->isVisible());
        }
    }

    void assignAndRemarkDialogs()
    {
        CXMLDocument main;
        main.Open(m_strMain);
        CAssignResultDlg assign;
        assign.m_pMain = &main;
        QVERIFY(assign.OnInitDialog());
        assign.show();
        auto* pIds = assign.findChild<QComboBox*>(QStringLiteral("1025"));
        QStringList ids;
        for (int i = 0; i < pIds->count(); ++i)
            ids << pIds->itemText(i);
        QCOMPARE(ids.mid(0, 5), (QStringList{QStringLiteral("L0"), QStringLiteral("L1"), QStringLiteral("L10"),
                                             QStringLiteral("L11"), QStringLiteral("L12")}));
        pIds->setFocus();
        QTest::keyClick(pIds, Qt::Key_Down);
        ClickOk(assign);
        QCOMPARE(assign.m_strChosenId, QStringLiteral("L1"));

        // No locations: OK ends the dialog as cancelled.
        const QString strEmpty = m_dir.path() + QStringLiteral("/Empty.xml");
        WriteBytes(strEmpty, "<Main-Data>\r\n</Main-Data>\r\n");
        CXMLDocument empty;
        empty.Open(strEmpty);
        CAssignResultDlg none;
        none.m_pMain = &empty;
        QVERIFY(none.OnInitDialog());
        none.show();
        ClickOk(none);
        QCOMPARE(none.result(), int(QDialog::Rejected));

        // Line breaks come and go as CR LF; Enter makes one.
        CRemarkAddressDlg remark;
        remark.m_strRemark = QStringLiteral("a\r\nb");
        remark.m_strAddress = QStringLiteral("12");
        remark.OnInitDialog();
        remark.show();
        auto* pText = remark.findChild<QPlainTextEdit*>(QStringLiteral("1038"));
        pText->setFocus();
        pText->moveCursor(QTextCursor::End);
        QTest::keyClick(pText, Qt::Key_Return);
        KeyText(pText, kSpecial);
        Type(remark.findChild<QLineEdit*>(QStringLiteral("1072")), QStringLiteral("7"));
        ClickOk(remark);
        QCOMPARE(remark.m_strRemark, QStringLiteral("a\r\nb\r\n") + kSpecial);
        QCOMPARE(remark.m_strAddress, QStringLiteral("7"));
    }

    void importDialog_data()
    {
        QTest::addColumn<QString>("order");  // as saved
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("separator");
        QTest::addColumn<bool>("file");  // a file that exists is chosen
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QStringList>("selected");
        QTest::newRow("saved order 3;0;99") << "3;0;99" << 1 << 1 << true << QString()
                                            << QStringList{QStringLiteral("Vorname (Kunde)"), QStringLiteral("ID")};
        QTest::newRow("order without ID") << "3" << 1 << 1 << true << "Die Spaltenfolge muss die Spalte ID enthalten."
                                          << QStringList{QStringLiteral("Vorname (Kunde)")};
        QTest::newRow("other separator empty")
            << "0" << 1 << 4 << true << "Bitte geben Sie für das Trennzeichen ein Zeichen ein."
            << QStringList{QStringLiteral("ID")};
        QTest::newRow("no CSV file") << "0" << 1 << 1 << false << "Bitte wählen Sie eine gültige Datei aus."
                                     << QStringList{QStringLiteral("ID")};
        QTest::newRow("XML, no files") << "" << 0 << 0 << false << "Bitte wählen Sie eine gültige Datei aus."
                                       << QStringList();
    }
    void importDialog()
    {
        QFETCH(QString, order);
        QFETCH(int, mode);
        QFETCH(int, separator);
        QFETCH(bool, file);
        QFETCH(QString, shown);
        QFETCH(QStringList, selected);
        CImportSettings settings;
        settings.m_nMode = mode;
        settings.m_nSeparator = separator;
        settings.m_order = ParseColumnOrder(order);
        settings.Store();
        CRecordingSink sink;
        CImportLocationsDlg dlg;
        dlg.m_strMainFile = file ? m_strMain : QString();
        dlg.OnInitDialog();
        auto* pSelected = dlg.findChild<QListWidget*>(QStringLiteral("1054"));
        auto* pAvailable = dlg.findChild<QListWidget*>(QStringLiteral("1051"));
        QStringList labels;
        for (int i = 0; i < pSelected->count(); ++i)
            labels << pSelected->item(i)->text();
        QCOMPARE(labels, selected);
        QCOMPARE(pAvailable->count(), kImportColumnCount - selected.size());
        QCOMPARE(dlg.findChild<QLineEdit*>(QStringLiteral("1050"))->isEnabled(), mode == 1 && separator == 4);
        dlg.accept();
        QCOMPARE(sink.m_shown.isEmpty() ? QString() : sink.m_shown.first().first, shown);
        QCOMPARE(dlg.result() == QDialog::Accepted, shown.isEmpty());
        if (shown.isEmpty())
            QCOMPARE(CImportSettings::Load().m_order, dlg.m_order);
    }

    // A location's results are made when first asked for. A view tells the
    // locations with results without making them, then sees the results as
    // if they had always been there; a file changed in between is read anew.
    void resultsOnFirstUse_data()
    {
        QTest::addColumn<int>("change");
        QTest::newRow("file unchanged") << 0;
        QTest::newRow("a result taken out") << 1;
        QTest::newRow("another file loaded") << 2;
        QTest::newRow("file closed") << 3;
        QTest::newRow("commands on locations never opened") << 4;
    }
    void resultsOnFirstUse()
    {
        QFETCH(int, change);
        CQardaDoc doc(m_strMain, m_strResult);
        CLeftView view(&doc);
        view.RebuildTree();
        CLocationTree& tree = view.GetTree();
        view.resize(320, 2000);
        view.show();
        for (int i = 0; i < 3; ++i)
            view.expand(view.GetFilterModel()->IndexOf(tree.GetChild(nullptr, i)));
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        view.viewport()->repaint();
        QList<CLocationTreeItem*> waiting;
        for (int i = 0; i < 20; ++i)
            for (CLocationTreeItem* p : {tree.FindLocationItem(QStringLiteral("L%1").arg(i)),
                                         tree.FindUnassignedLocationItem(QStringLiteral("L%1").arg(i))})
                if (p && p->IsPending() && p->HasChildren())
                    waiting << p;
        QCOMPARE(waiting.size(), 20);

        CXMLDocument& result = doc.m_xmlResult;
        if (change == 1) {
            const pugi::xml_node first = result.GetDocumentElement().child("Result");
            result.NoteRemoving(first);
            QVERIFY(result.GetDocumentElement().remove_child(first));
            result.NoteRemoval();
        } else if (change == 2) {
            result.LoadXML(QStringLiteral("<Result-Data><Result><ID>L3</ID><Date>1</Date><Time>2</Time>"
                                          "<Function>U-Burden</Function></Result></Result-Data>"));
        } else if (change == 3) {
            result.Close();
        } else if (change == 4) {
            // Each on a tree filled afresh, as what a rebuild gives.
            CLocationFields fields = *ReadLocation(doc.m_xmlMain, QStringLiteral("L1"));
            fields.m_strID = QStringLiteral("L1x");
            CLocationStore& store = view.GetStore();
            const std::function<std::optional<CStoreChange>()> commands[] = {
                [&] { return store.EditLocation(QStringLiteral("L1"), fields, QStringLiteral("G0")); },
                [&] { return store.DeleteLocation(QStringLiteral("L2"), false); },
                [&] { return store.AssignResults(tree.FindUnassignedLocationItem(QStringLiteral("L16")), QStringLiteral("L0")); },
                [&] { return store.DeleteLocation(QStringLiteral("L3"), true); },
            };
            for (const auto& command : commands) {
                view.RebuildTree();
                QVERIFY(command());
                CLocationTree now;
                now.RebuildTree(doc.m_xmlMain, result);
                QCOMPARE(Outline(tree).remove(u'*'), Outline(now).remove(u'*'));
            }
            waiting.clear();
        }
        // What a summary may count instead of the file: only while nothing changed.
        std::vector<pugi::xml_node> noted;
        if (change != 4) {
            QCOMPARE(tree.GetNotedResults(waiting.front(), noted), change == 0);
            QCOMPARE(noted.empty(), change != 0);
        }
        // The model as a whole, fetching each location as it goes.
        QAbstractItemModelTester tester(view.GetFilterModel(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        for (const CLocationTreeItem* p : std::as_const(waiting))
            QVERIFY(!p->IsPending() && tree.GetNotedResults(p, noted) == !p->HasChildren());
        QCOMPARE(ModelOutline(view), Outline(tree));
        // Each location holds what a rebuild from the file as it is now puts there.
        CLocationTree now;
        now.RebuildTree(doc.m_xmlMain, result);
        if (change == 0 || change == 4)
            QCOMPARE(Outline(tree).remove(u'*'), Outline(now).remove(u'*'));
        for (int i = 0; i < 16; ++i) {
            const QString strId = QStringLiteral("L%1").arg(i);
            QCOMPARE(Outline(tree, nullptr, tree.FindLocationItem(strId)).remove(u'*'),
                     Outline(now, nullptr, now.FindLocationItem(strId)).remove(u'*'));
        }
        QCOMPARE(Outline(now).contains(QStringLiteral("U-Bürden")), change == 2);
    }

    // A search that hides the selected item leaves no row of the view
    // selected, also where another location's rows are open.
    void searchHidingTheSelection()
    {
        CQardaDoc doc(m_strMain, m_strResult);
        CLeftView view(&doc);
        view.RebuildTree();
        CLocationTree& tree = view.GetTree();
        CLocationTreeItem* pFolder = tree.FindLocationItem(QStringLiteral("L1"))->GetFirstChild();
        for (const CLocationTreeItem* p : {pFolder->GetParent()->GetParent(), pFolder->GetParent(), pFolder,
                                           tree.FindLocationItem(QStringLiteral("L13"))})
            view.expand(view.GetFilterModel()->IndexOf(p));
        tree.SelectItem(pFolder);
        view.SetFilterText(QStringLiteral("13"));
        QVERIFY(view.selectionModel()->selectedIndexes().isEmpty());
        QVERIFY(!view.currentIndex().isValid());
        QCOMPARE(tree.GetSelectedItem(), pFolder);
        view.SetFilterText(QString());
        QCOMPARE(view.GetFilterModel()->ItemOf(view.currentIndex()), pFolder);
    }

    // Through the pane: commands on the undo stack, and the search, which
    // follows the commands and keeps what the user had open and selected.
    void paneCommandsAndSearch()
    {
        CRecordingSink sink;
        sink.m_bAnswer = true;
        CQardaDoc doc(m_strMain, m_strResult);
        // In the layout the program writes.
        doc.m_xmlMain.Save();
        doc.m_xmlResult.Save();
        const QByteArray mainBefore = ReadBytes(m_strMain), resultBefore = ReadBytes(m_strResult);
        CLeftView view(&doc);
        view.resize(320, 640);
        view.RebuildTree();
        view.show();
        CLocationTree& tree = view.GetTree();

        // Assign an unassigned result, delete a result, and undo both.
        CLocationTreeItem* pUnassigned = tree.GetChild(nullptr, tree.GetChildCount(nullptr) - 1);
        QCOMPARE(pUnassigned->GetText(), QStringLiteral("Undefinierte Ergebnisse"));
        CLocationTreeItem* pResult = tree.NextItem(tree.NextItem(pUnassigned->GetFirstChild()));
        QVERIFY(!pResult->GetData().m_bIsContainer);
        const TreeItemData moved = pResult->GetData();
        tree.SelectItem(pResult);
        QVERIFY(view.IsCommandEnabled(IDS_CMD_ASSIGN_RESULT));
        QVERIFY(!view.IsCommandEnabled(IDS_CMD_EDIT_LOCATION));
        QVERIFY(view.Push(view.GetStore().AssignResults(pResult, QStringLiteral("L0"))));
        const TreeItemData* pNow = view.GetSelectedData();
        QCOMPARE(pNow->m_strName, QStringLiteral("L0"));
        QCOMPARE(pNow->m_strDate + pNow->m_strTime, moved.m_strDate + moved.m_strTime);
        view.OnDeleteResults();
        QCOMPARE(view.GetUndoStack()->count(), 2);
        view.GetUndoStack()->undo();
        view.GetUndoStack()->undo();
        QCOMPARE(ReadBytes(m_strMain), mainBefore);
        QCOMPARE(ReadBytes(m_strResult), resultBefore);
        view.GetUndoStack()->redo();
        QCOMPARE(view.GetSelectedData()->m_strName, QStringLiteral("L0"));

        auto check = [&](const QString& strText) {
            QCoreApplication::processEvents();
            CTreeFilter filter;  // apart from the pane's own
            filter.SetText(strText);
            filter.IndexLocations(doc.m_xmlMain);
            // The widget's current item is the tree's selection whenever it is shown.
            QCOMPARE(ModelOutline(view), Outline(tree, &filter));
        };
        // What the user had open and selected before searching.
        CLocationTreeItem* pGroup = tree.FindGroupItem(QStringLiteral("G1"));
        view.expand(view.GetFilterModel()->IndexOf(pGroup));
        CLocationTreeItem* pPicked = pGroup->GetChild(1);
        tree.SelectItem(pPicked);
        for (const QString& strText : {QStringLiteral("l1"), QStringLiteral("k&1"), QStringLiteral("g2"),
                                       QStringLiteral("L17"), QStringLiteral("nothing")}) {
            view.SetFilterText(strText);
            check(strText);
        }
        view.SetFilterText(QString());
        check(QString());
        QVERIFY(view.isExpanded(view.GetFilterModel()->IndexOf(pGroup)));
        QVERIFY(!view.isExpanded(view.GetFilterModel()->IndexOf(tree.FindGroupItem(QStringLiteral("G2")))));
        QCOMPARE(view.GetFilterModel()->ItemOf(view.currentIndex()), pPicked);

        // A location with results, found by its ID alone.
        QString strId;
        for (int i = 2; i < 10 && strId.isEmpty(); ++i)
            if (tree.FindLocationItem(QStringLiteral("L%1").arg(i))->HasChildren())
                strId = QStringLiteral("L%1").arg(i);
        QVERIFY(!strId.isEmpty());
        view.SetFilterText(strId);
        check(strId);
        QVERIFY(!ModelOutline(view).contains(QStringLiteral("Undefinierte Ergebnisse")));
        // Its results go to the hidden unassigned node, which the search finds now.
        QVERIFY(view.Push(view.GetStore().DeleteLocation(strId, false)));
        check(strId);
        QVERIFY(ModelOutline(view).startsWith(QStringLiteral("Undefinierte Ergebnisse{") + strId));
        view.GetUndoStack()->undo();
        check(strId);
        QVERIFY(sink.m_shown.isEmpty());
        // Files read anew: nothing to undo any more.
        view.RebuildTree();
        QVERIFY(!view.GetUndoStack()->canUndo());
    }
};

QTEST_MAIN(TestLocationDialogs)
#include "tst_locationdialogs.moc"
