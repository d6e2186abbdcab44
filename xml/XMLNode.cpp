#include "xml/XMLNode.h"

#include "core/TextCodec.h"
#include "resources/StringTable.h"
#include "xml/XMLException.h"

#include <cstring>

void AppendElementText(pugi::xml_node node, std::string& out)
{
    // An element's own value holds its leading text (the parser keeps it in
    // the element rather than in a text node).
    if (node.type() == pugi::node_element)
        out += node.value();
    for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling()) {
        switch (c.type()) {
        case pugi::node_pcdata:
        case pugi::node_cdata:
            out += c.value();
            break;
        case pugi::node_element:
            AppendElementText(c, out);
            break;
        default:
            break;
        }
    }
}

namespace {

QString FromUtf8(const char* psz)
{
    return QString::fromUtf8(psz, static_cast<qsizetype>(std::strlen(psz)));
}

bool HasElementChildren(pugi::xml_node node)
{
    for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling())
        if (c.type() == pugi::node_element)
            return true;
    return false;
}

// The concatenated text of the element and its descendants.
QString ElementText(pugi::xml_node node)
{
    if (!node.first_child())
        return FromUtf8(node.value());
    std::string text;
    AppendElementText(node, text);
    return QString::fromStdString(text);
}

// Returns true when element children were removed: cursors standing on them
// must then be told.
bool SetElementText(pugi::xml_node node, const QString& strText)
{
    const QByteArray utf8 = XmlSafeText(strText).toUtf8();
    bool bRemoved = false;
    if (utf8.isEmpty()) {
        // No empty text node: the element is written as an empty tag, the
        // same as after a reload.
        for (pugi::xml_node c = node.first_child(); c;) {
            pugi::xml_node next = c.next_sibling();
            if (c.type() == pugi::node_pcdata || c.type() == pugi::node_cdata)
                node.remove_child(c);
            c = next;
        }
        if (node.value()[0])
            node.text().set("");
        return bRemoved;
    }
    if (HasElementChildren(node)) {
        // Setting a text replaces the element's contents, as a DOM would.
        while (node.first_child())
            node.remove_child(node.first_child());
        bRemoved = true;
    }
    if (!node.text().set(utf8.constData()))
        throw CXMLException(IDS_XML_SET_VALUE);
    return bRemoved;
}

// Whether the handle still names a node of the tree under root. Handles are
// only compared, never followed: a stale one points into freed memory.
bool IsInTree(pugi::xml_node root, pugi::xml_node node)
{
    if (!node || !root)
        return false;
    if (node == root)
        return true;
    return static_cast<bool>(root.find_node([&node](pugi::xml_node n) { return n == node; }));
}

QList<CXMLAttribute> Attributes(pugi::xml_node node)
{
    QList<CXMLAttribute> list;
    for (pugi::xml_attribute a = node.first_attribute(); a; a = a.next_attribute())
        list.append({FromUtf8(a.name()), FromUtf8(a.value())});
    return list;
}

// The first element of that name among the node and its descendants, the
// node itself first, then depth first in document order.
pugi::xml_node FindSelfOrDescendant(pugi::xml_node node, const char* pszName)
{
    if (!node)
        return {};
    if (node.type() == pugi::node_element && std::strcmp(node.name(), pszName) == 0)
        return node;
    return node.find_node([pszName](pugi::xml_node n) {
        return n.type() == pugi::node_element && std::strcmp(n.name(), pszName) == 0;
    });
}

pugi::xml_node NthChild(pugi::xml_node parent, const char* pszName, int n, bool bCreate)
{
    int i = 0;
    for (pugi::xml_node c = parent.child(pszName); c; c = c.next_sibling(pszName), ++i)
        if (i == n)
            return c;
    if (!bCreate)
        return {};
    pugi::xml_node c;
    for (; i <= n; ++i) {
        c = parent.append_child(pszName);
        if (!c)
            throw CXMLException(IDS_XML_APPEND_NODE);
    }
    return c;
}

} // namespace

// --- CXMLObject -------------------------------------------------------------

QString CXMLObject::GetAttribute(const QString& strName) const
{
    for (const CXMLAttribute& a : m_attributes)
        if (a.m_strName == strName)
            return a.m_strValue;
    return {};
}

