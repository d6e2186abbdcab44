#include "export/ResultCsv.h"

#include "core/Number.h"
#include "export/CsvFile.h"
#include "resources/StringTable.h"
#include "view/ActualValues.h"
#include "view/MeasurementTables.h"
#include "view/ResultCache.h"

#include <QDateTime>
#include <QHash>

#include <array>
#include <bit>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstring>
#include <type_traits>
#include <utility>

namespace {

using Text = QByteArrayView;

QString S(unsigned nId)
{
    return LoadString(nId);
}

QString L(const char* psz)
{
    return QString::fromUtf8(psz);
}

// --- actual values -------------------------------------------------------------

// Quantities 0 to 17 per phase, then the seven single values 27 to 33.
void AppendValuesHeader(QStringList& h)
{
    for (int q = kQtyUPN; q <= kQtyAAUXI; ++q)
        for (int p = 1; p <= 3; ++p)
            h.append(QuantityName(q) + QString::number(p));
    for (int q = kQtySP; q <= kQtyT; ++q)
        h.append(QuantityName(q));
}

const unsigned g_errorTitles[] = {
    IDS_TBL_METER_CONSTANT, IDS_TBL_CLOCK_SOURCE, IDS_TBL_PULSE_COUNT,    IDS_TBL_U_RANGE, IDS_TBL_I_RANGE,
    IDS_TBL_FREQUENCY,      IDS_TBL_PHASES,       IDS_TBL_MEASURING_TIME, IDS_TBL_ERROR,   IDS_TBL_MEASUREMENTS,
    IDS_TBL_SPREAD,         IDS_TBL_AVERAGE,      IDS_TBL_DEVIATION,      IDS_TBL_ENERGY,  IDS_TBL_START_TIME,
    IDS_TBL_STOP_TIME,      IDS_TBL_DURATION};

const char* const g_errorFields[] = {"Cz",        "M-Inp",       "M-Puls",    "SSM-UB",   "SSM-IB", "SSM-Fr",
                                     "SSM-Ph",    "SSM-MT",      "Error",     "N-Value",  "Spread", "Average",
                                     "Deviation", "Err-Energie", "StartTime", "StopTime", "MTime"};

// --- burdens ---------------------------------------------------------------------

const int g_uBurden[] = {kQtyUPN, kQtyI, kQtyPhiUI, kQtyP,  kQtyQ,       kQtyS,
                         kQtyG,   kQtyB, kQtyY,     kQtySb, kQtyCosBeta, kQtySN};
const int g_iBurden[] = {kQtyUPN, kQtyI, kQtyPhiUI, kQtyP,  kQtyQ,       kQtyS,
                         kQtyR,   kQtyX, kQtyZ,     kQtySb, kQtyCosBeta, kQtySN};

// --- tables of a title and the field that fills it ----------------------------------

struct TitledField
{
    QString strTitle;
    const char* pszField;
};

QList<TitledField> RegisterColumns()
{
    const QString e = S(IDS_TBL_E_REGISTER) + QStringLiteral(" - ");
    const QString p = S(IDS_TBL_P_REGISTER) + QStringLiteral(" - ");
    return {{S(IDS_TBL_TYPE), "Type"},
            {e + S(IDS_TBL_ENERGY), "Energie"},
            {e + S(IDS_TBL_BEGIN), "E-Begin"},
            {e + S(IDS_TBL_END), "E-End"},
            {e + S(IDS_TBL_ERROR), "E-Error"},
            {e + S(IDS_TBL_START_TIME), "E-StartTime"},
            {e + S(IDS_TBL_STOP_TIME), "E-StopTime"},
            {e + S(IDS_TBL_DURATION), "E-MTime"},
            {p + S(IDS_COL_POWER), "Power"},
            {p + S(IDS_TBL_BEGIN), "P-Begin"},
            {p + S(IDS_TBL_END), "P-End"},
            {p + S(IDS_TBL_ERROR), "P-Error"},
            {p + S(IDS_TBL_START_TIME), "P-StartTime"},
            {p + S(IDS_TBL_STOP_TIME), "P-StopTime"},
            {p + S(IDS_TBL_DURATION), "P-MTime"}};
}

// n: pulses, k: meter constant; the counting side has a constant only.
QList<TitledField> TmTeColumns()
{
    const QString m = S(IDS_TBL_MEASURE), z = S(IDS_TBL_COUNT), f = S(IDS_TBL_ERROR);
    return {{m + QStringLiteral(" - n"), "M-Puls"},
            {m + QStringLiteral(" - k"), "Cz-Measure"},
            {z + QStringLiteral(" - k"), "Cz-Count"},
            {f + QStringLiteral(" - n"), "Error"},
            {f + QStringLiteral(" -tp"), "Tp"},
            {f + QStringLiteral(" -ti"), "Ti"},
            {S(IDS_TBL_CONTACT), "Contact"},
            {QStringLiteral("tm"), "tm"},
            {QStringLiteral("te"), "te"}};
}

QList<TitledField> TransformerTables()
{
    // The ratio fields ("N-Prim"/"N-Sek" from one "prim/sek" text) are
    // handled apart; these are the plain ones.
    const QString u = S(IDS_TBL_U) + QStringLiteral(" - ");
    const QString i = S(IDS_TBL_I) + QStringLiteral(" - ");
    const QString s = S(IDS_TBL_SUM_UI) + QStringLiteral(" - ");
    return {{u + S(IDS_TBL_PRIM), "U-Prim"},
            {u + S(IDS_TBL_N_SEK), "U-Sek-N"},
            {u + S(IDS_TBL_X_SEK), "U-Sek-X"},
            {u + S(IDS_TBL_X_E), "VT-Value"},
            {u + S(IDS_TBL_X_D_DEG), "VT-Angle-deg"},
            {u + S(IDS_TBL_X_D_MIN), "VT-Angle-min"},
            {u + S(IDS_TBL_X_D_CRAD), "VT-Angle-crad"},
            {i + S(IDS_TBL_PRIM), "I-Prim"},
            {i + S(IDS_TBL_N_SEK), "I-Sek-N"},
            {i + S(IDS_TBL_X_SEK), "I-Sek-X"},
            {i + S(IDS_TBL_X_E), "CT-Value"},
            {i + S(IDS_TBL_X_D_DEG), "CT-Angle-deg"},
            {i + S(IDS_TBL_X_D_MIN), "CT-Angle-min"},
            {i + S(IDS_TBL_X_D_CRAD), "CT-Angle-crad"},
            {s + S(IDS_TBL_E), "VTCT-Value"},
            {s + S(IDS_TBL_D), "VTCT-Angle-deg"}};
}

const char* const g_pqsTitles[] = {"M-Time", "P-Energie", "PE-Begin",  "PE-End",   "PE-Error", "Q-Energie", "QE-Begin",
                                   "QE-End", "QE-Error",  "S-Energie", "SE-Begin", "SE-End",   "SE-Error"};

const unsigned g_auxTitles[] = {IDS_TBL_VALUE,     IDS_COL_ANGLE,      IDS_TBL_REF_NAME,  IDS_TBL_REF_VALUE,
                                IDS_TBL_REF_ANGLE, IDS_TBL_DIFF_VALUE, IDS_TBL_DIFF_ANGLE};
const char* const g_auxFields[] = {"Aux-Value-", "Aux-Angle-",      "Ref-Name-",      "Ref-Value-",
                                   "Ref-Angle-", "Aux-Diff-Value-", "Aux-Diff-Angle-"};

constexpr int kCurveSamples = 504;
constexpr int kOrders = 41;  // 0 to 40

// --- automatic measurement ---------------------------------------------------------

const char* const g_stepKeys[] = {"Edge-Max", "Edge-Min", "Edge",  "EL-Min",    "EL-Max",    "Test",
                                  "Error",    "MTime",    "MPuls", "Reg-Start", "Reg-Stopp", "Energy"};

// The value of a field of an automatic-measurement step ("key=value;unit"
// texts), with its unit after a blank; empty when the step lacks the key.
QString StepValue(const QStringList& step, const QString& strKey)
{
    for (const QString& strText : step) {
        const qsizetype n = FindStepKey(strText, strKey);
        if (n < 0)
            continue;
        const QString strRest = strText.mid(n + strKey.size() + 1);
        const QString strValue = strRest.section(QLatin1Char(';'), 0, 0).trimmed();
        const QString strUnit = strRest.section(QLatin1Char(';'), 1, 1).trimmed();
        if (strValue.isEmpty())
            return {};
        return strUnit.isEmpty() ? strValue : strValue + QLatin1Char(' ') + strUnit;
    }
    return {};
}

// The fields a step of this type carries.
QStringList StepKeysOfType(const QString& strType)
{
    if (strType == QLatin1String("NoLoadTest"))
        return {L("Edge-Max"), L("Test"), L("Edge")};
    if (strType == QLatin1String("StartingTest"))
        return {L("Edge-Min"), L("Test"), L("Edge")};
    if (strType == QLatin1String("AccuracyTest"))
        return {L("EL-Min"), L("EL-Max"), L("Test"), L("Error"), L("MTime"), L("MPuls")};
    if (strType.contains(QLatin1String("Register"), Qt::CaseInsensitive))
        return {L("EL-Min"), L("EL-Max"), L("Test"), L("Error"), L("Reg-Stopp"), L("Reg-Start"), L("Energy")};
    return {};
}

// --- common part ---------------------------------------------------------------------

QStringList CommonHeader()
{
    return {QStringLiteral("Id"),   S(IDS_HDR_DATE),       S(IDS_HDR_TIME),
            QStringLiteral("UB"),   QStringLiteral("IB"),  S(IDS_MEASURING_MODE_SHORT),
            S(IDS_U_RATIO),         S(IDS_I_RATIO),        S(IDS_ACTUAL_VALUES_COLUMN),
            S(IDS_CONSTANT_COLUMN), S(IDS_REGISTER_COLUMN)};
}

// --- the names a result's lines read ---------------------------------------------------

// The common fields the lines read; their slots come first.
enum CommonField : int { kID, kDate, kTime, kURange, kIRange, kMMode, kUPrimSek, kIPrimSek, kPrimSekValCzReg, kCommon };
const char* const g_commonNames[kCommon] = {"ID",     "Date",      "Time",      "U-Range",           "I-Range",
                                            "M-Mode", "U-PrimSek", "I-PrimSek", "PrimSek-Val-Cz-Reg"};
const char* const g_repeatedNames[] = {"SampleA", "SampleB", "Harm", "HarmValue"};

// What an element name of a result is to its lines.
struct NameUse
{
    int nField = -1;     // slot of a field the lines read
    int nActual = -1;    // value (quantity * 3 + phase) of an actual-values block
    int nBurden = -1;    // value of a burden
    char cBurden = 0;    // of a voltage ('U') or current ('I') burden only; 0: both
    int nRepeated = -1;  // index in m_repeated
};

// Every name and the slots of each kind's columns, made once: the lines of
// thousands of results then index arrays instead of looking names up.
struct Layout
{
    QHash<QByteArray, NameUse> names;
    QHash<QByteArray, ResultKind> functions;
    int nFields = kCommon;

