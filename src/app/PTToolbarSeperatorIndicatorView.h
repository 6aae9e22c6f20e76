#pragma once

#include <QWidget>

// The faint upright mark between groups of the toolbar band. It takes no clicks: they go to whatever lies under it.
class PTToolbarSeperatorIndicatorView : public QWidget {
    Q_OBJECT
public:
    static constexpr int Width = 9;
    static constexpr int Height = 26;

    explicit PTToolbarSeperatorIndicatorView(QWidget* parent = nullptr);
    // Where the mark is drawn, in the view's coordinates.
    QRectF markRect() const;
    // Ink of the mark: black on the light band, white on the dark one, both at 0.8 × 0.15.
    static QColor markColor();

protected:
    void paintEvent(QPaintEvent* event) override;
};
