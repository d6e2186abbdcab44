#include "view/ChartFrame.h"

#include "view/DrawTools.h"
#include "view/ResultCache.h"
#include "view/TextPainter.h"

#include <QFontMetrics>
#include <QPainter>

#include <cmath>

namespace {

const QString kProbeY = QStringLiteral("-88.88");
const QString kProbeX = QStringLiteral("888");

// A step of the series m × 10^e with m running 1, 2, 5; computed from the
// integers so that 0.1 × 2 × 2.5 is exactly 0.5.
double StepValue(int nIndex, int nFirstExponent)
{
    static const int kMantissa[3] = {1, 2, 5};
    return kMantissa[nIndex % 3] * std::pow(10.0, nFirstExponent + nIndex / 3);
}

// The frame's common parts: font, axes positions, the x scale and ticks.
struct CFrameLayout
{
    int l = 0, t = 0, r = 0, b = 0;
    int nFont = 0;
    double dLabelHeight = 0;   // of "-88.88"
    double dYLabelWidth = 0;   // of "-88.88"
    double dXLabelWidth = 0;   // of "888"
    double dXLabelHeight = 0;  // of "888"
    double dX0 = 0, dY0 = 0;
    double dXRight = 0;        // tip of the x arrow
    double dTick = 0;
    int nPenWidth = 2;
};

CFrameLayout Layout(QPainter* pPainter, const CTextPainter& tp, int l, int t, int r, int b, bool bCentred,
                    bool bPrinter)
{
    CFrameLayout lay;
    lay.l = l;
    lay.t = t;
    lay.r = r;
    lay.b = b;
    const int w = r - l, h = b - t;
    auto metrics = [&](int nHeight) { return QFontMetrics(MakeFont(FaceCourierNew(), nHeight, false), pPainter->device()); };
    lay.nFont = tp.FindLargestHeight(static_cast<int>(0.6 * h), 1, [&](int nTrial) {
        const QFontMetrics fm = metrics(nTrial);
        return 13 * 1.4 * fm.height() + 5 <= h
               && 12 * 1.4 * fm.horizontalAdvance(kProbeX) + 1.4 * fm.horizontalAdvance(kProbeY) + 20 <= w;
    });
    const QFontMetrics fm = metrics(lay.nFont);
    lay.dLabelHeight = fm.height();
    lay.dYLabelWidth = fm.horizontalAdvance(kProbeY);
    lay.dXLabelWidth = fm.horizontalAdvance(kProbeX);
    lay.dXLabelHeight = fm.height();
    lay.nPenWidth = bPrinter ? qMax(1, w / 500) : 2;
    lay.dX0 = l + 1.5 * lay.dYLabelWidth;
    lay.dY0 = bCentred ? t + h / 2.0 : b - 1.5 * lay.dLabelHeight;
    lay.dXRight = r - lay.nPenWidth;
    lay.dTick = lay.dLabelHeight / 4;
    return lay;
}

// The pixels per unit for which the span ends at about the room: shrink by
// 0.95 until it fits, then grow by 1.05 while it still fits.
double FitScale(double dStart, double dSpan, double dRoom)
{
    double s = dStart;
    if (!(dSpan > 0) || !(dRoom > 0) || !(s > 0))
        return s > 0 ? s : 1;
    while (dSpan * s > dRoom)
        s *= 0.95;
    while (dSpan * s * 1.05 <= dRoom)
        s *= 1.05;
    return s;
}

QString FormatFixed(double d, int nDecimals)
{
    return QString::asprintf("%.*f", nDecimals, d).replace(QLatin1Char(','), QLatin1Char('.'));
}

void SetFramePen(QPainter* pPainter, int nWidth)
{
    QPen pen(Qt::black);
    pen.setStyle(Qt::SolidLine);
    pen.setWidth(nWidth);
    pPainter->setPen(pen);
    pPainter->setBrush(Qt::NoBrush);
}

// The x axis with its arrow, ticks and labels, and the x unit below the tip;
// returns the x scale.
double DrawXAxis(QPainter* pPainter, const CFrameLayout& lay, double dXFirst, double dXCount,
                 const QString& strXUnit, bool bPrinter)
{
    const double dHeadLength = lay.dXLabelWidth / 3;
    const double dHeadHalf = lay.dXLabelHeight / 5;
    DrawArrow(pPainter, lay.dX0, lay.dY0, lay.dXRight, lay.dY0, Qt::black, dHeadLength, dHeadHalf, bPrinter);

    const double dCount = dXCount > 0 ? dXCount : 1;
    const double dStep = ChartXStep(dCount);
    const double dScale = FitScale(1.4 * lay.dXLabelWidth / dStep, 1.1 * dCount, lay.dXRight - lay.dX0);

    SetFramePen(pPainter, lay.nPenWidth);
    const QFontMetrics fm(pPainter->font(), pPainter->device());
    for (double v = std::ceil(dXFirst / dStep) * dStep; v <= dXFirst + dCount + 1e-9; v += dStep) {
        if (v == 0)
            continue; // the origin
        const double x = lay.dX0 + (v - dXFirst) * dScale;
        pPainter->drawLine(QPointF(x, lay.dY0 - lay.dTick), QPointF(x, lay.dY0 + lay.dTick));
        const QString strLabel = FormatFixed(v, 0);
        pPainter->drawText(QPointF(x - fm.horizontalAdvance(strLabel) / 2.0, lay.dY0 + lay.dTick + fm.ascent() + 1),
                           strLabel);
    }
    if (!strXUnit.isEmpty())
        pPainter->drawText(QPointF(lay.dXRight - fm.horizontalAdvance(strXUnit),
                                   lay.dY0 + lay.dTick + fm.height() + fm.ascent() + 1),
                           strXUnit);
    return dScale;
}

// The y axis from its foot up to the top of the frame, the unit beside its tip.
void DrawYAxis(QPainter* pPainter, const CFrameLayout& lay, double dFoot, const QString& strYUnit, bool bPrinter)
{
    DrawArrow(pPainter, lay.dX0, dFoot, lay.dX0, lay.t, Qt::black, lay.dXLabelWidth / 3, lay.dXLabelHeight / 5,
              bPrinter);
    SetFramePen(pPainter, lay.nPenWidth);
    if (!strYUnit.isEmpty()) {
        const QFontMetrics fm(pPainter->font(), pPainter->device());
        pPainter->drawText(QPointF(lay.dX0 + lay.dXLabelWidth / 3, lay.t + fm.ascent()), strYUnit);
    }
}

void DrawYTick(QPainter* pPainter, const CFrameLayout& lay, double y, const QString& strLabel, double dTick)
{
    pPainter->drawLine(QPointF(lay.dX0 - dTick, y), QPointF(lay.dX0 + dTick, y));
    if (strLabel.isEmpty())
        return;
    const QFontMetrics fm(pPainter->font(), pPainter->device());
    pPainter->drawText(QPointF(lay.dX0 - lay.dTick - 2 - fm.horizontalAdvance(strLabel),
                               y - fm.height() / 2.0 + fm.ascent()),
                       strLabel);
}

} // namespace

