#include "view/TextPainter.h"

#include "view/TextTable.h"

#include <QFont>
#include <QFontInfo>
#include <QFontMetrics>
#include <QHash>
#include <QPainter>

QString FaceArial()
{
    return QStringLiteral("Arial");
}

QString FaceCourierNew()
{
    return QStringLiteral("Courier New");
}

QFont MakeFont(const QString& strFace, int nHeight, bool bBold)
{
    QFont font(strFace);
    font.setPixelSize(qMax(1, nHeight));
    font.setWeight(bBold ? QFont::Bold : QFont::Normal);
    font.setStyleHint(strFace == FaceCourierNew() ? QFont::TypeWriter : QFont::SansSerif);
    return font;
}

namespace {

// Column widths and row height of a table at one font height.
struct CTableLayout
{
    int nHeadWidth = 0;
    int nBodyWidth = 0;
    int nUnitWidth = 0;
    int nRowHeight = 0;
    int nPad = 0;
    int nBodyColumns = 0;
    int nWidth = 0;
    int nHeight = 0;
};

// Whole pixels that hold the glyphs of both fonts above and below the
// baseline (the integer metrics round and may cut a fraction off).
int RowAscent(const QFontMetrics& fmBold, const QFontMetrics& fmMono)
{
    return qMax(fmBold.ascent(), fmMono.ascent()) + 1;
}

int RowDescent(const QFontMetrics& fmBold, const QFontMetrics& fmMono)
{
    return qMax(fmBold.descent(), fmMono.descent()) + 1;
}

// Widths in the cells' fixed-pitch font. Values and units are plain ASCII,
// where every character advances the same: multiplying spares shaping each
// cell again at every font height the fitting tries.
class CMonoWidth
{
public:
    CMonoWidth(const QFont& font, const QFontMetrics& fm, QPaintDevice* pDevice)
        : m_fm(fm)
    {
        const QFontMetricsF fmf(font, pDevice);
        m_dAdvance = fmf.horizontalAdvance(QLatin1Char('0'));
        m_bFixed = QFontInfo(font).fixedPitch();
        for (const char c : {'W', 'i', '.', ' ', '-'})
            m_bFixed = m_bFixed && fmf.horizontalAdvance(QLatin1Char(c)) == m_dAdvance;
    }

    int operator()(const QString& str) const
    {
        if (!m_bFixed)
            return m_fm.horizontalAdvance(str);
        for (const QChar ch : str)
            if (ch.unicode() < 0x20 || ch.unicode() > 0x7E)
                return m_fm.horizontalAdvance(str);
        return qRound(m_dAdvance * str.size());
    }

private:
    const QFontMetrics& m_fm;
    qreal m_dAdvance = 0;
    bool m_bFixed = false;
};

// Widths in the bold head font, kept between repaints: heads and titles
// are the same few texts at the same few heights every time a view is
// painted, and shaping them again costs more than the rest of a table.
class CBoldWidth
{
public:
    CBoldWidth(const QFontMetrics& fm, int nHeight, QPaintDevice* pDevice)
        : m_fm(fm)
        , m_nKey((qint64(pDevice ? pDevice->logicalDpiX() : 0) << 32) | quint32(nHeight))
    {
    }

