#pragma once

#include "ui/views/PTView.h"

#include <QColor>
#include <QFont>
#include <QImage>

class QHBoxLayout;

// The toolbar band at the top of the main window: its window's title centred, under the toolbar's items, on a sheen
// drawn at the screen's scale. It dims while the window is neither active nor showing an active sheet of its own.
class PTWindowTitleBar : public PTView {
    Q_OBJECT
public:
    static constexpr int Height = 52;
    static inline const QString BackgroundImageName = QStringLiteral("titlebar-grad");

    explicit PTWindowTitleBar(QWidget* parent = nullptr);
    QHBoxLayout* itemLayout() const { return layout_; }
    // Whether the band draws as active: its window, or the last sheet on it, is active.
    bool drawsActive() const;
    // The sheen, at the scale of the window's screen.
    const QImage& backgroundImage() const { return backgroundImage_; }
    // How the title is written.
    const QFont& titleFont() const { return titleFont_; }
    static QColor titleColor();
    // Where the title is written, in the band's coordinates.
    QRectF titleRect() const;
    // Reversed, the band is drawn upside down: its edge line along the top and the sheen turned over, for a band
    // that closes a window from below. The title stays upright.
    void setReversed(bool reversed);
    bool isFlipped() const { return flipped_; }

protected:
    void viewRequiresScreenUpdate() override;
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

private:
    void drawTitle(QPainter& painter, bool dark);
    // The lit top edge, made once per size and scale: the band repaints under every item that repaints.
    const QImage& rim(qreal scale);

    QHBoxLayout* layout_;
    QImage backgroundImage_;
    QImage rim_;
    QFont titleFont_;
    bool flipped_ = false;
};