    // A meter constant or pulse count keeps every part of its text.
    std::vector<std::pair<int, bool>> error, tmte;
    std::vector<int> reg, transformer, pqs;
    int burden[4] = {};  // U-Nominal, I-Nominal, B-Nominal, W-Length, W-Gauge follow
    int nUNominal = 0, nINominal = 0;
    int ratios[4] = {};  // VT-N, VT-X, CT-N, CT-X
    int aux[6][7] = {};
    int channelAB[2] = {}, nChannel = 0, nTotalHarm = 0, nChannelU = 0, nChannelI = 0;

    std::pair<int, bool> JoinedField(const char* psz)
    {
        return {Field(psz), qstrncmp(psz, "Cz", 2) == 0 || qstrcmp(psz, "M-Puls") == 0};
    }
    int Field(const char* psz)
    {
        NameUse& use = names[QByteArray(psz)];
        if (use.nField < 0)
            use.nField = nFields++;
        return use.nField;
    }
    void Value(const QByteArray& name, int nQty, int nPhase, bool bActual, char cBurden)
    {
        NameUse& use = names[name];
        if (bActual)
            use.nActual = nQty * 3 + nPhase;
        if (cBurden) {
            use.nBurden = nQty * 3 + nPhase;
            use.cBurden = cBurden == 'B' ? 0 : cBurden;
        }
    }
    // The names again in an open table with a cheap hash: a bulk export
    // looks up every element name of every result.
    struct Entry
    {
        const char* pszName = nullptr;
        size_t nLength = 0;
        const NameUse* pUse = nullptr;
    };
    static constexpr size_t kTableSize = 2048;
    std::vector<Entry> table = std::vector<Entry>(kTableSize);

