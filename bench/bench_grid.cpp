// The grid next to a QListView in icon mode over the same 100,000 items at 1200 × 800, at pixel ratios 1 and 2:
// first paint, frame times of a scroll through everything while thumbnails stream in (also with the browser's
// blurred path headers), hit tests, select-all with a paint, and a resize. The list view lays out uniform sizes
// in a static flow and its delegate draws the same square and label.
#include "DemoGridSource.h"
#include "ScrollFrames.h"

#include "browser/grid/PTGridView.h"
#include "browser/grid/PTGridViewSectionPathCell.h"
#include "platform/ui/AnimationTiming.h"

#include <QAbstractListModel>
#include <QApplication>
#include <QImage>
#include <QListView>
#include <QPainter>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QStyledItemDelegate>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>

namespace {

constexpr qint64 Items = 100000;
const QSize WindowSize(1200, 800);
const QSize ItemSize(64, 78);
constexpr int Margin = 12;
constexpr int ScrollStep = 240;

// Items of the list view: the name, and whether the thumbnail arrived.
class DemoListModel : public QAbstractListModel {
public:
    std::vector<bool> loaded = std::vector<bool>(Items, false);

    int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : static_cast<int>(Items); }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role == Qt::DisplayRole)
            return DemoGridSource::nameOf(index.row());
        if (role == Qt::UserRole)
            return static_cast<bool>(loaded[static_cast<size_t>(index.row())]);
        return {};
    }
    void deliver(int first, int last)
    {
        for (int row = first; row <= last; ++row)
            loaded[static_cast<size_t>(row)] = true;
        emit dataChanged(index(first), index(last));
    }
};

// Draws what the grid's demo cell draws.
class DemoDelegate : public QStyledItemDelegate {
public:
    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override { return ItemSize; }
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const QRectF rect = option.rect;
        QFont font;
        font.setPixelSize(10);
        const QString name = index.data().toString();
        const qreal text = QFontMetricsF(font).height();
        const qreal side = std::max<qreal>(8, std::min(rect.width(), rect.height() - text - 2) - 8);
        const QRectF square(rect.center().x() - side / 2, rect.top() + 4, side, side);
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(Qt::NoPen);
        painter->setBrush(index.data(Qt::UserRole).toBool() ? QColor::fromHsv((index.row() * 37) % 360, 160, 220)
                                                             : QColor(200, 200, 200));
        painter->drawRoundedRect(square, 4, 4);
        if (option.state & QStyle::State_Selected) {
            painter->setBrush(Qt::NoBrush);
            painter->setPen(QPen(QColor(10, 132, 255), 2));
            painter->drawRoundedRect(rect.adjusted(1, 1, -1, -1), 5, 5);
        }
        painter->setFont(font);
        painter->setPen(Qt::black);
        painter->drawText(QRectF(rect.left(), rect.bottom() - text - 1, rect.width(), text), Qt::AlignHCenter, name);
        painter->restore();
    }
};

// One of the two views, shown in its window.
class Subject {
public:
    virtual ~Subject() = default;
    virtual QAbstractScrollArea& area() = 0;
    virtual void streamVisible() = 0;
    virtual bool hit(const QPoint& point) = 0;
    virtual void selectAll() = 0;

    void paint(qreal ratio) { paintViewport(area(), ratio); }
    void settle() { settleEvents(); }
};

// The grid's demo source with the browser's own section headers: path names over a blurred backdrop.
class PathHeaderSource : public DemoGridSource {
public:
    using DemoGridSource::DemoGridSource;
    std::unique_ptr<PTGridViewCell> cellForSection(PTGridView& grid, qint64 section) override
    {
        auto cell = grid.dequeueReusableCellWithIdentifier(QStringLiteral("sectionItem"));
        if (!cell)
            cell = std::make_unique<PTGridViewSectionPathCell>(QStringLiteral("sectionItem"));
        static_cast<PTGridViewSectionPathCell&>(*cell).setPathComponents(
            {QStringLiteral("Library"), QStringLiteral("Interface Icons"), QStringLiteral("Set %1").arg(section)});
        return cell;
    }
};

template <class Source>
class GridSubjectOf : public Subject {
public:
    GridSubjectOf()
        : source(Items)
    {
        // Frames measure drawing, not glides that wait for time.
        pt::AnimationTiming::setScale(0);
        grid.setItemMargin(Margin);
        grid.setSectionHeaderHeight(30);
        grid.setItemSize(ItemSize);
        grid.resize(WindowSize);
        grid.show();
        grid.setDataSource(&source);
        settle();
    }
    QAbstractScrollArea& area() override { return grid; }
    void streamVisible() override
    {
        const GridRange shown = grid.geometry().rangeOfItemsInRect(grid.visibleRect());
        source.deliverThumbnails(grid, shown.location, shown.length);
    }
    bool hit(const QPoint& point) override
    {
        return grid.geometry().indexPathForPoint(point + QPointF(0, grid.visibleRect().y())).isValid();
    }
    void selectAll() override { grid.selectAll(); }

