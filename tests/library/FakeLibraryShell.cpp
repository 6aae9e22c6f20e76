#include "FakeLibraryShell.h"

#include "TestSupport.h"
#include "platform/runtime/DispatchQueue.h"

namespace pt::test {

namespace {

// Hands the work a completion and forwards every call to the shared sheet while it lives.
class SheetHandle : public PTProgressSheet {
public:
    explicit SheetHandle(std::shared_ptr<FakeProgressSheet> sheet) : sheet_(std::move(sheet)) {}
    void setTitle(const QString& v) override { sheet_->setTitle(v); }
    void setSubTitle(const QString& v) override { sheet_->setSubTitle(v); }
    void setMessage(const QString& v) override { sheet_->setMessage(v); }
    void setProgress(qint64 a, qint64 b) override { sheet_->setProgress(a, b); }
    void setFloatingMode(bool v) override { sheet_->setFloatingMode(v); }
    void setUserInteractiveMode(int v) override { sheet_->setUserInteractiveMode(v); }
    void setAllowsCancellation(bool v) override { sheet_->setAllowsCancellation(v); }
    void setCancelHandler(std::function<void()> h) override { sheet_->setCancelHandler(std::move(h)); }
    void setButtonControlLabel(const QString& v) override { sheet_->setButtonControlLabel(v); }
    void setAllowsButtonControls(bool v) override { sheet_->setAllowsButtonControls(v); }
    int runModal(Work work) override { return sheet_->runModal(std::move(work)); }
    void show() override { sheet_->show(); }
    void hide() override { sheet_->hide(); }
    void beginSession() override { sheet_->beginSession(); }
    void endSession() override { sheet_->endSession(); }

private:
    std::shared_ptr<FakeProgressSheet> sheet_;
};

class PanelHandle : public PTProgressPanel {
public:
    explicit PanelHandle(std::shared_ptr<FakeProgressPanel> panel) : panel_(std::move(panel)) {}
    void show() override { panel_->show(); }
    void hide() override { panel_->hide(); }
    void setTitle(const QString& v) override { panel_->setTitle(v); }
    void setDescription(const QString& v) override { panel_->setDescription(v); }

private:
    std::shared_ptr<FakeProgressPanel> panel_;
};

} // namespace

int FakeProgressSheet::runModal(Work work)
{
    auto ended = std::make_shared<std::atomic<int>>(-1);
    auto hide = std::make_shared<std::atomic<bool>>(false);
    pt::DispatchQueue::global(pt::QueuePriority::High).async([work, ended, hide] {
        work([ended, hide](int code, bool hideSheet) {
            *hide = hideSheet;
            *ended = code;
        });
    });
    // Before any report of the work can arrive on the main queue.
    if (cancelAtOnce && cancelHandler)
        cancelHandler();
    // The user presses the button once it is shown and enabled.
    runMainQueueUntil([&] { return *ended != -1 || (allowsButtons && interactiveMode == 0); }, 60000);
    code = *ended != -1 ? int(*ended) : 1;
    if (*ended == -1 || *hide)
        hidden = true;
    return code;
}

std::unique_ptr<PTProgressSheet> FakeLibraryShell::makeProgressSheet(const QString& title)
{
    auto sheet = std::make_shared<FakeProgressSheet>();
    sheet->setTitle(title);
    sheet->cancelAtOnce = cancelSheets;
    kept_.push_back(sheet);
    sheets << sheet.get();
    return std::make_unique<SheetHandle>(sheet);
}

std::unique_ptr<PTProgressPanel> FakeLibraryShell::makeProgressPanel()
{
    auto panel = std::make_shared<FakeProgressPanel>();
    keptPanels_.push_back(panel);
    progressPanels << panel.get();
    return std::make_unique<PanelHandle>(panel);
}

} // namespace pt::test
