#pragma once

#include "platform/LaunchRequest.h"

#include <QObject>
#include <QString>
#include <memory>

class QLocalServer;
class QLocalSocket;
class QLockFile;

namespace tolvex {

// One Tolvex per user. The first process holds a lock file and listens on a local socket that
// only this user can reach; a later `tolvex` hands its launch request (files to open, files to
// erase, or a plain re-launch) to it, waits for the acknowledgement and exits. The running
// process sees those requests, and its own launch's, as the three signals below.
class SingleInstance : public QObject {
    Q_OBJECT

public:
    enum class Outcome {
        Running,    // this process is the one instance; requests arrive through the signals
        HandedOver, // the running instance acknowledged the request; this process may exit
        Failed      // neither: the error says why
    };

    // A request is cut into messages of at most this many bytes; the listener refuses larger.
    static constexpr qint64 maxMessageSize = 1024 * 1024;

    // `folder` holds the lock file and the socket: by default the user's private runtime folder,
    // or else a folder in the user's cache. start() makes it when it is missing, and refuses it
    // unless it is a folder of this user, not a link, that no one else may enter.
    explicit SingleInstance(QString folder = defaultFolder(), QObject* parent = nullptr);
    ~SingleInstance() override;

    static QString defaultFolder();
    QString socketPath() const;
    QString lockPath() const;

    // Becomes the running instance, or hands `request` over to the one that runs. As the
    // running instance, `request` itself is delivered once the event loop runs.
    Outcome start(const LaunchRequest& request, QString* error = nullptr);

Q_SIGNALS:
    void openFilesRequested(const QStringList& paths);
    void eraseFilesRequested(const QStringList& paths);
    void reopenRequested();

private:
    bool listen(QString* error);
    // Listens anew whenever the listener has closed.
    void keepListening();
    void acceptConnection();
    // Whether a whole message arrived; a refused connection is closed.
    bool readMessages(QLocalSocket* socket);
    void deliver(const LaunchRequest& request);
    enum class HandOver { Done, NoListener, Refused };
    HandOver handOver(const LaunchRequest& request, QString* error);

    QString folder_;
    std::unique_ptr<QLockFile> lock_;
    QLocalServer* server_ = nullptr;
};

} // namespace tolvex
