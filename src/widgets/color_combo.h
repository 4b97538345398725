#pragma once
#include "platform/win_color.h"

#include <QComboBox>

// A drop-down list of named colours, each with its swatch, ending in "Custom..." which
// asks the colour dialog. A colour not in the list is added as its own entry.
class TColorCombo : public QComboBox {
    Q_OBJECT
public:
    explicit TColorCombo(QWidget* parent = nullptr);

    TColor color() const { return m_color; }
    // Shows a colour without reporting it.
    void setColor(TColor color);

    void setDialogTitle(const QString& title) { m_dialogTitle = title; }

    // The named colours the list starts with, in list order.
    static const std::vector<std::pair<QString, TColor>>& namedColors();

signals:
    void colorChanged(TColor color);

private:
    void onActivated(int index);
    int indexOfColor(TColor color) const;
    int addCustomColor(TColor color);

    TColor m_color = clBlack;
    QString m_dialogTitle = QStringLiteral("Color");
    int m_customRow = 0; // index of "Custom..."
};
