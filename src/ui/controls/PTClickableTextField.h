#pragma once

#include "ui/controls/PTTitleLabel.h"

// A label that acts as a button: a click sends clicked(), no selection starts. While it ignores mouse events
// clicks pass to what lies behind it; disabled, it is drawn at the palette's disabled alpha.
class PTClickableTextField : public PTTitleLabel {
    Q_OBJECT
public:
    explicit PTClickableTextField(const QString& text = QString(), QWidget* parent = nullptr);

    bool ignoreMouseEvents() const { return testAttribute(Qt::WA_TransparentForMouseEvents); }
    void setIgnoreMouseEvents(bool ignore) { setAttribute(Qt::WA_TransparentForMouseEvents, ignore); }
    // The opacity it is drawn at.
    qreal opacity() const;

Q_SIGNALS:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
};
