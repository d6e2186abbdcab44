#include "app/AboutDlg.h"
#include "app/CommandLine.h"
#include "app/CommandLineExport.h"
#include "app/DataFiles.h"
#include "app/Language.h"
#include "app/MainFrame.h"
#include "app/MessageBoxSink.h"
#include "app/WindowState.h"
#include "core/Messages.h"
#include "core/RegSettings.h"
#include "resources/StringTable.h"
#include "device/UnattendedReadout.h"
#include "xml/QardaDoc.h"

#include <QApplication>
#include <QCoreApplication>

#include <algorithm>
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

    if (!cl.m_strMissingValue.isEmpty()) {
        QCoreApplication app(argc, argv);
        LoadLanguageDLL();
        ReportError(LoadString(IDS_CLI_MISSING_VALUE).arg(cl.m_strMissingValue), MsgIcon::Stop);
        return 2;
    }

    if (!cl.m_strExportCsv.isEmpty() && cl.m_strExportPdf.isEmpty()) {
        // A CSV export needs neither a display nor the GUI library's set-up.
        QCoreApplication app(argc, argv);
        CRegSettings::SetOrganisation();
        LoadLanguageDLL();
        return RunCsvExport(cl);
    }
    if (!cl.m_strExportPdf.isEmpty()) {
        // Drawing a page needs a GUI application, never a screen: unless the
        // caller chose a platform, the offscreen one serves.
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication app(argc, argv);
        CRegSettings::SetOrganisation();
        LoadLanguageDLL();
        const int nCsv = cl.m_strExportCsv.isEmpty() ? 0 : RunCsvExport(cl);
        return std::max(nCsv, RunPdfExport(cl));
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
        // The document opens both data files on a second thread, and the
        // window is made while the result file is parsed; a file that fails
        // is reported and the program starts without it.
        const CRegSettings settings;
        CQardaDoc doc(settings.Get(Setting::MainFile), settings.Get(Setting::ResultFile),
                      CQardaDoc::Opening::InBackground);
        doc.WaitUntilRead();
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
