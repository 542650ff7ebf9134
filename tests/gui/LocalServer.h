#pragma once

// A small web server on 127.0.0.1 for the page tests: each path answers with its page, anything
// else with 404. One request per connection. It also answers as a proxy (a request line with a
// whole address), and it keeps every request target with its user agent.

#include <QHash>
#include <QSet>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>
#include <algorithm>

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
  // A path that is never answered: its request stays open.
  void Stall(const QString& path) { stalled_.insert(path); }
  QString Url(const QString& path) const {
    return QStringLiteral("http://127.0.0.1:%1%2").arg(server_.serverPort()).arg(path);
  }
  struct Request {
    QString target;  // the path, or the whole address of a proxy request
    QByteArray userAgent;
  };
  QList<Request> requests;
  bool Requested(const QString& target) const {
    return std::any_of(requests.begin(), requests.end(),
                       [&target](const Request& request) { return request.target == target; });
  }

 private:
  void Answer(QTcpSocket* socket) {
    QByteArray& buffer = buffers_[socket];
    buffer += socket->readAll();
    if (!buffer.contains("\r\n\r\n"))
      return;
    const QList<QByteArray> lines = buffer.split('\n');
    const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
    QByteArray userAgent;
    for (const QByteArray& line : lines) {
      if (line.toLower().startsWith("user-agent:"))
        userAgent = line.mid(11).trimmed();
    }
    buffers_.remove(socket);
    const QString target = requestLine.size() > 1 ? QString::fromLatin1(requestLine[1]) : QString();
    requests.append({target, userAgent});
    const QString path = target.startsWith(u'/') ? target : QUrl(target).path();
    if (stalled_.contains(path))
      return;
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
  QSet<QString> stalled_;
  QHash<QTcpSocket*, QByteArray> buffers_;
};

}  // namespace zelvora
