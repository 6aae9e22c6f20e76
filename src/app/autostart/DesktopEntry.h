#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

// The [Desktop Entry] group of a .desktop file, as the XDG Desktop Entry format writes it: string values with
// their backslash escapes, and an Exec line whose arguments are quoted where they hold reserved characters.
namespace DesktopEntry {

// The keys and unescaped values of the [Desktop Entry] group; empty when the file cannot be read.
QMap<QString, QString> readFile(const QString& path);
// One argument as Exec wants it, and the escaped string value of an Exec line made of arguments.
QString quoteArgument(const QString& argument);
QString execValue(const QStringList& arguments);
// The arguments of an Exec value read back (string escapes already undone by readFile); field codes dropped.
QStringList splitExec(const QString& exec);

} // namespace DesktopEntry
