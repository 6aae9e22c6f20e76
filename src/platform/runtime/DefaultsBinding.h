#pragma once

#include <QMetaProperty>
#include <QObject>

namespace pt {

class Defaults;

// Keeps a bool property of a target object in step with a defaults key, both ways; a child of the target, so
// it ends with it.
class DefaultsBinding : public QObject {
    Q_OBJECT
public:
    DefaultsBinding(Defaults* defaults, QObject* target, const char* property, const QString& key, bool negate);

private slots:
    void propertyChanged();

private:
    void push();

    Defaults* defaults_;
    QMetaProperty property_;
    QString key_;
    bool negate_;
    bool updating_ = false;
};

} // namespace pt
