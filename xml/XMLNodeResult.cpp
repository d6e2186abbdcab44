#include "xml/XMLNodeResult.h"

namespace {
inline QString S(const char* psz)
{
    return QString::fromLatin1(psz);
}
} // namespace

// --- CActualValues ----------------------------------------------------------

QString CActualValues::PhaseFieldName(const QString& strBase, int nPhase)
{
    static const char* const kPairs[3] = {"12", "23", "31"};
    if (strBase == QStringLiteral("UPP"))
        return strBase + QLatin1String(kPairs[nPhase - 1]);
    return strBase + QString::number(nPhase);
}

void CActualValues::SetEmpty()
{
    *this = CActualValues();
}

void CActualValues::Exchange(CXMLField& fx)
{
    struct PhaseField
    {
        const char* pszBase;
        QString (CActualValues::*pMember)[3];
    };
    static const PhaseField kPhase[] = {
        {"UPN", &CActualValues::m_strUPN}, {"UPP", &CActualValues::m_strUPP}, {"UDC", &CActualValues::m_strUDC},
        {"UD", &CActualValues::m_strUD},   {"IL", &CActualValues::m_strIL},   {"IDC", &CActualValues::m_strIDC},
        {"ID", &CActualValues::m_strID},   {"AU", &CActualValues::m_strAU},   {"AI", &CActualValues::m_strAI},
        {"PHI", &CActualValues::m_strPHI}, {"Lambda", &CActualValues::m_strLambda},
        {"P", &CActualValues::m_strP},     {"Q", &CActualValues::m_strQ},     {"S", &CActualValues::m_strS},
    };
    // The phase loop is the outer one: all fields of L1 come first.
    for (int n = 1; n <= 3; ++n)
        for (const PhaseField& f : kPhase)
            XFX_Text(fx, PhaseFieldName(S(f.pszBase), n), (this->*f.pMember)[n - 1]);
    for (int k = 1; k <= 6; ++k) {
        XFX_Text(fx, QStringLiteral("AUX") + QString::number(k), m_strAUX[k - 1]);
        XFX_Text(fx, QStringLiteral("AAUX") + QString::number(k), m_strAAUX[k - 1]);
    }
    XFX_Text(fx, S("SP"), m_strSP);
    XFX_Text(fx, S("SQ"), m_strSQ);
    XFX_Text(fx, S("SS"), m_strSS);
    XFX_Text(fx, S("RF"), m_strRF);
    XFX_Text(fx, S("FREQ"), m_strFREQ);
    XFX_Text(fx, S("SLambda"), m_strSLambda);
    XFX_Text(fx, S("Temperature"), m_strTemperature);
}

// --- CXMLNodeContinueValues -------------------------------------------------

CXMLNodeContinueValues::CXMLNodeContinueValues(CXMLDocument* pDocument)
    : CXMLNode(pDocument, true)
{
    m_strTagName = m_strNewElementName = S("Value-Measurement");
}

void CXMLNodeContinueValues::SetFieldsEmpty()
{
    ClearFields();
}

void CXMLNodeContinueValues::DoFieldExchange(CXMLField& fx)
{
    XFX_Text(fx, S("No"), m_strNo);
    XFX_Text(fx, S("TimeStamp"), m_strTimeStamp);
    m_values.Exchange(fx);
}

// --- CXMLNodeAutomaticMeasurement -------------------------------------------

CXMLNodeAutomaticMeasurement::CXMLNodeAutomaticMeasurement(CXMLDocument* pDocument)
    : CXMLNode(pDocument, true)
{
    m_strTagName = m_strNewElementName = S("Line-Common");
}

void CXMLNodeAutomaticMeasurement::SetFieldsEmpty()
{
    m_strLine.clear();
}

void CXMLNodeAutomaticMeasurement::DoFieldExchange(CXMLField& fx)
{
    XFX_TextArray(fx, S("Line"), m_strLine);
}

// --- CXMLNodeResult ---------------------------------------------------------

CXMLNodeResult::CXMLNodeResult(CXMLDocument* pDocument)
    : CXMLNode(pDocument, true)
{
    m_strTagName = m_strNewElementName = S("Result");
    m_strContainerName = S("Result-Data");
    m_nodeListNames = {S("Value-Measurement"), S("Line-Common")};
}

