#include "resources/Icons.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <numbers>

namespace {

const QColor kInk(40, 40, 40);
const QColor kBlue(30, 90, 180);
const QColor kGreen(30, 140, 60);
const QColor kRed(200, 40, 40);
const QColor kYellow(235, 190, 60);
const QColor kPaper(250, 250, 245);

QPixmap Canvas(int w, int h)
{
    QPixmap pm(w, h);
    pm.fill(Qt::transparent);
    return pm;
}

void Page(QPainter& p, const QRectF& r)
{
    p.setPen(QPen(kInk, 1));
    p.setBrush(kPaper);
    QPainterPath path;
    path.moveTo(r.left(), r.top());
    path.lineTo(r.right() - 3, r.top());
    path.lineTo(r.right(), r.top() + 3);
    path.lineTo(r.right(), r.bottom());
    path.lineTo(r.left(), r.bottom());
    path.closeSubpath();
    p.drawPath(path);
}

void Folder(QPainter& p, const QColor& c)
{
    p.setPen(QPen(c.darker(150), 1));
    p.setBrush(c);
    QPainterPath path;
    path.moveTo(1.5, 3.5);
    path.lineTo(6.5, 3.5);
    path.lineTo(8, 5);
    path.lineTo(14.5, 5);
    path.lineTo(14.5, 13.5);
    path.lineTo(1.5, 13.5);
    path.closeSubpath();
    p.drawPath(path);
}

void Plus(QPainter& p, double x, double y, const QColor& c = kGreen)
{
    p.setPen(QPen(c, 2, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(x - 3, y), QPointF(x + 3, y));
    p.drawLine(QPointF(x, y - 3), QPointF(x, y + 3));
}

void Cross(QPainter& p, double x, double y, double s = 3)
{
    p.setPen(QPen(kRed, 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(x - s, y - s), QPointF(x + s, y + s));
    p.drawLine(QPointF(x - s, y + s), QPointF(x + s, y - s));
}

void Arrow(QPainter& p, QPointF from, QPointF to, const QColor& c)
{
    p.setPen(QPen(c, 2, Qt::SolidLine, Qt::FlatCap));
    const QPointF d = to - from;
    const double len = std::hypot(d.x(), d.y());
    const QPointF u = d / len;
    const QPointF n(-u.y(), u.x());
    p.drawLine(from, to - u * 3);
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawPolygon(QPolygonF{to, to - u * 4 + n * 3, to - u * 4 - n * 3});
}

void Pin(QPainter& p, double x, double y, const QColor& c)
{
    // A map pin: a measuring location.
    p.setPen(QPen(c.darker(160), 1));
    p.setBrush(c);
    QPainterPath path;
    path.moveTo(x, y + 6);
    path.cubicTo(x - 5, y, x - 4, y - 5, x, y - 5);
    path.cubicTo(x + 4, y - 5, x + 5, y, x, y + 6);
    p.drawPath(path);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(x, y - 1.5), 1.5, 1.5);
}

void Magnifier(QPainter& p, bool bPlus, bool bMinus)
{
    p.setPen(QPen(kInk, 1.5));
    p.setBrush(QColor(210, 230, 250));
    p.drawEllipse(QPointF(6, 6), 4.5, 4.5);
    p.setPen(QPen(kInk, 2.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(9.5, 9.5), QPointF(14, 13.5));
    p.setPen(QPen(kBlue, 1.5));
    if (bPlus || bMinus)
        p.drawLine(QPointF(3.5, 6), QPointF(8.5, 6));
    if (bPlus)
        p.drawLine(QPointF(6, 3.5), QPointF(6, 8.5));
}

void Printer(QPainter& p)
{
    p.setPen(QPen(kInk, 1));
    p.setBrush(kPaper);
    p.drawRect(QRectF(4.5, 1.5, 7, 5));
    p.setBrush(QColor(170, 170, 170));
    p.drawRoundedRect(QRectF(1.5, 6.5, 13, 5), 1, 1);
    p.setBrush(kPaper);
    p.drawRect(QRectF(4.5, 10.5, 7, 3.5));
}

void Gear(QPainter& p, QPointF c, double r)
{
    p.setPen(QPen(kInk, 1));
    p.setBrush(QColor(150, 150, 160));
    QPolygonF poly;
    for (int i = 0; i < 16; ++i) {
        const double a = i * M_PI / 8;
        const double rr = (i % 2 == 0) ? r : r * 0.72;
        poly << c + QPointF(std::cos(a) * rr, std::sin(a) * rr);
    }
    p.drawPolygon(poly);
    p.setBrush(Qt::white);
    p.drawEllipse(c, r * 0.3, r * 0.3);
}

void Disk(QPainter& p)
{
    p.setPen(QPen(kInk, 1));
    p.setBrush(kBlue);
    p.drawRect(QRectF(1.5, 1.5, 12, 12));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4.5, 1.5, 6, 4));
    p.setBrush(QColor(220, 220, 220));
    p.drawRect(QRectF(3.5, 8.5, 8, 5));
}

void Device(QPainter& p)
{
    // The test device: a case with a display and keys.
    p.setPen(QPen(kInk, 1));
    p.setBrush(QColor(255, 200, 60));
    p.drawRoundedRect(QRectF(1.5, 1.5, 9, 12), 1.5, 1.5);
    p.setBrush(QColor(60, 110, 70));
    p.drawRect(QRectF(3, 3, 6, 4));
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    for (int i = 0; i < 3; ++i)
        p.drawRect(QRectF(3 + i * 2.2, 9, 1.4, 1.4));
}

void Text(QPainter& p, const QRectF& r, const QString& str, const QColor& c, int px = 9, bool bBold = true)
{
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(px);
    f.setBold(bBold);
    p.setFont(f);
    p.setPen(c);
    p.drawText(r, Qt::AlignCenter, str);
}

QPixmap DrawCommand(int nId)
{
    QPixmap pm = Canvas(16, 15);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    switch (nId) {
    case 32776:  // new location
        Pin(p, 6, 7, kBlue);
        Plus(p, 12, 11);
        break;
    case 32817:  // new group
        Folder(p, kYellow);
        Plus(p, 11, 10);
        break;
    case 32775:  // edit
        Page(p, QRectF(1.5, 1.5, 9, 12));
        p.setPen(QPen(kBlue, 2.5, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(QPointF(7, 12), QPointF(14, 4));
        break;
    case 32815:  // import
        Page(p, QRectF(6.5, 1.5, 8, 12));
        Arrow(p, QPointF(0.5, 7.5), QPointF(11, 7.5), kGreen);
        break;
    case 32819:  // export location
        Pin(p, 5, 7, kBlue);
        Arrow(p, QPointF(8, 7.5), QPointF(15.5, 7.5), kGreen);
        break;
    case 32781:  // delete
        Cross(p, 8, 7.5, 4.5);
        break;
    case 32808:  // remark and address
        Page(p, QRectF(2.5, 1.5, 11, 12));
        p.setPen(QPen(kInk, 1));
        for (int y = 5; y <= 11; y += 3)
            p.drawLine(QPointF(4.5, y + 0.5), QPointF(11.5, y + 0.5));
        break;
    case 32814:  // export result
        Page(p, QRectF(1.5, 1.5, 8, 12));
        Arrow(p, QPointF(6, 8.5), QPointF(15.5, 8.5), kGreen);
        break;
    case 32807:  // delete results
        Page(p, QRectF(1.5, 1.5, 9, 12));
        Cross(p, 11.5, 10.5, 3);
        break;
    case 32789:  // assign result
        Page(p, QRectF(1.5, 1.5, 7, 10));
        Arrow(p, QPointF(5, 12), QPointF(10, 7), kBlue);
        Pin(p, 12, 8, kBlue);
        break;
    case 32809:  // readout
        Device(p);
        Arrow(p, QPointF(10, 10.5), QPointF(15.5, 10.5), kGreen);
        break;
    case 32799:  // zoom in
        Magnifier(p, true, false);
        break;
    case 32800:  // zoom out
        Magnifier(p, false, true);
        break;
    case 32801:  // show value
        p.setPen(QPen(kInk, 1));
        p.drawLine(QPointF(8, 0.5), QPointF(8, 14.5));
        p.drawLine(QPointF(0.5, 7.5), QPointF(15.5, 7.5));
        p.setPen(QPen(kRed, 1.5));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(8, 7.5), 3, 3);
        break;
    case 57607:  // print
        Printer(p);
        break;
    case 57609:  // print preview
        Page(p, QRectF(1.5, 0.5, 9, 13));
        p.translate(3, 2);
        p.scale(0.8, 0.8);
        Magnifier(p, false, false);
        break;
    case 57606:  // print setup
        Printer(p);
        Gear(p, QPointF(12, 11), 3.5);
        break;
    case 32784:  // settings
        Gear(p, QPointF(8, 7.5), 6.5);
        break;
    case 32803:  // backup
        Disk(p);
        Plus(p, 12.5, 11.5);
        break;
    case 32804:  // restore
        Disk(p);
        Arrow(p, QPointF(15, 14), QPointF(10, 9), kGreen);
        break;
    case 57664:  // about
        p.setPen(QPen(kBlue, 1));
        p.setBrush(QColor(220, 235, 255));
        p.drawEllipse(QRectF(1, 0.5, 14, 14));
        Text(p, QRectF(0, 0, 16, 15), QStringLiteral("?"), kBlue, 11);
        break;
    default:
        break;
    }
    return pm;
}

// The kinds' pictures: small symbols of what the result shows.
void KindSymbol(QPainter& p, int nImage)
{
    switch (nImage) {
    case 4:  // actual values: a table
        Page(p, QRectF(1.5, 1.5, 13, 13));
        p.setPen(QPen(kInk, 1));
        for (int y = 5; y <= 12; y += 3)
            p.drawLine(QPointF(3, y + 0.5), QPointF(13, y + 0.5));
        p.drawLine(QPointF(7.5, 3), QPointF(7.5, 13));
        break;
    case 5:  // vectors
        Arrow(p, QPointF(3, 13), QPointF(14, 8), kRed);
        Arrow(p, QPointF(3, 13), QPointF(6, 2), kBlue);
        break;
    case 6: {  // curve
        p.setPen(QPen(kBlue, 1.5));
        QPainterPath path;
        path.moveTo(1, 8);
        for (int x = 1; x <= 15; ++x)
            path.lineTo(x, 8 - 5 * std::sin((x - 1) * M_PI / 7));
        p.drawPath(path);
        break;
    }
    case 7:  // harmonics: bars
        p.setPen(Qt::NoPen);
        p.setBrush(kBlue);
        p.drawRect(QRectF(2, 3, 2.5, 11));
        p.drawRect(QRectF(6, 9, 2.5, 5));
        p.drawRect(QRectF(10, 11, 2.5, 3));
        p.drawRect(QRectF(13.5, 12, 2, 2));
        break;
    case 8:  // error measurement: meter with a needle
        p.setPen(QPen(kInk, 1));
        p.setBrush(kPaper);
        p.drawPie(QRectF(1, 3, 14, 14), 0, 180 * 16);
        p.setPen(QPen(kRed, 1.5));
        p.drawLine(QPointF(8, 10), QPointF(12, 5));
        break;
    case 9:  // register test: counter digits
        p.setPen(QPen(kInk, 1));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(0.5, 4.5, 15, 7));
        Text(p, QRectF(0, 4, 16, 8), QStringLiteral("123"), kInk, 7);
        break;
    case 10:  // tm/te: pulses
        p.setPen(QPen(kGreen.darker(120), 1.5));
        p.drawPolyline(QPolygonF{{1, 12}, {4, 12}, {4, 4}, {7, 4}, {7, 12}, {10, 12}, {10, 4}, {13, 4}, {13, 12}, {15, 12}});
        break;
    case 11:  // voltage burden
    case 12:  // current burden
        p.setPen(QPen(kInk, 1));
        p.setBrush(QColor(230, 230, 230));
        p.drawRect(QRectF(3.5, 4.5, 9, 7));
        Text(p, QRectF(3, 4, 10, 8), nImage == 11 ? QStringLiteral("U") : QStringLiteral("I"),
             nImage == 11 ? kRed : kBlue, 8);
        break;
    case 13:  // continuous values: a line chart
        p.setPen(QPen(kInk, 1));
        p.drawLine(QPointF(1.5, 1), QPointF(1.5, 14.5));
        p.drawLine(QPointF(1.5, 14.5), QPointF(15, 14.5));
        p.setPen(QPen(kGreen, 1.5));
        p.drawPolyline(QPolygonF{{2, 11}, {5, 8}, {8, 9}, {11, 4}, {15, 6}});
        break;
    case 14:  // place number
        p.setPen(QPen(kInk, 1));
        p.setBrush(QColor(255, 245, 200));
        p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
        Text(p, QRectF(0, 0, 16, 16), QStringLiteral("#"), kInk, 9);
        break;
    case 15:  // transformer (kind 14's folder): two coils
        p.setPen(QPen(kBlue, 1.5));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRectF(1.5, 3.5, 8, 8));
        p.setPen(QPen(kRed, 1.5));
        p.drawEllipse(QRectF(6.5, 3.5, 8, 8));
        break;
    case 16:  // automatic measurement: a list with ticks
        Page(p, QRectF(1.5, 1.5, 13, 13));
        p.setPen(QPen(kGreen, 1.5));
        p.drawPolyline(QPolygonF{{3.5, 6}, {5, 7.5}, {8, 4}});
        p.drawPolyline(QPolygonF{{3.5, 11}, {5, 12.5}, {8, 9}});
        break;
    case 17:  // AUX channels
        p.setPen(QPen(kInk, 1));
        p.setBrush(QColor(235, 235, 235));
        p.drawRect(QRectF(0.5, 4.5, 15, 7));
        Text(p, QRectF(0, 4, 16, 8), QStringLiteral("AUX"), kInk, 6);
        break;
    case 19:  // selective power
        p.setPen(Qt::NoPen);
        p.setBrush(kRed);
        p.drawRect(QRectF(2, 6, 2.5, 8));
        p.setBrush(kBlue);
        p.drawRect(QRectF(6, 3, 2.5, 11));
        p.setBrush(kGreen);
        p.drawRect(QRectF(10, 8, 2.5, 6));
        break;
    case 20:  // PQS register test
        p.setPen(QPen(kInk, 1));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(0.5, 4.5, 15, 7));
        Text(p, QRectF(0, 4, 16, 8), QStringLiteral("PQS"), kBlue, 6);
        break;
    default:
        break;
    }
}

