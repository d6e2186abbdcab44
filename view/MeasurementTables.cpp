#include "view/MeasurementTables.h"

#include "core/Kinds.h"
#include "resources/StringTable.h"
#include "view/ActualValues.h"
#include "view/DrawTools.h"
#include "view/ResultCache.h"
#include "view/TableStack.h"
#include "view/TextPainter.h"
#include "view/TextTable.h"

#include <QPainter>

namespace {

// A table with a title row, the given column titles and row heads in
// column 0; rows are added by the caller.
CTextTable HeadedTable(const QStringList& titles, bool bRowHeads = true)
{
    CTextTable table(0, static_cast<int>(titles.size()));
    table.m_bHasTitles = true;
    table.m_bHasRowHeads = bRowHeads;
    for (int i = 0; i < titles.size(); ++i)
        table.SetTitle(i, titles[i]);
    return table;
}

// Row head, value and unit: the unit stands in the unit column.
void AddValueRow(CTextTable& table, const QString& strHead, const QString& strValue)
{
    table.AddRow({strHead, ValuePart(strValue), CellText(UnitPart(strValue))});
}

// "a/b;unit" split at the slash into the primary and the secondary value,
// each with the unit.
QString RatioPart(const QString& strRatio, int nPart)
{
    const QString strUnit = UnitPart(strRatio);
    const QString strValue = ValuePart(strRatio).section(QLatin1Char('/'), nPart, nPart);
    return strValue.isEmpty() ? QString() : strValue + QLatin1Char(';') + strUnit;
}

// Value and unit texts of a transformer table: row heads, values, units.
CTextTable ValueUnitTable(const QString& strTitle, const QList<std::pair<unsigned, QString>>& rows,
                          bool bTitleOverValues = false)
{
    CTextTable table = HeadedTable(bTitleOverValues ? QStringList{QString(), strTitle, QString()}
                                                    : QStringList{strTitle, QString(), QString()});
    table.m_bHasUnits = true;
    for (const auto& [nHead, strValue] : rows)
        AddValueRow(table, LoadString(nHead), strValue);
    return table;
}

} // namespace

CMeasurementTables::CMeasurementTables(const CResultCache& cache, const CTextPainter& textPainter, bool bPrinter)
    : m_cache(cache), m_textPainter(textPainter), m_bPrinter(bPrinter)
{
}

QString CMeasurementTables::Field(const char* pszName) const
{
    return m_cache.KindField(QLatin1String(pszName));
}

int CMeasurementTables::DrawSettings(QPainter* pPainter, const QRect& rect, int& nBottom, QSize& used) const
{
    // The same share of the height as above the actual values table.
    const int l = rect.left(), t = rect.top();
    const int nFont = DrawResultSettings(pPainter, m_textPainter, l, t, l + rect.width(), t + rect.height() * 6 / 21,
                                         m_cache, m_bPrinter, &used);
    nBottom = t + used.height() + nFont / 2;
    return nFont;
}

