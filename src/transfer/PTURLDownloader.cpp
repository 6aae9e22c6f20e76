#include "transfer/PTURLDownloader.h"

#include "foundation/SSZipArchive.h"
#include "foundation/SSZipArchiveDelegate.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QMimeDatabase>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTimer>
#include <QUuid>

namespace {

Q_LOGGING_CATEGORY(lcDownload, "pictern.transfer.download")

const QString kArchiveLitter = QStringLiteral("__MACOSX");
const QString kFallbackName = QStringLiteral("download");
constexpr int kMaximumNameBytes = 200;
constexpr int kMaximumRedirects = 10;

pt::Error downloadError(PTURLDownloader::ErrorCode code, const QString& description)
{
    return pt::Error::withDescription(PTURLDownloader::ErrorDomain, code, description);
}

bool isToken(const QString& name)
{
    static const QRegularExpression token(QStringLiteral("^[!#$%&'*+.^_`|~0-9A-Za-z-]+$"));
    return token.match(name).hasMatch();
}

// Cuts UTF-8 text to a byte count without splitting a character.
QString cutToBytes(const QString& text, int bytes)
{
    QString cut = text;
    while (cut.toUtf8().size() > bytes)
        cut.chop(cut.back().isLowSurrogate() && cut.size() > 1 ? 2 : 1);
    return cut;
}

QString percentDecoded(const QByteArray& text, const QByteArray& charset)
{
    const QByteArray bytes = QByteArray::fromPercentEncoding(text);
    return charset.compare("UTF-8", Qt::CaseInsensitive) == 0 ? QString::fromUtf8(bytes) : QString::fromLatin1(bytes);
}

// Both paths canonical; a folder is not inside itself.
bool isInside(const QString& path, const QString& folder)
{
    return !folder.isEmpty() && path.startsWith(folder + QLatin1Char('/'));
}

constexpr qint64 kReadBufferBytes = 1024 * 1024;

// Stops the unzip between two entries once asked to; asked from the main thread, read on the worker.
class UnzipStopper : public SSZipArchiveDelegate {
public:
    explicit UnzipStopper(std::shared_ptr<std::atomic<bool>> stop) : m_stop(std::move(stop)) {}
    bool zipArchiveShouldUnzipFileAtIndex(qint64, qint64, const QString&, const SSZipEntryInfo&) override
    {
        return !*m_stop;
    }

private:
    std::shared_ptr<std::atomic<bool>> m_stop;
};

bool isZipArchive(const QString& path)
{
    const QMimeType type = QMimeDatabase().mimeTypeForFile(path, QMimeDatabase::MatchExtension);
    return type.inherits(QStringLiteral("application/zip"));
}

} // namespace

PTURLDownloader::PTURLDownloader(const QUrl& url, QObject* parent) : QObject(parent), m_url(url) {}

PTURLDownloader::~PTURLDownloader()
{
    // Nothing reaches the handlers once the downloader is gone, not even the transfer's own end.
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->abort();
    }
    if (m_unpacking) {
        // The worker still writes into the folder: it stops, and the unzip's completion removes the folder.
        *m_stopUnpacking = true;
    } else if (!m_done && !m_folder.isEmpty()) {
        m_file.close();
        QDir(m_folder).removeRecursively();
    }
}

QString PTURLDownloader::downloadsFolder()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::CacheLocation)).filePath(QStringLiteral("downloads"));
}

QString PTURLDownloader::temporaryFilePath()
{
    return QDir(downloadsFolder()).filePath(QUuid::createUuid().toString(QUuid::WithoutBraces));
}

void PTURLDownloader::removeDownloadsOlderThan(const QDateTime& cutoff, const QString& keep)
{
    const QDir folder(downloadsFolder());
    const QString kept = QFileInfo(keep).canonicalFilePath();
    for (const QFileInfo& entry : folder.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden)) {
        if (entry.isSymLink() || QUuid::fromString(entry.fileName()).isNull())
            continue;
        if (!kept.isEmpty() && isInside(kept, entry.canonicalFilePath()))
            continue;
        if (entry.lastModified() < cutoff && !QDir(entry.filePath()).removeRecursively())
            qCWarning(lcDownload) << "Could not remove the old download" << entry.filePath();
    }
}

bool PTURLDownloader::isInDownloadsFolder(const QString& path)
{
    const QString downloads = QFileInfo(downloadsFolder()).canonicalFilePath();
    return !downloads.isEmpty() && isInside(QFileInfo(path).canonicalFilePath(), downloads);
}

