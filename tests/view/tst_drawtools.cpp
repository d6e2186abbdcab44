// The drawing toolkit: units, tables, text boxes.

#include "PaintRecorder.h"

#include "view/TextPainter.h"
#include "view/TextTable.h"
#include "view/Units.h"

#include <QGuiApplication>
#include <QPainter>
#include <QTest>

#include <cmath>

namespace {

CTextTable MakePhaseTable()
{
    CTextTable t(3, 5);
    t.m_bHasRowHeads = true;
    t.m_bHasUnits = true;
    for (int c = 1; c <= 3; ++c)
        t.SetTitle(c, QStringLiteral("L%1").arg(c));
    const QStringList rows[3] = {QStringLiteral("UPN|230.12|229.87|230.45|V").split(QLatin1Char('|')),
                                 QStringLiteral("I|5.012|4.987|5.034|A").split(QLatin1Char('|')),
                                 QStringLiteral("Lambda|0.9397|---|0.9396|").split(QLatin1Char('|'))};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 5; ++c)
            t.SetCell(c, r, rows[r][c]);
    return t;
}

} // namespace

class TestDrawTools : public QObject
{
    Q_OBJECT

private slots:
    void convertUnit_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<double>("expected");
        QTest::newRow("mA to A") << 1500.0 << QStringLiteral("mA") << QStringLiteral("A") << 1.5;
        QTest::newRow("kV to V") << 0.4 << QStringLiteral("kV") << QStringLiteral("V") << 400.0;
        QTest::newRow("V to A: other dimension") << 5.0 << QStringLiteral("V") << QStringLiteral("A") << 5.0;
        QTest::newRow("m is the metre") << 2.0 << QStringLiteral("m") << QStringLiteral("mm") << 2000.0;
        QTest::newRow("centi") << 150.0 << QStringLiteral("cm") << QStringLiteral("m") << 1.5;
        QTest::newRow("micro sign") << 2500.0 << QString(QChar(0xB5)) + QLatin1String("A") << QStringLiteral("mA")
                                    << 2.5;
        QTest::newRow("u as micro") << 2500.0 << QStringLiteral("uA") << QStringLiteral("mA") << 2.5;
        QTest::newRow("legacy 0x86 as micro")
            << 2500.0 << QString(QChar(0x86)) + QLatin1String("A") << QStringLiteral("mA") << 2.5;
        QTest::newRow("legacy dagger as micro")
            << 2500.0 << QString(QChar(0x2020)) + QLatin1String("A") << QStringLiteral("mA") << 2.5;
        QTest::newRow("kWh to Wh") << 1.5 << QStringLiteral("kWh") << QStringLiteral("Wh") << 1500.0;
        QTest::newRow("Wh to J") << 1.0 << QStringLiteral("Wh") << QStringLiteral("J") << 3600.0;
        QTest::newRow("mm2 to m2") << 1.5e6 << QStringLiteral("mm2") << QStringLiteral("m^2") << 1.5;
        QTest::newRow("mm3 to l") << 1e6 << QString::fromUtf8("mm\xc2\xb3") << QStringLiteral("l") << 1.0;
        QTest::newRow("quotient and parentheses") << 36.0 << QStringLiteral("km/h") << QStringLiteral("m/s") << 10.0;
        QTest::newRow("negative power") << 50.0 << QStringLiteral("s^-1") << QStringLiteral("Hz") << 50.0;
        QTest::newRow("empty units") << 4.0 << QStringLiteral("") << QStringLiteral("") << 4.0;
        QTest::newRow("unknown symbol") << 9.0 << QStringLiteral("deg") << QStringLiteral("rad") << 9.0;
        QTest::newRow("product with blanks") << 7.0 << QStringLiteral("V * A") << QStringLiteral("mW") << 7000.0;
        // No unit, so the value stays as it is; read as one, it would change.
        QTest::newRow("bare prefix") << 7.0 << QStringLiteral("k") << QStringLiteral("") << 7.0;
        QTest::newRow("prefix with 1") << 7.0 << QStringLiteral("k1") << QStringLiteral("") << 7.0;
        QTest::newRow("prefix alone before a blank") << 7.0 << QStringLiteral(" k V ") << QStringLiteral("V") << 7.0;
        QTest::newRow("percent sign") << 7.0 << QStringLiteral("kV%") << QStringLiteral("V") << 7.0;
        QTest::newRow("power without exponent") << 7.0 << QStringLiteral("m^") << QStringLiteral("mm") << 7.0;
        QTest::newRow("trailing operator") << 7.0 << QStringLiteral("V/") << QStringLiteral("mV") << 7.0;
    }

    void convertUnit()
    {
        QFETCH(double, value);
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(double, expected);
        const double d = ConvertUnit(value, from, to);
        QVERIFY2(std::fabs(d - expected) <= 1e-9 * std::max(1.0, std::fabs(expected)),
                 qPrintable(QStringLiteral("%1 %2 -> %3 gave %4").arg(value).arg(from, to).arg(d)));
        // The cache gives the same answer the second time.
        QCOMPARE(ConvertUnit(value, from, to), d);
    }

    // The table fitted into a rectangle: with no height given, the largest in
    // the device's steps that fits; a fixed, a maximum or the smallest height
    // otherwise.
    void fitTable_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("printer");
        QTest::addColumn<int>("fixed");
        QTest::addColumn<int>("maximum");
        QTest::addColumn<int>("expected");  // 0: the largest that fits
        QTest::newRow("small") << QSize(320, 200) << false << 0 << 0 << 0;
        QTest::newRow("wide") << QSize(1920, 300) << false << 0 << 0 << 0;
        QTest::newRow("tall") << QSize(400, 1000) << false << 0 << 0 << 0;
        QTest::newRow("printer: steps of 10") << QSize(1000, 900) << true << 0 << 0 << 0;
        QTest::newRow("fixed") << QSize(1200, 800) << false << 17 << 0 << 17;
        QTest::newRow("maximum") << QSize(1200, 800) << false << 0 << 21 << 21;
        QTest::newRow("too small: the smallest") << QSize(40, 30) << false << 0 << 0 << 10;
    }

    void fitTable()
    {
        QFETCH(QSize, size);
        QFETCH(bool, printer);
        QFETCH(int, fixed);
        QFETCH(int, maximum);
        QFETCH(int, expected);
        CTextPainter tp;
        tp.m_nMinHeight = 10;
        QSize out;
        int h = 0;
        const auto pDev = Record(
            size,
            [&](QPainter& p) {
                h = tp.FitAndDrawTable(&p, 0, 0, size.width(), size.height(), MakePhaseTable(), fixed, maximum, &out,
                                       printer);
            },
            printer ? 600 : 96);
        const CRecordingDevice& dev = *pDev;
        if (expected > 0) {
            QCOMPARE(h, expected);
        } else {
            QVERIFY2(out.width() <= size.width() && out.height() <= size.height(),
                     qPrintable(QStringLiteral("%1x%2").arg(out.width()).arg(out.height())));
            // The next height of the steps down from a quarter of the height
            // (three rows and the titles) would not fit: the fitting does not stop early.
            const int nStep = printer ? 10 : 1;
            QCOMPARE((size.height() / 4 - h) % nStep, 0);
            QPainter measure(pDev.get());
            const QSize bigger = tp.MeasureTable(&measure, MakePhaseTable(), h + nStep);
            QVERIFY(bigger.width() > size.width() || bigger.height() > size.height());
        }
        const QList<QRectF> frames = dev.Rects();
        QCOMPARE(frames.size(), 9);  // three value cells in three rows
        for (const QRectF& f : frames) {
            QVERIFY(f.left() >= 10 && f.top() >= 5);
            QVERIFY(f.right() <= out.width() && f.bottom() <= out.height());
        }
        // Every value is drawn inside its frame, in the body font.
        for (const char* psz : {"230.12", "229.87", "230.45", "5.012", "4.987", "5.034", "0.9397", "---", "0.9396"}) {
            const CPaintOp* pOp = dev.FindText(QString::fromLatin1(psz));
            QVERIFY2(pOp && dev.IsFramed(*pOp), psz);
            QCOMPARE(pOp->m_font.pixelSize(), h);
        }
        // Heads and units without a frame.
        QVERIFY(!dev.IsFramed(*dev.FindText(QStringLiteral("UPN"))));
        QVERIFY(!dev.IsFramed(*dev.FindText(QStringLiteral("V"))));
        // The unit stands right of the last value column, the title over its column.
        const CPaintOp* pL3 = dev.FindText(QStringLiteral("L3"));
        const CPaintOp* p230 = dev.FindText(QStringLiteral("230.45"));
        QVERIFY(dev.FindText(QStringLiteral("V"))->m_rect.left() >= p230->m_rect.right());
        QVERIFY(pL3->m_rect.bottom() <= p230->m_rect.top() + 1);
        QVERIFY(std::fabs(pL3->m_rect.center().x() - p230->m_rect.center().x()) < 2);
    }

    void fitTableAllSkipMeasure()
    {
        CTextTable t = MakePhaseTable();
        t.m_bHasRowHeads = false;
        t.m_bHasUnits = false;
        for (int r = 0; r < t.RowCount(); ++r)
            t.Row(r).m_bSkipMeasure = true;
        t.SetCell(1, 0, QStringLiteral("a long cell that nobody measures"));
        QSize out;
        int h = 0;
        const auto pDev = Record(QSize(600, 300), [&](QPainter& p) {
            h = CTextPainter().FitAndDrawTable(&p, 0, 0, 600, 300, t, 0, 0, &out, false);
        });
        QVERIFY(h >= 1);
        // Titles still drawn.
        QVERIFY(pDev->TextsAmiss(QStringLiteral("L1|L2|L3")).isEmpty());
        // Body columns take only the titles' width, not the long cell's.
        const QFontMetrics fm(MakeFont(FaceCourierNew(), h, false), pDev.get());
        for (const QRectF& f : pDev->Rects())
            QVERIFY(f.width() < fm.horizontalAdvance(QStringLiteral("a long cell that nobody measures")));
        QVERIFY(out.width() >= 20);
    }

    // A text box cuts what does not fit its width: a single line at its end,
    // the lines of several at the last blank that fits.
    void textBox_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("multiLine");
        QTest::newRow("single line") << QStringLiteral("Bemerkung: eine lange Bemerkung") << false;
        QTest::newRow("lines") << QStringLiteral("KOLT GmbH\nTyp: PX900 mit einer langen Bezeichnung\nNr:  1") << true;
    }

    void textBox()
    {
        QFETCH(QString, text);
        QFETCH(bool, multiLine);
        QSize out;
        const auto pDev = Record(QSize(400, 400), [&](QPainter& p) {
            out = CTextPainter().DrawTextBox(&p, 0, 0, 140, 400, text, 14, kAlignLeft, true, multiLine, false,
                                             FaceArial(), multiLine);
        });
        // Whole words on each line, nothing lost between them; a single line
        // loses its end.
        const QStringList texts = pDev->Texts();
        const QString strJoined = texts.join(QLatin1Char(' '));
        if (multiLine)
            QCOMPARE(strJoined, QString(text).replace(QLatin1Char('\n'), QLatin1Char(' ')));
        else
            QVERIFY2(texts.size() == 1 && text.startsWith(strJoined) && strJoined.size() < text.size(),
                     qPrintable(strJoined));
        // Each line left-aligned in the frame, within the width, below the one before.
        for (int i = 0; i < texts.size(); ++i) {
            const CPaintOp* pOp = pDev->FindText(texts[i]);
            QCOMPARE(pOp->m_pos.x(), 5.0);
            QVERIFY(pOp->m_rect.width() <= 140 - (multiLine ? 15 : 10));
            QVERIFY(i == 0 || pOp->m_pos.y() > pDev->FindText(texts[i - 1])->m_pos.y());
        }
        QVERIFY(out.width() <= 140);
        QCOMPARE(pDev->Rects().size(), 1);
    }
};

QTEST_MAIN(TestDrawTools)
#include "tst_drawtools.moc"
