#pragma once

#include "browser/controller/PTGridViewDataProvider.h"

// Search results in one section headed by the search term, sorted as the set provider sorts a section.
class PTGridViewSearchDataProvider : public PTGridViewDataProvider {
public:
    // Answers the search term as the user typed it.
    using TermSource = std::function<QString()>;

    // The separator of the location path in tooltips.
    static const QString LocationSeparator; // "  ⟩  "

    explicit PTGridViewSearchDataProvider(TermSource searchTerm);

    using PTGridViewDataProvider::setItems;
    void setItems(const QVector<PTItem*>& items, KnownItems known) override;
    qint64 numberOfSections() const override { return 1; }
    qint64 numberOfItemsInSection(qint64 section) const override;
    PTItem* itemForIndexPath(const GridIndexPath& path) override;
    GridIndexPath indexPathForItem(PTItem* item) override;
    // The item's groups and set, outermost first, then its name.
    QString tooltipForIndexPath(const GridIndexPath& path) override;
    // "Search", then the term normalised with each word capitalised.
    QStringList pathComponentsForSection(qint64 section) const override;
    QVector<PTCollection*> collections() const override { return {}; }
    PTCollection* collectionForSection(qint64, bool = false) override { return nullptr; }
    void setSortOrder(SortOrder order) override;
    void purge() override;
    void resort();

private:
    QVector<PTItem*> itemArray_;
    TermSource searchTerm_;
};
