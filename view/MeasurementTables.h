#pragma once

#include "core/Kinds.h"

#include <QList>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

class QPainter;
class CActualValuesRenderer;
class CTextPainter;
struct CResultCache;

// Where "key=" starts a field of a step's text: at its start or after ";"
// or a blank, so that "F=" is not found inside "PF=" nor "Edge=" inside
// "Max-Edge="; -1 when the text has no such field.
qsizetype FindStepKey(const QString& strText, const QString& strKey);
// The fields of one automatic test step as a cell shows them: "key: value"
// (with " unit" when bWithUnit), from the first text of the step that holds
// key=value;unit. A missing key gives "".
QString GetStepField(const QStringList& step, const QString& strKey, bool bWithUnit);
// The bare value of a step's key ("" when missing).
QString GetStepValue(const QStringList& step, const QString& strKey);
// The text lines a step takes on paper: 4 for a register test, else 3.
int StepLineCount(const QStringList& step);
// The page (1-based) of every step, in order: page 1 holds 32 lines in
// portrait and 20 in landscape, every further page 45 resp. 25; a step that
// would overflow a page starts the next one.
QList<int> AutomaticStepPages(const QList<QStringList>& steps, bool bLandscape);
// Pages the automatic measurement prints on (0 without steps).
int AutomaticPageCount(const CResultCache& cache, bool bLandscape);

// One entry of a selective power measurement: parts of "N;order;U;value;
// unit;I;value;unit;P;...". Letters "U", "I", "P", "Q", "S" select a
// quantity, "N" the order; any other letter gives "".
QString SelectiveValue(const QString& strEntry, const QString& strLetter);
QString SelectiveUnit(const QString& strEntry, const QString& strLetter);
// The entries shown: at most 41, empty ones left out.
QStringList SelectiveRows(const CResultCache& cache);

// The renderers of the measurement kinds shown as tables. Each draws from
// the cache into a rectangle, top to bottom, and returns the size it used.
// Holds only references; make one per paint.
class CMeasurementTables
{
public:
    CMeasurementTables(const CResultCache& cache, const CTextPainter& textPainter, bool bPrinter);

    // The actual values (table, diagram or both, by the mode) in the upper
    // two thirds, the meter or conditions table and the statistics below.
    QSize DrawErrorMeasurement(QPainter* pPainter, const QRect& rect, const CActualValuesRenderer& values,
                               DisplayMode mode) const;
    QSize DrawRegisterTest(QPainter* pPainter, const QRect& rect) const;
    QSize DrawTmTe(QPainter* pPainter, const QRect& rect) const;
    // The nominal values, then the measured values of a voltage or current burden.
    QSize DrawBurden(QPainter* pPainter, const QRect& rect, const CActualValuesRenderer& values, bool bVoltage) const;
    QSize DrawTransformer(QPainter* pPainter, const QRect& rect) const;
    QSize DrawAuxChannels(QPainter* pPainter, const QRect& rect) const;
    QSize DrawPqsRegisterTest(QPainter* pPainter, const QRect& rect) const;
    // nPage 0 draws every step (the screen); a page number draws that
    // printed page's steps, the settings table on page 1 only.
    QSize DrawAutomaticMeasurement(QPainter* pPainter, const QRect& rect, int nPage, bool bLandscape) const;
    // nPage 0 draws every row (the screen); a page number draws that
    // printed page's rows.
    QSize DrawSelective(QPainter* pPainter, const QRect& rect, int nPage, bool bLandscape) const;

private:
    // The settings table in the top of the rectangle; returns its font
    // height, and in nBottom where the content below it starts.
    int DrawSettings(QPainter* pPainter, const QRect& rect, int& nBottom, QSize& used) const;
    QString Field(const char* pszName) const;
    // A cap for the text of renderings without a settings table, so that a
    // few rows on a large screen do not turn into posters.
    static int FontCap(const QRect& rect) { return qMax(10, rect.height() / 30); }

    const CResultCache& m_cache;
    const CTextPainter& m_textPainter;
    bool m_bPrinter;
};
