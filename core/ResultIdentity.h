#pragma once

#include "core/Kinds.h"

#include <QHashFunctions>
#include <QString>

// What tells one stored result from another: ID, date and time, and for the
// kinds with place numbers the place number too (an empty place number then
// matches a result with an empty or no "Place-No").
class CResultIdentity
{
public:
    QString m_strID, m_strDate, m_strTime, m_strPlaceNo;
    bool m_bWithPlace = false;

    CResultIdentity() = default;
    CResultIdentity(const QString& strID, const QString& strDate, const QString& strTime)
        : m_strID(strID), m_strDate(strDate), m_strTime(strTime)
    {
    }
    // The identity a result of the kind is looked up by.
    static CResultIdentity Of(ResultKind kind, const QString& strID, const QString& strDate,
                              const QString& strTime, const QString& strPlaceNo)
    {
        CResultIdentity id(strID, strDate, strTime);
        if (KindHasPlaceNumbers(kind)) {
            id.m_bWithPlace = true;
            id.m_strPlaceNo = strPlaceNo;
        }
        return id;
    }

    bool operator==(const CResultIdentity& o) const
    {
        return m_strID == o.m_strID && m_strDate == o.m_strDate && m_strTime == o.m_strTime
               && m_bWithPlace == o.m_bWithPlace && (!m_bWithPlace || m_strPlaceNo == o.m_strPlaceNo);
    }
    friend size_t qHash(const CResultIdentity& key, size_t seed = 0) noexcept
    {
        return key.m_bWithPlace ? qHashMulti(seed, key.m_strID, key.m_strDate, key.m_strTime, key.m_strPlaceNo)
                                : qHashMulti(seed, key.m_strID, key.m_strDate, key.m_strTime);
    }
};
