#include "view/ActualValues.h"

#include "core/Number.h"
#include "core/RegSettings.h"
#include "view/DrawTools.h"
#include "view/ResultCache.h"
#include "view/TextPainter.h"
#include "view/TextTable.h"
#include "view/Units.h"

#include <QFontMetrics>
#include <QPainter>

#include <cmath>

namespace {

constexpr double kDegToRad = 0.017453292516666667;

const char* const g_quantityNames[kQtyCount] = {
    "UPN", "UPP", "UDC", "UD", "I", "IDC", "ID", "PhiU", "PhiI", "PhiUI", "Lambda", "P", "Q", "S",
    "AUXU", "AUXI", "AAUXU", "AAUXI", "G", "B", "Y", "R", "X", "Z", "Sb", "Cos\xc3\x9f", "SN",
    "SP", "SQ", "SS", "F", "PS", "SL", "T",
};

// Angles in the table always carry a point, whatever the locale.
QString FormatAngle(double d)
{
    return FormatNumberC("%.02f", d);
}

// True when the text starts like a number ("---" and "" do not).
bool IsNumberText(const QString& str)
{
    const QString s = str.trimmed();
    qsizetype i = 0;
    if (i < s.size() && (s.at(i) == u'-' || s.at(i) == u'+'))
        ++i;
    if (i < s.size() && s.at(i) == u'.')
        ++i;
    return i < s.size() && s.at(i).isDigit();
}

// Keeps an angle in [0, 360).
double WrapAngle(double d)
{
    if (!std::isfinite(d))
        return 0;
    d = std::fmod(d, 360.0);
    if (d < 0)
        d += 360;
    return d >= 360 ? 0 : d;
}

} // namespace

// ---------------------------------------------------------------- settings

QColor CVectorSettings::FromColorRef(quint32 n)
{
    return QColor(n & 0xFF, (n >> 8) & 0xFF, (n >> 16) & 0xFF);
}

quint32 CVectorSettings::ToColorRef(const QColor& c)
{
    return quint32(c.red()) | (quint32(c.green()) << 8) | (quint32(c.blue()) << 16);
}

QString CVectorSettings::ValueName(int nVector)
{
    return QStringLiteral("Color%1%2").arg(nVector < 3 ? QLatin1Char('U') : QLatin1Char('I')).arg(nVector % 3 + 1);
}

CVectorSettings LoadVectorSettings()
{
    const CRegSettings reg;
    CVectorSettings settings;
    settings.m_nReference =
        reg.Get(Setting::VectorReference) == kVectorRefMaximum ? kVectorRefMaximum : kVectorRefRange;
    const CVectorSettings defaults;
    for (int v = 0; v < 6; ++v)
        settings.m_colours[v] = CVectorSettings::FromColorRef(
            reg.GetDWORD(CVectorSettings::ValueName(v), CVectorSettings::ToColorRef(defaults.m_colours[v])));
    return settings;
}

void SaveVectorSettings(const CVectorSettings& settings)
{
    const CRegSettings reg;
    reg.Set(Setting::VectorReference, quint32(settings.m_nReference));
    for (int v = 0; v < 6; ++v)
        reg.SetDWORD(CVectorSettings::ValueName(v), CVectorSettings::ToColorRef(settings.m_colours[v]));
}

int LoadAngleNorm()
{
    return CRegSettings().Get(Setting::Norm) == kNormDIN410 ? kNormDIN410 : kNormIEC387;
}

void ComputeArrowSize(int nClientWidth, int nClientHeight, DisplayMode nMode, int& nArrowWidth, int& nArrowLength)
{
    const int m = qMin(nClientWidth, nClientHeight);
    if (nMode == DisplayMode::ErrorValuesVector) {
        nArrowWidth = m / 120;
        if (nArrowWidth < 3)
            nArrowWidth = 2;
        nArrowLength = m / 45;
        if (nArrowLength < 7)
            nArrowLength = 6;
    } else {
        nArrowWidth = m / 90;
        if (nArrowWidth < 4)
            nArrowWidth = 3;
        nArrowLength = qMax(9, m / 30);
    }
}

// ---------------------------------------------------------------- cells

