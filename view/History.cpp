#include "view/History.h"

#include "core/Number.h"
#include "resources/StringTable.h"
#include "view/ChartFrame.h"
#include "view/DrawTools.h"
#include "view/ResultCache.h"
#include "view/TextPainter.h"
#include "view/Units.h"
#include "xml/XMLDocument.h"
#include "xml/XMLNodeResult.h"

#include <QFontMetrics>
#include <QMap>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

// The colours of the phases (and of further places), as the vector
// diagram's defaults: voltages bright, currents dark.
const QColor kColours[] = {QColor(220, 0, 0),   QColor(0, 160, 0),   QColor(0, 0, 230),
                           QColor(128, 0, 128), QColor(0, 128, 128), QColor(160, 110, 0)};

bool ReadValue(const QString& strValue, const QString& strBaseUnit, double& d)
{
    const QString strNumber = ValuePart(strValue).trimmed();
    if (strNumber.isEmpty() || strNumber.startsWith(QLatin1String("---")))
        return false;
    const QString strUnit = UnitOnly(strValue);
    d = ParseNumber(strNumber);
    if (!strBaseUnit.isEmpty())
        d = ConvertUnit(d, strUnit, strBaseUnit);
    return std::isfinite(d);
}

QDateTime ParseWhen(const QString& strDate, const QString& strTime)
{
    const QString str = strDate.trimmed() + QLatin1Char(' ') + strTime.trimmed();
    for (const char* pszFormat : {"dd.MM.yyyy HH:mm:ss", "d.M.yyyy H:mm:ss", "dd.MM.yy HH:mm:ss", "dd.MM.yyyy HH:mm"}) {
        const QDateTime when = QDateTime::fromString(str, QLatin1String(pszFormat));
        if (when.isValid())
            return when;
    }
    return {};
}

CHistory::CSeries& SeriesNamed(CHistory::CChart& chart, const QString& strName)
{
    for (CHistory::CSeries& s : chart.m_series)
        if (s.m_strName == strName)
            return s;
    CHistory::CSeries s;
    s.m_strName = strName;
    s.m_colour = kColours[chart.m_series.size() % std::size(kColours)];
    chart.m_series.append(s);
    return chart.m_series.last();
}

// Error measurements: place numbers in numeric order; the rest as made.
void SortSeries(CHistory& history)
{
    if (history.m_nKind != ResultKind::Error)
        return;
    for (CHistory::CChart& chart : history.m_charts) {
        std::stable_sort(chart.m_series.begin(), chart.m_series.end(),
                         [](const CHistory::CSeries& a, const CHistory::CSeries& b) {
                             const QString pa = a.m_points.isEmpty() ? QString() : a.m_points[0].m_strPlaceNo;
                             const QString pb = b.m_points.isEmpty() ? QString() : b.m_points[0].m_strPlaceNo;
                             return ParseInt(pa) < ParseInt(pb);
                         });
        for (int i = 0; i < chart.m_series.size(); ++i)
            chart.m_series[i].m_colour = kColours[i % std::size(kColours)];
    }
}

}  // namespace

bool CHistory::HasHistory(ResultKind nKind)
{
    return nKind == ResultKind::Error || nKind == ResultKind::Value || nKind == ResultKind::Vector
           || nKind == ResultKind::Harmonics;
}