bool PTURLDownloader::isAcceptableRequest(const QUrl& url, const Headers& headers, QString* reason)
{
    const auto refuse = [reason](const QString& why) {
        if (reason)
            *reason = why;
        return false;
    };
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.isRelative() || (scheme != QLatin1String("http") && scheme != QLatin1String("https")))
        return refuse(QStringLiteral("Only http and https addresses can be downloaded."));
    if (url.host().isEmpty())
        return refuse(QStringLiteral("The address names no server."));
    for (auto it = headers.cbegin(); it != headers.cend(); ++it) {
        if (!isToken(it.key()))
            return refuse(QStringLiteral("The header name \"%1\" is not valid.").arg(it.key()));
        for (const QChar c : it.value()) {
            if (c == QLatin1Char('\r') || c == QLatin1Char('\n') || c == QChar(0))
                return refuse(QStringLiteral("The value of the header \"%1\" is not valid.").arg(it.key()));
        }
    }
    return true;
}

QString PTURLDownloader::safeFileName(const QString& suggested)
{
    QString name;
    for (const QChar c : suggested) {
        if (c != QLatin1Char('/') && c != QLatin1Char('\\') && c.category() != QChar::Other_Control)
            name.append(c);
    }
    name.replace(QStringLiteral(".."), QString());
    // Trimming takes other blanks too (U+00A0, U+3000, ...), which may uncover a dot: again until nothing changes.
    for (QString before; before != name;) {
        before = name;
        name = name.trimmed();
        while (name.startsWith(QLatin1Char('.')) || name.startsWith(QLatin1Char(' ')))
            name.remove(0, 1);
    }
    name = cutToBytes(name, kMaximumNameBytes);
    return name.isEmpty() ? kFallbackName : name;
}

QString PTURLDownloader::fileNameFromContentDisposition(const QByteArray& field)
{
    QString plain;
    for (const QByteArray& rawPart : field.split(';')) {
        const QByteArray part = rawPart.trimmed();
        const int equals = part.indexOf('=');
        if (equals < 0)
            continue;
        const QByteArray key = part.left(equals).trimmed().toLower();
        QByteArray value = part.mid(equals + 1).trimmed();
        if (key == "filename*") {
            // charset'language'percent-encoded
            const QList<QByteArray> pieces = value.split('\'');
            if (pieces.size() == 3)
                return percentDecoded(pieces[2], pieces[0]);
        } else if (key == "filename" && plain.isEmpty()) {
            if (value.size() >= 2 && value.startsWith('"') && value.endsWith('"'))
                value = value.mid(1, value.size() - 2).replace("\\\"", "\"").replace("\\\\", "\\");
            plain = QString::fromUtf8(value);
        }
    }
    return plain;
}

void PTURLDownloader::begin()
{
    QString reason;
    if (!isAcceptableRequest(m_url, m_headers, &reason)) {
        // Reported later, as every end is, so callers finish setting up first.
        QTimer::singleShot(0, this, [this, reason] { complete(downloadError(RefusedRequestError, reason)); });
        return;
    }
    m_network = new QNetworkAccessManager(this);
    m_network->setRedirectPolicy(QNetworkRequest::NoLessSafeRedirectPolicy);
    QNetworkRequest request(m_url);
    request.setMaximumRedirectsAllowed(kMaximumRedirects);
    request.setTransferTimeout(int(m_timeout * 1000));
    for (auto it = m_headers.cbegin(); it != m_headers.cend(); ++it)
        request.setRawHeader(it.key().toLatin1(), it.value().toUtf8());
    m_reply = m_network->get(request);
    // Bounded, so that a fast server never piles up more body than one short write on the main thread.
    m_reply->setReadBufferSize(kReadBufferBytes);
    connect(m_reply, &QNetworkReply::readyRead, this, [this] { readBody(m_reply); });
    connect(m_reply, &QNetworkReply::finished, this, &PTURLDownloader::transferFinished);
}

void PTURLDownloader::cancel()
{
    if (m_done)
        return;
    m_cancelled = true;
    if (m_unpacking)
        *m_stopUnpacking = true;
    if (m_reply)
        m_reply->abort();
}

void PTURLDownloader::takeResponse(QNetworkReply* reply)
{
    if (m_responded)
        return;
    m_responded = true;
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status >= 400) {
        const QString phrase = reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString();
        return fail(downloadError(HTTPStatusError,
                                  QStringLiteral("The server answered %1 %2.").arg(status).arg(phrase).trimmed()));
    }
    const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
    m_expectedLength = length.isValid() ? length.toLongLong() : -1;
    if (m_expectedLength > m_maximumBytes)
        return fail(downloadError(TooLargeError, QStringLiteral("The download is too large.")));
    QString name = fileNameFromContentDisposition(reply->rawHeader("Content-Disposition"));
    if (name.isEmpty())
        name = reply->url().fileName();
    m_suggestedFilename = safeFileName(name);
    m_folder = temporaryFilePath();
    m_file.setFileName(QDir(m_folder).filePath(m_suggestedFilename));
    // A fresh folder of our own and a file created only if absent: nothing of the server's reaches elsewhere.
    if (!QDir().mkpath(m_folder) || !m_file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return fail(downloadError(FileError, QStringLiteral("The download could not be saved: %1")
                                                 .arg(m_file.errorString())));
    if (m_initialResponse)
        m_initialResponse(this, m_suggestedFilename);
}

