#pragma once

#include "platform/store/ManagedObject.h"

#include <QDateTime>
#include <QStringList>
#include <QUrl>

class PTGroup;
class PTItem;
class PTLicence;

// A set of icons. Its files lie in the folder "Sets/<identifier>" of the library. Type 1 marks the one
// "Miscellaneous" set, which can be neither moved, removed nor given a licence.
class PTCollection : public pt::store::ManagedObject {
public:
    static inline const QString EntityName = QStringLiteral("PTCollection");
    static constexpr qint64 MiscellaneousType = 1;
    static inline const QString MiscellaneousName = QStringLiteral("Miscellaneous");

    static PTCollection* from(pt::store::ManagedObject* object) { return dynamic_cast<PTCollection*>(object); }
    static PTCollection* insert(pt::store::ObjectContext& context);

    // The stored name, or "Untitled Set" when it is empty.
    QString name() const;
    // A blank name stores "Miscellaneous" for the Miscellaneous set and "Unknown" for others; any other name is
    // stored as given.
    void setName(const QString& name);
    QString normalizedSearch() const;
    void setNormalizedSearch(const QString& text);
    QString identifier() const;
    void setIdentifier(const QString& identifier);
    // The older name of the set's folder.
    QString fileName() const;
    QDateTime date() const;
    void setDate(const QDateTime& date);
    QString informativeText() const;
    void setInformativeText(const QString& text);
    qint64 sort() const;
    void setSort(qint64 sort);
    // 0 for an ordinary set (also when nil), 1 for the Miscellaneous set.
    qint64 type() const;
    void setType(qint64 type);

    QVector<PTItem*> items() const;
    PTGroup* group() const;
    // Links both sides: the set leaves its old group's sets and joins the new one's.
    void setGroup(PTGroup* group);
    PTLicence* licence() const;
    void setLicence(PTLicence* licence);

    // The identifier, after storing a new one when it is missing or would not name a folder inside "Sets".
    QString computedIdentifier();
    // The set's folder "Sets/<identifier>" in the current library, created when missing; empty without a library.
    QString formattedDirectory();
    QUrl fileURL();
    // fileName, after storing the normalised name there when it is nil.
    QString baseName();
    // The older folder "Sets/<baseName>", created when missing; empty without a library or when the stored name
    // would not name a single folder inside "Sets".
    QString legacyFormattedDirectory();
    QString humanDate() const;
    // The set's items by name (ascending), fetched in the set's context; empty when the fetch fails.
    QVector<PTItem*> sortedItems() const;
    // The names of the enclosing groups from the outermost down, then the set's own.
    QStringList breadCrumbs() const;
    // The enclosing groups from the outermost down, then the set itself.
    QVector<pt::store::ManagedObject*> path();

    bool moveable() const { return type() != MiscellaneousType; }
    bool removeable() const { return moveable(); }
    bool allowsLicence() const { return moveable(); }

    // Scratch state of the interface; not stored.
    bool requiresVisualRefresh() const { return requiresVisualRefresh_; }
    void setRequiresVisualRefresh(bool value) { requiresVisualRefresh_ = value; }
    qint64 tempSort() const { return tempSort_; }
    void setTempSort(qint64 value) { tempSort_ = value; }
    qint64 tempSort2() const { return tempSort2_; }
    void setTempSort2(qint64 value) { tempSort2_ = value; }

private:
    bool requiresVisualRefresh_ = false;
    qint64 tempSort_ = 0;
    qint64 tempSort2_ = 0;
};
