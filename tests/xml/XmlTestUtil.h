#pragma once

#include "../common/TestSupport.h"
#include "xml/XMLDocument.h"
#include "xml/XMLException.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>

// Small helpers shared by the data-store tests.
namespace XmlTest {

using ::ReadBytes;
using ::WriteBytes;

// True when every LF is preceded by CR and no CR stands alone.
inline bool HasOnlyCrLf(const QByteArray& bytes)
{
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r'))
            return false;
        if (bytes[i] == '\r' && (i + 1 >= bytes.size() || bytes[i + 1] != '\n'))
            return false;
    }
    return true;
}

inline bool IsValidUtf8(const QByteArray& bytes)
{
    QStringDecoder dec(QStringConverter::Utf8);
    const QString s = dec.decode(bytes);
    return !dec.hasError();
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
