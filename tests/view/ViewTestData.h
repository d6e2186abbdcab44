#pragma once

// Cache contents as the readout writes them: a 230/400 V three-phase
// installation in the 300 V / 5 A ranges.

#include "view/ResultCache.h"

#include <QString>

#include <cmath>

inline void SetPhases(CResultCache& c, int nQty, const char* p1, const char* p2, const char* p3)
{
    c.m_strValues[nQty][0] = QString::fromUtf8(p1);
    c.m_strValues[nQty][1] = QString::fromUtf8(p2);
    c.m_strValues[nQty][2] = QString::fromUtf8(p3);
}

inline CResultCache MakeThreePhaseCache(const QString& strFunction = QStringLiteral("Value-Measurement"))
{
    CResultCache c;
    c.m_strID = QStringLiteral("ZP-4711");
    c.m_strDeviceNo = QStringLiteral("123456");
    c.m_strDeviceTyp = QStringLiteral("PX900");
    c.m_strDate = QStringLiteral("14.03.2024");
    c.m_strTime = QStringLiteral("10:21:33");
    c.m_strURange = QStringLiteral("300.0;V;300V");
    c.m_strIRange = QStringLiteral("5.000;A;5A");
    c.m_strMMode = QStringLiteral("4LW");
    c.m_strFunction = strFunction;
    c.m_strDatatype = QStringLiteral("Actual-Value");
    c.m_strUPrimSek = QStringLiteral("100.0/100.0;V;1.00");
    c.m_strIPrimSek = QStringLiteral("5.000/5.000;A;1.000");
    c.m_strPrimSekValCzReg = QStringLiteral("On;On;On");
    c.m_strAdjustData = QStringLiteral("OK");
    SetPhases(c, kQtyUPN, "230.12;V", "229.87;V", "230.45;V");
    SetPhases(c, kQtyUPP, "398.60;V", "398.21;V", "399.02;V");
    SetPhases(c, kQtyUD, "1.25;%", "1.31;%", "1.18;%");
    SetPhases(c, kQtyI, "5.012;A", "4.987;A", "5.034;A");
    SetPhases(c, kQtyID, "3.40;%", "3.52;%", "3.37;%");
    SetPhases(c, kQtyPhiU, "0.00;deg", "-120.02;deg", "119.98;deg");
    SetPhases(c, kQtyPhiI, "-20.00;deg", "-140.05;deg", "99.96;deg");
    SetPhases(c, kQtyPhiUI, "-20.00;deg", "-20.03;deg", "-20.02;deg");
    SetPhases(c, kQtyLambda, "0.9397;", "0.9395;", "0.9396;");
    SetPhases(c, kQtyP, "1.0838;kW", "1.0772;kW", "1.0901;kW");
    SetPhases(c, kQtyQ, "0.3945;kVAr", "0.3926;kVAr", "0.3967;kVAr");
    SetPhases(c, kQtyS, "1.1534;kVA", "1.1464;kVA", "1.1601;kVA");
    c.m_strValues[kQtySP][0] = QStringLiteral("3.2511;kW");
    c.m_strValues[kQtySQ][0] = QStringLiteral("1.1838;kVAr");
    c.m_strValues[kQtySS][0] = QStringLiteral("3.4599;kVA");
    c.m_strValues[kQtyF][0] = QStringLiteral("50.012;Hz");
    c.m_strValues[kQtyPS][0] = QStringLiteral("1");
    c.m_strValues[kQtySL][0] = QStringLiteral("0.9396;");
    c.m_strValues[kQtyT][0] = QStringLiteral("23.5;deg");
    return c;
}

// A harmonics result of channel U1 with the given magnitudes (in %), the
// entries written as the readout writes them ("order;amplitude;%;phase;deg").
inline CResultCache MakeHarmonicsCache(const QList<double>& magnitudes)
{
    CResultCache c = MakeThreePhaseCache(QStringLiteral("Harmonics-Measurement"));
    c.m_kindFields.insert(QStringLiteral("Channel"), QStringLiteral("UL1"));
    c.m_kindFields.insert(QStringLiteral("Total-Harm"), QStringLiteral("4.35;%"));
    QStringList entries;
    for (int i = 0; i < magnitudes.size(); ++i)
        entries.append(QStringLiteral("%1;%2;%;%3;deg").arg(i).arg(magnitudes[i], 0, 'f', 3).arg(-3.5 * i, 0, 'f', 1));
    c.m_kindSeries.insert(QStringLiteral("Harm"), entries);
    return c;
}

// A curve result: channel A a sine of the full 300 V range, channel B a
// current sine of 2.5 A (half the 5 A range) shifted by 90 degrees.
inline CResultCache MakeCurveCache(int nSamples = 504)
{
    CResultCache c = MakeThreePhaseCache(QStringLiteral("Curve-Measurement"));
    c.m_strPrimSekValCzReg = QStringLiteral("Off;Off;Off");
    c.m_kindFields.insert(QStringLiteral("ChannelA"), QStringLiteral("UL1"));
    c.m_kindFields.insert(QStringLiteral("ChannelB"), QStringLiteral("IL1"));
    QStringList a, b;
    for (int i = 0; i < nSamples; ++i) {
        const double phi = 2 * M_PI * i / (nSamples - 1);
        a.append(QStringLiteral("%1;%2;V").arg(i + 1).arg(300 * std::sin(phi), 0, 'f', 4));
        b.append(QStringLiteral("%1;%2;mA").arg(i + 1).arg(2500 * std::cos(phi), 0, 'f', 2));
    }
    c.m_kindSeries.insert(QStringLiteral("SampleA"), a);
    c.m_kindSeries.insert(QStringLiteral("SampleB"), b);
    return c;
}

// A continuous series of n samples: UPN of phase p is 230 + 10 sin(i/50 + p),
// I of L1 swings around zero, the frequency stays at 50 Hz.
inline CResultCache MakeSeriesCache(int nSamples)
{
    CResultCache c = MakeThreePhaseCache(QStringLiteral("Continue-Value-Measurement"));
    c.m_series.reserve(nSamples);
    for (int i = 0; i < nSamples; ++i) {
        CResultCache::CSeriesEntry e;
        e.m_strNo = QString::number(i + 1);
        e.m_strTimeStamp = QStringLiteral("%1:%2:00").arg(8 + i / 60).arg(i % 60, 2, 10, QLatin1Char('0'));
        for (int p = 0; p < 3; ++p) {
            e.m_values.m_strUPN[p] = QStringLiteral("%1;V").arg(230 + 10 * std::sin(i / 50.0 + p), 0, 'f', 2);
            e.m_values.m_strIL[p] = QStringLiteral("%1;A").arg(p == 0 ? 5 * std::sin(i / 7.0) : 5.0, 0, 'f', 3);
        }
        e.m_values.m_strFREQ = QStringLiteral("50.00;Hz");
        c.m_series.append(e);
    }
    return c;
}
