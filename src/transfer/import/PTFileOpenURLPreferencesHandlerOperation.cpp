#include "transfer/import/PTFileOpenURLPreferencesHandlerOperation.h"

#include "browser/PTBrowserShell.h"
#include "library/upkeep/PTLibraryShell.h"
#include "transfer/import/PTFileOpenHandler.h"

bool PTFileOpenURLPreferencesHandlerOperation::handlesURL(const QUrl& url, QVariant* reading)
{
    return PTFileOpenURLHandlerOperation::handlesURL(url, URLType, {SectionKey}, reading);
}

void PTFileOpenURLPreferencesHandlerOperation::executeWithDone(const Done& done)
{
    const std::optional<QVariantMap> request = query();
    if (!request) {
        // Named without its query, which is what made it unreadable.
        const QString name = urls().first().adjusted(QUrl::RemoveQuery).toDisplayString();
        if (const auto shell = PTLibraryShell::installed())
            shell->postNotice(PTFileOpenHandler::UnopenedTitle, PTFileOpenHandler::UnopenedMessage.arg(name));
        return done();
    }
    if (const auto shell = PTBrowserShell::installed())
        shell->presentPreferences(request->value(SectionKey).toString().trimmed());
    done();
}