    // The length and five bytes tell the names apart well enough.
    static size_t Hash(const char* psz, size_t& nLength)
    {
        nLength = std::strlen(psz);
        if (nLength == 0)
            return 0;
        const auto b = [psz](size_t i) { return quint32(static_cast<unsigned char>(psz[i])); };
        quint32 h = (b(0) | b(nLength / 2) << 8 | b(nLength - 1) << 16 | b(nLength > 1 ? 1 : 0) << 24)
                    ^ quint32(nLength) * 0x9E3779B1u;
        h ^= b(nLength > 2 ? nLength - 2 : 0) * 0x27D4EB2Fu;
        h *= 0x85EBCA6Bu;
        return h >> 21;  // 0 to kTableSize - 1
    }
    // The entry of the name in the table, or -1.
    int FindEntry(const char* psz) const
    {
        size_t nLength = 0;
        for (size_t i = Hash(psz, nLength);; ++i) {
            const Entry& e = table[i % kTableSize];
            if (!e.pszName)
                return -1;
            if (e.nLength == nLength && std::memcmp(e.pszName, psz, nLength) == 0)
                return int(i % kTableSize);
        }
    }
    Layout()
    {
        for (int i = 0; i < kCommon; ++i)
            names[g_commonNames[i]].nField = i;
        // The other common fields are known names the lines do not read.
        for (const char* psz : {"Language", "Device-No", "Device-Typ", "Function", "Datatype", "Place-No",
                                "Time-Interval", "AdjustData", "Remark", "PX900Adr"})
            names[psz];
        for (int i = 0; i < 4; ++i)
            names[g_repeatedNames[i]].nRepeated = i;
        for (int n = ToInt(ResultKind::Group); n < ToInt(ResultKind::Nothing); ++n) {
            const ResultKind kind = *ResultKindFromInt(n);
            if (!FunctionOfKind(kind).isEmpty())
                functions.insert(FunctionOfKind(kind).toUtf8(), kind);
        }
        // Actual values, as the view's cache places them; a burden stores
        // some of the same names and its own.
        struct PhaseField
        {
            const char* pszBase;
            int nQty;
            bool bBurden;
        };
        const PhaseField phase[] = {{"UPN", kQtyUPN, true},        {"UPP", kQtyUPP, false}, {"UDC", kQtyUDC, false},
                                    {"UD", kQtyUD, false},         {"IL", kQtyI, true},     {"IDC", kQtyIDC, false},
                                    {"ID", kQtyID, false},         {"AU", kQtyPhiU, false}, {"AI", kQtyPhiI, false},
                                    {"PHI", kQtyPhiUI, true},      {"P", kQtyP, true},      {"Q", kQtyQ, true},
                                    {"Lambda", kQtyLambda, false}, {"S", kQtyS, true}};
        for (const PhaseField& f : phase)
            for (int p = 1; p <= 3; ++p)
                Value(CActualValues::PhaseFieldName(L(f.pszBase), p).toUtf8(), f.nQty, p - 1, true,
                      f.bBurden ? 'B' : 0);
        for (int k = 1; k <= 6; ++k) {
            Value("AUX" + QByteArray::number(k), k <= 3 ? kQtyAUXU : kQtyAUXI, (k - 1) % 3, true, 0);
            Value("AAUX" + QByteArray::number(k), k <= 3 ? kQtyAAUXU : kQtyAAUXI, (k - 1) % 3, true, 0);
        }
        const std::pair<const char*, int> singles[] = {{"SP", kQtySP},        {"SQ", kQtySQ},  {"SS", kQtySS},
                                                       {"RF", kQtyPS},        {"FREQ", kQtyF}, {"SLambda", kQtySL},
                                                       {"Temperature", kQtyT}};
        for (const auto& [psz, q] : singles)
            Value(psz, q, 0, true, 0);
        const std::pair<const char*, int> burdens[] = {{"Sb", kQtySb}, {"CosBeta", kQtyCosBeta},
                                                       {"SN", kQtySN}, {"G", kQtyG},
                                                       {"B", kQtyB},   {"Y", kQtyY},
                                                       {"R", kQtyR},   {"X", kQtyX},
                                                       {"Z", kQtyZ}};
        for (const auto& [psz, q] : burdens)
            for (int p = 1; p <= 3; ++p)
                Value(psz + QByteArray::number(p), q, p - 1, false,
                      q == kQtyG || q == kQtyB || q == kQtyY ? 'U' : (q >= kQtyR && q <= kQtyZ ? 'I' : 'B'));

        for (const char* psz : g_errorFields)
            error.push_back(JoinedField(psz));
        for (const TitledField& t : RegisterColumns())
            reg.push_back(Field(t.pszField));
        for (const TitledField& t : TmTeColumns())
            tmte.push_back(JoinedField(t.pszField));
        nUNominal = Field("U-Nominal");
        nINominal = Field("I-Nominal");
        burden[0] = Field("B-Nominal");
        burden[1] = Field("W-Length");
        burden[2] = Field("W-Gauge");
        int r = 0;
        for (const char* psz : {"VT-N", "VT-X", "CT-N", "CT-X"})
            ratios[r++] = Field(psz);
        for (const TitledField& t : TransformerTables())
            transformer.push_back(Field(t.pszField));
        for (int n = 1; n <= 6; ++n)
            for (int k = 0; k < 7; ++k)
                aux[n - 1][k] = Field((QByteArray(g_auxFields[k]) + QByteArray::number(n)).constData());
        for (const char* psz : g_pqsTitles)
            pqs.push_back(Field(psz));
        channelAB[0] = Field("ChannelA");
        channelAB[1] = Field("ChannelB");
        nChannel = Field("Channel");
        nTotalHarm = Field("Total-Harm");
        nChannelU = Field("ChannelU");
        nChannelI = Field("ChannelI");

        Q_ASSERT(size_t(names.size()) < kTableSize / 2);
        for (auto it = names.cbegin(); it != names.cend(); ++it) {
            size_t nLength = 0;
            size_t i = Hash(it.key().constData(), nLength);
            while (table[i % kTableSize].pszName)
                ++i;
            table[i % kTableSize] = {it.key().constData(), nLength, &it.value()};
        }
    }
};

const Layout& GetLayout()
{
    static const Layout layout;
    return layout;
}

// --- texts ---------------------------------------------------------------------------

// The texts are short: a loop beats a call.
qsizetype Find(Text t, char c, qsizetype nFrom = 0)
{
    for (qsizetype i = nFrom; i < t.size(); ++i)
        if (t[i] == c)
            return i;
    return -1;
}

// The text before the first ";" (all of it without one).
Text ValuePart(Text t)
{
    const qsizetype n = Find(t, ';');
    return n < 0 ? t : t.first(n);
}

// The text after the first ";" (empty without one).
Text UnitPart(Text t)
{
    const qsizetype n = Find(t, ';');
    return n < 0 ? Text() : t.sliced(n + 1);
}

// The first n parts of a text split at ";" (empty ones beyond its end);
// gives how many of them the text has.
int SplitParts(Text t, Text* parts, int n)
{
    const char* p = t.data();
    const char* const end = p + t.size();
    int k = 0;
    for (;;) {
        const char* pStart = p;
        while (p < end && *p != ';')
            ++p;
        parts[k++] = Text(pStart, p - pStart);
        if (p == end || k == n)
            break;
        ++p;
    }
    for (int i = k; i < n; ++i)
        parts[i] = Text();
    return k;
}

// The leading whole number of a list entry ("17;230.50;V" gives 17): the
// whole part but surrounding blanks must be the number.
std::optional<int> EntryNumber(Text t)
{
    // Mostly plain digits ("17"): read at once.
    if (t.size() > 0 && t.size() <= 9) {
        int n = 0;
        qsizetype i = 0;
        for (; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i)
            n = n * 10 + (t[i] - '0');
        if (i == t.size())
            return n;
    }
    const auto blank = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    const char* p = t.data();
    const char* const end = p + t.size();
    while (p < end && blank(*p))
        ++p;
    const bool bNegative = p < end && *p == '-';
    if (p < end && (*p == '-' || *p == '+'))
        ++p;
    long long n = 0;
    bool bDigits = false;
    for (; p < end && *p >= '0' && *p <= '9'; ++p) {
        n = std::min(n * 10 + (*p - '0'), 1LL << 40);
        bDigits = true;
    }
    while (p < end && blank(*p))
        ++p;
    if (p < end && (*p & 0x80)) {
        // Blanks beyond ASCII: as the text functions see them.
        bool bOk = false;
        const int nValue = QString::fromUtf8(t).trimmed().toInt(&bOk);
        return bOk ? std::optional<int>(nValue) : std::nullopt;
    }
    n = bNegative ? -n : n;
    if (p < end || !bDigits || n < INT_MIN || n > INT_MAX)
        return std::nullopt;
    return int(n);
}

// The usual curve entry "17;230.50;V[;...]" in one pass: its number (plain
// digits), value and unit. False for any other form, which SplitParts and
// EntryNumber then read.
bool ReadNumberedEntry(Text t, int& n, Text& value, Text& unit)
{
    const char* p = t.data();
    const char* const end = p + t.size();
    const char* const pDigits = p;
    n = 0;
    for (; p < end && *p >= '0' && *p <= '9' && p - pDigits < 9; ++p)
        n = n * 10 + (*p - '0');
    if (p == pDigits || p == end || *p != ';')
        return false;
    const char* const pValue = ++p;
    while (p < end && *p != ';')
        ++p;
    if (p == end)
        return false;
    value = Text(pValue, p - pValue);
    const char* const pUnit = ++p;
    while (p < end && *p != ';')
        ++p;
    unit = Text(pUnit, p - pUnit);
    return true;
}

// The number at the start of a text, as ParseNumber reads it.
double Number(Text t)
{
    const char* p = t.data();
    const char* const end = p + t.size();
    while (p < end && (*p == ' ' || (*p >= '\t' && *p <= '\r')))
        ++p;
    const bool bNegative = p < end && *p == '-';
    if (p < end && (*p == '+' || *p == '-'))
        ++p;
    if (p < end && (*p == '+' || *p == '-'))
        return 0;
    // The usual "-120.25": up to 15 digits make an exact whole number, and
    // one division by an exact power of ten rounds it correctly.
    static constexpr double kPowers[] = {1,   1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                         1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    const char* q = p;
    long long nMantissa = 0;
    int nDigits = 0, nDecimals = -1;
    for (; q < end && nDigits <= 15; ++q) {
        if (*q >= '0' && *q <= '9') {
            nMantissa = nMantissa * 10 + (*q - '0');
            ++nDigits;
            if (nDecimals >= 0)
                ++nDecimals;
        } else if (*q == '.' && nDecimals < 0) {
            nDecimals = 0;
        } else {
            break;
        }
    }
    if (nDigits > 0 && nDigits <= 15 && (q == end || (*q != 'e' && *q != 'E' && (*q < '0' || *q > '9')))) {
        const double d = double(nMantissa) / kPowers[std::max(nDecimals, 0)];
        return bNegative ? -d : d;
    }
    double d = 0;
    const auto res = std::from_chars(p, end, d, std::chars_format::general);
    if (res.ec == std::errc::invalid_argument)
        return 0;
    if (res.ec != std::errc())
        return ParseNumber(QString::fromUtf8(t));
    return bNegative ? -d : d;
}

// Every non-empty part of a multi-part text ("1200.00;x1;Imp/kWh"), joined by
// blanks: a meter constant or pulse count keeps its factor and unit.
void JoinedCell(CCsvLineWriter& w, Text t)
{
    QByteArray cell;
    for (qsizetype nStart = 0; nStart <= t.size();) {
        qsizetype nEnd = Find(t, ';', nStart);
        if (nEnd < 0)
            nEnd = t.size();
        if (nEnd > nStart) {
            if (!cell.isEmpty())
                cell.append(' ');
            cell.append(t.sliced(nStart, nEnd - nStart));
        }
        nStart = nEnd + 1;
    }
    w.Cell(cell);
}

// A sample's time stamp as date and time ("dd.MM.yyyy", "HH:mm:ss"); a
// stamp in no known form is split at its blank, a bare time keeps the
// result's date.
void SplitTimeStamp(const QString& strStamp, const QString& strResultDate, QString& strDate, QString& strTime)
{
    const QString s = strStamp.trimmed();
    for (const QString& strFormat : {QStringLiteral("dd.MM.yyyy HH:mm:ss"), QStringLiteral("d.M.yyyy H:mm:ss")}) {
        const QDateTime t = QDateTime::fromString(s, strFormat);
        if (t.isValid()) {
            strDate = t.toString(QStringLiteral("dd.MM.yyyy"));
            strTime = t.toString(QStringLiteral("HH:mm:ss"));
            return;
        }
    }
    const QDateTime iso = QDateTime::fromString(s, Qt::ISODate);
    if (iso.isValid()) {
        strDate = iso.toString(QStringLiteral("dd.MM.yyyy"));
        strTime = iso.toString(QStringLiteral("HH:mm:ss"));
        return;
    }
    const qsizetype n = s.indexOf(QLatin1Char(' '));
    if (n < 0) {
        strDate = strResultDate;
        strTime = s;
    } else {
        strDate = s.left(n);
        strTime = s.mid(n + 1).trimmed();
    }
}

// The stamp the device writes, "dd.MM.yyyy HH:mm:ss", is taken as it
// stands (also in the hour a clock change skips, which the device did
// record); every other form goes through the date parser.
void SplitTimeStamp(Text stamp, Text resultDate, Text& date, Text& time, QByteArray (&buffer)[2])
{
    Text s = stamp.trimmed();
    const auto digits = [&s](int i, int n) {
        int v = 0;
        for (int k = i; k < i + n; ++k) {
            if (s[k] < '0' || s[k] > '9')
                return -1;
            v = v * 10 + (s[k] - '0');
        }
        return v;
    };
    if (s.size() == 19 && s[2] == '.' && s[5] == '.' && s[10] == ' ' && s[13] == ':' && s[16] == ':') {
        const int d = digits(0, 2), m = digits(3, 2), y = digits(6, 4);
        const int h = digits(11, 2), mi = digits(14, 2), sec = digits(17, 2);
        if (d >= 0 && m >= 0 && y >= 0 && QDate::isValid(y, m, d) && h >= 0 && h < 24 && mi >= 0 && mi < 60 && sec >= 0
            && sec < 60) {
            date = s.first(10);
            time = s.last(8);
            return;
        }
    }
    QString strDate, strTime;
    SplitTimeStamp(QString::fromUtf8(stamp), QString::fromUtf8(resultDate), strDate, strTime);
    buffer[0] = strDate.toUtf8();
    buffer[1] = strTime.toUtf8();
    date = buffer[0];
    time = buffer[1];
}

// --- lines -------------------------------------------------------------------------

class LineBuilder
{
public:
    LineBuilder(QByteArray& out, const CResultTexts& texts, int nNorm)
        : m_w(out)
        , m_t(texts)
        , m_l(GetLayout())
        , m_nNorm(nNorm)
    {
    }

    qsizetype Build(ResultKind kind);

private:
    Text F(int nField) const { return m_t.m_slots[size_t(nField)]; }
    const Text* Values() const { return m_t.m_slots.data() + m_l.nFields; }

    void EndLine()
    {
        m_w.EndLine();
        ++m_nLines;
    }
    void CommonCells(Text date, Text time);
    void ValueOf(const Text* values, int q, int p);
    void ValuesCells(const Text* values);
    void SampleLine(const CResultTexts::CSample& sample);
    void PairCells(const std::pair<Text, Text>* cells, int n)
    {
        for (int i = 0; i < n; ++i)
            m_w.Cell(cells[i].first, cells[i].second);
    }

    CCsvLineWriter m_w;
    const CResultTexts& m_t;
    const Layout& m_l;
    int m_nNorm;
    qsizetype m_nLines = 0;
};

void LineBuilder::CommonCells(Text date, Text time)
{
    m_w.Cell(F(kID));
    m_w.Cell(date);
    m_w.Cell(time);
    m_w.ValueCell(F(kURange));
    m_w.ValueCell(F(kIRange));
    m_w.Cell(F(kMMode));
    m_w.ValueCell(F(kUPrimSek));
    m_w.ValueCell(F(kIPrimSek));
    Text parts[3];
    SplitParts(F(kPrimSekValCzReg), parts, 3);
    for (const Text part : parts)
        m_w.Cell(part);
}

// The cell as the view shows it: the angle between voltage and current
// computed from the two angles, the rest as stored.
void LineBuilder::ValueOf(const Text* values, int q, int p)
{
    if (q != kQtyPhiUI) {
        m_w.ValueCell(values[q * 3 + p]);
        return;
    }
    if (Find(F(kMMode), '3') >= 0 && p == 1) {
        m_w.Cell("---", "deg");
        return;
    }
    const Text u = values[kQtyPhiU * 3 + p], i = values[kQtyPhiI * 3 + p];
    // A record without the two angles (a burden) shows its stored angle.
    if (u.isEmpty() && i.isEmpty()) {
        m_w.ValueCell(values[q * 3 + p]);
        return;
    }
    const double phiU = Number(ValuePart(u));
    const double phiI = Number(ValuePart(i));
    const double d = WrapDegrees180(m_nNorm == kNormDIN410 ? phiI - phiU : phiU - phiI);
    // Halves (odd eighths) and what rounds to zero are left to the text
    // functions, whose rounding and sign of zero the screen shows.
    const double e = d * 8;
    if (std::isfinite(d) && std::abs(d) >= 0.005 && !(e == std::floor(e) && std::fmod(e, 2) != 0)) {
        // Hundredths that are clearly no tie round the same from the product
        // as from the exact value: written as whole numbers, without the
        // general formatter.
        const double dHundredths = d * 100;
        const double dRounded = std::round(dHundredths);
        if (std::abs(dHundredths - dRounded) < 0.499 && std::abs(dRounded) < 1e9) {
            const long long nHundredths = std::llabs(static_cast<long long>(dRounded));
            char buffer[24];
            char* p = buffer;
            if (dRounded < 0)
                *p++ = '-';
            p = std::to_chars(p, buffer + sizeof buffer, nHundredths / 100).ptr;
            *p++ = '.';
            *p++ = char('0' + nHundredths / 10 % 10);
            *p++ = char('0' + nHundredths % 10);
            m_w.Cell(Text(buffer, p - buffer), "deg");
            return;
        }
        char buffer[32];
        const auto res = std::to_chars(buffer, buffer + sizeof buffer, d, std::chars_format::fixed, 2);
        if (res.ec == std::errc()) {
            m_w.Cell(Text(buffer, res.ptr - buffer), "deg");
            return;
        }
    }
    m_w.Cell(FormatNumberC("%.02f", d).toLatin1(), "deg");
}

void LineBuilder::ValuesCells(const Text* values)
{
    for (int q = kQtyUPN; q <= kQtyAAUXI; ++q)
        for (int p = 0; p < 3; ++p)
            ValueOf(values, q, p);
    for (int q = kQtySP; q <= kQtyT; ++q)
        ValueOf(values, q, 0);
}

// One line in the actual-values layout for a sample of a series.
void LineBuilder::SampleLine(const CResultTexts::CSample& sample)
{
    Text date, time;
    QByteArray buffer[2];
    SplitTimeStamp(sample.m_stamp, F(kDate), date, time, buffer);
    CommonCells(date, time);
    ValuesCells(sample.m_values.data());
    EndLine();
}

qsizetype LineBuilder::Build(ResultKind kind)
{
    if (!IsCsvExportKind(kind))
        return 0;
    // A continuous series: one line per sample, in series order.
    if (kind == ResultKind::ContinueValue) {
        for (qsizetype i = 0; i < m_t.m_nSeries; ++i)
            SampleLine(m_t.m_series[size_t(i)]);
        return m_nLines;
    }
    // A single sample shown as actual values carries its own date and time.
    if (kind == ResultKind::Value && m_t.m_kind == ResultKind::ContinueValue && m_t.m_nSample >= 0
        && m_t.m_nSample < m_t.m_nSeries) {
        SampleLine(m_t.m_series[size_t(m_t.m_nSample)]);
        return m_nLines;
    }
    // An automatic measurement: one line per test step.
    if (kind == ResultKind::Automatic) {
        for (qsizetype i = 0; i < m_t.m_steps.size(); ++i) {
            const QStringList& step = m_t.m_steps.at(i);
            CommonCells(F(kDate), F(kTime));
            const QString strType = StepValue(step, QStringLiteral("Type"));
            const QStringList keys = StepKeysOfType(strType);
            m_w.Cell(QByteArray::number(i + 1));
            m_w.Cell(strType);
            for (const char* pszKey : g_stepKeys) {
                if (keys.contains(L(pszKey)))
                    m_w.Cell(StepValue(step, L(pszKey)));
                else
                    m_w.EmptyCell();
            }
            EndLine();
        }
        return m_nLines;
    }

    CommonCells(F(kDate), F(kTime));
    switch (kind) {
    case ResultKind::Value:
    case ResultKind::Vector:
    case ResultKind::Error:
        ValuesCells(Values());
        if (kind == ResultKind::Error)
            for (const auto& [nField, bJoined] : m_l.error)
                bJoined ? JoinedCell(m_w, F(nField)) : m_w.ValueCell(F(nField));
        break;
    case ResultKind::Curve:
        for (int ch = 0; ch < 2; ++ch) {
            m_w.Cell(F(m_l.channelAB[ch]));
            // The readout stores "n;value;unit", older files "value;unit".
            std::array<std::pair<Text, Text>, kCurveSamples> cells{};
            const std::vector<Text>& samples = m_t.m_repeated[ch];
            for (size_t i = 0; i < samples.size(); ++i) {
                int nNumbered = 0;
                Text value, unit;
                if (ReadNumberedEntry(samples[i], nNumbered, value, unit)) {
                    if (nNumbered >= 1 && nNumbered <= kCurveSamples)
                        cells[size_t(nNumbered - 1)] = {value, unit};
                    continue;
                }
                Text parts[3];
                const std::optional<int> n =
                    SplitParts(samples[i], parts, 3) >= 3 ? EntryNumber(parts[0]) : std::nullopt;
                if (n && *n >= 1 && *n <= kCurveSamples)
                    cells[size_t(*n - 1)] = {parts[1], parts[2]};
                else if (!n && i < size_t(kCurveSamples))
                    cells[i] = {ValuePart(samples[i]), ValuePart(UnitPart(samples[i]))};
            }
            PairCells(cells.data(), kCurveSamples);
        }
        break;
    case ResultKind::Harmonics: {
        m_w.Cell(F(m_l.nChannel));
        m_w.ValueCell(F(m_l.nTotalHarm));
        // Entries "order;magnitude;unit;angle;unit", placed by their order.
        std::array<std::pair<Text, Text>, 2 * kOrders> cells{};
        const std::vector<Text>& harm = m_t.m_repeated[2];
        for (size_t i = 0; i < harm.size(); ++i) {
            Text parts[5];
            SplitParts(harm[i], parts, 5);
            const int n = EntryNumber(parts[0]).value_or(static_cast<int>(i));
            if (n < 0 || n >= kOrders)
                continue;
            cells[size_t(2 * n)] = {parts[1], parts[2]};
            cells[size_t(2 * n + 1)] = {parts[3], parts[4]};
        }
        PairCells(cells.data(), 2 * kOrders);
        break;
    }
    case ResultKind::Register:
        for (const int nField : m_l.reg)
            m_w.ValueCell(F(nField));
        break;
    case ResultKind::TmTe:
        for (const auto& [nField, bJoined] : m_l.tmte)
            bJoined ? JoinedCell(m_w, F(nField)) : m_w.ValueCell(F(nField));
        break;
    case ResultKind::UBurden:
    case ResultKind::IBurden:
        for (int q : kind == ResultKind::UBurden ? g_uBurden : g_iBurden)
            for (int p = 0; p < 3; ++p)
                ValueOf(Values(), q, p);
        m_w.ValueCell(F(kind == ResultKind::UBurden ? m_l.nUNominal : m_l.nINominal));
        for (int i = 0; i < 3; ++i)
            m_w.ValueCell(F(m_l.burden[i]));
        break;
    case ResultKind::UITransformer:
        // A ratio text "100.0/5.0;A" as its primary and secondary cells,
        // each with the unit.
        for (const int nField : m_l.ratios) {
            const Text value = ValuePart(F(nField)), unit = ValuePart(UnitPart(F(nField)));
            const qsizetype n = Find(value, '/');
            if (n < 0) {
                m_w.Cell(value, unit);
                m_w.EmptyCell();
            } else {
                m_w.Cell(value.first(n), unit);
                m_w.Cell(value.sliced(n + 1), unit);
            }
        }
        for (const int nField : m_l.transformer)
            m_w.ValueCell(F(nField));
        break;
    case ResultKind::AuxChannel:
        for (const auto& fields : m_l.aux)
            for (const int nField : fields)
                m_w.ValueCell(F(nField));
        break;
    case ResultKind::Selective: {
        const Text channel = F(m_l.nChannelU);
        m_w.Cell(channel.isEmpty() ? F(m_l.nChannelI) : channel);
        // Entries "N;order;U;value;unit;I;value;unit;P;...;Q;...;S;value;unit".
        std::array<std::pair<Text, Text>, 5 * kOrders> cells{};
        const std::vector<Text>& entries = m_t.m_repeated[3];
        for (size_t i = 0; i < entries.size(); ++i) {
            Text parts[17];
            SplitParts(entries[i], parts, 17);
            const int n = EntryNumber(parts[1]).value_or(static_cast<int>(i));
            if (n < 0 || n >= kOrders)
                continue;
            for (int k = 0; k < 5; ++k)
                cells[size_t(5 * n + k)] = {parts[3 + 3 * k], parts[4 + 3 * k]};
        }
        PairCells(cells.data(), 5 * kOrders);
        break;
    }
    case ResultKind::PQSRegister:
        for (const int nField : m_l.pqs)
            m_w.ValueCell(F(nField));
        break;
    default:
        break;
    }
    EndLine();
    return m_nLines;
}

}  // namespace

// --- the texts of a result ---------------------------------------------------------

void CResultTexts::Clear()
{
    // Views are plain pointer and length: zero bytes are empty views.
    // Only the slots the last result filled are emptied: most stay empty.
    if (m_slots.empty() || m_nFilled > m_filled.size()) {
        m_slots.assign(size_t(GetLayout().nFields + kQtyCount * 3), Text());
    } else {
        for (size_t i = 0; i < m_nFilled; ++i)
            m_slots[m_filled[i]] = Text();
    }
    m_nFilled = 0;
    for (std::vector<Text>& texts : m_repeated)
        texts.clear();
    m_nSeries = 0;
    m_nSample = -1;
    m_steps.clear();
    m_storage.clear();
    m_kind.reset();
}

CResultTexts::Text CResultTexts::Own(const QString& str)
{
    m_storage.append(str.toUtf8());
    return m_storage.constLast();
}

namespace {
// Every call into the XML library costs a call through the shared library,
// and a bulk export makes millions: a node is a single pointer, so whether
// it is null is read here instead of asked.
static_assert(std::is_trivially_copyable_v<pugi::xml_node> && sizeof(pugi::xml_node) == sizeof(void*));
inline bool IsNull(pugi::xml_node node)
{
    return std::bit_cast<const void*>(node) == nullptr;
}

// Whether the NUL-ended texts are equal; names are short, a loop beats a call.
inline bool SameName(const char* a, const char* b)
{
    while (*a && *a == *b)
        ++a, ++b;
    return *a == *b;
}
}  // namespace

// The concatenated text of an element without element children. The
// document is parsed with the text embedded in its element where it can be.
CResultTexts::Text CResultTexts::LeafText(pugi::xml_node node)
{
    pugi::xml_node child = node.first_child();
    if (IsNull(child))
        return Text(node.value());
    return LeafText(node, child);
}

// The same with the first child known (not null).
CResultTexts::Text CResultTexts::LeafText(pugi::xml_node node, pugi::xml_node child)
{
    if (IsNull(child.next_sibling()) && *node.value() == 0)
        return Text(child.value());
    QByteArray text = node.value();
    for (; !IsNull(child); child = child.next_sibling())
        if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata)
            text += child.value();
    m_storage.append(text);
    return m_storage.constLast();
}

