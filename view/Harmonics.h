#pragma once

#include "core/Kinds.h"

#include <QColor>
#include <QRect>
#include <QSize>
#include <QString>

class QPainter;
class CTextPainter;
struct CResultCache;
struct CChartFrame;

// Part n (from 1) of a ";"-separated entry: a harmonic is
// "order;magnitude;unit;angle;unit".
QString EntryPart(const QString& strEntry, int n);

// The colour of the harmonics bars.
QColor HarmonicsBarColour();

// Draws a harmonics result: the settings table, the channel and total
// fields, and the harmonics as a table (printed pages hold their share of
// the rows), or as bars on a linear or a logarithmic scale. nPage is 1 on
// the screen. pFrame, when given, receives the chart's axes.
QSize DrawHarmonics(QPainter* pPainter, const QRect& rect, const CResultCache& cache, const CTextPainter& textPainter,
                    DisplayMode mode, int nPage, bool bPrinter, bool bLandscape, CChartFrame* pFrame = nullptr);
