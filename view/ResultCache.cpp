#include "view/ResultCache.h"

#include "xml/XMLNodeResult.h"

void CResultCache::Clear()
{
    *this = CResultCache();
}

bool CResultCache::IsErrorMeasurement() const
{
    return m_strFunction == ResultFunction::Error;
}

void CResultCache::SetCommon(const CXMLNodeResult& r)
{
    m_strID = r.m_strID;
    m_strLanguage = r.m_strLanguage;
    m_strDeviceNo = r.m_strDeviceNo;
    m_strDeviceTyp = r.m_strDeviceTyp;
    m_strDate = r.m_strDate;
    m_strTime = r.m_strTime;
    m_strURange = r.m_strURange;
    m_strIRange = r.m_strIRange;
    m_strMMode = r.m_strMMode;
    m_strFunction = r.m_strFunction;
    m_strDatatype = r.m_strDatatype;
    m_strUPrimSek = r.m_strUPrimSek;
    m_strIPrimSek = r.m_strIPrimSek;
    m_strPrimSekValCzReg = r.m_strPrimSekValCzReg;
    m_strPlaceNo = r.m_strPlaceNo;
    m_strTimeInterval = r.m_strTimeInterval;
    m_strAdjustData = r.m_strAdjustData;
    m_strRemark = r.m_strRemark;
    m_strPX900Adr = r.m_strPX900Adr;
}

void CResultCache::SetActualValues(const CActualValues& v)
{
    for (int p = 0; p < 3; ++p) {
        m_strValues[kQtyUPN][p] = v.m_strUPN[p];
        m_strValues[kQtyUPP][p] = v.m_strUPP[p];
        m_strValues[kQtyUDC][p] = v.m_strUDC[p];
        m_strValues[kQtyUD][p] = v.m_strUD[p];
        m_strValues[kQtyI][p] = v.m_strIL[p];
        m_strValues[kQtyIDC][p] = v.m_strIDC[p];
        m_strValues[kQtyID][p] = v.m_strID[p];
        m_strValues[kQtyPhiU][p] = v.m_strAU[p];
        m_strValues[kQtyPhiI][p] = v.m_strAI[p];
        m_strValues[kQtyPhiUI][p] = v.m_strPHI[p];
        m_strValues[kQtyLambda][p] = v.m_strLambda[p];
        m_strValues[kQtyP][p] = v.m_strP[p];
        m_strValues[kQtyQ][p] = v.m_strQ[p];
        m_strValues[kQtyS][p] = v.m_strS[p];
        // Inputs 1-3 are the voltage inputs, 4-6 the current inputs.
        m_strValues[kQtyAUXU][p] = v.m_strAUX[p];
        m_strValues[kQtyAUXI][p] = v.m_strAUX[p + 3];
        m_strValues[kQtyAAUXU][p] = v.m_strAAUX[p];
        m_strValues[kQtyAAUXI][p] = v.m_strAAUX[p + 3];
    }
    m_strValues[kQtySP][0] = v.m_strSP;
    m_strValues[kQtySQ][0] = v.m_strSQ;
    m_strValues[kQtySS][0] = v.m_strSS;
    m_strValues[kQtyF][0] = v.m_strFREQ;
    m_strValues[kQtyPS][0] = v.m_strRF;
    m_strValues[kQtySL][0] = v.m_strSLambda;
    m_strValues[kQtyT][0] = v.m_strTemperature;
}

