#include "app/CommandLine.h"
#include "app/Language.h"
#include "app/MainFrame.h"
#include "app/MessageBoxSink.h"
#include "core/RegSettings.h"
#include "xml/QardaDoc.h"

#include <QApplication>
#include <QCoreApplication>

#include <cstdio>

namespace {
QStringList Arguments(int argc, char** argv)
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args.append(QString::fromLocal8Bit(argv[i]));
    return args;
}

int RunReadout(const CCommandLine&)
{
    std::fputs("qarda: the unattended readout is not available in this build.\n", stderr);
    return 2;
}
} // namespace

int main(int argc, char** argv)
{
    const CCommandLine cl = CCommandLine::Parse(Arguments(argc, argv));
    if (cl.m_bHelp) {
        std::fputs(CCommandLine::Usage().toLocal8Bit().constData(), stdout);
        return 0;
    }
    if (cl.m_bVersion) {
        std::printf("qarda %s\n", QARDA_VERSION);
        return 0;
    }

    if (cl.m_bReadout) {
        // No window and no display: every message goes to standard error.
        QCoreApplication app(argc, argv);
        CRegSettings::SetOrganisation();
        LoadLanguageDLL();
        return RunReadout(cl);
    }

    QApplication app(argc, argv);
    CRegSettings::SetOrganisation();
    LoadLanguageDLL();
    CMessageBoxSink sink;
    SetMessageSink(&sink);
    CQardaDoc doc;
    CMainFrame frame(&doc);
    frame.show();
    const int nResult = app.exec();
    SetMessageSink(nullptr);
    return nResult;
}
