#pragma once

#include "core/Kinds.h"
#include "xml/XMLNode.h"

#include <memory>
#include <vector>

// The actual-values block: per phase (index 0 to 2 for L1 to L3), the six
// auxiliary inputs, and the sums. Shared by the three actual-value kinds and
// by each entry of a continuous series.
struct CActualValues
{
    QString m_strUPN[3], m_strUPP[3], m_strUDC[3], m_strUD[3], m_strIL[3], m_strIDC[3], m_strID[3];
    QString m_strAU[3], m_strAI[3], m_strPHI[3], m_strLambda[3], m_strP[3], m_strQ[3], m_strS[3];
    QString m_strAUX[6], m_strAAUX[6];
    QString m_strSP, m_strSQ, m_strSS, m_strRF, m_strFREQ, m_strSLambda, m_strTemperature;

    void SetEmpty();
    void Exchange(CXMLField& fx);
    // "UPP" carries the pair's digits: 12, 23, 31.
    static QString PhaseFieldName(const QString& strBase, int nPhase);
};

// One entry of a continuous series ("Value-Measurement" inside a
// "Continue-Value-Measurement" result).
class CXMLNodeContinueValues : public CXMLNode
{
public:
    explicit CXMLNodeContinueValues(CXMLDocument* pDocument);
    QString m_strNo;
    QString m_strTimeStamp;
    CActualValues m_values;

    void SetFieldsEmpty() override;
    void DoFieldExchange(CXMLField& fx) override;
};

// One "Line-Common" of an automatic test series.
class CXMLNodeAutomaticMeasurement : public CXMLNode
{
public:
    explicit CXMLNodeAutomaticMeasurement(CXMLDocument* pDocument);
    QStringList m_strLine;

    void SetFieldsEmpty() override;
    void DoFieldExchange(CXMLField& fx) override;
};

// One result of the result file; which fields are exchanged depends on
// "Function".
class CXMLNodeResult : public CXMLNode
{
public:
    explicit CXMLNodeResult(CXMLDocument* pDocument);

    // Common fields.
    QString m_strID, m_strLanguage, m_strDeviceNo, m_strDeviceTyp, m_strDate, m_strTime;
    QString m_strURange, m_strIRange, m_strMMode, m_strFunction, m_strDatatype;
    QString m_strUPrimSek, m_strIPrimSek, m_strPrimSekValCzReg, m_strPlaceNo, m_strTimeInterval;
    QString m_strAdjustData, m_strRemark, m_strPX900Adr;

    // Actual values ("Value-", "Vector-", "Error-Measurement").
    CActualValues m_values;

    // Error block.
    QString m_strCz, m_strMPuls, m_strMInp, m_strUprimSek, m_strIprimSek, m_strError, m_strNValue;
    QString m_strSpread, m_strAverage, m_strDeviation, m_strSSMUB, m_strSSMIB, m_strSSMFr, m_strSSMPh;
    QString m_strSSMMT, m_strStartTime, m_strStopTime, m_strMTime, m_strErrEnergie, m_strErrCtRat;

    // Curve.
    QString m_strChannelA, m_strChannelB;
    QStringList m_strSampleA, m_strSampleB;

    // Harmonics.
    QString m_strChannel, m_strTotalHarm;
    QStringList m_strHarm;

    // Register test.
    QString m_strType, m_strEnergie, m_strEBegin, m_strEEnd, m_strECz, m_strEError, m_strEStartTime;
    QString m_strEStopTime, m_strEMTime, m_strPower, m_strPBegin, m_strPEnd, m_strPCz, m_strPError;
    QString m_strMeasurementTime, m_strPStartTime, m_strPStopTime, m_strPMTime;

    // tm/te transmitter ("M-Puls" and "Error" as in the error block).
    QString m_strContact, m_strTm, m_strTe, m_strMInpMeasure, m_strMInpCount, m_strCzMeasure;
    QString m_strCzCount, m_strImpuls, m_strTp, m_strTi;

    // Burdens (voltage: "U-Nominal", G, B, Y; current: "I-Nominal", R, X, Z).
    QString m_strUNominal, m_strINominal, m_strBNominal, m_strWLength, m_strWGauge;
    QString m_strBurdenUPN[3], m_strBurdenIL[3], m_strBurdenPHI[3], m_strBurdenP[3], m_strBurdenQ[3];
    QString m_strBurdenS[3], m_strBurdenG[3], m_strBurdenB[3], m_strBurdenY[3], m_strBurdenR[3];
    QString m_strBurdenX[3], m_strBurdenZ[3], m_strBurdenSb[3], m_strBurdenCosBeta[3], m_strBurdenSN[3];

    // Continuous series and automatic measurement.
    std::vector<std::unique_ptr<CXMLNodeContinueValues>> m_continueValues;
    std::vector<std::unique_ptr<CXMLNodeAutomaticMeasurement>> m_automatic;

    // Transformer.
    QString m_strVTN, m_strVTX, m_strUPrim, m_strUSekN, m_strUSekX, m_strVTValue, m_strVTAngleDeg;
    QString m_strVTAngleMin, m_strVTAngleCrad, m_strCTN, m_strCTX, m_strCTXc, m_strIPrim, m_strISekN;
    QString m_strISekX, m_strCTValue, m_strCTAngleDeg, m_strCTAngleMin, m_strCTAngleCrad, m_strVTCTValue;
    QString m_strVTCTAngleDeg, m_strVTCTAngleMin, m_strVTCTAngleCrad;

    // Auxiliary channels 1 to 6 (index 0 to 5).
    QString m_strAuxValue[6], m_strAuxAngle[6], m_strRefName[6], m_strRefValue[6], m_strRefAngle[6];
    QString m_strAuxDiffValue[6], m_strAuxDiffAngle[6];

    // Selective power.
    QString m_strChannelU, m_strChannelI;
    QStringList m_strHarmValue;

    // P/Q/S register test.
    QString m_strPQSMTime, m_strPEnergie, m_strPEBegin, m_strPEEnd, m_strPEError, m_strQEnergie;
    QString m_strQEBegin, m_strQEEnd, m_strQEError, m_strSEnergie, m_strSEBegin, m_strSEEnd, m_strSEError;

    void SetFieldsEmpty() override;
    void DoFieldExchange(CXMLField& fx) override;

private:
    void ExchangeBurden(CXMLField& fx, bool bVoltage);
};