QString QuantityName(int nIndex)
{
    if (nIndex < 0 || nIndex >= kQtyCount)
        return {};
    return QString::fromUtf8(g_quantityNames[nIndex]);
}

QString GetRawCell(const CResultCache& cache, int nIndex, int nPhase)
{
    if (nIndex < 0 || nIndex >= kQtyCount)
        return {};
    if (nIndex >= kQtyPhaseCount)
        nPhase = 0;
    if (nPhase < 0 || nPhase > 2)
        return {};
    return cache.m_strValues[nIndex][nPhase];
}

QString GetCellUnit(const CResultCache& cache, int nIndex, int nPhase)
{
    return UnitPart(GetRawCell(cache, nIndex, nPhase));
}

QString GetValueCell(const CResultCache& cache, int nIndex, int nPhase, int nNorm)
{
    if (nIndex != kQtyPhiUI || nPhase < 0 || nPhase > 2)
        return GetRawCell(cache, nIndex, nPhase);
    if (cache.m_strMMode.contains(QLatin1Char('3')) && nPhase == 1)
        return QStringLiteral("---;deg");
    const QString strU = cache.m_strValues[kQtyPhiU][nPhase];
    const QString strI = cache.m_strValues[kQtyPhiI][nPhase];
    // A record without the two angles (a burden) shows its stored angle.
    if (strU.isEmpty() && strI.isEmpty())
        return GetRawCell(cache, nIndex, nPhase);
    const double phiU = ParseNumber(ValuePart(strU));
    const double phiI = ParseNumber(ValuePart(strI));
    double d = nNorm == kNormDIN410 ? phiI - phiU : phiU - phiI;
    return FormatNumberC("%.02f", WrapDegrees180(d)) + QStringLiteral(";deg");
}

bool IsQuantityPresent(const CResultCache& cache, int nIndex)
{
    const int nPhases = nIndex < kQtyPhaseCount ? 3 : 1;
    for (int p = 0; p < nPhases; ++p)
        if (!GetRawCell(cache, nIndex, p).isEmpty())
            return true;
    if (nIndex == kQtyPhiUI)
        return IsQuantityPresent(cache, kQtyPhiU) || IsQuantityPresent(cache, kQtyPhiI);
    return false;
}

void GetRanges(const CResultCache& cache, double& rgU, double& rgI)
{
    rgU = ParseNumber(ValuePart(cache.m_strURange));
    rgI = ParseNumber(ValuePart(cache.m_strIRange));
    if (ValuePart(cache.m_strPrimSekValCzReg) == u"On") {
        rgU *= ParseNumber(cache.m_strUPrimSek.section(QLatin1Char(';'), 2, 2));
        rgI *= ParseNumber(cache.m_strIPrimSek.section(QLatin1Char(';'), 2, 2));
    }
}

void NormalizeAngles(const double U[3], const double I[3], double phiU[3], double phiI[3], double rgU, double rgI,
                     int nNorm)
{
    if (nNorm == kNormDIN410)
        return;
    int k = -1;
    for (int p = 0; p < 3 && k < 0; ++p)
        if (rgI > 0 && std::fabs(I[p]) / rgI >= 0.05)
            k = p;
    double ref = 0;
    if (k >= 0) {
        if (k != 0) {
            const double s = phiU[k];
            for (int p = 0; p < 3; ++p) {
                phiU[p] -= s;
                phiI[p] -= s;
            }
        }
        ref = phiI[k] - phiU[k];
    } else {
        for (int p = 0; p < 3; ++p)
            if (rgU > 0 && std::fabs(U[p]) / rgU >= 0.05) {
                ref = phiU[p];
                break;
            }
    }
    for (int p = 0; p < 3; ++p) {
        phiU[p] = WrapAngle(360 - (phiU[p] - ref));
        phiI[p] = WrapAngle(360 - (phiI[p] - ref));
    }
}

// ---------------------------------------------------------------- renderer

CActualValuesRenderer::CActualValuesRenderer(const CResultCache& cache, const CVectorSettings& settings, int nNorm,
                                             const CTextPainter& textPainter, bool bPrinter)
    : m_cache(cache), m_settings(settings), m_nNorm(nNorm), m_textPainter(textPainter), m_bPrinter(bPrinter)
{
}

