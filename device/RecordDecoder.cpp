#include "device/RecordDecoder.h"

#include "core/Kinds.h"
#include "core/Number.h"
#include "resources/StringTable.h"
#include "xml/ResultRecord.h"

#include <QTimeZone>

#include <algorithm>

#include <cmath>
#include <limits>
#include <optional>

namespace {

constexpr int kSamples = 504;
constexpr int kOrders = 41;

QString L(const char* psz)
{
    return QString::fromLatin1(psz);
}

QString Unavailable(const char* pszUnit)
{
    return QStringLiteral("---;") + QLatin1String(pszUnit);
}

// The sub-fields of a value, split like a line: at the first semicolon, the
// rest again, up to nCount fields (the last keeps any further semicolons).
QStringList Fields(const QString& strValue, int nCount)
{
    QStringList fields;
    QString strRest = strValue;
    for (int i = 0; i < nCount - 1; ++i) {
        QString strKey;
        SplitKeyValue(strRest, strKey, strRest);
        fields.append(strKey);
    }
    fields.append(strRest);
    return fields;
}

// A code field; -1 when it is absent.
int Code(const QString& str)
{
    return str.isEmpty() ? -1 : ParseInt(str);
}

// Splits "AV12" into "AV" and 12; nIndex is -1 without trailing digits.
void SplitIndexedKey(const QString& strKey, QString& strBase, int& nIndex)
{
    qsizetype n = strKey.size();
    while (n > 0 && strKey.at(n - 1) >= u'0' && strKey.at(n - 1) <= u'9')
        --n;
    if (n == strKey.size() || n == 0 || strKey.size() - n > 4) {
        strBase = strKey;
        nIndex = -1;
        return;
    }
    strBase = strKey.left(n);
    nIndex = strKey.mid(n).toInt();
}

QString ChannelName(int nCode)
{
    static const char* const kChannels[6] = {"UL1", "UL2", "UL3", "IL1", "IL2", "IL3"};
    return nCode >= 0 && nCode < 6 ? L(kChannels[nCode]) : QString();
}

// "dd.MM.yyyy hh:mm:ss"; only a wall-clock difference is wanted, so the
// time is read as UTC and no daylight-saving step falls between.
QDateTime ParseDeviceDateTime(const QString& str)
{
    QDateTime dt = QDateTime::fromString(str, QStringLiteral("dd.MM.yyyy HH:mm:ss"));
    if (dt.isValid())
        dt.setTimeZone(QTimeZone::utc());
    return dt;
}

// "primary/secondary;A" of a current transformer.
QString TransformerRatio(const QString& strValue)
{
    const QStringList f = Fields(strValue, 2);
    return FormatNumberC("%.1f", ToDeviceNumber(f[0])) + u'/' + FormatNumberC("%.1f", ToDeviceNumber(f[1]))
           + QStringLiteral(";A");
}

// A current with the prefix of its own size.
QString Current(const QString& strValue)
{
    return FormatAutoScaled(ToDeviceNumber(strValue), 0, QStringLiteral("A"));
}

QString ElapsedText(const QDateTime& start, const QDateTime& end)
{
    const qint64 nSeconds = start.secsTo(end);
    return QString::asprintf("%d:%02d", static_cast<int>(nSeconds / 60), static_cast<int>(nSeconds % 60));
}

} // namespace

// --- conversions -------------------------------------------------------------

double ToDeviceNumber(const QString& str)
{
    return ParseNumber(str);
}

int ScaleIndex(double x)
{
    const double a = std::fabs(x);
    if (a < 0.0009)
        return 0;
    if (a < 0.9)
        return 1;
    if (a <= 1000)
        return 2;
    if (a <= 1000000)
        return 3;
    return 4;
}

QString ScalePrefix(int nIndex)
{
    switch (nIndex) {
    case 0:
        return QString(QChar(0x00B5));
    case 1:
        return QStringLiteral("m");
    case 3:
        return QStringLiteral("k");
    case 4:
        return QStringLiteral("M");
    default:
        return {};
    }
}

QString FormatScaled(double value, double reference, int nIndex, const QString& strUnit)
{
    static const double kFactor[5] = {1000000.0, 1000.0, 1.0, 0.001, 0.000001};
    if (nIndex < 0)
        nIndex = 0;
    if (nIndex > 4)
        nIndex = 4;
    double r = reference != 0 ? reference : value;
    value *= kFactor[nIndex];
    r = std::fabs(r * kFactor[nIndex]);
    const char* pszFormat = r > 100 ? "%.2f" : r > 10 ? "%.3f" : "%.4f";
    return FormatNumberC(pszFormat, value) + u';' + ScalePrefix(nIndex) + strUnit;
}

