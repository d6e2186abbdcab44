#pragma once

#include "core/Exception.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QFile>
#include <QString>
#include <QStringList>

#include <cstring>

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

// Builds lines of cells as UTF-8 bytes at the end of a buffer. Every cell is
// ended by ";"; a cell holding ";", a double quote or a line break is put in
// double quotes with inner quotes doubled, all others stay as they are. A
// line with bytes that are no UTF-8 has them replaced, so the file stays
// readable. The buffer has its final length when the writer is gone.
class CCsvLineWriter
{
public:
    explicit CCsvLineWriter(QByteArray& out);
    ~CCsvLineWriter() { m_out.resize(m_nSize); }
    CCsvLineWriter(const CCsvLineWriter&) = delete;
    CCsvLineWriter& operator=(const CCsvLineWriter&) = delete;

    // The text as it is.
    void Cell(QByteArrayView text) { Cell(text, {}); }
    // "value unit", the value alone when the unit is empty, an empty cell
    // when the value is.
    void Cell(QByteArrayView value, QByteArrayView unit);
    // A stored value text: "230.50;V" gives "230.50 V" (the text before the
    // first ";", a blank, the text up to the next ";"); a text without ";"
    // stays as it is; a value without a number gives an empty cell.
    void ValueCell(QByteArrayView text);
    void Cell(QStringView text) { Cell(QByteArrayView(text.toUtf8())); }
    void EmptyCell()
    {
        Reserve(1);
        m_p[m_nSize++] = ';';
    }
    void EndLine();

    // The platform's text line end.
    static QByteArrayView LineEnd();

private:
    void Reserve(qsizetype n)
    {
        if (m_nSize + n > m_nCapacity)
            Grow(n);
    }
    void Grow(qsizetype n);
    void Put(QByteArrayView text)
    {
        Reserve(text.size());
        std::memcpy(m_p + m_nSize, text.data(), size_t(text.size()));
        m_nSize += text.size();
    }
    // The caller has reserved a byte for the ";" beyond the cell.
    void EndCell(qsizetype nStart, unsigned char nClass)
    {
        m_bHigh |= (nClass & 2) != 0;
        if (nClass & 1)
            Quote(nStart);
        m_p[m_nSize++] = ';';
    }
    void Quote(qsizetype nStart);

    QByteArray& m_out;
    char* m_p;
    qsizetype m_nSize;
    qsizetype m_nCapacity;
    qsizetype m_nLineStart;
    bool m_bHigh = false;
};

// Appends lines to a semicolon-separated file, never truncating it. A file
// that is empty (0 or 1 byte) first receives the header line.
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
    // written with the first lines when the file was empty.
    void Open(const QString& strPath, const QStringList& header);
    // Where complete UTF-8 lines are appended (see CCsvLineWriter); tell
    // the file with LinesAdded.
    QByteArray& GetBuffer();
    void LinesAdded(qsizetype nLines);
    // Writes what is pending and closes; throws on failure (after the cut).
    void Commit();
    // Takes back everything written since Open, also after Commit.
    void Rollback();

    bool IsUtf8() const { return m_bUtf8; }
    bool WroteHeader() const { return m_bHeader; }
    qint64 GetLineCount() const { return m_nLines; }

private:
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
