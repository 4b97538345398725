#pragma once
// EMF+ records, carried in the comment records of an enhanced metafile, drawn onto the
// sink the EMF records use. A file whose EMF+ records each have an EMF twin ("dual")
// keeps being drawn from its EMF records; a file of EMF+ records alone is drawn from
// them, with the EMF records between a GetDC record and the next EMF+ record.
#include "imaging/metafile_emfplus_objects.h"
#include "imaging/metafile_sink.h"

#include <array>
#include <vector>

namespace ovmeta {

class EmfPlusPlayer {
public:
    // `deviceToTarget` maps the reference device's pixels onto the target.
    EmfPlusPlayer(MetafileSink& sink, const QTransform& deviceToTarget, const QRectF& target);
    ~EmfPlusPlayer();
    EmfPlusPlayer(const EmfPlusPlayer&) = delete;
    EmfPlusPlayer& operator=(const EmfPlusPlayer&) = delete;

    // The data of an EMR_COMMENT record (after its size field). True when it holds EMF+
    // records, which are then drawn (or, in a dual file, passed over).
    bool comment(QByteArrayView data);
    // Whether the EMF records met now are to be drawn.
    bool drawsEmfRecords() const;
    // True when EMF+ drawing has set the sink's clip since it was last asked: the EMF
    // device context must then send its own again before it draws.
    bool yieldClip();

private:
    struct State {
        QTransform world;
        int pageUnit = emfplus::UnitDisplay;
        qreal pageScale = 1;
        std::optional<QPainterPath> clip; // target coordinates
    };

    void record(quint16 type, quint16 flags, QByteArrayView data);
    void objectRecord(quint16 flags, QByteArrayView data);
    void fillRects(quint16 flags, ByteReader& r);
    void drawString(quint16 flags, ByteReader& r);
    void drawDriverString(quint16 flags, ByteReader& r);
    void drawImage(quint16 flags, ByteReader& r, bool points);
    void drawImageAt(const emfplus::Image& image, const QRectF& src, const QPolygonF& dest);
    void emitText(const QString& text, QPointF baselineWorld, const QFont& font, qreal emWorld,
                  const QTransform& toTarget, QColor color, const QVector<qreal>& advancesWorld);
    void combineClip(const QPainterPath& target, int mode);

    QTransform worldToTarget() const;
    qreal pagePixelsPerUnit() const;
    qreal emInWorld(const emfplus::Font& font) const;
    std::optional<MetafilePaint> brushPaint(quint16 flags, quint32 brushId) const;
    std::optional<MetafilePaint> penPaint(quint32 penId) const;
    void fill(const QPainterPath& world, quint16 flags, quint32 brushId);
    void stroke(const QPainterPath& world, quint32 penId);
    void ensureClip();
    template <typename T> const T* object(quint32 id) const
    {
        return id < objects_.size() ? std::get_if<T>(&objects_[id]) : nullptr;
    }

    MetafileSink& sink_;
    QTransform deviceToTarget_;
    QRectF target_;
    bool inert_ = false; // nested too deep: EMF+ records are ignored
    bool headerSeen_ = false;
    bool dual_ = false;
    bool videoDevice_ = true;
    qreal dpiX_ = 96, dpiY_ = 96;
    bool getDc_ = false;
    bool ownsClip_ = false;
    bool clipSent_ = false;
    qint64 clipWork_ = 0;
    State s_;
    std::vector<std::pair<quint32, State>> stack_;
    std::array<emfplus::Object, 64> objects_;
    // An object too large for one record arrives in parts.
    int partId_ = -1;
    int partType_ = 0;
    quint32 partTotal_ = 0;
    QByteArray partData_;
};

} // namespace ovmeta
