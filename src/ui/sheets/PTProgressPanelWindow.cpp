#include "ui/sheets/PTProgressPanelWindow.h"

#include "ui/PTMainWindow.h"
#include "ui/sheets/PTMainQueueCoalescer.h"
#include "ui/theme/PTStyles.h"
#include "ui/views/PTAppearanceWindow.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QVBoxLayout>

namespace {

// No close button: only the work ends the panel.
constexpr Qt::WindowFlags PanelFlags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;

} // namespace

PTProgressPanelWindow::PTProgressPanelWindow(QObject* parent)
    : QObject(parent), updates_(PTMainQueueCoalescer::create()),
      progressPanel_(new PTAppearanceWindow(nullptr, PanelFlags))
{
    progressPanel_->setAccessibleName(QStringLiteral("Progress"));
    progressPanel_->installEventFilter(this);

    // The content fills the panel; relayout() sizes both, the height following the wrapped text.
    progressView_ = new QWidget(progressPanel_);
    progressView_->setAccessibleName(QStringLiteral("Progress view"));
    auto* layout = new QVBoxLayout(progressView_);
    layout->setContentsMargins(20, 18, 20, 20);
    layout->setSpacing(6);

    progressTitleField_ = new QLabel;
    progressTitleField_->setAccessibleName(QStringLiteral("Title"));
    QFont titleFont = PTStyles::systemFont(13);
    titleFont.setBold(true);
    progressTitleField_->setFont(titleFont);
    progressTitleField_->setWordWrap(true);
    layout->addWidget(progressTitleField_);

    progressDescriptionField_ = new QLabel;
    progressDescriptionField_->setAccessibleName(QStringLiteral("Description"));
    progressDescriptionField_->setFont(PTStyles::systemFont(11));
    progressDescriptionField_->setWordWrap(true);
    progressDescriptionField_->hide();
    layout->addWidget(progressDescriptionField_);

    progressIndicator_ = new QProgressBar;
    progressIndicator_->setAccessibleName(QStringLiteral("Progress"));
    progressIndicator_->setTextVisible(false);
    progressIndicator_->setRange(0, 0); // busy: the work reports no amounts
    progressIndicator_->setFixedHeight(12);
    layout->addSpacing(6);
    layout->addWidget(progressIndicator_);

    relayout();
}

PTProgressPanelWindow::~PTProgressPanelWindow()
{
    updates_->close();
    delete progressPanel_;
}

void PTProgressPanelWindow::show()
{
    updates_->post(VisibilityKey, [this] { showNow(); });
}

void PTProgressPanelWindow::showNow()
{
    if (!progressPanel_)
        return;
    QWidget* over = PTMainWindow() ? PTMainWindow()->window() : nullptr;
    // Window modality blocks the window the panel belongs to.
    if (progressPanel_->parentWidget() != over) {
        progressPanel_->hide();
        progressPanel_->setParent(over, PanelFlags);
    }
    const Qt::WindowModality modality = over ? Qt::WindowModal : Qt::ApplicationModal;
    // Modality takes effect only when the window is shown.
    if (progressPanel_->isVisible() && progressPanel_->windowModality() != modality)
        progressPanel_->hide();
    progressPanel_->setWindowModality(modality);
    relayout();
    const QScreen* screen = over ? over->screen() : QGuiApplication::primaryScreen();
    const QRect area = over ? over->geometry() : (screen ? screen->availableGeometry() : QRect());
    // The content centred (move() would place the frame).
    const QSize size = progressPanel_->size();
    progressPanel_->setGeometry(QRect(area.center() - QPoint(size.width() / 2, size.height() / 2), size));
    progressPanel_->show();
    progressPanel_->raise();
    progressPanel_->activateWindow();
}

void PTProgressPanelWindow::hide()
{
    updates_->post(VisibilityKey, [this] {
        if (!progressPanel_ || progressPanel_->isHidden())
            return;
        progressPanel_->hide();
        // Not every desktop hands the keys back to the window the panel covered.
        if (QWidget* over = progressPanel_->parentWidget())
            over->activateWindow();
    });
}

void PTProgressPanelWindow::setTitle(const QString& title)
{
    updates_->post(TitleKey, [this, title] {
        if (!progressPanel_)
            return;
        progressTitleField_->setText(title);
        progressPanel_->setWindowTitle(title);
        relayout();
    });
}

void PTProgressPanelWindow::setDescription(const QString& description)
{
    updates_->post(DescriptionKey, [this, description] {
        if (!progressPanel_)
            return;
        progressDescriptionField_->setText(description);
        progressDescriptionField_->setVisible(!description.isEmpty());
        relayout();
    });
}

void PTProgressPanelWindow::relayout()
{
    QLayout* layout = progressView_->layout();
    // Until the panel is on screen, labels that change tell their layout only later.
    layout->invalidate();
    const int height =
        layout->hasHeightForWidth() ? layout->totalHeightForWidth(PanelWidth) : layout->totalSizeHint().height();
    progressPanel_->setFixedSize(PanelWidth, height);
    progressView_->setGeometry(0, 0, PanelWidth, height);
}

bool PTProgressPanelWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == progressPanel_ && event->type() == QEvent::Close) {
        event->ignore();
        return true;
    }
    return QObject::eventFilter(watched, event);
}
