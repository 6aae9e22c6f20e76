#pragma once

#include "transfer/export/PTExportOutputOption.h"

#include <QObject>
#include <QPointer>

#include <functional>

#include "transfer/export/PTExporterSheetRowView.h"

class PTColourWellControl;
class PTExporterSheetRowView;
class PTSheetTextField;
class PTSheetViewPopupButton;
class QMenu;
class QPushButton;
class QStackedWidget;

// One row of the export sheet, editing one output: colour, format, size (a text field, or a pop-up of ICO
// sizes), prefix and suffix, and a close control shown while hovered when the row can be removed. Changes are
// reported once they settle: at once for a format change, 0.1 s after the last keystroke or colour move otherwise.
class PTExportSheetOptionViewController : public QObject {
    Q_OBJECT
public:
    // The format pop-up's entries in order; -1 is a separator.
    static const QList<qint64>& formatMenuOrder();
    static const QStringList& icoSizes();
    // The format's title in the format pop-ups ("PNG", "WEBP", "ORIG", ...).
    static QString formatTitle(qint64 format);

    explicit PTExportSheetOptionViewController(QObject* parent = nullptr);
    ~PTExportSheetOptionViewController() override;

    PTExporterSheetRowView* view() const { return view_.data(); }
    void setOption(const PTExportOutputOption& option);
    // The option with the controls copied into it.
    PTExportOutputOption option();
    void synchronize() { updateOptionFromView(true); }
    qint64 format() const;
    QString sizeFormat() const;
    void selectFormat(qint64 format);
    void setSizeText(const QString& text);
    void setFillColor(const QColor& color);
    void focus();

    bool removable() const { return removable_; }
    void setRemovable(bool removable);
    bool closeControlVisible() const;

    std::function<void(PTExportSheetOptionViewController*)> changeHandler;
    std::function<void(PTExportSheetOptionViewController*)> removalHandler;

    PTColourWellControl* colorWell() const { return colorWell_; }
    PTSheetViewPopupButton* typeControl() const { return typeControl_; }
    PTSheetViewPopupButton* icoSizeControl() const { return icoSizeControl_; }
    PTSheetTextField* sizeControl() const { return sizeControl_; }
    PTSheetTextField* prefixControl() const { return prefixControl_; }
    PTSheetTextField* suffixControl() const { return suffixControl_; }

    void remove();

private:
    void updateOptionFromView(bool immediate);
    void formatDidChange();
    void report(bool immediate);

    PTExportOutputOption option_;
    PTExportOutputOption changeCopy_;
    bool removable_ = true;
    bool ignoreUpdates_ = false;
    quint64 pendingReport_ = 0;
    QPointer<PTExporterSheetRowView> view_;
    PTColourWellControl* colorWell_;
    PTSheetViewPopupButton* typeControl_;
    QMenu* typeMenu_;
    PTSheetViewPopupButton* icoSizeControl_;
    QMenu* icoMenu_;
    QStackedWidget* sizeSlot_;
    PTSheetTextField* sizeControl_;
    PTSheetTextField* prefixControl_;
    PTSheetTextField* suffixControl_;
    QPushButton* closeControl_;
};
