#pragma once

#include "library/controllers/PTMenuBuilder.h"

#include <deque>
#include <functional>

class QMenu;

// Builds the entries the library describes into a QMenu: an entry with an action calls the handler with the
// action and the object it stands for; an entry without one is disabled. Each entry keeps its object's ID. Titles
// are shown as given (they are mostly names), with no mnemonics.
class PTQMenuBuilder : public PTMenuBuilder {
public:
    using Handler = std::function<void(const QString& action, pt::store::ManagedObject* object)>;

    PTQMenuBuilder(QMenu* menu, Handler handler);
    void addItem(const QString& title, const QString& action, pt::store::ManagedObject* object) override;
    PTMenuBuilder& addSubmenuItem(const QString& title, const QString& action,
                                  pt::store::ManagedObject* object) override;
    void addSeparator() override;

private:
    QMenu* menu_;
    Handler handler_;
    std::deque<PTQMenuBuilder> submenus_;
};
