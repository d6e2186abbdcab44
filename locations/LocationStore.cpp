#include "locations/LocationStore.h"

#include "locations/LocationTree.h"
#include "locations/TreeImages.h"
#include "resources/StringTable.h"
#include "xml/ResultLookup.h"
#include "xml/XMLDocument.h"
#include "xml/XMLException.h"
#include "xml/XMLNodeMain.h"

#include <QElapsedTimer>
#include <QFile>
#include <QScopeGuard>
#include <QSaveFile>

#include <pugixml.hpp>

#include <algorithm>
#include <climits>
#include <cstring>
#include <type_traits>

namespace {

// Parsed like the data files, so that an element put back is the element
// that was taken out.
constexpr unsigned kFragmentParse = pugi::parse_default | pugi::parse_comments | pugi::parse_pi
                                    | pugi::parse_embed_pcdata;

CXMLVars Var(const QString& strName, const QString& strValue)
{
    return {{strName, strValue}};
}

// The elements a query selects, in document order.
std::vector<pugi::xml_node> Select(CXMLDocument& doc, const QString& strQuery, const CXMLVars& vars)
{
    std::vector<pugi::xml_node> nodes;
    CXMLNode n(&doc);
    for (n.Open(strQuery, nullptr, vars); !n.IsEOF(); n.MoveNext())
        nodes.push_back(n.GetCurrentElement());
    return nodes;
}

// The results whose first "ID" holds the text, in file order. A copy: the
// commands change the index while they go through the list.
std::vector<pugi::xml_node> ResultsOfId(CXMLDocument& xmlResult, const QString& strId)
{
    return xmlResult.ResultElementsOf(strId);
}

QString ChildText(pugi::xml_node el, const char* pszName)
{
    return QString::fromUtf8(el.child(pszName).text().get());
}

void SetChildText(pugi::xml_node el, const char* pszName, const QString& strText)
{
    pugi::xml_node child = el.child(pszName);
    if (strText.isEmpty()) {
        // A fresh element: an empty text would be written as a text node
        // that reads back as nothing, and the element would not compare equal.
        pugi::xml_node empty = child ? el.insert_child_before(pszName, child) : el.append_child(pszName);
        if (!empty)
            throw CXMLException(IDS_XML_CREATE_NODE);
        if (child)
            el.remove_child(child);
        return;
    }
    if (!child)
        child = el.append_child(pszName);
    if (!child || !child.text().set(strText.toUtf8().constData()))
        throw CXMLException(IDS_XML_SET_VALUE);
}

int ElementIndex(pugi::xml_node el)
{
    int n = 0;
    for (pugi::xml_node p = el.previous_sibling(); p; p = p.previous_sibling())
        if (p.type() == pugi::node_element)
            ++n;
    return n;
}

pugi::xml_node ElementAt(pugi::xml_node parent, int nIndex)
{
    for (pugi::xml_node c = parent.first_child(); c; c = c.next_sibling())
        if (c.type() == pugi::node_element && nIndex-- == 0)
            return c;
    return {};
}

std::vector<int> PathOf(CXMLDocument& doc, pugi::xml_node el)
{
    std::vector<int> path;
    const pugi::xml_node root = doc.GetDocumentElement();
    for (; el && el != root; el = el.parent())
        path.push_back(ElementIndex(el));
    std::reverse(path.begin(), path.end());
    return path;
}

pugi::xml_node Resolve(CXMLDocument& doc, const std::vector<int>& path)
{
    pugi::xml_node n = doc.GetDocumentElement();
    for (int i : path)
        n = n ? ElementAt(n, i) : pugi::xml_node();
    return n;
}

QByteArray Serialize(pugi::xml_node el)
{
    struct Writer : pugi::xml_writer
    {
        QByteArray bytes;
        void write(const void* p, size_t n) override { bytes.append(static_cast<const char*>(p), static_cast<qsizetype>(n)); }
    } w;
    el.print(w, "", pugi::format_raw, pugi::encoding_utf8);
    return w.bytes;
}

// Puts the element the text holds before `before`, or last without it.
pugi::xml_node InsertXmlBefore(pugi::xml_node parent, pugi::xml_node before, const QByteArray& xml)
{
    pugi::xml_document fragment;
    if (!fragment.load_buffer(xml.constData(), static_cast<size_t>(xml.size()), kFragmentParse, pugi::encoding_utf8))
        throw CXMLException(IDS_XML_CREATE_NODE);
    pugi::xml_node added = before ? parent.insert_copy_before(fragment.document_element(), before)
                                  : parent.append_copy(fragment.document_element());
    if (!added)
        throw CXMLException(IDS_XML_APPEND_NODE);
    return added;
}

// The five blocks of a location in their file order, with their children.
struct Block
{
    const char* pszName;
    std::vector<const char*> children;
};
const Block kAddress[2] = {
    {"Customer", {"Firstname", "Name", "Street", "Postcode", "City", "Country", "No", "Remark"}},
    {"Location", {"Firstname", "Name", "Street", "Postcode", "City", "Country", "No", "Remark"}},
};
const Block kNet{"Net", {"Operator", "Supplier", "Remark"}};
const Block kMeter{"Meter", {"Manufacturer", "Manuf-No", "Custom-No", "Remark"}};

pugi::xml_node Child(pugi::xml_node el, const char* pszName)
{
    pugi::xml_node c = el.child(pszName);
    return c ? c : el.append_child(pszName);
}

// Writes every field into a "Main" element, making missing children, and
// marks the location as checked.
void WriteLocation(pugi::xml_node main, const CLocationFields& f)
{
    pugi::xml_node general = Child(main, "General");
    SetChildText(general, "ID", f.m_strID);
    SetChildText(general, "State", QStringLiteral("OK"));
    SetChildText(general, "Remark", f.m_strRemark);
    const QString* values[4] = {f.m_customer, f.m_site, f.m_net, f.m_meter};
    const Block* blocks[4] = {&kAddress[0], &kAddress[1], &kNet, &kMeter};
    for (int b = 0; b < 4; ++b) {
        pugi::xml_node block = Child(main, blocks[b]->pszName);
        for (size_t i = 0; i < blocks[b]->children.size(); ++i)
            SetChildText(block, blocks[b]->children[i], values[b][i]);
    }
}

// The location's "Main" element and the name of its group.
struct FoundLocation
{
    pugi::xml_node m_main;
    QString m_strGroup;
};

FoundLocation FindLocation(CXMLDocument& xmlMain, const QString& strId)
{
    const pugi::xml_node main = xmlMain.FindLocationElement(strId);
    const pugi::xml_node parent = main.parent();
    if (parent && std::strcmp(parent.name(), "Group") == 0 && parent.parent() == xmlMain.GetDocumentElement())
        return {main, QString::fromUtf8(parent.attribute("Name").value())};
    return {main, {}};
}

} // namespace

