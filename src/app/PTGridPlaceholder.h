#pragma once

#include "browser/grid/PTGridViewDataSource.h"
#include "ui/theme/PTAppearanceObserver.h"

#include <QStringList>
#include <QVector>
#include <QWidget>

class PTCollection;
class PTGridView;
class PTWindowBottomBar;

// Stands in for the grid controller until it exists: the items of the shown sets in one grid, each drawn as a
// plain tile with its name, at the stored grid size.
class PTGridPlaceholder : public QWidget, private PTGridViewDataSource {
    Q_OBJECT
public:
    static inline const QString GridSizeKey = QStringLiteral("gridViewSize");
    static constexpr int DefaultGridSize = 60;

    explicit PTGridPlaceholder(QWidget* parent = nullptr);
    ~PTGridPlaceholder() override;

    PTGridView* gridView() const { return grid_; }
    PTWindowBottomBar* bottomBar() const { return bottomBar_; }
    void showSets(const QVector<PTCollection*>& sets);
    qint64 itemCount() const { return names_.size(); }

signals:
    // After the grid's first paint.
    void firstPaint();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::unique_ptr<PTGridViewCell> cellForSection(PTGridView& grid, qint64 section) override;
    qint64 numberOfItemsInSection(PTGridView& grid, qint64 section) override;
    std::unique_ptr<PTGridViewCell> cellForItemAtIndexPath(PTGridView& grid, const GridIndexPath& path) override;
    pt::store::ObjectID itemForIndexPath(PTGridView& grid, const GridIndexPath& path) override;
    void applyGridSize();
    void updateAppearance();

    PTGridView* grid_;
    PTWindowBottomBar* bottomBar_;
    QStringList names_;
    QVector<pt::store::ObjectID> ids_;
    bool painted_ = false;
    PTAppearanceObserver appearanceObserver_{this, &PTGridPlaceholder::updateAppearance};
};
