// The two measurement tables that run over several printed pages: the
// automatic test series and the selective power measurement.

#include "view/MeasurementTables.h"

#include "resources/StringTable.h"
#include "view/DrawTools.h"
#include "view/PageHeader.h"
#include "view/ResultCache.h"
#include "view/TableStack.h"
#include "view/TextPainter.h"
#include "view/TextTable.h"

namespace {

// The height a series may take on the screen, where the view scrolls.
constexpr int kScreenHeight = 1 << 24;

// The texts of a step as rows of cells: the common line, the six values
// and the lines of the step's type.
QList<QStringList> StepRows(const QStringList& step)
{
    const auto field = [&](const char* pszKey) { return GetStepField(step, QLatin1String(pszKey), true); };
    QStringList first{GetStepField(step, QStringLiteral("Type"), false), GetStepField(step, QStringLiteral("MM"), false)};
    if (GetStepValue(step, QStringLiteral("MM")) == u"LoadPointAbs")
        first << field("UN") << field("IN");
    QString strFrequency = field("F");
    const QString strPF = field("PF");
    if (!strPF.isEmpty() && GetStepValue(step, QStringLiteral("PF")).trimmed() != u"-")
        strFrequency += QLatin1Char(' ') + strPF;
    first << strFrequency;
    QList<QStringList> rows{first, {field("UL1"), field("UL2"), field("UL3"), field("IL1"), field("IL2"), field("IL3")}};
    const QString strType = GetStepValue(step, QStringLiteral("Type"));
    if (strType == u"NoLoadTest")
        rows.append({field("Edge"), field("Test"), field("Edge-Max")});
    else if (strType == u"StartingTest")
        rows.append({field("Edge"), field("Test"), field("Edge-Min")});
    else if (strType == u"AccuracyTest")
        rows.append({field("Error"), field("CZ"), field("MPuls"), field("MTime"), field("Test"), field("EL-Max"),
                     field("EL-Min")});
    else if (strType == u"RegisterTest") {
        rows.append({field("Energy"), field("Reg-Start"), field("Reg-Stopp")});
        rows.append({field("Error"), field("Test"), field("EL-Max"), field("EL-Min")});
    } else {
        // No type: the step keeps its third line, empty.
        rows.append(QStringList{});
    }
    return rows;
}

// The table padded with empty rows to the lines a page holds, so that every
// page is fitted to the same capacity and prints at the same text height.
CTextTable PaddedTo(const CTextTable& table, int nRows)
{
    CTextTable padded = table;
    while (padded.RowCount() < nRows)
        padded.Row(padded.AddRow()).m_bSkipMeasure = true;
    return padded;
}

// Fits the table into the rectangle as if it had nCapacity rows, then draws
// it; on the screen (nCapacity 0) all rows are drawn as wide as fits.
QSize DrawPagedTable(QPainter* pPainter, const CTextPainter& tp, bool bPrinter, const QRect& rect,
                     const CTextTable& table, int nCapacity, int nMaxFont)
{
    CTableStack fitting(pPainter, tp, bPrinter);
    fitting.AddTable(PaddedTo(table, nCapacity));
    // The screen fits the width only: a long series scrolls.
    const QRect fit = nCapacity > 0 ? rect : QRect(rect.left(), rect.top(), rect.width(), kScreenHeight);
    const int nFont = fitting.Fit(fit, nMaxFont);
    CTableStack stack(pPainter, tp, bPrinter);
    stack.AddTable(table);
    return stack.Draw(rect, nFont);
}

} // namespace

// ---------------------------------------------------------------- automatic

qsizetype FindStepKey(const QString& strText, const QString& strKey)
{
    const QString strNeedle = strKey + QLatin1Char('=');
    for (qsizetype n = strText.indexOf(strNeedle); n >= 0; n = strText.indexOf(strNeedle, n + 1)) {
        if (n == 0 || strText.at(n - 1) == u';' || strText.at(n - 1).isSpace())
            return n;
    }
    return -1;
}

