#include "xml/XMLNodeResult.h"

#include <QHash>
#include <QPair>

namespace {
inline QString S(const char* psz)
{
    return QString::fromLatin1(psz);
}
} // namespace

// Base name + number 1..9, made once per pair.
static const QString& Numbered(const char* pszBase, int n)
{
    // Per thread: the readout fills results off the user-interface thread.
    thread_local QHash<QPair<const char*, int>, QString> cache;
    auto it = cache.find({pszBase, n});
    if (it == cache.end())
        it = cache.insert({pszBase, n}, QString::fromLatin1(pszBase) + QString::number(n));
    return *it;
}

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
    constexpr int nFields = sizeof kPhase / sizeof kPhase[0];
    // The names are made once: making them for every record cost more than
    // reading the record.
    static const struct Names
    {
        QString phase[3][nFields];
        QString aux[6], aaux[6];
        Names()
        {
            for (int n = 1; n <= 3; ++n)
                for (int i = 0; i < nFields; ++i)
                    phase[n - 1][i] = PhaseFieldName(S(kPhase[i].pszBase), n);
            for (int k = 1; k <= 6; ++k) {
                aux[k - 1] = QStringLiteral("AUX") + QString::number(k);
                aaux[k - 1] = QStringLiteral("AAUX") + QString::number(k);
            }
        }
    } kNames;
    // The phase loop is the outer one: all fields of L1 come first.
    for (int n = 1; n <= 3; ++n)
        for (int i = 0; i < nFields; ++i)
            XFX_Text(fx, kNames.phase[n - 1][i], (this->*kPhase[i].pMember)[n - 1]);
    for (int k = 1; k <= 6; ++k) {
        XFX_Text(fx, kNames.aux[k - 1], m_strAUX[k - 1]);
        XFX_Text(fx, kNames.aaux[k - 1], m_strAAUX[k - 1]);
    }
    XFX_Text(fx, QStringLiteral("SP"), m_strSP);
    XFX_Text(fx, QStringLiteral("SQ"), m_strSQ);
    XFX_Text(fx, QStringLiteral("SS"), m_strSS);
    XFX_Text(fx, QStringLiteral("RF"), m_strRF);
    XFX_Text(fx, QStringLiteral("FREQ"), m_strFREQ);
    XFX_Text(fx, QStringLiteral("SLambda"), m_strSLambda);
    XFX_Text(fx, QStringLiteral("Temperature"), m_strTemperature);
}

// --- CXMLNodeContinueValues -------------------------------------------------

CXMLNodeContinueValues::CXMLNodeContinueValues(CXMLDocument* pDocument)
    : CXMLNode(pDocument, true)
{
    m_strTagName = m_strNewElementName = QStringLiteral("Value-Measurement");
}

void CXMLNodeContinueValues::SetFieldsEmpty()
{
    ClearFields();
}

void CXMLNodeContinueValues::DoFieldExchange(CXMLField& fx)
{
    XFX_Text(fx, QStringLiteral("No"), m_strNo);
    XFX_Text(fx, QStringLiteral("TimeStamp"), m_strTimeStamp);
    m_values.Exchange(fx);
}

// --- CXMLNodeAutomaticMeasurement -------------------------------------------

CXMLNodeAutomaticMeasurement::CXMLNodeAutomaticMeasurement(CXMLDocument* pDocument)
    : CXMLNode(pDocument, true)
{
    m_strTagName = m_strNewElementName = QStringLiteral("Line-Common");
}

void CXMLNodeAutomaticMeasurement::SetFieldsEmpty()
{
    m_strLine.clear();
}

void CXMLNodeAutomaticMeasurement::DoFieldExchange(CXMLField& fx)
{
    XFX_TextArray(fx, QStringLiteral("Line"), m_strLine);
}

// --- CXMLNodeResult ---------------------------------------------------------

CXMLNodeResult::CXMLNodeResult(CXMLDocument* pDocument)
    : CXMLNode(pDocument, true)
{
    m_strTagName = m_strNewElementName = QStringLiteral("Result");
    m_strContainerName = QStringLiteral("Result-Data");
    m_nodeListNames = {QStringLiteral("Value-Measurement"), QStringLiteral("Line-Common")};
}

void CXMLNodeResult::SetFieldsEmpty()
{
    ClearFields();
}

