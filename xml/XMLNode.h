#pragma once

#include "xml/XMLDocument.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <bitset>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// One attribute of an element.
struct CXMLAttribute
{
    QString m_strName;
    QString m_strValue;
};

// One element's text and its attributes.
class CXMLObject
{
public:
    QString m_strText;
    // False for an entry that only carries attributes of the record element:
    // writing it must not replace the element's children by a text.
    bool m_bHasText = true;
    QList<CXMLAttribute> m_attributes;

    QString GetAttribute(const QString& strName) const;
    void SetAttribute(const QString& strName, const QString& strValue);
};

// The texts of several sibling elements that share one name, in document
// order.
class CXMLArray : public QStringList
{
public:
    using QStringList::QStringList;
};

class CXMLFieldMap;

// What the field map holds under one path.
struct CXMLFieldEntry
{
    enum Kind { Object, Array, NodeList };
    Kind m_kind = Object;
    CXMLObject m_object;
    CXMLArray m_array;
    std::vector<std::shared_ptr<CXMLFieldMap>> m_nodeList;
};

// Path (Tag/Child/Grandchild) to value. Keeps the order in which entries were
// made, so elements created on a store come out in exchange order.
class CXMLFieldMap
{
public:
    CXMLFieldEntry* Find(const QString& strPath);
    const CXMLFieldEntry* Find(const QString& strPath) const;
    // The entry under the path, made when missing.
    CXMLFieldEntry& At(const QString& strPath);
    // Adds a read text: a second text under one path makes an array.
    void AddText(const QString& strPath, const QString& strText, QList<CXMLAttribute>&& attributes);
    const std::vector<std::pair<QString, CXMLFieldEntry>>& Entries() const { return m_entries; }
    void Clear();
    int Size() const { return static_cast<int>(m_entries.size()); }

private:
    std::vector<std::pair<QString, CXMLFieldEntry>> m_entries;
    QHash<QString, int> m_index;
};

class CXMLNode;

// The field-exchange context handed to DoFieldExchange.
class CXMLField
{
public:
    // Clear empties every member a DoFieldExchange names, whatever the
    // record's kind: one list of fields serves loading, storing and emptying.
    enum Direction { Load, Store, Clear };

    CXMLField(Direction direction, const QString& strPrefix, pugi::xml_node element);

    Direction GetDirection() const { return m_direction; }
    bool IsLoading() const { return m_direction == Load; }
    bool IsClearing() const { return m_direction == Clear; }
    const QString& GetPrefix() const { return m_strPrefix; }
    // Built in one buffer that keeps its capacity: a record's load asks for
    // hundreds of paths.
    const QString& PathOf(const QString& strName) const
    {
        m_strPath.resize(0);
        m_strPath += m_strPrefix;
        m_strPath += u'/';
        m_strPath += strName;
        return m_strPath;
    }
    // The loading cursor's field filter, handed on to the entries of node lists.
    const QStringList* GetFieldNames() const { return m_pFieldNames; }
    void SetFieldNames(const QStringList* pFieldNames) { m_pFieldNames = pFieldNames; }
    // The record element's own path: its tag name.
    const QString& GetRecordPath() const { return m_strRecordPath; }
    CXMLFieldMap& GetMap() { return m_map; }
    // The element the current prefix stands for (loading only; may be null).
    pugi::xml_node GetElement() const { return m_element; }

    // Extends the prefix by one element name for the embedded node's fields.
    void Push(const QString& strName);
    void Pop();

private:
    Direction m_direction;
    QString m_strPrefix;
    mutable QString m_strPath;
    const QStringList* m_pFieldNames = nullptr;
    QString m_strRecordPath;
    CXMLFieldMap m_map;
    pugi::xml_node m_element;
    std::vector<std::pair<QString, pugi::xml_node>> m_stack;
};

// A query's values, bound as XPath variables: name (used as $name in the
// query) and text. Values are never pasted into the query text, so any text,
// quotes and brackets included, is matched literally.
using CXMLVars = std::vector<std::pair<QString, QString>>;

// A record cursor over a list of elements chosen by an XPath query (relative
// to the root element or to a parent cursor's element) or by tag name.
// Derived classes bind their members to child elements in DoFieldExchange;
// moving the cursor loads them, Update writes them back.
class CXMLNode
{
public:
    // Throws CXMLException 180 when the document is missing or not loaded.
    CXMLNode(CXMLDocument* pDocument, bool bReadFields = false);
    virtual ~CXMLNode();
    CXMLNode(const CXMLNode&) = delete;
    CXMLNode& operator=(const CXMLNode&) = delete;

    // A non-empty query replaces the stored one (with its values); the
    // parent's current element becomes the context. Runs the query, then
    // MoveFirst.
    void Open(const QString& strQuery = {}, CXMLNode* pParent = nullptr, const CXMLVars& vars = {});
    void Requery();
    bool FindFirst(const QString& strQuery, const CXMLVars& vars = {});
    // Stands on an element found otherwise as the query's first match (on
    // the root element): the list holds that element alone until Requery
    // runs the query.
    bool FindFirstFound(const QString& strQuery, const CXMLVars& vars, pugi::xml_node element);
    void SetFieldNames(const QStringList& fieldNames);

