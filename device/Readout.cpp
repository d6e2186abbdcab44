#include "device/Readout.h"

#include "core/Number.h"
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

} // namespace

// --- helpers -------------------------------------------------------------------

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

        if (nCount > 0) {
            document.SuppressSave();
            bMarked = true;

            CRecordDecoder decoder(strDeviceType, strSerial, ParseInt(strVersion));
            CResultRecord record;
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

            QStringList lines;
            for (int i = 0; i < nCount; ++i) {
                checkCancel();
                lines.clear();
                device.GetResult(i, lines);
                const QDateTime stamp = NextTimeStamp(previous, QDateTime::currentDateTime());
                previous = stamp;
                if (decoder.Decode(lines, stamp, record)) {
                    // A result already in the file is not stored twice.
                    const CResultIdentity identity(record.m_strID, record.m_strDate, record.m_strTime);
                    if (!index.Contains(identity)) {
                        AppendResult(cursor, record);
                        index.Insert(identity);
                        ++outcome.m_nAdded;
                    }
                }
                if (pObserver)
                    pObserver->OnProgress(i + 1);
            }

            checkCancel();
            document.Save();
            bMarked = false;

            // The results are safe in the file from here on; a cancel no
            // longer applies.
            if (options.m_bInteractive) {
                if (pObserver && pObserver->AskYesNo(LoadString(IDS_PX900_ASK_DELETE))) {
                    device.DeleteResults();
                    pObserver->Inform(LoadString(IDS_RESULTS_DELETED));
                }
            } else if (options.m_bDeleteAfter) {
                device.DeleteResults();
            }
        } else if (options.m_bInteractive && pObserver) {
            pObserver->Inform(LoadString(IDS_NO_RESULTS_STORED));
        }
        outcome.m_bSuccess = true;
    } catch (const ReadoutCancelled&) {
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
