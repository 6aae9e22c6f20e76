#pragma once

#include <QPointer>
#include <QWidget>

// Keeps one child at its own size and aligns it inside: horizontally 0 left, 2 right, anything else centred;
// vertically 0 bottom, 2 top, anything else centred.
class PTAlignView : public QWidget {
    Q_OBJECT
public:
    enum Alignment { Minimum = 0, Centre = 1, Maximum = 2 };

    explicit PTAlignView(QWidget* parent = nullptr);

    QWidget* view() const { return view_; }
    // The previous child leaves (its owner is the caller then); the new one becomes the child.
    void setView(QWidget* view);
    int horizontalAlignment() const { return horizontalAlignment_; }
    int verticalAlignment() const { return verticalAlignment_; }
    void setHorizontalAlignment(int alignment);
    void setVerticalAlignment(int alignment);

    // Where a child of the size goes in an align view of the given size.
    static QPoint childOrigin(const QSize& bounds, const QSize& child, int horizontal, int vertical);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void layoutView();

    QPointer<QWidget> view_;
    int horizontalAlignment_ = Centre;
    int verticalAlignment_ = Centre;
};
