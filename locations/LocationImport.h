#pragma once

#include "core/Exception.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <vector>

class CXMLDocument;

// --- the CSV columns and the "ImportExport" settings ---------------------------

inline constexpr int kImportColumnCount = 26;
// Column 0 is the location's ID.
inline constexpr int kImportIdColumn = 0;

// The label of a column in the import dialog: "Vorname (Kunde)".
QString ImportColumnLabel(int nColumn);
// The block and element a column fills ("Customer", "Firstname").
QPair<const char*, const char*> ImportColumnTarget(int nColumn);

// Separator choices of the dialog, in the order of its buttons.
enum class ImportSeparator { Tab = 0, Semicolon, Comma, Blank, Other };

struct CImportSettings
{
    int m_nMode = 0;  // 0 XML files, 1 CSV file
    int m_nSeparator = 0;
    QString m_strOther;
    QList<int> m_order;

    static CImportSettings Load();
    void Store() const;
    // The separator character; a null character when "other" is chosen and
    // empty.
    QChar Separator() const;
};

// "3;0;99" -> {3, 0}: each token's leading digits, columns out of range and
// empty tokens dropped.
QList<int> ParseColumnOrder(const QString& strOrder);
QString FormatColumnOrder(const QList<int>& order);

// --- reading CSV text ----------------------------------------------------------

// The text of a CSV file as UTF-8: UTF-8 (with or without a byte-order
// mark), UTF-16 with a byte-order mark, and otherwise windows-1252.
QByteArray CsvToUtf8(const QByteArray& bytes);

// One record of a CSV text: the fields and the line it starts on (from 1).
struct CCsvRecord
{
    int m_nLine = 0;
    QStringList m_fields;
    // A quoted field ran to the end of the text; the record is unusable and
    // reading went on at the line after its start.
    bool m_bUnclosedQuote = false;
};

// Fields in double quotes may hold the separator, line breaks and doubled
// quotes; lines end in CR LF, LF or CR. Line breaks inside fields become LF.
std::vector<CCsvRecord> SplitCsvRecords(const QString& strText, QChar separator);

// --- importing -----------------------------------------------------------------

// What an import did; the names tell the tree which parts to follow.
struct CImportSummary
{
    int m_nAdded = 0;
    int m_nReplaced = 0;
    int m_nSkipped = 0;  // declined to overwrite
    int m_nRefused = 0;  // unusable lines
    int m_nResultsAdded = 0;
    int m_nResultsPresent = 0;
    QStringList m_refusals;
    QStringList m_groups;
    QStringList m_locations;
    QStringList m_resultIds;

    bool Changed() const { return m_nAdded + m_nReplaced + m_nResultsAdded > 0; }
    // The closing note: counts and the refused lines.
    QString Text(bool bCsv) const;
};

// A failed import, export or backup; its text holds the whole chain.
class CTransferException : public CException
{
public:
    explicit CTransferException(const QString& strText) : m_strText(strText) {}
    QString GetErrorMessage() const override { return m_strText; }

private:
    QString m_strText;
};

// Adds one location per usable line of the CSV file to the main file. An ID
// the file already holds is asked about (307): yes replaces that location in
// its place, no skips the line. Writes the file once; on any failure memory
// and file stay as they were and CTransferException tells why.
CImportSummary ImportCsv(CXMLDocument& xmlMain, const QString& strCsvPath, QChar separator, const QList<int>& order);

// Copies the locations (with their groups) of another main file and the
// results of another result file; either path may be empty. An existing ID
// is asked about (307): no leaves that location and its results out.
// Results the file already holds are not copied again. Both files are
// written or neither.
CImportSummary ImportXml(CXMLDocument& xmlMain, CXMLDocument& xmlResult, const QString& strSourceMain,
                         const QString& strSourceResult);

// Writes the main file and then the result file (either may be null); when
// the second fails, the first gets its previous bytes back (or is removed
// when bCreated says it was new) and memory follows the files again.
void SavePair(CXMLDocument* pMain, CXMLDocument* pResult, bool bMainCreated = false, bool bResultCreated = false);

// Whether two paths name the same file.
bool IsSameFile(const QString& strA, const QString& strB);
