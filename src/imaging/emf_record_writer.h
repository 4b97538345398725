#pragma once
// Byte-level writer of enhanced metafile records, for pictures we record ourselves. All
// coordinates given to it are logical units; the picture maps `unitsPerPixel` of them
// onto one pixel of a 96-per-inch reference device.
#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QPainterPath>
#include <QRect>
#include <QVector>

class EmfRecordWriter {
public:
    EmfRecordWriter(QSize pixels, int unitsPerPixel);

    // Selectable object slots; stock objects are selected by their stock number.
    enum Slot : quint32 { BrushSlot = 1, PenSlot = 2 };
    static constexpr quint32 kNullBrush = 0x80000005;
    static constexpr quint32 kNullPen = 0x80000008;
    static constexpr quint32 kBlackPen = 0x80000007;
    static constexpr quint32 kWhiteBrush = 0x80000000;

    void createSolidBrush(quint32 slot, QColor color);
    // A geometric pen: `width` in logical units, style bits PS_ENDCAP_* | PS_JOIN_*,
    // `dashes` (logical units) for a user-styled pen.
    void createPen(quint32 slot, quint32 styleBits, quint32 width, QColor color, const QVector<quint32>& dashes);
    void selectObject(quint32 handle);
    void deleteObject(quint32 slot);
    void setPolyFillMode(Qt::FillRule rule);
    void setMiterLimit(float limit);
    void saveDC();
    void restoreDC();

    // `path` in logical units. Each subpath becomes moves, lines and Bezier curves.
    void pathBracket(const QPainterPath& path);
    void fillPath(const QRect& bounds);
    void strokePath(const QRect& bounds);
    void selectClipPath(int mode); // RGN_AND 1, RGN_COPY 5
    void resetClip();

    // Opaque image, stretched into `dest` (logical units).
    void stretchDIBits(const QRect& dest, const QImage& image);
    // Image with (premultiplied) alpha, blended into `dest`.
    void alphaBlend(const QRect& dest, const QImage& image);

    // The finished metafile: header, records, end-of-file record.
    QByteArray finish() const;

private:
    void record(quint32 type, const QByteArray& params);
    QByteArray body_;
    int records_ = 0;
    QSize pixels_;
    int units_;
};
