#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVector>

#include <memory>
#include <optional>
#include <vector>

class PTItem;

// A way of copying icons to the clipboard as text ("Copy As"). Every format is registered once at start-up;
// the menu offers the formats that accept every type in the selection, by group, sorted by title in each.
class PTItemCopyProvider {
public:
    virtual ~PTItemCopyProvider() = default;

    // Registers the SVG code, formatted SVG code and Base64 formats; once, at start-up (again does nothing).
    static void registerAll();
    static void registerProvider(std::unique_ptr<PTItemCopyProvider> provider);
    static const std::vector<std::unique_ptr<PTItemCopyProvider>>& providers();

    // The formats for the items in menu order; a null entry stands for a separator between two groups. An empty
    // list of items is offered every format.
    static QVector<const PTItemCopyProvider*> menuItemsForItems(const QVector<PTItem*>& items);

    virtual QString title() const = 0;
    // The item types it accepts (PTItem::Type) and its menu section.
    virtual QList<qint64> compatibleTypes() const = 0;
    virtual int group() const = 0;

    // The text of each item that gives one, in order; unreadable or unsuitable files give none.
    QStringList stringsForItems(const QVector<PTItem*>& items) const;
    // Clears the clipboard and puts the strings there as one text, a line between two.
    void copy(const QVector<PTItem*>& items) const;

protected:
    virtual std::optional<QString> stringForData(const QByteArray& data, const PTItem& item) const = 0;
    // The document re-serialised as our XML reader parses it (no external entities); none when it does not parse.
    static std::optional<QString> svgString(const QByteArray& data, bool pretty);
};
