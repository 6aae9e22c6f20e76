#pragma once

#include "browser/PTBrowserSidebar.h"
#include "foundation/PTApplicationInfo.h"

#include <QList>
#include <QPointer>
#include <QStringList>
#include <QUrl>

#include <optional>

class PTSidebarSegmentedControl;
class QAction;
#include <QMenu>

// "Open in": a one-segment control whose menu lists the applications that can open all of its files (plus those
// the user added through "Other..." for their extensions), the default application of the first file first,
// with the chosen one ticked and named in the sublabel. This application itself is never listed. Choosing an
// item remembers it and asks the owner to open the files at once.
class PTOpenInControl : public PTBrowserSidebar::OpenInControl {
    Q_OBJECT
public:
    // Extension (case kept) to the desktop ids the user added for it.
    static const QString CustomURLsKey; // "kPTOpenInControlCustomURLs"
    // The desktop id last chosen from the menu.
    static const QString BundleIdentifierKey; // "kPTOpenInControlundleIdentifier"
    static const QString OwnIdentifier;       // "com.pictern.Pictern.desktop"

    explicit PTOpenInControl(QWidget* parent = nullptr);
    ~PTOpenInControl() override;

    void setFileURLs(const QList<QUrl>& urls) override;
    QList<QUrl> fileURLs() const { return fileURLs_; }
    // The ticked application's desktop id; empty with no files or nothing ticked.
    QString selectedApplication() const override;
    static inline const QString LaunchFailedTitle = QStringLiteral("Cannot Open");
    static inline const QString LaunchFailedMessage = QStringLiteral("%1 could not be started. %2");

    // Opens the URLs together in the ticked application; beeps and answers false when there is none or the
    // launch failed.
    bool openURLs(const QList<QUrl>& urls) const;
    // Opens the URLs together in the application; a launch that fails beeps and is told in a notice naming the
    // application (by the given name, else the installed one's, else its id) and the reason.
    static bool openURLsInApplication(const QList<QUrl>& urls, const QString& application, const QString& name = {});

    // Rebuilds the menu and ticks the remembered, else the default, else the first application, storing nothing.
    void computeMenu();
    QMenu* menu() const { return menu_; }
    PTSidebarSegmentedControl* segmentedControl() const { return control_; }
    // The menu item of the application, null when it is not listed.
    QAction* itemForBundle(const QString& identifier) const;
    // Ticks the item, remembers it and sends the action.
    void selectApplicationFromMenuItem(QAction* item);
    // Ticks the item and shows it in the sublabel; stores it as the remembered choice when asked.
    void selectApplication(QAction* item, bool storeResult);
    // Lets the user pick any shown application not yet listed; the pick is added for the files' extensions,
    // ticked, remembered and opened with.
    void selectOtherApplication();
    // Adds the application for the extensions of the current files.
    void addCustomApplication(const PTApplicationInfo& application);

private:
    QStringList customIdentifiers() const;
    // Drops the custom applications that are no longer installed, and the extensions left with none.
    static void cleanCustomApplications();
    void loadIcons();

    PTSidebarSegmentedControl* control_;
    QPointer<QMenu> menu_;
    QList<QUrl> fileURLs_;
};
