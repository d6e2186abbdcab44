#pragma once

// Cache contents as the readout writes them: a 230/400 V three-phase
// installation in the 300 V / 5 A ranges.

#include "view/ResultCache.h"

#include <QString>

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
    if (strFunction == u"Error-Measurement")
        c.m_strErrCtRat = QStringLiteral("1.000");
    return c;
}
