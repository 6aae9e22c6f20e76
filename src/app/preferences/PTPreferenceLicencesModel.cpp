#include "app/preferences/PTPreferenceLicencesModel.h"

#include "library/controllers/PTLicenceController.h"
#include "library/entities/PTLicence.h"
#include "library/store/PTStoreFunctions.h"

#include <QSet>

#include <algorithm>

namespace {

QString columnValue(const PTLicence* licence, int column)
{
    switch (column) {
    case PTPreferenceLicencesModel::NameColumn: return licence->name();
    case PTPreferenceLicencesModel::URLColumn: return licence->url();
    default: return licence->text();
    }
}

} // namespace

PTPreferenceLicencesModel::PTPreferenceLicencesModel(QObject* parent) : QAbstractTableModel(parent) {}

QVector<pt::store::ObjectID> PTPreferenceLicencesModel::sortedIDs() const
{
    // Each sort key is read once: reading a value goes through the object's stored variant.
    std::vector<std::pair<QString, pt::store::ObjectID>> keyed;
    for (PTLicence* licence : PTLicenceController::sharedController().licences()) {
        if (!licence->isDeleted())
            keyed.emplace_back(columnValue(licence, sortColumn_), licence->objectID());
    }
    std::stable_sort(keyed.begin(), keyed.end(), [this](const auto& a, const auto& b) {
        const int order = a.first.compare(b.first, Qt::CaseInsensitive);
        return order_ == Qt::AscendingOrder ? order < 0 : order > 0;
    });
    QVector<pt::store::ObjectID> ids;
    ids.reserve(qsizetype(keyed.size()));
    for (const auto& entry : keyed)
        ids.append(entry.second);
    return ids;
}

void PTPreferenceLicencesModel::reload()
{
    const QVector<pt::store::ObjectID> ids = sortedIDs();
    if (QSet<pt::store::ObjectID>(ids.begin(), ids.end()) != QSet<pt::store::ObjectID>(ids_.begin(), ids_.end())) {
        beginResetModel();
        ids_ = ids;
        endResetModel();
        return;
    }
    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& index : before)
        after.append(index.isValid() ? this->index(int(ids.indexOf(ids_.at(index.row()))), index.column()) : index);
    ids_ = ids;
    changePersistentIndexList(before, after);
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

PTLicence* PTPreferenceLicencesModel::licenceAt(int row) const
{
    if (row < 0 || row >= ids_.size())
        return nullptr;
    pt::store::ObjectContext* context = PTMainManagedObjectContext();
    return context ? PTLicence::from(context->registeredObject(ids_.at(row))) : nullptr;
}

pt::store::ObjectID PTPreferenceLicencesModel::licenceIDAt(int row) const
{
    return row >= 0 && row < ids_.size() ? ids_.at(row) : pt::store::ObjectID();
}

int PTPreferenceLicencesModel::rowOf(const pt::store::ObjectID& id) const
{
    return int(ids_.indexOf(id));
}

bool PTPreferenceLicencesModel::setValue(const pt::store::ObjectID& id, int column, const QString& text)
{
    pt::store::ObjectContext* context = PTMainManagedObjectContext();
    PTLicence* licence = context ? PTLicence::from(context->registeredObject(id)) : nullptr;
    if (!licence || licence->isDeleted())
        return false;
    const QString value = text.trimmed();
    if (columnValue(licence, column) == value)
        return false;
    switch (column) {
    case NameColumn: licence->setName(value); break;
    case URLColumn: licence->setUrl(value); break;
    default: licence->setText(value); break;
    }
    if (const int row = rowOf(id); row >= 0)
        Q_EMIT dataChanged(index(row, column), index(row, column));
    return true;
}

int PTPreferenceLicencesModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(ids_.size());
}

int PTPreferenceLicencesModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant PTPreferenceLicencesModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole && role != Qt::EditRole && role != Qt::AccessibleTextRole && role != Qt::ToolTipRole)
        return {};
    const PTLicence* licence = licenceAt(index.row());
    return licence ? columnValue(licence, index.column()) : QString();
}

bool PTPreferenceLicencesModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    return role == Qt::EditRole && setValue(licenceIDAt(index.row()), index.column(), value.toString());
}

Qt::ItemFlags PTPreferenceLicencesModel::flags(const QModelIndex& index) const
{
    return QAbstractTableModel::flags(index) | Qt::ItemIsEditable;
}

QVariant PTPreferenceLicencesModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return {};
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignCenter);
    if (role != Qt::DisplayRole)
        return {};
    const char* const titles[] = {QT_TR_NOOP("Name"), QT_TR_NOOP("URL"), QT_TR_NOOP("Text")};
    return section >= 0 && section < ColumnCount ? tr(titles[section]) : QVariant();
}

void PTPreferenceLicencesModel::sort(int column, Qt::SortOrder order)
{
    if (column != NameColumn && column != URLColumn)
        return;
    sortColumn_ = column;
    order_ = order;
    reload();
}
