#include "transfer/import/PTCorruptImagesSheetController.h"

#include "library/upkeep/PTLibraryShell.h"
#include "platform/ui/ModalRunner.h"
#include "platform/ui/SheetHost.h"
#include "ui/controls/PTSheetButton.h"
#include "ui/sheets/PTSheetStack.h"
#include "ui/sheets/PTSheetView.h"
#include "ui/sheets/PTSheetViewTitleBackgroundView.h"
#include "ui/sheets/PTSheetViewTitleBarController.h"
#include "ui/views/PTSheet.h"
#include "ui/views/PTStackView.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

namespace {
constexpr int SheetWidth = 480;
constexpr int ListHeight = 180;
} // namespace

PTCorruptImagesSheetController::PTCorruptImagesSheetController(const QVector<PTImporter2::Rejected>& files,
                                                               QObject* parent)
    : QObject(parent), files_(files), window_(new PTSheet)
{
    window_->setAccessibleName(QStringLiteral("File Issues"));
    auto* sheetView = new PTSheetView(window_);
    stackView_ = new PTStackView(sheetView);
    stackView_->setAccessibleName(QStringLiteral("File issues sheet"));
    stackView_->resize(SheetWidth, 10);
    sheetView->resize(SheetWidth, 10);

    titleBarController_ = new PTSheetViewTitleBarController(this);
    titleBarController_->setTitle(TitleFormat.arg(files.size()));
    titleBarController_->setSubTitle(QString());

    auto* messageView = new QWidget;
    messageView->setAccessibleName(QStringLiteral("Message"));
    auto* message = new QVBoxLayout(messageView);
    message->setContentsMargins(20, 16, 20, 16);
    message->setSpacing(10);
    auto* text = new QLabel(tr("These files could not be imported:"));
    text->setAccessibleName(QStringLiteral("Explanation"));
    text->setWordWrap(true);
    message->addWidget(text);
    list_ = new QListWidget;
    list_->setAccessibleName(QStringLiteral("Files"));
    list_->setFixedHeight(ListHeight);
    for (const PTImporter2::Rejected& file : files) {
        auto* item = new QListWidgetItem(QStringLiteral("%1 — %2").arg(QFileInfo(file.path).fileName(), file.reason), list_);
        item->setToolTip(file.path);
    }
    message->addWidget(list_);
    messageView->resize(SheetWidth, message->sizeHint().height());

    auto* buttonContainerView = new QWidget;
    buttonContainerView->setAccessibleName(QStringLiteral("Buttons"));
    auto* buttons = new QHBoxLayout(buttonContainerView);
    buttons->setContentsMargins(20, 10, 20, 14);
    revealButton_ = new PTSheetCloseButton(tr("Reveal in File Manager"));
    revealButton_->setAccessibleName(QStringLiteral("Reveal in File Manager"));
    closeButton_ = new PTSheetAcceptButton(tr("Close"));
    closeButton_->setAccessibleName(QStringLiteral("Close"));
    closeButton_->setDefault(true);
    buttons->addWidget(revealButton_);
    buttons->addStretch();
    buttons->addWidget(closeButton_);
    buttonContainerView->resize(SheetWidth, buttons->sizeHint().height());
    connect(revealButton_, &QPushButton::clicked, this, &PTCorruptImagesSheetController::revealInFinder);
    connect(closeButton_, &QPushButton::clicked, this, &PTCorruptImagesSheetController::close);

    PTSheetStack::arrange(stackView_, {titleBarController_->view(), messageView, buttonContainerView});
    stackView_->relayout();
}

PTCorruptImagesSheetController::~PTCorruptImagesSheetController()
{
    if (window_) {
        pt::SheetHost::end(window_, 0);
        delete window_;
    }
}

QStringList PTCorruptImagesSheetController::filePaths() const
{
    QStringList paths;
    for (const PTImporter2::Rejected& file : files_)
        paths << file.path;
    return paths;
}

void PTCorruptImagesSheetController::presentSheetFromWindow(QWidget* window)
{
    if (window)
        pt::SheetHost::begin(window, window_);
    pt::ModalRunner::run(window_, window ? Qt::WindowModal : Qt::ApplicationModal);
}

void PTCorruptImagesSheetController::revealInFinder()
{
    if (const std::shared_ptr<PTLibraryShell> shell = PTLibraryShell::installed())
        shell->showFilesInFileManager(filePaths());
    close();
}

void PTCorruptImagesSheetController::close()
{
    pt::ModalRunner::stop(1);
    pt::SheetHost::end(window_, 1);
    window_->hide();
}