// --- queries -------------------------------------------------------------------

bool LocationExists(CXMLDocument& xmlMain, const QString& strId)
{
    if (!xmlMain.IsValid())
        throw CXMLException(IDS_XML_NO_DOCUMENT);
    return static_cast<bool>(xmlMain.FindLocationElement(strId));
}

bool GroupExists(CXMLDocument& xmlMain, const QString& strName)
{
    CXMLNode n(&xmlMain);
    return n.FindFirst(QStringLiteral("Group[@Name = $name]"), Var(QStringLiteral("name"), strName));
}

QString GetGroupOfLocation(CXMLDocument& xmlMain, const QString& strId)
{
    if (!xmlMain.IsValid())
        throw CXMLException(IDS_XML_NO_DOCUMENT);
    return FindLocation(xmlMain, strId).m_strGroup;
}

std::optional<CLocationFields> ReadLocation(CXMLDocument& xmlMain, const QString& strId)
{
    CXMLNodeMain m(&xmlMain);
    if (!::FindLocation(m, strId))
        return std::nullopt;
    CLocationFields f;
    f.m_strID = m.m_General.m_strID;
    f.m_strRemark = m.m_General.m_strRemark;
    CXMLNodeAddress* pAddress[2] = {&m.m_Customer, &m.m_Location};
    QString* pTargets[2] = {f.m_customer, f.m_site};
    for (int i = 0; i < 2; ++i) {
        const CXMLNodeAddress& a = *pAddress[i];
        const QString v[8] = {a.m_strFirstname, a.m_strName, a.m_strStreet, a.m_strPostcode,
                              a.m_strCity, a.m_strCountry, a.m_strNo, a.m_strRemark};
        std::copy(std::begin(v), std::end(v), pTargets[i]);
    }
    f.m_net[0] = m.m_Net.m_strOperator;
    f.m_net[1] = m.m_Net.m_strSupplier;
    f.m_net[2] = m.m_Net.m_strRemark;
    f.m_meter[0] = m.m_Meter.m_strManufacturer;
    f.m_meter[1] = m.m_Meter.m_strManufNo;
    f.m_meter[2] = m.m_Meter.m_strCustomNo;
    f.m_meter[3] = m.m_Meter.m_strRemark;
    return f;
}

bool CStoreChange::Touches(bool bMainFile) const
{
    return std::any_of(m_edits.begin(), m_edits.end(),
                       [bMainFile](const CElementEdit& e) { return e.m_bMainFile == bMainFile; });
}

// --- recording edits -------------------------------------------------------------

// Makes the edits of a command on the documents and records them.
class CLocationStore::CBuilder
{
public:
    CBuilder(CLocationStore& store, CStoreChange& change) : m_store(store), m_change(change) {}

    CXMLDocument& Doc(bool bMain) { return bMain ? m_store.m_xmlMain : m_store.m_xmlResult; }

    void Remove(bool bMain, pugi::xml_node el)
    {
        CElementEdit e{bMain, false, PathOf(Doc(bMain), el.parent()), IndexOf(el), Serialize(el)};
        // The element before it keeps its place; the one counted from is gone.
        pugi::xml_node before = el.previous_sibling();
        while (before && before.type() != pugi::node_element)
            before = before.previous_sibling();
        m_known = before;
        m_nKnown = e.m_nIndex - 1;
        Doc(bMain).NoteRemoving(el);
        if (!el.parent().remove_child(el)) {
            Doc(bMain).NoteChange();
            throw CXMLException(IDS_XML_REMOVE);
        }
        Doc(bMain).NoteRemoval();
        m_change.m_edits.push_back(std::move(e));
    }

    pugi::xml_node Append(bool bMain, pugi::xml_node parent, const QByteArray& xml)
    {
        pugi::xml_node added = InsertXmlBefore(parent, pugi::xml_node(), xml);
        Doc(bMain).NoteInserted(added);
        m_change.m_edits.push_back({bMain, true, PathOf(Doc(bMain), parent), IndexOf(added), Serialize(added)});
        return added;
    }

