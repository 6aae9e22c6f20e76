// Cost of the offscreen shadows the custom controls paint on every redraw, and of decoding WebP thumbnails.
#include "foundation/MCAdditions.h"
#include "foundation/WebP.h"
#include "platform/graphics/ShadowPainter.h"

#include <QImage>
#include <QLinearGradient>
#include <QPainter>

#include <benchmark/benchmark.h>

// A 300 x 24 point text field at device pixel ratio 2, with a 3-point inner shadow.
static void BM_FillInnerShadowField(benchmark::State& state)
{
    QImage canvas(600, 48, QImage::Format_ARGB32_Premultiplied);
    canvas.setDevicePixelRatio(2.0);
    const QPainterPath field = MCAdditions::bezierPathWithRoundRect(QRectF(0, 0, 300, 24), 4);
    const pt::Shadow shadow{QColor(0, 0, 0, 128), QPointF(0, -1), 3};
    for (auto _ : state) {
        canvas.fill(Qt::white);
        QPainter painter(&canvas);
        MCAdditions::fillWithInnerShadow(painter, field, shadow);
    }
}
BENCHMARK(BM_FillInnerShadowField)->Unit(benchmark::kMicrosecond);

// The shadow of a 64 x 64 pixel shape as the blur radius grows.
static void BM_ShadowImage(benchmark::State& state)
{
    QImage shape(64, 64, QImage::Format_ARGB32_Premultiplied);
    shape.fill(Qt::black);
    const pt::Shadow shadow{Qt::black, QPointF(0, -1), double(state.range(0))};
    for (auto _ : state) {
        QPointF origin;
        benchmark::DoNotOptimize(pt::ShadowPainter::shadowImage(shape, shadow, 1.0, &origin));
    }
}
BENCHMARK(BM_ShadowImage)->Arg(2)->Arg(8)->Arg(20)->Unit(benchmark::kMicrosecond);

// Decoding a 256 x 256 lossy WebP with alpha.
static void BM_WebPDecode(benchmark::State& state)
{
    QImage source(256, 256, QImage::Format_ARGB32);
    source.fill(Qt::transparent);
    {
        QPainter painter(&source);
        painter.setRenderHint(QPainter::Antialiasing);
        QLinearGradient gradient(0, 0, 256, 256);
        gradient.setColorAt(0, QColor(20, 120, 220));
        gradient.setColorAt(1, QColor(240, 60, 30, 160));
        painter.setBrush(gradient);
        painter.drawEllipse(QRectF(8, 8, 240, 240));
    }
    const QByteArray data = WebP::webPRepresentationWithPreset(source, 0, 80.0f);
    for (auto _ : state)
        benchmark::DoNotOptimize(WebP::imageWithWebPData(data));
    state.SetBytesProcessed(state.iterations() * data.size());
}
BENCHMARK(BM_WebPDecode)->Unit(benchmark::kMicrosecond);
