#include "app/autostart/DesktopEntry.h"

#include <QFile>

#include <algorithm>

namespace DesktopEntry {

namespace {

// String escapes of values: \s \n \t \r \\.
QString unescapeValue(const QString& value)
{
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c != u'\\' || i + 1 == value.size()) {
            out += c;
            continue;
        }
        const QChar next = value.at(++i);
        switch (next.unicode()) {
        case 's': out += u' '; break;
        case 'n': out += u'\n'; break;
        case 't': out += u'\t'; break;
        case 'r': out += u'\r'; break;
        default: out += next; break;
        }
    }
    return out;
}

// The escapes a written value needs: a raw line break would end the entry. Spaces inside a value need none.
QString escapeValue(const QString& value)
{
    QString out;
    out.reserve(value.size());
    for (const QChar c : value) {
        switch (c.unicode()) {
        case '\\': out += QLatin1String("\\\\"); break;
        case '\n': out += QLatin1String("\\n"); break;
        case '\t': out += QLatin1String("\\t"); break;
        case '\r': out += QLatin1String("\\r"); break;
        default: out += c; break;
        }
    }
    return out;
}

bool isReserved(QChar c)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    return reserved.contains(c);
}

} // namespace

QMap<QString, QString> readFile(const QString& path)
{
    QMap<QString, QString> entries;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return entries;
    bool inGroup = false;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        if (line.startsWith(u'[')) {
            inGroup = line == QLatin1String("[Desktop Entry]");
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (inGroup && equals > 0)
            entries.insert(line.left(equals).trimmed(), unescapeValue(line.mid(equals + 1).trimmed()));
    }
    return entries;
}

QString quoteArgument(const QString& argument)
{
    QString escaped = argument;
    escaped.replace(u'%', QLatin1String("%%"));
    if (!argument.isEmpty() && std::none_of(argument.begin(), argument.end(), isReserved))
        return escaped;
    QString quoted = QStringLiteral("\"");
    for (const QChar c : escaped) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += u'\\';
        quoted += c;
    }
    return quoted + u'"';
}

QString execValue(const QStringList& arguments)
{
    QStringList quoted;
    for (const QString& argument : arguments)
        quoted << quoteArgument(argument);
    // The Exec line is itself a string value, whose backslashes and control characters are escaped once more.
    return escapeValue(quoted.join(u' '));
}

QStringList splitExec(const QString& exec)
{
    QStringList arguments;
    QString current;
    bool inArgument = false;
    bool quoted = false;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec.at(i);
        if (quoted) {
            if (c == u'\\' && i + 1 < exec.size())
                current += exec.at(++i);
            else if (c == u'%' && i + 1 < exec.size() && exec.at(i + 1) == u'%')
                current += exec.at(++i);
            else if (c == u'"')
                quoted = false;
            else
                current += c;
        } else if (c == u'"') {
            quoted = inArgument = true;
        } else if (c == u' ' || c == u'\t') {
            if (inArgument)
                arguments << current;
            current.clear();
            inArgument = false;
        } else if (c == u'%' && i + 1 < exec.size()) {
            // "%%" is a percent sign; any other field code stands for files or URLs we never pass.
            if (exec.at(++i) == u'%') {
                current += u'%';
                inArgument = true;
            }
        } else {
            current += c;
            inArgument = true;
        }
    }
    if (inArgument)
        arguments << current;
    return arguments;
}

} // namespace DesktopEntry
