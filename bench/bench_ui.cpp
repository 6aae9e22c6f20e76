// The interface kit next to stock Qt, as ratios: a theme switch over many widgets, a resize deep in nested
// stacks, progress from four workers, a five-segment control against a tab bar (hover sweeps, label changes), and a
// hue drag over the colour picker's square against QColorDialog's.
#include "ui/colour/PTSaturationAndBrightnessView.h"
#include "ui/controls/PTTitleLabel.h"
#include "ui/controls/PTToolbarSegmentedControl.h"
#include "ui/sheets/PTProgressSheetWindow.h"
#include "ui/theme/PTStyles.h"
#include "ui/theme/PTThemeController.h"
#include "ui/views/PTPanelSeparator.h"
#include "ui/views/PTStackView.h"

#include "platform/runtime/DispatchQueue.h"

#include "GalleryPages.h"

#include <QApplication>
#include <QColorDialog>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QProgressBar>
#include <QTabBar>
#include <QVBoxLayout>

#include <benchmark/benchmark.h>

#include <atomic>
#include <thread>

namespace {

constexpr int ThemeWidgets = 5000;

// Lets every posted event, repaints included, run.
void settle()
{
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
}

template <class Widget>
std::unique_ptr<QWidget> gridOf(int count)
{
    auto window = std::make_unique<QWidget>();
    auto* grid = new QGridLayout(window.get());
    grid->setSpacing(0);
    for (int i = 0; i < count; ++i) {
        auto* widget = new Widget;
        widget->setMinimumSize(4, 4);
        grid->addWidget(widget, i / 100, i % 100);
    }
    window->resize(800, 600);
    window->show();
    settle();
    return window;
}

class SeparatorCell : public PTPanelSeparator {
public:
    SeparatorCell() { resize(8, 4); }
};

class LabelCell : public PTTitleLabel {
public:
    LabelCell() : PTTitleLabel(QStringLiteral("x")) {}
};

class StockLabel : public QLabel {
public:
    StockLabel() : QLabel(QStringLiteral("x")) {}
};

template <class Widget>
void ThemeSwitch(benchmark::State& state)
{
    PTThemeController& theme = PTThemeController::defaultController();
    const auto window = gridOf<Widget>(ThemeWidgets);
    for (auto _ : state) {
        theme.setAppearance(theme.appearance() == PTAppearanceDark ? PTAppearanceAqua : PTAppearanceDark);
        settle();
    }
    state.SetItemsProcessed(state.iterations() * ThemeWidgets);
}

void ThemeSwitchStockPalette(benchmark::State& state)
{
    const auto window = gridOf<StockLabel>(ThemeWidgets);
    int appearance = PTAppearanceAqua;
    for (auto _ : state) {
        appearance = appearance == PTAppearanceDark ? PTAppearanceAqua : PTAppearanceDark;
        QApplication::setPalette(PTStyles::palette(appearance));
        settle();
    }
    state.SetItemsProcessed(state.iterations() * ThemeWidgets);
}

BENCHMARK(ThemeSwitch<SeparatorCell>)->Name("ThemeSwitch/drawing views")->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(ThemeSwitch<LabelCell>)->Name("ThemeSwitch/labels")->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(ThemeSwitchStockPalette)->Name("ThemeSwitch/stock labels, setPalette")->Unit(benchmark::kMillisecond)->Iterations(10);

constexpr int Rows = 200;

// Counts the moves and resizes widgets receive: the geometry actually set.
class GeometryCounter : public QObject {
public:
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Move || event->type() == QEvent::Resize)
            ++count;
        return false;
    }
};

QWidget* fixedRow()
{
    auto* row = new QWidget;
    row->resize(300, 20);
    return row;
}

void NestedStackResize(benchmark::State& state)
{
    QWidget window;
    auto* outer = new PTStackView(&window);
    outer->resize(400, 10);
    outer->setAutoresizesSuperview(true);
    std::vector<PTStackView*> stacks{outer};
    QWidget* deep = nullptr;
    for (int level = 0; level < 3; ++level) {
        PTStackView* stack = stacks.back();
        std::vector<QWidget*> rows;
        for (int i = 0; i < Rows; ++i)
            rows.push_back(fixedRow());
        if (level < 2) {
            auto* nested = new PTStackView;
            rows[Rows / 2] = nested;
            stacks.push_back(nested);
        } else {
            deep = rows[Rows / 2];
        }
        stack->setViews(rows);
    }
    window.show();
    settle();
    GeometryCounter counter;
    qApp->installEventFilter(&counter);
    int passes = 0;
    int height = 20;
    for (auto _ : state) {
        for (PTStackView* stack : stacks)
            passes -= stack->layoutPassCount();
        height = height == 20 ? 24 : 20;
        deep->resize(300, height);
        settle();
        for (PTStackView* stack : stacks)
            passes += stack->layoutPassCount();
    }
    qApp->removeEventFilter(&counter);
    state.counters["passes"] = benchmark::Counter(passes, benchmark::Counter::kAvgIterations);
    state.counters["geometry"] = benchmark::Counter(counter.count, benchmark::Counter::kAvgIterations);
}

