#pragma once

#include "library/upkeep/PTProgressPanel.h"

#include <QObject>
#include <QPointer>

#include <memory>

class PTMainQueueCoalescer;
class QLabel;
class QProgressBar;
class QWidget;

// The library's progress panel: a window of its own, modal to the main window,
// with a bold title, a description under it and a busy bar. It follows the
// theme. The user cannot close it; it goes when the work hides it. Title,
// description and hide() may be called from any thread: worker calls coalesce
// (the last wins) and reach the widgets through the main queue at most 30 times
// a second.
class PTProgressPanelWindow : public QObject, public PTProgressPanel {
    Q_OBJECT
public:
    static constexpr int PanelWidth = 380;

    explicit PTProgressPanelWindow(QObject* parent = nullptr);
    ~PTProgressPanelWindow() override;

    // Shows the panel centred over the main window and modal to it; with no main
    // window, modal to the whole application.
    void show() override;
    void hide() override;
    void setTitle(const QString& title) override;
    void setDescription(const QString& description) override;

    // The parts, for the accessibility tree and for tests. The panel belongs to
    // the main window while it is shown over it, and goes with it.
    QWidget* progressPanel() const { return progressPanel_; }
    QWidget* progressView() const { return progressView_; }
    QProgressBar* progressIndicator() const { return progressIndicator_; }
    QLabel* progressTitleField() const { return progressTitleField_; }
    QLabel* progressDescriptionField() const { return progressDescriptionField_; }

protected:
    // Refuses to close the panel: the work decides when it goes.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum UpdateKey { TitleKey, DescriptionKey, VisibilityKey };
    void showNow();
    // Fits the height to the text after a change.
    void relayout();

    std::shared_ptr<PTMainQueueCoalescer> updates_;
    QPointer<QWidget> progressPanel_;
    QWidget* progressView_ = nullptr;
    QProgressBar* progressIndicator_ = nullptr;
    QLabel* progressTitleField_ = nullptr;
    QLabel* progressDescriptionField_ = nullptr;
};
