// The inspector's icon pane showing 1, 100 and 10,000 selected papirus symbolic icons (repeated to make up the
// count): from the selection handed to the column to the pane laid out and painted with its preview, the first
// time for those items (thumbnail cache purged, icons never shown) and again. Each iteration also fills a plain
// QFormLayout with the same values and paints it, so that one run reports both and their ratio:
// pane_ms, form_ms and ratio (pane over form); the benchmark's own time is the pane's.
#include "BenchLibraryItem.h"
#include "DemoLibrary.h"
#include "PapirusFiles.h"

#include "browser/cache/PTImageCache.h"
#include "library/entities/PTCollection.h"
#include "library/entities/PTItem.h"
#include "library/entities/PTLicence.h"
#include "sidebar/inspector/PTIconSideBarController.h"
#include "sidebar/inspector/PTIconSideBarPreviewImageView.h"
#include "sidebar/inspector/PTIconSideBarPreviewViewController.h"
#include "sidebar/inspector/PTSideBarController.h"
#include "sidebar/inspector/PTSideBarFields.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFormLayout>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr QSize ColumnSize(260, 900);

DemoLibrary& library()
{
    static auto* made = new DemoLibrary;
    return *made;
}

// A set of its own holding `count` new items, so that nothing of them is cached yet.
QVector<PTItem*> freshItems(int count)
{
    static int sets = 0;
    PTCollection* set = library().addSet(QStringLiteral("Selection %1").arg(++sets));
    QVector<PTItem*> items;
    items.reserve(count);
    for (int n = 0; n < count; ++n) {
        PTItem* item = makeBenchItem(set, n, papirusSymbolicFiles());
        item->setType(PTItem::SVG);
        items.append(item);
    }
    return items;
}