double CChartFrame::Y(double y) const
{
    if (!m_bLog)
        return m_dY0 - y * m_dYScale;
    const double v = y < m_dYMin ? m_dYMin : y;
    return m_dY0 - std::log10(v / m_dYMin) * m_dYScale;
}

double ChartXStep(double dXCount)
{
    int i = 0;
    while (dXCount / StepValue(i, 0) >= 13)
        ++i;
    return StepValue(i, 0);
}

double ChartYStep(double dYMax)
{
    int i = 0;
    while (dYMax / StepValue(i, -1) >= 7)
        ++i;
    return StepValue(i, -1);
}

int ChartYDecimals(double dStep)
{
    // A little below the boundaries, so that a step computed as 0.1 counts
    // as 0.1.
    if (dStep >= 1 - 1e-9)
        return 0;
    if (dStep >= 0.1 - 1e-12)
        return 1;
    return 2;
}

CChartFrame DrawChartFrame(QPainter* pPainter, const CTextPainter& tp, int nLeft, int nTop, int nRight, int nBottom,
                           double dXFirst, double dXCount, double dYMax, const QString& strXUnit,
                           const QString& strYUnit, bool bCentredXAxis, bool bPrinter)
{
    const CFrameLayout lay = Layout(pPainter, tp, nLeft, nTop, nRight, nBottom, bCentredXAxis, bPrinter);
    pPainter->save();
    pPainter->setBackgroundMode(Qt::TransparentMode);
    pPainter->setFont(MakeFont(FaceCourierNew(), lay.nFont, false));

    CChartFrame frame;
    frame.m_dX0 = lay.dX0;
    frame.m_dY0 = lay.dY0;
    frame.m_dXFirst = dXFirst;
    frame.m_nFontHeight = lay.nFont;
    frame.m_dXScale = DrawXAxis(pPainter, lay, dXFirst, dXCount, strXUnit, bPrinter);

    const double dMax = std::isfinite(dYMax) && dYMax > 0 ? dYMax : 0;
    const double dStep = ChartYStep(dMax);
    const double dSteps = qMax(1.0, std::ceil(dMax / dStep - 1e-9));
    const double dTop = dSteps * dStep * 1.25;
    const double dRoom = bCentredXAxis ? (nBottom - nTop) / 2.0 : lay.dY0 - nTop;
    frame.m_dYScale = FitScale(1.4 * lay.dLabelHeight / dStep, dTop, dRoom);

    DrawYAxis(pPainter, lay, bCentredXAxis ? nBottom : lay.dY0, strYUnit, bPrinter);
    const int nDecimals = ChartYDecimals(dStep);
    for (int k = 1; k * dStep <= dTop + 1e-9; ++k) {
        const QString strLabel = FormatFixed(k * dStep, nDecimals);
        DrawYTick(pPainter, lay, lay.dY0 - k * dStep * frame.m_dYScale, strLabel, lay.dTick);
        if (bCentredXAxis)
            DrawYTick(pPainter, lay, lay.dY0 + k * dStep * frame.m_dYScale, QLatin1Char('-') + strLabel, lay.dTick);
    }
    pPainter->restore();
    frame.m_size = QSize(nRight - nLeft, nBottom - nTop);
    return frame;
}

