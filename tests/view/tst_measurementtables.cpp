// Measurement tables: each kind loaded from a result record with chosen
// values (three-wire "---", primary kV and MW, empty fields), drawn through
// the paint recorder and checked for its titles, row heads and cells, and
// for texts that leave their cell or the target rectangle; the pagination
// of the automatic and selective tables; a picture of every kind.

#include "PaintRecorder.h"

#include "view/ActualValues.h"
#include "view/MeasurementTables.h"
#include "view/ResultCache.h"
#include "view/TextPainter.h"
#include "xml/XMLDocument.h"
#include "xml/XMLNodeResult.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QTest>

namespace {

QString U(const char* psz)
{
    return QString::fromUtf8(psz);
}

// "Name=text|Name=text" as elements; "Line-Common" steps are "Line=..." texts
// separated by "#".
QString Elements(const QString& strFields)
{
    QString s;
    for (const QString& strField : strFields.split(QLatin1Char('|'), Qt::SkipEmptyParts)) {
        const QString strName = strField.section(QLatin1Char('='), 0, 0);
        s += QStringLiteral("<%1>%2</%1>").arg(strName, strField.section(QLatin1Char('='), 1).toHtmlEscaped());
    }
    return s;
}

QString Steps(const QStringList& steps)
{
    QString s;
    for (const QString& strStep : steps) {
        s += QStringLiteral("<Line-Common>");
        for (const QString& strLine : strStep.split(QLatin1Char('#')))
            s += QStringLiteral("<Line>%1</Line>").arg(strLine.toHtmlEscaped());
        s += QStringLiteral("</Line-Common>");
    }
    return s;
}

const QString kCommon = QStringLiteral(
    "ID=ZP-4711|Date=14.03.2024|Time=10:21:33|U-Range=300.0;V;300V|I-Range=5.000;A;5A|M-Mode=3LW|"
    "U-PrimSek=20000/100;V;200|I-PrimSek=100/5;A;20.0|PrimSek-Val-Cz-Reg=On;On;On|");

CResultCache LoadCache(const QString& strFunction, const QString& strBody)
{
    CXMLDocument doc;
    doc.LoadXML(QStringLiteral("<Result-Data><Result>") + Elements(kCommon + QStringLiteral("Function=") + strFunction)
                + strBody + QStringLiteral("</Result></Result-Data>"));
    CXMLNodeResult result(&doc);
    CResultCache cache;
    if (result.FindFirst(QStringLiteral("Result")))
        cache.SetFromResult(result);
    return cache;
}

QStringList AccuracySteps(int n)
{
    return QStringList(n, QStringLiteral("Type=AccuracyTest;#MM=LoadPoint;#F=50.0;Hz#PF=-;#UL1=57.7;kV#Error=0.1;%"));
}

const QString kAutomatic = Steps(
    {QStringLiteral("Type=AccuracyTest;#MM=LoadPointAbs;#UN=230.0;V#IN=5.0;A#F=50.0;Hz#PF=0.5i;#UL1=230.1;V#"
                    "UL2=---;V#IL1=5.01;A#Error=0.12;%#CZ=1000;I/kWh#MPuls=10;#MTime=60;s#Test=OK;#EL-Max=1.0;%"),
     QStringLiteral("Type=RegisterTest;#MM=LoadPoint;#F=50.0;Hz#PF=-;#Energy=1.25;MWh#Reg-Start=100.0;kWh#"
                    "Error=0.3;%"),
     QStringLiteral("MM=LoadPoint;#UL1=230.2;V")});

// The selective entries as the readout writes them; order 2 is a
// three-wire apparent power.
QString SelectiveEntries(int nRows)
{
    QString s = QStringLiteral("ChannelU=UL1|ChannelI=IL1|");
    for (int i = 0; i < nRows; ++i)
        s += QStringLiteral("HarmValue=N;%1;U;;V;I;;A;P;1.5;kW;Q;0.2;var;S;%2;VA|")
                 .arg(i)
                 .arg(i == 2 ? QStringLiteral("---") : QStringLiteral("1.51"));
    return s;
}

// Draws a kind as the view would.
QSize Render(const QString& strKind, const CResultCache& cache, QPainter* p, const QRect& rect, bool bPrinter,
             int nPage = 0, bool bLandscape = false)
{
    const CTextPainter tp;
    const CVectorSettings settings;
    const CActualValuesRenderer values(cache, settings, kNormIEC387, tp, bPrinter);
    const CMeasurementTables tables(cache, tp, bPrinter);
    if (strKind.startsWith(u"error"))
        return tables.DrawErrorMeasurement(p, rect, values, static_cast<DisplayMode>(strKind.back().digitValue()));
    if (strKind == u"register")
        return tables.DrawRegisterTest(p, rect);
    if (strKind == u"tmte")
        return tables.DrawTmTe(p, rect);
    if (strKind.endsWith(u"burden"))
        return tables.DrawBurden(p, rect, values, strKind == u"uburden");
    if (strKind == u"transformer")
        return tables.DrawTransformer(p, rect);
    if (strKind == u"aux")
        return tables.DrawAuxChannels(p, rect);
    if (strKind == u"pqs")
        return tables.DrawPqsRegisterTest(p, rect);
    if (strKind == u"automatic")
        return tables.DrawAutomaticMeasurement(p, rect, nPage, bLandscape);
    return tables.DrawSelective(p, rect, nPage, bLandscape);
}

struct CKindData
{
    const char* m_pszKind;
    const char* m_pszFunction;
    QString m_strBody;
    // Texts that must be painted as they stand; "!" before a text: must not.
    QString m_expected;
};

QList<CKindData> Kinds()
{
    const QString strError = QStringLiteral(
        "UPN1=11.547;kV|UPN2=---;kV|UPN3=11.550;kV|IL1=100.2;A|P1=1.157;MW|Cz=1000.00;x1;I/kWh|M-Puls=10;x1|M-Inp=RB|"
        "Error=0.12;%|N-Value=5|Spread=0.04;%|Average=0.11;%|Deviation=|StartTime=14.03.2024 10:00:00|"
        "StopTime=14.03.2024 10:05:30|MTime=5:30|Err-Energie=1.234;MWh|Err-CtRat=100.000/5.000|");
    const QString errorTexts = QStringLiteral("Zählerkonstante|Messtaktquelle|Impulsanzahl|Fehler|1000.00 x1 I/kWh|RB|10 x1|0.12 %|Messungen|Spannweite|Mittelwert|Std. Abweichung|Energie|Startzeit|Stopzeit|Messdauer|5|0.04 %|1.234 MWh|14.03.2024 10:05:30|5:30|20.0 (100.000/5.000)|!U Bereich");
    QStringList burdenPhases;
    for (int n = 1; n <= 3; ++n)
        burdenPhases << QStringLiteral("UPN%1=57.74;V|IL%1=0.048;A|PHI%1=%2;deg|Sb%1=2.80;VA|SN%1=18.6;%|")
                            .arg(n)
                            .arg(n == 2 ? QStringLiteral("---") : QStringLiteral("12.50"));
    return {
        {"error5", "Error-Measurement", strError, errorTexts + QStringLiteral("|UPN|11.547|---")},
        {"error6", "Error-Measurement", strError, errorTexts + QStringLiteral("|U1|!UPN")},
        {"error7", "Error-Measurement", strError, errorTexts + QStringLiteral("|UPN|U1")},
        {"error5_conditions", "Error-Measurement",
         strError + U("SSM-UB=230;V|SSM-IB=|SSM-Fr=50;Hz|SSM-Ph=3|SSM-MT=60;s"),
         QStringLiteral("U Bereich|I Bereich|Frequenz / Phasen|Messzeit|Fehler|230 V|50 Hz / 3|60 s|0.12 %|!Zählerkonstante|Messungen")},
        {"register", "Register-Test",
         U("Type=P|Energie=12.34;kWh|E-Begin=1000.00;kWh|E-End=1012.34;kWh|E-Error=0.25;%|E-StartTime=14.03.2024 "
         "10:00:00|E-MTime=5:00|Power=1.16;MW|P-Begin=|P-Error=---;%|Measurement-Time=15;m|P-MTime=15:00"),
         QStringLiteral("Art|P|E-Register|P-Register|Energie/Leistung|Anfang|Ende|Fehler|Messzeit|Startzeit|Stopzeit|Messdauer|12.34 kWh|1012.34 kWh|0.25 %|14.03.2024 10:00:00|5:00|1.16 MW|--- %|15 m|15:00")},
        {"tmte", "TmTe-Transmitter",
         U("Contact=Schliesser|tm=100;ms|te=50;ms|M-Inp-Measure=S0|M-Inp-Count=RB|M-Puls=20|Cz-Measure=500;I/kWh|"
         "Cz-Count=1000;I/kWh|Error=0.5;%|Impuls=|Tp=60;ms|Ti=40;ms"),
         QStringLiteral("Geberprüfung|Messtaktquelle|k|n|Messung|Zählen|S0|RB|500 I/kWh|1000 I/kWh|20|Fehler|0.5 %|tm/te|tm|te|ti|tp|Kontakt|100 ms|50 ms|40 ms|60 ms|Schliesser")},
        {"uburden", "U-Burden",
         U("U-Nominal=100.0/sqrt(3);V|B-Nominal=15.0;VA|W-Length=12.50;m|W-Gauge=|" )+ burdenPhases.join(QString())
             + U("G1=1.2;mS"),
         QStringLiteral("U-Nominal      |B-Nominal|W-Länge|W-Maß|100.0/sqrt(3) V|15.0 VA|12.50 m|UPN|57.74|---|Sb|SN|G|1.2|Einstellungen")},
        {"iburden", "I-Burden",
         U("I-Nominal=5.0;A|B-Nominal=10.0;VA|W-Length=3.00;m|W-Gauge=2.50;mm2|" )+ burdenPhases.join(QString())
             + U("R1=0.4;Ohm"),
         QStringLiteral("I-Nominal      |5.0 A|2.50 mm2|R|0.4|!U-Nominal      ")},
        {"transformer", "UI-Transformer",
         U("VT-N=20000.0/100.0;V|VT-X=20010.0/100.0;V|U-Prim=20.012;kV|U-Sek-N=100.02;V|U-Sek-X=100.01;V|"
         "VT-Value=-0.050;%|VT-Angle-deg=0.12;deg|VT-Angle-min=7.20;min|VT-Angle-crad=0.21;crad|CT-N=100.0/5.0;A|"
         "CT-X=100.2/5.0;A|CT_Xc=99.8/5.0;A|I-Prim=100.3;A|CT-Value=0.150;%|CT-Angle-deg=---;deg|"
         "VTCT-Value=0.100;%|VTCT-Angle-min=3.60;min"),
         QStringLiteral("U-Transformer|I-Transformer|N-Prim|N-Sek|X-Prim|X-Sek|Xc-Prim|Xc-Sek|20000.0|100.0|99.8|U|I|Prim|X-e|X-d|20.012|kV|-0.050|7.20|min|crad|---|Summe UI|e|d|3.60")},
        {"aux", "AUX-Channel",
         U("Aux-Value-1=1.234;V|Aux-Angle-1=12.0;deg|Ref-Name-1=UL1|Ref-Value-1=230.0;V|Aux-Diff-Value-1=0.5;%|"
         "Aux-Value-2=2.0;A|Aux-Value-3=---;V|Aux-Diff-Angle-3=---;deg"),
         QStringLiteral("Wert|Winkel|Ref. Name|Ref. Wert|Ref. Winkel|Diff. Wert|Diff. Winkel|Aux 1|Aux 2|Aux 3|!Aux 4|1.234 V|12.0 deg|UL1|230.0 V|2.0 A|--- deg")},
        {"pqs", "PQS-Reg-Test",
         U("M-Time=15:00|P-Energie=1.25;MWh|PE-Begin=100.00;MWh|PE-End=101.25;MWh|PE-Error=0.10;%|Q-Energie=0.40;MVArh|"
         "S-Energie=---;VAh|SE-Error="),
         QStringLiteral("Messdauer|15:00|Energie|Anfang|Ende|Fehler|P|Q|S|1.25 MWh|101.25 MWh|0.10 %|0.40 MVArh|--- VAh")},
        {"selective", "Selektiv-Measurement", SelectiveEntries(5),
         QStringLiteral("Kanal|UL1 / IL1|PL1|QL1|SL1|!UL1|!IL1|0|4|1.5 kW|0.2 var|--- VA|1.51 VA")},
        {"automatic", "Automatic-Measurement", kAutomatic,
         QStringLiteral("Einstellungen|Type: AccuracyTest|MM: LoadPointAbs|UN: 230.0 V|IN: 5.0 A|F: 50.0 Hz PF: 0.5i|UL1: 230.1 V|UL2: --- V|IL1: 5.01 A|Error: 0.12 %|CZ: 1000 I/kWh|MTime: 60 s|Test: OK|EL-Max: 1.0 %|Type: RegisterTest|F: 50.0 Hz|Energy: 1.25 MWh|Reg-Start: 100.0 kWh|Error: 0.3 %|UL1: 230.2 V")},
    };
}

// Every text inside the rectangle, and inside any cell frame it stands in.
void CheckTextsInside(const CRecordingDevice& dev, const QRectF& rect)
{
    const QList<CPaintOp> cells = dev.OfKind(CPaintOp::Rects);
    for (const CPaintOp& text : dev.OfKind(CPaintOp::Text)) {
        QVERIFY2(rect.adjusted(-1, -1, 1, 1).contains(text.m_rect), qPrintable(text.m_strText));
        for (const CPaintOp& frame : cells)
            for (const QRectF& cell : frame.m_rects)
                if (cell.contains(text.m_rect.center()))
                    QVERIFY2(cell.adjusted(-1, -1, 1, 1).contains(text.m_rect), qPrintable(text.m_strText));
    }
}

} // namespace

