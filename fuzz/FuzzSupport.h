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
    // XML 1.0 itself: a prefix nobody declared is kept as the file had it,
    // and so is a colon in an instruction's target, which XML 1.0 allows
    // and the reader refuses even without namespaces.
    QByteArray checked = bytes;
    for (qsizetype i = checked.indexOf("<?"); i >= 0; i = checked.indexOf("<?", i + 2)) {
        for (qsizetype k = i + 2; k < checked.size() && checked[k] != ' ' && checked[k] != '?' && checked[k] != '\t'
                                  && checked[k] != '\r' && checked[k] != '\n';
             ++k) {
            if (checked[k] == ':')
                checked[k] = '_';
        }
    }
    QXmlStreamReader reader(checked);
    reader.setNamespaceProcessing(false);
    while (!reader.atEnd())
        reader.readNext();
    return !reader.hasError();
}
