#pragma once

// Frames of a scroll view as the grid benchmarks time them.
#include <QAbstractScrollArea>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QScrollBar>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <functional>
#include <vector>

// Paints the viewport whole into an image of the ratio, as the window would.
inline void paintViewport(QAbstractScrollArea& area, qreal ratio)
{
    QImage frame(area.viewport()->size() * ratio, QImage::Format_ARGB32_Premultiplied);
    frame.setDevicePixelRatio(ratio);
    area.viewport()->render(&frame);
    benchmark::DoNotOptimize(frame.constBits());
}

// Delivers what is posted to the main thread.
inline void settleEvents()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

// Scrolls the area from the top to the end a step a frame; a frame is the scroll, `stream` (what arrives for the
// rows now shown), the events it brings and the paint. Reports frames, p50_ms and p95_ms.
inline void scrollFrames(benchmark::State& state, QAbstractScrollArea& area, int step, qreal ratio,
                         const std::function<void()>& stream)
{
    std::vector<double> frames;
    for (auto _ : state) {
        QScrollBar* bar = area.verticalScrollBar();
        bar->setValue(0);
        frames.clear();
        QElapsedTimer timer;
        for (int y = 0; y <= bar->maximum(); y += step) {
            timer.start();
            bar->setValue(y);
            stream();
            settleEvents();
            paintViewport(area, ratio);
            frames.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
        }
    }
    std::sort(frames.begin(), frames.end());
    state.counters["frames"] = static_cast<double>(frames.size());
    state.counters["p50_ms"] = frames[frames.size() / 2];
    state.counters["p95_ms"] = frames[frames.size() * 95 / 100];
}
