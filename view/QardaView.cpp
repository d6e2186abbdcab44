#include "view/QardaView.h"

#include "core/Exception.h"
#include "core/Messages.h"
#include "core/RegSettings.h"
#include "resources/StringTable.h"
#include "view/ChooseValuesDlg.h"
#include "view/Curves.h"
#include "view/Harmonics.h"
#include "view/MeasurementTables.h"
#include "view/VectorSettingsDlg.h"
#include "view/WiringCheck.h"
#include "xml/QardaDoc.h"
#include "xml/ResultLookup.h"
#include "xml/XMLNodeMain.h"
#include "xml/XMLNodeResult.h"

#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QFontInfo>
#include <QMenu>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

// The scrolled surface the view draws on; its size is the larger of the
// visible area and the scroll sizes.
class CViewCanvas : public QWidget
{
public:
    explicit CViewCanvas(CQardaView* pView)
        : m_pView(pView)
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
        // The chart of logged values reports the sample under the mouse.
        setMouseTracking(true);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        m_pView->PaintCanvas(&painter);
    }
    void mousePressEvent(QMouseEvent* pEvent) override { m_pView->CanvasMouse(pEvent); }
    void mouseMoveEvent(QMouseEvent* pEvent) override { m_pView->CanvasMouse(pEvent); }
    void mouseReleaseEvent(QMouseEvent* pEvent) override { m_pView->CanvasMouse(pEvent); }

private:
    CQardaView* m_pView;
};

CQardaView::CQardaView(CQardaDoc* pDoc, QWidget* pParent)
    : QScrollArea(pParent)
    , m_pDoc(pDoc)
    , m_strLogoPath(CRegSettings().Get(Setting::Logo))
    , m_nAngleNorm(LoadAngleNorm())
    , m_vectorSettings(LoadVectorSettings())
{
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    pal.setColor(QPalette::Base, Qt::white);
    setPalette(pal);
    setBackgroundRole(QPalette::Window);
    setAutoFillBackground(true);
    viewport()->setPalette(pal);
    viewport()->setAutoFillBackground(true);
    setWidgetResizable(false);
    m_pCanvas = new CViewCanvas(this);
    setWidget(m_pCanvas);
    UpdateCanvasSize();
}

CQardaView::~CQardaView() = default;

// ---------------------------------------------------------------- loading

void CQardaView::ShowResult(ResultKind nKind, const QString& strId, const QString& strDate, const QString& strTime,
                            const QString& strPlaceNo, const QString& strSampleKey)
{
    // A sample of the series already loaded needs no file read.
    if (nKind == ResultKind::Sample && m_cache.m_strFunction == ResultFunction::ContinueValue
        && strId == m_cache.m_strID && strDate == m_cache.m_strDate && strTime == m_cache.m_strTime) {
        if (m_cache.SelectSample(m_cache.FindSample(strSampleKey))) {
            m_nKind = ResultKind::Value;
            ApplyModeRules();
            Repaint();
            emit ModeChanged();
            return;
        }
    }

    m_nKind = ResultKind::Nothing;
    m_scrollSize = QSize(100, 100);
    m_summary.reset();
    m_history.reset();
    m_historyHits.clear();
    m_cache.Clear();
    m_location.Clear();
    if (nKind != ResultKind::Nothing) {
        try {
            LoadResult(nKind, strId, strDate, strTime, strPlaceNo, strSampleKey);
        } catch (const CException& e) {
            // A half-read result is not shown; later selections load afresh.
            m_nKind = ResultKind::Nothing;
            m_cache.Clear();
            m_location.Clear();
            ReportError(e.GetErrorMessage(), MsgIcon::Exclamation);
        }
    }
    ApplyModeRules();
    UpdateCanvasSize();
    Repaint();
    emit ModeChanged();
}

