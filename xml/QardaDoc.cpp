#include "xml/QardaDoc.h"

#include "core/RegSettings.h"
#include "xml/XMLException.h"

CQardaDoc::CQardaDoc(QObject* pParent)
    : QObject(pParent)
{
    const CRegSettings settings;
    const QString strMain = settings.GetString(QStringLiteral("MainFile"), QStringLiteral("Main.xml"));
    const QString strResult = settings.GetString(QStringLiteral("ResultFile"), QStringLiteral("Result.xml"));
    OpenReporting(m_xmlMain, strMain);
    OpenReporting(m_xmlResult, strResult);
}

CQardaDoc::CQardaDoc(const QString& strMainFile, const QString& strResultFile, QObject* pParent)
    : QObject(pParent)
{
    OpenReporting(m_xmlMain, strMainFile);
    OpenReporting(m_xmlResult, strResultFile);
}

CQardaDoc::~CQardaDoc()
{
    m_xmlMain.Close();
    m_xmlResult.Close();
}

void CQardaDoc::OpenReporting(CXMLDocument& doc, const QString& strPath)
{
    try {
        doc.Open(strPath);
    } catch (const CXMLException& e) {
        e.ReportError(MsgIcon::None);
    }
}

void CQardaDoc::OpenFiles(const QString& strMainFile, const QString& strResultFile)
{
    m_xmlMain.Close();
    OpenReporting(m_xmlMain, strMainFile);
    m_xmlResult.Close();
    OpenReporting(m_xmlResult, strResultFile);
    emit FilesOpened();
}
