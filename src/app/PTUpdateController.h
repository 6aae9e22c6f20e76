#pragma once

#include <QObject>
#include <QString>

// What the application knows about updates of itself: whether one was found in this run, and which. An update
// source (the updater of the preferences) reports here; the update notice follows.
class PTUpdateController : public QObject {
    Q_OBJECT
public:
    // The version found, as the update feed names it.
    struct AppcastItem {
        QString displayVersionString;
        QString versionString;
    };

    static PTUpdateController& sharedController();

    // False until an update is reported; never goes back during a run.
    bool updateAvailable() const { return updateAvailable_; }
    const AppcastItem& updateAppcastItem() const { return item_; }
    // A valid update was found.
    void didFindValidUpdate(const AppcastItem& item);

signals:
    void updateAvailableChanged(bool available);
    void updateAppcastItemChanged();

private:
    bool updateAvailable_ = false;
    AppcastItem item_;
};
