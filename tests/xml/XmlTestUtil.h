#pragma once

#include "../common/TestSupport.h"
#include "xml/XMLDocument.h"
#include "xml/XMLException.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// Small helpers shared by the data-store tests.
namespace XmlTest {

// The words of a text, blanks between them.
inline QStringList Split(const char* psz)
{
    return QString::fromUtf8(psz).split(u' ', Qt::SkipEmptyParts);
}

// A new file with the given bytes, opened in doc; its path.
inline QString Fresh(CXMLDocument& doc, const QByteArray& bytes)
{
    static QTemporaryDir dir;
    static int nFile = 0;
    const QString strPath = dir.filePath(QStringLiteral("f%1.xml").arg(++nFile));
    if (WriteBytes(strPath, bytes))
        doc.Open(strPath);
    return strPath;
}

// Runs the callable, expecting a CXMLException; returns it (or fails).
template <class F>
CXMLException ExpectXmlException(F&& f)
{
    try {
        f();
    } catch (const CXMLException& e) {
        return e;
    }
    return CXMLException(QStringLiteral("<no exception>"));
}

} // namespace XmlTest
