#pragma once

#include "browser/grid/PTGridViewDataSource.h"

#include <vector>

// A synthetic library for the grid demo and its benchmark: items in sections of uneven sizes, each drawn as a
// coloured square with its name, a grey placeholder until its thumbnail has "arrived".
class DemoGridSource : public PTGridViewDataSource {
public:
    // Item count spread over sections of 200 to 3,000 items.
    explicit DemoGridSource(qint64 items);

    quint32 capabilities() const override { return 0; }
    qint64 numberOfSections(PTGridView& grid) override;
    qint64 numberOfItemsInSection(PTGridView& grid, qint64 section) override;
    std::unique_ptr<PTGridViewCell> cellForSection(PTGridView& grid, qint64 section) override;
    std::unique_ptr<PTGridViewCell> cellForItemAtIndexPath(PTGridView& grid, const GridIndexPath& path) override;
    pt::store::ObjectID itemForIndexPath(PTGridView& grid, const GridIndexPath& path) override;
    QString tooltipForItemAtIndexPath(PTGridView& grid, const GridIndexPath& path) override;

    const std::vector<qint64>& sections() const { return sections_; }
    qint64 itemCount() const { return static_cast<qint64>(loaded_.size()); }
    bool isLoaded(qint64 gridIndex) const { return loaded_[static_cast<size_t>(gridIndex)]; }
    // Thumbnails of the given grid indexes arrive; the grid redraws those it shows.
    void deliverThumbnails(PTGridView& grid, qint64 first, qint64 count);
    static QString nameOf(qint64 gridIndex);

private:
    std::vector<qint64> sections_;
    std::vector<bool> loaded_;
};
