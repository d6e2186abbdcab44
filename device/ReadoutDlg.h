#pragma once

#include <QDialog>

#include <atomic>
#include <functional>

class CXMLDocument;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QThread;

// The readout dialog: chooses the port and the answer time-out, reads the
// device out or deletes its results, and shows the progress and every line
// that goes over the port. The exchange runs on a worker thread, so the
// dialog stays responsive and the monitor follows line by line; a running
// readout or deletion can be cancelled, also while it waits for the device.
class CReadoutDlg : public QDialog
{
    Q_OBJECT
public:
    explicit CReadoutDlg(CXMLDocument* pResultDocument, QWidget* pParent = nullptr);
    ~CReadoutDlg() override;

    // True once a readout appended results: the tree needs a rebuild.
    bool HasAdded() const { return m_bAdded; }

    // Appends to the port monitor. The oldest half goes, at a line start,
    // when the text grows beyond the limit; a selection of the user's is
    // kept where it can be, and the view only follows the end while the
    // caret is there.
    void AppendMonitorText(const QString& strText);
    void SetMonitorLimit(int nLimit) { m_nMonitorLimit = nLimit; }
    QPlainTextEdit* GetMonitor() const { return m_pMonitor; }

    // The port chosen or typed: a COM number, or a device path when the
    // entry names one or another text was typed (then the number is 0).
    int GetPortIndex() const;
    QString GetPortPath() const;
    int GetTimeout() const;
    // Selects the entry of a device path, adding one when the path is not
    // listed (a symlink or an unusual device name).
    void SelectPortPath(const QString& strPath);
    void SetTimeout(int nTimeout);

    // Starts a readout or a deletion as the buttons do.
    void StartReadout();
    void StartDelete();
    bool IsRunning() const { return m_pWorker != nullptr; }

    // Serial devices found under a /dev folder: path and a description. The
    // stable /dev/serial/by-id names follow the kernel's names.
    static QList<QPair<QString, QString>> FindSerialDevices(const QString& strDevRoot = QStringLiteral("/dev"));

signals:
    void WorkFinished();

public slots:
    void accept() override;
    void reject() override;

protected:
    void closeEvent(QCloseEvent* pEvent) override;

private slots:
    void OnPortLog(const QString& strLine);
    void OnProgressRange(int nCount);
    void OnProgress(int nPosition);
    bool OnAsk(const QString& strText);
    void OnInform(const QString& strText);
    void OnFinished(const QString& strError, int nAdded, const QString& strSummary);

private:
    QVariant CurrentPortData() const;
    void Run(std::function<void()> work);
    void SetRunning(bool bRunning);

    CXMLDocument* m_pDocument;
    QComboBox* m_pPort;
    QLineEdit* m_pTimeout;
    QPushButton* m_pReadout;
    QPushButton* m_pDelete;
    QPushButton* m_pClose;
    QPushButton* m_pCancel;
    QProgressBar* m_pProgress;
    QPlainTextEdit* m_pMonitor;
    QThread* m_pWorker = nullptr;
    std::atomic<bool> m_bCancel{false};
    bool m_bAdded = false;
    int m_nMonitorLimit = 100000;
};