void CXMLObject::SetAttribute(const QString& strName, const QString& strValue)
{
    for (CXMLAttribute& a : m_attributes) {
        if (a.m_strName == strName) {
            a.m_strValue = strValue;
            return;
        }
    }
    m_attributes.append({strName, strValue});
}

// --- CXMLFieldMap -----------------------------------------------------------

CXMLFieldEntry* CXMLFieldMap::Find(const QString& strPath)
{
    const auto it = m_index.constFind(strPath);
    return it == m_index.cend() ? nullptr : &m_entries[static_cast<size_t>(*it)].second;
}

const CXMLFieldEntry* CXMLFieldMap::Find(const QString& strPath) const
{
    const auto it = m_index.constFind(strPath);
    return it == m_index.cend() ? nullptr : &m_entries[static_cast<size_t>(*it)].second;
}

CXMLFieldEntry& CXMLFieldMap::At(const QString& strPath)
{
    if (CXMLFieldEntry* p = Find(strPath))
        return *p;
    m_index.insert(strPath, static_cast<int>(m_entries.size()));
    m_entries.emplace_back(strPath, CXMLFieldEntry());
    return m_entries.back().second;
}

void CXMLFieldMap::AddText(const QString& strPath, const QString& strText, QList<CXMLAttribute>&& attributes)
{
    CXMLFieldEntry* p = Find(strPath);
    if (!p) {
        CXMLFieldEntry& e = At(strPath);
        e.m_object.m_strText = strText;
        e.m_object.m_attributes = std::move(attributes);
        return;
    }
    if (p->m_kind == CXMLFieldEntry::Object) {
        p->m_kind = CXMLFieldEntry::Array;
        p->m_array = CXMLArray{p->m_object.m_strText};
        p->m_object = CXMLObject();
    }
    p->m_array.append(strText);
}

void CXMLFieldMap::Clear()
{
    m_entries.clear();
    m_index.clear();
}

// --- CXMLField --------------------------------------------------------------

CXMLField::CXMLField(Direction direction, const QString& strPrefix, pugi::xml_node element)
    : m_direction(direction)
    , m_strPrefix(strPrefix)
    , m_strRecordPath(strPrefix)
    , m_element(element)
{
}

void CXMLField::Push(const QString& strName)
{
    m_stack.emplace_back(m_strPrefix, m_element);
    m_strPrefix = PathOf(strName);
    if (m_element) {
        const QByteArray name = strName.toUtf8();
        m_element = m_element.child(name.constData());
    }
}

void CXMLField::Pop()
{
    m_strPrefix = m_stack.back().first;
    m_element = m_stack.back().second;
    m_stack.pop_back();
}

// --- exchange functions -----------------------------------------------------

void XFX_Text(CXMLField& fx, const QString& strName, QString& strValue)
{
    if (fx.IsClearing()) {
        strValue.clear();
        return;
    }
    // A field the loading cursor was not asked for is not in the map: no
    // path to build, nothing to look up.
    if (fx.IsLoading() && fx.GetFieldNames() && !fx.GetFieldNames()->isEmpty()
        && !fx.GetFieldNames()->contains(strName)) {
        strValue.clear();
        return;
    }
    const QString& strPath = fx.PathOf(strName);
    if (fx.IsLoading()) {
        const CXMLFieldEntry* p = fx.GetMap().Find(strPath);
        // Twice the same single field is ambiguous: it reads as empty.
        strValue = (p && p->m_kind == CXMLFieldEntry::Object) ? p->m_object.m_strText : QString();
    } else {
        CXMLFieldEntry& e = fx.GetMap().At(strPath);
        e.m_kind = CXMLFieldEntry::Object;
        e.m_object.m_strText = strValue;
        e.m_object.m_bHasText = true;
    }
}

void XFX_TextArray(CXMLField& fx, const QString& strName, QStringList& values)
{
    if (fx.IsClearing()) {
        values.clear();
        return;
    }
    const QString& strPath = fx.PathOf(strName);
    if (fx.IsLoading()) {
        values.clear();
        if (const CXMLFieldEntry* p = fx.GetMap().Find(strPath)) {
            if (p->m_kind == CXMLFieldEntry::Object)
                values.append(p->m_object.m_strText);
            else if (p->m_kind == CXMLFieldEntry::Array)
                values = p->m_array;
        }
    } else {
        CXMLFieldEntry& e = fx.GetMap().At(strPath);
        e.m_kind = CXMLFieldEntry::Array;
        e.m_array = CXMLArray(values.begin(), values.end());
    }
}

