#pragma once

#include "core/Kinds.h"
#include "xml/ResultRecord.h"
#include "xml/XMLNode.h"

#include <memory>
#include <vector>

// Binds the actual values to the elements under the field-exchange prefix.
void XFX_ActualValues(CXMLField& fx, CActualValues& values);

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

// A cursor over the results of the result file: the record's fields bound
// to the current element, plus the entries of a continuous series or an
// automatic test.
class CXMLNodeResult : public CXMLNode, public CResultRecord
{
public:
    explicit CXMLNodeResult(CXMLDocument* pDocument);

    // Continuous series and automatic measurement.
    std::vector<std::unique_ptr<CXMLNodeContinueValues>> m_continueValues;
    std::vector<std::unique_ptr<CXMLNodeAutomaticMeasurement>> m_automatic;

    void SetFieldsEmpty() override;
    void DoFieldExchange(CXMLField& fx) override;
};
