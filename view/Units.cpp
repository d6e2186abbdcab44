#include "view/Units.h"

#include <QHash>
#include <QMutex>

#include <cmath>
#include <optional>

namespace {

constexpr qsizetype kMaxTokenLength = 205;
constexpr char16_t kMicro = u'\u00B5';

struct CUnitEntry
{
    const char16_t* pszSymbol;
    double dFactor;
    int nDim[4];
};

// Base symbols, looked up whole before a prefix is tried, so "m" is the
// metre and "min" the minute. The energy and apparent/reactive power symbols
// are the ones the readout writes ("kWh", "VAr"), so that they convert too.
const CUnitEntry g_units[] = {
    {u"", 1, {0, 0, 0, 0}},
    {u"1", 1, {0, 0, 0, 0}},
    {u"g", 0.001, {1, 0, 0, 0}},
    {u"m", 1, {0, 1, 0, 0}},
    {u"l", 0.001, {0, 3, 0, 0}},
    {u"s", 1, {0, 0, 1, 0}},
    {u"A", 1, {0, 0, 0, 1}},
    {u"h", 3600, {0, 0, 1, 0}},
    {u"N", 1, {1, 1, -2, 0}},
    {u"J", 1, {1, 2, -2, 0}},
    {u"W", 1, {1, 2, -3, 0}},
    {u"V", 1, {1, 2, -3, -1}},
    {u"C", 1, {0, 0, 1, 1}},
    {u"F", 1, {-1, -2, 4, 2}},
    {u"Hz", 1, {0, 0, -1, 0}},
    {u"Ohm", 1, {1, 2, -3, -2}},
    {u"var", 1, {1, 2, -3, 0}},
    {u"min", 60, {0, 0, 1, 0}},
    {u"VA", 1, {1, 2, -3, 0}},
    {u"VAr", 1, {1, 2, -3, 0}},
    {u"Wh", 3600, {1, 2, -2, 0}},
    {u"VAh", 3600, {1, 2, -2, 0}},
    {u"VArh", 3600, {1, 2, -2, 0}},
    {u"varh", 3600, {1, 2, -2, 0}},
};

std::optional<double> PrefixFactor(QChar c)
{
    switch (c.unicode()) {
    case u'G': return 1e9;
    case u'M': return 1e6;
    case u'k': return 1e3;
    case u'c': return 0.01;
    case u'm': return 0.001;
    case kMicro:
    case u'u': return 1e-6;
    case u'n': return 1e-9;
    default: return std::nullopt;
    }
}

const CUnitEntry* FindSymbol(QStringView sym)
{
    for (const CUnitEntry& e : g_units)
        if (sym == QStringView(e.pszSymbol))
            return &e;
    return nullptr;
}

bool IsSymbolChar(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == kMicro;
}

// Older files carry the micro prefix as a wrong byte: 0x86 read as Latin-1
// (U+0086) or as windows-1252 (U+2020, the dagger); the Greek mu is micro too.
QString NormaliseMicro(const QString& str)
{
    QString out = str;
    for (QChar& c : out)
        if (c == QChar(0x0086) || c == QChar(0x2020) || c == QChar(0x03BC))
            c = QChar(kMicro);
    return out;
}

enum class TokenType { Symbol, Integer, Operator };

struct CToken
{
    TokenType type;
    QString strText;
    int nValue = 0;
};

bool Tokenise(const QString& str, QList<CToken>& tokens)
{
    qsizetype i = 0;
    const qsizetype n = str.size();
    while (i < n) {
        const QChar c = str.at(i);
        if (c == u' ') {
            ++i;
        } else if (IsSymbolChar(c)) {
            const qsizetype start = i;
            while (i < n && IsSymbolChar(str.at(i)))
                ++i;
            if (i - start > kMaxTokenLength)
                return false;
            tokens.append({TokenType::Symbol, str.mid(start, i - start)});
        } else if (c.isDigit() || (c == u'-' && i + 1 < n && str.at(i + 1).isDigit())) {
            const qsizetype start = i;
            ++i;
            while (i < n && str.at(i).isDigit())
                ++i;
            if (i - start > kMaxTokenLength)
                return false;
            bool bOk = false;
            const int nValue = str.mid(start, i - start).toInt(&bOk);
            if (!bOk)
                return false;
            tokens.append({TokenType::Integer, {}, nValue});
        } else if (c == u'\u00B2' || c == u'\u00B3') {
            tokens.append({TokenType::Operator, QStringLiteral("^")});
            tokens.append({TokenType::Integer, {}, c == u'\u00B2' ? 2 : 3});
            ++i;
        } else if (c == u'(' || c == u')' || c == u'*' || c == u'/' || c == u'^') {
            tokens.append({TokenType::Operator, QString(c)});
            ++i;
        } else {
            return false;
        }
    }
    return true;
}

// expr   := term { ("*" | "/") term }
// term   := factor [ ["^"] integer ]        ("mm2" is mm squared)
// factor := symbol | integer | "(" expr ")"
class CUnitParser
{
public:
    explicit CUnitParser(const QList<CToken>& tokens) : m_tokens(tokens) {}