void CQardaView::LoadResult(ResultKind nKind, const QString& strId, const QString& strDate, const QString& strTime,
                            const QString& strPlaceNo, const QString& strSampleKey)
{
    if (m_pDoc && m_pDoc->m_xmlMain.IsValid()) {
        CXMLNodeMain main(&m_pDoc->m_xmlMain);
        if (FindLocation(main, strId))
            m_location.SetFromMain(main);
    }
    if (!m_pDoc || !m_pDoc->m_xmlResult.IsValid())
        return;

    CXMLNodeResult result(&m_pDoc->m_xmlResult);
    ++m_nFileReads;
    if (!FindResult(result, CResultIdentity::Of(nKind, strId, strDate, strTime, strPlaceNo)))
        return;
    m_cache.SetFromResult(result);
    if (nKind == ResultKind::Harmonics)
        m_nMode = DisplayMode::HarmonicsTable;
    if (nKind == ResultKind::Sample) {
        m_cache.SelectSample(m_cache.FindSample(strSampleKey));
        m_nKind = ResultKind::Value;
    } else {
        m_nKind = nKind;
    }
    if (m_nKind == ResultKind::ContinueValue)
        m_chart.Load(m_cache);
}

void CQardaView::ShowLocation(ResultKind nKind, const QString& strName, const std::vector<pugi::xml_node>* pResults)
{
    ShowResult(ResultKind::Nothing, {}, {}, {}, {}, {});
    m_summary = ReadLocationSummary(m_pDoc, nKind, strName, pResults);
    Repaint();
}

void CQardaView::ShowHistory(ResultKind nKind, const QString& strId)
{
    ShowResult(ResultKind::Nothing, {}, {}, {}, {}, {});
    if (!m_pDoc)
        return;
    try {
        // The print header names the location.
        if (m_pDoc->m_xmlMain.IsValid()) {
            CXMLNodeMain main(&m_pDoc->m_xmlMain);
            if (FindLocation(main, strId))
                m_location.SetFromMain(main);
        }
        m_history = ReadHistory(m_pDoc->m_xmlResult, nKind, strId);
    } catch (const CException& e) {
        m_history.reset();
        m_location.Clear();
        ReportError(e.GetErrorMessage(), MsgIcon::Exclamation);
    }
    Repaint();
    emit ModeChanged();
}

// ---------------------------------------------------------------- modes

void CQardaView::ApplyModeRules()
{
    switch (m_nKind) {
    case ResultKind::Value:
        if (m_nMode != DisplayMode::ValueTableVector)
            m_nMode = DisplayMode::ValueTable;
        break;
    case ResultKind::Vector:
        m_nMode = DisplayMode::VectorDiagram;
        break;
    case ResultKind::Harmonics:
        if (m_nMode != DisplayMode::HarmonicsLinear && m_nMode != DisplayMode::HarmonicsLog)
            m_nMode = DisplayMode::HarmonicsTable;
        break;
    case ResultKind::Error:
        m_nMode = m_nErrorView == kErrorViewVector         ? DisplayMode::ErrorVector
                  : m_nErrorView == kErrorViewValuesVector ? DisplayMode::ErrorValuesVector
                                                           : DisplayMode::ErrorValues;
        break;
    case ResultKind::ContinueValue:
    case ResultKind::Selective:
        break;
    default:
        // Kinds without modes, and nothing shown: every display-mode
        // command is greyed.
        m_nMode = DisplayMode::None;
        break;
    }
    UpdateArrowSize();
}

void CQardaView::SetValueMode(DisplayMode nMode)
{
    m_nMode = nMode;
    if (nMode == DisplayMode::ValueTable || nMode == DisplayMode::ValueTableVector)
        m_nKind = ResultKind::Value;
    else if (nMode == DisplayMode::VectorDiagram)
        m_nKind = ResultKind::Vector;
    else if (nMode == DisplayMode::ErrorValues)
        m_nErrorView = kErrorViewValues;
    else if (nMode == DisplayMode::ErrorVector)
        m_nErrorView = kErrorViewVector;
    else if (nMode == DisplayMode::ErrorValuesVector)
        m_nErrorView = kErrorViewValuesVector;
    ApplyModeRules();
    Repaint();
    emit ModeChanged();
}

void CQardaView::SetHarmonicsMode(DisplayMode nMode)
{
    m_nMode = nMode;
    m_scrollSize = QSize(100, 100);
    UpdateCanvasSize();
    Repaint();
    emit ModeChanged();
}

void CQardaView::SetNorm(int nNorm)
{
    m_nAngleNorm = nNorm == kNormDIN410 ? kNormDIN410 : kNormIEC387;
    m_chart.ResetNumbers();
    Repaint();
}

void CQardaView::ReloadVectorSettings()
{
    m_vectorSettings = LoadVectorSettings();
    if (m_nKind == ResultKind::Value || m_nKind == ResultKind::Vector || m_nKind == ResultKind::Error)
        Repaint();
}

