#pragma once

#include "platform/store/ObjectContext.h"

#include <QString>
#include <QVector>

// One source of records that a new user's library starts with. Each provider runs once per user account; the
// defaults remember, under its name, that it ran.
class PTAppDataProvider {
public:
    struct Licence {
        QString name;
        QString url;
    };

    virtual ~PTAppDataProvider() = default;
    // The name its run is recorded under.
    virtual QString name() const = 0;
    // Inserts its records into the context; false when that failed, so that it runs again at the next launch.
    virtual bool provideDataInContext(pt::store::ObjectContext& context) const = 0;

protected:
    // Inserts the licences in order through the licence controller.
    static bool insertLicences(pt::store::ObjectContext& context, const QVector<Licence>& licences);
};
