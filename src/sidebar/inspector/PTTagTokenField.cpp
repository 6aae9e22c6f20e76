#include "sidebar/inspector/PTTagTokenField.h"

#include <QFocusEvent>
#include <QTextDocument>
#include <QTextFrame>

QRect PTTagTokenField::editorFrame() const
{
    const QTextFrameFormat frame = document()->rootFrame()->frameFormat();
    const QRectF area = QRectF(viewport()->geometry())
                            .adjusted(frame.leftMargin(), frame.topMargin(), -frame.rightMargin(),
                                      -frame.bottomMargin());
    return area.toAlignedRect();
}

void PTTagTokenField::focusInEvent(QFocusEvent* event)
{
    PTSideBarTokenField::focusInEvent(event);
    // Coming back to the window or out of a menu resumes the editing under way: the caret stays where it was.
    if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason)
        return;
    emit didGetInitialFrame(this, editorFrame());
    // After the last tag, ready for the next; a click then places the caret where it lands.
    QTextCursor caret = textCursor();
    caret.movePosition(QTextCursor::End);
    setTextCursor(caret);
}
