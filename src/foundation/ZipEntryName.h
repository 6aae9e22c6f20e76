#pragma once

#include <QByteArray>
#include <QStringList>

// An entry's stored name read as a place under the destination. Names are UTF-8 when they decode as such, else
// GB 18030; backslashes count as "/".
class ZipEntryName {
public:
    explicit ZipEntryName(const QByteArray& raw);

    // The decoded name with "/" separators, as progress reports show it.
    const QString& name() const { return name_; }
    // The path below the destination, without empty or "." parts. Empty for the destination itself.
    const QStringList& components() const { return components_; }
    QString relativePath() const { return components_.join(u'/'); }
    bool isFolder() const { return isFolder_; }
    // Absolute names, drive letters, ".." parts and NUL bytes could reach outside the destination.
    bool isUnsafe() const { return unsafe_; }

private:
    QString name_;
    QStringList components_;
    bool isFolder_ = false;
    bool unsafe_ = false;
};
