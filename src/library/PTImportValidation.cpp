#include "library/PTImportValidation.h"

#include <mutex>

namespace {
std::mutex mutex;
std::shared_ptr<const PTImportValidation> current;
} // namespace

void PTImportValidation::install(std::shared_ptr<const PTImportValidation> validation)
{
    std::lock_guard lock(mutex);
    current = std::move(validation);
}

std::shared_ptr<const PTImportValidation> PTImportValidation::installed()
{
    std::lock_guard lock(mutex);
    return current;
}