namespace {
bool HasElementChildren(pugi::xml_node child)
{
    for (; !IsNull(child); child = child.next_sibling())
        if (child.type() == pugi::node_element)
            return true;
    return false;
}

constexpr size_t kPlaces = 128;
constexpr size_t kSampleRow = size_t(ToInt(ResultKind::Nothing)) + 1;
}  // namespace

std::optional<ResultKind> CResultTexts::KindOf(pugi::xml_node element)
{
    const Layout& l = GetLayout();
    const Text function = LeafText(element.child("Function"));
    const auto it = l.functions.constFind(QByteArray::fromRawData(function.data(), function.size()));
    m_storage.clear();
    return it != l.functions.cend() ? std::optional<ResultKind>(*it) : std::nullopt;
}

void CResultTexts::Load(pugi::xml_node element)
{
    const Layout& l = GetLayout();
    Clear();
    m_kind = KindOf(element);
    const bool bValues = m_kind == ResultKind::Value || m_kind == ResultKind::Vector || m_kind == ResultKind::Error;
    const bool bBurden = m_kind == ResultKind::UBurden || m_kind == ResultKind::IBurden;
    const char cSide = m_kind == ResultKind::UBurden ? 'U' : 'I';
    const size_t nValues = size_t(l.nFields);

    // The children of results of one kind mostly come in the same order: the
    // name seen at the same place last time is tried before the table.
    if (m_places.empty())
        m_places.assign((kSampleRow + 1) * kPlaces, -1);
    const auto entryOf = [this, &l](const char* pszName, size_t nRow, size_t nPlace) {
        if (nPlace >= kPlaces)
            return l.FindEntry(pszName);
        int& nEntry = m_places[nRow * kPlaces + nPlace];
        if (nEntry < 0 || std::strcmp(l.table[size_t(nEntry)].pszName, pszName) != 0)
            nEntry = l.FindEntry(pszName);
        return nEntry;
    };
    const size_t nRow = m_kind ? size_t(ToInt(*m_kind)) : size_t(kSampleRow - 1);
    size_t nPlace = 0;
    for (pugi::xml_node child = element.first_child(); !IsNull(child); child = child.next_sibling(), ++nPlace) {
        // Mostly a leaf, its text embedded in the element.
        const pugi::xml_node first = child.first_child();
        if (child.type() != pugi::node_element)
            continue;
        const char* pszName = child.name();
        if (!IsNull(first) && HasElementChildren(first)) {
            if (m_kind == ResultKind::ContinueValue && SameName(pszName, "Value-Measurement")) {
                if (m_nSeries == qsizetype(m_series.size()))
                    m_series.emplace_back();
                CSample& sample = m_series[size_t(m_nSeries++)];
                size_t nSamplePlace = 0;
                sample.m_stamp = Text();
                sample.m_values.assign(kQtyCount * 3, Text());
                for (pugi::xml_node v = first; !IsNull(v); v = v.next_sibling()) {
                    if (v.type() != pugi::node_element)
                        continue;
                    const char* pszValue = v.name();
                    const pugi::xml_node vFirst = v.first_child();
                    const auto text = [&] { return IsNull(vFirst) ? Text(v.value()) : LeafText(v, vFirst); };
                    if (SameName(pszValue, "TimeStamp"))
                        sample.m_stamp = text();
                    else if (const int nEntry = entryOf(pszValue, kSampleRow, nSamplePlace++);
                             nEntry >= 0 && l.table[size_t(nEntry)].pUse->nActual >= 0)
                        sample.m_values[size_t(l.table[size_t(nEntry)].pUse->nActual)] = text();
                }
            } else if (m_kind == ResultKind::Automatic && SameName(pszName, "Line-Common")) {
                QStringList lines;
                for (pugi::xml_node line = child.child("Line"); line; line = line.next_sibling("Line"))
                    lines.append(QString::fromUtf8(LeafText(line)));
                m_steps.append(lines);
            }
            continue;
        }
        const int nEntry = entryOf(pszName, nRow, nPlace);
        if (nEntry < 0)
            continue;
        const NameUse* use = l.table[size_t(nEntry)].pUse;
        const Text text = IsNull(first) ? Text(child.value()) : LeafText(child, first);
        if (use->nRepeated >= 0) {
            m_repeated[use->nRepeated].push_back(text);
            continue;
        }
        if (use->nField >= 0)
            Fill(size_t(use->nField), text);
        if (bValues && use->nActual >= 0)
            Fill(nValues + size_t(use->nActual), text);
        else if (bBurden && use->nBurden >= 0 && (use->cBurden == 0 || use->cBurden == cSide))
            Fill(nValues + size_t(use->nBurden), text);
    }
}

