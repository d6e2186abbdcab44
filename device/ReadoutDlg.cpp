#include "device/ReadoutDlg.h"

#include "core/Messages.h"
#include "core/RegSettings.h"
#include "core/TextCodec.h"
#include "device/PX900Device.h"
#include "device/Readout.h"
#include "resources/StringTable.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTextBlock>
#include <QThread>
#include <QVBoxLayout>

namespace {

// Passes the readout's reports from the worker thread to the dialog.
class CDialogObserver : public IReadoutObserver
{
public:
    explicit CDialogObserver(CReadoutDlg* pDlg)
        : m_pDlg(pDlg)
    {
    }
    void OnPortLog(const QString& strLine) override
    {
        QMetaObject::invokeMethod(m_pDlg, "OnPortLog", Qt::QueuedConnection, Q_ARG(QString, strLine));
    }
    void OnProgressRange(int nCount) override
    {
        QMetaObject::invokeMethod(m_pDlg, "OnProgressRange", Qt::QueuedConnection, Q_ARG(int, nCount));
    }
    void OnProgress(int nPosition) override
    {
        QMetaObject::invokeMethod(m_pDlg, "OnProgress", Qt::QueuedConnection, Q_ARG(int, nPosition));
    }
    bool AskYesNo(const QString& strText) override
    {
        bool bYes = false;
        QMetaObject::invokeMethod(m_pDlg, "OnAsk", Qt::BlockingQueuedConnection, Q_RETURN_ARG(bool, bYes),
                                  Q_ARG(QString, strText));
        return bYes;
    }
    void Inform(const QString& strText) override
    {
        QMetaObject::invokeMethod(m_pDlg, "OnInform", Qt::BlockingQueuedConnection, Q_ARG(QString, strText));
    }

private:
    CReadoutDlg* m_pDlg;
};

// The description of a serial device from sysfs: the USB product and maker
// where there is one.
QString Describe(const QString& strName)
{
    const QString strBase = QStringLiteral("/sys/class/tty/") + strName + QStringLiteral("/device");
    auto read = [](const QString& strPath) {
        QFile f(strPath);
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()).trimmed() : QString();
    };
    // The interface's parent is the USB device that carries the strings.
    for (const QString& strDir : {strBase + QStringLiteral("/.."), strBase + QStringLiteral("/../..")}) {
        const QString strProduct = read(strDir + QStringLiteral("/product"));
        if (!strProduct.isEmpty()) {
            const QString strMaker = read(strDir + QStringLiteral("/manufacturer"));
            return strMaker.isEmpty() ? strProduct : strMaker + u' ' + strProduct;
        }
    }
    return {};
}

} // namespace

QList<QPair<QString, QString>> CReadoutDlg::FindSerialDevices(const QString& strDevRoot)
{
    QList<QPair<QString, QString>> devices;
#ifndef Q_OS_WIN
    // USB adapters and modems; the built-in ports are the COM entries.
    const QDir dev(strDevRoot);
    const QDir::Filters filters = QDir::System | QDir::Files;
    for (const QString& strName :
         dev.entryList({QStringLiteral("ttyUSB*"), QStringLiteral("ttyACM*"), QStringLiteral("rfcomm*")}, filters,
                       QDir::Name)) {
        devices.append({dev.filePath(strName), Describe(strName)});
    }
    // The names udev gives by adapter and serial number stay the same when
    // the adapter comes back in another socket or order, unlike ttyUSBn.
    const QDir byId(dev.filePath(QStringLiteral("serial/by-id")));
    for (const QString& strName : byId.entryList(filters, QDir::Name)) {
        const QString strPath = byId.filePath(strName);
        const QString strTarget = QFileInfo(QFileInfo(strPath).symLinkTarget()).fileName();
        const QString strDescription = Describe(strTarget);
        devices.append({strPath, strTarget.isEmpty() || strDescription.isEmpty()
                                     ? strTarget
                                     : strTarget + QStringLiteral(", ") + strDescription});
    }
#else
    Q_UNUSED(strDevRoot);
#endif
    return devices;
}

