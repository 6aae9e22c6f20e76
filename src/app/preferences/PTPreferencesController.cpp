#include "app/preferences/PTPreferencesController.h"

#include "app/PTUpdateController.h"
#include "app/preferences/PTPreferencesDraggingViewController.h"
#include "app/preferences/PTPreferencesGeneralViewController.h"
#include "app/preferences/PTPreferencesImportExportViewController.h"
#include "app/preferences/PTPreferencesIntegrationViewController.h"
#include "app/preferences/PTPreferencesLibraryViewController.h"
#include "app/preferences/PTPreferencesLicencesViewController.h"
#include "app/preferences/PTPreferencesUpdateViewController.h"
#include "app/updates/Updater.h"
#include "app/updates/UsageReporter.h"
#include "transfer/PTStarterSetDownloads.h"

#include "platform/ui/AnimationTiming.h"
#include "ui/PTPreferenceKeys.h"
#include "ui/views/PTAppearanceWindow.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QToolBar>
#include <QVBoxLayout>
#include <QVariantAnimation>

void PTPreferencesController::registerDefaults()
{
    PTPreferenceKeys::registerDefaults();
    pt::Updater::registerDefaults();
    pt::UsageReporter::registerDefaults();
    PTStarterSetDownloads::registerDefaults();
}

namespace {

struct PaneEntry {
    QString identifier;
    const char* title;
};

const PaneEntry paneEntries[] = {
    {PTPreferencesGeneralViewController::Identifier, QT_TRANSLATE_NOOP("PTPreferencesController", "General")},
    {PTPreferencesImportExportViewController::Identifier,
     QT_TRANSLATE_NOOP("PTPreferencesController", "Import/Export")},
    {PTPreferencesDraggingViewController::Identifier, QT_TRANSLATE_NOOP("PTPreferencesController", "Dragging")},
    {PTPreferencesLibraryViewController::Identifier, QT_TRANSLATE_NOOP("PTPreferencesController", "Library")},
    {PTPreferencesLicencesViewController::Identifier, QT_TRANSLATE_NOOP("PTPreferencesController", "Licences")},
    {PTPreferencesIntegrationViewController::Identifier,
     QT_TRANSLATE_NOOP("PTPreferencesController", "Integration")},
    {PTPreferencesUpdateViewController::Identifier, QT_TRANSLATE_NOOP("PTPreferencesController", "Updates")},
};

} // namespace

PTPreferencesController& PTPreferencesController::sharedController()
{
    static PTPreferencesController* controller = [] {
        auto* shared = new PTPreferencesController;
        shared->setParent(QCoreApplication::instance());
        return shared;
    }();
    return *controller;
}

QStringList PTPreferencesController::paneIdentifiers()
{
    QStringList identifiers;
    for (const PaneEntry& entry : paneEntries)
        identifiers << entry.identifier;
    return identifiers;
}

QRect PTPreferencesController::paneFrame(const QRect& window, int contentHeight, const QSize& pane,
                                         const QRect& available)
{
    QRect frame(window.x() - (pane.width() - window.width()) / 2, window.y(), pane.width(),
                pane.height() + (window.height() - contentHeight));
    if (available.isEmpty())
        return frame;
    frame.setSize(frame.size().boundedTo(available.size()));
    frame.moveLeft(std::clamp(frame.left(), available.left(), available.right() - frame.width() + 1));
    frame.moveTop(std::clamp(frame.top(), available.top(), available.bottom() - frame.height() + 1));
    return frame;
}

void PTPreferencesController::presentPreferences()
{
    presentPreferences(window_ ? selected_ : PTPreferencesGeneralViewController::Identifier);
}

void PTPreferencesController::presentPreferences(const QString& identifier)
{
    if (!window_) {
        // A window opened on a pane builds that pane alone.
        setup(paneIdentifiers().contains(identifier) ? identifier : PTPreferencesGeneralViewController::Identifier);
    } else {
        window_->show();
        window_->raise();
        window_->activateWindow();
    }
    selectTabWithIdentifier(identifier, true);
}