class TestMeasurementTables : public QObject
{
    Q_OBJECT

private slots:
    void tables_data();
    void tables();
    void stepFields_data();
    void stepFields();
    void automaticPages_data();
    void automaticPages();
    void selectivePages_data();
    void selectivePages();
    void gallery();
};

void TestMeasurementTables::tables_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("function");
    QTest::addColumn<QString>("body");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("printer");
    for (const CKindData& d : Kinds())
        for (const auto& [size, bPrinter] : {std::pair{QSize(800, 600), false}, std::pair{QSize(1920, 1080), false},
                                             std::pair{QSize(2250, 2900), true}, std::pair{QSize(3200, 2000), true}})
            QTest::addRow("%s_%dx%d", d.m_pszKind, size.width(), size.height())
                << QString::fromLatin1(d.m_pszKind) << QString::fromLatin1(d.m_pszFunction) << d.m_strBody
                << d.m_expected << size << bPrinter;
}

void TestMeasurementTables::tables()
{
    QFETCH(QString, kind);
    QFETCH(QString, function);
    QFETCH(QString, body);
    QFETCH(QString, expected);
    QFETCH(QSize, size);
    QFETCH(bool, printer);
    const bool bAutomatic = function == u"Automatic-Measurement";
    const CResultCache cache = LoadCache(function, bAutomatic ? body : Elements(body));
    QCOMPARE(cache.m_strFunction, function);
    CRecordingDevice dev(size, printer ? 300 : 96);
    // A margin all round, as on paper.
    const QRect rect(size.width() / 20, size.height() / 30, size.width() * 9 / 10, size.height() * 9 / 10);
    QSize used;
    {
        QPainter p(&dev);
        used = Render(kind, cache, &p, rect, printer, printer ? 1 : 0);
    }
    QVERIFY(used.width() <= rect.width() && used.height() <= rect.height());
    const QStringList texts = dev.Texts();
    for (const QString& strText : expected.split(u'|')) {
        if (strText.startsWith(u'!'))
            QVERIFY2(!texts.contains(strText.mid(1)), qPrintable(strText));
        else
            QVERIFY2(texts.contains(strText), qPrintable(strText + QStringLiteral(" in ") + texts.join(u'|')));
    }
    CheckTextsInside(dev, rect);
}