void XFX_Node(CXMLField& fx, const QString& strName, CXMLNode& node)
{
    fx.Push(strName);
    node.DoFieldExchange(fx);
    fx.Pop();
}

void XFX_Attribute(CXMLField& fx, const QString& strName, QString& strValue)
{
    if (fx.IsClearing()) {
        strValue.clear();
        return;
    }
    const QString& strPath = fx.GetRecordPath();
    if (fx.IsLoading()) {
        const CXMLFieldEntry* p = fx.GetMap().Find(strPath);
        strValue = (p && p->m_kind == CXMLFieldEntry::Object) ? p->m_object.GetAttribute(strName) : QString();
    } else {
        CXMLFieldEntry* p = fx.GetMap().Find(strPath);
        if (!p) {
            p = &fx.GetMap().At(strPath);
            p->m_object.m_bHasText = false;
        }
        p->m_object.SetAttribute(strName, strValue);
    }
}

void XFX_NodeListStore(CXMLField& fx, const QString& strName, std::vector<std::shared_ptr<CXMLFieldMap>>&& maps)
{
    CXMLFieldEntry& e = fx.GetMap().At(fx.PathOf(strName));
    e.m_kind = CXMLFieldEntry::NodeList;
    e.m_nodeList = std::move(maps);
}

// --- CXMLNode ---------------------------------------------------------------

CXMLNode::CXMLNode(CXMLDocument* pDocument, bool bReadFields)
    : m_bReadFields(bReadFields)
    , m_pDocument(pDocument)
{
    if (!pDocument || !pDocument->IsValid())
        throw CXMLException(IDS_XML_NO_DOCUMENT);
    m_current = pDocument->GetDocumentNode();
    m_nLoadGeneration = pDocument->GetLoadGeneration();
    m_nRemoveGeneration = pDocument->GetRemoveGeneration();
}

CXMLNode::~CXMLNode() = default;

void CXMLNode::Revalidate()
{
    // Element handles die with their elements. After a reload every handle
    // is stale: the cursor forgets them all and is at end of list. A cursor
    // that ran under a parent element has lost that context and selects
    // nothing until it is opened again.
    if (m_pDocument->GetLoadGeneration() != m_nLoadGeneration) {
        m_nLoadGeneration = m_pDocument->GetLoadGeneration();
        m_nRemoveGeneration = m_pDocument->GetRemoveGeneration();
        if (m_parentElement)
            m_bContextLost = true;
        m_current = {};
        m_parentElement = {};
        m_added = {};
        m_list.clear();
        m_nCount = 0;
        m_nEditMode = EditMode::None;
        Select();
        return;
    }
    // After a removal elsewhere the list is selected again. The current
    // element stays current when it still exists; when it went, the cursor is
    // at end of list and a pending Edit or AddNew is dropped, so that Update
    // cannot write this element's fields into another one.
    if (m_pDocument->GetRemoveGeneration() != m_nRemoveGeneration) {
        m_nRemoveGeneration = m_pDocument->GetRemoveGeneration();
        const pugi::xml_node root = m_pDocument->GetDocumentNode();
        if (m_parentElement && !IsInTree(root, m_parentElement)) {
            m_parentElement = {};
            m_bContextLost = true;
        }
        const pugi::xml_node old = m_current;
        Select();
        m_current = {};
        for (int i = 0; old && i < m_nCount; ++i) {
            if (m_list[static_cast<size_t>(i)] == old) {
                m_current = old;
                m_nIndex = i;
                break;
            }
        }
        // The document node, or a new element outside the query.
        if (!m_current && IsInTree(root, old))
            m_current = old;
        if (m_added && !IsInTree(root, m_added))
            m_added = {};
        if (!m_current)
            m_nEditMode = EditMode::None;
    }
}

