#pragma once

#include <QByteArray>
#include <QString>

// windows-1252: the device's character set and a common declaration of older
// data files. Bytes 0x80-0x9F carry typographic characters there, unlike
// ISO-8859-1; the five bytes windows-1252 leaves undefined map to the C1
// control with the same number, so no byte is lost.
QString DecodeWindows1252(const QByteArray& bytes);
QString DecodeWindows1252(const char* pData, qsizetype nSize);

// Characters outside windows-1252 become '?'.
QByteArray EncodeWindows1252(const QString& str);

// The text with only the characters XML 1.0 allows: each control character
// other than tab, line feed and carriage return (NUL included, which would
// otherwise cut the text) becomes the four characters "\xNN", so distinct
// texts stay distinct and readable; unpaired surrogates and U+FFFE/U+FFFF
// become U+FFFD.
QString XmlSafeText(const QString& str);

// The same escape for showing device answers in messages and the monitor:
// every control character but tab is written as "\xNN".
QString EscapeControls(const QString& str);
