#pragma once

#include <QList>
#include <QPointF>
#include <QSize>
#include <QString>

#include <initializer_list>
#include <utility>

class QPainter;
class CTextPainter;

// Where a chart frame put its axes: the renderer draws its bars or curves
// with these numbers.
struct CChartFrame
{
    double m_dX0 = 0;       // pixel position of the origin
    double m_dY0 = 0;
    double m_dXScale = 1;   // pixels per x unit
    double m_dYScale = 1;   // pixels per y unit; per decade on a log axis
    double m_dXFirst = 0;   // x value at the origin
    double m_dYMin = 1;     // y value at the origin of a log axis
    bool m_bLog = false;
    int m_nFontHeight = 0;  // height of the tick labels
    QSize m_size;           // size used, from the frame's top left

    // Pixel positions of a value.
    double X(double x) const { return m_dX0 + (x - m_dXFirst) * m_dXScale; }
    double Y(double y) const;
};

// The tick step rules: the x step runs 1, 2, 5, 10, 20, ... until fewer than
// 13 steps cover the count; the y step 0.1, 0.2, 0.5, 1, ... until fewer
// than 7 steps cover the maximum.
double ChartXStep(double dXCount);
double ChartYStep(double dYMax);
// Decimals of the y labels for a step.
int ChartYDecimals(double dStep);

// Linear axes with arrowheads, ticks and labels in the rectangle. The x axis
// spans dXFirst ... dXFirst + dXCount; with bCentredXAxis it lies at half the
// height and the y axis reaches below it for negative values.
CChartFrame DrawChartFrame(QPainter* pPainter, const CTextPainter& textPainter, int nLeft, int nTop, int nRight,
                           int nBottom, double dXFirst, double dXCount, double dYMax, const QString& strXUnit,
                           const QString& strYUnit, bool bCentredXAxis, bool bPrinter);

// The same x axis with a logarithmic y axis from dYMin to dYMax (decades);
// the frame's y scale is then pixels per decade.
CChartFrame DrawLogChartFrame(QPainter* pPainter, const CTextPainter& textPainter, int nLeft, int nTop, int nRight,
                              int nBottom, double dXFirst, double dXCount, double dYMin, double dYMax,
                              const QString& strXUnit, const QString& strYUnit, bool bPrinter);

struct CResultCache;

// What the head of a chart used: the y below it, the settings table's font
// height (the labels take it over) and the width.
struct CChartHead
{
    int m_nBottom = 0;
    int m_nFontHeight = 0;
    int m_nWidth = 0;
};

// The result settings table at the top of the rectangle and, below it, the
// labelled fields (label, value) side by side.
CChartHead DrawChartHead(QPainter* pPainter, const CTextPainter& textPainter, int nLeft, int nTop, int nRight,
                         int nBottom, const CResultCache& cache, bool bPrinter,
                         std::initializer_list<std::pair<QString, QString>> fields);

// A polyline drawn in short pieces: a wide pen strokes one long, folded line
// far slower than many short ones, and the pieces look the same.
void DrawChartLine(QPainter* pPainter, const QList<QPointF>& points);