void CResultTexts::Load(const CResultCache& cache)
{
    const Layout& l = GetLayout();
    Clear();
    m_kind = KindOfFunction(cache.m_strFunction);
    const QString* const common[kCommon] = {&cache.m_strID,       &cache.m_strDate,     &cache.m_strTime,
                                            &cache.m_strURange,   &cache.m_strIRange,   &cache.m_strMMode,
                                            &cache.m_strUPrimSek, &cache.m_strIPrimSek, &cache.m_strPrimSekValCzReg};
    for (int i = 0; i < kCommon; ++i)
        Fill(size_t(i), Own(*common[i]));
    for (int q = 0; q < kQtyCount; ++q)
        for (int p = 0; p < 3; ++p)
            Fill(size_t(l.nFields + q * 3 + p), Own(cache.m_strValues[q][p]));
    for (auto it = cache.m_kindFields.cbegin(); it != cache.m_kindFields.cend(); ++it) {
        const int nEntry = l.FindEntry(it.key().toUtf8().constData());
        if (nEntry >= 0 && l.table[size_t(nEntry)].pUse->nField >= kCommon)
            Fill(size_t(l.table[size_t(nEntry)].pUse->nField), Own(it.value()));
    }
    for (int i = 0; i < 4; ++i)
        for (const QString& str : cache.KindSeries(L(g_repeatedNames[i])))
            m_repeated[i].push_back(Own(str));
    for (const CResultCache::CSeriesEntry& entry : cache.m_series) {
        CResultCache one;
        one.SetActualValues(entry.m_values);
        CSample sample;
        sample.m_stamp = Own(entry.m_strTimeStamp);
        for (int q = 0; q < kQtyCount; ++q)
            for (int p = 0; p < 3; ++p)
                sample.m_values.push_back(Own(one.m_strValues[q][p]));
        if (m_nSeries == qsizetype(m_series.size()))
            m_series.push_back(sample);
        else
            m_series[size_t(m_nSeries)] = sample;
        ++m_nSeries;
    }
    m_nSample = cache.m_nSample;
    m_steps = cache.m_automaticLines;
}

