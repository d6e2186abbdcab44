#pragma once

#include <QString>

// The one seam through which the program talks to the user in message
// boxes. The window program installs a sink that shows dialogs, the unattended
// readout one that writes to standard error, tests one that records.
enum class MsgIcon { None, Information, Question, Exclamation, Stop };

class IMessageSink
{
public:
    virtual ~IMessageSink() = default;
    // An error or a note; returns when the user has seen it.
    virtual void Show(const QString& strText, MsgIcon icon) = 0;
    // A yes/no question; true for yes.
    virtual bool AskYesNo(const QString& strText, MsgIcon icon) = 0;
    // A question whose safe answer is no (deleting what cannot come back):
    // Return answers no. Sinks without buttons ask as usual.
    virtual bool AskYesNoDefaultNo(const QString& strText, MsgIcon icon) { return AskYesNo(strText, icon); }
};

// Installs a sink (not owned); nullptr restores the standard-error sink.
// Returns the sink that was installed before.
IMessageSink* SetMessageSink(IMessageSink* pSink);
IMessageSink* GetMessageSink();

void ReportError(const QString& strText, MsgIcon icon = MsgIcon::Exclamation);
void Inform(const QString& strText, MsgIcon icon = MsgIcon::Information);
bool AskYesNo(const QString& strText, MsgIcon icon = MsgIcon::Question);
bool AskYesNoDefaultNo(const QString& strText, MsgIcon icon = MsgIcon::Question);

// Writes every text to standard error, one message per line, and answers
// every question with no: nobody is there to click.
class CStdErrMessageSink : public IMessageSink
{
public:
    void Show(const QString& strText, MsgIcon icon) override;
    bool AskYesNo(const QString& strText, MsgIcon icon) override;
};
