#pragma once
#include <QByteArray>
#include <QObject>
#include <functional>

class QSocketNotifier;

// One running program per user: a second start hands its request to the first (come
// forward, or open a file) and ends.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    // name: the executable's file name. fileToOpen: an absolute path the running
    // instance is to open when there is one; empty just brings it forward.
    explicit SingleInstance(const QString& name, const QString& fileToOpen = QString(), QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when another instance answered and was handed the request.
    bool anotherInstanceRunning() const { return m_other; }

    // Called in the first instance whenever a later start asks it to come forward.
    std::function<void()> onActivationRequest;
    // Called in the first instance when a later start hands it a file (after
    // onActivationRequest).
    std::function<void(const QString& path)> onOpenRequest;

    // The messages of the small protocol between the two, one line each.
    static QByteArray activationMessage();
    static QByteArray openMessage(const QString& path);

private:
    bool listen();
    void acceptConnections();
    void handleLine(const QByteArray& line);

    QByteArray m_socketPath; // in the file system's encoding
    int m_listenFd = -1;
    QSocketNotifier* m_listenNotifier = nullptr;
    // The socket file this instance made, so that it removes only its own.
    quint64 m_socketDevice = 0;
    quint64 m_socketInode = 0;
    bool m_other = false;
};
