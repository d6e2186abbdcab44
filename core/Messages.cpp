#include "core/Messages.h"

#include <cstdio>

namespace {
CStdErrMessageSink g_stdErrSink;
IMessageSink* g_pSink = &g_stdErrSink;
}

IMessageSink* SetMessageSink(IMessageSink* pSink)
{
    IMessageSink* pOld = g_pSink;
    g_pSink = pSink ? pSink : &g_stdErrSink;
    return pOld;
}

IMessageSink* GetMessageSink()
{
    return g_pSink;
}

void ReportError(const QString& strText, MsgIcon icon)
{
    g_pSink->Show(strText, icon);
}

void Inform(const QString& strText, MsgIcon icon)
{
    g_pSink->Show(strText, icon);
}

bool AskYesNoDefaultNo(const QString& strText, MsgIcon icon)
{
    return g_pSink->AskYesNoDefaultNo(strText, icon);
}

bool AskYesNo(const QString& strText, MsgIcon icon)
{
    return g_pSink->AskYesNo(strText, icon);
}

void CStdErrMessageSink::Show(const QString& strText, MsgIcon)
{
    const QByteArray text = strText.toLocal8Bit();
    std::fprintf(stderr, "%s\n", text.constData());
    std::fflush(stderr);
}

bool CStdErrMessageSink::AskYesNo(const QString& strText, MsgIcon icon)
{
    Show(strText, icon);
    return false;
}
