#include "ui/controls/PTStyledLabel.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTransform>

#include <algorithm>

namespace {

const QString Ellipsis = QStringLiteral("...");

} // namespace

void PTStyledLabel::append(const QString& text, const QFont& font, const QColor& color)
{
    if (text.isEmpty())
        return;
    const QFontMetricsF metrics(font);
    runs_.push_back({text, font, color});
    advances_.push_back(metrics.horizontalAdvance(text));
    runAscents_.push_back(metrics.ascent());
    QStaticText laidOut(text);
    laidOut.setTextFormat(Qt::PlainText);
    laidOut.prepare(QTransform(), font);
    laidOut_.push_back(laidOut);
    width_ += advances_.back();
    ascent_ = std::max(ascent_, metrics.ascent());
    descent_ = std::max(descent_, metrics.descent());
}

QString PTStyledLabel::string() const
{
    QString text;
    for (const Run& run : runs_)
        text += run.text;
    return text;
}

PTStyledLabel PTStyledLabel::cutKeeping(int kept, Qt::TextElideMode mode) const
{
    int total = 0;
    for (const Run& run : runs_)
        total += int(run.text.size());
    const bool atEnd = mode == Qt::ElideRight;
    const int head = atEnd ? kept : (kept + 1) / 2;
    const int tailStart = atEnd ? total : total - kept / 2;
    PTStyledLabel cut;
    int position = 0;
    bool ellipsisPlaced = false;
    for (const Run& run : runs_) {
        const int end = position + int(run.text.size());
        if (position < head)
            cut.append(run.text.left(std::min(end, head) - position), run.font, run.color);
        if (!ellipsisPlaced && end >= head) {
            cut.append(Ellipsis, run.font, run.color);
            ellipsisPlaced = true;
        }
        if (end > tailStart)
            cut.append(run.text.mid(std::max(0, tailStart - position)), run.font, run.color);
        position = end;
    }
    return cut;
}

PTStyledLabel PTStyledLabel::fittedTo(qreal width, Qt::TextElideMode mode) const
{
    if (width_ <= width)
        return *this;
    int total = 0;
    for (const Run& run : runs_)
        total += int(run.text.size());
    // The most characters that still fit around the cut; the width grows with the count.
    int low = 0;
    int high = total - 1;
    if (cutKeeping(0, mode).width() > width)
        return {};
    while (low < high) {
        const int middle = (low + high + 1) / 2;
        if (cutKeeping(middle, mode).width() <= width)
            low = middle;
        else
            high = middle - 1;
    }
    return cutKeeping(low, mode);
}

void PTStyledLabel::draw(QPainter& painter, qreal x, qreal baseline, qreal width, const QColor& color,
                         Qt::TextElideMode mode) const
{
    // Nothing fits in no room; and an empty cut must not be cut again.
    if (width <= 0 || runs_.empty())
        return;
    // A line that fits is drawn as it is, without a copy, from text laid out when it was appended.
    if (width_ > width) {
        // Even the empty cut is too wide for a negative width: nothing is drawn then.
        const PTStyledLabel fitted = fittedTo(width, mode);
        if (fitted.width_ <= width)
            fitted.draw(painter, x, baseline, width, color);
        return;
    }
    qreal pen = x + (width - width_) / 2;
    painter.save();
    for (size_t i = 0; i < runs_.size(); ++i) {
        const Run& run = runs_[i];
        painter.setFont(run.font);
        painter.setPen(color.isValid() ? color : run.color);
        painter.drawStaticText(QPointF(pen, baseline - runAscents_[i]), laidOut_[i]);
        pen += advances_[i];
    }
    painter.restore();
}
