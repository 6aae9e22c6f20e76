#pragma once

#include "browser/views/PTToolbarSearchFieldBadgeCell.h"

#include <QLineEdit>
#include <QMenu>
#include <QPointer>

class QToolButton;

// The toolbar's search field: a scope button at the left that opens the search menu, and at the right the
// number of results as a pill whose right end clears the search.
class PTToolbarSearchField : public QLineEdit {
    Q_OBJECT
public:
    explicit PTToolbarSearchField(QWidget* parent = nullptr);

    // An empty title hides the badge; its place keeps the width of the close part.
    void setBadgeTitle(const QString& title);
    QString badgeTitle() const { return badge_.title(); }
    PTToolbarSearchFieldBadgeCell& badgeCell() { return badge_; }
    // The badge's rectangle: its right edge 4 px inside the field, 16 px high.
    QRect cancelButtonRect() const;
    // The menu the scope button opens; the field does not own it.
    void setSearchMenuTemplate(QMenu* menu);
    QMenu* searchMenuTemplate() const { return menu_; }
    QToolButton* scopeButton() const { return scopeButton_; }

Q_SIGNALS:
    // Escape: the search is to be cancelled.
    void cancelOperation();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void relayout();
    bool overCloseMark(const QPoint& position) const;

    PTToolbarSearchFieldBadgeCell badge_;
    QToolButton* scopeButton_;
    QPointer<QMenu> menu_;
};