    // Changes an element; recorded as taking the old one out and putting
    // the new one in at the same place. The element is replaced by a copy
    // read from its text, so that memory holds what a redo would make;
    // returns that copy.
    template <class F>
    pugi::xml_node Replace(bool bMain, pugi::xml_node el, F change)
    {
        const pugi::xml_node parent = el.parent();
        CElementEdit out{bMain, false, PathOf(Doc(bMain), parent), IndexOf(el), Serialize(el)};
        try {
            change(el);
        } catch (...) {
            Swap(bMain, el, out.m_xml);
            throw;
        }
        const QByteArray xml = Serialize(el);
        if (xml == out.m_xml)
            return el;
        const pugi::xml_node fresh = Swap(bMain, el, xml);
        CElementEdit in = out;
        in.m_bInsert = true;
        in.m_xml = Serialize(fresh);
        m_change.m_edits.push_back(std::move(out));
        m_change.m_edits.push_back(std::move(in));
        return fresh;
    }

private:
    pugi::xml_node Swap(bool bMain, pugi::xml_node el, const QByteArray& xml)
    {
        pugi::xml_node parent = el.parent();
        const pugi::xml_node fresh = InsertXmlBefore(parent, el, xml);
        Doc(bMain).NoteInserted(fresh);
        Doc(bMain).NoteRemoving(el);
        if (m_known == el)
            m_known = fresh;
        parent.remove_child(el);
        Doc(bMain).NoteRemoval();
        return fresh;
    }

    // The position of an element among its parent's elements. A command
    // goes through its results in file order, thousands of siblings apart
    // in a large file: counting stops at the element counted last instead
    // of running back to the first one each time.
    int IndexOf(pugi::xml_node el)
    {
        int n = 0;
        for (pugi::xml_node p = el.previous_sibling(); p; p = p.previous_sibling()) {
            if (m_known && p == m_known) {
                n += m_nKnown + 1;
                break;
            }
            if (p.type() == pugi::node_element)
                ++n;
        }
        m_known = el;
        m_nKnown = n;
        return n;
    }

    CLocationStore& m_store;
    CStoreChange& m_change;
    pugi::xml_node m_known;
    int m_nKnown = 0;
};

// Finds an element by its position among its parent's elements, counting
// from the one found last: the edits of one command lie close together, in a
// large file thousands of siblings after the first. Lives for one replay, in
// which every removal and insertion goes through it.
class CLocationStore::CElementCursor
{
public:
    pugi::xml_node At(pugi::xml_node parent, int nIndex)
    {
        pugi::xml_node n = m_node && m_node.parent() == parent ? m_node : NextElement(parent.first_child(), true);
        int i = n == m_node ? m_nIndex : 0;
        for (; n && i < nIndex; ++i)
            n = NextElement(n.next_sibling(), true);
        for (; n && i > nIndex; --i)
            n = NextElement(n.previous_sibling(), false);
        if (n) {
            m_node = n;
            m_nIndex = nIndex;
        }
        return n;
    }

    void Inserted(pugi::xml_node added, int nIndex)
    {
        m_node = added;
        m_nIndex = nIndex;
    }

    // Before `el` at nIndex is taken out: what is remembered must not be it.
    void Removing(pugi::xml_node el, int nIndex)
    {
        if (!m_node)
            return;
        if (m_node.parent() != el.parent() || m_nIndex >= nIndex) {
            m_node = NextElement(el.previous_sibling(), false);
            m_nIndex = nIndex - 1;
        }
    }

private:
    static pugi::xml_node NextElement(pugi::xml_node n, bool bForward)
    {
        while (n && n.type() != pugi::node_element)
            n = bForward ? n.next_sibling() : n.previous_sibling();
        return n;
    }

    pugi::xml_node m_node;
    int m_nIndex = 0;
};

CLocationStore::CLocationStore(CXMLDocument& xmlMain, CXMLDocument& xmlResult, CLocationTree& tree)
    : m_xmlMain(xmlMain)
    , m_xmlResult(xmlResult)
    , m_tree(tree)
{
}

template <class F>
std::optional<CStoreChange> CLocationStore::Run(F build)
{
    CStoreChange change;
    if (const CLocationTreeItem* pSelected = m_tree.GetSelectedItem())
        change.m_selectedBefore = pSelected->GetData();
    try {
        CBuilder b(*this, change);
        build(b, change);
    } catch (const CException& e) {
        QString strChain = LoadString(IDS_CHANGE_NOT_SAVED) + u'\n' + e.GetErrorMessage();
        Revert(change, change.m_edits.size(), true, strChain);
        throw CStoreException(strChain);
    }
    if (change.Empty())
        return std::nullopt;
    Commit(change, true);
    SyncTree(change, true);
    Select(change);
    return change;
}

void CLocationStore::Revert(const CStoreChange& change, size_t nCount, bool bForward, QString& strChain)
{
    try {
        CElementCursor cursor;
        if (bForward)
            Apply(change, 0, nCount, false, cursor);
        else
            Apply(change, change.m_edits.size() - nCount, change.m_edits.size(), true, cursor);
        return;
    } catch (const CException& e) {
        strChain += u'\n' + e.GetErrorMessage();
    }
    // Last resort: memory goes back to what the files hold.
    for (auto [bDo, pDoc] : {std::pair{change.Touches(true), &m_xmlMain}, std::pair{change.Touches(false), &m_xmlResult}}) {
        try {
            if (bDo)
                pDoc->Reload();
        } catch (const CException& e) {
            strChain += u'\n' + e.GetErrorMessage();
        }
    }
}

