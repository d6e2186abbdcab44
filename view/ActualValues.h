#pragma once

#include "core/Kinds.h"

#include <QColor>
#include <QPointF>
#include <QRect>
#include <QSize>
#include <QString>

class QPainter;
class CTextPainter;
struct CResultCache;

// Angle conventions ("Norm" in the settings).
enum AngleNorm : int {
    kNormIEC387 = 0,
    kNormDIN410 = 1,
};

// What the vector length refers to ("VektorBezug").
enum VectorReference : int {
    kVectorRefRange = 0,
    kVectorRefMaximum = 1,
};

// The vector settings: reference and the colours of U1, U2, U3, I1, I2, I3.
struct CVectorSettings
{
    int m_nReference = kVectorRefRange;
    QColor m_colours[6] = {QColor(255, 0, 0), QColor(0, 255, 0), QColor(0, 0, 255),
                           QColor(128, 0, 0), QColor(0, 128, 0), QColor(0, 0, 128)};

    // The settings store colours as 0x00BBGGRR.
    static QColor FromColorRef(quint32 nColorRef);
    static quint32 ToColorRef(const QColor& colour);
    static QString ValueName(int nVector); // "ColorU1" ... "ColorI3"
};

// Reads the vector settings (defaults where missing).
CVectorSettings LoadVectorSettings();
// Writes all seven values.
void SaveVectorSettings(const CVectorSettings& settings);
// Reads the angle norm ("Norm", default IEC 387).
int LoadAngleNorm();

// Arrowhead sizes on the screen for a client area; mode 7 (error measurement
// with values and diagram) uses smaller heads.
void ComputeArrowSize(int nClientWidth, int nClientHeight, DisplayMode nMode, int& nArrowWidth, int& nArrowLength);

// The row name of a quantity index ("UPN" ... "T"), empty for others.
QString QuantityName(int nIndex);
// The cached value-and-unit text; the phase is ignored for 27-33.
QString GetRawCell(const CResultCache& cache, int nIndex, int nPhase);
// The unit part of the raw cell.
QString GetCellUnit(const CResultCache& cache, int nIndex, int nPhase);
// The cell as shown: "PhiUI" computed from the angles, the rest as cached.
QString GetValueCell(const CResultCache& cache, int nIndex, int nPhase, int nNorm);
// A row is present when one of its cells holds something.
bool IsQuantityPresent(const CResultCache& cache, int nIndex);

// The voltage and current ranges, times the transformer ratios when the
// values are primary values.
void GetRanges(const CResultCache& cache, double& rgU, double& rgI);

// Brings the angles of the six vectors into the drawing convention of
// IEC 387 (all in [0, 360)); does nothing under DIN 410.
void NormalizeAngles(const double U[3], const double I[3], double phiU[3], double phiI[3], double rgU, double rgI,
                     int nNorm);

// One vector of the diagram as it is drawn.
struct CVectorGeometry
{
    bool m_bDrawn = false;
    QPointF m_tip;
    double m_dLength = 0;
};

// Draws the actual values of the cache as a table, as a vector diagram, or
// both. Holds only references; make one per paint.
class CActualValuesRenderer
{
public:
    CActualValuesRenderer(const CResultCache& cache, const CVectorSettings& settings, int nNorm,
                          const CTextPainter& textPainter, bool bPrinter);

    // Arrowhead sizes on the screen (see ComputeArrowSize).
    int m_nArrowWidth = 3;
    int m_nArrowLength = 9;

    // A maximum font height (>= 1) caps the table's text, so that it matches
    // a settings table drawn elsewhere.
    QSize DrawValuesTable(QPainter* pPainter, const QRect& rect, bool bWithSettings = true,
                          int nMaxFontHeight = 0) const;
    // nFontHeight: in, the label height when no settings table is drawn
    // (10 by default, (bottom - top)/16 when not positive); out, the height used.
    QSize DrawVectorDiagram(QPainter* pPainter, const QRect& rect, bool bWithHeaderTable, int& nFontHeight) const;
    QSize DrawValuesAndVectors(QPainter* pPainter, const QRect& rect) const;

    // Where the six vectors go in a circle of radius R around the centre.
    void ComputeVectors(const QPointF& centre, double dRadius, CVectorGeometry vectors[6]) const;

    // The magnitudes in the units of the ranges, and the angles as the
    // table shows them (normalised under IEC 387).
    void GetMagnitudesAndAngles(double U[3], double I[3], double phiU[3], double phiI[3], double& rgU,
                                double& rgI) const;

private:
    const CResultCache& m_cache;
    const CVectorSettings& m_settings;
    int m_nNorm;
    const CTextPainter& m_textPainter;
    bool m_bPrinter;
};
