#pragma once

#include <QLatin1String>
#include <QString>

#include <optional>

// The program's one vocabulary for what a result is and how it is shown.
// The numbers are those of the tree's item data, the view's commands and the
// device; code compares the enumerators and converts to or from the number
// only where a file, a command id or the device needs it.

// What a tree item stands for and what the result view shows. 3 to 18 name
// result kinds; the tree adds its containers, the view its "nothing".
enum class ResultKind : int {
    Group = 0,
    Location = 1,
    Unassigned = 2,
    Value = 3,
    Vector = 4,
    Curve = 5,
    Harmonics = 6,
    Error = 7,
    Register = 8,
    TmTe = 9,
    UBurden = 10,
    IBurden = 11,
    ContinueValue = 12,
    Sample = 13,  // one entry of a continuous series; shown as Value
    UITransformer = 14,
    Automatic = 15,
    AuxChannel = 16,
    Selective = 17,
    PQSRegister = 18,
    Nothing = 19,
};

// The kind number ("RID") of a record stored in the device.
enum class RecordKind : int {
    None = 0,
    Value = 1,
    Vector = 2,
    Curve = 3,
    Harmonics = 4,
    Error = 5,
    UITransformer = 6,
    UBurden = 7,
    IBurden = 8,
    RegisterEnergy = 9,
    RegisterPower = 10,
    Selective = 11,
    PQSRegister = 12,
};

// How the result view draws its kind.
enum class DisplayMode : int {
    ValueTable = 0,
    VectorDiagram = 1,
    HarmonicsTable = 2,
    HarmonicsLinear = 3,
    HarmonicsLog = 4,
    ErrorValues = 5,
    ErrorVector = 6,
    ErrorValuesVector = 7,
    ValueTableVector = 8,
    None = 9,
};

constexpr int ToInt(ResultKind kind) { return static_cast<int>(kind); }
constexpr int ToInt(RecordKind kind) { return static_cast<int>(kind); }
constexpr int ToInt(DisplayMode mode) { return static_cast<int>(mode); }

// The enumerator of a number; nothing for numbers outside the range.
std::optional<ResultKind> ResultKindFromInt(int n);
std::optional<RecordKind> RecordKindFromInt(int n);
std::optional<DisplayMode> DisplayModeFromInt(int n);

// Names for logs, command lines and tests ("Value", "Harmonics", ...).
QString ResultKindName(ResultKind kind);
std::optional<ResultKind> ResultKindOfName(const QString& strName);  // case-insensitive
QString DisplayModeName(DisplayMode mode);

// --- element names ---------------------------------------------------------------

// The "Function" words of a result.
namespace ResultFunction {
inline const QLatin1String Value("Value-Measurement");
inline const QLatin1String Vector("Vector-Measurement");
inline const QLatin1String Error("Error-Measurement");
inline const QLatin1String Curve("Curve-Measurement");
inline const QLatin1String Harmonics("Harmonics-Measurement");
inline const QLatin1String Register("Register-Test");
inline const QLatin1String TmTe("TmTe-Transmitter");
inline const QLatin1String UBurden("U-Burden");
inline const QLatin1String IBurden("I-Burden");
inline const QLatin1String ContinueValue("Continue-Value-Measurement");
inline const QLatin1String UITransformer("UI-Transformer");
inline const QLatin1String Automatic("Automatic-Measurement");
inline const QLatin1String AuxChannel("AUX-Channel");
inline const QLatin1String Selective("Selektiv-Measurement");
inline const QLatin1String PQSRegister("PQS-Reg-Test");
} // namespace ResultFunction

// The kind of a result's "Function" text (compared exactly); nothing when the
// text names no kind.
std::optional<ResultKind> KindOfFunction(const QString& strFunction);
// The "Function" text of a result kind; empty for kinds that name no result
// element (containers, samples, nothing).
QString FunctionOfKind(ResultKind kind);

// "Function" and "Datatype" of a device record; empty for None.
QLatin1String RecordFunction(RecordKind kind);
QLatin1String RecordDatatype(RecordKind kind);
// The result kind a record is filed as.
ResultKind ResultKindOfRecord(RecordKind kind);

// --- properties ---------------------------------------------------------------------

// The string-table id of a result kind's title (kind folder label, print
// header); 0 for kinds without one.
unsigned KindTitleId(ResultKind kind);
QString KindTitle(ResultKind kind);
// Whether results of the kind carry place numbers: they are then told apart
// by "Place-No" as well, and listed under place-number items in the tree.
bool KindHasPlaceNumbers(ResultKind kind);
// Whether the kind names a stored result element (3 to 18 but 13).
bool IsResultElementKind(ResultKind kind);
// The kind whose modes a display mode belongs to.
ResultKind KindOfMode(DisplayMode mode);
