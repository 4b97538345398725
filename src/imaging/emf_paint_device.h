#pragma once
// A paint device whose painting becomes an enhanced metafile. Opaque solid fills and
// outlines, and linear and centred radial gradients, are written as vector records
// (text arrives as outlines); whatever the format cannot say (transparency, other
// gradients, textures, rotated images) is written as a bitmap at three times the
// resolution, blended in place.
#include <QByteArray>
#include <QPaintDevice>
#include <QSize>
#include <functional>
#include <memory>

class EmfPaintEngine;

class EmfPaintDevice : public QPaintDevice {
public:
    // `pixels` at 96 per inch.
    explicit EmfPaintDevice(QSize pixels);
    ~EmfPaintDevice() override;
    QPaintEngine* paintEngine() const override;
    // The finished metafile, once the painter has ended.
    QByteArray data() const;

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    QSize size_;
    std::unique_ptr<EmfPaintEngine> engine_;
};

// The drawing `paint` makes on a `pixels`-sized picture, as an enhanced metafile.
QByteArray RecordEmf(QSize pixels, const std::function<void(QPainter&)>& paint);