void TestMeasurementTables::stepFields_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("withUnit");
    QTest::addColumn<QString>("expected");
    QTest::newRow("with unit") << "UL1" << true << "UL1: 230.1 V";
    QTest::newRow("without unit") << "UL1" << false << "UL1: 230.1";
    QTest::newRow("no unit") << "Type" << true << "Type: NoLoadTest";
    // "F=" stands inside "PF=", which comes first.
    QTest::newRow("key inside another") << "F" << true << "F: 50.0 Hz";
    QTest::newRow("second field of a text") << "Edge" << true << "Edge: 2";
    QTest::newRow("missing") << "IL1" << true << "";
}

void TestMeasurementTables::stepFields()
{
    QFETCH(QString, key);
    QFETCH(bool, withUnit);
    QFETCH(QString, expected);
    const QStringList step = QStringLiteral("Type=NoLoadTest;|PF=-;|UL1=230.1;V|F=50.0;Hz|Test=OK;;Edge=2;").split(u'|');
    QCOMPARE(GetStepField(step, key, withUnit), expected);
}

void TestMeasurementTables::automaticPages_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<bool>("landscape");
    QTest::addColumn<QList<int>>("stepsPerPage");
    const QString strRegister = QStringLiteral("Type=RegisterTest;#Energy=1.0;kWh");
    QTest::newRow("none") << QStringList() << false << QList<int>{};
    QTest::newRow("10 accuracy portrait") << AccuracySteps(10) << false << QList<int>{10};
    QTest::newRow("10 accuracy landscape") << AccuracySteps(10) << true << QList<int>{6, 4};
    QTest::newRow("8 register portrait") << QStringList(8, strRegister) << false << QList<int>{8};
    QTest::newRow("9 register portrait") << QStringList(9, strRegister) << false << QList<int>{8, 1};
    QTest::newRow("26 accuracy landscape") << AccuracySteps(26) << true << QList<int>{6, 8, 8, 4};
}