void CXMLNodeResult::SetFieldsEmpty()
{
    ClearFields();
}

void CXMLNodeResult::ExchangeBurden(CXMLField& fx, bool bVoltage)
{
    XFX_Text(fx, bVoltage ? S("U-Nominal") : S("I-Nominal"), bVoltage ? m_strUNominal : m_strINominal);
    XFX_Text(fx, S("B-Nominal"), m_strBNominal);
    XFX_Text(fx, S("W-Length"), m_strWLength);
    XFX_Text(fx, S("W-Gauge"), m_strWGauge);
    for (int n = 0; n < 3; ++n) {
        const QString d = QString::number(n + 1);
        XFX_Text(fx, QStringLiteral("UPN") + d, m_strBurdenUPN[n]);
        XFX_Text(fx, QStringLiteral("IL") + d, m_strBurdenIL[n]);
        XFX_Text(fx, QStringLiteral("PHI") + d, m_strBurdenPHI[n]);
        XFX_Text(fx, QStringLiteral("P") + d, m_strBurdenP[n]);
        XFX_Text(fx, QStringLiteral("Q") + d, m_strBurdenQ[n]);
        XFX_Text(fx, QStringLiteral("S") + d, m_strBurdenS[n]);
        if (bVoltage) {
            XFX_Text(fx, QStringLiteral("G") + d, m_strBurdenG[n]);
            XFX_Text(fx, QStringLiteral("B") + d, m_strBurdenB[n]);
            XFX_Text(fx, QStringLiteral("Y") + d, m_strBurdenY[n]);
        } else {
            XFX_Text(fx, QStringLiteral("R") + d, m_strBurdenR[n]);
            XFX_Text(fx, QStringLiteral("X") + d, m_strBurdenX[n]);
            XFX_Text(fx, QStringLiteral("Z") + d, m_strBurdenZ[n]);
        }
        XFX_Text(fx, QStringLiteral("Sb") + d, m_strBurdenSb[n]);
        XFX_Text(fx, QStringLiteral("CosBeta") + d, m_strBurdenCosBeta[n]);
        XFX_Text(fx, QStringLiteral("SN") + d, m_strBurdenSN[n]);
    }
}

