#pragma once

#include <QString>

struct CActualValues;
class CXMLNodeResult;

// Quantity indices of the actual-values cache: 0-26 have a value per phase,
// 27-33 a single value (kept in phase 0).
enum Quantity : int {
    kQtyUPN = 0, kQtyUPP, kQtyUDC, kQtyUD, kQtyI, kQtyIDC, kQtyID, kQtyPhiU, kQtyPhiI, kQtyPhiUI,
    kQtyLambda, kQtyP, kQtyQ, kQtyS, kQtyAUXU, kQtyAUXI, kQtyAAUXU, kQtyAAUXI,
    kQtyG, kQtyB, kQtyY, kQtyR, kQtyX, kQtyZ, kQtySb, kQtyCosBeta, kQtySN,
    kQtySP, kQtySQ, kQtySS, kQtyF, kQtyPS, kQtySL, kQtyT,
    kQtyCount,
    kQtyPhaseCount = kQtySP,
};

// The view's copy of the shown result: the record's texts, unparsed. The
// view fills it when a result is selected; renderers draw only from it and
// never read the file while painting.
struct CResultCache
{
    // Common fields, in the order of the record.
    QString m_strID, m_strLanguage, m_strDeviceNo, m_strDeviceTyp, m_strDate, m_strTime;
    QString m_strURange, m_strIRange, m_strMMode, m_strFunction, m_strDatatype;
    QString m_strUPrimSek, m_strIPrimSek, m_strPrimSekValCzReg, m_strPlaceNo, m_strTimeInterval;
    QString m_strAdjustData, m_strRemark, m_strPX900Adr;

    // Actual values: [quantity][phase], value ";" unit.
    QString m_strValues[kQtyCount][3];

    // The current transformer ratio of an error measurement, shown in the
    // settings table.
    QString m_strErrCtRat;

    void Clear();
    bool IsErrorMeasurement() const;

    // The common fields of a record.
    void SetCommon(const CXMLNodeResult& result);
    // The actual-values block (also one sample of a continuous series).
    void SetActualValues(const CActualValues& values);
    // The per-phase values of a burden record.
    void SetBurden(const CXMLNodeResult& result, bool bVoltage);
    // Everything of a record that these caches hold, by its "Function".
    void SetFromResult(const CXMLNodeResult& result);
};
