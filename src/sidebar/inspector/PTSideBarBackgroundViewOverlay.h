#pragma once

#include <QWidget>

// A near-white veil over the inspector's background: translucent, or opaque when the desktop asks for less
// transparency, which it reads each time it draws.
class PTSideBarBackgroundViewOverlay : public QWidget {
    Q_OBJECT
public:
    explicit PTSideBarBackgroundViewOverlay(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};
