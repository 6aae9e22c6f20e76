#pragma once

#include "platform/runtime/Error.h"

#include <QDateTime>
#include <QFile>
#include <QMap>
#include <QObject>
#include <QPointer>
#include <QUrl>

#include <atomic>
#include <functional>
#include <memory>

class QNetworkAccessManager;
class QNetworkReply;

// One download over HTTP or HTTPS. The body streams into a file named as the server suggests, in a fresh folder of
// its own under the user's cache; a zip archive is unpacked beside it, off the main thread. Each step is reported
// through a handler on the main thread. Nothing from outside is trusted: the address and the header fields are
// checked before any network access, the server's name cannot leave its folder, and an error status or a body over
// the cap fails the download and leaves nothing behind.
class PTURLDownloader : public QObject {
    Q_OBJECT
public:
    static inline const QString ErrorDomain = QStringLiteral("com.pictern.downloader.domain");
    enum ErrorCode {
        UnsupportedFileTypeError = 1, // the file-open handler has no use for the file
        RefusedRequestError = 2,      // not an absolute http(s) address with a host, or a bad header field
        HTTPStatusError = 3,          // the server answered 400 or more
        TooLargeError = 4,            // the body is over the cap
        FileError = 5,                // the download folder or file could not be made or written
        NetworkError = 6,             // the connection failed or timed out (userInfo "networkError": Qt's code)
        CancelledError = 7,
    };
    static inline const QString NetworkErrorKey = QStringLiteral("networkError");

    using Headers = QMap<QString, QString>;
    using InitialResponseHandler = std::function<void(PTURLDownloader*, const QString&)>;
    using ProgressHandler = std::function<void(PTURLDownloader*, float)>;
    using Handler = std::function<void(PTURLDownloader*)>;
    // Answers an error to fail the whole download with, or a null error.
    using FileReadyHandler = std::function<pt::Error(PTURLDownloader*, const QUrl&)>;
    using CompleteHandler = std::function<void(PTURLDownloader*, const pt::Error&)>;

    explicit PTURLDownloader(const QUrl& url, QObject* parent = nullptr);
    ~PTURLDownloader() override;

    QUrl url() const { return m_url; }
    Headers headers() const { return m_headers; }
    void setHeaders(const Headers& headers) { m_headers = headers; }
    double timeout() const { return m_timeout; }
    void setTimeout(double seconds) { m_timeout = seconds; }
    bool autoDecompress() const { return m_autoDecompress; }
    void setAutoDecompress(bool on) { m_autoDecompress = on; }
    qint64 maximumBytes() const { return m_maximumBytes; }
    void setMaximumBytes(qint64 bytes) { m_maximumBytes = bytes; }

    QString suggestedFilename() const { return m_suggestedFilename; }
    // Received over expected, 0 to 1; negative while the server gives no length.
    float progress() const { return m_progress; }
    qint64 expectedContentLength() const { return m_expectedLength; }
    qint64 receivedLength() const { return m_receivedLength; }

    void setInitialResponseHandler(InitialResponseHandler handler) { m_initialResponse = std::move(handler); }
    void setProgressHandler(ProgressHandler handler) { m_progressHandler = std::move(handler); }
    void setWillDecompressHandler(Handler handler) { m_willDecompress = std::move(handler); }
    void setDecompressProgressHandler(ProgressHandler handler) { m_decompressProgress = std::move(handler); }
    void setFileReadyHandler(FileReadyHandler handler) { m_fileReady = std::move(handler); }
    // Called once at the end, with a null error on success. Every failure, a file that could not be written
    // included, ends here.
    void setCompleteHandler(CompleteHandler handler) { m_complete = std::move(handler); }

    // Starts the download; a refused request completes with RefusedRequestError, later, without network access.
    void begin();
    // Stops the transfer or the unpacking, and removes what arrived; the download completes with CancelledError.
    // A downloader destroyed while unpacking stops the unzip too, and its folder goes once the unzip has stopped.
    void cancel();

    // Where downloads go: one folder per download in here.
    static QString downloadsFolder();
    // A new download folder's path; the folder does not exist yet.
    static QString temporaryFilePath();
    // Removes download folders last changed before the cutoff; only folders named like ours are touched, and never
    // one that holds the path to keep (the current library).
    static void removeDownloadsOlderThan(const QDateTime& cutoff, const QString& keep = QString());
    // Whether the path lies inside the downloads folder.
    static bool isInDownloadsFolder(const QString& path);
    // Whether a request may go out: an absolute http or https address with a host, and header fields whose names
    // are HTTP tokens and whose values hold no CR, LF or NUL. The reason says why not.
    static bool isAcceptableRequest(const QUrl& url, const Headers& headers, QString* reason = nullptr);
    // The server's name made safe to create in a folder of its own: no "/", NUL or control characters, no ".."
    // and no leading dots, at most 200 bytes of UTF-8; "download" when nothing is left.
    static QString safeFileName(const QString& suggested);
    // The file name a Content-Disposition field gives (filename* before filename), or an empty string.
    static QString fileNameFromContentDisposition(const QByteArray& field);

private:
    void takeResponse(QNetworkReply* reply);
    void readBody(QNetworkReply* reply);
    void transferFinished();
    void unpack();
    void unpacked(bool succeeded, const pt::Error& error);
    void reportFileReady(const QString& path);
    void fail(const pt::Error& error);
    void complete(const pt::Error& error);

    QUrl m_url;
    Headers m_headers;
    double m_timeout = 60;
    bool m_autoDecompress = true;
    qint64 m_maximumBytes = qint64(1) << 30;

    QString m_suggestedFilename;
    float m_progress = 0;
    qint64 m_expectedLength = -1;
    qint64 m_receivedLength = 0;

    QNetworkAccessManager* m_network = nullptr;
    QPointer<QNetworkReply> m_reply;
    QString m_folder;
    QFile m_file;
    bool m_responded = false;
    bool m_unpacking = false;
    // Shared with the unzip on the worker, which stops between two entries once it is set.
    std::shared_ptr<std::atomic<bool>> m_stopUnpacking;
    bool m_cancelled = false;
    bool m_done = false;

    InitialResponseHandler m_initialResponse;
    ProgressHandler m_progressHandler;
    Handler m_willDecompress;
    ProgressHandler m_decompressProgress;
    FileReadyHandler m_fileReady;
    CompleteHandler m_complete;
};
