#pragma once

#include "core/Kinds.h"

#include <QColor>
#include <QDateTime>
#include <QList>
#include <QPointF>
#include <QRect>
#include <QSize>
#include <QString>

class QPainter;
class CTextPainter;
class CXMLDocument;
struct CResultCache;

// How the main quantities of one kind changed over a location's results:
// one or two charts (one per unit), each with a series per quantity, one
// point per result in date order.
struct CHistory
{
    // One result on the x axis (1 = the oldest).
    struct CResult
    {
        QString m_strDate;
        QString m_strTime;
        QDateTime m_when;  // invalid when the texts are no date and time
    };
    struct CPoint
    {
        int m_nResult = 0;     // index into m_results
        QString m_strPlaceNo;  // the result a click selects
        double m_dValue = 0;
    };
    struct CSeries
    {
        QString m_strName;
        QColor m_colour;
        QList<CPoint> m_points;
    };
    struct CChart
    {
        QString m_strUnit;
        // Values below zero get an x axis in the middle.
        bool m_bSigned = false;
        QList<CSeries> m_series;
    };

    ResultKind m_nKind = ResultKind::Nothing;
    QString m_strId;
    QList<CResult> m_results;
    QList<CChart> m_charts;

    // Kinds that have a history: error measurements, actual values,
    // vectors, harmonics.
    static bool HasHistory(ResultKind nKind);
};

// The history of the results of one kind (in any order; they are sorted by
// date and time, equal ones keep their order). Results of other kinds and
// values a result does not hold are left out.
CHistory BuildHistory(ResultKind nKind, const QString& strId, const QList<CResultCache>& results);

// Reads the results of that ID and kind from the result file.
CHistory ReadHistory(CXMLDocument& xmlResult, ResultKind nKind, const QString& strId);

// Where a point was drawn, for a click on it.
struct CHistoryHit
{
    QPointF m_pos;
    int m_nResult = 0;
    QString m_strPlaceNo;
};

// Draws the history into the rectangle: a title, the span of dates, the
// legend and the charts. pHits, when given, receives every point drawn.
QSize DrawHistory(QPainter* pPainter, const QRect& rect, const CHistory& history, const CTextPainter& textPainter,
                  bool bPrinter, QList<CHistoryHit>* pHits = nullptr);

// The point within nRadius pixels of pos that lies nearest; null when none.
const CHistoryHit* FindHistoryHit(const QList<CHistoryHit>& hits, const QPointF& pos, double dRadius);
