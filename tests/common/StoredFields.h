#pragma once

#include "xml/ResultRecord.h"

#include <utility>

// The text a record stores in an element, found through its list of stored
// fields. "Harm[2]" picks one entry of a repeated element; "Harm" reads as
// the number of entries. Unless bAll, only the fields of the record's kind
// are met, and a value in any other member reads as absent; with bAll, the
// first of the kinds that have a field of that name counts.
inline QString Stored(CResultRecord& r, const QString& strElement, bool bAll = false)
{
    class CFind : public IResultFieldVisitor
    {
    public:
        QString m_strName, m_strFound = QStringLiteral("<absent>");
        int m_nIndex = -1;
        bool m_bFound = false;
        void Text(const QString& strName, QString& strValue) override
        {
            if (strName == m_strName && !std::exchange(m_bFound, true))
                m_strFound = strValue;
        }
        void TextArray(const QString& strName, QStringList& values) override
        {
            if (strName != m_strName || std::exchange(m_bFound, true))
                return;
            m_strFound = m_nIndex < 0               ? QString::number(values.size())
                         : m_nIndex < values.size() ? values.at(m_nIndex)
                                                    : QStringLiteral("<out of range>");
        }
    } find;
    const qsizetype nBracket = strElement.indexOf(u'[');
    find.m_strName = strElement.left(nBracket);
    if (nBracket >= 0)
        find.m_nIndex = strElement.mid(nBracket + 1).chopped(1).toInt();
    r.VisitFields(find, bAll);
    return find.m_strFound;
}

// The "Element=text" pairs of strPairs ('|' between them) with the texts the
// record stores, to compare with strPairs.
inline QString StoredPairs(CResultRecord& r, const QString& strPairs, bool bAll = false)
{
    QStringList pairs;
    for (const QString& strPair : strPairs.split(u'|', Qt::SkipEmptyParts)) {
        const QString strElement = strPair.section(u'=', 0, 0);
        pairs << strElement + u'=' + Stored(r, strElement, bAll);
    }
    return pairs.join(u'|');
}
