#include "ui/controls/PTStyledLabel.h"

#include <QFontMetricsF>
#include <QPainter>

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

PTStyledLabel PTStyledLabel::withColor(const QColor& color) const
{
    PTStyledLabel copy = *this;
    for (Run& run : copy.runs_)
        run.color = color;
    return copy;
}

PTStyledLabel PTStyledLabel::cutKeeping(int kept) const
{
    int total = 0;
    for (const Run& run : runs_)
        total += int(run.text.size());
    const int head = (kept + 1) / 2;
    const int tailStart = total - kept / 2;
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

PTStyledLabel PTStyledLabel::fittedTo(qreal width) const
{
    if (width_ <= width)
        return *this;
    int total = 0;
    for (const Run& run : runs_)
        total += int(run.text.size());
    // The most characters that still fit around the cut; the width grows with the count.
    int low = 0;
    int high = total - 1;
    if (cutKeeping(0).width() > width)
        return {};
    while (low < high) {
        const int middle = (low + high + 1) / 2;
        if (cutKeeping(middle).width() <= width)
            low = middle;
        else
            high = middle - 1;
    }
    return cutKeeping(low);
}

void PTStyledLabel::draw(QPainter& painter, qreal x, qreal baseline, qreal width) const
{
    const PTStyledLabel line = fittedTo(width);
    qreal pen = x + (width - line.width()) / 2;
    painter.save();
    for (size_t i = 0; i < line.runs_.size(); ++i) {
        const Run& run = line.runs_[i];
        painter.setFont(run.font);
        painter.setPen(run.color);
        painter.drawText(QPointF(pen, baseline), run.text);
        pen += line.advances_[i];
    }
    painter.restore();
}
