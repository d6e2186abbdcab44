// windows-1252: the device's character set and that of older data files.

#include "core/TextCodec.h"

#include <QTest>

class TestTextCodec : public QObject
{
    Q_OBJECT

private slots:
    void convert_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("ASCII") << QByteArray("U1;230.5;V") << QStringLiteral("U1;230.5;V");
        QTest::newRow("umlauts") << QByteArray("\xc4\xd6\xdc\xe4\xf6\xfc\xdf") << QStringLiteral("ÄÖÜäöüß");
        QTest::newRow("micro and degree") << QByteArray("\xb5V 20\xb0") << QStringLiteral("µV 20°");
        QTest::newRow("euro") << QByteArray("5\x80") << QStringLiteral("5€");
        QTest::newRow("quotes and dashes") << QByteArray("\x84x\x93 \x96 \x97") << QStringLiteral("„x“ – —");
        QTest::newRow("undefined bytes stay C1")
            << QByteArray("\x81\x8d\x8f\x90\x9d") << QStringView(u"\u0081\u008d\u008f\u0090\u009d").toString();
        QTest::newRow("NUL") << QByteArray("a\0b", 3) << QStringView(u"a\u0000b", 3).toString();
        QTest::newRow("empty") << QByteArray() << QString();
        // Written only: what the character set lacks becomes '?'; a character
        // outside the basic plane is one character, one '?'.
        QTest::newRow("Greek") << QByteArray("?=1") << QStringLiteral("Ω=1");
        QTest::newRow("C1 with a 1252 meaning") << QByteArray("??") << QStringView(u"\u0080\u0093").toString();
        QTest::newRow("emoji") << QByteArray("a?b") << QStringLiteral("a\U0001F600b");
    }
    void convert()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(EncodeWindows1252(text), bytes);
        if (bytes.contains('?'))
            return;  // a character the set lacks: written only
        QCOMPARE(DecodeWindows1252(bytes), text);
        QCOMPARE(DecodeWindows1252(bytes.constData(), bytes.size()), text);
    }

    void roundTripAllBytes()
    {
        QByteArray all(256, Qt::Uninitialized);
        for (int i = 0; i < 256; ++i)
            all[i] = static_cast<char>(i);
        const QString text = DecodeWindows1252(all);
        QCOMPARE(text.size(), 256);
        QCOMPARE(EncodeWindows1252(text), all);
    }

    // Garbled device answers are shown in the monitor and in messages with
    // their control characters written out, never obeyed by the widget.
    void escapeControls_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        QTest::newRow("SOH and ESC") << QStringLiteral("A\x01Z\x1b") << QStringLiteral("A\\x01Z\\x1b");
        QTest::newRow("NUL inside") << QString::fromUtf16(u"I\0D", 3) << QStringLiteral("I\\x00D");
        QTest::newRow("tab stays, DEL escaped") << QStringLiteral("a\tb\x7f") << QStringLiteral("a\tb\\x7f");
        QTest::newRow("umlauts stay") << QStringLiteral("Zähler") << QStringLiteral("Zähler");
    }
    void escapeControls()
    {
        QFETCH(QString, text);
        QTEST(EscapeControls(text), "shown");
    }
};

QTEST_GUILESS_MAIN(TestTextCodec)
#include "tst_textcodec.moc"
