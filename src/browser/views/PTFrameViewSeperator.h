#pragma once

#include <QWidget>

// A line that fades out downwards, from #BDBDBD at 0.6 to nothing.
class PTFrameViewSeperator : public QWidget {
    Q_OBJECT
public:
    explicit PTFrameViewSeperator(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};
