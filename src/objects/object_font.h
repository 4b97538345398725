#pragma once
#include "platform/win_color.h"

#include <QFont>
#include <QString>

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