// ---------------------------------------------------------------------------------

qsizetype AppendResultCsvLines(QByteArray& out, const CResultTexts& texts, ResultKind kind, int nNorm)
{
    return LineBuilder(out, texts, nNorm).Build(kind);
}

bool IsCsvExportKind(ResultKind kind)
{
    const int n = ToInt(kind);
    return n >= 3 && n <= 18 && kind != ResultKind::Sample;
}

bool IsResultExportEnabled(bool bHasItem, bool bIsContainer, bool bHasChildren, ResultKind kind)
{
    return bHasItem && !bIsContainer && (!bHasChildren || kind == ResultKind::ContinueValue);
}

QStringList ResultCsvHeader(ResultKind kind)
{
    if (!IsCsvExportKind(kind))
        return {};
    QStringList h = CommonHeader();
    switch (kind) {
    case ResultKind::Value:
    case ResultKind::Vector:
    case ResultKind::Error:
    case ResultKind::ContinueValue:
        AppendValuesHeader(h);
        if (kind == ResultKind::Error)
            for (unsigned nId : g_errorTitles)
                h.append(S(nId));
        break;
    case ResultKind::Curve:
        for (const QChar ch : {QLatin1Char('A'), QLatin1Char('B')}) {
            h.append(S(IDS_LABEL_CHANNEL) + QLatin1Char(' ') + ch);
            const QString strSample = S(IDS_COL_SAMPLE) + ch;
            for (int n = 1; n <= kCurveSamples; ++n)
                h.append(strSample + QString::number(n));
        }
        break;
    case ResultKind::Harmonics:
        h.append(S(IDS_LABEL_CHANNEL));
        h.append(S(IDS_HARM_TOTAL));
        for (int n = 0; n < kOrders; ++n) {
            h.append(S(IDS_HARM_MAGNITUDE) + QString::number(n));
            h.append(S(IDS_COL_ANGLE) + QString::number(n));
        }
        break;
    case ResultKind::Register:
        for (const TitledField& t : RegisterColumns())
            h.append(t.strTitle);
        break;
    case ResultKind::TmTe:
        for (const TitledField& t : TmTeColumns())
            h.append(t.strTitle);
        break;
    case ResultKind::UBurden:
    case ResultKind::IBurden:
        for (int q : kind == ResultKind::UBurden ? g_uBurden : g_iBurden)
            for (int p = 1; p <= 3; ++p)
                h.append(QuantityName(q) + QString::number(p));
        h.append(S(kind == ResultKind::UBurden ? IDS_TBL_U_NOMINAL : IDS_TBL_I_NOMINAL));
        h.append(S(IDS_TBL_B_NOMINAL));
        h.append(S(IDS_TBL_W_LENGTH));
        h.append(S(IDS_TBL_W_GAUGE));
        break;
    case ResultKind::UITransformer:
        for (unsigned nTitle : {IDS_TBL_U_TRANSFORMER, IDS_TBL_I_TRANSFORMER})
            for (unsigned nPart : {IDS_TBL_N_PRIM, IDS_TBL_N_SEK, IDS_TBL_X_PRIM, IDS_TBL_X_SEK})
                h.append(S(nTitle) + QStringLiteral(" - ") + S(nPart));
        for (const TitledField& t : TransformerTables())
            h.append(t.strTitle);
        break;
    case ResultKind::Automatic:
        h.append(S(IDS_HDR_NO));
        h.append(QStringLiteral("Type"));
        for (const char* pszKey : g_stepKeys)
            h.append(L(pszKey));
        break;
    case ResultKind::AuxChannel:
        for (int n = 1; n <= 6; ++n)
            for (unsigned nId : g_auxTitles)
                h.append(QStringLiteral("Aux %1 ").arg(n) + S(nId));
        break;
    case ResultKind::Selective:
        h.append(S(IDS_LABEL_CHANNEL));
        for (int n = 0; n < kOrders; ++n)
            for (const char* pszLetter : {"U", "I", "P", "Q", "S"})
                h.append(L(pszLetter) + QString::number(n));
        break;
    case ResultKind::PQSRegister:
        for (const char* psz : g_pqsTitles)
            h.append(L(psz));
        break;
    default:
        break;
    }
    return h;
}
