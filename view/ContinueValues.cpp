#include "view/ContinueValues.h"

#include "core/Number.h"
#include "resources/StringTable.h"
#include "view/ActualValues.h"
#include "view/ChartFrame.h"
#include "view/DrawTools.h"
#include "view/ResultCache.h"
#include "view/TextPainter.h"

#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

// The cache's quantity and phase of a series number.
void QuantityOfSeries(int nSeries, int& nQty, int& nPhase)
{
    if (nSeries < 3 * kChoosablePhaseQuantities) {
        nQty = nSeries / 3;
        nPhase = nSeries % 3;
    } else {
        nQty = kQtySP + (nSeries - 36 - kChoosablePhaseQuantities);
        nPhase = 0;
    }
}

// A copy of the result's ranges and ratios, to take one sample's values.
CResultCache RangesOnly(const CResultCache& cache)
{
    CResultCache c;
    c.m_strURange = cache.m_strURange;
    c.m_strIRange = cache.m_strIRange;
    c.m_strUPrimSek = cache.m_strUPrimSek;
    c.m_strIPrimSek = cache.m_strIPrimSek;
    c.m_strPrimSekValCzReg = cache.m_strPrimSekValCzReg;
    c.m_strMMode = cache.m_strMMode;
    return c;
}

// Calls onColumn(nColumn, jFirst, jLow, jHigh) for each pixel column that
// the samples first ... last fall in: the column's first sample and those
// of its lowest and highest value (the first of equal ones).
template <class F>
void ForEachColumn(const std::vector<double>& values, int nFirst, int nLast, const CChartFrame& frame, F onColumn)
{
    const double x0 = frame.X(nFirst);
    long long nColumn = LLONG_MIN;
    int jFirst = nFirst, jLow = nFirst, jHigh = nFirst;
    double dLow = 0, dHigh = 0;  // the values at jLow and jHigh
    for (int j = nFirst; j <= nLast; ++j) {
        const long long c = static_cast<long long>(std::floor(x0 + (j - nFirst) * frame.m_dXScale));
        const double v = values[j];
        if (c != nColumn) {
            if (nColumn != LLONG_MIN)
                onColumn(nColumn, jFirst, jLow, jHigh);
            nColumn = c;
            jFirst = jLow = jHigh = j;
            dLow = dHigh = v;
            continue;
        }
        if (v < dLow) {
            jLow = j;
            dLow = v;
        }
        if (v > dHigh) {
            jHigh = j;
            dHigh = v;
        }
    }
    if (nColumn != LLONG_MIN)
        onColumn(nColumn, jFirst, jLow, jHigh);
}

// Adds the samples first ... last to the line. Where several samples share
// a pixel column, only the column's lowest and highest point (in their
// order) are added: the first and last sample lie between them, and the
// neighbour columns' lines reach those within a pixel, so the line looks
// the same at half the points to stroke.
void AppendSeries(QPolygonF& line, const std::vector<double>& values, int nFirst, int nLast, const CChartFrame& frame,
                  bool bDecimate)
{
    auto point = [&](int j) { return QPointF(frame.X(j), frame.Y(values[j])); };
    if (!bDecimate || frame.m_dXScale >= 1) {
        for (int j = nFirst; j <= nLast; ++j)
            line.append(point(j));
        return;
    }
    ForEachColumn(values, nFirst, nLast, frame, [&](long long, int, int jLow, int jHigh) {
        line.append(point(qMin(jLow, jHigh)));
        if (jLow != jHigh)
            line.append(point(qMax(jLow, jHigh)));
    });
}

// Where several samples share each pixel column, the line is a band per
// column from its lowest to its highest value, reaching back to the last
// value of the column before so the bands join. Filled rectangles draw the
// same pixels as a two-pixel line through the samples, many times faster
// than stroking its outline.
QVector<QRectF> ColumnBands(const std::vector<double>& values, int nFirst, int nLast, const CChartFrame& frame)
{
    QVector<QRectF> bands;
    ForEachColumn(values, nFirst, nLast, frame, [&](long long nColumn, int jFirst, int jLow, int jHigh) {
        const double dPrevious = values[jFirst > nFirst ? jFirst - 1 : jFirst];
        const double yTop = frame.Y(qMax(values[jHigh], dPrevious));
        const double yBottom = frame.Y(qMin(values[jLow], dPrevious));
        const double y0 = qMin(yTop, yBottom), y1 = qMax(yTop, yBottom);
        bands.append(QRectF(double(nColumn) - 1, y0 - 1, 2, y1 - y0 + 2));
    });
    return bands;
}

} // namespace

