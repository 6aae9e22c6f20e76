#pragma once

#include "library/controllers/PTAppDataProvider.h"

// The MIT licence.
class PTAppDataMITLicence : public PTAppDataProvider {
public:
    QString name() const override { return QStringLiteral("PTAppDataMITLicence"); }
    bool provideDataInContext(pt::store::ObjectContext& context) const override;
};
