#pragma once

#include "core/Exception.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>

// A failed CSV export: the complete text for the user.
class CExportException : public CException
{
public:
    explicit CExportException(const QString& strMessage)
        : m_strMessage(strMessage)
    {
    }
    QString GetErrorMessage() const override { return m_strMessage; }

private:
    QString m_strMessage;
};

// Appends lines to a semicolon-separated file, never truncating it. A file
// that is empty (0 or 1 byte) first receives the header line. Every cell is
// ended by ";"; a cell holding ";", a double quote or a line break is put in
// double quotes with inner quotes doubled, all others stay as they are.
//
// Encoding: a new (0-byte) file is written as UTF-8 with a byte order mark,
// which spreadsheet programs open with umlauts intact; a file that starts with
// that mark goes on in UTF-8; any other existing file is appended in
// windows-1252, so its lines stay readable together.
//
// Lines are collected and written in large blocks; a write that fails
// (folder gone, disk full, file read-only) cuts the file back to the length
// it had, so no half line stays behind, and throws CExportException.
class CCsvFile
{
public:
    CCsvFile() = default;
    ~CCsvFile();
    CCsvFile(const CCsvFile&) = delete;
    CCsvFile& operator=(const CCsvFile&) = delete;

    // Opens (creating when missing) and remembers the length; the header is
    // written with the first line when the file was empty.
    void Open(const QString& strPath, const QStringList& header);
    void AddLine(const QStringList& cells);
    // Writes what is pending and closes; throws on failure (after the cut).
    void Commit();
    // Takes back everything written since Open.
    void Rollback();

    bool IsUtf8() const { return m_bUtf8; }
    bool WroteHeader() const { return m_bHeader; }
    qint64 GetLineCount() const { return m_nLines; }

    // The cell as it stands in the file, without its ";".
    static QString QuoteCell(const QString& strCell);
    // One line: every cell followed by ";", then the line end.
    static QString FormatLine(const QStringList& cells);
    // The platform's text line end.
    static QLatin1String LineEnd();

private:
    void Append(const QString& strLine);
    void Flush();
    [[noreturn]] void Fail(const QString& strReason);

    QFile m_file;
    QString m_strPath;
    qint64 m_nOriginalSize = 0;
    bool m_bUtf8 = true;
    bool m_bHeader = false;
    qint64 m_nLines = 0;
    QByteArray m_pending;
};

// Appends the header (into an empty file) and the lines in one go.
void AppendCsvLines(const QString& strPath, const QStringList& header, const QList<QStringList>& rows);
