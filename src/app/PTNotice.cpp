#include "app/PTNotice.h"

#include "app/PTAppearanceSVGImageView.h"
#include "svg/PTSVG.h"
#include "ui/theme/PTStyles.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QVBoxLayout>

namespace {

// The chevron at the end of a notice: a click opens it.
const QString DisclosureSVG = QStringLiteral(
    "<svg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 8 12'><path d='M1.5 0 L8 6 L1.5 12 L0 10.5 L5 6 L0 1.5 Z'/></svg>");

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
}

void PTNotice::setMessage(const QString& message)
{
    message_ = message;
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
    // Notices carry text from outside (an update feed's version), never markup.
    auto* title = new QLabel(title_, view);
    title->setTextFormat(Qt::PlainText);
    // Bold through the font: a style sheet would pin the label to the palette it was polished with, dark text
    // on the dark theme's popover.
    QFont titleFont = PTStyles::systemFont(13);
    titleFont.setWeight(QFont::DemiBold);
    title->setFont(titleFont);
    title->setWordWrap(true);
    title->setAccessibleName(title_);
    auto* message = new QLabel(message_, view);
    message->setTextFormat(Qt::PlainText);
    message->setFont(PTStyles::systemFont(12));
    message->setWordWrap(true);
    message->setAccessibleName(message_);
    texts->addWidget(title);
    texts->addWidget(message);
    row->addLayout(texts, 1);
    auto* disclosure = new PTAppearanceSVGImageView(view);
    disclosure->setSVG(PTSVG::svgWithString(DisclosureSVG).valueOr(nullptr));
    disclosure->setColorAppearanceAqua(PTStyles::defaultControlTextColor());
    disclosure->setFixedSize(8, 12);
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