    void MoveFirst();
    void MoveNext();
    void MoveLast();
    void SetAbsolutePosition(int nIndex);
    bool IsEOF() const;
    int GetRecordCount() const;
    int GetPosition() const { return m_nIndex; }

    void AddNew();
    void Edit();
    void Update();
    void Delete();
    void CopyFrom(CXMLNode& source, bool bAsSibling);
    void MoveFrom(CXMLNode& source, bool bAsSibling);

    pugi::xml_node GetParentElement(pugi::xml_node node = {});
    QString GetValue(const QString& strElementName);
    void SetValue(const QString& strElementName, const QString& strText);
    QString GetAttributeValue(const QString& strElementName, const QString& strAttributeName);

    pugi::xml_node GetCurrentElement();
    CXMLDocument* GetDocument() const { return m_pDocument; }
    const QString& GetTagName() const { return m_strTagName; }

    // Loads this node's members from one element, outside any list (the
    // entries of a node list are read this way).
    void LoadFromElement(pugi::xml_node element);
    // Exchanges this node's members into a fresh map, for writing elsewhere.
    std::shared_ptr<CXMLFieldMap> StoreToMap();
    // Empties every member that DoFieldExchange names.
    void ClearFields();

    // Empty every member of the typed class.
    virtual void SetFieldsEmpty() {}
    // Bind each member to its element path, in a fixed order.
    virtual void DoFieldExchange(CXMLField& fx) {}

protected:
    virtual void ReadElement(pugi::xml_node node, CXMLFieldMap& map, const QString& strPrefix);

    QString m_strQuery;
    QString m_strTagName;
    QString m_strContainerName;
    QString m_strNewElementName;
    bool m_bReadFields = false;
    // Children exchanged with XFX_NodeList: read by the exchange itself, not
    // by the walk into the field map.
    QStringList m_nodeListNames;

private:
    void Select();
    void LoadCurrent();
    void Revalidate();
    void Store(pugi::xml_node element, const CXMLFieldMap& map);

    CXMLDocument* m_pDocument = nullptr;
    pugi::xml_node m_current;
    pugi::xml_node m_parentElement;
    std::vector<pugi::xml_node> m_list;
    int m_nCount = 0;
    int m_nIndex = 0;
    QStringList m_fieldNames;
    std::vector<QByteArray> m_fieldNamesUtf8;
    std::bitset<256> m_firstLetters;
    enum class EditMode { None, Adding, Editing };
    EditMode m_nEditMode = EditMode::None;
    CXMLVars m_vars;
    pugi::xml_node m_added;  // the element AddNew made, until Update
    quint64 m_nLoadGeneration = 0;
    quint64 m_nRemoveGeneration = 0;
    // The parent element the query ran under went away (reload, removal).
    bool m_bContextLost = false;
};

// Field exchange: bind a member to its element path.
// Appends the text of an element and of every element below it, in file
// order: the value a query compares with.
void AppendElementText(pugi::xml_node node, std::string& out);

void XFX_Text(CXMLField& fx, const QString& strName, QString& strValue);
void XFX_TextArray(CXMLField& fx, const QString& strName, QStringList& values);
void XFX_Node(CXMLField& fx, const QString& strName, CXMLNode& node);
void XFX_Attribute(CXMLField& fx, const QString& strName, QString& strValue);

// A repeated child element, each one exchanged as one typed node T (a
// CXMLNode constructed on the document).
template <class T>
void XFX_NodeList(CXMLField& fx, const QString& strName, std::vector<std::unique_ptr<T>>& nodes,
                  CXMLDocument* pDocument);

// Implementation detail of XFX_NodeList.
void XFX_NodeListStore(CXMLField& fx, const QString& strName, std::vector<std::shared_ptr<CXMLFieldMap>>&& maps);

template <class T>
void XFX_NodeList(CXMLField& fx, const QString& strName, std::vector<std::unique_ptr<T>>& nodes,
                  CXMLDocument* pDocument)
{
    if (fx.IsClearing()) {
        nodes.clear();
    } else if (fx.IsLoading()) {
        nodes.clear();
        const QByteArray name = strName.toUtf8();
        for (pugi::xml_node child = fx.GetElement().child(name.constData()); child;
             child = child.next_sibling(name.constData())) {
            auto pNode = std::make_unique<T>(pDocument);
            if (fx.GetFieldNames() && !fx.GetFieldNames()->isEmpty())
                pNode->SetFieldNames(*fx.GetFieldNames());
            pNode->LoadFromElement(child);
            nodes.push_back(std::move(pNode));
        }
    } else {
        std::vector<std::shared_ptr<CXMLFieldMap>> maps;
        maps.reserve(nodes.size());
        for (auto& pNode : nodes)
            maps.push_back(pNode->StoreToMap());
        XFX_NodeListStore(fx, strName, std::move(maps));
    }
}
