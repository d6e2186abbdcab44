#include "export/ResultCsv.h"

#include "core/Number.h"
#include "resources/StringTable.h"
#include "view/ActualValues.h"
#include "view/DrawTools.h"
#include "view/ResultCache.h"

#include <QDateTime>

#include <optional>

namespace {

QString S(unsigned nId)
{
    return LoadString(nId);
}

QString L(const char* psz)
{
    return QString::fromUtf8(psz);
}

// The first two parts of a text split at ";", joined by a blank; the
// second one is left out when empty, the whole cell when the first one is.
QString JoinValueUnit(const QString& strValue, const QString& strUnit)
{
    if (strValue.isEmpty())
        return {};
    return strUnit.isEmpty() ? strValue : strValue + QLatin1Char(' ') + strUnit;
}

// Every non-empty part of a multi-part text ("1200.00;x1;Imp/kWh"), joined by
// blanks: a meter constant or pulse count keeps its factor and unit.
QString JoinedCell(const QString& strText)
{
    return strText.split(QLatin1Char(';'), Qt::SkipEmptyParts).join(QLatin1Char(' '));
}

// The leading whole number of a list entry ("17;230.50;V" gives 17).
std::optional<int> EntryNumber(const QString& strPart)
{
    bool bOk = false;
    const int n = strPart.trimmed().toInt(&bOk);
    return bOk ? std::optional<int>(n) : std::nullopt;
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

void AppendValuesCells(QStringList& c, const CResultCache& cache, int nNorm)
{
    for (int q = kQtyUPN; q <= kQtyAAUXI; ++q)
        for (int p = 0; p < 3; ++p)
            c.append(ValueCell(GetValueCell(cache, q, p, nNorm)));
    for (int q = kQtySP; q <= kQtyT; ++q)
        c.append(ValueCell(GetValueCell(cache, q, 0, nNorm)));
}

const unsigned g_errorTitles[] = {
    IDS_TBL_METER_CONSTANT, IDS_TBL_CLOCK_SOURCE, IDS_TBL_PULSE_COUNT,         IDS_TBL_U_RANGE, IDS_TBL_I_RANGE,
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

// A ratio text "100.0/5.0;A" as its primary and secondary cells, each with
// the unit.
void AppendRatioCells(QStringList& c, const QString& strText)
{
    const QString strValue = ValuePart(strText);
    const QString strUnit = ValuePart(UnitPart(strText));
    const qsizetype n = strValue.indexOf(QLatin1Char('/'));
    if (n < 0) {
        c.append(JoinValueUnit(strValue, strUnit));
        c.append(QString());
        return;
    }
    c.append(JoinValueUnit(strValue.left(n), strUnit));
    c.append(JoinValueUnit(strValue.mid(n + 1), strUnit));
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

QStringList CommonCells(const CResultCache& c, const QString& strDate, const QString& strTime)
{
    QStringList parts = c.m_strPrimSekValCzReg.split(QLatin1Char(';'));
    while (parts.size() < 3)
        parts.append(QString());
    return {c.m_strID,
            strDate,
            strTime,
            ValueCell(c.m_strURange),
            ValueCell(c.m_strIRange),
            c.m_strMMode,
            ValueCell(c.m_strUPrimSek),
            ValueCell(c.m_strIPrimSek),
            parts.at(0),
            parts.at(1),
            parts.at(2)};
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

// One line in the actual-values layout for a sample of a series.
QStringList SampleRow(const CResultCache& cache, const CResultCache::CSeriesEntry& entry, int nNorm)
{
    CResultCache sample;
    sample.m_strMMode = cache.m_strMMode;
    sample.SetActualValues(entry.m_values);
    QString strDate, strTime;
    SplitTimeStamp(entry.m_strTimeStamp, cache.m_strDate, strDate, strTime);
    QStringList c = CommonCells(cache, strDate, strTime);
    AppendValuesCells(c, sample, nNorm);
    return c;
}

}  // namespace

// ---------------------------------------------------------------------------------

QString ValueCell(const QString& strText)
{
    const qsizetype n = strText.indexOf(QLatin1Char(';'));
    if (n < 0)
        return strText;
    return JoinValueUnit(strText.left(n), ValuePart(strText.mid(n + 1)));
}

QString StepValue(const QStringList& step, const QString& strKey)
{
    const QString strNeedle = strKey + QLatin1Char('=');
    for (const QString& strText : step) {
        // The key must stand alone: "Edge=" is no match inside "Edge-Max=".
        qsizetype n = strText.indexOf(strNeedle);
        while (n > 0 && (strText.at(n - 1).isLetterOrNumber() || strText.at(n - 1) == QLatin1Char('-')))
            n = strText.indexOf(strNeedle, n + 1);
        if (n < 0)
            continue;
        const QString strRest = strText.mid(n + strNeedle.size());
        return JoinValueUnit(ValuePart(strRest).trimmed(), ValuePart(UnitPart(strRest)).trimmed());
    }
    return {};
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

CResultCsvLines BuildResultCsv(const CResultCache& cache, ResultKind kind, int nNorm)
{
    return {ResultCsvHeader(kind), BuildResultCsvRows(cache, kind, nNorm)};
}

QList<QStringList> BuildResultCsvRows(const CResultCache& cache, ResultKind kind, int nNorm)
{
    QList<QStringList> rows;
    if (!IsCsvExportKind(kind))
        return rows;
    auto F = [&cache](const char* pszField) { return ValueCell(cache.KindField(L(pszField))); };

    // A continuous series: one line per sample, in series order.
    if (kind == ResultKind::ContinueValue) {
        for (const CResultCache::CSeriesEntry& entry : cache.m_series)
            rows.append(SampleRow(cache, entry, nNorm));
        return rows;
    }
    // A single sample shown as actual values carries its own date and time.
    if (kind == ResultKind::Value && cache.m_strFunction == ResultFunction::ContinueValue && cache.m_nSample >= 0
        && cache.m_nSample < cache.m_series.size()) {
        rows.append(SampleRow(cache, cache.m_series.at(cache.m_nSample), nNorm));
        return rows;
    }
    // An automatic measurement: one line per test step.
    if (kind == ResultKind::Automatic) {
        for (qsizetype i = 0; i < cache.m_automaticLines.size(); ++i) {
            const QStringList& step = cache.m_automaticLines.at(i);
            QStringList c = CommonCells(cache, cache.m_strDate, cache.m_strTime);
            const QString strType = StepValue(step, QStringLiteral("Type"));
            const QStringList keys = StepKeysOfType(strType);
            c.append(QString::number(i + 1));
            c.append(strType);
            for (const char* pszKey : g_stepKeys)
                c.append(keys.contains(L(pszKey)) ? StepValue(step, L(pszKey)) : QString());
            rows.append(c);
        }
        return rows;
    }

    QStringList c = CommonCells(cache, cache.m_strDate, cache.m_strTime);
    switch (kind) {
    case ResultKind::Value:
    case ResultKind::Vector:
    case ResultKind::Error:
        AppendValuesCells(c, cache, nNorm);
        if (kind == ResultKind::Error)
            for (const char* pszField : g_errorFields)
                c.append(qstrcmp(pszField, "Cz") == 0 || qstrcmp(pszField, "M-Puls") == 0
                             ? JoinedCell(cache.KindField(L(pszField)))
                             : F(pszField));
        break;
    case ResultKind::Curve:
        for (const char* pszChannel : {"A", "B"}) {
            c.append(cache.KindField(QStringLiteral("Channel") + L(pszChannel)));
            // The readout stores "n;value;unit", older files "value;unit".
            QStringList cells(kCurveSamples);
            const QStringList samples = cache.KindSeries(QStringLiteral("Sample") + L(pszChannel));
            for (qsizetype i = 0; i < samples.size(); ++i) {
                const QStringList parts = samples.at(i).split(QLatin1Char(';'));
                const std::optional<int> n = parts.size() >= 3 ? EntryNumber(parts.at(0)) : std::nullopt;
                if (n && *n >= 1 && *n <= kCurveSamples)
                    cells[*n - 1] = JoinValueUnit(parts.at(1), parts.at(2));
                else if (!n && i < kCurveSamples)
                    cells[i] = ValueCell(samples.at(i));
            }
            c.append(cells);
        }
        break;
    case ResultKind::Harmonics: {
        c.append(cache.KindField(QStringLiteral("Channel")));
        c.append(F("Total-Harm"));
        // Entries "order;magnitude;unit;angle;unit", placed by their order.
        QStringList cells(2 * kOrders);
        const QStringList harm = cache.KindSeries(QStringLiteral("Harm"));
        for (qsizetype i = 0; i < harm.size(); ++i) {
            QStringList parts = harm.at(i).split(QLatin1Char(';'));
            while (parts.size() < 5)
                parts.append(QString());
            const int n = EntryNumber(parts.at(0)).value_or(static_cast<int>(i));
            if (n < 0 || n >= kOrders)
                continue;
            cells[2 * n] = JoinValueUnit(parts.at(1), parts.at(2));
            cells[2 * n + 1] = JoinValueUnit(parts.at(3), parts.at(4));
        }
        c.append(cells);
        break;
    }
    case ResultKind::Register:
        for (const TitledField& t : RegisterColumns())
            c.append(F(t.pszField));
        break;
    case ResultKind::TmTe:
        for (const TitledField& t : TmTeColumns())
            c.append(qstrncmp(t.pszField, "Cz", 2) == 0 || qstrcmp(t.pszField, "M-Puls") == 0
                         ? JoinedCell(cache.KindField(L(t.pszField)))
                         : F(t.pszField));
        break;
    case ResultKind::UBurden:
    case ResultKind::IBurden:
        for (int q : kind == ResultKind::UBurden ? g_uBurden : g_iBurden)
            for (int p = 0; p < 3; ++p)
                c.append(ValueCell(GetValueCell(cache, q, p, nNorm)));
        c.append(F(kind == ResultKind::UBurden ? "U-Nominal" : "I-Nominal"));
        c.append(F("B-Nominal"));
        c.append(F("W-Length"));
        c.append(F("W-Gauge"));
        break;
    case ResultKind::UITransformer:
        for (const char* pszField : {"VT-N", "VT-X", "CT-N", "CT-X"})
            AppendRatioCells(c, cache.KindField(L(pszField)));
        for (const TitledField& t : TransformerTables())
            c.append(F(t.pszField));
        break;
    case ResultKind::AuxChannel:
        for (int n = 1; n <= 6; ++n)
            for (const char* pszField : g_auxFields)
                c.append(ValueCell(cache.KindField(L(pszField) + QString::number(n))));
        break;
    case ResultKind::Selective: {
        const QString strChannel = cache.KindField(QStringLiteral("ChannelU"));
        c.append(strChannel.isEmpty() ? cache.KindField(QStringLiteral("ChannelI")) : strChannel);
        // Entries "N;order;U;value;unit;I;value;unit;P;...;Q;...;S;value;unit".
        QStringList cells(5 * kOrders);
        const QStringList rows = cache.KindSeries(QStringLiteral("HarmValue"));
        for (qsizetype i = 0; i < rows.size(); ++i) {
            QStringList parts = rows.at(i).split(QLatin1Char(';'));
            while (parts.size() < 17)
                parts.append(QString());
            const int n = EntryNumber(parts.at(1)).value_or(static_cast<int>(i));
            if (n < 0 || n >= kOrders)
                continue;
            for (int k = 0; k < 5; ++k)
                cells[5 * n + k] = JoinValueUnit(parts.at(3 + 3 * k), parts.at(4 + 3 * k));
        }
        c.append(cells);
        break;
    }
    case ResultKind::PQSRegister:
        for (const char* psz : g_pqsTitles)
            c.append(F(psz));
        break;
    default:
        break;
    }
    rows.append(c);
    return rows;
}