void CActualValuesRenderer::GetMagnitudesAndAngles(double U[3], double I[3], double phiU[3], double phiI[3],
                                                   double& rgU, double& rgI) const
{
    GetRanges(m_cache, rgU, rgI);
    const QString strUUnit = UnitOnly(m_cache.m_strURange);
    const QString strIUnit = UnitOnly(m_cache.m_strIRange);
    for (int p = 0; p < 3; ++p) {
        const QString strU = m_cache.m_strValues[kQtyUPN][p];
        const QString strI = m_cache.m_strValues[kQtyI][p];
        U[p] = ConvertUnit(ParseNumber(ValuePart(strU)), UnitOnly(strU), strUUnit);
        I[p] = ConvertUnit(ParseNumber(ValuePart(strI)), UnitOnly(strI), strIUnit);
        phiU[p] = ParseNumber(ValuePart(m_cache.m_strValues[kQtyPhiU][p]));
        phiI[p] = ParseNumber(ValuePart(m_cache.m_strValues[kQtyPhiI][p]));
    }
    NormalizeAngles(U, I, phiU, phiI, rgU, rgI, m_nNorm);
}

QSize CActualValuesRenderer::DrawValuesTable(QPainter* pPainter, const QRect& rect, bool bWithSettings,
                                             int nMaxFontHeight) const
{
    const int l = rect.left(), t = rect.top(), r = rect.left() + rect.width(), b = rect.top() + rect.height();
    const int w = r - l;
    int y = t;
    int nMaxFont = nMaxFontHeight;
    QSize settingsSize(0, 0);
    if (bWithSettings) {
        nMaxFont = DrawResultSettings(pPainter, m_textPainter, l, t, r, t + (b - t) * 6 / 21, m_cache, m_bPrinter,
                                      &settingsSize);
        y = t + settingsSize.height();
    }

    double U[3], I[3], phiU[3], phiI[3], rgU, rgI;
    GetMagnitudesAndAngles(U, I, phiU, phiI, rgU, rgI);

    CTextTable phases(0, 5);
    phases.m_bHasTitles = true;
    phases.m_bHasRowHeads = true;
    phases.m_bHasUnits = true;
    phases.SetTitle(1, QStringLiteral("L1"));
    phases.SetTitle(2, QStringLiteral("L2"));
    phases.SetTitle(3, QStringLiteral("L3"));
    for (int q = 0; q < kQtyPhaseCount; ++q) {
        if (!IsQuantityPresent(m_cache, q))
            continue;
        QStringList cells{QuantityName(q)};
        QString strUnit;
        for (int p = 0; p < 3; ++p) {
            const QString strCell = GetValueCell(m_cache, q, p, m_nNorm);
            QString strValue = ValuePart(strCell);
            if ((q == kQtyPhiU || q == kQtyPhiI) && IsNumberText(strValue))
                strValue = FormatAngle(q == kQtyPhiU ? phiU[p] : phiI[p]);
            cells.append(strValue);
            if (strUnit.isEmpty())
                strUnit = UnitOnly(strCell);
        }
        cells.append(DisplayUnit(strUnit));
        phases.AddRow(cells);
    }

    CTextTable singles(0, 3);
    singles.m_bHasTitles = true;
    singles.m_bHasRowHeads = true;
    singles.m_bHasUnits = true;
    singles.SetTitle(1, QStringLiteral("S"));
    for (int q = kQtyPhaseCount; q < kQtyCount; ++q) {
        if (!IsQuantityPresent(m_cache, q))
            continue;
        const QString strCell = GetValueCell(m_cache, q, 0, m_nNorm);
        singles.AddRow({QuantityName(q), ValuePart(strCell), DisplayUnit(UnitOnly(strCell))});
    }

    // Both tables share one font height, the largest at which they fit
    // side by side (the single values a width/8 gap to the right).
    const bool bSingles = singles.RowCount() > 0;
    const int nLines = qMax(phases.RowCount(), singles.RowCount()) + 1;
    int nFont = m_textPainter.FindLargestHeight((b - y) / nLines, m_bPrinter ? 10 : 1, [&](int h) {
        const QSize sp = m_textPainter.MeasureTable(pPainter, phases, h);
        const QSize ss = bSingles ? m_textPainter.MeasureTable(pPainter, singles, h) : QSize(0, 0);
        return y + qMax(sp.height(), ss.height()) <= b && sp.width() + (bSingles ? w / 8 + ss.width() : 0) <= w;
    });
    if (nMaxFont >= 1)
        nFont = qMin(nFont, nMaxFont);
    QSize phaseSize, singleSize(0, 0);
    m_textPainter.FitAndDrawTable(pPainter, l, y, r, b, phases, nFont, 0, &phaseSize, m_bPrinter);
    const int xSingles = l + phaseSize.width() + w / 8;
    if (bSingles)
        m_textPainter.FitAndDrawTable(pPainter, xSingles, y, r, b, singles, nFont, 0, &singleSize, m_bPrinter);
    const int nWidth = qMax(settingsSize.width(),
                            bSingles ? xSingles - l + singleSize.width() : phaseSize.width());
    return QSize(nWidth, y - t + qMax(phaseSize.height(), singleSize.height()));
}

