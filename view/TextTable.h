#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// One row of a CTextTable: its cells and how it takes part in measuring.
class CTextTableRow
{
public:
    QStringList m_strCells;
    // The row does not count when the widest cell is measured.
    bool m_bSkipMeasure = false;
    // Kept with the row for the renderer that built it; copied with the row.
    bool m_bMarked = false;
    // The first cell is a row head and does not count when measuring.
    bool m_bFirstIsHead = false;
};

// A table of strings from which every rendered table is built. Positions
// outside the table are ignored by the setters and read as "".
class CTextTable
{
public:
    CTextTable() = default;
    CTextTable(int nRows, int nColumns) { SetSize(nRows, nColumns); }

    // Sizes the table; existing cells inside the new size are kept.
    void SetSize(int nRows, int nColumns);
    int RowCount() const { return static_cast<int>(m_rows.size()); }
    int ColumnCount() const { return m_nColumns; }

    void SetCell(int nColumn, int nRow, const QString& strText);
    QString GetCell(int nColumn, int nRow) const;
    void SetTitle(int nIndex, const QString& strText);
    QString GetTitle(int nIndex) const;
    const QStringList& Titles() const { return m_strTitles; }

    // Appends a row of the table's width and returns its index.
    int AddRow(const QStringList& strCells = {});
    CTextTableRow& Row(int nRow) { return m_rows[nRow]; }
    const CTextTableRow& Row(int nRow) const { return m_rows[nRow]; }

    bool m_bHasTitles = true;
    bool m_bHasRowHeads = false;
    bool m_bHasUnits = false;

private:
    int m_nColumns = 0;
    QStringList m_strTitles;
    QList<CTextTableRow> m_rows;
};