QString FormatAutoScaled(double value, double reference, const QString& strUnit)
{
    return FormatScaled(value, reference, ScaleIndex(reference != 0 ? reference : value), strUnit);
}

void SplitKeyValue(const QString& strLine, QString& strKey, QString& strValue)
{
    const qsizetype n = strLine.indexOf(u';');
    if (n < 0) {
        strKey = strLine;
        strValue.clear();
        return;
    }
    // strLine may be strValue itself: take the key first.
    QString strK = strLine.left(n);
    strValue = strLine.mid(n + 1);
    strKey = std::move(strK);
}

QDateTime NextTimeStamp(const QDateTime& previous, const QDateTime& now)
{
    if (previous.isValid() && now.toSecsSinceEpoch() < previous.toSecsSinceEpoch() + 1)
        return previous.addSecs(1);
    return now;
}

MeasuringMode ModeOfCode(int nCode, int nMajorVersion)
{
    using M = MeasuringMode;
    if (nMajorVersion < 5) {
        static const M kOld[10] = {M::W4, M::BE4, M::BK4, M::W3, M::BE3, M::BKA3, M::BKB3, M::W2, M::B2, M::MQRef};
        return nCode >= 0 && nCode < 10 ? kOld[nCode] : M::None;
    }
    return nCode >= 0 && nCode <= 12 ? static_cast<M>(nCode) : M::None;
}

QString ModeText(MeasuringMode mode)
{
    if (mode == MeasuringMode::None)
        return {};
    return LoadString(IDS_MODE_4LW + static_cast<unsigned>(mode));
}

// --- CRecordDecoder ------------------------------------------------------------

CRecordDecoder::CRecordDecoder(const QString& strDeviceType, const QString& strSerial, int nMajorVersion)
    : m_strDeviceType(strDeviceType)
    , m_strSerial(strSerial)
    , m_nMajorVersion(nMajorVersion)
{
}

void CRecordDecoder::Reset()
{
    m_uRange = m_iRange = m_uRatio = m_iRatio = 0;
    m_kind = RecordKind::None;
    m_bBadKind = false;
    m_nRawKind = -1;
    m_mode = MeasuringMode::None;
    m_harmonicSquares = 0;
    for (int p = 0; p < 3; ++p)
        m_voltageAngle[p] = m_currentAngle[p] = 0;
    m_nEnergyCode = -1;
    m_nPQSCode[0] = m_nPQSCode[1] = m_nPQSCode[2] = -1;
    m_start = QDateTime();
    m_samplesA = m_samplesB = QStringList(kSamples);
    m_harmonics = m_selective = QStringList(kOrders);
}

bool CRecordDecoder::IsThreeWire() const
{
    // The mode names of the three-wire connections carry the digit 3.
    switch (m_mode) {
    case MeasuringMode::W3:
    case MeasuringMode::BE3:
    case MeasuringMode::BKA3:
    case MeasuringMode::BKB3:
    case MeasuringMode::S3:
        return true;
    default:
        return false;
    }
}

int CRecordDecoder::EnergyType() const
{
    using M = MeasuringMode;
    switch (m_mode) {
    case M::W4:
    case M::W3:
    case M::W2:
        return 0;
    case M::BE4:
    case M::BK4:
    case M::BE3:
    case M::BKA3:
    case M::BKB3:
    case M::B2:
    case M::S2:
        return 1;
    default:
        return 2;
    }
}

QString CRecordDecoder::EnergyUnit(int nCode, int nType, bool bPower) const
{
    if (nCode < 0 || nCode > 4)
        return {};
    static const char* const kEnergy[3] = {"Wh", "VArh", "VAh"};
    static const char* const kPower[3] = {"W", "VAr", "VA"};
    return ScalePrefix(nCode) + QLatin1String(bPower ? kPower[nType] : kEnergy[nType]);
}

