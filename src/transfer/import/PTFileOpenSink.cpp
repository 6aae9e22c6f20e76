#include "transfer/import/PTFileOpenSink.h"

#include "transfer/import/PTFileOpenHandler.h"

void PTFileOpenSink::queueItems(const QList<QUrl>& urls)
{
    PTFileOpenHandler::sharedController().queueItems(urls);
}
