#pragma once

#include "view/TextTable.h"

#include <QList>
#include <QRect>
#include <QSize>
#include <QString>

class QPainter;
class CTextPainter;

// A value text as a cell shows it: the value, a blank and its unit parts
// ("1000.00;x1;I/kWh" gives "1000.00 x1 I/kWh"); empty parts are left out.
QString CellText(const QString& strValue);

// Tables, labelled fields and titles, drawn top to bottom in lines; the items
// of one line stand side by side. All of them share one font height, the
// largest at which the whole stack fits its rectangle, so that the tables of
// one rendering look alike and none runs out of the page.
class CTableStack
{
public:
    CTableStack(QPainter* pPainter, const CTextPainter& textPainter, bool bPrinter);

    // Starts a new line; the first item starts one by itself.
    void NewLine();
    void AddTable(const CTextTable& table);
    // A bold label and its value in a framed box.
    void AddField(const QString& strLabel, const QString& strValue);
    // A bold title in a framed box.
    void AddTitle(const QString& strTitle);
    bool IsEmpty() const { return m_lines.isEmpty(); }

    // The largest font height, at most nMaxFont when that is 1 or more, at
    // which the stack fits the rectangle; the painter's smallest height when
    // nothing fits.
    int Fit(const QRect& rect, int nMaxFont) const;
    // The size the stack needs at a font height.
    QSize Measure(int nFont) const;
    // Draws the stack at a font height from the rectangle's top left; returns
    // the size used.
    QSize Draw(const QRect& rect, int nFont) const;
    // Fit and draw.
    QSize FitAndDraw(const QRect& rect, int nMaxFont) const { return Draw(rect, Fit(rect, nMaxFont)); }

private:
    struct CItem
    {
        enum Kind { Table, Field, Title };
        Kind m_kind = Table;
        CTextTable m_table;
        QString m_strLabel;
        QString m_strValue;
    };
    QSize MeasureItem(const CItem& item, int nFont) const;
    QSize DrawItem(const CItem& item, int x, int y, int nFont) const;
    static int Gap(int nFont) { return qMax(2, nFont / 2); }
    QList<CItem>& CurrentLine();

    QPainter* m_pPainter;
    const CTextPainter& m_textPainter;
    bool m_bPrinter;
    QList<QList<CItem>> m_lines;
    bool m_bNewLine = true;
};