QSize CMeasurementTables::DrawErrorMeasurement(QPainter* pPainter, const QRect& rect,
                                               const CActualValuesRenderer& values, DisplayMode mode) const
{
    const QRect upper(rect.left(), rect.top(), rect.width(), rect.height() * 6 / 9);
    QSize upperSize;
    int nFont = 0;
    switch (mode) {
    case DisplayMode::ErrorVector: upperSize = values.DrawVectorDiagram(pPainter, upper, true, nFont); break;
    case DisplayMode::ErrorValuesVector: upperSize = values.DrawValuesAndVectors(pPainter, upper); break;
    default: upperSize = values.DrawValuesTable(pPainter, upper); break;
    }

    CTableStack stack(pPainter, m_textPainter, m_bPrinter);
    const bool bMeter = Field("SSM-UB").isEmpty() && Field("SSM-IB").isEmpty() && Field("SSM-Fr").isEmpty()
                        && Field("SSM-Ph").isEmpty() && Field("SSM-MT").isEmpty();
    if (bMeter) {
        CTextTable meter = HeadedTable({LoadString(IDS_TBL_METER_CONSTANT), LoadString(IDS_TBL_CLOCK_SOURCE),
                                        LoadString(IDS_TBL_PULSE_COUNT), LoadString(IDS_TBL_ERROR)},
                                       false);
        meter.AddRow({CellText(Field("Cz")), CellText(Field("M-Inp")), CellText(Field("M-Puls")),
                      CellText(Field("Error"))});
        stack.AddTable(meter);
    } else {
        CTextTable conditions = HeadedTable(
            {LoadString(IDS_TBL_U_RANGE), LoadString(IDS_TBL_I_RANGE),
             LoadString(IDS_TBL_FREQUENCY) + QStringLiteral(" / ") + LoadString(IDS_TBL_PHASES),
             LoadString(IDS_TBL_MEASURING_TIME), LoadString(IDS_TBL_ERROR)},
            false);
        conditions.AddRow({CellText(Field("SSM-UB")), CellText(Field("SSM-IB")),
                           CellText(Field("SSM-Fr")) + QStringLiteral(" / ") + CellText(Field("SSM-Ph")),
                           CellText(Field("SSM-MT")), CellText(Field("Error"))});
        stack.AddTable(conditions);
    }
    stack.NewLine();
    // Labels and values alternate row by row.
    CTextTable statistics(0, 4);
    statistics.m_bHasTitles = false;
    statistics.AddRow({LoadString(IDS_TBL_MEASUREMENTS), LoadString(IDS_TBL_SPREAD), LoadString(IDS_TBL_AVERAGE),
                       LoadString(IDS_TBL_DEVIATION)});
    statistics.AddRow({CellText(Field("N-Value")), CellText(Field("Spread")), CellText(Field("Average")),
                       CellText(Field("Deviation"))});
    statistics.AddRow({LoadString(IDS_TBL_ENERGY), LoadString(IDS_TBL_START_TIME), LoadString(IDS_TBL_STOP_TIME),
                       LoadString(IDS_TBL_DURATION)});
    statistics.AddRow({CellText(Field("Err-Energie")), CellText(Field("StartTime")), CellText(Field("StopTime")),
                       CellText(Field("MTime"))});
    stack.AddTable(statistics);

    const int nIndent = rect.width() / 10;
    const int y = rect.top() + upperSize.height() * 11 / 10;
    const QRect lower(rect.left() + nIndent, y, rect.width() - nIndent, rect.top() + rect.height() - y);
    const QSize lowerSize = stack.FitAndDraw(lower, FontCap(rect));
    return QSize(qMax(upperSize.width(), nIndent + lowerSize.width()), y - rect.top() + lowerSize.height());
}

QSize CMeasurementTables::DrawRegisterTest(QPainter* pPainter, const QRect& rect) const
{
    int y = 0;
    QSize settingsSize;
    const int nFont = DrawSettings(pPainter, rect, y, settingsSize);
    CTableStack stack(pPainter, m_textPainter, m_bPrinter);
    stack.AddField(LoadString(IDS_TBL_TYPE), CellText(Field("Type")));
    stack.NewLine();
    CTextTable table = HeadedTable({QString(), LoadString(IDS_TBL_E_REGISTER), LoadString(IDS_TBL_P_REGISTER)});
    const struct
    {
        unsigned nHead;
        const char* pszE;
        const char* pszP;
    } rows[] = {
        {IDS_TBL_ENERGY_POWER, "Energie", "Power"},
        {IDS_TBL_BEGIN, "E-Begin", "P-Begin"},
        {IDS_TBL_END, "E-End", "P-End"},
        {IDS_TBL_ERROR, "E-Error", "P-Error"},
        // The measuring time belongs to the power register only.
        {IDS_TBL_MEASURING_TIME, nullptr, "Measurement-Time"},
        {IDS_TBL_START_TIME, "E-StartTime", "P-StartTime"},
        {IDS_TBL_STOP_TIME, "E-StopTime", "P-StopTime"},
        {IDS_TBL_DURATION, "E-MTime", "P-MTime"},
    };
    for (const auto& row : rows)
        table.AddRow({LoadString(row.nHead), row.pszE ? CellText(Field(row.pszE)) : QString(),
                      CellText(Field(row.pszP))});
    stack.AddTable(table);
    const QRect below(rect.left(), y, rect.width(), rect.bottom() + 1 - y);
    const QSize size = stack.FitAndDraw(below, nFont);
    return QSize(qMax(settingsSize.width(), size.width()), y - rect.top() + size.height());
}

