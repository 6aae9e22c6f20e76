#include "sidebar/inspector/PTSideBarViewController.h"

#include "sidebar/inspector/PTSideBarController.h"

PTSideBarViewController::PTSideBarViewController(QObject* parent) : QObject(parent) {}

PTSideBarViewController::~PTSideBarViewController()
{
    // Views that the scroll area shows belong to it by then; the others are ours.
    for (const QPointer<QWidget>& view : owned_)
        if (view && !view->parent())
            delete view.data();
}

void PTSideBarViewController::load()
{
    if (loaded_)
        return;
    loaded_ = true;
    controllerDidLoad();
}

void PTSideBarViewController::requestGridViewUpdate()
{
    if (controller_)
        controller_->requestGridViewUpdate();
}

void PTSideBarViewController::becomePrimaryController()
{
    if (controller_)
        controller_->selectController(this);
}

void PTSideBarViewController::requestStateSave()
{
    if (controller_)
        controller_->saveState(this);
}

bool PTSideBarViewController::saveState(bool& gridNeedsReload)
{
    Q_UNUSED(gridNeedsReload);
    return false;
}

void PTSideBarViewController::setItems(const QVector<PTItem*>& items, bool clear)
{
    willReceiveNewItems(clear);
    items_ = items;
    didReceiveNewItems(clear);
}

void PTSideBarViewController::setTopLevelGroupsAndCollections(const Objects& objects)
{
    willReceiveTopLevelGroupsAndCollections();
    topLevel_ = objects;
    didReceiveTopLevelGroupsAndCollections();
}

void PTSideBarViewController::setCollections(const QVector<PTCollection*>& collections)
{
    willReceiveNewCollections();
    collections_ = collections;
    didReceiveNewCollections();
}

void PTSideBarViewController::setView(QWidget* view)
{
    if (view_ == view)
        return;
    adopt(view);
    view_ = view;
    emit viewChanged(view);
}

void PTSideBarViewController::setLabel(const QString& label)
{
    if (label_ == label)
        return;
    label_ = label;
    emit labelChanged();
}

void PTSideBarViewController::adopt(QWidget* view)
{
    if (view && !owned_.contains(view))
        owned_.append(view);
}
