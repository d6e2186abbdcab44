#include "core/Number.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>

namespace {

// Whether a number text that does not fit a double is too large (rather than
// too small): its decimal magnitude, the position of its first significant
// digit plus its exponent, is positive.
bool IsBeyondLargest(const char* p, const char* end)
{
    long long nMagnitude = 0;
    bool bSignificant = false;
    bool bFraction = false;
    for (; p < end && *p != 'e' && *p != 'E'; ++p) {
        if (*p == '.') {
            bFraction = true;
        } else if (!bSignificant && *p == '0') {
            if (bFraction)
                --nMagnitude;
        } else if (!bSignificant) {
            bSignificant = true;
            if (!bFraction)
                nMagnitude = 1;
        } else if (!bFraction) {
            ++nMagnitude;
        }
    }
    long long nExponent = 0;
    if (p < end) {
        ++p;
        bool bNegative = false;
        if (p < end && (*p == '+' || *p == '-'))
            bNegative = *p++ == '-';
        for (; p < end && *p >= '0' && *p <= '9'; ++p)
            nExponent = std::min(nExponent * 10 + (*p - '0'), 1000000000LL);
        if (bNegative)
            nExponent = -nExponent;
    }
    return nMagnitude + nExponent > 0;
}

} // namespace

double ParseNumber(const QString& str)
{
    const QByteArray latin = str.toLatin1();
    const char* p = latin.constData();
    const char* end = p + latin.size();
    while (p < end && (*p == ' ' || (*p >= '\t' && *p <= '\r')))
        ++p;
    bool bNegative = false;
    if (p < end && (*p == '+' || *p == '-')) {
        bNegative = *p == '-';
        ++p;
    }
    // One sign only: from_chars would take a second minus itself.
    if (p < end && (*p == '+' || *p == '-'))
        return 0;
    double value = 0;
    // from_chars never looks at the locale; it takes the longest valid prefix.
    const auto res = std::from_chars(p, end, value, std::chars_format::general);
    if (res.ec == std::errc::invalid_argument)
        return 0;
    if (res.ec == std::errc::result_out_of_range)
        value = IsBeyondLargest(p, res.ptr) ? HUGE_VAL : 0.0;
    return bNegative ? -value : value;
}

int ParseInt(const QString& str)
{
    qsizetype i = 0;
    const qsizetype n = str.size();
    while (i < n && str.at(i).isSpace())
        ++i;
    bool bNegative = false;
    if (i < n && (str.at(i) == u'+' || str.at(i) == u'-')) {
        bNegative = str.at(i) == u'-';
        ++i;
    }
    long long value = 0;
    for (; i < n && str.at(i) >= u'0' && str.at(i) <= u'9'; ++i) {
        value = value * 10 + (str.at(i).unicode() - u'0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            value = static_cast<long long>(INT_MAX) + 1;
    }
    if (bNegative)
        value = -value;
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

double WrapDegrees180(double degrees)
{
    if (!std::isfinite(degrees))
        return degrees;
    // fmod is exact, so a difference of two angles within -180..360 comes
    // out exactly as one step of +-360 would give it.
    double d = std::fmod(degrees, 360.0);
    if (d > 180)
        d -= 360;
    else if (d < -180)
        d += 360;
    return d;
}

QString FormatNumberC(const char* pszFormat, double value)
{
    return QString::asprintf(pszFormat, value).replace(u',', u'.');
}
