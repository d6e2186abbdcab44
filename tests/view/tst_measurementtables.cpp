// Measurement tables: each kind loaded from a result record with chosen
// values (three-wire "---", primary kV and MW, empty fields), drawn through
// the paint recorder and checked for its titles, row heads and cells, and
// for texts that leave their cell or the target rectangle; the pagination
// of the automatic and selective tables; a picture of every kind.

#include "PaintRecorder.h"
#include "TableTestData.h"

#include "view/ActualValues.h"
#include "view/MeasurementTables.h"
#include "view/ResultCache.h"
#include "view/TextPainter.h"
#include "xml/XMLDocument.h"
#include "xml/XMLNodeResult.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QTest>

namespace {

using namespace TableData;

CResultCache LoadCache(const QString& strFunction, const QString& strBody)
{
    CXMLDocument doc;
    doc.LoadXML(QStringLiteral("<Result-Data><Result>") + Elements(kCommon + QStringLiteral("Function=") + strFunction)
                + strBody + QStringLiteral("</Result></Result-Data>"));
    CXMLNodeResult result(&doc);
    CResultCache cache;
    if (result.FindFirst(QStringLiteral("Result")))
        cache.SetFromResult(result);
    return cache;
}

// Draws a kind as the view would.
QSize Render(const QString& strKind, const CResultCache& cache, QPainter* p, const QRect& rect, bool bPrinter,
             int nPage = 0, bool bLandscape = false)
{
    const CTextPainter tp;
    const CVectorSettings settings;
    const CActualValuesRenderer values(cache, settings, kNormIEC387, tp, bPrinter);
    const CMeasurementTables tables(cache, tp, bPrinter);
    if (strKind.startsWith(u"error"))
        return tables.DrawErrorMeasurement(p, rect, values, *DisplayModeFromInt(strKind.back().digitValue()));
    if (strKind == u"register")
        return tables.DrawRegisterTest(p, rect);
    if (strKind == u"tmte")
        return tables.DrawTmTe(p, rect);
    if (strKind.endsWith(u"burden"))
        return tables.DrawBurden(p, rect, values, strKind == u"uburden");
    if (strKind == u"transformer")
        return tables.DrawTransformer(p, rect);
    if (strKind == u"aux")
        return tables.DrawAuxChannels(p, rect);
    if (strKind == u"pqs")
        return tables.DrawPqsRegisterTest(p, rect);
    if (strKind == u"automatic")
        return tables.DrawAutomaticMeasurement(p, rect, nPage, bLandscape);
    return tables.DrawSelective(p, rect, nPage, bLandscape);
}

// Every text inside the rectangle, and inside any cell frame it stands in.
void CheckTextsInside(const CRecordingDevice& dev, const QRectF& rect)
{
    const QList<CPaintOp> cells = dev.OfKind(CPaintOp::Rects);
    for (const CPaintOp& text : dev.OfKind(CPaintOp::Text)) {
        QVERIFY2(rect.adjusted(-1, -1, 1, 1).contains(text.m_rect), qPrintable(text.m_strText));
        for (const CPaintOp& frame : cells)
            for (const QRectF& cell : frame.m_rects)
                if (cell.contains(text.m_rect.center()))
                    QVERIFY2(cell.adjusted(-1, -1, 1, 1).contains(text.m_rect), qPrintable(text.m_strText));
    }
}

} // namespace

class TestMeasurementTables : public QObject
{
    Q_OBJECT

private slots:
    void tables_data();
    void tables();
    void stepFields_data();
    void stepFields();
    void automaticPages_data();
    void automaticPages();
    void selectivePages_data();
    void selectivePages();
    void gallery();
};

void TestMeasurementTables::tables_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("function");
    QTest::addColumn<QString>("body");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("printer");
    for (const CKindData& d : Kinds())
        for (const auto& [size, bPrinter] : {std::pair{QSize(800, 600), false}, std::pair{QSize(1920, 1080), false},
                                             std::pair{QSize(2250, 2900), true}, std::pair{QSize(3200, 2000), true}})
            QTest::addRow("%s_%dx%d", d.m_pszKind, size.width(), size.height())
                << QString::fromLatin1(d.m_pszKind) << QString::fromLatin1(d.m_pszFunction) << Body(d)
                << d.m_expected << size << bPrinter;
}

void TestMeasurementTables::tables()
{
    QFETCH(QString, kind);
    QFETCH(QString, function);
    QFETCH(QString, body);
    QFETCH(QString, expected);
    QFETCH(QSize, size);
    QFETCH(bool, printer);
    const CResultCache cache = LoadCache(function, body);
    QCOMPARE(cache.m_strFunction, function);
    CRecordingDevice dev(size, printer ? 300 : 96);
    // A margin all round, as on paper.
    const QRect rect(size.width() / 20, size.height() / 30, size.width() * 9 / 10, size.height() * 9 / 10);
    QSize used;
    {
        QPainter p(&dev);
        used = Render(kind, cache, &p, rect, printer, printer ? 1 : 0);
    }
    QVERIFY(used.width() <= rect.width() && used.height() <= rect.height());
    const QStringList texts = dev.Texts();
    for (const QString& strText : expected.split(u'|')) {
        if (strText.startsWith(u'!'))
            QVERIFY2(!texts.contains(strText.mid(1)), qPrintable(strText));
        else
            QVERIFY2(texts.contains(strText), qPrintable(strText + QStringLiteral(" in ") + texts.join(u'|')));
    }
    CheckTextsInside(dev, rect);
}