// Runs the main queue for a while, so that work the setup posted is not timed with the pane.
void settle()
{
    const QDeadlineTimer deadline(300);
    while (!deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

void paint(QWidget* widget)
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    QImage image(widget->size(), QImage::Format_ARGB32_Premultiplied);
    widget->render(&image);
    benchmark::DoNotOptimize(image.bits());
}

struct Column {
    Column()
    {
        frame.containerView()->resize(ColumnSize);
        frame.containerView()->show();
        pane = qobject_cast<PTIconSideBarController*>(frame.viewControllers().at(1));
    }
    PTSideBarController frame;
    PTIconSideBarController* pane = nullptr;
};

// Hands the items to the column and runs the main queue until the preview has its image; answers the seconds
// to the painted column.
double showInPane(Column& column, const QVector<PTItem*>& items)
{
    QElapsedTimer clock;
    clock.start();
    column.frame.setItems(items, false);
    PTIconSideBarPreviewImageView* preview = column.pane->previewViewController()->imageView();
    const QDeadlineTimer deadline(30000);
    while (preview->image().isNull() && !deadline.hasExpired())
        QCoreApplication::processEvents();
    paint(column.frame.containerView());
    return double(clock.nsecsElapsed()) / 1e9;
}

// The rows the pane shows, as plain labels and fields.
struct Form {
    Form()
    {
        auto* layout = new QFormLayout(&widget);
        layout->addRow(QStringLiteral("Name"), name = new QLineEdit);
        layout->addRow(QStringLiteral("Description"), description = new QLineEdit);
        layout->addRow(QStringLiteral("Tags"), tags = new QLineEdit);
        layout->addRow(QStringLiteral("Selected"), selected = new QLabel);
        layout->addRow(QStringLiteral("Date"), date = new QLabel);
        layout->addRow(QStringLiteral("Type"), type = new QLabel);
        layout->addRow(QStringLiteral("Size"), bytes = new QLabel);
        layout->addRow(QStringLiteral("Dimensions"), dimensions = new QLabel);
        layout->addRow(QStringLiteral("Licence"), licence = new QLabel);
        widget.resize(ColumnSize);
        widget.show();
    }
    QWidget widget;
    QLineEdit* name;
    QLineEdit* description;
    QLineEdit* tags;
    QLabel* selected;
    QLabel* date;
    QLabel* type;
    QLabel* bytes;
    QLabel* dimensions;
    QLabel* licence;
};

template<typename Value>
QStringList collect(const QVector<PTItem*>& items, Value value)
{
    QStringList texts;
    texts.reserve(items.size());
    for (const PTItem* item : items)
        texts << value(item);
    return texts;
}

// Fills the form with the selection's values and paints it; answers the seconds taken.
double showInForm(Form& form, const QVector<PTItem*>& items)
{
    QElapsedTimer clock;
    clock.start();
    form.name->setText(items.size() == 1 ? items.first()->name() : QString());
    form.description->setText(
        sideBarFields::commonText(collect(items, [](const PTItem* i) { return i->informativeText(); })));
    QSet<QString> tags = items.first()->tagComponents();
    for (const PTItem* item : items)
        tags.intersect(item->tagComponents());
    form.tags->setText(QStringList(tags.cbegin(), tags.cend()).join(QLatin1Char(',')));
    form.selected->setText(QStringLiteral("%1 Items").arg(items.size()));
    form.date->setText(sideBarFields::commonText(collect(items, [](const PTItem* i) { return i->humanDate(); })));
    form.type->setText(sideBarFields::commonText(collect(items, [](const PTItem* i) { return i->typeString(); })));
    form.bytes->setText(
        sideBarFields::commonText(collect(items, [](const PTItem* i) { return i->fileSizeString(); })));
    form.dimensions->setText(
        sideBarFields::commonText(collect(items, [](const PTItem* i) { return i->dimensionsString(); })));
    form.licence->setText(sideBarFields::commonText(collect(items, [](const PTItem* i) {
        const PTLicence* licence = i->licence() ? i->licence() : i->collection()->licence();
        return licence ? licence->name() : QStringLiteral("None");
    })));
    paint(&form.widget);
    return double(clock.nsecsElapsed()) / 1e9;
}

void report(benchmark::State& state, double pane, double form)
{
    state.counters["pane_ms"] = benchmark::Counter(pane * 1e3, benchmark::Counter::kAvgIterations);
    state.counters["form_ms"] = benchmark::Counter(form * 1e3, benchmark::Counter::kAvgIterations);
    state.counters["ratio"] = form > 0 ? pane / form : 0;
}

// The first time: a new column and a new form for items never shown, with the thumbnail cache purged.
void BM_InspectorIconPaneCold(benchmark::State& state)
{
    const int count = int(state.range(0));
    double pane = 0, form = 0;
    for (auto _ : state) {
        const QVector<PTItem*> items = freshItems(count);
        PTImageCache::sharedCache().purge();
        Column column;
        Form plain;
        settle();
        const double seconds = showInPane(column, items);
        state.SetIterationTime(seconds);
        pane += seconds;
        form += showInForm(plain, items);
    }
    report(state, pane, form);
}
BENCHMARK(BM_InspectorIconPaneCold)->Arg(1)->Arg(100)->Arg(10000)->Iterations(5)->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// Again: the same items selected once more after the selection was emptied, in the column and form that showed
// them.
void BM_InspectorIconPaneWarm(benchmark::State& state)
{
    const int count = int(state.range(0));
    const QVector<PTItem*> items = freshItems(count);
    Column column;
    Form plain;
    showInPane(column, items);
    showInForm(plain, items);
    settle();
    double pane = 0, form = 0;
    for (auto _ : state) {
        column.frame.setItems({}, true);
        const double seconds = showInPane(column, items);
        state.SetIterationTime(seconds);
        pane += seconds;
        plain.name->clear();
        form += showInForm(plain, items);
    }
    report(state, pane, form);
}
BENCHMARK(BM_InspectorIconPaneWarm)->Arg(1)->Arg(100)->Arg(10000)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace
