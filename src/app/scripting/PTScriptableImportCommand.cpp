#include "app/scripting/PTScriptableImportCommand.h"

#include "app/scripting/ScriptableLookup.h"
#include "library/entities/PTCollection.h"
#include "platform/runtime/Defaults.h"
#include "platform/ui/SheetHost.h"
#include "transfer/import/PTAddIconsPresenter.h"
#include "ui/PTMainWindow.h"

#include <QWidget>

PTScriptableImportCommand::PTScriptableImportCommand(QString fromApplication)
    : m_fromApplication(std::move(fromApplication))
{
}

PTCollection* PTScriptableImportCommand::collectionForApplication(const QString& application) const
{
    const QString uri = pt::Defaults::standard().dictionaryForKey(ApplicationCollectionsKey).value(application).toString();
    return dynamic_cast<PTCollection*>(scriptableLookup::objectWithURI(uri));
}

void PTScriptableImportCommand::storeCollection(PTCollection* collection, const QString& application) const
{
    pt::Defaults& defaults = pt::Defaults::standard();
    QVariantMap remembered = defaults.dictionaryForKey(ApplicationCollectionsKey);
    remembered.insert(application, collection->objectID().uriString());
    defaults.set(ApplicationCollectionsKey, remembered);
}

void PTScriptableImportCommand::perform(const QList<QUrl>& files) const
{
    PTCollection* remembered = m_fromApplication.isEmpty() ? nullptr : collectionForApplication(m_fromApplication);
    if (QWidget* window = PTMainWindow()) {
        // The keys go to the front: a sheet already on the window keeps them, as the request waits behind it.
        QWidget* front = window;
        while (QWidget* sheet = pt::SheetHost::attachedSheet(front))
            front = sheet;
        window->raise();
        front->activateWindow();
    }
    PTAddIconsPresenter::installed()->presentImport(
        files, remembered, m_fromApplication, [command = *this](pt::store::ManagedObject* target) {
            // A group, or a cancelled sheet, is not remembered.
            auto* collection = dynamic_cast<PTCollection*>(target);
            if (collection && !command.m_fromApplication.isEmpty())
                command.storeCollection(collection, command.m_fromApplication);
        });
}
