#include "foundation/WSObservationBinding.h"

#include <QMetaProperty>

namespace {

bool isNullValue(const QVariant& value)
{
    if (!value.isValid())
        return true;
    if (value.metaType().flags() & QMetaType::PointerToQObject)
        return value.value<QObject*>() == nullptr;
    return false;
}

} // namespace

WSObservationBinding::WSObservationBinding(QObject* observed, const QString& keyPath, QObject* owner, int options,
                                           Block block)
    : block_(std::move(block)), observed_(observed), keyPath_(keyPath), owner_(owner), options_(options)
{
    const QMetaObject* meta = observed->metaObject();
    const int index = meta->indexOfProperty(keyPath.toLatin1().constData());
    if (index < 0 || !meta->property(index).hasNotifySignal()) {
        qWarning("WSObservationBinding: %s has no observable property %s", meta->className(), qPrintable(keyPath));
        valid_ = false;
        return;
    }
    lastValue_ = readValue();
    connection_ = QMetaObject::connect(observed, meta->property(index).notifySignalIndex(), this,
                                       metaObject()->indexOfSlot("observedValueChanged()"));
    connect(observed, &QObject::destroyed, this, &WSObservationBinding::invalidate);
    if (options_ & kvo::Initial) {
        QVariantMap change;
        if (options_ & kvo::New)
            change.insert(kvo::ChangeNewKey, lastValue_);
        if (block_)
            block_(observed, change);
    }
}

WSObservationBinding::~WSObservationBinding()
{
    if (valid_)
        invalidate();
}

void WSObservationBinding::invalidate()
{
    QObject::disconnect(connection_);
    valid_ = false;
}

void WSObservationBinding::invoke()
{
    if (block_)
        block_(observed_, {});
}

QVariant WSObservationBinding::readValue() const
{
    return observed_ ? observed_->property(keyPath_.toLatin1().constData()) : QVariant();
}

void WSObservationBinding::observedValueChanged()
{
    if (!valid_ || !observed_)
        return;
    const QVariant newValue = readValue();
    const QVariant oldValue = lastValue_;
    lastValue_ = newValue;
    if (!isNullValue(newValue) && newValue == oldValue)
        return;
    QVariantMap change;
    if (options_ & kvo::New)
        change.insert(kvo::ChangeNewKey, newValue);
    if (options_ & kvo::Old)
        change.insert(kvo::ChangeOldKey, oldValue);
    if (block_)
        block_(observed_, change);
}
