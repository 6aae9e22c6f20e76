#pragma once

#include "library/upkeep/PTLibraryShell.h"

#include <QStringList>

#include <atomic>
#include <mutex>

namespace pt::test {

// A progress sheet that records what it was told and runs its work as the real one does: on a worker, with
// the main queue running until the completion comes. A user who presses the button as soon as it is enabled,
// and who presses cancel at once when asked to, is played by the flags.
class FakeProgressSheet : public PTProgressSheet {
public:
    void setTitle(const QString& title) override { record(titles, title); }
    void setSubTitle(const QString& subTitle) override { record(subTitles, subTitle); }
    void setMessage(const QString& message) override { record(messages, message); }
    void setProgress(qint64, qint64) override {}
    void setFloatingMode(bool floating) override { this->floating = floating; }
    void setUserInteractiveMode(int mode) override { interactiveMode = mode; }
    void setAllowsCancellation(bool allows) override { allowsCancellation = allows; }
    void setCancelHandler(std::function<void()> handler) override { cancelHandler = std::move(handler); }
    void setButtonControlLabel(const QString& label) override { buttonLabel = label; }
    void setAllowsButtonControls(bool allows) override { allowsButtons = allows; }
    int runModal(Work work) override;
    void show() override { shown = true; }
    void hide() override { hidden = true; }
    void beginSession() override { sessionBegun = true; }
    void endSession() override { sessionEnded = true; }

    QStringList titles, subTitles, messages;
    QString buttonLabel;
    std::function<void()> cancelHandler;
    std::atomic<int> interactiveMode{1};
    bool floating = false, allowsCancellation = false, allowsButtons = false, shown = false, hidden = false;
    std::atomic<bool> sessionBegun{false}, sessionEnded{false};
    bool cancelAtOnce = false;
    int code = -1;

private:
    void record(QStringList& list, const QString& text)
    {
        std::lock_guard lock(mutex_);
        list << text;
    }
    std::mutex mutex_;
};

// A progress panel that records what it was told.
class FakeProgressPanel : public PTProgressPanel {
public:
    void show() override
    {
        shown = true;
        ++shows;
    }
    void hide() override { shown = false; }
    void setTitle(const QString& title) override { record(titles, title); }
    void setDescription(const QString& description) override { record(descriptions, description); }
    QStringList recorded(const QStringList& list)
    {
        std::lock_guard lock(mutex_);
        return list;
    }

    std::atomic<bool> shown{false};
    std::atomic<int> shows{0};
    QStringList titles, descriptions;

private:
    void record(QStringList& list, const QString& text)
    {
        std::lock_guard lock(mutex_);
        list << text;
    }
    std::mutex mutex_;
};

class FakeLibraryShell : public PTLibraryShell {
public:
    void saveTerminationState() override { ++holds; ++holdsTaken; }
    void restoreTerminationState() override { --holds; }
    void forceNextAvailableTermination(bool force) override { forced = force; }
    void restartApplication() override { ++restarts; }
    void showFilesInFileManager(const QStringList& paths) override { revealed << paths; }
    std::unique_ptr<PTProgressSheet> makeProgressSheet(const QString& title) override;
    std::unique_ptr<PTProgressPanel> makeProgressPanel() override;
    void presentAlert(const QString& message, const QString& informativeText) override
    {
        alerts << message + QStringLiteral(" | ") + informativeText;
    }
    void presentError(const pt::Error& error) override { errors << error.localizedDescription(); }
    QString runSavePanel(const PanelRequest& request) override
    {
        panels << request.title;
        lastRequest = request;
        return panelAnswer;
    }
    QString runOpenPanel(const PanelRequest& request) override
    {
        panels << request.title;
        lastRequest = request;
        return panelAnswer;
    }
    void presentAddIconsSheet(PTCollection* target) override { addIconsTargets << target; }
    void postNotice(const QString& title, const QString& message) override
    {
        notices << title + QStringLiteral(" | ") + message;
    }

    // The sheets made so far; they outlive their users, so that tests can read them afterwards.
    QVector<FakeProgressSheet*> sheets;
    QVector<FakeProgressPanel*> progressPanels;
    bool cancelSheets = false;
    std::atomic<int> holds{0}, holdsTaken{0}, restarts{0};
    bool forced = false;
    QStringList revealed, alerts, errors, panels, notices;
    QString panelAnswer;
    PanelRequest lastRequest;
    QVector<PTCollection*> addIconsTargets;

private:
    std::vector<std::shared_ptr<FakeProgressSheet>> kept_;
    std::vector<std::shared_ptr<FakeProgressPanel>> keptPanels_;
};

} // namespace pt::test