    bool Parse(CUnit& unit)
    {
        if (m_tokens.isEmpty()) {
            unit = CUnit();
            return true;
        }
        return Expr(unit) && m_nPos == m_tokens.size();
    }

private:
    const QList<CToken>& m_tokens;
    qsizetype m_nPos = 0;

    bool IsOperator(const char16_t* psz) const
    {
        return m_nPos < m_tokens.size() && m_tokens[m_nPos].type == TokenType::Operator
               && m_tokens[m_nPos].strText == QStringView(psz);
    }

    bool Expr(CUnit& unit)
    {
        if (!Term(unit))
            return false;
        while (IsOperator(u"*") || IsOperator(u"/")) {
            const bool bDivide = IsOperator(u"/");
            ++m_nPos;
            CUnit rhs;
            if (!Term(rhs))
                return false;
            unit.m_dFactor = bDivide ? unit.m_dFactor / rhs.m_dFactor : unit.m_dFactor * rhs.m_dFactor;
            for (int d = 0; d < 4; ++d)
                unit.m_nDim[d] += bDivide ? -rhs.m_nDim[d] : rhs.m_nDim[d];
        }
        return true;
    }

    bool Term(CUnit& unit)
    {
        const bool bSymbol = m_nPos < m_tokens.size() && m_tokens[m_nPos].type == TokenType::Symbol;
        if (!Factor(unit))
            return false;
        bool bPower = false;
        if (IsOperator(u"^")) {
            ++m_nPos;
            bPower = true;
        }
        const bool bInteger = m_nPos < m_tokens.size() && m_tokens[m_nPos].type == TokenType::Integer;
        if (bPower && !bInteger)
            return false;
        // A bare integer right after a symbol is its power ("mm2").
        if (bPower || (bInteger && bSymbol)) {
            const int nPower = m_tokens[m_nPos++].nValue;
            unit.m_dFactor = std::pow(unit.m_dFactor, nPower);
            for (int& d : unit.m_nDim)
                d *= nPower;
        }
        return true;
    }

    bool Factor(CUnit& unit)
    {
        if (m_nPos >= m_tokens.size())
            return false;
        const CToken& tok = m_tokens[m_nPos++];
        switch (tok.type) {
        case TokenType::Integer:
            unit = CUnit();
            unit.m_dFactor = tok.nValue;
            return true;
        case TokenType::Symbol:
            return Symbol(tok.strText, unit);
        case TokenType::Operator:
            if (tok.strText != u"(")
                return false;
            if (!Expr(unit) || !IsOperator(u")"))
                return false;
            ++m_nPos;
            return true;
        }
        return false;
    }

    static bool Symbol(const QString& strSymbol, CUnit& unit)
    {
        unit = CUnit();
        const CUnitEntry* pEntry = FindSymbol(strSymbol);
        double dPrefix = 1;
        if (!pEntry) {
            const std::optional<double> prefix = PrefixFactor(strSymbol.at(0));
            const QStringView rest = QStringView(strSymbol).mid(1);
            // A prefix needs a unit behind it: "k" alone or "k1" is no unit.
            if (!prefix || rest.isEmpty() || rest == u"1")
                return false;
            pEntry = FindSymbol(rest);
            if (!pEntry)
                return false;
            dPrefix = *prefix;
        }
        unit.m_dFactor = dPrefix * pEntry->dFactor;
        for (int d = 0; d < 4; ++d)
            unit.m_nDim[d] = pEntry->nDim[d];
        return true;
    }
};

struct CCacheEntry
{
    bool bValid;
    CUnit unit;
};

} // namespace

QString DisplayUnit(const QString& strUnit)
{
    return NormaliseMicro(strUnit);
}

bool CUnit::SameDimension(const CUnit& other) const
{
    for (int d = 0; d < 4; ++d)
        if (m_nDim[d] != other.m_nDim[d])
            return false;
    return true;
}

bool ParseUnit(const QString& strUnit, CUnit& unit)
{
    static QMutex mutex;
    static QHash<QString, CCacheEntry> cache;
    QMutexLocker lock(&mutex);
    const auto it = cache.constFind(strUnit);
    if (it != cache.constEnd()) {
        unit = it->unit;
        return it->bValid;
    }
    CCacheEntry entry{false, CUnit()};
    QList<CToken> tokens;
    if (Tokenise(NormaliseMicro(strUnit), tokens))
        entry.bValid = CUnitParser(tokens).Parse(entry.unit);
    if (!entry.bValid)
        entry.unit = CUnit();
    cache.insert(strUnit, entry);
    unit = entry.unit;
    return entry.bValid;
}

double ConvertUnit(double value, const QString& strFromUnit, const QString& strToUnit)
{
    CUnit from, to;
    if (!ParseUnit(strFromUnit, from) || !ParseUnit(strToUnit, to) || !from.SameDimension(to)
        || to.m_dFactor == 0)
        return value;
    return value * from.m_dFactor / to.m_dFactor;
}
