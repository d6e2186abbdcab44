#pragma once

#include "view/ChartFrame.h"

#include <QColor>
#include <QPoint>
#include <QHash>
#include <QList>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

#include <vector>

class QPainter;
class CTextPainter;
struct CResultCache;

// The series of a continuous result: 3q + p for the per-phase quantity q
// (0 "UPN" ... 17 "AAUXI") in phase p, 36 + q for the single quantities
// q = 18 ... 24 ("SP" ... "T").
constexpr int kChoosablePhaseQuantities = 18;
constexpr int kChoosableQuantities = 25;

// The names offered by the choose-values dialog, in its order.
QString ChoosableName(int q);
// The series a choice stands for, and their labels: for a per-phase
// quantity one series per checked phase ("UPN1" ...), else the single one.
void SeriesForChoice(int q, const bool bPhases[3], QList<int>& series, QStringList& labels);

// The numbers of the series of one continuous result, parsed when first
// asked for and kept until Reset (a new result or a new angle convention).
class CSeriesNumbers
{
public:
    void Reset() { m_numbers.clear(); }
    // Values of a series over all samples; angles follow the convention.
    const std::vector<double>& Get(const CResultCache& cache, int nSeries, int nNorm);
    // The unit of the series' first sample.
    static QString Unit(const CResultCache& cache, int nSeries);
    // The value text of a series in a sample.
    static QString Text(const CResultCache& cache, int nSeries, int nSample);

private:
    QHash<int, std::vector<double>> m_numbers;
};

// The colour of the i-th shown series.
QColor SeriesColour(int nPosition);

// What the chart shows.
struct CContinuousChoice
{
    QList<int> m_series;
    QStringList m_labels;
    int m_nFirst = 0;
    int m_nLast = -1;
};

// Draws the settings table, the "Kanal" field with the chosen labels and the
// chosen series over the samples m_nFirst ... m_nLast. Where more samples
// than pixel columns fall into the chart, each column draws the extent of
// its samples. pFrame receives the axes (unchanged when nothing is chosen).
QSize DrawContinuousValues(QPainter* pPainter, const QRect& rect, const CResultCache& cache,
                           const CTextPainter& textPainter, CSeriesNumbers& numbers, const CContinuousChoice& choice,
                           int nNorm, bool bPrinter, CChartFrame* pFrame = nullptr, bool bDecimate = true);

// The sample under a pixel column: first + whole samples right of the origin,
// at most the last sample of the series.
int SampleIndexAt(double x, const CChartFrame& frame, int nFirst, int nCount);

// The continuous-values chart of the result view: what is shown, the two
// mouse modes (zoom by a rubber band, show the values of a sample), and the
// axes of the last drawing for the mouse.
class CContinuousChart
{
public:
    CContinuousChoice m_choice;
    // The choice the dialog opens with.
    int m_nDialogQuantity = 0;
    bool m_bDialogPhases[3] = {true, true, true};
    bool m_bZoomMode = false;
    bool m_bShowValueMode = false;

    // A new result: the whole series, the default series when none are chosen.
    void Load(const CResultCache& cache);
    // A new angle convention.
    void ResetNumbers() { m_numbers.Reset(); }
    void SetChoice(int nQuantity, const bool bPhases[3]);
    int SampleCount(const CResultCache& cache) const;
    bool CanZoomOut(const CResultCache& cache) const;
    void ZoomOut(const CResultCache& cache);
    // Turns a mode on or off; the other mode goes off, the band and the
    // marker go away.
    void ToggleZoomMode();
    void ToggleShowValueMode();

    QSize Draw(QPainter* pPainter, const QRect& rect, const CResultCache& cache, const CTextPainter& textPainter,
               int nNorm, bool bPrinter);
    // The rubber band or the marker line on top of the chart.
    void DrawOverlay(QPainter* pPainter) const;

    // Mouse handling; false when nothing changed. A click in show-value mode
    // gives the sample (from 0) in nSample, else nSample is -1.
    bool MousePress(const QPoint& pos, const CResultCache& cache, int& nSample);
    bool MouseMove(const QPoint& pos);
    bool MouseRelease(const QPoint& pos, const CResultCache& cache);
    // The status text for the mouse at pos: sample number, time stamp and the
    // value of the nearest shown curve; empty outside the chart.
    QString StatusAt(const QPoint& pos, const CResultCache& cache, int nNorm);

    const CChartFrame& Frame() const { return m_frame; }
    QRect Band() const { return m_band; }

private:
    CSeriesNumbers m_numbers;
    CChartFrame m_frame;
    bool m_bHasFrame = false;  // drawn on the screen since the load
    QRect m_band;
    bool m_bDragging = false;
    QRect m_marker;
};
