#include "app/PTSplitViewController.h"

#include "platform/runtime/Defaults.h"

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
    // The window owns the view once it holds it.
    if (!view_->parent())
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
    view_->setStretchFactor(0, 0);
    view_->setStretchFactor(1, 1);
    view_->setStretchFactor(2, 0);
    for (int i = 0; i < 3; ++i)
        view_->setCollapsible(i, false);
}

void PTSplitViewController::restore()
{
    restoring_ = true;
    const QVariantList stored = pt::Defaults::standard().arrayForKey(AutosaveKey);
    QList<int> sizes;
    for (const QVariant& width : stored)
        sizes.append(width.toInt());
    if (sizes.size() != 3) {
        const int total = qMax(view_->width() - 2 * view_->handleWidth(), SetsStartWidth + InspectorStartWidth + 1);
        sizes = {SetsStartWidth, total - SetsStartWidth - InspectorStartWidth, InspectorStartWidth};
    }
    view_->setSizes(sizes);
    restoring_ = false;
}

void PTSplitViewController::save()
{
    if (restoring_)
        return;
    QVariantList widths;
    for (int width : view_->sizes())
        widths.append(width);
    pt::Defaults::standard().set(AutosaveKey, widths);
}