bool CRecordDecoder::Decode(const QStringList& lines, const QDateTime& stamp, CResultRecord& r)
{
    Reset();
    r = CResultRecord();
    r.m_strPrimSekValCzReg = QStringLiteral("On;On;On");
    r.m_strAdjustData = QStringLiteral("OK");
    r.m_strDeviceTyp = m_strDeviceType;
    r.m_strDeviceNo = m_strSerial;
    r.m_strDate = stamp.toString(QStringLiteral("dd.MM.yyyy"));
    r.m_strTime = stamp.toString(QStringLiteral("HH:mm:ss"));

    std::vector<KeyValue> body;
    body.reserve(static_cast<size_t>(lines.size()));
    // The header (kind, mode, ranges, ratios, channels, energy units) takes
    // effect before any value, wherever the device puts it: values are
    // scaled by it.
    for (const QString& strLine : lines) {
        KeyValue kv;
        SplitKeyValue(strLine, kv.strKey, kv.strValue);
        if (!DecodeHeader(kv, r))
            body.push_back(std::move(kv));
    }
    // A record without a usable ratio line measured without a transformer:
    // scaling its values by a ratio of 0 would store every value as zero.
    if (m_uRatio == 0)
        m_uRatio = 1;
    if (m_iRatio == 0)
        m_iRatio = 1;
    for (const KeyValue& kv : body)
        DecodeBody(kv, r);

    switch (m_kind) {
    case RecordKind::Curve:
        r.m_strSampleA = m_samplesA;
        r.m_strSampleB = m_samplesB;
        break;
    case RecordKind::Harmonics:
        r.m_strHarm = m_harmonics;
        break;
    case RecordKind::Selective:
        r.m_strHarmValue = m_selective;
        break;
    default:
        break;
    }
    return !m_bBadKind && m_kind != RecordKind::None;
}

bool CRecordDecoder::DecodeHeader(const KeyValue& kv, CResultRecord& r)
{
    const QString& k = kv.strKey;
    const QString& v = kv.strValue;
    if (k == QLatin1String("RID")) {
        m_nRawKind = ParseInt(v);
        if (const std::optional<RecordKind> kind = RecordKindFromInt(m_nRawKind)) {
            m_kind = *kind;
            r.m_strFunction = RecordFunction(m_kind);
            r.m_strDatatype = RecordDatatype(m_kind);
        } else {
            m_kind = RecordKind::None;
            m_bBadKind = true;
        }
    } else if (k == QLatin1String("MM")) {
        m_mode = ModeOfCode(Code(v), m_nMajorVersion);
        r.m_strMMode = ModeText(m_mode);
    } else if (k == QLatin1String("UR")) {
        const QStringList f = Fields(v, 2);
        m_uRange = ToDeviceNumber(f[0]);
        r.m_strURange = FormatNumberC("%.1f", m_uRange) + QStringLiteral(";V;") + f[1];
    } else if (k == QLatin1String("IR")) {
        const QStringList f = Fields(v, 2);
        m_iRange = ToDeviceNumber(f[0]);
        r.m_strIRange = FormatNumberC("%.3f", m_iRange) + QStringLiteral(";A;") + f[1];
    } else if (k == QLatin1String("URat")) {
        // Primary and secondary, each with a flag for "divided by root 3".
        const QStringList f = Fields(v, 4);
        const double primary = ToDeviceNumber(f[0]);
        const double secondary = ToDeviceNumber(f[2]);
        const bool bPrimaryRoot3 = ParseInt(f[1]) == 1;
        const bool bSecondaryRoot3 = ParseInt(f[3]) == 1;
        if (!f[0].isEmpty() && !f[2].isEmpty() && secondary != 0) {
            const double root3 = std::sqrt(3.0);
            m_uRatio = (primary / (bPrimaryRoot3 ? root3 : 1.0)) / (secondary / (bSecondaryRoot3 ? root3 : 1.0));
        }
        const QString strRoot3 = QStringLiteral(":sqrt(3)");
        r.m_strUPrimSek = FormatNumberC("%.1f", primary) + (bPrimaryRoot3 ? strRoot3 : QString()) + u'/'
                          + FormatNumberC("%.1f", secondary) + (bSecondaryRoot3 ? strRoot3 : QString())
                          + QStringLiteral(";V;") + FormatNumberC("%.2f", m_uRatio);
    } else if (k == QLatin1String("IRat")) {
        const QStringList f = Fields(v, 2);
        const double primary = ToDeviceNumber(f[0]);
        const double secondary = ToDeviceNumber(f[1]);
        if (!f[0].isEmpty() && !f[1].isEmpty() && secondary != 0)
            m_iRatio = primary / secondary;
        r.m_strIPrimSek = FormatNumberC("%.3f", primary) + u'/' + FormatNumberC("%.3f", secondary)
                          + QStringLiteral(";A;") + FormatNumberC("%.3f", m_iRatio);
    } else if (k == QLatin1String("CCA")) {
        r.m_strChannelA = ChannelName(Code(v));
    } else if (k == QLatin1String("CCB")) {
        r.m_strChannelB = ChannelName(Code(v));
    } else if (k == QLatin1String("Ent")) {
        const int nCode = Code(v);
        if (nCode >= 0 && nCode <= 4)
            m_nEnergyCode = nCode;
    } else if (k.size() == 4 && k.startsWith(QLatin1String("Ent")) && k.at(3) >= u'0' && k.at(3) <= u'2') {
        const int nCode = Code(v);
        if (nCode >= 0 && nCode <= 4)
            m_nPQSCode[k.at(3).unicode() - u'0'] = nCode;
    } else {
        return false;
    }
    return true;
}

