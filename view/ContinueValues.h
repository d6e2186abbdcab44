#pragma once

#include <QColor>
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
struct CChartFrame;

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
