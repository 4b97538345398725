#pragma once
#include "platform/win_color.h"

#include <QFont>
#include <QString>
#include <optional>

// The font of a placed object as its record stores it: colour, the character height
// in pixels (negative, as written), name, pitch and style. The point size follows from
// the height and the screen's pixels per inch.
enum class TFontPitch { fpDefault, fpVariable, fpFixed };

struct TObjectFont {
    TColor Color = clBlack;
    int Height = -13;
    QString Name = QStringLiteral("Arial");
    TFontPitch Pitch = TFontPitch::fpDefault;
    bool Bold = false, Italic = false, Underline = false, StrikeOut = false;

    bool operator==(const TObjectFont&) const = default;

    // Points from the height and back, rounded as the legacy MulDiv did.
    int Size(int ppi) const;
    void SetSize(int points, int ppi);

    // The font to draw with at a zoom: the point size replaced by trunc(size × zoom)
    // when the zoom is not 1.
    QFont toQFont(float zoom, int ppi) const;
    // Takes name, size, style and, when given, colour from a font dialog's answer.
    void assign(const QFont& f, int ppi);

    static TObjectFont withSize(const QString& name, int points, TColor color, int ppi);
};

const char* fontPitchName(TFontPitch p);

// The font dialog for an object's font, with its colour: the font as chosen (the stored
// family name kept when the same face is chosen), or nothing when cancelled. A colour
// the dialog leaves alone keeps its stored form (a system colour stays one).
std::optional<TObjectFont> ChooseObjectFont(const TObjectFont& font, int ppi, const QString& title);
