#include "platform/single_instance.h"
#include "test_registry.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <QUuid>
#include <cerrno>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {
// A fresh instance name, and where its first instance listens (where older builds did too).
QString uniqueName() { return QStringLiteral("ov-si-") + QUuid::createUuid().toString(QUuid::Id128); }
QByteArray socketPath(const QString& name)
{
    const QString user = qEnvironmentVariableIsEmpty("USER") ? QStringLiteral("user") : qEnvironmentVariable("USER");
    return QFile::encodeName(QDir::tempPath() + QLatin1Char('/') + name + QLatin1Char('-') + user);
}

// A socket of the test's own at the path: connected to it, or bound there (leaving a file).
int rawSocket(const QByteArray& path, bool connectIt = true)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un a{AF_UNIX, {}};
    qstrncpy(a.sun_path, path.constData(), sizeof a.sun_path);
    const int rc = connectIt ? ::connect(fd, (sockaddr*)&a, sizeof a) : ::bind(fd, (sockaddr*)&a, sizeof a);
    return rc == 0 ? fd : (::close(fd), -1);
}
bool send(int fd, const QByteArray& b) { return ::send(fd, b.constData(), b.size(), MSG_NOSIGNAL) == b.size(); }
bool closedByPeer(int fd) { char c; const ssize_t n = ::recv(fd, &c, 1, MSG_DONTWAIT); return n == 0 || (n < 0 && errno != EAGAIN); }
int openDescriptors() { return int(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::System).size()); }

struct Recorder {
    int activations = 0;
    QStringList opened;
    explicit Recorder(SingleInstance& s)
    {
        s.onActivationRequest = [this] { ++activations; };
        s.onOpenRequest = [this](const QString& p) { opened << p; };
    }
};
} // namespace

class TestSingleInstance : public QObject {
    Q_OBJECT
private slots:
    void requestsFromSeveralConnectionsArriveWhole()
    {
        const QString name = uniqueName();
        SingleInstance first(name);
        Recorder r(first);
        const int a = rawSocket(socketPath(name)), b = rawSocket(socketPath(name));
        QVERIFY(send(a, "open file:///tmp/Sp") && send(b, "hello\nopen http://example.com/x.OVF\nactivate\n"));
        QTRY_COMPARE(r.activations, 1);
        QVERIFY(send(a, "lit.OVF\nactivate")); // a last line without its newline is no request
        ::close(a);
        ::close(b);
        QTRY_COMPARE(r.opened, QStringList{QStringLiteral("/tmp/Split.OVF")});

        const QString odd = QStringLiteral("/tmp/My Calendars/100% Jänner Ωmega #2?.OVF");
        QVERIFY(SingleInstance(name, odd).anotherInstanceRunning());
        QTRY_COMPARE(r.opened.size(), 2);
        QCOMPARE(r.opened.last(), odd);
        QCOMPARE(r.activations, 3);
    }

    void overLongRequestDropsOnlyItsConnection()
    {
        const QString name = uniqueName();
        SingleInstance first(name);
        Recorder r(first);
        const int fd = rawSocket(socketPath(name));
        ::fcntl(fd, F_SETFL, O_NONBLOCK);
        QVERIFY(send(fd, "activate\n"));
        for (int i = 0; i < 20 && !closedByPeer(fd); ++i) { // 80 KiB of one line, unless dropped sooner
            send(fd, QByteArray(4096, 'x'));
            QCoreApplication::processEvents();
        }
        QTRY_VERIFY(closedByPeer(fd));
        ::close(fd);
        QVERIFY(SingleInstance(name, QStringLiteral("/tmp/After.OVF")).anotherInstanceRunning());
        QTRY_COMPARE(r.opened, QStringList{QStringLiteral("/tmp/After.OVF")});
        QCOMPARE(r.activations, 2);
    }

    void leftoversAtThePathDoNotStopTheFirst()
    {
        for (const bool deadSocket : {false, true}) {
            const QString name = uniqueName();
            if (deadSocket)
                ::close(rawSocket(socketPath(name), false));
            else
                QVERIFY(QFile(QString::fromLocal8Bit(socketPath(name))).open(QIODevice::WriteOnly));
            SingleInstance first(name);
            Recorder r(first);
            QVERIFY(!first.anotherInstanceRunning());
            QVERIFY(SingleInstance(name).anotherInstanceRunning());
            QTRY_COMPARE(r.activations, 1);
        }
        // A path too long for a socket: each start runs on its own.
        const QString tooLong = uniqueName().repeated(4);
        SingleInstance alone(tooLong);
        QVERIFY(!alone.anotherInstanceRunning() && !SingleInstance(tooLong).anotherInstanceRunning());
    }

    void socketFileIsPrivateAndGoesWithItsInstance()
    {
        const QString name = uniqueName();
        const QByteArray path = socketPath(name);
        const int descriptors = openDescriptors();
        struct stat st {};
        {
            SingleInstance first(name);
            QVERIFY(SingleInstance(name).anotherInstanceRunning()); // a later start leaves the file be
            ::close(rawSocket(path));
            QTest::qWait(0);
            QVERIFY(::lstat(path.constData(), &st) == 0 && S_ISSOCK(st.st_mode));
            QCOMPARE(st.st_mode & 0777, mode_t(0600));
        }
        QCOMPARE(::lstat(path.constData(), &st), -1);
        QCOMPARE(openDescriptors(), descriptors);
        {
            SingleInstance first(name);
            ::unlink(path.constData()); // another's file in its place stays
            QVERIFY(QFile(QString::fromLocal8Bit(path)).open(QIODevice::WriteOnly));
        }
        QCOMPARE(::unlink(path.constData()), 0);
    }
};

OV_TEST(TestSingleInstance)
#include "test_single_instance.moc"
