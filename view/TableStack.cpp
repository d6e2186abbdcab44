#include "view/TableStack.h"

#include "view/DrawTools.h"
#include "view/TextPainter.h"

#include <QFontMetrics>
#include <QPainter>

QString CellText(const QString& strValue)
{
    QStringList parts = strValue.split(QLatin1Char(';'));
    parts.removeAll(QString());
    return parts.join(QLatin1Char(' '));
}

CTableStack::CTableStack(QPainter* pPainter, const CTextPainter& textPainter, bool bPrinter)
    : m_pPainter(pPainter), m_textPainter(textPainter), m_bPrinter(bPrinter)
{
}

void CTableStack::NewLine()
{
    m_bNewLine = true;
}

QList<CTableStack::CItem>& CTableStack::CurrentLine()
{
    if (m_bNewLine || m_lines.isEmpty()) {
        m_lines.append(QList<CItem>());
        m_bNewLine = false;
    }
    return m_lines.last();
}

void CTableStack::AddTable(const CTextTable& table)
{
    CItem item;
    item.m_kind = CItem::Table;
    item.m_table = table;
    CurrentLine().append(item);
}

void CTableStack::AddField(const QString& strLabel, const QString& strValue)
{
    CItem item;
    item.m_kind = CItem::Field;
    item.m_strLabel = strLabel;
    item.m_strValue = strValue;
    CurrentLine().append(item);
}

void CTableStack::AddTitle(const QString& strTitle)
{
    CItem item;
    item.m_kind = CItem::Title;
    item.m_strLabel = strTitle;
    CurrentLine().append(item);
}

QSize CTableStack::MeasureItem(const CItem& item, int nFont) const
{
    switch (item.m_kind) {
    case CItem::Table:
        return m_textPainter.MeasureTable(m_pPainter, item.m_table, nFont);
    case CItem::Field: {
        // As DrawLabeledField lays it out: label, gap, framed value, margins.
        const QFontMetrics fmLabel(MakeFont(FaceArial(), nFont, true), m_pPainter->device());
        const QFontMetrics fmValue(MakeFont(FaceCourierNew(), nFont, false), m_pPainter->device());
        return QSize(fmLabel.horizontalAdvance(item.m_strLabel) + 10 + fmValue.horizontalAdvance(item.m_strValue) + 20,
                     qMax(fmLabel.height(), fmValue.height()) + 5);
    }
    case CItem::Title: {
        const QFontMetrics fm(MakeFont(FaceArial(), nFont, true), m_pPainter->device());
        return QSize(fm.horizontalAdvance(item.m_strLabel) + 10, fm.height() + 5);
    }
    }
    return {};
}

QSize CTableStack::DrawItem(const CItem& item, int x, int y, int nFont) const
{
    if (item.m_kind == CItem::Table) {
        // At a fixed height the table needs no bounds (nor a measure first).
        QSize used;
        m_textPainter.FitAndDrawTable(m_pPainter, x, y, x, y, item.m_table, nFont, 0, &used, m_bPrinter);
        return used;
    }
    const QSize size = MeasureItem(item, nFont);
    switch (item.m_kind) {
    case CItem::Table:
        break;
    case CItem::Field:
        return DrawLabeledField(m_pPainter, m_textPainter, x, y, x + size.width(), y + size.height(), item.m_strLabel,
                                item.m_strValue, nFont, kAlignLeft);
    case CItem::Title:
        return m_textPainter.DrawTextBox(m_pPainter, x, y, x + size.width(), y + size.height(), item.m_strLabel, nFont,
                                         kAlignLeft, true, false, true, FaceArial(), false);
    }
    return {};
}