    int operator()(const QString& str) const
    {
        // Painting runs on one thread; a second one (an export) has its own.
        thread_local QHash<QPair<qint64, QString>, int> cache;
        const QPair<qint64, QString> key(m_nKey, str);
        if (const auto it = cache.constFind(key); it != cache.constEnd())
            return *it;
        if (cache.size() > 50000)
            cache.clear();
        const int w = m_fm.horizontalAdvance(str);
        cache.insert(key, w);
        return w;
    }

private:
    const QFontMetrics& m_fm;
    qint64 m_nKey;
};

bool IsHeadColumn(const CTextTable& table, int nColumn)
{
    return nColumn == 0 && table.m_bHasRowHeads;
}

bool IsUnitColumn(const CTextTable& table, int nColumn)
{
    return nColumn == table.ColumnCount() - 1 && table.m_bHasUnits
           && !(table.ColumnCount() == 1 && table.m_bHasRowHeads);
}

CTableLayout Layout(QPainter* pPainter, const CTextTable& table, int nHeight)
{
    const QFontMetrics fmBold(MakeFont(FaceArial(), nHeight, true), pPainter->device());
    const QFont fontMono = MakeFont(FaceCourierNew(), nHeight, false);
    const QFontMetrics fmMono(fontMono, pPainter->device());
    const CMonoWidth monoWidth(fontMono, fmMono, pPainter->device());
    const CBoldWidth boldWidth(fmBold, nHeight, pPainter->device());
    CTableLayout lay;
    // Heads and cells share a baseline: the row holds the taller ascent
    // and the deeper descent of the two fonts.
    lay.nRowHeight = RowAscent(fmBold, fmMono) + RowDescent(fmBold, fmMono);
    lay.nRowHeight = qMax(lay.nRowHeight, qMax(fmBold.height(), fmMono.height()));
    // A little air between a cell's frame and its text.
    lay.nPad = qMax(1, nHeight / 4);
    const int nColumns = table.ColumnCount();
    for (int c = 0; c < nColumns; ++c)
        if (!IsHeadColumn(table, c) && !IsUnitColumn(table, c))
            ++lay.nBodyColumns;

    for (int r = 0; r < table.RowCount(); ++r) {
        const CTextTableRow& row = table.Row(r);
        if (table.m_bHasRowHeads && nColumns > 0)
            lay.nHeadWidth = qMax(lay.nHeadWidth, boldWidth(row.m_strCells.value(0)));
        if (table.m_bHasUnits && nColumns > 0 && IsUnitColumn(table, nColumns - 1))
            lay.nUnitWidth = qMax(lay.nUnitWidth, monoWidth(row.m_strCells.value(nColumns - 1)));
        if (row.m_bSkipMeasure)
            continue;
        for (int c = 0; c < nColumns; ++c) {
            if (IsHeadColumn(table, c) || IsUnitColumn(table, c) || (c == 0 && row.m_bFirstIsHead))
                continue;
            lay.nBodyWidth = qMax(lay.nBodyWidth, monoWidth(row.m_strCells.value(c)));
        }
    }
    // Titles must not run into their neighbours either.
    if (table.m_bHasTitles) {
        for (int c = 0; c < nColumns; ++c) {
            const int w = boldWidth(table.GetTitle(c));
            if (IsHeadColumn(table, c))
                lay.nHeadWidth = qMax(lay.nHeadWidth, w);
            else if (IsUnitColumn(table, c))
                lay.nUnitWidth = qMax(lay.nUnitWidth, w);
            else
                lay.nBodyWidth = qMax(lay.nBodyWidth, w);
        }
    }
    if (lay.nHeadWidth > 0)
        lay.nHeadWidth += 2 * lay.nPad;
    if (lay.nUnitWidth > 0)
        lay.nUnitWidth += 2 * lay.nPad;
    if (lay.nBodyWidth > 0)
        lay.nBodyWidth += 2 * lay.nPad;
    lay.nWidth = lay.nHeadWidth + lay.nBodyColumns * lay.nBodyWidth + lay.nUnitWidth;
    lay.nHeight = (table.RowCount() + (table.m_bHasTitles ? 1 : 0)) * lay.nRowHeight;
    return lay;
}

// Bold heads and plain cells of one row share a baseline, centred in the row.
int RowBaseline(const QFontMetrics& fmBold, const QFontMetrics& fmMono, int nRowTop, int nRowHeight)
{
    const int nAscent = RowAscent(fmBold, fmMono);
    return nRowTop + (nRowHeight - nAscent - RowDescent(fmBold, fmMono)) / 2 + nAscent;
}

void DrawAt(QPainter* pPainter, int x, int nBaseline, const QString& str)
{
    if (!str.isEmpty())
        pPainter->drawText(QPoint(x, nBaseline), str);
}

QPen ThinBlackPen()
{
    QPen pen(Qt::black);
    pen.setWidth(0);
    return pen;
}

} // namespace

