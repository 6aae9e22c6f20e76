#pragma once

#include <QStringList>
#include <QWidget>

#include <functional>

// A strip of equally wide tabs for sheets. Clicking selects the tab under the pointer.
class PTSheetTabView : public QWidget {
    Q_OBJECT
public:
    // May change the index about to be selected.
    using WillSelectIndex = std::function<int(int index)>;

    explicit PTSheetTabView(QWidget* parent = nullptr);

    void addTabWithTitle(const QString& title);
    // The selected index is left as it is.
    void removeTabAtIndex(int index);
    int count() const { return static_cast<int>(titles_.size()); }
    int selectedIndex() const { return selectedIndex_; }
    // An index that names no tab selects none (-1).
    void setSelectedIndex(int index);
    void setWillSelectIndex(WillSelectIndex hook) { willSelectIndex_ = std::move(hook); }
    // Tabs are ceil(width / count) wide.
    QRect rectOfTabAtIndex(int index) const;

Q_SIGNALS:
    // The selection changed.
    void didSelectIndex(int index);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QStringList titles_;
    int selectedIndex_ = -1;
    WillSelectIndex willSelectIndex_;
};
