#pragma once

#include "core/Kinds.h"

#include "view/ActualValues.h"
#include "view/ContinueValues.h"
#include "view/History.h"
#include "view/LocationPane.h"
#include "view/PageHeader.h"
#include "view/ResultCache.h"
#include "view/TextPainter.h"

#include <QPointer>
#include <QScrollArea>

#include <memory>
#include <optional>

class CQardaDoc;
class QAction;
class QMenu;
class QMouseEvent;
class QPrinter;

// The right pane: shows one result at a time, in the way that suits its
// kind and the display mode, and prints it with a page header. Everything
// it draws comes from its caches, filled when a result is selected.
class CQardaView : public QScrollArea
{
    Q_OBJECT
public:
    explicit CQardaView(CQardaDoc* pDoc, QWidget* pParent = nullptr);
    ~CQardaView() override;

    // Called by the location tree when an item is selected; kind 19 clears.
    void ShowResult(ResultKind nKind, const QString& strId, const QString& strDate, const QString& strTime,
                    const QString& strPlaceNo, const QString& strSampleKey);
    // A group or location: its data and result counts instead of a result.
    // pResults: the result elements of the group or location, when known.
    void ShowLocation(ResultKind nKind, const QString& strName,
                      const std::vector<pugi::xml_node>* pResults = nullptr);
    const std::optional<CLocationSummary>& GetLocationSummary() const { return m_summary; }
    // A kind folder of a location: how that kind's quantities changed over
    // its results. Prints like a result.
    void ShowHistory(ResultKind nKind, const QString& strId);
    const std::optional<CHistory>& GetHistory() const { return m_history; }
    // Below this text height values are unreadable: the screen keeps it and
    // scrolls instead.
    static constexpr int kMinScreenFontHeight = 11;
    DisplayMode GetMode() const { return m_nMode; }
    ResultKind GetKind() const { return m_nKind; }
    // What an error measurement shows; kept while other kinds are shown.
    static constexpr int kErrorViewVector = 0, kErrorViewValues = 1, kErrorViewValuesVector = 2;
    int GetErrorView() const { return m_nErrorView; }
    void SetValueMode(DisplayMode nMode);
    void SetHarmonicsMode(DisplayMode nMode);

    // Settings the frame changes: logo of the print header, angle norm, and
    // the vector settings after their dialog was closed with OK.
    QString GetLogoPath() const { return m_strLogoPath; }
    void SetLogoPath(const QString& strPath) { m_strLogoPath = strPath; }
    void SetNorm(int nNorm);
    void ReloadVectorSettings();
    // Runs the vector settings dialog; on OK reloads and repaints.
    bool EditVectorSettings();

    // The frame's menus that the context menu shows (the frame keeps them,
    // so its update handlers check and enable their items).
    void SetContextMenus(QMenu* pValues, QMenu* pHarmonics, QMenu* pContinuous, QMenu* pError,
                         QAction* pVectorSettings);
    // The menu the right mouse button opens for what is shown; nullptr for
    // kinds without one. The caller owns it.
    QMenu* CreateContextMenu(QWidget* pParent) const;

    // Printing: the print dialog, the preview, or straight into a PDF file.
    bool Print();
    void PrintPreview();
    bool PrintToPdf(const QString& strPath);
    // Draws every page of the shown result onto the printer; false (and
    // a message) when the printer or file cannot be opened.
    bool PrintDocument(QPrinter* pPrinter);
    // The printer that print, preview and page setup share.
    QPrinter* GetPrinter();
    // Draws one page (1-based) into a page of the given size.
    void DrawPrintPage(QPainter* pPainter, const QSize& page, int nPage, int nPageCount);
    int GetPageCount(bool bLandscape) const;

    // Draws what the screen shows into a client rectangle; returns the size
    // the content needed (remark box included).
    QSize OnDraw(QPainter* pPainter, const QRect& client);

    // The chart of logged values: its two mouse modes, zoom out, the
    // choice of its series (dialog), and whether it has samples at all.
    bool IsZoomMode() const { return m_chart.m_bZoomMode; }
    bool IsShowValueMode() const { return m_chart.m_bShowValueMode; }
    void ToggleZoomMode();
    void ToggleShowValueMode();
    bool HasSeries() const;
    bool CanZoomOut() const;
    void ZoomOut();
    bool ChooseValues();
    const CContinuousChart& GetChart() const { return m_chart; }

    const CResultCache& GetCache() const { return m_cache; }
    const CLocationCache& GetLocation() const { return m_location; }
    QSize GetScrollSize() const { return m_scrollSize; }
    int GetArrowWidth() const { return m_nArrowWidth; }
    int GetArrowLength() const { return m_nArrowLength; }
    // How many times a result was read from the result file.
    int GetFileReadCount() const { return m_nFileReads; }

signals:
    // The mode or the shown kind changed: command states need a refresh.
    void ModeChanged();
    // A click in show-value mode chose the n-th sample (from 0) of the chart.
    void SampleChosen(int nSample);
    // What the status bar shows for the mouse over the chart.
    void StatusMessage(const QString& strText);
    // A click on a point of the history chose that result.
    void HistoryResultChosen(const QString& strDate, const QString& strTime, const QString& strPlaceNo);

protected:
    void resizeEvent(QResizeEvent* pEvent) override;
    void contextMenuEvent(QContextMenuEvent* pEvent) override;

private:
    friend class CViewCanvas;
    void LoadResult(ResultKind nKind, const QString& strId, const QString& strDate, const QString& strTime,
                    const QString& strPlaceNo, const QString& strSampleKey);
    void ApplyModeRules();
    void UpdateArrowSize();
    void SetScrollSize(const QSize& size);
    void UpdateCanvasSize();
    void Repaint();
    void PaintCanvas(QPainter* pPainter);
    void CanvasMouse(QMouseEvent* pEvent);
    // The renderer of the kind; returns the size it used.
    // nPage is 0 on the screen and the page number when printing.
    QSize DrawContent(QPainter* pPainter, const QRect& rect, bool bPrinter, int nPage = 0);
    int RowCount() const;

    CQardaDoc* m_pDoc;
    QWidget* m_pCanvas = nullptr;
    ResultKind m_nKind = ResultKind::Nothing;
    DisplayMode m_nMode = DisplayMode::None;
    int m_nErrorView = kErrorViewValues;
    CResultCache m_cache;
    CLocationCache m_location;
    QString m_strLogoPath;
    int m_nAngleNorm = kNormIEC387;
    CVectorSettings m_vectorSettings;
    int m_nArrowWidth = 3;
    int m_nArrowLength = 9;
    int m_nHeaderHeight = 800;
    bool m_bPreview = false;
    bool m_bLandscape = false;
    CTextPainter m_textPainter;
    CContinuousChart m_chart;
    QSize m_scrollSize{100, 100};
    int m_nFileReads = 0;
    std::unique_ptr<QPrinter> m_pPrinter;
    std::optional<CLocationSummary> m_summary;
    std::optional<CHistory> m_history;
    // Where the screen drew the history's points.
    QList<CHistoryHit> m_historyHits;

    QPointer<QMenu> m_pValuesMenu, m_pHarmonicsMenu, m_pContinuousMenu, m_pErrorMenu;
    QPointer<QAction> m_pVectorSettingsAction;
};