void CLocationStore::Commit(const CStoreChange& change, bool bForward)
{
    const bool bMain = change.Touches(true);
    const bool bResult = change.Touches(false);
    // With both files to write, the main file is written first; should the
    // result file then fail, the main file gets its previous bytes back.
    QByteArray mainBefore;
    if (bMain && bResult) {
        QFile f(m_xmlMain.GetFileName());
        if (f.open(QIODevice::ReadOnly))
            mainBefore = f.readAll();
    }
    bool bMainSaved = false;
    try {
        if (bMain) {
            m_xmlMain.Save();
            bMainSaved = true;
        }
        if (bResult)
            m_xmlResult.Save();
    } catch (const CException& e) {
        QString strChain = LoadString(IDS_CHANGE_NOT_SAVED) + u'\n' + e.GetErrorMessage();
        if (bMainSaved) {
            QSaveFile f(m_xmlMain.GetFileName());
            if (mainBefore.isEmpty() || !f.open(QIODevice::WriteOnly) || f.write(mainBefore) != mainBefore.size()
                || !f.commit())
                strChain += u'\n' + LoadString(IDS_RESTORE_FAILED).arg(m_xmlMain.GetFileName()) + u'\n' + f.errorString();
        }
        Revert(change, change.m_edits.size(), bForward, strChain);
        // The restored main file is the document's again: read it, so that
        // its next save does not take it for another program's change.
        if (bMainSaved) {
            try {
                m_xmlMain.Reload();
            } catch (const CException& e2) {
                strChain += u'\n' + e2.GetErrorMessage();
            }
        }
        throw CStoreException(strChain);
    }
}

void CLocationStore::Apply(const CStoreChange& change, size_t nFrom, size_t nTo, bool bForward, CElementCursor& cursor)
{
    const auto apply = [this, &cursor](const CElementEdit& e, bool bForward) {
        CXMLDocument& doc = e.m_bMainFile ? m_xmlMain : m_xmlResult;
        pugi::xml_node parent = Resolve(doc, e.m_parentPath);
        if (!parent)
            throw CStoreException(LoadString(IDS_UNDO_STALE));
        if (e.m_bInsert == bForward) {
            const pugi::xml_node added = InsertXmlBefore(parent, cursor.At(parent, e.m_nIndex), e.m_xml);
            cursor.Inserted(added, e.m_nIndex);
            doc.NoteInserted(added);
            return;
        }
        // Only the very element recorded is taken out: a file changed in
        // between stops the step instead of losing something else.
        const pugi::xml_node el = cursor.At(parent, e.m_nIndex);
        if (!el || Serialize(el) != e.m_xml)
            throw CStoreException(LoadString(IDS_UNDO_STALE));
        cursor.Removing(el, e.m_nIndex);
        doc.NoteRemoving(el);
        parent.remove_child(el);
        doc.NoteRemoval();
    };
    if (bForward)
        for (size_t i = nFrom; i < nTo; ++i)
            apply(change.m_edits[i], true);
    else
        for (size_t i = nTo; i-- > nFrom;)
            apply(change.m_edits[i], false);
}

void CLocationStore::Replay(const CStoreChange& change, bool bForward)
{
    const size_t n = change.m_edits.size();
    // Applied one by one, so that a failure knows how many to take back.
    size_t nDone = 0;
    try {
        CElementCursor cursor;
        for (; nDone < n; ++nDone) {
            if (bForward)
                Apply(change, nDone, nDone + 1, true, cursor);
            else
                Apply(change, n - nDone - 1, n - nDone, false, cursor);
        }
    } catch (const CException& e) {
        QString strChain = e.GetErrorMessage();
        Revert(change, nDone, bForward, strChain);
        throw CStoreException(strChain);
    }
    Commit(change, bForward);
    SyncTree(change, bForward);
    if (bForward)
        Select(change);
    else if (change.m_selectedBefore)
        SelectAgain(*change.m_selectedBefore);
}

// --- the commands ------------------------------------------------------------------

std::optional<CStoreChange> CLocationStore::NewGroup(const QString& strNameIn)
{
    return Run([&](CBuilder& b, CStoreChange& c) {
        const QString strName = strNameIn.trimmed();
        if (strName.isEmpty() || GroupExists(m_xmlMain, strName)) {
            ReportError(LoadString(strName.isEmpty() ? IDS_GROUP_NAME_EMPTY : IDS_GROUP_EXISTS), MsgIcon::Exclamation);
            return;
        }
        pugi::xml_document tmp;
        tmp.append_child("Group").append_attribute("Name").set_value(strName.toUtf8().constData());
        b.Append(true, m_xmlMain.GetDocumentElement(), Serialize(tmp.document_element()));
        c.m_groups = {strName};
        c.m_select = CStoreChange::Select::Group;
        c.m_strSelectName = strName;
    });
}

std::optional<CStoreChange> CLocationStore::RenameGroup(const QString& strOld, const QString& strNewIn)
{
    return Run([&](CBuilder& b, CStoreChange& c) {
        const QString strNew = strNewIn.trimmed();
        if (strNew == strOld)
            return;
        if (strNew.isEmpty() || GroupExists(m_xmlMain, strNew)) {
            ReportError(LoadString(strNew.isEmpty() ? IDS_GROUP_NAME_EMPTY : IDS_GROUP_EXISTS), MsgIcon::Exclamation);
            return;
        }
        const auto groups = ::Select(m_xmlMain, QStringLiteral("Group[@Name = $n]"), Var(QStringLiteral("n"), strOld));
        if (groups.empty())
            return;
        b.Replace(true, groups.front(), [&](pugi::xml_node g) {
            if (!g.attribute("Name").set_value(strNew.toUtf8().constData()))
                throw CXMLException(IDS_XML_SET_ATTRIBUTE_VALUE);
        });
        c.m_groups = {strOld, strNew};
        c.m_groupRenames = {{strOld, strNew}};
        c.m_select = CStoreChange::Select::Group;
        c.m_strSelectName = strNew;
    });
}