void TestMeasurementTables::stepFields_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("withUnit");
    QTest::addColumn<QString>("expected");
    QTest::newRow("with unit") << "UL1" << true << "UL1: 230.1 V";
    QTest::newRow("without unit") << "UL1" << false << "UL1: 230.1";
    QTest::newRow("no unit") << "Type" << true << "Type: NoLoadTest";
    // "F=" stands inside "PF=", which comes first.
    QTest::newRow("key inside another") << "F" << true << "F: 50.0 Hz";
    QTest::newRow("second field of a text") << "Edge" << true << "Edge: 2";
    QTest::newRow("missing") << "IL1" << true << "";
}

void TestMeasurementTables::stepFields()
{
    QFETCH(QString, key);
    QFETCH(bool, withUnit);
    QFETCH(QString, expected);
    const QStringList step = QStringLiteral("Type=NoLoadTest;|PF=-;|UL1=230.1;V|F=50.0;Hz|Test=OK;;Edge=2;").split(u'|');
    QCOMPARE(GetStepField(step, key, withUnit), expected);
}

void TestMeasurementTables::automaticPages_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<bool>("landscape");
    QTest::addColumn<QList<int>>("stepsPerPage");
    const QString strRegister = QStringLiteral("Type=RegisterTest;#Energy=1.0;kWh");
    QTest::newRow("none") << QStringList() << false << QList<int>{};
    QTest::newRow("10 accuracy portrait") << AccuracySteps(10) << false << QList<int>{10};
    QTest::newRow("10 accuracy landscape") << AccuracySteps(10) << true << QList<int>{6, 4};
    QTest::newRow("8 register portrait") << QStringList(8, strRegister) << false << QList<int>{8};
    QTest::newRow("9 register portrait") << QStringList(9, strRegister) << false << QList<int>{8, 1};
    QTest::newRow("26 accuracy landscape") << AccuracySteps(26) << true << QList<int>{6, 8, 8, 4};
}

void TestMeasurementTables::automaticPages()
{
    QFETCH(QStringList, steps);
    QFETCH(bool, landscape);
    QFETCH(QList<int>, stepsPerPage);
    const CResultCache cache = LoadCache(QStringLiteral("Automatic-Measurement"), Steps(steps));
    QCOMPARE(AutomaticPageCount(cache, landscape), stepsPerPage.size());
    const QSize page = landscape ? QSize(3300, 2200) : QSize(2200, 3300);
    for (int n = 1; n <= stepsPerPage.size(); ++n) {
        CRecordingDevice dev(page, 300);
        {
            QPainter p(&dev);
            Render(QStringLiteral("automatic"), cache, &p, QRect(QPoint(0, 0), page), true, n, landscape);
        }
        // Each page draws its own steps, the settings only on page 1.
        const QStringList texts = dev.Texts();
        QCOMPARE(std::count_if(texts.begin(), texts.end(), [](const QString& s) { return s.startsWith(u"Type: "); }),
                 stepsPerPage[n - 1]);
        QCOMPARE(dev.Texts().contains(QStringLiteral("Einstellungen")), n == 1);
        CheckTextsInside(dev, QRectF(0, 0, page.width(), page.height()));
    }
}

void TestMeasurementTables::selectivePages_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<bool>("landscape");
    QTest::addColumn<QList<int>>("firstRowOfPage");
    QTest::newRow("14 portrait") << 14 << false << QList<int>{0};
    QTest::newRow("15 portrait") << 15 << false << QList<int>{0, 14};
    QTest::newRow("41 portrait") << 41 << false << QList<int>{0, 14};
    QTest::newRow("41 landscape") << 41 << true << QList<int>{0, 7, 27};
}

void TestMeasurementTables::selectivePages()
{
    QFETCH(int, rows);
    QFETCH(bool, landscape);
    QFETCH(QList<int>, firstRowOfPage);
    const CResultCache cache = LoadCache(QStringLiteral("Selektiv-Measurement"), Elements(SelectiveEntries(rows)));
    QCOMPARE(SelectiveRows(cache).size(), rows);
    const QSize page = landscape ? QSize(3300, 2200) : QSize(2200, 3300);
    for (int n = 1; n <= firstRowOfPage.size(); ++n) {
        CRecordingDevice dev(page, 300);
        {
            QPainter p(&dev);
            Render(QStringLiteral("selective"), cache, &p, QRect(QPoint(0, 0), page), true, n, landscape);
        }
        const int nFirst = firstRowOfPage[n - 1];
        const int nEnd = n < firstRowOfPage.size() ? firstRowOfPage[n] : rows;
        for (int r = 0; r < rows; ++r)
            QVERIFY2((dev.FindText(QString::number(r)) != nullptr) == (r >= nFirst && r < nEnd), qPrintable(QString::number(r)));
        QVERIFY(dev.FindText(QStringLiteral("PL1")));
        CheckTextsInside(dev, QRectF(0, 0, page.width(), page.height()));
    }
}

void TestMeasurementTables::gallery()
{
    const QString strDir = QStringLiteral(QARDA_GALLERY_DIR);
    QVERIFY(QDir().mkpath(strDir));
    for (const CKindData& d : Kinds()) {
        const QString strKind = QString::fromLatin1(d.m_pszKind);
        const QString strFunction = QString::fromLatin1(d.m_pszFunction);
        const CResultCache cache =
            LoadCache(strFunction, Body(d));
        for (const QSize& size : {QSize(800, 600), QSize(1920, 1080)}) {
            QImage image(size, QImage::Format_RGB32);
            image.fill(Qt::white);
            {
                QPainter p(&image);
                Render(strKind, cache, &p, QRect(QPoint(0, 0), size), false);
            }
            QVERIFY(image.save(QStringLiteral("%1/table_%2_%3x%4.png").arg(strDir, strKind).arg(size.width()).arg(size.height())));
        }
    }
}

QTEST_MAIN(TestMeasurementTables)
#include "tst_measurementtables.moc"
