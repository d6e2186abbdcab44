#include "view/TextTable.h"

void CTextTable::SetSize(int nRows, int nColumns)
{
    nRows = qMax(0, nRows);
    m_nColumns = qMax(0, nColumns);
    m_rows.resize(nRows);
    for (CTextTableRow& row : m_rows)
        row.m_strCells.resize(m_nColumns);
    m_strTitles.resize(m_nColumns);
}

void CTextTable::SetCell(int nColumn, int nRow, const QString& strText)
{
    if (nRow < 0 || nRow >= RowCount() || nColumn < 0 || nColumn >= m_nColumns)
        return;
    m_rows[nRow].m_strCells[nColumn] = strText;
}

QString CTextTable::GetCell(int nColumn, int nRow) const
{
    if (nRow < 0 || nRow >= RowCount() || nColumn < 0 || nColumn >= m_nColumns)
        return {};
    return m_rows[nRow].m_strCells.value(nColumn);
}

void CTextTable::SetTitle(int nIndex, const QString& strText)
{
    if (nIndex < 0 || nIndex >= m_nColumns)
        return;
    m_strTitles[nIndex] = strText;
}

QString CTextTable::GetTitle(int nIndex) const
{
    return m_strTitles.value(nIndex);
}

int CTextTable::AddRow(const QStringList& strCells)
{
    CTextTableRow row;
    row.m_strCells = strCells;
    row.m_strCells.resize(m_nColumns);
    m_rows.append(row);
    return RowCount() - 1;
}
