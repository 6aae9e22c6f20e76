#pragma once

#include "FakeGridClock.h"

#include "browser/grid/PTGridView.h"
#include "browser/grid/PTGridViewCell.h"
#include "browser/grid/PTGridViewDataSource.h"

#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QStringList>

#include <gtest/gtest.h>

#include <vector>

// An item cell that counts what the grid does to it.
class CountingItemCell : public PTGridViewCell {
public:
    explicit CountingItemCell(QString identifier = QStringLiteral("item"))
        : PTGridViewCell(std::move(identifier))
    {
    }
    ~CountingItemCell() override { ++destroyed; }
    void willDisplayCell(bool reused) override
    {
        PTGridViewCell::willDisplayCell(reused);
        ++displays;
    }
    void drawCellInRect(QPainter& painter, const QRectF& rect) override
    {
        ++draws;
        painter.fillRect(rect, highlighted() ? Qt::blue : Qt::darkGray);
    }
    void prepareForReuse() override
    {
        PTGridViewCell::prepareForReuse();
        ++reuses;
    }
    void mouseEntered(QMouseEvent*, const QPointF&) override { hoverLog << QStringLiteral("enter %1").arg(gridIndex()); }
    void mouseMoved(QMouseEvent*, const QPointF&) override { hoverLog << QStringLiteral("move %1").arg(gridIndex()); }
    void mouseExited(QMouseEvent*, const QPointF&) override { hoverLog << QStringLiteral("exit %1").arg(gridIndex()); }
    using PTGridViewCell::setRespondsToFirstResponderRedraw;
    void responderDidChange() override { ++responderChanges; }
    void didEnterLiveGridResize() override { ++liveEnters; }
    void didExitLiveGridResize() override { ++liveExits; }

    static inline int destroyed = 0;
    static inline QStringList hoverLog;
    int displays = 0;
    int draws = 0;
    int reuses = 0;
    int liveEnters = 0;
    int responderChanges = 0;
    int liveExits = 0;
};

// Sections of item keys; logs the announcements it receives.
class GridTestSource : public PTGridViewDataSource {
public:
    std::vector<std::vector<qint64>> sections;
    quint32 caps = WillShowSection | WillHideSection | LiveResize;
    QStringList log;
    int cellsMade = 0;
    std::vector<QVector<GridIndexPath>> reports;
    int spaces = 0;
    int dragRequests = 0;
    int doubleClicks = 0;
    QStringList commands;
    std::optional<QSizeF> itemSizeAnswer;
    Qt::DropAction dropAnswer = Qt::CopyAction;
    std::vector<GridIndexPath> dropPaths; // validated, then accepted
    QMenu menu;
    std::vector<std::pair<QVector<GridIndexPath>, GridIndexPath>> menuRequests;

    static pt::store::ObjectID id(qint64 key) { return pt::store::ObjectID::permanent(nullptr, key, {}); }

