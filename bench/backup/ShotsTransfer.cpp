// Screenshots of a CSV import of 200 lines and of a restore in the real
// window: xvfb-run -s "-screen 0 1280x800x24" shots_transfer OUTDIR

#include "locations/LocationTestData.h"

#include "app/MainFrame.h"
#include "app/MessageBoxSink.h"
#include "core/RegSettings.h"
#include "locations/Backup.h"
#include "locations/BackupRestoreDlg.h"
#include "locations/ImportLocationsDlg.h"
#include "locations/LeftView.h"
#include "locations/LocationImport.h"
#include "xml/QardaDoc.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QTreeView>

#include <functional>

namespace {

QString g_strOut;
int g_nShot = 0;

void Shot(const char* pszName)
{
    QApplication::processEvents();
    const QString strFile = QStringLiteral("%1/%2-%3.png").arg(g_strOut).arg(++g_nShot).arg(QLatin1String(pszName));
    QGuiApplication::primaryScreen()->grabWindow(0).save(strFile);
    std::printf("%s\n", qPrintable(strFile));
}

// Runs the step once the next modal window is up.
void WhenModal(std::function<void(QWidget*)> step)
{
    QTimer::singleShot(400, [step] {
        if (QWidget* p = QApplication::activeModalWidget())
            step(p);
        else
            WhenModal(step);
    });
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    g_strOut = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QTemporaryDir dir;
    UseTemporarySettings(dir);
    CRegSettings::SetOrganisation();
    const QString strMain = dir.filePath(QStringLiteral("Main.xml")), strResult = dir.filePath(QStringLiteral("Result.xml"));
    WriteLocationTestFiles(strMain, strResult);
    const QString strBackups = dir.filePath(QStringLiteral("Sicherungen"));
    QDir().mkpath(strBackups);
    const CRegSettings settings;
    settings.Set(Setting::MainFile, strMain);
    settings.Set(Setting::ResultFile, strResult);
    settings.Set(Setting::BackupFolder, strBackups);
    CImportSettings import;
    import.m_nMode = 1;
    import.m_nSeparator = 1;
    import.m_order = {0, 4, 7, 5, 22};
    import.Store();
    QByteArray csv = "\xEF\xBB\xBF";
    for (int i = 1; i <= 200; ++i)
        csv += i == 7 ? QByteArray("Z7;kurz\r\n")
                      : "Z" + QByteArray::number(i) + ";\"M\xC3\xBCller; Sohn\";K\xC3\xB6ln;Hauptstra\xC3\x9F" "e "
                            + QByteArray::number(i) + ";KOLT\r\n";
    const QString strCsv = dir.filePath(QStringLiteral("Orte.csv"));
    WriteBytes(strCsv, csv);
    for (int i = 0; i < 2; ++i)
        CreateBackup(strBackups, strMain, strResult, QDateTime(QDate(2026, 12, 5), QTime(14, 3, 9 + i)));

    CMessageBoxSink sink;
    SetMessageSink(&sink);
    CQardaDoc doc(strMain, strResult);
    CMainFrame frame(&doc);
    frame.resize(1200, 760);
    frame.show();

    QTimer::singleShot(300, [&] {
        WhenModal([&](QWidget* pDlg) {
            auto* pImport = qobject_cast<CImportLocationsDlg*>(pDlg);
            pImport->m_pMain->setText(strCsv);
            Shot("import-dialog");
            pImport->accept();
            WhenModal([&](QWidget* pBox) {
                Shot("import-summary");
                qobject_cast<QDialog*>(pBox)->accept();
                QTimer::singleShot(300, [&] {
                    frame.GetLeftView()->expandAll();
                    Shot("import-tree");
                    WriteBytes(strMain, "<Main-Data><Main><General><ID>kaputt</ID></General></Main></Main-Data>");
                    WhenModal([&](QWidget* pDlg2) {
                        auto* pRestore = qobject_cast<CBackupRestoreDlg*>(pDlg2);
                        pRestore->m_pBackups->setCurrentIndex(0);
                        Shot("restore-dialog");
                        pRestore->accept();
                        WhenModal([&](QWidget* pBox2) {
                            Shot("restore-done");
                            qobject_cast<QDialog*>(pBox2)->accept();
                            QTimer::singleShot(300, [&] {
                                frame.GetLeftView()->expandAll();
                                Shot("restore-tree");
                                app.quit();
                            });
                        });
                    });
                    frame.GetAction(ID_RESTORE)->trigger();
                });
            });
        });
        frame.GetAction(ID_IMPORT)->trigger();
    });
    const int nResult = app.exec();
    SetMessageSink(nullptr);
    return nResult;
}