void CXMLNodeResult::ExchangeBurden(CXMLField& fx, bool bVoltage)
{
    XFX_Text(fx, bVoltage ? QStringLiteral("U-Nominal") : QStringLiteral("I-Nominal"), bVoltage ? m_strUNominal : m_strINominal);
    XFX_Text(fx, QStringLiteral("B-Nominal"), m_strBNominal);
    XFX_Text(fx, QStringLiteral("W-Length"), m_strWLength);
    XFX_Text(fx, QStringLiteral("W-Gauge"), m_strWGauge);
    for (int n = 0; n < 3; ++n) {
        XFX_Text(fx, Numbered("UPN", n + 1), m_strBurdenUPN[n]);
        XFX_Text(fx, Numbered("IL", n + 1), m_strBurdenIL[n]);
        XFX_Text(fx, Numbered("PHI", n + 1), m_strBurdenPHI[n]);
        XFX_Text(fx, Numbered("P", n + 1), m_strBurdenP[n]);
        XFX_Text(fx, Numbered("Q", n + 1), m_strBurdenQ[n]);
        XFX_Text(fx, Numbered("S", n + 1), m_strBurdenS[n]);
        if (bVoltage) {
            XFX_Text(fx, Numbered("G", n + 1), m_strBurdenG[n]);
            XFX_Text(fx, Numbered("B", n + 1), m_strBurdenB[n]);
            XFX_Text(fx, Numbered("Y", n + 1), m_strBurdenY[n]);
        } else {
            XFX_Text(fx, Numbered("R", n + 1), m_strBurdenR[n]);
            XFX_Text(fx, Numbered("X", n + 1), m_strBurdenX[n]);
            XFX_Text(fx, Numbered("Z", n + 1), m_strBurdenZ[n]);
        }
        XFX_Text(fx, Numbered("Sb", n + 1), m_strBurdenSb[n]);
        XFX_Text(fx, Numbered("CosBeta", n + 1), m_strBurdenCosBeta[n]);
        XFX_Text(fx, Numbered("SN", n + 1), m_strBurdenSN[n]);
    }
}

