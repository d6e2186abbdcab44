// Record decoding: every kind of stored record against values worked out by
// hand, the number helpers and the time stamps, all without a document; then
// the duplicate index.

#include "../common/StoredFields.h"

#include "core/Kinds.h"
#include "device/RecordDecoder.h"
#include "xml/ResultIdentityIndex.h"
#include "xml/ResultRecord.h"
#include "xml/XMLDocument.h"
#include "xml/XMLNodeResult.h"

#include <QTest>

namespace {

const QDateTime kStamp(QDate(2024, 3, 9), QTime(8, 7, 6));

// Decodes records written with '|' between their lines and "||" between
// records, one after the other with one decoder; whether it kept the last.
bool Decode(const QString& strRecords, CResultRecord& r, int nVersion = 5, RecordKind* pKind = nullptr)
{
    CRecordDecoder decoder(QStringLiteral(" PX900-Typ"), QStringLiteral("SN4711"), nVersion);
    bool bKept = false;
    for (const QString& strRecord : strRecords.split(QStringLiteral("||")))
        bKept = decoder.Decode(strRecord.split(u'|'), kStamp, r);
    if (pKind)
        *pKind = decoder.GetKind();
    return bKept;
}

} // namespace

class TestReadoutDecoding : public QObject
{
    Q_OBJECT

private slots:
    // A number in the unit's prefix (index 0 to 4: micro to mega), or in the
    // one its size picks (index -1); the digits follow the reference.
    void formatScaled_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<double>("reference");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("unit");
        QTest::addColumn<QString>("text");
        QTest::newRow("reference above 100: two decimals") << 150.0 << 300.0 << 2 << "V" << "150.00;V";
        QTest::newRow("reference 100: three decimals") << 99.5 << 100.0 << 2 << "V" << "99.500;V";
        QTest::newRow("reference 10: four decimals") << 1.0 << 10.0 << 2 << "A" << "1.0000;A";
        QTest::newRow("reference 0 takes the value") << 10.5 << 0.0 << 2 << "V" << "10.500;V";
        QTest::newRow("micro prefix") << 0.0005 << 0.0 << 0 << "A" << QString::fromUtf8("500.00;µA");
        QTest::newRow("milli") << -5.0 << 5.0 << 1 << "A" << "-5000.00;mA";
        QTest::newRow("kilo") << 23050.0 << 30000.0 << 3 << "V" << "23.050;kV";
        QTest::newRow("mega") << 1234567.0 << 0.0 << 4 << "W" << "1.2346;MW";
        auto size = [](const char* pszName, double value, const char* pszText) {
            QTest::newRow(pszName) << value << 0.0 << -1 << QStringLiteral("V") << QString::fromUtf8(pszText);
        };
        size("size zero", 0.0, "0.0000;µV");
        size("size just below 0.0009", 0.00089, "890.00;µV");
        size("size 0.0009", 0.0009, "0.9000;mV");
        size("size just below 0.9", 0.8999, "899.90;mV");
        size("size 0.9", 0.9, "0.9000;V");
        size("size 1000", 1000.0, "1000.00;V");
        size("size above 1000", 1000.001, "1.0000;kV");
        size("size 1000000", 1000000.0, "1000.00;kV");
        size("size above 1000000", 1000000.5, "1.0000;MV");
        size("size negative large", -2000.0, "-2.0000;kV");
    }
    void formatScaled()
    {
        QFETCH(double, value);
        QFETCH(double, reference);
        QFETCH(int, index);
        QFETCH(QString, unit);
        QFETCH(QString, text);
        QCOMPARE(index < 0 ? FormatAutoScaled(value, reference, unit) : FormatScaled(value, reference, index, unit),
                 text);
    }

    // Decoded records against their stored texts. A record carries a header
    // of its own; "|" separates its lines and the expected "Element=text"
    // pairs. A record that is not kept has no pairs.
    void decode_data()
    {
        QTest::addColumn<QString>("record");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("version");
        auto row = [](const char* name, const QString& record, const char* expected, int version = 5) {
            QTest::newRow(name) << record << QString::fromUtf8(expected) << version;
        };
        auto u = [](const char* psz) { return QString::fromUtf8(psz); };

        // The kind number picks the kind and its two texts; a record of no known
        // kind is not kept.
        row("kind 1", u("RID;1"), "Function=Value-Measurement|Datatype=Actual-Value");
        row("kind 2", u("RID;2"), "Function=Vector-Measurement|Datatype=Actual-Value");
        row("kind 3", u("RID;3"), "Function=Curve-Measurement|Datatype=Sample-Data");
        row("kind 4", u("RID;4"), "Function=Harmonics-Measurement|Datatype=Harmonic-Data");
        row("kind 5", u("RID;5"), "Function=Error-Measurement|Datatype=Meter-Error");
        row("kind 6", u("RID;6"), "Function=UI-Transformer|Datatype=UI-Transformer-Value");
        row("kind 7", u("RID;7"), "Function=U-Burden|Datatype=UBurden-Value");
        row("kind 8", u("RID;8"), "Function=I-Burden|Datatype=IBurden-Value");
        row("kind 9", u("RID;9"), "Function=Register-Test|Datatype=Register-Test");
        row("kind 10", u("RID;10"), "Function=Register-Test|Datatype=Register-Test");
        row("kind 11", u("RID;11"), "Function=Selektiv-Measurement|Datatype=Selektiv-Data");
        row("kind 12", u("RID;12"), "Function=PQS-Reg-Test|Datatype=PQS-Reg-Test");
        row("kind 13", u("RID;13|ID;A"), "");
        row("kind 0", u("RID;0|ID;A"), "");
        row("no kind", u("ID;A|AV0;1"), "");
        row("kind not a number", u("RID;x"), "");
        row("a bad kind among good ones", u("RID;1|RID;13"), "");
        row("with acknowledgement and empty last line", u("RID;1|AGRACK|"), "Function=Value-Measurement");
        // A record inherits nothing from the one before: neither the mode nor
        // the range and ratio 100 (the voltage is taken as measured).
        row("after another record",
            u("RID;1|MM;4|UR;300;x|URat;100;0;1;0|ID;first|Rem;x||RID;1|IR;5;x|IRat;1;1|AV4;1|AV0;1"),
            "ID=|Remark=|M-Mode=|IL2=1.0000;A|UPN1=1.0000;V");
        row("no kind after a kept record", u("RID;1||ID;x"), "");

        // The measuring mode's code, by the device's version.
        row("v4 code 0", u("RID;1|MM;0"), "M-Mode=4LW", 4);
        row("v4 code 6", u("RID;1|MM;6"), "M-Mode=3LBKB", 4);
        row("v4 code 9", u("RID;1|MM;9"), "M-Mode=MQRef", 4);
        row("v4 code 10", u("RID;1|MM;10"), "M-Mode=", 4);
        row("v5 code 3", u("RID;1|MM;3"), "M-Mode=4LS");
        row("v5 code 4", u("RID;1|MM;4"), "M-Mode=3LW");
        row("v5 code 12", u("RID;1|MM;12"), "M-Mode=MQRef");
        row("v5 code 13", u("RID;1|MM;13"), "M-Mode=");
        row("v0 code 2", u("RID;1|MM;2"), "M-Mode=4LBK", 0);

        // Common fields.
        const QString h1 = u("RID;1|MM;0|UR;300;U300|IR;5;I5|URat;1;0;1;0|IRat;1;1|");
        row("common fields", h1 + u("ID;Zähler Ä-1|Rem;Öl; Wasser|Adr;7"),
            "ID=Zähler Ä-1|Remark=Öl; Wasser|PX900Adr=7|Device-Typ= PX900-Typ|Device-No=SN4711|"
            "PrimSek-Val-Cz-Reg=On;On;On|AdjustData=OK|Date=09.03.2024|Time=08:07:06|U-Range=300.0;V;U300|"
            "I-Range=5.000;A;I5|U-PrimSek=1.0/1.0;V;1.00");
        row("Dat", h1 + u("Dat;24122023153045"), "Date=24.12.2023|Time=15:30:45");
        row("short Dat ignored", h1 + u("Dat;2412202315304"), "Time=08:07:06");
        row("U ratio sqrt3 both", u("RID;1|URat;20000;1;100;1"), "U-PrimSek=20000.0:sqrt(3)/100.0:sqrt(3);V;200.00");
        row("U ratio sqrt3 primary", u("RID;1|URat;20000;1;100;0"), "U-PrimSek=20000.0:sqrt(3)/100.0;V;115.47");
        row("U ratio sqrt3 secondary", u("RID;1|URat;20000;0;100;1"), "U-PrimSek=20000.0/100.0:sqrt(3);V;346.41");
        row("U ratio without secondary", u("RID;1|URat;20000;0"), "U-PrimSek=20000.0/0.0;V;0.00");
        row("I ratio", u("RID;1|IRat;100;5"), "I-PrimSek=100.000/5.000;A;20.000");
        row("I ratio secondary 0", u("RID;1|IRat;100;0"), "I-PrimSek=100.000/0.000;A;0.000");

        // Actual values (kind 1, range 300 V / 5 A, ratios 1).
        row("actual values", h1 + u("AV0;230.5|AV2;231|AV3;1.2345|AV4;1|AV6;12.5|AV10;-3.25|AV12;400|AV14;399.5"),
            "UPN1=230.50;V|UPN3=231.00;V|IL1=1.2345;A|IL2=1.0000;A|AU1=12.5;deg|AI2=-3.25;deg|UPP12=400.00;V|"
            "UPP31=399.50;V|UDC1=");
        row("powers", h1 + u("AV15;1150.5|AV19;-200|AV23;1000|AV24;3450|AV25;10|AV26;4500"),
            "P1=1.1505;kW|Q2=-0.2000;kVAr|S3=1.0000;kVA|SP=3.4500;kW|SQ=0.0100;kVAr|SS=4.5000;kVA");
        row("further values", h1 + u("AV27;2.9|AV28;50|AV29;0.98|AV32;0.5|AV33;1.25|AV38;2.5|AV39;23.75"),
            "RF=2|FREQ=50.000;Hz|Lambda1=0.98;|SLambda=0.5000;|UD1=1.25;%|ID3=2.50;%|Temperature=23.8;deg");
        row("rotating field negative", h1 + u("AV27;-1.5"), "RF=-1");
        row("voltage ratio 100", u("RID;1|UR;300;x|URat;10000;0;100;0|AV0;230.5"), "UPN1=23.050;kV");
        row("voltage before its header", u("AV0;230.5|RID;1|UR;300;x|URat;10000;0;100;0"), "UPN1=23.050;kV");
        // Without a ratio line the values are taken as measured (ratio 1),
        // not multiplied by 0.
        row("no ratio lines", u("RID;1|UR;300;x|IR;5;x|AV0;230.5|AV15;1083.8"), "UPN1=230.50;V|P1=1.0838;kW");
        row("ratio with secondary 0", u("RID;1|UR;300;x|URat;20000;0;0;0|AV0;230.5"), "UPN1=230.50;V");
        row("current ratio 20", u("RID;1|IR;5;x|IRat;100;5|AV3;4.5"), "IL1=90.000;A");

        // Phase angles: current angle minus voltage angle, into -180..180.
        row("phase angles", h1 + u("AV6;0|AV7;120|AV8;200|AV9;190|AV10;150|AV11;10"),
            "PHI1=-170.00;deg|PHI2=30.00;deg|PHI3=170.00;deg");
        row("180 degrees stays", h1 + u("AV6;0|AV9;180|AV11;0"), "PHI1=180.00;deg");
        row("beyond one turn", h1 + u("AV6;0|AV9;600|AV11;-0.5"), "PHI1=-120.00;deg|PHI3=-0.50;deg");

        // Three-wire mode "3LW" (code 4 from version 5 on, 3 before).
        const QString w3 = u("RID;1|MM;4|UR;300;x|IR;5;x|URat;1;0;1;0|IRat;1;1|");
        row("3LW", w3 + u("AV3;1|AV4;1|AV10;5|AV11;5|AV15;100|AV21;100|AV22;100|AV23;100|AV29;0.9|AV30;0.9|AV31;0.9"),
            "IL1=1.0000;A|IL2=---;A|AI2=---;deg|AI3=5;deg|P1=0.1000;kW|S1=---;VA|S2=---;VA|S3=---;VA|Lambda1=---;|"
            "Lambda2=---;|Lambda3=---;");
        row("3LW phase angles", w3 + u("AV6;0|AV9;10|AV11;0"), "PHI1=10.00;deg|PHI2=---;deg");
        row("3LW by old code", u("RID;1|MM;3|AV4;1"), "IL2=---;A", 4);
        row("4LS by new code 3", u("RID;1|MM;3|IR;5;x|IRat;1;1|AV4;1"), "IL2=1.0000;A");
        row("3LS is three-wire", u("RID;1|MM;8|AV22;1"), "S2=---;VA");

        // Error measurement keeps the actual values and adds its own block.
        const QString h5 = u("RID;5|MM;0|UR;300;x|IR;5;x|URat;1;0;1;0|IRat;1;1|");
        row("error", h5 + u("AV0;230|Err;0.126|E;0.5|CtRat;100;5|Start;01.02.2024 10:00:00|End;01.02.2024 11:02:05"),
            "UPN1=230.00;V|Error=0.13;%|Err-Energie=500.00;mWh|Err-CtRat=100.000/5.000|"
            "StartTime=01.02.2024 10:00:00|StopTime=01.02.2024 11:02:05|MTime=62:05");
        row("Cz without exponent", h5 + u("Cz;1000;0"), "Cz=1000.00;x1;I/kWh");
        row("Cz with exponent", h5 + u("Cz;1000;3;7"), "Cz=1000.00;xExp+2;Wh/I");
        row("Cz exponent -5", h5 + u("Cz;2.5;5;0"), "Cz=2.50;xExp-5;Vah/I");
        row("Cz unknown unit and exponent", h5 + u("Cz;10;9;12"), "Cz=10.00;x1;");
        row("Cz unit 1", h5 + u("Cz;10;1"), "Cz=10.00;x1;I/kVarh");
        row("pulses only", h5 + u("Imp;10"), "M-Puls=10;x1|M-Inp=RB");
        row("pulses with exponent", h5 + u("Imp;10;2;3"), "M-Puls=10;xExp+3|M-Inp=RB720");
        row("pulse source 3", h5 + u("Imp;10;3"), "M-Inp=Start/Stop");
        row("pulse source and exponent unknown", h5 + u("Imp;5;7;9"), "M-Inp=RB|M-Puls=5;x1");
        row("energy reactive", u("RID;5|MM;1|UR;300;x|IR;5;x|URat;1;0;1;0|IRat;1;1|E;2500"),
            "Err-Energie=2.5000;kVArh");
        row("energy apparent", u("RID;5|MM;3|UR;300;x|IR;5;x|URat;1;0;1;0|IRat;1;1|E;2500"), "Err-Energie=2.5000;kVAh");
        row("elapsed over midnight", h5 + u("Start;31.12.2023 23:59:50|End;01.01.2024 00:00:15"), "MTime=0:25");
        row("elapsed without start", h5 + u("End;01.02.2024 11:02:05"), "MTime=");
        row("start of 18 characters", h5 + u("Start;1.02.2024 10:00:00|End;01.02.2024 11:02:05"), "MTime=");
        row("CT ratio incomplete", h5 + u("CtRat;100"), "Err-CtRat=");

        // Current transformer.
        row("CT",
            u("RID;6|NRat;100;5|XRat;200;1|XcRat;50;5|Prim;100|NSek;0.005|XSek;0.0005|EI;0.1234|DI;1.25|"
              "DIMin;-3.5|DICrad;0.02"),
            "CT-N=100.0/5.0;A|CT-X=200.0/1.0;A|CT_Xc=50.0/5.0;A|I-Prim=100.000;A|I-Sek-N=5.0000;mA|"
            "I-Sek-X=500.00;µA|CT-Value=0.123;%|CT-Angle-deg=1.25;deg|CT-Angle-min=-3.50;min|CT-Angle-crad=0.02;crad");

        // Burdens.
        row("U burden", u("RID;7|UN;100;1|SN;15|BV0;57.7|BV7;12.25|BV13;0.8"),
            "U-Nominal=100.0/sqrt(3);V|B-Nominal=15.0;VA|UPN1=57.700;V|PHI2=12.25;deg|CosBeta2=0.8");
        row("U nominal", u("RID;7|UN;100;0"), "U-Nominal=100.0;V");
        row("I burden", u("RID;8|IN;5|L;10.5|Q;2.5|BV4;0.5|BV9;10|BV17;98.5"),
            "I-Nominal=5.0;A|W-Length=10.50;m|W-Gauge=2.50;mm2|IL2=500.00;mA|Sb1=10.0000;VA|SN3=98.50;%");
        row("burden index 18 ignored", u("RID;8|BV18;1"), "UPN1=");

        // Register tests: kind 9 energy, kind 10 power.
        row("energy",
            u("RID;9|MM;0|Ent;3|MV;12.5|SV;100|EV;112.5|Err;-0.5|Start;01.02.2024 10:00:00|"
              "End;01.02.2024 10:01:00"),
            "Energie=12.50;kWh|E-Begin=100.00;kWh|E-End=112.50;kWh|E-Error=-0.50;%|"
            "E-StartTime=01.02.2024 10:00:00|E-MTime=1:00|Error=<absent>");
        row("energy reactive micro", u("RID;9|MM;1|Ent;0|MV;1"), "Energie=1.00;µVArh");
        row("energy apparent mega", u("RID;9|MM;12|Ent;4|MV;1"), "Energie=1.00;MVAh");
        row("energy 2LS reactive", u("RID;9|MM;11|Ent;2|MV;1"), "Energie=1.00;VArh");
        row("energy unit code unknown", u("RID;9|MM;0|Ent;9|MV;1"), "Energie=1.00;");
        row("energy unit before mode", u("RID;9|Ent;1|MM;7|MV;1"), "Energie=1.00;mWh", 4);
        row("power",
            u("RID;10|MM;3|Ent;4|MV;1|SV;2|EV;3|Err;0.5|MT;15|Start;01.02.2024 10:00:00|"
              "End;01.02.2024 10:01:30"),
            "Power=1.00;MVA|P-Begin=2.00;MVA|P-End=3.00;MVA|P-Error=0.50;%|Measurement-Time=15;m|"
            "P-StopTime=01.02.2024 10:01:30|P-MTime=1:30");
        row("power active kilo", u("RID;10|MM;0|Ent;3|MV;1"), "Power=1.00;kW");
        row("power reactive", u("RID;10|MM;11|Ent;3|MV;1"), "Power=1.00;kVAr");

        // P/Q/S register test.
        row("PQS",
            u("RID;12|MM;1|Ent0;3|Ent1;2|Ent2;1|SV0;10|EV0;11|MV0;1|Err0;0.1|EV1;20|Err1;0.25|MV2;5|SV2;5|"
              "Start;01.02.2024 10:00:00|End;01.02.2024 10:01:30"),
            "PE-Begin=10.00;kWh|PE-End=11.00;kWh|P-Energie=1.00;kWh|PE-Error=0.10;%|QE-End=20.00;VArh|"
            "QE-Error=0.25;%|S-Energie=5.00;mVAh|SE-Begin=5.00;mVAh|M-Time=1:30");
        row("PQS without unit", u("RID;12|MV1;5"), "Q-Energie=5.00;");

        // Curves: samples in percent of the range.
        row("curve", u("RID;3|CCA;0|CCB;4|UR;300;x|IR;5;x|URat;1;0;1;0|IRat;1;1|CA0;50|CB503;-100"),
            "ChannelA=UL1|ChannelB=IL2|SampleA=504|SampleA[0]=1;150.00;V|SampleA[1]=|SampleB[503]=504;-5.0000;A");
        row("channel unknown", u("RID;3|CCA;6"), "ChannelA=");
        row("sample current ratio", u("RID;3|CCB;3|IR;5;x|IRat;100;5|CB0;10"), "SampleB[0]=1;10.000;A");

        // Harmonics.
        row("harmonics", u("RID;4|HC;3|H0;1;0|H1;100;0|H2;3;45|H3;4;-90|H40;0;0"),
            "Channel=IL1|Harm=41|Harm[2]=2;3;%;45;deg|Harm[40]=40;0;%;0;deg|Total-Harm=5.10;%");
        row("harmonics commas, no order 40, order 41", u("RID;4|H5;1,5;2,5|H2;3;0|H41;3;0"),
            "Harm[5]=5;1.5;%;2.5;deg|Total-Harm=|Harm=41");

        // Selective power.
        row("selective", u("RID;11|PC;1|SP3;100;50;111.8"),
            "ChannelU=UL2|ChannelI=IL2|HarmValue=41|HarmValue[3]=N;3;U;;V;I;;A;P;100.000;W;Q;50.000;var;S;111.80;VA");
        row("selective channel unknown", u("RID;11|PC;5"), "ChannelU=");
        row("selective three-wire", u("RID;11|MM;4|SP0;0.5;0.25;1"),
            "HarmValue[0]=N;0;U;;V;I;;A;P;500.00;mW;Q;250.00;mvar;S;---;VA");
    }
    void decode()
    {
        QFETCH(QString, record);
        QFETCH(QString, expected);
        QFETCH(int, version);
        CResultRecord r;
        RecordKind kind = RecordKind::Value;
        QCOMPARE(Decode(record, r, version, &kind), !expected.isEmpty());
        QCOMPARE(kind == RecordKind::None, expected.isEmpty());
        QCOMPARE(StoredPairs(r, expected), expected);
    }

    void nextTimeStamp_data()
    {
        QTest::addColumn<QDateTime>("previous");
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<QDateTime>("stamp");
        const QDate d(2024, 5, 1);
        auto at = [d](int nH, int nM, int nS, int nMs = 0) { return QDateTime(d, QTime(nH, nM, nS, nMs)); };
        QTest::newRow("same second") << at(10, 0, 0, 200) << at(10, 0, 0, 900) << at(10, 0, 1, 200);
        QTest::newRow("less than a second, next second") << at(10, 0, 0, 900) << at(10, 0, 1, 100) << at(10, 0, 1, 100);
        QTest::newRow("later") << at(10, 0, 0) << at(10, 0, 5) << at(10, 0, 5);
        QTest::newRow("clock set back") << at(10, 0, 5) << at(10, 0, 3) << at(10, 0, 6);
        QTest::newRow("over midnight") << at(23, 59, 59, 500) << at(23, 59, 59, 600)
                                       << QDateTime(d.addDays(1), QTime(0, 0, 0, 500));
    }
    void nextTimeStamp()
    {
        QFETCH(QDateTime, previous);
        QFETCH(QDateTime, now);
        QFETCH(QDateTime, stamp);
        QCOMPARE(NextTimeStamp(previous, now), stamp);
    }

    void identityIndex_data()
    {
        QTest::addColumn<QString>("xml");
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("time");  // on date "d"
        auto row = [](const char* pszName, const char* pszResults, const char* pszId, const char* pszTime = "t") {
            QTest::newRow(pszName) << QString::fromUtf8(QByteArray("<Result-Data>") + pszResults + "</Result-Data>")
                                   << QString::fromUtf8(pszId) << QString::fromUtf8(pszTime);
        };
        const char* plain = "<Result><ID>A</ID><Date>d</Date><Time>t</Time></Result>";
        row("match", plain, "A");
        row("other time", plain, "A", "t2");
        row("other id", plain, "B");
        row("no ID element, empty id", "<Result><Date>d</Date><Time>t</Time></Result>", "");
        row("empty ID element, empty id", "<Result><ID/><Date>d</Date><Time>t</Time></Result>", "");
        row("two ID elements, second matches", "<Result><ID>X</ID><ID>A</ID><Date>d</Date><Time>t</Time></Result>",
            "A");
        row("nested markup in ID", "<Result><ID>A<b>1</b>2</ID><Date>d</Date><Time>t</Time></Result>", "A12");
        row("CDATA in ID", "<Result><ID><![CDATA[A&B]]></ID><Date>d</Date><Time>t</Time></Result>", "A&B");
        row("entity and quote", "<Result><ID>A&quot;1&amp;</ID><Date>d</Date><Time>t</Time></Result>", "A\"1&");
        row("whitespace counts", "<Result><ID> A</ID><Date>d</Date><Time>t</Time></Result>", "A");
        row("grandchild Result is not selected", "<X><Result><ID>A</ID><Date>d</Date><Time>t</Time></Result></X>", "A");
        row("umlauts", "<Result><ID>Zähler</ID><Date>d</Date><Time>t</Time></Result>", "Zähler");
        row("fields of different results do not mix",
            "<Result><ID>A</ID><Date>d</Date><Time>1</Time></Result>"
            "<Result><ID>B</ID><Date>d</Date><Time>2</Time></Result>",
            "A", "2");
    }
    void identityIndex()
    {
        QFETCH(QString, xml);
        QFETCH(QString, id);
        QFETCH(QString, time);
        const QString date = QStringLiteral("d");
        CXMLDocument doc;
        doc.LoadXML(xml);
        CXMLNodeResult query(&doc);
        query.Open(QStringLiteral("Result[ID = $id and Date = $d and Time = $t]"), nullptr,
                   {{QStringLiteral("id"), id}, {QStringLiteral("d"), date}, {QStringLiteral("t"), time}});
        const bool bQuery = query.GetRecordCount() > 0;
        CResultIdentityIndex index;
        index.Build(doc);
        QCOMPARE(index.Contains(CResultIdentity(id, date, time)), bQuery);
    }
};

QTEST_GUILESS_MAIN(TestReadoutDecoding)
#include "tst_readout_decoding.moc"
