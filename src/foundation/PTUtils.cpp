#include "foundation/PTUtils.h"

#include "platform/runtime/Logging.h"

#include <QFile>
#include <QStandardPaths>

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

bool needsTerminal(GAppInfo* app)
{
    return G_IS_DESKTOP_APP_INFO(app) && g_desktop_app_info_get_boolean(G_DESKTOP_APP_INFO(app), "Terminal");
}

// Whether the application can start here: one that needs a terminal only when the desktop has one.
bool canRun(GAppInfo* app, bool haveTerminal)
{
    return haveTerminal || !needsTerminal(app);
}

// An argument as an Exec line quotes it: in double quotes, with the reserved characters escaped and a percent
// sign doubled so that it is not read as a field code.
QString quotedExecArgument(const QString& argument)
{
    QString quoted;
    for (const QChar c : argument) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += u'\\';
        quoted += c;
        if (c == u'%')
            quoted += u'%';
    }
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

// The application described anew with its Exec line run inside the terminal, as an application that needs no
// terminal of its own; GIO still fills in the files' field codes. Null when the description cannot be read.
GDesktopAppInfo* inTerminal(GDesktopAppInfo* app, const QStringList& terminal, GError** error)
{
    const char* path = g_desktop_app_info_get_filename(app);
    GKeyFile* keys = g_key_file_new();
    GDesktopAppInfo* wrapped = nullptr;
    if (path && g_key_file_load_from_file(keys, path, G_KEY_FILE_NONE, error)) {
        GString_ exec(g_key_file_get_string(keys, G_KEY_FILE_DESKTOP_GROUP, G_KEY_FILE_DESKTOP_KEY_EXEC, error));
        if (exec) {
            QStringList line;
            for (const QString& argument : terminal)
                line << quotedExecArgument(argument);
            line << QString::fromUtf8(exec.get());
            g_key_file_set_string(keys, G_KEY_FILE_DESKTOP_GROUP, G_KEY_FILE_DESKTOP_KEY_EXEC,
                                  line.join(QLatin1Char(' ')).toUtf8().constData());
            g_key_file_set_boolean(keys, G_KEY_FILE_DESKTOP_GROUP, G_KEY_FILE_DESKTOP_KEY_TERMINAL, FALSE);
            wrapped = g_desktop_app_info_new_from_keyfile(keys);
        }
    }
    g_key_file_unref(keys);
    if (!wrapped && error && !*error)
        g_set_error_literal(error, G_IO_ERROR, G_IO_ERROR_FAILED, "the terminal cannot run the application");
    return wrapped;
}

} // namespace

QStringList PTUtils::terminalCommand()
{
    // How each known terminal is told that the rest of its arguments are the command to run.
    static const std::pair<const char*, const char*> known[] = {
        {"x-terminal-emulator", "-e"}, {"gnome-terminal", "--"}, {"konsole", "-e"},  {"xfce4-terminal", "-x"},
        {"mate-terminal", "-x"},       {"alacritty", "-e"},      {"urxvt", "-e"},    {"xterm", "-e"}};
    const QString chosen = qEnvironmentVariable("TERMINAL");
    if (!chosen.isEmpty()) {
        const QString program = QStandardPaths::findExecutable(chosen);
        if (!program.isEmpty())
            return {program, QStringLiteral("-e")};
    }
    for (const auto& [name, separator] : known) {
        const QString program = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!program.isEmpty())
            return {program, QString::fromLatin1(separator)};
    }
    return {};
}

std::optional<PTApplicationInfo> PTUtils::defaultApplicationURLForURL(const QUrl& url)
{
    const QByteArray type = typeOf(url).toUtf8();
    if (type.isEmpty())
        return std::nullopt;
    GObjectPtr<GAppInfo> app(g_app_info_get_default_for_type(type.constData(), FALSE));
    if (!app || !canRun(app.get(), !terminalCommand().isEmpty()))
        return std::nullopt;
    return infoOf(app.get());
}

std::optional<PTApplicationInfo> PTUtils::applicationForIdentifier(const QString& identifier)
{
    GObjectPtr<GDesktopAppInfo> app(g_desktop_app_info_new(identifier.toUtf8().constData()));
    if (!app || !canRun(G_APP_INFO(app.get()), !terminalCommand().isEmpty()))
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
    const bool haveTerminal = !terminalCommand().isEmpty();
    for (GList* it = all; it; it = it->next) {
        if (canRun(G_APP_INFO(it->data), haveTerminal))
            applications.append(infoOf(G_APP_INFO(it->data)));
    }
    g_list_free_full(all, g_object_unref);
    return applications;
}

QList<PTApplicationInfo> PTUtils::allApplications()
{
    QList<PTApplicationInfo> applications;
    GList* all = g_app_info_get_all();
    const bool haveTerminal = !terminalCommand().isEmpty();
    for (GList* it = all; it; it = it->next) {
        if (g_app_info_should_show(G_APP_INFO(it->data)) && canRun(G_APP_INFO(it->data), haveTerminal))
            applications.append(infoOf(G_APP_INFO(it->data)));
    }
    g_list_free_full(all, g_object_unref);
    return applications;
}

bool PTUtils::openURLs(const QList<QUrl>& urls, const QString& bundleIdentifier, QString* error)
{
    GObjectPtr<GDesktopAppInfo> app(g_desktop_app_info_new(bundleIdentifier.toUtf8().constData()));
    if (!app) {
        qCWarning(lcFoundation) << "No application" << bundleIdentifier << "to open" << urls.size() << "files";
        if (error)
            *error = QStringLiteral("The application is not installed.");
        return false;
    }
    GError* failure = nullptr;
    if (needsTerminal(G_APP_INFO(app.get()))) {
        // GIO knows fewer terminals than the desktop may have; the one found here runs the application.
        const QStringList terminal = terminalCommand();
        if (terminal.isEmpty())
            g_set_error_literal(&failure, G_IO_ERROR, G_IO_ERROR_NOT_FOUND, "No terminal was found to run it in.");
        else
            app.reset(inTerminal(app.get(), terminal, &failure));
    }
    std::vector<QByteArray> encoded;
    encoded.reserve(size_t(urls.size()));
    GList* uris = nullptr;
    for (const QUrl& url : urls) {
        encoded.push_back(url.toEncoded());
        uris = g_list_append(uris, encoded.back().data());
    }
    const bool launched = !failure && app && g_app_info_launch_uris(G_APP_INFO(app.get()), uris, nullptr, &failure);
    g_list_free(uris);
    if (!launched) {
        const QString reason = fromUtf8(failure ? failure->message : nullptr);
        qCWarning(lcFoundation) << "Opening" << urls.size() << "files in" << bundleIdentifier << "failed:" << reason;
        if (error)
            *error = reason;
        g_clear_error(&failure);
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
