// Actual values: cell accessors, angle conventions, the vector geometry and
// what the table and the diagram paint.

#include "PaintRecorder.h"
#include "ViewTestData.h"

#include "../common/TestSupport.h"
#include "view/ActualValues.h"
#include "view/TextPainter.h"
#include "view/WiringCheck.h"

#include <QPainter>
#include <QTest>

#include <clocale>
#include <cmath>

namespace {

// What a renderer draws from: the three-phase result and default settings.
struct CDiagram
{
    CResultCache cache = MakeThreePhaseCache();
    CVectorSettings settings;
    CTextPainter tp;
};

double Dist(const QPointF& a, const QPointF& b)
{
    return QLineF(a, b).length();
}

// Applies "P2=-1.0772;kW|..." to the cache: a phase value of U, I, P, UPP,
// PHIU or PHII, or UR (primary/secondary switches), UPRIM (voltage ratio),
// URANGE, IRANGE.
void Change(CResultCache& c, const QString& strChanges)
{
    const QHash<QString, QString*> fields{{QStringLiteral("UR"), &c.m_strPrimSekValCzReg},
                                          {QStringLiteral("UPRIM"), &c.m_strUPrimSek},
                                          {QStringLiteral("URANGE"), &c.m_strURange},
                                          {QStringLiteral("IRANGE"), &c.m_strIRange}};
    for (const QString& change : strChanges.split(u'|', Qt::SkipEmptyParts)) {
        const QString strKey = change.section(u'=', 0, 0);
        const int nQty = strKey.startsWith(u"UPP")    ? kQtyUPP
                         : strKey.startsWith(u"PHIU") ? kQtyPhiU
                         : strKey.startsWith(u"PHII") ? kQtyPhiI
                         : strKey[0] == u'U'          ? kQtyUPN
                         : strKey[0] == u'I'          ? kQtyI
                                                      : kQtyP;
        QString* pField = fields.value(strKey);
        *(pField ? pField : &c.m_strValues[nQty][strKey.back().digitValue() - 1]) = change.section(u'=', 1);
    }
}

} // namespace

class TestActualValues : public QObject
{
    Q_OBJECT

private:
    // Switches the runtime and Qt to German number formats; false unless
    // the runtime then really reads and writes numbers with a comma.
    bool UseGermanLocale()
    {
        if (!SetGermanLocale(m_localeDir))
            return false;
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        return *std::localeconv()->decimal_point == ',';
    }

    QTemporaryDir m_settingsDir;
    QTemporaryDir m_localeDir;

private slots:
    void initTestCase()
    {
        QVERIFY(m_settingsDir.isValid());
        UseTemporarySettings(m_settingsDir);
    }

