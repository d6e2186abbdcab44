#include "view/DrawTools.h"

#include "resources/StringTable.h"
#include "view/ResultCache.h"
#include "view/TextPainter.h"
#include "view/TextTable.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPaintDevice>
#include <QPolygonF>

#include <cmath>

QString ValuePart(const QString& str, QChar sep)
{
    const qsizetype n = str.indexOf(sep);
    return n < 0 ? str : str.left(n);
}

QString UnitPart(const QString& str, QChar sep)
{
    const qsizetype n = str.indexOf(sep);
    return n < 0 ? QString() : str.mid(n + 1);
}

QString UnitOnly(const QString& str)
{
    return ValuePart(UnitPart(str));
}

QString ValueWithUnit(const QString& str)
{
    const QString strUnit = UnitOnly(str);
    if (strUnit.isEmpty())
        return ValuePart(str);
    return ValuePart(str) + QLatin1Char(' ') + strUnit;
}

int ArrowPenWidth(QPainter* pPainter, bool bPrinter)
{
    if (bPrinter && pPainter->device())
        return qMax(1, pPainter->device()->height() / 500);
    return 2;
}

void DrawArrow(QPainter* pPainter, double x1, double y1, double x2, double y2, const QColor& colour,
               double dHeadLength, double dHeadHalfWidth, bool bPrinter)
{
    constexpr double kPi = 3.141592653;
    double dTheta;
    if (std::fabs(x2 - x1) >= 0.0001) {
        dTheta = std::atan((y1 - y2) / (x2 - x1));
        if (x1 >= x2)
            dTheta += kPi;
    } else {
        // Straight up or down: y grows downward, so an upward shaft has
        // the angle +pi/2 and its head's base lies below the tip.
        dTheta = y2 <= y1 ? kPi / 2 : -kPi / 2;
    }
    const double c = std::cos(dTheta);
    const double s = std::sin(dTheta);
    const QPointF tip(x2, y2);
    const QPointF base(x2 - c * dHeadLength, y2 + s * dHeadLength);
    // Perpendicular to the shaft direction (c, -s).
    const QPointF side(s * dHeadHalfWidth, c * dHeadHalfWidth);

    pPainter->save();
    QPen pen(colour);
    pen.setStyle(Qt::SolidLine);
    pen.setWidth(ArrowPenWidth(pPainter, bPrinter));
    pPainter->setPen(pen);
    pPainter->setBrush(colour);
    pPainter->drawLine(QPointF(x1, y1), base);
    const QPointF head[3] = {tip, base + side, base - side};
    pPainter->drawPolygon(head, 3);
    pPainter->restore();
}

QSize DrawLabeledField(QPainter* pPainter, const CTextPainter& textPainter, int nLeft, int nTop, int nRight,
                       int nBottom, const QString& strLabel, const QString& strValue, int nFontHeight,
                       int nAlign)
{
    auto widths = [&](int h, int& wLabel, int& wValue, int& hText) {
        const QFontMetrics fmLabel(MakeFont(FaceArial(), h, true), pPainter->device());
        const QFontMetrics fmValue(MakeFont(FaceCourierNew(), h, false), pPainter->device());
        wLabel = fmLabel.horizontalAdvance(strLabel);
        wValue = fmValue.horizontalAdvance(strValue);
        hText = qMax(fmLabel.height(), fmValue.height());
    };
    int h = nFontHeight;
    if (h <= 0) {
        h = textPainter.FindLargestHeight(nBottom - nTop, 1, [&](int nTrial) {
            int wLabel, wValue, hText;
            widths(nTrial, wLabel, wValue, hText);
            return nTop + hText + 5 <= nBottom && nLeft + wLabel + 10 + wValue + 10 + 10 <= nRight;
        });
    }
    h = qMax(h, textPainter.m_nMinHeight);
    int wLabel, wValue, hText;
    widths(h, wLabel, wValue, hText);
    const int wTotal = wLabel + 10 + wValue + 10 + 10;
    int x = nLeft;
    if (nAlign == kAlignRight)
        x = nRight - wTotal;
    else if (nAlign == kAlignCenter)
        x = nLeft + (nRight - nLeft - wTotal) / 2;

    const QFont fontLabel = MakeFont(FaceArial(), h, true);
    const QFont fontValue = MakeFont(FaceCourierNew(), h, false);
    const QFontMetrics fmLabel(fontLabel, pPainter->device());
    const QFontMetrics fmValue(fontValue, pPainter->device());
    pPainter->save();
    pPainter->setBackgroundMode(Qt::TransparentMode);
    QPen pen(Qt::black);
    pen.setWidth(0);
    pPainter->setPen(pen);
    pPainter->setBrush(Qt::NoBrush);
    pPainter->setFont(fontLabel);
    pPainter->drawText(QPoint(x + 5, nTop + 3 + (hText - fmLabel.height()) / 2 + fmLabel.ascent()), strLabel);
    const int xBox = x + 5 + wLabel + 10;
    pPainter->drawRect(xBox, nTop, wValue + 10, hText + 5);
    pPainter->setFont(fontValue);
    pPainter->drawText(QPoint(xBox + 5, nTop + 3 + (hText - fmValue.height()) / 2 + fmValue.ascent()), strValue);
    pPainter->restore();
    return QSize(wTotal, hText + 5);
}

