#include "app/PTNoticeController.h"

#include "app/PTApplicationIcon.h"
#include "app/PTNotice.h"
#include "app/PTUpdateController.h"
#include "ui/views/PTPanelSeparator.h"
#include "ui/views/PTPopover.h"
#include "ui/views/PTStackView.h"


namespace {

PTNotice* makeUpdateNotice()
{
    auto* notice = new PTNotice;
    notice->setPersistant(true);
    notice->setTitle(PTNoticeController::UpdateTitle);
    notice->setMessage(PTNoticeController::UpdateMessage);
    notice->setImage(PTApplicationIcon::image(64));
    PTUpdateController& updates = PTUpdateController::sharedController();
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

PTNoticeController::PTNoticeController()
{
    addNotice(makeUpdateNotice());
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
    if (!stackView_)
        return;
    std::vector<QWidget*> views;
    for (PTNotice* notice : notices_) {
        if (notice->canDisplay())
            views.push_back(notice->makeView(stackView_));
    }
    for (const QPointer<QWidget>& old : stackView_->views()) {
        if (old)
            old->deleteLater();
    }
    stackView_->setViews(views);
}

void PTNoticeController::showPopoverRelativeToRect(const QRect& rect, QWidget* view, Qt::Edge edge)
{
    if (!popover_) {
        popover_ = new PTPopover(view ? view->window() : nullptr);
        popover_->setAccessibleName(tr("Notices"));
        popover_->setAttribute(Qt::WA_DeleteOnClose);
        connect(popover_, &PTPopover::closed, popover_, &QObject::deleteLater);
        stackView_ = new PTStackView;
        stackView_->setAccessibleName(tr("Notices"));
        stackView_->resize(290, 10);
        stackView_->setAutoresizesSuperview(true);
        auto* spacer = new PTPanelSeparator;
        spacer->setSoften(true);
        stackView_->setSpacerView(spacer);
        computeViews();
        popover_->setContentWidget(stackView_);
    }
    popover_->showRelativeTo(rect, view, edge);
}
