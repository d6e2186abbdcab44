#include "xml/XMLNodeResult.h"

namespace {

// Hands each field the record names to the field exchange.
class CExchangeVisitor : public IResultFieldVisitor
{
public:
    explicit CExchangeVisitor(CXMLField& fx)
        : m_fx(fx)
    {
    }
    void Text(const QString& strName, QString& strValue) override { XFX_Text(m_fx, strName, strValue); }
    void TextArray(const QString& strName, QStringList& values) override { XFX_TextArray(m_fx, strName, values); }

private:
    CXMLField& m_fx;
};

} // namespace

void XFX_ActualValues(CXMLField& fx, CActualValues& values)
{
    CExchangeVisitor visitor(fx);
    values.VisitFields(visitor);
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
    XFX_ActualValues(fx, m_values);
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

void CXMLNodeResult::DoFieldExchange(CXMLField& fx)
{
    // Emptying runs through every kind's fields.
    const bool bAll = fx.IsClearing();
    CExchangeVisitor visitor(fx);
    VisitFields(visitor, bAll);
    // A series and an automatic test store nothing else of their kind, so
    // their entries after the common fields keep the element order.
    if (bAll || m_strFunction == ResultFunction::ContinueValue)
        XFX_NodeList(fx, QStringLiteral("Value-Measurement"), m_continueValues, GetDocument());
    if (bAll || m_strFunction == ResultFunction::Automatic)
        XFX_NodeList(fx, QStringLiteral("Line-Common"), m_automatic, GetDocument());
}
