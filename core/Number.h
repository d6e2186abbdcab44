#pragma once

#include <QString>

// Numbers in the data files and in device answers always use a point as the
// decimal separator, whatever the user's locale. These conversions never
// consult the locale.

// Reads the number at the start of the text, after optional white space, like
// the C library's string-to-double conversion in the "C" locale: the longest
// prefix that is a number counts, "12.5;V" reads 12.5, text that is no number
// reads 0.
double ParseNumber(const QString& str);

// Reads a decimal integer at the start of the text like atoi: optional white
// space and sign, digits up to the first non-digit, 0 without digits.
// Values beyond the range of int are clamped.
int ParseInt(const QString& str);

// An angle difference in degrees folded into -180..180 (180 and -180 stay).
double WrapDegrees180(double degrees);

// One number in a printf format, always with a point as the decimal
// separator: any comma the formatting produced becomes a point.
QString FormatNumberC(const char* pszFormat, double value);