void CActualValuesRenderer::ComputeVectors(const QPointF& centre, double dRadius, CVectorGeometry vectors[6]) const
{
    double U[3], I[3], phiU[3], phiI[3], rgU, rgI;
    GetMagnitudesAndAngles(U, I, phiU, phiI, rgU, rgI);
    if (m_nNorm == kNormDIN410)
        for (int p = 0; p < 3; ++p) {
            phiU[p] = 450 - phiU[p];
            phiI[p] = 450 - phiI[p];
        }
    double dMaxU = 0, dMaxI = 0;
    for (int p = 0; p < 3; ++p) {
        dMaxU = qMax(dMaxU, std::fabs(U[p]));
        dMaxI = qMax(dMaxI, std::fabs(I[p]));
    }
    for (int v = 0; v < 6; ++v) {
        const int p = v % 3;
        const bool bVoltage = v < 3;
        double m = std::fabs(bVoltage ? U[p] : I[p]);
        const double rg = bVoltage ? rgU : rgI;
        const double mx = bVoltage ? dMaxU : dMaxI;
        const double phi = bVoltage ? phiU[p] : phiI[p];
        vectors[v] = CVectorGeometry();
        // No range, no maximum or a vector too small to see: no arrow.
        if (!(mx > 0) || !(rg > 0) || m / rg < 0.05)
            continue;
        double dLength;
        if (m_settings.m_nReference == kVectorRefMaximum)
            dLength = dRadius * qMin(m, mx) / mx;
        else
            dLength = dRadius * qMin(m, rg) / rg;
        const double a = (phi + 90) * kDegToRad;
        vectors[v].m_bDrawn = true;
        vectors[v].m_dLength = dLength;
        vectors[v].m_tip = QPointF(centre.x() + dLength * std::sin(a), centre.y() + dLength * std::cos(a));
    }
}

