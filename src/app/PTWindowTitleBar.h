#pragma once

#include <QWidget>

class QHBoxLayout;

// The toolbar band at the top of the main window, without a title (the window manager's decoration shows
// it). It dims while the window is neither active nor showing an active sheet of its own.
class PTWindowTitleBar : public QWidget {
    Q_OBJECT
public:
    static constexpr int Height = 52;

    explicit PTWindowTitleBar(QWidget* parent = nullptr);
    QHBoxLayout* itemLayout() const { return layout_; }
    // Whether the band draws as active: its window, or the last sheet on it, is active.
    bool drawsActive() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

private:
    QHBoxLayout* layout_;
};
