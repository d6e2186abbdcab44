// The measurement tables through the result view. On the screen: each kind's
// titles, row heads and cells, no text outside its cell or the window. On
// paper: page counts and what each page holds for the paginated kinds,
// nothing blank, everything inside the header's margins, the values in the
// PDF.

#include "../common/TestSupport.h"
#include "../view/PaintRecorder.h"
#include "../view/TableTestData.h"
#include "ViewUiTestData.h"

#include "core/RegSettings.h"
#include "view/QardaView.h"
#include "xml/QardaDoc.h"

#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

using TableData::CKindData;

namespace {

const QString kDate = QStringLiteral("14.03.2024");

QString TimeOf(int i)
{
    return QStringLiteral("11:%1:00").arg(i, 2, 10, QLatin1Char('0'));
}

// The kinds of the table data, then the boundary cases of the paginated kinds.
QList<CKindData> Results()
{
    using namespace TableData;
    const QString strRegister = QStringLiteral("Type=RegisterTest;#MM=LoadPoint;#Energy=1.0;kWh");
    return Kinds() << CKindData{"selective14", ResultKind::Selective, "Selektiv-Measurement", SelectiveEntries(14), {}}
                   << CKindData{"selective15", ResultKind::Selective, "Selektiv-Measurement", SelectiveEntries(15), {}}
                   << CKindData{"selective8", ResultKind::Selective, "Selektiv-Measurement", SelectiveEntries(8), {}}
                   << CKindData{"accuracy10", ResultKind::Automatic, "Automatic-Measurement",
                                Steps(AccuracySteps(10)), {}}
                   << CKindData{"register8", ResultKind::Automatic, "Automatic-Measurement",
                                Steps(QStringList(8, strRegister)), {}}
                   << CKindData{"register9", ResultKind::Automatic, "Automatic-Measurement",
                                Steps(QStringList(9, strRegister)), {}}
                   << CKindData{"selective_remark", ResultKind::Selective, "Selektiv-Measurement",
                                SelectiveEntries(3) + QStringLiteral("Remark=Zähler getauscht"),
                                QStringLiteral("Bemerkung: Zähler getauscht")};
}

// Results of the view's data file with the texts of their pages.
struct CViewResult
{
    const char* m_pszName;
    ResultKind m_nKind;
    QString m_strDate, m_strTime, m_expected, m_strPlaceNo = {};
};

QList<CViewResult> ViewResults()
{
    using namespace ViewUiData;
    return {{"values", ResultKind::Value, kValueDate, kValueTime,
             QStringLiteral("Datum: 14.03.2024|Uhrzeit: 10:21:33|KOLT GmbH|Typ: PX900|Nr:  123456|ID: ZP-4711|"
                            "Zählerdaten|Hersteller: Zählerbau|Fabrik Nr.: F-998877|Eigentumsnr.: E-1234|"
                            "Betreiber: Netz AG|Lieferant: Strom GmbH|Standort|Umspannwerk Nord|Nr: S-12|Kunde|"
                            "Erika Mustermann|Nr: K-77|Messwerte : Istwerte|230.12")},
            {"vectors", ResultKind::Vector, kValueDate, kValueTime, QStringLiteral("U1")},
            {"error_place2", ResultKind::Error, kErrorDate, kErrorTime,
             QStringLiteral("Messplatznr.: 2|Messwerte : Fehlermessung"), QStringLiteral("2")},
            {"harmonics50", ResultKind::Harmonics, QStringLiteral("16.03.2024"), kHarm50Time,
             QStringLiteral("Messwerte : Harmonische")}};
}

// Steps of an automatic measurement, or rows of a selective or harmonics
// table, on a page.
int Markers(const QStringList& texts)
{
    static const QRegularExpression kOrder(QStringLiteral("^\\d{1,2}$"));
    return static_cast<int>(std::count_if(texts.begin(), texts.end(), [](const QString& s) {
        return s.startsWith(u"Type: ") || kOrder.match(s).hasMatch();
    }));
}

// Every op inside the rectangle; with bCells every text also inside any cell
// frame that holds its centre.
void CheckInside(const CRecordingDevice& dev, const QRectF& inside, bool bCells)
{
    const QList<CPaintOp> cells = dev.OfKind(CPaintOp::Rects);
    for (const CPaintOp& op : dev.Ops()) {
        QList<QRectF> boxes = op.m_rects;
        if (op.m_kind == CPaintOp::Text || op.m_kind == CPaintOp::Ellipse || op.m_kind == CPaintOp::Pixmap)
            boxes.append(op.m_rect);
        for (const QLineF& line : op.m_lines)
            boxes.append(QRectF(line.p1(), line.p2()).normalized());
        if (!op.m_polygon.isEmpty())
            boxes.append(op.m_polygon.boundingRect());
        for (const QRectF& box : boxes) {
            const QRectF r = op.m_transform.mapRect(box);
            QVERIFY2(inside.contains(r), qPrintable(QStringLiteral("%1 at %2,%3-%4,%5")
                                                        .arg(op.m_strText).arg(r.left()).arg(r.top())
                                                        .arg(r.right()).arg(r.bottom())));
        }
        if (!bCells || op.m_kind != CPaintOp::Text)
            continue;
        for (const CPaintOp& frame : cells)
            for (const QRectF& cell : frame.m_rects)
                if (cell.contains(op.m_rect.center()))
                    QVERIFY2(cell.adjusted(-1, -1, 1, 1).contains(op.m_rect), qPrintable(op.m_strText));
    }
}

} // namespace

