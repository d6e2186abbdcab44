#include "export/CsvFile.h"

#include "core/TextCodec.h"
#include "resources/StringTable.h"

namespace {
const char g_bom[] = "\xEF\xBB\xBF";
// Pending bytes are written in blocks of about this size.
constexpr qsizetype kBlock = 4 * 1024 * 1024;
}  // namespace

CCsvFile::~CCsvFile()
{
    // Left open by an exception between Open and Commit: nothing of it stays.
    if (m_file.isOpen())
        Rollback();
}

QLatin1String CCsvFile::LineEnd()
{
#ifdef Q_OS_WIN
    return QLatin1String("\r\n");
#else
    return QLatin1String("\n");
#endif
}

QString CCsvFile::QuoteCell(const QString& strCell)
{
    for (const QChar c : strCell) {
        if (c == QLatin1Char(';') || c == QLatin1Char('"') || c == QLatin1Char('\n') || c == QLatin1Char('\r')) {
            QString str = strCell;
            str.replace(QLatin1Char('"'), QLatin1String("\"\""));
            return QLatin1Char('"') + str + QLatin1Char('"');
        }
    }
    return strCell;
}

QString CCsvFile::FormatLine(const QStringList& cells)
{
    QString str;
    for (const QString& strCell : cells) {
        str += QuoteCell(strCell);
        str += QLatin1Char(';');
    }
    str += LineEnd();
    return str;
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
    if (m_bHeader)
        Append(FormatLine(header));
}

void CCsvFile::AddLine(const QStringList& cells)
{
    Append(FormatLine(cells));
    ++m_nLines;
    if (m_pending.size() >= kBlock)
        Flush();
}

void CCsvFile::Append(const QString& strLine)
{
    m_pending += m_bUtf8 ? strLine.toUtf8() : EncodeWindows1252(strLine);
}

void CCsvFile::Flush()
{
    if (m_pending.isEmpty())
        return;
    const qint64 nWritten = m_file.write(m_pending);
    if (nWritten != m_pending.size())
        Fail(m_file.errorString());
    m_pending.clear();
}

void CCsvFile::Commit()
{
    Flush();
    if (!m_file.flush())
        Fail(m_file.errorString());
    m_file.close();
    if (m_file.error() != QFileDevice::NoError)
        Fail(m_file.errorString());
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

void AppendCsvLines(const QString& strPath, const QStringList& header, const QList<QStringList>& rows)
{
    CCsvFile file;
    file.Open(strPath, header);
    for (const QStringList& row : rows)
        file.AddLine(row);
    file.Commit();
}
