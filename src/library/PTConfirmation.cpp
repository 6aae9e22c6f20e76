#include "library/PTConfirmation.h"

#include "platform/runtime/Defaults.h"

#include <mutex>

namespace {
std::mutex mutex;
std::shared_ptr<PTConfirmation> current;
} // namespace

void PTConfirmation::install(std::shared_ptr<PTConfirmation> confirmation)
{
    std::lock_guard lock(mutex);
    current = std::move(confirmation);
}

std::shared_ptr<PTConfirmation> PTConfirmation::installed()
{
    std::lock_guard lock(mutex);
    return current;
}

bool PTConfirmation::confirm(const QString& title, const QString& text, const QString& suppressionKey)
{
    pt::Defaults& defaults = pt::Defaults::standard();
    if (defaults.boolForKey(suppressionKey))
        return true;
    const std::shared_ptr<PTConfirmation> confirmation = installed();
    if (!confirmation)
        return false;
    const Answer answer = confirmation->ask(title, text);
    if (answer.confirmed && answer.suppress)
        defaults.set(suppressionKey, true);
    return answer.confirmed;
}
