#pragma once

#include <QColor>
#include <QFont>
#include <QStaticText>
#include <QString>

#include <vector>

class QPainter;

// One line of text made of differently styled runs. Each run is measured and laid out once, when it is
// appended, so drawing at the natural width measures and shapes nothing; a line wider than its room is cut in
// the middle (or at its end) across the runs.
class PTStyledLabel {
public:
    struct Run {
        QString text;
        QFont font;
        QColor color;
    };

    void append(const QString& text, const QFont& font, const QColor& color);
    bool isEmpty() const { return runs_.empty(); }
    QString string() const;
    const std::vector<Run>& runs() const { return runs_; }
    qreal width() const { return width_; }
    // The tallest run's line height.
    qreal height() const { return ascent_ + descent_; }
    // Draws the line centred in [x, x + width] on the baseline, cut with "..." where the mode says when it is
    // wider; a valid colour replaces every run's own.
    void draw(QPainter& painter, qreal x, qreal baseline, qreal width, const QColor& color = QColor(),
              Qt::TextElideMode mode = Qt::ElideMiddle) const;
    // The runs that fit the width: the line itself, or what is kept around "..." in the font where the cut starts:
    // head and tail (Qt::ElideMiddle) or the head alone (Qt::ElideRight). An empty list when not even "..." fits.
    PTStyledLabel fittedTo(qreal width, Qt::TextElideMode mode = Qt::ElideMiddle) const;

private:
    PTStyledLabel cutKeeping(int kept, Qt::TextElideMode mode) const;

    std::vector<Run> runs_;
    std::vector<qreal> advances_;
    std::vector<qreal> runAscents_;
    std::vector<QStaticText> laidOut_;
    qreal width_ = 0;
    qreal ascent_ = 0;
    qreal descent_ = 0;
};
