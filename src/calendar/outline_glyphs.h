#pragma once
class QFont;
class QPainter;

// Qt's FreeType engine draws glyphs too large for its glyph cache (over 64 pixels) from
// outlines it loads from the face that every size of the font shares, and that face still
// holds the sub-pixel offset of whichever small glyph was last rasterised from it. A large
// text then lands a fraction of a pixel off, depending on what was drawn before it: the
// first drawing of a page differs from the next. Before large texts on a raster painter,
// this puts the font's face back to no offset, as on a first drawing.
void ResetOutlineGlyphOffset(QPainter& painter, const QFont& font);
