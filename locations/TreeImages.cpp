#include "locations/TreeImages.h"

int KindFolderImage(ResultKind kind)
{
    if (!IsResultElementKind(kind))
        return -1;
    // The strip holds the folder images in kind order from index 4; index 18
    // is the group image, so the last two kinds follow it.
    if (ToInt(kind) <= ToInt(ResultKind::AuxChannel))
        return ToInt(kind) + 1;
    return kind == ResultKind::Selective ? 19 : 20;
}
