#include "single_instance.h"

#include <QDir>
#include <QFile>
#include <QSocketNotifier>
#include <QTimer>
#include <QUrl>

#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {
// A request is one short line; anything longer is not ours and is dropped.
constexpr qsizetype kMaxRequest = 64 * 1024;
// A later start waits this long for the first to take its call, and then for its request
// to go out; it is about to end either way.
constexpr int kConnectTimeoutMs = 500;
constexpr int kWriteTimeoutMs = 2000;

QString serverNameFor(const QString& name)
{
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty())
        user = QStringLiteral("user");
    return name + QLatin1Char('-') + user;
}

// Where QLocalServer put a server of that name, so that older and newer builds still meet.
QByteArray socketPathFor(const QString& name)
{
    return QFile::encodeName(QDir::tempPath() + QLatin1Char('/') + serverNameFor(name));
}

// False when the path does not fit a socket address.
bool toAddress(const QByteArray& path, sockaddr_un& address)
{
    address = {};
    address.sun_family = AF_UNIX;
    if (path.isEmpty() || path.size() >= qsizetype(sizeof address.sun_path))
        return false;
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    return true;
}

void setSendTimeout(int fd, int ms)
{
    const timeval t{ms / 1000, (ms % 1000) * 1000};
    ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &t, sizeof t);
}

bool sendAll(int fd, const QByteArray& bytes)
{
    qsizetype sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::send(fd, bytes.constData() + sent, size_t(bytes.size() - sent), MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        sent += n;
    }
    return true;
}

// Hands the request to a running instance; false when none takes the call. Blocks briefly,
// which only a start that is about to end does.
bool handToRunningInstance(const sockaddr_un& address, const QByteArray& request)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    // A stream connect waits, up to the send timeout, while the first's queue of calls is full.
    setSendTimeout(fd, kConnectTimeoutMs);
    int rc;
    do
        rc = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    while (rc < 0 && errno == EINTR);
    const bool connected = rc == 0 || errno == EISCONN;
    if (connected) {
        setSendTimeout(fd, kWriteTimeoutMs);
        sendAll(fd, request); // the first answered: it runs, whatever became of the request
    }
    ::close(fd);
    return connected;
}

bool statPath(const QByteArray& path, struct stat& st) { return ::lstat(path.constData(), &st) == 0; }

// One connection of a later start: its lines as they come, read without ever blocking.
class RequestReader : public QObject {
public:
    RequestReader(int fd, QObject* parent, std::function<void(const QByteArray&)> onLine)
        : QObject(parent), m_fd(fd), m_notifier(new QSocketNotifier(fd, QSocketNotifier::Read)),
          m_onLine(std::move(onLine))
    {
        connect(m_notifier, &QSocketNotifier::activated, this, [this] { readAvailable(); });
    }

    ~RequestReader() override
    {
        delete m_notifier; // before its descriptor goes
        if (m_fd >= 0)
            ::close(m_fd);
    }

private:
    // One read at a time: the notifier comes back while more is waiting, so a chatty peer
    // cannot hold up the event loop.
    void readAvailable()
    {
        char chunk[16 * 1024];
        const ssize_t n = ::read(m_fd, chunk, sizeof chunk);
        if (n < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK))
            return;
        if (n <= 0) { // the peer is done; a last line without its newline is no request
            finish();
            return;
        }
        m_pending.append(chunk, n);
        qsizetype start = 0;
        for (qsizetype end; (end = m_pending.indexOf('\n', start)) >= 0; start = end + 1) {
            if (end - start > kMaxRequest) {
                finish();
                return;
            }
            m_onLine(m_pending.mid(start, end - start).trimmed());
        }
        m_pending.remove(0, start);
        if (m_pending.size() > kMaxRequest)
            finish();
    }

    void finish()
    {
        m_notifier->setEnabled(false);
        ::close(m_fd);
        m_fd = -1;
        deleteLater(); // we are inside the notifier's signal
    }

    int m_fd;
    QSocketNotifier* m_notifier;
    std::function<void(const QByteArray&)> m_onLine;
    QByteArray m_pending;
};
} // namespace

QByteArray SingleInstance::activationMessage() { return QByteArrayLiteral("activate\n"); }

QByteArray SingleInstance::openMessage(const QString& path)
{
    // As a file URL: percent-encoded, so no path can break the line.
    return QByteArrayLiteral("open ") + QUrl::fromLocalFile(path).toEncoded() + '\n';
}

SingleInstance::SingleInstance(const QString& name, const QString& fileToOpen, QObject* parent)
    : QObject(parent), m_socketPath(socketPathFor(name))
{
    sockaddr_un address;
    if (!toAddress(m_socketPath, address))
        return; // no place to meet: this start runs on its own
    const QByteArray request = fileToOpen.isEmpty() ? activationMessage() : openMessage(fileToOpen);
    if (handToRunningInstance(address, request)) {
        m_other = true;
        return;
    }
    // Another start may have begun listening since we looked; if so, it takes the request.
    if (!listen())
        m_other = handToRunningInstance(address, request);
}

SingleInstance::~SingleInstance()
{
    if (m_listenFd < 0)
        return;
    delete m_listenNotifier;
    ::close(m_listenFd);
    // Only the file this instance made: a later one may have put its own in its place.
    struct stat st {};
    if (statPath(m_socketPath, st) && quint64(st.st_dev) == m_socketDevice && quint64(st.st_ino) == m_socketInode)
        ::unlink(m_socketPath.constData());
}

bool SingleInstance::listen()
{
    sockaddr_un address;
    toAddress(m_socketPath, address);
    // Whatever a crashed instance left at the path would keep us from listening for good.
    struct stat st {};
    if (statPath(m_socketPath, st) && !S_ISDIR(st.st_mode))
        ::unlink(m_socketPath.constData());

    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    // Only this user may hand us requests. The socket file takes the socket's own mode
    // (less the umask), so it never exists with a wider one.
    ::fchmod(fd, S_IRUSR | S_IWUSR);
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) < 0) {
        ::close(fd);
        return false;
    }
    const bool made = statPath(m_socketPath, st) && S_ISSOCK(st.st_mode);
    if (!made || ::listen(fd, SOMAXCONN) < 0) {
        if (made)
            ::unlink(m_socketPath.constData());
        ::close(fd);
        return false;
    }
    m_listenFd = fd;
    m_socketDevice = quint64(st.st_dev);
    m_socketInode = quint64(st.st_ino);
    m_listenNotifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(m_listenNotifier, &QSocketNotifier::activated, this, &SingleInstance::acceptConnections);
    return true;
}

void SingleInstance::acceptConnections()
{
    for (;;) {
        const int fd = ::accept4(m_listenFd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd >= 0) {
            new RequestReader(fd, this, [this](const QByteArray& line) { handleLine(line); });
            continue;
        }
        if (errno == EINTR || errno == ECONNABORTED)
            continue;
        if (errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM) {
            // The call stays queued; look again in a while rather than spin on it.
            m_listenNotifier->setEnabled(false);
            QTimer::singleShot(200, m_listenNotifier, [n = m_listenNotifier] { n->setEnabled(true); });
        }
        return; // EAGAIN: every waiting call is taken
    }
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
