#pragma once

#include "library/upkeep/PTProgressSheet.h"

#include <QObject>
#include <QPointer>

#include <memory>

class PTAutoHeightTextField;
class PTMainQueueCoalescer;
class PTSheet;
class PTSegmentedControl;
class PTSheetCloseButton;
class PTSheetViewTitleBarController;
class PTStackView;
class QProgressBar;
class QWidget;

// The progress display around long work: a title band, a bar (indeterminate for 0 of 0), a message line, an
// optional Cancel button beside them, an optional row with an OK button, and an optional accessory view. It
// runs as a sheet on a window, as an application-modal window whose work runs on a worker, or on its own.
// Title, subtitle, message and progress may be set from any thread: worker calls coalesce (the last wins) and
// reach the widgets through the main queue at most 30 times a second.
class PTProgressSheetWindow : public QObject, public PTProgressSheet {
    Q_OBJECT
public:
    static const QString DefaultMessage;

    explicit PTProgressSheetWindow(const QString& title, QObject* parent = nullptr);
    ~PTProgressSheetWindow() override;

    void setTitle(const QString& title) override;
    void setSubTitle(const QString& subTitle) override;
    void setMessage(const QString& message) override;
    void setProgress(qint64 value, qint64 maximum) override;
    void setFloatingMode(bool floating) override;
    void setUserInteractiveMode(int mode) override;
    void setAllowsCancellation(bool allows) override;
    void setCancelHandler(std::function<void()> handler) override;
    void setButtonControlLabel(const QString& label) override;
    void setAllowsButtonControls(bool allows) override;
    int runModal(Work work) override;
    void show() override;
    void hide() override;
    void beginSession() override;
    void endSession() override;

    // Attaches the sheet to the window (the main window for null), or to the sheet already on it; with no
    // window at all the sheet shows on its own.
    void beginSessionForWindow(QWidget* window);
    // Replaces the accessory view below the button row; the sheet keeps it.
    void setAccessoryView(QWidget* view);
    // The sheet window, to place panels over it.
    QWidget* window() const;

    QString title() const { return title_; }
    QString subTitle() const { return subTitle_; }
    QString message() const { return message_; }
    bool floatingMode() const { return floatingMode_; }
    int userInteractiveMode() const { return userInteractiveMode_; }
    QString buttonControlLabel() const { return buttonControlLabel_; }

    // The parts, for the shell's own wiring and for tests.
    QProgressBar* progressIndicator() const { return progressIndicator_; }
    PTAutoHeightTextField* messageTextField() const { return messageTextField_; }
    PTSegmentedControl* okControl() const { return okControl_; }
    PTSheetCloseButton* cancelControl() const { return cancelControl_; }
    QWidget* buttonContainerView() const { return buttonContainerView_; }
    PTStackView* stackView() const { return stackView_; }
    PTStackView* contentStackView() const { return contentStackView_; }
    PTSheetViewTitleBarController* titleBarController() const { return titleBarController_; }
    // Deliveries of worker updates to the main queue so far.
    int deliveredUpdates() const;

private:
    enum UpdateKey { TitleKey, SubTitleKey, MessageKey, ProgressKey };
    void applyProgress(qint64 value, qint64 maximum);
    void ok();
    void centre();

    std::shared_ptr<PTMainQueueCoalescer> updates_;
    QPointer<PTSheet> sheet_;
    PTStackView* stackView_ = nullptr;
    PTStackView* contentStackView_ = nullptr;
    PTSheetViewTitleBarController* titleBarController_ = nullptr;
    QProgressBar* progressIndicator_ = nullptr;
    PTAutoHeightTextField* messageTextField_ = nullptr;
    QWidget* buttonContainerView_ = nullptr;
    PTSegmentedControl* okControl_ = nullptr;
    PTSheetCloseButton* cancelControl_ = nullptr;
    QPointer<QWidget> accessoryView_;
    std::function<void()> cancelHandler_;
    QString title_;
    QString subTitle_;
    QString message_;
    QString buttonControlLabel_;
    int userInteractiveMode_ = 1;
    bool floatingMode_ = false;
    bool shownAlone_ = false;
};
