#pragma once

#include <QWidget>

// An auxiliary window (About, Quick Look): a tool window that the user moves by dragging its background and
// that can refuse to close.
class PTPanel : public QWidget {
    Q_OBJECT
public:
    explicit PTPanel(QWidget* parent = nullptr);

    bool disableClose() const { return disableClose_; }
    // While set, close() and the window's close button leave the panel open.
    void setDisableClose(bool disable) { disableClose_ = disable; }
    // Shows or hides the title in the title bar.
    void setRendersTitle(bool renders);
    // Hides the title bar's buttons (true) or shows them again.
    void setLooksModal(bool modal);

protected:
    void closeEvent(QCloseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    bool disableClose_ = false;
    QString title_;
};