void CRecordDecoder::DecodeBody(const KeyValue& kv, CResultRecord& r)
{
    if (kv.strKey.isEmpty())
        return;
    const QHash<QString, BodyRule>& rules = BodyRules();
    if (const auto it = rules.constFind(kv.strKey); it != rules.cend()) {
        const BodyRule& rule = *it;
        if (rule.pHandler)
            rule.pHandler(*this, kv.strKey, kv.strValue, r);
        else
            r.*rule.pMember =
                (rule.pszFormat ? FormatNumberC(rule.pszFormat, ToDeviceNumber(kv.strValue)) : kv.strValue)
                + QLatin1String(rule.pszSuffix);
        return;
    }
    // Keys with an index; a key without an index that no rule names is not
    // stored.
    QString strBase;
    int n = -1;
    SplitIndexedKey(kv.strKey, strBase, n);
    if (n < 0)
        return;
    const QHash<QString, IndexedHandler>& handlers = IndexedHandlers();
    if (const auto it = handlers.constFind(strBase); it != handlers.cend())
        (*it)(*this, strBase, n, kv.strValue, r);
}

const QHash<QString, CRecordDecoder::BodyRule>& CRecordDecoder::BodyRules()
{
    using R = CResultRecord;
    using D = CRecordDecoder;
    static const QHash<QString, BodyRule> rules = {
        // Stored as sent.
        {L("ID"), {nullptr, &R::m_strID}},
        {L("Rem"), {nullptr, &R::m_strRemark}},
        {L("Adr"), {nullptr, &R::m_strPX900Adr}},
        {L("MT"), {nullptr, &R::m_strMeasurementTime, nullptr, ";m"}},
        // One number in a fixed format.
        {L("EI"), {nullptr, &R::m_strCTValue, "%.3f", ";%"}},
        {L("DI"), {nullptr, &R::m_strCTAngleDeg, "%.2f", ";deg"}},
        {L("DIMin"), {nullptr, &R::m_strCTAngleMin, "%.2f", ";min"}},
        {L("DICrad"), {nullptr, &R::m_strCTAngleCrad, "%.2f", ";crad"}},
        {L("IN"), {nullptr, &R::m_strINominal, "%.1f", ";A"}},
        {L("SN"), {nullptr, &R::m_strBNominal, "%.1f", ";VA"}},
        {L("L"), {nullptr, &R::m_strWLength, "%.2f", ";m"}},
        {L("Q"), {nullptr, &R::m_strWGauge, "%.2f", ";mm2"}},
        // Lines of their own.
        {L("Dat"), {[](D&, const QString&, const QString& v, R& r) {
             if (v.size() >= 14) {
                 r.m_strDate = v.mid(0, 2) + u'.' + v.mid(2, 2) + u'.' + v.mid(4, 4);
                 r.m_strTime = v.mid(8, 2) + u':' + v.mid(10, 2) + u':' + v.mid(12, 2);
             }
         }}},
        {L("Err"), {[](D& d, const QString&, const QString& v, R& r) {
             const QString strText = FormatNumberC("%.2f", ToDeviceNumber(v)) + QStringLiteral(";%");
             if (d.m_kind == RecordKind::RegisterEnergy)
                 r.m_strEError = strText;
             else if (d.m_kind == RecordKind::RegisterPower)
                 r.m_strPError = strText;
             else
                 r.m_strError = strText;
         }}},
        {L("Start"), {[](D& d, const QString&, const QString& v, R& r) { d.DecodeStartEnd(false, v, r); }}},
        {L("End"), {[](D& d, const QString&, const QString& v, R& r) { d.DecodeStartEnd(true, v, r); }}},
        {L("MV"), {[](D& d, const QString& k, const QString& v, R& r) { d.DecodeRegisterValue(k, v, r); }}},
        {L("SV"), {[](D& d, const QString& k, const QString& v, R& r) { d.DecodeRegisterValue(k, v, r); }}},
        {L("EV"), {[](D& d, const QString& k, const QString& v, R& r) { d.DecodeRegisterValue(k, v, r); }}},
        {L("Cz"), {[](D&, const QString&, const QString& v, R& r) {
             // Meter constant: value, unit code, exponent code.
             static const char* const kUnits[6] = {"I/kWh", "I/kVarh", "I/kVah", "Wh/I", "Varh/I", "Vah/I"};
             static const char* const kExponents[11] = {"Exp-5", "Exp-4", "Exp-3", "Exp-2", "Exp-1", "1",
                                                        "Exp+1", "Exp+2", "Exp+3", "Exp+4", "Exp+5"};
             const QStringList f = Fields(v, 3);
             const int nUnit = Code(f[1]);
             const QString strUnit = nUnit >= 0 && nUnit < 6 ? L(kUnits[nUnit]) : QString();
             QString strExponent = QStringLiteral("1");
             if (!f[2].isEmpty()) {
                 const int nExp = Code(f[2]);
                 if (nExp >= 0 && nExp < 11)
                     strExponent = L(kExponents[nExp]);
             }
             r.m_strCz =
                 FormatNumberC("%.2f", ToDeviceNumber(f[0])) + QStringLiteral(";x") + strExponent + u';' + strUnit;
         }}},
        {L("Imp"), {[](D&, const QString&, const QString& v, R& r) {
             // Pulses, pulse source, exponent.
             static const char* const kSources[4] = {"RB", "RB MAN", "RB720", "Start/Stop"};
             static const char* const kExponents[6] = {"1", "Exp+1", "Exp+2", "Exp+3", "Exp+4", "Exp+5"};
             const QStringList f = Fields(v, 3);
             QString strExponent = QStringLiteral("1");
             if (!f[2].isEmpty()) {
                 const int nExp = Code(f[2]);
                 if (nExp >= 0 && nExp < 6)
                     strExponent = L(kExponents[nExp]);
             }
             r.m_strMPuls = f[0] + QStringLiteral(";x") + strExponent;
             const int nSource = Code(f[1]);
             r.m_strMInp = L(kSources[nSource >= 0 && nSource < 4 ? nSource : 0]);
         }}},
        {L("E"), {[](D& d, const QString&, const QString& v, R& r) {
             static const char* const kUnits[3] = {"Wh", "VArh", "VAh"};
             const double e = ToDeviceNumber(v);
             r.m_strErrEnergie = FormatScaled(e, d.Ir() * d.Ur(), ScaleIndex(e), L(kUnits[d.EnergyType()]));
         }}},
        {L("CtRat"), {[](D&, const QString&, const QString& v, R& r) {
             const QStringList f = Fields(v, 2);
             if (!f[0].isEmpty() && !f[1].isEmpty())
                 r.m_strErrCtRat =
                     FormatNumberC("%.3f", ToDeviceNumber(f[0])) + u'/' + FormatNumberC("%.3f", ToDeviceNumber(f[1]));
         }}},
        {L("NRat"), {[](D&, const QString&, const QString& v, R& r) { r.m_strCTN = TransformerRatio(v); }}},
        {L("XRat"), {[](D&, const QString&, const QString& v, R& r) { r.m_strCTX = TransformerRatio(v); }}},
        {L("XcRat"), {[](D&, const QString&, const QString& v, R& r) { r.m_strCTXc = TransformerRatio(v); }}},
        {L("Prim"), {[](D&, const QString&, const QString& v, R& r) { r.m_strIPrim = Current(v); }}},
        {L("NSek"), {[](D&, const QString&, const QString& v, R& r) { r.m_strISekN = Current(v); }}},
        {L("XSek"), {[](D&, const QString&, const QString& v, R& r) { r.m_strISekX = Current(v); }}},
        {L("UN"), {[](D&, const QString&, const QString& v, R& r) {
             const QStringList f = Fields(v, 2);
             r.m_strUNominal = FormatNumberC("%.1f", ToDeviceNumber(f[0]))
                               + (ParseInt(f[1]) == 1 ? QStringLiteral("/sqrt(3)") : QString()) + QStringLiteral(";V");
         }}},
        {L("HC"), {[](D&, const QString&, const QString& v, R& r) { r.m_strChannel = ChannelName(Code(v)); }}},
        {L("PC"), {[](D&, const QString&, const QString& v, R& r) {
             const int nCode = Code(v);
             const bool bValid = nCode >= 0 && nCode <= 2;
             r.m_strChannelU = bValid ? QStringLiteral("UL") + QString::number(nCode + 1) : QString();
             r.m_strChannelI = bValid ? QStringLiteral("IL") + QString::number(nCode + 1) : QString();
         }}},
    };
    return rules;
}

