#include "xml/QardaDoc.h"

#include "xml/XMLException.h"

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