QSize CTextPainter::MeasureTable(QPainter* pPainter, const CTextTable& table, int nFontHeight) const
{
    const CTableLayout lay = Layout(pPainter, table, nFontHeight);
    return QSize(lay.nWidth + 20, lay.nHeight + 5);
}

int CTextPainter::FitAndDrawTable(QPainter* pPainter, int nLeft, int nTop, int nRight, int nBottom,
                                  const CTextTable& table, int nFixedFontHeight, int nMaxFontHeight,
                                  QSize* pOutSize, bool bPrinter) const
{
    const int nLines = table.RowCount() + (table.m_bHasTitles ? 1 : 0);
    int h = nFixedFontHeight;
    if (h < 1) {
        const int nStart = (nBottom - nTop) / qMax(1, nLines);
        h = FindLargestHeight(nStart, bPrinter ? 10 : 1, [&](int nTrial) {
            const CTableLayout lay = Layout(pPainter, table, nTrial);
            return nTop + lay.nHeight + 5 <= nBottom && nLeft + lay.nWidth + 20 <= nRight;
        });
        if (h < m_nMinHeight)
            h = m_nMinHeight;
        if (nMaxFontHeight >= 1 && h > nMaxFontHeight)
            h = nMaxFontHeight;
    }

    const CTableLayout lay = Layout(pPainter, table, h);
    const QFont fontBold = MakeFont(FaceArial(), h, true);
    const QFont fontMono = MakeFont(FaceCourierNew(), h, false);
    const QFontMetrics fmBold(fontBold, pPainter->device());
    const QFontMetrics fmMono(fontMono, pPainter->device());
    const CMonoWidth monoWidth(fontMono, fmMono, pPainter->device());
    const CBoldWidth boldWidth(fmBold, h, pPainter->device());

    pPainter->save();
    pPainter->setBackgroundMode(Qt::TransparentMode);
    pPainter->setPen(ThinBlackPen());
    pPainter->setBrush(Qt::NoBrush);

    const int x0 = nLeft + 10;
    int y = nTop + 5;
    const int nColumns = table.ColumnCount();
    // Left edge and width of each column.
    QList<int> colLeft(nColumns), colWidth(nColumns);
    int x = x0;
    for (int c = 0; c < nColumns; ++c) {
        colLeft[c] = x;
        colWidth[c] = IsHeadColumn(table, c) ? lay.nHeadWidth : IsUnitColumn(table, c) ? lay.nUnitWidth : lay.nBodyWidth;
        x += colWidth[c];
    }

    if (table.m_bHasTitles) {
        pPainter->setFont(fontBold);
        for (int c = 0; c < nColumns; ++c) {
            const QString strTitle = table.GetTitle(c);
            const int w = boldWidth(strTitle);
            DrawAt(pPainter, colLeft[c] + (colWidth[c] - w) / 2, RowBaseline(fmBold, fmMono, y, lay.nRowHeight), strTitle);
        }
        y += lay.nRowHeight;
    }

    for (int r = 0; r < table.RowCount(); ++r) {
        const CTextTableRow& row = table.Row(r);
        const int nBaseline = RowBaseline(fmBold, fmMono, y, lay.nRowHeight);
        for (int c = 0; c < nColumns; ++c) {
            const QString str = row.m_strCells.value(c);
            if (IsHeadColumn(table, c) || (c == 0 && row.m_bFirstIsHead)) {
                pPainter->setFont(fontBold);
                DrawAt(pPainter, colLeft[c] + lay.nPad, nBaseline, str);
            } else if (IsUnitColumn(table, c)) {
                pPainter->setFont(fontMono);
                DrawAt(pPainter, colLeft[c] + lay.nPad, nBaseline, str);
            } else {
                pPainter->drawRect(colLeft[c], y, colWidth[c], lay.nRowHeight);
                pPainter->setFont(fontMono);
                const int w = monoWidth(str);
                DrawAt(pPainter, colLeft[c] + (colWidth[c] - w) / 2, nBaseline, str);
            }
        }
        y += lay.nRowHeight;
    }
    pPainter->restore();

    if (pOutSize)
        *pOutSize = QSize(lay.nWidth + 20, lay.nHeight + 5);
    return h;
}

