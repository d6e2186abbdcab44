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
#include <QPainterPath>
#include <QPen>
#include <QPolygonF>
#include <QRectF>
#include <QString>
#include <QTextItem>
#include <QTransform>

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
    QPaintDevice* m_pDevice = nullptr;

    bool begin(QPaintDevice* pDevice) override
    {
        m_pDevice = pDevice;
        return true;
    }
    bool end() override { return true; }
    Type type() const override { return QPaintEngine::User; }

    void updateState(const QPaintEngineState& state) override
    {
        if (state.state() & DirtyPen)
            m_pen = state.pen();
        if (state.state() & DirtyBrush)
            m_brush = state.brush();
        if (state.state() & DirtyFont)
            m_font = state.font();
        if (state.state() & DirtyTransform)
            m_transform = state.transform();
    }

    void drawTextItem(const QPointF& p, const QTextItem& item) override
    {
        CPaintOp op = Make(CPaintOp::Text);
        op.m_strText = item.text();
        op.m_font = item.font();
        op.m_pos = p;
        const QFontMetricsF fm(item.font(), m_pDevice);
        op.m_rect = QRectF(p.x(), p.y() - fm.ascent(), fm.horizontalAdvance(op.m_strText), fm.height());
        m_ops.append(op);
    }
    void drawPolygon(const QPointF* pts, int n, PolygonDrawMode) override
    {
        CPaintOp op = Make(CPaintOp::Polygon);
        for (int i = 0; i < n; ++i)
            op.m_polygon.append(pts[i]);
        m_ops.append(op);
    }
    void drawPolygon(const QPoint* pts, int n, PolygonDrawMode mode) override
    {
        QList<QPointF> f;
        for (int i = 0; i < n; ++i)
            f.append(pts[i]);
        drawPolygon(f.constData(), n, mode);
    }
    void drawLines(const QLineF* lines, int n) override
    {
        CPaintOp op = Make(CPaintOp::Lines);
        for (int i = 0; i < n; ++i)
            op.m_lines.append(lines[i]);
        m_ops.append(op);
    }
    void drawLines(const QLine* lines, int n) override
    {
        QList<QLineF> f;
        for (int i = 0; i < n; ++i)
            f.append(QLineF(lines[i]));
        drawLines(f.constData(), n);
    }
    void drawRects(const QRectF* rects, int n) override
    {
        CPaintOp op = Make(CPaintOp::Rects);
        for (int i = 0; i < n; ++i)
            op.m_rects.append(rects[i]);
        m_ops.append(op);
    }
    void drawRects(const QRect* rects, int n) override
    {
        QList<QRectF> f;
        for (int i = 0; i < n; ++i)
            f.append(QRectF(rects[i]));
        drawRects(f.constData(), n);
    }
    void drawEllipse(const QRectF& r) override
    {
        CPaintOp op = Make(CPaintOp::Ellipse);
        op.m_rect = r;
        m_ops.append(op);
    }
    void drawEllipse(const QRect& r) override { drawEllipse(QRectF(r)); }
    void drawPath(const QPainterPath& path) override
    {
        CPaintOp op = Make(CPaintOp::Path);
        op.m_polygon = path.toFillPolygon();
        m_ops.append(op);
    }
    void drawPixmap(const QRectF& r, const QPixmap&, const QRectF&) override
    {
        CPaintOp op = Make(CPaintOp::Pixmap);
        op.m_rect = r;
        m_ops.append(op);
    }

private:
    QPen m_pen;
    QBrush m_brush;
    QFont m_font;
    QTransform m_transform;

    CPaintOp Make(CPaintOp::Kind kind) const
    {
        CPaintOp op;
        op.m_kind = kind;
        op.m_pen = m_pen;
        op.m_brush = m_brush;
        op.m_font = m_font;
        op.m_transform = m_transform;
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

    QList<CPaintOp> OfKind(CPaintOp::Kind kind) const
    {
        QList<CPaintOp> out;
        for (const CPaintOp& op : Ops())
            if (op.m_kind == kind)
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
