#pragma once

#include "core/Messages.h"

class QWidget;

// Shows the program's messages in message boxes over the main window.
class CMessageBoxSink : public IMessageSink
{
public:
    void Show(const QString& strText, MsgIcon icon) override;
    bool AskYesNo(const QString& strText, MsgIcon icon) override;
    bool AskYesNoDefaultNo(const QString& strText, MsgIcon icon) override;
};
