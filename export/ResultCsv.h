#pragma once

#include "core/Kinds.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>
#include <pugixml.hpp>

#include <array>
#include <optional>
#include <vector>

struct CResultCache;

// The texts of one result that its CSV lines are made of, as UTF-8 views:
// straight into the document's text for a bulk export, which reads
// thousands of results, and into copies of its own for the shown result.
// One object is reused from result to result.
struct CResultTexts
{
    using Text = QByteArrayView;

    // A "Result" element of the result file, read as the view reads it.
    void Load(pugi::xml_node element);
    // The result as the view holds it (a sample of a series included).
    void Load(const CResultCache& cache);
    // The kind of a "Result" element, by its "Function"; the texts of an
    // earlier Load may be gone after it.
    std::optional<ResultKind> KindOf(pugi::xml_node element);

    // What the line code reads: its fields by number, then the actual
    // values by quantity and phase.
    std::optional<ResultKind> m_kind;  // of "Function"
    std::vector<Text> m_slots;
    // "SampleA", "SampleB", "Harm", "HarmValue", one text per element.
    std::vector<Text> m_repeated[4];
    // The entries of a continuous series.
    struct CSample
    {
        Text m_stamp;
        std::vector<Text> m_values;
    };
    std::vector<CSample> m_series;
    qsizetype m_nSeries = 0;
    int m_nSample = -1;
    // The lines of each step of an automatic measurement.
    QList<QStringList> m_steps;

private:
    void Clear();
    void Fill(size_t nSlot, Text text)
    {
        m_slots[nSlot] = text;
        if (m_nFilled < m_filled.size())
            m_filled[m_nFilled] = quint16(nSlot);
        ++m_nFilled;
    }
    Text Own(const QString& str);
    Text LeafText(pugi::xml_node node);
    Text LeafText(pugi::xml_node node, pugi::xml_node first);

    std::vector<int> m_places;
    // The slots set since Clear (all of them are emptied when more were set).
    std::array<quint16, 512> m_filled;
    size_t m_nFilled = 0;
    QList<QByteArray> m_storage;
};

// Whether results of the kind can be exported (3 to 18 but the sample, 13).
bool IsCsvExportKind(ResultKind kind);

// The column titles of a kind; empty for kinds without export.
QStringList ResultCsvHeader(ResultKind kind);

// Appends the data lines of the result, shown as `kind`, to `out` in UTF-8
// (see CCsvLineWriter), one cell per title: a continuous series gives a line
// per sample, an automatic measurement a line per test step, a sample of a
// series shown as Value its own line. Angles between voltage and current
// follow the angle norm, as on the screen. Gives the number of lines.
qsizetype AppendResultCsvLines(QByteArray& out, const CResultTexts& texts, ResultKind kind, int nNorm);

// Whether the export command applies to a tree item: a result item (not a
// container) without children, or a continuous series with its samples.
bool IsResultExportEnabled(bool bHasItem, bool bIsContainer, bool bHasChildren, ResultKind kind);
