#pragma once

#include "ui/theme/PTAppearanceObserver.h"

#include <QColor>
#include <QPointer>
#include <QPushButton>

class QAction;
class QMenu;

// The pop-up button of sheets and sidebars: a rounded body showing the chosen item's title (cut in the middle)
// and icon, and an arrow segment at the right, highlighted while the menu is open. Its menu may have submenus;
// choosing any item makes it the chosen one.
class PTSheetViewPopupButton : public QPushButton {
    Q_OBJECT
public:
    explicit PTSheetViewPopupButton(QWidget* parent = nullptr);

    // The button does not own the menu; the first item is chosen when there is none yet.
    void setPopupMenu(QMenu* menu);
    QAction* selectedItem() const { return selectedItem_; }
    void selectItem(QAction* item);

    qreal borderRadius() const { return borderRadius_; }
    void setBorderRadius(qreal radius);
    QColor strokeColor() const { return strokeColor_; }
    void setStrokeColor(const QColor& color);
    qreal gradientWidth() const { return gradientWidth_; }
    void setGradientWidth(qreal width);
    qreal labelPadding() const { return labelPadding_; }
    void setLabelPadding(qreal padding);

    // Where the title is drawn: after the icon, never over the arrow segment.
    QRectF titleRect() const;
    QSize sizeHint() const override;

signals:
    void itemSelected(QAction* item);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void updateAppearance();
    QRectF bodyRect() const;
    QImage itemImage() const;

    QPointer<QMenu> popupMenu_;
    QPointer<QAction> selectedItem_;
    qreal borderRadius_;
    QColor strokeColor_;
    qreal gradientWidth_ = 19;
    qreal labelPadding_ = 10;
    PTAppearanceObserver appearanceObserver_{this, &PTSheetViewPopupButton::updateAppearance};
};
