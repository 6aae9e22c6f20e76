#include "transfer/replace/PTReplaceIconTableViewCellController.h"

#include "browser/quicklook/PTQuickLookImageView.h"
#include "library/entities/PTItem.h"
#include "platform/runtime/Defaults.h"
#include "transfer/import/PTSheetBrowseView.h"
#include "transfer/replace/PTReplaceIconTableViewRowView.h"
#include "transfer/replace/PTReplaceIconsSheetController.h"
#include "ui/PTPreferenceKeys.h"
#include "ui/controls/PTTitleLabel.h"
#include "ui/theme/PTStyles.h"
#include "ui/theme/PTThemeController.h"

#include <QCheckBox>
#include <QEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

PTReplaceIconTableViewCellController::PTReplaceIconTableViewCellController(PTItem* item, QObject* parent)
    : QObject(parent), item_(item), view_(new PTReplaceIconTableViewRowView)
{
    view_->setFixedHeight(RowHeight);
    view_->setAccessibleName(item->name());
    auto* layout = new QHBoxLayout(view_);
    layout->setContentsMargins(15, 0, 20, 0);
    layout->setSpacing(14);

    imageView_ = new PTQuickLookImageView;
    imageView_->setAccessibleName(QStringLiteral("Thumbnail"));
    imageView_->setFixedSize(ImageSide, ImageSide);
    layout->addWidget(imageView_);

    auto* labels = new QVBoxLayout;
    labels->setSpacing(4);
    labels->addStretch();
    titleField_ = new PTTitleLabel(item->name());
    titleField_->setAccessibleName(QStringLiteral("Name"));
    titleField_->setFont(PTStyles::systemFont(13));
    titleField_->setAppearanceAquaColor(QColor(0x4A, 0x4A, 0x4A));
    titleField_->setAppearanceDarkColor(PTStyles::defaultDarkModeWhite());
    subtitleField_ = new QLabel;
    subtitleField_->setAccessibleName(QStringLiteral("File"));
    subtitleField_->setFont(PTStyles::systemFont(11));
    subtitleField_->setTextFormat(Qt::RichText);
    // Sized by the row, not by its text: a long name is cut instead of widening the sheet.
    subtitleField_->setMinimumWidth(1);
    subtitleField_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    subtitleField_->installEventFilter(this);
    labels->addWidget(titleField_);
    labels->addWidget(subtitleField_);
    labels->addStretch();
    layout->addLayout(labels, 1);

    browseView_ = new PTSheetBrowseView;
    browseView_->setAccessibleName(QStringLiteral("Browse for %1").arg(item->name()));
    browseView_->setAcceptsOneFileOnly(true);
    browseView_->setAllowedFileTypes(PTImportExtensions());
    browseView_->setOptionsProvider([] { return PTReplaceIconsSheetController::ImportOptions; });
    browseView_->setUrlHandler([this](const QList<QUrl>& urls) { urlsChosen(urls); });
    browseView_->setAutoCalculatesFrame(false);
    browseView_->setFixedWidth(BrowseWidth);
    layout->addWidget(browseView_, 0, Qt::AlignVCenter);

    checkbox_ = new QCheckBox;
    checkbox_->setAccessibleName(QStringLiteral("Replace %1").arg(item->name()));
    checkbox_->setChecked(true);
    checkbox_->setEnabled(false);
    connect(checkbox_, &QCheckBox::clicked, this, &PTReplaceIconTableViewCellController::setEnabledFromSender);
    layout->addWidget(checkbox_);

    appearanceObserver_ = PTAppearanceObserver(this, &PTReplaceIconTableViewCellController::updateAppearance);
    connect(&pt::Defaults::standard(), &pt::Defaults::changed, this, [this](const QString& key) {
        if (key == PTPreferenceKeys::DarkModeAutoColorIcons && PTThemeIsAppearance(0))
            updateAppearance();
    });
    updateLabels();
}

PTReplaceIconTableViewCellController::~PTReplaceIconTableViewCellController()
{
    if (thumbnailRequest_)
        PTImageCache::sharedCache().cancelProcessID(thumbnailRequest_);
    delete view_;
}

void PTReplaceIconTableViewCellController::setReplacementURL(const QUrl& url)
{
    replacementURL_ = url;
    if (!url.isEmpty()) {
        // The well reports what it shows back through its handler; this URL is the one it reports.
        browseView_->setPathURLs({url});
    }
    updateLabels();
}

void PTReplaceIconTableViewCellController::setEnabled(bool enabled)
{
    checkbox_->setChecked(enabled);
    if (enabled_ == enabled)
        return;
    enabled_ = enabled;
    emit enabledChanged(enabled);
}

void PTReplaceIconTableViewCellController::setEnabledFromSender()
{
    setEnabled(checkbox_->isEnabled() && checkbox_->isChecked());
}

void PTReplaceIconTableViewCellController::urlsChosen(const QList<QUrl>& urls)
{
    if (urls.isEmpty())
        return;
    checkbox_->setEnabled(true);
    checkbox_->setChecked(true);
    replacementURL_ = urls.first();
    updateLabels();
}

void PTReplaceIconTableViewCellController::updateLabels()
{
    const QString fileName = item_->newFileName();
    const QString replacement = replacementURL_.isEmpty()
                                    ? QString()
                                    : QStringLiteral(" → ") + QFileInfo(replacementURL_.toLocalFile()).fileName();
    const QFontMetrics metrics(subtitleField_->font());
    const QString shown = metrics.elidedText(fileName + replacement, Qt::ElideRight, std::max(subtitleField_->width(), 1));
    const QString oldPart = shown.left(fileName.size());
    const QString newPart = shown.mid(oldPart.size());
    const QString span = QStringLiteral("<span style=\"color:%1\">%2</span>");
    subtitleField_->setText(span.arg(PTStyles::defaultControlTextColor().name(), oldPart.toHtmlEscaped())
                            + (newPart.isEmpty() ? QString() : span.arg(titleField_->textColor().name(), newPart.toHtmlEscaped())));
    if (!replacementURL_.isEmpty()) {
        checkbox_->setEnabled(true);
        setEnabledFromSender();
    }
}

void PTReplaceIconTableViewCellController::updateAppearance()
{
    // The file names take their colours from the theme.
    updateLabels();
    PTImageCacheOptions options;
    options.size = QSizeF(ImageSide - ImageInset, ImageSide - ImageInset);
    if (PTThemeIsAppearance(0) && PTDarkModeAutoColorIconsEnabled())
        options.color = PTStyles::defaultDarkModeWhite();
    PTImageCache& cache = PTImageCache::sharedCache();
    if (thumbnailRequest_)
        cache.cancelProcessID(thumbnailRequest_);
    // A stored rendering answers under an ID this row never sees, so it cannot be cancelled: the row may be gone.
    const QPointer<PTReplaceIconTableViewCellController> guard(this);
    thumbnailRequest_ = cache.imageForItem(item_, options, [guard](const QImage& image, PTImageCache::RequestID, bool) {
        if (!guard)
            return;
        guard->thumbnailRequest_ = 0;
        guard->imageView_->setImage(image);
    });
}

bool PTReplaceIconTableViewCellController::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == subtitleField_ && event->type() == QEvent::Resize)
        updateLabels();
    return QObject::eventFilter(watched, event);
}
