#include "transfer/import/PTOpenedItemsSink.h"

#include "library/InstalledSeam.h"
#include "platform/runtime/Logging.h"

namespace {
InstalledSeam<PTOpenedItemsSink> seam;
} // namespace

void PTOpenedItemsSink::install(std::shared_ptr<PTOpenedItemsSink> sink)
{
    seam.install(std::move(sink));
}

std::shared_ptr<PTOpenedItemsSink> PTOpenedItemsSink::installed()
{
    return seam.get();
}

void PTOpenedItemsSink::deliver(const QList<QUrl>& urls)
{
    if (const std::shared_ptr<PTOpenedItemsSink> sink = installed()) {
        sink->queueItems(urls);
        return;
    }
    for (const QUrl& url : urls)
        qCInfo(lcApp) << "No handler for opened items yet; dropping" << url.toString();
}
