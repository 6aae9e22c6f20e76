#pragma once

#include <QToolButton>

// The picture button at the large end of the size slider; its art follows the pixel ratio of the window's screen.
class PTFrameViewSliderLargeButton : public QToolButton {
    Q_OBJECT
public:
    explicit PTFrameViewSliderLargeButton(QWidget* parent = nullptr);
    // The art at the ratio of the button's screen.
    virtual QImage buttonImage() const;
    // Takes the art anew: when the button enters a window and when the window changes screen.
    void viewRequiresScreenUpdate();

protected:
    explicit PTFrameViewSliderLargeButton(const QString& accessibleName, QWidget* parent);
    void showEvent(QShowEvent* event) override;
    QImage imageNamed(const QString& name) const;

private:
    QMetaObject::Connection screenWatch_;
};
