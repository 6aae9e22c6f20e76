#pragma once

#include "transfer/PTStarterSetDownloads.h"

#include <memory>

class PTTernImporter;
class PTURLDownloader;

// The starter icon set: a download of a zip that holds one exchange bundle, then the bundle's import into the
// library. Anything else that arrives, a failed download or a cancel ends with nothing imported.
class PTStarterSetDownloader : public PTStarterSetDownloads {
public:
    PTStarterSetDownloader();
    ~PTStarterSetDownloader() override;

    void downloadStarterSet(const QUrl& url, Progress progress, Completion completion) override;
    void cancel() override;

private:
    void finish(bool imported);

    std::unique_ptr<PTURLDownloader> m_downloader;
    std::shared_ptr<PTTernImporter> m_importer;
    Completion m_completion;
};
