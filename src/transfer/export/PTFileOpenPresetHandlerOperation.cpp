#include "transfer/export/PTFileOpenPresetHandlerOperation.h"

#include "transfer/export/PTExportPresetController.h"

#include <QFileInfo>

bool PTFileOpenPresetHandlerOperation::handlesURL(const QUrl& url)
{
    return url.isLocalFile() && QFileInfo(url.toLocalFile()).suffix().compare(PTExportPresetController::extension(), Qt::CaseInsensitive) == 0;
}

void PTFileOpenPresetHandlerOperation::executeWithDone(const Done& done)
{
    QStringList paths;
    for (const QUrl& url : urls())
        paths << url.toLocalFile();
    PTExportPresetController::importPresets(paths, [done](const QStringList&) { done(); });
}
