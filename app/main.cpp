#include "app/AboutDlg.h"
#include "app/CommandLine.h"
#include "app/DataFiles.h"
#include "app/Language.h"
#include "app/MainFrame.h"
#include "app/MessageBoxSink.h"
#include "app/WindowState.h"
#include "core/RegSettings.h"
#include "resources/StringTable.h"
#include "device/UnattendedReadout.h"
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

int RunReadout(const CCommandLine& cl)
{
    UnattendedReadoutArgs args;
    args.m_bHasPort = cl.m_bHasPort;
    args.m_nPort = cl.m_nPort;
    args.m_strPortPath = cl.m_strPortPath;
    args.m_bHasTimeout = cl.m_bHasTimeout;
    args.m_nTimeout = cl.m_nTimeout;
    args.m_bDelete = cl.m_bDelete;
    return RunUnattendedReadout(args);
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
        EnsureDefaultDataFiles(DataFileUse::Readout);
        return RunReadout(cl);
    }

    QApplication app(argc, argv);
    CRegSettings::SetOrganisation();
    LoadLanguageDLL();
    EnsureDefaultDataFiles();
    CMessageBoxSink sink;
    SetMessageSink(&sink);
    int nResult = 0;
    {
        // The document opens both data files; a file that fails is reported
        // and the program starts without it.
        const CRegSettings settings;
        CQardaDoc doc(settings.Get(Setting::MainFile), settings.Get(Setting::ResultFile));
        CMainFrame frame(&doc);
        CAboutDlg::ShowSplash(&frame);
        GetWindowState().LoadWindowState(&frame);
        GetWindowState().ShowWindow(&frame);
        frame.setWindowTitle(LoadString(IDS_APP_TITLE));
        nResult = app.exec();
    }
    SetMessageSink(nullptr);
    return nResult;
}
