#include "kestrix/gui/main/RunningWindowLink.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QWidget>

namespace kestrix::gui {

namespace {

constexpr char kRequest[] = "raise\n";
constexpr char kReply[] = "raised\n";
constexpr int kWaitMilliseconds = 2000;

void Raise(QWidget& window) {
    if (window.isMinimized()) {
        window.showNormal();
    }
    window.raise();
    window.activateWindow();
}

} // namespace

RunningWindowLink::RunningWindowLink(QWidget& window, const QString& socketPath)
    : QObject(&window), window_(window), server_(new QLocalServer(this)) {
    if (socketPath.isEmpty()) {
        return;
    }
    // The instance lock is ours, so a socket left there belongs to an instance that is gone.
    QLocalServer::removeServer(socketPath);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    server_->listen(socketPath);
    connect(server_, &QLocalServer::newConnection, this, &RunningWindowLink::Answer);
}

void RunningWindowLink::Answer() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (!socket->canReadLine()) {
                return;
            }
            if (socket->readLine() == kRequest) {
                Raise(window_);
                socket->write(kReply);
            }
            socket->disconnectFromServer();
        });
    }
}

bool RunningWindowLink::AskToRaise(const QString& socketPath) {
    if (socketPath.isEmpty()) {
        return false;
    }
    QLocalSocket socket;
    socket.connectToServer(socketPath);
    if (!socket.waitForConnected(kWaitMilliseconds)) {
        return false;
    }
    socket.write(kRequest);
    socket.waitForBytesWritten(kWaitMilliseconds);
    while (!socket.canReadLine() && socket.waitForReadyRead(kWaitMilliseconds)) {
    }
    return socket.readLine() == kReply;
}

} // namespace kestrix::gui
