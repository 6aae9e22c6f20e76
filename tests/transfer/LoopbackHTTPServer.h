#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QTcpServer>
#include <QUrl>

#include <functional>

class QTcpSocket;

// A small HTTP/1.1 server on 127.0.0.1 for download tests: each request's head is recorded and answered by the
// responder, which writes the whole response (or part of one, to stall) to the socket.
class LoopbackHTTPServer : public QObject {
    Q_OBJECT
public:
    struct Request {
        QByteArray method;
        QByteArray path;
        QMap<QByteArray, QByteArray> headers; // names in lower case
    };
    using Responder = std::function<void(const Request&, QTcpSocket*)>;

    explicit LoopbackHTTPServer(Responder responder);
    QUrl url(const QString& path) const;
    const QList<Request>& requests() const { return m_requests; }
    int connections() const { return m_connections; }

    // A complete response with a length, and one sent in chunks with none.
    static QByteArray response(int status, const QByteArray& body, const QList<QByteArray>& headers = {});
    static QByteArray chunkedResponse(const QByteArray& body, int chunkSize);

private:
    void readRequest(QTcpSocket* socket);

    QTcpServer m_server;
    Responder m_responder;
    QList<Request> m_requests;
    int m_connections = 0;
};