QPixmap DrawTreeImage(int nIndex)
{
    QPixmap pm = Canvas(16, 16);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    switch (nIndex) {
    case 0:  // location, state OK
        Pin(p, 8, 8, kGreen);
        break;
    case 1:  // location, not OK
        Pin(p, 8, 8, QColor(150, 150, 150));
        break;
    case 2:  // result
        Page(p, QRectF(3.5, 1.5, 9, 13));
        p.setPen(QPen(kBlue, 1));
        p.drawLine(QPointF(5.5, 5.5), QPointF(10.5, 5.5));
        p.drawLine(QPointF(5.5, 8.5), QPointF(10.5, 8.5));
        p.drawLine(QPointF(5.5, 11.5), QPointF(9, 11.5));
        break;
    case 3:  // "Undefinierte Ergebnisse"
        Folder(p, QColor(225, 225, 225));
        Text(p, QRectF(1, 5, 14, 9), QStringLiteral("?"), kRed, 9);
        break;
    case 18:  // group
        Folder(p, kYellow);
        break;
    default:
        KindSymbol(p, nIndex);
        break;
    }
    return pm;
}

} // namespace

namespace Icons {

QIcon CommandIcon(int nCommandId)
{
    QIcon icon(DrawCommand(nCommandId));
    return icon;
}

QImage ProgramImage(int nSize)
{
    QImage image(nSize, nSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // Drawn on a 256 x 256 grid.
    p.scale(nSize / 256.0, nSize / 256.0);
    const double dPen = qMax(4.0, 256.0 / nSize);
    // The device.
    p.setPen(QPen(kInk, dPen));
    p.setBrush(QColor(55, 75, 100));
    p.drawRoundedRect(QRectF(28, 12, 200, 232), 26, 26);
    // Its display with three phase vectors.
    p.setBrush(kPaper);
    p.setPen(QPen(kInk, dPen / 2));
    p.drawRoundedRect(QRectF(50, 34, 156, 132), 8, 8);
    const QPointF centre(128, 100);
    p.setPen(QPen(QColor(160, 160, 160), dPen / 2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(centre, 52, 52);
    const QColor phases[3] = {kRed, QColor(200, 150, 0), kBlue};
    for (int n = 0; n < 3; ++n) {
        const double a = (90 - 120.0 * n) * std::numbers::pi / 180;
        const QPointF tip = centre + QPointF(std::cos(a), -std::sin(a)) * 50;
        const QPointF u = (tip - centre) / 50;
        const QPointF normal(-u.y(), u.x());
        p.setPen(QPen(phases[n], qMax(8.0, dPen * 1.5), Qt::SolidLine, Qt::FlatCap));
        p.drawLine(centre, tip - u * 16);
        p.setPen(Qt::NoPen);
        p.setBrush(phases[n]);
        p.drawPolygon(QPolygonF{tip, tip - u * 22 + normal * 11, tip - u * 22 - normal * 11});
    }
    // Keys.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 205, 215));
    for (int row = 0; row < 2; ++row)
        for (int col = 0; col < 3; ++col)
            p.drawRoundedRect(QRectF(58 + col * 50, 184 + row * 30, 40, 20), 5, 5);
    return image;
}

QIcon ProgramIcon()
{
    QIcon icon;
    for (int nSize : kProgramIconSizes)
        icon.addPixmap(QPixmap::fromImage(ProgramImage(nSize)));
    return icon;
}

QPixmap TreeImage(int nIndex)
{
    if (nIndex < 0 || nIndex >= kTreeImageCount)
        return Canvas(16, 16);
    return DrawTreeImage(nIndex);
}

} // namespace Icons