    void phiUICell_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<int>("norm");
        QTest::addColumn<int>("phase");
        QTest::addColumn<QString>("phiU");
        QTest::addColumn<QString>("phiI");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char* pszName, const char* pszMode, int nNorm, int nPhase, const char* pszPhiU,
                            const char* pszPhiI, const char* pszExpected) {
            QTest::newRow(pszName) << QString::fromLatin1(pszMode) << nNorm << nPhase << QString::fromLatin1(pszPhiU)
                                   << QString::fromLatin1(pszPhiI) << QString::fromLatin1(pszExpected);
        };
        row("IEC 190 wraps", "4LW", 0, 0, "170.00;deg", "-20.00;deg", "-170.00;deg");
        row("DIN -190 wraps", "4LW", 1, 0, "170.00;deg", "-20.00;deg", "170.00;deg");
        row("IEC plain", "4LW", 0, 2, "119.98;deg", "99.96;deg", "20.02;deg");
        row("DIN plain", "4LW", 1, 2, "119.98;deg", "99.96;deg", "-20.02;deg");
        row("exactly 180 stays", "4LW", 0, 0, "180.00;deg", "0.00;deg", "180.00;deg");
        row("three-wire L2", "3LW", 0, 1, "-120.00;deg", "---;deg", "---;deg");
        row("three-wire L1 computed", "3LW", 0, 0, "170.00;deg", "-20.00;deg", "-170.00;deg");
        row("three-wire L3 computed", "3LBE", 1, 2, "170.00;deg", "-20.00;deg", "170.00;deg");
        row("missing angle is 0", "4LW", 0, 0, "30.00;deg", "", "30.00;deg");
    }

    void phiUICell()
    {
        QFETCH(QString, mode);
        QFETCH(int, norm);
        QFETCH(int, phase);
        QFETCH(QString, phiU);
        QFETCH(QString, phiI);
        CResultCache cache = MakeThreePhaseCache();
        cache.m_strMMode = mode;
        cache.m_strValues[kQtyPhiU][phase] = phiU;
        cache.m_strValues[kQtyPhiI][phase] = phiI;
        QTEST(GetValueCell(cache, kQtyPhiUI, phase, norm), "expected");
    }

    // The six vectors on a circle of radius 100 (U1..U3, I1..I3; length -1: no
    // arrow) and their screen angles, counter-clockwise from the right: under
    // IEC 387 turned so that the current of the first phase that has one points
    // right (none: the first voltage), under DIN 410 zero up and clockwise.
    void vectors_data()
    {
        QTest::addColumn<QString>("changes");
        QTest::addColumn<int>("reference");
        QTest::addColumn<int>("norm");
        QTest::addColumn<bool>("german");
        QTest::addColumn<bool>("printer");
        QTest::addColumn<QList<double>>("lengths");
        QTest::addColumn<QList<double>>("angles");
        const int range = kVectorRefRange, iec = kNormIEC387;
        // U1..U3 and I2 in % of the 300 V and 5 A ranges.
        const double u1 = 100 * 230.12 / 300, u2 = 100 * 229.87 / 300, u3 = 100 * 230.45 / 300, i2 = 100 * 4.987 / 5;
        const QList<double> full = {u1, u2, u3, 100, i2, 100};
        const QList<double> normalised = {340, 100.02, 220.02, 0, 120.05, 240.04};  // I1 the reference
        QTest::newRow("range") << QString() << range << iec << false << false << full << normalised;
        QTest::newRow("DIN") << QString() << range << int(kNormDIN410) << false << false << full
                             << QList<double>{90, 210.02, 330.02, 110, 230.05, 350.04};
        QTest::newRow("German locale reads the point")
            << QString() << range << iec << true << false << full << normalised;
        QTest::newRow("printed") << QString() << range << iec << false << true << full << normalised;
        QTest::newRow("below 5 % of the range no arrow") << "U2=14.99;V|I3=0.249;A" << range << iec << false << false
                                                         << QList<double>{u1, -1, u3, 100, i2, -1} << normalised;
        QTest::newRow("5 % of the range") << "U2=15.00;V|I3=0.25;A" << range << iec << false << false
                                          << QList<double>{u1, 5, u3, 100, i2, 5} << normalised;
        QTest::newRow("current of L2 the reference")
            << "I1=0.1;A" << range << iec << false << false << QList<double>{u1, u2, u3, -1, i2, 100}
            << QList<double>{219.95, 339.97, 99.97, 0, 0, 119.99};
        QTest::newRow("no current: voltage of L2 the reference")
            << "U1=0;V|I1=0;A|I2=0;A|I3=0;A" << range << iec << false << false << QList<double>{-1, u2, u3, -1, -1, -1}
            << QList<double>{0, 0, 120, 0, 0, 0};
        QTest::newRow("primary kV against the range times the ratio")
            << "UPRIM=20000.0/100.0;V;200.00|U1=23.050;kV|I1=7.500;A" << range << iec << false << false
            << QList<double>{100 * 23050.0 / 60000.0, -1, -1, 100, i2, 100} << normalised;
        // The largest reaches the circle; 4.987 A is still below 5 % of 100 A.
        QTest::newRow("maximum reaches the circle")
            << "URANGE=600.0;V;600V|IRANGE=100.000;A;100A" << int(kVectorRefMaximum) << iec << false << false
            << QList<double>{100 * 230.12 / 230.45, 100 * 229.87 / 230.45, 100, 100 * 5.012 / 5.034, -1, 100}
            << normalised;
        QTest::newRow("no range, nothing") << "URANGE=|IRANGE=abc;A" << range << iec << false << false
                                           << QList<double>{-1, -1, -1, -1, -1, -1} << normalised;
    }

    void vectors()
    {
        QFETCH(QString, changes);
        QFETCH(int, reference);
        QFETCH(int, norm);
        QFETCH(bool, german);
        QFETCH(bool, printer);
        QFETCH(QList<double>, lengths);
        QFETCH(QList<double>, angles);
        if (german && !UseGermanLocale())
            QSKIP("no German locale available (none installed, none could be built)");
        CDiagram d;
        Change(d.cache, changes);
        d.settings.m_nReference = reference;
        d.settings.m_colours[4] = QColor(12, 34, 56);
        CActualValuesRenderer r(d.cache, d.settings, norm, d.tp, printer);
        CVectorGeometry vectors[6];
        r.ComputeVectors(QPointF(0, 0), 100, vectors);
        for (int v = 0; v < 6; ++v) {
            QCOMPARE(vectors[v].m_bDrawn, lengths[v] >= 0);
            const double a = angles[v] * M_PI / 180;
            if (lengths[v] >= 0) {
                QVERIFY2(std::fabs(vectors[v].m_dLength - lengths[v]) < 1e-9, qPrintable(QString::number(v)));
                QVERIFY(Dist(vectors[v].m_tip, lengths[v] * QPointF(std::cos(a), -std::sin(a))) < 1e-6);
            }
        }

        r.m_nArrowLength = 20;
        r.m_nArrowWidth = 6;
        QSize used;
        int h = 0;
        // A tall device: a printer's pens are as wide as a 500th of its height.
        const auto pDev = Record(QSize(800, 1500),
                                 [&](QPainter& p) { used = r.DrawVectorDiagram(&p, QRect(0, 0, 800, 600), false, h); });
        QCOMPARE(h, 600 / 16);
        QVERIFY(used.width() <= 800 && used.height() <= 600);
        // The circle: black, hollow; without the settings table the square
        // stands at the left.
        const QList<CPaintOp> ellipses = pDev->OfKind(CPaintOp::Ellipse);
        QCOMPARE(ellipses.size(), 1);
        QCOMPARE(ellipses[0].m_pen.color(), QColor(Qt::black));
        QVERIFY(printer || ellipses[0].m_pen.width() == 2);
        QCOMPARE(ellipses[0].m_brush.style(), Qt::NoBrush);
        const QRectF circle = ellipses[0].m_rect;
        QCOMPARE(circle.width(), circle.height());
        QVERIFY(QRectF(0, 0, 800, 600).contains(circle) && circle.left() < 100);
        const QPointF centre = circle.center();
        CVectorGeometry expected[6];
        r.ComputeVectors(centre, circle.width() / 2 - 2, expected);
        // What is drawn is a shaft from the centre and a head at its tip (on
        // paper of a size of its own), with a label in its colour beside the
        // tip, away from the centre; what is not drawn has neither.
        const double dHead = printer ? 70 : 20, dHalf = printer ? 15 : 6;
        const QList<CPaintOp> heads = pDev->OfKind(CPaintOp::Polygon), shafts = pDev->OfKind(CPaintOp::Lines);
        QCOMPARE(heads.size(), std::count_if(lengths.begin(), lengths.end(), [](double l) { return l >= 0; }));
        QCOMPARE(shafts.size(), heads.size());
        const char* labels[6] = {"U1", "U2", "U3", "I1", "I2", "I3"};
        for (int v = 0, n = 0; v < 6; ++v) {
            const CPaintOp* pLabel = pDev->FindText(QString::fromLatin1(labels[v]));
            QCOMPARE(pLabel != nullptr, lengths[v] >= 0);
            if (!pLabel)
                continue;
            const QColor colour = d.settings.m_colours[v];
            const CPaintOp &head = heads[n], &shaft = shafts[n++];
            const QPointF tip = expected[v].m_tip, base = tip + (centre - tip) / Dist(centre, tip) * dHead;
            QVERIFY(head.m_brush.color() == colour && head.m_pen.color() == colour && shaft.m_pen.color() == colour);
            QVERIFY(Dist(head.m_polygon[0], tip) < 1e-6);
            QVERIFY(Dist((head.m_polygon[1] + head.m_polygon[2]) / 2, base) < 1e-6);
            QVERIFY(std::fabs(Dist(head.m_polygon[1], base) - dHalf) < 1e-6);
            QVERIFY(std::fabs(QPointF::dotProduct(head.m_polygon[1] - base, tip - centre) / Dist(tip, centre)) < 1e-6);
            QVERIFY(Dist(shaft.m_lines.value(0).p1(), centre) < 1e-9 && Dist(shaft.m_lines.value(0).p2(), base) < 1e-6);
            QCOMPARE(shaft.m_pen.width(), printer ? 1500 / 500 : 2);
            QCOMPARE(pLabel->m_pen.color(), colour);
            QCOMPARE(pLabel->m_font.family(), QStringLiteral("Arial"));
            QVERIFY(Dist(pLabel->m_rect.center(), centre) > Dist(tip, centre));
            QVERIFY2(QRectF(0, 0, 800, 600).contains(pLabel->m_rect), labels[v]);
        }
    }

    // The values table alone and beside the diagram: the settings table on top,
    // present rows only (UDC, IDC, AUX and burden rows are empty here), PhiU and
    // PhiI normalised (I1 reference: U1 at 340.00, I1 at 0.00), numbers with a
    // point whatever the locale, cells in frames.
    void valuesTable_data()
    {
        QTest::addColumn<bool>("withVectors");
        QTest::addColumn<bool>("german");
        QTest::addColumn<QString>("changes");
        QTest::addColumn<QString>("texts");
        const QString strTexts =
            QStringLiteral("UB|IB|MA|Einstellungen|300.0 V|5.000 A|4LW|U-Übersetzung|I-Übersetzung|"
                           "100.0/100.0 V|Istwerte|Konstante|Register|Übersetzung|On|1.000|"
                           "UPN|UPP|UD|I|ID|PhiU|PhiI|PhiUI|Lambda|P|Q|S|SP|SQ|SS|F|PS|SL|T|L1|L2|L3|"
                           "230.12|5.012|20.00|kVAr|50.012|Hz|deg|340.00|0.00|3.2511|"
                           "!UDC|!IDC|!AUXU|!G|!Sb|!SN");
        QTest::newRow("table") << false << false << QString() << strTexts;
        QTest::newRow("German locale") << false << true << QStringLiteral("PHIU1=170.50;deg|PHII1=-20.25;deg")
                                       << QStringLiteral("-169.25");
        QTest::newRow("with vectors") << true << false << QString() << strTexts;
    }

    void valuesTable()
    {
        QFETCH(bool, withVectors);
        QFETCH(bool, german);
        QFETCH(QString, changes);
        QFETCH(QString, texts);
        if (german && !UseGermanLocale())
            QSKIP("no German locale available (none installed, none could be built)");
        CDiagram d;
        Change(d.cache, changes);
        const QSize size = withVectors ? QSize(1600, 900) : QSize(1280, 800);
        const CActualValuesRenderer r(d.cache, d.settings, kNormIEC387, d.tp, false);
        QSize used;
        const auto pDev = Record(size, [&](QPainter& p) {
            const QRect rect(QPoint(0, 0), size);
            used = withVectors ? r.DrawValuesAndVectors(&p, rect) : r.DrawValuesTable(&p, rect);
        });
        QVERIFY(used.width() <= size.width() && used.height() <= size.height());
        // The texts whose places are checked below, and those of the row.
        const QString strAmiss =
            pDev->TextsAmiss(QStringLiteral("Einstellungen|L1|V|SP|230.12|50.012|3.2511|") + texts);
        QVERIFY2(strAmiss.isEmpty(), qPrintable(strAmiss));
        for (const QString& str : pDev->Texts())
            QVERIFY2(!str.contains(QLatin1Char(',')), qPrintable(str));
        for (const char* psz : {"230.12", "50.012", "3.2511"})
            QVERIFY2(pDev->IsFramed(*pDev->FindText(QString::fromLatin1(psz))), psz);
        // The single values stand right of L3.
        QVERIFY(pDev->FindText(QStringLiteral("SP"))->m_rect.left()
                > pDev->FindText(QStringLiteral("V"))->m_rect.right());
        // The settings table heads the page once and the values table is not larger.
        QCOMPARE(pDev->Texts().count(QStringLiteral("Einstellungen")), 1);
        QCOMPARE(pDev->Texts().count(QStringLiteral("On")), 3);
        const CPaintOp* pEinst = pDev->FindText(QStringLiteral("Einstellungen"));
        const double dValuesTop = pDev->FindText(QStringLiteral("L1"))->m_rect.top();
        QVERIFY(pEinst->m_rect.bottom() <= dValuesTop);
        QVERIFY(pDev->FindText(QStringLiteral("230.12"))->m_font.pixelSize() <= pEinst->m_font.pixelSize());
        QCOMPARE(pDev->OfKind(CPaintOp::Polygon).size(), withVectors ? 6 : 0);
        // The diagram stands right of every text of the values tables.
        const QRectF circle = pDev->OfKind(CPaintOp::Ellipse).value(0).m_rect;
        for (const CPaintOp& op : pDev->OfKind(CPaintOp::Text))
            if (withVectors && op.m_font.family() == QStringLiteral("Courier New") && op.m_rect.top() >= dValuesTop)
                QVERIFY2(op.m_rect.right() < circle.left(), qPrintable(op.m_strText));
    }

    void arrowSizes_data()
    {
        QTest::addColumn<QSize>("client");
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("length");
        QTest::newRow("large") << QSize(1920, 1080) << 1 << 12 << 36;
        QTest::newRow("small") << QSize(300, 200) << 1 << 3 << 9;
        QTest::newRow("mode 7 large") << QSize(1920, 1080) << 7 << 9 << 24;
        QTest::newRow("mode 7 small") << QSize(300, 200) << 7 << 2 << 6;
        QTest::newRow("width just 4") << QSize(400, 360) << 8 << 4 << 12;
    }

    void arrowSizes()
    {
        QFETCH(QSize, client);
        QFETCH(int, mode);
        int w = 0, l = 0;
        ComputeArrowSize(client.width(), client.height(), DisplayModeFromInt(mode).value(), w, l);
        QTEST(w, "width");
        QTEST(l, "length");
    }

    // The wiring hints of the three-phase result, secondary values, changed by
    // "P2=-1.0772;kW|..." (see Change): each rule with a result that triggers it
    // and one that just does not.
    void wiringRules_data()
    {
        QTest::addColumn<QString>("changes");
        QTest::addColumn<QString>("hints");
        QTest::addColumn<QString>("text");
        auto row = [](const char* pszName, const char* pszChanges, const char* pszHints, const char* pszText = "") {
            QTest::newRow(pszName) << QString::fromUtf8(pszChanges) << QString::fromUtf8(pszHints)
                                   << QString::fromUtf8(pszText);
        };
        row("plausible", "", "passed", "Keine Auffälligkeiten");
        row("reversed current", "P2=-1.0772;kW", "reversed2",
            "P2 = -1.0772 kW ist negativ, die anderen Phasen positiv (P1 = 1.0838 kW, P3 = 1.0901 kW)");
        row("all powers negative: energy fed back", "P1=-1;kW|P2=-1;kW|P3=-1;kW", "passed");
        row("reversed against the one other phase with a value", "P1=---;kW|P3=-0.5;kW", "reversed3");
        row("no power value is no zero", "P2=---;kW", "passed");
        row("missing current, its sign is noise", "I2=0.249;A|P2=-0.001;kW", "missingI2",
            "I2 = 0.249 A liegt unter 5 % des Bereichs 5 A");
        row("current at 5 % of range", "I2=0.250;A", "passed");
        row("all currents low: no load", "I1=0.01;A|I2=0.01;A|I3=0.01;A", "passed");
        row("missing voltage", "U3=14.99;V", "missingU3",
            "U3 = 14.99 V liegt unter 5 % des Bereichs 300 V, die anderen Phasen nicht (U1 = 230.12 V, U2 = 229.87 V)");
        row("voltage at 5 % is unbalanced instead", "U3=15.00;V", "unbalance");
        row("voltage in kV", "U1=0.01;kV", "missingU1");
        row("range from primary ratio", "UR=On;On;On|U1=10.0;kV|U2=10.0;kV|U3=2.9;kV|UPRIM=20.0/0.1;kV;200",
            "missingU3", "Bereichs 60000 V");
        row("unbalance above 2 %", "U1=225.0;V|U2=230.0;V|U3=235.0;V", "unbalance",
            "Spannungsunsymmetrie 2.2 % (über 2 %): U1 = 225.0 V, U2 = 230.0 V, U3 = 235.0 V, Mittelwert 230.00 V.");
        row("unbalance just below 2 %", "U1=225.5;V|U2=230.0;V|U3=234.5;V", "passed");
        row("three-wire: phase-to-phase voltages", "U1=---;V|U2=---;V|U3=---;V|UPP1=380;V|UPP2=400;V|UPP3=400;V",
            "unbalance", "U1 = 380 V");
        row("several at once", "P1=-1;kW|I3=0.1;A", "reversed1 missingI3");
    }

    void wiringRules()
    {
        QFETCH(QString, changes);
        QFETCH(QString, text);
        CResultCache c = MakeThreePhaseCache();
        Change(c, QStringLiteral("UR=Off;Off;Off|") + changes);
        const QList<CWiringHint> result = CheckWiring(WiringInputOf(c));
        static const char* const kNames[] = {"passed", "reversed", "missingU", "missingI", "unbalance"};
        QStringList names, texts;
        for (const CWiringHint& h : result) {
            names << QLatin1String(kNames[h.m_nRule]) + (h.m_nPhase >= 0 ? QString::number(h.m_nPhase + 1) : QString());
            texts << h.m_strText;
        }
        QTEST(names.join(u' '), "hints");
        QVERIFY2(texts.join(u'\n').contains(text), qPrintable(texts.join(u'\n')));
    }

    void cleanup()
    {
        std::setlocale(LC_ALL, "C");
        QLocale::setDefault(QLocale::c());
    }
};

QTEST_MAIN(TestActualValues)
#include "tst_actualvalues.moc"
