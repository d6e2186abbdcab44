// The measurement tables through the result view: page counts of the
// paginated kinds, printed pages that show their values and keep inside the
// page margins, and pictures of every kind on the screen and on paper.

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

namespace {

const QString kDate = QStringLiteral("14.03.2024");
const QString kGallery = QStringLiteral(QARDA_GALLERY_DIR);

// The time of day of the i-th result of this file.
QString TimeOf(int i)
{
    return QStringLiteral("11:%1:00").arg(i, 2, 10, QLatin1Char('0'));
}

// The kinds of the table data, then the boundary cases of the paginated kinds.
QList<TableData::CKindData> Results()
{
    using namespace TableData;
    QList<CKindData> results = Kinds();
    const QString strRegister = QStringLiteral("Type=RegisterTest;#MM=LoadPoint;#Energy=1.0;kWh");
    results << CKindData{"selective14", ResultKind::Selective, "Selektiv-Measurement", SelectiveEntries(14), {}}
            << CKindData{"selective15", ResultKind::Selective, "Selektiv-Measurement", SelectiveEntries(15), {}}
            << CKindData{"selective8", ResultKind::Selective, "Selektiv-Measurement", SelectiveEntries(8), {}}
            << CKindData{"accuracy10", ResultKind::Automatic, "Automatic-Measurement", Steps(AccuracySteps(10)), {}}
            << CKindData{"register8", ResultKind::Automatic, "Automatic-Measurement", Steps(QStringList(8, strRegister)), {}}
            << CKindData{"register9", ResultKind::Automatic, "Automatic-Measurement", Steps(QStringList(9, strRegister)), {}}
            << CKindData{"selective_remark", ResultKind::Selective, "Selektiv-Measurement",
                         SelectiveEntries(3) + QStringLiteral("Remark=Zähler getauscht"), {}};
    return results;
}

// The display mode a result is shown in: an error measurement's is in its name.
DisplayMode ModeOf(const TableData::CKindData& d)
{
    if (d.m_nKind != ResultKind::Error)
        return DisplayMode::None;
    return *DisplayModeFromInt(QChar::fromLatin1(d.m_pszKind[5]).digitValue());
}

int IndexOf(const char* pszName)
{
    const QList<TableData::CKindData> results = Results();
    for (int i = 0; i < results.size(); ++i)
        if (qstrcmp(results[i].m_pszKind, pszName) == 0)
            return i;
    return -1;
}

} // namespace

class TestTablePrint : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void pageCounts_data();
    void pageCounts();
    void printedPages_data();
    void printedPages();
    void screenGallery();

private:
    QTemporaryDir m_dir;
    QString m_strMain, m_strResult;
};

void TestTablePrint::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_strMain = m_dir.filePath(QStringLiteral("Main.xml"));
    m_strResult = m_dir.filePath(QStringLiteral("Result.xml"));
    QString strResults;
    const QList<TableData::CKindData> results = Results();
    for (int i = 0; i < results.size(); ++i)
        strResults += TableData::ResultElement(results[i], TimeOf(i)).replace(QStringLiteral("ZP-4711"), ViewUiData::kId);
    QVERIFY(ViewUiData::WriteFile(m_strMain, ViewUiData::MainFile()));
    QVERIFY(ViewUiData::WriteFile(
        m_strResult, ViewUiData::ResultFile().replace(QStringLiteral("</Result-Data>"), strResults + QStringLiteral("</Result-Data>"))));
    QVERIFY(QDir().mkpath(kGallery));
}

void TestTablePrint::pageCounts_data()
{
    QTest::addColumn<QString>("result");
    QTest::addColumn<bool>("landscape");
    QTest::addColumn<int>("pages");
    QTest::newRow("selective 14 portrait") << "selective14" << false << 1;
    QTest::newRow("selective 15 portrait") << "selective15" << false << 2;
    QTest::newRow("selective 8 portrait") << "selective8" << false << 1;
    QTest::newRow("selective 8 landscape") << "selective8" << true << 2;
    QTest::newRow("10 accuracy steps portrait") << "accuracy10" << false << 1;
    QTest::newRow("10 accuracy steps landscape") << "accuracy10" << true << 2;
    QTest::newRow("8 register steps portrait") << "register8" << false << 1;
    QTest::newRow("9 register steps portrait") << "register9" << false << 2;
    QTest::newRow("9 register steps landscape") << "register9" << true << 2;
}

void TestTablePrint::pageCounts()
{
    QFETCH(QString, result);
    QFETCH(bool, landscape);
    QFETCH(int, pages);
    CQardaDoc doc(m_strMain, m_strResult);
    CQardaView view(&doc);
    const int i = IndexOf(qPrintable(result));
    view.ShowResult(Results()[i].m_nKind, ViewUiData::kId, kDate, TimeOf(i), {}, {});
    QCOMPARE(view.GetPageCount(landscape), pages);
}

void TestTablePrint::printedPages_data()
{
    QTest::addColumn<int>("result");  // index into Results(), -1: a kind of the view data
    QTest::addColumn<ResultKind>("kind");
    QTest::addColumn<DisplayMode>("mode");
    QTest::addColumn<bool>("landscape");
    const QList<TableData::CKindData> results = Results();
    for (bool bLandscape : {false, true}) {
        const char* pszOrientation = bLandscape ? "landscape" : "portrait";
        QTest::addRow("values_%s", pszOrientation) << -1 << ResultKind::Value << DisplayMode::ValueTable << bLandscape;
        QTest::addRow("vectors_%s", pszOrientation)
            << -1 << ResultKind::Vector << DisplayMode::VectorDiagram << bLandscape;
        for (int i = 0; i < results.size(); ++i) {
            QTest::addRow("%s_%s", results[i].m_pszKind, pszOrientation)
                << i << results[i].m_nKind << ModeOf(results[i]) << bLandscape;
        }
    }
}

