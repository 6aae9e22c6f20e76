#pragma once

#include <QString>

// What the grid controller asks of the search controller attached to it.
class PTGridViewSearching {
public:
    // Posted with the search controller as object when a search ends.
    static inline const QString DidClearNotification = QStringLiteral("PT_SEARCH_CONTROLLER_DID_CLEAR");

    virtual ~PTGridViewSearching() = default;
    virtual bool isSearching() const = 0;
    // The search text as typed: the header of the results.
    virtual QString searchTerm() const = 0;
    // Ends the search; with resign the search field also gives up the focus.
    virtual void cancelSearchByResigningFirstResponder(bool resign) = 0;
    virtual void cancel() = 0;
    // Runs the search again over the current selection; its results refill the grid.
    virtual void reperformSearch() = 0;
};
