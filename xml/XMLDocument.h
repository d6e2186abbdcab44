#pragma once

#include <QString>

#include "core/FileLock.h"
#include "core/ResultIdentity.h"

#include <pugixml.hpp>

#include <functional>
#include <memory>

class CXMLDocument;
class CElementIndex;

// One XML data file held in a DOM. Every change is written back through a
// temporary file that replaces the file only when it is complete, so the file
// on disk is always either the old or the new version.
class CXMLDocument
{
public:
    CXMLDocument();
    ~CXMLDocument();
    CXMLDocument(const CXMLDocument&) = delete;
    CXMLDocument& operator=(const CXMLDocument&) = delete;

    // Remember the path, create the DOM and load the file. Throws
    // CXMLException (147 missing, 136 malformed, 148 otherwise); the document
    // is then invalid.
    void Open(const QString& strFileName);
    void Close();
    void Load();
    // Replaces the DOM by the parsed text (178 when it is no XML).
    void LoadXML(const QString& strXML);
    // Writes the DOM to the file: line-broken, CR LF, UTF-8 (179 on failure;
    // the file then keeps its previous contents). Clears the save-suppressed
    // flag. An invalid document is never written.
    void Save(bool bFormat = true);
    // Cursor operations skip their saves until the next Save or Reload.
    void SuppressSave() { m_bSaveSuppressed = true; }
    bool IsSaveSuppressed() const { return m_bSaveSuppressed; }
    // Drops unsaved changes by loading the file again.
    void Reload();
    bool IsValid() const;
    QString GetFileName() const { return m_strFileName; }

    // The root element a file must have to be written ("Main-Data",
    // "Result-Data"); empty accepts any. A file with another root loads, but
    // every save is refused with a message naming the file and its root.
    void SetExpectedRoot(const QString& strRoot) { m_strExpectedRoot = strRoot; }
    // Called by Open, on its thread, once the file's bytes are read and
    // checked and only the parse is left.
    void SetReadHook(std::function<void()> hook) { m_readHook = std::move(hook); }
    // Whether the file on disk is no longer the one loaded or saved here
    // (another program or instance wrote it).
    bool IsChangedOnDisk() const;
    // Takes the lock of the data file (a lock in the temporary folder), waiting up to nWaitMs for
    // another writer, and reloads the file first when it changed on disk, so
    // the change is made against the file as it is. A crashed process holds
    // no lock. Throws CXMLException when the lock cannot be
    // had, the reload fails or the file's root is not the expected one. The lock is released with the returned object.
    class CChangeLock;
    std::unique_ptr<CChangeLock> LockForChange(int nWaitMs = 10000);

    // For the cursors of this layer.
    pugi::xml_document* GetDOM() const { return m_pDOM.get(); }
    pugi::xml_node GetDocumentNode() const;
    pugi::xml_node GetDocumentElement() const;
    // The save that cursor operations make after a change: skipped while
    // saves are suppressed, and it leaves that flag alone.
    void SaveAfterChange();
    // Counters that tell cursors their element handles went stale: the first
    // moves on every load or close, the second on every removal of elements.
    quint64 GetLoadGeneration() const { return m_nLoadGeneration; }
    quint64 GetRemoveGeneration() const { return m_nRemoveGeneration; }
    void NoteRemoval();

    // Look-ups that do not scan the file: the first result with the identity
    // (as Result[ID = .. and Date = .. and Time = ..] on the root element,
    // the place number checked for the kinds that have one), the results
    // whose first "ID" holds the text in file order, and the first location
    // as .//Main[General/ID = ..]. Built on first use after a load.
    pugi::xml_node FindResultElement(const CResultIdentity& identity) const;
    const std::vector<pugi::xml_node>& ResultElementsOf(const QString& strID) const;
    pugi::xml_node FindLocationElement(const QString& strID) const;
    // What keeps those look-ups current. The cursors call them; code that
    // changes the DOM itself calls them too: NoteInserted after an element
    // went into the tree, NoteRemoving before one is taken out (and
    // NoteRemoval after), NoteChanged after texts or children inside an
    // element changed. NoteChange, for anything else, makes the next look-up
    // read the whole file again. A NoteRemoval without NoteRemoving does the
    // same.
    void NoteInserted(pugi::xml_node element);
    void NoteRemoving(pugi::xml_node element);
    void NoteChanged(pugi::xml_node element);
    void NoteChange() { m_bIndexCurrent = false; }
    // Builds the index now when it is not current (a look-up would).
    void PrepareIndex() const { Index(); }

private:
    void CreateDOM();
    std::unique_ptr<CFileLock> TakeLock(int nWaitMs) const;
    void CheckWritable() const;
    // bNamesAscii: the text is known to hold ASCII names only; bLayoutFree:
    // no element in it holds only blanks with a line break; bCharRefs: it
    // may hold a character reference.
    void ParseBuffer(char* pBuffer, size_t nSize, bool bNamesAscii, bool bLayoutFree, bool bCharRefs,
                     const QString& strSource, const std::function<QByteArray()>& original);

    std::unique_ptr<pugi::xml_document> m_pDOM;
    bool m_bLoaded = false;
    QString m_strFileName;
    bool m_bSaveSuppressed = false;
    QString m_strExpectedRoot;
    std::function<void()> m_readHook;
    // What the file on disk was when loaded or last saved here.
    struct FileStamp
    {
        qint64 nSize = -1;
        qint64 nModified = 0;  // ns
        quint64 nInode = 0;
        bool operator==(const FileStamp&) const = default;
    };
    static FileStamp StampOf(const QString& strPath);
    FileStamp m_stamp;
    bool m_bLocked = false;
    quint64 m_nLoadGeneration = 0;
    quint64 m_nRemoveGeneration = 0;
    bool m_bRemovalAnnounced = false;
    CElementIndex& Index() const;
    bool IsIndexCurrent() const;
    mutable std::unique_ptr<CElementIndex> m_pIndex;
    mutable bool m_bIndexCurrent = false;
    mutable quint64 m_nIndexGeneration = 0;
};

// Held while a change is made against the file on disk; releases the lock
// file when destroyed.
class CXMLDocument::CChangeLock
{
public:
    CChangeLock(CXMLDocument* pDocument, std::unique_ptr<CFileLock> pLock);
    ~CChangeLock();
    CChangeLock(const CChangeLock&) = delete;
    CChangeLock& operator=(const CChangeLock&) = delete;

private:
    CXMLDocument* m_pDocument;
    std::unique_ptr<CFileLock> m_pLock;
};
