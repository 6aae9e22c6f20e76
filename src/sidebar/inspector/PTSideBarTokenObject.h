#pragma once

#include <QObject>
#include <QTextCharFormat>
#include <QTextObjectInterface>

// Draws one tag of the token field as a rounded pill inside the text, so that the caret, selection, undo and
// line wrapping stay the text editor's. The tag's text lives in the character format of its object character.
class PTSideBarTokenObject : public QObject, public QTextObjectInterface {
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)
public:
    static constexpr int ObjectType = QTextFormat::UserObject + 1;
    static constexpr int TextProperty = QTextFormat::UserProperty + 1;

    using QObject::QObject;

    // The format of an object character that stands for the tag.
    static QTextCharFormat formatForToken(const QString& text);
    // The tag of a format, empty when it is not one of ours.
    static QString tokenOfFormat(const QTextFormat& format);

    QSizeF intrinsicSize(QTextDocument* document, int position, const QTextFormat& format) override;
    void drawObject(QPainter* painter, const QRectF& rect, QTextDocument* document, int position,
                    const QTextFormat& format) override;
};
