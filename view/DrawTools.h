#pragma once

#include <QColor>
#include <QSize>
#include <QString>

class QPainter;
class CTextPainter;
struct CResultCache;

// The text before the first separator (all of it when there is none).
QString ValuePart(const QString& str, QChar sep = QLatin1Char(';'));
// The text after the first separator (empty when there is none).
QString UnitPart(const QString& str, QChar sep = QLatin1Char(';'));
// The unit of a value text, up to a further separator: "300.0;V;x" gives "V".
QString UnitOnly(const QString& str);
// "value unit" of a value text, or just the value when it has no unit.
QString ValueWithUnit(const QString& str);

// Width of a drawing pen: on a printer a fraction of the device, on the
// screen a fixed width in pixels.
int ArrowPenWidth(QPainter* pPainter, bool bPrinter);

// An arrow from (x1, y1) to the tip (x2, y2) with a filled head.
void DrawArrow(QPainter* pPainter, double x1, double y1, double x2, double y2, const QColor& colour,
               double dHeadLength, double dHeadHalfWidth, bool bPrinter);

// A bold label followed by its value in a framed box, at one font height
// that shrinks until both fit. Returns the size used.
QSize DrawLabeledField(QPainter* pPainter, const CTextPainter& textPainter, int nLeft, int nTop, int nRight,
                       int nBottom, const QString& strLabel, const QString& strValue, int nFontHeight = 0,
                       int nAlign = 0);

// The result settings table that heads most renderings. Returns the font
// height chosen; pOutSize receives the size used.
int DrawResultSettings(QPainter* pPainter, const CTextPainter& textPainter, int nLeft, int nTop, int nRight,
                       int nBottom, const CResultCache& cache, bool bPrinter, QSize* pOutSize = nullptr,
                       int nMaxFontHeight = 0);
