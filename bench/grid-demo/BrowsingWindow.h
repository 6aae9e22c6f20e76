#pragma once

#include "browser/PTBrowserSidebar.h"

#include <QWidget>

#include <memory>

class PTCollection;
class PTFrameViewSlider;
class PTGridViewController;
class PTSearchController;
class PTToolbarSearchField;
class PTToolbarFilterControl;
class QListWidget;

// The icon browser on its own: a list of sets, the grid controller's view, and a bar with the type and licence
// filter, the search field with its count badge, and the size slider between its end buttons. The shell and the sidebar are stood in for by this window.
class BrowsingWindow : public QWidget {
    Q_OBJECT
public:
    explicit BrowsingWindow(const QVector<PTCollection*>& sets, QWidget* parent = nullptr);
    ~BrowsingWindow() override;

    PTGridViewController& controller() { return *controller_; }
    QListWidget* setList() const { return setList_; }
    PTToolbarFilterControl* filter() const { return filter_; }
    PTToolbarSearchField* searchField() const { return searchField_; }
    PTCollection* currentCollection() const;
    PTBrowserSidebar::Objects selectedSets() const;
    void selectSets(const QVector<PTCollection*>& sets);

private:
    void showSelectedSets();

    QVector<PTCollection*> sets_;
    QListWidget* setList_;
    PTToolbarFilterControl* filter_;
    PTFrameViewSlider* slider_;
    PTToolbarSearchField* searchField_;
    std::unique_ptr<PTGridViewController> controller_;
    std::unique_ptr<PTSearchController> search_;
};