QSize CMeasurementTables::DrawTmTe(QPainter* pPainter, const QRect& rect) const
{
    int y = 0;
    QSize settingsSize;
    const int nFont = DrawSettings(pPainter, rect, y, settingsSize);
    CTableStack stack(pPainter, m_textPainter, m_bPrinter);
    stack.AddTitle(LoadString(IDS_TBL_TRANSMITTER_TEST));
    stack.NewLine();
    // Measuring and counting, each with its pulse source, its constant k
    // and its number of pulses n.
    CTextTable pulses = HeadedTable({QString(), LoadString(IDS_TBL_CLOCK_SOURCE), QStringLiteral("k"),
                                     QStringLiteral("n")});
    pulses.AddRow({LoadString(IDS_TBL_MEASURE), CellText(Field("M-Inp-Measure")), CellText(Field("Cz-Measure")),
                   CellText(Field("M-Puls"))});
    pulses.AddRow({LoadString(IDS_TBL_COUNT), CellText(Field("M-Inp-Count")), CellText(Field("Cz-Count")),
                   CellText(Field("Impuls"))});
    stack.AddTable(pulses);
    stack.NewLine();
    stack.AddField(LoadString(IDS_TBL_ERROR), CellText(Field("Error")));
    stack.NewLine();
    stack.AddTitle(LoadString(IDS_TBL_TMTE));
    stack.NewLine();
    CTextTable times = HeadedTable({QString(), QStringLiteral("tm"), QStringLiteral("te"), QStringLiteral("ti"),
                                    QStringLiteral("tp")});
    times.AddRow({LoadString(IDS_TBL_CONTACT), CellText(Field("tm")), CellText(Field("te")), CellText(Field("Ti")),
                  CellText(Field("Tp"))});
    stack.AddTable(times);
    stack.NewLine();
    stack.AddField(LoadString(IDS_TBL_CONTACT), CellText(Field("Contact")));
    const QRect below(rect.left(), y, rect.width(), rect.bottom() + 1 - y);
    const QSize size = stack.FitAndDraw(below, nFont);
    return QSize(qMax(settingsSize.width(), size.width()), y - rect.top() + size.height());
}

QSize CMeasurementTables::DrawBurden(QPainter* pPainter, const QRect& rect, const CActualValuesRenderer& values,
                                     bool bVoltage) const
{
    CTableStack stack(pPainter, m_textPainter, m_bPrinter);
    // The blanks widen the first column, as the nominal value carries a
    // longer text ("230.0/sqrt(3) V").
    CTextTable nominal = HeadedTable(
        {LoadString(bVoltage ? IDS_TBL_U_NOMINAL : IDS_TBL_I_NOMINAL) + QStringLiteral("      "),
         LoadString(IDS_TBL_B_NOMINAL), LoadString(IDS_TBL_W_LENGTH), LoadString(IDS_TBL_W_GAUGE)},
        false);
    nominal.AddRow({CellText(Field(bVoltage ? "U-Nominal" : "I-Nominal")), CellText(Field("B-Nominal")),
                    CellText(Field("W-Length")), CellText(Field("W-Gauge"))});
    stack.AddTable(nominal);
    // Two lines of the 21 that the settings table and values share.
    const QRect top(rect.left(), rect.top(), rect.width(), rect.height() * 3 / 21);
    const QSize nominalSize = stack.FitAndDraw(top, FontCap(rect));
    const int y = rect.top() + nominalSize.height() + rect.height() / 60;
    const QSize valuesSize =
        values.DrawValuesTable(pPainter, QRect(rect.left(), y, rect.width(), rect.bottom() + 1 - y), true);
    return QSize(qMax(nominalSize.width(), valuesSize.width()), y - rect.top() + valuesSize.height());
}

QSize CMeasurementTables::DrawTransformer(QPainter* pPainter, const QRect& rect) const
{
    CTableStack stack(pPainter, m_textPainter, m_bPrinter);
    const QString strVTN = Field("VT-N"), strVTX = Field("VT-X");
    stack.AddTable(ValueUnitTable(LoadString(IDS_TBL_U_TRANSFORMER), {{IDS_TBL_N_PRIM, RatioPart(strVTN, 0)},
                                                                      {IDS_TBL_N_SEK, RatioPart(strVTN, 1)},
                                                                      {IDS_TBL_X_PRIM, RatioPart(strVTX, 0)},
                                                                      {IDS_TBL_X_SEK, RatioPart(strVTX, 1)}}));
    const QString strCTN = Field("CT-N"), strCTX = Field("CT-X"), strCTXc = Field("CT_Xc");
    stack.AddTable(ValueUnitTable(LoadString(IDS_TBL_I_TRANSFORMER), {{IDS_TBL_N_PRIM, RatioPart(strCTN, 0)},
                                                                      {IDS_TBL_N_SEK, RatioPart(strCTN, 1)},
                                                                      {IDS_TBL_X_PRIM, RatioPart(strCTX, 0)},
                                                                      {IDS_TBL_X_SEK, RatioPart(strCTX, 1)},
                                                                      {IDS_TBL_XC_PRIM, RatioPart(strCTXc, 0)},
                                                                      {IDS_TBL_XC_SEK, RatioPart(strCTXc, 1)}}));
    stack.NewLine();
    // The measured values of each transformer, its ratio error and the
    // angle error in degrees, minutes and centiradians.
    const auto measured = [&](unsigned nTitle, const char* pszPrefix, const char* pszTransformer) {
        const QString p = QLatin1String(pszPrefix), x = QLatin1String(pszTransformer);
        return ValueUnitTable(LoadString(nTitle),
                              {{IDS_TBL_PRIM, m_cache.KindField(p + QStringLiteral("-Prim"))},
                               {IDS_TBL_N_SEK, m_cache.KindField(p + QStringLiteral("-Sek-N"))},
                               {IDS_TBL_X_SEK, m_cache.KindField(p + QStringLiteral("-Sek-X"))},
                               {IDS_TBL_X_E, m_cache.KindField(x + QStringLiteral("-Value"))},
                               {IDS_TBL_X_D_DEG, m_cache.KindField(x + QStringLiteral("-Angle-deg"))},
                               {IDS_TBL_X_D_MIN, m_cache.KindField(x + QStringLiteral("-Angle-min"))},
                               {IDS_TBL_X_D_CRAD, m_cache.KindField(x + QStringLiteral("-Angle-crad"))}},
                              true);
    };
    stack.AddTable(measured(IDS_TBL_U, "U", "VT"));
    stack.AddTable(measured(IDS_TBL_I, "I", "CT"));
    stack.NewLine();
    stack.AddTable(ValueUnitTable(LoadString(IDS_TBL_SUM_UI), {{IDS_TBL_E, Field("VTCT-Value")},
                                                               {IDS_TBL_D, Field("VTCT-Angle-deg")},
                                                               {IDS_TBL_D, Field("VTCT-Angle-min")},
                                                               {IDS_TBL_D, Field("VTCT-Angle-crad")}}));
    return stack.FitAndDraw(rect, FontCap(rect));
}

