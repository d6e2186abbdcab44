#pragma once

#include <QList>
#include <QRect>
#include <QString>

class QPainter;
class CTextPainter;
struct CResultCache;

// The per-phase numbers the wiring rules look at, in V, A and W. A value the
// result does not hold ("---", empty) is not available; it never counts as 0.
struct CWiringInput
{
    double m_dU[3] = {0, 0, 0};
    double m_dI[3] = {0, 0, 0};
    double m_dP[3] = {0, 0, 0};
    bool m_bU[3] = {false, false, false};
    bool m_bI[3] = {false, false, false};
    bool m_bP[3] = {false, false, false};
    // The voltages the unbalance is judged on: phase-to-neutral, or
    // phase-to-phase when the neutral ones are not all there.
    double m_dUBalance[3] = {0, 0, 0};
    bool m_bBalance = false;
    double m_dURange = 0;
    double m_dIRange = 0;
    // The values as the table shows them, for the hints' texts.
    QString m_strU[3], m_strI[3], m_strP[3], m_strUBalance[3];
    QString m_strURange, m_strIRange;
};

// Reads the actual values of a result from the view's cache.
CWiringInput WiringInputOf(const CResultCache& cache);

// A hint for the technician; no rule ever changes the data.
struct CWiringHint
{
    enum Rule { Passed, ReversedCurrent, MissingVoltage, MissingCurrent, VoltageUnbalance };
    Rule m_nRule = Passed;
    int m_nPhase = -1;  // 0..2, -1 for the whole result
    QString m_strText;
};

// Below this share of its range a voltage or current counts as missing.
constexpr double kWiringMissingShare = 0.05;
// Above this largest deviation from the mean the voltages are unbalanced.
constexpr double kWiringUnbalanceShare = 0.02;

// The rules, none of which depends on an angle convention:
// - a phase's active power is negative while that of every other phase
//   with a value is positive (and its current is not missing): its current
//   is reversed against its voltage;
// - a voltage (current) is below 5 % of its range while those of the other
//   phases with a value are not: it is missing;
// - the largest deviation of the three voltages from their mean is above
//   2 % of the mean: the voltages are unbalanced.
// A result that passes gets one hint that says so.
QList<CWiringHint> CheckWiring(const CWiringInput& input);

// The hints as lines of text in the rectangle, under a heading; returns the
// height used. nFontHeight 0 picks one from the rectangle.
int DrawWiringHints(QPainter* pPainter, const QRect& rect, const QList<CWiringHint>& hints,
                    const CTextPainter& textPainter, int nFontHeight = 0);
