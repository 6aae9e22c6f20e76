#pragma once

#include <QDialog>

#include <functional>

class PTSplashWindowBackgroundView;

// The window of the welcome windows: fixed in size, moved by dragging anywhere on its background, and closed
// only when its controller agrees.
class PTSplashWindow : public QDialog {
    Q_OBJECT
public:
    explicit PTSplashWindow(QWidget* parent = nullptr);

    PTSplashWindowBackgroundView* backgroundView() const { return background_; }
    // Asked before each close; none means yes.
    void setShouldClose(std::function<bool()> shouldClose) { shouldClose_ = std::move(shouldClose); }

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    PTSplashWindowBackgroundView* background_;
    std::function<bool()> shouldClose_;
    QPoint dragOffset_;
    bool approved_ = false;
};
