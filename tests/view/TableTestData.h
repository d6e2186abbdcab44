#pragma once

// Results of every kind shown as measurement tables, with chosen values:
// three-wire "---", primary kV and MW, empty fields. Each comes with the
// texts its rendering must show ("!" before a text: must not show).

#include "core/Kinds.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace TableData {

inline QString U(const char* psz)
{
    return QString::fromUtf8(psz);
}

// "Name=text|Name=text" as elements; "Line-Common" steps are "Line=..." texts
// separated by "#".
inline QString Elements(const QString& strFields)
{
    QString s;
    for (const QString& strField : strFields.split(QLatin1Char('|'), Qt::SkipEmptyParts)) {
        const QString strName = strField.section(QLatin1Char('='), 0, 0);
        s += QStringLiteral("<%1>%2</%1>").arg(strName, strField.section(QLatin1Char('='), 1).toHtmlEscaped());
    }
    return s;
}

inline QString Steps(const QStringList& steps)
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

inline const QString kCommon = QStringLiteral(
    "ID=ZP-4711|Date=14.03.2024|Time=10:21:33|U-Range=300.0;V;300V|I-Range=5.000;A;5A|M-Mode=3LW|"
    "U-PrimSek=20000/100;V;200|I-PrimSek=100/5;A;20.0|PrimSek-Val-Cz-Reg=On;On;On|");

inline QStringList AccuracySteps(int n)
{
    return QStringList(n, QStringLiteral("Type=AccuracyTest;#MM=LoadPoint;#F=50.0;Hz#PF=-;#UL1=57.7;kV#Error=0.1;%"));
}

inline const QString kAutomatic = Steps(
    {QStringLiteral("Type=AccuracyTest;#MM=LoadPointAbs;#UN=230.0;V#IN=5.0;A#PF=0.5i;F=50.0;Hz#UL1=230.1;V#"
                    "UL2=---;V#IL1=5.01;A#Error=0.12;%#CZ=1000;I/kWh#MPuls=10;#MTime=60;s#Test=OK;#EL-Max=1.0;%"),
     QStringLiteral("Type=RegisterTest;#MM=LoadPoint;#F=50.0;Hz#PF=-;#Energy=1.25;MWh#Reg-Start=100.0;kWh#"
                    "Error=0.3;%"),
     QStringLiteral("MM=LoadPoint;#UL1=230.2;V")});

// The selective entries as the readout writes them; order 2 is a
// three-wire apparent power.
inline QString SelectiveEntries(int nRows)
{
    QString s = QStringLiteral("ChannelU=UL1|ChannelI=IL1|");
    for (int i = 0; i < nRows; ++i)
        s += QStringLiteral("HarmValue=N;%1;U;;V;I;;A;P;1.5;kW;Q;0.2;var;S;%2;VA|")
                 .arg(i)
                 .arg(i == 2 ? QStringLiteral("---") : QStringLiteral("1.51"));
    return s;
}

struct CKindData
{
    const char* m_pszKind;
    ResultKind m_nKind;
    const char* m_pszFunction;
    QString m_strBody;
    // Texts that must be painted as they stand; "!" before a text: must not.
    QString m_expected;
};

