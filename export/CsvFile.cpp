#include "export/CsvFile.h"

#include "core/TextCodec.h"
#include "resources/StringTable.h"

namespace {
const char g_bom[] = "\xEF\xBB\xBF";
// Pending bytes are written in blocks of about this size.
constexpr qsizetype kBlock = 4 * 1024 * 1024;

// Bytes that make a cell quoted (1), and those outside ASCII (2).
constexpr auto g_byteClass = [] {
    struct Table
    {
        unsigned char c[256] = {};
    } t;
    for (unsigned char ch : {';', '"', '\n', '\r'})
        t.c[ch] = 1;
    for (int i = 0x80; i < 0x100; ++i)
        t.c[i] = 2;
    return t;
}();
}  // namespace

QByteArrayView CCsvLineWriter::LineEnd()
{
#ifdef Q_OS_WIN
    return "\r\n";
#else
    return "\n";
#endif
}

CCsvLineWriter::CCsvLineWriter(QByteArray& out)
    : m_out(out)
    , m_nSize(out.size())
    , m_nLineStart(out.size())
{
    // The whole memory the buffer holds is used before it grows: growing it
    // for every result would move it again and again.
    m_out.resize(std::max(m_out.capacity(), m_nSize));
    m_p = m_out.data();
    m_nCapacity = m_out.size();
}

void CCsvLineWriter::Grow(qsizetype n)
{
    m_out.reserve(std::max(2 * m_nCapacity, m_nSize + n + 64 * 1024));
    m_out.resize(m_out.capacity());
    m_p = m_out.data();
    m_nCapacity = m_out.size();
}

namespace {
// Copies the text and notes the classes of its bytes.
inline char* CopyText(char* pOut, QByteArrayView text, unsigned char& nClass)
{
    for (const char c : text) {
        nClass |= g_byteClass.c[static_cast<unsigned char>(c)];
        *pOut++ = c;
    }
    return pOut;
}
}  // namespace

void CCsvLineWriter::Cell(QByteArrayView value, QByteArrayView unit)
{
    const qsizetype nStart = m_nSize;
    Reserve(value.size() + unit.size() + 2);
    unsigned char nClass = 0;
    if (!value.isEmpty()) {
        char* pOut = CopyText(m_p + m_nSize, value, nClass);
        if (!unit.isEmpty()) {
            *pOut++ = ' ';
            pOut = CopyText(pOut, unit, nClass);
        }
        m_nSize = pOut - m_p;
    }
    EndCell(nStart, nClass);
}

void CCsvLineWriter::ValueCell(QByteArrayView text)
{
    // One pass: the texts are many and short, and often empty.
    if (text.isEmpty()) {
        EmptyCell();
        return;
    }
    const qsizetype nStart = m_nSize;
    Reserve(text.size() + 1);
    const char* p = text.data();
    const char* const end = p + text.size();
    char* pOut = m_p + m_nSize;
    unsigned char nClass = 0;
    for (; p < end && *p != ';'; ++p) {
        nClass |= g_byteClass.c[static_cast<unsigned char>(*p)];
        *pOut++ = *p;
    }
    if (pOut != m_p + m_nSize && p + 1 < end && p[1] != ';') {
        *pOut++ = ' ';
        for (++p; p < end && *p != ';'; ++p) {
            nClass |= g_byteClass.c[static_cast<unsigned char>(*p)];
            *pOut++ = *p;
        }
    }
    m_nSize = pOut - m_p;
    EndCell(nStart, nClass);
}

void CCsvLineWriter::Quote(qsizetype nStart)
{
    const QByteArray cell(m_p + nStart, m_nSize - nStart);
    m_nSize = nStart;
    Reserve(2 * cell.size() + 3);
    m_p[m_nSize++] = '"';
    for (const char c : cell) {
        if (c == '"')
            m_p[m_nSize++] = '"';
        m_p[m_nSize++] = c;
    }
    m_p[m_nSize++] = '"';
}

void CCsvLineWriter::EndLine()
{
    Put(LineEnd());
    const QByteArrayView line(m_p + m_nLineStart, m_nSize - m_nLineStart);
    if (m_bHigh && !line.isValidUtf8()) {
        const QByteArray valid = QString::fromUtf8(line).toUtf8();
        m_nSize = m_nLineStart;
        Put(valid);
    }
    m_nLineStart = m_nSize;
    m_bHigh = false;
}

CCsvFile::~CCsvFile()
{
    // Left open by an exception between Open and Commit: nothing of it stays.
    if (m_file.isOpen())
        Rollback();
}

void CCsvFile::Open(const QString& strPath, const QStringList& header)
{
    m_strPath = strPath;
    m_pending.clear();
    m_nLines = 0;
    m_file.setFileName(strPath);
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        throw CExportException(LoadString(IDS_EXPORT_OPEN_FAILED).arg(strPath, m_file.errorString()));
    m_nOriginalSize = m_file.size();
    m_bHeader = m_nOriginalSize <= 1;
    if (m_nOriginalSize == 0) {
        m_bUtf8 = true;
        m_pending.append(g_bom, 3);
    } else {
        QFile probe(strPath);
        m_bUtf8 = probe.open(QIODevice::ReadOnly) && probe.read(3) == QByteArray(g_bom, 3);
    }
    if (m_bHeader) {
        CCsvLineWriter line(m_pending);
        for (const QString& strTitle : header)
            line.Cell(strTitle);
        line.EndLine();
    }
}

void CCsvFile::LinesAdded(qsizetype nLines)
{
    m_nLines += nLines;
    if (m_pending.size() >= kBlock)
        Flush();
}

void CCsvFile::Flush()
{
    if (m_pending.isEmpty())
        return;
    // The lines are made as UTF-8; an older file gets its own encoding.
    if (!m_bUtf8) {
        bool bAscii = true;
        for (const char c : std::as_const(m_pending))
            bAscii = bAscii && (c & 0x80) == 0;
        if (!bAscii)
            m_pending = EncodeWindows1252(QString::fromUtf8(m_pending));
    }
    const qint64 nWritten = m_file.write(m_pending);
    if (nWritten != m_pending.size())
        Fail(m_file.errorString());
    m_pending.resize(0);  // keeps its memory for the next block
}

void CCsvFile::Commit()
{
    Flush();
    if (!m_file.flush())
        Fail(m_file.errorString());
    m_file.close();
    if (m_file.error() != QFileDevice::NoError)
        Fail(m_file.errorString());
    m_pending = QByteArray();  // its memory serves the next file
}

QByteArray& CCsvFile::GetBuffer()
{
    // One block and the lines that end it, without moving.
    if (m_pending.capacity() < kBlock)
        m_pending.reserve(kBlock + kBlock / 4);
    return m_pending;
}

void CCsvFile::Rollback()
{
    m_pending.clear();
    if (m_file.isOpen()) {
        m_file.resize(m_nOriginalSize);
        m_file.close();
    } else {
        QFile::resize(m_strPath, m_nOriginalSize);
    }
}

void CCsvFile::Fail(const QString& strReason)
{
    Rollback();
    throw CExportException(LoadString(IDS_EXPORT_WRITE_FAILED).arg(m_strPath, strReason));
}
