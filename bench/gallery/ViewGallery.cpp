// Writes a picture of every actual-values display mode at a small and a
// large window size into the build folder, to be looked at.

#include "ViewTestData.h"

#include "view/ActualValues.h"
#include "view/ContinueValues.h"
#include "view/Curves.h"
#include "view/Harmonics.h"
#include "view/TextPainter.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QTest>

class TestViewGallery : public QObject
{
    Q_OBJECT

private slots:
    void gallery_data();
    void gallery();
    void charts_data();
    void charts();
};

void TestViewGallery::gallery_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("norm");
    for (const QSize& size : {QSize(640, 480), QSize(1920, 1080)})
        for (int mode : {0, 1, 8, 5, 6, 7})
            QTest::addRow("mode%d_%dx%d", mode, size.width(), size.height()) << mode << size << int(kNormIEC387);
    QTest::addRow("mode1_din_1920x1080") << 1 << QSize(1920, 1080) << int(kNormDIN410);
}

void TestViewGallery::gallery()
{
    QFETCH(int, mode);
    QFETCH(QSize, size);
    QFETCH(int, norm);
    const bool bError = mode >= 5 && mode <= 7;
    const CResultCache cache = MakeThreePhaseCache(bError ? QStringLiteral("Error-Measurement")
                                                          : QStringLiteral("Value-Measurement"));
    const CVectorSettings settings;
    CTextPainter tp;
    CActualValuesRenderer renderer(cache, settings, norm, tp, false);
    ComputeArrowSize(size.width(), size.height(), DisplayModeFromInt(mode).value(), renderer.m_nArrowWidth,
                     renderer.m_nArrowLength);

    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QSize used;
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        QRect rect(QPoint(0, 0), size);
        // An error measurement shows these in the upper two thirds.
        if (bError)
            rect.setHeight(size.height() * 6 / 9);
        int nFont = 0;
        switch (mode) {
        case 0:
        case 5: used = renderer.DrawValuesTable(&p, rect); break;
        case 1:
        case 6: used = renderer.DrawVectorDiagram(&p, rect, true, nFont); break;
        default: used = renderer.DrawValuesAndVectors(&p, rect); break;
        }
        if (bError) {
            p.setPen(QPen(Qt::gray, 1, Qt::DashLine));
            p.drawLine(0, rect.bottom(), size.width(), rect.bottom());
        }
    }
    QVERIFY(used.width() > 0 && used.height() > 0);
    QVERIFY(used.width() <= size.width());
    // Something was painted in the upper left, where every mode begins.
    int nInk = 0;
    for (int y = 0; y < size.height() / 3; ++y)
        for (int x = 0; x < size.width(); ++x)
            if (image.pixel(x, y) != qRgb(255, 255, 255))
                ++nInk;
    QVERIFY(nInk > 100);

    const QString strDir = QStringLiteral(QARDA_GALLERY_DIR);
    QVERIFY(QDir().mkpath(strDir));
    const QString strFile = QStringLiteral("%1/actual_values_%2.png").arg(strDir, QString::fromLatin1(QTest::currentDataTag()));
    QVERIFY2(image.save(strFile), qPrintable(strFile));
}

void TestViewGallery::charts_data()
{
    QTest::addColumn<QString>("chart");
    QTest::addColumn<QSize>("size");
    for (const QSize& size : {QSize(800, 600), QSize(1920, 1080)})
        for (const char* psz : {"harmonics_table", "harmonics_linear", "harmonics_log", "curves", "continuous"})
            QTest::addRow("%s_%dx%d", psz, size.width(), size.height()) << QString::fromLatin1(psz) << size;
}

void TestViewGallery::charts()
{
    QFETCH(QString, chart);
    QFETCH(QSize, size);
    QList<double> harmonics{0, 100};
    for (int n = 2; n <= 40; ++n)
        harmonics.append(n % 2 ? 6.0 / n : 0.3 / n);
    CTextPainter tp;
    tp.m_nMinHeight = 10;
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter p(&image);
        const QRect rect(QPoint(0, 0), size);
        if (chart.startsWith(QLatin1String("harmonics"))) {
            const DisplayMode mode = chart.endsWith(QLatin1String("table"))    ? DisplayMode::HarmonicsTable
                                     : chart.endsWith(QLatin1String("linear")) ? DisplayMode::HarmonicsLinear
                                                                                : DisplayMode::HarmonicsLog;
            DrawHarmonics(&p, rect, MakeHarmonicsCache(harmonics), tp, mode, 1, false, false);
        } else if (chart == QLatin1String("curves")) {
            DrawCurves(&p, rect, MakeCurveCache(), tp, false);
        } else {
            CSeriesNumbers numbers;
            CContinuousChoice choice;
            const bool phases[3] = {true, true, true};
            SeriesForChoice(0, phases, choice.m_series, choice.m_labels);
            choice.m_nLast = 999;
            DrawContinuousValues(&p, rect, MakeSeriesCache(1000), tp, numbers, choice, kNormIEC387, false);
        }
    }
    const QString strDir = QStringLiteral(QARDA_GALLERY_DIR);
    QVERIFY(QDir().mkpath(strDir));
    QVERIFY(image.save(QStringLiteral("%1/chart_%2.png").arg(strDir, QString::fromLatin1(QTest::currentDataTag()))));
}

QTEST_MAIN(TestViewGallery)
#include "ViewGallery.moc"
