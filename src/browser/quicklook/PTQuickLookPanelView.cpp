#include "browser/quicklook/PTQuickLookPanelView.h"

#include "browser/quicklook/PTQuickLookBackgroundView.h"
#include "browser/quicklook/PTQuickLookImageView.h"
#include "foundation/ColorPrivate.h"
#include "ui/colour/PTColourWellControl.h"
#include "ui/controls/PTSwitchControl.h"
#include "ui/theme/PTStyles.h"
#include "ui/views/PTStackView.h"
#include "ui/views/PTStackViewSeperatorView.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int PreviewInset = 20;
constexpr int RowHeight = 44;
constexpr int RowMargin = 14;
constexpr int TitleHeight = 40;
constexpr int SwatchSide = 14;
constexpr int SizeCount = 10;
constexpr QSize WellSize(44, 26);

QLabel* label(const QString& text, QWidget* parent)
{
    auto* field = new QLabel(text, parent);
    field->setFont(PTStyles::systemFont(12));
    return field;
}

QToolButton* stepButton(const QString& text, const QString& name, QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setText(text);
    button->setAccessibleName(name);
    button->setAutoRaise(true);
    return button;
}

} // namespace

QColor PTQuickLookPanelView::presetColor(int tag)
{
    switch (tag) {
    case 0:
        return Qt::white;
    case 1:
        return colorPrivate::colorFromHEX(0xD9DCE0, 1);
    case 2:
        return colorPrivate::colorFromHEX(0x1C202A, 1);
    case 3:
        return colorPrivate::colorFromHEX(0xFFFFFF, 0);
    default:
        return {};
    }
}

