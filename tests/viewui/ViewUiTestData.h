#pragma once

// Data files for the view tests: a location and results of several kinds,
// as the readout writes them.

#include "../view/TableTestData.h"

#include "core/Kinds.h"

#include <QFile>
#include <QString>

// Kind and mode numbers in the test rows are those of the tree and the
// frame's commands.
inline ResultKind K(int n)
{
    return ResultKindFromInt(n).value();
}
inline DisplayMode M(int n)
{
    return DisplayModeFromInt(n).value();
}

namespace ViewUiData {

using TableData::Elements;

inline const QString kId = QStringLiteral("ZP-4711");

// The actual-values block of a 230/400 V installation; the voltage of L1
// tells the results apart.
inline QString ValueBlock(const QString& strUPN1)
{
    return Elements(QStringLiteral("UPN1=%1|UPN2=229.87;V|UPN3=230.45;V|UPP12=398.60;V|UPP23=398.21;V|UPP31=399.02;V|"
                                   "IL1=5.012;A|IL2=4.987;A|IL3=5.034;A|AU1=0.00;deg|AU2=-120.02;deg|AU3=119.98;deg|"
                                   "AI1=-20.00;deg|AI2=-140.05;deg|AI3=99.96;deg|PHI1=-20.00;deg|PHI2=-20.03;deg|"
                                   "PHI3=-20.02;deg|Lambda1=0.9397;|Lambda2=0.9397;|Lambda3=0.9397;|P1=1.0838;kW|"
                                   "P2=1.0772;kW|P3=1.0901;kW|SP=3.2511;kW|FREQ=50.012;Hz")
                        .arg(strUPN1));
}

// The common fields, then "Name=text|..." (an empty text: an empty element).
inline QString Common(const QString& strFunction, const QString& strDate, const QString& strTime,
                      const QString& strFields = {})
{
    return Elements(QStringLiteral("ID=%1|Language=DE|Device-No=123456|Device-Typ=PX900|Date=%2|Time=%3|"
                                   "U-Range=300.0;V;300V|I-Range=5.000;A;5A|M-Mode=4LW|Function=%4|"
                                   "U-PrimSek=100.0/100.0;V;1.00|I-PrimSek=5.000/5.000;A;1.000|"
                                   "PrimSek-Val-Cz-Reg=Off;Off;Off|AdjustData=OK|")
                        .arg(kId, strDate, strTime, strFunction)
                    + strFields);
}

inline QString Result(const QString& strBody)
{
    return QStringLiteral("<Result>\n") + strBody + QStringLiteral("</Result>\n");
}

inline QString SeriesEntry(int nNo, const QString& strUPN1)
{
    return QStringLiteral("<Value-Measurement>") + Elements(QStringLiteral("No=%1|TimeStamp=10:0%1:00").arg(nNo))
           + ValueBlock(strUPN1) + QStringLiteral("</Value-Measurement>\n");
}

inline QString Harmonics(int nOrders, const QString& strTime)
{
    QString s = QStringLiteral("Channel=U1|Total-Harm=2.1;%|");
    for (int i = 0; i < nOrders; ++i)
        s += QStringLiteral("Harm=%1;%2;%;-%1.25;deg|").arg(i).arg(100.0 / (i + 1), 0, 'f', 3);
    return Result(Common(QStringLiteral("Harmonics-Measurement"), QStringLiteral("16.03.2024"), strTime, s));
}

// Dates and times of the results below.
inline const QString kValueDate = QStringLiteral("14.03.2024");
inline const QString kValueTime = QStringLiteral("10:21:33");
inline const QString kRemarkTime = QStringLiteral("10:22:00");
inline const QString kErrorDate = QStringLiteral("15.03.2024");
inline const QString kErrorTime = QStringLiteral("09:00:00");
inline const QString kErrorEmptyPlaceTime = QStringLiteral("09:30:00");
inline const QString kSeriesDate = QStringLiteral("17.03.2024");
inline const QString kSeriesTime = QStringLiteral("08:00:00");
inline const QString kSeries2Time = QStringLiteral("12:00:00");
inline const QString kRegisterTime = QStringLiteral("11:00:00");
inline const QString kHarm15Time = QStringLiteral("13:15:00");
inline const QString kHarm50Time = QStringLiteral("13:50:00");
inline const QString kRemark = QStringLiteral("Zähler getauscht");

inline QString ResultFile()
{
    const QString strValue = QStringLiteral("Value-Measurement"), strError = QStringLiteral("Error-Measurement");
    const QString strSeries = QStringLiteral("Continue-Value-Measurement");
    QString s = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Result-Data>\n");
    s += Result(Common(strValue, kValueDate, kValueTime) + ValueBlock(QStringLiteral("230.12;V")));
    s += Result(Common(strValue, kValueDate, kRemarkTime, QStringLiteral("Remark=") + kRemark)
                + ValueBlock(QStringLiteral("231.00;V")));
    // With a place number first: a query that ignores it would find this one.
    s += Result(Common(strError, kErrorDate, kErrorTime, QStringLiteral("Place-No=2|Error=0.12;%"))
                + ValueBlock(QStringLiteral("222.22;V")));
    s += Result(Common(strError, kErrorDate, kErrorTime, QStringLiteral("Error=0.05;%"))
                + ValueBlock(QStringLiteral("233.33;V")));
    s += Result(Common(strError, kErrorDate, kErrorEmptyPlaceTime, QStringLiteral("Place-No=5|Error=0.07;%"))
                + ValueBlock(QStringLiteral("211.11;V")));
    s += Result(Common(strError, kErrorDate, kErrorEmptyPlaceTime, QStringLiteral("Place-No=|Error=0.08;%"))
                + ValueBlock(QStringLiteral("244.44;V")));
    s += Result(Common(strSeries, kSeriesDate, kSeriesTime) + SeriesEntry(1, QStringLiteral("201.00;V"))
                + SeriesEntry(2, QStringLiteral("202.00;V")) + SeriesEntry(3, QStringLiteral("203.00;V")));
    s += Result(Common(strSeries, kSeriesDate, kSeries2Time) + SeriesEntry(1, QStringLiteral("211.00;V"))
                + SeriesEntry(2, QStringLiteral("212.00;V")));
    s += Result(
        Common(QStringLiteral("Register-Test"), kSeriesDate, kRegisterTime, QStringLiteral("Type=P|E-Error=0.3;%")));
    s += Harmonics(15, kHarm15Time) + Harmonics(50, kHarm50Time) + Harmonics(41, QStringLiteral("13:41:00"));
    return s + QStringLiteral("</Result-Data>\n");
}

inline QString MainFile()
{
    return QStringLiteral(
               "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Main-Data>\n<Group Name=\"Nord\">\n<Main>\n"
               "<General><ID>%1</ID><State>OK</State><Remark></Remark></General>\n"
               "<Customer><Firstname>Erika</Firstname><Name>Mustermann</Name><Street>Hauptstr. 1</Street>"
               "<Postcode>12345</Postcode><City>Musterstadt</City><Country>D</Country><No>K-77</No><Remark/></Customer>\n"
               "<Location><Firstname></Firstname><Name>Umspannwerk Nord</Name><Street>Feldweg 9</Street>"
               "<Postcode>12346</Postcode><City>Dorf</City><Country>D</Country><No>S-12</No><Remark/></Location>\n"
               "<Net><Operator>Netz AG</Operator><Supplier>Strom GmbH</Supplier><Remark/></Net>\n"
               "<Meter><Manufacturer>Zählerbau</Manufacturer><Manuf-No>F-998877</Manuf-No>"
               "<Custom-No>E-1234</Custom-No><Remark/></Meter>\n</Main>\n</Group>\n</Main-Data>\n")
        .arg(kId);
}

inline bool WriteFile(const QString& strPath, const QString& strText)
{
    QFile file(strPath);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(strText.toUtf8()) > 0;
}

} // namespace ViewUiData
