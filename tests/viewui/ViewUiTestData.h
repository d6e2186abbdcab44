#pragma once

#include "core/Kinds.h"

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

// Data files for the view tests: a location and results of several kinds,
// as the readout writes them.

#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>

namespace ViewUiData {

inline const QString kId = QStringLiteral("ZP-4711");

inline QString Element(const QString& strName, const QString& strText)
{
    return QStringLiteral("<%1>%2</%1>\n").arg(strName, strText);
}

// The actual-values block of a 230/400 V installation; the voltage of L1
// tells the results apart.
inline QString ValueBlock(const QString& strUPN1)
{
    const char* const upn[3] = {nullptr, "229.87;V", "230.45;V"};
    const char* const upp[3] = {"398.60;V", "398.21;V", "399.02;V"};
    const char* const il[3] = {"5.012;A", "4.987;A", "5.034;A"};
    const char* const au[3] = {"0.00;deg", "-120.02;deg", "119.98;deg"};
    const char* const ai[3] = {"-20.00;deg", "-140.05;deg", "99.96;deg"};
    const char* const phi[3] = {"-20.00;deg", "-20.03;deg", "-20.02;deg"};
    const char* const p[3] = {"1.0838;kW", "1.0772;kW", "1.0901;kW"};
    const char* const pair[3] = {"12", "23", "31"};
    QString s;
    for (int n = 0; n < 3; ++n) {
        const QString strN = QString::number(n + 1);
        s += Element(QStringLiteral("UPN") + strN, n == 0 ? strUPN1 : QString::fromLatin1(upn[n]));
        s += Element(QStringLiteral("UPP") + QLatin1String(pair[n]), QString::fromLatin1(upp[n]));
        s += Element(QStringLiteral("IL") + strN, QString::fromLatin1(il[n]));
        s += Element(QStringLiteral("AU") + strN, QString::fromLatin1(au[n]));
        s += Element(QStringLiteral("AI") + strN, QString::fromLatin1(ai[n]));
        s += Element(QStringLiteral("PHI") + strN, QString::fromLatin1(phi[n]));
        s += Element(QStringLiteral("Lambda") + strN, QStringLiteral("0.9397;"));
        s += Element(QStringLiteral("P") + strN, QString::fromLatin1(p[n]));
    }
    s += Element(QStringLiteral("SP"), QStringLiteral("3.2511;kW"));
    s += Element(QStringLiteral("FREQ"), QStringLiteral("50.012;Hz"));
    return s;
}

// The common fields; an empty place number is left out unless bEmptyPlace.
inline QString Common(const QString& strFunction, const QString& strDate, const QString& strTime,
                      const QString& strPlaceNo = {}, const QString& strRemark = {}, bool bEmptyPlace = false,
                      const QString& strId = kId)
{
    QString s = Element(QStringLiteral("ID"), strId) + Element(QStringLiteral("Language"), QStringLiteral("DE"))
                + Element(QStringLiteral("Device-No"), QStringLiteral("123456"))
                + Element(QStringLiteral("Device-Typ"), QStringLiteral("PX900"))
                + Element(QStringLiteral("Date"), strDate) + Element(QStringLiteral("Time"), strTime)
                + Element(QStringLiteral("U-Range"), QStringLiteral("300.0;V;300V"))
                + Element(QStringLiteral("I-Range"), QStringLiteral("5.000;A;5A"))
                + Element(QStringLiteral("M-Mode"), QStringLiteral("4LW"))
                + Element(QStringLiteral("Function"), strFunction)
                + Element(QStringLiteral("U-PrimSek"), QStringLiteral("100.0/100.0;V;1.00"))
                + Element(QStringLiteral("I-PrimSek"), QStringLiteral("5.000/5.000;A;1.000"))
                + Element(QStringLiteral("PrimSek-Val-Cz-Reg"), QStringLiteral("Off;Off;Off"))
                + Element(QStringLiteral("AdjustData"), QStringLiteral("OK"));
    if (!strPlaceNo.isEmpty() || bEmptyPlace)
        s += Element(QStringLiteral("Place-No"), strPlaceNo);
    if (!strRemark.isEmpty())
        s += Element(QStringLiteral("Remark"), strRemark);
    return s;
}

inline QString Result(const QString& strBody)
{
    return QStringLiteral("<Result>\n") + strBody + QStringLiteral("</Result>\n");
}

inline QString SeriesEntry(int nNo, const QString& strUPN1)
{
    return QStringLiteral("<Value-Measurement>\n") + Element(QStringLiteral("No"), QString::number(nNo))
           + Element(QStringLiteral("TimeStamp"), QStringLiteral("10:0%1:00").arg(nNo)) + ValueBlock(strUPN1)
           + QStringLiteral("</Value-Measurement>\n");
}

inline QString Harmonics(int nOrders, const QString& strTime)
{
    QString s = Common(QStringLiteral("Harmonics-Measurement"), QStringLiteral("16.03.2024"), strTime)
                + Element(QStringLiteral("Channel"), QStringLiteral("U1")) + Element(QStringLiteral("Total-Harm"), QStringLiteral("2.1;%"));
    for (int i = 0; i < nOrders; ++i)
        s += Element(QStringLiteral("Harm"), QStringLiteral("%1;%2;%;-%1.25;deg").arg(i).arg(100.0 / (i + 1), 0, 'f', 3));
    return Result(s);
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
inline const QString kHarm41Time = QStringLiteral("13:41:00");
inline const QString kRemark = QStringLiteral("Zähler getauscht");

inline QString ResultFile()
{
    QString s = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Result-Data>\n");
    s += Result(Common(QStringLiteral("Value-Measurement"), kValueDate, kValueTime) + ValueBlock(QStringLiteral("230.12;V")));
    s += Result(Common(QStringLiteral("Value-Measurement"), kValueDate, kRemarkTime, {}, kRemark)
                + ValueBlock(QStringLiteral("231.00;V")));
    // With a place number first: a query that ignores it would find this one.
    s += Result(Common(QStringLiteral("Error-Measurement"), kErrorDate, kErrorTime, QStringLiteral("2"))
                + ValueBlock(QStringLiteral("222.22;V")) + Element(QStringLiteral("Error"), QStringLiteral("0.12;%")));
    s += Result(Common(QStringLiteral("Error-Measurement"), kErrorDate, kErrorTime)
                + ValueBlock(QStringLiteral("233.33;V")) + Element(QStringLiteral("Error"), QStringLiteral("0.05;%")));
    s += Result(Common(QStringLiteral("Error-Measurement"), kErrorDate, kErrorEmptyPlaceTime, QStringLiteral("5"))
                + ValueBlock(QStringLiteral("211.11;V")) + Element(QStringLiteral("Error"), QStringLiteral("0.07;%")));
    s += Result(Common(QStringLiteral("Error-Measurement"), kErrorDate, kErrorEmptyPlaceTime, {}, {}, true)
                + ValueBlock(QStringLiteral("244.44;V")) + Element(QStringLiteral("Error"), QStringLiteral("0.08;%")));
    s += Result(Common(QStringLiteral("Continue-Value-Measurement"), kSeriesDate, kSeriesTime) + SeriesEntry(1, QStringLiteral("201.00;V"))
                + SeriesEntry(2, QStringLiteral("202.00;V")) + SeriesEntry(3, QStringLiteral("203.00;V")));
    s += Result(Common(QStringLiteral("Continue-Value-Measurement"), kSeriesDate, kSeries2Time)
                + SeriesEntry(1, QStringLiteral("211.00;V")) + SeriesEntry(2, QStringLiteral("212.00;V")));
    s += Result(Common(QStringLiteral("Register-Test"), kSeriesDate, kRegisterTime)
                + Element(QStringLiteral("Type"), QStringLiteral("P")) + Element(QStringLiteral("E-Error"), QStringLiteral("0.3;%")));
    s += Harmonics(15, kHarm15Time);
    s += Harmonics(50, kHarm50Time);
    s += Harmonics(41, kHarm41Time);
    s += QStringLiteral("</Result-Data>\n");
    return s;
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
