#pragma once

// A small web server on 127.0.0.1 for the page tests: each path answers with its page (or a
// reply of its own: status, headers, a body made as it is sent), anything else with 404. One
// request per connection. It also answers as a proxy (a request line with a whole address), and
// it keeps every request target with its user agent and authorisation. Made with `tls`, it
// speaks HTTPS with a certificate of its own that no browser trusts.

#include <QHash>
#include <QSet>
#include <QSslKey>
#include <QSslServer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>
#include <algorithm>
#include <memory>

#include "TestCertificate.h"

namespace zelvora {

class LocalServer : public QObject {
 public:
  explicit LocalServer(bool tls = false) : tls_(tls) {
    if (tls) {
      auto* server = new QSslServer(this);
      QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
      configuration.setLocalCertificate(QSslCertificate(QByteArray(kTestCertificatePem)));
      configuration.setPrivateKey(QSslKey(QByteArray(kTestCertificateKeyPem), QSsl::Rsa));
      server->setSslConfiguration(configuration);
      server_ = server;
    } else {
      server_ = new QTcpServer(this);
    }
    if (!server_->listen(QHostAddress::LocalHost))
      qFatal("the test server cannot listen on 127.0.0.1");
    // Encrypted connections are pending once their handshake is over.
    connect(server_, &QTcpServer::pendingConnectionAvailable, this, [this] {
      while (QTcpSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { Answer(socket); });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
      }
    });
  }

  struct Reply {
    QByteArray status = "200 OK";
    QList<QByteArray> headers;  // "Name: value" lines besides the length and the connection
    QByteArray body;
    qint64 generated = 0;  // bytes made while sending, in place of the body
  };
  void Page(const QString& path, const QByteArray& html) {
    pages_.insert(path, {"200 OK", {"Content-Type: text/html; charset=utf-8"}, html, 0});
  }
  void Serve(const QString& path, const Reply& reply) { pages_.insert(path, reply); }
  // A path that is never answered: its request stays open.
  void Stall(const QString& path) { stalled_.insert(path); }
  // A path that answers 401 unless the request carries this user and password (Basic).
  void Protect(const QString& path, const QByteArray& user, const QByteArray& password) {
    protected_.insert(path, "Basic " + (user + ':' + password).toBase64());
  }
  QString Url(const QString& path) const {
    return QStringLiteral("%1://127.0.0.1:%2%3")
        .arg(tls_ ? QStringLiteral("https") : QStringLiteral("http"))
        .arg(server_->serverPort())
        .arg(path);
  }
  struct Request {
    QString target;  // the path, or the whole address of a proxy request
    QByteArray userAgent;
    QByteArray authorization;
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
    QByteArray authorization;
    for (const QByteArray& line : lines) {
      if (line.toLower().startsWith("user-agent:"))
        userAgent = line.mid(11).trimmed();
      if (line.toLower().startsWith("authorization:"))
        authorization = line.mid(14).trimmed();
    }
    buffers_.remove(socket);
    const QString target = requestLine.size() > 1 ? QString::fromLatin1(requestLine[1]) : QString();
    requests.append({target, userAgent, authorization});
    const QString path = target.startsWith(u'/') ? target : QUrl(target).path();
    if (stalled_.contains(path))
      return;
    const auto found = pages_.constFind(path.section(u'?', 0, 0));
    Reply reply = found != pages_.constEnd()
                      ? *found
                      : Reply{"404 Not Found", {"Content-Type: text/html"}, "not here", 0};
    const auto guarded = protected_.constFind(path);
    if (guarded != protected_.constEnd() && authorization != *guarded) {
      reply = {"401 Unauthorized",
               {"Content-Type: text/html", "WWW-Authenticate: Basic realm=\"Zelvora test\""},
               "<title>Denied</title>denied",
               0};
    }
    const qint64 length = reply.generated > 0 ? reply.generated : reply.body.size();
    QByteArray head = "HTTP/1.1 " + reply.status + "\r\n";
    for (const QByteArray& header : reply.headers)
      head += header + "\r\n";
    socket->write(head + "Cache-Control: no-store\r\nContent-Length: " +
                  QByteArray::number(length) + "\r\nConnection: close\r\n\r\n" + reply.body);
    if (reply.generated > 0) {
      Generate(socket, reply.generated);
      return;
    }
    socket->disconnectFromHost();
  }

  // Sends `size` bytes of a repeating pattern, a chunk whenever the socket has room, so that the
  // body never sits in memory whole.
  static void Generate(QTcpSocket* socket, qint64 size) {
    static const QByteArray chunk = QByteArray("0123456789abcdef").repeated(4096);
    auto left = std::make_shared<qint64>(size);
    const auto more = [socket, left] {
      while (*left > 0 && socket->bytesToWrite() < 4 * chunk.size()) {
        const qint64 part = std::min<qint64>(*left, chunk.size());
        socket->write(chunk.constData(), part);
        *left -= part;
      }
      if (*left == 0)
        socket->disconnectFromHost();
    };
    connect(socket, &QTcpSocket::bytesWritten, socket, more);
    more();
  }

  bool tls_ = false;
  QTcpServer* server_ = nullptr;
  QHash<QString, QByteArray> protected_;
  QHash<QString, Reply> pages_;
  QSet<QString> stalled_;
  QHash<QTcpSocket*, QByteArray> buffers_;
};

}  // namespace zelvora
