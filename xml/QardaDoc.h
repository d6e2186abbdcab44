#pragma once

#include "xml/XMLDocument.h"

#include <QObject>

class QFileSystemWatcher;

// The program's one document: the main file (groups and locations) and the
// result file, open for the whole run.
class CQardaDoc : public QObject
{
    Q_OBJECT
public:
    // Opens the two files. A file that fails is reported and stays invalid;
    // the program goes on.
    CQardaDoc(const QString& strMainFile, const QString& strResultFile, QObject* pParent = nullptr);
    ~CQardaDoc() override;

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
    void Watch();
    void PrepareLookups();
    void OnFileChanged();

    QFileSystemWatcher* m_pWatcher = nullptr;
    bool m_bPaused = false;
    bool m_bChangedWhilePaused = false;
};
