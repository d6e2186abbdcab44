#include "app/MainFrame.h"
#include "app/MessageBoxSink.h"
#include "core/RegSettings.h"
#include "device/ReadoutDlg.h"
#include "locations/LeftView.h"
#include "view/QardaView.h"
#include "xml/QardaDoc.h"
#include "../common/TestSupport.h"
#include "../common/SimProcess.h"
#include "../viewui/ViewUiTestData.h"
#include "view/ChooseValuesDlg.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QTimer>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>

class TestMainFrame : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void questionDefaults_data();
    void questionDefaults();

    void displayModes_data();
    void displayModes();
    void frameWithoutDataFiles();
    void readoutFillsTheTree();
    void monitorTrimmingKeepsASelectionInTheKeptHalf();
    void closeStoresThePortEscapeDoesNot();
    void portBoxTakesTypedNames_data();
    void portBoxTakesTypedNames();
    void serialDevicesIncludeStableNames();
    void continuousChart();

private:
    QString WriteFile(const QString& strName, const QByteArray& bytes);
    QTemporaryDir m_dir;
};

void TestMainFrame::initTestCase()
{
    QVERIFY(m_dir.isValid());
    UseTemporarySettings(m_dir);
}

void TestMainFrame::init()
{
    QSettings(QStringLiteral("KOLT GmbH"), QStringLiteral("Qarda")).clear();
}

QString TestMainFrame::WriteFile(const QString& strName, const QByteArray& bytes)
{
    const QString strPath = m_dir.filePath(strName);
    return WriteBytes(strPath, bytes) ? strPath : QString();
}

namespace {
const int kModeCommands[] = {ID_VALUES,      ID_VECTORS,    ID_VALUES_AND_VECTORS, ID_HARM_TABLE, ID_HARM_LOG,
                             ID_HARM_LINEAR, ID_ERR_VALUES, ID_ERR_VECTORS,        ID_ERR_BOTH};
}  // namespace

void TestMainFrame::displayModes_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QList<int>>("checked");
    QTest::addColumn<QList<int>>("enabled");
    // Own mode: checked and greyed; the group's other modes: enabled;
    // anything else: greyed. Values and vectors are one group.
    QTest::newRow("values table (0)") << 0 << QList<int>{ID_VALUES} << QList<int>{ID_VECTORS, ID_VALUES_AND_VECTORS};
    QTest::newRow("vectors (1)") << 1 << QList<int>{ID_VECTORS} << QList<int>{ID_VALUES, ID_VALUES_AND_VECTORS};
    QTest::newRow("both (8)") << 8 << QList<int>{ID_VALUES_AND_VECTORS} << QList<int>{ID_VALUES, ID_VECTORS};
    QTest::newRow("harmonics table (2)") << 2 << QList<int>{ID_HARM_TABLE} << QList<int>{ID_HARM_LOG, ID_HARM_LINEAR};
    QTest::newRow("harmonics linear (3)") << 3 << QList<int>{ID_HARM_LINEAR} << QList<int>{ID_HARM_TABLE, ID_HARM_LOG};
    QTest::newRow("error vectors (6)") << 6 << QList<int>{ID_ERR_VECTORS} << QList<int>{ID_ERR_VALUES, ID_ERR_BOTH};
    QTest::newRow("nothing shown (9)") << 9 << QList<int>{} << QList<int>{};
}

void TestMainFrame::displayModes()
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