void PTURLDownloader::readBody(QNetworkReply* reply)
{
    if (m_done)
        return;
    takeResponse(reply);
    if (m_done)
        return;
    const QByteArray bytes = reply->readAll();
    if (m_receivedLength + bytes.size() > m_maximumBytes)
        return fail(downloadError(TooLargeError, QStringLiteral("The download is too large.")));
    if (m_file.write(bytes) != bytes.size())
        return fail(downloadError(FileError, QStringLiteral("The download could not be saved: %1")
                                                 .arg(m_file.errorString())));
    m_receivedLength += bytes.size();
    m_progress = m_expectedLength > 0 ? float(m_receivedLength) / float(m_expectedLength) : -1.0f;
    if (m_progressHandler)
        m_progressHandler(this, m_progress);
}

void PTURLDownloader::transferFinished()
{
    if (m_done)
        return;
    QNetworkReply* reply = m_reply;
    m_reply = nullptr;
    reply->deleteLater();
    if (m_cancelled)
        return fail(downloadError(CancelledError, QStringLiteral("The download was cancelled.")));
    if (reply->error() != QNetworkReply::NoError
        && reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt() < 400) {
        pt::Error error = downloadError(NetworkError, reply->errorString());
        error.userInfo.insert(NetworkErrorKey, int(reply->error()));
        return fail(error);
    }
    // What is left of the body, and the response itself when there was no body at all.
    readBody(reply);
    if (m_done)
        return;
    const bool flushed = m_file.flush();
    m_file.close();
    if (!flushed || m_file.error() != QFileDevice::NoError)
        return fail(downloadError(FileError, QStringLiteral("The download could not be saved.")));
    if (m_autoDecompress && isZipArchive(m_file.fileName()))
        return unpack();
    reportFileReady(m_file.fileName());
}

void PTURLDownloader::unpack()
{
    m_unpacking = true;
    if (m_willDecompress)
        m_willDecompress(this);
    const QFileInfo archive(m_file.fileName());
    const QString target = QDir(m_folder).filePath(archive.completeBaseName());
    m_stopUnpacking = std::make_shared<std::atomic<bool>>(false);
    // Held by the completion, which the worker keeps until it has stopped: the delegate outlives the unzip even
    // when this downloader goes first.
    const auto stopper = std::make_shared<UnzipStopper>(m_stopUnpacking);
    SSZipArchive::UnzipOptions options;
    options.delegate = stopper.get();
    QPointer<PTURLDownloader> guarded(this);
    SSZipArchive::unzipFileAtPathInBackground(
        archive.filePath(), target, options,
        [guarded](const QString&, const SSZipEntryInfo&, qint64 entry, qint64 count) {
            if (guarded && !guarded->m_cancelled && guarded->m_decompressProgress && count > 0)
                guarded->m_decompressProgress(guarded, float(entry) / float(count));
        },
        [guarded, stopper, folder = m_folder](const QString&, bool succeeded, const pt::Error& error) {
            if (guarded)
                guarded->unpacked(succeeded, error);
            else
                QDir(folder).removeRecursively(); // nobody is left to want what was unpacked
        });
}

void PTURLDownloader::unpacked(bool succeeded, const pt::Error& error)
{
    m_unpacking = false;
    if (m_cancelled)
        return fail(downloadError(CancelledError, QStringLiteral("The download was cancelled.")));
    if (!succeeded)
        return fail(error.isNull() ? downloadError(FileError, QStringLiteral("The archive could not be unpacked."))
                                   : error);
    const QString target = QDir(m_folder).filePath(QFileInfo(m_file.fileName()).completeBaseName());
    QDir(QDir(target).filePath(kArchiveLitter)).removeRecursively();
    // Two entries settle it: listing (and sorting) every entry of a large archive would stall the main thread.
    QDirIterator it(target, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    const QString first = it.hasNext() ? it.next() : QString();
    reportFileReady(!first.isEmpty() && !it.hasNext() ? first : target);
}

void PTURLDownloader::reportFileReady(const QString& path)
{
    const pt::Error error = m_fileReady ? m_fileReady(this, QUrl::fromLocalFile(path)) : pt::Error();
    m_done = true;
    complete(error);
}

void PTURLDownloader::fail(const pt::Error& error)
{
    m_done = true;
    if (m_reply) {
        QNetworkReply* reply = m_reply;
        m_reply = nullptr;
        reply->disconnect(this);
        reply->abort();
        reply->deleteLater();
    }
    m_file.close();
    // A failed download leaves nothing behind: no partial file, no empty folder.
    if (!m_folder.isEmpty())
        QDir(m_folder).removeRecursively();
    complete(error);
}

void PTURLDownloader::complete(const pt::Error& error)
{
    m_done = true;
    if (!error.isNull())
        qCInfo(lcDownload).noquote() << "Download of" << m_url.toDisplayString() << "failed:" << error.toString();
    if (m_complete)
        m_complete(this, error);
}
