#include "ui/sheets/PTSheetViewTitleBarController.h"

#include "ui/controls/PTAutoHeightTextField.h"
#include "ui/controls/PTTitleLabel.h"
#include "ui/sheets/PTSheetViewTitleBackgroundView.h"
#include "ui/sheets/PTSheetViewTitleBarActionControl.h"

#include "foundation/ColorPrivate.h"

namespace {
constexpr qreal BandInset = 15;
constexpr qreal SideInset = 20;
} // namespace

PTSheetViewTitleBarController::PTSheetViewTitleBarController(QObject* parent)
    : QObject(parent), view_(new PTSheetViewTitleBackgroundView)
{
    titleField_ = new PTTitleLabel;
    QFont titleFont;
    titleFont.setPixelSize(13);
    titleFont.setBold(true);
    titleField_->setFont(titleFont);
    titleField_->setAppearanceAquaColor(PTColorFromHEX(0x4A4A4A, 1.0));
    titleField_->setAccessibleName(QStringLiteral("Title"));
    // A subtitle may be a long reason (a refused download, say): it wraps within the band rather than being cut,
    // and shows as written, never as markup.
    subtitleField_ = new PTAutoHeightTextField;
    subtitleField_->setTextFormat(Qt::PlainText);
    QFont subtitleFont;
    subtitleFont.setPixelSize(11);
    subtitleField_->setFont(subtitleFont);
    subtitleField_->setAccessibleName(QStringLiteral("Subtitle"));
    subtitleField_->hide();
    for (PTTitleLabel* field : {static_cast<PTTitleLabel*>(titleField_), static_cast<PTTitleLabel*>(subtitleField_)})
        field->resize(field->width(), field->sizeHint().height());
    view_->setSpacing(2);
    view_->setContentInsets(QMarginsF(SideInset, BandInset, SideInset, BandInset));
    view_->setViews({titleField_, subtitleField_});
    view_->setDidLayoutHandler([this](const QRect&) { relayoutAccessoryView(); });
}

PTSheetViewTitleBarController::~PTSheetViewTitleBarController()
{
    // The band belongs to the stack it was put into; one never placed goes with its controller.
    if (view_ && !view_->parentWidget())
        delete view_;
}

void PTSheetViewTitleBarController::setTitle(const QString& title)
{
    title_ = title;
    titleField_->setText(title);
    view_->relayoutAndPropagateFrameChange();
}

void PTSheetViewTitleBarController::setSubTitle(const QString& subTitle)
{
    subTitle_ = subTitle;
    subtitleField_->setText(subTitle);
    subtitleField_->setVisible(!subTitle.isEmpty());
    view_->relayoutAndPropagateFrameChange();
}

void PTSheetViewTitleBarController::setShowsActionButton(bool shows)
{
    showsActionButton_ = shows;
    if (shows) {
        auto* button = new PTSheetViewTitleBarActionControl;
        connect(button, &QAbstractButton::clicked, this, &PTSheetViewTitleBarController::actionTriggered);
        setAccessoryView(button);
    } else if (accessoryView_)
        setAccessoryView(nullptr);
}

void PTSheetViewTitleBarController::setAccessoryView(QWidget* view)
{
    if (view == accessoryView_)
        return;
    delete accessoryView_;
    accessoryView_ = view;
    if (view) {
        view->setParent(view_);
        view->show();
        relayoutAccessoryView();
    }
}

void PTSheetViewTitleBarController::relayoutAccessoryView()
{
    if (!accessoryView_)
        return;
    const QSize size = accessoryView_->size();
    accessoryView_->setGeometry(QRect(QPoint(view_->width() - size.width() - SideInset,
                                             (view_->height() - size.height()) / 2),
                                      size));
}

bool PTSheetViewTitleBarController::wantsRoundedCorners() const
{
    return view_->wantsRoundedCorners();
}

void PTSheetViewTitleBarController::setWantsRoundedCorners(bool wants)
{
    view_->setWantsRoundedCorners(wants);
}

qreal PTSheetViewTitleBarController::topInsetForTitleBarOverlap(qreal overlap)
{
    return overlap > 0 ? static_cast<float>(overlap) + 5 : BandInset;
}

void PTSheetViewTitleBarController::adjustContentInsets(qreal overlap)
{
    view_->setContentInsets(QMarginsF(SideInset, topInsetForTitleBarOverlap(overlap), SideInset, BandInset));
}
