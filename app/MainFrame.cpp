#include "app/MainFrame.h"

#include "resources/StringTable.h"
#include "xml/QardaDoc.h"
#include "xml/XMLNodeMain.h"
#include "xml/XMLNodeResult.h"

#include <QLabel>

CMainFrame::CMainFrame(CQardaDoc* pDoc, QWidget* pParent)
    : QMainWindow(pParent)
    , m_pDoc(pDoc)
    , m_pSummary(new QLabel(this))
{
    setWindowTitle(LoadString(IDS_APP_TITLE));
    m_pSummary->setAlignment(Qt::AlignCenter);
    setCentralWidget(m_pSummary);
    resize(900, 600);
    connect(pDoc, &CQardaDoc::FilesOpened, this, &CMainFrame::UpdateSummary);
    UpdateSummary();
}

void CMainFrame::UpdateSummary()
{
    auto count = [](CXMLDocument& doc, const QString& strQuery) {
        if (!doc.IsValid())
            return -1;
        CXMLNode node(&doc);
        node.Open(strQuery);
        return node.GetRecordCount();
    };
    const int nLocations = count(m_pDoc->m_xmlMain, QStringLiteral(".//Main"));
    const int nResults = count(m_pDoc->m_xmlResult, QStringLiteral("Result"));
    auto line = [](const QString& strFile, int n) {
        return n < 0 ? strFile + QStringLiteral(": –") : strFile + QStringLiteral(": ") + QString::number(n);
    };
    m_pSummary->setText(line(m_pDoc->m_xmlMain.GetFileName(), nLocations) + u'\n'
                        + line(m_pDoc->m_xmlResult.GetFileName(), nResults));
}
