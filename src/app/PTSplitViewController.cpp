#include "app/PTSplitViewController.h"

#include "platform/runtime/Defaults.h"

namespace {

// One map per column in the autosave list.
const QString WidthKey = QStringLiteral("width");
const QString HiddenKey = QStringLiteral("hidden");

bool isSideColumn(int index)
{
    return index == PTSplitViewController::SetsColumn || index == PTSplitViewController::InspectorColumn;
}

} // namespace

PTSplitViewController::PTSplitViewController(QObject* parent)
    : QObject(parent)
    , view_(new QSplitter(Qt::Horizontal))
{
    view_->setAccessibleName(QStringLiteral("Columns"));
    view_->setChildrenCollapsible(false);
    view_->setHandleWidth(1);
    connect(view_, &QSplitter::splitterMoved, this, &PTSplitViewController::save);
}

PTSplitViewController::~PTSplitViewController()
{
    if (view_ && !view_->parent())
        delete view_;
}

void PTSplitViewController::setColumns(QWidget* sets, QWidget* grid, QWidget* inspector)
{
    sets->setMinimumWidth(SetsMinWidth);
    sets->setMaximumWidth(SetsMaxWidth);
    inspector->setMinimumWidth(InspectorMinWidth);
    inspector->setMaximumWidth(InspectorMaxWidth);
    view_->addWidget(sets);
    view_->addWidget(grid);
    view_->addWidget(inspector);
    view_->setStretchFactor(SetsColumn, 0);
    view_->setStretchFactor(GridColumn, 1);
    view_->setStretchFactor(InspectorColumn, 0);
    for (int i = 0; i < 3; ++i)
        view_->setCollapsible(i, false);
}

void PTSplitViewController::restore()
{
    restoring_ = true;
    QList<int> sizes;
    QList<bool> hidden;
    for (const QVariant& entry : pt::Defaults::standard().arrayForKey(AutosaveKey)) {
        const QVariantMap column = entry.toMap();
        sizes.append(column.value(WidthKey).toInt());
        hidden.append(column.value(HiddenKey).toBool());
    }
    if (sizes.size() != 3 || sizes.contains(0)) {
        const int total = qMax(view_->width() - 2 * view_->handleWidth(), SetsStartWidth + InspectorStartWidth + 1);
        sizes = {SetsStartWidth, total - SetsStartWidth - InspectorStartWidth, InspectorStartWidth};
        hidden = {false, false, false};
    }
    widths_ = sizes;
    for (int i = 0; i < 3; ++i)
        view_->widget(i)->setHidden(false);
    view_->setSizes(sizes);
    for (int i : {SetsColumn, InspectorColumn})
        view_->widget(i)->setHidden(hidden.at(i));
    restoring_ = false;
}

bool PTSplitViewController::isColumnHidden(int index) const
{
    QWidget* column = view_->widget(index);
    return column && !column->isVisibleTo(view_);
}

void PTSplitViewController::setColumnHidden(int index, bool hidden)
{
    if (!isSideColumn(index) || !view_->widget(index) || isColumnHidden(index) == hidden)
        return;
    // The column leaves at the width it has now and comes back at it; the grid column gives and takes the room.
    save();
    QList<int> sizes = view_->sizes();
    const int room = widths_.at(index) + view_->handleWidth();
    sizes[index] = hidden ? 0 : widths_.at(index);
    sizes[GridColumn] = qMax(sizes.at(GridColumn) + (hidden ? room : -room), 1);
    view_->widget(index)->setHidden(hidden);
    // The column's divider shows or hides now rather than at the next layout pass, so the sizes add up.
    view_->refresh();
    view_->setSizes(sizes);
    save();
}

void PTSplitViewController::save()
{
    if (restoring_)
        return;
    const QList<int> sizes = view_->sizes();
    if (widths_.size() != sizes.size())
        widths_ = sizes;
    QVariantList columns;
    for (int i = 0; i < sizes.size(); ++i) {
        const bool hidden = isColumnHidden(i);
        if (!hidden)
            widths_[i] = sizes.at(i);
        columns.append(QVariantMap{{WidthKey, widths_.at(i)}, {HiddenKey, hidden}});
    }
    pt::Defaults::standard().set(AutosaveKey, columns);
}