int DrawResultSettings(QPainter* pPainter, const CTextPainter& textPainter, int nLeft, int nTop, int nRight,
                       int nBottom, const CResultCache& cache, bool bPrinter, QSize* pOutSize, int nMaxFontHeight)
{
    CTextTable table(5, 4);
    table.m_bHasTitles = true;
    table.m_bHasRowHeads = true;
    table.SetTitle(0, QString());
    table.SetTitle(1, QStringLiteral("UB"));
    table.SetTitle(2, QStringLiteral("IB"));
    table.SetTitle(3, LoadString(IDS_MEASURING_MODE_SHORT));

    table.SetCell(0, 0, LoadString(IDS_SETTINGS_ROW));
    table.SetCell(1, 0, ValueWithUnit(cache.m_strURange));
    table.SetCell(2, 0, ValueWithUnit(cache.m_strIRange));
    table.SetCell(3, 0, ValueWithUnit(cache.m_strMMode));

    // A ratio text is "primary/secondary;unit;ratio": the transformation
    // with its unit stands under UB, the ratio number beside it.
    auto setRatio = [&](int nRow, unsigned nHead, const QString& strPrimSek, const QString& strExtra) {
        const QStringList parts = strPrimSek.split(QLatin1Char(';'));
        table.SetCell(0, nRow, LoadString(nHead));
        QString strRatio = parts.value(0);
        if (!parts.value(1).isEmpty())
            strRatio += QLatin1Char(' ') + parts.value(1);
        table.SetCell(1, nRow, strRatio);
        QString strNumber = parts.value(2);
        if (!strExtra.isEmpty())
            strNumber += QStringLiteral(" (") + strExtra + QLatin1Char(')');
        table.SetCell(2, nRow, strNumber);
    };
    setRatio(1, IDS_U_RATIO, cache.m_strUPrimSek, {});
    setRatio(2, IDS_I_RATIO, cache.m_strIPrimSek, cache.IsErrorMeasurement() ? cache.m_strErrCtRat : QString());

    table.SetCell(1, 3, LoadString(IDS_ACTUAL_VALUES_COLUMN));
    table.SetCell(2, 3, LoadString(IDS_CONSTANT_COLUMN));
    table.SetCell(3, 3, LoadString(IDS_REGISTER_COLUMN));

    const QStringList primSek = cache.m_strPrimSekValCzReg.split(QLatin1Char(';'));
    table.SetCell(0, 4, LoadString(IDS_RATIO_ROW));
    for (int i = 0; i < 3; ++i)
        table.SetCell(i + 1, 4, primSek.value(i));

    return textPainter.FitAndDrawTable(pPainter, nLeft, nTop, nRight, nBottom, table, 0, nMaxFontHeight, pOutSize,
                                       bPrinter);
}
