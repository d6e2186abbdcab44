// Times one repaint of each chart at 1920 x 1080 into an image, the median of
// 30 repaints: the logged-values chart with 100,000 samples of 6 series
// (target 16 ms), harmonics in the three modes and the curves (target 5 ms).

#include "ViewTestData.h"

#include "view/ActualValues.h"
#include "view/ContinueValues.h"
#include "view/Curves.h"
#include "view/Harmonics.h"
#include "view/TextPainter.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

double MedianMs(QImage& image, const std::function<void(QPainter*)>& draw)
{
    std::vector<double> ms;
    for (int i = 0; i < 33; ++i) {
        QElapsedTimer timer;
        timer.start();
        image.fill(Qt::white);
        {
            QPainter p(&image);
            draw(&p);
        }
        if (i >= 3) // the first repaints parse the series and warm the font caches
            ms.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QRect rect(0, 0, 1920, 1080);
    QImage image(rect.size(), QImage::Format_RGB32);
    CTextPainter tp;
    tp.m_nMinHeight = 10;

    QElapsedTimer build;
    build.start();
    const CResultCache series = MakeSeriesCache(100000);
    std::printf("building 100000 samples: %.0f ms\n", build.nsecsElapsed() / 1e6);
    CSeriesNumbers numbers;
    CContinuousChoice choice;
    const bool phases[3] = {true, true, true};
    QList<int> s2;
    QStringList l2;
    SeriesForChoice(0, phases, choice.m_series, choice.m_labels);
    SeriesForChoice(4, phases, s2, l2);
    choice.m_series += s2;
    choice.m_labels += l2;
    choice.m_nLast = 99999;
    QElapsedTimer parse;
    parse.start();
    for (int s : choice.m_series)
        numbers.Get(series, s, kNormIEC387);
    std::printf("parsing 6 series once: %.1f ms\n", parse.nsecsElapsed() / 1e6);
    std::printf("logged values, 100000 samples x 6: %.2f ms (target 16)\n", MedianMs(image, [&](QPainter* p) {
                    DrawContinuousValues(p, rect, series, tp, numbers, choice, kNormIEC387, false);
                }));

    QList<double> mags{0, 100};
    for (int n = 2; n <= 40; ++n)
        mags.append(10.0 / n);
    const CResultCache harm = MakeHarmonicsCache(mags);
    for (DisplayMode mode : {DisplayMode::HarmonicsTable, DisplayMode::HarmonicsLinear, DisplayMode::HarmonicsLog})
        std::printf("harmonics %s: %.2f ms (target 5)\n", qPrintable(DisplayModeName(mode)), MedianMs(image, [&](QPainter* p) {
                        DrawHarmonics(p, rect, harm, tp, mode, 1, false, false);
                    }));
    const CResultCache curves = MakeCurveCache();
    std::printf("curves, 2 x 504 samples: %.2f ms (target 5)\n",
                MedianMs(image, [&](QPainter* p) { DrawCurves(p, rect, curves, tp, false); }));
    return 0;
}
