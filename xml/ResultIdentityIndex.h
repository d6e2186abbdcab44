#pragma once

#include "core/ResultIdentity.h"

#include <QSet>

class CXMLDocument;

// The identities of the results in a document, so that a readout skips what
// the file already holds without querying the whole file per record. Built
// from ID, Date and Time (no place number); a result matches exactly as it
// would match the query Result[ID = $id and Date = $date and Time = $time]
// on the root element: a result with two ID elements answers to either, and
// an element with markup inside counts by its whole text.
class CResultIdentityIndex
{
public:
    void Build(const CXMLDocument& document);
    bool Contains(const CResultIdentity& identity) const { return m_set.contains(identity); }
    void Insert(const CResultIdentity& identity) { m_set.insert(identity); }
    qsizetype Size() const { return m_set.size(); }

private:
    QSet<CResultIdentity> m_set;
};