QString ChoosableName(int q)
{
    if (q < 0 || q >= kChoosableQuantities)
        return {};
    return QuantityName(q < kChoosablePhaseQuantities ? q : kQtySP + q - kChoosablePhaseQuantities);
}

void SeriesForChoice(int q, const bool bPhases[3], QList<int>& series, QStringList& labels)
{
    series.clear();
    labels.clear();
    if (q < 0 || q >= kChoosableQuantities)
        return;
    if (q >= kChoosablePhaseQuantities) {
        series.append(q + 36);
        labels.append(ChoosableName(q));
        return;
    }
    for (int p = 0; p < 3; ++p) {
        if (!bPhases[p])
            continue;
        series.append(3 * q + p);
        labels.append(ChoosableName(q) + QString::number(p + 1));
    }
}

QString CSeriesNumbers::Text(const CResultCache& cache, int nSeries, int nSample)
{
    if (nSample < 0 || nSample >= cache.m_series.size())
        return {};
    int nQty, nPhase;
    QuantityOfSeries(nSeries, nQty, nPhase);
    CResultCache one;
    one.SetActualValues(cache.m_series[nSample].m_values);
    return GetRawCell(one, nQty, nPhase);
}

QString CSeriesNumbers::Unit(const CResultCache& cache, int nSeries)
{
    return UnitOnly(Text(cache, nSeries, 0));
}

const std::vector<double>& CSeriesNumbers::Get(const CResultCache& cache, int nSeries, int nNorm)
{
    auto it = m_numbers.find(nSeries);
    if (it != m_numbers.end())
        return *it;
    int nQty, nPhase;
    QuantityOfSeries(nSeries, nQty, nPhase);
    const bool bAngle = nQty == kQtyPhiU || nQty == kQtyPhiI;
    std::vector<double> values;
    values.reserve(cache.m_series.size());
    CResultCache one = RangesOnly(cache);
    const CVectorSettings settings;
    const CTextPainter tp;
    for (const CResultCache::CSeriesEntry& entry : cache.m_series) {
        one.SetActualValues(entry.m_values);
        double d;
        if (bAngle) {
            // The angles as the vector diagram of that sample shows them.
            double U[3], I[3], phiU[3], phiI[3], rgU, rgI;
            CActualValuesRenderer(one, settings, nNorm, tp, false).GetMagnitudesAndAngles(U, I, phiU, phiI, rgU, rgI);
            d = nQty == kQtyPhiU ? phiU[nPhase] : phiI[nPhase];
        } else {
            d = ParseNumber(ValuePart(GetRawCell(one, nQty, nPhase)));
        }
        values.push_back(std::isfinite(d) ? d : 0);
    }
    return *m_numbers.insert(nSeries, std::move(values));
}

QColor SeriesColour(int nPosition)
{
    switch (nPosition) {
    case 0: return QColor(128, 0, 0);
    case 1: return QColor(0, 128, 0);
    case 2: return QColor(0, 0, 128);
    default: return QColor(0, 0, 0);
    }
}

