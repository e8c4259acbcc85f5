#include "platform/SingleInstance.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>
#include <QtEndian>
#include <cerrno>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tolvex {

namespace {

constexpr int connectTimeoutMs = 1000;
// How long a later process waits for the running one's answer.
constexpr int answerTimeoutMs = 5000;
// How long the running process gives a connection for each whole message: a request arrives in
// milliseconds, and connections that hang on would use up the descriptors.
constexpr int messageDeadlineMs = 1000;
// How often the running process makes sure that it still listens: the listener closes for good
// when a connection cannot be accepted, as when the process has run out of descriptors.
constexpr int listenerCheckMs = 1000;
// How long a later process waits for a starting instance to begin listening.
constexpr int startupWaitMs = 5000;
constexpr int retryPauseMs = 100;
constexpr char acknowledgement = '\x06';
constexpr qsizetype lengthFieldSize = sizeof(quint32);

// Whether `folder` is a folder of this user that no one else may enter, judged through a
// descriptor that no link can redirect.
bool isPrivateFolder(const QString& folder)
{
    const int descriptor = ::open(QFile::encodeName(folder).constData(),
                                  O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (descriptor < 0)
        return false;
    struct stat status {};
    const bool isPrivate = ::fstat(descriptor, &status) == 0 && S_ISDIR(status.st_mode) &&
                           status.st_uid == ::geteuid() && (status.st_mode & 077) == 0;
    ::close(descriptor);
    return isPrivate;
}

// Makes `folder` (mode 0700) when it is missing, and checks that it is private.
bool makePrivateFolder(const QString& folder, QString* error)
{
    QDir().mkpath(QFileInfo(folder).absolutePath());
    const bool made = ::mkdir(QFile::encodeName(folder).constData(), S_IRWXU) == 0;
    if ((made || errno == EEXIST) && isPrivateFolder(folder))
        return true;
    if (error)
        *error = QStringLiteral("%1 is not a private folder of this user").arg(folder);
    return false;
}

bool peerIsThisUser(const QLocalSocket& socket)
{
    ucred credentials{};
    socklen_t size = sizeof credentials;
    return getsockopt(static_cast<int>(socket.socketDescriptor()), SOL_SOCKET, SO_PEERCRED,
                      &credentials, &size) == 0 &&
           credentials.uid == getuid();
}

QByteArray framed(const QByteArray& payload)
{
    QByteArray bytes(lengthFieldSize, Qt::Uninitialized);
    qToBigEndian<quint32>(static_cast<quint32>(payload.size()), bytes.data());
    return bytes + payload;
}

// Cuts a request into pieces whose encodings stay within the message cap; the receiver gathers
// file requests anyway, so several pieces act as one.
QList<LaunchRequest> piecesOf(const LaunchRequest& request)
{
    const LaunchRequest empty{request.kind, {}};
    const qsizetype emptySize = empty.encode().size();
    QList<LaunchRequest> pieces{empty};
    qsizetype size = emptySize;
    for (const QString& path : request.paths) {
        const qsizetype pathSize = lengthFieldSize + path.size() * qsizetype(sizeof(QChar));
        if (size + pathSize > SingleInstance::maxMessageSize && !pieces.last().paths.isEmpty()) {
            pieces.append(empty);
            size = emptySize;
        }
        pieces.last().paths.append(path);
        size += pathSize;
    }
    return pieces;
}

} // namespace

SingleInstance::SingleInstance(QString folder, QObject* parent)
    : QObject(parent), folder_(std::move(folder)), lock_(std::make_unique<QLockFile>(lockPath()))
{
    // Only a lock whose process is gone counts as stale, however old it is.
    lock_->setStaleLockTime(0);
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::defaultFolder()
{
    // Without a private runtime folder (none is set, and the usual stand-in in the temporary
    // folder may be another user's), a folder in the user's own cache serves.
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (!runtime.isEmpty() && isPrivateFolder(runtime))
        return runtime;
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
           QStringLiteral("/tolvex-runtime");
}

QString SingleInstance::socketPath() const
{
    return folder_ + QStringLiteral("/tolvex.socket");
}

QString SingleInstance::lockPath() const
{
    return folder_ + QStringLiteral("/tolvex.lock");
}

SingleInstance::Outcome SingleInstance::start(const LaunchRequest& request, QString* error)
{
    if (!makePrivateFolder(folder_, error))
        return Outcome::Failed;
    const QDeadlineTimer deadline(startupWaitMs);
    for (;;) {
        if (lock_->tryLock(0)) {
            if (!listen(error)) {
                return Outcome::Failed;
            }
            keepListening();
            if (request.kind != LaunchRequest::Kind::Reopen) {
                QTimer::singleShot(0, this, [this, request] { deliver(request); });
            }
            return Outcome::Running;
        }
        if (lock_->error() != QLockFile::LockFailedError) {
            if (error) {
                *error = QStringLiteral("Cannot create the lock file %1").arg(lockPath());
            }
            return Outcome::Failed;
        }
        switch (handOver(request, error)) {
        case HandOver::Done:
            return Outcome::HandedOver;
        case HandOver::Refused:
            return Outcome::Failed;
        case HandOver::NoListener:
            break;
        }
        if (deadline.hasExpired()) {
            if (error) {
                *error =
                    QStringLiteral("Tolvex is running but does not answer on %1").arg(socketPath());
            }
            return Outcome::Failed;
        }
        QThread::msleep(retryPauseMs);
    }
}

bool SingleInstance::listen(QString* error)
{
    // We hold the lock, so a socket file left here belongs to a process that died, or to our
    // own listener that closed.
    QLocalServer::removeServer(socketPath());
    delete server_;
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(socketPath())) {
        if (error) {
            *error =
                QStringLiteral("Cannot listen on %1: %2").arg(socketPath(), server_->errorString());
        }
        return false;
    }
    connect(server_, &QLocalServer::newConnection, this, &SingleInstance::acceptConnection);
    return true;
}

void SingleInstance::keepListening()
{
    auto* check = new QTimer(this);
    connect(check, &QTimer::timeout, this, [this] {
        if (server_->socketDescriptor() < 0)
            listen(nullptr);
    });
    check->start(listenerCheckMs);
}

void SingleInstance::acceptConnection()
{
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        // Ours, so that a listener made anew leaves the connections of the old one alone.
        socket->setParent(this);
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        if (!peerIsThisUser(*socket)) {
            socket->abort();
            continue;
        }
        // A client that does not finish its next message in time is dropped, however it
        // trickles.
        auto* deadline = new QTimer(socket);
        deadline->setSingleShot(true);
        connect(deadline, &QTimer::timeout, socket, &QLocalSocket::abort);
        deadline->start(messageDeadlineMs);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket, deadline] {
            if (readMessages(socket))
                deadline->start(messageDeadlineMs);
        });
    }
}

