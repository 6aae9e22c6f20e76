#include "app/PTNotice.h"

#include "ui/theme/PTStyles.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QVBoxLayout>

namespace {

// The notice's panel: a click anywhere on it is the notice's click.
class NoticeView : public QWidget {
public:
    NoticeView(PTNotice* notice, QWidget* parent)
        : QWidget(parent)
        , notice_(notice)
    {
    }

protected:
    void mousePressEvent(QMouseEvent* event) override
    {
        if (event->button() == Qt::LeftButton && notice_) {
            notice_->noticeWasClicked();
            event->accept();
            return;
        }
        QWidget::mousePressEvent(event);
    }

private:
    QPointer<PTNotice> notice_;
};

} // namespace

PTNotice::PTNotice(QObject* parent)
    : QObject(parent)
{
}

void PTNotice::setTitle(const QString& title)
{
    title_ = title;
    emit changed();
}

void PTNotice::setMessage(const QString& message)
{
    message_ = message;
    emit changed();
}

void PTNotice::setCanDisplay(bool canDisplay)
{
    if (canDisplay_ == canDisplay)
        return;
    canDisplay_ = canDisplay;
    emit canDisplayChanged(canDisplay);
}

QWidget* PTNotice::makeView(QWidget* parent)
{
    auto* view = new NoticeView(this, parent);
    view->setAccessibleName(title_);
    auto* row = new QHBoxLayout(view);
    row->setContentsMargins(15, 15, 15, 15);
    row->setSpacing(10);
    if (!image_.isNull()) {
        auto* image = new QLabel(view);
        image->setPixmap(QPixmap::fromImage(image_.scaled(32, 32, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
        image->setAccessibleName(tr("Notice image"));
        row->addWidget(image, 0, Qt::AlignTop);
    }
    auto* texts = new QVBoxLayout;
    texts->setSpacing(5);
    auto* title = new QLabel(title_, view);
    title->setFont(PTStyles::systemFont(13));
    title->setStyleSheet(QStringLiteral("font-weight: 600"));
    title->setAccessibleName(title_);
    auto* message = new QLabel(message_, view);
    message->setFont(PTStyles::systemFont(12));
    message->setWordWrap(true);
    message->setAccessibleName(message_);
    texts->addWidget(title);
    texts->addWidget(message);
    row->addLayout(texts, 1);
    auto* disclosure = new QLabel(QStringLiteral("›"), view);
    disclosure->setFont(PTStyles::systemFont(18));
    disclosure->setAccessibleName(tr("Open"));
    row->addWidget(disclosure, 0, Qt::AlignVCenter);
    view->setFixedWidth(290);
    return view;
}

void PTNotice::noticeWasClicked()
{
    if (clickHandler_)
        clickHandler_();
}