QSize CTableStack::Measure(int nFont) const
{
    int nWidth = 0, nHeight = 0;
    for (const QList<CItem>& line : m_lines) {
        int nLineWidth = 0, nLineHeight = 0;
        for (const CItem& item : line) {
            const QSize size = MeasureItem(item, nFont);
            if (nLineWidth > 0)
                nLineWidth += Gap(nFont);
            nLineWidth += size.width();
            nLineHeight = qMax(nLineHeight, size.height());
        }
        if (nHeight > 0)
            nHeight += Gap(nFont);
        nHeight += nLineHeight;
        nWidth = qMax(nWidth, nLineWidth);
    }
    return QSize(nWidth, nHeight);
}

namespace {

// A table of the same shape whose one measured row holds the longest text
// of each column: measuring it is as good as measuring the table, at a
// fraction of the cost for long tables.
CTextTable ProbeTable(const CTextTable& table)
{
    CTextTable probe = table;
    const int nColumns = table.ColumnCount();
    QStringList longest(nColumns);
    for (int r = 0; r < table.RowCount(); ++r) {
        const CTextTableRow& row = table.Row(r);
        for (int c = 0; c < nColumns; ++c) {
            const bool bHead = c == 0 && (table.m_bHasRowHeads || row.m_bFirstIsHead);
            const bool bUnit = c == nColumns - 1 && table.m_bHasUnits;
            if (row.m_bSkipMeasure && !bHead && !bUnit)
                continue;
            if (row.m_strCells.value(c).size() > longest[c].size())
                longest[c] = row.m_strCells.value(c);
        }
    }
    for (int r = 0; r < probe.RowCount(); ++r) {
        CTextTableRow& row = probe.Row(r);
        row.m_strCells = r == 0 ? longest : QStringList(nColumns);
        row.m_bSkipMeasure = r > 0;
        row.m_bFirstIsHead = false;
    }
    return probe;
}

} // namespace

int CTableStack::Fit(const QRect& rect, int nMaxFont) const
{
    // Every line holds at least one row of text; tables hold their rows.
    int nTextLines = 0;
    for (const QList<CItem>& line : m_lines) {
        int nLines = 1;
        for (const CItem& item : line)
            if (item.m_kind == CItem::Table)
                nLines = qMax(nLines, item.m_table.RowCount() + (item.m_table.m_bHasTitles ? 1 : 0));
        nTextLines += nLines;
    }
    int nStart = rect.height() / qMax(1, nTextLines);
    if (nMaxFont >= 1)
        nStart = qMin(nStart, nMaxFont);
    // The search measures the probes; the real stack confirms the result
    // (a head with fewer but wider letters may need a step more).
    CTableStack probes(m_pPainter, m_textPainter, m_bPrinter);
    probes.m_lines = m_lines;
    for (QList<CItem>& line : probes.m_lines)
        for (CItem& item : line)
            if (item.m_kind == CItem::Table)
                item.m_table = ProbeTable(item.m_table);
    const auto fits = [&](const CTableStack& stack, int h) {
        const QSize size = stack.Measure(h);
        return size.width() <= rect.width() && size.height() <= rect.height();
    };
    const int nStep = m_bPrinter ? 10 : 1;
    int h = m_textPainter.FindLargestHeight(nStart, nStep, [&](int nTrial) { return fits(probes, nTrial); });
    while (h - nStep >= m_textPainter.m_nMinHeight && !fits(*this, h))
        h -= nStep;
    return h;
}

QSize CTableStack::Draw(const QRect& rect, int nFont) const
{
    int y = rect.top();
    int nWidth = 0;
    for (const QList<CItem>& line : m_lines) {
        int x = rect.left();
        int nLineHeight = 0;
        for (const CItem& item : line) {
            const QSize size = DrawItem(item, x, y, nFont);
            x += size.width() + Gap(nFont);
            nLineHeight = qMax(nLineHeight, size.height());
        }
        nWidth = qMax(nWidth, x - Gap(nFont) - rect.left());
        y += nLineHeight + Gap(nFont);
    }
    return QSize(nWidth, m_lines.isEmpty() ? 0 : y - Gap(nFont) - rect.top());
}
