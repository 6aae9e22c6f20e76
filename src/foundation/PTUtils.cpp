#include "foundation/PTUtils.h"

#include "platform/runtime/Logging.h"

#include <QFile>

#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>

#include <memory>

namespace {

template <typename T>
struct GObjectDeleter {
    void operator()(T* object) const
    {
        if (object)
            g_object_unref(object);
    }
};
template <typename T>
using GObjectPtr = std::unique_ptr<T, GObjectDeleter<T>>;

struct GFreeDeleter {
    void operator()(gchar* text) const { g_free(text); }
};
using GString_ = std::unique_ptr<gchar, GFreeDeleter>;

QString fromUtf8(const char* text)
{
    return text ? QString::fromUtf8(text) : QString();
}

// What GIO files applications under: the content type of a local file (sniffed when it exists, guessed from
// its name otherwise), or "x-scheme-handler/<scheme>" for other URLs.
QString typeOf(const QUrl& url)
{
    if (!url.isLocalFile())
        return url.scheme().isEmpty() ? QString() : QStringLiteral("x-scheme-handler/") + url.scheme().toLower();
    const QByteArray path = QFile::encodeName(url.toLocalFile());
    GObjectPtr<GFile> file(g_file_new_for_path(path.constData()));
    GObjectPtr<GFileInfo> info(g_file_query_info(file.get(), G_FILE_ATTRIBUTE_STANDARD_CONTENT_TYPE,
                                                 G_FILE_QUERY_INFO_NONE, nullptr, nullptr));
    if (info && g_file_info_get_content_type(info.get()))
        return fromUtf8(g_file_info_get_content_type(info.get()));
    GString_ guessed(g_content_type_guess(path.constData(), nullptr, 0, nullptr));
    return fromUtf8(guessed.get());
}

PTApplicationInfo infoOf(GAppInfo* app)
{
    PTApplicationInfo info;
    info.identifier = fromUtf8(g_app_info_get_id(app));
    info.name = fromUtf8(g_app_info_get_display_name(app)).trimmed();
    if (GIcon* icon = g_app_info_get_icon(app)) {
        GString_ text(g_icon_to_string(icon));
        info.iconName = fromUtf8(text.get());
    }
    if (G_IS_DESKTOP_APP_INFO(app))
        info.desktopFilePath = fromUtf8(g_desktop_app_info_get_filename(G_DESKTOP_APP_INFO(app)));
    return info;
}

} // namespace

std::optional<PTApplicationInfo> PTUtils::defaultApplicationURLForURL(const QUrl& url)
{
    const QByteArray type = typeOf(url).toUtf8();
    if (type.isEmpty())
        return std::nullopt;
    GObjectPtr<GAppInfo> app(g_app_info_get_default_for_type(type.constData(), FALSE));
    if (!app)
        return std::nullopt;
    return infoOf(app.get());
}

std::optional<PTApplicationInfo> PTUtils::applicationForIdentifier(const QString& identifier)
{
    GObjectPtr<GDesktopAppInfo> app(g_desktop_app_info_new(identifier.toUtf8().constData()));
    if (!app)
        return std::nullopt;
    return infoOf(G_APP_INFO(app.get()));
}

QList<PTApplicationInfo> PTUtils::applicationURLsForURL(const QUrl& url)
{
    QList<PTApplicationInfo> applications;
    const QByteArray type = typeOf(url).toUtf8();
    if (type.isEmpty())
        return applications;
    GList* all = g_app_info_get_all_for_type(type.constData());
    for (GList* it = all; it; it = it->next)
        applications.append(infoOf(G_APP_INFO(it->data)));
    g_list_free_full(all, g_object_unref);
    return applications;
}

QList<PTApplicationInfo> PTUtils::allApplications()
{
    QList<PTApplicationInfo> applications;
    GList* all = g_app_info_get_all();
    for (GList* it = all; it; it = it->next) {
        if (g_app_info_should_show(G_APP_INFO(it->data)))
            applications.append(infoOf(G_APP_INFO(it->data)));
    }
    g_list_free_full(all, g_object_unref);
    return applications;
}

bool PTUtils::openURLs(const QList<QUrl>& urls, const QString& bundleIdentifier)
{
    GObjectPtr<GDesktopAppInfo> app(g_desktop_app_info_new(bundleIdentifier.toUtf8().constData()));
    if (!app) {
        qCWarning(lcFoundation) << "No application" << bundleIdentifier << "to open" << urls.size() << "files";
        return false;
    }
    std::vector<QByteArray> encoded;
    encoded.reserve(size_t(urls.size()));
    GList* uris = nullptr;
    for (const QUrl& url : urls) {
        encoded.push_back(url.toEncoded());
        uris = g_list_append(uris, encoded.back().data());
    }
    GError* error = nullptr;
    const bool launched = g_app_info_launch_uris(G_APP_INFO(app.get()), uris, nullptr, &error);
    g_list_free(uris);
    if (!launched) {
        qCWarning(lcFoundation) << "Opening" << urls.size() << "files in" << bundleIdentifier
                                << "failed:" << fromUtf8(error ? error->message : nullptr);
        g_clear_error(&error);
    }
    return launched;
}

QList<PTApplicationInfo> PTApplicationURLsForURL(const QUrl& url)
{
    return PTUtils::applicationURLsForURL(url);
}

std::optional<PTApplicationInfo> PTDefaultApplicationURLForURL(const QUrl& url)
{
    return PTUtils::defaultApplicationURLForURL(url);
}
