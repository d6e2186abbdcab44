#include "xml/ResultRecord.h"

#include <iterator>

#include "core/Kinds.h"

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

namespace {
const CActualValues::CPhaseField g_phaseFields[] = {
    {"UPN", &CActualValues::m_strUPN}, {"UPP", &CActualValues::m_strUPP}, {"UDC", &CActualValues::m_strUDC},
    {"UD", &CActualValues::m_strUD},   {"IL", &CActualValues::m_strIL},   {"IDC", &CActualValues::m_strIDC},
    {"ID", &CActualValues::m_strID},   {"AU", &CActualValues::m_strAU},   {"AI", &CActualValues::m_strAI},
    {"PHI", &CActualValues::m_strPHI}, {"Lambda", &CActualValues::m_strLambda},
    {"P", &CActualValues::m_strP},     {"Q", &CActualValues::m_strQ},     {"S", &CActualValues::m_strS},
};
} // namespace

const CActualValues::CPhaseField* CActualValues::PhaseFieldsBegin()
{
    return std::begin(g_phaseFields);
}

const CActualValues::CPhaseField* CActualValues::PhaseFieldsEnd()
{
    return std::end(g_phaseFields);
}

void CActualValues::VisitFields(IResultFieldVisitor& v)
{
    constexpr int nFields = sizeof g_phaseFields / sizeof g_phaseFields[0];
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
                    phase[n - 1][i] = PhaseFieldName(S(g_phaseFields[i].pszBase), n);
            for (int k = 1; k <= 6; ++k) {
                aux[k - 1] = QStringLiteral("AUX") + QString::number(k);
                aaux[k - 1] = QStringLiteral("AAUX") + QString::number(k);
            }
        }
    } kNames;
    // The phase loop is the outer one: all fields of L1 come first.
    for (int n = 1; n <= 3; ++n)
        for (int i = 0; i < nFields; ++i)
            v.Text(kNames.phase[n - 1][i], (this->*g_phaseFields[i].pMember)[n - 1]);
    for (int k = 1; k <= 6; ++k) {
        v.Text(kNames.aux[k - 1], m_strAUX[k - 1]);
        v.Text(kNames.aaux[k - 1], m_strAAUX[k - 1]);
    }
    v.Text(QStringLiteral("SP"), m_strSP);
    v.Text(QStringLiteral("SQ"), m_strSQ);
    v.Text(QStringLiteral("SS"), m_strSS);
    v.Text(QStringLiteral("RF"), m_strRF);
    v.Text(QStringLiteral("FREQ"), m_strFREQ);
    v.Text(QStringLiteral("SLambda"), m_strSLambda);
    v.Text(QStringLiteral("Temperature"), m_strTemperature);
}

// --- CResultRecord ----------------------------------------------------------

void CResultRecord::VisitBurden(IResultFieldVisitor& v, bool bVoltage)
{
    v.Text(bVoltage ? QStringLiteral("U-Nominal") : QStringLiteral("I-Nominal"), bVoltage ? m_strUNominal : m_strINominal);
    v.Text(QStringLiteral("B-Nominal"), m_strBNominal);
    v.Text(QStringLiteral("W-Length"), m_strWLength);
    v.Text(QStringLiteral("W-Gauge"), m_strWGauge);
    for (int n = 0; n < 3; ++n) {
        v.Text(Numbered("UPN", n + 1), m_strBurdenUPN[n]);
        v.Text(Numbered("IL", n + 1), m_strBurdenIL[n]);
        v.Text(Numbered("PHI", n + 1), m_strBurdenPHI[n]);
        v.Text(Numbered("P", n + 1), m_strBurdenP[n]);
        v.Text(Numbered("Q", n + 1), m_strBurdenQ[n]);
        v.Text(Numbered("S", n + 1), m_strBurdenS[n]);
        if (bVoltage) {
            v.Text(Numbered("G", n + 1), m_strBurdenG[n]);
            v.Text(Numbered("B", n + 1), m_strBurdenB[n]);
            v.Text(Numbered("Y", n + 1), m_strBurdenY[n]);
        } else {
            v.Text(Numbered("R", n + 1), m_strBurdenR[n]);
            v.Text(Numbered("X", n + 1), m_strBurdenX[n]);
            v.Text(Numbered("Z", n + 1), m_strBurdenZ[n]);
        }
        v.Text(Numbered("Sb", n + 1), m_strBurdenSb[n]);
        v.Text(Numbered("CosBeta", n + 1), m_strBurdenCosBeta[n]);
        v.Text(Numbered("SN", n + 1), m_strBurdenSN[n]);
    }
}

