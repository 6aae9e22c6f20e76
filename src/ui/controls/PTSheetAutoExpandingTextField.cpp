#include "ui/controls/PTSheetAutoExpandingTextField.h"

#include "ui/theme/PTStyles.h"

#include <QPainter>
#include <QResizeEvent>
#include <QTextDocument>
#include <QTextFrame>

#include <cmath>

namespace {

// Room below the text.
constexpr int ExtraHeight = 7;

} // namespace

PTSheetAutoExpandingTextField::PTSheetAutoExpandingTextField(QWidget* parent) : QTextEdit(parent)
{
    setFrameShape(QFrame::NoFrame);
    setAcceptRichText(false);
    setLineWrapMode(QTextEdit::WidgetWidth);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFont(PTStyles::systemFont(12));
    document()->setDocumentMargin(0);
    updateAppearance();
    connect(this, &QTextEdit::textChanged, this, &PTSheetAutoExpandingTextField::updateHeight);
    updateHeight();
}

void PTSheetAutoExpandingTextField::updateAppearance()
{
    QPalette colours = palette();
    look_.updateAppearance(colours);
    setPalette(colours);
    viewport()->update();
}

void PTSheetAutoExpandingTextField::applyTextMargins()
{
    // The text sits where the one-line field puts it, in the document's own margins, so that the body under
    // them is the viewport's to paint. Setting new text resets them.
    const QRectF text = look_.drawingRectForBounds(QRectF(rect()));
    QTextFrameFormat format = document()->rootFrame()->frameFormat();
    if (format.leftMargin() == text.left() && format.topMargin() == text.top())
        return;
    format.setLeftMargin(text.left());
    format.setTopMargin(text.top());
    format.setRightMargin(2);
    document()->rootFrame()->setFrameFormat(format);
}

void PTSheetAutoExpandingTextField::updateHeight()
{
    applyTextMargins();
    document()->setTextWidth(std::max(1, width()));
    const int chrome = 2 * frameWidth();
    const int height = int(std::ceil(document()->size().height())) + chrome + ExtraHeight;
    fittedWidth_ = width();
    if (height == this->height())
        return;
    resize(width(), height);
    emit frameChanged();
}

void PTSheetAutoExpandingTextField::resizeEvent(QResizeEvent* event)
{
    QTextEdit::resizeEvent(event);
    // A new height alone keeps; a new width refits.
    if (event->size().width() != fittedWidth_)
        updateHeight();
}

void PTSheetAutoExpandingTextField::paintEvent(QPaintEvent* event)
{
    {
        QPainter painter(viewport());
        look_.draw(painter, QRectF(viewport()->rect()), hasFocus(), isEnabled());
    }
    QTextEdit::paintEvent(event);
}
