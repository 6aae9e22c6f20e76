#include "LoopbackHTTPServer.h"

#include <QTcpSocket>

LoopbackHTTPServer::LoopbackHTTPServer(Responder responder) : m_responder(std::move(responder))
{
    m_server.listen(QHostAddress::LocalHost);
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = m_server.nextPendingConnection()) {
            ++m_connections;
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readRequest(socket); });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
}

QUrl LoopbackHTTPServer::url(const QString& path) const
{
    return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(m_server.serverPort()).arg(path));
}

void LoopbackHTTPServer::readRequest(QTcpSocket* socket)
{
    // GET requests only: the head ends at the first blank line.
    const QByteArray buffer = socket->property("head").toByteArray() + socket->readAll();
    const int end = buffer.indexOf("\r\n\r\n");
    if (end < 0) {
        socket->setProperty("head", buffer);
        return;
    }
    socket->setProperty("head", QByteArray());
    const QList<QByteArray> lines = buffer.left(end).split('\n');
    Request request;
    const QList<QByteArray> first = lines.value(0).trimmed().split(' ');
    request.method = first.value(0);
    request.path = first.value(1);
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const int colon = lines[i].indexOf(':');
        if (colon > 0)
            request.headers.insert(lines[i].left(colon).trimmed().toLower(), lines[i].mid(colon + 1).trimmed());
    }
    m_requests.append(request);
    m_responder(request, socket);
}

QByteArray LoopbackHTTPServer::response(int status, const QByteArray& body, const QList<QByteArray>& headers)
{
    QByteArray out = "HTTP/1.1 " + QByteArray::number(status) + (status < 400 ? " OK" : " Not Found") + "\r\n";
    out += "Content-Length: " + QByteArray::number(body.size()) + "\r\n";
    for (const QByteArray& header : headers)
        out += header + "\r\n";
    return out + "Connection: close\r\n\r\n" + body;
}

QByteArray LoopbackHTTPServer::chunkedResponse(const QByteArray& body, int chunkSize)
{
    QByteArray out = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\nConnection: close\r\n\r\n";
    for (qsizetype at = 0; at < body.size(); at += chunkSize) {
        const QByteArray chunk = body.mid(at, chunkSize);
        out += QByteArray::number(chunk.size(), 16) + "\r\n" + chunk + "\r\n";
    }
    return out + "0\r\n\r\n";
}
