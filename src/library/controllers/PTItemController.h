#pragma once

#include <QHash>
#include <QStringList>
#include <QVector>

class PTItem;

// Groups items whose names tell one icon at several sizes ("Arrow 16x16", "Arrow @2"): the shared base of the
// name is what they have in common.
class PTItemController {
public:
    static PTItemController& sharedController();

    // Every base name found in the items' names (each match of "name WxH" or "name @scale" within a name, the
    // name trimmed) with the names of the items it was found in; logged as well.
    QHash<QString, QStringList> groupItems(const QVector<PTItem*>& items) const;

private:
    PTItemController() = default;
};
