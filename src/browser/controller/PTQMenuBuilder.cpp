#include "browser/controller/PTQMenuBuilder.h"

#include "foundation/MenuAdditions.h"
#include "platform/store/ObjectContext.h"

#include <QMenu>

PTQMenuBuilder::PTQMenuBuilder(QMenu* menu, Handler handler) : menu_(menu), handler_(std::move(handler)) {}

void PTQMenuBuilder::addItem(const QString& title, const QString& action, pt::store::ManagedObject* object)
{
    QAction* entry = menu_->addAction(menuAdditions::itemTitle(title));
    entry->setEnabled(!action.isEmpty());
    if (!object)
        return;
    entry->setData(QVariant::fromValue(object->objectID()));
    // The object is looked up again when chosen: the menu may outlive a refill.
    QObject::connect(entry, &QAction::triggered, [handler = handler_, action, id = object->objectID(),
                                                  context = object->context()] {
        if (pt::store::ManagedObject* found = context->existingObjectWithID(id))
            handler(action, found);
    });
}

PTMenuBuilder& PTQMenuBuilder::addSubmenuItem(const QString& title, const QString& /*action*/,
                                              pt::store::ManagedObject* object)
{
    QMenu* submenu = menu_->addMenu(menuAdditions::itemTitle(title));
    if (object)
        submenu->menuAction()->setData(QVariant::fromValue(object->objectID()));
    return submenus_.emplace_back(submenu, handler_);
}

void PTQMenuBuilder::addSeparator()
{
    menu_->addSeparator();
}
