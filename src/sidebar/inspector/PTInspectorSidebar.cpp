#include "sidebar/inspector/PTInspectorSidebar.h"

#include "sidebar/inspector/PTOpenInControl.h"
#include "sidebar/inspector/PTSideBarController.h"

#include <QApplication>

void PTInspectorSidebar::install()
{
    const auto sidebar = std::make_shared<PTInspectorSidebar>();
    PTInspectorColumn::install(sidebar);
    PTBrowserSidebar::install(sidebar);
}

QWidget* PTInspectorSidebar::makeColumn(QWidget* parent)
{
    // The controller lives as long as its column.
    auto* controller = new PTSideBarController;
    controller_ = controller;
    QWidget* column = controller->containerView();
    column->setParent(parent);
    controller->setParent(column);
    return column;
}

void PTInspectorSidebar::splitViewReady(std::shared_ptr<PTSideColumns> columns, bool firstLaunch)
{
    if (controller_)
        controller_->splitViewReady(std::move(columns), firstLaunch);
}

void PTInspectorSidebar::selectItems(const Objects&, bool, std::function<void()> completion)
{
    if (completion)
        completion();
}

void PTInspectorSidebar::forceSelectionPropagation(const std::function<void()>& block)
{
    if (block)
        block();
}

void PTInspectorSidebar::setInspectedCollections(const QVector<PTCollection*>& sets, const Objects& topLevelObjects)
{
    if (controller_)
        controller_->setCollections(sets, topLevelObjects);
}

void PTInspectorSidebar::setInspectedItems(const QVector<PTItem*>& items, bool clearing)
{
    if (controller_)
        controller_->setItems(items, clearing);
}

void PTInspectorSidebar::reloadInspector()
{
    if (controller_)
        controller_->reloadData();
}

bool PTInspectorSidebar::beginEditingItemName()
{
    return controller_ && controller_->beginEditingItemName();
}

void PTInspectorSidebar::saveInspectedItemEdits(std::function<void()> completion)
{
    if (controller_)
        controller_->saveItemEdits(std::move(completion));
    else
        completion();
}

QString PTInspectorSidebar::applicationForFiles(const QList<QUrl>& files)
{
    // What an open-in control for the files would tick: the remembered choice, else the default.
    PTOpenInControl control;
    control.setFileURLs(files);
    return control.selectedApplication();
}

void PTInspectorSidebar::openFilesInApplication(const QList<QUrl>& files, const QString& application)
{
    if (application.isEmpty())
        QApplication::beep();
    else
        PTOpenInControl::openURLsInApplication(files, application);
}

PTBrowserSidebar::OpenInControl* PTInspectorSidebar::makeOpenInControl(QWidget* parent)
{
    return new PTOpenInControl(parent);
}
