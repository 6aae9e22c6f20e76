#include "ui/sheets/PTProgressSheetWindow.h"

#include "ui/controls/PTAutoHeightTextField.h"
#include "ui/controls/PTSegmentedControl.h"
#include "ui/controls/PTSheetButton.h"
#include "ui/PTMainWindow.h"
#include "ui/sheets/PTMainQueueCoalescer.h"
#include "ui/sheets/PTSheetStack.h"
#include "ui/sheets/PTSheetView.h"
#include "ui/sheets/PTSheetViewTitleBackgroundView.h"
#include "ui/sheets/PTSheetViewTitleBarController.h"
#include "ui/views/PTSheet.h"
#include "ui/views/PTStackView.h"

#include "platform/runtime/DispatchQueue.h"
#include "platform/ui/ModalRunner.h"
#include "platform/ui/SheetHost.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QProgressBar>
#include <QScreen>

#include <algorithm>
#include <atomic>
#include <climits>

const QString PTProgressSheetWindow::DefaultMessage =
    QStringLiteral("This process can take a long time and may cause Pictern to become unresponsive.");

namespace {
constexpr int SheetWidth = 440;
} // namespace

PTProgressSheetWindow::PTProgressSheetWindow(const QString& title, QObject* parent)
    : QObject(parent), updates_(PTMainQueueCoalescer::create()), sheet_(new PTSheet)
{
    sheet_->setAccessibleName(QStringLiteral("Progress"));
    auto* sheetView = new PTSheetView(sheet_);
    stackView_ = new PTStackView(sheetView);
    stackView_->setAccessibleName(QStringLiteral("Progress sheet"));
    stackView_->resize(SheetWidth, 10);
    sheetView->resize(SheetWidth, 10);

    titleBarController_ = new PTSheetViewTitleBarController(this);

    progressIndicator_ = new QProgressBar;
    progressIndicator_->setAccessibleName(QStringLiteral("Progress"));
    progressIndicator_->setTextVisible(false);
    progressIndicator_->resize(progressIndicator_->width(), 12);
    messageTextField_ = new PTAutoHeightTextField;
    messageTextField_->setAccessibleName(QStringLiteral("Message"));
    cancelControl_ = new PTSheetCloseButton(tr("Cancel"));
    cancelControl_->resize(cancelControl_->sizeHint());
    cancelControl_->hide();
    connect(cancelControl_, &QPushButton::clicked, this, [this] {
        if (cancelHandler_)
            cancelHandler_();
    });

    contentStackView_ = new PTStackView;
    contentStackView_->setSpacing(10);
    contentStackView_->setContentInsets(QMarginsF(20, 20, 20, 20));
    contentStackView_->setGutterInsets(QMarginsF(0, 0, 20, 0));
    contentStackView_->setGutterView(cancelControl_, PTStackLayout::MaxXGutter, PTStackLayout::Centre);
    contentStackView_->setViews({progressIndicator_, messageTextField_});

    buttonContainerView_ = new QWidget;
    buttonContainerView_->setAccessibleName(QStringLiteral("Buttons"));
    auto* buttons = new QHBoxLayout(buttonContainerView_);
    buttons->setContentsMargins(20, 10, 20, 14);
    buttons->addStretch();
    // A one-segment control in the confirmation style; Return clicks it.
    okControl_ = new PTSegmentedControl;
    okControl_->setSegmentCount(1);
    okControl_->setSublabeledFromMenus(true);
    okControl_->setConfirmationStyle(true);
    okControl_->setCustomHeight(24);
    okControl_->setMinWidth(70);
    okControl_->setObeyMinWidthForSingleSegment(true);
    okControl_->setAutoCalculatesFrame(true);
    okControl_->setKeyEquivalent(QStringLiteral("\r"));
    setButtonControlLabel(tr("OK"));
    buttons->addWidget(okControl_);
    buttonContainerView_->resize(SheetWidth, buttons->sizeHint().height());
    buttonContainerView_->hide();
    connect(okControl_, &PTToolbarSegmentedControl::action, this, &PTProgressSheetWindow::ok);

    PTSheetStack::arrange(stackView_, {titleBarController_->view(), contentStackView_, buttonContainerView_});

    setTitle(title);
    setSubTitle(QString());
    setMessage(DefaultMessage);
    setUserInteractiveMode(1);
    applyProgress(0, 0);
}

PTProgressSheetWindow::~PTProgressSheetWindow()
{
    updates_->close();
    if (sheet_) {
        pt::SheetHost::end(sheet_, 0);
        delete sheet_;
    }
}

void PTProgressSheetWindow::setTitle(const QString& title)
{
    updates_->post(TitleKey, [this, title] {
        title_ = title;
        titleBarController_->setTitle(title);
    });
}

void PTProgressSheetWindow::setSubTitle(const QString& subTitle)
{
    updates_->post(SubTitleKey, [this, subTitle] {
        subTitle_ = subTitle;
        titleBarController_->setSubTitle(subTitle);
    });
}

