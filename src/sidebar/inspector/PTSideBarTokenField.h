#pragma once

#include "ui/controls/PTSheetFieldLook.h"
#include "ui/theme/PTAppearanceObserver.h"

#include <QStringList>
#include <QTextEdit>

class PTSideBarTokenObject;

// The tags field of the inspector: each tag is a token inside the text, so the caret moves freely between tokens,
// edits undo, and pasted text becomes tokens. A comma, Return or leaving the field turns the typed text into
// tokens. The field is as tall as its tokens need at its width (heightForWidth), so the sections below it move.
class PTSideBarTokenField : public QTextEdit {
    Q_OBJECT
public:
    explicit PTSideBarTokenField(QWidget* parent = nullptr);
    ~PTSideBarTokenField() override;

    // The tokens in order, followed by the parts of any text not yet turned into tokens (split at commas,
    // trimmed, empty parts dropped).
    QStringList tokens() const;
    // Shows the tokens; what was typed and the undo history go.
    void setTokens(const QStringList& tokens);
    // Turns every run of typed text into tokens, one per comma-separated part.
    void tokenize();

    qreal borderRadius() const { return look_.topLeftBorderRadius; }
    void setBorderRadius(qreal radius);
    QColor strokeColor() const { return look_.strokeColor; }
    void setStrokeColor(const QColor& color);

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // The user changed the tokens (typing, deleting, pasting, undoing); not sent by setTokens().
    void tokensChanged();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;
    QMimeData* createMimeDataFromSelection() const override;

private:
    // The text between two positions with each token written out, tokens and text joined by ", ".
    QString textBetween(int from, int to) const;
    void contentsDidChange();
    void updateAppearance();
    void updateHeight();

    PTSheetFieldLook look_;
    PTSideBarTokenObject* tokenObject_;
    QStringList lastTokens_;
    bool settingTokens_ = false;
    int lastHeight_ = -1;
    PTAppearanceObserver appearanceObserver_{this, &PTSideBarTokenField::updateAppearance};
};