CHistory BuildHistory(ResultKind nKind, const QString& strId, const QList<CResultCache>& results)
{
    CHistory history;
    history.m_nKind = nKind;
    history.m_strId = strId;
    if (!CHistory::HasHistory(nKind))
        return history;
    const QString strFunction = FunctionOfKind(nKind);

    // Date order; results without a readable date keep their place at the end.
    QList<int> order;
    QList<QDateTime> when;
    for (int i = 0; i < results.size(); ++i) {
        when.append(ParseWhen(results[i].m_strDate, results[i].m_strTime));
        if (results[i].m_strFunction == strFunction)
            order.append(i);
    }
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        if (when[a].isValid() != when[b].isValid())
            return when[a].isValid();
        return when[a].isValid() && when[a] < when[b];
    });

    CHistory::CChart first, second;
    if (nKind == ResultKind::Error) {
        first.m_strUnit = QStringLiteral("%");
        first.m_bSigned = true;
    } else if (nKind == ResultKind::Harmonics) {
        first.m_strUnit = QStringLiteral("%");
    } else {
        first.m_strUnit = QStringLiteral("V");
        second.m_strUnit = QStringLiteral("A");
    }
    // Results sharing date and time (the places of one error measurement)
    // stand at one x.
    QMap<QPair<QString, QString>, int> index;
    for (int i : std::as_const(order)) {
        const CResultCache& r = results[i];
        const QPair<QString, QString> key(r.m_strDate, r.m_strTime);
        auto it = index.find(key);
        if (it == index.end()) {
            it = index.insert(key, static_cast<int>(history.m_results.size()));
            history.m_results.append({r.m_strDate, r.m_strTime, when[i]});
        }
        const int nResult = *it;
        double d = 0;
        if (nKind == ResultKind::Error) {
            if (ReadValue(r.KindField(QStringLiteral("Error")), QString(), d)) {
                const QString strName = r.m_strPlaceNo.isEmpty() ? LoadString(IDS_HISTORY_ERROR)
                                                                 : LoadString(IDS_HISTORY_PLACE).arg(r.m_strPlaceNo);
                SeriesNamed(first, strName).m_points.append({nResult, r.m_strPlaceNo, d});
            }
        } else if (nKind == ResultKind::Harmonics) {
            if (ReadValue(r.KindField(QStringLiteral("Total-Harm")), QString(), d))
                SeriesNamed(first, LoadString(IDS_HISTORY_THD)).m_points.append({nResult, r.m_strPlaceNo, d});
        } else {
            for (int p = 0; p < 3; ++p) {
                // The series exist in phase order even when a phase starts later.
                CHistory::CSeries& u = SeriesNamed(first, QStringLiteral("U%1").arg(p + 1));
                CHistory::CSeries& c = SeriesNamed(second, QStringLiteral("I%1").arg(p + 1));
                if (ReadValue(r.m_strValues[kQtyUPN][p], QStringLiteral("V"), d))
                    u.m_points.append({nResult, r.m_strPlaceNo, d});
                if (ReadValue(r.m_strValues[kQtyI][p], QStringLiteral("A"), d))
                    c.m_points.append({nResult, r.m_strPlaceNo, d});
            }
        }
    }
    for (CHistory::CChart* pChart : {&first, &second}) {
        pChart->m_series.removeIf([](const CHistory::CSeries& s) { return s.m_points.isEmpty(); });
        if (!pChart->m_series.isEmpty())
            history.m_charts.append(*pChart);
    }
    SortSeries(history);
    return history;
}

CHistory ReadHistory(CXMLDocument& xmlResult, ResultKind nKind, const QString& strId)
{
    QList<CResultCache> results;
    if (xmlResult.IsValid() && CHistory::HasHistory(nKind)) {
        CXMLNodeResult result(&xmlResult);
        const QByteArray function = FunctionOfKind(nKind).toUtf8();
        // The results filed under the ID, from the document's index: a click
        // costs that location's results, not a walk over the whole file.
        for (pugi::xml_node r : xmlResult.ResultElementsOf(strId)) {
            if (function != r.child("Function").text().get())
                continue;
            result.LoadFromElement(r);
            CResultCache cache;
            cache.SetFromResult(result);
            results.append(std::move(cache));
        }
    }
    return BuildHistory(nKind, strId, results);
}

