#include "core/Exception.h"

#include "resources/StringTable.h"

void CException::ReportError(MsgIcon icon, unsigned nMessageId) const
{
    ::ReportError(nMessageId ? LoadString(nMessageId) : GetErrorMessage(), icon);
}

const char* CException::what() const noexcept
{
    try {
        m_what = GetErrorMessage().toUtf8();
    } catch (...) {
        return "CException";
    }
    return m_what.constData();
}
