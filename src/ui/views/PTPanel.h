#pragma once

#include <QWidget>

class QLabel;
class QToolButton;

// An auxiliary window (About, Quick Look): a tool window whose content reaches the top edge, under a title bar of
// its own that shows the close and minimise buttons and, only when asked, the title. The window manager draws no
// frame or title for it; the user moves it by dragging its background, and it can refuse to close.
class PTPanel : public QWidget {
    Q_OBJECT
public:
    static constexpr int TitleBarHeight = 22;

    explicit PTPanel(QWidget* parent = nullptr);

    bool disableClose() const { return disableClose_; }
    // While set, close() and the window's close button leave the panel open.
    void setDisableClose(bool disable) { disableClose_ = disable; }
    // Shows or hides the window title in the title bar; hidden until asked.
    void setRendersTitle(bool renders);
    bool rendersTitle() const;
    // Hides the title bar's buttons (true) or shows them again.
    void setLooksModal(bool modal);
    bool looksModal() const;
    // The title bar's parts, for the accessibility tree and for tests.
    QLabel* titleLabel() const { return title_; }
    QToolButton* closeButton() const { return closeButton_; }
    QToolButton* minimizeButton() const { return minimizeButton_; }

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QToolButton* makeTitleButton(const QString& glyph, const QString& name);
    // Puts the title bar's parts along the top edge, over the content.
    void layoutTitleBar();

    bool disableClose_ = false;
    QLabel* title_ = nullptr;
    QToolButton* closeButton_ = nullptr;
    QToolButton* minimizeButton_ = nullptr;
};