void CXMLNode::Select()
{
    m_list.clear();
    m_nCount = 0;
    if (!m_pDocument->IsValid() || m_bContextLost)
        return;
    if (m_parentElement && m_parentElement.type() != pugi::node_element)
        throw CXMLException(IDS_XML_NODE_ELEMENT);

    if (!m_strQuery.isEmpty()) {
        pugi::xml_node context = m_parentElement;
        if (!context) {
            context = m_pDocument->GetDocumentElement();
            if (!context)
                throw CXMLException(IDS_XML_DOCUMENT_ELEMENT);
        }
        const QByteArray query = m_strQuery.toUtf8();
        pugi::xpath_variable_set vars;
        for (const auto& [strName, strValue] : m_vars) {
            const QByteArray name = strName.toUtf8();
            const QByteArray value = strValue.toUtf8();
            if (!vars.set(name.constData(), value.constData()))
                throw CXMLException(IDS_XML_SELECT, strName);
        }
        try {
            pugi::xpath_query xq(query.constData(), &vars);
            if (!xq)
                throw CXMLException(IDS_XML_SELECT, m_strQuery + QStringLiteral(": ") + FromUtf8(xq.result().description()));
            if (xq.return_type() != pugi::xpath_type_node_set)
                throw CXMLException(IDS_XML_SELECT, m_strQuery);
            pugi::xpath_node_set set = xq.evaluate_node_set(context);
            set.sort();
            m_list.reserve(set.size());
            for (const pugi::xpath_node& n : set)
                if (n.node() && n.node().type() == pugi::node_element)
                    m_list.push_back(n.node());
        } catch (const pugi::xpath_exception& e) {
            throw CXMLException(IDS_XML_SELECT, m_strQuery + QStringLiteral(": ") + FromUtf8(e.what()));
        }
    } else {
        // By tag name: every element of that name below the parent, or in the
        // whole document, in document order.
        pugi::xml_node root = m_parentElement ? m_parentElement : m_pDocument->GetDocumentNode();
        const QByteArray tag = m_strTagName.toUtf8();
        struct Walker : pugi::xml_tree_walker
        {
            const char* pszTag = nullptr;
            std::vector<pugi::xml_node>* pList = nullptr;
            bool for_each(pugi::xml_node& n) override
            {
                if (n.type() == pugi::node_element && std::strcmp(n.name(), pszTag) == 0)
                    pList->push_back(n);
                return true;
            }
        } walker;
        walker.pszTag = tag.constData();
        walker.pList = &m_list;
        root.traverse(walker);
    }
    m_nCount = static_cast<int>(m_list.size());
}

void CXMLNode::Open(const QString& strQuery, CXMLNode* pParent, const CXMLVars& vars)
{
    Revalidate();
    if (!strQuery.isEmpty()) {
        m_strQuery = strQuery;
        m_vars = vars;
    }
    m_parentElement = pParent ? pParent->GetCurrentElement() : pugi::xml_node();
    m_bContextLost = false;
    Select();
    MoveFirst();
}

void CXMLNode::Requery()
{
    Revalidate();
    Select();
    SetAbsolutePosition(m_nIndex);
}

bool CXMLNode::FindFirst(const QString& strQuery, const CXMLVars& vars)
{
    m_strQuery = strQuery;
    m_vars = vars;
    m_nIndex = 0;
    Requery();
    return !IsEOF();
}

bool CXMLNode::FindFirstFound(const QString& strQuery, const CXMLVars& vars, pugi::xml_node element)
{
    Revalidate();
    m_strQuery = strQuery;
    m_vars = vars;
    m_parentElement = {};
    m_bContextLost = false;
    m_list.clear();
    if (element)
        m_list.push_back(element);
    m_nCount = static_cast<int>(m_list.size());
    SetAbsolutePosition(0);
    return !IsEOF();
}

void CXMLNode::SetFieldNames(const QStringList& fieldNames)
{
    m_fieldNames = fieldNames;
    m_fieldNamesUtf8.clear();
    m_firstLetters.reset();
    for (const QString& s : fieldNames) {
        m_fieldNamesUtf8.push_back(s.toUtf8());
        m_firstLetters.set(static_cast<unsigned char>(m_fieldNamesUtf8.back().constData()[0]));
    }
}

void CXMLNode::MoveFirst()
{
    SetAbsolutePosition(0);
}

void CXMLNode::MoveNext()
{
    Revalidate();
    if (!m_current || m_nIndex < 0 || m_nIndex >= m_nCount)
        return;
    SetAbsolutePosition(m_nIndex + 1);
}

void CXMLNode::MoveLast()
{
    SetAbsolutePosition(m_nCount - 1);
}

