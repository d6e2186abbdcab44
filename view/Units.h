#pragma once

#include <QString>

// Conversion between the units of the stored values ("mA", "kV", "min", ...).
// A unit text is a product or quotient of symbols with SI prefixes and integer
// powers: "kV", "mm2", "mm²", "W/(m*s)", "m^-1".

// value × f, f = factor(fromUnit) / factor(toUnit) when both parse and have
// the same dimension; otherwise f = 1.
double ConvertUnit(double value, const QString& strFromUnit, const QString& strToUnit);

// A parsed unit: the factor to the base unit and the exponents of
// (mass, length, time, current).
struct CUnit
{
    double m_dFactor = 1;
    int m_nDim[4] = {0, 0, 0, 0};

    bool SameDimension(const CUnit& other) const;
};

// Parses a unit text; false for a text that is no unit. Parsed texts are
// cached for the rest of the run.
bool ParseUnit(const QString& strUnit, CUnit& unit);

// A unit as it is shown: the legacy micro characters of older files become "µ".
QString DisplayUnit(const QString& strUnit);
