// ParseNumber and ParseInt read stored values the same way in every locale,
// and FormatNumberC writes them so.

#include "../common/TestSupport.h"
#include "core/Number.h"

#include <QTemporaryDir>
#include <QTest>

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <limits>

class TestNumber : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_localeDir;

private slots:
    void parseNumber_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("expected");
        QTest::newRow("point") << QStringLiteral("230.5") << 230.5;
        QTest::newRow("comma stops") << QStringLiteral("230,5") << 230.0;
        QTest::newRow("exponent and unit") << QStringLiteral("-1.5e3;V") << -1500.0;
        QTest::newRow("unit") << QStringLiteral("12.5;kWh") << 12.5;
        QTest::newRow("no number") << QStringLiteral("abc") << 0.0;
        QTest::newRow("unavailable") << QStringLiteral("---;V") << 0.0;
        QTest::newRow("leading space") << QStringLiteral(" 12") << 12.0;
        QTest::newRow("leading tab and newline") << QStringLiteral("\t\n7.25") << 7.25;
        QTest::newRow("empty") << QString() << 0.0;
        QTest::newRow("plus") << QStringLiteral("+3.5") << 3.5;
        QTest::newRow("point first") << QStringLiteral(".5") << 0.5;
        QTest::newRow("point last") << QStringLiteral("5.;A") << 5.0;
        QTest::newRow("lone sign") << QStringLiteral("-") << 0.0;
        QTest::newRow("two signs") << QStringLiteral("--5") << 0.0;
        QTest::newRow("plus minus") << QStringLiteral("+-5") << 0.0;
        QTest::newRow("minus plus") << QStringLiteral("-+5") << 0.0;
        QTest::newRow("sign then space") << QStringLiteral("- 5") << 0.0;
        QTest::newRow("exponent without digits") << QStringLiteral("2e;V") << 2.0;
        QTest::newRow("negative exponent") << QStringLiteral("25E-1") << 2.5;
        QTest::newRow("minus zero") << QStringLiteral("-0") << 0.0;
        QTest::newRow("non-Latin text") << QStringLiteral("Ωx") << 0.0;
        QTest::newRow("thousands are not grouped") << QStringLiteral("1.234,5") << 1.234;
        QTest::newRow("underflow") << QStringLiteral("1e-400") << 0.0;
        QTest::newRow("underflow below a point") << QStringLiteral("-0.000001e-320;V") << 0.0;
        QTest::newRow("denormal") << QStringLiteral("1e-310") << 1e-310;
        QTest::newRow("overflow") << QStringLiteral("1e400") << HUGE_VAL;
        QTest::newRow("overflow by digits")
            << QStringLiteral("1") + QString(400, u'0') + QStringLiteral("e-10") << HUGE_VAL;
    }
    void parseNumber()
    {
        QFETCH(QString, text);
        QFETCH(double, expected);
        QCOMPARE(ParseNumber(text), expected);
        // The C library in the C locale agrees.
        std::setlocale(LC_NUMERIC, "C");
        QCOMPARE(ParseNumber(text), std::strtod(text.toLatin1().constData(), nullptr));
    }

    void parseInt_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("expected");
        QTest::newRow("plain") << QStringLiteral("42") << 42;
        QTest::newRow("space and sign") << QStringLiteral("  -17x") << -17;
        QTest::newRow("plus") << QStringLiteral("+8") << 8;
        QTest::newRow("decimal stops") << QStringLiteral("12.9") << 12;
        QTest::newRow("no digits") << QStringLiteral("abc") << 0;
        QTest::newRow("empty") << QString() << 0;
        QTest::newRow("two signs") << QStringLiteral("--3") << 0;
        QTest::newRow("max") << QStringLiteral("2147483647") << std::numeric_limits<int>::max();
        QTest::newRow("min") << QStringLiteral("-2147483648") << std::numeric_limits<int>::min();
        QTest::newRow("too big") << QStringLiteral("99999999999999999999") << std::numeric_limits<int>::max();
        QTest::newRow("too small") << QStringLiteral("-99999999999999999999") << std::numeric_limits<int>::min();
        QTest::newRow("leading zeros") << QStringLiteral("007") << 7;
    }
    void parseInt()
    {
        QFETCH(QString, text);
        QFETCH(int, expected);
        QCOMPARE(ParseInt(text), expected);
    }

    void germanLocale_data() { parseNumber_data(); }
    void germanLocale()
    {
        QFETCH(QString, text);
        QFETCH(double, expected);
        static const bool bGerman = SetGermanLocale(m_localeDir);
        if (!bGerman)
            QSKIP("no German locale available (none installed, none could be built)");
        QVERIFY(std::setlocale(LC_ALL, "de_DE.UTF-8"));
        // The locale really uses a comma: the C library reads "230,5" as 230.5.
        QCOMPARE(std::strtod("230,5", nullptr), 230.5);
        const double dGerman = ParseNumber(text);
        const int nGerman = ParseInt(text);
        // Stored numbers are written with a point as well.
        const QString strWritten = FormatNumberC("%.2f", 230.5);
        std::setlocale(LC_ALL, "C");
        QCOMPARE(dGerman, expected);
        QCOMPARE(nGerman, ParseInt(text));
        QCOMPARE(strWritten, QStringLiteral("230.50"));
    }

    void cleanupTestCase() { std::setlocale(LC_ALL, "C"); }
};

QTEST_GUILESS_MAIN(TestNumber)
#include "tst_number.moc"
