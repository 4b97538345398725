#include "assistant_tip.h"

#include "shell/assistant_tip_form.h"

#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>

TAssistantTip::TAssistantTip(QObject* parent) : QObject(parent) {}

TAssistantTip::~TAssistantTip() { delete m_form; }

TAssistantTipForm* TAssistantTip::Form() const { return m_form; }

bool TAssistantTip::SetTopics(const QStringList& stored)
{
    if (stored.isEmpty())
        return false;
    bool ok = false;
    const int n = stored.first().trimmed().toInt(&ok) + 1;
    if (!ok || n < 0 || stored.size() != 1 + 2 * n)
        return false;
    Titles = stored.mid(1, n);
    Answers = stored.mid(1 + n, n);
    return true;
}

QStringList TAssistantTip::Topics() const
{
    return QStringList{QString::number(Titles.size() - 1)} + Titles + Answers;
}

void TAssistantTip::Show(QWidget* ownerWindow)
{
    if (!m_form) {
        m_form = new TAssistantTipForm;
        m_form->setTitle(Caption);
    }
    m_form->setTopics(Titles, Answers);
    m_form->setPage(1);
    m_form->showMainPage();

    // At the owner's right edge, half outside it, kept on the screen.
    const QScreen* screen = ownerWindow && ownerWindow->screen() ? ownerWindow->screen() : QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->geometry() : QRect(0, 0, 1024, 768);
    const QSize size = m_form->size();
    int left = area.left() + size.width() / 2;
    int top = area.top();
    if (ownerWindow) {
        const QRect frame = ownerWindow->frameGeometry();
        left = frame.left() + frame.width() - size.width() / 2;
        QWidget* client = ownerWindow;
        if (auto* main = qobject_cast<QMainWindow*>(ownerWindow); main && main->centralWidget())
            client = main->centralWidget();
        top = client->mapToGlobal(QPoint(0, 0)).y();
    }
    if (left + size.width() > area.right() + 1)
        left = area.right() + 1 - size.width();
    if (top + size.height() > area.bottom() + 1)
        top = area.bottom() + 1 - size.height();
    m_form->move(left, top);
    m_form->show();
    m_form->raise();
}
