#include "app/welcome/PTSplashWindowController.h"

#include "app/preferences/PTPreferencesPane.h"
#include "app/welcome/PTSplashTitleLabel.h"
#include "app/welcome/PTSplashWindow.h"
#include "ui/PTApplicationIcon.h"

#include "platform/ui/ModalRunner.h"
#include "ui/controls/PTSegmentedControl.h"
#include "ui/controls/PTSmallTextLabel.h"
#include "ui/theme/PTStyles.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

PTSplashWindowController::PTSplashWindowController()
    : window_(new PTSplashWindow), panel_(new QVBoxLayout), content_(new QVBoxLayout)
{
    window_->setAttribute(Qt::WA_DeleteOnClose, false);
    window_->setShouldClose([this] { return windowShouldClose(); });
    auto* columns = new QHBoxLayout(window_);
    columns->setContentsMargins(0, 0, 0, 0);
    columns->setSpacing(0);
    auto* panel = new QWidget;
    panel->setFixedWidth(PanelWidth);
    panel->setLayout(panel_);
    panel_->setContentsMargins(30, 40, 30, 30);
    auto* icon = new QLabel;
    icon->setPixmap(QPixmap::fromImage(PTApplicationIcon::image(96)));
    icon->setAlignment(Qt::AlignCenter);
    icon->setAccessibleName(QStringLiteral("Pictern"));
    panel_->addWidget(icon);
    panel_->addStretch(1);
    auto* content = new QWidget;
    content->setLayout(content_);
    content_->setContentsMargins(40, 40, 40, 30);
    content_->setSpacing(12);
    columns->addWidget(panel);
    columns->addWidget(content, 1);
    window_->setFixedSize(720, 440);
}

PTSplashWindowController::~PTSplashWindowController()
{
    delete window_;
}

void PTSplashWindowController::showWindow(bool runModal)
{
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = window_->geometry();
        frame.moveCenter(screen->availableGeometry().center());
        window_->move(frame.topLeft());
    }
    if (runModal) {
        pt::ModalRunner::run(window_);
        return;
    }
    window_->show();
    window_->raise();
}

void PTSplashWindowController::performClose()
{
    window_->close();
}

void PTSplashWindowController::setContent(const QString& title, const QString& text, const QString& button,
                                          const QString& buttonName, const std::function<void()>& action)
{
    window_->setWindowTitle(title);
    window_->setAccessibleName(title);
    auto* heading = new PTSplashTitleLabel(title);
    heading->setFont(PTStyles::systemFont(24));
    auto* body = new PTSmallTextLabel(text);
    body->setWordWrap(true);
    body->setFont(PTStyles::systemFont(13));
    PTSegmentedControl* control = PTPreferencesPane::makeButton(button, action);
    control->setObjectName(buttonName);
    content_->addWidget(heading);
    content_->addWidget(body);
    content_->addStretch(1);
    content_->addWidget(control, 0, Qt::AlignRight);
}
