#include "browser/views/PTEmptyGridView.h"

#include "browser/PTBrowserSidebar.h"
#include "browser/PTBrowserTransfer.h"
#include "library/upkeep/PTImportValidation.h"
#include "platform/ui/CommandHandler.h"
#include "ui/controls/PTSheetButton.h"
#include "ui/controls/PTTitleLabel.h"
#include "ui/theme/PTStyles.h"

#include <QDragEnterEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMimeData>
#include <QVBoxLayout>

const QString PTEmptyGridView::AddIconsCommand = QStringLiteral("addIconsFromSender:");
const QString PTEmptyGridView::ClearFiltersCommand = QStringLiteral("clearFilters:");
const QString PTEmptyGridView::BrowseFreebiesCommand = QStringLiteral("browseFreebies:");

namespace {

struct Texts {
    const char* title;
    const char* message;
    const char* name;
};

Texts textsFor(PTEmptyGridView::Kind kind)
{
    switch (kind) {
    case PTEmptyGridView::Kind::Search:
        return {"No Results", "No icon matches the search.", "Empty search"};
    case PTEmptyGridView::Kind::Filter:
        return {"No Matching Icons", "The filter hides every icon of this selection.", "Empty filter"};
    case PTEmptyGridView::Kind::Collection:
        break;
    }
    return {"No Icons", "Drop icon files here, or add them from a folder.", "Empty set"};
}

} // namespace

PTEmptyGridView::PTEmptyGridView(Kind kind, pt::CommandHandler* handler, QWidget* parent)
    : PTBackgroundView(parent), kind_(kind), handler_(handler)
{
    const Texts texts = textsFor(kind);
    setAccessibleName(tr(texts.name));
    auto* title = new PTTitleLabel(tr(texts.title), this);
    title->setAlignment(Qt::AlignCenter);
    auto* message = new QLabel(tr(texts.message), this);
    message->setAlignment(Qt::AlignCenter);
    message->setWordWrap(true);
    message->setFont(PTStyles::systemFont(13));
    message->setAccessibleName(message->text());

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(10);
    buttons->addStretch();
    if (kind == Kind::Filter)
        buttons->addWidget(addButton(tr("Clear Filters"), ClearFiltersCommand));
    if (kind == Kind::Collection) {
        buttons->addWidget(addButton(tr("Add Icons..."), AddIconsCommand));
        buttons->addWidget(addButton(tr("Browse Free Icons"), BrowseFreebiesCommand));
    }
    buttons->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(40, 40, 40, 40);
    layout->addStretch();
    layout->addWidget(title);
    layout->addSpacing(6);
    layout->addWidget(message);
    layout->addSpacing(16);
    layout->addLayout(buttons);
    layout->addStretch();
    setAllowsDragging(kind == Kind::Collection);
    updateAppearance();
}

QPushButton* PTEmptyGridView::addButton(const QString& title, const QString& command)
{
    auto* button = new PTSheetAcceptButton(title, this);
    button->setAccessibleName(title);
    connect(button, &QPushButton::clicked, this, [this, command] {
        if (handler_)
            handler_->perform(command);
    });
    button->setProperty("command", command);
    buttons_.append(button);
    return button;
}

void PTEmptyGridView::validateButtons()
{
    for (QPushButton* button : buttons_) {
        pt::CommandState state;
        const QString command = button->property("command").toString();
        // A button that nothing answers would only ever sit there disabled: it is left out.
        const bool answered = handler_ && handler_->respondsTo(command);
        button->setVisible(answered);
        button->setEnabled(answered && handler_->validate(command, state) && state.enabled);
    }
}

void PTEmptyGridView::showEvent(QShowEvent* event)
{
    validateButtons();
    PTBackgroundView::showEvent(event);
}

void PTEmptyGridView::updateAppearance()
{
    setBackgroundColor(PTStyles::gridBackgroundColor());
}

void PTEmptyGridView::setAllowsDragging(bool allows)
{
    allowsDragging_ = allows;
    setAcceptDrops(allows);
}

QList<QUrl> PTEmptyGridView::acceptedURLs(const QMimeData* data)
{
    const auto validation = PTImportValidation::installed();
    if (!validation || !data || !data->hasUrls())
        return {};
    QStringList paths;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile())
            paths << url.toLocalFile();
    }
    QList<QUrl> urls;
    for (const QString& path : validation->validateURLStrings(paths, PTImportValidation::AllOptions))
        urls << QUrl::fromLocalFile(path);
    return urls;
}

void PTEmptyGridView::dragEnterEvent(QDragEnterEvent* event)
{
    if (allowsDragging_ && !PTBrowserTransfer::isDragOutOnly(event->source()) &&
        !acceptedURLs(event->mimeData()).isEmpty()) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }
    update();
}

void PTEmptyGridView::dragLeaveEvent(QDragLeaveEvent* event)
{
    update();
    PTBackgroundView::dragLeaveEvent(event);
}

void PTEmptyGridView::dropEvent(QDropEvent* event)
{
    const QList<QUrl> urls = allowsDragging_ && !PTBrowserTransfer::isDragOutOnly(event->source())
        ? acceptedURLs(event->mimeData())
        : QList<QUrl>();
    const auto transfer = PTBrowserTransfer::installed();
    if (urls.isEmpty() || !transfer) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    const auto sidebar = PTBrowserSidebar::installed();
    transfer->presentAddIconsSheet(urls, sidebar ? sidebar->currentCollection() : nullptr);
    update();
}
