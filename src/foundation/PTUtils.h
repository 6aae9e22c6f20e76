#pragma once

#include "foundation/PTApplicationInfo.h"

#include <QList>
#include <QUrl>

#include <optional>

// The desktop's applications for files: which can open a URL, which opens it by default, and opening URLs or
// library items in a chosen one (by desktop-file id).
class PTUtils {
public:
    // The default application for the URL's type (a file's content type, else its scheme), if any.
    static std::optional<PTApplicationInfo> defaultApplicationURLForURL(const QUrl& url);
    // Every application registered for the URL's type, the default first; empty when none.
    static QList<PTApplicationInfo> applicationURLsForURL(const QUrl& url);
    // The application of the desktop-file id ("org.example.Viewer.desktop"), if it is installed.
    static std::optional<PTApplicationInfo> applicationForIdentifier(const QString& identifier);
    // Every installed application that the desktop shows in its menus.
    static QList<PTApplicationInfo> allApplications();
    // Opens the URLs together in the application; false (and a log line) when it is not installed or the
    // launch failed, with the reason in `error` when given. The application is started, not waited for. An
    // application that runs in a terminal is started in terminalCommand().
    static bool openURLs(const QList<QUrl>& urls, const QString& bundleIdentifier, QString* error = nullptr);
    // The desktop's terminal as the program and the arguments that come before the command to run in it:
    // $TERMINAL, else x-terminal-emulator, else the first of a few known terminals on the PATH; empty without
    // one. The look-ups above leave out applications that need a terminal while there is none.
    static QStringList terminalCommand();
    // Opens the items' files (fileURL() of each, in order) together in the application.
    template <typename Items>
    static bool openItems(const Items& items, const QString& bundleIdentifier)
    {
        QList<QUrl> urls;
        for (const auto& item : items)
            urls.append(item->fileURL());
        return openURLs(urls, bundleIdentifier);
    }
};

// The free-function forms of the two look-ups.
QList<PTApplicationInfo> PTApplicationURLsForURL(const QUrl& url);
std::optional<PTApplicationInfo> PTDefaultApplicationURLForURL(const QUrl& url);
