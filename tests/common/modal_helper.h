#pragma once
// Drives the modal dialogs that the code under test opens with exec().
//
//     const auto dialog = ovtest::onModal<TGetHolidays>([](TGetHolidays* d) { ... });
//     editor.HolidaysButton->click();
//
// The callback runs once a dialog of type T is the active modal widget. The returned
// guard fails the test when it goes out of scope and no such dialog ever opened, so a
// button that stopped opening its dialog cannot pass unnoticed. The negative form,
// expectNoModal<T>(), fails when such a dialog did open (and closes it at once). A
// dialog still open two seconds after the callback is rejected, so a faulty test fails
// instead of hanging.
#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

namespace ovtest {

class [[nodiscard]] ModalGuard {
public:
    struct State {
        bool seen = false;
        bool mustOpen = true;
        const char* typeName = "";
        QPointer<QTimer> timer;
    };

    explicit ModalGuard(std::shared_ptr<State> state) : m_state(std::move(state)) {}
    ModalGuard(const ModalGuard&) = delete;
    ModalGuard& operator=(const ModalGuard&) = delete;
    ~ModalGuard()
    {
        delete m_state->timer.data();
        if (m_state->mustOpen)
            QVERIFY2(m_state->seen, (QByteArray("the expected dialog never opened: ") + m_state->typeName).constData());
        else
            QVERIFY2(!m_state->seen, (QByteArray("a dialog opened that must not: ") + m_state->typeName).constData());
    }
    bool seen() const { return m_state->seen; }

private:
    std::shared_ptr<State> m_state;
};

namespace detail {
template <typename T>
std::shared_ptr<ModalGuard::State> watchForModal(std::function<void(T*)> fn, bool mustOpen)
{
    auto state = std::make_shared<ModalGuard::State>();
    state->mustOpen = mustOpen;
    state->typeName = T::staticMetaObject.className();
    auto* timer = new QTimer;
    state->timer = timer;
    timer->setInterval(5);
    // The timer holds the state weakly: the guard owns it and deletes the timer.
    std::weak_ptr<ModalGuard::State> weak = state;
    QObject::connect(timer, &QTimer::timeout, [timer, fn, weak] {
        T* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        const auto s = weak.lock();
        if (!dialog || !s)
            return;
        timer->stop();
        s->seen = true;
        QPointer<T> guard(dialog);
        if (fn)
            fn(dialog);
        QTimer::singleShot(2000, [guard] {
            if (guard && guard->isVisible())
                guard->reject();
        });
    });
    timer->start();
    return state;
}
} // namespace detail

template <typename T>
ModalGuard onModal(std::function<void(T*)> fn)
{
    return ModalGuard(detail::watchForModal<T>(std::move(fn), true));
}

// A dialog of type T must not open while the guard lives; one that does is rejected.
template <typename T = QDialog>
ModalGuard expectNoModal()
{
    return ModalGuard(detail::watchForModal<T>([](T* d) { d->reject(); }, false));
}

} // namespace ovtest
