#pragma once

// A paint device that records what is painted on it, with the pen, brush
// and font in effect, so that tests can check texts, colours and geometry.

#include <QBrush>
#include <QFont>
#include <QFontMetricsF>
#include <QLineF>
#include <QList>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPolygonF>
#include <QRectF>
#include <QString>
#include <QTextItem>
#include <QTransform>

#include <memory>

struct CPaintOp
{
    enum Kind { Text, Polygon, Lines, Rects, Ellipse, Path, Pixmap };
    Kind m_kind = Text;
    QString m_strText;
    QPointF m_pos;        // text: the baseline start
    QRectF m_rect;        // text: its box (advance x font height); ellipse
    QPolygonF m_polygon;  // polygon points
    QList<QLineF> m_lines;
    QList<QRectF> m_rects;
    QPen m_pen;
    QBrush m_brush;
    QFont m_font;
    QTransform m_transform; // the painter's, from these coordinates to the device's
};

class CRecordingEngine : public QPaintEngine
{
public:
    CRecordingEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}

    QList<CPaintOp> m_ops;

    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    Type type() const override { return QPaintEngine::User; }

    // Each op takes the painter's state when it is drawn; the integer
    // overloads of QPaintEngine pass on to the floating point ones below.
    void updateState(const QPaintEngineState&) override {}

    void drawTextItem(const QPointF& p, const QTextItem& item) override
    {
        CPaintOp& op = Add(CPaintOp::Text);
        op.m_strText = item.text();
        op.m_font = item.font();
        op.m_pos = p;
        const QFontMetricsF fm(item.font(), paintDevice());
        op.m_rect = QRectF(p.x(), p.y() - fm.ascent(), fm.horizontalAdvance(op.m_strText), fm.height());
    }
    void drawPolygon(const QPointF* pts, int n, PolygonDrawMode) override
    {
        Add(CPaintOp::Polygon).m_polygon = QPolygonF(QList<QPointF>(pts, pts + n));
    }
    void drawLines(const QLineF* lines, int n) override
    {
        Add(CPaintOp::Lines).m_lines = QList<QLineF>(lines, lines + n);
    }
    void drawRects(const QRectF* rects, int n) override
    {
        Add(CPaintOp::Rects).m_rects = QList<QRectF>(rects, rects + n);
    }
    void drawEllipse(const QRectF& r) override { Add(CPaintOp::Ellipse).m_rect = r; }
    void drawPath(const QPainterPath& path) override { Add(CPaintOp::Path).m_polygon = path.toFillPolygon(); }
    void drawPixmap(const QRectF& r, const QPixmap&, const QRectF&) override { Add(CPaintOp::Pixmap).m_rect = r; }

private:
    CPaintOp& Add(CPaintOp::Kind kind)
    {
        CPaintOp& op = m_ops.emplace_back();
        op.m_kind = kind;
        op.m_pen = state->pen();
        op.m_brush = state->brush();
        op.m_font = state->font();
        op.m_transform = state->transform();
        return op;
    }
};

class CRecordingDevice : public QPaintDevice
{
public:
    explicit CRecordingDevice(const QSize& size, int nDpi = 96) : m_size(size), m_nDpi(nDpi) {}
    ~CRecordingDevice() override = default;

    QPaintEngine* paintEngine() const override { return &m_engine; }
    const QList<CPaintOp>& Ops() const { return m_engine.m_ops; }

    // The ops of a kind, in drawing order; with a valid colour only those
    // drawn with a pen of that colour.
    QList<CPaintOp> OfKind(CPaintOp::Kind kind, const QColor& pen = QColor()) const
    {
        QList<CPaintOp> out;
        for (const CPaintOp& op : Ops())
            if (op.m_kind == kind && (!pen.isValid() || op.m_pen.color() == pen))
                out.append(op);
        return out;
    }
    QStringList Texts() const
    {
        QStringList out;
        for (const CPaintOp& op : Ops())
            if (op.m_kind == CPaintOp::Text)
                out.append(op.m_strText);
        return out;
    }
    // The first text op with exactly this text, or nullptr.
    const CPaintOp* FindText(const QString& str) const
    {
        for (const CPaintOp& op : Ops())
            if (op.m_kind == CPaintOp::Text && op.m_strText == str)
                return &op;
        return nullptr;
    }
    // Every rectangle drawn, in drawing order.
    QList<QRectF> Rects() const
    {
        QList<QRectF> out;
        for (const CPaintOp& op : OfKind(CPaintOp::Rects))
            out += op.m_rects;
        return out;
    }
    // True when the text's box lies inside one of the rectangles drawn.
    bool IsFramed(const CPaintOp& text) const
    {
        for (const QRectF& f : Rects())
            if (f.adjusted(-0.5, -0.5, 0.5, 0.5).contains(text.m_rect))
                return true;
        return false;
    }
    // Of "A|B|!C", the texts not painted although expected, and those after
    // a "!" painted although they must not be; empty when all is well.
    QString TextsAmiss(const QString& strExpected) const
    {
        const QStringList texts = Texts();
        QStringList amiss;
        for (const QString& str : strExpected.split(QLatin1Char('|'), Qt::SkipEmptyParts))
            if (str.startsWith(QLatin1Char('!')) ? texts.contains(str.mid(1)) : !texts.contains(str))
                amiss.append(str);
        return amiss.join(QLatin1Char('|'));
    }

protected:
    int metric(PaintDeviceMetric metric) const override
    {
        switch (metric) {
        case PdmWidth: return m_size.width();
        case PdmHeight: return m_size.height();
        case PdmWidthMM: return qRound(m_size.width() * 25.4 / m_nDpi);
        case PdmHeightMM: return qRound(m_size.height() * 25.4 / m_nDpi);
        case PdmNumColors: return INT_MAX;
        case PdmDepth: return 32;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY: return m_nDpi;
        case PdmDevicePixelRatio: return 1;
        case PdmDevicePixelRatioScaled: return static_cast<int>(QPaintDevice::devicePixelRatioFScale());
        }
        return 0;
    }

private:
    QSize m_size;
    int m_nDpi;
    mutable CRecordingEngine m_engine;
};

// What paint(QPainter&) draws on a recording device of the given size.
template <class Paint>
std::unique_ptr<CRecordingDevice> Record(const QSize& size, Paint paint, int nDpi = 96)
{
    auto pDevice = std::make_unique<CRecordingDevice>(size, nDpi);
    QPainter painter(pDevice.get());
    paint(painter);
    return pDevice;
}