    Source source;
    PTGridView grid;
};
using GridSubject = GridSubjectOf<DemoGridSource>;
using PathHeaderGridSubject = GridSubjectOf<PathHeaderSource>;

class ListSubject : public Subject {
public:
    ListSubject()
    {
        view.setViewMode(QListView::IconMode);
        view.setUniformItemSizes(true);
        view.setMovement(QListView::Static);
        view.setFlow(QListView::LeftToRight);
        view.setWrapping(true);
        view.setResizeMode(QListView::Adjust);
        view.setSpacing(Margin / 2);
        view.setSelectionMode(QAbstractItemView::ExtendedSelection);
        view.setItemDelegate(&delegate);
        view.setModel(&model);
        view.resize(WindowSize);
        view.show();
        settle();
    }
    QAbstractScrollArea& area() override { return view; }
    void streamVisible() override
    {
        const QModelIndex first = view.indexAt(QPoint(Margin, Margin));
        const QModelIndex last = view.indexAt(QPoint(view.viewport()->width() - Margin, view.viewport()->height() - Margin));
        if (first.isValid())
            model.deliver(first.row(), last.isValid() ? last.row() : std::min<int>(first.row() + 200, Items - 1));
    }
    bool hit(const QPoint& point) override { return view.indexAt(point).isValid(); }
    void selectAll() override { view.selectAll(); }

    DemoListModel model;
    DemoDelegate delegate;
    QListView view;
};

template <class View>
void FirstPaint(benchmark::State& state)
{
    const qreal ratio = static_cast<qreal>(state.range(0));
    for (auto _ : state) {
        View view;
        view.paint(ratio);
    }
}

template <class View>
void ScrollFrames(benchmark::State& state)
{
    View view;
    scrollFrames(state, view.area(), ScrollStep, static_cast<qreal>(state.range(0)), [&] { view.streamVisible(); });
}

template <class View>
void HitTests(benchmark::State& state)
{
    View view;
    view.area().verticalScrollBar()->setValue(view.area().verticalScrollBar()->maximum() / 2);
    view.settle();
    QRandomGenerator random(7);
    std::vector<QPoint> points;
    for (int i = 0; i < 2000; ++i)
        points.emplace_back(random.bounded(WindowSize.width()), random.bounded(WindowSize.height()));
    for (auto _ : state) {
        int hits = 0;
        for (const QPoint& point : points)
            hits += view.hit(point);
        benchmark::DoNotOptimize(hits);
    }
}

template <class View>
void SelectAllAndPaint(benchmark::State& state)
{
    const qreal ratio = static_cast<qreal>(state.range(0));
    View view;
    for (auto _ : state) {
        view.selectAll();
        view.settle();
        view.paint(ratio);
    }
}

template <class View>
void Resize(benchmark::State& state)
{
    const qreal ratio = static_cast<qreal>(state.range(0));
    View view;
    bool narrow = false;
    for (auto _ : state) {
        narrow = !narrow;
        view.area().resize(narrow ? QSize(1000, 800) : WindowSize);
        view.settle();
        view.paint(ratio);
    }
}

BENCHMARK(FirstPaint<GridSubject>)->Name("FirstPaint/grid")->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(FirstPaint<ListSubject>)->Name("FirstPaint/listview")->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(ScrollFrames<GridSubject>)->Name("ScrollFrames/grid")->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(ScrollFrames<PathHeaderGridSubject>)->Name("ScrollFrames/grid-path-headers")->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(ScrollFrames<ListSubject>)->Name("ScrollFrames/listview")->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(HitTests<GridSubject>)->Name("HitTests2000/grid")->Unit(benchmark::kMicrosecond);
BENCHMARK(HitTests<ListSubject>)->Name("HitTests2000/listview")->Unit(benchmark::kMicrosecond);
BENCHMARK(SelectAllAndPaint<GridSubject>)->Name("SelectAllPaint/grid")->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(SelectAllAndPaint<ListSubject>)->Name("SelectAllPaint/listview")->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(Resize<GridSubject>)->Name("Resize/grid")->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(Resize<ListSubject>)->Name("Resize/listview")->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace
