// The main window: its commands, the readout dialog it opens, the
// continuous chart, the window's stored placement and the splash at start.

#include "../common/SimProcess.h"
#include "../common/TestSupport.h"
#include "../viewui/ViewUiTestData.h"
#include "app/AboutDlg.h"
#include "app/MainFrame.h"
#include "app/MessageBoxSink.h"
#include "app/WindowState.h"
#include "core/RegSettings.h"
#include "device/ReadoutDlg.h"
#include "locations/LeftView.h"
#include "view/ChooseValuesDlg.h"
#include "view/QardaView.h"
#include "xml/QardaDoc.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QLineEdit>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScreen>
#include <QSettings>
#include <QSignalSpy>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QTimer>
#include <QToolBar>

using IntList = QList<int>;

namespace {

QSettings Store()
{
    return QSettings(QStringLiteral("KOLT GmbH"), QStringLiteral("Qarda"));
}

// The geometry a window gets when nothing is stored.
const QRect kDefault(20, 30, 400, 300);

// A main window as the frame builds it: a named toolbar and a splitter of
// two columns in the middle.
struct PlainWindow
{
    PlainWindow()
    {
        m_pToolBar = m_wnd.addToolBar(QStringLiteral("Symbolleiste"));
        m_pToolBar->setObjectName(QStringLiteral("mainToolBar"));
        m_pToolBar->addAction(QStringLiteral("A"));
        m_pSplitter = new QSplitter(&m_wnd);
        m_pSplitter->addWidget(new QWidget);
        m_pSplitter->addWidget(new QWidget);
        m_wnd.setCentralWidget(m_pSplitter);
        m_state.SetSplitter(m_pSplitter);
    }
    // As the program starts: the stored state over the default geometry,
    // then shown.
    bool LoadAndShow()
    {
        m_wnd.setGeometry(kDefault);
        m_state.LoadWindowState(&m_wnd);
        m_state.ShowWindow(&m_wnd);
        return QTest::qWaitForWindowExposed(&m_wnd);
    }
    QMainWindow m_wnd;
    QToolBar* m_pToolBar;
    QSplitter* m_pSplitter;
    CWindowState m_state;
};

const int kModeCommands[] = {ID_VALUES,      ID_VECTORS,    ID_VALUES_AND_VECTORS, ID_HARM_TABLE, ID_HARM_LOG,
                             ID_HARM_LINEAR, ID_ERR_VALUES, ID_ERR_VECTORS,        ID_ERR_BOTH};

enum Placement { Kept, Exact, Centred };

}  // namespace

