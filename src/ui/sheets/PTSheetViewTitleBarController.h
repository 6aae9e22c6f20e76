#pragma once

#include "ui/controls/PTAutoHeightTextField.h"

#include <QObject>
#include <QPointer>

class PTSheetViewTitleBackgroundView;
class QWidget;

// Builds the head of a sheet: a title, a subtitle under it (hidden while empty) and an optional accessory (the
// round action button, say) 20 pixels from the right edge, on the title band. Sheet controllers put view()
// first in their stack; the stack then owns it.
class PTSheetViewTitleBarController : public QObject {
    Q_OBJECT
public:
    explicit PTSheetViewTitleBarController(QObject* parent = nullptr);
    ~PTSheetViewTitleBarController() override;

    PTSheetViewTitleBackgroundView* view() const { return view_; }
    QString title() const { return title_; }
    QString subTitle() const { return subTitle_; }
    void setTitle(const QString& title);
    void setSubTitle(const QString& subTitle);
    PTTitleLabel* titleField() const { return titleField_; }
    PTTitleLabel* subtitleField() const { return subtitleField_; }

    bool showsActionButton() const { return showsActionButton_; }
    // A new action button becomes the accessory, reporting its clicks through actionTriggered(); false removes the
    // accessory.
    void setShowsActionButton(bool shows);
    QWidget* accessoryView() const { return accessoryView_; }
    // Replaces the accessory (the band keeps it).
    void setAccessoryView(QWidget* view);
    void relayoutAccessoryView();

    bool wantsRoundedCorners() const;
    void setWantsRoundedCorners(bool wants);
    // Makes room at the top for a window title bar that covers `overlap` pixels of the sheet's content.
    void adjustContentInsets(qreal overlap);
    // The top inset for such an overlap: below the covering bar, else the band's own 15.
    static qreal topInsetForTitleBarOverlap(qreal overlap);

signals:
    // The action button was clicked.
    void actionTriggered();

private:
    QPointer<PTSheetViewTitleBackgroundView> view_;
    PTTitleLabel* titleField_ = nullptr;
    PTAutoHeightTextField* subtitleField_ = nullptr;
    QPointer<QWidget> accessoryView_;
    bool showsActionButton_ = false;
    QString title_;
    QString subTitle_;
};
