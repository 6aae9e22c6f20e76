#include "transfer/PTStarterSetDownloader.h"

#include "library/bundle/PTTernImporter.h"
#include "transfer/PTURLDownloader.h"

#include <utility>

PTStarterSetDownloader::PTStarterSetDownloader() = default;

PTStarterSetDownloader::~PTStarterSetDownloader() = default;

void PTStarterSetDownloader::downloadStarterSet(const QUrl& url, Progress progress, Completion completion)
{
    cancel();
    m_completion = std::move(completion);
    m_downloader = std::make_unique<PTURLDownloader>(url);
    m_downloader->setProgressHandler([progress](PTURLDownloader*, float fraction) {
        if (progress && fraction >= 0)
            progress(fraction);
    });
    auto bundle = std::make_shared<QString>();
    m_downloader->setFileReadyHandler([bundle](PTURLDownloader*, const QUrl& file) {
        if (!PTTernImporter::isPathATern(file.toLocalFile()))
            return pt::Error::withDescription(PTURLDownloader::ErrorDomain, PTURLDownloader::UnsupportedFileTypeError,
                                              QStringLiteral("The starter set holds no icon bundle."));
        *bundle = file.toLocalFile();
        return pt::Error();
    });
    m_downloader->setCompleteHandler([this, bundle, progress](PTURLDownloader*, const pt::Error& error) {
        if (!error.isNull() || bundle->isEmpty())
            return finish(false);
        if (progress)
            progress(-1);
        m_importer = PTTernImporter::create(*bundle);
        m_importer->setCompletionHandler(
            [this](const QVector<pt::store::ObjectID>& objects) { finish(!objects.isEmpty()); });
        m_importer->setErrorHandler([this](const pt::Error&) { finish(false); });
        m_importer->begin();
    });
    m_downloader->begin();
}

void PTStarterSetDownloader::cancel()
{
    // A download under way ends through its completion; an import runs to its end.
    if (m_downloader && m_completion)
        m_downloader->cancel();
}

void PTStarterSetDownloader::finish(bool imported)
{
    // Once: an importer may report an error and then its completion.
    if (Completion completion = std::exchange(m_completion, {}))
        completion(imported);
}