bool CQardaView::EditVectorSettings()
{
    CVectorSettingsDlg dlg(this);
    if (dlg.exec() != QDialog::Accepted)
        return false;
    ReloadVectorSettings();
    return true;
}

// ---------------------------------------------------------------- screen

void CQardaView::UpdateArrowSize()
{
    const QSize size = viewport()->size();
    ComputeArrowSize(size.width(), size.height(), m_nMode, m_nArrowWidth, m_nArrowLength);
}

void CQardaView::resizeEvent(QResizeEvent* pEvent)
{
    QScrollArea::resizeEvent(pEvent);
    UpdateCanvasSize();
    UpdateArrowSize();
}

void CQardaView::SetScrollSize(const QSize& size)
{
    if (size == m_scrollSize)
        return;
    m_scrollSize = size;
    // Called while painting: resize once the paint is over.
    QMetaObject::invokeMethod(this, [this] { UpdateCanvasSize(); }, Qt::QueuedConnection);
}

void CQardaView::UpdateCanvasSize()
{
    // The content fills the visible area; only what does not fit scrolls.
    const QSize avail = maximumViewportSize();
    const QSize size(m_scrollSize.width() > avail.width() ? m_scrollSize.width() : avail.width(),
                     m_scrollSize.height() > avail.height() ? m_scrollSize.height() : avail.height());
    if (m_pCanvas->size() != size)
        m_pCanvas->resize(size);
}

void CQardaView::Repaint()
{
    m_pCanvas->update();
}

void CQardaView::PaintCanvas(QPainter* pPainter)
{
    QWidget* pWindow = window();
    if (pWindow && pWindow != this && pWindow->windowTitle() != LoadString(IDS_APP_TITLE))
        pWindow->setWindowTitle(LoadString(IDS_APP_TITLE));
    const QRect client(QPoint(0, 0), viewport()->size());
    const QSize needed = m_summary ? DrawLocationPane(pPainter, client, *m_summary,
                                                      qMax(kMinScreenFontHeight, QFontInfo(font()).pixelSize()))
                                   : OnDraw(pPainter, client);
    // The scroll sizes follow the content, so scroll bars go again when the
    // window grows back.
    SetScrollSize(QSize(needed.width() > client.width() ? needed.width() : 0,
                        needed.height() > client.height() ? needed.height() : 0));
    if (!m_summary && m_nKind == ResultKind::ContinueValue)
        m_chart.DrawOverlay(pPainter);
}

QSize CQardaView::OnDraw(QPainter* pPainter, const QRect& client)
{
    pPainter->setBackgroundMode(Qt::TransparentMode);
    const bool bRemark = !m_cache.m_strRemark.isEmpty();
    QRect rect = client;
    if (bRemark)
        rect.setHeight(client.height() - client.height() / 10);
    QSize needed = DrawContent(pPainter, rect, false);
    if (bRemark) {
        const int w = client.width();
        const int nLeft = client.left() + w / 10;
        const int nRight = client.left() + w - w / 10;
        const int nTop = qMax(rect.top() + needed.height(), rect.top() + rect.height());
        const int nHeight = qMax(client.height() / 10, 4 * kMinScreenFontHeight);
        DrawRemarkBox(pPainter, QRect(nLeft, nTop, nRight - nLeft, nHeight), m_cache.m_strRemark,
                      (nRight - nLeft) / 100, nHeight / 4, m_textPainter);
        needed.setHeight(nTop + nHeight - client.top());
    }
    return needed;
}

