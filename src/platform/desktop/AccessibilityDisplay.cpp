#include "platform/desktop/AccessibilityDisplay.h"

#include "platform/desktop/PortalContrastSource.h"

#include <QCoreApplication>

namespace pt {

AccessibilityDisplay& AccessibilityDisplay::shared()
{
    static AccessibilityDisplay* display =
        new AccessibilityDisplay(std::make_unique<PortalContrastSource>(), QCoreApplication::instance());
    return *display;
}

bool AccessibilityDisplay::shouldReduceTransparency()
{
    return shared().reduceTransparency();
}

AccessibilityDisplay::AccessibilityDisplay(std::unique_ptr<ReduceTransparencySource> source, QObject* parent)
    : QObject(parent)
{
    setSource(std::move(source));
}

AccessibilityDisplay::~AccessibilityDisplay() = default;

void AccessibilityDisplay::setSource(std::unique_ptr<ReduceTransparencySource> source)
{
    source_ = std::move(source);
    reduceTransparency_ = false;
    connect(source_.get(), &ReduceTransparencySource::reduceTransparencyChanged, this,
            [this](bool reduce) { reduceTransparency_ = reduce; });
    source_->start();
}

} // namespace pt