void NestedBoxLayoutResize(benchmark::State& state)
{
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    QWidget* deep = nullptr;
    for (int level = 0; level < 3; ++level) {
        QWidget* nested = nullptr;
        for (int i = 0; i < Rows; ++i) {
            QWidget* row = nullptr;
            if (i == Rows / 2 && level < 2) {
                nested = new QWidget;
                row = nested;
            } else {
                row = new QWidget;
                row->setFixedHeight(20);
                if (i == Rows / 2)
                    deep = row;
            }
            layout->addWidget(row);
        }
        if (nested)
            layout = new QVBoxLayout(nested);
    }
    window.resize(400, window.sizeHint().height());
    window.show();
    settle();
    GeometryCounter counter;
    qApp->installEventFilter(&counter);
    int height = 20;
    for (auto _ : state) {
        height = height == 20 ? 24 : 20;
        deep->setFixedHeight(height);
        window.resize(400, window.sizeHint().height());
        settle();
    }
    qApp->removeEventFilter(&counter);
    state.counters["geometry"] = benchmark::Counter(counter.count, benchmark::Counter::kAvgIterations);
}

BENCHMARK(NestedStackResize)->Name("NestedResize/stack views")->Unit(benchmark::kMicrosecond)->Iterations(200);
BENCHMARK(NestedBoxLayoutResize)->Name("NestedResize/QVBoxLayouts")->Unit(benchmark::kMicrosecond)->Iterations(200);

constexpr int Workers = 4;
constexpr int CallsPerWorker = 100000;

// Runs the workers while the main queue turns; answers the seconds until `applied` holds.
template <class Call, class Applied>
double runWorkers(Call call, Applied applied)
{
    QElapsedTimer timer;
    timer.start();
    std::vector<std::thread> threads;
    std::atomic<int> running{Workers};
    for (int w = 0; w < Workers; ++w)
        threads.emplace_back([&call, &running] {
            for (int i = 1; i <= CallsPerWorker; ++i)
                call(i);
            running.fetch_sub(1);
        });
    while (running.load() > 0 || !applied())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    for (std::thread& thread : threads)
        thread.join();
    return timer.nsecsElapsed() / 1e9;
}

void ProgressCoalesced(benchmark::State& state)
{
    double seconds = 0;
    int updates = 0;
    int backlog = 0;
    for (auto _ : state) {
        PTProgressSheetWindow sheet(QStringLiteral("Bench"));
        QProgressBar* bar = sheet.progressIndicator();
        seconds += runWorkers([&sheet](int i) { sheet.setProgress(i, CallsPerWorker); },
                              [bar] { return bar->value() == CallsPerWorker; });
        updates += sheet.deliveredUpdates();
        backlog = std::max(backlog, sheet.deliveredUpdates() > 0 ? 1 : 0); // one pending delivery at most
    }
    // The first delivery of a run goes at once; the rate limit spaces the rest 33 ms apart.
    state.counters["updates_per_run"] = benchmark::Counter(updates, benchmark::Counter::kAvgIterations);
    state.counters["updates_per_s"] = updates / seconds;
    state.counters["peak_backlog"] = backlog;
    state.counters["seconds"] = seconds / state.iterations();
}

void ProgressPostPerCall(benchmark::State& state)
{
    double seconds = 0;
    long updates = 0;
    int peak = 0;
    for (auto _ : state) {
        QProgressBar bar;
        bar.setRange(0, CallsPerWorker);
        std::atomic<int> outstanding{0};
        std::atomic<int> highest{0};
        std::atomic<long> applied{0};
        seconds += runWorkers(
            [&](int i) {
                const int now = outstanding.fetch_add(1) + 1;
                int seen = highest.load();
                while (now > seen && !highest.compare_exchange_weak(seen, now)) {
                }
                pt::DispatchQueue::main().async([&bar, &outstanding, &applied, i] {
                    bar.setValue(i);
                    applied.fetch_add(1);
                    outstanding.fetch_sub(1);
                });
            },
            [&] { return applied.load() == long(Workers) * CallsPerWorker; });
        updates += applied.load();
        peak = std::max(peak, highest.load());
    }
    state.counters["updates_per_run"] = benchmark::Counter(updates, benchmark::Counter::kAvgIterations);
    state.counters["updates_per_s"] = updates / seconds;
    state.counters["peak_backlog"] = peak;
    state.counters["seconds"] = seconds / state.iterations();
}

BENCHMARK(ProgressCoalesced)->Name("Progress/coalesced")->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(ProgressPostPerCall)->Name("Progress/post per call")->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

constexpr int Segments = 5;
const char* const SegmentLabels[Segments] = {"Grid", "List", "Columns", "Gallery", "Cover"};
const char* const SegmentIcons[Segments] = {"view-grid", "view-list-details", "view-list-tree", "view-list-icons",
                                            "document-export"};

