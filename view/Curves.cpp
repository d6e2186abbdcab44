#include "view/Curves.h"

#include "core/Number.h"
#include "resources/StringTable.h"
#include "view/ActualValues.h"
#include "view/ChartFrame.h"
#include "view/DrawTools.h"
#include "view/ResultCache.h"
#include "view/TextPainter.h"
#include "view/Units.h"

#include <QPainter>
#include <QPolygonF>

#include <cmath>

void SplitSample(const QString& strSample, QString& strValue, QString& strUnit)
{
    const QStringList parts = strSample.split(QLatin1Char(';'));
    if (parts.size() >= 3) {
        strValue = parts[1];
        strUnit = parts[2];
    } else {
        strValue = parts.value(0);
        strUnit = parts.value(1);
    }
}

QList<double> CurvePercent(const CResultCache& cache, const QStringList& samples)
{
    double rgU, rgI;
    GetRanges(cache, rgU, rgI);
    QList<double> out;
    out.reserve(samples.size());
    for (const QString& s : samples) {
        QString strValue, strUnit;
        SplitSample(s, strValue, strUnit);
        const bool bVoltage = strUnit.contains(QLatin1Char('V'));
        const double rg = bVoltage ? rgU : rgI;
        const double v = ConvertUnit(ParseNumber(strValue), strUnit,
                                     UnitOnly(bVoltage ? cache.m_strURange : cache.m_strIRange));
        // Without a range the values are drawn as they are.
        const double p = rg > 0 ? 100 * v / rg : v;
        out.append(std::isfinite(p) ? p : 0);
    }
    return out;
}

QColor CurveColour(int nChannel)
{
    return nChannel == 0 ? QColor(128, 0, 0) : QColor(0, 128, 0);
}

QSize DrawCurves(QPainter* pPainter, const QRect& rect, const CResultCache& cache, const CTextPainter& tp,
                 bool bPrinter, CChartFrame* pFrame)
{
    const int l = rect.left(), t = rect.top(), r = rect.left() + rect.width(), b = rect.top() + rect.height();
    const QString strChannel = LoadString(IDS_HARM_CHANNEL);
    const CChartHead head = DrawChartHead(pPainter, tp, l, t, r, b, cache, bPrinter,
                                          {{strChannel + QStringLiteral(" A"), cache.KindField(QStringLiteral("ChannelA"))},
                                           {strChannel + QStringLiteral(" B"), cache.KindField(QStringLiteral("ChannelB"))}});
    const QList<double> curves[2] = {CurvePercent(cache, cache.KindSeries(QStringLiteral("SampleA"))),
                                     CurvePercent(cache, cache.KindSeries(QStringLiteral("SampleB")))};
    double dMax = 0;
    for (const QList<double>& c : curves)
        for (double v : c)
            dMax = qMax(dMax, std::fabs(v));
    const CChartFrame frame = DrawChartFrame(pPainter, tp, l, head.m_nBottom, r, b, 0, 360, dMax,
                                             QString(QChar(0x00B0)), QStringLiteral("%"), true, bPrinter);
    pPainter->save();
    for (int c = 0; c < 2; ++c) {
        const QList<double>& values = curves[c];
        if (values.isEmpty())
            continue;
        QPen pen(CurveColour(c));
        pen.setWidth(bPrinter ? qMax(1, (r - l) / 500) : 2);
        pPainter->setPen(pen);
        QPolygonF line;
        const int n = static_cast<int>(values.size());
        for (int i = 0; i < n; ++i)
            line.append(QPointF(frame.X(n > 1 ? 360.0 * i / (n - 1) : 0), frame.Y(values[i])));
        DrawChartLine(pPainter, line);
    }
    pPainter->restore();
    if (pFrame)
        *pFrame = frame;
    return QSize(qMax(head.m_nWidth, frame.m_size.width()), b - t);
}