QSize CQardaView::DrawContent(QPainter* pPainter, const QRect& rect, bool bPrinter, int nPage)
{
    // The automatic measurement's wide table fits its columns to the width
    // and scrolls by rows; a floor on its text would push text out of cells.
    m_textPainter.m_nMinHeight = bPrinter || m_nKind == ResultKind::Automatic ? 1 : kMinScreenFontHeight;
    if (m_history)
        return DrawHistory(pPainter, rect, *m_history, m_textPainter, bPrinter, bPrinter ? nullptr : &m_historyHits);
    CActualValuesRenderer values(m_cache, m_vectorSettings, m_nAngleNorm, m_textPainter, bPrinter);
    values.m_nArrowWidth = m_nArrowWidth;
    values.m_nArrowLength = m_nArrowLength;
    const CMeasurementTables tables(m_cache, m_textPainter, bPrinter);
    int nFontHeight = 0;
    switch (m_nKind) {
    case ResultKind::Value:
    case ResultKind::Vector: {
        // The wiring hints take the bottom of the rectangle.
        const QList<CWiringHint> hints = CheckWiring(WiringInputOf(m_cache));
        const int nLine = qMax(m_textPainter.m_nMinHeight, rect.height() / 45);
        QRect top = rect;
        top.setHeight(rect.height() - (static_cast<int>(hints.size()) + 2) * nLine * 6 / 5);
        const QSize used = m_nKind == ResultKind::Vector ? values.DrawVectorDiagram(pPainter, top, true, nFontHeight)
                           : m_nMode == DisplayMode::ValueTableVector ? values.DrawValuesAndVectors(pPainter, top)
                                                                      : values.DrawValuesTable(pPainter, top);
        const int y = rect.top() + qMin(used.height(), top.height()) + nLine / 2;
        const int nIndent = rect.width() / 40;
        const int h =
            DrawWiringHints(pPainter, QRect(rect.left() + nIndent, y, rect.width() - 2 * nIndent, rect.bottom() - y),
                            hints, m_textPainter, nLine);
        return QSize(used.width(), y + h - rect.top());
    }
    case ResultKind::Error:
        return tables.DrawErrorMeasurement(pPainter, rect, values, m_nMode);
    case ResultKind::Curve:
        return DrawCurves(pPainter, rect, m_cache, m_textPainter, bPrinter);
    case ResultKind::Harmonics:
        return DrawHarmonics(pPainter, rect, m_cache, m_textPainter, m_nMode, nPage, bPrinter, m_bLandscape);
    case ResultKind::ContinueValue:
        return m_chart.Draw(pPainter, rect, m_cache, m_textPainter, m_nAngleNorm, bPrinter);
    case ResultKind::Register:
        return tables.DrawRegisterTest(pPainter, rect);
    case ResultKind::TmTe:
        return tables.DrawTmTe(pPainter, rect);
    case ResultKind::UBurden:
    case ResultKind::IBurden:
        return tables.DrawBurden(pPainter, rect, values, m_nKind == ResultKind::UBurden);
    case ResultKind::UITransformer:
        return tables.DrawTransformer(pPainter, rect);
    case ResultKind::Automatic:
        return tables.DrawAutomaticMeasurement(pPainter, rect, nPage, m_bLandscape);
    case ResultKind::AuxChannel:
        return tables.DrawAuxChannels(pPainter, rect);
    case ResultKind::Selective:
        return tables.DrawSelective(pPainter, rect, nPage, m_bLandscape);
    case ResultKind::PQSRegister:
        return tables.DrawPqsRegisterTest(pPainter, rect);
    default:
        // Kinds whose renderer is not in yet draw nothing; their modes
        // follow the rules all the same.
        return QSize(0, 0);
    }
}

// ---------------------------------------------------------------- logged values

bool CQardaView::HasSeries() const
{
    return m_nKind == ResultKind::ContinueValue && m_chart.SampleCount(m_cache) > 0;
}

bool CQardaView::CanZoomOut() const
{
    return m_nKind == ResultKind::ContinueValue && m_chart.CanZoomOut(m_cache);
}

void CQardaView::ToggleZoomMode()
{
    m_chart.ToggleZoomMode();
    Repaint();
    emit ModeChanged();
}

void CQardaView::ToggleShowValueMode()
{
    m_chart.ToggleShowValueMode();
    Repaint();
    emit ModeChanged();
}

void CQardaView::ZoomOut()
{
    if (!CanZoomOut())
        return;
    m_chart.ZoomOut(m_cache);
    Repaint();
    emit ModeChanged();
}

bool CQardaView::ChooseValues()
{
    CChooseValuesDlg dlg(this);
    dlg.m_nQuantity = m_chart.m_nDialogQuantity;
    for (int p = 0; p < 3; ++p)
        dlg.m_bPhases[p] = m_chart.m_bDialogPhases[p];
    if (dlg.exec() != QDialog::Accepted)
        return false;
    m_chart.SetChoice(dlg.m_nQuantity, dlg.m_bPhases);
    Repaint();
    emit ModeChanged();
    return true;
}

