#include "transfer/import/PTFileOpenTernHandlerOperation.h"

#include "library/bundle/PTTernImporter.h"

bool PTFileOpenTernHandlerOperation::handlesURL(const QUrl& url)
{
    return url.isLocalFile() && PTTernImporter::isPathATern(url.toLocalFile());
}

void PTFileOpenTernHandlerOperation::executeWithDone(const Done& done)
{
    QStringList paths;
    for (const QUrl& url : urls())
        paths << url.toLocalFile();
    PTTernImporter::importRorevAtURLs(paths, done);
}