const QHash<QString, CRecordDecoder::IndexedHandler>& CRecordDecoder::IndexedHandlers()
{
    using R = CResultRecord;
    using D = CRecordDecoder;
    const IndexedHandler pqs = [](D& d, const QString& strBase, int n, const QString& v, R& r) {
        d.DecodePQSValue(strBase, n, v, r);
    };
    static const QHash<QString, IndexedHandler> handlers = {
        {L("AV"),
         [](D& d, const QString&, int n, const QString& v, R& r) {
             if (n <= 39)
                 d.DecodeActualValue(n, v, r);
         }},
        {L("CA"), [](D& d, const QString&, int n, const QString& v, R& r) { d.DecodeSample(true, n, v, r); }},
        {L("CB"), [](D& d, const QString&, int n, const QString& v, R& r) { d.DecodeSample(false, n, v, r); }},
        {L("H"), [](D& d, const QString&, int n, const QString& v, R& r) { d.DecodeHarmonic(n, v, r); }},
        {L("SP"), [](D& d, const QString&, int n, const QString& v, R& r) { d.DecodeSelective(n, v, r); }},
        {L("BV"), [](D& d, const QString&, int n, const QString& v, R& r) { d.DecodeBurden(n, v, r); }},
        {L("SV"), pqs},
        {L("EV"), pqs},
        {L("MV"), pqs},
        {L("Err"), pqs},
    };
    return handlers;
}

