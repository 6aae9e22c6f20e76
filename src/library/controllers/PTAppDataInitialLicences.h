#pragma once

#include "library/controllers/PTAppDataProvider.h"

// The common licences of published icons besides MIT: Apache, GPL and six Creative Commons licences.
class PTAppDataInitialLicences : public PTAppDataProvider {
public:
    QString name() const override { return QStringLiteral("PTAppDataInitialLicences"); }
    bool provideDataInContext(pt::store::ObjectContext& context) const override;
};
