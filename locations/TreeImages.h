#pragma once

#include "core/Kinds.h"

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
}  // namespace TreeImage

// The image of a kind folder; -1 for kinds without a folder.
int KindFolderImage(ResultKind kind);
