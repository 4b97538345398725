#pragma once
// The device context both metafile decoders drive: object table, selected pen, brush,
// font and palette, mapping (map mode, window and viewport, world transform), the
// save/restore stack, clipping, paths and text attributes. Coordinates handed in are
// logical; everything handed to the sink is in target coordinates.
#include "imaging/metafile_sink.h"

#include <QTransform>
#include <variant>
#include <vector>

namespace ovmeta {

enum MapMode {
    MM_TEXT = 1, MM_LOMETRIC, MM_HIMETRIC, MM_LOENGLISH, MM_HIENGLISH, MM_TWIPS,
    MM_ISOTROPIC, MM_ANISOTROPIC
};
enum TextAlign : quint32 {
    TA_UPDATECP = 1, TA_RIGHT = 2, TA_CENTER = 6, TA_BOTTOM = 8, TA_BASELINE = 24
};
enum ClipMode { RGN_AND = 1, RGN_OR = 2, RGN_XOR = 3, RGN_DIFF = 4, RGN_COPY = 5 };
enum ArcKind { ArcOnly, ArcChord, ArcPie, ArcTo };

struct LogPen {
    quint32 style = 0;  // PS_* with end cap, join and type bits
    qreal width = 0;    // logical units; 0 = one device pixel
    QColor color = Qt::black;
    QVector<qreal> dashes; // PS_USERSTYLE, logical units
};

struct LogBrush {
    enum Kind { Solid, Null, Hatched, Pattern };
    Kind kind = Solid;
    QColor color = Qt::white;
    int hatch = 0;
    QImage pattern;
};

struct LogFont {
    int height = 0;
    int width = 0;
    int escapement = 0; // tenths of a degree
    int weight = 0;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    int charset = 0;
    QString face;
};

struct LogPalette {
    QVector<QRgb> entries;
};

struct LogRegion {
    QPainterPath path; // logical coordinates when created, device coordinates in EMF
};

using GdiObject = std::variant<std::monostate, LogPen, LogBrush, LogFont, LogPalette, LogRegion>;

// Single-byte text of a metafile in the font's character set (Windows-1252 when the
// set is unknown or unavailable).
QString decodeAnsiText(QByteArrayView bytes, int charset);

class MetafileDC {
public:
    // `deviceToTarget` maps the picture's device space onto the target rectangle.
    // A WMF keeps the player's viewport when it switches map modes; an EMF follows
    // the rules of a real device context.
    MetafileDC(MetafileSink& sink, const QTransform& deviceToTarget, bool wmf);

    // Text larger than a few times the whole picture only comes from damaged files.
    void setTargetRect(const QRectF& target);

    // --- object table
    void setTableSize(int size);
    int createObject(GdiObject object);              // WMF: lowest free slot, -1 if none
    void putObject(quint32 index, GdiObject object); // EMF: explicit slot
    void selectObject(quint32 index);
    void selectStockObject(quint32 stock);
    static LogBrush stockBrush(quint32 stock); // a Null brush for non-brush stock objects
    void deleteObject(quint32 index);
    void selectPalette(quint32 index);
    const GdiObject* object(quint32 index) const;
    QColor colorRef(quint32 ref) const; // COLORREF, palette indexes resolved
    const QVector<QRgb>& palette() const { return s_.palette.entries; }

    // --- attributes
    void setMapMode(int mode);
    void setWindowOrg(QPointF p);
    void setWindowExt(QSizeF s);
    void setViewportOrg(QPointF p);
    void setViewportExt(QSizeF s);
    void offsetWindowOrg(QPointF d);
    void offsetViewportOrg(QPointF d);
    void scaleWindowExt(qreal xNum, qreal xDen, qreal yNum, qreal yDen);
    void scaleViewportExt(qreal xNum, qreal xDen, qreal yNum, qreal yDen);
    void setWorldTransform(const QTransform& t);
    void modifyWorldTransform(const QTransform& t, int mode);
    void setDeviceMetrics(QSizeF pixels, QSizeF millimetres);
    void setTextAlign(quint32 align) { s_.textAlign = align; }
    void setTextColor(QColor c) { s_.textColor = c; }
    void setBkColor(QColor c) { s_.bkColor = c; }
    void setBkMode(int mode) { s_.bkMode = mode; }
    void setPolyFillMode(int mode) { s_.polyFillMode = mode; }
    void setRop2(int rop) { s_.rop2 = rop; }
    void setArcDirection(int dir) { s_.arcClockwise = dir == 2; }
    void setMiterLimit(qreal limit) { s_.miterLimit = limit; }
    void setTextCharExtra(qreal extra) { s_.charExtra = extra; }
    void saveDC();
    void restoreDC(int which);

