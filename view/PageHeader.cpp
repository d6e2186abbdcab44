#include "view/PageHeader.h"

#include "core/Kinds.h"
#include "resources/StringTable.h"
#include "view/ResultCache.h"
#include "view/TextPainter.h"
#include "xml/XMLNodeMain.h"

#include <QImage>
#include <QPainter>

namespace {

void CopyAddress(CLocationCache::CAddress& to, const CXMLNodeAddress& from)
{
    to.m_strFirstname = from.m_strFirstname;
    to.m_strName = from.m_strName;
    to.m_strStreet = from.m_strStreet;
    to.m_strPostcode = from.m_strPostcode;
    to.m_strCity = from.m_strCity;
    to.m_strCountry = from.m_strCountry;
    to.m_strNo = from.m_strNo;
}

QString JoinNonEmpty(const QStringList& parts)
{
    QStringList out;
    for (const QString& s : parts)
        if (!s.isEmpty())
            out.append(s);
    return out.join(QLatin1Char(' '));
}

QString Labelled(unsigned nId, const QString& strValue)
{
    return LoadString(nId) + QStringLiteral(": ") + strValue;
}

QStringList AddressLines(const CLocationCache::CAddress& a)
{
    return {JoinNonEmpty({a.m_strFirstname, a.m_strName}), a.m_strStreet, JoinNonEmpty({a.m_strPostcode, a.m_strCity}),
            a.m_strCountry, Labelled(IDS_HDR_NO, a.m_strNo)};
}

// The bitmap at its own size, centred in the cell where it is smaller,
// stretched to the cell where it is larger.
void DrawLogo(QPainter* pPainter, const QRect& cell, const QString& strPath)
{
    if (strPath.isEmpty() || cell.width() <= 0 || cell.height() <= 0)
        return;
    const QImage image(strPath);
    if (image.isNull())
        return;
    QRect target(cell.topLeft(), image.size());
    if (image.width() < cell.width())
        target.moveLeft(cell.left() + (cell.width() - image.width()) / 2);
    else
        target.setWidth(cell.width());
    if (image.height() < cell.height())
        target.moveTop(cell.top() + (cell.height() - image.height()) / 2);
    else
        target.setHeight(cell.height());
    pPainter->drawImage(target, image);
}

} // namespace

void CLocationCache::SetFromMain(const CXMLNodeMain& main)
{
    m_strID = main.m_General.m_strID;
    m_strManufacturer = main.m_Meter.m_strManufacturer;
    m_strManufNo = main.m_Meter.m_strManufNo;
    m_strCustomNo = main.m_Meter.m_strCustomNo;
    m_strOperator = main.m_Net.m_strOperator;
    m_strSupplier = main.m_Net.m_strSupplier;
    CopyAddress(m_site, main.m_Location);
    CopyAddress(m_customer, main.m_Customer);
}

QString HeaderTitleLine(const CResultCache& cache, ResultKind nKind)
{
    const unsigned nId = cache.m_strAdjustData == u"Error" ? IDS_HDR_TITLE_UNADJUSTED : IDS_HDR_TITLE;
    return LoadString(nId) + QStringLiteral(" : ") + KindTitle(nKind);
}

