#include "xml/XMLException.h"

#include "resources/StringTable.h"

CXMLException::CXMLException(unsigned nMessageId, const QString& strDetail)
    : m_nMessageId(nMessageId)
    , m_strText(strDetail)
{
}

CXMLException::CXMLException(const QString& strText)
    : m_strText(strText)
{
}

QString CXMLException::GetErrorMessage() const
{
    if (m_nMessageId == 0)
        return m_strText;
    // A detail (the operating system's reason, say) follows the message on
    // its own line.
    const QString strMessage = LoadString(m_nMessageId);
    return m_strText.isEmpty() ? strMessage : strMessage + u'\n' + m_strText;
}
