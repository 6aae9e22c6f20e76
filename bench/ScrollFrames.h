#pragma once

#include <QtGlobal>

#include <functional>

class QAbstractScrollArea;
namespace benchmark {
class State;
}

// Paints the viewport whole into an image of the ratio, as the window would.
void paintViewport(QAbstractScrollArea& area, qreal ratio);
// Delivers what is posted to the main thread.
void settleEvents();
// Scrolls the area from the top to the end a step a frame; a frame is the scroll, `stream` (what arrives for the
// rows now shown), the events it brings and the paint. Reports frames, p50_ms and p95_ms.
void scrollFrames(benchmark::State& state, QAbstractScrollArea& area, int step, qreal ratio,
                  const std::function<void()>& stream);