QSize DrawHistory(QPainter* pPainter, const QRect& rect, const CHistory& history, const CTextPainter& tp, bool bPrinter,
                  QList<CHistoryHit>* pHits)
{
    if (pHits)
        pHits->clear();
    const int l = rect.left(), t = rect.top(), r = rect.right() + 1, b = rect.bottom() + 1;
    const int nText = qMax(tp.m_nMinHeight, qMin(rect.height() / 30, rect.width() / 45));
    pPainter->save();
    pPainter->setPen(Qt::black);
    pPainter->setFont(MakeFont(FaceArial(), nText * 5 / 4, true));
    QFontMetrics fm(pPainter->font(), pPainter->device());
    int y = t;
    pPainter->drawText(QPoint(l, y + fm.ascent()),
                       LoadString(IDS_HISTORY_TITLE).arg(KindTitle(history.m_nKind), history.m_strId));
    int nWidth = fm.horizontalAdvance(LoadString(IDS_HISTORY_TITLE));
    y += fm.height() * 3 / 2;
    pPainter->setFont(MakeFont(FaceArial(), nText, false));
    fm = QFontMetrics(pPainter->font(), pPainter->device());
    if (history.m_charts.isEmpty()) {
        pPainter->drawText(QPoint(l, y + fm.ascent()), LoadString(IDS_HISTORY_EMPTY));
        pPainter->restore();
        return QSize(nWidth, y + fm.height() - t);
    }
    const CHistory::CResult& first = history.m_results.first();
    const CHistory::CResult& last = history.m_results.last();
    const QString strRange = LoadString(IDS_HISTORY_RANGE)
                                 .arg(history.m_results.size())
                                 .arg(first.m_strDate + QLatin1Char(' ') + first.m_strTime,
                                      last.m_strDate + QLatin1Char(' ') + last.m_strTime);
    // The line shrinks until it fits the width; the legend keeps its size.
    for (int nSmall = nText; nSmall > tp.m_nMinHeight && fm.horizontalAdvance(strRange) > rect.width();) {
        pPainter->setFont(MakeFont(FaceArial(), --nSmall, false));
        fm = QFontMetrics(pPainter->font(), pPainter->device());
    }
    pPainter->drawText(QPoint(l, y + fm.ascent()), strRange);
    pPainter->setFont(MakeFont(FaceArial(), nText, false));
    fm = QFontMetrics(pPainter->font(), pPainter->device());
    y += fm.height() * 3 / 2;

    const int nCharts = static_cast<int>(history.m_charts.size());
    const int nChartHeight = (b - y) / nCharts;
    const double dMark = qMax(2.0, nText / 4.0);
    const int nPen = bPrinter ? qMax(1, rect.width() / 800) : 1;
    for (int c = 0; c < nCharts; ++c) {
        const CHistory::CChart& chart = history.m_charts[c];
        const int nTop = y + c * nChartHeight;
        // The legend: each series' name in its colour.
        int x = l;
        for (const CHistory::CSeries& s : chart.m_series) {
            pPainter->setPen(s.m_colour);
            pPainter->drawText(QPoint(x, nTop + fm.ascent()), s.m_strName);
            x += fm.horizontalAdvance(s.m_strName) + fm.horizontalAdvance(QStringLiteral("   "));
        }
        nWidth = qMax(nWidth, x - l);
        double dMax = 0;
        for (const CHistory::CSeries& s : chart.m_series)
            for (const CHistory::CPoint& p : s.m_points)
                dMax = qMax(dMax, chart.m_bSigned ? std::fabs(p.m_dValue) : p.m_dValue);
        const CChartFrame frame =
            DrawChartFrame(pPainter, tp, l, nTop + fm.height() * 3 / 2, r, nTop + nChartHeight - nText / 2, 0,
                           static_cast<double>(history.m_results.size()), dMax > 0 ? dMax : 1,
                           LoadString(IDS_HISTORY_X_UNIT), chart.m_strUnit, chart.m_bSigned, bPrinter);
        nWidth = qMax(nWidth, frame.m_size.width());
        for (const CHistory::CSeries& s : chart.m_series) {
            QList<QPointF> line;
            line.reserve(s.m_points.size());
            for (const CHistory::CPoint& p : s.m_points)
                line.append(QPointF(frame.X(p.m_nResult + 1), frame.Y(p.m_dValue)));
            QPen pen(s.m_colour);
            pen.setWidth(nPen);
            pPainter->setPen(pen);
            pPainter->setBrush(Qt::NoBrush);
            DrawChartLine(pPainter, line);
            pPainter->setBrush(s.m_colour);
            // One call for all marks of a series: far faster than one each.
            QList<QRectF> marks;
            marks.reserve(line.size());
            for (int i = 0; i < line.size(); ++i) {
                marks.append(QRectF(line[i].x() - dMark, line[i].y() - dMark, 2 * dMark, 2 * dMark));
                if (pHits)
                    pHits->append({line[i], s.m_points[i].m_nResult, s.m_points[i].m_strPlaceNo});
            }
            pPainter->drawRects(marks.constData(), static_cast<int>(marks.size()));
        }
    }
    pPainter->restore();
    return QSize(nWidth, b - t);
}

const CHistoryHit* FindHistoryHit(const QList<CHistoryHit>& hits, const QPointF& pos, double dRadius)
{
    const CHistoryHit* pBest = nullptr;
    double dBest = dRadius * dRadius;
    for (const CHistoryHit& h : hits) {
        const QPointF d = h.m_pos - pos;
        const double d2 = d.x() * d.x() + d.y() * d.y();
        if (d2 <= dBest) {
            dBest = d2;
            pBest = &h;
        }
    }
    return pBest;
}
