#pragma once

#include <QHash>
#include <QString>

class CLocationTreeItem;
class CXMLDocument;

// Which items of the location tree a search text keeps. A location is kept
// when its ID, customer or site name, street, city, network operator, meter
// maker or a meter number contains the text; a group when its name does or
// one of its locations is kept; below the unassigned node a location item
// when its (result) ID does. A kept location keeps everything below it.
// Case does not count, and "ß"/"ss", "ä"/"ae", "ö"/"oe", "ü"/"ue" are the
// same both ways.
class CTreeFilter
{
public:
    // The text both sides are compared in: lower case, umlauts and ß spelt out.
    static QString Fold(const QString& strText);

    void SetText(const QString& strText);
    bool IsActive() const { return !m_strFolded.isEmpty(); }
    const QString& GetText() const { return m_strText; }

    // Reads the searched fields of every location of the main file; call
    // again after the locations changed. Locations that were not read are
    // searched by their ID alone.
    void IndexLocations(CXMLDocument& xmlMain);
    void ClearIndex() { m_haystacks.clear(); }

    // Whether the item stays in the filtered tree (its parent being kept).
    bool Accepts(const CLocationTreeItem* pItem) const;

private:
    bool LocationMatches(const QString& strId) const;
    bool Contains(const QString& strFolded) const { return strFolded.contains(m_strFolded); }

    QString m_strText;
    QString m_strFolded;
    // Location ID -> its searched fields, folded, one per line.
    QHash<QString, QString> m_haystacks;
};
