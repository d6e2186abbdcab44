#pragma once

#include "core/Kinds.h"

#include <QRect>
#include <QString>

class QPainter;
class CTextPainter;
class CXMLNodeMain;
struct CResultCache;

// The location fields that the page header shows, copied when a result is
// selected so that printing reads nothing from the files.
struct CLocationCache
{
    QString m_strID;
    QString m_strManufacturer, m_strManufNo, m_strCustomNo;
    QString m_strOperator, m_strSupplier;
    // Site ("Location") and customer ("Customer") addresses.
    struct CAddress
    {
        QString m_strFirstname, m_strName, m_strStreet, m_strPostcode, m_strCity, m_strCountry, m_strNo;
    };
    CAddress m_site;
    CAddress m_customer;

    void Clear() { *this = CLocationCache(); }
    void SetFromMain(const CXMLNodeMain& main);
};

// The title line: "Messwerte" (or the text for a device that is not adjusted)
// + " : " + the kind's title.
QString HeaderTitleLine(const CResultCache& cache, ResultKind nKind);

// Draws the page header of page 1 into the rectangle: date, time, device,
// logo, location ID, meter, site and customer blocks and the title line.
// A logo that cannot be read is left out. Returns the height used.
int DrawPageHeader(QPainter* pPainter, const QRect& rect, const CResultCache& cache, const CLocationCache& location,
                   ResultKind nKind, const QString& strLogoPath, const CTextPainter& textPainter);

// Rows on the first and on every further printed page of a paginated table.
struct CPageRows
{
    int m_nFirst;
    int m_nFurther;
};
CPageRows PageRowsFor(bool bLandscape);

// Pages a result needs: the harmonics table and the selective power table
// paginate their nRows rows; every other kind prints on one page.
int PrintPageCount(ResultKind nKind, DisplayMode nMode, int nRows, bool bLandscape);

// The remark box: a frame with "Bemerkung: " + the remark inside, the text
// laid out by the text-box routine.
void DrawRemarkBox(QPainter* pPainter, const QRect& box, const QString& strRemark, int nPenWidth, int nFontHeight,
                   const CTextPainter& textPainter);