void CQardaView::CanvasMouse(QMouseEvent* pEvent)
{
    if (m_history && pEvent->type() == QEvent::MouseButtonPress && pEvent->button() == Qt::LeftButton) {
        const QPointF pos = pEvent->position();
        if (const CHistoryHit* pHit = FindHistoryHit(m_historyHits, pos, 8)) {
            const CHistory::CResult& r = m_history->m_results.value(pHit->m_nResult);
            emit HistoryResultChosen(r.m_strDate, r.m_strTime, pHit->m_strPlaceNo);
        }
        return;
    }
    if (m_nKind != ResultKind::ContinueValue)
        return;
    const QPoint pos = pEvent->position().toPoint();
    bool bChanged = false;
    int nSample = -1;
    if (pEvent->type() == QEvent::MouseButtonPress && pEvent->button() == Qt::LeftButton) {
        bChanged = m_chart.MousePress(pos, m_cache, nSample);
    } else if (pEvent->type() == QEvent::MouseButtonRelease && pEvent->button() == Qt::LeftButton) {
        bChanged = m_chart.MouseRelease(pos, m_cache);
        if (bChanged)
            emit ModeChanged();
    } else if (pEvent->type() == QEvent::MouseMove) {
        bChanged = m_chart.MouseMove(pos);
        emit StatusMessage(m_chart.StatusAt(pos, m_cache, m_nAngleNorm));
    }
    if (bChanged)
        Repaint();
    if (nSample >= 0)
        emit SampleChosen(nSample);
}

// ---------------------------------------------------------------- context menu

void CQardaView::SetContextMenus(QMenu* pValues, QMenu* pHarmonics, QMenu* pContinuous, QMenu* pError,
                                 QAction* pVectorSettings)
{
    m_pValuesMenu = pValues;
    m_pHarmonicsMenu = pHarmonics;
    m_pContinuousMenu = pContinuous;
    m_pErrorMenu = pError;
    m_pVectorSettingsAction = pVectorSettings;
}

QMenu* CQardaView::CreateContextMenu(QWidget* pParent) const
{
    QMenu* pSource = nullptr;
    switch (m_nKind) {
    case ResultKind::Value:
    case ResultKind::Vector:
        pSource = m_pValuesMenu;
        break;
    case ResultKind::Error:
        pSource = m_pErrorMenu;
        break;
    case ResultKind::Harmonics:
        pSource = m_pHarmonicsMenu;
        break;
    case ResultKind::ContinueValue:
        pSource = m_pContinuousMenu;
        break;
    default: break;
    }
    if (!pSource)
        return nullptr;
    // The frame's own actions, so its handlers check and enable the items.
    auto* pMenu = new QMenu(pParent);
    pMenu->addActions(pSource->actions());
    if ((m_nMode == DisplayMode::VectorDiagram || m_nMode == DisplayMode::ErrorVector) && m_pVectorSettingsAction) {
        pMenu->addSeparator();
        pMenu->addAction(m_pVectorSettingsAction);
    }
    return pMenu;
}

void CQardaView::contextMenuEvent(QContextMenuEvent* pEvent)
{
    QMenu* pMenu = CreateContextMenu(this);
    if (!pMenu) {
        QScrollArea::contextMenuEvent(pEvent);
        return;
    }
    // Right- and bottom-aligned to the cursor.
    const QSize size = pMenu->sizeHint();
    pMenu->exec(pEvent->globalPos() - QPoint(size.width(), size.height()));
    delete pMenu;
}

// ---------------------------------------------------------------- printing

QPrinter* CQardaView::GetPrinter()
{
    if (!m_pPrinter)
        m_pPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return m_pPrinter.get();
}

int CQardaView::RowCount() const
{
    if (m_nKind == ResultKind::Harmonics)
        return static_cast<int>(m_cache.KindSeries(QStringLiteral("Harm")).size());
    if (m_nKind == ResultKind::Selective)
        return static_cast<int>(SelectiveRows(m_cache).size());
    return 0;
}

int CQardaView::GetPageCount(bool bLandscape) const
{
    if (m_history)
        return 1;
    if (m_nKind == ResultKind::Automatic)
        return qMax(1, AutomaticPageCount(m_cache, bLandscape));
    return PrintPageCount(m_nKind, m_nMode, RowCount(), bLandscape);
}

