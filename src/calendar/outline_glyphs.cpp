#include "outline_glyphs.h"

#include <QFont>
#include <QPaintEngine>
#include <QPainter>
#include <QRawFont>
#include <cmath>

void ResetOutlineGlyphOffset(QPainter& painter, const QFont& font)
{
    if (!painter.paintEngine() || painter.paintEngine()->type() != QPaintEngine::Raster)
        return;
    // The engine's own test, with room to spare: a needless reset costs one empty glyph.
    const double pixels = font.pixelSize() * std::sqrt(std::abs(painter.combinedTransform().determinant()));
    if (pixels < 56)
        return;
    // The engine caches no glyph drawn through a perspective transform: it loads the glyph
    // anew at offset zero, and the face keeps that offset.
    const QRawFont raw = QRawFont::fromFont(font);
    if (raw.isValid())
        raw.alphaMapForGlyph(raw.glyphIndexesForString(QStringLiteral(" ")).value(0), QRawFont::PixelAntialiasing,
                             QTransform(1, 0, 1e-4, 0, 1, 0, 0, 0, 1));
}
