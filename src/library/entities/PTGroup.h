#pragma once

#include "platform/store/ManagedObject.h"

class PTCollection;

// A folder of sets and of other groups in the source list.
class PTGroup : public pt::store::ManagedObject {
public:
    static inline const QString EntityName = QStringLiteral("PTGroup");

    static PTGroup* from(pt::store::ManagedObject* object) { return dynamic_cast<PTGroup*>(object); }
    static PTGroup* insert(pt::store::ObjectContext& context);

    // The stored name, or "Untitled Group" when it is empty.
    QString name() const;
    void setName(const QString& name);
    QString informativeText() const;
    void setInformativeText(const QString& text);
    // Position among the children of the parent.
    qint64 sort() const;
    void setSort(qint64 sort);

    // The parent group; null at the top level.
    PTGroup* group() const;
    void setGroup(PTGroup* parent);
    // This group and its parents up to the top level, nearest first. A damaged store may hold a loop of parents:
    // the walk stops where a group would repeat.
    QVector<PTGroup*> selfAndAncestors();
    QVector<PTGroup*> groups() const;
    QVector<PTCollection*> sets() const;
};