CReadoutDlg::CReadoutDlg(CXMLDocument* pResultDocument, QWidget* pParent)
    : QDialog(pParent)
    , m_pDocument(pResultDocument)
{
    setWindowTitle(QStringLiteral("PX900"));

    auto* pSettingsBox = new QGroupBox(LoadString(IDS_READOUT_SETTINGS), this);
    auto* pGrid = new QGridLayout(pSettingsBox);
    m_pPort = new QComboBox(pSettingsBox);
    // A path can be typed: a pseudo-terminal, a symlink, an unusual name.
    m_pPort->setEditable(true);
    m_pPort->setInsertPolicy(QComboBox::NoInsert);
    // Completing "/dev/ttyUSB" to the first entry would pick a port the
    // user did not mean.
    m_pPort->setCompleter(nullptr);
    m_pPort->setMinimumContentsLength(28);
    m_pPort->addItem(QString(), 0);
    for (int n = 1; n <= 20; ++n)
        m_pPort->addItem(QStringLiteral("COM%1").arg(n), n);
    for (const auto& [strPath, strDescription] : FindSerialDevices())
        m_pPort->addItem(strDescription.isEmpty() ? strPath : strPath + QStringLiteral(" (") + strDescription + u')',
                         strPath);
    m_pTimeout = new QLineEdit(pSettingsBox);
    m_pTimeout->setValidator(new QIntValidator(0, 3600000, m_pTimeout));
    pGrid->addWidget(new QLabel(LoadString(IDS_READOUT_PORT), pSettingsBox), 0, 0);
    pGrid->addWidget(m_pPort, 0, 1);
    pGrid->addWidget(new QLabel(LoadString(IDS_READOUT_TIMEOUT), pSettingsBox), 1, 0);
    pGrid->addWidget(m_pTimeout, 1, 1);

    m_pReadout = new QPushButton(LoadString(IDS_READOUT_READ), this);
    m_pDelete = new QPushButton(LoadString(IDS_READOUT_DELETE), this);
    m_pCancel = new QPushButton(LoadString(IDS_READOUT_CANCEL), this);
    m_pClose = new QPushButton(LoadString(IDS_READOUT_CLOSE), this);
    m_pCancel->setEnabled(false);
    m_pClose->setDefault(true);
    auto* pButtons = new QVBoxLayout;
    for (QPushButton* p : {m_pReadout, m_pDelete, m_pCancel})
        pButtons->addWidget(p);
    pButtons->addStretch();
    pButtons->addWidget(m_pClose);

    auto* pTop = new QHBoxLayout;
    pTop->addWidget(pSettingsBox, 1);
    pTop->addLayout(pButtons);

    auto* pProgressBox = new QGroupBox(LoadString(IDS_READOUT_PROGRESS), this);
    m_pProgress = new QProgressBar(pProgressBox);
    m_pProgress->setRange(0, 1);
    m_pProgress->setValue(0);
    (new QVBoxLayout(pProgressBox))->addWidget(m_pProgress);

    auto* pMonitorBox = new QGroupBox(LoadString(IDS_READOUT_MONITOR), this);
    m_pMonitor = new QPlainTextEdit(pMonitorBox);
    m_pMonitor->setReadOnly(true);
    m_pMonitor->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont mono(QStringLiteral("Courier New"));
    mono.setStyleHint(QFont::Monospace);
    m_pMonitor->setFont(mono);
    // Black on white, also read-only.
    QPalette pal = m_pMonitor->palette();
    pal.setColor(QPalette::Base, Qt::white);
    pal.setColor(QPalette::Text, Qt::black);
    m_pMonitor->setPalette(pal);
    m_pTimeout->setPalette(pal);
    (new QVBoxLayout(pMonitorBox))->addWidget(m_pMonitor);

    auto* pLayout = new QVBoxLayout(this);
    pLayout->addLayout(pTop);
    pLayout->addWidget(pProgressBox);
    pLayout->addWidget(pMonitorBox, 1);
    resize(560, 520);

    connect(m_pReadout, &QPushButton::clicked, this, &CReadoutDlg::StartReadout);
    connect(m_pDelete, &QPushButton::clicked, this, &CReadoutDlg::StartDelete);
    connect(m_pCancel, &QPushButton::clicked, this, [this] { m_bCancel = true; });
    connect(m_pClose, &QPushButton::clicked, this, &CReadoutDlg::accept);

    // The stored port and time-out.
    const CRegSettings settings;
    const QString strPath = settings.GetString(QStringLiteral("PX900PortPath"));
    if (!strPath.isEmpty()) {
        SelectPortPath(strPath);
    } else {
        const int nPort = static_cast<int>(settings.GetDWORD(QStringLiteral("PX900Port"), 0));
        const int nIndex = m_pPort->findData(nPort);
        m_pPort->setCurrentIndex(nIndex < 0 ? 0 : nIndex);
    }
    m_pTimeout->setText(QString::number(settings.GetDWORD(QStringLiteral("PX900Timeout"), 30000)));
}

CReadoutDlg::~CReadoutDlg()
{
    if (m_pWorker) {
        m_bCancel = true;
        m_pWorker->wait();
    }
}

namespace {

// "COM3" (any case, blanks around) as 3; 0 when the text is no COM name.
int ComNumber(const QString& strText)
{
    static const QRegularExpression re(QStringLiteral("^\\s*[Cc][Oo][Mm]([1-9][0-9]{0,2})\\s*$"));
    const QRegularExpressionMatch m = re.match(strText);
    return m.hasMatch() ? m.captured(1).toInt() : 0;
}

} // namespace

