#include "library/PTProgressPresenter.h"

#include <mutex>

namespace {
std::mutex mutex;
std::shared_ptr<PTProgressPresenter> current;
} // namespace

void PTProgressPresenter::install(std::shared_ptr<PTProgressPresenter> presenter)
{
    std::lock_guard lock(mutex);
    current = std::move(presenter);
}

std::shared_ptr<PTProgressSheet> PTProgressPresenter::presentSheet(const QString& title)
{
    std::shared_ptr<PTProgressPresenter> presenter;
    {
        std::lock_guard lock(mutex);
        presenter = current;
    }
    return presenter ? presenter->present(title) : nullptr;
}
