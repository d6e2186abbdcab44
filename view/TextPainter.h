#pragma once

#include <QSize>
#include <QString>

class QFont;
class QPainter;
class CTextTable;

// Text alignment codes of DrawTextBox: where the text's frame stands in the box.
enum TextAlign : int {
    kAlignLeft = 0,
    kAlignRight = 2,
    kAlignCenter = 6,
};

// Font faces of the renderers; fontconfig maps them to metric-compatible fonts.
QString FaceArial();
QString FaceCourierNew();
// A font of the given face and character height in device pixels.
QFont MakeFont(const QString& strFace, int nHeight, bool bBold);

// Lays out tables and text boxes so that they fit a rectangle, shrinking
// the font as needed, but never below the smallest height.
class CTextPainter
{
public:
    int m_nMinHeight = 1;

    // Fits the table into the rectangle and draws it at (left + 10, top + 5).
    // A fixed font height (>= 1) skips the fitting; a maximum height (>= 1)
    // caps it. On a printer the height shrinks in steps of 10. Returns the
    // font height used; pOutSize receives the size used (table + 20, + 5).
    int FitAndDrawTable(QPainter* pPainter, int nLeft, int nTop, int nRight, int nBottom, const CTextTable& table,
                        int nFixedFontHeight, int nMaxFontHeight, QSize* pOutSize, bool bPrinter) const;

    // The size the table needs at a font height, without drawing.
    QSize MeasureTable(QPainter* pPainter, const CTextTable& table, int nFontHeight) const;

    // A single- or multi-line text in a box; a font height of 0 shrinks the
    // font until the text fits. Returns the size of the text's frame.
    QSize DrawTextBox(QPainter* pPainter, int nLeft, int nTop, int nRight, int nBottom, const QString& strText,
                      int nFontHeight, int nAlign, bool bFramed, bool bMultiLine, bool bBold,
                      const QString& strFace, bool bWordWrap) const;

    // The largest height h = nStart - k * nStep (k >= 0) above the smallest
    // height for which fits(h) holds; the smallest height when none does.
    template <class Fits>
    int FindLargestHeight(int nStart, int nStep, Fits fits) const
    {
        if (nStart <= m_nMinHeight)
            return m_nMinHeight;
        // Measures grow with the height, so a bisection over the steps finds
        // the same height as trying them one after another.
        const int nSteps = (nStart - m_nMinHeight - 1) / nStep; // nStart - nSteps*nStep > min
        int lo = 0, hi = nSteps;
        if (!fits(nStart - hi * nStep))
            return m_nMinHeight;
        while (lo < hi) {
            const int mid = (lo + hi) / 2;
            if (fits(nStart - mid * nStep))
                hi = mid;
            else
                lo = mid + 1;
        }
        return nStart - lo * nStep;
    }
};