void CXMLNode::SetAbsolutePosition(int nIndex)
{
    Revalidate();
    m_current = {};
    m_nIndex = nIndex;
    if (nIndex >= 0 && nIndex < m_nCount) {
        m_current = m_list[static_cast<size_t>(nIndex)];
        LoadCurrent();
    }
}

bool CXMLNode::IsEOF() const
{
    // A reload or a removal elsewhere may have taken the element away; the
    // cursor's own state is brought up to date first.
    const_cast<CXMLNode*>(this)->Revalidate();
    return !m_current;
}

int CXMLNode::GetRecordCount() const
{
    const_cast<CXMLNode*>(this)->Revalidate();
    return m_nCount;
}

pugi::xml_node CXMLNode::GetCurrentElement()
{
    Revalidate();
    return m_current;
}

void CXMLNode::LoadCurrent()
{
    SetFieldsEmpty();
    if (!m_bReadFields)
        return;
    CXMLField fx(CXMLField::Load, m_strTagName, m_current);
    fx.SetFieldNames(&m_fieldNames);
    // The record element itself, for its attributes.
    fx.GetMap().AddText(m_strTagName, QString(), Attributes(m_current));
    ReadElement(m_current, fx.GetMap(), m_strTagName);
    DoFieldExchange(fx);
}

void CXMLNode::LoadFromElement(pugi::xml_node element)
{
    m_current = element;
    m_nIndex = -1;
    LoadCurrent();
}

void CXMLNode::ClearFields()
{
    CXMLField fx(CXMLField::Clear, m_strTagName, {});
    DoFieldExchange(fx);
}

std::shared_ptr<CXMLFieldMap> CXMLNode::StoreToMap()
{
    CXMLField fx(CXMLField::Store, m_strTagName, {});
    DoFieldExchange(fx);
    return std::make_shared<CXMLFieldMap>(std::move(fx.GetMap()));
}

void CXMLNode::ReadElement(pugi::xml_node node, CXMLFieldMap& map, const QString& strPrefix)
{
    for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
        if (child.type() != pugi::node_element)
            continue;
        const char* pszName = child.name();
        bool bWanted = m_fieldNamesUtf8.empty();
        // Most children fail on their first letter.
        if (!bWanted && m_firstLetters.test(static_cast<unsigned char>(pszName[0])))
            for (size_t i = 0; !bWanted && i < m_fieldNamesUtf8.size(); ++i)
                bWanted = std::strcmp(m_fieldNamesUtf8[i].constData(), pszName) == 0;
        const bool bHasChildren = HasElementChildren(child);
        if (!bWanted && !bHasChildren)
            continue;
        const QString strName = FromUtf8(pszName);
        if (bHasChildren && m_nodeListNames.contains(strName))
            continue;
        const QString strPath = strPrefix + u'/' + strName;
        if (bWanted)
            map.AddText(strPath, ElementText(child), child.first_attribute() ? Attributes(child) : QList<CXMLAttribute>());
        if (bHasChildren)
            ReadElement(child, map, strPath);
    }
}

void CXMLNode::Store(pugi::xml_node element, const CXMLFieldMap& map)
{
    for (const auto& [strPath, entry] : map.Entries()) {
        const QList<QByteArray> names = strPath.toUtf8().split('/');
        // The first name is the record element itself. The others are looked
        // up among the direct children and made when missing: a deeper
        // element of the same name is another field's, never this one's.
        pugi::xml_node node = element;
        const qsizetype nLast = names.size() - 1;
        const qsizetype nResolve = entry.m_kind == CXMLFieldEntry::Object ? nLast : nLast - 1;
        for (qsizetype i = 1; i <= nResolve; ++i) {
            pugi::xml_node next = node.child(names[i].constData());
            if (!next) {
                next = node.append_child(names[i].constData());
                if (!next)
                    throw CXMLException(IDS_XML_CREATE_NODE);
            }
            node = next;
        }
        switch (entry.m_kind) {
        case CXMLFieldEntry::Object:
            if (entry.m_object.m_bHasText && SetElementText(node, entry.m_object.m_strText))
                m_pDocument->NoteRemoval();
            for (const CXMLAttribute& a : entry.m_object.m_attributes) {
                const QByteArray name = a.m_strName.toUtf8();
                pugi::xml_attribute attr = node.attribute(name.constData());
                if (!attr)
                    attr = node.append_attribute(name.constData());
                if (!attr)
                    throw CXMLException(IDS_XML_CREATE_ATTRIBUTE);
                if (!attr.set_value(XmlSafeText(a.m_strValue).toUtf8().constData()))
                    throw CXMLException(IDS_XML_SET_ATTRIBUTE_VALUE);
            }
            break;
        case CXMLFieldEntry::Array:
            for (int i = 0; i < entry.m_array.size(); ++i)
                if (SetElementText(NthChild(node, names[nLast].constData(), i, true), entry.m_array.at(i)))
                    m_pDocument->NoteRemoval();
            break;
        case CXMLFieldEntry::NodeList:
            for (size_t i = 0; i < entry.m_nodeList.size(); ++i)
                Store(NthChild(node, names[nLast].constData(), static_cast<int>(i), true), *entry.m_nodeList[i]);
            break;
        }
    }
}

