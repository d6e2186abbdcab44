#pragma once

#include <QString>
#include <QStringList>

// Meets every stored field of a record under its element name: the data
// store binds the fields to elements this way, and code without a document
// (the record decoder's tests, say) finds a stored text by its name.
class IResultFieldVisitor
{
public:
    virtual ~IResultFieldVisitor() = default;
    virtual void Text(const QString& strName, QString& strValue) = 0;
    // A repeated element, one text per occurrence.
    virtual void TextArray(const QString& strName, QStringList& values) = 0;
};

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
    // All fields of L1 first, then L2, L3, the auxiliary inputs and the sums.
    void VisitFields(IResultFieldVisitor& visitor);
    // "UPP" carries the pair's digits: 12, 23, 31.
    static QString PhaseFieldName(const QString& strBase, int nPhase);

    // The per-phase fields in element order: base name and member.
    struct CPhaseField
    {
        const char* pszBase;
        QString (CActualValues::*pMember)[3];
    };
    static const CPhaseField* PhaseFieldsBegin();
    static const CPhaseField* PhaseFieldsEnd();
};

// The texts of one result as the result file stores them, without a
// document: which fields belong to the result depends on "Function". The
// entries of a continuous series and of an automatic test are elements of
// their own and stay with the data store's cursor.
class CResultRecord
{
public:
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

    // The record part of an object; a cursor that derives from the record
    // takes a whole record by assignment to it.
    CResultRecord& Record() { return *this; }
    const CResultRecord& Record() const { return *this; }

    // The common fields, then those of the kind that "Function" names (read
    // after the common fields, so a loading visitor decides by the loaded
    // text); every kind's fields with bAllKinds. Element order as stored.
    void VisitFields(IResultFieldVisitor& visitor, bool bAllKinds);

private:
    void VisitBurden(IResultFieldVisitor& visitor, bool bVoltage);
};
