#pragma once

#include "core/Kinds.h"

#include <QList>
#include <QString>
#include <QStringList>

struct CResultCache;

// The lines of one result in the CSV layout of its kind: the column titles
// and one or more data lines with one cell per title (a continuous series
// gives a line per sample, an automatic measurement a line per test step).
// Cells are plain texts; quoting is the file writer's business.
struct CResultCsvLines
{
    QStringList m_header;
    QList<QStringList> m_rows;

    bool IsEmpty() const { return m_header.isEmpty(); }
};

// Whether results of the kind can be exported (3 to 18 but the sample, 13).
bool IsCsvExportKind(ResultKind kind);

// The column titles of a kind; empty for kinds without export.
QStringList ResultCsvHeader(ResultKind kind);

// Header and data lines of the result the cache holds, shown as `kind`
// (a sample of a continuous series is shown as Value). Angles between
// voltage and current follow the angle norm, as on the screen.
CResultCsvLines BuildResultCsv(const CResultCache& cache, ResultKind kind, int nNorm);
// The data lines alone.
QList<QStringList> BuildResultCsvRows(const CResultCache& cache, ResultKind kind, int nNorm);

// A stored value text as one cell: "230.50;V" gives "230.50 V" (the text
// before the first ";", a blank, the text up to the next ";"); a text
// without ";" stays as it is; a value without a number gives an empty cell.
QString ValueCell(const QString& strText);

// The value of a field of an automatic-measurement step ("key=value;unit"
// texts), with its unit after a blank; empty when the step lacks the key.
QString StepValue(const QStringList& step, const QString& strKey);

// Whether the export command applies to a tree item: a result item (not a
// container) without children, or a continuous series with its samples.
bool IsResultExportEnabled(bool bHasItem, bool bIsContainer, bool bHasChildren, ResultKind kind);
