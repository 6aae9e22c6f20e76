#include "library/controllers/PTAppDataController.h"

#include "library/controllers/PTAppDataInitialLicences.h"
#include "library/controllers/PTAppDataMITLicence.h"
#include "library/store/PTStoreFunctions.h"
#include "platform/runtime/Defaults.h"
#include "platform/runtime/Logging.h"

#include <mutex>
#include <vector>

namespace {
std::mutex mutex;
std::vector<std::shared_ptr<const PTAppDataProvider>> registry;
} // namespace

void PTAppDataController::registerAll()
{
    registerInitialDataProvider(std::make_shared<PTAppDataMITLicence>());
    registerInitialDataProvider(std::make_shared<PTAppDataInitialLicences>());
}

void PTAppDataController::registerInitialDataProvider(std::shared_ptr<const PTAppDataProvider> provider)
{
    std::lock_guard lock(mutex);
    registry.push_back(std::move(provider));
}

int PTAppDataController::registeredCount()
{
    std::lock_guard lock(mutex);
    return int(registry.size());
}

bool PTAppDataController::check()
{
    std::vector<std::shared_ptr<const PTAppDataProvider>> providers;
    {
        std::lock_guard lock(mutex);
        providers.swap(registry);
    }
    pt::Defaults& defaults = pt::Defaults::standard();
    pt::store::ObjectContext* context = providers.empty() ? nullptr : PTMainManagedObjectContext();
    bool provided = false;
    for (const auto& provider : providers) {
        if (!context || defaults.objectForKey(provider->name()).isValid())
            continue;
        if (!provider->provideDataInContext(*context)) {
            qCWarning(lcLibrary) << "Providing data failed for" << provider->name();
            continue;
        }
        defaults.set(provider->name(), true);
        qCInfo(lcLibrary) << "Provided data for" << provider->name();
        provided = true;
    }
    if (provided)
        defaults.synchronize();
    return provided;
}
