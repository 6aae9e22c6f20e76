#pragma once

#include "browser/cache/PTImageCache.h"
#include "ui/theme/PTAppearanceObserver.h"

#include <QObject>
#include <QPointer>
#include <QUrl>

class PTItem;
class PTQuickLookImageView;
class PTReplaceIconTableViewRowView;
class PTSheetBrowseView;
class PTTitleLabel;
class QCheckBox;
class QLabel;

// One row of the replace sheet: the item's thumbnail, name and file name, a well that takes one replacement
// file by browsing or dropping, and a checkbox that says whether the row takes part. The checkbox starts ticked
// but disabled; it is enabled once a file is chosen, and the row is enabled while it is enabled and ticked.
class PTReplaceIconTableViewCellController : public QObject {
    Q_OBJECT
public:
    static constexpr int RowHeight = 100;
    static constexpr int ImageSide = 70;
    // The thumbnail is this much smaller than its view in each dimension.
    static constexpr int ImageInset = 15;
    static constexpr int BrowseWidth = 230;

    explicit PTReplaceIconTableViewCellController(PTItem* item, QObject* parent = nullptr);
    ~PTReplaceIconTableViewCellController() override;

    PTItem* item() const { return item_; }
    QUrl replacementURL() const { return replacementURL_; }
    // Shows the file in the well (empty: none) and updates the labels.
    void setReplacementURL(const QUrl& url);
    bool enabled() const { return enabled_; }
    void setEnabled(bool enabled);

    PTReplaceIconTableViewRowView* view() const { return view_; }
    PTQuickLookImageView* imageView() const { return imageView_; }
    PTTitleLabel* titleField() const { return titleField_; }
    QLabel* subtitleField() const { return subtitleField_; }
    PTSheetBrowseView* browseView() const { return browseView_; }
    QCheckBox* checkbox() const { return checkbox_; }

    // Requests the thumbnail for the theme now (tinted in the dark theme when the user asks for it).
    void updateAppearance();
    void updateLabels();

signals:
    void enabledChanged(bool enabled);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void urlsChosen(const QList<QUrl>& urls);
    void setEnabledFromSender();

    PTItem* item_;
    QUrl replacementURL_;
    bool enabled_ = false;
    PTImageCache::RequestID thumbnailRequest_ = 0;
    QPointer<PTReplaceIconTableViewRowView> view_;
    PTQuickLookImageView* imageView_;
    PTTitleLabel* titleField_;
    QLabel* subtitleField_;
    PTSheetBrowseView* browseView_;
    QCheckBox* checkbox_;
    PTAppearanceObserver appearanceObserver_;
};