std::optional<CStoreChange> CLocationStore::NewLocation(const CLocationFields& fieldsIn, const QString& strGroup)
{
    return Run([&](CBuilder& b, CStoreChange& c) {
        CLocationFields fields = fieldsIn;
        fields.m_strID = fields.m_strID.trimmed();
        if (fields.m_strID.isEmpty() || LocationExists(m_xmlMain, fields.m_strID)) {
            ReportError(LoadString(fields.m_strID.isEmpty() ? IDS_ID_EMPTY : IDS_ID_EXISTS), MsgIcon::Exclamation);
            return;
        }
        pugi::xml_node parent = m_xmlMain.GetDocumentElement();
        if (!strGroup.isEmpty()) {
            const auto groups = ::Select(m_xmlMain, QStringLiteral("Group[@Name = $n]"), Var(QStringLiteral("n"), strGroup));
            if (!groups.empty())
                parent = groups.front();
        }
        pugi::xml_document tmp;
        WriteLocation(tmp.append_child("Main"), fields);
        b.Append(true, parent, Serialize(tmp.document_element()));
        c.m_locations = {fields.m_strID};
        c.m_resultIds = {fields.m_strID};
        c.m_select = CStoreChange::Select::Location;
        c.m_strSelectName = fields.m_strID;
    });
}

std::optional<CStoreChange> CLocationStore::EditLocation(const QString& strOldId, const CLocationFields& fieldsIn,
                                                         const QString& strGroup)
{
    return Run([&](CBuilder& b, CStoreChange& c) {
        CLocationFields fields = fieldsIn;
        fields.m_strID = fields.m_strID.trimmed();
        const QString& strNewId = fields.m_strID;
        if (strNewId.isEmpty() || (strNewId != strOldId && LocationExists(m_xmlMain, strNewId))) {
            ReportError(LoadString(strNewId.isEmpty() ? IDS_ID_EMPTY : IDS_ID_EXISTS), MsgIcon::Exclamation);
            return;
        }
        pugi::xml_node el = m_xmlMain.FindLocationElement(strOldId);
        if (!el)
            return;
        const QString strOldGroup = GetGroupOfLocation(m_xmlMain, strOldId);
        el = b.Replace(true, el, [&](pugi::xml_node m) { WriteLocation(m, fields); });
        if (strGroup != strOldGroup) {
            pugi::xml_node target = m_xmlMain.GetDocumentElement();
            if (!strGroup.isEmpty()) {
                const auto groups = ::Select(m_xmlMain, QStringLiteral("Group[@Name = $n]"), Var(QStringLiteral("n"), strGroup));
                target = groups.empty() ? pugi::xml_node() : groups.front();
            }
            if (target) {
                const QByteArray xml = Serialize(el);
                b.Remove(true, el);
                b.Append(true, target, xml);
            }
        }
        if (strNewId != strOldId) {
            for (pugi::xml_node r : ResultsOfId(m_xmlResult, strOldId))
                b.Replace(false, r, [&](pugi::xml_node n) { SetChildText(n, "ID", strNewId); });
            c.m_locationRenames = {{strOldId, strNewId}};
        }
        c.m_groups = {strOldGroup, strGroup};
        c.m_locations = {strOldId, strNewId};
        c.m_resultIds = {strOldId, strNewId};
        c.m_select = CStoreChange::Select::Location;
        c.m_strSelectName = strNewId;
    });
}

std::optional<CStoreChange> CLocationStore::DeleteLocation(const QString& strId, bool bDeleteResults)
{
    return Run([&](CBuilder& b, CStoreChange& c) {
        const pugi::xml_node found = m_xmlMain.FindLocationElement(strId);
        if (!found)
            return;
        b.Remove(true, found);
        if (bDeleteResults)
            for (pugi::xml_node r : ResultsOfId(m_xmlResult, strId))
                b.Remove(false, r);
        c.m_locations = {strId};
        c.m_resultIds = {strId};
    });
}

std::optional<CStoreChange> CLocationStore::DeleteGroup(const QString& strName, bool bWithLocations,
                                                        bool bDeleteResults)
{
    return Run([&](CBuilder& b, CStoreChange& c) {
        const auto groups = ::Select(m_xmlMain, QStringLiteral("Group[@Name = $n]"), Var(QStringLiteral("n"), strName));
        if (groups.empty())
            return;
        const pugi::xml_node group = groups.front();
        std::vector<pugi::xml_node> mains;
        for (pugi::xml_node m = group.child("Main"); m; m = m.next_sibling("Main"))
            mains.push_back(m);
        for (pugi::xml_node m : mains) {
            const QString strId = ChildText(m.child("General"), "ID");
            c.m_locations.append(strId);
            c.m_resultIds.append(strId);
            if (bWithLocations) {
                b.Remove(true, m);
                if (bDeleteResults)
                    for (pugi::xml_node r : ResultsOfId(m_xmlResult, strId))
                        b.Remove(false, r);
            } else {
                const QByteArray xml = Serialize(m);
                b.Remove(true, m);
                b.Append(true, m_xmlMain.GetDocumentElement(), xml);
            }
        }
        b.Remove(true, group);
        c.m_groups = {strName};
    });
}

