#include "large_image.h"

#include <climits>
#include <cstdint>
#include <cstring>
#include <sys/mman.h>

namespace {

constexpr qsizetype kHugePage = qsizetype(2) << 20;
constexpr qsizetype kLargeImageBytes = qsizetype(512) << 10;

struct Mapping {
    void* start;
    size_t length;
};

void unmap(void* info)
{
    const auto* m = static_cast<Mapping*>(info);
    ::munmap(m->start, m->length);
    delete m;
}

} // namespace

QImage NewLargeImage(QSize size, QImage::Format format)
{
    // Formats with a colour table are left to QImage, which sets the table up.
    const int depth = QImage::toPixelFormat(format).bitsPerPixel();
    if (size.isEmpty() || depth < 16 || format == QImage::Format_Invalid)
        return QImage(size, format);
    // Lines are 32-bit aligned, as QImage lays them out itself.
    const qint64 bytesPerLine = ((qint64(size.width()) * depth + 31) / 32) * 4;
    const qint64 bytes = bytesPerLine * size.height();
    if (bytes < kLargeImageBytes || bytesPerLine > INT_MAX || bytes > (qint64(1) << 40))
        return QImage(size, format);
    // Whole huge pages, aligned to one: a page that straddles the start would stay small.
    const size_t length = size_t((bytes + kHugePage - 1) / kHugePage * kHugePage);
    void* raw = ::mmap(nullptr, length + size_t(kHugePage), PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED)
        return QImage(size, format);
    auto* start = reinterpret_cast<unsigned char*>(raw);
    auto* aligned = reinterpret_cast<unsigned char*>((reinterpret_cast<std::uintptr_t>(start) + kHugePage - 1)
                                                     & ~std::uintptr_t(kHugePage - 1));
    if (aligned > start)
        ::munmap(start, size_t(aligned - start));
    const size_t tail = size_t(start + length + size_t(kHugePage) - (aligned + length));
    if (tail > 0)
        ::munmap(aligned + length, tail);
    ::madvise(aligned, length, MADV_HUGEPAGE); // a hint: small pages still work without it
    auto* mapping = new Mapping{aligned, length};
    QImage image(aligned, size.width(), size.height(), qsizetype(bytesPerLine), format, unmap, mapping);
    if (image.isNull())
        unmap(mapping);
    return image.isNull() ? QImage(size, format) : image;
}

QImage CopyLargeImage(const QImage& image, const QRect& rect)
{
    // Parts outside the image (which QImage::copy fills) and pixels smaller than a byte are
    // left to QImage.
    if (rect.isEmpty() || !image.rect().contains(rect) || image.depth() % 8 != 0)
        return image.copy(rect);
    QImage copy = NewLargeImage(rect.size(), image.format());
    if (copy.isNull())
        return image.copy(rect);
    const int bytesPerPixel = image.depth() / 8;
    const size_t lineBytes = size_t(rect.width()) * size_t(bytesPerPixel);
    for (int y = 0; y < rect.height(); ++y)
        std::memcpy(copy.scanLine(y), image.constScanLine(rect.top() + y) + size_t(rect.left()) * size_t(bytesPerPixel),
                    lineBytes);
    copy.setDotsPerMeterX(image.dotsPerMeterX());
    copy.setDotsPerMeterY(image.dotsPerMeterY());
    copy.setColorTable(image.colorTable());
    copy.setOffset(image.offset());
    copy.setDevicePixelRatio(image.devicePixelRatio());
    return copy;
}
