#include "device/Readout.h"

#include "core/Number.h"
#include "device/PX900Device.h"
#include "resources/StringTable.h"
#include "xml/XMLDocument.h"
#include "xml/XMLNode.h"
#include "xml/XMLNodeResult.h"

#include <QDateTime>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace {

struct ReadoutCancelled
{
};

// The XPath string-value of an element. Leaf elements (the usual case) are
// read directly; anything with element children goes through XPath itself,
// so nested markup counts exactly as the query would count it.
QString StringValue(pugi::xml_node element, const pugi::xpath_query& stringOf)
{
    std::string value = element.value();
    for (pugi::xml_node child = element.first_child(); child; child = child.next_sibling()) {
        switch (child.type()) {
        case pugi::node_element:
            return QString::fromStdString(stringOf.evaluate_string(element));
        case pugi::node_pcdata:
        case pugi::node_cdata:
            value += child.value();
            break;
        default:
            break;
        }
    }
    return QString::fromStdString(value);
}

} // namespace

// --- CResultIdentityIndex ------------------------------------------------------

void CResultIdentityIndex::Build(const CXMLDocument& document)
{
    m_set.clear();
    const pugi::xml_node root = document.GetDocumentElement();
    if (!root)
        return;
    const pugi::xpath_query stringOf("string(.)");
    QStringList ids, dates, times;
    for (pugi::xml_node result = root.child("Result"); result; result = result.next_sibling("Result")) {
        ids.clear();
        dates.clear();
        times.clear();
        for (pugi::xml_node child = result.first_child(); child; child = child.next_sibling()) {
            if (child.type() != pugi::node_element)
                continue;
            const char* pszName = child.name();
            if (std::strcmp(pszName, "ID") == 0)
                ids.append(StringValue(child, stringOf));
            else if (std::strcmp(pszName, "Date") == 0)
                dates.append(StringValue(child, stringOf));
            else if (std::strcmp(pszName, "Time") == 0)
                times.append(StringValue(child, stringOf));
        }
        // A comparison with a node set holds when any of its nodes matches,
        // so a result with two ID elements answers to either.
        for (const QString& strID : std::as_const(ids))
            for (const QString& strDate : std::as_const(dates))
                for (const QString& strTime : std::as_const(times))
                    m_set.insert({strID, strDate, strTime});
    }
}

bool CResultIdentityIndex::Contains(const QString& strID, const QString& strDate, const QString& strTime) const
{
    return m_set.contains({strID, strDate, strTime});
}

void CResultIdentityIndex::Insert(const QString& strID, const QString& strDate, const QString& strTime)
{
    m_set.insert({strID, strDate, strTime});
}

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
                if (decoder.Decode(lines, stamp, record)
                    && !index.Contains(record.m_strID, record.m_strDate, record.m_strTime)) {
                    AppendResult(cursor, record);
                    index.Insert(record.m_strID, record.m_strDate, record.m_strTime);
                    ++outcome.m_nAdded;
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