inline QList<CKindData> Kinds()
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
        {"error5", ResultKind::Error, "Error-Measurement", strError, errorTexts + QStringLiteral("|UPN|11.547|---")},
        {"error6", ResultKind::Error, "Error-Measurement", strError, errorTexts + QStringLiteral("|U1|!UPN")},
        {"error7", ResultKind::Error, "Error-Measurement", strError, errorTexts + QStringLiteral("|UPN|U1")},
        {"error5_conditions", ResultKind::Error, "Error-Measurement",
         strError + U("SSM-UB=230;V|SSM-IB=|SSM-Fr=50;Hz|SSM-Ph=3|SSM-MT=60;s"),
         QStringLiteral("U Bereich|I Bereich|Frequenz / Phasen|Messzeit|Fehler|230 V|50 Hz / 3|60 s|0.12 %|!Zählerkonstante|Messungen")},
        {"register", ResultKind::Register, "Register-Test",
         U("Type=P|Energie=12.34;kWh|E-Begin=1000.00;kWh|E-End=1012.34;kWh|E-Error=0.25;%|E-StartTime=14.03.2024 "
         "10:00:00|E-MTime=5:00|Power=1.16;MW|P-Begin=|P-Error=---;%|Measurement-Time=15;m|P-MTime=15:00"),
         QStringLiteral("Art|P|E-Register|P-Register|Energie/Leistung|Anfang|Ende|Fehler|Messzeit|Startzeit|Stopzeit|Messdauer|12.34 kWh|1012.34 kWh|0.25 %|14.03.2024 10:00:00|5:00|1.16 MW|--- %|15 m|15:00")},
        {"tmte", ResultKind::TmTe, "TmTe-Transmitter",
         U("Contact=Schliesser|tm=100;ms|te=50;ms|M-Inp-Measure=S0|M-Inp-Count=RB|M-Puls=20|Cz-Measure=500;I/kWh|"
         "Cz-Count=1000;I/kWh|Error=0.5;%|Impuls=|Tp=60;ms|Ti=40;ms"),
         QStringLiteral("Geberprüfung|Messtaktquelle|k|n|Messung|Zählen|S0|RB|500 I/kWh|1000 I/kWh|20|Fehler|0.5 %|tm/te|tm|te|ti|tp|Kontakt|100 ms|50 ms|40 ms|60 ms|Schliesser")},
        {"uburden", ResultKind::UBurden, "U-Burden",
         U("U-Nominal=100.0/sqrt(3);V|B-Nominal=15.0;VA|W-Length=12.50;m|W-Gauge=|" )+ burdenPhases.join(QString())
             + U("G1=1.2;mS"),
         QStringLiteral("U-Nominal      |B-Nominal|W-Länge|W-Maß|100.0/sqrt(3) V|15.0 VA|12.50 m|UPN|57.74|---|Sb|SN|G|1.2|Einstellungen")},
        {"iburden", ResultKind::IBurden, "I-Burden",
         U("I-Nominal=5.0;A|B-Nominal=10.0;VA|W-Length=3.00;m|W-Gauge=2.50;mm2|" )+ burdenPhases.join(QString())
             + U("R1=0.4;Ohm"),
         QStringLiteral("I-Nominal      |5.0 A|2.50 mm2|R|0.4|!U-Nominal      ")},
        {"transformer", ResultKind::UITransformer, "UI-Transformer",
         U("VT-N=20000.0/100.0;V|VT-X=20010.0/100.0;V|U-Prim=20.012;kV|U-Sek-N=100.02;V|U-Sek-X=100.01;V|"
         "VT-Value=-0.050;%|VT-Angle-deg=0.12;deg|VT-Angle-min=7.20;min|VT-Angle-crad=0.21;crad|CT-N=100.0/5.0;A|"
         "CT-X=100.2/5.0;A|CT_Xc=99.8/5.0;A|I-Prim=100.3;A|CT-Value=0.150;%|CT-Angle-deg=---;deg|"
         "VTCT-Value=0.100;%|VTCT-Angle-min=3.60;min"),
         QStringLiteral("U-Transformer|I-Transformer|N-Prim|N-Sek|X-Prim|X-Sek|Xc-Prim|Xc-Sek|20000.0|100.0|99.8|U|I|Prim|X-e|X-d|20.012|kV|-0.050|7.20|min|crad|---|Summe UI|e|d|3.60")},
        {"aux", ResultKind::AuxChannel, "AUX-Channel",
         U("Aux-Value-1=1.234;V|Aux-Angle-1=12.0;deg|Ref-Name-1=UL1|Ref-Value-1=230.0;V|Aux-Diff-Value-1=0.5;%|"
         "Aux-Value-2=2.0;A|Aux-Value-3=---;V|Aux-Diff-Angle-3=---;deg"),
         QStringLiteral("Wert|Winkel|Ref. Name|Ref. Wert|Ref. Winkel|Diff. Wert|Diff. Winkel|Aux 1|Aux 2|Aux 3|!Aux 4|1.234 V|12.0 deg|UL1|230.0 V|2.0 A|--- deg")},
        {"pqs", ResultKind::PQSRegister, "PQS-Reg-Test",
         U("M-Time=15:00|P-Energie=1.25;MWh|PE-Begin=100.00;MWh|PE-End=101.25;MWh|PE-Error=0.10;%|Q-Energie=0.40;MVArh|"
         "S-Energie=---;VAh|SE-Error="),
         QStringLiteral("Messdauer|15:00|Energie|Anfang|Ende|Fehler|P|Q|S|1.25 MWh|101.25 MWh|0.10 %|0.40 MVArh|--- VAh")},
        {"selective", ResultKind::Selective, "Selektiv-Measurement", SelectiveEntries(5),
         QStringLiteral("Kanal|UL1 / IL1|PL1|QL1|SL1|!UL1|!IL1|0|4|1.5 kW|0.2 var|--- VA|1.51 VA")},
        {"automatic", ResultKind::Automatic, "Automatic-Measurement", kAutomatic,
         QStringLiteral("Einstellungen|Type: AccuracyTest|MM: LoadPointAbs|UN: 230.0 V|IN: 5.0 A|F: 50.0 Hz PF: 0.5i|UL1: 230.1 V|UL2: --- V|IL1: 5.01 A|Error: 0.12 %|CZ: 1000 I/kWh|MTime: 60 s|Test: OK|EL-Max: 1.0 %|Type: RegisterTest|F: 50.0 Hz|Energy: 1.25 MWh|Reg-Start: 100.0 kWh|Error: 0.3 %|UL1: 230.2 V")},
    };
}

// A whole "Result" element with the common fields at a time of day.
inline QString ResultElement(const CKindData& d, const QString& strTime)
{
    return QStringLiteral("<Result>")
           + Elements(QString(kCommon).replace(QStringLiteral("10:21:33"), strTime) + QStringLiteral("Function=")
                      + QString::fromLatin1(d.m_pszFunction))
           + (d.m_nKind == ResultKind::Automatic ? d.m_strBody : Elements(d.m_strBody)) + QStringLiteral("</Result>");
}

} // namespace TableData