namespace {

// Which results a tree item stands for.
struct ResultFilter
{
    QString m_strId;
    std::optional<ResultKind> m_kind;
    bool m_bDateTime = false;
    QString m_strDate, m_strTime;
    std::optional<QString> m_placeNo;

    explicit ResultFilter(const QString& strId, std::optional<ResultKind> kind = std::nullopt)
        : m_strId(strId), m_kind(kind)
    {
    }
    ResultFilter(const QString& strId, ResultKind kind, const QString& strDate, const QString& strTime)
        : m_strId(strId), m_kind(kind), m_bDateTime(true), m_strDate(strDate), m_strTime(strTime)
    {
    }

    bool Matches(pugi::xml_node r) const
    {
        if (m_kind && KindOfFunction(ChildText(r, "Function")) != m_kind)
            return false;
        if (m_bDateTime && (ChildText(r, "Date") != m_strDate || ChildText(r, "Time") != m_strTime))
            return false;
        return !m_placeNo || ChildText(r, "Place-No") == *m_placeNo;
    }
};

std::vector<ResultFilter> FiltersOf(const CLocationTreeItem* pItem, bool bAllKinds)
{
    std::vector<ResultFilter> filters;
    const TreeItemData& d = pItem->GetData();
    const ResultKind kind = d.m_nKind;
    if (kind == ResultKind::Group || kind == ResultKind::Unassigned) {
        for (int i = 0; i < pItem->GetChildCount(); ++i)
            if (pItem->GetChild(i)->GetData().m_nKind == ResultKind::Location)
                filters.emplace_back(pItem->GetChild(i)->GetData().m_strName);
    } else if (kind == ResultKind::Location) {
        filters.emplace_back(d.m_strName);
    } else if (d.m_bIsContainer) {
        if (pItem->GetParent())
            filters.emplace_back(pItem->GetParent()->GetData().m_strName, kind);
    } else if (kind != ResultKind::Sample) {
        ResultFilter f(d.m_strName, kind, d.m_strDate, d.m_strTime);
        if (bAllKinds)
            f.m_kind.reset();
        // A place-number item hangs below its result item.
        const CLocationTreeItem* pParent = pItem->GetParent();
        if (pParent && !pParent->GetData().m_bIsContainer)
            f.m_placeNo = d.m_strPlaceNo;
        filters.push_back(f);
    }
    return filters;
}

} // namespace

std::optional<CStoreChange> CLocationStore::DeleteResults(const CLocationTreeItem* pItem)
{
    if (!pItem)
        return std::nullopt;
    const std::vector<ResultFilter> filters = FiltersOf(pItem, false);
    return Run([&](CBuilder& b, CStoreChange& c) {
        for (const ResultFilter& f : filters) {
            for (pugi::xml_node r : ResultsOfId(m_xmlResult, f.m_strId))
                if (f.Matches(r))
                    b.Remove(false, r);
            c.m_resultIds.append(f.m_strId);
        }
    });
}

std::optional<CStoreChange> CLocationStore::AssignResults(const CLocationTreeItem* pItem, const QString& strNewId)
{
    if (!pItem)
        return std::nullopt;
    const TreeItemData d = pItem->GetData();
    const bool bLocation = d.m_nKind == ResultKind::Location;
    if ((!bLocation && d.m_bIsContainer) || d.m_strName == strNewId)
        return std::nullopt;
    const std::vector<ResultFilter> filters = FiltersOf(pItem, true);
    return Run([&](CBuilder& b, CStoreChange& c) {
        for (const ResultFilter& f : filters)
            for (pugi::xml_node r : ResultsOfId(m_xmlResult, f.m_strId))
                if (f.Matches(r))
                    b.Replace(false, r, [&](pugi::xml_node n) { SetChildText(n, "ID", strNewId); });
        c.m_resultIds = {d.m_strName, strNewId};
        if (!bLocation) {
            c.m_select = CStoreChange::Select::Result;
            c.m_strSelectDate = d.m_strDate;
            c.m_strSelectTime = d.m_strTime;
        } else {
            c.m_select = d.m_bIsUnassigned ? CStoreChange::Select::Location : CStoreChange::Select::None;
        }
        c.m_strSelectName = strNewId;
    });
}

namespace {

// The result a result item or place-number item shows, found as the view
// finds it.
pugi::xml_node FindResultOf(CXMLDocument& xmlResult, const TreeItemData& d)
{
    return xmlResult.FindResultElement(
        CResultIdentity::Of(d.m_nKind, d.m_strName, d.m_strDate, d.m_strTime, d.m_strPlaceNo));
}

} // namespace

std::optional<QPair<QString, QString>> CLocationStore::GetRemarkAddress(const CLocationTreeItem* pItem)
{
    if (!pItem || !m_xmlResult.IsValid())
        return std::nullopt;
    const pugi::xml_node r = FindResultOf(m_xmlResult, pItem->GetData());
    if (!r)
        return std::nullopt;
    // The edit control breaks lines with CR LF.
    QString strRemark = ChildText(r, "Remark");
    strRemark.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\n', QStringLiteral("\r\n"));
    return QPair<QString, QString>{strRemark, ChildText(r, "PX900Adr")};
}

std::optional<CStoreChange> CLocationStore::SetRemarkAddress(const CLocationTreeItem* pItem, const QString& strRemark,
                                                             const QString& strAddress)
{
    if (!pItem)
        return std::nullopt;
    const TreeItemData d = pItem->GetData();
    return Run([&](CBuilder& b, CStoreChange&) {
        const pugi::xml_node r = FindResultOf(m_xmlResult, d);
        if (r)
            b.Replace(false, r, [&](pugi::xml_node n) {
                SetChildText(n, "Remark", strRemark);
                SetChildText(n, "PX900Adr", strAddress);
            });
    });
}