void CRecordDecoder::DecodeRegisterValue(const QString& strKey, const QString& strValue, CResultRecord& r)
{
    // A power register holds power, every other kind energy.
    const bool bPower = m_kind == RecordKind::RegisterPower;
    const QString strText =
        FormatNumberC("%.2f", ToDeviceNumber(strValue)) + u';' + EnergyUnit(m_nEnergyCode, EnergyType(), bPower);
    if (strKey == QLatin1String("MV"))
        (bPower ? r.m_strPower : r.m_strEnergie) = strText;
    else if (strKey == QLatin1String("SV"))
        (bPower ? r.m_strPBegin : r.m_strEBegin) = strText;
    else
        (bPower ? r.m_strPEnd : r.m_strEEnd) = strText;
}

void CRecordDecoder::DecodePQSValue(const QString& strBase, int n, const QString& strValue, CResultRecord& r)
{
    // Index 0 active, 1 reactive, 2 apparent.
    if (n > 2 || m_kind != RecordKind::PQSRegister)
        return;
    const double x = ToDeviceNumber(strValue);
    if (strBase == QLatin1String("Err")) {
        const QString strText = FormatNumberC("%.2f", x) + QStringLiteral(";%");
        (n == 0 ? r.m_strPEError : n == 1 ? r.m_strQEError : r.m_strSEError) = strText;
        return;
    }
    const QString strText = FormatNumberC("%.2f", x) + u';' + EnergyUnit(m_nPQSCode[n], n, false);
    if (strBase == QLatin1String("SV"))
        (n == 0 ? r.m_strPEBegin : n == 1 ? r.m_strQEBegin : r.m_strSEBegin) = strText;
    else if (strBase == QLatin1String("EV"))
        (n == 0 ? r.m_strPEEnd : n == 1 ? r.m_strQEEnd : r.m_strSEEnd) = strText;
    else
        (n == 0 ? r.m_strPEnergie : n == 1 ? r.m_strQEnergie : r.m_strSEnergie) = strText;
}