void CXMLNodeResult::DoFieldExchange(CXMLField& fx)
{
    XFX_Text(fx, S("ID"), m_strID);
    XFX_Text(fx, S("Language"), m_strLanguage);
    XFX_Text(fx, S("Device-No"), m_strDeviceNo);
    XFX_Text(fx, S("Device-Typ"), m_strDeviceTyp);
    XFX_Text(fx, S("Date"), m_strDate);
    XFX_Text(fx, S("Time"), m_strTime);
    XFX_Text(fx, S("U-Range"), m_strURange);
    XFX_Text(fx, S("I-Range"), m_strIRange);
    XFX_Text(fx, S("M-Mode"), m_strMMode);
    XFX_Text(fx, S("Function"), m_strFunction);
    XFX_Text(fx, S("Datatype"), m_strDatatype);
    XFX_Text(fx, S("U-PrimSek"), m_strUPrimSek);
    XFX_Text(fx, S("I-PrimSek"), m_strIPrimSek);
    XFX_Text(fx, S("PrimSek-Val-Cz-Reg"), m_strPrimSekValCzReg);
    XFX_Text(fx, S("Place-No"), m_strPlaceNo);
    XFX_Text(fx, S("Time-Interval"), m_strTimeInterval);
    XFX_Text(fx, S("AdjustData"), m_strAdjustData);
    XFX_Text(fx, S("Remark"), m_strRemark);
    XFX_Text(fx, S("PX900Adr"), m_strPX900Adr);

    // Emptying runs through every kind's fields.
    const bool bAll = fx.IsClearing();
    const QString& f = m_strFunction;
    using namespace ResultFunction;

    if (bAll || f == Value || f == Vector || f == Error)
        m_values.Exchange(fx);
    if (bAll || f == Error) {
        XFX_Text(fx, S("Cz"), m_strCz);
        XFX_Text(fx, S("M-Puls"), m_strMPuls);
        XFX_Text(fx, S("M-Inp"), m_strMInp);
        XFX_Text(fx, S("Uprim-sek"), m_strUprimSek);
        XFX_Text(fx, S("Iprim-sek"), m_strIprimSek);
        XFX_Text(fx, S("Error"), m_strError);
        XFX_Text(fx, S("N-Value"), m_strNValue);
        XFX_Text(fx, S("Spread"), m_strSpread);
        XFX_Text(fx, S("Average"), m_strAverage);
        XFX_Text(fx, S("Deviation"), m_strDeviation);
        XFX_Text(fx, S("SSM-UB"), m_strSSMUB);
        XFX_Text(fx, S("SSM-IB"), m_strSSMIB);
        XFX_Text(fx, S("SSM-Fr"), m_strSSMFr);
        XFX_Text(fx, S("SSM-Ph"), m_strSSMPh);
        XFX_Text(fx, S("SSM-MT"), m_strSSMMT);
        XFX_Text(fx, S("StartTime"), m_strStartTime);
        XFX_Text(fx, S("StopTime"), m_strStopTime);
        XFX_Text(fx, S("MTime"), m_strMTime);
        XFX_Text(fx, S("Err-Energie"), m_strErrEnergie);
        XFX_Text(fx, S("Err-CtRat"), m_strErrCtRat);
    }
    if (bAll || f == Curve) {
        XFX_Text(fx, S("ChannelA"), m_strChannelA);
        XFX_TextArray(fx, S("SampleA"), m_strSampleA);
        XFX_Text(fx, S("ChannelB"), m_strChannelB);
        XFX_TextArray(fx, S("SampleB"), m_strSampleB);
    }
    if (bAll || f == Harmonics) {
        XFX_Text(fx, S("Channel"), m_strChannel);
        XFX_Text(fx, S("Total-Harm"), m_strTotalHarm);
        XFX_TextArray(fx, S("Harm"), m_strHarm);
    }
    if (bAll || f == Register) {
        XFX_Text(fx, S("Type"), m_strType);
        XFX_Text(fx, S("Energie"), m_strEnergie);
        XFX_Text(fx, S("E-Begin"), m_strEBegin);
        XFX_Text(fx, S("E-End"), m_strEEnd);
        XFX_Text(fx, S("E-Cz"), m_strECz);
        XFX_Text(fx, S("E-Error"), m_strEError);
        XFX_Text(fx, S("E-StartTime"), m_strEStartTime);
        XFX_Text(fx, S("E-StopTime"), m_strEStopTime);
        XFX_Text(fx, S("E-MTime"), m_strEMTime);
        XFX_Text(fx, S("Power"), m_strPower);
        XFX_Text(fx, S("P-Begin"), m_strPBegin);
        XFX_Text(fx, S("P-End"), m_strPEnd);
        XFX_Text(fx, S("P-Cz"), m_strPCz);
        XFX_Text(fx, S("P-Error"), m_strPError);
        XFX_Text(fx, S("Measurement-Time"), m_strMeasurementTime);
        XFX_Text(fx, S("P-StartTime"), m_strPStartTime);
        XFX_Text(fx, S("P-StopTime"), m_strPStopTime);
        XFX_Text(fx, S("P-MTime"), m_strPMTime);
    }
    if (bAll || f == TmTe) {
        XFX_Text(fx, S("Contact"), m_strContact);
        XFX_Text(fx, S("tm"), m_strTm);
        XFX_Text(fx, S("te"), m_strTe);
        XFX_Text(fx, S("M-Inp-Measure"), m_strMInpMeasure);
        XFX_Text(fx, S("M-Inp-Count"), m_strMInpCount);
        XFX_Text(fx, S("M-Puls"), m_strMPuls);
        XFX_Text(fx, S("Cz-Measure"), m_strCzMeasure);
        XFX_Text(fx, S("Cz-Count"), m_strCzCount);
        XFX_Text(fx, S("Error"), m_strError);
        XFX_Text(fx, S("Impuls"), m_strImpuls);
        XFX_Text(fx, S("Tp"), m_strTp);
        XFX_Text(fx, S("Ti"), m_strTi);
    }
    if (bAll || f == UBurden)
        ExchangeBurden(fx, true);
    if (bAll || f == IBurden)
        ExchangeBurden(fx, false);
    if (bAll || f == ContinueValue)
        XFX_NodeList(fx, S("Value-Measurement"), m_continueValues, GetDocument());
    if (bAll || f == UITransformer) {
        XFX_Text(fx, S("VT-N"), m_strVTN);
        XFX_Text(fx, S("VT-X"), m_strVTX);
        XFX_Text(fx, S("U-Prim"), m_strUPrim);
        XFX_Text(fx, S("U-Sek-N"), m_strUSekN);
        XFX_Text(fx, S("U-Sek-X"), m_strUSekX);
        XFX_Text(fx, S("VT-Value"), m_strVTValue);
        XFX_Text(fx, S("VT-Angle-deg"), m_strVTAngleDeg);
        XFX_Text(fx, S("VT-Angle-min"), m_strVTAngleMin);
        XFX_Text(fx, S("VT-Angle-crad"), m_strVTAngleCrad);
        XFX_Text(fx, S("CT-N"), m_strCTN);
        XFX_Text(fx, S("CT-X"), m_strCTX);
        XFX_Text(fx, S("CT_Xc"), m_strCTXc);
        XFX_Text(fx, S("I-Prim"), m_strIPrim);
        XFX_Text(fx, S("I-Sek-N"), m_strISekN);
        XFX_Text(fx, S("I-Sek-X"), m_strISekX);
        XFX_Text(fx, S("CT-Value"), m_strCTValue);
        XFX_Text(fx, S("CT-Angle-deg"), m_strCTAngleDeg);
        XFX_Text(fx, S("CT-Angle-min"), m_strCTAngleMin);
        XFX_Text(fx, S("CT-Angle-crad"), m_strCTAngleCrad);
        XFX_Text(fx, S("VTCT-Value"), m_strVTCTValue);
        XFX_Text(fx, S("VTCT-Angle-deg"), m_strVTCTAngleDeg);
        XFX_Text(fx, S("VTCT-Angle-min"), m_strVTCTAngleMin);
        XFX_Text(fx, S("VTCT-Angle-crad"), m_strVTCTAngleCrad);
    }
    if (bAll || f == Automatic)
        XFX_NodeList(fx, S("Line-Common"), m_automatic, GetDocument());
    if (bAll || f == AuxChannel) {
        for (int k = 0; k < 6; ++k) {
            const QString d = QString::number(k + 1);
            XFX_Text(fx, QStringLiteral("Aux-Value-") + d, m_strAuxValue[k]);
            XFX_Text(fx, QStringLiteral("Aux-Angle-") + d, m_strAuxAngle[k]);
            XFX_Text(fx, QStringLiteral("Ref-Name-") + d, m_strRefName[k]);
            XFX_Text(fx, QStringLiteral("Ref-Value-") + d, m_strRefValue[k]);
            XFX_Text(fx, QStringLiteral("Ref-Angle-") + d, m_strRefAngle[k]);
            XFX_Text(fx, QStringLiteral("Aux-Diff-Value-") + d, m_strAuxDiffValue[k]);
            XFX_Text(fx, QStringLiteral("Aux-Diff-Angle-") + d, m_strAuxDiffAngle[k]);
        }
    }
    if (bAll || f == Selective) {
        XFX_Text(fx, S("ChannelU"), m_strChannelU);
        XFX_Text(fx, S("ChannelI"), m_strChannelI);
        XFX_TextArray(fx, S("HarmValue"), m_strHarmValue);
    }
    if (bAll || f == PQSRegister) {
        XFX_Text(fx, S("M-Time"), m_strPQSMTime);
        XFX_Text(fx, S("P-Energie"), m_strPEnergie);
        XFX_Text(fx, S("PE-Begin"), m_strPEBegin);
        XFX_Text(fx, S("PE-End"), m_strPEEnd);
        XFX_Text(fx, S("PE-Error"), m_strPEError);
        XFX_Text(fx, S("Q-Energie"), m_strQEnergie);
        XFX_Text(fx, S("QE-Begin"), m_strQEBegin);
        XFX_Text(fx, S("QE-End"), m_strQEEnd);
        XFX_Text(fx, S("QE-Error"), m_strQEError);
        XFX_Text(fx, S("S-Energie"), m_strSEnergie);
        XFX_Text(fx, S("SE-Begin"), m_strSEBegin);
        XFX_Text(fx, S("SE-End"), m_strSEEnd);
        XFX_Text(fx, S("SE-Error"), m_strSEError);
    }
}