void TestMeasurementTables::automaticPages()
{
    QFETCH(QStringList, steps);
    QFETCH(bool, landscape);
    QFETCH(QList<int>, stepsPerPage);
    const CResultCache cache = LoadCache(QStringLiteral("Automatic-Measurement"), Steps(steps));
    QCOMPARE(AutomaticPageCount(cache, landscape), stepsPerPage.size());
    const QSize page = landscape ? QSize(3300, 2200) : QSize(2200, 3300);
    for (int n = 1; n <= stepsPerPage.size(); ++n) {
        CRecordingDevice dev(page, 300);
        {
            QPainter p(&dev);
            Render(QStringLiteral("automatic"), cache, &p, QRect(QPoint(0, 0), page), true, n, landscape);
        }
        // Each page draws its own steps, the settings only on page 1.
        const QStringList texts = dev.Texts();
        QCOMPARE(std::count_if(texts.begin(), texts.end(), [](const QString& s) { return s.startsWith(u"Type: "); }),
                 stepsPerPage[n - 1]);
        QCOMPARE(dev.Texts().contains(QStringLiteral("Einstellungen")), n == 1);
        CheckTextsInside(dev, QRectF(0, 0, page.width(), page.height()));
    }
}

void TestMeasurementTables::selectivePages_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<bool>("landscape");
    QTest::addColumn<QList<int>>("firstRowOfPage");
    QTest::newRow("14 portrait") << 14 << false << QList<int>{0};
    QTest::newRow("15 portrait") << 15 << false << QList<int>{0, 14};
    QTest::newRow("41 portrait") << 41 << false << QList<int>{0, 14};
    QTest::newRow("41 landscape") << 41 << true << QList<int>{0, 7, 27};
}

