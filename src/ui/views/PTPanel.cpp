#include "ui/views/PTPanel.h"

#include "ui/theme/PTStyles.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QToolButton>
#include <QWindow>

namespace {

constexpr int ButtonSize = 16;
constexpr int ButtonMargin = 4;

} // namespace

// Frameless: a window manager's title bar would always show the title and could not lie over the content.
PTPanel::PTPanel(QWidget* parent) : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint)
{
    title_ = new QLabel(this);
    closeButton_ = makeTitleButton(QStringLiteral("\u2715"), tr("Close"));
    minimizeButton_ = makeTitleButton(QStringLiteral("\u2013"), tr("Minimize"));
    setAccessibleName(QStringLiteral("Panel"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    title_->setAccessibleName(tr("Title"));
    title_->setAlignment(Qt::AlignCenter);
    title_->setFont(PTStyles::systemFont(13));
    title_->setAttribute(Qt::WA_TransparentForMouseEvents);
    title_->hide();
    connect(closeButton_, &QToolButton::clicked, this, &QWidget::close);
    connect(minimizeButton_, &QToolButton::clicked, this, &QWidget::showMinimized);
    layoutTitleBar();
}

QToolButton* PTPanel::makeTitleButton(const QString& glyph, const QString& name)
{
    auto* button = new QToolButton(this);
    button->setText(glyph);
    button->setAccessibleName(name);
    button->setToolTip(name);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setFixedSize(ButtonSize, ButtonSize);
    button->setFont(PTStyles::systemFont(10));
    return button;
}

void PTPanel::setRendersTitle(bool renders)
{
    title_->setVisible(renders);
}

bool PTPanel::rendersTitle() const
{
    return !title_->isHidden();
}

void PTPanel::setLooksModal(bool modal)
{
    closeButton_->setHidden(modal);
    minimizeButton_->setHidden(modal);
}

bool PTPanel::looksModal() const
{
    return closeButton_->isHidden();
}

void PTPanel::layoutTitleBar()
{
    const int top = (TitleBarHeight - ButtonSize) / 2;
    closeButton_->move(ButtonMargin, top);
    minimizeButton_->move(ButtonMargin * 2 + ButtonSize, top);
    const int inset = ButtonMargin * 3 + ButtonSize * 2;
    title_->setGeometry(inset, 0, qMax(0, width() - inset * 2), TitleBarHeight);
    // Content added after the title bar would otherwise cover it.
    title_->raise();
    closeButton_->raise();
    minimizeButton_->raise();
}

bool PTPanel::event(QEvent* event)
{
    if (event->type() == QEvent::WindowTitleChange)
        title_->setText(windowTitle());
    else if ((event->type() == QEvent::ChildAdded || event->type() == QEvent::Show) && minimizeButton_)
        layoutTitleBar();
    return QWidget::event(event);
}

void PTPanel::resizeEvent(QResizeEvent* event)
{
    layoutTitleBar();
    QWidget::resizeEvent(event);
}

void PTPanel::closeEvent(QCloseEvent* event)
{
    if (disableClose_)
        event->ignore();
    else
        QWidget::closeEvent(event);
}

void PTPanel::mousePressEvent(QMouseEvent* event)
{
    // A press that no child took is on the background: it moves the panel.
    if (event->button() == Qt::LeftButton && windowHandle() && windowHandle()->startSystemMove())
        return;
    QWidget::mousePressEvent(event);
}