QVariant CReadoutDlg::CurrentPortData() const
{
    // The edit line holds the entry's text unless the user typed another.
    const QString strText = m_pPort->currentText();
    const int nIndex = m_pPort->findText(strText);
    if (nIndex >= 0)
        return m_pPort->itemData(nIndex);
    if (const int nPort = ComNumber(strText))
        return nPort;
    const QString strPath = strText.trimmed();
    return strPath.isEmpty() ? QVariant(0) : QVariant(strPath);
}

int CReadoutDlg::GetPortIndex() const
{
    const QVariant v = CurrentPortData();
    return v.typeId() == QMetaType::Int ? v.toInt() : 0;
}

QString CReadoutDlg::GetPortPath() const
{
    const QVariant v = CurrentPortData();
    return v.typeId() == QMetaType::QString ? v.toString() : QString();
}

int CReadoutDlg::GetTimeout() const
{
    bool bOk = false;
    const int n = m_pTimeout->text().toInt(&bOk);
    return bOk ? n : 0;
}

void CReadoutDlg::SelectPortPath(const QString& strPath)
{
    int nIndex = m_pPort->findData(strPath);
    if (nIndex < 0) {
        m_pPort->addItem(strPath, strPath);
        nIndex = m_pPort->count() - 1;
    }
    m_pPort->setCurrentIndex(nIndex);
}

void CReadoutDlg::SetTimeout(int nTimeout)
{
    m_pTimeout->setText(QString::number(nTimeout));
}

void CReadoutDlg::SetRunning(bool bRunning)
{
    m_pReadout->setEnabled(!bRunning);
    m_pDelete->setEnabled(!bRunning);
    m_pClose->setEnabled(!bRunning);
    m_pPort->setEnabled(!bRunning);
    m_pTimeout->setEnabled(!bRunning);
    m_pCancel->setEnabled(bRunning);
    if (bRunning)
        QGuiApplication::setOverrideCursor(Qt::BusyCursor);
    else
        QGuiApplication::restoreOverrideCursor();
}

void CReadoutDlg::Run(std::function<void()> work)
{
    if (m_pWorker)
        return;
    m_bCancel = false;
    SetRunning(true);
    m_pWorker = QThread::create(std::move(work));
    connect(m_pWorker, &QThread::finished, this, [this] {
        m_pWorker->deleteLater();
        m_pWorker = nullptr;
        SetRunning(false);
        emit WorkFinished();
    });
    m_pWorker->start();
}

void CReadoutDlg::StartReadout()
{
    ReadoutOptions options;
    options.m_nPort = GetPortIndex();
    options.m_strPortPath = GetPortPath();
    options.m_nTimeout = GetTimeout();
    options.m_bInteractive = true;
    options.m_pCancel = &m_bCancel;
    CXMLDocument* pDocument = m_pDocument;
    Run([this, options, pDocument] {
        CDialogObserver observer(this);
        const ReadoutOutcome outcome = ReadoutResults(options, *pDocument, &observer);
        QString strSummary;
        if (outcome.m_bCancelled) {
            strSummary = LoadString(IDS_READOUT_CANCELLED);
        } else if (outcome.m_bSuccess && outcome.m_nCount > 0) {
            strSummary = LoadString(IDS_READOUT_SUMMARY)
                             .arg(outcome.m_nCount)
                             .arg(outcome.m_nAdded)
                             .arg(outcome.m_nDuplicates);
            if (outcome.m_nUnknown > 0)
                strSummary += u' ' + UnknownKindsText(outcome);
        }
        QMetaObject::invokeMethod(this, "OnFinished", Qt::QueuedConnection,
                                  Q_ARG(QString, outcome.m_bCancelled ? QString() : outcome.m_strError),
                                  Q_ARG(int, outcome.m_nAdded), Q_ARG(QString, strSummary));
    });
}

void CReadoutDlg::StartDelete()
{
    if (!::AskYesNoDefaultNo(LoadString(IDS_PX900_ASK_DELETE_SURE), MsgIcon::Question))
        return;
    const int nPort = GetPortIndex();
    const QString strPath = GetPortPath();
    const int nTimeout = GetTimeout();
    Run([this, nPort, strPath, nTimeout] {
        QString strError, strSummary;
        try {
            CDialogObserver observer(this);
            CPX900Device device([&observer](const QString& s) { observer.OnPortLog(s); });
            device.SetCancelFlag(&m_bCancel);
            device.OpenLine(nPort, strPath);
            device.SetTimeout(nTimeout);
            device.DeleteResults();
            observer.Inform(LoadString(IDS_RESULTS_DELETED));
        } catch (const CDeviceWaitCancelled&) {
            // Whether the device got to delete is unknown; say only that
            // the wait was stopped.
            strSummary = LoadString(IDS_DEVICE_WAIT_CANCELLED);
        } catch (const CException& e) {
            strError = e.GetErrorMessage();
        }
        QMetaObject::invokeMethod(this, "OnFinished", Qt::QueuedConnection, Q_ARG(QString, strError),
                                  Q_ARG(int, 0), Q_ARG(QString, strSummary));
    });
}

