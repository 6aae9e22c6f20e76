#include "app/PTSearchLink.h"

#include "browser/controller/PTGridViewController.h"
#include "browser/controller/PTSearchController.h"

PTSearchLink::PTSearchLink(PTGridViewController& grid)
    : grid_(grid)
{
}

PTSearchLink::~PTSearchLink()
{
    if (grid_.searchController() == this)
        grid_.setSearchController(nullptr);
}

void PTSearchLink::setSearchController(PTSearchController* controller)
{
    search_ = controller;
    // The grid listens for the end of a search from its own searching object: this one.
    cleared_ = pt::NotificationCenter::defaultCenter().addObserver(
        PTSearchController::DidClearNotification, controller, [this](const pt::Notification&) {
            pt::NotificationCenter::defaultCenter().post(PTGridViewSearching::DidClearNotification,
                                                         static_cast<PTGridViewSearching*>(this));
        });
    grid_.setSearchController(this);
}

void PTSearchLink::setDataFromItemsArray(const QVector<PTItem*>& items)
{
    grid_.setDataFromItemsArray(items);
}

bool PTSearchLink::isSearching() const
{
    return search_ && search_->isSearching();
}

QString PTSearchLink::searchTerm() const
{
    return search_ ? search_->term() : QString();
}

void PTSearchLink::cancelSearchByResigningFirstResponder(bool resign)
{
    if (search_)
        search_->cancelSearchByResigningFirstResponse(resign);
}

void PTSearchLink::cancel()
{
    if (search_)
        search_->cancel();
}

void PTSearchLink::reperformSearch()
{
    if (search_)
        search_->reperformSearch();
}
