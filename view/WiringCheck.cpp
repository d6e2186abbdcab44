#include "view/WiringCheck.h"

#include "core/Number.h"
#include "resources/StringTable.h"
#include "view/ActualValues.h"
#include "view/DrawTools.h"
#include "view/ResultCache.h"
#include "view/TextPainter.h"
#include "view/Units.h"

#include <QFontMetrics>
#include <QPainter>

#include <cmath>

namespace {

// A stored value in the base unit; false when the result holds none.
bool ReadValue(const QString& strValue, const QString& strBaseUnit, double& d)
{
    const QString strNumber = ValuePart(strValue).trimmed();
    if (strNumber.isEmpty() || strNumber.startsWith(QLatin1String("---")))
        return false;
    d = ConvertUnit(ParseNumber(strNumber), UnitOnly(strValue), strBaseUnit);
    return std::isfinite(d);
}

QString Shown(const QString& strValue)
{
    return ValueWithUnit(strValue);
}

// "U1 = 230.0 V, U3 = 229.5 V": the other phases that have a value.
QString Others(const char* pszSymbol, const QString texts[3], const bool bHave[3], int nExcept)
{
    QStringList parts;
    for (int p = 0; p < 3; ++p)
        if (p != nExcept && bHave[p])
            parts << QStringLiteral("%1%2 = %3").arg(QLatin1String(pszSymbol)).arg(p + 1).arg(texts[p]);
    return parts.join(QStringLiteral(", "));
}

void CheckMissing(QList<CWiringHint>& hints, CWiringHint::Rule nRule, const char* pszSymbol, const double d[3],
                  const bool bHave[3], const QString texts[3], double dRange, const QString& strRange)
{
    if (!(dRange > 0))
        return;
    const double dLimit = kWiringMissingShare * dRange;
    for (int k = 0; k < 3; ++k) {
        if (!bHave[k] || std::fabs(d[k]) >= dLimit)
            continue;
        bool bOthers = false, bOthersLow = false;
        for (int p = 0; p < 3; ++p) {
            if (p == k || !bHave[p])
                continue;
            bOthers = true;
            bOthersLow = bOthersLow || std::fabs(d[p]) < dLimit;
        }
        if (!bOthers || bOthersLow)
            continue;
        const unsigned nId = nRule == CWiringHint::MissingVoltage ? IDS_WIRING_MISSING_U : IDS_WIRING_MISSING_I;
        hints.append(
            {nRule, k, LoadString(nId).arg(k + 1).arg(texts[k], strRange, Others(pszSymbol, texts, bHave, k))});
    }
}

}  // namespace

CWiringInput WiringInputOf(const CResultCache& cache)
{
    CWiringInput in;
    const QString strV = QStringLiteral("V"), strA = QStringLiteral("A"), strW = QStringLiteral("W");
    bool bUPP[3];
    double dUPP[3] = {0, 0, 0};
    for (int p = 0; p < 3; ++p) {
        const QString& u = cache.m_strValues[kQtyUPN][p];
        const QString& i = cache.m_strValues[kQtyI][p];
        const QString& w = cache.m_strValues[kQtyP][p];
        in.m_bU[p] = ReadValue(u, strV, in.m_dU[p]);
        in.m_bI[p] = ReadValue(i, strA, in.m_dI[p]);
        in.m_bP[p] = ReadValue(w, strW, in.m_dP[p]);
        in.m_strU[p] = Shown(u);
        in.m_strI[p] = Shown(i);
        in.m_strP[p] = Shown(w);
        bUPP[p] = ReadValue(cache.m_strValues[kQtyUPP][p], strV, dUPP[p]);
    }
    const bool bUPN = in.m_bU[0] && in.m_bU[1] && in.m_bU[2];
    in.m_bBalance = bUPN || (bUPP[0] && bUPP[1] && bUPP[2]);
    for (int p = 0; p < 3; ++p) {
        in.m_dUBalance[p] = bUPN ? in.m_dU[p] : dUPP[p];
        in.m_strUBalance[p] = Shown(cache.m_strValues[bUPN ? kQtyUPN : kQtyUPP][p]);
    }
    // The ranges in the units of the values, primary when the values are.
    double rgU = 0, rgI = 0;
    GetRanges(cache, rgU, rgI);
    in.m_dURange = ConvertUnit(rgU, UnitOnly(cache.m_strURange), strV);
    in.m_dIRange = ConvertUnit(rgI, UnitOnly(cache.m_strIRange), strA);
    in.m_strURange = FormatNumberC("%g", in.m_dURange) + QStringLiteral(" V");
    in.m_strIRange = FormatNumberC("%g", in.m_dIRange) + QStringLiteral(" A");
    return in;
}