QString GetStepValue(const QStringList& step, const QString& strKey)
{
    for (const QString& strText : step) {
        const qsizetype n = FindStepKey(strText, strKey);
        if (n >= 0)
            return ValuePart(strText.mid(n + strKey.size() + 1));
    }
    return {};
}

QString GetStepField(const QStringList& step, const QString& strKey, bool bWithUnit)
{
    for (const QString& strText : step) {
        const qsizetype n = FindStepKey(strText, strKey);
        if (n < 0)
            continue;
        const QString strRest = strText.mid(n);
        QString strField = ValuePart(strRest);
        if (bWithUnit) {
            // A text may hold several fields: a part with "=" is the next
            // field, not a unit.
            const QString strUnit = ValuePart(UnitPart(strRest));
            if (!strUnit.isEmpty() && !strUnit.contains(QLatin1Char('=')))
                strField += QLatin1Char(' ') + strUnit;
        }
        return strField.replace(strKey.size(), 1, QStringLiteral(": "));
    }
    return {};
}

int StepLineCount(const QStringList& step)
{
    return GetStepValue(step, QStringLiteral("Type")) == u"RegisterTest" ? 4 : 3;
}

QList<int> AutomaticStepPages(const QList<QStringList>& steps, bool bLandscape)
{
    const int nFirst = bLandscape ? 20 : 32;
    const int nFurther = bLandscape ? 25 : 45;
    QList<int> pages;
    int nPage = 1, nUsed = 0, nCapacity = nFirst;
    for (const QStringList& step : steps) {
        const int nLines = StepLineCount(step);
        if (nUsed > 0 && nUsed + nLines > nCapacity) {
            ++nPage;
            nUsed = 0;
            nCapacity = nFurther;
        }
        nUsed += nLines;
        pages.append(nPage);
    }
    return pages;
}

int AutomaticPageCount(const CResultCache& cache, bool bLandscape)
{
    const QList<int> pages = AutomaticStepPages(cache.m_automaticLines, bLandscape);
    return pages.isEmpty() ? 0 : pages.last();
}

QSize CMeasurementTables::DrawAutomaticMeasurement(QPainter* pPainter, const QRect& rect, int nPage,
                                                   bool bLandscape) const
{
    int y = rect.top();
    QSize settingsSize(0, 0);
    int nMaxFont = FontCap(rect);
    if (nPage <= 1)
        nMaxFont = DrawSettings(pPainter, rect, y, settingsSize);

    CTextTable table(0, 7);
    table.m_bHasTitles = false;
    const QList<int> pages = AutomaticStepPages(m_cache.m_automaticLines, bLandscape);
    for (int i = 0; i < pages.size(); ++i) {
        if (nPage != 0 && pages[i] != nPage)
            continue;
        for (const QStringList& cells : StepRows(m_cache.m_automaticLines[i]))
            table.AddRow(cells);
    }
    const int nCapacity = nPage == 0 ? 0 : nPage == 1 ? (bLandscape ? 20 : 32) : (bLandscape ? 25 : 45);
    const QRect below(rect.left(), y, rect.width(), rect.bottom() + 1 - y);
    const QSize size = table.RowCount() > 0
                           ? DrawPagedTable(pPainter, m_textPainter, m_bPrinter, below, table, nCapacity, nMaxFont)
                           : QSize(0, 0);
    return QSize(qMax(settingsSize.width(), size.width()), y - rect.top() + size.height());
}

// ---------------------------------------------------------------- selective

namespace {

// The part holding a quantity's value; -1 for letters that select none.
int SelectivePart(const QString& strLetter)
{
    static const QString kLetters = QStringLiteral("UIPQS");
    if (strLetter.size() != 1)
        return -1;
    const qsizetype n = kLetters.indexOf(strLetter);
    return n < 0 ? -1 : 3 + 3 * static_cast<int>(n);
}

} // namespace

QString SelectiveValue(const QString& strEntry, const QString& strLetter)
{
    if (strLetter == u"N")
        return strEntry.section(QLatin1Char(';'), 1, 1);
    const int nPart = SelectivePart(strLetter);
    return nPart < 0 ? QString() : strEntry.section(QLatin1Char(';'), nPart, nPart);
}