QSize CActualValuesRenderer::DrawVectorDiagram(QPainter* pPainter, const QRect& rect, bool bWithHeaderTable,
                                               int& nFontHeight) const
{
    const int l = rect.left(), r = rect.left() + rect.width(), b = rect.top() + rect.height();
    int t = rect.top();
    QSize settingsSize(0, 0);
    if (bWithHeaderTable) {
        const int nTableLeft = l + (r - l) / 10;
        nFontHeight = DrawResultSettings(pPainter, m_textPainter, nTableLeft, t, r, t + 6 * ((b - t) / 15), m_cache,
                                         m_bPrinter, &settingsSize);
        settingsSize.rwidth() += nTableLeft - l;
        t += static_cast<int>(1.2 * settingsSize.height());
    } else if (nFontHeight <= 0) {
        nFontHeight = (b - t) / 16;
    }
    nFontHeight = qMax(nFontHeight, m_textPainter.m_nMinHeight);

    const QFont font = MakeFont(FaceArial(), nFontHeight, false);
    const QFontMetrics fm(font, pPainter->device());
    // Room for the labels beside tips that reach the circle.
    const int nLabelRoom = qMax(fm.horizontalAdvance(QStringLiteral("U3")), fm.height()) + 2;
    const int nInset = 5 + nLabelRoom;
    QRect sq(QPoint(l + nInset, t + nInset), QPoint(r - nInset - 1, b - nInset - 1));
    if (sq.width() <= 0 || sq.height() <= 0)
        return settingsSize;
    if (sq.width() > sq.height()) {
        const int nSide = sq.height();
        const int x = bWithHeaderTable ? sq.left() + (sq.width() - nSide) / 2 : sq.left();
        sq = QRect(x, sq.top(), nSide, nSide);
    } else if (sq.height() > sq.width()) {
        const int nSide = sq.width();
        sq = QRect(sq.left(), sq.top() + (sq.height() - nSide) / 2, nSide, nSide);
    }

    pPainter->save();
    pPainter->setBackgroundMode(Qt::TransparentMode);
    QPen circlePen(Qt::black);
    circlePen.setWidth(m_bPrinter ? qMax(1, sq.width() / 250) : 2);
    pPainter->setPen(circlePen);
    pPainter->setBrush(Qt::NoBrush);
    pPainter->drawEllipse(sq.adjusted(-2, -2, 2, 2));

    const QPointF centre(sq.left() + sq.width() / 2.0, sq.top() + sq.height() / 2.0);
    const double dRadius = sq.width() / 2.0;
    CVectorGeometry vectors[6];
    ComputeVectors(centre, dRadius, vectors);

    const double dHeadLength = m_bPrinter ? 70 : qMax(1, m_nArrowLength);
    const double dHeadHalfWidth = m_bPrinter ? 15 : m_nArrowWidth;
    pPainter->setFont(font);
    for (int v = 0; v < 6; ++v) {
        if (!vectors[v].m_bDrawn)
            continue;
        const QColor colour = m_settings.m_colours[v];
        const QPointF tip = vectors[v].m_tip;
        DrawArrow(pPainter, centre.x(), centre.y(), tip.x(), tip.y(), colour, dHeadLength, dHeadHalfWidth, m_bPrinter);
        // The label stands beside the tip, on the side away from the centre.
        const QString strLabel = QStringLiteral("%1%2").arg(v < 3 ? QLatin1Char('U') : QLatin1Char('I')).arg(v % 3 + 1);
        const int nWidth = fm.horizontalAdvance(strLabel);
        const double x = tip.x() >= centre.x() ? tip.x() + 2 : tip.x() - 2 - nWidth;
        const double yTop = tip.y() <= centre.y() ? tip.y() - 2 - fm.height() : tip.y() + 2;
        pPainter->setPen(colour);
        pPainter->drawText(QPointF(x, yTop + fm.ascent()), strLabel);
    }
    pPainter->restore();

    const int nRight = sq.right() + 1 + nInset;
    const int nBottom = sq.bottom() + 1 + nInset;
    return QSize(qMax(settingsSize.width(), nRight - l), nBottom - rect.top());
}

QSize CActualValuesRenderer::DrawValuesAndVectors(QPainter* pPainter, const QRect& rect) const
{
    const int l = rect.left(), t = rect.top(), r = rect.left() + rect.width(), b = rect.top() + rect.height();
    QSize settingsSize;
    const int nFont = DrawResultSettings(pPainter, m_textPainter, l, t, r, t + (b - t) * 6 / 21, m_cache, m_bPrinter,
                                         &settingsSize);
    const int y = t + settingsSize.height();
    const int nSplit = l + (r - l) * 11 / 20;
    const QSize valuesSize = DrawValuesTable(pPainter, QRect(l, y, nSplit - l, b - y), false, nFont);
    // The diagram's labels take the settings table's text height.
    int nLabelHeight = qMax(m_textPainter.m_nMinHeight, nFont);
    const QSize diagramSize = DrawVectorDiagram(pPainter, QRect(nSplit, y, r - nSplit, b - y), false, nLabelHeight);
    const int nWidth = qMax(settingsSize.width(), nSplit - l + diagramSize.width());
    return QSize(nWidth, y - t + qMax(valuesSize.height(), diagramSize.height()));
}
