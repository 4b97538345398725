#pragma once
// Record decoders for Windows metafiles (plain and placeable) and enhanced metafiles.
#include "imaging/metafile_sink.h"

#include <QByteArray>
#include <QRectF>
#include <QString>
#include <QTransform>
#include <QtEndian>
#include <cstring>

namespace ovmeta {

enum class MetafileFormat { Unknown, Wmf, PlaceableWmf, Emf, Svg };

// Recognises the format from the bytes alone.
MetafileFormat detectMetafileFormat(const QByteArray& bytes);

// What playback needs to know before drawing: the part of the picture's device space
// that is stretched onto the target, and a display size.
struct MetafileFrame {
    QRectF device;      // device space rectangle mapped onto the target
    QSizeF naturalSize; // pixels at 96 per inch
    QRectF window;      // WMF: the window the player starts with; null: logical = device
};

// Both return false with a reason when the header is unusable.
bool readWmfFrame(const QByteArray& bytes, MetafileFrame& frame, QString& error);
bool readEmfFrame(const QByteArray& bytes, MetafileFrame& frame, QString& error);

// Play every record onto `sink`, stretching `frame.device` onto `target`.
void playWmf(const QByteArray& bytes, const MetafileFrame& frame, MetafileSink& sink,
             const QRectF& target);
void playEmf(const QByteArray& bytes, const MetafileFrame& frame, MetafileSink& sink,
             const QRectF& target);

QTransform frameToTarget(const QRectF& frame, const QRectF& target);

// Bounds-checked little-endian reading: reads past the end give 0 and clear ok().
class ByteReader {
public:
    ByteReader(const char* data, qsizetype size) : d_(data), n_(size < 0 ? 0 : size) {}
    qsizetype size() const { return n_; }
    qsizetype pos() const { return pos_; }
    qsizetype remaining() const { return n_ - pos_; }
    bool ok() const { return ok_; }
    bool has(qsizetype bytes) const { return bytes >= 0 && bytes <= n_ - pos_; }
    void seek(qsizetype at)
    {
        if (at < 0 || at > n_) {
            ok_ = false;
            pos_ = n_;
        } else {
            pos_ = at;
        }
    }
    void skip(qsizetype bytes) { seek(pos_ + bytes); }
    quint8 u8() { return take<quint8>(); }
    quint16 u16() { return take<quint16>(); }
    qint16 i16() { return take<qint16>(); }
    quint32 u32() { return take<quint32>(); }
    qint32 i32() { return take<qint32>(); }
    float f32()
    {
        const quint32 v = u32();
        float f;
        std::memcpy(&f, &v, 4);
        return f;
    }
    QByteArrayView bytes(qsizetype count)
    {
        if (!has(count)) {
            ok_ = false;
            pos_ = n_;
            return {};
        }
        QByteArrayView v(d_ + pos_, count);
        pos_ += count;
        return v;
    }
    // A view of [at, at+count) without moving; empty when out of range.
    QByteArrayView at(qsizetype at, qsizetype count) const
    {
        if (at < 0 || count < 0 || at > n_ || count > n_ - at)
            return {};
        return QByteArrayView(d_ + at, count);
    }
    const char* data() const { return d_; }

private:
    template <typename T> T take()
    {
        if (!has(sizeof(T))) {
            ok_ = false;
            pos_ = n_;
            return T(0);
        }
        const T v = qFromLittleEndian<T>(d_ + pos_);
        pos_ += sizeof(T);
        return v;
    }
    const char* d_;
    qsizetype n_;
    qsizetype pos_ = 0;
    bool ok_ = true;
};

} // namespace ovmeta
