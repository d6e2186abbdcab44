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
    const QSize size = MeasureItem(item, nFont);
    switch (item.m_kind) {
    case CItem::Table: {
        QSize used;
        m_textPainter.FitAndDrawTable(m_pPainter, x, y, x + size.width(), y + size.height(), item.m_table, nFont, 0,
                                      &used, m_bPrinter);
        return used;
    }
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
    return m_textPainter.FindLargestHeight(nStart, m_bPrinter ? 10 : 1, [&](int h) {
        const QSize size = Measure(h);
        return size.width() <= rect.width() && size.height() <= rect.height();
    });
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
