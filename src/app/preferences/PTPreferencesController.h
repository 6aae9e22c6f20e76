#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <QRect>
#include <QString>
#include <QStringList>

#include <map>

class PTPreferencesPane;
class QActionGroup;
class QToolBar;
class QVariantAnimation;

// The preferences window: one window with a toolbar of panes,
// opened on a pane by its identifier, resized around each pane with its top edge and horizontal centre kept, and
// thrown away with its panes when it closes, so every opening shows values read afresh. Main thread only.
class PTPreferencesController : public QObject {
    Q_OBJECT
public:
    // Registers the defaults of the preference keys (PTPreferenceKeys) and of the panes' other settings. Called
    // once at start-up and by test mains.
    static void registerDefaults();

    static PTPreferencesController& sharedController();
    // The toolbar identifiers of the panes, in toolbar order.
    static QStringList paneIdentifiers();
    // The window frame that shows a pane of the given size: the window's top edge and horizontal centre stay,
    // the height outside the content (the toolbar) is kept, and the frame is kept inside the available area.
    // y grows downwards.
    static QRect paneFrame(const QRect& window, int contentHeight, const QSize& pane, const QRect& available);

    // Opens the window on the General pane, or brings it to the front.
    void presentPreferences();
    // Opens the window on that pane; the switch animates only when the window was already open.
    void presentPreferences(const QString& identifier);
    // Shows the pane; an unknown identifier beeps and changes nothing. Answers whether the pane is shown.
    bool selectTabWithIdentifier(const QString& identifier, bool animate);

    QWidget* preferencesWindow() const { return window_; }
    QString selectedIdentifier() const { return selected_; }
    // The pane built for the identifier in this opening; null while it has not been shown.
    PTPreferencesPane* pane(const QString& identifier) const;

protected:
    // Escape that no control of the window took closes it.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    PTPreferencesController() = default;
    void setup(const QString& identifier);
    PTPreferencesPane* makePane(const QString& identifier);
    void setWindowGeometry(const QRect& frame, bool animate);

    QPointer<QWidget> window_;
    QPointer<QToolBar> toolbar_;
    QPointer<QWidget> holder_;
    QPointer<QActionGroup> actions_;
    QPointer<QVariantAnimation> animation_;
    std::map<QString, QPointer<PTPreferencesPane>> panes_;
    QString selected_;
};
