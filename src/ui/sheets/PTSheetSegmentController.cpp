#include "ui/sheets/PTSheetSegmentController.h"

#include "platform/runtime/Defaults.h"
#include "ui/views/PTStackView.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QToolButton>

PTSheetSegmentController::PTSheetSegmentController(const QString& identifier, bool autoExpand, QObject* parent)
    : PTSheetSegmentController(identifier, DefaultsKeyFormat, new PTStackView, autoExpand, parent)
{
}

PTSheetSegmentController::PTSheetSegmentController(const QString& identifier, const QString& keyFormat,
                                                   PTStackView* view, bool autoExpand, QObject* parent)
    : QObject(parent), identifier_(identifier), keyFormat_(keyFormat), collapsed_(!autoExpand)
{
    view_ = view;
    view_->setAccessibleName(identifier);
    view->setSpacing(5);

    headerView_ = new QWidget;
    headerView_->setAccessibleName(QStringLiteral("Section header"));
    auto* header = new QHBoxLayout(headerView_);
    header->setContentsMargins(20, 6, 20, 0);
    titleField_ = new QLabel;
    titleField_->setAccessibleName(QStringLiteral("Section title"));
    QFont font = titleField_->font();
    font.setPixelSize(11);
    font.setBold(true);
    titleField_->setFont(font);
    toggleButton_ = new QToolButton;
    toggleButton_->setAccessibleName(QStringLiteral("Show or hide the section"));
    toggleButton_->setCheckable(true);
    toggleButton_->setAutoRaise(true);
    connect(toggleButton_, &QToolButton::clicked, this, [this] { toggle(); });
    header->addWidget(titleField_);
    header->addStretch();
    header->addWidget(toggleButton_);
    headerView_->resize(headerView_->sizeHint());
    // The whole header folds and unfolds, its title included: the arrow alone is a small target.
    headerView_->installEventFilter(this);

    stackView_ = new PTStackView;
    stackView_->setAccessibleName(QStringLiteral("Section contents"));
    view->setViews({headerView_, stackView_});
    reloadFromDefaults();
}

PTSheetSegmentController::~PTSheetSegmentController()
{
    // A section not handed to a sheet is still ours.
    if (view_ && !view_->parent())
        delete view_;
}

bool PTSheetSegmentController::eventFilter(QObject* watched, QEvent* event)
{
    // The title and the header's empty room take no clicks of their own, so they reach the header; the toggle
    // button answers its clicks itself.
    if (watched == headerView_ && event->type() == QEvent::MouseButtonPress) {
        headerPressed_ = static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
        return headerPressed_;
    }
    if (watched == headerView_ && event->type() == QEvent::MouseButtonRelease && headerPressed_) {
        headerPressed_ = false;
        const auto* release = static_cast<QMouseEvent*>(event);
        if (release->button() == Qt::LeftButton && headerView_->rect().contains(release->position().toPoint()))
            toggle();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

QString PTSheetSegmentController::title() const
{
    return titleField_->text();
}

void PTSheetSegmentController::setTitle(const QString& title)
{
    titleField_->setText(title);
}

void PTSheetSegmentController::setCollapsible(bool collapsible)
{
    collapsible_ = collapsible;
    headerView_->setVisible(collapsible);
}

QString PTSheetSegmentController::defaultsKey() const
{
    return keyFormat_.arg(identifier_);
}

void PTSheetSegmentController::toggle()
{
    if (!collapsible_)
        return;
    if (collapsed_)
        expand();
    else
        collapse();
}

void PTSheetSegmentController::expand()
{
    apply(false);
}

void PTSheetSegmentController::collapse()
{
    apply(true);
}

void PTSheetSegmentController::reloadFromDefaults()
{
    const QVariant stored = pt::Defaults::standard().objectForKey(defaultsKey());
    if (stored.isValid())
        collapsed_ = pt::Defaults::standard().boolForKey(defaultsKey());
    ignorePropagation_ = true;
    apply(collapsed_);
    ignorePropagation_ = false;
}

void PTSheetSegmentController::apply(bool collapsed)
{
    collapsed_ = collapsed;
    stackView_->setVisible(!collapsed);
    toggleButton_->setChecked(!collapsed);
    toggleButton_->setArrowType(collapsed ? Qt::RightArrow : Qt::DownArrow);
    if (!ignorePropagation_)
        pt::Defaults::standard().set(defaultsKey(), collapsed);
}
