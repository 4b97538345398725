#pragma once
#include "platform/win_color.h"

#include <QFrame>
#include <vector>

class QToolButton;

// The pop-up grid of colour swatches a colour button opens: the sixteen standard
// colours and four soft ones, then "Other..." for any colour.
class TColorPalette : public QFrame {
    Q_OBJECT
public:
    explicit TColorPalette(QWidget* parent = nullptr);

    static const std::vector<TColor>& standardColors();

    // The swatch showing this colour gets a frame (none when it is not in the grid).
    void setCurrentColor(TColor color);
    TColor currentColor() const { return m_current; }

    QToolButton* swatch(int index) const;
    QToolButton* otherButton() const { return m_other; }

signals:
    void colorPicked(TColor color);
    void otherRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    std::vector<QToolButton*> m_swatches;
    QToolButton* m_other = nullptr;
    TColor m_current = clBlack;
};