QSize CMeasurementTables::DrawAuxChannels(QPainter* pPainter, const QRect& rect) const
{
    int y = 0;
    QSize settingsSize;
    const int nFont = DrawSettings(pPainter, rect, y, settingsSize);
    CTextTable table = HeadedTable({QString(), LoadString(IDS_TBL_VALUE), LoadString(IDS_COL_ANGLE),
                                    LoadString(IDS_TBL_REF_NAME), LoadString(IDS_TBL_REF_VALUE),
                                    LoadString(IDS_TBL_REF_ANGLE), LoadString(IDS_TBL_DIFF_VALUE),
                                    LoadString(IDS_TBL_DIFF_ANGLE)});
    static const char* const kBases[] = {"Aux-Value-", "Aux-Angle-", "Ref-Name-", "Ref-Value-",
                                         "Ref-Angle-", "Aux-Diff-Value-", "Aux-Diff-Angle-"};
    // A channel the device did not use carries no field at all.
    for (int n = 1; n <= 6; ++n) {
        QStringList cells{QStringLiteral("Aux %1").arg(n)};
        bool bUsed = false;
        for (const char* pszBase : kBases) {
            const QString strValue = m_cache.KindField(QLatin1String(pszBase) + QString::number(n));
            bUsed = bUsed || !strValue.isEmpty();
            cells.append(CellText(strValue));
        }
        if (bUsed)
            table.AddRow(cells);
    }
    CTableStack stack(pPainter, m_textPainter, m_bPrinter);
    stack.AddTable(table);
    const QRect below(rect.left(), y, rect.width(), rect.bottom() + 1 - y);
    const QSize size = stack.FitAndDraw(below, nFont);
    return QSize(qMax(settingsSize.width(), size.width()), y - rect.top() + size.height());
}

QSize CMeasurementTables::DrawPqsRegisterTest(QPainter* pPainter, const QRect& rect) const
{
    int y = 0;
    QSize settingsSize;
    const int nFont = DrawSettings(pPainter, rect, y, settingsSize);
    CTableStack stack(pPainter, m_textPainter, m_bPrinter);
    stack.AddField(LoadString(IDS_TBL_DURATION), CellText(Field("M-Time")));
    stack.NewLine();
    CTextTable table = HeadedTable({QString(), LoadString(IDS_TBL_ENERGY), LoadString(IDS_TBL_BEGIN),
                                    LoadString(IDS_TBL_END), LoadString(IDS_TBL_ERROR)});
    for (const char* pszLetter : {"P", "Q", "S"}) {
        const QString s = QLatin1String(pszLetter);
        table.AddRow({s, CellText(m_cache.KindField(s + QStringLiteral("-Energie"))),
                      CellText(m_cache.KindField(s + QStringLiteral("E-Begin"))),
                      CellText(m_cache.KindField(s + QStringLiteral("E-End"))),
                      CellText(m_cache.KindField(s + QStringLiteral("E-Error")))});
    }
    stack.AddTable(table);
    const QRect below(rect.left(), y, rect.width(), rect.bottom() + 1 - y);
    const QSize size = stack.FitAndDraw(below, nFont);
    return QSize(qMax(settingsSize.width(), size.width()), y - rect.top() + size.height());
}