void CReadoutDlg::OnPortLog(const QString& strLine)
{
    // Every line the device sends stands on its own monitor line.
    QString strText = strLine;
    strText.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    strText.replace(u'\r', u'\n');
    if (!strText.endsWith(u'\n'))
        strText += u'\n';
    // Other control characters from a garbled line are shown, not obeyed.
    QStringList lines = strText.split(u'\n');
    for (QString& strPart : lines)
        strPart = EscapeControls(strPart);
    AppendMonitorText(lines.join(u'\n'));
}

void CReadoutDlg::OnProgressRange(int nCount)
{
    m_pProgress->setRange(0, qMax(nCount, 1));
    m_pProgress->setValue(0);
}

void CReadoutDlg::OnProgress(int nPosition)
{
    m_pProgress->setValue(nPosition);
}

bool CReadoutDlg::OnAsk(const QString& strText)
{
    // The readout asks only whether to delete the device memory.
    return ::AskYesNoDefaultNo(strText, MsgIcon::Question);
}

void CReadoutDlg::OnInform(const QString& strText)
{
    ::Inform(strText, MsgIcon::Information);
}

void CReadoutDlg::OnFinished(const QString& strError, int nAdded, const QString& strSummary)
{
    if (nAdded > 0)
        m_bAdded = true;
    // What the readout did, as the last line of the monitor.
    if (!strSummary.isEmpty())
        AppendMonitorText(strSummary + u'\n');
    if (!strError.isEmpty())
        ::ReportError(strError, MsgIcon::Exclamation);
}

void CReadoutDlg::AppendMonitorText(const QString& strText)
{
    QTextDocument* pDoc = m_pMonitor->document();
    QTextCursor caret = m_pMonitor->textCursor();
    int nLen = pDoc->characterCount() - 1;
    int nStart = caret.selectionStart();
    int nEnd = caret.selectionEnd();
    const bool bElsewhere = nEnd != nLen;
    const int nScroll = m_pMonitor->verticalScrollBar()->value();
    bool bKeepSelection = bElsewhere;

    if (m_nMonitorLimit >= 1 && nLen > m_nMonitorLimit) {
        // The oldest half goes, ending at the start of a line.
        const QTextBlock block = pDoc->findBlock(m_nMonitorLimit / 2);
        const QTextBlock next = block.next();
        const int nCut = next.isValid() ? next.position() : nLen;
        QTextCursor cut(pDoc);
        cut.setPosition(0);
        cut.setPosition(nCut, QTextCursor::KeepAnchor);
        cut.removeSelectedText();
        if (bKeepSelection) {
            if (nStart <= nCut) {
                bKeepSelection = false;
            } else {
                nStart -= nCut;
                nEnd -= nCut;
            }
        }
        nLen -= nCut;
    }

    QTextCursor end(pDoc);
    end.movePosition(QTextCursor::End);
    end.insertText(strText);
    if (bKeepSelection) {
        QTextCursor sel(pDoc);
        sel.setPosition(nStart);
        sel.setPosition(nEnd, QTextCursor::KeepAnchor);
        m_pMonitor->setTextCursor(sel);
        m_pMonitor->verticalScrollBar()->setValue(nScroll);
    } else {
        end.movePosition(QTextCursor::End);
        m_pMonitor->setTextCursor(end);
        m_pMonitor->ensureCursorVisible();
    }
}

void CReadoutDlg::accept()
{
    if (m_pWorker)
        return;
    // "Schließen" keeps the port and the time-out for next time.
    const CRegSettings settings;
    const QString strPath = GetPortPath();
    settings.SetString(QStringLiteral("PX900PortPath"), strPath);
    if (strPath.isEmpty())
        settings.SetDWORD(QStringLiteral("PX900Port"), static_cast<quint32>(GetPortIndex()));
    settings.SetDWORD(QStringLiteral("PX900Timeout"), static_cast<quint32>(GetTimeout()));
    QDialog::accept();
}

void CReadoutDlg::reject()
{
    // While the line is busy the dialog stays; Abbrechen stops the work.
    if (m_pWorker)
        return;
    QDialog::reject();
}

void CReadoutDlg::closeEvent(QCloseEvent* pEvent)
{
    if (m_pWorker) {
        pEvent->ignore();
        return;
    }
    QDialog::closeEvent(pEvent);
}
