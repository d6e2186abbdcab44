#pragma once

#include <QString>

// Kind codes of tree items and of what the result view shows. 3 to 18 name
// result kinds; the tree adds its containers, the view its "nothing".
namespace ResultKind {
enum : int {
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
} // namespace ResultKind

// Indices into the tree's strip of 21 images.
namespace TreeImage {
enum : int {
    LocationOK = 0,
    Location = 1,
    Result = 2,
    Unassigned = 3,
    Sample = 4,
    PlaceNo = 14,
    Group = 18,
};
} // namespace TreeImage

// The kind code of a result's "Function" text (compared exactly), or -1 when
// the text names no kind.
int KindOfFunction(const QString& strFunction);
// The "Function" text of a result kind; empty for codes that name no result
// element (containers, samples, nothing).
QString FunctionOfKind(int nKind);
// The string-table id of a result kind's title (kind folder label, print
// header); 0 for codes without one.
unsigned KindTitleId(int nKind);
QString KindTitle(int nKind);
// The image of a kind folder; -1 for codes without a folder.
int KindFolderImage(int nKind);
// Whether results of the kind carry place numbers as child items.
bool KindHasPlaceNumbers(int nKind);
