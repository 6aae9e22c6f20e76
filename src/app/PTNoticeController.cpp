#include "app/PTNoticeController.h"

#include "app/PTNotice.h"
#include "app/PTUpdateController.h"
#include "app/scripting/PTScriptablePluginSketch.h"
#include "ui/PTApplicationIcon.h"
#include "ui/views/PTPanelSeparator.h"
#include "ui/views/PTPopover.h"

#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr int kPluginCheckMilliseconds = 60000;
constexpr int kNoticeImageSize = 64;
// How long a notice that arrived stays open by itself; it stays listed under the notices button afterwards.
constexpr int kPassiveShowMilliseconds = 8000;

// The design application's icon when the desktop has its entry, else Pictern's.
QImage designApplicationImage()
{
    const QIcon host = PTScriptablePluginSketch::hostIcon();
    const QImage image = host.isNull() ? QImage() : host.pixmap(kNoticeImageSize).toImage();
    return image.isNull() ? PTApplicationIcon::image(kNoticeImageSize) : image;
}

// Shows while the installed design-application plug-in is older than the one Pictern carries; a click does nothing.
PTNotice* makeSketchPluginNotice()
{
    auto* notice = new PTNotice;
    notice->setPersistant(true);
    notice->setTitle(PTNoticeController::SketchPluginTitle);
    notice->setMessage(PTNoticeController::SketchPluginMessage);
    notice->setImage(designApplicationImage());
    const auto checkStatus = [notice] {
        const PTScriptablePlugin* plugin = PTScriptablePlugin::pluginForIdentifier(PTScriptablePluginSketch::Identifier);
        notice->setCanDisplay(plugin && plugin->installed() && plugin->updateAvailable());
    };
    auto* timer = new QTimer(notice);
    QObject::connect(timer, &QTimer::timeout, notice, checkStatus);
    timer->start(kPluginCheckMilliseconds);
    checkStatus();
    return notice;
}

PTNotice* makeUpdateNotice(PTUpdateController& updates)
{
    auto* notice = new PTNotice;
    notice->setPersistant(true);
    notice->setTitle(PTNoticeController::UpdateTitle);
    notice->setMessage(PTNoticeController::UpdateMessage);
    notice->setImage(PTApplicationIcon::image(kNoticeImageSize));
    notice->setClickHandler([&updates] { updates.checkForUpdatesInBackground(); });
    const auto follow = [notice, &updates] {
        notice->setCanDisplay(updates.updateAvailable());
        const PTUpdateController::AppcastItem& item = updates.updateAppcastItem();
        if (!item.versionString.isEmpty())
            notice->setMessage(PTNoticeController::UpdateMessageWithVersion.arg(item.displayVersionString,
                                                                               item.versionString));
    };
    QObject::connect(&updates, &PTUpdateController::updateAvailableChanged, notice, follow);
    QObject::connect(&updates, &PTUpdateController::updateAppcastItemChanged, notice, follow);
    follow();
    return notice;
}

} // namespace

PTNoticeController& PTNoticeController::sharedController()
{
    static PTNoticeController controller;
    return controller;
}

PTNoticeController::PTNoticeController() : PTNoticeController(PTUpdateController::sharedController())
{
}

PTNoticeController::PTNoticeController(PTUpdateController& updates)
{
    addNotice(makeSketchPluginNotice());
    addNotice(makeUpdateNotice(updates));
}

PTNoticeController::~PTNoticeController()
{
    delete popover_;
}

void PTNoticeController::addNotice(PTNotice* notice)
{
    notice->setParent(this);
    notices_.append(notice);
    if (notice->persistant())
        connect(notice, &PTNotice::canDisplayChanged, this, &PTNoticeController::noticeChanged);
    noticeChanged();
}

PTNotice* PTNoticeController::postNotice(const QString& title, const QString& message)
{
    auto* notice = new PTNotice;
    notice->setTitle(title);
    notice->setMessage(message);
    notice->setImage(PTApplicationIcon::image(kNoticeImageSize));
    // Later: the click arrives inside the notice's own panel, which the removal deletes.
    notice->setClickHandler([this, notice] {
        QMetaObject::invokeMethod(this, [this, notice] { removeNotice(notice); }, Qt::QueuedConnection);
    });
    addNotice(notice);
    emit noticePosted(notice);
    return notice;
}

void PTNoticeController::removeNotice(PTNotice* notice)
{
    if (!notices_.removeOne(notice))
        return;
    delete notice;
    noticeChanged();
    if (popover_ && count_ == 0)
        popover_->close();
}

void PTNoticeController::noticeChanged()
{
    computeViews();
    int count = 0;
    for (PTNotice* notice : notices_)
        count += notice->canDisplay() ? 1 : 0;
    if (count == count_)
        return;
    count_ = count;
    emit noticesCountChanged(count);
}

void PTNoticeController::computeViews()
{
    // Views exist only while the popover does.
    if (!list_)
        return;
    auto* layout = static_cast<QVBoxLayout*>(list_->layout());
    while (QLayoutItem* item = layout->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    for (PTNotice* notice : notices_) {
        if (!notice->canDisplay())
            continue;
        if (layout->count() > 0) {
            auto* separator = new PTPanelSeparator(list_);
            separator->setSoften(true);
            separator->setFixedHeight(1);
            layout->addWidget(separator);
        }
        layout->addWidget(notice->makeView(list_));
    }
    list_->adjustSize();
    if (popover_)
        popover_->setContentWidget(list_);
}

void PTNoticeController::showPopoverRelativeToRect(const QRect& rect, QWidget* view, Qt::Edge edge, bool passive)
{
    // A closed popover waits for its deletion: it is not shown again.
    if (popover_ && !popover_->isVisible())
        delete popover_.data();
    if (popover_ && passive)
        return;
    // The user asks for the list: a passive one gives way to a popover that closes on a click elsewhere.
    if (popover_ && passive_)
        delete popover_.data();
    if (!popover_) {
        passive_ = passive;
        popover_ = new PTPopover(view ? view->window() : nullptr);
        if (passive) {
            popover_->setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint);
            popover_->setAttribute(Qt::WA_ShowWithoutActivating);
            QTimer::singleShot(kPassiveShowMilliseconds, popover_, &QWidget::close);
        }
        popover_->setAccessibleName(tr("Notices"));
        connect(popover_, &PTPopover::closed, popover_, &QObject::deleteLater);
        list_ = new QWidget;
        list_->setAccessibleName(tr("Notices"));
        auto* layout = new QVBoxLayout(list_);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        layout->setSizeConstraint(QLayout::SetFixedSize);
        popover_->setContentWidget(list_);
        computeViews();
    }
    popover_->showRelativeTo(rect, view, edge);
}