void CResultRecord::VisitFields(IResultFieldVisitor& v, bool bAll)
{
    v.Text(QStringLiteral("ID"), m_strID);
    v.Text(QStringLiteral("Language"), m_strLanguage);
    v.Text(QStringLiteral("Device-No"), m_strDeviceNo);
    v.Text(QStringLiteral("Device-Typ"), m_strDeviceTyp);
    v.Text(QStringLiteral("Date"), m_strDate);
    v.Text(QStringLiteral("Time"), m_strTime);
    v.Text(QStringLiteral("U-Range"), m_strURange);
    v.Text(QStringLiteral("I-Range"), m_strIRange);
    v.Text(QStringLiteral("M-Mode"), m_strMMode);
    v.Text(QStringLiteral("Function"), m_strFunction);
    v.Text(QStringLiteral("Datatype"), m_strDatatype);
    v.Text(QStringLiteral("U-PrimSek"), m_strUPrimSek);
    v.Text(QStringLiteral("I-PrimSek"), m_strIPrimSek);
    v.Text(QStringLiteral("PrimSek-Val-Cz-Reg"), m_strPrimSekValCzReg);
    v.Text(QStringLiteral("Place-No"), m_strPlaceNo);
    v.Text(QStringLiteral("Time-Interval"), m_strTimeInterval);
    v.Text(QStringLiteral("AdjustData"), m_strAdjustData);
    v.Text(QStringLiteral("Remark"), m_strRemark);
    v.Text(QStringLiteral("PX900Adr"), m_strPX900Adr);

    const QString& f = m_strFunction;
    using namespace ResultFunction;

    if (bAll || f == Value || f == Vector || f == Error)
        m_values.VisitFields(v);
    if (bAll || f == Error) {
        v.Text(QStringLiteral("Cz"), m_strCz);
        v.Text(QStringLiteral("M-Puls"), m_strMPuls);
        v.Text(QStringLiteral("M-Inp"), m_strMInp);
        v.Text(QStringLiteral("Uprim-sek"), m_strUprimSek);
        v.Text(QStringLiteral("Iprim-sek"), m_strIprimSek);
        v.Text(QStringLiteral("Error"), m_strError);
        v.Text(QStringLiteral("N-Value"), m_strNValue);
        v.Text(QStringLiteral("Spread"), m_strSpread);
        v.Text(QStringLiteral("Average"), m_strAverage);
        v.Text(QStringLiteral("Deviation"), m_strDeviation);
        v.Text(QStringLiteral("SSM-UB"), m_strSSMUB);
        v.Text(QStringLiteral("SSM-IB"), m_strSSMIB);
        v.Text(QStringLiteral("SSM-Fr"), m_strSSMFr);
        v.Text(QStringLiteral("SSM-Ph"), m_strSSMPh);
        v.Text(QStringLiteral("SSM-MT"), m_strSSMMT);
        v.Text(QStringLiteral("StartTime"), m_strStartTime);
        v.Text(QStringLiteral("StopTime"), m_strStopTime);
        v.Text(QStringLiteral("MTime"), m_strMTime);
        v.Text(QStringLiteral("Err-Energie"), m_strErrEnergie);
        v.Text(QStringLiteral("Err-CtRat"), m_strErrCtRat);
    }
    if (bAll || f == Curve) {
        v.Text(QStringLiteral("ChannelA"), m_strChannelA);
        v.TextArray(QStringLiteral("SampleA"), m_strSampleA);
        v.Text(QStringLiteral("ChannelB"), m_strChannelB);
        v.TextArray(QStringLiteral("SampleB"), m_strSampleB);
    }
    if (bAll || f == Harmonics) {
        v.Text(QStringLiteral("Channel"), m_strChannel);
        v.Text(QStringLiteral("Total-Harm"), m_strTotalHarm);
        v.TextArray(QStringLiteral("Harm"), m_strHarm);
    }
    if (bAll || f == Register) {
        v.Text(QStringLiteral("Type"), m_strType);
        v.Text(QStringLiteral("Energie"), m_strEnergie);
        v.Text(QStringLiteral("E-Begin"), m_strEBegin);
        v.Text(QStringLiteral("E-End"), m_strEEnd);
        v.Text(QStringLiteral("E-Cz"), m_strECz);
        v.Text(QStringLiteral("E-Error"), m_strEError);
        v.Text(QStringLiteral("E-StartTime"), m_strEStartTime);
        v.Text(QStringLiteral("E-StopTime"), m_strEStopTime);
        v.Text(QStringLiteral("E-MTime"), m_strEMTime);
        v.Text(QStringLiteral("Power"), m_strPower);
        v.Text(QStringLiteral("P-Begin"), m_strPBegin);
        v.Text(QStringLiteral("P-End"), m_strPEnd);
        v.Text(QStringLiteral("P-Cz"), m_strPCz);
        v.Text(QStringLiteral("P-Error"), m_strPError);
        v.Text(QStringLiteral("Measurement-Time"), m_strMeasurementTime);
        v.Text(QStringLiteral("P-StartTime"), m_strPStartTime);
        v.Text(QStringLiteral("P-StopTime"), m_strPStopTime);
        v.Text(QStringLiteral("P-MTime"), m_strPMTime);
    }
    if (bAll || f == TmTe) {
        v.Text(QStringLiteral("Contact"), m_strContact);
        v.Text(QStringLiteral("tm"), m_strTm);
        v.Text(QStringLiteral("te"), m_strTe);
        v.Text(QStringLiteral("M-Inp-Measure"), m_strMInpMeasure);
        v.Text(QStringLiteral("M-Inp-Count"), m_strMInpCount);
        v.Text(QStringLiteral("M-Puls"), m_strMPuls);
        v.Text(QStringLiteral("Cz-Measure"), m_strCzMeasure);
        v.Text(QStringLiteral("Cz-Count"), m_strCzCount);
        v.Text(QStringLiteral("Error"), m_strError);
        v.Text(QStringLiteral("Impuls"), m_strImpuls);
        v.Text(QStringLiteral("Tp"), m_strTp);
        v.Text(QStringLiteral("Ti"), m_strTi);
    }
    if (bAll || f == UBurden)
        VisitBurden(v, true);
    if (bAll || f == IBurden)
        VisitBurden(v, false);
    if (bAll || f == UITransformer) {
        v.Text(QStringLiteral("VT-N"), m_strVTN);
        v.Text(QStringLiteral("VT-X"), m_strVTX);
        v.Text(QStringLiteral("U-Prim"), m_strUPrim);
        v.Text(QStringLiteral("U-Sek-N"), m_strUSekN);
        v.Text(QStringLiteral("U-Sek-X"), m_strUSekX);
        v.Text(QStringLiteral("VT-Value"), m_strVTValue);
        v.Text(QStringLiteral("VT-Angle-deg"), m_strVTAngleDeg);
        v.Text(QStringLiteral("VT-Angle-min"), m_strVTAngleMin);
        v.Text(QStringLiteral("VT-Angle-crad"), m_strVTAngleCrad);
        v.Text(QStringLiteral("CT-N"), m_strCTN);
        v.Text(QStringLiteral("CT-X"), m_strCTX);
        v.Text(QStringLiteral("CT_Xc"), m_strCTXc);
        v.Text(QStringLiteral("I-Prim"), m_strIPrim);
        v.Text(QStringLiteral("I-Sek-N"), m_strISekN);
        v.Text(QStringLiteral("I-Sek-X"), m_strISekX);
        v.Text(QStringLiteral("CT-Value"), m_strCTValue);
        v.Text(QStringLiteral("CT-Angle-deg"), m_strCTAngleDeg);
        v.Text(QStringLiteral("CT-Angle-min"), m_strCTAngleMin);
        v.Text(QStringLiteral("CT-Angle-crad"), m_strCTAngleCrad);
        v.Text(QStringLiteral("VTCT-Value"), m_strVTCTValue);
        v.Text(QStringLiteral("VTCT-Angle-deg"), m_strVTCTAngleDeg);
        v.Text(QStringLiteral("VTCT-Angle-min"), m_strVTCTAngleMin);
        v.Text(QStringLiteral("VTCT-Angle-crad"), m_strVTCTAngleCrad);
    }
    if (bAll || f == AuxChannel) {
        for (int k = 0; k < 6; ++k) {
            v.Text(Numbered("Aux-Value-", k + 1), m_strAuxValue[k]);
            v.Text(Numbered("Aux-Angle-", k + 1), m_strAuxAngle[k]);
            v.Text(Numbered("Ref-Name-", k + 1), m_strRefName[k]);
            v.Text(Numbered("Ref-Value-", k + 1), m_strRefValue[k]);
            v.Text(Numbered("Ref-Angle-", k + 1), m_strRefAngle[k]);
            v.Text(Numbered("Aux-Diff-Value-", k + 1), m_strAuxDiffValue[k]);
            v.Text(Numbered("Aux-Diff-Angle-", k + 1), m_strAuxDiffAngle[k]);
        }
    }
    if (bAll || f == Selective) {
        v.Text(QStringLiteral("ChannelU"), m_strChannelU);
        v.Text(QStringLiteral("ChannelI"), m_strChannelI);
        v.TextArray(QStringLiteral("HarmValue"), m_strHarmValue);
    }
    if (bAll || f == PQSRegister) {
        v.Text(QStringLiteral("M-Time"), m_strPQSMTime);
        v.Text(QStringLiteral("P-Energie"), m_strPEnergie);
        v.Text(QStringLiteral("PE-Begin"), m_strPEBegin);
        v.Text(QStringLiteral("PE-End"), m_strPEEnd);
        v.Text(QStringLiteral("PE-Error"), m_strPEError);
        v.Text(QStringLiteral("Q-Energie"), m_strQEnergie);
        v.Text(QStringLiteral("QE-Begin"), m_strQEBegin);
        v.Text(QStringLiteral("QE-End"), m_strQEEnd);
        v.Text(QStringLiteral("QE-Error"), m_strQEError);
        v.Text(QStringLiteral("S-Energie"), m_strSEnergie);
        v.Text(QStringLiteral("SE-Begin"), m_strSEBegin);
        v.Text(QStringLiteral("SE-End"), m_strSEEnd);
        v.Text(QStringLiteral("SE-Error"), m_strSEError);
    }
}
