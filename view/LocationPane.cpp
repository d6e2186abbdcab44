#include "view/LocationPane.h"

#include "resources/StringTable.h"
#include "view/TextPainter.h"
#include "xml/QardaDoc.h"
#include "xml/ResultLookup.h"
#include "xml/XMLNode.h"
#include "xml/XMLNodeMain.h"

#include <QFontMetrics>
#include <QHash>
#include <QPainter>
#include <QSet>

#include <algorithm>
#include <string>

int CLocationSummary::Count(ResultKind nKind) const
{
    for (const auto& count : m_counts)
        if (count.first == nKind)
            return count.second;
    return 0;
}

namespace {

using CSection = CLocationSummary::CSection;

// One row per line of the value; empty values are left out.
void AddRow(CSection& section, const QString& strLabel, const QString& strValue)
{
    QString strRowLabel = strLabel;
    for (const QString& strLine : strValue.split(u'\n')) {
        if (strLine.trimmed().isEmpty())
            continue;
        section.m_rows.append({strRowLabel, strLine.trimmed()});
        strRowLabel.clear();
    }
}

QString JoinNonEmpty(const QStringList& parts)
{
    QStringList kept;
    for (const QString& str : parts)
        if (!str.trimmed().isEmpty())
            kept.append(str.trimmed());
    return kept.join(u' ');
}

CSection AddressSection(unsigned nTitleId, const CXMLNodeAddress& a)
{
    CSection s{LoadString(nTitleId), {}};
    AddRow(s, {}, JoinNonEmpty({a.m_strFirstname, a.m_strName}));
    AddRow(s, {}, a.m_strStreet);
    AddRow(s, {}, JoinNonEmpty({a.m_strPostcode, a.m_strCity}));
    AddRow(s, {}, a.m_strCountry);
    AddRow(s, LoadString(IDS_HDR_NO), a.m_strNo);
    AddRow(s, LoadString(IDS_REMARK_LABEL), a.m_strRemark);
    return s;
}

void AddLocationData(CLocationSummary& summary, CXMLNodeMain& main)
{
    QList<CSection> sections;
    sections.append(AddressSection(IDS_HDR_CUSTOMER, main.m_Customer));
    sections.append(AddressSection(IDS_HDR_SITE, main.m_Location));
    CSection net{LoadString(IDS_PANE_NETWORK), {}};
    AddRow(net, LoadString(IDS_HDR_OPERATOR), main.m_Net.m_strOperator);
    AddRow(net, LoadString(IDS_HDR_SUPPLIER), main.m_Net.m_strSupplier);
    AddRow(net, LoadString(IDS_REMARK_LABEL), main.m_Net.m_strRemark);
    sections.append(net);
    CSection meter{LoadString(IDS_PANE_METER), {}};
    AddRow(meter, LoadString(IDS_HDR_MANUFACTURER), main.m_Meter.m_strManufacturer);
    AddRow(meter, LoadString(IDS_HDR_MANUF_NO), main.m_Meter.m_strManufNo);
    AddRow(meter, LoadString(IDS_HDR_CUSTOM_NO), main.m_Meter.m_strCustomNo);
    AddRow(meter, LoadString(IDS_REMARK_LABEL), main.m_Meter.m_strRemark);
    sections.append(meter);
    CSection remark{LoadString(IDS_REMARK_LABEL), {}};
    AddRow(remark, {}, main.m_General.m_strRemark);
    sections.append(remark);
    for (const CSection& s : sections)
        if (!s.m_rows.isEmpty())
            summary.m_sections.append(s);
}

}  // namespace

CLocationSummary ReadLocationSummary(CQardaDoc* pDoc, ResultKind nKind, const QString& strName,
                                     const std::vector<pugi::xml_node>* pResults)
{
    CLocationSummary summary;
    const bool bGroup = nKind == ResultKind::Group;
    summary.m_strTitle = LoadString(bGroup ? IDS_PANE_GROUP : IDS_PANE_LOCATION).arg(strName);
    QList<QString> ids;
    if (!bGroup)
        ids.append(strName);
    if (pDoc && pDoc->m_xmlMain.IsValid()) {
        if (bGroup) {
            CXMLNode locations(&pDoc->m_xmlMain);
            locations.Open(QStringLiteral("Group[@Name = $n]/Main"), nullptr, {{QStringLiteral("n"), strName}});
            for (; !locations.IsEOF(); locations.MoveNext())
                ids.append(locations.GetValue(QStringLiteral("ID")));
            summary.m_nLocations = static_cast<int>(ids.size());
        } else {
            CXMLNodeMain main(&pDoc->m_xmlMain);
            if (FindLocation(main, strName))
                AddLocationData(summary, main);
        }
    }
    if (!pDoc || !pDoc->m_xmlResult.IsValid() || ids.isEmpty())
        return summary;

    QHash<int, int> counts;
    std::string strId, strFunction;
    // A result's kind as the index files it: the whole text of its first
    // "Function" child.
    auto count = [&](pugi::xml_node r) {
        strFunction.clear();
        AppendElementText(r.child("Function"), strFunction);
        if (const auto kind = KindOfFunction(QString::fromStdString(strFunction))) {
            ++counts[ToInt(*kind)];
            ++summary.m_nTotal;
        }
    };
    if (pResults) {
        for (pugi::xml_node r : *pResults)
            count(r);
    } else {
        // One walk over the results, whatever the number of locations,
        // reading a result's ID as the index files it: the whole text of its
        // first "ID" child. (A cursor's search of all descendants made this
        // walk most of a large file's start-up.)
        QSet<QByteArray> wanted;
        for (const QString& strWanted : ids)
            wanted.insert(strWanted.toUtf8());
        for (pugi::xml_node r = pDoc->m_xmlResult.GetDocumentElement().child("Result"); r;
             r = r.next_sibling("Result")) {
            strId.clear();
            AppendElementText(r.child("ID"), strId);
            if (wanted.contains(QByteArray::fromRawData(strId.data(), static_cast<qsizetype>(strId.size()))))
                count(r);
        }
    }
    QList<int> kinds = counts.keys();
    std::sort(kinds.begin(), kinds.end());
    for (int n : kinds)
        summary.m_counts.append({ResultKindFromInt(n).value(), counts.value(n)});
    return summary;
}

