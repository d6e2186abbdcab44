#include "core/TextCodec.h"

namespace {
const char16_t g_high[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 98
};
}

QString DecodeWindows1252(const char* pData, qsizetype nSize)
{
    QString str(nSize, Qt::Uninitialized);
    QChar* out = str.data();
    for (qsizetype i = 0; i < nSize; ++i) {
        const auto b = static_cast<unsigned char>(pData[i]);
        out[i] = (b >= 0x80 && b < 0xA0) ? QChar(g_high[b - 0x80]) : QChar(char16_t(b));
    }
    return str;
}

QString DecodeWindows1252(const QByteArray& bytes)
{
    return DecodeWindows1252(bytes.constData(), bytes.size());
}

QByteArray EncodeWindows1252(const QString& str)
{
    QByteArray bytes;
    bytes.reserve(str.size());
    for (qsizetype i = 0; i < str.size(); ++i) {
        const char16_t c = str.at(i).unicode();
        char b = '?';
        if (c < 0x80 || (c >= 0xA0 && c < 0x100)) {
            b = static_cast<char>(c);
        } else if (QChar::isHighSurrogate(c) && i + 1 < str.size() && str.at(i + 1).isLowSurrogate()) {
            ++i;  // one character outside the basic plane: one '?'
        } else {
            for (int k = 0; k < 32; ++k) {
                if (g_high[k] == c) {
                    b = static_cast<char>(0x80 + k);
                    break;
                }
            }
        }
        bytes.append(b);
    }
    return bytes;
}

namespace {

bool IsXmlControl(char16_t c)
{
    return c < 0x20 && c != u'\t' && c != u'\n' && c != u'\r';
}

QString HexEscape(char16_t c)
{
    return QStringLiteral("\\x%1").arg(static_cast<unsigned>(c), 2, 16, QLatin1Char('0'));
}

} // namespace

QString XmlSafeText(const QString& str)
{
    const char16_t* p = reinterpret_cast<const char16_t*>(str.utf16());
    const qsizetype n = str.size();
    qsizetype i = 0;
    // Nearly every text is clean: it is returned without a copy.
    for (; i < n; ++i) {
        const char16_t c = p[i];
        if (IsXmlControl(c) || c >= 0xD800)
            break;
    }
    if (i == n)
        return str;
    QString out = str.left(i);
    for (; i < n; ++i) {
        const char16_t c = p[i];
        if (IsXmlControl(c)) {
            out += HexEscape(c);
        } else if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(p[i + 1])) {
            out += QChar(c);
            out += QChar(p[++i]);
        } else if (QChar::isSurrogate(c) || c == 0xFFFE || c == 0xFFFF) {
            out += QChar(QChar::ReplacementCharacter);
        } else {
            out += QChar(c);
        }
    }
    return out;
}

QString EscapeControls(const QString& str)
{
    QString out;
    out.reserve(str.size());
    for (const QChar ch : str) {
        const char16_t c = ch.unicode();
        if ((c < 0x20 && c != u'\t') || c == 0x7F)
            out += HexEscape(c);
        else
            out += ch;
    }
    return out;
}
