#pragma once

#include <QScrollArea>

class CQardaDoc;

// The right pane: shows one result at a time, in the way that suits its
// kind and the display mode.
class CQardaView : public QScrollArea
{
    Q_OBJECT
public:
    explicit CQardaView(CQardaDoc* pDoc, QWidget* pParent = nullptr);

    // Called by the location tree when an item is selected; kind 19 clears.
    void ShowResult(int nKind, const QString& strId, const QString& strDate, const QString& strTime,
                    const QString& strPlaceNo, const QString& strSampleKey);
    int GetMode() const { return m_nMode; }
    int GetKind() const { return m_nKind; }
    void SetValueMode(int nMode);
    void SetHarmonicsMode(int nMode);

signals:
    // The mode or the shown kind changed: command states need a refresh.
    void ModeChanged();

private:
    CQardaDoc* m_pDoc;
    int m_nKind = 19;
    int m_nMode = 9;
    int m_nErrorView = 1;
};
