#include "core/Kinds.h"

#include "resources/StringTable.h"

namespace {

struct KindInfo
{
    ResultKind kind;
    const char* pszName;
    QLatin1String function;  // empty: no result element of its own
    unsigned nTitleId;
};

// In code order, so the table is indexed by the number.
const KindInfo g_kinds[] = {
    {ResultKind::Group, "Group", {}, 0},
    {ResultKind::Location, "Location", {}, 0},
    {ResultKind::Unassigned, "Unassigned", {}, 0},
    {ResultKind::Value, "Value", ResultFunction::Value, IDS_KIND_VALUE},
    {ResultKind::Vector, "Vector", ResultFunction::Vector, IDS_KIND_VECTOR},
    {ResultKind::Curve, "Curve", ResultFunction::Curve, IDS_KIND_CURVE},
    {ResultKind::Harmonics, "Harmonics", ResultFunction::Harmonics, IDS_KIND_HARMONICS},
    {ResultKind::Error, "Error", ResultFunction::Error, IDS_KIND_ERROR},
    {ResultKind::Register, "Register", ResultFunction::Register, IDS_KIND_REGISTER},
    {ResultKind::TmTe, "TmTe", ResultFunction::TmTe, IDS_KIND_TMTE},
    {ResultKind::UBurden, "UBurden", ResultFunction::UBurden, IDS_KIND_UBURDEN},
    {ResultKind::IBurden, "IBurden", ResultFunction::IBurden, IDS_KIND_IBURDEN},
    {ResultKind::ContinueValue, "ContinueValue", ResultFunction::ContinueValue, IDS_KIND_CONTINUE},
    {ResultKind::Sample, "Sample", {}, 0},
    {ResultKind::UITransformer, "UITransformer", ResultFunction::UITransformer, IDS_KIND_UITRANSFORMER},
    {ResultKind::Automatic, "Automatic", ResultFunction::Automatic, IDS_KIND_AUTOMATIC},
    {ResultKind::AuxChannel, "AuxChannel", ResultFunction::AuxChannel, IDS_KIND_AUXCHANNEL},
    {ResultKind::Selective, "Selective", ResultFunction::Selective, IDS_KIND_SELECTIVE},
    {ResultKind::PQSRegister, "PQSRegister", ResultFunction::PQSRegister, IDS_KIND_PQSREGISTER},
    {ResultKind::Nothing, "Nothing", {}, 0},
};
constexpr int kKindCount = sizeof g_kinds / sizeof g_kinds[0];

struct RecordInfo
{
    QLatin1String function;
    QLatin1String datatype;
    ResultKind kind;
};

// Indexed by the record number; 0 is no kind.
const RecordInfo g_records[] = {
    {{}, {}, ResultKind::Nothing},
    {ResultFunction::Value, QLatin1String("Actual-Value"), ResultKind::Value},
    {ResultFunction::Vector, QLatin1String("Actual-Value"), ResultKind::Vector},
    {ResultFunction::Curve, QLatin1String("Sample-Data"), ResultKind::Curve},
    {ResultFunction::Harmonics, QLatin1String("Harmonic-Data"), ResultKind::Harmonics},
    {ResultFunction::Error, QLatin1String("Meter-Error"), ResultKind::Error},
    {ResultFunction::UITransformer, QLatin1String("UI-Transformer-Value"), ResultKind::UITransformer},
    {ResultFunction::UBurden, QLatin1String("UBurden-Value"), ResultKind::UBurden},
    {ResultFunction::IBurden, QLatin1String("IBurden-Value"), ResultKind::IBurden},
    {ResultFunction::Register, QLatin1String("Register-Test"), ResultKind::Register},
    {ResultFunction::Register, QLatin1String("Register-Test"), ResultKind::Register},
    {ResultFunction::Selective, QLatin1String("Selektiv-Data"), ResultKind::Selective},
    {ResultFunction::PQSRegister, QLatin1String("PQS-Reg-Test"), ResultKind::PQSRegister},
};
constexpr int kRecordCount = sizeof g_records / sizeof g_records[0];

const char* const g_modeNames[] = {
    "ValueTable", "VectorDiagram", "HarmonicsTable", "HarmonicsLinear", "HarmonicsLog",
    "ErrorValues", "ErrorVector", "ErrorValuesVector", "ValueTableVector", "None",
};
constexpr int kModeCount = sizeof g_modeNames / sizeof g_modeNames[0];

const KindInfo& Info(ResultKind kind)
{
    return g_kinds[ToInt(kind)];
}

} // namespace

std::optional<ResultKind> ResultKindFromInt(int n)
{
    if (n < 0 || n >= kKindCount)
        return std::nullopt;
    return static_cast<ResultKind>(n);
}

std::optional<RecordKind> RecordKindFromInt(int n)
{
    if (n < 1 || n >= kRecordCount)
        return std::nullopt;
    return static_cast<RecordKind>(n);
}

std::optional<DisplayMode> DisplayModeFromInt(int n)
{
    if (n < 0 || n >= kModeCount)
        return std::nullopt;
    return static_cast<DisplayMode>(n);
}

QString ResultKindName(ResultKind kind)
{
    return QString::fromLatin1(Info(kind).pszName);
}

std::optional<ResultKind> ResultKindOfName(const QString& strName)
{
    for (const KindInfo& k : g_kinds)
        if (strName.compare(QLatin1String(k.pszName), Qt::CaseInsensitive) == 0)
            return k.kind;
    return std::nullopt;
}

QString DisplayModeName(DisplayMode mode)
{
    return QString::fromLatin1(g_modeNames[ToInt(mode)]);
}

std::optional<ResultKind> KindOfFunction(const QString& strFunction)
{
    for (const KindInfo& k : g_kinds)
        if (!k.function.isEmpty() && strFunction == k.function)
            return k.kind;
    return std::nullopt;
}

QString FunctionOfKind(ResultKind kind)
{
    return QString(Info(kind).function);
}

QLatin1String RecordFunction(RecordKind kind)
{
    return g_records[ToInt(kind)].function;
}

QLatin1String RecordDatatype(RecordKind kind)
{
    return g_records[ToInt(kind)].datatype;
}

ResultKind ResultKindOfRecord(RecordKind kind)
{
    return g_records[ToInt(kind)].kind;
}

unsigned KindTitleId(ResultKind kind)
{
    return Info(kind).nTitleId;
}

QString KindTitle(ResultKind kind)
{
    const unsigned nId = KindTitleId(kind);
    return nId ? LoadString(nId) : QString();
}

bool KindHasPlaceNumbers(ResultKind kind)
{
    return kind == ResultKind::Error || kind == ResultKind::Register || kind == ResultKind::TmTe;
}

bool IsResultElementKind(ResultKind kind)
{
    return !Info(kind).function.isEmpty();
}

ResultKind KindOfMode(DisplayMode mode)
{
    switch (mode) {
    case DisplayMode::ValueTable:
    case DisplayMode::ValueTableVector:
        return ResultKind::Value;
    case DisplayMode::VectorDiagram:
        return ResultKind::Vector;
    case DisplayMode::HarmonicsTable:
    case DisplayMode::HarmonicsLinear:
    case DisplayMode::HarmonicsLog:
        return ResultKind::Harmonics;
    case DisplayMode::ErrorValues:
    case DisplayMode::ErrorVector:
    case DisplayMode::ErrorValuesVector:
        return ResultKind::Error;
    case DisplayMode::None:
        break;
    }
    return ResultKind::Nothing;
}