bool SingleInstance::readMessages(QLocalSocket* socket)
{
    QByteArray buffer = socket->property("pending").toByteArray() + socket->readAll();
    QList<LaunchRequest> received;
    while (buffer.size() >= lengthFieldSize) {
        const quint32 length = qFromBigEndian<quint32>(buffer.constData());
        if (length > maxMessageSize) {
            socket->abort();
            return false;
        }
        if (buffer.size() < lengthFieldSize + qsizetype(length)) {
            break;
        }
        const auto request = LaunchRequest::decode(buffer.mid(lengthFieldSize, length));
        if (!request) {
            socket->abort();
            return false;
        }
        buffer.remove(0, lengthFieldSize + length);
        received.append(*request);
        socket->putChar(acknowledgement);
    }
    socket->setProperty("pending", buffer);
    socket->flush();
    // Delivered after the acknowledgement: a handler may take its time, the sender need not.
    for (const LaunchRequest& request : received) {
        deliver(request);
    }
    return !received.isEmpty();
}

void SingleInstance::deliver(const LaunchRequest& request)
{
    switch (request.kind) {
    case LaunchRequest::Kind::OpenFiles:
        Q_EMIT openFilesRequested(request.paths);
        break;
    case LaunchRequest::Kind::EraseFiles:
        Q_EMIT eraseFilesRequested(request.paths);
        break;
    case LaunchRequest::Kind::Reopen:
        Q_EMIT reopenRequested();
        break;
    }
}

SingleInstance::HandOver SingleInstance::handOver(const LaunchRequest& request, QString* error)
{
    QLocalSocket socket;
    socket.connectToServer(socketPath());
    if (!socket.waitForConnected(connectTimeoutMs)) {
        return HandOver::NoListener;
    }
    for (const LaunchRequest& piece : piecesOf(request)) {
        socket.write(framed(piece.encode()));
        while (socket.bytesToWrite() > 0) {
            if (!socket.waitForBytesWritten(answerTimeoutMs)) {
                break;
            }
        }
        char answer = 0;
        while (socket.bytesAvailable() < 1 && socket.waitForReadyRead(answerTimeoutMs)) {
        }
        if (!socket.getChar(&answer) || answer != acknowledgement) {
            if (error) {
                *error = QStringLiteral("The running Tolvex did not take the request");
            }
            return HandOver::Refused;
        }
    }
    return HandOver::Done;
}

} // namespace tolvex
