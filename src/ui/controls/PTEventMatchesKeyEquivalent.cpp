#include "ui/controls/PTEventMatchesKeyEquivalent.h"

#include <QKeySequence>

namespace {

// Keys that carry the function-key flag on a keyboard: they type no text.
bool isFunctionKey(int key)
{
    return (key >= Qt::Key_Insert && key <= Qt::Key_Delete) || (key >= Qt::Key_Home && key <= Qt::Key_PageDown) ||
           (key >= Qt::Key_F1 && key <= Qt::Key_F35) || key == Qt::Key_Help;
}

bool isControlCharacter(QChar c)
{
    return c.category() == QChar::Other_Control;
}

// The characters of the press without its modifiers' effect beyond Shift.
QString charactersOf(int key, const QString& text)
{
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return QStringLiteral("\r");
    case Qt::Key_Escape:
        return QStringLiteral("\x1b");
    case Qt::Key_Tab:
        return QStringLiteral("\t");
    default:
        break;
    }
    if (isFunctionKey(key))
        return QKeySequence(key).toString(QKeySequence::PortableText);
    // With Ctrl or Meta held the text is a control character: fall back to the key itself.
    if (!text.isEmpty() && !isControlCharacter(text.front()))
        return text;
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return QString(QChar(key - Qt::Key_A + 'a'));
    if (key > 0 && key < 0x10000 && QChar(key).isPrint())
        return QString(QChar(key));
    return QString();
}

} // namespace

bool PTEventMatchesKeyEquivalent(int key, Qt::KeyboardModifiers modifiers, const QString& text,
                                 Qt::KeyboardModifiers mask, const QString& equivalent)
{
    if (equivalent.isEmpty() || charactersOf(key, text) != equivalent)
        return false;
    Qt::KeyboardModifiers compared = Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
    if (isFunctionKey(key) || isControlCharacter(equivalent.front()))
        compared |= Qt::ShiftModifier;
    return (modifiers & compared) == (mask & compared);
}
