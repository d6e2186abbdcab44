#pragma once

#include "core/Messages.h"

#include <QByteArray>
#include <QString>
#include <exception>

// Base of every exception the program throws. Each layer catches the layer
// below and throws its own class with its own prefix text, so the user reads
// the whole chain in one message.
class CException : public std::exception
{
public:
    ~CException() override = default;

    // The complete text to show.
    virtual QString GetErrorMessage() const = 0;

    // Show the text through the message seam. A non-zero id replaces the
    // text by that string-table message.
    virtual void ReportError(MsgIcon icon = MsgIcon::Exclamation, unsigned nMessageId = 0) const;

    const char* what() const noexcept override;

private:
    mutable QByteArray m_what;
};
