#pragma once
#include <QWidget>

class TGBasePanel;

// Covers the host panel above every object and draws the outlines the legacy program
// drew with a dotted white XOR pen: the rubber band, the drag outline and the nudge
// outline. It takes no mouse input and shows only while there is something to draw.
class SelectionOverlay : public QWidget {
    Q_OBJECT
public:
    explicit SelectionOverlay(TGBasePanel* panel);
    // Shows, raises or hides itself according to what the panel has to draw.
    void refresh();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QList<QRect> outlines() const;
    TGBasePanel* m_panel;
};