void TestMeasurementTables::selectivePages()
{
    QFETCH(int, rows);
    QFETCH(bool, landscape);
    QFETCH(QList<int>, firstRowOfPage);
    const CResultCache cache = LoadCache(QStringLiteral("Selektiv-Measurement"), Elements(SelectiveEntries(rows)));
    QCOMPARE(SelectiveRows(cache).size(), rows);
    const QSize page = landscape ? QSize(3300, 2200) : QSize(2200, 3300);
    for (int n = 1; n <= firstRowOfPage.size(); ++n) {
        CRecordingDevice dev(page, 300);
        {
            QPainter p(&dev);
            Render(QStringLiteral("selective"), cache, &p, QRect(QPoint(0, 0), page), true, n, landscape);
        }
        const int nFirst = firstRowOfPage[n - 1];
        const int nEnd = n < firstRowOfPage.size() ? firstRowOfPage[n] : rows;
        for (int r = 0; r < rows; ++r)
            QVERIFY2((dev.FindText(QString::number(r)) != nullptr) == (r >= nFirst && r < nEnd), qPrintable(QString::number(r)));
        QVERIFY(dev.FindText(QStringLiteral("PL1")));
        CheckTextsInside(dev, QRectF(0, 0, page.width(), page.height()));
    }
}

void TestMeasurementTables::gallery()
{
    const QString strDir = QStringLiteral(QARDA_GALLERY_DIR);
    QVERIFY(QDir().mkpath(strDir));
    for (const CKindData& d : Kinds()) {
        const QString strKind = QString::fromLatin1(d.m_pszKind);
        const QString strFunction = QString::fromLatin1(d.m_pszFunction);
        const CResultCache cache =
            LoadCache(strFunction, strFunction == u"Automatic-Measurement" ? d.m_strBody : Elements(d.m_strBody));
        for (const QSize& size : {QSize(800, 600), QSize(1920, 1080)}) {
            QImage image(size, QImage::Format_RGB32);
            image.fill(Qt::white);
            {
                QPainter p(&image);
                Render(strKind, cache, &p, QRect(QPoint(0, 0), size), false);
            }
            QVERIFY(image.save(QStringLiteral("%1/table_%2_%3x%4.png").arg(strDir, strKind).arg(size.width()).arg(size.height())));
        }
    }
}

QTEST_MAIN(TestMeasurementTables)
#include "tst_measurementtables.moc"