PTQuickLookPanelView::PTQuickLookPanelView(PTBrowserSidebar::OpenInControl* openInControl, QWidget* parent)
    : QWidget(parent)
    , previewBackground_(new PTQuickLookBackgroundView(this))
    , imageView_(new PTQuickLookImageView(previewBackground_))
    , titleField_(label(QString(), this))
    , containingScrollView_(new QScrollArea(this))
    , stackView_(new PTStackView)
    , openInControl_(openInControl)
{
    setAccessibleName(QStringLiteral("Preview"));
    previewBackground_->setGeometry(0, 0, PreviewSide, PreviewSide);
    imageView_->setGeometry(PreviewInset, PreviewInset, PreviewSide - 2 * PreviewInset, PreviewSide - 2 * PreviewInset);
    imageView_->setAccessibleName(QStringLiteral("Preview image"));

    titleField_->setGeometry(PreviewSide + RowMargin, 0, SidebarWidth - 2 * RowMargin, TitleHeight);
    titleField_->setAccessibleName(QStringLiteral("Icon name and type"));
    QFont bold = titleField_->font();
    bold.setBold(true);
    titleField_->setFont(bold);
    containingScrollView_->setGeometry(PreviewSide, TitleHeight, SidebarWidth, PreviewSide - TitleHeight);
    containingScrollView_->setFrameShape(QFrame::NoFrame);
    containingScrollView_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    containingScrollView_->setWidgetResizable(true);
    containingScrollView_->setAccessibleName(QStringLiteral("Preview options"));
    containingScrollView_->setWidget(stackView_);

    hiDPISwitchControl_ = new PTSwitchControl;
    hiDPISwitchControl_->setAccessibleName(QStringLiteral("Show in pixels"));
    hiDPISwitchControl_->setFixedSize(32, 18);
    renderView_ = row(QStringLiteral("Pixels"), hiDPISwitchControl_);

    auto* sizeContent = new QWidget;
    auto* sizeLayout = new QHBoxLayout(sizeContent);
    sizeLayout->setContentsMargins(0, 0, 0, 0);
    decreaseButton_ = stepButton(QStringLiteral("\u2212"), QStringLiteral("Smaller"), sizeContent);
    sizeSlider_ = new QSlider(Qt::Horizontal, sizeContent);
    sizeSlider_->setAccessibleName(QStringLiteral("Preview size"));
    sizeSlider_->setRange(0, SizeCount - 1);
    sizeSlider_->setTickPosition(QSlider::TicksBelow);
    sizeSlider_->setTickInterval(1);
    sizeSlider_->setTracking(true);
    increaseButton_ = stepButton(QStringLiteral("+"), QStringLiteral("Larger"), sizeContent);
    sizeLabel_ = label(QString(), sizeContent);
    sizeLabel_->setAccessibleName(QStringLiteral("Preview size in pixels"));
    sizeLabel_->setMinimumWidth(64);
    sizeLabel_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    sizeLayout->addWidget(decreaseButton_);
    sizeLayout->addWidget(sizeSlider_, 1);
    sizeLayout->addWidget(increaseButton_);
    sizeLayout->addWidget(sizeLabel_);
    sizeView_ = row(QString(), sizeContent, true);

    auto* backgroundContent = new QWidget;
    auto* backgroundLayout = new QHBoxLayout(backgroundContent);
    backgroundLayout->setContentsMargins(0, 0, 0, 0);
    backgroundControl_ = new PTColourWellControl(backgroundContent);
    backgroundControl_->setAccessibleName(QStringLiteral("Background colour"));
    backgroundControl_->setFixedSize(WellSize);
    backgroundLayout->addWidget(backgroundControl_);
    const QString presetNames[] = {QStringLiteral("White background"), QStringLiteral("Light grey background"),
                                   QStringLiteral("Dark background"), QStringLiteral("Transparent background")};
    for (int tag = 0; tag < int(presetButtons_.size()); ++tag) {
        auto* button = new QToolButton(backgroundContent);
        button->setAccessibleName(presetNames[tag]);
        button->setToolTip(presetNames[tag]);
        button->setIcon(QPixmap::fromImage(PTColourWellControl::imageForColor(presetColor(tag), SwatchSide)));
        button->setAutoRaise(true);
        presetButtons_[size_t(tag)] = button;
        backgroundLayout->addWidget(button);
    }
    backgroundLayout->addStretch(1);
    backgroundView_ = row(QStringLiteral("Background"), backgroundContent, true);

    colorControl_ = new PTColourWellControl;
    colorControl_->setAccessibleName(QStringLiteral("Icon colour"));
    colorControl_->setFixedSize(WellSize);
    colorView_ = row(QStringLiteral("Colour"), colorControl_);

    if (openInControl_)
        openInControl_->setAccessibleName(QStringLiteral("Open in application"));
    openInView_ = row(QStringLiteral("Open In"), openInControl_ ? openInControl_ : new QWidget);
    openInView_->setVisible(openInControl_ != nullptr);

    exportButton_ = new QPushButton(QStringLiteral("Export\u2026"));
    exportButton_->setAccessibleName(QStringLiteral("Export at this size"));
    exportView_ = row(QString(), exportButton_, true);

    auto* separator = new PTStackViewSeperatorView;
    separator->setGeometry(0, 0, 0, 1);
    stackView_->setSpacerView(separator);
    stackView_->setSpacing(1.0);
    stackView_->setViews({renderView_, sizeView_, backgroundView_, colorView_, openInView_, exportView_});
    setFixedSize(PreviewSide + SidebarWidth, PreviewSide);
    applyTheme();
}

QWidget* PTQuickLookPanelView::row(const QString& title, QWidget* content, bool fill)
{
    auto* view = new QWidget;
    auto* layout = new QHBoxLayout(view);
    layout->setContentsMargins(RowMargin, 0, RowMargin, 0);
    if (!title.isEmpty()) {
        QLabel* name = label(title, view);
        name->setMinimumWidth(72);
        layout->addWidget(name);
    }
    if (fill)
        layout->addWidget(content, 1);
    else
        layout->addWidget(content, 1, Qt::AlignLeft | Qt::AlignVCenter);
    view->resize(SidebarWidth, RowHeight);
    view->setFixedHeight(RowHeight);
    return view;
}

void PTQuickLookPanelView::applyTheme()
{
    QPalette palette = containingScrollView_->palette();
    palette.setColor(QPalette::Window, PTStyles::sidebarBackgroundColor());
    containingScrollView_->setPalette(palette);
    containingScrollView_->viewport()->setAutoFillBackground(true);
    containingScrollView_->viewport()->setPalette(palette);
    QPalette own = this->palette();
    own.setColor(QPalette::Window, PTStyles::sidebarBackgroundColor());
    setPalette(own);
    setAutoFillBackground(true);
}
