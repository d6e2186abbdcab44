#include "locations/TreeFilter.h"

#include "locations/LocationTree.h"
#include "xml/XMLDocument.h"
#include "xml/XMLNodeMain.h"

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
    CXMLNodeMain main(&xmlMain);
    auto add = [&](pugi::xml_node element) {
        main.LoadFromElement(element);
        const CXMLNodeCustomer& c = main.m_Customer;
        const CXMLNodeLocation& s = main.m_Location;
        const QString str = QStringList{main.m_General.m_strID,
                                        c.m_strFirstname,
                                        c.m_strName,
                                        c.m_strStreet,
                                        c.m_strCity,
                                        s.m_strFirstname,
                                        s.m_strName,
                                        s.m_strStreet,
                                        s.m_strCity,
                                        main.m_Net.m_strOperator,
                                        main.m_Meter.m_strManufacturer,
                                        main.m_Meter.m_strManufNo,
                                        main.m_Meter.m_strCustomNo}
                                .join(QLatin1Char('\n'));
        m_haystacks.insert(main.m_General.m_strID, Fold(str));
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