void CXMLNode::AddNew()
{
    Revalidate();
    pugi::xml_node parent = GetParentElement();
    // Nowhere to append (a file of another kind, say) is an error: a caller
    // that counted the record as stored would lose it.
    if (!parent) {
        // A closed or failed document takes nothing and says so elsewhere.
        if (!m_pDocument->IsValid())
            return;
        throw CXMLException(IDS_XML_PARENT, m_pDocument->GetFileName());
    }
    m_current = {};
    const QByteArray name = m_strNewElementName.toUtf8();
    pugi::xml_node element = parent.append_child(name.constData());
    if (!element)
        throw CXMLException(IDS_XML_APPEND_NODE);
    m_added = element;
    m_pDocument->NoteInserted(element);
    Select();
    // The new element is current even when the cursor's query does not
    // select it (yet): the following Update must write into it and nowhere
    // else.
    int nIndex = m_nCount;
    for (int i = m_nCount - 1; i >= 0; --i) {
        if (m_list[static_cast<size_t>(i)] == element) {
            nIndex = i;
            break;
        }
    }
    LoadFromElement(element);
    m_nIndex = nIndex;
    m_nEditMode = EditMode::Adding;
}

void CXMLNode::Edit()
{
    Revalidate();
    if (m_current && m_current.type() == pugi::node_element)
        m_nEditMode = EditMode::Editing;
}

void CXMLNode::Update()
{
    Revalidate();
    if (!m_current || m_nEditMode == EditMode::None)
        return;
    const EditMode nMode = m_nEditMode;
    if (m_bReadFields) {
        CXMLField fx(CXMLField::Store, m_strTagName, {});
        DoFieldExchange(fx);
        Store(m_current, fx.GetMap());
        m_pDocument->NoteChanged(m_current);
    }
    m_nEditMode = EditMode::None;
    pugi::xml_node added = m_added;
    m_added = {};
    m_pDocument->SaveAfterChange();
    if (nMode != EditMode::Editing) {
        Select();
        int nIndex = m_nCount;
        for (int i = m_nCount - 1; i >= 0; --i) {
            if (m_list[static_cast<size_t>(i)] == added) {
                nIndex = i;
                break;
            }
        }
        SetAbsolutePosition(nIndex);
    }
}

void CXMLNode::Delete()
{
    Revalidate();
    if (!m_current || m_current.type() != pugi::node_element)
        return;
    pugi::xml_node parent = m_current.parent();
    if (!parent)
        throw CXMLException(IDS_XML_PARENT);
    // The root element stays: a file without one could never be loaded again.
    if (parent.type() != pugi::node_element)
        throw CXMLException(IDS_XML_REMOVE);
    m_pDocument->NoteRemoving(m_current);
    if (!parent.remove_child(m_current)) {
        m_pDocument->NoteChange();
        throw CXMLException(IDS_XML_REMOVE);
    }
    m_current = {};
    m_pDocument->NoteRemoval();
    // A removed child may have been part of what its parent is found by.
    if (parent != m_pDocument->GetDocumentElement())
        m_pDocument->NoteChanged(parent);
    m_nRemoveGeneration = m_pDocument->GetRemoveGeneration();
    m_pDocument->SaveAfterChange();
    Requery();
}

