#pragma once

#include "browser/grid/PTGridViewSectionCell.h"

#include <QFont>
#include <QStaticText>
#include <QStringList>

#include <functional>
#include <vector>

class QAction;
class QMenu;

// The section header the grid controller uses: the path of the section's set written as names separated by
// "⟩" (group ⟩ subgroup ⟩ set, or Search ⟩ term), shortened in the middle when space runs out, the item count at
// the right, a highlight on the name under the pointer and the name's menu on a click. Names are measured when
// they change; a layout only moves and narrows their frames.
class PTGridViewSectionPathCell : public PTGridViewSectionCell {
public:
    // The menu for the name at the index (0 for the first name) or null, and the entry to put under the pointer.
    // The menu stays the handler's.
    using ClickHandler = std::function<QMenu*(qint64 index, QAction** selectedItem)>;

    // One run of text: a name, a separator or the count.
    struct TextLayer {
        QString string;
        QFont font;
        bool separator = false;
        QSizeF naturalSize;
        QRectF frame;
        QColor color;
        // The string as drawn at the frame's width (shortened in the middle for names), laid out once per string
        // and width.
        QStaticText shown;
        qreal shownWidth = -1;
    };

    static constexpr qreal MinimumShrunkWidth = 15;

    explicit PTGridViewSectionPathCell(QString reuseIdentifier);

    const QStringList& pathComponents() const { return pathComponents_; }
    // Rebuilds the text: name 0, separator, name 1, …, last name. An empty name shows as "Untitled".
    void setPathComponents(const QStringList& components);
    // Null turns hover and clicks off (search results).
    const ClickHandler& clickHandler() const { return clickHandler_; }
    void setClickHandler(ClickHandler handler);
    const QString& separator() const { return separator_; }
    qreal fontSize() const { return fontSize_; }
    qreal spacing() const { return spacing_; }
    qreal margin() const { return margin_; }

    // The runs in display order, and the count, laid out for the current frame and item count.
    const std::vector<TextLayer>& textLayers();
    const TextLayer& countLayer();
    // The highlight behind the name under the pointer; the null rect while hidden.
    QRectF hoverRect() const { return hoverRect_; }

    void drawStateDidUpdate() override;
    void drawCellInRect(QPainter& painter, const QRectF& rect) override;
    void mouseEntered(QMouseEvent* event, const QPointF& point) override;
    void mouseMoved(QMouseEvent* event, const QPointF& point) override;
    void mouseExited(QMouseEvent* event, const QPointF& point) override;
    bool mouseDown(QMouseEvent* event, const QPointF& point) override;
    bool mouseUp(QMouseEvent* event, const QPointF& point) override;
    QString tooltipForPoint(const QPointF& point) override;
    QVector<QRectF> tooltipRects() override;

    // Pops the menu up in the grid with the entry at the rectangle's (a rectangle of the cell) top left, moved by
    // (−17, +1) so the entry's text lines up with the name.
    void presentMenu(QMenu* menu, const QRectF& rect, QAction* selectedItem);

private:
    TextLayer layerForString(const QString& string, const QFont& font) const;
    void constructLayers();
    void measure(TextLayer& layer) const;
    static void draw(QPainter& painter, TextLayer& layer, Qt::Alignment alignment);
    void recalculateTextFrames();
    void updateColors();
    void setCount(qint64 count);
    // Lays out again when the frame or the item count changed since the last layout.
    void ensureLayout();
    void layoutSublayers();
    void shrink(qreal& right, qreal limit);
    // The index of the first text layer whose frame, grown by the hover margins, holds the cell point; -1 for none.
    int layerAt(const QPointF& localPoint) const;
    static QRectF grown(const QRectF& frame);
    void setHoverRect(const QRectF& rect);

    QStringList pathComponents_;
    ClickHandler clickHandler_;
    QString separator_;
    qreal fontSize_ = 12;
    qreal spacing_ = 6;
    qreal margin_ = 10;
    std::vector<TextLayer> textLayers_;
    // Indexes into textLayers_ in shrinking order: longest string first, the last name last.
    std::vector<size_t> sortedTextLayers_;
    TextLayer countLayer_;
    qint64 count_ = 0;
    QRectF hoverRect_;
    QSizeF laidOutSize_{-1, -1};
    QColor hoverColor_;
};
