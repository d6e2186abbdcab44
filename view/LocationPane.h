#pragma once

#include "core/Kinds.h"

#include <QList>
#include <QPair>
#include <QRect>
#include <QString>

#include <pugixml.hpp>

#include <vector>

class CQardaDoc;
class QPainter;

// What the right pane shows for a selected group or location instead of a
// result: the location's data and how many results of each kind it holds
// (for a group, its locations and their results together).
struct CLocationSummary
{
    struct CSection
    {
        QString m_strTitle;
        // Label and value; a line without a label continues the one above.
        QList<QPair<QString, QString>> m_rows;
    };

    QString m_strTitle;
    QList<CSection> m_sections;
    // Kinds with at least one result, in the order of the kinds.
    QList<QPair<ResultKind, int>> m_counts;
    int m_nTotal = 0;
    // The locations of a group; -1 for a location.
    int m_nLocations = -1;

    int Count(ResultKind nKind) const;
};

// Reads the summary of a group (by name) or a location (by ID) from the
// document's files; a file that is not loaded contributes nothing. pResults,
// when given, are its result elements as the tree found them: counted
// without a walk over the result file.
CLocationSummary ReadLocationSummary(CQardaDoc* pDoc, ResultKind nKind, const QString& strName,
                                     const std::vector<pugi::xml_node>* pResults = nullptr);

// Draws the summary at one text height from the rectangle's top left and
// returns the size it needed (more than the rectangle when it does not fit).
QSize DrawLocationPane(QPainter* pPainter, const QRect& rect, const CLocationSummary& summary, int nFontHeight);