QSize DrawLocationPane(QPainter* pPainter, const QRect& rect, const CLocationSummary& summary, int nFontHeight)
{
    const QFont plain = MakeFont(FaceArial(), nFontHeight, false);
    const QFont bold = MakeFont(FaceArial(), nFontHeight, true);
    const QFont title = MakeFont(FaceArial(), nFontHeight * 3 / 2, true);
    const QFontMetrics fmPlain(plain, pPainter->device());
    const QFontMetrics fmBold(bold, pPainter->device());
    const QFontMetrics fmTitle(title, pPainter->device());
    const int nLine = qMax(fmPlain.lineSpacing(), fmBold.lineSpacing());
    const int nMargin = nFontHeight;
    const int nIndent = nFontHeight;

    // The results as one more section, counts right-aligned in their column.
    QList<CSection> sections = summary.m_sections;
    CSection results{LoadString(IDS_PANE_RESULTS), {}};
    if (summary.m_nLocations >= 0)
        results.m_rows.append({LoadString(IDS_PANE_LOCATION_COUNT), QString::number(summary.m_nLocations)});
    for (const auto& count : summary.m_counts)
        results.m_rows.append({KindTitle(count.first), QString::number(count.second)});
    results.m_rows.append({LoadString(IDS_PANE_TOTAL), QString::number(summary.m_nTotal)});
    sections.append(results);

    int nLabelWidth = 0;
    for (const CSection& s : sections)
        for (const auto& row : s.m_rows)
            nLabelWidth = qMax(nLabelWidth, fmPlain.horizontalAdvance(row.first));
    const int xLabel = rect.left() + nMargin + nIndent;
    const int xValue = xLabel + (nLabelWidth > 0 ? nLabelWidth + nFontHeight : 0);

    pPainter->save();
    pPainter->setPen(Qt::black);
    int y = rect.top() + nMargin;
    int nRight = rect.left() + nMargin + fmTitle.horizontalAdvance(summary.m_strTitle);
    pPainter->setFont(title);
    pPainter->drawText(QPoint(rect.left() + nMargin, y + fmTitle.ascent()), summary.m_strTitle);
    y += fmTitle.lineSpacing() + nLine / 2;
    for (const CSection& s : sections) {
        pPainter->setFont(bold);
        pPainter->drawText(QPoint(rect.left() + nMargin, y + fmBold.ascent()), s.m_strTitle);
        nRight = qMax(nRight, rect.left() + nMargin + fmBold.horizontalAdvance(s.m_strTitle));
        y += nLine;
        pPainter->setFont(plain);
        const bool bCounts = &s == &sections.constLast();
        int nValueWidth = 0;
        for (const auto& row : s.m_rows)
            nValueWidth = qMax(nValueWidth, fmPlain.horizontalAdvance(row.second));
        bool bAfterLabel = false;
        for (const auto& row : s.m_rows) {
            const int nBaseline = y + fmPlain.ascent();
            if (!row.first.isEmpty())
                pPainter->drawText(QPoint(xLabel, nBaseline), row.first);
            bAfterLabel = bAfterLabel || !row.first.isEmpty();
            const int nWidth = fmPlain.horizontalAdvance(row.second);
            const int x = bCounts ? xValue + nValueWidth - nWidth : (bAfterLabel ? xValue : xLabel);
            pPainter->drawText(QPoint(x, nBaseline), row.second);
            nRight = qMax(nRight, x + nWidth);
            y += nLine;
        }
        y += nLine / 2;
    }
    pPainter->restore();
    return QSize(nRight + nMargin - rect.left(), y + nMargin - rect.top());
}
