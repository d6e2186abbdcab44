#pragma once

#include "xml/XMLNodeResult.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

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

    // Kind-specific single fields by element name ("Cz", "VT-N", "Aux-Value-1"
    // ...) and repeated fields by element name ("SampleA", "Harm", "HarmValue").
    QHash<QString, QString> m_kindFields;
    QHash<QString, QStringList> m_kindSeries;

    // One entry of a continuous series.
    struct CSeriesEntry
    {
        QString m_strNo;
        QString m_strTimeStamp;
        CActualValues m_values;
    };
    QList<CSeriesEntry> m_series;
    // The series entry whose values the actual-values cache holds, or -1.
    int m_nSample = -1;
    // The lines of each "Line-Common" of an automatic measurement.
    QList<QStringList> m_automaticLines;

    void Clear();
    bool IsErrorMeasurement() const;

    QString KindField(const QString& strName) const { return m_kindFields.value(strName); }
    QStringList KindSeries(const QString& strName) const { return m_kindSeries.value(strName); }
    // The index of the series entry with this running number, or -1.
    int FindSample(const QString& strNo) const;
    // Copies the actual values of series entry i into the actual-values cache.
    bool SelectSample(int nIndex);

    // The common fields of a record.
    void SetCommon(const CXMLNodeResult& result);
    // The actual-values block (also one sample of a continuous series).
    void SetActualValues(const CActualValues& values);
    // The per-phase values of a burden record.
    void SetBurden(const CXMLNodeResult& result, bool bVoltage);
    // Everything of a record that these caches hold, by its "Function".
    void SetFromResult(const CXMLNodeResult& result);

private:
    void SetKindFields(const CXMLNodeResult& result);
};