void CRecordDecoder::DecodeSample(bool bA, int n, const QString& strValue, CResultRecord& r)
{
    if (n >= kSamples)
        return;
    const QString& strChannel = bA ? r.m_strChannelA : r.m_strChannelB;
    // Samples come in percent of the range.
    const double s = ToDeviceNumber(strValue) * 0.01;
    const QString strText = strChannel.startsWith(u'I')
                                ? FormatAutoScaled(s * m_iRange * m_iRatio, Ir(), QStringLiteral("A"))
                                : FormatAutoScaled(s * m_uRange * m_uRatio, Ur(), QStringLiteral("V"));
    (bA ? m_samplesA : m_samplesB)[n] = QString::number(n + 1) + u';' + strText;
}

void CRecordDecoder::DecodeHarmonic(int n, const QString& strValue, CResultRecord& r)
{
    if (n >= kOrders)
        return;
    const QStringList f = Fields(strValue, 2);
    const QString strAmplitude = QString(f[0]).replace(u',', u'.');
    const QString strPhase = QString(f[1]).replace(u',', u'.');
    m_harmonics[n] =
        QString::number(n) + u';' + strAmplitude + QStringLiteral(";%;") + strPhase + QStringLiteral(";deg");
    // The fundamental is not part of the distortion.
    if (n != 1) {
        const double a = ToDeviceNumber(f[0]);
        m_harmonicSquares += a * a;
    }
    if (n == kOrders - 1)
        r.m_strTotalHarm = FormatNumberC("%.2f", std::sqrt(m_harmonicSquares)) + QStringLiteral(";%");
}

void CRecordDecoder::DecodeSelective(int n, const QString& strValue, CResultRecord&)
{
    if (n >= kOrders)
        return;
    const QStringList f = Fields(strValue, 3);
    const QString strS =
        IsThreeWire() ? Unavailable("VA") : FormatAutoScaled(ToDeviceNumber(f[2]), 0, QStringLiteral("VA"));
    m_selective[n] = QStringLiteral("N;") + QString::number(n) + QStringLiteral(";U;;V;I;;A;P;")
                     + FormatAutoScaled(ToDeviceNumber(f[0]), 0, QStringLiteral("W")) + QStringLiteral(";Q;")
                     + FormatAutoScaled(ToDeviceNumber(f[1]), 0, QStringLiteral("var")) + QStringLiteral(";S;") + strS;
}

void CRecordDecoder::DecodeBurden(int n, const QString& strValue, CResultRecord& r)
{
    // Six groups of the three phases.
    if (n > 17)
        return;
    const int p = n % 3;
    const double x = ToDeviceNumber(strValue);
    switch (n / 3) {
    case 0:
        r.m_strBurdenUPN[p] = FormatAutoScaled(x, 0, QStringLiteral("V"));
        break;
    case 1:
        r.m_strBurdenIL[p] = FormatAutoScaled(x, 0, QStringLiteral("A"));
        break;
    case 2:
        r.m_strBurdenPHI[p] = FormatNumberC("%.2f", x) + QStringLiteral(";deg");
        break;
    case 3:
        r.m_strBurdenSb[p] = FormatAutoScaled(x, 0, QStringLiteral("VA"));
        break;
    case 4:
        r.m_strBurdenCosBeta[p] = strValue;
        break;
    default:
        r.m_strBurdenSN[p] = FormatNumberC("%.2f", x) + QStringLiteral(";%");
        break;
    }
}

