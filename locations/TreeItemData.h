#pragma once

#include "core/Kinds.h"
#include "core/ResultIdentity.h"

#include <QString>

// The record every item of the location tree carries. Commands decide what
// they may do with the selected item by looking at it.
struct TreeItemData
{
    // Group name, location ID, or the result's ID for result items and the
    // items below them; empty for the unassigned node and kind folders.
    QString m_strName;
    // Group, location, the unassigned node, or a result kind (Sample for one
    // entry of a continuous series).
    ResultKind m_nKind = ResultKind::Group;
    bool m_bIsContainer = false;
    // Location items under the unassigned node and results without location.
    bool m_bIsUnassigned = false;
    QString m_strDate;
    QString m_strTime;
    QString m_strPlaceNo;

    // The result a result item (or one of its place-number items) stands
    // for; meaningless for containers.
    CResultIdentity Identity() const
    {
        return CResultIdentity::Of(m_nKind, m_strName, m_strDate, m_strTime, m_strPlaceNo);
    }

    bool operator==(const TreeItemData&) const = default;
};