// --- the tree follows -----------------------------------------------------------------

void CLocationStore::SyncTree(const CStoreChange& change, bool bForward)
{
    QElapsedTimer timer;
    timer.start();
    const auto done = qScopeGuard([&] { m_nLastPatchNs = timer.nsecsElapsed(); });
    auto renames = [bForward](const QList<QPair<QString, QString>>& list) {
        QList<QPair<QString, QString>> out;
        for (const auto& [a, b] : list)
            out.append(bForward ? qMakePair(a, b) : qMakePair(b, a));
        return out;
    };
    const bool bMainValid = m_xmlMain.IsValid();
    auto groupExists = [&](const QString& s) { return bMainValid && !s.isEmpty() && GroupExists(m_xmlMain, s); };

    // Groups first, so that locations find the group they go in.
    for (const auto& [strOld, strNew] : renames(change.m_groupRenames)) {
        CLocationTreeItem* pOld = m_tree.FindGroupItem(strOld);
        if (!pOld || m_tree.FindGroupItem(strNew) || groupExists(strOld) || !groupExists(strNew))
            continue;
        const bool bSelected = m_tree.GetSelectedItem() == pOld;
        TreeItemData d = pOld->GetData();
        d.m_strName = strNew;
        CLocationTreeItem* pCopy = m_tree.InsertItem(nullptr, m_tree.FindInsertPosition(strNew, ResultKind::Group, nullptr),
                                                     strNew, TreeImage::Group, d);
        m_tree.MoveChildren(pOld, pCopy, QString(), false);
        m_tree.DeleteItem(pOld);
        if (bSelected)
            m_tree.SelectItem(pCopy);
    }
    for (const QString& strName : change.m_groups) {
        if (groupExists(strName) && !m_tree.FindGroupItem(strName)) {
            TreeItemData d;
            d.m_strName = strName;
            d.m_nKind = ResultKind::Group;
            d.m_bIsContainer = true;
            m_tree.InsertItem(nullptr, m_tree.FindInsertPosition(strName, ResultKind::Group, nullptr), strName, TreeImage::Group, d);
        }
    }

    QStringList ids;
    for (const auto& [strOld, strNew] : renames(change.m_locationRenames)) {
        SyncLocation(strNew, strOld);
        ids << strOld << strNew;
    }
    for (const QString& strId : change.m_locations)
        SyncLocation(strId, QString());
    ids << change.m_locations << change.m_resultIds;
    ids.removeDuplicates();
    for (const QString& strId : ids)
        SyncResults(strId);

    for (const QString& strName : change.m_groups) {
        if (CLocationTreeItem* pGroup = m_tree.FindGroupItem(strName); pGroup && !groupExists(strName))
            m_tree.DeleteItem(pGroup);
    }
}

void CLocationStore::SyncLocation(const QString& strId, const QString& strRenamedFrom)
{
    const FoundLocation found = m_xmlMain.IsValid() ? FindLocation(m_xmlMain, strId) : FoundLocation();
    CLocationTreeItem* pItem = m_tree.FindLocationItem(strId);
    if (!pItem && !strRenamedFrom.isEmpty() && !FindLocation(m_xmlMain, strRenamedFrom).m_main)
        pItem = m_tree.FindLocationItem(strRenamedFrom);

    if (!found.m_main) {
        if (!pItem)
            return;
        if (!pItem->HasChildren()) {
            m_tree.DeleteItem(pItem);
            return;
        }
        // Its results stay and now belong to no location.
        CLocationTreeItem* pNode = m_tree.GetUnassignedNode();
        TreeItemData d = pItem->GetData();
        d.m_bIsUnassigned = true;
        CLocationTreeItem* pCopy = m_tree.InsertItem(pNode, m_tree.FindInsertPosition(strId, ResultKind::Location, pNode),
                                                     strId, TreeImage::LocationOK, d);
        m_tree.MoveChildren(pItem, pCopy, QString(), true);
        m_tree.DeleteItem(pItem);
        return;
    }

    CLocationTreeItem* pParent = m_tree.FindGroupItem(found.m_strGroup);
    const int nImage = std::strcmp(found.m_main.child("General").child("State").text().get(), "OK") == 0
                           ? TreeImage::LocationOK
                           : TreeImage::Location;

    if (pItem && pItem->GetParent() == pParent && pItem->GetData().m_strName == strId) {
        if (pItem->GetImage() != nImage)
            m_tree.SetItemImage(pItem, nImage);
        return;
    }
    TreeItemData d;
    d.m_strName = strId;
    d.m_nKind = ResultKind::Location;
    d.m_bIsContainer = true;
    CLocationTreeItem* pNew =
        m_tree.InsertItem(pParent, m_tree.FindInsertPosition(strId, ResultKind::Location, pParent), strId, nImage, d);
    CLocationTreeItem* pFrom = pItem ? pItem : m_tree.FindUnassignedLocationItem(strId);
    if (!pFrom)
        return;
    const bool bSelected = m_tree.GetSelectedItem() == pFrom;
    const QString strOldName = pFrom->GetData().m_strName;
    CLocationTreeItem* pOldParent = pFrom->GetParent();
    m_tree.MoveChildren(pFrom, pNew, QString(), false);
    if (strOldName != strId)
        m_tree.RenameResultItems(pNew, strOldName, strId);
    m_tree.DeleteItem(pFrom);
    if (!pItem && pOldParent && !pOldParent->HasChildren())
        m_tree.DeleteItem(pOldParent);
    if (bSelected)
        m_tree.SelectItem(pNew);
}

