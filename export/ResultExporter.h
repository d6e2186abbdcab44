#pragma once

#include "core/Kinds.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class CXMLDocument;
struct CResultCache;

// The export command of the shown result. It remembers the last file of
// each kind for the rest of the run and proposes it the next time.
class CResultCsvExporter
{
public:
    // Asks for a file, starting from the given path; empty when cancelled.
    using FileChooser = std::function<QString(const QString& strInitial)>;

    explicit CResultCsvExporter(FileChooser chooser = {})
        : m_chooser(std::move(chooser))
    {
    }
    void SetFileChooser(FileChooser chooser) { m_chooser = std::move(chooser); }
    const FileChooser& GetFileChooser() const { return m_chooser; }

    QString GetPath(ResultKind kind) const;
    // Asks for the file of this kind; the choice becomes the remembered
    // path. Nothing for a cancel (the path stays) or a kind without export.
    std::optional<QString> ChooseFile(ResultKind kind);
    // Appends the result to the file; a failure is reported with its reason
    // (stop icon) and gives false.
    static bool WriteFile(const QString& strPath, const CResultCache& cache, ResultKind kind, int nNorm);

private:
    FileChooser m_chooser;
    QString m_strPaths[ToInt(ResultKind::Nothing) + 1];
};

// The selection of a command-line export.
struct CCsvBatchArgs
{
    // The target; "{kind}" in it stands for the kind's name ("Value", ...).
    QString m_strFile;
    std::optional<QString> m_id;
    std::optional<ResultKind> m_kind;
    QDate m_from, m_to;  // inclusive; null for open ends
    int m_nNorm = 0;
};

struct CCsvBatchReport
{
    int m_nResults = 0;
    qint64 m_nLines = 0;
    QStringList m_files;
};

// The placeholder of the kind in a command-line export's file name.
inline QLatin1String KindPlaceholder()
{
    return QLatin1String("{kind}");
}

// Appends every matching result of the result file, by the rules of the
// export command, one file per kind. A selection of several kinds needs
// the placeholder in the file name. Nothing is written unless every file
// was written completely. Throws CException with the text for the user.
CCsvBatchReport ExportResultsCsv(CXMLDocument& results, const CCsvBatchArgs& args);

// A date of the command line: "dd.MM.yyyy" or "yyyy-MM-dd"; null when neither.
QDate ParseCommandLineDate(const QString& strText);