QSize DrawContinuousValues(QPainter* pPainter, const QRect& rect, const CResultCache& cache, const CTextPainter& tp,
                           CSeriesNumbers& numbers, const CContinuousChoice& choice, int nNorm, bool bPrinter,
                           CChartFrame* pFrame, bool bDecimate)
{
    const int l = rect.left(), t = rect.top(), r = rect.left() + rect.width(), b = rect.top() + rect.height();
    QString strLabels;
    for (const QString& s : choice.m_labels)
        strLabels += s + QLatin1Char(' ');
    const CChartHead head =
        DrawChartHead(pPainter, tp, l, t, r, b, cache, bPrinter, {{LoadString(IDS_HARM_CHANNEL), strLabels}});
    const int nCount = static_cast<int>(cache.m_series.size());
    if (choice.m_series.isEmpty() || nCount == 0)
        return QSize(head.m_nWidth, head.m_nBottom - t);

    double dMax = 0;
    bool bNegative = false;
    for (int s : choice.m_series) {
        const std::vector<double>& values = numbers.Get(cache, s, nNorm);
        const auto [itMin, itMax] = std::minmax_element(values.begin(), values.end());
        if (itMin != values.end()) {
            dMax = qMax(dMax, qMax(std::fabs(*itMin), std::fabs(*itMax)));
            bNegative = bNegative || *itMin < 0;
        }
    }
    const int nFirst = qBound(0, choice.m_nFirst, nCount - 1);
    const int nLast = qBound(nFirst, choice.m_nLast, nCount - 1);
    const CChartFrame frame =
        DrawChartFrame(pPainter, tp, l, head.m_nBottom, r, b, nFirst, nLast - nFirst, dMax, QString(),
                       CSeriesNumbers::Unit(cache, choice.m_series.first()), bNegative, bPrinter);
    pPainter->save();
    QPolygonF line;
    const bool bBands = !bPrinter && bDecimate && frame.m_dXScale < 1;
    for (int i = 0; i < choice.m_series.size(); ++i) {
        if (bBands) {
            pPainter->setPen(Qt::NoPen);
            pPainter->setBrush(SeriesColour(i));
            pPainter->drawRects(ColumnBands(numbers.Get(cache, choice.m_series[i], nNorm), nFirst, nLast, frame));
            continue;
        }
        QPen pen(SeriesColour(i));
        pen.setWidth(bPrinter ? qMax(1, (r - l) / 500) : 2);
        pPainter->setPen(pen);
        line.clear();
        AppendSeries(line, numbers.Get(cache, choice.m_series[i], nNorm), nFirst, nLast, frame, bDecimate);
        DrawChartLine(pPainter, line);
    }
    pPainter->restore();
    if (pFrame)
        *pFrame = frame;
    return QSize(qMax(head.m_nWidth, frame.m_size.width()), b - t);
}

int SampleIndexAt(double x, const CChartFrame& frame, int nFirst, int nCount)
{
    const double d = frame.m_dXScale > 0 ? (x - frame.m_dX0) / frame.m_dXScale : 0;
    const int nOffset = d > 0 ? static_cast<int>(std::trunc(qMin(d, 1e9))) : 0;
    return qMax(0, qMin(nCount - 1, nFirst + nOffset));
}

// ---------------------------------------------------------------- the view's chart

void CContinuousChart::Load(const CResultCache& cache)
{
    m_numbers.Reset();
    m_bHasFrame = false;
    m_band = m_marker = QRect();
    m_bDragging = false;
    if (m_choice.m_series.isEmpty()) {
        const bool bAll[3] = {true, true, true};
        SeriesForChoice(0, bAll, m_choice.m_series, m_choice.m_labels);
    }
    m_choice.m_nFirst = 0;
    m_choice.m_nLast = SampleCount(cache) - 1;
}

void CContinuousChart::SetChoice(int nQuantity, const bool bPhases[3])
{
    m_nDialogQuantity = nQuantity;
    for (int p = 0; p < 3; ++p)
        m_bDialogPhases[p] = bPhases[p];
    SeriesForChoice(nQuantity, bPhases, m_choice.m_series, m_choice.m_labels);
}

int CContinuousChart::SampleCount(const CResultCache& cache) const
{
    return static_cast<int>(cache.m_series.size());
}

bool CContinuousChart::CanZoomOut(const CResultCache& cache) const
{
    return !m_choice.m_series.isEmpty() && (m_choice.m_nFirst != 0 || m_choice.m_nLast != SampleCount(cache) - 1);
}

void CContinuousChart::ZoomOut(const CResultCache& cache)
{
    m_choice.m_nFirst = 0;
    m_choice.m_nLast = SampleCount(cache) - 1;
}

void CContinuousChart::ToggleZoomMode()
{
    m_band = m_marker = QRect();
    m_bDragging = false;
    m_bZoomMode = !m_bZoomMode;
    if (m_bZoomMode)
        m_bShowValueMode = false;
}

void CContinuousChart::ToggleShowValueMode()
{
    m_band = m_marker = QRect();
    m_bDragging = false;
    m_bShowValueMode = !m_bShowValueMode;
    if (m_bShowValueMode)
        m_bZoomMode = false;
}

