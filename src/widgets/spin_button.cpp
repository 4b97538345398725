#include "spin_button.h"

#include <QBoxLayout>
#include <QKeyEvent>
#include <QToolButton>

TSpinButton::TSpinButton(QWidget* parent, Qt::Orientation orientation) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    m_up = new QToolButton(this);
    m_down = new QToolButton(this);
    m_up->setObjectName(QStringLiteral("up"));
    m_down->setObjectName(QStringLiteral("down"));
    QBoxLayout* lay;
    if (orientation == Qt::Vertical) {
        lay = new QVBoxLayout(this);
        m_up->setArrowType(Qt::UpArrow);
        m_down->setArrowType(Qt::DownArrow);
        lay->addWidget(m_up);
        lay->addWidget(m_down);
    } else {
        // Left decreases, right increases, as on a number line.
        lay = new QHBoxLayout(this);
        m_up->setArrowType(Qt::RightArrow);
        m_down->setArrowType(Qt::LeftArrow);
        lay->addWidget(m_down);
        lay->addWidget(m_up);
    }
    lay->setContentsMargins(0, 0, 0, 0);
    lay->setSpacing(0);
    for (QToolButton* b : {m_up, m_down}) {
        b->setAutoRepeat(true);
        b->setAutoRepeatDelay(400);
        b->setAutoRepeatInterval(100);
        b->setFocusPolicy(Qt::NoFocus);
        b->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
        if (orientation == Qt::Vertical)
            b->setFixedSize(18, 11);
        else
            b->setFixedSize(16, 18);
    }
    connect(m_up, &QToolButton::clicked, this, &TSpinButton::upClick);
    connect(m_down, &QToolButton::clicked, this, &TSpinButton::downClick);
}

void TSpinButton::setUpHint(const QString& hint) { m_up->setToolTip(hint); }
void TSpinButton::setDownHint(const QString& hint) { m_down->setToolTip(hint); }

void TSpinButton::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Right:
    case Qt::Key_Plus:
        emit upClick();
        return;
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Minus:
        emit downClick();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}