int DrawPageHeader(QPainter* pPainter, const QRect& rect, const CResultCache& cache, const CLocationCache& location,
                   ResultKind nKind, const QString& strLogoPath, const CTextPainter& tp)
{
    const int l = rect.left(), t = rect.top(), r = rect.left() + rect.width();
    const int W = rect.width(), H = rect.height();
    const int nGap = H / 30;
    const int nPad = qMax(1, W / 200);
    // Keeps the text of a framed block off its top and bottom lines.
    const int nPadY = qMax(1, H / 80);
    const QString strArial = FaceArial();

    pPainter->save();
    pPainter->setBackgroundMode(Qt::TransparentMode);
    pPainter->setBrush(Qt::NoBrush);
    QPen pen(Qt::black);
    pen.setWidth(qMax(1, W / 500));
    auto frame = [&](int x1, int y1, int x2, int y2) {
        pPainter->save();
        pPainter->setPen(pen);
        pPainter->setBrush(Qt::NoBrush);
        pPainter->drawRect(x1, y1, x2 - x1, y2 - y1);
        pPainter->restore();
    };

    // Top row: date, time and the device cell in the right quarter, the
    // logo in the rest.
    const int x0 = l + W * 3 / 4 + W / 100;
    int y = t;
    y += tp.DrawTextBox(pPainter, x0, y, r, y + H / 12, Labelled(IDS_HDR_DATE, cache.m_strDate), H / 19, kAlignLeft,
                        false, false, false, strArial, false)
             .height();
    y += tp.DrawTextBox(pPainter, x0, y, r, y + H / 12, Labelled(IDS_HDR_TIME, cache.m_strTime), H / 19, kAlignLeft,
                        false, false, false, strArial, false)
             .height();
    const QString strDevice = LoadString(IDS_HDR_COMPANY) + QLatin1Char('\n')
                              + LoadString(IDS_HDR_DEVICE_TYPE).arg(cache.m_strDeviceTyp) + QLatin1Char('\n')
                              + LoadString(IDS_HDR_DEVICE_NO).arg(cache.m_strDeviceNo);
    const int nDeviceTop = y;
    y += tp.DrawTextBox(pPainter, x0 + nPad, y + nPadY, r, y + H * 3 / 12, strDevice, H / 20, kAlignLeft, false, true,
                        false, strArial, true)
             .height()
         + 2 * nPadY;
    frame(x0, nDeviceTop, r, y);
    const int nTopRowBottom = y;
    DrawLogo(pPainter, QRect(QPoint(l, t), QPoint(x0 - W / 100 - 1, nTopRowBottom - 1)), strLogoPath);

    // The location's ID, bold, across the whole width.
    y = nTopRowBottom + nGap;
    const int nIdTop = y;
    y += tp.DrawTextBox(pPainter, l + nPad, y + nPadY, r, y + H / 12, LoadString(IDS_HDR_ID) + location.m_strID,
                        H / 19, kAlignLeft, false, false, true, strArial, false)
             .height()
         + 2 * nPadY;
    frame(l, nIdTop, r, y);

    // Meter, site and customer side by side, framed to one height.
    y += nGap;
    const int nBlockTop = y;
    const int nBlockWidth = (W - 2 * nGap) / 3;
    QStringList meter = {Labelled(IDS_HDR_MANUFACTURER, location.m_strManufacturer),
                         Labelled(IDS_HDR_MANUF_NO, location.m_strManufNo),
                         Labelled(IDS_HDR_CUSTOM_NO, location.m_strCustomNo)};
    if (!cache.m_strPlaceNo.isEmpty())
        meter.append(LoadString(IDS_HDR_PLACE_NO) + cache.m_strPlaceNo);
    meter.append(Labelled(IDS_HDR_OPERATOR, location.m_strOperator));
    meter.append(Labelled(IDS_HDR_SUPPLIER, location.m_strSupplier));
    QStringList site = AddressLines(location.m_site);
    if (!cache.m_strPX900Adr.isEmpty())
        site.append(Labelled(IDS_HDR_PX900_ADDRESS, cache.m_strPX900Adr));
    const QStringList customer = AddressLines(location.m_customer);
    const struct
    {
        unsigned nTitle;
        const QStringList* pLines;
    } blocks[3] = {{IDS_HDR_METER, &meter}, {IDS_HDR_SITE, &site}, {IDS_HDR_CUSTOMER, &customer}};
    int nBlockBottom = nBlockTop;
    const int nLineHeight = H / 24;
    for (int i = 0; i < 3; ++i) {
        const int bl = l + i * (nBlockWidth + nGap);
        const int br = i == 2 ? r : bl + nBlockWidth;
        int yb = nBlockTop + nPadY;
        yb += tp.DrawTextBox(pPainter, bl + nPad, yb, br, yb + H / 12, LoadString(blocks[i].nTitle), nLineHeight,
                             kAlignLeft, false, false, true, strArial, false)
                  .height();
        yb += tp.DrawTextBox(pPainter, bl + nPad, yb, br, yb + H, blocks[i].pLines->join(QLatin1Char('\n')),
                             nLineHeight, kAlignLeft, false, true, false, strArial, true)
                  .height();
        nBlockBottom = qMax(nBlockBottom, yb + nPadY);
    }
    for (int i = 0; i < 3; ++i) {
        const int bl = l + i * (nBlockWidth + nGap);
        frame(bl, nBlockTop, i == 2 ? r : bl + nBlockWidth, nBlockBottom);
    }

    // The title line.
    y = nBlockBottom + nGap;
    const int nTitleTop = y;
    y += tp.DrawTextBox(pPainter, l + nPad, y + nPadY, r, y + H / 12, HeaderTitleLine(cache, nKind), H / 19,
                        kAlignLeft, false, false, true, strArial, false)
             .height()
         + 2 * nPadY;
    frame(l, nTitleTop, r, y);
    pPainter->restore();
    return y - t;
}

CPageRows PageRowsFor(bool bLandscape)
{
    return bLandscape ? CPageRows{7, 20} : CPageRows{14, 35};
}

int PrintPageCount(ResultKind nKind, DisplayMode nMode, int nRows, bool bLandscape)
{
    if (!((nKind == ResultKind::Harmonics && nMode == DisplayMode::HarmonicsTable) || nKind == ResultKind::Selective))
        return 1;
    const CPageRows rows = PageRowsFor(bLandscape);
    if (nRows <= rows.m_nFirst)
        return 1;
    return 1 + (nRows - rows.m_nFirst + rows.m_nFurther - 1) / rows.m_nFurther;
}

void DrawRemarkBox(QPainter* pPainter, const QRect& box, const QString& strRemark, int nPenWidth, int nFontHeight,
                   const CTextPainter& tp)
{
    pPainter->save();
    pPainter->setBackgroundMode(Qt::TransparentMode);
    QPen pen(Qt::black);
    pen.setWidth(qMax(1, nPenWidth));
    pPainter->setPen(pen);
    pPainter->setBrush(Qt::NoBrush);
    // The whole frame inside the box, so the bottom line is not cut off at
    // the edge of the window.
    const int nHalf = pen.width() / 2;
    pPainter->drawRect(box.adjusted(nHalf, nHalf, -nHalf - 1, -nHalf - 1));
    const int nPad = qMax(1, pen.width());
    tp.DrawTextBox(pPainter, box.left() + nPad, box.top() + nPad, box.left() + box.width() - nPad,
                   box.top() + box.height() - nPad, LoadString(IDS_REMARK_LABEL) + QStringLiteral(": ") + strRemark,
                   nFontHeight, kAlignLeft, false, true, false, FaceArial(), true);
    pPainter->restore();
}
