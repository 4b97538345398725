#pragma once
// Vector pictures: Windows metafiles (plain and placeable), enhanced metafiles and SVG,
// recognised by content and played stretched into any rectangle of any QPainter.
#include <QByteArray>
#include <QPainter>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <memory>

class MetafileSink;
class QSvgRenderer;

class TMetafile {
public:
    enum class Kind { None, Wmf, PlaceableWmf, Emf, Svg };

    TMetafile();
    ~TMetafile();
    TMetafile(const TMetafile& other);
    TMetafile& operator=(const TMetafile& other);

    // Both return false and set errorText() when the bytes are not a picture we play;
    // the previous picture is then gone.
    bool loadFromFile(const QString& path);
    bool loadFromData(const QByteArray& bytes);
    void clear();

    bool isEmpty() const;
    Kind kind() const { return kind_; }
    // Display hint in pixels at 96 per inch.
    QSizeF naturalSize() const;
    // Stretched to `target` in the painter's coordinates; the aspect ratio is not kept.
    void play(QPainter& painter, const QRectF& target) const;
    // The same playback into another sink (tests, measuring). SVG is not sink-driven.
    void playTo(MetafileSink& sink, const QRectF& target) const;
    QString errorText() const;
    const QByteArray& data() const { return bytes_; }

private:
    Kind kind_ = Kind::None;
    QByteArray bytes_;
    QRectF frame_;
    QRectF window_;
    QSizeF natural_;
    QString error_;
    std::unique_ptr<QSvgRenderer> svg_;
};

// Plays WMF, placeable WMF, EMF or SVG bytes into `target`. False when the bytes are
// not such a picture (nothing is drawn then).
bool PlayMetafileData(QPainter& painter, const QRectF& target, const QByteArray& bytes);

// Recognition by content alone.
TMetafile::Kind DetectMetafileKind(const QByteArray& bytes);
