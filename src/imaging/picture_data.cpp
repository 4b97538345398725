// The Picture.Data payload of the object stream: the graphic's class name, then a
// bitmap as a counted BMP file, an icon as an ".ico" file, or a metafile as a counted
// enhanced metafile or placeable Windows metafile.
#include "imaging/picture.h"

#include "imaging/bmp_decoder.h"
#include "imaging/bmp_writer.h"
#include "imaging/byte_writer.h"
#include "imaging/metafile_decoders.h"
#include "imaging/metafile_player.h"
#include "imaging/picture_error.h"

#include <QtEndian>
#include <cmath>

namespace {

constexpr quint32 kPlaceableKey = 0x9AC6CDD7;
constexpr int kMaxClassNameLength = 63;
constexpr quint32 kEmfSignature = 1179469088; // " EMF"

using ovpic::appendLe16;
using ovpic::appendLe32;

void putClassName(QByteArray& b, const char* name)
{
    const QByteArray n(name);
    b.append(char(n.size()));
    b.append(n);
}

qint16 clamp16(qreal v)
{
    return qint16(std::clamp<qreal>(std::round(v), -32768, 32767));
}

// A plain Windows metafile gets the 22-byte placeable header, its box (0, 0, width,
// height) in hundredths of a millimetre. A picture too large for 16-bit fields gets a
// coarser unit instead. When the records state no window of their own, one is put in
// front of them so that the picture keeps its place inside that box.
QByteArray placeableWmf(const QByteArray& wmf, QSizeF natural96)
{
    int inch = 2540;
    const qreal largest = std::max(natural96.width(), natural96.height()) * inch / 96.0;
    if (largest > 32767)
        inch = std::max(1, int(std::floor(inch * 32767 / largest)));
    const qint16 right = clamp16(natural96.width() * inch / 96.0);
    const qint16 bottom = clamp16(natural96.height() * inch / 96.0);

    QByteArray records = wmf;
    ovmeta::MetafileFrame frame;
    QString error;
    if (ovmeta::readWmfFrame(wmf, frame, error) && frame.window.isNull() && wmf.size() >= 18) {
        const QRectF d = frame.device;
        QByteArray extra;
        appendLe32(extra, 5);
        appendLe16(extra, 0x020B); // SetWindowOrg: y, x
        appendLe16(extra, quint16(clamp16(std::floor(d.top()))));
        appendLe16(extra, quint16(clamp16(std::floor(d.left()))));
        appendLe32(extra, 5);
        appendLe16(extra, 0x020C); // SetWindowExt: y, x
        appendLe16(extra, quint16(std::max<qint16>(1, clamp16(std::ceil(d.height())))));
        appendLe16(extra, quint16(std::max<qint16>(1, clamp16(std::ceil(d.width())))));
        records.insert(18, extra);
        const quint32 words = qFromLittleEndian<quint32>(records.constData() + 6);
        qToLittleEndian<quint32>(words + quint32(extra.size() / 2), records.data() + 6);
    }

    QByteArray out;
    appendLe32(out, kPlaceableKey);
    appendLe16(out, 0);
    appendLe16(out, 0);
    appendLe16(out, 0);
    appendLe16(out, quint16(right));
    appendLe16(out, quint16(bottom));
    appendLe16(out, quint16(inch));
    appendLe32(out, 0);
    quint16 sum = 0;
    for (int i = 0; i < 10; ++i)
        sum ^= qFromLittleEndian<quint16>(out.constData() + 2 * i);
    appendLe16(out, sum);
    return out + records;
}

[[noreturn]] void damaged()
{
    throw EPictureError(QStringLiteral("The picture stored with the object is damaged."));
}

quint32 take32(QByteArrayView data, qsizetype& pos)
{
    if (data.size() - pos < 4)
        damaged();
    const quint32 v = qFromLittleEndian<quint32>(data.data() + pos);
    pos += 4;
    return v;
}

} // namespace

QString TPicture::graphicClassName() const
{
    switch (kind_) {
    case Kind::Bitmap: return QStringLiteral("TBitmap");
    case Kind::Icon: return QStringLiteral("TIcon");
    case Kind::Metafile: return QStringLiteral("TMetafile");
    case Kind::Empty: break;
    }
    return {};
}

QByteArray TPicture::pictureData() const
{
    QByteArray out;
    switch (kind_) {
    case Kind::Empty:
        return {};
    case Kind::Bitmap: {
        // A picture read from a BMP keeps its file byte for byte.
        const QByteArray bmp = format_ == PictureFormat::Bmp && !original_.isEmpty() ? original_
                                                                                    : EncodeBmp(image_);
        putClassName(out, "TBitmap");
        appendLe32(out, quint32(bmp.size()));
        out.append(bmp);
        return out;
    }
    case Kind::Icon:
        putClassName(out, "TIcon");
        out.append(original_);
        return out;
    case Kind::Metafile: {
        const QByteArray bits = metafile_->kind() == TMetafile::Kind::Wmf
                                    ? placeableWmf(original_, metafile_->naturalSize())
                                    : original_;
        putClassName(out, "TMetafile");
        appendLe32(out, quint32(bits.size() + 4)); // the count counts itself
        out.append(bits);
        return out;
    }
    }
    return {};
}

TPicture TPicture::fromPictureData(QByteArrayView data)
{
    if (data.isEmpty())
        damaged();
    const int nameLength = uchar(data[0]);
    if (nameLength == 0 || nameLength > kMaxClassNameLength || data.size() < 1 + nameLength)
        damaged();
    const QByteArray name = data.sliced(1, nameLength).toByteArray();
    qsizetype pos = 1 + nameLength;
    if (name == "TBitmap") {
        const quint32 size = take32(data, pos);
        if (size == 0)
            return TPicture();
        if (size > quint64(data.size() - pos))
            damaged();
        const QByteArray bmp = data.sliced(pos, size).toByteArray();
        return fromBitmap(ovpic::decodeBmp(bmp), PictureFormat::Bmp, bmp);
    }
    if (name == "TIcon")
        return fromIcoData(data.sliced(pos).toByteArray());
    if (name == "TMetafile") {
        const quint32 count = take32(data, pos);
        if (count < 4 || count - 4 > quint64(data.size() - pos))
            damaged();
        const QByteArrayView bits = data.sliced(pos, count - 4);
        const bool emf = bits.size() >= 89 && qFromLittleEndian<quint32>(bits.data()) == 1
                         && qFromLittleEndian<quint32>(bits.data() + 40) == kEmfSignature;
        TPicture p = fromMetafileData(bits.toByteArray());
        const bool expected = emf ? p.format_ == PictureFormat::Emf
                                  : p.format_ == PictureFormat::Wmf || p.format_ == PictureFormat::PlaceableWmf;
        if (!expected)
            damaged();
        return p;
    }
    throw EPictureError(QStringLiteral("The picture stored with the object is of an unknown kind (%1).")
                            .arg(QString::fromLatin1(name)));
}