QString SelectiveUnit(const QString& strEntry, const QString& strLetter)
{
    const int nPart = SelectivePart(strLetter);
    return nPart < 0 ? QString() : strEntry.section(QLatin1Char(';'), nPart + 1, nPart + 1);
}

QStringList SelectiveRows(const CResultCache& cache)
{
    QStringList rows;
    const QStringList entries = cache.KindSeries(QStringLiteral("HarmValue"));
    for (int i = 0; i < entries.size() && i < 41; ++i)
        if (!entries[i].isEmpty())
            rows.append(entries[i]);
    return rows;
}

QSize CMeasurementTables::DrawSelective(QPainter* pPainter, const QRect& rect, int nPage, bool bLandscape) const
{
    const QStringList rows = SelectiveRows(m_cache);
    const QString strChannelU = Field("ChannelU"), strChannelI = Field("ChannelI");
    const QString strChannel = strChannelU.isEmpty() ? strChannelI : strChannelU;
    const QString strSuffix = strChannel.size() < 3 ? QString() : strChannel.right(2);

    int y = rect.top();
    QSize settingsSize(0, 0), fieldSize(0, 0);
    int nMaxFont = FontCap(rect);
    if (nPage <= 1) {
        nMaxFont = DrawSettings(pPainter, rect, y, settingsSize);
        QStringList channels{strChannelU, strChannelI};
        channels.removeAll(QString());
        CTableStack field(pPainter, m_textPainter, m_bPrinter);
        field.AddField(LoadString(IDS_LABEL_CHANNEL), channels.join(QStringLiteral(" / ")));
        fieldSize = field.Draw(QRect(rect.left(), y, rect.width(), rect.bottom() + 1 - y), nMaxFont);
        y += fieldSize.height() + nMaxFont / 2;
    }

    // Only the quantities that were measured get a column.
    QStringList letters;
    for (const char* pszLetter : {"U", "I", "P", "Q", "S"}) {
        const QString strLetter = QLatin1String(pszLetter);
        for (const QString& strRow : rows)
            if (!SelectiveValue(strRow, strLetter).isEmpty()) {
                letters.append(strLetter);
                break;
            }
    }
    CTextTable table(0, static_cast<int>(letters.size()) + 1);
    table.m_bHasTitles = true;
    table.m_bHasRowHeads = true;
    for (int i = 0; i < letters.size(); ++i)
        table.SetTitle(i + 1, letters[i] + strSuffix);

    const CPageRows pageRows = PageRowsFor(bLandscape);
    qsizetype nFirst = 0, nCount = rows.size();
    int nCapacity = 0;
    if (nPage == 1) {
        nCount = pageRows.m_nFirst;
        nCapacity = pageRows.m_nFirst;
    } else if (nPage > 1) {
        nFirst = pageRows.m_nFirst + qsizetype(nPage - 2) * pageRows.m_nFurther;
        nCount = pageRows.m_nFurther;
        nCapacity = pageRows.m_nFurther;
    }
    for (qsizetype i = nFirst; i < rows.size() && i < nFirst + nCount; ++i) {
        QStringList cells{SelectiveValue(rows[i], QStringLiteral("N"))};
        for (const QString& strLetter : letters) {
            const QString strValue = SelectiveValue(rows[i], strLetter);
            cells.append(strValue.isEmpty() ? QString()
                                            : CellText(strValue + QLatin1Char(';') + SelectiveUnit(rows[i], strLetter)));
        }
        table.AddRow(cells);
    }
    const QRect below(rect.left(), y, rect.width(), rect.bottom() + 1 - y);
    const QSize size = DrawPagedTable(pPainter, m_textPainter, m_bPrinter, below, table, nCapacity, nMaxFont);
    const int nWidth = qMax(qMax(settingsSize.width(), fieldSize.width()), size.width());
    return QSize(nWidth, y - rect.top() + size.height());
}
