#pragma once

#include "core/Exception.h"
#include "core/Kinds.h"
#include "locations/TreeItemData.h"

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

class CXMLDocument;
class CLocationTree;
class CLocationTreeItem;

// --- queries on a main file shared by the commands and the import ------------

bool LocationExists(CXMLDocument& xmlMain, const QString& strId);
bool GroupExists(CXMLDocument& xmlMain, const QString& strName);
// The name of the group the location is in; empty when it is in none.
QString GetGroupOfLocation(CXMLDocument& xmlMain, const QString& strId);

// Every text field of a location ("General" without "State", "Customer",
// "Location", "Net", "Meter").
struct CLocationFields
{
    QString m_strID, m_strRemark;
    // Firstname, Name, Street, Postcode, City, Country, No, Remark
    QString m_customer[8], m_site[8];
    // Operator, Supplier, Remark
    QString m_net[3];
    // Manufacturer, Manuf-No, Custom-No, Remark
    QString m_meter[4];

    bool operator==(const CLocationFields&) const = default;
};
std::optional<CLocationFields> ReadLocation(CXMLDocument& xmlMain, const QString& strId);

// A failure of a tree command; its text holds the whole chain of reasons.
class CStoreException : public CException
{
public:
    explicit CStoreException(const QString& strText) : m_strText(strText) {}
    QString GetErrorMessage() const override { return m_strText; }

private:
    QString m_strText;
};

// One element put into or taken out of one of the two files, with what is
// needed to do it again or to take it back: where (the parent as element
// indices from the root element down, and the position among the parent's
// elements) and the element's complete text.
struct CElementEdit
{
    bool m_bMainFile = true;
    bool m_bInsert = true;
    std::vector<int> m_parentPath;
    int m_nIndex = 0;
    QByteArray m_xml;
};

// What a command changed: the edits in the order made, and which parts of
// the tree follow from them.
struct CStoreChange
{
    std::vector<CElementEdit> m_edits;
    QStringList m_groups;
    QStringList m_locations;
    QStringList m_resultIds;
    // Renamed groups and locations keep their tree items (and so their
    // expansion): old name, new name.
    QList<QPair<QString, QString>> m_groupRenames;
    QList<QPair<QString, QString>> m_locationRenames;

    enum class Select { None, Group, Location, Result };
    Select m_select = Select::None;
    QString m_strSelectName, m_strSelectDate, m_strSelectTime;
    // The item selected when the command ran: undo selects it again, so that
    // a deleted result that comes back is the one the user looks at.
    std::optional<TreeItemData> m_selectedBefore;

    bool Empty() const { return m_edits.empty(); }
    bool Touches(bool bMainFile) const;
};

// The commands of the tree on both data files. Each one changes the files,
// saves them and then patches the tree; when a save fails, neither file is
// changed on disk or in memory and a CStoreException tells the whole chain.
// Each returns what it changed, so that Undo and Redo can take it back and
// do it again; nothing when it changed nothing (a refusal has been shown).
class CLocationStore
{
public:
    CLocationStore(CXMLDocument& xmlMain, CXMLDocument& xmlResult, CLocationTree& tree);

    std::optional<CStoreChange> NewGroup(const QString& strName);
    std::optional<CStoreChange> RenameGroup(const QString& strOld, const QString& strNew);
    std::optional<CStoreChange> NewLocation(const CLocationFields& fields, const QString& strGroup);
    std::optional<CStoreChange> EditLocation(const QString& strOldId, const CLocationFields& fields,
                                             const QString& strGroup);
    // With bDeleteResults false the results stay and show as unassigned.
    std::optional<CStoreChange> DeleteLocation(const QString& strId, bool bDeleteResults);
    // bWithLocations false moves the group's locations to the root.
    std::optional<CStoreChange> DeleteGroup(const QString& strName, bool bWithLocations, bool bDeleteResults);
    // The results the item stands for: a group's, a location's, the
    // unassigned ones, a kind folder's, one result item's, one place number's.
    std::optional<CStoreChange> DeleteResults(const CLocationTreeItem* pItem);
    // Gives the results of a location item, or of one result item (every
    // kind with its ID, date and time), the new ID.
    std::optional<CStoreChange> AssignResults(const CLocationTreeItem* pItem, const QString& strNewId);
    std::optional<CStoreChange> SetRemarkAddress(const CLocationTreeItem* pItem, const QString& strRemark,
                                                 const QString& strAddress);
    // The remark and device address of a result item; nothing when its
    // result is not in the file.
    std::optional<QPair<QString, QString>> GetRemarkAddress(const CLocationTreeItem* pItem);

    // How long the last command's tree patch took, in nanoseconds.
    qint64 GetLastPatchTime() const { return m_nLastPatchNs; }

    void Undo(const CStoreChange& change) { Replay(change, false); }
    void Redo(const CStoreChange& change) { Replay(change, true); }

    // The tree items that follow from the files for the change's names.
    void SyncTree(const CStoreChange& change, bool bForward);
    // Makes the subtree of the ID's results equal to what a rebuild would
    // make, keeping the items that stay.
    void SyncResults(const QString& strId);

private:
    class CBuilder;
    template <class F>
    std::optional<CStoreChange> Run(F build);
    void Replay(const CStoreChange& change, bool bForward);
    void SelectAgain(const TreeItemData& d);
    // Applies edits [nFrom, nTo) of the change, forwards or backwards.
    class CElementCursor;
    void Apply(const CStoreChange& change, size_t nFrom, size_t nTo, bool bForward, CElementCursor& cursor);
    // Writes the files the change touched; on failure puts files and memory
    // back to before the change (which memory holds in direction bForward).
    void Commit(const CStoreChange& change, bool bForward);
    // Takes edits [0, nCount) back in memory; reloads when even that fails.
    void Revert(const CStoreChange& change, size_t nCount, bool bForward, QString& strChain);
    void SyncLocation(const QString& strId, const QString& strRenamedFrom);
    void Select(const CStoreChange& change);

    CXMLDocument& m_xmlMain;
    CXMLDocument& m_xmlResult;
    CLocationTree& m_tree;
    qint64 m_nLastPatchNs = 0;
};
