#pragma once

#include "core/Exception.h"

// The one exception of the data store: a string-table message id or a ready
// text, exactly one of the two.
class CXMLException : public CException
{
public:
    explicit CXMLException(unsigned nMessageId, const QString& strDetail = {});
    explicit CXMLException(const QString& strText);

    QString GetErrorMessage() const override;
    unsigned GetMessageId() const { return m_nMessageId; }
    const QString& GetText() const { return m_strText; }

private:
    unsigned m_nMessageId = 0;
    QString m_strText;
};
