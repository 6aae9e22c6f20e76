#include "sidebar/inspector/PTSideBarTokenField.h"

#include "sidebar/inspector/PTSideBarTokenObject.h"
#include "ui/theme/PTStyles.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>

#include <cmath>

namespace {

constexpr int FontSize = 12;
// Where the tokens sit inside the body: 8 from the left, 7 from the top and the right, 3 above the bottom.
constexpr qreal LeftMargin = 8;
constexpr qreal TopMargin = 7;
constexpr qreal RightMargin = 7;
constexpr qreal BottomMargin = 3;

const QChar ObjectCharacter(QChar::ObjectReplacementCharacter);

QStringList splitTokens(const QString& text)
{
    QStringList parts;
    static const QRegularExpression separators(QStringLiteral("[,\\n\\r\\t]"));
    for (const QString& part : text.split(separators, Qt::SkipEmptyParts)) {
        const QString trimmed = part.trimmed();
        if (!trimmed.isEmpty())
            parts << trimmed;
    }
    return parts;
}

// One run of the document: a token, or text typed between tokens.
struct Run {
    int position;
    int length;
    QString token; // empty for typed text
    QString text;
};

QList<Run> runsOf(const QTextDocument* document)
{
    QList<Run> runs;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid())
                continue;
            const QString text = fragment.text();
            const QTextCharFormat format = fragment.charFormat();
            if (format.objectType() == PTSideBarTokenObject::ObjectType) {
                // Neighbouring tokens with equal formats share one fragment: one object character each.
                for (int i = 0; i < text.size(); ++i)
                    runs.append({fragment.position() + i, 1, PTSideBarTokenObject::tokenOfFormat(format), {}});
            } else if (!runs.isEmpty() && runs.last().token.isEmpty() &&
                       runs.last().position + runs.last().length == fragment.position()) {
                runs.last().length += fragment.length();
                runs.last().text += text;
            } else {
                runs.append({fragment.position(), fragment.length(), {}, text});
            }
        }
    }
    return runs;
}

} // namespace

PTSideBarTokenField::PTSideBarTokenField(QWidget* parent)
    : QTextEdit(parent), tokenObject_(new PTSideBarTokenObject(this))
{
    setAccessibleName(tr("Tags"));
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QTextEdit::WidgetWidth);
    setTabChangesFocus(true);
    setAcceptRichText(false);
    viewport()->setAutoFillBackground(false);
    setAttribute(Qt::WA_TranslucentBackground);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);

    document()->setDefaultFont(PTStyles::systemFont(FontSize));
    document()->setDocumentMargin(0);
    QTextFrameFormat frame = document()->rootFrame()->frameFormat();
    frame.setLeftMargin(LeftMargin);
    frame.setTopMargin(TopMargin);
    frame.setRightMargin(RightMargin);
    frame.setBottomMargin(BottomMargin);
    document()->rootFrame()->setFrameFormat(frame);
    document()->documentLayout()->registerHandler(PTSideBarTokenObject::ObjectType, tokenObject_);

    look_.setBorderRadius(PTStyles::defaultControlBorderRadius());
    updateAppearance();
    connect(document(), &QTextDocument::contentsChanged, this, &PTSideBarTokenField::contentsDidChange);
}

PTSideBarTokenField::~PTSideBarTokenField() = default;

QStringList PTSideBarTokenField::tokens() const
{
    QStringList tokens;
    for (const Run& run : runsOf(document())) {
        if (run.token.isEmpty())
            tokens += splitTokens(run.text);
        else
            tokens << run.token;
    }
    return tokens;
}

void PTSideBarTokenField::setTokens(const QStringList& tokens)
{
    settingTokens_ = true;
    // Not clear(): that would also drop the margins of the root frame.
    QTextCursor cursor(document());
    cursor.select(QTextCursor::Document);
    cursor.removeSelectedText();
    cursor.setCharFormat(QTextCharFormat());
    for (const QString& token : tokens) {
        if (!token.trimmed().isEmpty())
            cursor.insertText(ObjectCharacter, PTSideBarTokenObject::formatForToken(token.trimmed()));
    }
    document()->clearUndoRedoStacks();
    lastTokens_ = this->tokens();
    settingTokens_ = false;
    updateHeight();
}