class TestMainFrame : public QObject
{
    Q_OBJECT
private:
    QString WriteFile(const QString& strName, const QByteArray& bytes)
    {
        const QString strPath = m_dir.filePath(strName);
        return WriteBytes(strPath, bytes) ? strPath : QString();
    }
    QTemporaryDir m_dir;

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        UseTemporarySettings(m_dir);
    }

    void init() { Store().clear(); }

    // A question about deleting the device memory answers no to a hasty Return;
    // other questions keep yes as their default.
    void questionDefaults_data()
    {
        QTest::addColumn<bool>("defaultNo");
        QTest::addColumn<bool>("answer");
        QTest::newRow("ordinary question") << false << true;
        QTest::newRow("delete the device memory") << true << false;
    }
    void questionDefaults()
    {
        QFETCH(bool, defaultNo);
        CMessageBoxSink sink;
        IMessageSink* pBefore = SetMessageSink(&sink);
        QTimer::singleShot(0, [] {
            QWidget* pBox = QApplication::activeModalWidget();
            QVERIFY(pBox);
            QTest::keyClick(pBox, Qt::Key_Return);
        });
        const QString strText = QStringLiteral("?");
        const bool bAnswer = defaultNo ? AskYesNoDefaultNo(strText) : AskYesNo(strText);
        SetMessageSink(pBefore);
        QTEST(bAnswer, "answer");
    }

    void displayModes_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QList<int>>("checked");
        QTest::addColumn<QList<int>>("enabled");
        // Own mode: checked and greyed; the group's other modes: enabled;
        // anything else: greyed. Values and vectors are one group.
        QTest::newRow("values table (0)")
            << 0 << QList<int>{ID_VALUES} << QList<int>{ID_VECTORS, ID_VALUES_AND_VECTORS};
        QTest::newRow("vectors (1)") << 1 << QList<int>{ID_VECTORS} << QList<int>{ID_VALUES, ID_VALUES_AND_VECTORS};
        QTest::newRow("both (8)") << 8 << QList<int>{ID_VALUES_AND_VECTORS} << QList<int>{ID_VALUES, ID_VECTORS};
        QTest::newRow("harmonics table (2)")
            << 2 << QList<int>{ID_HARM_TABLE} << QList<int>{ID_HARM_LOG, ID_HARM_LINEAR};
        QTest::newRow("harmonics linear (3)")
            << 3 << QList<int>{ID_HARM_LINEAR} << QList<int>{ID_HARM_TABLE, ID_HARM_LOG};
        QTest::newRow("error vectors (6)") << 6 << QList<int>{ID_ERR_VECTORS} << QList<int>{ID_ERR_VALUES, ID_ERR_BOTH};
        QTest::newRow("nothing shown (9)") << 9 << QList<int>{} << QList<int>{};
    }
    void displayModes()
    {
        QFETCH(int, mode);
        QFETCH(QList<int>, checked);
        QFETCH(QList<int>, enabled);
        for (int nId : kModeCommands) {
            const DisplayModeState s = GetDisplayModeState(nId, DisplayModeFromInt(mode).value());
            QCOMPARE(s.bChecked, checked.contains(nId));
            QCOMPARE(s.bEnabled, enabled.contains(nId));
        }
    }

    // A file that fails is reported, and the program goes on with the other
    // one and with the commands that need no data file; the mode commands
    // follow the view. Opened now or while the window is made, alike.
    void frameWithFailingFiles_data()
    {
        QTest::addColumn<bool>("background");
        QTest::addColumn<bool>("mainOk");
        QTest::addColumn<QByteArray>("result");  // empty: none
        QTest::addColumn<QStringList>("reported");
        const QStringList both{QStringLiteral("none-main.xml"), QStringLiteral("none-result.xml")};
        QTest::newRow("both missing") << false << false << QByteArray() << both;
        QTest::newRow("both missing, in the background") << true << false << QByteArray() << both;
        QTest::newRow("result damaged, in the background")
            << true << true << QByteArray("<Result-Data>\n<Result>") << QStringList{QStringLiteral("result.xml")};
        QTest::newRow("both fine, in the background")
            << true << true << QByteArray("<Result-Data>\n<Result><ID>HA-1001</ID><Date>01.02.2023</Date>"
                                          "<Time>10:00:00</Time><Function>U-Burden</Function></Result>\n"
                                          "</Result-Data>")
            << QStringList();
    }
    void frameWithFailingFiles()
    {
        QFETCH(bool, background);
        QFETCH(bool, mainOk);
        QFETCH(QByteArray, result);
        QFETCH(QStringList, reported);
        const QString strMain = mainOk ? WriteFile(QStringLiteral("ok-main.xml"),
                                                   ReadBytes(QStringLiteral(QARDA_SOURCE_DIR "/resources/demo/Main.xml")))
                                       : m_dir.filePath(QStringLiteral("none-main.xml"));
        const QString strResult = result.isEmpty() ? m_dir.filePath(QStringLiteral("none-result.xml"))
                                                   : WriteFile(QStringLiteral("result.xml"), result);
        CRecordingSink sink;
        CQardaDoc doc(strMain, strResult, background ? CQardaDoc::Opening::InBackground : CQardaDoc::Opening::Now);
        // As the program starts: the window is made once the files are read.
        doc.WaitUntilRead();
        CMainFrame frame(&doc);
        // In the order the files are named, each once, after the window was made.
        QCOMPARE(sink.m_shown.size(), reported.size());
        for (qsizetype i = 0; i < reported.size(); ++i)
            QVERIFY2(sink.m_shown[i].first.contains(reported[i]), qPrintable(sink.m_shown[i].first));
        QCOMPARE(doc.m_xmlMain.IsValid(), mainOk);
        QCOMPARE(doc.m_xmlResult.IsValid(), reported.isEmpty());
        const CLocationTreeItem* pLocation = frame.GetLeftView()->GetTree().FindLocationItem(QStringLiteral("HA-1001"));
        QCOMPARE(pLocation != nullptr, mainOk);
        QCOMPARE(pLocation && pLocation->HasChildren(), reported.isEmpty());
        for (int nId : {ID_NEW_LOCATION, ID_NEW_GROUP, ID_IMPORT, ID_BACKUP, ID_FORMAT_FILES})
            QVERIFY2(frame.GetAction(nId) && frame.GetAction(nId)->isEnabled() == mainOk,
                     qPrintable(QString::number(nId)));
        for (int nId : {ID_RESTORE, ID_READOUT, ID_SETTINGS, ID_APP_ABOUT, ID_APP_EXIT})
            QVERIFY2(frame.GetAction(nId) && frame.GetAction(nId)->isEnabled(), qPrintable(QString::number(nId)));
        for (const DisplayMode nMode : {DisplayMode::None, DisplayMode::ValueTable}) {
            if (nMode != DisplayMode::None)
                frame.GetResultView()->SetValueMode(nMode);
            frame.UpdateCommandUI();
            for (int nId : kModeCommands) {
                QVERIFY(frame.GetAction(nId));
                QCOMPARE(frame.GetAction(nId)->isChecked(), GetDisplayModeState(nId, nMode).bChecked);
                QCOMPARE(frame.GetAction(nId)->isEnabled(), GetDisplayModeState(nId, nMode).bEnabled);
            }
        }
        QVERIFY(frame.GetAction(ID_VECTORS)->isEnabled());
    }

    void readoutFillsTheTree()
    {
        const QString strMain = WriteFile(QStringLiteral("Main.xml"),
                                          ReadBytes(QStringLiteral(QARDA_SOURCE_DIR "/resources/demo/Main.xml")));
        const QString strResult = WriteFile(QStringLiteral("Result.xml"), "<Result-Data>\n</Result-Data>");
        QVERIFY(!strMain.isEmpty() && !strResult.isEmpty());
        CRecordingSink sink;
        sink.m_bAnswer = false;  // keep the results in the device
        CQardaDoc doc(strMain, strResult);
        CMainFrame frame(&doc);
        CLocationTree& tree = frame.GetLeftView()->GetTree();
        QVERIFY(tree.FindLocationItem(QStringLiteral("HA-1001")));
        QVERIFY(!tree.FindLocationItem(QStringLiteral("HA-1001"))->HasChildren());

        CSimProcess sim;
        const QString strPort = sim.Start({QStringLiteral("--demo")});
        QVERIFY(!strPort.isEmpty());
        CReadoutDlg dlg(&doc.m_xmlResult, &frame);
        // The port is typed, as for a device the list does not know.
        QComboBox* pPort = dlg.findChild<QComboBox*>();
        QVERIFY(pPort && pPort->isEditable());
        pPort->lineEdit()->clear();
        QTest::keyClicks(pPort->lineEdit(), strPort);
        dlg.SetTimeout(3000);
        QSignalSpy finished(&dlg, &CReadoutDlg::WorkFinished);
        dlg.StartReadout();
        QVERIFY(dlg.IsRunning());
        QVERIFY(finished.wait(60000));
        QVERIFY2(!dlg.IsRunning(), "still running");
        QVERIFY(dlg.HasAdded());
        // The monitor followed the exchange.
        const QString strMonitor = dlg.GetMonitor()->toPlainText();
        QVERIFY(strMonitor.contains(QStringLiteral(" Out: ARC")));
        QVERIFY(strMonitor.contains(QStringLiteral("AGRACK")));
        QVERIFY2(strMonitor.trimmed().endsWith(
                     QStringLiteral("Ausgelesen: 15 Ergebnisse, davon 15 neu und 0 bereits gespeichert.")),
                 qPrintable(strMonitor.right(400)));
        // The delete question was asked and answered no; no error was shown.
        QCOMPARE(sink.m_asked.size(), 1);
        QVERIFY2(sink.m_shown.isEmpty(), qPrintable(sink.m_shown.value(0).first));

        frame.GetLeftView()->RebuildTree();
        const CLocationTreeItem* pLocation = tree.FindLocationItem(QStringLiteral("HA-1001"));
        QVERIFY(pLocation && pLocation->HasChildren());
        QVERIFY(tree.FindUnassignedLocationItem(QStringLiteral("NEU-0815")));
    }

    void monitorTrimmingKeepsASelectionInTheKeptHalf()
    {
        CRecordingSink sink;
        CReadoutDlg dlg(nullptr);
        dlg.SetMonitorLimit(1000);
        const QString strLine = QStringLiteral("COM1 In: 0123456789012345678901234567890123456789\n");  // 50 chars
        for (int i = 0; i < 19; ++i)
            dlg.AppendMonitorText(strLine);
        QPlainTextEdit* pMonitor = dlg.GetMonitor();
        // The user selects text in line 15 (in the half that stays).
        QTextCursor sel(pMonitor->document());
        sel.setPosition(15 * 50 + 3);
        sel.setPosition(15 * 50 + 8, QTextCursor::KeepAnchor);
        pMonitor->setTextCursor(sel);
        const QString strSelected = pMonitor->textCursor().selectedText();
        dlg.AppendMonitorText(strLine);
        dlg.AppendMonitorText(strLine);  // 1050 chars: the next append trims
        QCOMPARE(pMonitor->toPlainText().size(), 1050);
        dlg.AppendMonitorText(QStringLiteral("LAST\n"));
        const QString strText = pMonitor->toPlainText();
        QVERIFY(strText.size() < 600);
        QVERIFY(strText.endsWith(QStringLiteral("LAST\n")));
        QVERIFY(strText.startsWith(QStringLiteral("COM1 In: ")));  // cut at a line start
        QCOMPARE(pMonitor->textCursor().selectedText(), strSelected);
        QVERIFY(pMonitor->textCursor().hasSelection());

        // A selection in the half that goes, goes with it: the caret follows the end again.
        sel.setPosition(60);
        sel.setPosition(70, QTextCursor::KeepAnchor);
        pMonitor->setTextCursor(sel);
        for (int i = 0; i < 21; ++i)
            dlg.AppendMonitorText(strLine);
        QVERIFY(!pMonitor->textCursor().hasSelection());
        QCOMPARE(pMonitor->textCursor().position(), pMonitor->document()->characterCount() - 1);
    }

    void readoutPort_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("close");  // "Schließen", else Escape
        QTest::addColumn<int>("port");
        QTest::addColumn<QString>("path");
        QTest::newRow("COM name, Escape") << "COM3" << false << 3 << "";
        QTest::newRow("COM name, other case, blanks") << " com12 " << true << 12 << "";
        QTest::newRow("pseudo-terminal") << "/dev/pts/7" << true << 0 << "/dev/pts/7";
        QTest::newRow("stable name, Escape") << "/dev/serial/by-id/usb-FTDI_FT232R_A1-if00-port0" << false << 0
                                             << "/dev/serial/by-id/usb-FTDI_FT232R_A1-if00-port0";
        QTest::newRow("COM without number is a path") << "COM" << true << 0 << "COM";
        QTest::newRow("nothing") << "" << true << 0 << "";
    }
    void readoutPort()
    {
        QFETCH(QString, typed);
        QFETCH(bool, close);
        QFETCH(int, port);
        QFETCH(QString, path);
        CRecordingSink sink;
        {
            CReadoutDlg dlg(nullptr);
            QComboBox* pPort = dlg.findChild<QComboBox*>();
            QVERIFY(pPort && pPort->isEditable());
            pPort->lineEdit()->clear();
            QTest::keyClicks(pPort->lineEdit(), typed);
            QCOMPARE(dlg.GetPortIndex(), port);
            QCOMPARE(dlg.GetPortPath(), path);
            // Typing adds no entry, so the list stays the machine's ports.
            const int nCount = pPort->count();
            QTest::keyClick(pPort->lineEdit(), Qt::Key_Return);
            QCOMPARE(pPort->count(), nCount);
            dlg.SetTimeout(1234);
            if (close)
                dlg.accept();
            else
                QTest::keyClick(&dlg, Qt::Key_Escape);
        }
        // "Schließen" keeps the port and the time-out for next time, Escape
        // nothing; the next dialog shows a stored path.
        const CRegSettings settings;
        QCOMPARE(settings.GetString(QStringLiteral("PX900PortPath")), close ? path : QString());
        QCOMPARE(settings.GetDWORD(QStringLiteral("PX900Port")), close && path.isEmpty() ? quint32(port) : 0u);
        QCOMPARE(settings.GetDWORD(QStringLiteral("PX900Timeout"), 30000), close ? 1234u : 30000u);
        if (close && !path.isEmpty()) {
            CReadoutDlg next(nullptr);
            QCOMPARE(next.GetPortPath(), path);
            QCOMPARE(next.GetTimeout(), 1234);
        }
    }

    void serialDevicesIncludeStableNames()
    {
        QTemporaryDir dev;
        QVERIFY(dev.isValid());
        QVERIFY(QDir(dev.path()).mkpath(QStringLiteral("serial/by-id")));
        QVERIFY(WriteBytes(dev.filePath(QStringLiteral("ttyUSB0")), ""));
        QVERIFY(WriteBytes(dev.filePath(QStringLiteral("ttyS0")), ""));
        QVERIFY(QFile::link(QStringLiteral("../../ttyUSB0"),
                            dev.filePath(QStringLiteral("serial/by-id/usb-FTDI_FT232R_A1-if00-port0"))));
        const auto devices = CReadoutDlg::FindSerialDevices(dev.path());
        QCOMPARE(devices.size(), 2);
        QCOMPARE(devices[0].first, dev.filePath(QStringLiteral("ttyUSB0")));
        QCOMPARE(devices[1].first, dev.filePath(QStringLiteral("serial/by-id/usb-FTDI_FT232R_A1-if00-port0")));
        QCOMPARE(devices[1].second, QStringLiteral("ttyUSB0"));
    }

    void continuousChart()
    {
        using namespace ViewUiData;
        QString strSeries;
        for (int n = 1; n <= 50; ++n)
            strSeries += SeriesEntry(n, QStringLiteral("%1.00;V").arg(200 + n));
        const QString strResult =
            QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Result-Data>\n")
            + Result(Common(QStringLiteral("Continue-Value-Measurement"), kSeriesDate, kSeriesTime) + strSeries)
            + QStringLiteral("</Result-Data>\n");
        CQardaDoc doc(WriteFile(QStringLiteral("cv-main.xml"), MainFile().toUtf8()),
                      WriteFile(QStringLiteral("cv-result.xml"), strResult.toUtf8()));
        CMainFrame frame(&doc);
        frame.resize(1200, 800);
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        CLocationTree& tree = frame.GetLeftView()->GetTree();
        CLocationTreeItem* pSeries = tree.GetFirstItem();
        while (pSeries
               && (pSeries->GetData().m_nKind != ResultKind::ContinueValue || pSeries->GetData().m_bIsContainer))
            pSeries = tree.NextItem(pSeries);
        QVERIFY(pSeries);
        QCOMPARE(frame.GetAction(ID_ZOOM_IN)->isEnabled(), false);
        tree.SelectItem(pSeries);
        QCoreApplication::processEvents();
        CQardaView* pView = frame.GetResultView();
        QWidget* pCanvas = pView->widget();
        pCanvas->repaint();
        QCOMPARE(pView->GetKind(), ResultKind::ContinueValue);
        QCOMPARE(pView->GetCache().m_series.size(), 50);
        QVERIFY(frame.GetAction(ID_ZOOM_IN)->isEnabled() && !frame.GetAction(ID_ZOOM_OUT)->isEnabled());

        // A band dragged from right to left, sample 30 to sample 10, shows 10 ... 30.
        frame.GetAction(ID_ZOOM_IN)->trigger();
        QVERIFY(pView->IsZoomMode() && frame.GetAction(ID_ZOOM_IN)->isChecked());
        const CChartFrame& f = pView->GetChart().Frame();
        auto at = [&](int j) {
            return QPoint(static_cast<int>(f.X(j) + 0.5 * f.m_dXScale), static_cast<int>(f.m_dY0) - 20);
        };
        QTest::mousePress(pCanvas, Qt::LeftButton, {}, at(30));
        QTest::mouseMove(pCanvas, at(20));
        QTest::mouseRelease(pCanvas, Qt::LeftButton, {}, at(10));
        QCOMPARE(pView->GetChart().m_choice.m_nFirst, 10);
        QCOMPARE(pView->GetChart().m_choice.m_nLast, 30);
        QVERIFY(frame.GetAction(ID_ZOOM_OUT)->isEnabled());
        frame.GetAction(ID_ZOOM_OUT)->trigger();
        QCOMPARE(pView->GetChart().m_choice.m_nFirst, 0);
        QCOMPARE(pView->GetChart().m_choice.m_nLast, 49);
        QVERIFY(!frame.GetAction(ID_ZOOM_OUT)->isEnabled());

        // The dialog: a single quantity greys the phases; I in L2 alone is series 13.
        QTimer::singleShot(0, [] {
            auto* pDlg = qobject_cast<CChooseValuesDlg*>(QApplication::activeModalWidget());
            QVERIFY(pDlg);
            pDlg->GetQuantityBox()->setCurrentIndex(21);
            QVERIFY(!pDlg->GetPhaseBox(0)->isEnabled());
            pDlg->GetQuantityBox()->setCurrentIndex(4);
            QVERIFY(pDlg->GetPhaseBox(0)->isEnabled());
            pDlg->GetPhaseBox(0)->setChecked(false);
            pDlg->GetPhaseBox(2)->setChecked(false);
            pDlg->accept();
        });
        frame.GetAction(ID_CHOOSE_VALUES)->trigger();
        QCOMPARE(pView->GetChart().m_choice.m_series, QList<int>{13});
        QCOMPARE(pView->GetChart().m_choice.m_labels, QStringList{QStringLiteral("I2")});

        // Show value turns zoom off; a click at sample 7 selects the eighth sample item.
        frame.GetAction(ID_SHOW_VALUE)->trigger();
        QVERIFY(pView->IsShowValueMode() && !pView->IsZoomMode());
        pCanvas->repaint();
        QTest::mouseClick(pCanvas, Qt::LeftButton, {}, at(7));
        QVERIFY(tree.GetSelectedItem() && tree.GetSelectedItem()->GetData().m_nKind == ResultKind::Sample);
        QCOMPARE(tree.GetSelectedItem(), pSeries->GetChild(7));
        QCOMPARE(pView->GetKind(), ResultKind::Value);
        QCOMPARE(pView->GetCache().m_strValues[kQtyUPN][0], QStringLiteral("208.00;V"));
    }

    // --- the window's placement ----------------------------------------------

    void roundTrip_data()
    {
        QTest::addColumn<int>("state");  // Qt::WindowStates of the saved window
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<int>("column0");
        QTest::addColumn<bool>("toolBarVisible");
        QTest::addColumn<int>("toolBarArea");
        // ShowCmd, Flags and the restored rectangle (left, top, right, bottom),
        // which is kept also while maximised or minimised.
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("loaded");
        const int top = Qt::TopToolBarArea, normal = CWindowState::kShowNormal,
                  maximized = CWindowState::kShowMaximized;
        QTest::newRow("narrow tree, toolbar hidden")
            << int(Qt::WindowNoState) << QRect(10, 10, 640, 480) << 60 << false << top << "1 0 10,10,650,490" << normal;
        QTest::newRow("wide tree, toolbar left") << int(Qt::WindowNoState) << QRect(200, 150, 560, 420) << 400 << true
                                                 << int(Qt::LeftToolBarArea) << "1 0 200,150,760,570" << normal;
        QTest::newRow("maximised") << int(Qt::WindowMaximized) << QRect(50, 60, 300, 200) << 100 << true << top
                                   << "3 0 50,60,350,260" << maximized;
        // A window must not open minimised, out of the user's sight.
        QTest::newRow("minimised") << int(Qt::WindowMinimized) << QRect(50, 60, 300, 200) << 100 << true << top
                                   << "2 0 50,60,350,260" << normal;
        QTest::newRow("minimised from maximised")
            << int(Qt::WindowMinimized | Qt::WindowMaximized) << QRect(50, 60, 300, 200) << 100 << true << top
            << "2 2 50,60,350,260" << maximized;
    }
    void roundTrip()
    {
        QFETCH(int, state);
        QFETCH(QRect, geometry);
        QFETCH(int, column0);
        QFETCH(bool, toolBarVisible);
        QFETCH(int, toolBarArea);
        QFETCH(int, loaded);

        IntList savedSizes;
        {
            PlainWindow f;
            f.m_wnd.setGeometry(geometry);
            if (toolBarArea != Qt::TopToolBarArea)
                f.m_wnd.addToolBar(Qt::ToolBarArea(toolBarArea), f.m_pToolBar);
            f.m_pToolBar->setVisible(toolBarVisible);
            f.m_wnd.show();
            QVERIFY(QTest::qWaitForWindowExposed(&f.m_wnd));
            const int nTotal = f.m_pSplitter->sizes().at(0) + f.m_pSplitter->sizes().at(1);
            f.m_pSplitter->setSizes({column0, nTotal - column0});
            savedSizes = f.m_pSplitter->sizes();
            QCOMPARE(savedSizes.at(0), column0);
            f.m_wnd.setWindowState(Qt::WindowStates(state));
            QCOMPARE(int(f.m_wnd.windowState()), state);
            f.m_state.SaveWindowState(&f.m_wnd);
        }
        QSettings s = Store();
        QTEST(QStringList({s.value(QStringLiteral("Position/ShowCmd")).toString(),
                           s.value(QStringLiteral("Position/Flags")).toString(),
                           s.value(QStringLiteral("Position/Normal")).toString()})
                  .join(u' '),
              "stored");
        QCOMPARE(s.value(QStringLiteral("Position/Minimized")).toString(), QStringLiteral("-1,-1"));
        QCOMPARE(s.value(QStringLiteral("Position/Maximized")).toString(), QStringLiteral("-1,-1"));

        PlainWindow g;
        QVERIFY(g.LoadAndShow());
        QCOMPARE(g.m_state.GetShowCmd(), loaded);
        QCOMPARE(g.m_wnd.isMaximized(), loaded == CWindowState::kShowMaximized);
        QVERIFY(!g.m_wnd.isMinimized());
        QCOMPARE(g.m_wnd.normalGeometry(), geometry);
        if (state == Qt::WindowNoState)
            QCOMPARE(g.m_pSplitter->sizes(), savedSizes);
        QCOMPARE(g.m_pToolBar->isVisible(), toolBarVisible);
        QCOMPARE(int(g.m_wnd.toolBarArea(g.m_pToolBar)), toolBarArea);
    }

    void storedValues_data()
    {
        QTest::addColumn<QString>("showCmd");  // empty: missing
        QTest::addColumn<QString>("normal");
        QTest::addColumn<QString>("toolbars");  // empty: missing
        QTest::addColumn<int>("placement");
        QTest::addColumn<QRect>("expected");  // Exact: the geometry; Centred: the size, empty for the whole area

        const QString strOne = QStringLiteral("1");
        QTest::newRow("nothing stored") << QString() << QString() << QString() << int(Kept) << QRect();
        QTest::newRow("on screen") << strOne << QStringLiteral("100,100,400,300") << QString() << int(Exact)
                                   << QRect(100, 100, 300, 200);
        QTest::newRow("spaces around numbers")
            << strOne << QStringLiteral(" 10, 20 ,310,220") << QString() << int(Exact) << QRect(10, 20, 300, 200);
        // An INI file edited by hand without quotes holds a list.
        QTest::newRow("stored as a list")
            << strOne << QStringLiteral("list:100,100,400,300") << QString() << int(Exact) << QRect(100, 100, 300, 200);
        QTest::newRow("right of every screen")
            << strOne << QStringLiteral("5000,100,5300,300") << QString() << int(Centred) << QRect(0, 0, 300, 200);
        QTest::newRow("only an edge on screen")
            << strOne << QStringLiteral("-295,100,5,300") << QString() << int(Centred) << QRect(0, 0, 300, 200);
        QTest::newRow("off screen and larger than it")
            << strOne << QStringLiteral("9000,9000,19000,19000") << QString() << int(Centred) << QRect();
        QTest::newRow("letters") << strOne << QStringLiteral("a,b,c,d") << QString() << int(Kept) << QRect();
        QTest::newRow("five numbers") << strOne << QStringLiteral("1,2,3,4,5") << QString() << int(Kept) << QRect();
        QTest::newRow("right before left")
            << strOne << QStringLiteral("500,100,100,300") << QString() << int(Kept) << QRect();
        QTest::newRow("show command missing")
            << QString() << QStringLiteral("100,100,400,300") << QString() << int(Kept) << QRect();
        QTest::newRow("toolbar state garbage")
            << strOne << QStringLiteral("100,100,400,300") << QStringLiteral("!!not base64") << int(Exact)
            << QRect(100, 100, 300, 200);
    }
    void storedValues()
    {
        QFETCH(QString, showCmd);
        QFETCH(QString, normal);
        QFETCH(QString, toolbars);
        QFETCH(int, placement);
        QFETCH(QRect, expected);
        {
            QSettings s = Store();
            if (!showCmd.isEmpty())
                s.setValue(QStringLiteral("Position/ShowCmd"), showCmd);
            if (normal.startsWith(QLatin1String("list:")))
                s.setValue(QStringLiteral("Position/Normal"), normal.mid(5).split(u','));
            else if (!normal.isEmpty())
                s.setValue(QStringLiteral("Position/Normal"), normal);
            if (!toolbars.isEmpty())
                s.setValue(QStringLiteral("Toolbars/State"), toolbars);
        }
        PlainWindow f;
        const QStringList keys = Store().allKeys();
        QVERIFY(f.LoadAndShow());
        // Loading writes nothing.
        QCOMPARE(Store().allKeys(), keys);

        const QRect geometry = f.m_wnd.geometry();
        switch (placement) {
        case Kept:
            QCOMPARE(geometry, kDefault);
            break;
        case Exact:
            QCOMPARE(geometry, expected);
            break;
        case Centred: {
            // Brought back: on the primary screen, centred, shrunk to fit.
            const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
            if (expected.isEmpty()) {
                QVERIFY(geometry.width() < area.width() && geometry.height() < area.height());
                QVERIFY(geometry.width() >= area.width() / 2 && geometry.height() >= area.height() / 2);
            } else {
                QCOMPARE(geometry.size(), expected.size());
            }
            const QRect frame = f.m_wnd.frameGeometry();
            QVERIFY(area.contains(frame));
            QVERIFY(qAbs(geometry.center().x() - area.center().x()) <= 1);
            QVERIFY(qAbs(geometry.center().y() - area.center().y()) <= 1);
            break;
        }
        }
        QVERIFY(f.m_pToolBar->isVisible());
    }

    // Stored widths below the minimum, applied to a window on screen. Texts that
    // are no two numbers go through the reading storedValues checks.
    void splitterMinimum_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::newRow("zero width") << QStringLiteral("0,500");
        QTest::newRow("both tiny") << QStringLiteral("1,0");
        QTest::newRow("first wider than the window") << QStringLiteral("5000,10");
    }
    void splitterMinimum()
    {
        QFETCH(QString, stored);
        Store().setValue(QStringLiteral("Position/Splitter"), stored);
        PlainWindow f;
        QVERIFY(f.LoadAndShow());
        const int nTotal = f.m_pSplitter->sizes().at(0) + f.m_pSplitter->sizes().at(1);
        f.m_pSplitter->setSizes({nTotal / 4, nTotal - nTotal / 4});
        const IntList before = f.m_pSplitter->sizes();
        f.m_state.LoadWindowState(&f.m_wnd);
        const IntList after = f.m_pSplitter->sizes();
        // No column collapses: each keeps at least the minimum width.
        QVERIFY2(after.at(0) >= 50 && after.at(1) >= 50,
                 qPrintable(QStringLiteral("%1,%2").arg(after.at(0)).arg(after.at(1))));
        QVERIFY(after != before);
    }

    // --- the splash ----------------------------------------------------------

    void splashCloses_data()
    {
        QTest::addColumn<QString>("target");  // object name of the child, empty: the box itself
        QTest::addColumn<int>("key");         // 0: a mouse button instead
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<int>("button");  // 0 with key 0: no input, the timer closes it
        QTest::newRow("by itself") << QString() << 0 << 0 << 0;
        QTest::newRow("key") << QString() << int(Qt::Key_A) << 0 << 0;
        QTest::newRow("system key") << QString() << int(Qt::Key_F4) << int(Qt::AltModifier) << 0;
        QTest::newRow("left button on a label") << QStringLiteral("purpose") << 0 << 0 << int(Qt::LeftButton);
        QTest::newRow("right button on OK") << QStringLiteral("ok") << 0 << 0 << int(Qt::RightButton);
    }
    void splashCloses()
    {
        QFETCH(QString, target);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(int, button);

        QPointer<CAboutDlg> pSplash = CAboutDlg::ShowSplash();
        QVERIFY(QTest::qWaitForWindowExposed(pSplash));
        QVERIFY(!pSplash->isModal());
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY(qAbs(pSplash->frameGeometry().center().x() - area.center().x()) <= 1);
        auto* pTimer = pSplash->findChild<QTimer*>(QStringLiteral("splashTimer"));
        QVERIFY(pTimer && pTimer->isActive());
        if (key || button) {
            // Only the input may close it here.
            pTimer->stop();
            QWidget* pTarget = pSplash;
            if (target == QLatin1String("ok"))
                pTarget = pSplash->findChild<QDialogButtonBox*>()->buttons().constFirst();
            else if (!target.isEmpty())
                pTarget = pSplash->findChild<QWidget*>(target);
            QVERIFY(pTarget);
            if (key)
                QTest::keyPress(pTarget, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
            else
                QTest::mousePress(pTarget, Qt::MouseButton(button));
            QVERIFY(pSplash.isNull() || !pSplash->isVisible());
        }
        QTRY_VERIFY_WITH_TIMEOUT(pSplash.isNull(), 20000);
    }
};

QTEST_MAIN(TestMainFrame)
#include "tst_mainframe.moc"
