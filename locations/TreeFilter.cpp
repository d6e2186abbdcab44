#include "locations/TreeFilter.h"

#include "locations/LocationTree.h"
#include "xml/XMLDocument.h"

QString CTreeFilter::Fold(const QString& strText)
{
    QString str = strText;
    // A decomposed umlaut (u + combining diaeresis) spells the same word.
    if (str.contains(QChar(0x0308)))
        str = str.normalized(QString::NormalizationForm_C);
    str = str.toLower();
    QString out;
    out.reserve(str.size() + 8);
    for (const QChar c : std::as_const(str)) {
        switch (c.unicode()) {
        case 0x00DF:  // ß
        case 0x1E9E:  // capital ß, when toLower left it
            out += QLatin1String("ss");
            break;
        case 0x00E4:
            out += QLatin1String("ae");
            break;
        case 0x00F6:
            out += QLatin1String("oe");
            break;
        case 0x00FC:
            out += QLatin1String("ue");
            break;
        default:
            out += c;
            break;
        }
    }
    return out;
}

void CTreeFilter::SetText(const QString& strText)
{
    m_strText = strText;
    m_strFolded = Fold(strText.trimmed());
}

void CTreeFilter::IndexLocations(CXMLDocument& xmlMain)
{
    m_haystacks.clear();
    if (!xmlMain.IsValid())
        return;
    // Straight from the elements: the typed cursor reads every field of a
    // location, which makes the first keystroke slow on large files.
    static const char* const kFields[][2] = {
        {"Customer", "Firstname"}, {"Customer", "Name"},  {"Customer", "Street"},      {"Customer", "City"},
        {"Location", "Firstname"}, {"Location", "Name"},  {"Location", "Street"},      {"Location", "City"},
        {"Net", "Operator"},       {"Meter", "Manufacturer"}, {"Meter", "Manuf-No"}, {"Meter", "Custom-No"}};
    auto add = [&](pugi::xml_node element) {
        const QString strId = QString::fromUtf8(element.child("General").child("ID").text().get());
        QString str = strId;
        for (const auto& f : kFields) {
            str += QLatin1Char('\n');
            str += QString::fromUtf8(element.child(f[0]).child(f[1]).text().get());
        }
        m_haystacks.insert(strId, Fold(str));
    };
    // Locations are children of the root or of a group, never deeper.
    for (pugi::xml_node n : xmlMain.GetDocumentElement().children()) {
        if (!strcmp(n.name(), "Main"))
            add(n);
        else if (!strcmp(n.name(), "Group"))
            for (pugi::xml_node m = n.child("Main"); m; m = m.next_sibling("Main"))
                add(m);
    }
}

bool CTreeFilter::LocationMatches(const QString& strId) const
{
    const auto it = m_haystacks.constFind(strId);
    return Contains(it != m_haystacks.constEnd() ? *it : Fold(strId));
}

bool CTreeFilter::Accepts(const CLocationTreeItem* pItem) const
{
    if (!IsActive() || !pItem)
        return true;
    const TreeItemData& d = pItem->GetData();
    switch (d.m_nKind) {
    case ResultKind::Group:
        if (Contains(Fold(d.m_strName)))
            return true;
        for (int i = 0; i < pItem->GetChildCount(); ++i)
            if (LocationMatches(pItem->GetChild(i)->GetData().m_strName))
                return true;
        return false;
    case ResultKind::Location: {
        if (d.m_bIsUnassigned)
            return Contains(Fold(d.m_strName));
        const CLocationTreeItem* pParent = pItem->GetParent();
        if (pParent && pParent->GetData().m_nKind == ResultKind::Group && Contains(Fold(pParent->GetData().m_strName)))
            return true;
        return LocationMatches(d.m_strName);
    }
    case ResultKind::Unassigned:
        for (int i = 0; i < pItem->GetChildCount(); ++i)
            if (Contains(Fold(pItem->GetChild(i)->GetData().m_strName)))
                return true;
        return false;
    default:
        // Folders and results go with their location.
        return true;
    }
}
