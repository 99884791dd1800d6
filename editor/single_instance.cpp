#include "single_instance.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QThread>

#include <unistd.h>

namespace {

constexpr const char* COME_FORWARD = "come forward\n";
constexpr int CONNECT_TRIES = 10;
constexpr int TRY_WAIT_MS = 100;

QString runtimeFolder() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) folder = QDir::tempPath();
    return folder;
}

// "VeltaEdit-1000-_0" for display ":0": only characters a file name and a
// socket name take as they are.
QString instanceKey(const QString& name, const QString& display) {
    QString safe = display;
    for (QChar& c : safe)
        if (!c.isLetterOrNumber() && c != '.' && c != '-') c = '_';
    return name + "-" + QString::number(getuid()) + "-" + safe;
}

} // namespace

QString currentDisplayName() {
    const QString wayland = qEnvironmentVariable("WAYLAND_DISPLAY");
    return wayland.isEmpty() ? qEnvironmentVariable("DISPLAY") : "wayland-" + wayland;
}

SingleInstance::SingleInstance(const QString& name, const QString& display, QObject* parent)
    : QObject(parent), lockPath_(runtimeFolder() + "/" + instanceKey(name, display) + ".lock"),
      serverName_(instanceKey(name, display)), lock_(std::make_unique<QLockFile>(lockPath_)) {}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::claim() {
    // A lock left by a copy that died is taken over (QLockFile checks the
    // process that wrote it).
    if (!lock_->tryLock(0)) {
        askRunningCopy();
        return false;
    }
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    QLocalServer::removeServer(serverName_); // a socket left by a copy that died
    server_->listen(serverName_);
    connect(server_.get(), &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (socket->readAll().contains(COME_FORWARD)) emit comeForwardRequested();
            });
        }
    });
    return true;
}

bool SingleInstance::askRunningCopy() {
    // The running copy may still be starting: give it a moment to listen.
    for (int attempt = 0; attempt < CONNECT_TRIES; ++attempt) {
        QLocalSocket socket;
        socket.connectToServer(serverName_);
        if (socket.waitForConnected(TRY_WAIT_MS)) {
            socket.write(COME_FORWARD);
            const bool sent = socket.waitForBytesWritten(1000);
            socket.disconnectFromServer();
            return sent;
        }
        QThread::msleep(TRY_WAIT_MS);
    }
    return false;
}
