#pragma once
// Drives a modal dialog that the code under test opens with exec(): the callback runs
// once a dialog of type T is the active modal widget. A dialog still open two seconds
// after the callback is rejected, so a faulty test fails instead of hanging.
#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

namespace ovtest {

// Returns the watching timer; it deletes itself once it fired or gave up.
template <typename T>
QPointer<QTimer> onModal(std::function<void(T*)> fn, bool* seen = nullptr)
{
    auto* timer = new QTimer;
    auto ticks = std::make_shared<int>(0);
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, fn, seen, ticks] {
        if (++*ticks > 400) { // nothing came: give up quietly
            timer->stop();
            timer->deleteLater();
            return;
        }
        T* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        timer->stop();
        timer->deleteLater();
        if (seen)
            *seen = true;
        QPointer<T> guard(dialog);
        fn(dialog);
        QTimer::singleShot(2000, [guard] {
            if (guard && guard->isVisible())
                guard->reject();
        });
    });
    timer->start();
    return timer;
}

} // namespace ovtest
