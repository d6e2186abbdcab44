#pragma once

#include "core/ResultIdentity.h"

#include <QHash>
#include <QList>
#include <QString>

#include <pugixml.hpp>

#include <vector>

// Finds the elements a click or a tree command asks for without scanning the
// file: results by identity and by ID, locations by ID. Every list keeps
// document order, so a look-up gives the element the equivalent query
// would give first:
// - identity: Result[ID = $id and Date = $d and Time = $t] on the root
//   element, with the place number checked on the hits; an element's whole
//   text counts, and of several ID, Date or Time children the first (a
//   result the program wrote has one of each);
// - results of an ID: the root's "Result" children whose first "ID" holds
//   the text, as the tree files them;
// - location: .//Main[General/ID = $id].
// The owner tells it of every element put into or taken out of the tree and
// of every change inside one (Insert, Remove, Rekey).
class CElementIndex
{
public:
    void Build(pugi::xml_node root);
    void Clear();

    // pbStale is set when a hit no longer holds the identity: the element
    // changed without Rekey, and the index must be built again.
    pugi::xml_node FindResult(const CResultIdentity& identity, bool* pbStale = nullptr) const;
    const std::vector<pugi::xml_node>& ResultsOf(const QString& strID) const;
    pugi::xml_node FindLocation(const QString& strID) const;

    // After the element (with everything below it) went into the tree.
    void Insert(pugi::xml_node element);
    // Before the element (with everything below it) leaves the tree.
    void Remove(pugi::xml_node element);
    // After a change inside the element: what it and the element it belongs
    // to are filed under is read again.
    void Rekey(pugi::xml_node element);

    qsizetype ResultCount() const { return m_resultKeys.size(); }
    qsizetype LocationCount() const { return m_locationKeys.size(); }

private:
    using NodeList = std::vector<pugi::xml_node>;
    struct ResultKeys
    {
        CResultIdentity m_identity;
        bool m_bHasIdentity = false;
        QString m_strFirstID;
    };

    bool IsResult(pugi::xml_node element) const;
    void Add(pugi::xml_node element, bool bInOrder);
    void AddResult(pugi::xml_node result, bool bInOrder);
    void AddLocation(pugi::xml_node main, bool bInOrder);
    void Drop(pugi::xml_node element);
    static void Place(NodeList& list, pugi::xml_node result, bool bInOrder);
    static void Erase(NodeList& list, pugi::xml_node node);

    pugi::xml_node m_root;
    QHash<CResultIdentity, NodeList> m_byIdentity;
    QHash<QString, NodeList> m_byID;
    QHash<QString, NodeList> m_locations;
    // What each filed element is filed under, so that it can be taken out
    // after its texts changed.
    QHash<const void*, ResultKeys> m_resultKeys;
    QHash<const void*, QStringList> m_locationKeys;
};
