#pragma once

#include "xml/XMLDocument.h"

#include <QObject>

#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>

class QFileSystemWatcher;

// The program's one document: the main file (groups and locations) and the
// result file, open for the whole run.
class CQardaDoc : public QObject
{
    Q_OBJECT
public:
    enum class Opening { Now, InBackground };

    // Opens the two files. A file that fails is reported and stays invalid;
    // the program goes on. InBackground reads them on a second thread, so
    // that the window can be made meanwhile; nothing may touch the files
    // until WaitForFiles.
    CQardaDoc(const QString& strMainFile, const QString& strResultFile, Opening opening = Opening::Now,
              QObject* pParent = nullptr);
    ~CQardaDoc() override;

    // Ends an opening in the background, reporting what failed, and starts
    // watching the files. Does nothing otherwise.
    void WaitForFiles();
    // Waits until an opening in the background has read the result file
    // and only its parse is left (or it ended). Reading keeps two cores
    // busy; what waits for it takes a core only while the file is parsed.
    void WaitUntilRead();

    // Closes both files and opens the two paths, reporting each failure on
    // its own; then the tree is rebuilt (FilesOpened).
    void OpenFiles(const QString& strMainFile, const QString& strResultFile);

    CXMLDocument m_xmlMain;
    CXMLDocument m_xmlResult;

    // While paused, outside changes are only noted; resuming reloads what
    // changed meanwhile.
    void PauseWatching(bool bPause);

signals:
    // Both files were opened anew, or one was reloaded after another
    // program changed it: whatever shows their contents is rebuilt.
    void FilesOpened();

private:
    static void OpenReporting(CXMLDocument& doc, const QString& strPath);
    static std::exception_ptr OpenCatching(CXMLDocument& doc, const QString& strPath);
    static void Report(const std::exception_ptr& failure);
    void Watch();
    void PrepareLookups();
    void OnFileChanged();

    void MarkRead();

    std::thread m_opening;
    std::mutex m_readMutex;
    std::condition_variable m_readDone;
    bool m_bRead = true;
    std::exception_ptr m_mainFailure;
    std::exception_ptr m_resultFailure;
    QFileSystemWatcher* m_pWatcher = nullptr;
    bool m_bPaused = false;
    bool m_bChangedWhilePaused = false;
};