    // --- clipping
    void intersectClipRect(const QRectF& logical);
    void excludeClipRect(const QRectF& logical);
    void selectClipRegion(const QPainterPath* region, bool regionIsDevice, int mode);
    void offsetClip(QPointF logicalDelta);
    void selectClipPath(int mode);
    // Sends the current clip to the sink again, after something else changed the sink's.
    void resendClip();

    // --- paths
    void beginPath();
    void endPath();
    void abortPath();
    void closeFigure();
    void fillPath();
    void strokePath();
    void strokeAndFillPath();
    void flattenPath();
    void widenPath();

    // --- drawing (logical coordinates)
    void moveTo(QPointF p);
    void lineTo(QPointF p);
    void polyline(const QPolygonF& pts);
    void polylineTo(const QPolygonF& pts);
    void polygon(const QPolygonF& pts);
    void polyPolygon(const std::vector<QPolygonF>& polys);
    void polyPolyline(const std::vector<QPolygonF>& polys);
    void polyBezier(const QPolygonF& pts);
    void polyBezierTo(const QPolygonF& pts);
    void polyDraw(const QPolygonF& pts, const QByteArray& types);
    void rectangle(const QRectF& r);
    void roundRect(const QRectF& r, QSizeF corner);
    void ellipse(const QRectF& r);
    void arc(ArcKind kind, const QRectF& box, QPointF start, QPointF end);
    void angleArc(QPointF center, qreal radius, qreal startDeg, qreal sweepDeg);
    void setPixel(QPointF p, QColor c);
    void fillRegion(const QPainterPath& region, bool regionIsDevice, const LogBrush& brush);
    void frameRegion(const QPainterPath& region, bool regionIsDevice, const LogBrush& brush,
                     QSizeF logicalStroke);
    void patBlt(const QRectF& r, quint32 rop);
    // Fills `logical` with a linear gradient from c0 at `from` to c1 at `to`; equal
    // points fill with c0.
    void gradientFill(const QPolygonF& logical, QPointF from, QPointF to, QColor c0, QColor c1);
    // `dest` in logical units; negative sizes mirror. `source` in image pixels.
    void drawImage(const QRectF& dest, const QImage& image, QRectF source, quint32 rop,
                   bool bottomUpSource = false);
    // `dx`: per-character advances in logical units (may be empty).
    void textOut(QPointF ref, const QString& text, const QVector<qreal>& dx, quint32 options,
                 const QRectF* rect);

    const LogBrush& currentBrush() const { return s_.brush; }
    QColor textColor() const { return s_.textColor; }
    QColor bkColor() const { return s_.bkColor; }
    const LogFont& currentFont() const { return s_.font; }
    QTransform logicalToTarget() const;
    QTransform logicalToDevice() const;
    const QTransform& deviceToTarget() const { return deviceToTarget_; }
    QPointF currentPosition() const { return s_.cur; }
    int saveDepth() const { return int(stack_.size()); }

private:
    struct State {
        LogPen pen;
        LogBrush brush;
        LogFont font;
        LogPalette palette;
        int mapMode = MM_TEXT;
        QPointF winOrg, vpOrg;
        QSizeF winExt{1, 1}, vpExt{1, 1};
        QTransform world;
        std::optional<QPainterPath> clip;
        quint32 textAlign = 0;
        QColor textColor = Qt::black;
        QColor bkColor = Qt::white;
        int bkMode = 2; // OPAQUE
        int polyFillMode = 1; // ALTERNATE
        int rop2 = 13; // R2_COPYPEN
        bool arcClockwise = false;
        qreal miterLimit = 10;
        qreal charExtra = 0;
        QPointF cur;
    };

    void adjustIsotropic();
    MetafilePaint strokePaint() const;
    MetafilePaint fillPaint() const;
    QPen makePen() const;
    QBrush makeBrush(const LogBrush& b) const;
    QPainter::CompositionMode rop2Mode() const;
    bool ropDrawsNothing() const;
    // Emit an outline (and fill when `closed`) or add it to the open path.
    void emitShape(const QPainterPath& target, bool fill, bool stroke);
    void emitPolyline(const QPolygonF& target);
    void applyClip(const QPainterPath& shapeTarget, int mode);
    void pushClip();
    QPainterPath regionToTarget(const QPainterPath& region, bool isDevice) const;
    QFont makeFont(qreal* pixelSize) const;
    qreal scaleAlong(QPointF dir) const;

    MetafileSink& sink_;
    QTransform deviceToTarget_;
    bool wmf_;
    QSizeF devicePixels_{1024, 768};
    QSizeF deviceMillimetres_{270.9, 203.2};
    State s_;
    std::vector<State> stack_;
    std::vector<GdiObject> objects_;
    bool inPath_ = false;
    QPainterPath path_; // target coordinates
    bool pathValid_ = false;
    std::optional<QPainterPath> lastClip_;
    bool clipSent_ = false;
    qint64 clipWork_ = 0;
    qreal maxTextPixels_ = 20000;
};

} // namespace ovmeta