bool CQardaView::Print()
{
    m_bPreview = false;
    QPrintDialog dlg(GetPrinter(), this);
    dlg.setOption(QAbstractPrintDialog::PrintPageRange, false);
    if (dlg.exec() != QDialog::Accepted)
        return false;
    return PrintDocument(GetPrinter());
}

void CQardaView::PrintPreview()
{
    m_bPreview = true;
    QPrintPreviewDialog dlg(GetPrinter(), this);
    connect(&dlg, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* pPrinter) { PrintDocument(pPrinter); });
    dlg.exec();
}

bool CQardaView::PrintToPdf(const QString& strPath)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(strPath);
    printer.setPageLayout(GetPrinter()->pageLayout());
    return PrintDocument(&printer);
}

bool CQardaView::PrintDocument(QPrinter* pPrinter)
{
    m_bLandscape = pPrinter->pageLayout().orientation() == QPageLayout::Landscape;
    const int nPages = GetPageCount(m_bLandscape);
    QPainter painter;
    if (!painter.begin(pPrinter)) {
        const QString strTarget =
            pPrinter->outputFileName().isEmpty() ? pPrinter->printerName() : pPrinter->outputFileName();
        ReportError(LoadString(IDS_PRINT_FAILED).arg(strTarget), MsgIcon::Exclamation);
        return false;
    }
    const QSize page(pPrinter->width(), pPrinter->height());
    for (int n = 1; n <= nPages; ++n) {
        if (n > 1)
            pPrinter->newPage();
        DrawPrintPage(&painter, page, n, nPages);
    }
    return painter.end();
}

void CQardaView::DrawPrintPage(QPainter* pPainter, const QSize& page, int nPage, int nPageCount)
{
    const int w = page.width(), h = page.height();
    const int t = h / 30;
    const bool bRemark = !m_cache.m_strRemark.isEmpty();
    const bool bHarmonicsTable = m_nKind == ResultKind::Harmonics && m_nMode == DisplayMode::HarmonicsTable;
    pPainter->setBackgroundMode(Qt::TransparentMode);

    if (nPage == 1) {
        const QRect header(w / 20, t, w - w / 10, (h - t) / 4);
        m_nHeaderHeight =
            DrawPageHeader(pPainter, header, m_cache, m_location, m_nKind, m_strLogoPath, m_textPainter) + t;
        pPainter->save();
        pPainter->translate(0, m_nHeaderHeight);
        // The content keeps to the header's margins.
        QRect rect(w / 20, 0, w - w / 10, h - m_nHeaderHeight);
        if (!bHarmonicsTable || nPageCount == 1)
            rect.setHeight((bRemark ? h * 9 / 10 : h * 95 / 100) - m_nHeaderHeight);
        DrawContent(pPainter, rect, true, 1);
        // A paginated table that prints on one page keeps its remark there.
        const bool bPaginated =
            m_nKind == ResultKind::Automatic || m_nKind == ResultKind::Selective || bHarmonicsTable;
        const bool bRemarkHere = bRemark && !(bPaginated && nPageCount > 1);
        if (bRemarkHere) {
            QRect box(w / 20, rect.top() + rect.height(), w - w / 10, h / 10);
            // Only the top moves down, so the box keeps to the page.
            if (m_bLandscape && m_nKind != ResultKind::Harmonics)
                box.setTop(box.top() + box.height() / 10);
            DrawRemarkBox(pPainter, box, m_cache.m_strRemark, box.width() / 500,
                          m_bLandscape ? box.height() / 5 : box.height() / 8, m_textPainter);
        }
        pPainter->restore();
        return;
    }

    // Later pages of a paginated table start below where the header stood
    // on page 1, in print and preview alike, and end above the remark box.
    const bool bRemarkHere = nPage == nPageCount && bRemark;
    const int nBottom = bRemarkHere ? h - h / 5 : h * 95 / 100;
    DrawContent(pPainter, QRect(w / 20, m_nHeaderHeight, w - w / 10, nBottom - m_nHeaderHeight), true, nPage);
    if (bRemarkHere) {
        const QRect box(w / 10, h - h / 5, w - w / 5, h / 10);
        DrawRemarkBox(pPainter, box, m_cache.m_strRemark, box.width() / 500,
                      m_bLandscape ? box.height() / 5 : box.height() / 8, m_textPainter);
    }
}