void CRecordDecoder::DecodeActualValue(int nIndex, const QString& strValue, CResultRecord& r)
{
    CActualValues& a = r.m_values;
    const double v = ToDeviceNumber(strValue);
    const int p = nIndex % 3;  // the phase, for the groups that start at a multiple of 3
    const bool b3W = IsThreeWire();
    const QString strV = QStringLiteral("V"), strA = QStringLiteral("A");
    switch (nIndex) {
    case 0: case 1: case 2:
        a.m_strUPN[p] = FormatAutoScaled(v * m_uRatio, Ur(), strV);
        break;
    case 3: case 4: case 5:
        // The middle conductor carries no measured current in three-wire modes.
        a.m_strIL[p] = (b3W && nIndex == 4) ? Unavailable("A") : FormatAutoScaled(v * m_iRatio, Ir(), strA);
        break;
    case 6: case 7: case 8:
        m_voltageAngle[p] = v;
        a.m_strAU[p] = strValue + QStringLiteral(";deg");
        break;
    case 9: case 10: case 11:
        m_currentAngle[p] = v;
        a.m_strAI[p] = (b3W && nIndex == 10) ? Unavailable("deg") : strValue + QStringLiteral(";deg");
        if (nIndex == 11) {
            for (int q = 0; q < 3; ++q) {
                const double phi = WrapDegrees180(m_currentAngle[q] - m_voltageAngle[q]);
                a.m_strPHI[q] =
                    (b3W && q == 1) ? Unavailable("deg") : FormatNumberC("%.2f", phi) + QStringLiteral(";deg");
            }
        }
        break;
    case 12: case 13: case 14:
        a.m_strUPP[p] = FormatAutoScaled(v * m_uRatio, Ur(), strV);
        break;
    case 15: case 16: case 17:
        a.m_strP[p] = FormatAutoScaled(v * m_iRatio * m_uRatio, Ir() * Ur(), QStringLiteral("W"));
        break;
    case 18: case 19: case 20:
        a.m_strQ[p] = FormatAutoScaled(v * m_iRatio * m_uRatio, Ir() * Ur(), QStringLiteral("VAr"));
        break;
    case 21: case 22: case 23:
        a.m_strS[p] = b3W ? Unavailable("VA") : FormatAutoScaled(v * m_iRatio * m_uRatio, Ir() * Ur(), QStringLiteral("VA"));
        break;
    case 24:
        a.m_strSP = FormatAutoScaled(v * m_iRatio * m_uRatio, 3 * Ir() * Ur(), QStringLiteral("W"));
        break;
    case 25:
        a.m_strSQ = FormatAutoScaled(v * m_iRatio * m_uRatio, 3 * Ir() * Ur(), QStringLiteral("VAr"));
        break;
    case 26:
        a.m_strSS = FormatAutoScaled(v * m_iRatio * m_uRatio, 3 * Ir() * Ur(), QStringLiteral("VA"));
        break;
    case 27: {
        // Truncated like a C cast; out-of-range values are clamped first.
        const double t = std::isfinite(v) ? std::trunc(v) : 0;
        const double c = std::clamp(t, static_cast<double>(std::numeric_limits<int>::min()),
                                    static_cast<double>(std::numeric_limits<int>::max()));
        a.m_strRF = QString::number(static_cast<int>(c));
        break;
    }
    case 28:
        a.m_strFREQ = FormatNumberC("%.3f", v) + QStringLiteral(";Hz");
        break;
    case 29: case 30: case 31:
        a.m_strLambda[nIndex - 29] = b3W ? QStringLiteral("---;") : strValue + u';';
        break;
    case 32:
        a.m_strSLambda = FormatNumberC("%.4f", v) + u';';
        break;
    case 33: case 34: case 35:
        a.m_strUD[p] = FormatNumberC("%.2f", v) + QStringLiteral(";%");
        break;
    case 36: case 37: case 38:
        a.m_strID[p] = FormatNumberC("%.2f", v) + QStringLiteral(";%");
        break;
    case 39:
        a.m_strTemperature = FormatNumberC("%.1f", v) + QStringLiteral(";deg");
        break;
    default:
        break;
    }
}

void CRecordDecoder::DecodeStartEnd(bool bEnd, const QString& strValue, CResultRecord& r)
{
    if (strValue.size() != 19)
        return;
    QString* pStart = &r.m_strStartTime;
    QString* pStop = &r.m_strStopTime;
    QString* pElapsed = &r.m_strMTime;
    if (m_kind == RecordKind::RegisterEnergy) {
        pStart = &r.m_strEStartTime;
        pStop = &r.m_strEStopTime;
        pElapsed = &r.m_strEMTime;
    } else if (m_kind == RecordKind::RegisterPower) {
        pStart = &r.m_strPStartTime;
        pStop = &r.m_strPStopTime;
        pElapsed = &r.m_strPMTime;
    } else if (m_kind == RecordKind::PQSRegister) {
        pElapsed = &r.m_strPQSMTime;
    }
    if (!bEnd) {
        *pStart = strValue;
        m_start = ParseDeviceDateTime(strValue);
        return;
    }
    *pStop = strValue;
    const QDateTime end = ParseDeviceDateTime(strValue);
    if (m_start.isValid() && end.isValid())
        *pElapsed = ElapsedText(m_start, end);
}