// Both data files are missing: two reports, and the program goes on with
// the commands that need no data file; the mode commands follow the view.
void TestMainFrame::frameWithoutDataFiles()
{
    CRecordingSink sink;
    CQardaDoc doc(m_dir.filePath(QStringLiteral("none-main.xml")), m_dir.filePath(QStringLiteral("none-result.xml")));
    CMainFrame frame(&doc);
    QCOMPARE(sink.m_shown.size(), 2);
    for (int nId : {ID_NEW_LOCATION, ID_NEW_GROUP, ID_IMPORT, ID_BACKUP, ID_FORMAT_FILES})
        QVERIFY2(frame.GetAction(nId) && !frame.GetAction(nId)->isEnabled(), qPrintable(QString::number(nId)));
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

void TestMainFrame::readoutFillsTheTree()
{
    const QString strMain = WriteFile(QStringLiteral("Main.xml"), ReadBytes(QStringLiteral(QARDA_SOURCE_DIR "/resources/demo/Main.xml")));
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
    QVERIFY2(strMonitor.trimmed().endsWith(QStringLiteral("Ausgelesen: 15 Ergebnisse, davon 15 neu und 0 bereits gespeichert.")),
             qPrintable(strMonitor.right(400)));
    // The delete question was asked and answered no; no error was shown.
    QCOMPARE(sink.m_asked.size(), 1);
    QVERIFY2(sink.m_shown.isEmpty(), qPrintable(sink.m_shown.value(0).first));

    frame.GetLeftView()->RebuildTree();
    const CLocationTreeItem* pLocation = tree.FindLocationItem(QStringLiteral("HA-1001"));
    QVERIFY(pLocation && pLocation->HasChildren());
    QVERIFY(tree.FindUnassignedLocationItem(QStringLiteral("NEU-0815")));
}

void TestMainFrame::monitorTrimmingKeepsASelectionInTheKeptHalf()
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

void TestMainFrame::closeStoresThePortEscapeDoesNot()
{
    CRecordingSink sink;
    {
        CReadoutDlg dlg(nullptr);
        dlg.SelectPortPath(QStringLiteral("/dev/ttyUSB7"));
        dlg.SetTimeout(1234);
        QTest::keyClick(&dlg, Qt::Key_Escape);
    }
    const CRegSettings settings;
    QCOMPARE(settings.GetString(QStringLiteral("PX900PortPath")), QString());
    QCOMPARE(settings.GetDWORD(QStringLiteral("PX900Timeout"), 30000), 30000u);
    {
        CReadoutDlg dlg(nullptr);
        dlg.SelectPortPath(QStringLiteral("/dev/ttyUSB7"));
        dlg.SetTimeout(1234);
        dlg.accept();  // "Schließen"
    }
    QCOMPARE(settings.GetString(QStringLiteral("PX900PortPath")), QStringLiteral("/dev/ttyUSB7"));
    QCOMPARE(settings.GetDWORD(QStringLiteral("PX900Timeout"), 30000), 1234u);
    {
        // The next dialog shows what was stored.
        CReadoutDlg dlg(nullptr);
        QCOMPARE(dlg.GetPortPath(), QStringLiteral("/dev/ttyUSB7"));
        QCOMPARE(dlg.GetTimeout(), 1234);
    }
}

void TestMainFrame::portBoxTakesTypedNames_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("port");
    QTest::addColumn<QString>("path");
    QTest::newRow("COM name") << "COM3" << 3 << "";
    QTest::newRow("COM name, other case, blanks") << " com12 " << 12 << "";
    QTest::newRow("pseudo-terminal") << "/dev/pts/7" << 0 << "/dev/pts/7";
    QTest::newRow("stable name") << "/dev/serial/by-id/usb-FTDI_FT232R_A1-if00-port0" << 0
                                 << "/dev/serial/by-id/usb-FTDI_FT232R_A1-if00-port0";
    QTest::newRow("COM without number is a path") << "COM" << 0 << "COM";
    QTest::newRow("nothing") << "" << 0 << "";
}

void TestMainFrame::portBoxTakesTypedNames()
{
    QFETCH(QString, typed);
    CRecordingSink sink;
    CReadoutDlg dlg(nullptr);
    QComboBox* pPort = dlg.findChild<QComboBox*>();
    QVERIFY(pPort && pPort->isEditable());
    pPort->lineEdit()->clear();
    QTest::keyClicks(pPort->lineEdit(), typed);
    QTEST(dlg.GetPortIndex(), "port");
    QTEST(dlg.GetPortPath(), "path");
    // Typing adds no entry, so the list stays the machine's ports.
    const int nCount = pPort->count();
    QTest::keyClick(pPort->lineEdit(), Qt::Key_Return);
    QCOMPARE(pPort->count(), nCount);
}

void TestMainFrame::serialDevicesIncludeStableNames()
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

void TestMainFrame::continuousChart()
{
    using namespace ViewUiData;
    QString strSeries;
    for (int n = 1; n <= 50; ++n)
        strSeries += SeriesEntry(n, QStringLiteral("%1.00;V").arg(200 + n));
    const QString strResult = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Result-Data>\n")
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
    while (pSeries && (pSeries->GetData().m_nKind != ResultKind::ContinueValue || pSeries->GetData().m_bIsContainer))
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
    auto at = [&](int j) { return QPoint(static_cast<int>(f.X(j) + 0.5 * f.m_dXScale), static_cast<int>(f.m_dY0) - 20); };
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

// A question about deleting the device memory answers no to a hasty Return;
// other questions keep yes as their default.
void TestMainFrame::questionDefaults_data()
{
    QTest::addColumn<bool>("defaultNo");
    QTest::addColumn<bool>("answer");
    QTest::newRow("ordinary question") << false << true;
    QTest::newRow("delete the device memory") << true << false;
}

void TestMainFrame::questionDefaults()
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

QTEST_MAIN(TestMainFrame)
#include "tst_mainframe.moc"
