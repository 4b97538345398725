#include "single_instance.h"

#include <QLocalServer>
#include <QLocalSocket>

namespace {
QString serverNameFor(const QString& name)
{
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty())
        user = QStringLiteral("user");
    return name + QLatin1Char('-') + user;
}
} // namespace

SingleInstance::SingleInstance(const QString& name, QObject* parent)
    : QObject(parent), m_serverName(serverNameFor(name))
{
    QLocalSocket probe;
    probe.connectToServer(m_serverName);
    if (probe.waitForConnected(500)) {
        probe.write("activate\n");
        probe.waitForBytesWritten(500);
        probe.disconnectFromServer();
        m_other = true;
        return;
    }
    m_server = new QLocalServer(this);
    // A server left behind by a crashed instance would block us forever.
    QLocalServer::removeServer(m_serverName);
    if (!m_server->listen(m_serverName))
        return;
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* s = m_server->nextPendingConnection()) {
            connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
            if (onActivationRequest)
                onActivationRequest();
        }
    });
}

SingleInstance::~SingleInstance()
{
    if (m_server)
        m_server->close();
}