void CResultCache::SetBurden(const CXMLNodeResult& r, bool bVoltage)
{
    for (int p = 0; p < 3; ++p) {
        m_strValues[kQtyUPN][p] = r.m_strBurdenUPN[p];
        m_strValues[kQtyI][p] = r.m_strBurdenIL[p];
        m_strValues[kQtyPhiUI][p] = r.m_strBurdenPHI[p];
        m_strValues[kQtyP][p] = r.m_strBurdenP[p];
        m_strValues[kQtyQ][p] = r.m_strBurdenQ[p];
        m_strValues[kQtyS][p] = r.m_strBurdenS[p];
        if (bVoltage) {
            m_strValues[kQtyG][p] = r.m_strBurdenG[p];
            m_strValues[kQtyB][p] = r.m_strBurdenB[p];
            m_strValues[kQtyY][p] = r.m_strBurdenY[p];
        } else {
            m_strValues[kQtyR][p] = r.m_strBurdenR[p];
            m_strValues[kQtyX][p] = r.m_strBurdenX[p];
            m_strValues[kQtyZ][p] = r.m_strBurdenZ[p];
        }
        m_strValues[kQtySb][p] = r.m_strBurdenSb[p];
        m_strValues[kQtyCosBeta][p] = r.m_strBurdenCosBeta[p];
        m_strValues[kQtySN][p] = r.m_strBurdenSN[p];
    }
}

void CResultCache::SetFromResult(const CXMLNodeResult& r)
{
    Clear();
    SetCommon(r);
    if (r.m_strFunction == ResultFunction::Value || r.m_strFunction == ResultFunction::Vector
        || r.m_strFunction == ResultFunction::Error)
        SetActualValues(r.m_values);
    else if (r.m_strFunction == ResultFunction::UBurden)
        SetBurden(r, true);
    else if (r.m_strFunction == ResultFunction::IBurden)
        SetBurden(r, false);
    if (r.m_strFunction == ResultFunction::Error)
        m_strErrCtRat = r.m_strErrCtRat;
    SetKindFields(r);
}

void CResultCache::SetKindFields(const CXMLNodeResult& r)
{
    // The exchange of the record knows every field of its kind by name, so
    // the map it stores is the complete list of what this kind carries (storing
    // into a map only reads the members).
    const std::shared_ptr<CXMLFieldMap> map = const_cast<CXMLNodeResult&>(r).StoreToMap();
    static const QStringList kCommon = {
        QStringLiteral("ID"), QStringLiteral("Language"), QStringLiteral("Device-No"), QStringLiteral("Device-Typ"),
        QStringLiteral("Date"), QStringLiteral("Time"), QStringLiteral("U-Range"), QStringLiteral("I-Range"),
        QStringLiteral("M-Mode"), QStringLiteral("Function"), QStringLiteral("Datatype"), QStringLiteral("U-PrimSek"),
        QStringLiteral("I-PrimSek"), QStringLiteral("PrimSek-Val-Cz-Reg"), QStringLiteral("Place-No"),
        QStringLiteral("Time-Interval"), QStringLiteral("AdjustData"), QStringLiteral("Remark"), QStringLiteral("PX900Adr")};
    for (const auto& [strPath, entry] : map->Entries()) {
        const QString strName = strPath.mid(strPath.lastIndexOf(QLatin1Char('/')) + 1);
        if (entry.m_kind == CXMLFieldEntry::Object) {
            if (!kCommon.contains(strName))
                m_kindFields.insert(strName, entry.m_object.m_strText);
        } else if (entry.m_kind == CXMLFieldEntry::Array) {
            m_kindSeries.insert(strName, entry.m_array);
        }
    }
    for (const auto& pEntry : r.m_continueValues)
        m_series.append({pEntry->m_strNo, pEntry->m_strTimeStamp, pEntry->m_values});
    for (const auto& pLines : r.m_automatic)
        m_automaticLines.append(pLines->m_strLine);
}

int CResultCache::FindSample(const QString& strNo) const
{
    for (int i = 0; i < m_series.size(); ++i)
        if (m_series[i].m_strNo == strNo)
            return i;
    return -1;
}

bool CResultCache::SelectSample(int nIndex)
{
    if (nIndex < 0 || nIndex >= m_series.size())
        return false;
    SetActualValues(m_series[nIndex].m_values);
    m_nSample = nIndex;
    return true;
}
