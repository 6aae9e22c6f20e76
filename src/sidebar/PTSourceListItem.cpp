#include "sidebar/PTSourceListItem.h"

#include "library/controllers/PTGroupController.h"
#include "library/entities/PTCollection.h"
#include "library/entities/PTGroup.h"

#include <QCoreApplication>

PTSourceListItem::PTSourceListItem(Kind kind, QString identifier, pt::store::ManagedObject* object,
                                   PTSourceListItem* parent, int row, int height)
    : kind_(kind)
    , identifier_(std::move(identifier))
    , object_(object)
    , parent_(parent)
    , row_(row)
    , height_(height)
    , group_(PTGroup::from(object) != nullptr)
    , miscellaneous_(PTCollection::from(object) && PTCollection::from(object)->type() == PTCollection::MiscellaneousType)
{
}

QString PTSourceListItem::title() const
{
    switch (kind_) {
    case Kind::All:
        return QCoreApplication::translate("PTSourceListController", "All");
    case Kind::Header:
        return QCoreApplication::translate("PTSourceListController", "Your Icon Sets");
    case Kind::Object:
        return PTGroupController::nameOf(object_);
    case Kind::Spacer:
        break;
    }
    return {};
}