    quint32 capabilities() const override { return caps | (itemSizeAnswer ? quint32(ProposedItemSize) : 0U); }
    qint64 numberOfSections(PTGridView&) override { return static_cast<qint64>(sections.size()); }
    qint64 numberOfItemsInSection(PTGridView&, qint64 section) override
    {
        return static_cast<qint64>(sections[static_cast<size_t>(section)].size());
    }
    std::unique_ptr<PTGridViewCell> cellForSection(PTGridView& grid, qint64) override
    {
        if (auto cell = grid.dequeueReusableCellWithIdentifier(QStringLiteral("header")))
            return cell;
        return std::make_unique<CountingItemCell>(QStringLiteral("header"));
    }
    std::unique_ptr<PTGridViewCell> cellForItemAtIndexPath(PTGridView& grid, const GridIndexPath&) override
    {
        if (auto cell = grid.dequeueReusableCellWithIdentifier(QStringLiteral("item")))
            return cell;
        ++cellsMade;
        return std::make_unique<CountingItemCell>();
    }
    pt::store::ObjectID itemForIndexPath(PTGridView&, const GridIndexPath& path) override
    {
        return id(sections[static_cast<size_t>(path.section)][static_cast<size_t>(path.index)]);
    }
    void willShowSection(PTGridView&, qint64 section, bool shownBefore) override
    {
        log << QStringLiteral("show %1%2").arg(section).arg(shownBefore ? QStringLiteral(" again") : QString());
    }
    void didSelectItemsAtIndexPaths(PTGridView&, const QVector<GridIndexPath>& paths) override { reports.push_back(paths); }
    void handleSpaceBarEvent(PTGridView&, QKeyEvent*) override { ++spaces; }
    bool wantsDragForIndexPaths(PTGridView&, const QVector<GridIndexPath>&, QMouseEvent*, const QPointF&) override
    {
        ++dragRequests;
        return true;
    }
    void didDoubleClick(PTGridView&, QMouseEvent*, const GridIndexPath&) override { ++doubleClicks; }
    void wantsCopyToPasteboardForIndexPaths(PTGridView&, const QVector<GridIndexPath>& paths) override
    {
        commands << QStringLiteral("copy %1").arg(paths.size());
    }
    void wantsDeleteForIndexPaths(PTGridView&, const QVector<GridIndexPath>& paths) override
    {
        commands << QStringLiteral("delete %1").arg(paths.size());
    }
    bool validateCommand(const PTGridView&, const QString& command) override { return command == "revealInFolder:"; }
    void performCommand(PTGridView&, const QString& command) override { commands << command; }
    QString tooltipForItemAtIndexPath(PTGridView& grid, const GridIndexPath& path) override
    {
        return QStringLiteral("item %1").arg(itemForIndexPath(grid, path).primaryKey());
    }
    QMenu* menuForItemsAtIndexPaths(PTGridView&, const QVector<GridIndexPath>& paths, const GridIndexPath& context) override
    {
        menuRequests.emplace_back(paths, context);
        return &menu;
    }
    Qt::DropAction validateDrop(PTGridView&, const QDropEvent&, const GridIndexPath& path) override
    {
        dropPaths.push_back(path);
        return dropAnswer;
    }
    bool acceptDrop(PTGridView&, const QDropEvent&, const GridIndexPath& path) override
    {
        dropPaths.push_back(path);
        return dropAnswer != Qt::IgnoreAction;
    }
    void dragEntered(PTGridView&, bool entered) override { log << (entered ? QStringLiteral("drag in") : QStringLiteral("drag out")); }
    void didChangeToScreen(PTGridView&, qreal ratio) override { log << QStringLiteral("ratio %1").arg(ratio); }
    void willHideSection(PTGridView&, qint64 section) override { log << QStringLiteral("hide %1").arg(section); }
    void liveResizeDidChange(PTGridView&, bool live) override
    {
        log << (live ? QStringLiteral("live on") : QStringLiteral("live off"));
    }
    QSizeF itemSizeWithProposedSize(PTGridView&, const QSizeF& proposed, const PTGridViewDrawingState&) override
    {
        log << QStringLiteral("proposed %1").arg(proposed.width());
        return *itemSizeAnswer;
    }

    // Sections of the given sizes with keys numbered from 1.
    static std::vector<std::vector<qint64>> numbered(const std::vector<int>& counts)
    {
        std::vector<std::vector<qint64>> result;
        qint64 key = 1;
        for (int count : counts) {
            result.emplace_back();
            for (int i = 0; i < count; ++i)
                result.back().push_back(key++);
        }
        return result;
    }
};

// The shape the grid tests share: 36-point items 10 apart under 35-point headers and a 38-point top margin, in
// 500 × 300 (10 columns), without a scroll bar taking width.
inline void shapeTestGrid(PTGridView& grid)
{
    grid.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid.setMargin(38, 1);
    grid.setItemMargin(10);
    grid.setSectionHeaderHeight(35);
    grid.setItemSize(QSizeF(36, 36));
    grid.resize(500, 300);
}

// A shown test-shaped grid on a fake clock, and the source it loads.
struct GridFixture : ::testing::Test {
    FakeGridClock clock;
    GridTestSource source;
    std::unique_ptr<PTGridView> grid;

    void SetUp() override
    {
        grid = std::make_unique<PTGridView>(nullptr, clock);
        shapeTestGrid(*grid);
        grid->show();
    }
    void load(const std::vector<int>& counts)
    {
        source.sections = GridTestSource::numbered(counts);
        grid->setDataSource(&source);
        settle();
    }
    void settle()
    {
        clock.advance(1);
        grid->animator().tick();
    }
    void scrollTo(int y) { grid->verticalScrollBar()->setValue(y); }
    CountingItemCell* cell(qint64 section, qint64 index) const
    {
        return static_cast<CountingItemCell*>(grid->cellForIndexPath({section, index}));
    }
    QRectF headerFrame(qint64 section) const { return grid->headerCellForSection(section)->frame(); }
};