std::unique_ptr<PTToolbarSegmentedControl> fiveSegments()
{
    auto control = std::make_unique<PTToolbarSegmentedControl>();
    control->setSegmentCount(Segments);
    control->setSublabeledFromMenus(true);
    control->setCustomHeight(24);
    for (int i = 0; i < Segments; ++i) {
        control->setLabel(QString::fromLatin1(SegmentLabels[i]), i);
        control->setSublabel(QStringLiteral("64 px"), i);
        control->setImage(GalleryPages::papirusActionIcon(QString::fromLatin1(SegmentIcons[i])), i);
    }
    control->setAutoCalculatesFrame(true);
    control->show();
    settle();
    return control;
}

std::unique_ptr<QTabBar> fiveTabs()
{
    auto bar = std::make_unique<QTabBar>();
    for (int i = 0; i < Segments; ++i)
        bar->addTab(QIcon(QPixmap::fromImage(GalleryPages::papirusActionIcon(QString::fromLatin1(SegmentIcons[i])))),
                    QString::fromLatin1(SegmentLabels[i]));
    bar->resize(bar->sizeHint());
    bar->show();
    settle();
    return bar;
}

// The pointer crosses the widget four pixels at a time; every step is delivered as a move and a hover and
// painted at once.
void sweep(QWidget* widget)
{
    for (int x = 0; x < widget->width(); x += 4) {
        const QPointF at(x, widget->height() / 2);
        QMouseEvent move(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(widget, &move);
        QHoverEvent hover(QEvent::HoverMove, at, widget->mapToGlobal(at), at - QPointF(4, 0));
        QApplication::sendEvent(widget, &hover);
        widget->repaint();
    }
}

void HoverSweepSegmented(benchmark::State& state)
{
    const auto control = fiveSegments();
    for (auto _ : state)
        sweep(control.get());
    state.counters["steps"] = (control->width() + 3) / 4;
}

void HoverSweepTabBar(benchmark::State& state)
{
    const auto bar = fiveTabs();
    for (auto _ : state)
        sweep(bar.get());
    state.counters["steps"] = (bar->width() + 3) / 4;
}

void LabelChangeSegmented(benchmark::State& state)
{
    const auto control = fiveSegments();
    int n = 0;
    for (auto _ : state) {
        control->setLabel(QStringLiteral("Columns %1").arg(++n % 10), 2);
        control->repaint();
    }
}

void LabelChangeTabBar(benchmark::State& state)
{
    const auto bar = fiveTabs();
    int n = 0;
    for (auto _ : state) {
        bar->setTabText(2, QStringLiteral("Columns %1").arg(++n % 10));
        bar->repaint();
    }
}

BENCHMARK(HoverSweepSegmented)->Name("HoverSweep/segmented control")->Unit(benchmark::kMicrosecond);
BENCHMARK(HoverSweepTabBar)->Name("HoverSweep/QTabBar")->Unit(benchmark::kMicrosecond);
BENCHMARK(LabelChangeSegmented)->Name("LabelChange/segmented control")->Unit(benchmark::kMicrosecond);
BENCHMARK(LabelChangeTabBar)->Name("LabelChange/QTabBar")->Unit(benchmark::kMicrosecond);

// A hue drag of 360 steps over a 200 x 200 saturation-brightness square, each step rendered into an image at the
// pixel ratio, against QColorDialog's picker given the same colours through setCurrentColor.
constexpr int HueSteps = 360;
constexpr int SquareSide = 200;

QImage squareImage(qreal ratio)
{
    QImage image(qCeil(SquareSide * ratio), qCeil(SquareSide * ratio), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    return image;
}

void HueDragPicker(benchmark::State& state)
{
    const qreal ratio = qreal(state.range(0));
    PTSaturationAndBrightnessView square;
    square.resize(SquareSide, SquareSide);
    square.setSaturation(0.7);
    square.setBrightness(0.8);
    QImage image = squareImage(ratio);
    for (auto _ : state) {
        for (int step = 0; step < HueSteps; ++step) {
            square.setHue(step / double(HueSteps));
            square.render(&image);
        }
    }
    state.counters["steps"] = HueSteps;
}

void HueDragColorDialog(benchmark::State& state)
{
    const qreal ratio = qreal(state.range(0));
    QColorDialog dialog;
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    dialog.ensurePolished();
    // The dialog's own saturation-hue square, found by its class name.
    QWidget* picker = nullptr;
    for (QWidget* child : dialog.findChildren<QWidget*>()) {
        if (QByteArray(child->metaObject()->className()).endsWith("QColorPicker"))
            picker = child;
    }
    if (!picker) {
        state.SkipWithError("QColorDialog has no picker widget");
        return;
    }
    picker->resize(SquareSide, SquareSide);
    QImage image = squareImage(ratio);
    for (auto _ : state) {
        for (int step = 0; step < HueSteps; ++step) {
            dialog.setCurrentColor(QColor::fromHsvF(step / float(HueSteps), 0.7f, 0.8f));
            picker->render(&image);
        }
    }
    state.counters["steps"] = HueSteps;
}

BENCHMARK(HueDragPicker)->Name("HueDrag/colour picker square")->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);
BENCHMARK(HueDragColorDialog)->Name("HueDrag/QColorDialog picker")->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

} // namespace
