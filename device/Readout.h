#pragma once

#include "device/RecordDecoder.h"

#include <QString>

#include <atomic>

class CXMLDocument;
class CResultRecord;
class CXMLNodeResult;

// How a readout runs.
struct ReadoutOptions
{
    int m_nPort = 0;
    // A device path; used instead of the port number when not empty.
    QString m_strPortPath;
    int m_nTimeout = 30000;
    // Delete the device's results after a successful readout, without asking
    // (the unattended readout).
    bool m_bDeleteAfter = false;
    // From the dialog: ask whether to delete, tell when nothing is stored.
    bool m_bInteractive = false;
    // Set from another thread to stop the readout before its next command.
    const std::atomic<bool>* m_pCancel = nullptr;
};

// What the readout reports while it runs. It may run off the user-interface
// thread: an implementation that touches widgets must pass the calls on
// through queued signals. Questions block the readout until answered.
class IReadoutObserver
{
public:
    virtual ~IReadoutObserver() = default;
    // Every line that goes over the port.
    virtual void OnPortLog(const QString& strLine) {}
    // The number of records, before the first one is read.
    virtual void OnProgressRange(int nCount) {}
    // The number of records handled so far.
    virtual void OnProgress(int nPosition) {}
    // A yes/no question (interactive only); true for yes.
    virtual bool AskYesNo(const QString& strText) { return false; }
    // A note for the user (interactive only).
    virtual void Inform(const QString& strText) {}
};

struct ReadoutOutcome
{
    bool m_bSuccess = false;
    bool m_bCancelled = false;
    // The texts of every layer in a row; empty on success and on cancel.
    QString m_strError;
    // Results appended to the file. They stay there when only the deletion
    // in the device failed afterwards, so the caller must still show them.
    int m_nAdded = 0;
    // Results stored in the device.
    int m_nCount = 0;
    // Records read that the file held already.
    int m_nDuplicates = 0;
    // Records of a kind this program does not know: not stored. While there
    // are any, the device memory is not deleted unattended.
    int m_nUnknown = 0;
    QList<int> m_unknownKinds;
    // Deletion was asked for but refused because not every record was stored.
    bool m_bDeleteRefused = false;
};

// Reads every stored result out of the PX900, then appends the new ones to
// the result document under its lock, against the file as it is on disk, and
// saves it once. A failure or a cancel reloads the document from its file, so
// memory and file agree and the file is unchanged. Reports nothing itself:
// the caller shows the outcome's error text.
ReadoutOutcome ReadoutResults(const ReadoutOptions& options, CXMLDocument& document,
                              IReadoutObserver* pObserver = nullptr);

// "n results of an unknown kind (k1, k2) were not stored."
QString UnknownKindsText(const ReadoutOutcome& outcome);

// Appends the record at the cursor as a new result: the fields its kind
// stores are written, the others are not.
void AppendResult(CXMLNodeResult& cursor, const CResultRecord& record);