class TestTablePrint : public QObject
{
    Q_OBJECT

private:
    // Results from -1 down are those of the view's data file.
    void Show(CQardaView& view, int nResult)
    {
        if (nResult < 0) {
            const CViewResult r = ViewResults()[-nResult - 1];
            view.ShowResult(r.m_nKind, ViewUiData::kId, r.m_strDate, r.m_strTime, r.m_strPlaceNo, {});
            QCOMPARE(view.GetKind(), r.m_nKind);
            return;
        }
        const CKindData d = Results()[nResult];
        view.ShowResult(d.m_nKind, ViewUiData::kId, kDate, TimeOf(nResult), {}, {});
        if (d.m_nKind == ResultKind::Error)  // its display mode is the digit in its name
            view.SetValueMode(M(QChar::fromLatin1(d.m_pszKind[5]).digitValue()));
        QCOMPARE(view.GetKind(), d.m_nKind);
    }

    QTemporaryDir m_dir;
    QString m_strMain, m_strResult;

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        UseTemporarySettings(m_dir);
        CRegSettings::SetOrganisation();
        m_strMain = m_dir.filePath(QStringLiteral("Main.xml"));
        m_strResult = m_dir.filePath(QStringLiteral("Result.xml"));
        QString strResults;
        const QList<CKindData> results = Results();
        for (int i = 0; i < results.size(); ++i)
            strResults += TableData::ResultElement(results[i], TimeOf(i));
        QVERIFY(ViewUiData::WriteFile(m_strMain, ViewUiData::MainFile()));
        QVERIFY(ViewUiData::WriteFile(m_strResult,
                                      ViewUiData::ResultFile().replace(QStringLiteral("</Result-Data>"),
                                                                       strResults + QStringLiteral("</Result-Data>"))));
    }

    void screen_data()
    {
        QTest::addColumn<int>("result");
        QTest::addColumn<QSize>("size");
        for (int i = 0; i < TableData::Kinds().size(); ++i)
            for (const QSize& size : {QSize(800, 600), QSize(1920, 1080)})
                QTest::addRow("%s_%dx%d", Results()[i].m_pszKind, size.width(), size.height()) << i << size;
    }

    void screen()
    {
        QFETCH(int, result);
        QFETCH(QSize, size);
        const CKindData d = Results()[result];
        CQardaDoc doc(m_strMain, m_strResult);
        CQardaView view(&doc);
        Show(view, result);
        QSize used;
        const auto pDev =
            Record(size, [&](QPainter& painter) { used = view.OnDraw(&painter, QRect(QPoint(0, 0), size)); });
        QVERIFY(used.height() <= size.height());
        QVERIFY2(pDev->TextsAmiss(d.m_expected).isEmpty(),
                 qPrintable(pDev->TextsAmiss(d.m_expected) + QStringLiteral(" in ") + pDev->Texts().join(u'|')));
        CheckInside(*pDev, QRectF(QPoint(0, 0), size), true);
    }

    void printed_data()
    {
        QTest::addColumn<int>("result");
        QTest::addColumn<bool>("landscape");
        QTest::addColumn<QList<int>>("markersPerPage");  // empty: one page, not counted
        const QHash<QByteArray, QList<int>> paged = {
            {"selective14_portrait", {14}},        {"selective14_landscape", {7, 7}},
            {"selective15_portrait", {14, 1}},     {"selective15_landscape", {7, 8}},
            {"selective8_portrait", {8}},          {"selective8_landscape", {7, 1}},
            {"accuracy10_portrait", {10}},         {"accuracy10_landscape", {6, 4}},
            {"register8_portrait", {8}},           {"register8_landscape", {5, 3}},
            {"register9_portrait", {8, 1}},        {"register9_landscape", {5, 4}},
            {"harmonics50_portrait", {14, 35, 1}}, {"harmonics50_landscape", {7, 20, 20, 3}},
        };
        const QList<CKindData> results = Results();
        for (const char* pszOrientation : {"portrait", "landscape"}) {
            const bool bLandscape = qstrcmp(pszOrientation, "landscape") == 0;
            const auto row = [&](int nResult, const char* pszName) {
                const QByteArray tag = QByteArray(pszName) + '_' + pszOrientation;
                QTest::newRow(tag.constData()) << nResult << bLandscape << paged.value(tag);
            };
            for (int i = 0; i < ViewResults().size(); ++i)
                row(-i - 1, ViewResults()[i].m_pszName);
            for (int i = 0; i < results.size(); ++i)
                row(i, results[i].m_pszKind);
        }
    }

    void printed()
    {
        QFETCH(int, result);
        QFETCH(bool, landscape);
        QFETCH(QList<int>, markersPerPage);
        CQardaDoc doc(m_strMain, m_strResult);
        CQardaView view(&doc);
        Show(view, result);
        view.GetPrinter()->setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
        const QString strTag = QString::fromLatin1(QTest::currentDataTag());
        const QString strPdf = m_dir.filePath(QStringLiteral("print_%1.pdf").arg(strTag));
        QVERIFY(view.PrintToPdf(strPdf));
        const int nPages = view.GetPageCount(landscape);
        QCOMPARE(nPages, qMax(1, int(markersPerPage.size())));

        // Every page draws something, all of it inside the header's left and
        // right edge and below the top margin.
        const QSize page = landscape ? QSize(3508, 2480) : QSize(2480, 3508);
        const int w = page.width(), h = page.height(), nTol = w / 500 + 1;
        QStringList allTexts;
        for (int n = 1; n <= nPages; ++n) {
            const auto pDev = Record(
                page, [&](QPainter& painter) { view.DrawPrintPage(&painter, page, n, nPages); }, 300);
            QVERIFY2(pDev->Texts().size() > (n == 1 ? 20 : 2), "the page is not blank");
            if (!markersPerPage.isEmpty())
                QCOMPARE(Markers(pDev->Texts()), markersPerPage[n - 1]);
            allTexts += pDev->Texts();
            CheckInside(*pDev, QRectF(w / 20 - nTol, h / 30 - nTol, w - w / 10 + 2 * nTol, h - h / 30 + 2 * nTol),
                        false);
        }

        // The values are on paper, as painted and as a PDF reader finds them.
        const QString strExpected = result >= 0 ? Results()[result].m_expected : ViewResults()[-result - 1].m_expected;
        const QStringList expected = strExpected.split(u'|', Qt::SkipEmptyParts);
        QString strPdfText;
        if (!QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()) {
            QProcess text;
            text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), strPdf, QStringLiteral("-")});
            QVERIFY(text.waitForFinished(30000));
            strPdfText = QString::fromUtf8(text.readAllStandardOutput());
            QCOMPARE(strPdfText.count(QLatin1Char('\f')), nPages);
            strPdfText = strPdfText.simplified();  // a reader's layout has its own blanks
        }
        for (const QString& strText : expected) {
            if (strText.startsWith(u'!'))
                continue;
            QVERIFY2(allTexts.contains(strText), qPrintable(strText));
            if (!strPdfText.isEmpty() && strText.size() > 3)
                QVERIFY2(strPdfText.contains(strText.simplified()),
                         qPrintable(strText + QStringLiteral(" not in the PDF")));
        }
    }
};

QTEST_MAIN(TestTablePrint)
#include "tst_tableprint.moc"