void CXMLNode::CopyFrom(CXMLNode& source, bool bAsSibling)
{
    Revalidate();
    pugi::xml_node src = source.GetCurrentElement();
    if (!src || src.type() != pugi::node_element)
        throw CXMLException(IDS_XML_CLONE);
    pugi::xml_node target = bAsSibling ? GetParentElement() : m_current;
    if (!target)
        throw CXMLException(IDS_XML_APPEND_NODE);
    const pugi::xml_node copy = target.append_copy(src);
    if (!copy)
        throw CXMLException(IDS_XML_APPEND_NODE);
    m_pDocument->NoteChanged(copy);
    m_pDocument->SaveAfterChange();
    Requery();
    if (bAsSibling)
        MoveLast();
    if (source.m_pDocument == m_pDocument)
        Requery();
}

void CXMLNode::MoveFrom(CXMLNode& source, bool bAsSibling)
{
    // The copy is made and saved here before the original goes, so a failure
    // between the two leaves the element twice rather than nowhere.
    Revalidate();
    pugi::xml_node src = source.GetCurrentElement();
    if (!src || src.type() != pugi::node_element)
        throw CXMLException(IDS_XML_CLONE);
    pugi::xml_node target = bAsSibling ? GetParentElement() : m_current;
    if (!target)
        throw CXMLException(IDS_XML_APPEND_NODE);
    for (pugi::xml_node n = target; n; n = n.parent())
        if (n == src)
            throw CXMLException(IDS_XML_APPEND_NODE);  // into itself
    const pugi::xml_node copy = target.append_copy(src);
    if (!copy)
        throw CXMLException(IDS_XML_APPEND_NODE);
    m_pDocument->NoteChanged(copy);
    if (source.m_pDocument != m_pDocument)
        m_pDocument->SaveAfterChange();
    source.Delete();
    Requery();
    if (bAsSibling)
        MoveLast();
}

pugi::xml_node CXMLNode::GetParentElement(pugi::xml_node node)
{
    Revalidate();
    auto elementParent = [](pugi::xml_node n) {
        pugi::xml_node p = n ? n.parent() : pugi::xml_node();
        return (p && p.type() == pugi::node_element) ? p : pugi::xml_node();
    };
    if (pugi::xml_node p = elementParent(node))
        return p;
    if (pugi::xml_node p = elementParent(m_current))
        return p;
    if (m_nCount > 0) {
        MoveLast();
        if (pugi::xml_node p = elementParent(m_current))
            return p;
    }
    if (m_parentElement)
        return m_parentElement;
    // Opened under an element that is gone: the container would put new
    // elements somewhere the caller did not ask for.
    if (m_bContextLost)
        return {};
    const QByteArray container = m_strContainerName.toUtf8();
    pugi::xml_node found;
    pugi::xml_node rootElement = m_pDocument->GetDocumentElement();
    if (rootElement && container == rootElement.name() && !rootElement.child(container.constData())) {
        // The usual case: the container is the root, and nothing below it
        // shares its name.
        found = rootElement;
    } else if (!container.isEmpty()) {
        pugi::xml_node root = m_pDocument->GetDocumentNode();
        root.find_node([&](pugi::xml_node n) {
            if (n.type() == pugi::node_element && std::strcmp(n.name(), container.constData()) == 0)
                found = n;
            return false;
        });
    }
    if (found)
        Requery();
    return found;
}

QString CXMLNode::GetValue(const QString& strElementName)
{
    Revalidate();
    const QByteArray name = strElementName.toUtf8();
    pugi::xml_node n = FindSelfOrDescendant(m_current, name.constData());
    return n ? ElementText(n) : QString();
}

void CXMLNode::SetValue(const QString& strElementName, const QString& strText)
{
    Revalidate();
    const QByteArray name = strElementName.toUtf8();
    pugi::xml_node n = FindSelfOrDescendant(m_current, name.constData());
    if (!n)
        return;
    const bool bRemoved = SetElementText(n, strText);
    m_pDocument->NoteChanged(n);
    if (bRemoved)
        m_pDocument->NoteRemoval();
}

QString CXMLNode::GetAttributeValue(const QString& strElementName, const QString& strAttributeName)
{
    Revalidate();
    const QByteArray name = strElementName.toUtf8();
    pugi::xml_node n = FindSelfOrDescendant(m_current, name.constData());
    if (!n)
        return {};
    return FromUtf8(n.attribute(strAttributeName.toUtf8().constData()).value());
}