QSize CTextPainter::DrawTextBox(QPainter* pPainter, int nLeft, int nTop, int nRight, int nBottom,
                                const QString& strText, int nFontHeight, int nAlign, bool bFramed,
                                bool bMultiLine, bool bBold, const QString& strFace, bool bWordWrap) const
{
    auto metricsAt = [&](int h) { return QFontMetrics(MakeFont(strFace, h, bBold), pPainter->device()); };
    int h = nFontHeight;
    if (h <= 0) {
        h = FindLargestHeight(nBottom - nTop, 1, [&](int nTrial) {
            const QFontMetrics fm = metricsAt(nTrial);
            // A multi-line text is measured by its longest line.
            int w = 0;
            for (const QString& strLine : strText.split(QLatin1Char('\n')))
                w = qMax(w, fm.horizontalAdvance(strLine));
            const int nLineCount = bMultiLine ? static_cast<int>(strText.count(QLatin1Char('\n'))) + 1 : 1;
            return nTop + nLineCount * fm.height() + 5 <= nBottom && nLeft + w + 10 <= nRight;
        });
    }
    if (h <= m_nMinHeight)
        h = m_nMinHeight;

    const QFont font = MakeFont(strFace, h, bBold);
    const QFontMetrics fm(font, pPainter->device());
    pPainter->save();
    pPainter->setBackgroundMode(Qt::TransparentMode);
    pPainter->setPen(ThinBlackPen());
    pPainter->setBrush(Qt::NoBrush);
    pPainter->setFont(font);

    auto frameLeft = [&](int nFrameWidth) {
        switch (nAlign) {
        case kAlignRight: return nRight - nFrameWidth;
        case kAlignCenter: return nLeft + (nRight - nLeft - nFrameWidth) / 2;
        default: return nLeft;
        }
    };

    QSize size;
    if (!bMultiLine) {
        QString str = strText;
        while (!str.isEmpty() && fm.horizontalAdvance(str) > nRight - nLeft - 10)
            str.chop(1);
        const int w = fm.horizontalAdvance(str) + 10;
        const int hFrame = fm.height() + 5;
        const int x = frameLeft(w);
        pPainter->drawText(QPoint(x + 5, nTop + 3 + fm.ascent()), str);
        if (bFramed)
            pPainter->drawRect(x, nTop, w, hFrame);
        size = QSize(w, hFrame);
    } else {
        const int nLimit = nRight - nLeft - 5 - 10;
        int y = nTop + 3;
        int nWidest = 0;
        QString strRest = strText;
        bool bFirst = true;
        while (bFirst || !strRest.isEmpty()) {
            bFirst = false;
            qsizetype nEnd = strRest.indexOf(QLatin1Char('\n'));
            if (nEnd < 0)
                nEnd = strRest.size();
            QString strLine = strRest.left(nEnd);
            while (strLine.size() > 1 && fm.horizontalAdvance(strLine) > nLimit)
                strLine.chop(1);
            qsizetype nCut = strLine.size();
            if (bWordWrap && nCut < nEnd) {
                const qsizetype nBlank = strLine.lastIndexOf(QLatin1Char(' '));
                if (nBlank > 0) {
                    nCut = nBlank;
                    strLine.truncate(nBlank);
                }
            }
            const int w = fm.horizontalAdvance(strLine);
            nWidest = qMax(nWidest, w);
            pPainter->drawText(QPoint(frameLeft(w + 10) + 5, y + fm.ascent()), strLine);
            y += fm.height();
            strRest = strRest.mid(nCut);
            // The line feed or blank at the cut belongs to no line.
            if (strRest.startsWith(QLatin1Char('\n')) || (bWordWrap && strRest.startsWith(QLatin1Char(' '))))
                strRest.remove(0, 1);
            if (nCut == 0 && nEnd > 0 && strRest.size() == strText.size())
                break; // nothing fits: do not loop for ever
        }
        if (bFramed)
            pPainter->drawRect(nLeft, nTop, nRight - nLeft, y - nTop);
        size = QSize(bFramed ? nRight - nLeft : nWidest + 10, y - nTop + 2);
    }
    pPainter->restore();
    return size;
}
