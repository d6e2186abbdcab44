// Record decoding: every kind of stored record against values worked out by
// hand, the number helpers, the time stamps and the duplicate index.

#include "device/Readout.h"
#include "device/RecordDecoder.h"
#include "xml/XMLDocument.h"
#include "xml/XMLNodeResult.h"

#include <QLocale>
#include <QTemporaryDir>
#include <QTest>

#include <clocale>

namespace {

QStringList Lines(const char* pszText)
{
    // Records in the tables are written with '|' between lines.
    return QString::fromUtf8(pszText).split(u'|');
}

// The text a result would store in the element, read back through the field
// exchange, so a value in a member the kind does not store reads as absent.
// An index picks one entry of a repeated element.
QString Stored(CXMLNodeResult& r, const QString& strElement, int nIndex = -1)
{
    const auto map = r.StoreToMap();
    const CXMLFieldEntry* p = map->Find(QStringLiteral("Result/") + strElement);
    if (!p)
        return QStringLiteral("<absent>");
    if (p->m_kind == CXMLFieldEntry::Array) {
        if (nIndex < 0)
            return QString::number(p->m_array.size());
        return nIndex < p->m_array.size() ? p->m_array.at(nIndex) : QStringLiteral("<out of range>");
    }
    return p->m_object.m_strText;
}

const QDateTime kStamp(QDate(2024, 3, 9), QTime(8, 7, 6));

} // namespace

class TestReadoutDecoding : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<CXMLDocument> m_pDoc;

    // Decodes the record and returns the stored text of one element.
    QString Decode(const QStringList& lines, int nVersion, const QString& strElement, int nIndex, bool* pbKept = nullptr)
    {
        CRecordDecoder decoder(QStringLiteral(" PX900-Typ"), QStringLiteral("SN4711"), nVersion);
        CXMLNodeResult r(m_pDoc.get());
        const bool bKept = decoder.Decode(lines, kStamp, r);
        if (pbKept)
            *pbKept = bKept;
        return Stored(r, strElement, nIndex);
    }

