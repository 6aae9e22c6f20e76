#include "app/preferences/PTPreferencesIntegrationViewController.h"

#include "app/preferences/PTPreferencesRowView.h"
#include "app/scripting/PTScriptablePluginSketch.h"
#include "platform/runtime/Logging.h"
#include "ui/PTApplicationIcon.h"
#include "ui/controls/PTSegmentedControl.h"
#include "ui/controls/PTSheetViewPopupButton.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QMenu>

namespace {

constexpr int kIconSize = 32;
constexpr int kPollMilliseconds = 2000;

PTScriptablePlugin* sketchPlugin()
{
    return PTScriptablePlugin::pluginForIdentifier(PTScriptablePluginSketch::Identifier);
}

// The host's own icon when the desktop knows the host, else Pictern's.
QPixmap hostPixmap(qreal ratio)
{
    QIcon icon = PTScriptablePluginSketch::hostIcon();
    if (icon.isNull())
        icon = PTApplicationIcon::icon();
    return icon.pixmap(QSize(kIconSize, kIconSize), ratio);
}

} // namespace

PTPreferencesIntegrationViewController::PTPreferencesIntegrationViewController(QWidget* parent)
    : PTPreferencesPane(Identifier, parent)
{
    PTScriptablePlugin* plugin = sketchPlugin();

    auto* content = new QWidget;
    auto* layout = new QHBoxLayout(content);
    layout->setContentsMargins(20, 12, 20, 12);
    layout->setSpacing(12);
    hostImage_ = new QLabel;
    hostImage_->setAccessibleName(tr("Sketch"));
    hostImage_->setFixedSize(kIconSize, kIconSize);
    hostImage_->setPixmap(hostPixmap(devicePixelRatioF()));
    layout->addWidget(hostImage_);
    auto* titles = new QVBoxLayout;
    titles->setSpacing(2);
    auto* title = new QLabel(tr("Sketch Plug-in"));
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    const QString carried = plugin ? plugin->versionString() : QString();
    auto* version = new QLabel(carried.isEmpty() ? tr("Not included in this build") : QStringLiteral("v%1").arg(carried));
    version->setObjectName(QStringLiteral("sketchVersionNumber"));
    version->setAccessibleName(tr("Plug-in version"));
    titles->addWidget(title);
    titles->addWidget(version);
    layout->addLayout(titles, 1);

    formatMenu_ = new QMenu(this);
    for (const auto& [tag, name] : {std::pair{int(SVGFormat), tr("SVG")}, std::pair{int(PNGFormat), tr("PNG")},
                                    std::pair{int(PDFFormat), tr("PDF")}}) {
        QAction* item = formatMenu_->addAction(name);
        item->setData(tag);
    }
    format_ = new PTSheetViewPopupButton;
    format_->setAccessibleName(tr("Format of placed icons"));
    format_->setPopupMenu(formatMenu_);
    format_->setFixedWidth(96);
    const int stored = plugin ? plugin->options().value(PTScriptablePluginSketch::FormatKey).toInt() : 0;
    for (QAction* item : formatMenu_->actions()) {
        if (item->data().toInt() == stored)
            format_->selectItem(item);
    }
    connect(format_, &PTSheetViewPopupButton::itemSelected, this, [](QAction* item) {
        if (PTScriptablePlugin* plugin = sketchPlugin())
            plugin->setOptionValue(PTScriptablePluginSketch::FormatKey, item->data().toInt());
    });
    layout->addWidget(format_);

    install_ = makeButton(tr("Install..."), [this] { installSketchPlugin(); });
    install_->setAccessibleName(tr("Install the Sketch plug-in"));
    install_->setFixedWidth(110);
    layout->addWidget(install_);
    addRow(content);
    finishRows();

    connect(&installationCheckTimer_, &QTimer::timeout, this, &PTPreferencesIntegrationViewController::checkInstallation);
    installationCheckTimer_.setInterval(kPollMilliseconds);
    checkInstallation();
}

void PTPreferencesIntegrationViewController::checkInstallation()
{
    const PTScriptablePlugin* plugin = sketchPlugin();
    const bool installed = plugin && plugin->installed();
    const bool update = installed && plugin->updateAvailable();
    install_->setLabel(!installed ? tr("Install...") : update ? tr("Update...") : tr("Installed"), 0);
    install_->setEnabled(!installed || update);
}

void PTPreferencesIntegrationViewController::showEvent(QShowEvent* event)
{
    PTPreferencesPane::showEvent(event);
    checkInstallation();
    installationCheckTimer_.start();
}

void PTPreferencesIntegrationViewController::hideEvent(QHideEvent* event)
{
    installationCheckTimer_.stop();
    PTPreferencesPane::hideEvent(event);
}

void PTPreferencesIntegrationViewController::installSketchPlugin()
{
    auto* plugin = dynamic_cast<PTScriptablePluginSketch*>(sketchPlugin());
    if (!plugin)
        return;
    QPointer<PTPreferencesIntegrationViewController> guarded(this);
    plugin->install([guarded](const pt::Error& error) {
        if (!error.isNull()) {
            qCWarning(lcApp).noquote() << "The plug-in could not be installed:" << error.toString();
            QApplication::beep();
        }
        if (guarded)
            guarded->checkInstallation();
    });
}
