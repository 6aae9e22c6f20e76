#pragma once

#include <QList>
#include <QStringList>

// A batch of file-system changes as a watcher hands it on: the changed paths with one flag word each.
struct PTFSEvent {
    // Flag bits, with the values the watcher's consumers have always used.
    static constexpr quint32 ItemCreated = 0x100;
    static constexpr quint32 ItemRemoved = 0x200;
    static constexpr quint32 ItemRenamed = 0x800;
    static constexpr quint32 ItemModified = 0x1000;
    static constexpr quint32 ItemIsFile = 0x10000;
    static constexpr quint32 ItemIsDir = 0x20000;

    QStringList paths;
    QList<quint32> flags;

    int count() const { return static_cast<int>(paths.size()); }
};
