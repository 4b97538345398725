#pragma once
// Output side of metafile playback. The device-context state machine resolves every
// record to geometry in target coordinates plus a fully resolved pen/brush, and hands
// it to a sink: QPainter for real drawing, a recorder for tests and bounds discovery.
#include <QBrush>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPolygonF>
#include <QVector>
#include <optional>
#include <vector>

struct MetafilePaint {
    QPen pen = QPen(Qt::NoPen);
    QBrush brush = QBrush(Qt::NoBrush);
    QPainter::CompositionMode mode = QPainter::CompositionMode_SourceOver;
    bool opaqueBackground = false; // hatch gaps and dash gaps filled with `background`
    QColor background = Qt::white;
};

struct MetafileText {
    QString text;
    QPointF origin;              // start of the baseline, target coordinates
    QFont font;                  // drawn at its own pixel size scaled by fontScale
    qreal fontScale = 1;
    qreal pixelSize = 0;         // em height in target units (= font pixel size * fontScale)
    qreal angle = 0;             // degrees, counter-clockwise as seen
    QColor color = Qt::black;
    bool opaque = false;         // fill the text cell with `background`
    QColor background = Qt::white;
    QVector<qreal> advances;     // per character, target units; empty = natural spacing
    qreal width = 0;             // total advance, target units
    qreal ascent = 0;
    qreal descent = 0;
    std::optional<QPolygonF> opaqueRect; // ETO_OPAQUE rectangle, target coordinates
    std::optional<QPolygonF> clipRect;   // ETO_CLIPPED rectangle, target coordinates
};

class MetafileSink {
public:
    virtual ~MetafileSink() = default;
    // nullopt: no clipping. Coordinates are target coordinates.
    virtual void setClip(const std::optional<QPainterPath>& clip) = 0;
    virtual void drawPolygon(const QPolygonF& polygon, Qt::FillRule rule, const MetafilePaint& paint) = 0;
    virtual void drawPolyline(const QPolygonF& polyline, const MetafilePaint& paint) = 0;
    virtual void drawPath(const QPainterPath& path, const MetafilePaint& paint) = 0;
    virtual void drawText(const MetafileText& text) = 0;
    virtual void drawImage(const QRectF& target, const QImage& image, const QRectF& source,
                           QPainter::CompositionMode mode) = 0;
};

// Draws onto a QPainter whose current transform maps target coordinates to its device.
// The painter's state is restored when the sink is destroyed.
class MetafilePainterSink : public MetafileSink {
public:
    explicit MetafilePainterSink(QPainter& painter);
    ~MetafilePainterSink() override;
    void setClip(const std::optional<QPainterPath>& clip) override;
    void drawPolygon(const QPolygonF& polygon, Qt::FillRule rule, const MetafilePaint& paint) override;
    void drawPolyline(const QPolygonF& polyline, const MetafilePaint& paint) override;
    void drawPath(const QPainterPath& path, const MetafilePaint& paint) override;
    void drawText(const MetafileText& text) override;
    void drawImage(const QRectF& target, const QImage& image, const QRectF& source,
                   QPainter::CompositionMode mode) override;

private:
    bool applyPaint(const MetafilePaint& paint, bool stroke, bool fill);
    QPainter& p_;
    bool rasterOps_ = false;
};

// Keeps every call, for tests and for finding the extent of an unframed picture.
class MetafileRecordingSink : public MetafileSink {
public:
    struct Call {
        QString op; // "clip", "polygon", "polyline", "path", "text", "image"
        QPolygonF polygon;
        QPainterPath path;
        Qt::FillRule rule = Qt::OddEvenFill;
        MetafilePaint paint;
        MetafileText text;
        std::optional<QPainterPath> clip;
        QRectF rect;
        QRectF source;
        QImage image;
        QPainter::CompositionMode mode = QPainter::CompositionMode_SourceOver;
        QRectF bounds() const; // geometry covered, ignoring pen width
    };
    void setClip(const std::optional<QPainterPath>& clip) override;
    void drawPolygon(const QPolygonF& polygon, Qt::FillRule rule, const MetafilePaint& paint) override;
    void drawPolyline(const QPolygonF& polyline, const MetafilePaint& paint) override;
    void drawPath(const QPainterPath& path, const MetafilePaint& paint) override;
    void drawText(const MetafileText& text) override;
    void drawImage(const QRectF& target, const QImage& image, const QRectF& source,
                   QPainter::CompositionMode mode) override;

    std::vector<Call> calls;
    bool keepImages = true;
    // Calls of one kind, in order.
    std::vector<const Call*> ofKind(const QString& op) const;
    // Union of the bounds of every drawing call.
    QRectF drawingBounds() const;
};