QSize CContinuousChart::Draw(QPainter* pPainter, const QRect& rect, const CResultCache& cache, const CTextPainter& tp,
                             int nNorm, bool bPrinter)
{
    CChartFrame frame;
    const QSize size = DrawContinuousValues(pPainter, rect, cache, tp, m_numbers, m_choice, nNorm, bPrinter, &frame);
    // The mouse works on the screen's axes, not on a printed page's.
    if (!bPrinter && !m_choice.m_series.isEmpty() && SampleCount(cache) > 0) {
        m_frame = frame;
        m_bHasFrame = true;
    }
    return size;
}

void CContinuousChart::DrawOverlay(QPainter* pPainter) const
{
    if (m_band.isNull() && m_marker.isNull())
        return;
    pPainter->save();
    pPainter->setPen(QPen(Qt::black, 1, Qt::DotLine));
    pPainter->setBrush(Qt::NoBrush);
    if (!m_band.isNull())
        pPainter->drawRect(m_band.normalized());
    if (!m_marker.isNull())
        pPainter->drawLine(m_marker.center().x(), m_marker.top(), m_marker.center().x(), m_marker.bottom());
    pPainter->restore();
}

bool CContinuousChart::MousePress(const QPoint& pos, const CResultCache& cache, int& nSample)
{
    nSample = -1;
    if (!m_bHasFrame)
        return false;
    if (m_bZoomMode) {
        m_bDragging = true;
        m_band = QRect(pos, pos);
        return true;
    }
    if (m_bShowValueMode) {
        const int y0 = static_cast<int>(m_frame.m_dY0);
        m_marker = QRect(QPoint(pos.x() - 2, qMin(pos.y(), y0) - 2), QPoint(pos.x() + 2, qMax(pos.y(), y0) + 2));
        nSample = SampleIndexAt(pos.x(), m_frame, m_choice.m_nFirst, SampleCount(cache));
        return true;
    }
    return false;
}

bool CContinuousChart::MouseMove(const QPoint& pos)
{
    if (m_bZoomMode && m_bDragging) {
        m_band.setBottomRight(pos);
        return true;
    }
    if (m_bShowValueMode && m_bHasFrame && !m_marker.isNull()) {
        const int y0 = static_cast<int>(m_frame.m_dY0);
        m_marker = QRect(QPoint(pos.x() - 2, qMin(pos.y(), y0) - 2), QPoint(pos.x() + 2, qMax(pos.y(), y0) + 2));
        return true;
    }
    return false;
}

bool CContinuousChart::MouseRelease(const QPoint& pos, const CResultCache& cache)
{
    if (!m_bZoomMode || !m_bDragging)
        return false;
    m_bDragging = false;
    m_band.setBottomRight(pos);
    const QRect band = m_band.normalized();
    m_band = QRect();
    const int nCount = SampleCount(cache);
    const int nLast = qMin(nCount - 1, SampleIndexAt(band.right(), m_frame, m_choice.m_nFirst, nCount));
    const int nFirst = SampleIndexAt(band.left(), m_frame, m_choice.m_nFirst, nCount);
    // A click without a drag keeps the range: a chart of one sample shows nothing.
    if (nLast > nFirst) {
        m_choice.m_nFirst = nFirst;
        m_choice.m_nLast = nLast;
    }
    return true;
}

QString CContinuousChart::StatusAt(const QPoint& pos, const CResultCache& cache, int nNorm)
{
    const int nCount = SampleCount(cache);
    if (!m_bHasFrame || nCount == 0 || pos.x() < m_frame.m_dX0)
        return {};
    const int i = qBound(m_choice.m_nFirst, SampleIndexAt(pos.x(), m_frame, m_choice.m_nFirst, nCount), m_choice.m_nLast);
    if (i < 0 || i >= nCount)
        return {};
    int nNearest = -1;
    double dBest = 0;
    for (int s = 0; s < m_choice.m_series.size(); ++s) {
        const double d = std::fabs(m_frame.Y(m_numbers.Get(cache, m_choice.m_series[s], nNorm)[i]) - pos.y());
        if (nNearest < 0 || d < dBest) {
            nNearest = s;
            dBest = d;
        }
    }
    if (nNearest < 0)
        return {};
    const CResultCache::CSeriesEntry& entry = cache.m_series[i];
    return LoadString(IDS_CHART_STATUS)
        .arg(entry.m_strNo, entry.m_strTimeStamp, m_choice.m_labels.value(nNearest),
             ValueWithUnit(CSeriesNumbers::Text(cache, m_choice.m_series[nNearest], i)));
}