void CXMLNodeResult::DoFieldExchange(CXMLField& fx)
{
    XFX_Text(fx, QStringLiteral("ID"), m_strID);
    XFX_Text(fx, QStringLiteral("Language"), m_strLanguage);
    XFX_Text(fx, QStringLiteral("Device-No"), m_strDeviceNo);
    XFX_Text(fx, QStringLiteral("Device-Typ"), m_strDeviceTyp);
    XFX_Text(fx, QStringLiteral("Date"), m_strDate);
    XFX_Text(fx, QStringLiteral("Time"), m_strTime);
    XFX_Text(fx, QStringLiteral("U-Range"), m_strURange);
    XFX_Text(fx, QStringLiteral("I-Range"), m_strIRange);
    XFX_Text(fx, QStringLiteral("M-Mode"), m_strMMode);
    XFX_Text(fx, QStringLiteral("Function"), m_strFunction);
    XFX_Text(fx, QStringLiteral("Datatype"), m_strDatatype);
    XFX_Text(fx, QStringLiteral("U-PrimSek"), m_strUPrimSek);
    XFX_Text(fx, QStringLiteral("I-PrimSek"), m_strIPrimSek);
    XFX_Text(fx, QStringLiteral("PrimSek-Val-Cz-Reg"), m_strPrimSekValCzReg);
    XFX_Text(fx, QStringLiteral("Place-No"), m_strPlaceNo);
    XFX_Text(fx, QStringLiteral("Time-Interval"), m_strTimeInterval);
    XFX_Text(fx, QStringLiteral("AdjustData"), m_strAdjustData);
    XFX_Text(fx, QStringLiteral("Remark"), m_strRemark);
    XFX_Text(fx, QStringLiteral("PX900Adr"), m_strPX900Adr);

    // Emptying runs through every kind's fields.
    const bool bAll = fx.IsClearing();
    const QString& f = m_strFunction;
    using namespace ResultFunction;

    if (bAll || f == Value || f == Vector || f == Error)
        m_values.Exchange(fx);
    if (bAll || f == Error) {
        XFX_Text(fx, QStringLiteral("Cz"), m_strCz);
        XFX_Text(fx, QStringLiteral("M-Puls"), m_strMPuls);
        XFX_Text(fx, QStringLiteral("M-Inp"), m_strMInp);
        XFX_Text(fx, QStringLiteral("Uprim-sek"), m_strUprimSek);
        XFX_Text(fx, QStringLiteral("Iprim-sek"), m_strIprimSek);
        XFX_Text(fx, QStringLiteral("Error"), m_strError);
        XFX_Text(fx, QStringLiteral("N-Value"), m_strNValue);
        XFX_Text(fx, QStringLiteral("Spread"), m_strSpread);
        XFX_Text(fx, QStringLiteral("Average"), m_strAverage);
        XFX_Text(fx, QStringLiteral("Deviation"), m_strDeviation);
        XFX_Text(fx, QStringLiteral("SSM-UB"), m_strSSMUB);
        XFX_Text(fx, QStringLiteral("SSM-IB"), m_strSSMIB);
        XFX_Text(fx, QStringLiteral("SSM-Fr"), m_strSSMFr);
        XFX_Text(fx, QStringLiteral("SSM-Ph"), m_strSSMPh);
        XFX_Text(fx, QStringLiteral("SSM-MT"), m_strSSMMT);
        XFX_Text(fx, QStringLiteral("StartTime"), m_strStartTime);
        XFX_Text(fx, QStringLiteral("StopTime"), m_strStopTime);
        XFX_Text(fx, QStringLiteral("MTime"), m_strMTime);
        XFX_Text(fx, QStringLiteral("Err-Energie"), m_strErrEnergie);
        XFX_Text(fx, QStringLiteral("Err-CtRat"), m_strErrCtRat);
    }
    if (bAll || f == Curve) {
        XFX_Text(fx, QStringLiteral("ChannelA"), m_strChannelA);
        XFX_TextArray(fx, QStringLiteral("SampleA"), m_strSampleA);
        XFX_Text(fx, QStringLiteral("ChannelB"), m_strChannelB);
        XFX_TextArray(fx, QStringLiteral("SampleB"), m_strSampleB);
    }
    if (bAll || f == Harmonics) {
        XFX_Text(fx, QStringLiteral("Channel"), m_strChannel);
        XFX_Text(fx, QStringLiteral("Total-Harm"), m_strTotalHarm);
        XFX_TextArray(fx, QStringLiteral("Harm"), m_strHarm);
    }
    if (bAll || f == Register) {
        XFX_Text(fx, QStringLiteral("Type"), m_strType);
        XFX_Text(fx, QStringLiteral("Energie"), m_strEnergie);
        XFX_Text(fx, QStringLiteral("E-Begin"), m_strEBegin);
        XFX_Text(fx, QStringLiteral("E-End"), m_strEEnd);
        XFX_Text(fx, QStringLiteral("E-Cz"), m_strECz);
        XFX_Text(fx, QStringLiteral("E-Error"), m_strEError);
        XFX_Text(fx, QStringLiteral("E-StartTime"), m_strEStartTime);
        XFX_Text(fx, QStringLiteral("E-StopTime"), m_strEStopTime);
        XFX_Text(fx, QStringLiteral("E-MTime"), m_strEMTime);
        XFX_Text(fx, QStringLiteral("Power"), m_strPower);
        XFX_Text(fx, QStringLiteral("P-Begin"), m_strPBegin);
        XFX_Text(fx, QStringLiteral("P-End"), m_strPEnd);
        XFX_Text(fx, QStringLiteral("P-Cz"), m_strPCz);
        XFX_Text(fx, QStringLiteral("P-Error"), m_strPError);
        XFX_Text(fx, QStringLiteral("Measurement-Time"), m_strMeasurementTime);
        XFX_Text(fx, QStringLiteral("P-StartTime"), m_strPStartTime);
        XFX_Text(fx, QStringLiteral("P-StopTime"), m_strPStopTime);
        XFX_Text(fx, QStringLiteral("P-MTime"), m_strPMTime);
    }
    if (bAll || f == TmTe) {
        XFX_Text(fx, QStringLiteral("Contact"), m_strContact);
        XFX_Text(fx, QStringLiteral("tm"), m_strTm);
        XFX_Text(fx, QStringLiteral("te"), m_strTe);
        XFX_Text(fx, QStringLiteral("M-Inp-Measure"), m_strMInpMeasure);
        XFX_Text(fx, QStringLiteral("M-Inp-Count"), m_strMInpCount);
        XFX_Text(fx, QStringLiteral("M-Puls"), m_strMPuls);
        XFX_Text(fx, QStringLiteral("Cz-Measure"), m_strCzMeasure);
        XFX_Text(fx, QStringLiteral("Cz-Count"), m_strCzCount);
        XFX_Text(fx, QStringLiteral("Error"), m_strError);
        XFX_Text(fx, QStringLiteral("Impuls"), m_strImpuls);
        XFX_Text(fx, QStringLiteral("Tp"), m_strTp);
        XFX_Text(fx, QStringLiteral("Ti"), m_strTi);
    }
    if (bAll || f == UBurden)
        ExchangeBurden(fx, true);
    if (bAll || f == IBurden)
        ExchangeBurden(fx, false);
    if (bAll || f == ContinueValue)
        XFX_NodeList(fx, QStringLiteral("Value-Measurement"), m_continueValues, GetDocument());
    if (bAll || f == UITransformer) {
        XFX_Text(fx, QStringLiteral("VT-N"), m_strVTN);
        XFX_Text(fx, QStringLiteral("VT-X"), m_strVTX);
        XFX_Text(fx, QStringLiteral("U-Prim"), m_strUPrim);
        XFX_Text(fx, QStringLiteral("U-Sek-N"), m_strUSekN);
        XFX_Text(fx, QStringLiteral("U-Sek-X"), m_strUSekX);
        XFX_Text(fx, QStringLiteral("VT-Value"), m_strVTValue);
        XFX_Text(fx, QStringLiteral("VT-Angle-deg"), m_strVTAngleDeg);
        XFX_Text(fx, QStringLiteral("VT-Angle-min"), m_strVTAngleMin);
        XFX_Text(fx, QStringLiteral("VT-Angle-crad"), m_strVTAngleCrad);
        XFX_Text(fx, QStringLiteral("CT-N"), m_strCTN);
        XFX_Text(fx, QStringLiteral("CT-X"), m_strCTX);
        XFX_Text(fx, QStringLiteral("CT_Xc"), m_strCTXc);
        XFX_Text(fx, QStringLiteral("I-Prim"), m_strIPrim);
        XFX_Text(fx, QStringLiteral("I-Sek-N"), m_strISekN);
        XFX_Text(fx, QStringLiteral("I-Sek-X"), m_strISekX);
        XFX_Text(fx, QStringLiteral("CT-Value"), m_strCTValue);
        XFX_Text(fx, QStringLiteral("CT-Angle-deg"), m_strCTAngleDeg);
        XFX_Text(fx, QStringLiteral("CT-Angle-min"), m_strCTAngleMin);
        XFX_Text(fx, QStringLiteral("CT-Angle-crad"), m_strCTAngleCrad);
        XFX_Text(fx, QStringLiteral("VTCT-Value"), m_strVTCTValue);
        XFX_Text(fx, QStringLiteral("VTCT-Angle-deg"), m_strVTCTAngleDeg);
        XFX_Text(fx, QStringLiteral("VTCT-Angle-min"), m_strVTCTAngleMin);
        XFX_Text(fx, QStringLiteral("VTCT-Angle-crad"), m_strVTCTAngleCrad);
    }
    if (bAll || f == Automatic)
        XFX_NodeList(fx, QStringLiteral("Line-Common"), m_automatic, GetDocument());
    if (bAll || f == AuxChannel) {
        for (int k = 0; k < 6; ++k) {
            XFX_Text(fx, Numbered("Aux-Value-", k + 1), m_strAuxValue[k]);
            XFX_Text(fx, Numbered("Aux-Angle-", k + 1), m_strAuxAngle[k]);
            XFX_Text(fx, Numbered("Ref-Name-", k + 1), m_strRefName[k]);
            XFX_Text(fx, Numbered("Ref-Value-", k + 1), m_strRefValue[k]);
            XFX_Text(fx, Numbered("Ref-Angle-", k + 1), m_strRefAngle[k]);
            XFX_Text(fx, Numbered("Aux-Diff-Value-", k + 1), m_strAuxDiffValue[k]);
            XFX_Text(fx, Numbered("Aux-Diff-Angle-", k + 1), m_strAuxDiffAngle[k]);
        }
    }
    if (bAll || f == Selective) {
        XFX_Text(fx, QStringLiteral("ChannelU"), m_strChannelU);
        XFX_Text(fx, QStringLiteral("ChannelI"), m_strChannelI);
        XFX_TextArray(fx, QStringLiteral("HarmValue"), m_strHarmValue);
    }
    if (bAll || f == PQSRegister) {
        XFX_Text(fx, QStringLiteral("M-Time"), m_strPQSMTime);
        XFX_Text(fx, QStringLiteral("P-Energie"), m_strPEnergie);
        XFX_Text(fx, QStringLiteral("PE-Begin"), m_strPEBegin);
        XFX_Text(fx, QStringLiteral("PE-End"), m_strPEEnd);
        XFX_Text(fx, QStringLiteral("PE-Error"), m_strPEError);
        XFX_Text(fx, QStringLiteral("Q-Energie"), m_strQEnergie);
        XFX_Text(fx, QStringLiteral("QE-Begin"), m_strQEBegin);
        XFX_Text(fx, QStringLiteral("QE-End"), m_strQEEnd);
        XFX_Text(fx, QStringLiteral("QE-Error"), m_strQEError);
        XFX_Text(fx, QStringLiteral("S-Energie"), m_strSEnergie);
        XFX_Text(fx, QStringLiteral("SE-Begin"), m_strSEBegin);
        XFX_Text(fx, QStringLiteral("SE-End"), m_strSEEnd);
        XFX_Text(fx, QStringLiteral("SE-Error"), m_strSEError);
    }
}
