#include "single_instance.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QUrl>

namespace {
// A request is one short line; anything longer is not ours and is dropped.
constexpr qint64 kMaxRequest = 64 * 1024;

QString serverNameFor(const QString& name)
{
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty())
        user = QStringLiteral("user");
    return name + QLatin1Char('-') + user;
}
} // namespace

QByteArray SingleInstance::activationMessage() { return QByteArrayLiteral("activate\n"); }

QByteArray SingleInstance::openMessage(const QString& path)
{
    // As a file URL: percent-encoded, so no path can break the line.
    return QByteArrayLiteral("open ") + QUrl::fromLocalFile(path).toEncoded() + '\n';
}

SingleInstance::SingleInstance(const QString& name, const QString& fileToOpen, QObject* parent)
    : QObject(parent), m_serverName(serverNameFor(name))
{
    QLocalSocket probe;
    probe.connectToServer(m_serverName);
    if (probe.waitForConnected(500)) {
        probe.write(fileToOpen.isEmpty() ? activationMessage() : openMessage(fileToOpen));
        probe.waitForBytesWritten(2000);
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
            connect(s, &QLocalSocket::readyRead, this, [this, s] { readRequests(s); });
            connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
            readRequests(s); // what arrived with the connection
        }
    });
}

SingleInstance::~SingleInstance()
{
    if (m_server)
        m_server->close();
}

void SingleInstance::readRequests(QLocalSocket* socket)
{
    while (socket->canReadLine()) {
        const QByteArray line = socket->readLine(kMaxRequest).trimmed();
        handleLine(line);
    }
    if (socket->bytesAvailable() > kMaxRequest)
        socket->abort();
}

void SingleInstance::handleLine(const QByteArray& line)
{
    // Handled from the event loop, not inside the socket's signal: opening a file may
    // ask questions (a nested loop) while the socket goes away.
    if (line == "activate") {
        QMetaObject::invokeMethod(
            this, [this] { if (onActivationRequest) onActivationRequest(); }, Qt::QueuedConnection);
        return;
    }
    if (!line.startsWith("open "))
        return;
    const QUrl url = QUrl::fromEncoded(line.mid(5));
    if (!url.isLocalFile())
        return;
    const QString path = url.toLocalFile();
    QMetaObject::invokeMethod(
        this,
        [this, path] {
            if (onActivationRequest)
                onActivationRequest();
            if (onOpenRequest)
                onOpenRequest(path);
        },
        Qt::QueuedConnection);
}
