#pragma once

#include "ui/controls/PTSegmentedControl.h"

// A segmented control that opens its URL when clicked; a text that is no URL is ignored.
class PTGotoSegmentedControl : public PTSegmentedControl {
    Q_OBJECT
public:
    explicit PTGotoSegmentedControl(QWidget* parent = nullptr);

    QString url() const { return url_; }
    void setURL(const QString& url) { url_ = url; }

private:
    void openURL();

    QString url_;
};
