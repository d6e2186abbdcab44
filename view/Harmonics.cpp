#include "view/Harmonics.h"

#include "core/Number.h"
#include "resources/StringTable.h"
#include "view/ChartFrame.h"
#include "view/DrawTools.h"
#include "view/PageHeader.h"
#include "view/ResultCache.h"
#include "view/TextPainter.h"
#include "view/TextTable.h"

#include <QPainter>

#include <cmath>

namespace {

// Rows of the table on a page: all of them on the screen.
void PageRows(int nCount, int nPage, bool bPrinter, bool bLandscape, int& nFirst, int& nEnd)
{
    if (!bPrinter) {
        nFirst = 0;
        nEnd = nCount;
        return;
    }
    const CPageRows rows = PageRowsFor(bLandscape);
    nFirst = nPage <= 1 ? 0 : rows.m_nFirst + (nPage - 2) * rows.m_nFurther;
    nEnd = qMin(nCount, nPage <= 1 ? rows.m_nFirst : nFirst + rows.m_nFurther);
    nFirst = qMin(nFirst, nCount);
}

QSize DrawTable(QPainter* pPainter, int l, int t, int r, int b, const QStringList& entries, int nFirst, int nEnd,
                int nMaxFont, const CTextPainter& tp, bool bPrinter)
{
    CTextTable table(0, 3);
    table.m_bHasTitles = true;
    table.SetTitle(1, LoadString(IDS_HARM_MAGNITUDE));
    table.SetTitle(2, LoadString(IDS_HARM_ANGLE));
    for (int i = nFirst; i < nEnd; ++i) {
        const QString& e = entries[i];
        table.AddRow({EntryPart(e, 1), EntryPart(e, 2) + QLatin1Char(' ') + EntryPart(e, 3),
                      EntryPart(e, 4) + QChar(0x00B0)});
    }
    QSize size;
    tp.FitAndDrawTable(pPainter, l, t, r, b, table, 0, nMaxFont, &size, bPrinter);
    return size;
}

} // namespace

QString EntryPart(const QString& strEntry, int n)
{
    QString s = strEntry;
    for (int i = 1; i < n; ++i)
        s = UnitPart(s);
    return ValuePart(s);
}

QColor HarmonicsBarColour()
{
    return QColor(128, 0, 0);
}

QSize DrawHarmonics(QPainter* pPainter, const QRect& rect, const CResultCache& cache, const CTextPainter& tp,
                    DisplayMode mode, int nPage, bool bPrinter, bool bLandscape, CChartFrame* pFrame)
{
    const int l = rect.left(), t = rect.top(), r = rect.left() + rect.width(), b = rect.top() + rect.height();
    const QStringList entries = cache.KindSeries(QStringLiteral("Harm"));
    const int nCount = static_cast<int>(entries.size());

    if (mode == DisplayMode::HarmonicsTable && nPage > 1) {
        // Later printed pages hold only their rows of the table.
        int nFirst, nEnd;
        PageRows(nCount, nPage, bPrinter, bLandscape, nFirst, nEnd);
        return DrawTable(pPainter, l, t, r, b, entries, nFirst, nEnd, 0, tp, bPrinter);
    }

    const CChartHead head = DrawChartHead(
        pPainter, tp, l, t, r, b, cache, bPrinter,
        {{LoadString(IDS_HARM_CHANNEL), cache.KindField(QStringLiteral("Channel"))},
         {LoadString(IDS_HARM_TOTAL), ValueWithUnit(cache.KindField(QStringLiteral("Total-Harm")))}});
    const int y = head.m_nBottom;
    QSize used(head.m_nWidth, y - t);

    if (mode != DisplayMode::HarmonicsLinear && mode != DisplayMode::HarmonicsLog) {
        int nFirst, nEnd;
        PageRows(nCount, 1, bPrinter, bLandscape, nFirst, nEnd);
        const QSize size = DrawTable(pPainter, l, y, r, b, entries, nFirst, nEnd, head.m_nFontHeight, tp, bPrinter);
        return QSize(qMax(used.width(), size.width()), y - t + size.height());
    }

    QList<double> magnitudes;
    double dMax = 0;
    for (const QString& e : entries) {
        const double d = ParseNumber(EntryPart(e, 2));
        const double v = std::isfinite(d) ? d : 0;
        magnitudes.append(v);
        dMax = qMax(dMax, v);
    }
    CChartFrame frame;
    if (mode == DisplayMode::HarmonicsLinear) {
        frame = DrawChartFrame(pPainter, tp, l, y, r, b, 0, nCount, dMax, QString(), QStringLiteral("%"), false,
                               bPrinter);
    } else {
        // Four decades from 0.01 to 100 %; a larger magnitude extends the axis
        // by whole decades instead of leaving the chart.
        double dTop = 100;
        while (dTop < dMax)
            dTop *= 10;
        frame = DrawLogChartFrame(pPainter, tp, l, y, r, b, 0, nCount, 0.01, dTop, QString(), QStringLiteral("%"),
                                  bPrinter);
    }
    pPainter->save();
    QPen pen(HarmonicsBarColour());
    pen.setWidth(1);
    pPainter->setPen(pen);
    pPainter->setBrush(HarmonicsBarColour());
    for (int i = 0; i < nCount; ++i) {
        const double xLeft = frame.X(i + 1 - 0.4);
        const double xRight = frame.X(i + 1 + 0.4);
        const double yTop = frame.Y(qMax(0.0, magnitudes[i]));
        pPainter->drawRect(QRectF(QPointF(xLeft, yTop), QPointF(xRight, frame.m_dY0)));
    }
    pPainter->restore();
    if (pFrame)
        *pFrame = frame;
    return QSize(qMax(used.width(), frame.m_size.width()), b - t);
}
