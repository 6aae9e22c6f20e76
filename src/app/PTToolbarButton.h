#pragma once

#include <QImage>
#include <QToolButton>

// A glyph button of the toolbar band, drawn by PTToolbarButtonCell. Its glyph follows the scale of the window's screen:
// viewRequiresScreenUpdate() runs when the button enters a window and whenever that window moves to another screen.
// Bound to an action, it performs the action's command and shows whether it is enabled.
class PTToolbarButton : public QToolButton {
    Q_OBJECT
public:
    static constexpr int Width = 28;
    static constexpr int Height = 24;

    explicit PTToolbarButton(QWidget* parent = nullptr);

    const QImage& icon() const { return icon_; }
    void setIcon(const QImage& icon);

protected:
    // Redraws; buttons with screen-dependent art load it anew first.
    virtual void viewRequiresScreenUpdate();
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QImage icon_;
    QMetaObject::Connection screenChanged_;
};
