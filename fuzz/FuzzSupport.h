#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QStringDecoder>
#include <QXmlStreamReader>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

// One application object for the whole run: the string table translates
// through it.
inline void FuzzInit()
{
    static int argc = 1;
    static char name[] = "qarda-fuzz";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
}

inline QByteArray FuzzBytes(const uint8_t* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

// A broken promise of the program: abort, so libFuzzer keeps the input.
#define FUZZ_CHECK(cond)                                                                   \
    do {                                                                                   \
        if (!(cond)) {                                                                     \
            std::fprintf(stderr, "check failed: %s (%s:%d)\n", #cond, __FILE__, __LINE__); \
            std::abort();                                                                  \
        }                                                                                  \
    } while (0)

// What any strict XML parser takes: valid UTF-8, no control characters
// other than tab and line ends, and well-formed for Qt's XML 1.0 reader,
// which also refuses character references to characters XML does not allow.
inline bool IsStrictXmlText(const QByteArray& bytes)
{
    QStringDecoder decoder(QStringConverter::Utf8);
    const QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return false;
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r')
            return false;
    }
    // XML 1.0 itself, without the namespace rules the reader keeps even
    // with namespace processing off (a colon at the start of a name or in an
    // instruction's target): the program keeps names as the file had them.
    // A colon is allowed wherever XML 1.0 allows an underscore, so the
    // reader is given underscores.
    QByteArray checked = bytes;
    checked.replace(':', '_');
    QXmlStreamReader reader(checked);
    reader.setNamespaceProcessing(false);
    while (!reader.atEnd())
        reader.readNext();
    return !reader.hasError();
}