void TestTablePrint::printedPages()
{
    QFETCH(int, result);
    QFETCH(ResultKind, kind);
    QFETCH(DisplayMode, mode);
    QFETCH(bool, landscape);
    CQardaDoc doc(m_strMain, m_strResult);
    CQardaView view(&doc);
    if (result < 0)
        view.ShowResult(kind, ViewUiData::kId, ViewUiData::kValueDate, ViewUiData::kValueTime, {}, {});
    else
        view.ShowResult(kind, ViewUiData::kId, kDate, TimeOf(result), {}, {});
    if (kind == ResultKind::Error)
        view.SetValueMode(mode);
    QCOMPARE(view.GetKind(), kind);
    QCOMPARE(view.GetMode(), mode);
    view.GetPrinter()->setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    const QString strTag = QString::fromLatin1(QTest::currentDataTag());
    const QString strPdf = kGallery + QStringLiteral("/print_%1.pdf").arg(strTag);
    QVERIFY(view.PrintToPdf(strPdf));
    const int nPages = view.GetPageCount(landscape);

    // Every page draws something, and all of it inside the margins: the
    // header's left and right edge, below the top margin.
    const QSize page = landscape ? QSize(3508, 2480) : QSize(2480, 3508);
    const int w = page.width(), h = page.height(), nTol = w / 500 + 1;
    const QRectF inside(w / 20 - nTol, h / 30 - nTol, w - w / 10 + 2 * nTol, h - h / 30 + 2 * nTol);
    QStringList allTexts;
    for (int n = 1; n <= nPages; ++n) {
        CRecordingDevice dev(page, 300);
        {
            QPainter painter(&dev);
            view.DrawPrintPage(&painter, page, n, nPages);
        }
        QVERIFY2(dev.Texts().size() > (n == 1 ? 20 : 2), "the page is not blank");
        allTexts += dev.Texts();
        for (const CPaintOp& op : dev.Ops()) {
            QList<QRectF> boxes = op.m_rects;
            if (op.m_kind == CPaintOp::Text || op.m_kind == CPaintOp::Ellipse || op.m_kind == CPaintOp::Pixmap)
                boxes.append(op.m_rect);
            for (const QLineF& line : op.m_lines)
                boxes.append(QRectF(line.p1(), line.p2()).normalized());
            if (!op.m_polygon.isEmpty())
                boxes.append(op.m_polygon.boundingRect());
            for (QRectF box : boxes)
                QVERIFY2(inside.contains(box = op.m_transform.mapRect(box)), qPrintable(QStringLiteral("page %1: %2 at %3,%4-%5,%6")
                                                              .arg(n).arg(op.m_strText).arg(box.left()).arg(box.top())
                                                              .arg(box.right()).arg(box.bottom())));
        }
    }

    // The values are on paper, as painted and as a PDF reader finds them.
    const QStringList expected =
        result < 0 ? QStringList{kind == ResultKind::Value ? QStringLiteral("230.12") : QStringLiteral("U1")} : Results()[result].m_expected.split(u'|', Qt::SkipEmptyParts);
    QString strPdfText;
    if (!QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()) {
        QProcess text;
        text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), strPdf, QStringLiteral("-")});
        QVERIFY(text.waitForFinished(30000));
        strPdfText = QString::fromUtf8(text.readAllStandardOutput());
        QCOMPARE(strPdfText.count(QLatin1Char('\f')), nPages);
        // A picture of page 1 to look at.
        QProcess::execute(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("40"), QStringLiteral("-png"),
                                                       QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
                                                       QStringLiteral("1"), strPdf, kGallery + QStringLiteral("/print_") + strTag});
    }
    for (const QString& strText : expected) {
        if (strText.startsWith(u'!'))
            continue;
        QVERIFY2(allTexts.contains(strText), qPrintable(strText));
        if (!strPdfText.isEmpty() && strText.size() > 3)
            QVERIFY2(strPdfText.contains(strText), qPrintable(strText + QStringLiteral(" not in the PDF")));
    }
    if (result == IndexOf("selective_remark"))
        QVERIFY(allTexts.contains(QStringLiteral("Bemerkung: Zähler getauscht")));
}

void TestTablePrint::screenGallery()
{
    CQardaDoc doc(m_strMain, m_strResult);
    const QList<TableData::CKindData> results = Results();
    for (int i = 0; i < results.size(); ++i) {
        for (const QSize& size : {QSize(800, 600), QSize(1920, 1080)}) {
            CQardaView view(&doc);
            view.resize(size);
            view.show();
            QVERIFY(QTest::qWaitForWindowExposed(&view));
            view.ShowResult(results[i].m_nKind, ViewUiData::kId, kDate, TimeOf(i), {}, {});
            if (results[i].m_nKind == ResultKind::Error)
                view.SetValueMode(ModeOf(results[i]));
            QCoreApplication::processEvents();
            const QImage image = view.grab().toImage();
            QVERIFY(image.save(kGallery + QStringLiteral("/screen_%1_%2x%3.png")
                                              .arg(QString::fromLatin1(results[i].m_pszKind))
                                              .arg(size.width())
                                              .arg(size.height())));
        }
    }
}

int main(int argc, char** argv)
{
    QTemporaryDir settingsDir;
    UseTemporarySettings(settingsDir);
    QApplication app(argc, argv);
    CRegSettings::SetOrganisation();
    TestTablePrint test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_tableprint.moc"
