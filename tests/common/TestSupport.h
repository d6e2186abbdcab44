#pragma once

#include "core/Messages.h"

#include <QFile>
#include <QList>
#include <QPair>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QTemporaryDir>
#include <QtGlobal>

#include <clocale>

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

// Switches the C runtime to a German locale (comma as decimal separator).
// When none is installed, one is built from the locale sources into dir, if
// the tools are there; false when none can be had.
inline bool SetGermanLocale(const QTemporaryDir& dir)
{
    for (const char* psz : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "de_DE@euro"})
        if (std::setlocale(LC_ALL, psz))
            return true;
    const QString strLocaledef = QStandardPaths::findExecutable(QStringLiteral("localedef"));
    if (strLocaledef.isEmpty() || !dir.isValid())
        return false;
    QProcess::execute(strLocaledef,
                      {QStringLiteral("--no-archive"), QStringLiteral("-i"), QStringLiteral("de_DE"),
                       QStringLiteral("-f"), QStringLiteral("UTF-8"), dir.filePath(QStringLiteral("de_DE.UTF-8"))});
    qputenv("LOCPATH", dir.path().toLocal8Bit());
    return std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
}
