#pragma once

#include "../common/TestSupport.h"
#include "locations/LocationTree.h"
#include "locations/TreeFilter.h"

#include <QRandomGenerator>
#include <QString>

// A small pair of data files with everything the commands meet: groups,
// locations in no group, results of unknown IDs, results sharing date and
// time, place numbers, continuous series. Every result carries a serial
// number of its own in "Serial", so that a test can tell results apart.
inline void WriteLocationTestFiles(const QString& strMain, const QString& strResult, quint32 nSeed = 7)
{
    QRandomGenerator rnd(nSeed);
    QByteArray main = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<Main-Data>\r\n";
    auto loc = [&](int i) {
        return "<Main>\r\n<General>\r\n<ID>L" + QByteArray::number(i) + "</ID>\r\n<State>" + (i % 3 ? "OK" : "")
               + "</State>\r\n</General>\r\n<Customer>\r\n<Name>K&amp;" + QByteArray::number(i)
               + "</Name>\r\n</Customer>\r\n</Main>\r\n";
    };
    for (int g = 0; g < 3; ++g) {
        main += "<Group Name=\"G" + QByteArray::number(g) + "\">\r\n";
        for (int i = g * 4; i < g * 4 + 4; ++i)
            main += loc(i);
        main += "</Group>\r\n";
    }
    for (int i = 12; i < 16; ++i)
        main += loc(i);
    main += "</Main-Data>\r\n";

    static const char* const kFunctions[] = {"Value-Measurement", "Vector-Measurement", "Error-Measurement",
                                             "Register-Test", "Continue-Value-Measurement", "Harmonics-Measurement"};
    QByteArray result = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<Result-Data>\r\n";
    for (int n = 0; n < 90; ++n) {
        // L16 to L19 have no location.
        const int nLoc = static_cast<int>(rnd.bounded(20));
        const char* pszFunction = kFunctions[rnd.bounded(6)];
        const QByteArray function(pszFunction);
        result += "<Result>\r\n<ID>L" + QByteArray::number(nLoc) + "</ID>\r\n<Serial>" + QByteArray::number(n)
                  + "</Serial>\r\n<Date>0" + QByteArray::number(1 + rnd.bounded(3)) + ".05.2024</Date>\r\n<Time>10:0"
                  + QByteArray::number(rnd.bounded(3)) + ":00</Time>\r\n<Function>" + function + "</Function>\r\n";
        if ((function == "Error-Measurement" || function == "Register-Test") && rnd.bounded(3))
            result += "<Place-No>" + QByteArray::number(1 + rnd.bounded(3)) + "</Place-No>\r\n";
        if (function == "Continue-Value-Measurement")
            result += "<Time-Interval>15;s</Time-Interval>\r\n<Value-Measurement>\r\n<No>1</No>\r\n</Value-Measurement>\r\n"
                      "<Value-Measurement>\r\n<No>2</No>\r\n</Value-Measurement>\r\n";
        result += "<Remark>r</Remark>\r\n</Result>\r\n";
    }
    result += "</Result-Data>\r\n";
    WriteBytes(strMain, main);
    WriteBytes(strResult, result);
}

// One line per item in pre-order: depth, text, image and the whole record.
inline QStringList DumpTree(const CLocationTree& tree)
{
    QStringList lines;
    for (const CLocationTreeItem* p = tree.GetFirstItem(); p; p = tree.NextItem(p)) {
        int nDepth = 0;
        for (const CLocationTreeItem* q = p->GetParent(); q; q = q->GetParent())
            ++nDepth;
        const TreeItemData& d = p->GetData();
        lines << QStringLiteral("%1%2 [%3] %4 k%5 c%6 u%7 %8 %9 p%10")
                     .arg(QString(nDepth * 2, u' '), p->GetText())
                     .arg(p->GetImage())
                     .arg(d.m_strName)
                     .arg(ToInt(d.m_nKind))
                     .arg(d.m_bIsContainer)
                     .arg(d.m_bIsUnassigned)
                     .arg(d.m_strDate, d.m_strTime, d.m_strPlaceNo);
    }
    return lines;
}

// Labels nested in braces, "A{l1,l2},b", of the items a search keeps.
inline QString FilteredOutline(const CLocationTree& tree, const CTreeFilter& filter, const CLocationTreeItem* pParent = nullptr)
{
    QStringList parts;
    for (int i = 0; i < tree.GetChildCount(pParent); ++i)
        if (const CLocationTreeItem* p = tree.GetChild(pParent, i); filter.Accepts(p))
            parts << p->GetText() + (p->HasChildren() ? u'{' + FilteredOutline(tree, filter, p) + u'}' : QString());
    return parts.join(u',');
}
