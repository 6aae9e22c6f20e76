#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

class PTProgressSheetWindow;

// One run of the starter set under a progress sheet on a window: the download's progress in the bar, Cancel, and
// a time limit after which it gives up, so that nothing waits on it for ever. finished() comes once, on the main
// queue, saying whether icons were imported; a failure (not a cancel) first says so in an alert.
class PTStarterSetImport : public QObject {
    Q_OBJECT
public:
    static constexpr int DefaultTimeoutMs = 5 * 60 * 1000;
    static const QString FailureMessage; // "The starter icons could not be downloaded."

    explicit PTStarterSetImport(QWidget* window, QObject* parent = nullptr);
    ~PTStarterSetImport() override;

    void setTimeout(int milliseconds) { timeout_.setInterval(milliseconds); }
    // Starts the download; false (and no finished()) when no starter set is available.
    bool start();
    bool isRunning() const { return running_; }
    PTProgressSheetWindow* sheet() const { return sheet_.get(); }

Q_SIGNALS:
    void finished(bool imported);

private:
    void finish(bool imported, bool cancelled = false);

    QPointer<QWidget> window_;
    std::unique_ptr<PTProgressSheetWindow> sheet_;
    QTimer timeout_;
    bool running_ = false;
};
