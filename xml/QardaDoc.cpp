#include "xml/QardaDoc.h"

#include "xml/XMLException.h"

#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QTimer>

#include <utility>

CQardaDoc::CQardaDoc(const QString& strMainFile, const QString& strResultFile, Opening opening, QObject* pParent)
    : QObject(pParent)
{
    m_xmlMain.SetExpectedRoot(QStringLiteral("Main-Data"));
    m_xmlResult.SetExpectedRoot(QStringLiteral("Result-Data"));
    if (opening == Opening::InBackground) {
        m_bRead = false;
        m_xmlResult.SetReadHook([this] { MarkRead(); });
        m_opening = std::thread([this, strMainFile, strResultFile] {
            m_mainFailure = OpenCatching(m_xmlMain, strMainFile);
            m_resultFailure = OpenCatching(m_xmlResult, strResultFile);
            MarkRead();
        });
        return;
    }
    OpenReporting(m_xmlMain, strMainFile);
    OpenReporting(m_xmlResult, strResultFile);
    Watch();
    PrepareLookups();
}

void CQardaDoc::MarkRead()
{
    {
        const std::lock_guard lock(m_readMutex);
        m_bRead = true;
    }
    m_readDone.notify_all();
}

void CQardaDoc::WaitUntilRead()
{
    std::unique_lock lock(m_readMutex);
    m_readDone.wait(lock, [this] { return m_bRead; });
}

void CQardaDoc::WaitForFiles()
{
    if (!m_opening.joinable())
        return;
    m_opening.join();
    m_xmlResult.SetReadHook({});
    // Reported here, in the order a plain opening reports them; anything
    // but a file's own fault goes on as it would have from the opening.
    Report(std::exchange(m_mainFailure, nullptr));
    Report(std::exchange(m_resultFailure, nullptr));
    Watch();
    PrepareLookups();
}

std::exception_ptr CQardaDoc::OpenCatching(CXMLDocument& doc, const QString& strPath)
{
    try {
        doc.Open(strPath);
    } catch (...) {
        return std::current_exception();
    }
    return nullptr;
}

void CQardaDoc::Report(const std::exception_ptr& failure)
{
    if (!failure)
        return;
    try {
        std::rethrow_exception(failure);
    } catch (const CXMLException& e) {
        e.ReportError(MsgIcon::None);
    }
}

void CQardaDoc::PrepareLookups()
{
    // The look-ups' index is read from the whole file once: a quarter second
    // after the event loop runs, so after the window has shown the tree and
    // long before a click.
    QTimer::singleShot(0, this, [this] {
        QTimer::singleShot(250, this, [this] {
            m_xmlMain.PrepareIndex();
            m_xmlResult.PrepareIndex();
        });
    });
}

void CQardaDoc::Watch()
{
    if (!m_pWatcher) {
        m_pWatcher = new QFileSystemWatcher(this);
        // Saves replace the file, so the change of the folder is what shows.
        connect(m_pWatcher, &QFileSystemWatcher::fileChanged, this, &CQardaDoc::OnFileChanged);
        connect(m_pWatcher, &QFileSystemWatcher::directoryChanged, this, &CQardaDoc::OnFileChanged);
    }
    if (!m_pWatcher->files().isEmpty())
        m_pWatcher->removePaths(m_pWatcher->files());
    if (!m_pWatcher->directories().isEmpty())
        m_pWatcher->removePaths(m_pWatcher->directories());
    for (const CXMLDocument* pDoc : {&m_xmlMain, &m_xmlResult}) {
        const QString strPath = pDoc->GetFileName();
        if (strPath.isEmpty() || !QFileInfo::exists(strPath))
            continue;
        m_pWatcher->addPath(strPath);
        const QString strFolder = QFileInfo(strPath).absolutePath();
        if (!m_pWatcher->directories().contains(strFolder))
            m_pWatcher->addPath(strFolder);
    }
}

void CQardaDoc::PauseWatching(bool bPause)
{
    m_bPaused = bPause;
    if (!bPause && m_bChangedWhilePaused) {
        m_bChangedWhilePaused = false;
        OnFileChanged();
    }
}

void CQardaDoc::OnFileChanged()
{
    if (m_bPaused) {
        m_bChangedWhilePaused = true;
        return;
    }
    bool bReloaded = false;
    for (CXMLDocument* pDoc : {&m_xmlMain, &m_xmlResult}) {
        // Our own saves leave the stamp current; a batch in progress is
        // finished against the file by its own lock.
        if (!pDoc->IsChangedOnDisk() || pDoc->IsSaveSuppressed())
            continue;
        OpenReporting(*pDoc, pDoc->GetFileName());
        bReloaded = true;
    }
    Watch();
    if (bReloaded) {
        emit FilesOpened();
        PrepareLookups();
    }
}

CQardaDoc::~CQardaDoc()
{
    if (m_opening.joinable())
        m_opening.join();
    m_xmlMain.Close();
    m_xmlResult.Close();
}

void CQardaDoc::OpenReporting(CXMLDocument& doc, const QString& strPath)
{
    Report(OpenCatching(doc, strPath));
}

void CQardaDoc::OpenFiles(const QString& strMainFile, const QString& strResultFile)
{
    WaitForFiles();
    m_xmlMain.Close();
    OpenReporting(m_xmlMain, strMainFile);
    m_xmlResult.Close();
    OpenReporting(m_xmlResult, strResultFile);
    Watch();
    emit FilesOpened();
    PrepareLookups();
}