namespace {

bool SameItem(const CLocationTreeItem* a, const CLocationTreeItem* b)
{
    if (a->GetText() != b->GetText() || a->GetImage() != b->GetImage())
        return false;
    TreeItemData da = a->GetData();
    da.m_bIsUnassigned = b->GetData().m_bIsUnassigned;
    return da == b->GetData();
}

} // namespace

void CLocationStore::SyncResults(const QString& strId)
{
    // What a rebuild would make of this ID's results, made aside.
    CLocationTree want;
    CLocationTreeItem* pHome = m_tree.FindLocationItem(strId);
    const bool bUnassigned = pHome == nullptr;
    if (!bUnassigned) {
        TreeItemData d;
        d.m_strName = strId;
        d.m_nKind = ResultKind::Location;
        d.m_bIsContainer = true;
        want.InsertItem(nullptr, 0, strId, TreeImage::LocationOK, d);
    }
    if (m_xmlResult.IsValid())
        want.AddResultsOfId(m_xmlResult, strId);
    const CLocationTreeItem* pWant = bUnassigned ? want.FindUnassignedLocationItem(strId) : want.FindLocationItem(strId);
    if (bUnassigned)
        pHome = m_tree.FindUnassignedLocationItem(strId);

    if (!pWant || !pWant->HasChildren()) {
        if (!pHome)
            return;
        if (!bUnassigned) {
            m_tree.DeleteSubtree(pHome);
            return;
        }
        CLocationTreeItem* pNode = pHome->GetParent();
        m_tree.DeleteItem(pHome);
        if (pNode && !pNode->HasChildren())
            m_tree.DeleteItem(pNode);
        return;
    }
    if (!pHome) {
        CLocationTreeItem* pNode = m_tree.GetUnassignedNode();
        pHome = m_tree.InsertItem(pNode, m_tree.FindInsertPosition(strId, ResultKind::Location, pNode), pWant->GetText(),
                                  pWant->GetImage(), pWant->GetData());
    }

    // Items that stay are kept (with their expansion); the others are
    // taken out or put in where a rebuild would have them.
    auto copy = [this](auto& self, const CLocationTreeItem* pFrom, CLocationTreeItem* pParent, int nRow) -> void {
        CLocationTreeItem* pNew = m_tree.InsertItem(pParent, nRow, pFrom->GetText(), pFrom->GetImage(), pFrom->GetData());
        for (int i = 0; i < pFrom->GetChildCount(); ++i)
            self(self, pFrom->GetChild(i), pNew, i);
    };
    auto reconcile = [&](auto& self, CLocationTreeItem* pHave, const CLocationTreeItem* pWanted) -> void {
        const int nWant = pWanted->GetChildCount();
        for (int k = 0; k < nWant; ++k) {
            const CLocationTreeItem* w = pWanted->GetChild(k);
            for (;;) {
                CLocationTreeItem* h = pHave->GetChild(k);
                if (h && SameItem(h, w)) {
                    if (!(h->GetData() == w->GetData()))
                        m_tree.SetItemData(h, w->GetData());
                    self(self, h, w);
                    break;
                }
                bool bLater = false;
                for (int j = k + 1; h && j < nWant && !bLater; ++j)
                    bLater = SameItem(h, pWanted->GetChild(j));
                if (h && !bLater) {
                    m_tree.DeleteItem(h);
                    continue;
                }
                copy(copy, w, pHave, k);
                break;
            }
        }
        while (pHave->GetChildCount() > nWant)
            m_tree.DeleteItem(pHave->GetChild(nWant));
    };
    reconcile(reconcile, pHome, pWant);
}

void CLocationStore::SelectAgain(const TreeItemData& d)
{
    for (CLocationTreeItem* p = m_tree.GetFirstItem(); p; p = m_tree.NextItem(p)) {
        if (p->GetData() == d) {
            m_tree.SelectItem(p);
            return;
        }
    }
}

void CLocationStore::Select(const CStoreChange& change)
{
    CLocationTreeItem* pItem = nullptr;
    switch (change.m_select) {
    case CStoreChange::Select::None:
        return;
    case CStoreChange::Select::Group:
        pItem = m_tree.FindGroupItem(change.m_strSelectName);
        break;
    case CStoreChange::Select::Location:
        pItem = m_tree.FindLocationItem(change.m_strSelectName);
        if (!pItem)
            pItem = m_tree.FindUnassignedLocationItem(change.m_strSelectName);
        break;
    case CStoreChange::Select::Result: {
        CLocationTreeItem* pHome = m_tree.FindLocationItem(change.m_strSelectName);
        if (!pHome)
            pHome = m_tree.FindUnassignedLocationItem(change.m_strSelectName);
        auto inside = [pHome](const CLocationTreeItem* p) {
            for (; p; p = p->GetParent())
                if (p == pHome)
                    return true;
            return false;
        };
        for (CLocationTreeItem* p = pHome ? pHome->GetFirstChild() : nullptr; p && !pItem && inside(p);
             p = m_tree.NextItem(p)) {
            const TreeItemData& d = p->GetData();
            if (!d.m_bIsContainer && d.m_strDate == change.m_strSelectDate && d.m_strTime == change.m_strSelectTime)
                pItem = p;
        }
        break;
    }
    }
    if (pItem)
        m_tree.SelectItem(pItem);
}
