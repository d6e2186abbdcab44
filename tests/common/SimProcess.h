#pragma once

#include <QCoreApplication>
#include <QProcess>
#include <QStringList>

// The virtual PX900 (px900-sim) beside the tests: started with options, it
// serves a pseudo-terminal whose path it prints first.
class CSimProcess
{
public:
    ~CSimProcess() { Stop(); }

    static QString ProgramPath(const char* pszName)
    {
        // The test programs live in bin/tests, the tools in bin.
        return QCoreApplication::applicationDirPath() + QStringLiteral("/../") + QLatin1String(pszName);
    }

    // The terminal's path, empty when the simulator did not come up. Its log
    // goes nowhere.
    QString Start(const QStringList& args)
    {
        Stop();
        m_process.setStandardErrorFile(QProcess::nullDevice());
        m_process.start(ProgramPath("px900-sim"), args);
        if (!m_process.waitForStarted(5000))
            return {};
        while (!m_process.canReadLine()) {
            if (!m_process.waitForReadyRead(5000))
                return {};
        }
        return QString::fromLocal8Bit(m_process.readLine()).trimmed();
    }

    // The exit code after a stop signal; -1 when it did not end by itself.
    int Stop()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.terminate();
            if (!m_process.waitForFinished(5000)) {
                m_process.kill();
                m_process.waitForFinished(5000);
                return -1;
            }
        }
        return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
    }

private:
    QProcess m_process;
};
