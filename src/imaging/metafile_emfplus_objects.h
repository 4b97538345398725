#pragma once
// The graphics objects of EMF+ records (brushes, pens, paths, regions, images, fonts and
// string formats) and the point and rectangle forms drawing records use.
#include "imaging/metafile_decoders.h"

#include <QBrush>
#include <QColor>
#include <QGradient>
#include <QImage>
#include <QPainterPath>
#include <QPolygonF>
#include <QTransform>
#include <memory>
#include <optional>
#include <variant>

class TMetafile;

namespace ovmeta::emfplus {

enum Unit { UnitWorld = 0, UnitDisplay, UnitPixel, UnitPoint, UnitInch, UnitDocument, UnitMillimeter };

// Flags shared by drawing records and path objects.
enum : quint16 {
    FlagColor = 0x8000,      // S: the brush field holds a colour
    FlagCompressed = 0x4000, // C: 16-bit integer coordinates
    FlagAppend = 0x2000,     // A: transforms multiply after the current one
    FlagWinding = 0x2000,    // F/W: winding fill
    FlagClosed = 0x2000,     // L: lines closed back to the first point
    FlagRleTypes = 0x1000,   // R: run-length point types
    FlagRelative = 0x0800,   // P: points relative to the previous one
};

QColor argb(quint32 value);
// Pixels per unit on a device of `dpi`; the display unit is a pixel on screens and a
// hundredth of an inch on printers.
qreal unitToPixels(int unit, qreal dpi, bool videoDevice);

struct Image {
    QImage bitmap;
    std::shared_ptr<const TMetafile> metafile;
    QSizeF size() const; // pixels
};

struct Brush {
    enum Kind { Solid, Hatch, LinearGradient, PathGradient, Texture };
    Kind kind = Solid;
    QColor color = Qt::black;  // solid, hatch lines, and the colour text takes from gradients
    QColor background;         // hatch gaps
    int hatchStyle = 0;
    QGradientStops stops;
    QPointF from, to;          // linear: across the brush rectangle; path: centre and rim
    QGradient::Spread spread = QGradient::PadSpread;
    QTransform transform;      // brush space to world space
    QImage texture;

    // The brush for drawing in target coordinates.
    QBrush toQBrush(const QTransform& worldToTarget) const;
};

struct Pen {
    qreal width = 1;
    int unit = UnitWorld;
    Brush brush;
    Qt::PenCapStyle cap = Qt::FlatCap;
    Qt::PenJoinStyle join = Qt::MiterJoin;
    qreal miterLimit = 10;
    QList<qreal> dashes; // in pen widths; empty: solid
    qreal dashOffset = 0;
};

struct Font {
    qreal emSize = 12;
    int unit = UnitWorld;
    int style = 0; // 1 bold, 2 italic, 4 underline, 8 strike-out
    QString family;
};

struct StringFormat {
    quint32 flags = 0; // 0x1000 no wrapping
    int align = 0;     // 0 near, 1 centre, 2 far
    int lineAlign = 0;
};

struct Path {
    QPainterPath path; // world coordinates
};

struct Region {
    QPainterPath path; // world coordinates; "everywhere" is a very large rectangle
};

using Object = std::variant<std::monostate, Brush, Pen, Path, Region, Image, Font, StringFormat>;

// One object of `type` (1 brush, 2 pen, 3 path, 4 region, 5 image, 6 font, 7 string
// format); nullopt when the data is damaged or of a kind that is not drawn.
std::optional<Object> readObject(int type, QByteArrayView data);

// Drawing record geometry. `flags` selects float, 16-bit or relative points.
QPolygonF readPoints(ByteReader& r, quint32 count, quint16 flags);
QRectF readRect(ByteReader& r, bool compressed);
QTransform readMatrix(ByteReader& r);

} // namespace ovmeta::emfplus
