#pragma once

#include "core/Messages.h"

#include <QFile>
#include <QList>
#include <QPair>
#include <QString>
#include <QTemporaryDir>
#include <QtGlobal>

// Whole-file reads and writes for checking bytes on disk; empty or false on
// any failure.
inline QByteArray ReadBytes(const QString& strPath)
{
    QFile f(strPath);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline bool WriteBytes(const QString& strPath, const QByteArray& bytes)
{
    QFile f(strPath);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

// Records what would have been shown to the user, answers questions with a
// preset answer, and restores the previous sink when it goes.
class CRecordingSink : public IMessageSink
{
public:
    CRecordingSink() { m_pPrevious = SetMessageSink(this); }
    ~CRecordingSink() override { SetMessageSink(m_pPrevious); }

    void Show(const QString& strText, MsgIcon icon) override { m_shown.append({strText, icon}); }
    bool AskYesNo(const QString& strText, MsgIcon icon) override
    {
        m_asked.append({strText, icon});
        return m_bAnswer;
    }

    QList<QPair<QString, MsgIcon>> m_shown;
    QList<QPair<QString, MsgIcon>> m_asked;
    bool m_bAnswer = false;

private:
    IMessageSink* m_pPrevious = nullptr;
};

// Points the settings at a fresh temporary folder. Must run before anything
// touches QSettings in the process.
inline QString UseTemporarySettings(QTemporaryDir& dir)
{
    qputenv("XDG_CONFIG_HOME", dir.path().toLocal8Bit());
    return dir.path() + QStringLiteral("/KOLT GmbH/Qarda.conf");
}
