#include "sidebar/PTSourceListSidebar.h"

#include "sidebar/PTSourceAddButton.h"
#include "sidebar/PTSourceListController.h"
#include "ui/PTMainWindow.h"
#include "ui/theme/PTStyles.h"

#include <QDesktopServices>
#include <QVBoxLayout>

void PTSourceListSidebar::install()
{
    PTSourceListColumn::install(std::make_shared<PTSourceListSidebar>());
}

QWidget* PTSourceListSidebar::makeColumn(QWidget* parent)
{
    auto* column = new QWidget(parent);
    column->setAccessibleName(QObject::tr("Source list"));
    column->setAutoFillBackground(true);
    QPalette colours = column->palette();
    colours.setColor(QPalette::Window, PTStyles::sidebarBackgroundColor());
    column->setPalette(colours);
    controller_ = new PTSourceListController(column);
    controller_->answerCommandsOfWindow(PTMainWindow());
    auto* add = new PTSourceAddButton(column);
    QObject::connect(add, &QPushButton::clicked, controller_, [list = controller_] {
        if (list)
            list->addSet();
    });
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(controller_->view(), 1);
    layout->addWidget(add);

    const auto self = shared_from_this();
    const auto previous = PTBrowserSidebar::installed();
    if (previous.get() != this)
        inspector_ = previous;
    PTBrowserSidebar::install(self);
    PTSourceListSelection::install(self);
    return column;
}

PTCollection* PTSourceListSidebar::currentCollection()
{
    return controller_ ? controller_->currentCollection() : nullptr;
}

PTBrowserSidebar::Objects PTSourceListSidebar::selectedGroupsAndCollections()
{
    return controller_ ? controller_->currentSelectedManagedObjects() : Objects();
}

void PTSourceListSidebar::selectItems(const Objects& objects, bool extend, std::function<void()> completion)
{
    if (controller_)
        controller_->selectItems(objects, extend, std::move(completion));
}

void PTSourceListSidebar::selectItems(const QVector<pt::store::ManagedObject*>& objects, bool extend)
{
    selectItems(objects, extend, {});
}

void PTSourceListSidebar::forceSelectionPropagation(const std::function<void()>& block)
{
    if (controller_)
        controller_->forceSelectionPropagationWithBlock(block);
    else if (block)
        block();
}

void PTSourceListSidebar::beginEditForManagedObject(pt::store::ManagedObject* object)
{
    if (controller_)
        controller_->beginEditForManagedObject(object);
}

void PTSourceListSidebar::setInspectedCollections(const QVector<PTCollection*>& sets, const Objects& topLevelObjects)
{
    if (inspector_)
        inspector_->setInspectedCollections(sets, topLevelObjects);
}

void PTSourceListSidebar::setInspectedItems(const QVector<PTItem*>& items, bool clearing)
{
    if (inspector_)
        inspector_->setInspectedItems(items, clearing);
}

void PTSourceListSidebar::reloadInspector()
{
    if (inspector_)
        inspector_->reloadInspector();
}

bool PTSourceListSidebar::beginEditingItemName()
{
    return inspector_ && inspector_->beginEditingItemName();
}

void PTSourceListSidebar::saveInspectedItemEdits(std::function<void()> completion)
{
    if (inspector_)
        inspector_->saveInspectedItemEdits(std::move(completion));
    else
        completion();
}

QString PTSourceListSidebar::applicationForFiles(const QList<QUrl>& files)
{
    return inspector_ ? inspector_->applicationForFiles(files) : QString();
}

PTBrowserSidebar::OpenInControl* PTSourceListSidebar::makeOpenInControl(QWidget* parent)
{
    // The inspector's: with none, the preview shows no open-in row.
    return inspector_ ? inspector_->makeOpenInControl(parent) : nullptr;
}

void PTSourceListSidebar::openFilesInApplication(const QList<QUrl>& files, const QString& application)
{
    if (inspector_) {
        inspector_->openFilesInApplication(files, application);
        return;
    }
    for (const QUrl& file : files)
        QDesktopServices::openUrl(file);
}
