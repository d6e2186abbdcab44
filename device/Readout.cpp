#include "device/Readout.h"

#include "core/Number.h"
#include "core/TextCodec.h"
#include "device/PX900Device.h"
#include "resources/StringTable.h"
#include "xml/ResultIdentityIndex.h"
#include "xml/XMLDocument.h"
#include "xml/XMLNode.h"
#include "xml/XMLNodeResult.h"

#include <QDateTime>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

struct ReadoutCancelled
{
};

// More results than the device memory holds.
constexpr int kMaxStoredResults = 100000;
// Records without a kind in a row that mean the device has nothing to give.
constexpr int kMaxEmptyRun = 10;

} // namespace

// --- helpers -------------------------------------------------------------------

QString UnknownKindsText(const ReadoutOutcome& outcome)
{
    QStringList kinds;
    for (int n : outcome.m_unknownKinds)
        kinds.append(QString::number(n));
    return LoadString(IDS_READOUT_UNKNOWN_KINDS).arg(outcome.m_nUnknown).arg(kinds.join(QStringLiteral(", ")));
}

void AppendResult(CXMLNodeResult& cursor, const CResultRecord& record)
{
    cursor.AddNew();
    cursor.Record() = record;
    cursor.Update();
}

// --- ReadoutResults --------------------------------------------------------------

ReadoutOutcome ReadoutResults(const ReadoutOptions& options, CXMLDocument& document, IReadoutObserver* pObserver)
{
    ReadoutOutcome outcome;
    bool bMarked = false;
    auto checkCancel = [&options] {
        if (options.m_pCancel && options.m_pCancel->load())
            throw ReadoutCancelled();
    };
    // The document must agree with its file again after any failure.
    auto restore = [&] {
        if (!bMarked)
            return;
        bMarked = false;
        try {
            document.Reload();
        } catch (const CException& e) {
            if (!outcome.m_strError.isEmpty())
                outcome.m_strError += u' ';
            outcome.m_strError += e.GetErrorMessage();
        }
    };

    try {
        PortLogCallback log;
        if (pObserver)
            log = [pObserver](const QString& strLine) { pObserver->OnPortLog(strLine); };
        CPX900Device device(log);
        // A cancel also ends a wait for an answer, not only the next command.
        device.SetCancelFlag(options.m_pCancel);
        checkCancel();
        device.OpenLine(options.m_nPort, options.m_strPortPath);
        device.SetTimeout(options.m_nTimeout);

        QDateTime previous = QDateTime::currentDateTime();
        checkCancel();
        const int nCount = device.GetResultCount();
        outcome.m_nCount = nCount;
        if (pObserver)
            pObserver->OnProgressRange(std::max(nCount, 0));

        checkCancel();
        const QString strVersion = device.GetVersion();
        QString strDeviceType, strSerial;
        checkCancel();
        if (!device.GetIdentity(strDeviceType, strSerial))
            strSerial = QStringLiteral("PX900");

        // A count the device memory cannot hold is a garbled answer; reading
        // it would run for days.
        if (nCount > kMaxStoredResults)
            throw CPX900DeviceException(LoadString(IDS_READOUT_BAD_COUNT).arg(nCount));
        if (nCount > 0) {
            CRecordDecoder decoder(strDeviceType, strSerial, ParseInt(strVersion));
            // Everything is read first: the file is locked only for the
            // short time it takes to append, not for the minutes on the line.
            std::vector<CResultRecord> records;
            records.reserve(static_cast<size_t>(nCount));
            QStringList lines;
            int nEmptyRun = 0;
            for (int i = 0; i < nCount; ++i) {
                checkCancel();
                lines.clear();
                device.GetResult(i, lines);
                const QDateTime stamp = NextTimeStamp(previous, QDateTime::currentDateTime());
                previous = stamp;
                CResultRecord record;
                if (decoder.Decode(lines, stamp, record)) {
                    records.push_back(std::move(record));
                    nEmptyRun = 0;
                } else if (decoder.GetRawKind() < 0) {
                    // A record without a kind: a device that answers with
                    // nothing, again and again, has lost its memory.
                    if (++nEmptyRun >= kMaxEmptyRun)
                        throw CPX900DeviceException(LoadString(IDS_READOUT_EMPTY_RECORDS).arg(nEmptyRun));
                    ++outcome.m_nUnknown;
                } else {
                    ++outcome.m_nUnknown;
                    if (!outcome.m_unknownKinds.contains(decoder.GetRawKind()))
                        outcome.m_unknownKinds.append(decoder.GetRawKind());
                    nEmptyRun = 0;
                }
                if (pObserver)
                    pObserver->OnProgress(i + 1);
            }
            checkCancel();

            {
                const auto lock = document.LockForChange();
                document.SuppressSave();
                bMarked = true;
                // AddNew and Update run the cursor's query again. Over tens of
                // thousands of results that would cost more than everything
                // else per record, so the appending cursor selects nothing and
                // appends under the root element, found once.
                CXMLNode root(&document);
                root.Open(QStringLiteral("self::Result-Data"));
                CXMLNodeResult cursor(&document);
                if (root.GetRecordCount() == 1)
                    cursor.Open(QStringLiteral("self::Result"), &root);
                else
                    cursor.Open(QStringLiteral("Result"));
                CResultIdentityIndex index;
                index.Build(document);
                for (CResultRecord& record : records) {
                    // Only characters XML allows are stored, so the check
                    // compares what the file will hold.
                    const CResultIdentity identity(XmlSafeText(record.m_strID), XmlSafeText(record.m_strDate),
                                                   XmlSafeText(record.m_strTime));
                    // A result already in the file is not stored twice.
                    if (index.Contains(identity)) {
                        ++outcome.m_nDuplicates;
                        continue;
                    }
                    AppendResult(cursor, record);
                    index.Insert(identity);
                    ++outcome.m_nAdded;
                }
                document.Save();
                bMarked = false;
            }

            // The results are safe in the file from here on; a cancel no
            // longer applies. The device keeps what was not stored.
            device.SetCancelFlag(nullptr);
            const bool bAllStored = outcome.m_nUnknown == 0;
            if (options.m_bInteractive) {
                const QString strQuestion =
                    bAllStored ? LoadString(IDS_PX900_ASK_DELETE)
                               : UnknownKindsText(outcome)
                                     + u'\n' + LoadString(IDS_PX900_ASK_DELETE);
                if (pObserver && pObserver->AskYesNo(strQuestion)) {
                    device.DeleteResults();
                    pObserver->Inform(LoadString(IDS_RESULTS_DELETED));
                }
            } else if (options.m_bDeleteAfter) {
                if (bAllStored)
                    device.DeleteResults();
                else
                    outcome.m_bDeleteRefused = true;
            }
        } else if (options.m_bInteractive && pObserver) {
            pObserver->Inform(LoadString(IDS_NO_RESULTS_STORED));
        }
        outcome.m_bSuccess = true;
    } catch (const ReadoutCancelled&) {
        outcome.m_bCancelled = true;
        restore();
    } catch (const CDeviceWaitCancelled&) {
        outcome.m_bCancelled = true;
        restore();
    } catch (const CException& e) {
        outcome.m_strError = e.GetErrorMessage();
        restore();
    } catch (...) {
        restore();
        throw;
    }
    return outcome;
}
