#pragma once

#include <QPointer>

#include <functional>
#include <memory>

class QWidget;

// The process-wide list of appearance blocks that theme-following widgets join and leave. A block gets the new
// appearance value (0 dark, 1 light) when the theme changes; it re-reads the theme rather than caching colours.
using PTAppearanceBlock = std::function<void(int appearance)>;
using PTAppearanceBlockRef = std::shared_ptr<const PTAppearanceBlock>;

// Appends the block; while a change is being announced the block is also called at once with the new value
// (it is not part of the pass under way).
void PTThemeAddAppearanceObserver(const PTAppearanceBlockRef& block);
// Removes every occurrence of the block. A block removed while a change is announced is not called by it.
void PTThemeRemoveAppearanceObserver(const PTAppearanceBlockRef& block);
// Calls every block in the order they joined; the theme controller's announcement.
void PTThemeNotifyAppearanceObservers(int appearance);

// Keeps one appearance block on the list for its own lifetime: the member of a theme-following widget. The
// block holds the widget weakly.
class PTAppearanceObserver {
public:
    PTAppearanceObserver() = default;
    explicit PTAppearanceObserver(PTAppearanceBlock block);
    // Calls object->update() on each change while the object lives.
    template <class T>
    PTAppearanceObserver(T* object, void (T::*update)())
        : PTAppearanceObserver([guard = QPointer<T>(object), update](int) {
              if (guard)
                  (guard.data()->*update)();
          })
    {
    }
    // Repaints the widget on each change: the observer of widgets that only draw in theme colours.
    static PTAppearanceObserver repainting(QWidget* widget);
    ~PTAppearanceObserver();
    PTAppearanceObserver(const PTAppearanceObserver&) = delete;
    PTAppearanceObserver& operator=(const PTAppearanceObserver&) = delete;
    PTAppearanceObserver(PTAppearanceObserver&& other) noexcept;
    PTAppearanceObserver& operator=(PTAppearanceObserver&& other) noexcept;

private:
    PTAppearanceBlockRef block_;
};
