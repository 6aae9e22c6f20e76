#pragma once

#include "browser/controller/PTGridViewSearching.h"
#include "browser/controller/PTSearchGridController.h"
#include "platform/runtime/NotificationCenter.h"

class PTGridViewController;

// Joins the toolbar's search controller and the grid controller, which each know the other only through an
// interface of their own: results go to the grid, and the grid's questions and cancels go to the search.
class PTSearchLink : public PTSearchGridController, public PTGridViewSearching {
public:
    explicit PTSearchLink(PTGridViewController& grid);
    ~PTSearchLink() override;

    // PTSearchGridController
    void setSearchController(PTSearchController* controller) override;
    void setDataFromItemsArray(const QVector<PTItem*>& items) override;

    // PTGridViewSearching
    bool isSearching() const override;
    QString searchTerm() const override;
    void cancelSearchByResigningFirstResponder(bool resign) override;
    void cancel() override;
    void reperformSearch() override;

private:
    PTGridViewController& grid_;
    PTSearchController* search_ = nullptr;
    pt::ObserverToken cleared_;
};
