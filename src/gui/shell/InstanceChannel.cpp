#include "gui/shell/InstanceChannel.h"

#include <QElapsedTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>

#include "core/shell/InstanceLink.h"

namespace zelvora {

namespace {

constexpr int kConnectAttemptMs = 500;
constexpr int kConnectRetryMs = 50;

bool SendAndWaitForAck(QLocalSocket& socket, std::uint32_t code, const std::string& value,
                       int patienceMs) {
  const std::string message = EncodeSwitchMessage(code, value);
  socket.write(message.data(), static_cast<qint64>(message.size()));
  QElapsedTimer waited;
  waited.start();
  if (!socket.waitForBytesWritten(patienceMs))
    return false;
  // A running instance that is still starting answers once its event loop runs.
  while (socket.bytesAvailable() < 1) {
    const int left = patienceMs - static_cast<int>(waited.elapsed());
    if (left <= 0 || !socket.waitForReadyRead(left))
      return false;
  }
  char ack = 0;
  return socket.getChar(&ack) && ack == kMessageAck;
}

}  // namespace

InstanceServer::InstanceServer(const std::string& socketPath, Handler handler, QObject* parent)
    : QObject(parent), server_(new QLocalServer(this)), handler_(std::move(handler)) {
  // Only the holder of the instance lock gets here, so a socket left by a crashed instance is
  // stale and may go.
  QLocalServer::removeServer(QString::fromStdString(socketPath));
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  server_->listen(QString::fromStdString(socketPath));
  connect(server_, &QLocalServer::newConnection, this, &InstanceServer::Accept);
}

bool InstanceServer::IsListening() const {
  return server_->isListening();
}

void InstanceServer::Accept() {
  while (QLocalSocket* socket = server_->nextPendingConnection()) {
    auto decoder = std::make_shared<SwitchMessageDecoder>();
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QLocalSocket::readyRead, this, [this, socket, decoder] {
      const QByteArray bytes = socket->readAll();
      if (!decoder->Feed(
              std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())))) {
        socket->abort();
        return;
      }
      while (const auto message = decoder->Next()) {
        handler_(message->code, message->value);
        socket->putChar(kMessageAck);
      }
    });
  }
}

bool HandOverToRunningInstance(const std::string& socketPath, bool bringToFront,
                               CommandLine& commandLine, int patienceMs) {
  QLocalSocket socket;
  QElapsedTimer patience;
  patience.start();
  // The running instance may still be starting up: it holds the lock before it listens.
  for (;;) {
    socket.connectToServer(QString::fromStdString(socketPath));
    if (socket.waitForConnected(kConnectAttemptMs))
      break;
    if (patience.elapsed() > patienceMs)
      return false;
    QThread::msleep(kConnectRetryMs);
  }
  if (!SendAndWaitForAck(socket, kActivateMessage, bringToFront ? "1" : "0", patienceMs))
    return false;
  for (int slot = 0; slot < kSwitchCount; ++slot) {
    std::string& value = commandLine.switches[static_cast<std::size_t>(slot)];
    if (value.empty())
      continue;
    if (!SendAndWaitForAck(socket, static_cast<std::uint32_t>(kSwitchMessageBase + slot), value,
                           patienceMs)) {
      return false;
    }
    value.clear();
  }
  socket.disconnectFromServer();
  return true;
}

}  // namespace zelvora
