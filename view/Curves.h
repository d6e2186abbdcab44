#pragma once

#include <QColor>
#include <QList>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

class QPainter;
class CTextPainter;
struct CResultCache;
struct CChartFrame;

// Value and unit of a curve sample. The readout stores "index;value;unit";
// a plain "value;unit" is read as well.
void SplitSample(const QString& strSample, QString& strValue, QString& strUnit);

// The samples of a channel in per cent of the channel's range (a channel in
// volts refers to the voltage range, any other to the current range).
QList<double> CurvePercent(const CResultCache& cache, const QStringList& samples);

// Colours of channel A and channel B.
QColor CurveColour(int nChannel);

// Draws a curve result: the settings table, the two channel fields, and both
// channels over one period on a centred x axis.
QSize DrawCurves(QPainter* pPainter, const QRect& rect, const CResultCache& cache, const CTextPainter& textPainter,
                 bool bPrinter, CChartFrame* pFrame = nullptr);
