#pragma once

// A small web server on 127.0.0.1 for the page tests: each path answers with its page, anything
// else with 404. One request per connection.

#include <QHash>
#include <QTcpServer>
#include <QTcpSocket>

namespace zelvora {

class LocalServer : public QObject {
 public:
  LocalServer() {
    if (!server_.listen(QHostAddress::LocalHost))
      qFatal("the test server cannot listen on 127.0.0.1");
    connect(&server_, &QTcpServer::newConnection, this, [this] {
      while (QTcpSocket* socket = server_.nextPendingConnection()) {
        connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { Answer(socket); });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
      }
    });
  }

  void Page(const QString& path, const QByteArray& html) { pages_.insert(path, html); }
  QString Url(const QString& path) const {
    return QStringLiteral("http://127.0.0.1:%1%2").arg(server_.serverPort()).arg(path);
  }
  int requests = 0;

 private:
  void Answer(QTcpSocket* socket) {
    QByteArray& buffer = buffers_[socket];
    buffer += socket->readAll();
    if (!buffer.contains("\r\n\r\n"))
      return;
    const QList<QByteArray> requestLine = buffer.left(buffer.indexOf("\r\n")).split(' ');
    buffers_.remove(socket);
    ++requests;
    const QString path = requestLine.size() > 1 ? QString::fromLatin1(requestLine[1]) : QString();
    const auto page = pages_.constFind(path.section(u'?', 0, 0));
    const QByteArray body = page != pages_.constEnd() ? *page : QByteArrayLiteral("not here");
    const QByteArray status = page != pages_.constEnd() ? "200 OK" : "404 Not Found";
    socket->write("HTTP/1.1 " + status + "\r\nContent-Type: text/html; charset=utf-8\r\n" +
                  "Cache-Control: no-store\r\nContent-Length: " + QByteArray::number(body.size()) +
                  "\r\nConnection: close\r\n\r\n" + body);
    socket->disconnectFromHost();
  }

  QTcpServer server_;
  QHash<QString, QByteArray> pages_;
  QHash<QTcpSocket*, QByteArray> buffers_;
};

}  // namespace zelvora
