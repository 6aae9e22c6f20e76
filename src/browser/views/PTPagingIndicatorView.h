#pragma once

#include <QWidget>

// A centred row of paging dots: 8-point dots with 8-point gaps, the current one dark.
class PTPagingIndicatorView : public QWidget {
    Q_OBJECT
public:
    explicit PTPagingIndicatorView(QWidget* parent = nullptr);
    qint64 count() const { return count_; }
    void setCount(qint64 count);
    // Out of range: every dot is light.
    qint64 currentIndex() const { return currentIndex_; }
    void setCurrentIndex(qint64 index);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void updateAccessibleName();

    qint64 count_ = 0;
    qint64 currentIndex_ = 0;
};
