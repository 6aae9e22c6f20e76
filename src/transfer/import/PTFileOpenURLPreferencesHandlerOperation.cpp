#include "transfer/import/PTFileOpenURLPreferencesHandlerOperation.h"

#include "app/preferences/PTPreferencesController.h"
#include "foundation/URLComponentsAdditions.h"

bool PTFileOpenURLPreferencesHandlerOperation::handlesURL(const QUrl& url)
{
    return PTFileOpenURLHandlerOperation::handlesURL(url, URLType, {SectionKey});
}

void PTFileOpenURLPreferencesHandlerOperation::executeWithDone(const Done& done)
{
    const QString section = urlComponentsAdditions::queryStringComponent(urls().first(), SectionKey).toString();
    PTPreferencesController::sharedController().presentPreferences(section.trimmed());
    done();
}
