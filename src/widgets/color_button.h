#pragma once
#include "platform/win_color.h"

#include <QPushButton>

class TColorPalette;

// A push button showing a colour swatch. A click opens the colour palette; the colour
// the user picks there (or through "Other...") is shown and reported by colorChanged.
class TColorButton : public QPushButton {
    Q_OBJECT
public:
    explicit TColorButton(QWidget* parent = nullptr);
    explicit TColorButton(const QString& text, QWidget* parent = nullptr);

    TColor color() const { return m_color; }
    // Shows a colour without reporting it (filling a dialog from its model).
    void setColor(TColor color);

    // Title of the colour dialog behind "Other...".
    void setDialogTitle(const QString& title) { m_dialogTitle = title; }

    // The palette, created on first use.
    TColorPalette* palettePopup();

public slots:
    void showPalette();
    // What a click on a swatch does: take the colour and report it.
    void pickColor(TColor color);
    // What "Other..." does: ask the colour dialog; a cancelled dialog changes nothing.
    void chooseOtherColor();

signals:
    void colorChanged(TColor color);

private:
    void updateSwatch();

    TColor m_color = clBlack;
    QString m_dialogTitle = QStringLiteral("Color");
    TColorPalette* m_palette = nullptr;
};