void PTSideBarTokenField::tokenize()
{
    const QList<Run> runs = runsOf(document());
    QTextCursor caret = textCursor();
    int caretPosition = caret.position();
    QTextCursor cursor(document());
    bool editing = false;
    // From the last run back, so that the positions of earlier runs stay valid.
    for (auto it = runs.crbegin(); it != runs.crend(); ++it) {
        if (!it->token.isEmpty())
            continue;
        if (!editing) {
            cursor.beginEditBlock();
            editing = true;
        }
        const QStringList parts = splitTokens(it->text);
        cursor.setPosition(it->position);
        cursor.setPosition(it->position + it->length, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
        for (const QString& part : parts)
            cursor.insertText(ObjectCharacter, PTSideBarTokenObject::formatForToken(part));
        const int end = it->position + it->length;
        const int change = int(parts.size()) - it->length;
        if (caretPosition >= end)
            caretPosition += change;
        else if (caretPosition > it->position)
            caretPosition = it->position + int(parts.size());
    }
    if (!editing)
        return;
    // Typing after a token goes on in plain text, not in the token's format.
    cursor.setCharFormat(QTextCharFormat());
    cursor.endEditBlock();
    caret.setPosition(std::clamp(caretPosition, 0, document()->characterCount() - 1));
    caret.setCharFormat(QTextCharFormat());
    setTextCursor(caret);
    setCurrentCharFormat(QTextCharFormat());
}

void PTSideBarTokenField::setBorderRadius(qreal radius)
{
    look_.setBorderRadius(radius);
    viewport()->update();
}

void PTSideBarTokenField::setStrokeColor(const QColor& color)
{
    look_.strokeColor = color;
    viewport()->update();
}

int PTSideBarTokenField::heightForWidth(int width) const
{
    auto* document = const_cast<QTextDocument*>(this->document());
    const qreal oldWidth = document->textWidth();
    document->setTextWidth(width);
    const qreal height = document->documentLayout()->documentSize().height();
    document->setTextWidth(oldWidth);
    // The body is drawn one point shorter than the field.
    return int(std::ceil(height)) + 1;
}

QSize PTSideBarTokenField::sizeHint() const
{
    const int width = this->width() > 0 ? this->width() : 200;
    return {width, heightForWidth(width)};
}

QSize PTSideBarTokenField::minimumSizeHint() const
{
    return {int(LeftMargin + RightMargin) + 20, heightForWidth(std::max(width(), 1))};
}

void PTSideBarTokenField::keyPressEvent(QKeyEvent* event)
{
    if (event->text() == QLatin1String(",") || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        tokenize();
        event->accept();
        return;
    }
    // Typing next to a token starts plain text rather than continuing the token's object format.
    if (!event->text().isEmpty() && currentCharFormat().objectType() == PTSideBarTokenObject::ObjectType)
        setCurrentCharFormat(QTextCharFormat());
    QTextEdit::keyPressEvent(event);
}

void PTSideBarTokenField::focusInEvent(QFocusEvent* event)
{
    QTextEdit::focusInEvent(event);
    viewport()->update();
}

void PTSideBarTokenField::focusOutEvent(QFocusEvent* event)
{
    tokenize();
    QTextEdit::focusOutEvent(event);
    viewport()->update();
}

void PTSideBarTokenField::paintEvent(QPaintEvent* event)
{
    {
        QPainter painter(viewport());
        look_.draw(painter, QRectF(viewport()->rect()), hasFocus(), isEnabled());
    }
    QTextEdit::paintEvent(event);
    if (document()->isEmpty() && !placeholderText().isEmpty()) {
        QPainter painter(viewport());
        painter.setPen(QApplication::palette(this).color(QPalette::PlaceholderText));
        painter.setFont(document()->defaultFont());
        const QRectF text = QRectF(viewport()->rect()).adjusted(LeftMargin, TopMargin, -RightMargin, -BottomMargin);
        painter.drawText(text, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, placeholderText());
    }
}

void PTSideBarTokenField::resizeEvent(QResizeEvent* event)
{
    const bool widthChanged = event->size().width() != event->oldSize().width();
    QTextEdit::resizeEvent(event);
    if (widthChanged)
        updateHeight();
}

bool PTSideBarTokenField::canInsertFromMimeData(const QMimeData* source) const
{
    return source->hasText();
}

void PTSideBarTokenField::insertFromMimeData(const QMimeData* source)
{
    if (!source->hasText())
        return;
    QTextCursor cursor = textCursor();
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    for (const QString& part : splitTokens(source->text()))
        cursor.insertText(ObjectCharacter, PTSideBarTokenObject::formatForToken(part));
    cursor.setCharFormat(QTextCharFormat());
    cursor.endEditBlock();
    setTextCursor(cursor);
}

QMimeData* PTSideBarTokenField::createMimeDataFromSelection() const
{
    const QTextCursor cursor = textCursor();
    auto* data = new QMimeData;
    data->setText(textBetween(cursor.selectionStart(), cursor.selectionEnd()));
    return data;
}

QString PTSideBarTokenField::textBetween(int from, int to) const
{
    QStringList parts;
    for (const Run& run : runsOf(document())) {
        const int start = std::max(from, run.position);
        const int end = std::min(to, run.position + run.length);
        if (start >= end)
            continue;
        if (!run.token.isEmpty())
            parts << run.token;
        else if (const QString text = run.text.mid(start - run.position, end - start).trimmed(); !text.isEmpty())
            parts << text;
    }
    return parts.join(QStringLiteral(", "));
}

void PTSideBarTokenField::contentsDidChange()
{
    updateHeight();
    if (settingTokens_)
        return;
    const QStringList now = tokens();
    if (now == lastTokens_)
        return;
    lastTokens_ = now;
    emit tokensChanged();
}

void PTSideBarTokenField::updateAppearance()
{
    QPalette palette = this->palette();
    look_.updateAppearance(palette);
    // The placeholder is drawn by paintEvent() at the text's margins; the text edit's own sits in the corner.
    palette.setColor(QPalette::PlaceholderText, Qt::transparent);
    setPalette(palette);
    viewport()->update();
}

void PTSideBarTokenField::updateHeight()
{
    const int height = heightForWidth(width());
    if (height == lastHeight_)
        return;
    lastHeight_ = height;
    updateGeometry();
    // Outside a layout the field sizes itself.
    if (!parentWidget() || !parentWidget()->layout())
        resize(width(), height);
}