void PTProgressSheetWindow::setMessage(const QString& message)
{
    updates_->post(MessageKey, [this, message] {
        message_ = message;
        messageTextField_->setText(message);
        // An empty message closes its gap in the stack.
        messageTextField_->setVisible(!message.isEmpty());
    });
}

void PTProgressSheetWindow::setProgress(qint64 value, qint64 maximum)
{
    updates_->post(ProgressKey, [this, value, maximum] { applyProgress(value, maximum); });
}

void PTProgressSheetWindow::applyProgress(qint64 value, qint64 maximum)
{
    if (value == 0 && maximum == 0) {
        progressIndicator_->setRange(0, 0);
        return;
    }
    maximum = std::max<qint64>(maximum, 0);
    value = std::clamp<qint64>(value, 0, maximum);
    // The bar counts in int; large totals are scaled down together with their values.
    const qint64 scale = maximum > INT_MAX ? maximum / INT_MAX + 1 : 1;
    const int scaledMaximum = static_cast<int>(maximum / scale);
    // A zero maximum would turn the bar indeterminate; 0 of nothing is an empty bar.
    progressIndicator_->setRange(0, std::max(scaledMaximum, 1));
    progressIndicator_->setValue(static_cast<int>(value / scale));
}

void PTProgressSheetWindow::setFloatingMode(bool floating)
{
    floatingMode_ = floating;
    titleBarController_->setWantsRoundedCorners(floating);
    // Floating: a decorated window of its own whose title bar covers nothing of the content.
    const bool visible = sheet_->isVisible();
    Qt::WindowFlags flags = Qt::Dialog;
    if (floating)
        flags |= Qt::WindowTitleHint | Qt::CustomizeWindowHint;
    else
        flags |= Qt::FramelessWindowHint;
    sheet_->setWindowFlags(flags);
    sheet_->setAttribute(Qt::WA_TranslucentBackground, !floating);
    if (visible)
        sheet_->show();
    titleBarController_->adjustContentInsets(0);
}

void PTProgressSheetWindow::setUserInteractiveMode(int mode)
{
    userInteractiveMode_ = mode;
    okControl_->setEnabled(mode == 0);
}

void PTProgressSheetWindow::setAllowsCancellation(bool allows)
{
    cancelControl_->setVisible(allows);
}

void PTProgressSheetWindow::setCancelHandler(std::function<void()> handler)
{
    cancelHandler_ = std::move(handler);
}

void PTProgressSheetWindow::setButtonControlLabel(const QString& label)
{
    buttonControlLabel_ = label;
    okControl_->setLabel(label, 0);
    okControl_->setFixedSize(okControl_->sizeHint());
}

void PTProgressSheetWindow::setAllowsButtonControls(bool allows)
{
    buttonContainerView_->setVisible(allows);
}

void PTProgressSheetWindow::setAccessoryView(QWidget* view)
{
    if (accessoryView_ == view)
        return;
    if (accessoryView_) {
        QWidget* previous = accessoryView_;
        stackView_->removeView(previous);
        delete previous;
    }
    accessoryView_ = view;
    if (view)
        stackView_->addView(view);
}

QWidget* PTProgressSheetWindow::window() const
{
    return sheet_;
}

int PTProgressSheetWindow::deliveredUpdates() const
{
    return updates_->deliveries();
}

int PTProgressSheetWindow::runModal(Work work)
{
    centre();
    auto hide = std::make_shared<std::atomic<bool>>(false);
    Completion completion = [hide](int code, bool hideSheet) {
        hide->store(hideSheet);
        pt::ModalRunner::stop(code);
    };
    pt::DispatchQueue::global(pt::QueuePriority::High).async([work = std::move(work), completion] {
        work(completion);
    });
    const int code = pt::ModalRunner::run(sheet_, Qt::ApplicationModal);
    if (hide->load())
        this->hide();
    return code;
}

void PTProgressSheetWindow::ok()
{
    pt::ModalRunner::stop(1);
    hide();
}

void PTProgressSheetWindow::centre()
{
    const QWidget* over = PTMainWindow();
    const QScreen* screen = over ? over->screen() : QGuiApplication::primaryScreen();
    const QRect area = over ? over->geometry() : (screen ? screen->availableGeometry() : QRect());
    sheet_->move(area.center() - QPoint(sheet_->width() / 2, sheet_->height() / 2));
}

void PTProgressSheetWindow::show()
{
    centre();
    sheet_->show();
    sheet_->raise();
    sheet_->activateWindow();
}

void PTProgressSheetWindow::hide()
{
    sheet_->hide();
}

void PTProgressSheetWindow::beginSession()
{
    beginSessionForWindow(nullptr);
}

void PTProgressSheetWindow::beginSessionForWindow(QWidget* window)
{
    if (!window)
        window = PTMainWindow();
    if (!window) {
        shownAlone_ = true;
        show();
        return;
    }
    // The host puts it on the deepest sheet already there.
    pt::SheetHost::begin(window, sheet_);
}

void PTProgressSheetWindow::endSession()
{
    if (std::exchange(shownAlone_, false))
        hide();
    else
        pt::SheetHost::end(sheet_, 1);
}