private slots:
    void initTestCase()
    {
        m_pDoc = std::make_unique<CXMLDocument>();
        m_pDoc->LoadXML(QStringLiteral("<Result-Data>\n</Result-Data>"));
    }

    void splitKeyValue_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::newRow("plain") << "AV0;230.5" << "AV0" << "230.5";
        QTest::newRow("value keeps further semicolons") << "UR;300;U 300" << "UR" << "300;U 300";
        QTest::newRow("no semicolon") << "AGRACK" << "AGRACK" << "";
        QTest::newRow("empty line") << "" << "" << "";
        QTest::newRow("empty key") << ";x" << "" << "x";
        QTest::newRow("empty value") << "ID;" << "ID" << "";
    }
    void splitKeyValue()
    {
        QFETCH(QString, line);
        QFETCH(QString, key);
        QFETCH(QString, value);
        QString k = QStringLiteral("stale"), v = QStringLiteral("stale");
        SplitKeyValue(line, k, v);
        QCOMPARE(k, key);
        QCOMPARE(v, value);
        // Splitting the value in place, as the decoder does with sub-fields.
        QString rest = line;
        SplitKeyValue(rest, k, rest);
        QCOMPARE(k, key);
        QCOMPARE(rest, value);
    }

    void toDeviceNumber_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("number");
        QTest::newRow("point") << "230.5" << 230.5;
        QTest::newRow("negative") << "-0.25" << -0.25;
        QTest::newRow("comma is no separator") << "1,5" << 1.0;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("text") << "---" << 0.0;
        QTest::newRow("exponent") << "1.5e3" << 1500.0;
    }
    void toDeviceNumber()
    {
        QFETCH(QString, text);
        QFETCH(double, number);
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QCOMPARE(ToDeviceNumber(text), number);
        QLocale::setDefault(QLocale::c());
    }

    void scaleIndex_data()
    {
        QTest::addColumn<double>("x");
        QTest::addColumn<int>("index");
        QTest::newRow("zero") << 0.0 << 0;
        QTest::newRow("just below 0.0009") << 0.00089 << 0;
        QTest::newRow("0.0009") << 0.0009 << 1;
        QTest::newRow("just below 0.9") << 0.8999 << 1;
        QTest::newRow("0.9") << 0.9 << 2;
        QTest::newRow("1000") << 1000.0 << 2;
        QTest::newRow("above 1000") << 1000.001 << 3;
        QTest::newRow("1000000") << 1000000.0 << 3;
        QTest::newRow("above 1000000") << 1000000.5 << 4;
        QTest::newRow("negative") << -0.5 << 1;
        QTest::newRow("negative large") << -2000.0 << 3;
    }
    void scaleIndex()
    {
        QFETCH(double, x);
        QFETCH(int, index);
        QCOMPARE(ScaleIndex(x), index);
    }

    void formatScaled_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<double>("reference");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("unit");
        QTest::addColumn<QString>("text");
        QTest::newRow("reference above 100: two decimals") << 150.0 << 300.0 << 2 << "V" << "150.00;V";
        QTest::newRow("reference 100: three decimals") << 99.5 << 100.0 << 2 << "V" << "99.500;V";
        QTest::newRow("reference above 10: three decimals") << 10.5 << 10.5 << 2 << "V" << "10.500;V";
        QTest::newRow("reference 10: four decimals") << 1.0 << 10.0 << 2 << "A" << "1.0000;A";
        QTest::newRow("reference 0 takes the value") << 10.5 << 0.0 << 2 << "V" << "10.500;V";
        QTest::newRow("micro prefix") << 0.0005 << 0.0 << 0 << "A" << QString::fromUtf8("500.00;µA");
        QTest::newRow("milli") << -5.0 << 5.0 << 1 << "A" << "-5000.00;mA";
        QTest::newRow("kilo") << 23050.0 << 30000.0 << 3 << "V" << "23.050;kV";
        QTest::newRow("mega") << 1234567.0 << 0.0 << 4 << "W" << "1.2346;MW";
        QTest::newRow("rounding") << 2.5 << 1.0 << 2 << "V" << "2.5000;V";
    }
    void formatScaled()
    {
        QFETCH(double, value);
        QFETCH(double, reference);
        QFETCH(int, index);
        QFETCH(QString, unit);
        QFETCH(QString, text);
        QCOMPARE(FormatScaled(value, reference, index, unit), text);
        QCOMPARE(ScalePrefix(0), QString(QChar(0x00B5)));
    }

    // The user's numeric locale must not turn points into commas.
    void formatScaledIgnoresLocale()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        const char* pszOld = std::setlocale(LC_NUMERIC, nullptr);
        const QByteArray old = pszOld ? QByteArray(pszOld) : QByteArray("C");
        const bool bGerman = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") || std::setlocale(LC_NUMERIC, "de_DE");
        const QString text = FormatScaled(230.5, 300, 2, QStringLiteral("V"));
        std::setlocale(LC_NUMERIC, old.constData());
        QLocale::setDefault(QLocale::c());
        QCOMPARE(text, QStringLiteral("230.50;V"));
        if (!bGerman)
            qInfo("no German C locale installed; checked with the Qt default locale only");
    }

    void modeOfCode_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("version");
        QTest::addColumn<QString>("text");
        QTest::newRow("v4 code 0") << 0 << 4 << "4LW";
        QTest::newRow("v4 code 3") << 3 << 4 << "3LW";
        QTest::newRow("v4 code 6") << 6 << 4 << "3LBKB";
        QTest::newRow("v4 code 7") << 7 << 4 << "2LW";
        QTest::newRow("v4 code 9") << 9 << 4 << "MQRef";
        QTest::newRow("v4 code 10") << 10 << 4 << "";
        QTest::newRow("v5 code 3") << 3 << 5 << "4LS";
        QTest::newRow("v5 code 4") << 4 << 5 << "3LW";
        QTest::newRow("v5 code 8") << 8 << 5 << "3LS";
        QTest::newRow("v5 code 11") << 11 << 5 << "2LS";
        QTest::newRow("v5 code 12") << 12 << 5 << "MQRef";
        QTest::newRow("v5 code 13") << 13 << 5 << "";
        QTest::newRow("v5 negative") << -1 << 5 << "";
        QTest::newRow("v0 code 2") << 2 << 0 << "4LBK";
    }
    void modeOfCode()
    {
        QFETCH(int, code);
        QFETCH(int, version);
        QFETCH(QString, text);
        QCOMPARE(ModeText(ModeOfCode(code, version)), text);
        const QString strStored = Decode({QStringLiteral("RID;1"), QStringLiteral("MM;%1").arg(code)}, version,
                                         QStringLiteral("M-Mode"), -1);
        QCOMPARE(strStored, text);
    }

    // One element of one decoded record. The records carry a header of their
    // own; "|" separates the lines.
    void decode_data()
    {
        QTest::addColumn<QString>("record");
        QTest::addColumn<int>("version");
        QTest::addColumn<QString>("element");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("expected");

        const QString h1 = QStringLiteral("RID;1|MM;0|UR;300;U300|IR;5;I5|URat;1;0;1;0|IRat;1;1|");
        auto row = [](const char* name, const QString& record, int version, const char* element, int index,
                      const QString& expected) {
            QTest::newRow(name) << record << version << QString::fromLatin1(element) << index << expected;
        };
        auto u = [](const char* psz) { return QString::fromUtf8(psz); };

        // Common fields.
        row("ID as sent", h1 + u("ID;Zähler Ä-1"), 5, "ID", -1, u("Zähler Ä-1"));
        row("remark", h1 + u("Rem;Öl; Wasser"), 5, "Remark", -1, u("Öl; Wasser"));
        row("address", h1 + u("Adr;7"), 5, "PX900Adr", -1, u("7"));
        row("device type", h1, 5, "Device-Typ", -1, u(" PX900-Typ"));
        row("device number", h1, 5, "Device-No", -1, u("SN4711"));
        row("fixed prim/sec", h1, 5, "PrimSek-Val-Cz-Reg", -1, u("On;On;On"));
        row("adjust data", h1, 5, "AdjustData", -1, u("OK"));
        row("date from the stamp", h1, 5, "Date", -1, u("09.03.2024"));
        row("time from the stamp", h1, 5, "Time", -1, u("08:07:06"));
        row("Dat date", h1 + u("Dat;24122023153045"), 5, "Date", -1, u("24.12.2023"));
        row("Dat time", h1 + u("Dat;24122023153045"), 5, "Time", -1, u("15:30:45"));
        row("short Dat ignored", h1 + u("Dat;2412202315304"), 5, "Time", -1, u("08:07:06"));
        row("U range", h1, 5, "U-Range", -1, u("300.0;V;U300"));
        row("I range", h1, 5, "I-Range", -1, u("5.000;A;I5"));
        row("U ratio 1", h1, 5, "U-PrimSek", -1, u("1.0/1.0;V;1.00"));
        row("U ratio sqrt3 both", u("RID;1|URat;20000;1;100;1"), 5, "U-PrimSek", -1,
            u("20000.0:sqrt(3)/100.0:sqrt(3);V;200.00"));
        row("U ratio sqrt3 primary", u("RID;1|URat;20000;1;100;0"), 5, "U-PrimSek", -1,
            u("20000.0:sqrt(3)/100.0;V;115.47"));
        row("U ratio sqrt3 secondary", u("RID;1|URat;20000;0;100;1"), 5, "U-PrimSek", -1,
            u("20000.0/100.0:sqrt(3);V;346.41"));
        row("U ratio without secondary", u("RID;1|URat;20000;0"), 5, "U-PrimSek", -1, u("20000.0/0.0;V;0.00"));
        row("I ratio", u("RID;1|IRat;100;5"), 5, "I-PrimSek", -1, u("100.000/5.000;A;20.000"));
        row("I ratio secondary 0", u("RID;1|IRat;100;0"), 5, "I-PrimSek", -1, u("100.000/0.000;A;0.000"));

        // Kinds.
        row("kind 1 function", u("RID;1"), 5, "Function", -1, u("Value-Measurement"));
        row("kind 2 datatype", u("RID;2"), 5, "Datatype", -1, u("Actual-Value"));
        row("kind 3 datatype", u("RID;3"), 5, "Datatype", -1, u("Sample-Data"));
        row("kind 4 datatype", u("RID;4"), 5, "Datatype", -1, u("Harmonic-Data"));
        row("kind 5 datatype", u("RID;5"), 5, "Datatype", -1, u("Meter-Error"));
        row("kind 6 datatype", u("RID;6"), 5, "Datatype", -1, u("UI-Transformer-Value"));
        row("kind 7 datatype", u("RID;7"), 5, "Datatype", -1, u("UBurden-Value"));
        row("kind 8 datatype", u("RID;8"), 5, "Datatype", -1, u("IBurden-Value"));
        row("kind 9 function", u("RID;9"), 5, "Function", -1, u("Register-Test"));
        row("kind 10 function", u("RID;10"), 5, "Function", -1, u("Register-Test"));
        row("kind 11 datatype", u("RID;11"), 5, "Datatype", -1, u("Selektiv-Data"));
        row("kind 12 function", u("RID;12"), 5, "Function", -1, u("PQS-Reg-Test"));

        // Actual values (kind 1, range 300 V / 5 A, ratios 1).
        row("voltage", h1 + u("AV0;230.5"), 5, "UPN1", -1, u("230.50;V"));
        row("voltage L3", h1 + u("AV2;231"), 5, "UPN3", -1, u("231.00;V"));
        row("voltage ratio 100", u("RID;1|UR;300;x|URat;10000;0;100;0|AV0;230.5"), 5, "UPN1", -1, u("23.050;kV"));
        row("voltage before its header", u("AV0;230.5|RID;1|UR;300;x|URat;10000;0;100;0"), 5, "UPN1", -1,
            u("23.050;kV"));
        // Without a ratio line the values are taken as measured (ratio 1),
        // not multiplied by 0.
        row("no ratio lines", u("RID;1|UR;300;x|AV0;230.5"), 5, "UPN1", -1, u("230.50;V"));
        row("no ratio lines, power", u("RID;1|UR;300;x|IR;5;x|AV15;1083.8"), 5, "P1", -1, u("1.0838;kW"));
        row("ratio with secondary 0", u("RID;1|UR;300;x|URat;20000;0;0;0|AV0;230.5"), 5, "UPN1", -1,
            u("230.50;V"));
        row("current", h1 + u("AV3;1.2345"), 5, "IL1", -1, u("1.2345;A"));
        row("current ratio 20", u("RID;1|IR;5;x|IRat;100;5|AV3;4.5"), 5, "IL1", -1, u("90.000;A"));
        row("current L2 four-wire", h1 + u("AV4;1"), 5, "IL2", -1, u("1.0000;A"));
        row("voltage angle as sent", h1 + u("AV6;12.5"), 5, "AU1", -1, u("12.5;deg"));
        row("current angle as sent", h1 + u("AV10;-3.25"), 5, "AI2", -1, u("-3.25;deg"));
        row("phase-to-phase 12", h1 + u("AV12;400"), 5, "UPP12", -1, u("400.00;V"));
        row("phase-to-phase 31", h1 + u("AV14;399.5"), 5, "UPP31", -1, u("399.50;V"));
        row("active power", h1 + u("AV15;1150.5"), 5, "P1", -1, u("1.1505;kW"));
        row("reactive power", h1 + u("AV19;-200"), 5, "Q2", -1, u("-0.2000;kVAr"));
        row("apparent power", h1 + u("AV23;1000"), 5, "S3", -1, u("1.0000;kVA"));
        row("total active power", h1 + u("AV24;3450"), 5, "SP", -1, u("3.4500;kW"));
        row("total reactive power", h1 + u("AV25;10"), 5, "SQ", -1, u("0.0100;kVAr"));
        row("total apparent power", h1 + u("AV26;4500"), 5, "SS", -1, u("4.5000;kVA"));
        row("rotating field truncated", h1 + u("AV27;2.9"), 5, "RF", -1, u("2"));
        row("rotating field negative", h1 + u("AV27;-1.5"), 5, "RF", -1, u("-1"));
        row("frequency", h1 + u("AV28;50"), 5, "FREQ", -1, u("50.000;Hz"));
        row("power factor as sent", h1 + u("AV29;0.98"), 5, "Lambda1", -1, u("0.98;"));
        row("total power factor", h1 + u("AV32;0.5"), 5, "SLambda", -1, u("0.5000;"));
        row("voltage distortion", h1 + u("AV33;1.25"), 5, "UD1", -1, u("1.25;%"));
        row("current distortion", h1 + u("AV38;2.5"), 5, "ID3", -1, u("2.50;%"));
        row("temperature", h1 + u("AV39;23.75"), 5, "Temperature", -1, u("23.8;deg"));
        row("DC stays empty", h1 + u("AV0;230"), 5, "UDC1", -1, u(""));

        // Phase angles: current angle minus voltage angle, into -180..180.
        const QString angles = h1 + u("AV6;0|AV7;120|AV8;200|AV9;190|AV10;150|AV11;10");
        row("190 degrees", angles, 5, "PHI1", -1, u("-170.00;deg"));
        row("30 degrees", angles, 5, "PHI2", -1, u("30.00;deg"));
        row("-190 degrees", angles, 5, "PHI3", -1, u("170.00;deg"));
        row("180 degrees stays", h1 + u("AV6;0|AV9;180|AV11;0"), 5, "PHI1", -1, u("180.00;deg"));

        // Three-wire mode "3LW" (code 4 from version 5 on, 3 before).
        const QString w3 = u("RID;1|MM;4|UR;300;x|IR;5;x|URat;1;0;1;0|IRat;1;1|");
        row("3LW current L2", w3 + u("AV4;1"), 5, "IL2", -1, u("---;A"));
        row("3LW current L1", w3 + u("AV3;1"), 5, "IL1", -1, u("1.0000;A"));
        row("3LW current angle L2", w3 + u("AV10;5"), 5, "AI2", -1, u("---;deg"));
        row("3LW current angle L3", w3 + u("AV11;5"), 5, "AI3", -1, u("5;deg"));
        row("3LW apparent L1", w3 + u("AV21;100"), 5, "S1", -1, u("---;VA"));
        row("3LW apparent L2", w3 + u("AV22;100"), 5, "S2", -1, u("---;VA"));
        row("3LW apparent L3", w3 + u("AV23;100"), 5, "S3", -1, u("---;VA"));
        row("3LW power factor L1", w3 + u("AV29;0.9"), 5, "Lambda1", -1, u("---;"));
        row("3LW power factor L2", w3 + u("AV30;0.9"), 5, "Lambda2", -1, u("---;"));
        row("3LW power factor L3", w3 + u("AV31;0.9"), 5, "Lambda3", -1, u("---;"));
        row("3LW phase angle L2", w3 + u("AV6;0|AV9;10|AV11;0"), 5, "PHI2", -1, u("---;deg"));
        row("3LW phase angle L1", w3 + u("AV6;0|AV9;10|AV11;0"), 5, "PHI1", -1, u("10.00;deg"));
        row("3LW active power kept", w3 + u("AV15;100"), 5, "P1", -1, u("0.1000;kW"));
        row("3LW by old code", u("RID;1|MM;3|AV4;1"), 4, "IL2", -1, u("---;A"));
        row("4LS by new code 3", u("RID;1|MM;3|IR;5;x|IRat;1;1|AV4;1"), 5, "IL2", -1, u("1.0000;A"));
        row("3LS is three-wire", u("RID;1|MM;8|AV22;1"), 5, "S2", -1, u("---;VA"));

        // Error measurement keeps the actual values and adds its own block.
        const QString h5 = u("RID;5|MM;0|UR;300;x|IR;5;x|URat;1;0;1;0|IRat;1;1|");
        row("error: actual value", h5 + u("AV0;230"), 5, "UPN1", -1, u("230.00;V"));
        row("Cz without exponent", h5 + u("Cz;1000;0"), 5, "Cz", -1, u("1000.00;x1;I/kWh"));
        row("Cz with exponent", h5 + u("Cz;1000;3;7"), 5, "Cz", -1, u("1000.00;xExp+2;Wh/I"));
        row("Cz exponent -5", h5 + u("Cz;2.5;5;0"), 5, "Cz", -1, u("2.50;xExp-5;Vah/I"));
        row("Cz unknown unit and exponent", h5 + u("Cz;10;9;12"), 5, "Cz", -1, u("10.00;x1;"));
        row("Cz unit 1", h5 + u("Cz;10;1"), 5, "Cz", -1, u("10.00;x1;I/kVarh"));
        row("pulses only", h5 + u("Imp;10"), 5, "M-Puls", -1, u("10;x1"));
        row("pulse source default", h5 + u("Imp;10"), 5, "M-Inp", -1, u("RB"));
        row("pulses with exponent", h5 + u("Imp;10;2;3"), 5, "M-Puls", -1, u("10;xExp+3"));
        row("pulse source 2", h5 + u("Imp;10;2;3"), 5, "M-Inp", -1, u("RB720"));
        row("pulse source 3", h5 + u("Imp;10;3"), 5, "M-Inp", -1, u("Start/Stop"));
        row("pulse source unknown", h5 + u("Imp;5;7;9"), 5, "M-Inp", -1, u("RB"));
        row("pulse exponent unknown", h5 + u("Imp;5;7;9"), 5, "M-Puls", -1, u("5;x1"));
        row("error", h5 + u("Err;0.126"), 5, "Error", -1, u("0.13;%"));
        row("energy active", h5 + u("E;0.5"), 5, "Err-Energie", -1, u("500.00;mWh"));
        row("energy reactive", u("RID;5|MM;1|UR;300;x|IR;5;x|URat;1;0;1;0|IRat;1;1|E;2500"), 5, "Err-Energie", -1,
            u("2.5000;kVArh"));
        row("energy apparent", u("RID;5|MM;3|UR;300;x|IR;5;x|URat;1;0;1;0|IRat;1;1|E;2500"), 5, "Err-Energie", -1,
            u("2.5000;kVAh"));
        row("start as sent", h5 + u("Start;01.02.2024 10:00:00"), 5, "StartTime", -1, u("01.02.2024 10:00:00"));
        row("end as sent", h5 + u("End;01.02.2024 11:02:05"), 5, "StopTime", -1, u("01.02.2024 11:02:05"));
        row("elapsed", h5 + u("Start;01.02.2024 10:00:00|End;01.02.2024 11:02:05"), 5, "MTime", -1, u("62:05"));
        row("elapsed over midnight", h5 + u("Start;31.12.2023 23:59:50|End;01.01.2024 00:00:15"), 5, "MTime", -1,
            u("0:25"));
        row("elapsed without start", h5 + u("End;01.02.2024 11:02:05"), 5, "MTime", -1, u(""));
        row("start of 18 characters", h5 + u("Start;1.02.2024 10:00:00|End;01.02.2024 11:02:05"), 5, "MTime", -1,
            u(""));
        row("CT ratio", h5 + u("CtRat;100;5"), 5, "Err-CtRat", -1, u("100.000/5.000"));
        row("CT ratio incomplete", h5 + u("CtRat;100"), 5, "Err-CtRat", -1, u(""));

        // Current transformer.
        row("CT N", u("RID;6|NRat;100;5"), 5, "CT-N", -1, u("100.0/5.0;A"));
        row("CT X", u("RID;6|XRat;200;1"), 5, "CT-X", -1, u("200.0/1.0;A"));
        row("CT Xc", u("RID;6|XcRat;50;5"), 5, "CT_Xc", -1, u("50.0/5.0;A"));
        row("CT primary", u("RID;6|Prim;100"), 5, "I-Prim", -1, u("100.000;A"));
        row("CT secondary N", u("RID;6|NSek;0.005"), 5, "I-Sek-N", -1, u("5.0000;mA"));
        row("CT secondary X", u("RID;6|XSek;0.0005"), 5, "I-Sek-X", -1, u("500.00;µA"));
        row("CT error", u("RID;6|EI;0.1234"), 5, "CT-Value", -1, u("0.123;%"));
        row("CT angle deg", u("RID;6|DI;1.25"), 5, "CT-Angle-deg", -1, u("1.25;deg"));
        row("CT angle min", u("RID;6|DIMin;-3.5"), 5, "CT-Angle-min", -1, u("-3.50;min"));
        row("CT angle crad", u("RID;6|DICrad;0.02"), 5, "CT-Angle-crad", -1, u("0.02;crad"));

        // Burdens.
        row("U nominal sqrt3", u("RID;7|UN;100;1"), 5, "U-Nominal", -1, u("100.0/sqrt(3);V"));
        row("U nominal", u("RID;7|UN;100;0"), 5, "U-Nominal", -1, u("100.0;V"));
        row("I nominal", u("RID;8|IN;5"), 5, "I-Nominal", -1, u("5.0;A"));
        row("burden nominal", u("RID;7|SN;15"), 5, "B-Nominal", -1, u("15.0;VA"));
        row("wire length", u("RID;8|L;10.5"), 5, "W-Length", -1, u("10.50;m"));
        row("wire gauge", u("RID;8|Q;2.5"), 5, "W-Gauge", -1, u("2.50;mm2"));
        row("burden voltage", u("RID;7|BV0;57.7"), 5, "UPN1", -1, u("57.700;V"));
        row("burden current", u("RID;8|BV4;0.5"), 5, "IL2", -1, u("500.00;mA"));
        row("burden angle", u("RID;7|BV7;12.25"), 5, "PHI2", -1, u("12.25;deg"));
        row("burden apparent", u("RID;8|BV9;10"), 5, "Sb1", -1, u("10.0000;VA"));
        row("burden cos beta as sent", u("RID;7|BV13;0.8"), 5, "CosBeta2", -1, u("0.8"));
        row("burden percentage", u("RID;8|BV17;98.5"), 5, "SN3", -1, u("98.50;%"));
        row("burden index 18 ignored", u("RID;8|BV18;1"), 5, "UPN1", -1, u(""));

        // Register tests: kind 9 energy, kind 10 power.
        const QString h9 = u("RID;9|MM;0|Ent;3|");
        row("energy measured", h9 + u("MV;12.5"), 5, "Energie", -1, u("12.50;kWh"));
        row("energy begin", h9 + u("SV;100"), 5, "E-Begin", -1, u("100.00;kWh"));
        row("energy end", h9 + u("EV;112.5"), 5, "E-End", -1, u("112.50;kWh"));
        row("energy error", h9 + u("Err;-0.5"), 5, "E-Error", -1, u("-0.50;%"));
        row("energy start", h9 + u("Start;01.02.2024 10:00:00"), 5, "E-StartTime", -1, u("01.02.2024 10:00:00"));
        row("energy elapsed", h9 + u("Start;01.02.2024 10:00:00|End;01.02.2024 10:01:00"), 5, "E-MTime", -1,
            u("1:00"));
        row("energy reactive micro", u("RID;9|MM;1|Ent;0|MV;1"), 5, "Energie", -1, u("1.00;µVArh"));
        row("energy apparent mega", u("RID;9|MM;12|Ent;4|MV;1"), 5, "Energie", -1, u("1.00;MVAh"));
        row("energy 2LS reactive", u("RID;9|MM;11|Ent;2|MV;1"), 5, "Energie", -1, u("1.00;VArh"));
        row("energy unit code unknown", u("RID;9|MM;0|Ent;9|MV;1"), 5, "Energie", -1, u("1.00;"));
        row("energy unit before mode", u("RID;9|Ent;1|MM;7|MV;1"), 4, "Energie", -1, u("1.00;mWh"));
        const QString h10 = u("RID;10|MM;3|Ent;4|");
        row("power measured", h10 + u("MV;1"), 5, "Power", -1, u("1.00;MVA"));
        row("power begin", h10 + u("SV;2"), 5, "P-Begin", -1, u("2.00;MVA"));
        row("power end", h10 + u("EV;3"), 5, "P-End", -1, u("3.00;MVA"));
        row("power error", h10 + u("Err;0.5"), 5, "P-Error", -1, u("0.50;%"));
        row("power measuring time", h10 + u("MT;15"), 5, "Measurement-Time", -1, u("15;m"));
        row("power stop", h10 + u("End;01.02.2024 10:01:00"), 5, "P-StopTime", -1, u("01.02.2024 10:01:00"));
        row("power elapsed", h10 + u("Start;01.02.2024 10:00:00|End;01.02.2024 10:01:30"), 5, "P-MTime", -1,
            u("1:30"));
        row("power active kilo", u("RID;10|MM;0|Ent;3|MV;1"), 5, "Power", -1, u("1.00;kW"));
        row("power reactive", u("RID;10|MM;11|Ent;3|MV;1"), 5, "Power", -1, u("1.00;kVAr"));
        row("register no error element of kind 5", h9 + u("Err;1"), 5, "Error", -1, u("<absent>"));

        // P/Q/S register test.
        const QString h12 = u("RID;12|MM;1|Ent0;3|Ent1;2|Ent2;1|");
        row("PQS active begin", h12 + u("SV0;10"), 5, "PE-Begin", -1, u("10.00;kWh"));
        row("PQS active end", h12 + u("EV0;11"), 5, "PE-End", -1, u("11.00;kWh"));
        row("PQS active energy", h12 + u("MV0;1"), 5, "P-Energie", -1, u("1.00;kWh"));
        row("PQS active error", h12 + u("Err0;0.1"), 5, "PE-Error", -1, u("0.10;%"));
        row("PQS reactive end", h12 + u("EV1;20"), 5, "QE-End", -1, u("20.00;VArh"));
        row("PQS reactive error", h12 + u("Err1;0.25"), 5, "QE-Error", -1, u("0.25;%"));
        row("PQS apparent energy", h12 + u("MV2;5"), 5, "S-Energie", -1, u("5.00;mVAh"));
        row("PQS apparent begin", h12 + u("SV2;5"), 5, "SE-Begin", -1, u("5.00;mVAh"));
        row("PQS elapsed", h12 + u("Start;01.02.2024 10:00:00|End;01.02.2024 10:01:30"), 5, "M-Time", -1,
            u("1:30"));
        row("PQS without unit", u("RID;12|MV1;5"), 5, "Q-Energie", -1, u("5.00;"));

        // Curves: samples in percent of the range.
        const QString h3 = u("RID;3|CCA;0|CCB;4|UR;300;x|IR;5;x|URat;1;0;1;0|IRat;1;1|");
        row("channel A", h3, 5, "ChannelA", -1, u("UL1"));
        row("channel B", h3, 5, "ChannelB", -1, u("IL2"));
        row("channel unknown", u("RID;3|CCA;6"), 5, "ChannelA", -1, u(""));
        row("samples A count", h3 + u("CA0;50"), 5, "SampleA", -1, u("504"));
        row("sample voltage", h3 + u("CA0;50"), 5, "SampleA", 0, u("1;150.00;V"));
        row("sample current", h3 + u("CB503;-100"), 5, "SampleB", 503, u("504;-5.0000;A"));
        row("sample not sent", h3 + u("CA0;50"), 5, "SampleA", 1, u(""));
        row("sample current ratio", u("RID;3|CCB;3|IR;5;x|IRat;100;5|CB0;10"), 5, "SampleB", 0, u("1;10.000;A"));

        // Harmonics.
        const QString h4 = u("RID;4|HC;3|H0;1;0|H1;100;0|H2;3;45|H3;4;-90|H40;0;0");
        row("harmonics channel", h4, 5, "Channel", -1, u("IL1"));
        row("harmonics count", h4, 5, "Harm", -1, u("41"));
        row("harmonic 2", h4, 5, "Harm", 2, u("2;3;%;45;deg"));
        row("harmonic 40", h4, 5, "Harm", 40, u("40;0;%;0;deg"));
        row("harmonics total", h4, 5, "Total-Harm", -1, u("5.10;%"));
        row("harmonics commas", u("RID;4|H5;1,5;2,5"), 5, "Harm", 5, u("5;1.5;%;2.5;deg"));
        row("harmonics total needs order 40", u("RID;4|H2;3;0"), 5, "Total-Harm", -1, u(""));
        row("harmonic order 41 ignored", u("RID;4|H41;3;0"), 5, "Harm", -1, u("41"));

        // Selective power.
        row("selective channel U", u("RID;11|PC;1"), 5, "ChannelU", -1, u("UL2"));
        row("selective channel I", u("RID;11|PC;1"), 5, "ChannelI", -1, u("IL2"));
        row("selective channel unknown", u("RID;11|PC;5"), 5, "ChannelU", -1, u(""));
        row("selective count", u("RID;11|SP3;100;50;111.8"), 5, "HarmValue", -1, u("41"));
        row("selective entry", u("RID;11|SP3;100;50;111.8"), 5, "HarmValue", 3,
            u("N;3;U;;V;I;;A;P;100.000;W;Q;50.000;var;S;111.80;VA"));
        row("selective three-wire", u("RID;11|MM;4|SP0;0.5;0.25;1"), 5, "HarmValue", 0,
            u("N;0;U;;V;I;;A;P;500.00;mW;Q;250.00;mvar;S;---;VA"));
    }
    void decode()
    {
        QFETCH(QString, record);
        QFETCH(int, version);
        QFETCH(QString, element);
        QFETCH(int, index);
        QFETCH(QString, expected);
        bool bKept = false;
        QCOMPARE(Decode(record.split(u'|'), version, element, index, &bKept), expected);
        QVERIFY(bKept);
    }

    void skippedRecords_data()
    {
        QTest::addColumn<QString>("record");
        QTest::addColumn<bool>("kept");
        QTest::newRow("kind 13") << "RID;13|ID;A" << false;
        QTest::newRow("kind 0") << "RID;0|ID;A" << false;
        QTest::newRow("no kind") << "ID;A|AV0;1" << false;
        QTest::newRow("kind not a number") << "RID;x" << false;
        QTest::newRow("a bad kind among good ones") << "RID;1|RID;13" << false;
        QTest::newRow("kind 12") << "RID;12" << true;
        QTest::newRow("with acknowledgement and empty last line") << "RID;1|AGRACK|" << true;
    }
    void skippedRecords()
    {
        QFETCH(QString, record);
        QFETCH(bool, kept);
        bool bKept = !kept;
        Decode(record.split(u'|'), 5, QStringLiteral("ID"), -1, &bKept);
        QCOMPARE(bKept, kept);
    }

    // A record must not inherit anything from the one before.
    void stateIsResetPerRecord()
    {
        CRecordDecoder decoder(QString(), QString(), 5);
        CXMLNodeResult r(m_pDoc.get());
        QVERIFY(decoder.Decode(Lines("RID;1|MM;4|UR;300;x|URat;100;0;1;0|ID;first|Rem;x"), kStamp, r));
        QVERIFY(decoder.Decode(Lines("RID;1|IR;5;x|IRat;1;1|AV4;1|AV0;1"), kStamp, r));
        QCOMPARE(r.m_strID, QString());
        QCOMPARE(r.m_strRemark, QString());
        QCOMPARE(r.m_strMMode, QString());
        QCOMPARE(r.m_values.m_strIL[1], QStringLiteral("1.0000;A"));
        // Neither the range nor the ratio 100 of the record before: the
        // voltage is taken as measured.
        QCOMPARE(r.m_values.m_strUPN[0], QStringLiteral("1.0000;V"));
        QVERIFY(!decoder.Decode(Lines("ID;x"), kStamp, r));
        QCOMPARE(decoder.GetKind(), 0);
    }

    void nextTimeStamp_data()
    {
        QTest::addColumn<QDateTime>("previous");
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<QDateTime>("stamp");
        const QDate d(2024, 5, 1);
        QTest::newRow("same second") << QDateTime(d, QTime(10, 0, 0, 200)) << QDateTime(d, QTime(10, 0, 0, 900))
                                     << QDateTime(d, QTime(10, 0, 1, 200));
        QTest::newRow("less than a second, next second") << QDateTime(d, QTime(10, 0, 0, 900))
                                                         << QDateTime(d, QTime(10, 0, 1, 100))
                                                         << QDateTime(d, QTime(10, 0, 1, 100));
        QTest::newRow("later") << QDateTime(d, QTime(10, 0, 0)) << QDateTime(d, QTime(10, 0, 5))
                               << QDateTime(d, QTime(10, 0, 5));
        QTest::newRow("clock set back") << QDateTime(d, QTime(10, 0, 5)) << QDateTime(d, QTime(10, 0, 3))
                                        << QDateTime(d, QTime(10, 0, 6));
        QTest::newRow("over midnight") << QDateTime(d, QTime(23, 59, 59, 500)) << QDateTime(d, QTime(23, 59, 59, 600))
                                       << QDateTime(d.addDays(1), QTime(0, 0, 0, 500));
    }
    void nextTimeStamp()
    {
        QFETCH(QDateTime, previous);
        QFETCH(QDateTime, now);
        QFETCH(QDateTime, stamp);
        QCOMPARE(NextTimeStamp(previous, now), stamp);
    }

    // Two records read within one second get times one second apart.
    void twoRecordsWithinOneSecond()
    {
        CRecordDecoder decoder(QString(), QString(), 5);
        CXMLNodeResult r(m_pDoc.get());
        const QDateTime start(QDate(2024, 5, 1), QTime(10, 0, 0, 100));
        const QDateTime first = NextTimeStamp(start, start.addMSecs(300));
        const QDateTime second = NextTimeStamp(first, start.addMSecs(600));
        QVERIFY(decoder.Decode(Lines("RID;1|ID;A"), first, r));
        const QString t1 = r.m_strTime;
        QVERIFY(decoder.Decode(Lines("RID;1|ID;A"), second, r));
        QCOMPARE(t1, QStringLiteral("10:00:01"));
        QCOMPARE(r.m_strTime, QStringLiteral("10:00:02"));
    }

    // The index answers exactly as the query over the file would.
    void identityIndex_data()
    {
        QTest::addColumn<QString>("xml");
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("time");
        const QString plain = QStringLiteral(
            "<Result-Data><Result><ID>A</ID><Date>01.01.2024</Date><Time>10:00:00</Time></Result></Result-Data>");
        QTest::newRow("match") << plain << "A" << "01.01.2024" << "10:00:00";
        QTest::newRow("other time") << plain << "A" << "01.01.2024" << "10:00:01";
        QTest::newRow("other id") << plain << "B" << "01.01.2024" << "10:00:00";
        QTest::newRow("no ID element, empty id")
            << "<Result-Data><Result><Date>d</Date><Time>t</Time></Result></Result-Data>" << "" << "d" << "t";
        QTest::newRow("empty ID element, empty id")
            << "<Result-Data><Result><ID/><Date>d</Date><Time>t</Time></Result></Result-Data>" << "" << "d" << "t";
        QTest::newRow("two ID elements, second matches")
            << "<Result-Data><Result><ID>X</ID><ID>A</ID><Date>d</Date><Time>t</Time></Result></Result-Data>" << "A"
            << "d" << "t";
        QTest::newRow("nested markup in ID")
            << "<Result-Data><Result><ID>A<b>1</b>2</ID><Date>d</Date><Time>t</Time></Result></Result-Data>" << "A12"
            << "d" << "t";
        QTest::newRow("CDATA in ID")
            << "<Result-Data><Result><ID><![CDATA[A&B]]></ID><Date>d</Date><Time>t</Time></Result></Result-Data>"
            << "A&B" << "d" << "t";
        QTest::newRow("entity and quote")
            << "<Result-Data><Result><ID>A&quot;1&amp;</ID><Date>d</Date><Time>t</Time></Result></Result-Data>"
            << "A\"1&" << "d" << "t";
        QTest::newRow("whitespace counts")
            << "<Result-Data><Result><ID> A</ID><Date>d</Date><Time>t</Time></Result></Result-Data>" << "A" << "d"
            << "t";
        QTest::newRow("grandchild Result is not selected")
            << "<Result-Data><X><Result><ID>A</ID><Date>d</Date><Time>t</Time></Result></X></Result-Data>" << "A"
            << "d" << "t";
        QTest::newRow("umlauts") << QString::fromUtf8(
            "<Result-Data><Result><ID>Zähler</ID><Date>d</Date><Time>t</Time></Result></Result-Data>")
                                 << QString::fromUtf8("Zähler") << "d" << "t";
        QTest::newRow("fields of different results do not mix")
            << "<Result-Data><Result><ID>A</ID><Date>d</Date><Time>1</Time></Result>"
               "<Result><ID>B</ID><Date>d</Date><Time>2</Time></Result></Result-Data>"
            << "A" << "d" << "2";
    }
    void identityIndex()
    {
        QFETCH(QString, xml);
        QFETCH(QString, id);
        QFETCH(QString, date);
        QFETCH(QString, time);
        CXMLDocument doc;
        doc.LoadXML(xml);
        CXMLNodeResult query(&doc);
        query.Open(QStringLiteral("Result[ID = $id and Date = $d and Time = $t]"), nullptr,
                   {{QStringLiteral("id"), id}, {QStringLiteral("d"), date}, {QStringLiteral("t"), time}});
        const bool bQuery = query.GetRecordCount() > 0;
        CResultIdentityIndex index;
        index.Build(doc);
        QCOMPARE(index.Contains(id, date, time), bQuery);
    }

    // The fields decoded into one cursor arrive in the element that another
    // cursor appends, and only the kind's fields are written.
    void copyIntoAppendedElement()
    {
        QTemporaryDir dir;
        const QString strPath = dir.filePath(QStringLiteral("Result.xml"));
        {
            QFile f(strPath);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("<Result-Data>\r\n</Result-Data>\r\n");
        }
        CXMLDocument doc;
        doc.Open(strPath);
        CRecordDecoder decoder(QStringLiteral("T"), QStringLiteral("S"), 5);
        CXMLNodeResult record(&doc);
        QVERIFY(decoder.Decode(Lines("RID;4|ID;Ä1|HC;0|H0;1;0|H1;100;0|H40;2;0"), kStamp, record));
        CXMLNodeResult cursor(&doc);
        cursor.Open(QStringLiteral("Result"));
        cursor.AddNew();
        CopyResultFields(record, cursor);
        cursor.Update();

        CXMLDocument again;
        again.Open(strPath);
        CXMLNodeResult read(&again);
        read.Open(QStringLiteral("Result"));
        QCOMPARE(read.GetRecordCount(), 1);
        QCOMPARE(read.m_strID, QString::fromUtf8("Ä1"));
        QCOMPARE(read.m_strFunction, QStringLiteral("Harmonics-Measurement"));
        QCOMPARE(read.m_strHarm.size(), 41);
        QCOMPARE(read.m_strHarm.at(40), QStringLiteral("40;2;%;0;deg"));
        QCOMPARE(read.m_strTotalHarm, QStringLiteral("2.24;%"));
        QCOMPARE(read.m_strChannel, QStringLiteral("UL1"));
        const pugi::xml_node element = read.GetCurrentElement();
        QVERIFY(!element.child("UPN1"));
        QVERIFY(!element.child("SampleA"));
    }
};

QTEST_GUILESS_MAIN(TestReadoutDecoding)
#include "tst_readout_decoding.moc"
