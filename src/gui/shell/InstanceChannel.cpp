#include "gui/shell/InstanceChannel.h"

#include <QElapsedTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>

#include "core/shell/InstanceLink.h"

namespace zelvora {

namespace {

constexpr int kConnectPatienceMs = 3000;
constexpr int kAckTimeoutMs = 5000;

bool SendAndWaitForAck(QLocalSocket& socket, std::uint32_t code, const std::string& value) {
  const std::string message = EncodeSwitchMessage(code, value);
  socket.write(message.data(), static_cast<qint64>(message.size()));
  if (!socket.waitForBytesWritten(kAckTimeoutMs))
    return false;
  while (socket.bytesAvailable() < 1) {
    if (!socket.waitForReadyRead(kAckTimeoutMs))
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
                               CommandLine& commandLine) {
  QLocalSocket socket;
  QElapsedTimer patience;
  patience.start();
  // The running instance may still be starting up: it holds the lock before it listens.
  for (;;) {
    socket.connectToServer(QString::fromStdString(socketPath));
    if (socket.waitForConnected(500))
      break;
    if (patience.elapsed() > kConnectPatienceMs)
      return false;
    QThread::msleep(50);
  }
  if (!SendAndWaitForAck(socket, kActivateMessage, bringToFront ? "1" : "0"))
    return false;
  for (int slot = 0; slot < kSwitchCount; ++slot) {
    std::string& value = commandLine.switches[static_cast<std::size_t>(slot)];
    if (value.empty())
      continue;
    if (!SendAndWaitForAck(socket, static_cast<std::uint32_t>(kSwitchMessageBase + slot), value)) {
      return false;
    }
    value.clear();
  }
  socket.disconnectFromServer();
  return true;
}

}  // namespace zelvora
