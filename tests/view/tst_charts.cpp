// Chart frames and the chart renderers: tick steps and labels, bar heights
// on both scales, curve points, the chosen series of a continuous result,
// and that drawing a long series per pixel column looks like drawing it all.

#include "PaintRecorder.h"
#include "ViewTestData.h"

#include "view/ActualValues.h"
#include "view/ChartFrame.h"
#include "view/ContinueValues.h"
#include "view/Curves.h"
#include "view/Harmonics.h"
#include "view/History.h"
#include "view/TextPainter.h"

#include <QImage>
#include <QPainter>
#include <QTest>

#include <cmath>

class TestCharts : public QObject
{
    Q_OBJECT

private slots:
    // Results as "date time place value; ..." (value "U;unit|I;unit" for actual
    // values); the points per series as "name:x=value,...", x counting the
    // results in date order from 1.
    void history_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("results");
        QTest::addColumn<QString>("series");

        QTest::newRow("errors per place, in date order, without value left out")
            << ToInt(ResultKind::Error)
            << QStringLiteral("02.01.2024 10:00:00 1 0.5; 01.01.2024 09:00:00 1 -0.2; 01.01.2024 09:00:00 2 0.1; "
                              "15.12.2023 08:30:00 2 1.25; 16.12.2023 08:00:00 - 0.3; 03.01.2024 08:00:00 1 ---")
            << QStringLiteral("Fehler:2=0.3 Platz 1:3=-0.2,4=0.5 Platz 2:1=1.25,3=0.1");
        QTest::newRow("voltages and currents per phase, in base units")
            << ToInt(ResultKind::Value)
            << QStringLiteral("01.03.2024 12:00:00 - 0.231;kV|5;A; 28.02.2024 12:00:00 - 229;V|4000;mA")
            << QStringLiteral("U1:1=229,2=231 U2:1=229,2=231 U3:1=229,2=231 I1:1=4,2=5 I2:1=4,2=5 I3:1=4,2=5");
        QTest::newRow("harmonic content")
            << ToInt(ResultKind::Harmonics) << QStringLiteral("05.05.2024 10:00:00 - 3.5; 04.05.2024 10:00:00 - 2")
            << QStringLiteral("Oberschwingungsgehalt:1=2,2=3.5");
    }

    void history()
    {
        QFETCH(int, kind);
        QFETCH(QString, results);
        QFETCH(QString, series);
        const ResultKind nKind = ResultKindFromInt(kind).value();
        // A result of another kind at the same location stays out.
        QList<CResultCache> caches{MakeThreePhaseCache(QStringLiteral("Curve-Measurement"))};
        for (const QString& entry : results.split(QStringLiteral("; "))) {
            const QStringList f = entry.split(u' ');
            CResultCache c;
            c.m_strFunction = FunctionOfKind(nKind);
            c.m_strDate = f[0];
            c.m_strTime = f[1];
            c.m_strPlaceNo = f[2] == u"-" ? QString() : f[2];
            for (int p = 0; p < 3; ++p) {
                c.m_strValues[kQtyUPN][p] = f[3].section(u'|', 0, 0);
                c.m_strValues[kQtyI][p] = f[3].section(u'|', 1, 1);
            }
            c.m_kindFields.insert(nKind == ResultKind::Error ? QStringLiteral("Error") : QStringLiteral("Total-Harm"),
                                  f[3]);
            caches.append(c);
        }
        const CHistory history = BuildHistory(nKind, QStringLiteral("ZP-1"), caches);
        QList<CHistoryHit> hits;
        const auto pDevice = Record(QSize(900, 700), [&](QPainter& painter) {
            DrawHistory(&painter, QRect(0, 0, 900, 700), history, CTextPainter(), false, &hits);
        });
        QList<QPointF> marks;
        for (const CPaintOp& op : pDevice->OfKind(CPaintOp::Rects))
            for (const QRectF& r : op.m_rects)
                marks << op.m_transform.map(r.center());
        // Each point is drawn as a mark where a click finds its result; later
        // results stand to the right, larger values higher in their chart.
        QStringList parts;
        QList<double> values;
        int n = 0;
        for (const CHistory::CChart& chart : history.m_charts) {
            const int nFirst = n;
            for (const CHistory::CSeries& s : chart.m_series) {
                QStringList points;
                QVERIFY(pDevice->FindText(s.m_strName));
                for (const CHistory::CPoint& p : s.m_points) {
                    points << QStringLiteral("%1=%2").arg(p.m_nResult + 1).arg(p.m_dValue, 0, 'g', 6);
                    values << p.m_dValue;
                    const CHistoryHit& hit = hits.at(n++);
                    QVERIFY(marks.contains(hit.m_pos) && hit.m_nResult == p.m_nResult
                            && hit.m_strPlaceNo == p.m_strPlaceNo);
                    QCOMPARE(FindHistoryHit(hits, hit.m_pos + QPointF(2, -2), 4)->m_pos, hit.m_pos);
                    for (int i = nFirst; i < n - 1; ++i) {
                        QCOMPARE(hits[i].m_nResult < hit.m_nResult, hits[i].m_pos.x() < hit.m_pos.x());
                        QCOMPARE(values[i] > p.m_dValue, hits[i].m_pos.y() < hit.m_pos.y());
                    }
                }
                parts << s.m_strName + u':' + points.join(u',');
            }
        }
        QCOMPARE(parts.join(u' '), series);
        QCOMPARE(hits.size(), n);
    }

    // The tick labels of the x and the y axis, in drawing order.
    void frameTicks_data()
    {
        QTest::addColumn<bool>("log");
        QTest::addColumn<double>("xCount");
        QTest::addColumn<double>("yMax");
        QTest::addColumn<bool>("centred");
        QTest::addColumn<QString>("xLabels");
        QTest::addColumn<QString>("yLabels");
        const QString x5 = QStringLiteral("5 10 15 20 25 30 35 40");
        QTest::newRow("0-4.2 %") << false << 40.0 << 4.2 << false << x5 << QStringLiteral("1 2 3 4 5 6");
        QTest::newRow("0-100 %") << false << 12.0 << 100.0 << false << QStringLiteral("1 2 3 4 5 6 7 8 9 10 11 12")
                                 << QStringLiteral("20 40 60 80 100 120");
        // 7.5 / 1 is not below 7, 26 / 2 not below 13: the next steps.
        QTest::newRow("0-7.5 %") << false << 26.0 << 7.5 << false << QStringLiteral("5 10 15 20 25")
                                 << QStringLiteral("2 4 6 8 10");
        QTest::newRow("0-0.35 %") << false << 13.0 << 0.35 << false << QStringLiteral("2 4 6 8 10 12")
                                  << QStringLiteral("0.1 0.2 0.3 0.4 0.5");
        QTest::newRow("centred") << false << 360.0 << 100.0 << true << QStringLiteral("50 100 150 200 250 300 350")
                                 << QStringLiteral("20 -20 40 -40 60 -60 80 -80 100 -100 120 -120");
        QTest::newRow("log 4 decades") << true << 40.0 << 100.0 << false << x5 << QStringLiteral("0.01 0.1 1 10 100");
    }

    void frameTicks()
    {
        QFETCH(bool, log);
        QFETCH(double, xCount);
        QFETCH(double, yMax);
        QFETCH(bool, centred);
        CChartFrame f;
        const auto pDev = Record(QSize(800, 500), [&](QPainter& p) {
            const CTextPainter tp;
            f = log ? DrawLogChartFrame(&p, tp, 0, 0, 800, 500, 0, xCount, 0.01, yMax, QString(), QStringLiteral("%"),
                                        false)
                    : DrawChartFrame(&p, tp, 0, 0, 800, 500, 0, xCount, yMax, QString(), QStringLiteral("%"), centred,
                                     false);
        });
        QStringList xs, ys;
        for (const CPaintOp& op : pDev->OfKind(CPaintOp::Text)) {
            const double dCentreX = op.m_rect.center().x(), dCentreY = op.m_rect.center().y();
            // The labels are in the tick font; the unit is no label.
            if (op.m_font.family() != FaceCourierNew() || op.m_font.pixelSize() != f.m_nFontHeight
                || op.m_strText == u"%")
                continue;
            const double v = op.m_strText.toDouble();
            if (op.m_rect.right() < f.m_dX0) {  // left of the y axis: a y label
                ys.append(op.m_strText);
                QVERIFY2(std::fabs(dCentreY - f.Y(v)) <= 1, qPrintable(op.m_strText));
            } else {
                xs.append(op.m_strText);
                QVERIFY2(std::fabs(dCentreX - f.X(v)) <= 1, qPrintable(op.m_strText));
                QVERIFY(op.m_rect.top() > f.m_dY0);
            }
        }
        QTEST(xs.join(u' '), "xLabels");
        QTEST(ys.join(u' '), "yLabels");
        // 1.1 times the x range ends at the right end: it fits, 5 % more does not.
        const double dRoom = 800 - 2 - f.m_dX0;
        QVERIFY(1.1 * xCount * f.m_dXScale <= dRoom && 1.1 * xCount * f.m_dXScale * 1.05 > dRoom);
        QVERIFY(f.m_dY0 - f.Y(log ? yMax : ys.last().toDouble()) <= (centred ? 250 : f.m_dY0));
        QCOMPARE(
            f.m_dY0,
            centred
                ? 250.0
                : 500 - 1.5 * QFontMetrics(MakeFont(FaceCourierNew(), f.m_nFontHeight, false), pDev.get()).height());
    }

    void harmonicsBars_data()
    {
        QTest::addColumn<bool>("log");
        QTest::newRow("linear") << false;
        QTest::newRow("log") << true;
    }

    void harmonicsBars()
    {
        QFETCH(bool, log);
        const QList<double> magnitudes = {0, 100, 4.2, 0.5, 0.005, 1};
        const CResultCache cache = MakeHarmonicsCache(magnitudes);
        CChartFrame f;
        const auto pDev = Record(QSize(1000, 700), [&](QPainter& p) {
            DrawHarmonics(&p, QRect(0, 0, 1000, 700), cache, CTextPainter(),
                          log ? DisplayMode::HarmonicsLog : DisplayMode::HarmonicsLinear, 1, false, false, &f);
        });
        QVERIFY(pDev->TextsAmiss(QStringLiteral("UL1|4.35 %")).isEmpty());
        const QList<CPaintOp> bars = pDev->OfKind(CPaintOp::Rects, QColor(128, 0, 0));
        QCOMPARE(bars.size(), magnitudes.size());
        for (int i = 0; i < magnitudes.size(); ++i) {
            const QRectF r = bars[i].m_rects.value(0);
            QCOMPARE(bars[i].m_brush.color(), QColor(128, 0, 0));
            QVERIFY(std::fabs(r.center().x() - (f.m_dX0 + (i + 1) * f.m_dXScale)) < 0.01);
            QVERIFY(std::fabs(r.width() - 0.8 * f.m_dXScale) < 0.01);
            QVERIFY(std::fabs(r.bottom() - f.m_dY0) < 0.01);
            // Linear: magnitude × scale; log: decades above 0.01 × pixels per decade.
            const double m = magnitudes[i];
            const double h = !log ? m * f.m_dYScale : (std::log10(qMax(m, 0.01)) + 2) * f.m_dYScale;
            QVERIFY2(std::fabs(r.height() - h) < 0.01, qPrintable(QString::number(i)));
        }
    }

    void curvePoints()
    {
        const CResultCache cache = MakeCurveCache(100);
        CChartFrame f;
        const auto pDev = Record(QSize(900, 700), [&](QPainter& p) {
            DrawCurves(&p, QRect(0, 0, 900, 700), cache, CTextPainter(), false, &f);
        });
        QVERIFY(pDev->TextsAmiss(QStringLiteral("Kanal A|IL1")).isEmpty());
        const QList<CPaintOp> a = pDev->OfKind(CPaintOp::Polygon, QColor(128, 0, 0));
        const QList<CPaintOp> b = pDev->OfKind(CPaintOp::Polygon, QColor(0, 128, 0));
        QCOMPARE(a.size(), 1);
        QCOMPARE(b.size(), 1);
        QCOMPARE(a[0].m_polygon.size(), 100);
        double yMin = 1e9, yMax = -1e9;
        for (int i = 0; i < 100; ++i) {
            const QPointF pt = a[0].m_polygon[i];
            const double phi = 2 * M_PI * i / 99;
            QVERIFY(std::fabs(pt.x() - (f.m_dX0 + 360.0 * i / 99 * f.m_dXScale)) < 0.01);
            QVERIFY(std::fabs(pt.y() - (f.m_dY0 - 100 * std::sin(phi) * f.m_dYScale)) < 0.05);
            // Channel B: 2500 mA of a 5 A range is 50 %.
            QVERIFY(std::fabs(b[0].m_polygon[i].y() - (f.m_dY0 - 50 * std::cos(phi) * f.m_dYScale)) < 0.05);
            yMin = qMin(yMin, pt.y());
            yMax = qMax(yMax, pt.y());
        }
        // The x axis runs through the middle of the sine, half way down the chart.
        bool bAxis = false;
        for (const CPaintOp& op : pDev->OfKind(CPaintOp::Lines))
            for (const QLineF& l : op.m_lines)
                if (op.m_pen.color() == Qt::black && l.dy() == 0 && l.length() > 400)
                    bAxis = bAxis || std::fabs(l.y1() - (yMin + yMax) / 2) < 0.5;
        QVERIFY(bAxis);
    }

    void continuousSeries_data()
    {
        QTest::addColumn<int>("quantity");
        QTest::addColumn<QList<bool>>("phases");
        QTest::addColumn<QString>("labels");
        QTest::newRow("UPN L1 L3") << 0 << QList<bool>{true, false, true} << QStringLiteral("UPN1 UPN3");
        QTest::newRow("I L1") << 4 << QList<bool>{true, false, false} << QStringLiteral("I1");
        QTest::newRow("F") << 21 << QList<bool>{false, false, false} << QStringLiteral("F");
        QTest::newRow("none") << 0 << QList<bool>{false, false, false} << QString();
    }

    void continuousSeries()
    {
        QFETCH(int, quantity);
        QFETCH(QList<bool>, phases);
        QFETCH(QString, labels);
        const CResultCache cache = MakeSeriesCache(300);
        const bool b[3] = {phases[0], phases[1], phases[2]};
        CContinuousChoice choice;
        SeriesForChoice(quantity, b, choice.m_series, choice.m_labels);
        QCOMPARE(choice.m_labels.join(u' '), labels);
        choice.m_nFirst = 10;
        choice.m_nLast = 30;
        CSeriesNumbers numbers;
        CChartFrame f;
        const auto pDev = Record(QSize(900, 700), [&](QPainter& p) {
            DrawContinuousValues(&p, QRect(0, 0, 900, 700), cache, CTextPainter(), numbers, choice, kNormIEC387, false,
                                 &f);
        });
        QVERIFY(labels.isEmpty() || pDev->FindText(labels + QLatin1Char(' ')));
        QList<CPaintOp> lines;
        for (const CPaintOp& op : pDev->OfKind(CPaintOp::Polygon))
            if (op.m_pen.width() == 2 && op.m_pen.color() != Qt::black)
                lines.append(op);
        QCOMPARE(lines.size(), choice.m_labels.size());
        for (int i = 0; i < lines.size(); ++i) {
            QCOMPARE(lines[i].m_pen.color(), SeriesColour(i));
            QCOMPARE(lines[i].m_polygon.size(), 21);
            const std::vector<double>& values = numbers.Get(cache, choice.m_series[i], kNormIEC387);
            for (int j = 0; j < 21; ++j) {
                const QPointF pt = lines[i].m_polygon[j];
                QVERIFY(std::fabs(pt.x() - (f.m_dX0 + j * f.m_dXScale)) < 0.01);
                QVERIFY(std::fabs(pt.y() - (f.m_dY0 - values[10 + j] * f.m_dYScale)) < 0.01);
            }
        }
        // Only a current swinging below zero reaches below the x axis.
        for (const CPaintOp& op : lines) {
            const double yLowest = op.m_polygon.boundingRect().bottom();
            QCOMPARE(yLowest > f.m_dY0 + 1, quantity == 4);
        }
    }

    void decimationLooksTheSame()
    {
        const CResultCache cache = MakeSeriesCache(20000);
        CContinuousChoice choice;
        const bool b[3] = {true, true, true};
        SeriesForChoice(4, b, choice.m_series, choice.m_labels);
        choice.m_nLast = 19999;
        CSeriesNumbers numbers;
        CTextPainter tp;
        QImage images[2];
        for (int k = 0; k < 2; ++k) {
            images[k] = QImage(600, 400, QImage::Format_RGB32);
            images[k].fill(Qt::white);
            QPainter p(&images[k]);
            DrawContinuousValues(&p, images[k].rect(), cache, tp, numbers, choice, kNormIEC387, false, nullptr, k == 0);
        }
        int nDiff = 0;
        for (int y = 0; y < 400; ++y)
            for (int x = 0; x < 600; ++x)
                nDiff += images[0].pixel(x, y) != images[1].pixel(x, y);
        // Bands per column differ from the stroked line only where its joins
        // stick out at the turning points: under half a percent of the pixels.
        QVERIFY2(nDiff < 1200, qPrintable(QString::number(nDiff)));
    }
};

QTEST_MAIN(TestCharts)
#include "tst_charts.moc"
