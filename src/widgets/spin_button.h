#pragma once
#include <QWidget>

class QToolButton;

// Two small arrow buttons, up and down, that report steps. Holding a button repeats;
// with the focus, the arrow keys and plus/minus step as well.
class TSpinButton : public QWidget {
    Q_OBJECT
public:
    explicit TSpinButton(QWidget* parent = nullptr, Qt::Orientation orientation = Qt::Vertical);

    QToolButton* upButton() const { return m_up; }
    QToolButton* downButton() const { return m_down; }

    void setUpHint(const QString& hint);
    void setDownHint(const QString& hint);

signals:
    void upClick();
    void downClick();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QToolButton* m_up;
    QToolButton* m_down;
};
