#include "library/PTLibraryShell.h"

#include <mutex>

namespace {
std::mutex mutex;
std::shared_ptr<PTLibraryShell> current;
} // namespace

void PTLibraryShell::install(std::shared_ptr<PTLibraryShell> shell)
{
    std::lock_guard lock(mutex);
    current = std::move(shell);
}

std::shared_ptr<PTLibraryShell> PTLibraryShell::installed()
{
    std::lock_guard lock(mutex);
    return current;
}

std::shared_ptr<PTProgressSheet> PTLibraryShell::presentSheet(const QString& title)
{
    const std::shared_ptr<PTLibraryShell> shell = installed();
    if (!shell)
        return nullptr;
    std::shared_ptr<PTProgressSheet> sheet = shell->makeProgressSheet(title);
    sheet->beginSession();
    return sheet;
}
