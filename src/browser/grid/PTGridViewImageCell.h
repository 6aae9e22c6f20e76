#pragma once

#include "browser/cache/PTImageCache.h"
#include "browser/grid/PTGridViewCell.h"

#include <QColor>
#include <QPixmap>

#include <memory>

class PTItem;

// The grid cell of one icon: its thumbnail centred in a square, optionally tinted, its name below when labels
// show, a grid square behind when the grid shows, a selection border, and the shared file-type badge while
// hovered. The thumbnail is asked of the shared cache on the main thread when the cell is displayed; each request
// carries a token (request, item, generation), so an answer meant for an earlier item or display, or arriving
// after the cell went back to the pool, changes nothing.
class PTGridViewImageCell : public PTGridViewCell {
public:
    static inline const QString ReuseIdentifier = QStringLiteral("imageItem");
    // In the dark appearance, one-colour icons are drawn in the dark-mode white.
    static inline const QString InvalidTitle = QStringLiteral("Invalid Icon");
    static inline const QString UnknownTitle = QStringLiteral("Unknown");
    static inline const QString InvalidBadge = QStringLiteral("INVALID");

    // A square of the larger side plus 20, plus 20 more in height when labels show.
    static QSizeF sizeFromProposedSize(const QSizeF& size, const PTGridViewDrawingState& state);

    // Asks the given cache; the shared one by default. Registers the auto-colour setting (on).
    explicit PTGridViewImageCell(PTImageCache& cache = PTImageCache::sharedCache());
    ~PTGridViewImageCell() override;

    // A new item drops the image and title; loading starts at the next display.
    void setItem(PTItem* item);
    PTItem* item() const { return item_; }
    const QString& title() const { return title_; }
    // Only stored; the meta value "color" sets it too.
    void setColor(const QColor& color) { color_ = color; }
    const QColor& color() const { return color_; }
    const QPixmap& image() const { return image_; }
    // The outstanding request's ID; 0 for none or an answer from memory.
    PTImageCache::RequestID cacheProcessID() const { return load_->requestID; }
    bool invalid() const { return invalid_; }
    void setInvalid(bool invalid);
    // Cancels the outstanding request; no answer of an earlier request is taken after this.
    void cancelLoadingOperations();

    // The size at the cell's pixel ratio; in the dark appearance with auto-colour on, the dark-mode white.
    PTImageCacheOptions imageCacheOptions() const;
    // The image square, in the cell's own space (y down).
    QRectF drawingRect() const;
    qreal imageProposedSize() const { return drawingRect().height(); }
    QSizeF imageSize() const { return {imageProposedSize(), imageProposedSize()}; }
    // The band of the title: 12 high, 20 above the bottom edge, 10 in from each side.
    QRectF titleRect(const QRectF& rect) const;

    void clear() override;
    void metaDidUpdate() override;
    void setDragging(bool dragging) override;
    void setWantsUpdate(bool wantsUpdate) override;
    void mouseEntered(QMouseEvent* event, const QPointF& point) override;
    void mouseExited(QMouseEvent* event, const QPointF& point) override;
    void drawStateDidUpdate() override;
    void didEnqueue() override;
    void didExitLiveGridResize() override;
    void prepareForScreenChange(qreal devicePixelRatio) override;
    void willDisplayCell(bool reused) override;
    void responderDidChange() override;
    void drawCellInRect(QPainter& painter, const QRectF& rect) override;

private:
    // What an answer must match to be taken; answers hold it weakly, so a deleted cell takes none.
    struct LoadToken {
        PTImageCache::RequestID requestID = 0;
        quint64 generation = 0;
    };

    void receive(const QImage& image, bool invalid);
    void redisplay();
    void updateHighlightedState() { setNeedsDisplay(); }
    bool gridHasFocus() const;
    QColor borderColor() const;
    void drawImage(QPainter& painter, const QRectF& rect);
    void drawTitle(QPainter& painter, const QRectF& rect);

    PTImageCache& cache_;
    PTItem* item_ = nullptr;
    pt::store::ObjectID itemID_;
    QString title_;
    QPixmap image_;
    QColor color_;
    bool invalid_ = false;
    std::shared_ptr<LoadToken> load_ = std::make_shared<LoadToken>();
};