QList<CWiringHint> CheckWiring(const CWiringInput& in)
{
    QList<CWiringHint> hints;
    const double dILimit = kWiringMissingShare * in.m_dIRange;
    for (int k = 0; k < 3; ++k) {
        if (!in.m_bP[k] || !(in.m_dP[k] < 0))
            continue;
        // The sign of a phase without current is noise.
        if (in.m_bI[k] && in.m_dIRange > 0 && std::fabs(in.m_dI[k]) < dILimit)
            continue;
        bool bOthers = false, bAllPositive = true;
        for (int p = 0; p < 3; ++p) {
            if (p == k || !in.m_bP[p])
                continue;
            bOthers = true;
            bAllPositive = bAllPositive && in.m_dP[p] > 0;
        }
        if (bOthers && bAllPositive)
            hints.append(
                {CWiringHint::ReversedCurrent, k,
                 LoadString(IDS_WIRING_REVERSED).arg(k + 1).arg(in.m_strP[k], Others("P", in.m_strP, in.m_bP, k))});
    }
    CheckMissing(hints, CWiringHint::MissingVoltage, "U", in.m_dU, in.m_bU, in.m_strU, in.m_dURange, in.m_strURange);
    CheckMissing(hints, CWiringHint::MissingCurrent, "I", in.m_dI, in.m_bI, in.m_strI, in.m_dIRange, in.m_strIRange);

    if (in.m_bBalance) {
        const double dMean = (in.m_dUBalance[0] + in.m_dUBalance[1] + in.m_dUBalance[2]) / 3;
        double dDev = 0;
        for (double u : in.m_dUBalance)
            dDev = std::max(dDev, std::fabs(u - dMean));
        // A missing voltage is its own hint; the unbalance then says nothing new.
        bool bMissing = false;
        for (const CWiringHint& h : std::as_const(hints))
            bMissing = bMissing || h.m_nRule == CWiringHint::MissingVoltage;
        if (dMean > 0 && dDev / dMean > kWiringUnbalanceShare && !bMissing)
            hints.append({CWiringHint::VoltageUnbalance, -1,
                          LoadString(IDS_WIRING_UNBALANCE)
                              .arg(FormatNumberC("%.1f", 100 * dDev / dMean), in.m_strUBalance[0], in.m_strUBalance[1],
                                   in.m_strUBalance[2], FormatNumberC("%.2f", dMean) + QStringLiteral(" V"))});
    }
    if (hints.isEmpty())
        hints.append({CWiringHint::Passed, -1, LoadString(IDS_WIRING_PASSED)});
    return hints;
}

int DrawWiringHints(QPainter* pPainter, const QRect& rect, const QList<CWiringHint>& hints, const CTextPainter& tp,
                    int nFontHeight)
{
    const int nLines = static_cast<int>(hints.size()) + 1;
    int nHeight = nFontHeight > 0 ? nFontHeight : qMax(tp.m_nMinHeight, rect.height() / (nLines + 1));
    pPainter->save();
    // Long hints shrink until they fit the width.
    for (;;) {
        const QFontMetrics fm(MakeFont(FaceArial(), nHeight, false), pPainter->device());
        int nWidest = fm.horizontalAdvance(LoadString(IDS_WIRING_TITLE));
        for (const CWiringHint& h : hints)
            nWidest = qMax(nWidest, fm.horizontalAdvance(h.m_strText));
        if (nWidest <= rect.width() || nHeight <= tp.m_nMinHeight)
            break;
        --nHeight;
    }
    pPainter->setPen(Qt::black);
    pPainter->setFont(MakeFont(FaceArial(), nHeight, true));
    const QFontMetrics fmBold(pPainter->font(), pPainter->device());
    int y = rect.top();
    pPainter->drawText(QPoint(rect.left(), y + fmBold.ascent()), LoadString(IDS_WIRING_TITLE));
    y += fmBold.height();
    pPainter->setFont(MakeFont(FaceArial(), nHeight, false));
    const QFontMetrics fm(pPainter->font(), pPainter->device());
    for (const CWiringHint& h : hints) {
        pPainter->setPen(h.m_nRule == CWiringHint::Passed ? QColor(0, 110, 0) : QColor(170, 0, 0));
        pPainter->drawText(QPoint(rect.left(), y + fm.ascent()), h.m_strText);
        y += fm.height();
    }
    pPainter->restore();
    return y - rect.top();
}
