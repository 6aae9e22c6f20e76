#pragma once

#include "sidebar/PTSourceListItem.h"

#include <QAbstractItemModel>
#include <QHash>

#include <functional>
#include <memory>
#include <vector>

// The rows of the source list: a spacer, "All", the Miscellaneous set, the "Your Icon Sets" header, the tree of
// groups and sets, a closing spacer. Children of a group are built when the view first asks for them and kept
// until the next rebuild; titles are read live and each object's name change repaints its row.
class PTSourceListModel : public QAbstractItemModel {
    Q_OBJECT
public:
    // Rows before the first group or set at the top level; drops count them.
    static constexpr int FixedTopRows = 4;
    static constexpr int SpacerTopHeight = 8;
    static constexpr int SpacerBottomHeight = 10;
    static constexpr int RowHeight = 26;
    static constexpr int HeaderHeight = 30;
    enum Role { ItemRole = Qt::UserRole + 1 };

    explicit PTSourceListModel(QObject* parent = nullptr);
    ~PTSourceListModel() override;

    // Builds the top-level rows afresh from the library (a model reset); every child list is dropped.
    void rebuild();
    PTSourceListItem* itemForIndex(const QModelIndex& index) const;
    QModelIndex indexForItem(const PTSourceListItem* item) const;
    // The row with that identifier among those built so far.
    PTSourceListItem* itemForIdentifier(const QString& identifier) const;
    int topLevelCount() const { return static_cast<int>(top_.size()); }

    // Stores a new name typed for a group or set. Trimmed; a blank name keeps the old one; a name with NUL,
    // control characters or "/" is refused with an alert. Saves at once. Answers whether the name changed.
    bool renameObject(PTSourceListItem* item, const QString& typed);

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Drag and drop, answered by the installed handler (the source list's drop rules).
    struct DropHandler {
        std::function<QMimeData*(const QModelIndexList&)> mimeData;
        std::function<bool(const QMimeData*, Qt::DropAction, int, const QModelIndex&)> canDrop;
        std::function<bool(const QMimeData*, Qt::DropAction, int, const QModelIndex&)> drop;
    };
    void setDropHandler(DropHandler handler) { drops_ = std::move(handler); }
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    bool canDropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                         const QModelIndex& parent) const override;
    bool dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                      const QModelIndex& parent) override;
    Qt::DropActions supportedDropActions() const override;
    Qt::DropActions supportedDragActions() const override;

signals:
    // A group or set took a new name.
    void objectRenamed();

private:
    PTSourceListItem* addRow(std::vector<std::unique_ptr<PTSourceListItem>>& rows, PTSourceListItem::Kind kind,
                             pt::store::ManagedObject* object, PTSourceListItem* parent, int height);
    void loadChildren(PTSourceListItem* item) const;

    std::vector<std::unique_ptr<PTSourceListItem>> top_;
    mutable QHash<QString, PTSourceListItem*> items_;
    DropHandler drops_;
};
