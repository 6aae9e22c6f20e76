#include "platform/runtime/DefaultsBinding.h"

#include "platform/runtime/Defaults.h"

namespace pt {

DefaultsBinding::DefaultsBinding(Defaults* defaults, QObject* target, const char* property, const QString& key,
                                 bool negate)
    : QObject(target), defaults_(defaults), key_(key), negate_(negate)
{
    const QMetaObject* meta = target->metaObject();
    const int index = meta->indexOfProperty(property);
    Q_ASSERT_X(index >= 0, "Defaults::bindBool", property);
    if (index < 0)
        return;
    property_ = meta->property(index);
    connect(defaults, &Defaults::changed, this, [this](const QString& changedKey) {
        if (changedKey == key_)
            push();
    });
    if (property_.hasNotifySignal()) {
        const int slot = metaObject()->indexOfSlot("propertyChanged()");
        QMetaObject::connect(target, property_.notifySignalIndex(), this, slot);
    }
    push();
}

void DefaultsBinding::push()
{
    updating_ = true;
    property_.write(parent(), defaults_->boolForKey(key_) != negate_);
    updating_ = false;
}

void DefaultsBinding::propertyChanged()
{
    if (updating_)
        return;
    const bool value = property_.read(parent()).toBool() != negate_;
    if (defaults_->boolForKey(key_) != value)
        defaults_->set(key_, value);
}

} // namespace pt
