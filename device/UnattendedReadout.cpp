#include "device/UnattendedReadout.h"

#include "core/Exception.h"
#include "core/Messages.h"
#include "core/RegSettings.h"
#include "device/Readout.h"
#include "resources/StringTable.h"
#include "xml/XMLDocument.h"

int RunUnattendedReadout(const UnattendedReadoutArgs& args)
{
    // Nobody is there to answer: the standard-error sink takes every message.
    try {
        const CRegSettings settings;
        ReadoutOptions options;
        options.m_nPort = static_cast<int>(settings.GetDWORD(QStringLiteral("PX900Port"), 0));
        // A device path chosen in the readout dialog stands for the port.
        options.m_strPortPath = settings.GetString(QStringLiteral("PX900PortPath"));
        options.m_nTimeout = static_cast<int>(settings.GetDWORD(QStringLiteral("PX900Timeout"), 30000));
        const QString strResultFile = settings.GetString(QStringLiteral("ResultFile"), QStringLiteral("Result.xml"));

        CXMLDocument document;
        // Another kind of file is read but never written.
        document.SetExpectedRoot(QStringLiteral("Result-Data"));
        document.Open(strResultFile);

        if (args.m_bHasPort) {
            options.m_nPort = args.m_nPort;
            options.m_strPortPath = args.m_strPortPath;
        }
        if (args.m_bHasTimeout)
            options.m_nTimeout = args.m_nTimeout;
        options.m_bDeleteAfter = args.m_bDelete;

        const ReadoutOutcome outcome = ReadoutResults(options, document);
        document.Close();
        if (!outcome.m_bSuccess) {
            ReportError(outcome.m_strError, MsgIcon::Exclamation);
            return 1;
        }
        if (outcome.m_nUnknown > 0)
            ReportError(UnknownKindsText(outcome), MsgIcon::Exclamation);
        if (outcome.m_bDeleteRefused) {
            ReportError(LoadString(IDS_READOUT_DELETE_REFUSED), MsgIcon::Exclamation);
            return 1;
        }
        return 0;
    } catch (const CException& e) {
        ReportError(e.GetErrorMessage(), MsgIcon::Exclamation);
        return 1;
    }
}
