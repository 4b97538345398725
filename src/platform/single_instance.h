#pragma once
#include <QObject>
#include <functional>

class QLocalServer;

// One running program per user: a second start asks the first to come forward and ends.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    // name: the executable's file name.
    explicit SingleInstance(const QString& name, QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when another instance answered and was asked to come forward.
    bool anotherInstanceRunning() const { return m_other; }

    // Called in the first instance whenever a later start asks it to come forward.
    std::function<void()> onActivationRequest;

private:
    QString m_serverName;
    QLocalServer* m_server = nullptr;
    bool m_other = false;
};
