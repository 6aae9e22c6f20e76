#include "library/controllers/PTConfirmation.h"

#include "platform/runtime/Defaults.h"

#include "library/InstalledSeam.h"

namespace {
InstalledSeam<PTConfirmation> seam;
} // namespace

void PTConfirmation::install(std::shared_ptr<PTConfirmation> confirmation)
{
    seam.install(std::move(confirmation));
}

std::shared_ptr<PTConfirmation> PTConfirmation::installed()
{
    return seam.get();
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
