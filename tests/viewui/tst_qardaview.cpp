// The result view: what showing a result loads and draws, the mode rules,
// the context menu, the vector settings, the page header, printing errors,
// the location pane and scrolling.

#include "../common/TestSupport.h"
#include "../view/PaintRecorder.h"
#include "ViewUiTestData.h"

#include "core/RegSettings.h"
#include "locations/LocationTree.h"
#include "view/LocationPane.h"
#include "view/PageHeader.h"
#include "view/QardaView.h"
#include "view/VectorSettingsDlg.h"
#include "xml/QardaDoc.h"

#include <QAbstractButton>
#include <QApplication>
#include <QImage>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>

using namespace ViewUiData;

class TestQardaView : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<CRecordingDevice> Draw(const QSize& size = QSize(1000, 700))
    {
        return Record(size, [&](QPainter& painter) { m_pView->OnDraw(&painter, QRect(QPoint(0, 0), size)); });
    }

    // Steps: "S<kind>" shows the first test result of that kind, "S<kind>b" the
    // second, ".<n>" with place number n (kind 13: sample n); "N" a result of
    // an unknown location; "V<mode>" SetValueMode, "H<mode>" SetHarmonicsMode;
    // "C" closes both files and removes the result file.
    void Run(const QString& strSteps)
    {
        // Per kind: the date and the times of the first and the second result.
        const QHash<int, QStringList> results = {{3, {kValueDate, kValueTime, kRemarkTime}},
                                                 {6, {QStringLiteral("16.03.2024"), kHarm15Time}},
                                                 {7, {kErrorDate, kErrorTime, kErrorEmptyPlaceTime}},
                                                 {8, {kSeriesDate, kRegisterTime}},
                                                 {12, {kSeriesDate, kSeriesTime, kSeries2Time}},
                                                 {13, {kSeriesDate, kSeriesTime, kSeries2Time}},
                                                 {19, {{}, {}}}};
        for (const QString& strStep : strSteps.split(u' ')) {
            const QString strNo = strStep.section(u'.', 1);
            const int n = strStep.mid(1).section(u'.', 0, 0).remove(u'b').toInt();
            if (strStep.startsWith(u'V')) {
                m_pView->SetValueMode(M(n));
            } else if (strStep.startsWith(u'H')) {
                m_pView->SetHarmonicsMode(M(n));
            } else if (strStep == u"N") {
                m_pView->ShowResult(K(3), QStringLiteral("nobody"), kValueDate, kValueTime, {}, {});
            } else if (strStep == u"C") {
                m_pDoc->m_xmlResult.Close();
                m_pDoc->m_xmlMain.Close();
                QVERIFY(QFile::remove(m_strResult));
            } else {
                const QStringList r = results.value(n);
                m_pView->ShowResult(K(n), kId, r[0], r[strStep.contains(u'b') ? 2 : 1], n == 13 ? QString() : strNo,
                                    n == 13 ? strNo : QString());
            }
        }
    }

    QTemporaryDir m_dir;
    QString m_strMain, m_strResult;
    std::unique_ptr<CQardaDoc> m_pDoc;
    std::unique_ptr<CQardaView> m_pView;

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        UseTemporarySettings(m_dir);
        CRegSettings::SetOrganisation();
        m_strMain = m_dir.filePath(QStringLiteral("Main.xml"));
        m_strResult = m_dir.filePath(QStringLiteral("Result.xml"));
    }

    void init()
    {
        QVERIFY(WriteFile(m_strMain, MainFile()));
        QVERIFY(WriteFile(m_strResult, ResultFile()));
        m_pDoc = std::make_unique<CQardaDoc>(m_strMain, m_strResult);
        QVERIFY(m_pDoc->m_xmlMain.IsValid());
        QVERIFY(m_pDoc->m_xmlResult.IsValid());
        m_pView = std::make_unique<CQardaView>(m_pDoc.get());
        m_pView->resize(1000, 700);
    }

    void cleanup()
    {
        m_pView.reset();
        m_pDoc.reset();
    }

    // Steps (see Run), then the kind and mode shown, the voltage of L1 in the
    // cache, the reads of the result file, the context menu (empty: none; "+":
    // with the vector settings) and the texts drawn ("!": not drawn).
    void show_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("upn1");
        QTest::addColumn<int>("reads");
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QString>("texts");
        const auto row = [](const char* pszName, const char* pszSteps, int nKind, int nMode, const char* pszUPN1,
                            int nReads, const char* pszMenu, const char* pszTexts = "") {
            QTest::newRow(pszName) << QString::fromLatin1(pszSteps) << nKind << nMode << QString::fromLatin1(pszUPN1)
                                   << nReads << QString::fromLatin1(pszMenu) << QString::fromUtf8(pszTexts);
        };
        row("values", "S3", 3, 0, "230.12;V", 1, "values", "230.12|!Bemerkung: Zähler getauscht");
        row("values with remark", "S3b", 3, 0, "231.00;V", 1, "values", "231.00|Bemerkung: Zähler getauscht");
        // Kinds without place numbers ignore it: the first of the triple.
        row("values ignore Place-No", "S3.99", 3, 0, "230.12;V", 1, "values");
        row("vectors command", "S3 V1", 4, 1, "230.12;V", 1, "values+", "U2|I3");
        row("values after vectors", "S3 V1 S3", 3, 0, "230.12;V", 2, "values");
        // Once loaded, a result draws in every mode without the files.
        row("files closed", "S3 C V8", 3, 8, "230.12;V", 1, "values", "230.12|U2");
        row("harmonics load as table", "S6", 6, 2, "", 1, "harmonics", "Kanal|Betrag|0|14");
        row("harmonics reload resets", "S6 H3 S6", 6, 2, "", 2, "harmonics");
        row("error: missing Place-No", "S7", 7, 5, "233.33;V", 1, "error", "0.05 %");
        row("error: given Place-No", "S7.2", 7, 5, "222.22;V", 1, "error", "0.12 %");
        row("error: empty Place-No element", "S7b", 7, 5, "244.44;V", 1, "error", "0.08 %");
        row("error: unknown Place-No", "S7.3", 19, 9, "", 1, "");
        row("error both", "S7 V7", 7, 7, "233.33;V", 1, "error");
        row("error vectors", "S7 V6", 7, 6, "233.33;V", 1, "error+");
        row("error view survives other kinds", "S7 V6 S3 S6 S7", 7, 6, "233.33;V", 4, "error+");
        row("register test", "S3 S8", 8, 9, "", 2, "");
        row("continuous keeps the mode", "S6 H4 S12", 12, 4, "", 2, "continuous");
        row("sample shows values", "S12 S13.1", 3, 0, "201.00;V", 1, "values", "201.00");
        row("sample of the loaded series reads no file", "S12 C S13.2 S13.3", 3, 0, "203.00;V", 1, "values", "203.00");
        row("sample of another series", "S12 S13b.2", 3, 0, "212.00;V", 2, "values");
        row("unknown sample reads the file", "S12 S13b.2 S13b.9", 3, 0, "", 3, "values");
        row("nothing", "S3 S19", 19, 9, "", 1, "");
        row("not found", "S7 N", 19, 9, "", 2, "");
    }

    void show()
    {
        QFETCH(QString, steps);
        QFETCH(QString, menu);
        QFETCH(QString, texts);
        const QStringList names = {QStringLiteral("values"), QStringLiteral("harmonics"), QStringLiteral("continuous"),
                                   QStringLiteral("error")};
        QMenu menus[4];
        for (int m = 0; m < 4; ++m)
            for (int i = 0; i < 3; ++i)
                menus[m].addAction(names[m] + QString::number(i));
        QAction vectorSettings(QStringLiteral("&Vektoren..."));
        m_pView->SetContextMenus(&menus[0], &menus[1], &menus[2], &menus[3], &vectorSettings);

        QSignalSpy spy(m_pView.get(), &CQardaView::ModeChanged);
        Run(steps);
        QTEST(ToInt(m_pView->GetKind()), "kind");
        QTEST(ToInt(m_pView->GetMode()), "mode");
        QCOMPARE(spy.count(), steps.count(u' ') + 1 - steps.count(u'C'));  // one per step but closing the files
        QTEST(m_pView->GetCache().m_strValues[kQtyUPN][0], "upn1");
        QTEST(m_pView->GetFileReadCount(), "reads");
        // A result shown keeps its location for the page header, files closed or not.
        QVERIFY(m_pView->GetKind() == ResultKind::Nothing || m_pView->GetLocation().m_strManufNo == u"F-998877");

        // The frame's own actions, so that its handlers serve them.
        std::unique_ptr<QMenu> pMenu(m_pView->CreateContextMenu(nullptr));
        QCOMPARE(pMenu != nullptr, !menu.isEmpty());
        const bool bVectorItem = menu.endsWith(u'+');
        if (pMenu) {
            const QList<QAction*> actions = pMenu->actions();
            QCOMPARE(actions.mid(0, 3), menus[names.indexOf(bVectorItem ? menu.chopped(1) : menu)].actions());
            QCOMPARE(actions.size(), bVectorItem ? 5 : 3);
            QVERIFY(!bVectorItem || (actions[3]->isSeparator() && actions[4] == &vectorSettings));
        }

        const auto pDevice = Draw();
        QVERIFY2(pDevice->TextsAmiss(texts).isEmpty(), qPrintable(pDevice->TextsAmiss(texts)));
        // A remark box takes the bottom tenth from a tenth of the width; the
        // values stay above it.
        const QString strRemark = QStringLiteral("Bemerkung: ") + kRemark;
        if (const CPaintOp* pRemark = pDevice->FindText(strRemark)) {
            QVERIFY(pRemark->m_rect.top() >= 700 * 0.9 - 1 && pRemark->m_rect.left() >= 1000 / 10);
            for (const CPaintOp& op : pDevice->OfKind(CPaintOp::Text))
                QVERIFY2(op.m_strText == strRemark || op.m_rect.bottom() <= 700 * 0.9 + 1, qPrintable(op.m_strText));
        }
    }

    // The dialog over the settings as stored of old: colours as 0x00BBGGRR.
    void vectorSettings()
    {
        CRegSettings reg;
        reg.SetDWORD(QStringLiteral("ColorU1"), 0x001E140A);
        QColor picked(1, 2, 3);
        const auto previous = CVectorSettingsDlg::SetColourPicker([&](const QColor&, QWidget*) { return picked; });
        {
            // Cancel writes nothing.
            CVectorSettingsDlg dlg;
            QCOMPARE(dlg.GetSettings().m_colours[0], QColor(10, 20, 30));
            dlg.GetControl(1060)->click();
            dlg.GetControl(1066)->click();
            dlg.reject();
            QCOMPARE(LoadVectorSettings().m_colours[1], QColor(0, 255, 0));
            QCOMPARE(LoadVectorSettings().m_nReference, int(kVectorRefRange));
        }
        {
            CVectorSettingsDlg dlg;
            QVERIFY(dlg.GetControl(1065)->isChecked());
            dlg.GetControl(1060)->click();  // U2 gets the picked colour
            picked = QColor();              // the user cancels the colour of I3
            dlg.GetControl(1064)->click();
            dlg.GetControl(1066)->click();
            dlg.accept();
        }
        CVectorSettingsDlg::SetColourPicker(previous);
        QCOMPARE(reg.GetDWORD(QStringLiteral("ColorU2")), quint32(0x030201));
        QCOMPARE(reg.GetDWORD(QStringLiteral("VektorBezug"), 7), quint32(kVectorRefMaximum));
        const CVectorSettings saved = LoadVectorSettings();
        QCOMPARE(saved.m_nReference, int(kVectorRefMaximum));
        QCOMPARE(saved.m_colours[0], QColor(10, 20, 30));
        QCOMPARE(saved.m_colours[1], QColor(1, 2, 3));
        QCOMPARE(saved.m_colours[5], QColor(0, 0, 128));
        reg.SetDWORD(QStringLiteral("Norm"), 1);
        QCOMPARE(LoadAngleNorm(), int(kNormDIN410));
        reg.SetDWORD(QStringLiteral("Norm"), 0);

        // The view draws with the settings once it reloads them.
        Run(QStringLiteral("S3 V1"));
        m_pView->ReloadVectorSettings();
        QCOMPARE(Draw()->FindText(QStringLiteral("U2"))->m_pen.color(), QColor(1, 2, 3));
        SaveVectorSettings(CVectorSettings());
    }

    // Harmonics page counts the printed tables do not reach (those are checked
    // on paper by the table print test): further pages filled exactly, a chart.
    void pageCount_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("pages");
        QTest::newRow("table of 49: two full pages") << 2 << 49 << 2;
        QTest::newRow("logarithmic chart") << 4 << 50 << 1;
    }

    void pageCount()
    {
        QFETCH(int, mode);
        QFETCH(int, rows);
        QTEST(PrintPageCount(ResultKind::Harmonics, M(mode), rows, false), "pages");
    }

    // The header of page 1: the title line (another for a device that is not
    // adjusted) and the logo, drawn when it can be read.
    void pageHeader_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("adjust");
        QTest::addColumn<QString>("logo");
        QTest::addColumn<QString>("title");
        QTest::newRow("values") << 3 << QStringLiteral("OK") << QString() << QStringLiteral("Messwerte : Istwerte");
        QTest::newRow("not adjusted, missing logo")
            << 7 << QStringLiteral("Error") << QStringLiteral("missing.bmp")
            << QStringLiteral("Messwerte (nicht justiertes Gerät) : Fehlermessung");
        QTest::newRow("PQS, not a bitmap")
            << 18 << QString() << QStringLiteral("garbage.bmp") << QStringLiteral("Messwerte : Registertest - PQS");
        QTest::newRow("sample has no title, logo")
            << 13 << QString() << QStringLiteral("logo.bmp") << QStringLiteral("Messwerte : ");
    }

    void pageHeader()
    {
        QFETCH(int, kind);
        QFETCH(QString, adjust);
        QFETCH(QString, logo);
        QFETCH(QString, title);
        QImage image(40, 20, QImage::Format_RGB32);
        image.fill(Qt::blue);
        QVERIFY(image.save(m_dir.filePath(QStringLiteral("logo.bmp")), "BMP"));
        QVERIFY(WriteFile(m_dir.filePath(QStringLiteral("garbage.bmp")), QStringLiteral("BM no bitmap")));
        CResultCache cache;
        cache.m_strDate = kValueDate;
        cache.m_strAdjustData = adjust;
        QCOMPARE(HeaderTitleLine(cache, K(kind)), title);

        CLocationCache location;
        location.m_strID = kId;
        int nHeight = 0;
        const auto pDevice = Record(QSize(2000, 2800), [&](QPainter& painter) {
            nHeight = DrawPageHeader(&painter, QRect(100, 100, 1800, 700), cache, location, K(kind),
                                     logo.isEmpty() ? QString() : m_dir.filePath(logo), CTextPainter());
        });
        QVERIFY(nHeight > 0);
        QVERIFY(pDevice->FindText(QStringLiteral("ID: ") + kId) && pDevice->FindText(title));
        const QList<CPaintOp> images = pDevice->OfKind(CPaintOp::Pixmap);
        QCOMPARE(images.size(), logo == u"logo.bmp" ? 1 : 0);
        // Smaller than its cell: own size, centred, left of the date column.
        for (const CPaintOp& op : images) {
            QCOMPARE(op.m_rect.size(), QSizeF(40, 20));
            QVERIFY(op.m_rect.right() < 100 + 1800 * 3 / 4 && op.m_rect.left() > 100);
        }
    }

    void printToUnwritablePath()
    {
        CRecordingSink sink;
        Run(QStringLiteral("S3"));
        const QString strPath = m_dir.filePath(QStringLiteral("no/such/folder/out.pdf"));
        QVERIFY(!m_pView->PrintToPdf(strPath));
        QCOMPARE(sink.m_shown.size(), 1);
        QVERIFY(sink.m_shown[0].first.contains(strPath));
        QVERIFY(!QFile::exists(strPath));
    }

    void locationPane_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("counts");  // locations, then kind:count in the order of the kinds
        QTest::addColumn<QString>("shown");   // the title first
        const QString strCounts = QStringLiteral("3:2 6:3 7:4 8:1 12:2");
        QTest::newRow("location") << 1 << kId << QStringLiteral("-1 ") + strCounts
                                  << QStringLiteral(
                                         "Ort: ZP-4711|Erika Mustermann|12345 Musterstadt|K-77|Netz AG|Zähler|"
                                         "F-998877|Fehlermessung|Gesamt|12");
        QTest::newRow("group") << 0 << QStringLiteral("Nord") << QStringLiteral("1 ") + strCounts
                               << QStringLiteral("Gruppe: Nord|Orte|Fortlaufende Istwerte|12");
        QTest::newRow("quote in the ID, nothing found")
            << 1 << QStringLiteral("X\"1") << QStringLiteral("-1") << QStringLiteral("Ort: X\"1|Gesamt|0");
        QTest::newRow("unknown group") << 0 << QStringLiteral("Süd") << QStringLiteral("0")
                                       << QStringLiteral("Gruppe: Süd|0");
    }

    void locationPane()
    {
        QFETCH(int, kind);
        QFETCH(QString, name);
        QFETCH(QString, shown);
        m_pView->ShowLocation(K(kind), name);
        QVERIFY(m_pView->GetLocationSummary());
        const CLocationSummary& summary = *m_pView->GetLocationSummary();
        QStringList counts{QString::number(summary.m_nLocations)};
        for (const auto& count : summary.m_counts)
            counts.append(QStringLiteral("%1:%2").arg(ToInt(count.first)).arg(count.second));
        QTEST(counts.join(u' '), "counts");

        // Counted from the results a freshly filled tree noted: the same.
        CLocationTree tree;
        tree.RebuildTree(m_pDoc->m_xmlMain, m_pDoc->m_xmlResult);
        const CLocationTreeItem* pItem = kind ? tree.FindLocationItem(name) : tree.FindGroupItem(name);
        std::vector<pugi::xml_node> noted;
        if (pItem)
            QVERIFY(tree.GetNotedResults(pItem, noted));
        const CLocationSummary fromTree = ReadLocationSummary(m_pDoc.get(), K(kind), name, &noted);
        QCOMPARE(fromTree.m_counts, summary.m_counts);
        QCOMPARE(fromTree.m_nTotal, summary.m_nTotal);

        // Drawn at a readable height; what does not fit is left to scrolling.
        QSize needed;
        const auto pDevice = Record(QSize(300, 200), [&](QPainter& painter) {
            needed = DrawLocationPane(&painter, QRect(0, 0, 300, 200), summary, 12);
        });
        QCOMPARE(pDevice->Texts().constFirst(), shown.section(u'|', 0, 0));
        QVERIFY2(pDevice->TextsAmiss(shown).isEmpty(), qPrintable(pDevice->TextsAmiss(shown)));
        for (const CPaintOp& op : pDevice->OfKind(CPaintOp::Text))
            QVERIFY(op.m_rect.bottom() <= needed.height());
        QCOMPARE(needed.height() > 200, summary.m_sections.size() > 0);

        // Selecting a result afterwards shows the result again.
        Run(QStringLiteral("S3"));
        QVERIFY(!m_pView->GetLocationSummary());
    }

    // The results of the kind filed under the ID, in date order (places of one
    // result together); no others.
    void history_data()
    {
        QTest::addColumn<ResultKind>("kind");
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("times");
        QTest::newRow("values") << ResultKind::Value << kId << kValueTime + u' ' + kRemarkTime;
        QTest::newRow("errors") << ResultKind::Error << kId
                                << kErrorTime + u' ' + kErrorEmptyPlaceTime;
        QTest::newRow("harmonics") << ResultKind::Harmonics << kId << QStringList{kHarm15Time, QStringLiteral("13:41:00"), kHarm50Time}.join(u' ');
        QTest::newRow("vectors, none") << ResultKind::Vector << kId << QString();
        QTest::newRow("other ID") << ResultKind::Value << QStringLiteral("ZP-47") << QString();
    }

    void history()
    {
        QFETCH(ResultKind, kind);
        QFETCH(QString, id);
        m_pView->ShowHistory(kind, id);
        QVERIFY(m_pView->GetHistory());
        QStringList times;
        for (const CHistory::CResult& r : m_pView->GetHistory()->m_results)
            times.append(r.m_strTime);
        QTEST(times.join(u' '), "times");
    }

    void smallWindowScrolls()
    {
        Run(QStringLiteral("S3b"));
        m_pView->resize(260, 180);
        m_pView->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_pView.get()));
        QTRY_VERIFY(m_pView->widget()->height() > m_pView->viewport()->height());
        // Every text keeps the readable height, however small the window.
        for (const CPaintOp& op : Draw(m_pView->viewport()->size())->OfKind(CPaintOp::Text))
            QVERIFY2(op.m_font.pixelSize() >= CQardaView::kMinScreenFontHeight, qPrintable(op.m_strText));
        // Grown back, the scroll bars go again, and the widget shows the table.
        m_pView->resize(1000, 700);
        QTRY_COMPARE(m_pView->widget()->size(), m_pView->viewport()->size());
        const QImage image = m_pView->grab().toImage();
        int nDark = 0;
        for (int y = 0; y < image.height(); y += 2)
            for (int x = 0; x < image.width(); x += 2)
                nDark += qGray(image.pixel(x, y)) < 128;
        QVERIFY2(nDark > 100, "the grabbed view shows the table");
    }
};

QTEST_MAIN(TestQardaView)
#include "tst_qardaview.moc"
