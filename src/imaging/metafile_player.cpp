#include "imaging/metafile_player.h"

#include "imaging/metafile_decoders.h"
#include "imaging/metafile_sink.h"

#include <QFile>
#include <QSvgRenderer>
#include <QtEndian>

namespace {

// Larger files are not pictures a calendar uses; refusing them bounds memory.
constexpr qint64 kMaxMetafileBytes = 256LL * 1024 * 1024;

bool looksLikeSvg(const QByteArray& bytes)
{
    if (bytes.size() >= 2 && uchar(bytes[0]) == 0x1F && uchar(bytes[1]) == 0x8B)
        return true; // compressed SVG; the renderer decides
    QByteArray head = bytes.left(4096);
    qsizetype i = 0;
    if (head.startsWith("\xEF\xBB\xBF"))
        i = 3;
    while (i < head.size() && (head[i] == ' ' || head[i] == '\t' || head[i] == '\r' || head[i] == '\n'))
        ++i;
    if (i >= head.size() || head[i] != '<')
        return false;
    return head.contains("<svg");
}

} // namespace

TMetafile::Kind DetectMetafileKind(const QByteArray& bytes)
{
    if (bytes.size() >= 4 && qFromLittleEndian<quint32>(bytes.constData()) == 0x9AC6CDD7u)
        return TMetafile::Kind::PlaceableWmf;
    if (bytes.size() >= 44 && qFromLittleEndian<quint32>(bytes.constData()) == 1u
        && qFromLittleEndian<quint32>(bytes.constData() + 40) == 0x464D4520u)
        return TMetafile::Kind::Emf;
    if (bytes.size() >= 18) {
        const quint16 type = qFromLittleEndian<quint16>(bytes.constData());
        const quint16 headerWords = qFromLittleEndian<quint16>(bytes.constData() + 2);
        const quint16 version = qFromLittleEndian<quint16>(bytes.constData() + 4);
        if ((type == 1 || type == 2) && headerWords == 9 && (version == 0x0100 || version == 0x0300))
            return TMetafile::Kind::Wmf;
    }
    if (looksLikeSvg(bytes))
        return TMetafile::Kind::Svg;
    return TMetafile::Kind::None;
}

TMetafile::TMetafile() = default;
TMetafile::~TMetafile() = default;

TMetafile::TMetafile(const TMetafile& other)
{
    *this = other;
}

TMetafile& TMetafile::operator=(const TMetafile& other)
{
    if (this == &other)
        return *this;
    if (other.kind_ == Kind::None) {
        clear();
        error_ = other.error_;
    } else {
        loadFromData(other.bytes_);
    }
    return *this;
}

void TMetafile::clear()
{
    kind_ = Kind::None;
    bytes_.clear();
    frame_ = window_ = QRectF();
    natural_ = QSizeF();
    error_.clear();
    svg_.reset();
}

bool TMetafile::loadFromFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        clear();
        error_ = QStringLiteral("Cannot open \"%1\".").arg(path);
        return false;
    }
    if (f.size() > kMaxMetafileBytes) {
        clear();
        error_ = QStringLiteral("\"%1\" is too large for a picture.").arg(path);
        return false;
    }
    return loadFromData(f.readAll());
}

bool TMetafile::loadFromData(const QByteArray& bytes)
{
    clear();
    if (bytes.size() > kMaxMetafileBytes) {
        error_ = QStringLiteral("The picture is too large.");
        return false;
    }
    const Kind kind = DetectMetafileKind(bytes);
    ovmeta::MetafileFrame frame;
    QString error;
    bool ok = false;
    switch (kind) {
    case Kind::None:
        error = QStringLiteral("The data is not a metafile or SVG picture.");
        break;
    case Kind::Wmf:
    case Kind::PlaceableWmf:
        ok = ovmeta::readWmfFrame(bytes, frame, error);
        break;
    case Kind::Emf:
        ok = ovmeta::readEmfFrame(bytes, frame, error);
        break;
    case Kind::Svg: {
        // An XML declaration must come first; tolerate a mark or blanks before it.
        qsizetype start = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
        while (start < bytes.size() && QChar::isSpace(uchar(bytes.at(start))))
            ++start;
        auto svg = std::make_unique<QSvgRenderer>(bytes.sliced(start));
        if (!svg->isValid()) {
            error = QStringLiteral("The SVG picture cannot be read.");
            break;
        }
        const QSize size = svg->defaultSize();
        frame.naturalSize = size.isValid() ? QSizeF(size) : svg->viewBoxF().size();
        svg_ = std::move(svg);
        ok = true;
        break;
    }
    }
    if (!ok) {
        error_ = error;
        return false;
    }
    kind_ = kind;
    bytes_ = bytes;
    frame_ = frame.device;
    window_ = frame.window;
    natural_ = frame.naturalSize;
    return true;
}

bool TMetafile::isEmpty() const
{
    return kind_ == Kind::None;
}

QSizeF TMetafile::naturalSize() const
{
    return natural_;
}

QString TMetafile::errorText() const
{
    return error_;
}

void TMetafile::playTo(MetafileSink& sink, const QRectF& target) const
{
    ovmeta::MetafileFrame frame;
    frame.device = frame_;
    frame.window = window_;
    frame.naturalSize = natural_;
    if (kind_ == Kind::Wmf || kind_ == Kind::PlaceableWmf)
        ovmeta::playWmf(bytes_, frame, sink, target);
    else if (kind_ == Kind::Emf)
        ovmeta::playEmf(bytes_, frame, sink, target);
}

void TMetafile::play(QPainter& painter, const QRectF& target) const
{
    if (kind_ == Kind::None || !target.isValid() || !painter.isActive())
        return;
    if (kind_ == Kind::Svg) {
        painter.save();
        svg_->setAspectRatioMode(Qt::IgnoreAspectRatio);
        svg_->render(&painter, target);
        painter.restore();
        return;
    }
    MetafilePainterSink sink(painter);
    playTo(sink, target);
}

bool PlayMetafileData(QPainter& painter, const QRectF& target, const QByteArray& bytes)
{
    TMetafile mf;
    if (!mf.loadFromData(bytes))
        return false;
    mf.play(painter, target);
    return true;
}