CChartFrame DrawLogChartFrame(QPainter* pPainter, const CTextPainter& tp, int nLeft, int nTop, int nRight,
                              int nBottom, double dXFirst, double dXCount, double dYMin, double dYMax,
                              const QString& strXUnit, const QString& strYUnit, bool bPrinter)
{
    const CFrameLayout lay = Layout(pPainter, tp, nLeft, nTop, nRight, nBottom, false, bPrinter);
    pPainter->save();
    pPainter->setBackgroundMode(Qt::TransparentMode);
    pPainter->setFont(MakeFont(FaceCourierNew(), lay.nFont, false));

    CChartFrame frame;
    frame.m_bLog = true;
    frame.m_dX0 = lay.dX0;
    frame.m_dY0 = lay.dY0;
    frame.m_dXFirst = dXFirst;
    frame.m_dYMin = dYMin > 0 ? dYMin : 0.01;
    frame.m_nFontHeight = lay.nFont;
    frame.m_dXScale = DrawXAxis(pPainter, lay, dXFirst, dXCount, strXUnit, bPrinter);

    const int nDecades = qMax(1, static_cast<int>(std::lround(std::log10(dYMax / frame.m_dYMin))));
    // Room above the top decade for the arrowhead and the unit.
    frame.m_dYScale = FitScale(1.4 * lay.dLabelHeight, nDecades * 1.1, lay.dY0 - nTop);

    DrawYAxis(pPainter, lay, lay.dY0, strYUnit, bPrinter);
    for (int k = 0; k <= nDecades; ++k) {
        const double dValue = frame.m_dYMin * std::pow(10.0, k);
        const int nDecimals = qMax(0, -static_cast<int>(std::floor(std::log10(dValue) + 1e-9)));
        const double y = lay.dY0 - k * frame.m_dYScale;
        DrawYTick(pPainter, lay, y, FormatFixed(dValue, nDecimals), lay.dTick);
        // Short unlabelled ticks at 2 ... 9 of the decade.
        for (int m = 2; m <= 9 && k < nDecades; ++m)
            DrawYTick(pPainter, lay, y - std::log10(m) * frame.m_dYScale, QString(), lay.dTick / 2);
    }
    pPainter->restore();
    frame.m_size = QSize(nRight - nLeft, nBottom - nTop);
    return frame;
}

CChartHead DrawChartHead(QPainter* pPainter, const CTextPainter& tp, int nLeft, int nTop, int nRight, int nBottom,
                         const CResultCache& cache, bool bPrinter,
                         std::initializer_list<std::pair<QString, QString>> fields)
{
    CChartHead head;
    QSize settingsSize;
    head.m_nFontHeight =
        DrawResultSettings(pPainter, tp, nLeft, nTop, nRight, nTop + (nBottom - nTop) / 4, cache, bPrinter, &settingsSize);
    head.m_nWidth = settingsSize.width();
    int y = nTop + settingsSize.height();
    const int nFields = static_cast<int>(fields.size());
    if (nFields == 0) {
        head.m_nBottom = y;
        return head;
    }
    y += head.m_nFontHeight / 2;
    const int nFieldWidth = (nRight - nLeft) / nFields;
    int x = nLeft;
    int nHeight = 0;
    for (const auto& [strLabel, strValue] : fields) {
        const QSize size = DrawLabeledField(pPainter, tp, x, y, x + nFieldWidth,
                                            y + head.m_nFontHeight * 5 / 4 + 5, strLabel, strValue, 0, kAlignLeft);
        nHeight = qMax(nHeight, size.height());
        head.m_nWidth = qMax(head.m_nWidth, x - nLeft + size.width());
        x += nFieldWidth;
    }
    head.m_nBottom = y + nHeight + head.m_nFontHeight / 2;
    return head;
}

void DrawChartLine(QPainter* pPainter, const QList<QPointF>& points)
{
    // Short lines in one piece, so that their joins are drawn as joins.
    constexpr qsizetype kOnePiece = 2048, kPiece = 32;
    if (points.size() <= kOnePiece) {
        pPainter->drawPolyline(points.constData(), static_cast<int>(points.size()));
        return;
    }
    for (qsizetype i = 0; i + 1 < points.size(); i += kPiece - 1)
        pPainter->drawPolyline(points.constData() + i, static_cast<int>(qMin(kPiece, points.size() - i)));
}
