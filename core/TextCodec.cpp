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