void PTPreferencesController::setup(const QString& identifier)
{
    auto* window = new PTAppearanceWindow;
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setObjectName(QStringLiteral("preferencesWindow"));
    window->setAccessibleName(tr("Preferences"));
    window->setWindowTitle(tr("Preferences"));
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    toolbar_ = new QToolBar(window);
    toolbar_->setAccessibleName(tr("Preference Panes"));
    toolbar_->setToolButtonStyle(Qt::ToolButtonTextOnly);
    toolbar_->setMovable(false);
    actions_ = new QActionGroup(toolbar_);
    actions_->setExclusive(true);
    for (const PaneEntry& entry : paneEntries) {
        QAction* action = toolbar_->addAction(tr(entry.title));
        action->setObjectName(entry.identifier);
        action->setData(entry.identifier);
        action->setCheckable(true);
        actions_->addAction(action);
        const QString identifier = entry.identifier;
        connect(action, &QAction::triggered, this, [this, identifier] { selectTabWithIdentifier(identifier, true); });
    }
    holder_ = new QWidget(window);
    auto* close = new QAction(tr("Close"), window);
    close->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_W));
    connect(close, &QAction::triggered, window, &QWidget::close);
    window->addAction(close);
    // Escape is left to the control that has it first (a licence being renamed): only what reaches the window
    // closes it.
    window->installEventFilter(this);
    layout->addWidget(toolbar_);
    layout->addWidget(holder_, 1);
    window_ = window;
    panes_.clear();
    selected_.clear();
    connect(window, &QObject::destroyed, this, [this] {
        panes_.clear();
        selected_.clear();
    });

    selectTabWithIdentifier(identifier, false);
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = window->geometry();
        frame.moveCenter(screen->availableGeometry().center());
        window->setGeometry(frame);
    }
    window->show();
    window->raise();
    window->activateWindow();
}

bool PTPreferencesController::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == window_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier) {
            window_->close();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

PTPreferencesPane* PTPreferencesController::pane(const QString& identifier) const
{
    const auto found = panes_.find(identifier);
    return found == panes_.end() ? nullptr : found->second.data();
}

PTPreferencesPane* PTPreferencesController::makePane(const QString& identifier)
{
    if (identifier == PTPreferencesGeneralViewController::Identifier)
        return new PTPreferencesGeneralViewController;
    if (identifier == PTPreferencesImportExportViewController::Identifier)
        return new PTPreferencesImportExportViewController;
    if (identifier == PTPreferencesDraggingViewController::Identifier)
        return new PTPreferencesDraggingViewController;
    if (identifier == PTPreferencesLibraryViewController::Identifier)
        return new PTPreferencesLibraryViewController;
    if (identifier == PTPreferencesLicencesViewController::Identifier)
        return new PTPreferencesLicencesViewController;
    if (identifier == PTPreferencesIntegrationViewController::Identifier)
        return new PTPreferencesIntegrationViewController;
    return new PTPreferencesUpdateViewController(PTUpdateController::sharedController());
}

bool PTPreferencesController::selectTabWithIdentifier(const QString& identifier, bool animate)
{
    if (!window_)
        return false;
    if (!paneIdentifiers().contains(identifier)) {
        QApplication::beep();
        return false;
    }
    for (QAction* action : actions_->actions())
        action->setChecked(action->data().toString() == identifier);
    if (identifier == selected_)
        return true;
    // Panes are built on first showing: an opening pays only for the panes it shows.
    PTPreferencesPane* shown = pane(identifier);
    if (!shown) {
        shown = makePane(identifier);
        shown->setParent(holder_);
        shown->move(0, 0);
        panes_[identifier] = shown;
    }
    if (PTPreferencesPane* previous = pane(selected_))
        previous->hide();
    selected_ = identifier;
    const QScreen* screen = window_->screen();
    const QRect frame = paneFrame(window_->geometry(), holder_->height(), shown->size(),
                                  screen ? screen->availableGeometry() : QRect());
    window_->setWindowTitle(actions_->checkedAction()->text());
    if (!window_->isVisible()) {
        // Before the first showing the layout has not run: the toolbar's height is all there is outside.
        window_->resize(shown->width(), shown->height() + toolbar_->sizeHint().height());
    } else {
        setWindowGeometry(frame, animate);
    }
    shown->show();
    return true;
}

void PTPreferencesController::setWindowGeometry(const QRect& frame, bool animate)
{
    if (animation_)
        animation_->stop();
    // Wayland lets no client place its windows: only the size is ours to set.
    const bool sizeOnly = QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
    auto apply = [window = window_, sizeOnly](const QRect& rect) {
        if (!window)
            return;
        if (sizeOnly)
            window->resize(rect.size());
        else
            window->setGeometry(rect);
    };
    const int duration = pt::AnimationTiming::duration(200);
    if (!animate || duration <= 0) {
        apply(frame);
        return;
    }
    animation_ = new QVariantAnimation(window_);
    animation_->setStartValue(window_->geometry());
    animation_->setEndValue(frame);
    animation_->setDuration(duration);
    animation_->setEasingCurve(QEasingCurve::InOutQuad);
    connect(animation_, &QVariantAnimation::valueChanged, window_, [apply](const QVariant& value) {
        apply(value.toRect());
    });
    animation_->start(QAbstractAnimation::DeleteWhenStopped);
}
